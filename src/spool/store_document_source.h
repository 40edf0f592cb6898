// The FTP or SFTP store as a document source, through the fetch stage's connection.
#pragma once

#include "config/station_settings.h"
#include "spool/document_source.h"

class StoreConnection;
class StoreSession;

class StoreDocumentSource : public DocumentSource {
public:
    // Failures are reported with the session's last response; a relative folder is taken
    // below home, the folder the store put the user in.
    StoreDocumentSource(StoreSession& session, StoreConnection& connection, const StationSettings& settings,
                        std::string home);

    SourceKind Kind() const override { return SourceKind::Store; }
    int List(const std::string& folder, std::vector<SourceEntry>& entries, ListStep& failed) override;
    std::vector<std::string> UnreadableLines() const override;
    int Fetch(const SourceEntry& entry, const std::string& localPath) override;
    std::optional<long long> SizeNow(const SourceEntry& entry) override;
    DeleteOutcome Delete(const SourceEntry& entry, int& code) override;
    void Report(const std::string& text, int code, std::string& errorText) override;

private:
    StoreSession& session_;
    StoreConnection& connection_;
    const StationSettings& settings_;
    const std::string home_;
};

// The path on the store: absolute as it is, relative below home.
std::string StorePath(const std::string& home, const std::string& path);
