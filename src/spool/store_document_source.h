// The FTP or SFTP store of one cycle as a document source, on one connection. A lost
// connection is opened again, once per cycle, and the folder in hand entered again; a
// failed new log-in is reported as the first one, and after it the store cannot be
// reached until the cycle ends.
#pragma once

#include "config/station_settings.h"
#include "spool/store_access.h"
#include "spool/store_connection.h"

class StoreDocumentSource : public StoreSource {
public:
    // The receive time-out and the low-speed window of a transfer: others than the
    // defaults only for servers on test ports.
    StoreDocumentSource(const StationSettings& settings, StoreContext context, int ftpPort, int sftpPort,
                        int receiveTimeoutMs = SocketDefaults::kTimeoutMs,
                        int lowSpeedMs = LowSpeedLimit::kMilliseconds);

    std::string ProtocolName() const override { return connection_.ProtocolName(); }
    // After a successful log-in the data connections take the passive flag of the
    // settings, and downloads show their progress in the window. With a relative store
    // folder the folder the store put the user in is asked for: folders lie below it.
    bool Open(SourceError* error) override;
    void Close() override;
    bool Enter(const std::string& folder, SourceError* error) override;
    bool List(std::vector<SourceEntry>& entries, SourceError* error) override;
    std::vector<std::string> UnreadableLines() const override;
    bool Fetch(const SourceEntry& entry, const std::string& localPath, SourceError* error) override;
    std::optional<long long> SizeNow(const SourceEntry& entry) override;
    DeleteOutcome Delete(const SourceEntry& entry, SourceError* error) override;
    std::vector<std::optional<long long>> SizesNow(const std::vector<SourceEntry>& entries) override;
    std::vector<DeleteOutcome> DeleteAll(const std::vector<SourceEntry>& entries,
                                         std::vector<SourceError>& errors) override;
    // Hints only: they neither open the connection again nor report.
    void FetchAhead(const std::vector<SourceEntry>& following) override;
    void EnterAhead(const std::string& folder) override;
    bool Reachable() const override { return !closed_; }

private:
    // Before each command: true while the connection is up, or up again.
    bool Ready();
    // The result code as a success, or as a failure with the store's last words.
    bool Succeeded(int code, SourceError* error) const;
    bool Up() const { return !closed_ && !connection_.ConnectionLost(); }

    const StationSettings& settings_;
    StoreContext context_;
    StoreConnection connection_;
    std::string home_;
    std::string folder_;  // the folder entered last
    bool reopened_ = false;
    bool closed_ = false;
};

// The path on the store: absolute as it is, relative below home.
std::string StorePath(const std::string& home, const std::string& path);
