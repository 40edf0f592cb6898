// The FTP or SFTP store as a document source, through the fetch stage's connection.
#pragma once

#include "config/station_settings.h"
#include "spool/document_source.h"

class RemoteStoreSession;
class StoreConnection;

class StoreDocumentSource : public DocumentSource {
public:
    // Failures are reported with the session's last response; a relative folder is taken
    // below the folder the store put the user in.
    StoreDocumentSource(RemoteStoreSession& session, StoreConnection& connection, const StationSettings& settings);

    SourceKind Kind() const override { return SourceKind::Store; }
    int List(const std::string& folder, std::vector<SourceEntry>& entries, ListStep& failed) override;
    std::vector<std::string> UnreadableLines() const override;
    int Fetch(const SourceEntry& entry, const std::string& localPath) override;
    std::optional<long long> SizeNow(const SourceEntry& entry) override;
    DeleteOutcome Delete(const SourceEntry& entry, int& code) override;
    bool Reachable() const override;
    void Report(const char* format, const std::string& name, int code, std::string& errorText) override;

private:
    // Before each command: a lost connection is opened again once per cycle, and the
    // folder entered again; false when the store cannot be reached any more.
    bool Ready();

    RemoteStoreSession& session_;
    StoreConnection& connection_;
    const StationSettings& settings_;
    std::string folder_;  // the folder listed last
};

// The path on the store: absolute as it is, relative below home.
std::string StorePath(const std::string& home, const std::string& path);
