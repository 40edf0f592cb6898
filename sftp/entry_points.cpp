// The exported entry points: handles, the process-wide text of the last failed connect,
// and the shield that keeps C++ exceptions inside the component.
#include <algorithm>
#include <cstring>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "connection.h"
#include "psftp_dll.h"

namespace {

std::mutex registryMutex;
std::set<Connection*> openConnections;
std::string lastConnectError;
Timeouts timeouts;

Connection* Find(psftp_dll_handle handle)
{
    std::lock_guard lock(registryMutex);
    auto* connection = reinterpret_cast<Connection*>(handle);
    return openConnections.count(connection) != 0 ? connection : nullptr;
}

// Copies as much of the text as fits, never cutting a UTF-8 character in two.
void CopyText(const std::string& text, char* buffer, int size)
{
    if (buffer == nullptr || size <= 0) {
        return;
    }
    size_t length = std::min(text.size(), size_t(size) - 1);
    if (length < text.size()) {
        while (length > 0 && (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80) {
            --length;
        }
    }
    std::memcpy(buffer, text.data(), length);
    buffer[length] = '\0';
}

std::string Text(const char* text)
{
    return text != nullptr ? text : "";
}

// The names of a call about several files; false when one is missing.
bool Names(int count, const char* const* names, std::vector<std::string>& list)
{
    if (count < 0 || (count > 0 && names == nullptr)) {
        return false;
    }
    for (int i = 0; i < count; ++i) {
        if (names[i] == nullptr) {
            return false;
        }
        list.emplace_back(names[i]);
    }
    return true;
}

// Runs one call on an open connection; an unknown handle, a missing argument or an
// exception is a failure.
template <typename Call>
int OnConnection(psftp_dll_handle handle, std::initializer_list<const char*> arguments, Call call)
{
    Connection* connection = Find(handle);
    if (connection == nullptr) {
        return 0;
    }
    if (std::find(arguments.begin(), arguments.end(), nullptr) != arguments.end()) {
        connection->Fail("A name is missing.");
        return 0;
    }
    try {
        return call(*connection) ? 1 : 0;
    } catch (...) {
        connection->Fail("Out of memory.");
        return 0;
    }
}

}  // namespace

extern "C" {

psftp_dll_handle psftp_dll_connect(const char* host, const char* user, const char* password)
{
    return psftp_dll_connect_port(host, 22, user, password);
}

psftp_dll_handle psftp_dll_connect_port(const char* host, int port, const char* user,
                                        const char* password)
{
    try {
        std::string failure;
        auto connection = std::make_unique<Connection>();
        Timeouts bounds;
        {
            std::lock_guard lock(registryMutex);
            lastConnectError.clear();
            bounds = timeouts;
        }
        if (Text(host).empty()) {
            failure = "No server name given.";
        } else if (port < 1 || port > 65535) {
            failure = "Port " + std::to_string(port) + " is not a port number.";
        } else if (!connection->Open(host, port, Text(user), Text(password), bounds)) {
            failure = connection->LastError();
        }
        std::lock_guard lock(registryMutex);
        if (!failure.empty()) {
            lastConnectError = failure;
            return 0;
        }
        Connection* opened = connection.release();
        openConnections.insert(opened);
        return reinterpret_cast<psftp_dll_handle>(opened);
    } catch (...) {
        std::lock_guard lock(registryMutex);
        lastConnectError = "Out of memory.";
        return 0;
    }
}

void psftp_dll_disconnect(psftp_dll_handle handle)
{
    Connection* connection = Find(handle);
    if (connection == nullptr) {
        return;
    }
    {
        std::lock_guard lock(registryMutex);
        openConnections.erase(connection);
    }
    delete connection;
}

void psftp_dll_get_last_error(psftp_dll_handle handle, char* buffer, int size)
{
    try {
        if (handle == 0) {
            std::lock_guard lock(registryMutex);
            CopyText(lastConnectError, buffer, size);
            return;
        }
        const Connection* connection = Find(handle);
        CopyText(connection != nullptr ? connection->LastError() : "No such connection.",
                 buffer, size);
    } catch (...) {
        CopyText("", buffer, size);
    }
}

int psftp_dll_pwd(psftp_dll_handle handle, char* buffer, int size)
{
    const int fits = OnConnection(handle, {}, [&](Connection& connection) {
        std::string directory;
        if (!connection.CurrentDirectory(directory)) {
            return false;
        }
        if (buffer == nullptr || size <= 0 || directory.size() >= size_t(size)) {
            return connection.Fail("The current directory " + directory
                                   + " is longer than the buffer.");
        }
        CopyText(directory, buffer, size);
        return true;
    });
    return fits == 1 ? 0 : -1;
}

int psftp_dll_put(psftp_dll_handle handle, const char* local_path, const char* remote_name)
{
    return OnConnection(handle, {local_path, remote_name}, [&](Connection& connection) {
        return connection.Put(local_path, remote_name);
    });
}

int psftp_dll_get(psftp_dll_handle handle, const char* local_path, const char* remote_name)
{
    return OnConnection(handle, {local_path, remote_name}, [&](Connection& connection) {
        return connection.Get(local_path, remote_name);
    });
}

int psftp_dll_ls(psftp_dll_handle handle, psftp_dll_line_function line_function, void* context)
{
    return OnConnection(handle, {}, [&](Connection& connection) {
        std::vector<std::string> lines;
        if (line_function == nullptr) {
            return connection.Fail("No line function given.");
        }
        if (!connection.List(lines)) {
            return false;
        }
        for (const std::string& line : lines) {
            if (line_function(line.c_str(), context) != 0) {
                return connection.Fail("The listing was stopped by the caller.");
            }
        }
        return true;
    });
}

int psftp_dll_chdir(psftp_dll_handle handle, const char* path)
{
    return OnConnection(handle, {path}, [&](Connection& connection) {
        return connection.ChangeDirectory(path);
    });
}

int psftp_dll_mkdir(psftp_dll_handle handle, const char* name)
{
    return OnConnection(handle, {name}, [&](Connection& connection) {
        return connection.MakeDirectory(name);
    });
}

int psftp_dll_rmdir(psftp_dll_handle handle, const char* name)
{
    return OnConnection(handle, {name}, [&](Connection& connection) {
        return connection.RemoveDirectory(name);
    });
}

int psftp_dll_delete(psftp_dll_handle handle, const char* name)
{
    return OnConnection(handle, {name}, [&](Connection& connection) {
        return connection.Delete(name);
    });
}

int psftp_dll_size(psftp_dll_handle handle, const char* name, int64_t* size)
{
    return OnConnection(handle, {name}, [&](Connection& connection) {
        return size != nullptr && connection.Size(name, *size);
    });
}

int psftp_dll_sizes(psftp_dll_handle handle, int count, const char* const* names, int64_t* sizes)
{
    return OnConnection(handle, {}, [&](Connection& connection) {
        std::vector<std::string> list;
        if (!Names(count, names, list) || sizes == nullptr) {
            return connection.Fail("A name is missing.");
        }
        std::vector<int64_t> told;
        const bool answered = connection.Sizes(list, told);
        std::copy(told.begin(), told.end(), sizes);
        return answered;
    });
}

int psftp_dll_delete_all(psftp_dll_handle handle, int count, const char* const* names, int* results,
                         char* texts, int text_size)
{
    return OnConnection(handle, {}, [&](Connection& connection) {
        std::vector<std::string> list;
        if (!Names(count, names, list) || results == nullptr) {
            return connection.Fail("A name is missing.");
        }
        std::vector<int> done;
        std::vector<std::string> failures;
        const bool answered = connection.Delete(list, done, failures);
        std::copy(done.begin(), done.end(), results);
        for (size_t i = 0; texts != nullptr && i < failures.size(); ++i) {
            CopyText(failures[i], texts + i * size_t(std::max(text_size, 0)), text_size);
        }
        return answered;
    });
}

int psftp_dll_get_ahead(psftp_dll_handle handle, int count, const char* const* names)
{
    return OnConnection(handle, {}, [&](Connection& connection) {
        std::vector<std::string> list;
        return Names(count, names, list) ? connection.GetAhead(list) : connection.Fail("A name is missing.");
    });
}

int psftp_dll_chdir_ahead(psftp_dll_handle handle, const char* path)
{
    return OnConnection(handle, {path}, [&](Connection& connection) {
        return connection.ChangeDirectoryAhead(path);
    });
}

int psftp_dll_rename(psftp_dll_handle handle, const char* old_name, const char* new_name)
{
    return OnConnection(handle, {old_name, new_name}, [&](Connection& connection) {
        return connection.Rename(old_name, new_name);
    });
}

int psftp_dll_host_key(psftp_dll_handle handle, char* buffer, int size)
{
    int recorded = 0;
    const int known = OnConnection(handle, {}, [&](Connection& connection) {
        if (connection.HostKeyFingerprint().empty()) {
            return connection.Fail("The server's host key is not known.");
        }
        CopyText(connection.HostKeyFingerprint(), buffer, size);
        recorded = connection.HostKeyRecorded() ? 1 : 0;
        return true;
    });
    return known == 1 ? recorded : -1;
}

void psftp_dll_set_timeouts(int connect_seconds, int io_seconds)
{
    std::lock_guard lock(registryMutex);
    if (connect_seconds > 0) {
        timeouts.connectSeconds = connect_seconds;
    }
    if (io_seconds > 0) {
        timeouts.ioSeconds = io_seconds;
    }
}

}  // extern "C"
