// Host keys: the user's OpenSSH known_hosts file, trust on first use.
#pragma once

#include <libssh/libssh.h>

#include <string>

// The user's known_hosts file: $HOME/.ssh/known_hosts, or below the home folder of the
// password database when HOME is not set; empty when there is no home folder.
std::string KnownHostsFile();

// The SHA-256 fingerprint of the server's key as OpenSSH prints it; empty on failure.
std::string Fingerprint(ssh_session session);

// Accepts the server's key when the file (or the system-wide file) knows it for this
// host and port, or when the host is unknown (`unknown` then tells the caller to record
// the key once the log-in succeeded), and refuses a key that differs from the known one.
// On refusal the error holds the reason, for the user to read.
bool CheckHostKey(ssh_session session, const std::string& knownHostsFile, const std::string& server,
                  std::string& error, bool& unknown);

// Adds the server's key for its host and port to the file, making its folder when missing.
bool RecordHostKey(ssh_session session, const std::string& knownHostsFile, std::string& error);
