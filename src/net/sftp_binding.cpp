#include "net/sftp_binding.h"

#include <cerrno>
#include <cstring>
#include <dlfcn.h>
#include <sys/stat.h>
#include <unistd.h>

#include "psftp_dll.h"

namespace {

constexpr int kErrorBufferSize = 8192;
constexpr int kErrorTextLimit = 8190;
constexpr int kPwdBufferSize = 256;
constexpr int kPwdTextLimit = 250;

int AppendLine(const char* line, void* context)
{
    static_cast<std::vector<std::string>*>(context)->emplace_back(line != nullptr ? line : "");
    return 0;
}

}  // namespace

struct SftpBinding::EntryPoints {
    psftp_dll_connect_fn connect = nullptr;
    psftp_dll_connect_port_fn connectPort = nullptr;
    psftp_dll_disconnect_fn disconnect = nullptr;
    psftp_dll_get_last_error_fn getLastError = nullptr;
    psftp_dll_pwd_fn pwd = nullptr;
    psftp_dll_transfer_fn put = nullptr;
    psftp_dll_transfer_fn get = nullptr;
    psftp_dll_ls_fn ls = nullptr;
    psftp_dll_name_fn chdir = nullptr;
    psftp_dll_name_fn mkdir = nullptr;
    psftp_dll_name_fn rmdir = nullptr;
    psftp_dll_name_fn remove = nullptr;
    psftp_dll_rename_fn rename = nullptr;
    psftp_dll_size_fn size = nullptr;  // optional
    psftp_dll_host_key_fn hostKey = nullptr;  // optional: older components lack it
    // Optional, all four or none.
    psftp_dll_sizes_fn sizes = nullptr;
    psftp_dll_delete_all_fn deleteAll = nullptr;
    psftp_dll_get_ahead_fn getAhead = nullptr;
    psftp_dll_name_fn chdirAhead = nullptr;
};

namespace {

template <typename Function>
bool Resolve(void* library, const char* name, Function& function, std::string* error)
{
    function = reinterpret_cast<Function>(dlsym(library, name));
    if (function == nullptr && error->empty()) {
        *error = std::string("psftp_dll.so: entry point ") + name + " missing";
    }
    return function != nullptr;
}

// The component runs with the station's rights: one that anybody but its owner could
// have replaced, or that belongs to another user than the station's or root, is refused.
std::string UntrustedReason(const std::string& path, struct stat& status)
{
    if (stat(path.c_str(), &status) != 0)
        return path + ": " + std::strerror(errno);
    if ((status.st_mode & (S_IWGRP | S_IWOTH)) != 0)
        return path + ": writable by others than its owner, not loaded";
    if (status.st_uid != 0 && status.st_uid != geteuid())
        return path + ": owned by another user, not loaded";
    return "";
}

}  // namespace

SftpBinding::SftpBinding(const std::string& folder)
    : entry_(std::make_unique<EntryPoints>())
{
    const std::string path = folder + "/psftp_dll.so";
    struct stat checked {};
    std::string untrusted = UntrustedReason(path, checked);
    if (untrusted.empty()) {
        library_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        const char* why = library_ == nullptr ? dlerror() : nullptr;
        untrusted = library_ == nullptr ? (why != nullptr ? why : path + ": cannot be loaded") : "";
    }
    // The file loaded must be the file checked.
    struct stat loaded {};
    if (library_ != nullptr && (stat(path.c_str(), &loaded) != 0 || loaded.st_dev != checked.st_dev ||
                                loaded.st_ino != checked.st_ino)) {
        dlclose(library_);
        library_ = nullptr;
        untrusted = path + ": replaced while it was loaded";
    }
    if (library_ == nullptr) {
        loadError_ = untrusted;
        return;
    }
    EntryPoints& e = *entry_;
    bool all = true;
    all &= Resolve(library_, "psftp_dll_connect", e.connect, &loadError_);
    all &= Resolve(library_, "psftp_dll_connect_port", e.connectPort, &loadError_);
    all &= Resolve(library_, "psftp_dll_disconnect", e.disconnect, &loadError_);
    all &= Resolve(library_, "psftp_dll_get_last_error", e.getLastError, &loadError_);
    all &= Resolve(library_, "psftp_dll_pwd", e.pwd, &loadError_);
    all &= Resolve(library_, "psftp_dll_put", e.put, &loadError_);
    all &= Resolve(library_, "psftp_dll_get", e.get, &loadError_);
    all &= Resolve(library_, "psftp_dll_ls", e.ls, &loadError_);
    all &= Resolve(library_, "psftp_dll_chdir", e.chdir, &loadError_);
    all &= Resolve(library_, "psftp_dll_mkdir", e.mkdir, &loadError_);
    all &= Resolve(library_, "psftp_dll_rmdir", e.rmdir, &loadError_);
    all &= Resolve(library_, "psftp_dll_delete", e.remove, &loadError_);
    all &= Resolve(library_, "psftp_dll_rename", e.rename, &loadError_);
    loaded_ = all;
    e.size = reinterpret_cast<psftp_dll_size_fn>(dlsym(library_, "psftp_dll_size"));
    e.hostKey = reinterpret_cast<psftp_dll_host_key_fn>(dlsym(library_, "psftp_dll_host_key"));
    e.sizes = reinterpret_cast<psftp_dll_sizes_fn>(dlsym(library_, "psftp_dll_sizes"));
    e.deleteAll = reinterpret_cast<psftp_dll_delete_all_fn>(dlsym(library_, "psftp_dll_delete_all"));
    e.getAhead = reinterpret_cast<psftp_dll_get_ahead_fn>(dlsym(library_, "psftp_dll_get_ahead"));
    e.chdirAhead = reinterpret_cast<psftp_dll_name_fn>(dlsym(library_, "psftp_dll_chdir_ahead"));
}

SftpBinding::~SftpBinding()
{
    // An open connection is closed first: unloading the component under it would leave
    // its session and socket behind.
    Disconnect();
    if (library_ != nullptr) {
        dlclose(library_);
    }
}

bool SftpBinding::Connect(const std::string& host, const std::string& user,
                          const std::string& password)
{
    if (!loaded_) {
        return false;
    }
    Disconnect();
    handle_ = entry_->connectPort(host.c_str(), port_, user.c_str(), password.c_str());
    return handle_ != 0;
}

bool SftpBinding::HostKey(std::string& fingerprint, bool& recorded)
{
    if (!loaded_ || !IsConnected() || entry_->hostKey == nullptr) {
        return false;
    }
    char buffer[kPwdBufferSize] = {};
    const int result = entry_->hostKey(handle_, buffer, kPwdTextLimit);
    if (result < 0) {
        return false;
    }
    fingerprint = buffer;
    recorded = result == 1;
    return true;
}

void SftpBinding::Disconnect()
{
    if (!loaded_ || handle_ == 0) {
        return;
    }
    entry_->disconnect(handle_);
    handle_ = 0;
}

std::string SftpBinding::GetLastError()
{
    if (!loaded_) {
        return loadError_;
    }
    char buffer[kErrorBufferSize] = {};
    entry_->getLastError(handle_, buffer, kErrorTextLimit);
    buffer[kErrorBufferSize - 1] = '\0';
    return buffer;
}

bool SftpBinding::Pwd(std::string& directory)
{
    if (!IsConnected() || !loaded_) {
        return false;
    }
    char buffer[kPwdBufferSize] = {};
    if (entry_->pwd(handle_, buffer, kPwdTextLimit) != 0) {
        return false;
    }
    buffer[kPwdBufferSize - 1] = '\0';
    directory = buffer;
    return true;
}

bool SftpBinding::Put(const std::string& localPath, const std::string& remoteName)
{
    return loaded_ && IsConnected()
        && entry_->put(handle_, localPath.c_str(), remoteName.c_str()) == 1;
}

bool SftpBinding::Get(const std::string& localPath, const std::string& remoteName)
{
    return loaded_ && IsConnected()
        && entry_->get(handle_, localPath.c_str(), remoteName.c_str()) == 1;
}

bool SftpBinding::List(std::vector<std::string>& lines)
{
    if (!loaded_ || !IsConnected()) {
        return false;
    }
    lines.clear();
    return entry_->ls(handle_, AppendLine, &lines) == 1;
}

bool SftpBinding::ChangeDirectory(const std::string& path)
{
    return loaded_ && IsConnected() && entry_->chdir(handle_, path.c_str()) == 1;
}

bool SftpBinding::MakeDirectory(const std::string& name)
{
    return loaded_ && IsConnected() && entry_->mkdir(handle_, name.c_str()) == 1;
}

bool SftpBinding::RemoveDirectory(const std::string& name)
{
    return loaded_ && IsConnected() && entry_->rmdir(handle_, name.c_str()) == 1;
}

bool SftpBinding::Delete(const std::string& name)
{
    return loaded_ && IsConnected() && entry_->remove(handle_, name.c_str()) == 1;
}

bool SftpBinding::HasSize() const
{
    return loaded_ && entry_->size != nullptr;
}

bool SftpBinding::Size(const std::string& name, long long& size)
{
    int64_t bytes = 0;
    if (!HasSize() || !IsConnected() || entry_->size(handle_, name.c_str(), &bytes) != 1)
        return false;
    size = bytes;
    return true;
}

bool SftpBinding::Rename(const std::string& oldName, const std::string& newName)
{
    return loaded_ && IsConnected()
        && entry_->rename(handle_, oldName.c_str(), newName.c_str()) == 1;
}

namespace {

std::vector<const char*> Pointers(const std::vector<std::string>& names)
{
    std::vector<const char*> pointers;
    for (const std::string& name : names)
        pointers.push_back(name.c_str());
    return pointers;
}

}  // namespace

bool SftpBinding::HasFlights() const
{
    return loaded_ && entry_->sizes != nullptr && entry_->deleteAll != nullptr && entry_->getAhead != nullptr
        && entry_->chdirAhead != nullptr;
}

bool SftpBinding::Sizes(const std::vector<std::string>& names, std::vector<long long>& sizes)
{
    std::vector<int64_t> told(names.size(), -1);
    const bool answered = HasFlights() && IsConnected()
        && entry_->sizes(handle_, static_cast<int>(names.size()), Pointers(names).data(), told.data()) == 1;
    sizes.assign(told.begin(), told.end());
    return answered;
}

bool SftpBinding::DeleteAll(const std::vector<std::string>& names, std::vector<int>& results,
                            std::vector<std::string>& failures)
{
    constexpr int kTextSize = 260;
    results.assign(names.size(), -1);
    std::vector<char> texts(names.size() * kTextSize, '\0');
    const bool answered = HasFlights() && IsConnected()
        && entry_->deleteAll(handle_, static_cast<int>(names.size()), Pointers(names).data(), results.data(),
                             texts.data(), kTextSize) == 1;
    failures.clear();
    for (size_t i = 0; i < names.size(); ++i)
        failures.emplace_back(texts.data() + i * kTextSize);
    return answered;
}

bool SftpBinding::GetAhead(const std::vector<std::string>& names)
{
    return HasFlights() && IsConnected()
        && entry_->getAhead(handle_, static_cast<int>(names.size()), Pointers(names).data()) == 1;
}

bool SftpBinding::ChangeDirectoryAhead(const std::string& path)
{
    return HasFlights() && IsConnected() && entry_->chdirAhead(handle_, path.c_str()) == 1;
}
