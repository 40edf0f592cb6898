// Binding of the SFTP component psftp_dll.so, loaded at run time with dlopen. The
// component's calls block for as long as the server takes; they run one after the other
// on a thread of the binding's own while the caller waits for each and keeps the desktop
// alive. A call made during that wait (by input the desktop handled) is refused, so
// nothing else touches the session meanwhile.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class SftpBinding {
public:
    // Loads "<folder>/psftp_dll.so" and resolves its 13 entry points.
    explicit SftpBinding(const std::string& folder);
    ~SftpBinding();
    SftpBinding(const SftpBinding&) = delete;
    SftpBinding& operator=(const SftpBinding&) = delete;

    // True only when the library loaded and every entry point was found.
    bool IsLoaded() const { return loaded_; }
    bool IsConnected() const { return handle_ != 0; }
    void SetPort(int port) { port_ = port; }
    int Port() const { return port_; }

    // Each wrapper fails without a call while the component is not loaded, and every
    // one but Connect and GetLastError while there is no connection: the component
    // keeps the text of a failed connect for handle 0.
    bool Connect(const std::string& host, const std::string& user, const std::string& password);
    void Disconnect();
    // The component's error text; while it is not loaded, why loading failed.
    std::string GetLastError();
    bool Pwd(std::string& directory);
    bool Put(const std::string& localPath, const std::string& remoteName);
    bool Get(const std::string& localPath, const std::string& remoteName);
    // Empties the list, then appends each listing line the component delivers.
    bool List(std::vector<std::string>& lines);
    bool ChangeDirectory(const std::string& path);
    bool MakeDirectory(const std::string& name);
    bool RemoveDirectory(const std::string& name);
    bool Delete(const std::string& name);
    bool Rename(const std::string& oldName, const std::string& newName);
    // The size of a file now, through the one optional entry point psftp_dll_size.
    bool HasSize() const;
    bool Size(const std::string& name, long long& size);
    // The optional calls of several files at once and the announcements of later calls
    // (psftp_dll_sizes, _delete_all, _get_ahead, _chdir_ahead): all of them, or none.
    bool HasFlights() const;
    // Sizes of regular files (-1 where untold), deletions (1 removed, 0 refused, -1 no
    // answer) with the text of each failure; false when the connection failed.
    bool Sizes(const std::vector<std::string>& names, std::vector<long long>& sizes);
    bool DeleteAll(const std::vector<std::string>& names, std::vector<int>& results,
                   std::vector<std::string>& failures);
    bool GetAhead(const std::vector<std::string>& names);
    bool ChangeDirectoryAhead(const std::string& path);
    // The fingerprint of the connected server's host key ("SHA256:..."), and whether
    // this connection recorded the key as new; false without a connection or with a
    // component that does not tell it.
    bool HostKey(std::string& fingerprint, bool& recorded);

private:
    struct EntryPoints;
    class ComponentThread;
    // Runs the call on the component's thread and waits for its end; false, without
    // running it, while another call is under way.
    bool Call(const std::function<void()>& call);
    // Whether the entry point ran and returned the value.
    template <typename Entry>
    bool Returns(int value, Entry entry)
    {
        int result = 0;
        return Call([&] { result = entry(); }) && result == value;
    }

    std::unique_ptr<EntryPoints> entry_;
    std::unique_ptr<ComponentThread> thread_;
    bool busy_ = false;
    void* library_ = nullptr;
    std::string loadError_;
    bool loaded_ = false;
    int port_ = 22;
    intptr_t handle_ = 0;
};

// What an error text of the component says went wrong, as the line the user reads
// (failure_reason.h); empty for a text it does not tell apart.
std::string ComponentFailureLine(const std::string& text);
