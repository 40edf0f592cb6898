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
    const int noDelay = 1;
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
    // Requests are small and each waits for its answer: none may wait for the next.
    ssh_options_set(session_, SSH_OPTIONS_NODELAY, &noDelay);

    if (ssh_connect(session_) != SSH_OK) {
        return Fail("Cannot connect to " + server_ + ": " + ssh_get_error(session_));
    }
    watchdog_ = std::make_unique<Watchdog>(ssh_get_fd(session_));
    if (!watchdog_->Watching()) {
        return Fail("Cannot watch the connection to " + server_ + " for time-outs.");
    }
    WatchdogArm arm(*watchdog_, timeouts_.connectSeconds);
    std::string refusal;
    bool unknown = false;
    if (!CheckHostKey(session_, knownHosts, server_, refusal, unknown)) {
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
    // A new host is trusted only once it took the log-in: a failed first log-in keeps
    // nothing of it.
    if (unknown && !RecordHostKey(session_, knownHosts, refusal)) {
        return Fail(refusal);
    }
    keyRecorded_ = unknown;
    channel_ = std::make_unique<SftpChannel>();
    if (!channel_->Start(session_)) {
        return Fail("No SFTP service at " + server_ + ": " + Reason());
    }
    // The start directory is asked for now and waited for only when a relative name or
    // the current directory needs it.
    startDirectoryRequest_ = channel_->Send(SSH_FXP_REALPATH, Message().String("."));
    return channel_->Flush() || Fail("No SFTP service at " + server_ + ": " + Reason());
}

void Connection::Close()
{
    if (session_ == nullptr) {
        return;
    }
    if (watchdog_ != nullptr) {
        watchdog_->Arm(timeouts_.ioSeconds);
    }
    // Their reads refer to the channel.
    announcedFiles_.clear();
    channel_.reset();
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
    if (channel_ != nullptr && !channel_->Failure().empty()) {
        return channel_->Failure();
    }
    const int status = channel_ != nullptr ? channel_->LastStatus() : SSH_FX_OK;
    if (status == SSH_FX_OK) {
        return ssh_get_error(session_);
    }
    return StatusText(status);
}

bool Connection::Usable()
{
    if (!watchdog_->Fired() && ssh_is_connected(session_) && channel_->Failure().empty()) {
        return true;
    }
    return Fail("The connection to " + server_ + " is lost: "
                + (channel_->Failure().empty() ? ssh_get_error(session_) : channel_->Failure()));
}

bool Connection::Ask(uint8_t type, const Message& body, Reply& reply)
{
    WatchdogArm arm(*watchdog_, timeouts_.ioSeconds);
    return channel_->Wait(channel_->Send(type, body), reply);
}

void Connection::CloseHandle(const std::string& handle)
{
    if (!handle.empty()) {
        channel_->Forget(channel_->Send(SSH_FXP_CLOSE, Message().String(handle)));
    }
}

bool Connection::KnowStartDirectory()
{
    if (startDirectoryRequest_ == 0) {
        return true;
    }
    Reply reply;
    bool known = false;
    {
        WatchdogArm arm(*watchdog_, timeouts_.ioSeconds);
        known = channel_->Wait(startDirectoryRequest_, reply);
    }
    startDirectoryRequest_ = 0;
    if (known && channel_->Expect(reply, SSH_FXP_NAME)) {
        Fields fields(reply.body);
        fields.U32();
        directory_ = fields.String();
        known = fields.Valid() && !directory_.empty();
    }
    return known || Fail("Cannot find the start directory at " + server_ + ": " + Reason());
}

bool Connection::CurrentDirectory(std::string& directory)
{
    if (!Usable() || !KnowStartDirectory()) {
        return false;
    }
    directory = directory_;
    return true;
}

bool Connection::RemotePath(const std::string& name, std::string& path)
{
    if (!name.empty() && name.front() == '/') {
        path = name;
        return true;
    }
    if (!KnowStartDirectory()) {
        return false;
    }
    if (name.empty()) {
        path = directory_;
    } else {
        path = directory_.back() == '/' ? directory_ + name : directory_ + "/" + name;
    }
    return true;
}

bool Connection::ChangeDirectory(const std::string& path)
{
    std::string target;
    if (!Usable() || !RemotePath(path, target)) {
        return false;
    }
    // Resolved, checked and opened for the listing that usually follows, in one flight,
    // or in the flight of an earlier call that announced the folder.
    Reply resolved;
    Reply status;
    Reply opened;
    const AnnouncedFolder requests = FolderRequests(target);
    {
        WatchdogArm arm(*watchdog_, timeouts_.ioSeconds);
        if (!channel_->Wait(requests.resolving, resolved) || !channel_->Wait(requests.checking, status)
            || !channel_->Wait(requests.opening, opened)) {
            return Fail("Cannot change to " + target + ": " + Reason());
        }
    }
    std::string handle;
    if (channel_->Expect(opened, SSH_FXP_HANDLE)) {
        handle = Fields(opened.body).String();
    }
    std::string resolvedPath;
    NamedAttributes attributes;
    if (channel_->Expect(resolved, SSH_FXP_NAME)) {
        Fields fields(resolved.body);
        fields.U32();
        resolvedPath = fields.String();
    }
    if (!resolvedPath.empty() && channel_->Expect(status, SSH_FXP_ATTRS)) {
        Fields(status.body).Attributes(attributes);
    }
    if (resolvedPath.empty() || !attributes.IsDirectory()) {
        CloseHandle(handle);
        return Fail("Cannot change to " + target + ": "
                    + (resolvedPath.empty() || status.type != SSH_FXP_ATTRS ? Reason() : "not a directory"));
    }
    if (startDirectoryRequest_ != 0) {
        channel_->Forget(startDirectoryRequest_);
        startDirectoryRequest_ = 0;
    }
    directory_ = resolvedPath;
    CloseHandle(openedHandle_);
    openedDirectory_ = resolvedPath;
    openedHandle_ = handle;
    return true;
}

bool Connection::List(std::vector<std::string>& lines)
{
    if (!Usable() || !KnowStartDirectory()) {
        return false;
    }
    // A new listing begins another folder's fetch: what the last one announced is over.
    DropAnnounced();
    std::string handle;
    if (openedDirectory_ == directory_) {
        handle.swap(openedHandle_);
    } else {
        CloseHandle(openedHandle_);
        openedHandle_.clear();
    }
    openedDirectory_.clear();
    Reply reply;
    if (handle.empty()) {
        if (!Ask(SSH_FXP_OPENDIR, Message().String(directory_), reply)
            || !channel_->Expect(reply, SSH_FXP_HANDLE)) {
            return Fail("Cannot list " + directory_ + ": " + Reason());
        }
        handle = Fields(reply.body).String();
    }
    // Reads go in pairs: the end of a short directory comes in the same round trip as
    // its entries.
    std::vector<std::pair<std::string, std::string>> entries;
    const std::time_t now = std::time(nullptr);
    const Message readDirectory = Message().String(handle);
    bool ended = false;
    bool complete = true;
    while (!ended) {
        const uint32_t reads[] = {channel_->Send(SSH_FXP_READDIR, readDirectory),
                                  channel_->Send(SSH_FXP_READDIR, readDirectory)};
        for (const uint32_t read : reads) {
            {
                WatchdogArm arm(*watchdog_, timeouts_.ioSeconds);
                if (!channel_->Wait(read, reply)) {
                    return Fail("Cannot list " + directory_ + ": " + Reason());
                }
            }
            if (reply.type != SSH_FXP_NAME) {
                complete = complete && channel_->Status(reply) == SSH_FX_EOF;
                ended = true;
                continue;
            }
            Fields fields(reply.body);
            for (uint32_t count = fields.U32(); count > 0 && fields.Valid(); --count) {
                NamedAttributes entry;
                entry.name = fields.String();
                entry.longName = fields.String();
                fields.Attributes(entry);
                if (fields.Valid() && entry.name != "." && entry.name != "..") {
                    entries.emplace_back(entry.name, ListingLine(entry.Attributes(), now));
                }
            }
            if (!fields.Valid()) {
                channel_->Status(reply);
                complete = false;
                ended = true;
            }
        }
    }
    CloseHandle(handle);
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
    std::string path;
    Reply reply;
    if (!Usable() || !RemotePath(name, path)) {
        return false;
    }
    if (!Ask(SSH_FXP_MKDIR, Message().String(path).Permissions(0755), reply)
        || !channel_->Expect(reply, SSH_FXP_STATUS)) {
        return Fail("Cannot make the directory " + path + ": " + Reason());
    }
    return true;
}

bool Connection::RemoveDirectory(const std::string& name)
{
    std::string path;
    Reply reply;
    if (!Usable() || !RemotePath(name, path)) {
        return false;
    }
    if (!Ask(SSH_FXP_RMDIR, Message().String(path), reply) || !channel_->Expect(reply, SSH_FXP_STATUS)) {
        return Fail("Cannot remove the directory " + path + ": " + Reason());
    }
    return true;
}

bool Connection::Delete(const std::string& name)
{
    std::vector<int> results;
    std::vector<std::string> failures;
    return Delete({name}, results, failures) && results.front() == 1;
}

bool Connection::Delete(const std::vector<std::string>& names, std::vector<int>& results,
                        std::vector<std::string>& failures)
{
    results.assign(names.size(), -1);
    failures.assign(names.size(), "");
    std::vector<std::string> paths(names.size());
    std::vector<uint32_t> removing;
    for (size_t i = 0; i < names.size(); ++i) {
        if (!Usable() || !RemotePath(names[i], paths[i])) {
            failures.assign(names.size(), lastError_);
            return false;
        }
        removing.push_back(channel_->Send(SSH_FXP_REMOVE, Message().String(paths[i])));
    }
    for (size_t i = 0; i < names.size(); ++i) {
        Reply reply;
        bool answered = false;
        {
            WatchdogArm arm(*watchdog_, timeouts_.ioSeconds);
            answered = channel_->Wait(removing[i], reply);
        }
        if (!answered) {
            Fail("Cannot delete " + paths[i] + ": " + Reason());
            std::fill(failures.begin() + long(i), failures.end(), lastError_);
            return false;
        }
        results[i] = channel_->Expect(reply, SSH_FXP_STATUS) ? 1 : 0;
        if (results[i] == 0) {
            Fail("Cannot delete " + paths[i] + ": " + Reason());
            failures[i] = lastError_;
        }
    }
    return true;
}

bool Connection::Size(const std::string& name, int64_t& size)
{
    std::vector<int64_t> sizes;
    if (!Sizes({name}, sizes) || sizes.front() < 0) {
        return false;
    }
    size = sizes.front();
    return true;
}

bool Connection::Sizes(const std::vector<std::string>& names, std::vector<int64_t>& sizes)
{
    sizes.assign(names.size(), -1);
    std::vector<std::string> paths(names.size());
    std::vector<uint32_t> asking;
    for (size_t i = 0; i < names.size(); ++i) {
        if (!Usable() || !RemotePath(names[i], paths[i])) {
            return false;
        }
        asking.push_back(channel_->Send(SSH_FXP_STAT, Message().String(paths[i])));
    }
    for (size_t i = 0; i < names.size(); ++i) {
        Reply reply;
        {
            WatchdogArm arm(*watchdog_, timeouts_.ioSeconds);
            if (!channel_->Wait(asking[i], reply)) {
                return Fail("Cannot stat " + paths[i] + ": " + Reason());
            }
        }
        if (!channel_->Expect(reply, SSH_FXP_ATTRS)) {
            Fail("Cannot stat " + paths[i] + ": " + Reason());
            continue;
        }
        NamedAttributes attributes;
        Fields fields(reply.body);
        fields.Attributes(attributes);
        if (fields.Valid() && attributes.IsRegular()) {
            sizes[i] = static_cast<int64_t>(attributes.fields.size);
        } else {
            Fail(paths[i] + " is not a regular file");
        }
    }
    return true;
}

bool Connection::Rename(const std::string& oldName, const std::string& newName)
{
    std::string from;
    std::string to;
    Reply reply;
    if (!Usable() || !RemotePath(oldName, from) || !RemotePath(newName, to)) {
        return false;
    }
    if (!Ask(SSH_FXP_RENAME, Message().String(from).String(to), reply)
        || !channel_->Expect(reply, SSH_FXP_STATUS)) {
        return Fail("Cannot rename " + from + " to " + to + ": " + Reason());
    }
    return true;
}
