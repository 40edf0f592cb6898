#include "connection.h"

#include <algorithm>
#include <ctime>
#include <utility>

#include "known_hosts.h"
#include "listing_line.h"

namespace {

const char* StatusText(int status)
{
    switch (status) {
    case SSH_FX_EOF: return "end of file";
    case SSH_FX_NO_SUCH_FILE: return "no such file or directory";
    case SSH_FX_PERMISSION_DENIED: return "permission denied";
    case SSH_FX_FAILURE: return "the server refused";
    case SSH_FX_BAD_MESSAGE: return "bad message";
    case SSH_FX_NO_CONNECTION: return "no connection";
    case SSH_FX_CONNECTION_LOST: return "connection lost";
    case SSH_FX_OP_UNSUPPORTED: return "operation not supported by the server";
    case SSH_FX_INVALID_HANDLE: return "invalid handle";
    case SSH_FX_NO_SUCH_PATH: return "no such path";
    case SSH_FX_FILE_ALREADY_EXISTS: return "file already exists";
    case SSH_FX_WRITE_PROTECT: return "write protected";
    case SSH_FX_NO_MEDIA: return "no media";
    default: return "unknown error";
    }
}

std::string TakeText(char* text)
{
    std::string copy = text != nullptr ? text : "";
    ssh_string_free_char(text);
    return copy;
}

}  // namespace

Connection::~Connection()
{
    Close();
}

bool Connection::Open(const std::string& host, int port, const std::string& user,
                      const std::string& password, const Timeouts& timeouts)
{
    timeouts_ = timeouts;
    server_ = host + ":" + std::to_string(port);
    const std::string knownHosts = KnownHostsFile();
    if (knownHosts.empty()) {
        return Fail("No home folder for the known_hosts file: the host key of " + server_
                    + " cannot be checked.");
    }
    session_ = ssh_new();
    if (session_ == nullptr) {
        return Fail("Cannot create an SSH session.");
    }
    // Everything comes from the caller: no OpenSSH configuration file is read.
    const bool readConfiguration = false;
    const long connectSeconds = timeouts_.connectSeconds;
    const std::string sshFolder = knownHosts.substr(0, knownHosts.rfind('/'));
    ssh_options_set(session_, SSH_OPTIONS_PROCESS_CONFIG, &readConfiguration);
    ssh_options_set(session_, SSH_OPTIONS_HOST, host.c_str());
    ssh_options_set(session_, SSH_OPTIONS_PORT, &port);
    if (!user.empty()) {
        ssh_options_set(session_, SSH_OPTIONS_USER, user.c_str());
    }
    ssh_options_set(session_, SSH_OPTIONS_TIMEOUT, &connectSeconds);
    ssh_options_set(session_, SSH_OPTIONS_SSH_DIR, sshFolder.c_str());
    ssh_options_set(session_, SSH_OPTIONS_KNOWNHOSTS, knownHosts.c_str());

    if (ssh_connect(session_) != SSH_OK) {
        return Fail("Cannot connect to " + server_ + ": " + ssh_get_error(session_));
    }
    watchdog_ = std::make_unique<Watchdog>(ssh_get_fd(session_));
    if (!watchdog_->Watching()) {
        return Fail("Cannot watch the connection to " + server_ + " for time-outs.");
    }
    WatchdogArm arm(*watchdog_, timeouts_.connectSeconds);
    std::string refusal;
    if (!CheckHostKey(session_, knownHosts, server_, refusal, keyRecorded_)) {
        return Fail(refusal);
    }
    fingerprint_ = Fingerprint(session_);
    switch (ssh_userauth_password(session_, nullptr, password.c_str())) {
    case SSH_AUTH_SUCCESS:
        break;
    case SSH_AUTH_DENIED:
        return Fail("Access denied: " + server_ + " refused the log-in of user " + user
                    + " with this password.");
    case SSH_AUTH_PARTIAL:
        return Fail("Access denied: " + server_ + " wants more than a password from user "
                    + user + ".");
    default:
        return Fail("Log-in at " + server_ + " failed: " + ssh_get_error(session_));
    }
    sftp_ = sftp_new(session_);
    if (sftp_ == nullptr || sftp_init(sftp_) != SSH_OK) {
        return Fail("No SFTP service at " + server_ + ": " + Reason());
    }
    directory_ = TakeText(sftp_canonicalize_path(sftp_, "."));
    if (directory_.empty()) {
        return Fail("Cannot find the start directory at " + server_ + ": " + Reason());
    }
    return true;
}

void Connection::Close()
{
    if (session_ == nullptr) {
        return;
    }
    if (watchdog_ != nullptr) {
        watchdog_->Arm(timeouts_.ioSeconds);
    }
    if (sftp_ != nullptr) {
        sftp_free(sftp_);
        sftp_ = nullptr;
    }
    ssh_disconnect(session_);
    watchdog_.reset();
    ssh_free(session_);
    session_ = nullptr;
}

bool Connection::Fail(const std::string& text)
{
    if (watchdog_ != nullptr && watchdog_->Fired()) {
        lastError_ = "Time-out: " + server_ + " did not answer within "
            + std::to_string(watchdog_->FiredAfter()) + " s; the connection is closed.";
    } else {
        lastError_ = text;
    }
    return false;
}

std::string Connection::Reason() const
{
    if (!ssh_is_connected(session_)) {
        return std::string("connection lost: ") + ssh_get_error(session_);
    }
    const int status = sftp_ != nullptr ? sftp_get_error(sftp_) : SSH_FX_OK;
    if (status == SSH_FX_OK) {
        return ssh_get_error(session_);
    }
    return StatusText(status);
}

bool Connection::Usable()
{
    if (!watchdog_->Fired() && ssh_is_connected(session_)) {
        return true;
    }
    return Fail("The connection to " + server_ + " is lost: " + ssh_get_error(session_));
}

std::string Connection::RemotePath(const std::string& name) const
{
    if (name.empty()) {
        return directory_;
    }
    if (name.front() == '/') {
        return name;
    }
    return directory_.back() == '/' ? directory_ + name : directory_ + "/" + name;
}

bool Connection::ChangeDirectory(const std::string& path)
{
    if (!Usable()) {
        return false;
    }
    const std::string target = RemotePath(path);
    WatchdogArm arm(*watchdog_, timeouts_.ioSeconds);
    const std::string resolved = TakeText(sftp_canonicalize_path(sftp_, target.c_str()));
    if (resolved.empty()) {
        return Fail("Cannot change to " + target + ": " + Reason());
    }
    sftp_attributes attributes = sftp_stat(sftp_, resolved.c_str());
    if (attributes == nullptr) {
        return Fail("Cannot change to " + target + ": " + Reason());
    }
    const bool isDirectory = attributes->type == SSH_FILEXFER_TYPE_DIRECTORY;
    sftp_attributes_free(attributes);
    if (!isDirectory) {
        return Fail("Cannot change to " + target + ": not a directory");
    }
    directory_ = resolved;
    return true;
}

bool Connection::List(std::vector<std::string>& lines)
{
    if (!Usable()) {
        return false;
    }
    std::vector<std::pair<std::string, std::string>> entries;
    const std::time_t now = std::time(nullptr);
    sftp_dir directory = nullptr;
    {
        WatchdogArm arm(*watchdog_, timeouts_.ioSeconds);
        directory = sftp_opendir(sftp_, directory_.c_str());
    }
    if (directory == nullptr) {
        return Fail("Cannot list " + directory_ + ": " + Reason());
    }
    for (;;) {
        sftp_attributes attributes = nullptr;
        {
            WatchdogArm arm(*watchdog_, timeouts_.ioSeconds);
            attributes = sftp_readdir(sftp_, directory);
        }
        if (attributes == nullptr) {
            break;
        }
        const std::string name = attributes->name != nullptr ? attributes->name : "";
        if (name != "." && name != "..") {
            entries.emplace_back(name, ListingLine(*attributes, now));
        }
        sftp_attributes_free(attributes);
    }
    const bool complete = sftp_dir_eof(directory) == 1;
    {
        WatchdogArm arm(*watchdog_, timeouts_.ioSeconds);
        sftp_closedir(directory);
    }
    if (!complete) {
        return Fail("Cannot list " + directory_ + ": " + Reason());
    }
    std::sort(entries.begin(), entries.end());
    lines.clear();
    for (auto& entry : entries) {
        lines.push_back(std::move(entry.second));
    }
    return true;
}

bool Connection::MakeDirectory(const std::string& name)
{
    if (!Usable()) {
        return false;
    }
    const std::string path = RemotePath(name);
    WatchdogArm arm(*watchdog_, timeouts_.ioSeconds);
    if (sftp_mkdir(sftp_, path.c_str(), 0755) != SSH_OK) {
        return Fail("Cannot make the directory " + path + ": " + Reason());
    }
    return true;
}

bool Connection::RemoveDirectory(const std::string& name)
{
    if (!Usable()) {
        return false;
    }
    const std::string path = RemotePath(name);
    WatchdogArm arm(*watchdog_, timeouts_.ioSeconds);
    if (sftp_rmdir(sftp_, path.c_str()) != SSH_OK) {
        return Fail("Cannot remove the directory " + path + ": " + Reason());
    }
    return true;
}

bool Connection::Delete(const std::string& name)
{
    if (!Usable()) {
        return false;
    }
    const std::string path = RemotePath(name);
    WatchdogArm arm(*watchdog_, timeouts_.ioSeconds);
    if (sftp_unlink(sftp_, path.c_str()) != SSH_OK) {
        return Fail("Cannot delete " + path + ": " + Reason());
    }
    return true;
}

bool Connection::Size(const std::string& name, int64_t& size)
{
    if (!Usable()) {
        return false;
    }
    const std::string path = RemotePath(name);
    WatchdogArm arm(*watchdog_, timeouts_.ioSeconds);
    sftp_attributes attributes = sftp_stat(sftp_, path.c_str());
    if (attributes == nullptr) {
        return Fail("Cannot stat " + path + ": " + Reason());
    }
    bool regular = attributes->type == SSH_FILEXFER_TYPE_REGULAR;
    size = static_cast<int64_t>(attributes->size);
    sftp_attributes_free(attributes);
    return regular || Fail(path + " is not a regular file");
}

bool Connection::Rename(const std::string& oldName, const std::string& newName)
{
    if (!Usable()) {
        return false;
    }
    const std::string from = RemotePath(oldName);
    const std::string to = RemotePath(newName);
    WatchdogArm arm(*watchdog_, timeouts_.ioSeconds);
    if (sftp_rename(sftp_, from.c_str(), to.c_str()) != SSH_OK) {
        return Fail("Cannot rename " + from + " to " + to + ": " + Reason());
    }
    return true;
}
