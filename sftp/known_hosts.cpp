#include "known_hosts.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace {

std::string HomeFolder()
{
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] != '\0') {
        return home;
    }
    const passwd* entry = getpwuid(getuid());
    return entry != nullptr && entry->pw_dir != nullptr ? entry->pw_dir : "";
}

}  // namespace

std::string Fingerprint(ssh_session session)
{
    ssh_key key = nullptr;
    if (ssh_get_server_publickey(session, &key) != SSH_OK) {
        return "";
    }
    unsigned char* hash = nullptr;
    size_t length = 0;
    std::string text;
    if (ssh_get_publickey_hash(key, SSH_PUBLICKEY_HASH_SHA256, &hash, &length) == 0) {
        char* fingerprint = ssh_get_fingerprint_hash(SSH_PUBLICKEY_HASH_SHA256, hash, length);
        if (fingerprint != nullptr) {
            text = fingerprint;
            ssh_string_free_char(fingerprint);
        }
        ssh_clean_pubkey_hash(&hash);
    }
    ssh_key_free(key);
    return text;
}

std::string KnownHostsFile()
{
    const std::string home = HomeFolder();
    return home.empty() ? "" : home + "/.ssh/known_hosts";
}

bool RecordHostKey(ssh_session session, const std::string& knownHostsFile, std::string& error)
{
    const std::filesystem::path folder = std::filesystem::path(knownHostsFile).parent_path();
    std::error_code ignored;
    if (std::filesystem::create_directories(folder, ignored)) {
        chmod(folder.c_str(), 0700);
    }
    if (ssh_session_update_known_hosts(session) != SSH_OK) {
        error = "Cannot record the host key in " + knownHostsFile + ": "
            + ssh_get_error(session);
        return false;
    }
    return true;
}

bool CheckHostKey(ssh_session session, const std::string& knownHostsFile, const std::string& server,
                  std::string& error, bool& unknown)
{
    unknown = false;
    switch (ssh_session_is_known_server(session)) {
    case SSH_KNOWN_HOSTS_OK:
        return true;
    case SSH_KNOWN_HOSTS_UNKNOWN:
    case SSH_KNOWN_HOSTS_NOT_FOUND:
        unknown = true;
        return true;
    case SSH_KNOWN_HOSTS_CHANGED:
        error = "Host key verification failed: the host key of " + server
            + " has changed (now " + Fingerprint(session)
            + "). Someone may be intercepting the connection. If the server's key was"
              " replaced on purpose, remove its old entry from " + knownHostsFile + ".";
        return false;
    case SSH_KNOWN_HOSTS_OTHER:
        error = "Host key verification failed: " + server
            + " presents a key of another type than the one known for it (now "
            + Fingerprint(session)
            + "). Someone may be intercepting the connection. If the server's key was"
              " replaced on purpose, remove its old entry from " + knownHostsFile + ".";
        return false;
    case SSH_KNOWN_HOSTS_ERROR:
        break;
    }
    error = "Host key verification failed for " + server + ": " + ssh_get_error(session);
    return false;
}
