#include "spool/store_document_source.h"

#include "net/result_codes.h"
#include "spool/store_connection.h"
#include "spool/store_error_report.h"

namespace {

std::time_t EntryTime(const FtpDirEntry& entry)
{
    std::tm time{};
    time.tm_year = entry.year - 1900;
    time.tm_mon = entry.month - 1;
    time.tm_mday = entry.day;
    time.tm_hour = entry.hour;
    time.tm_min = entry.minute;
    time.tm_isdst = -1;
    return std::mktime(&time);
}

}  // namespace

StoreDocumentSource::StoreDocumentSource(StoreSession& session, StoreConnection& connection,
                                         const StationSettings& settings, std::string home)
    : session_(session), connection_(connection), settings_(settings), home_(std::move(home))
{
}

int StoreDocumentSource::List(const std::string& folder, std::vector<SourceEntry>& entries, ListStep& failed)
{
    failed = ListStep::Enter;
    int code = connection_.ChangeDirectory(StorePath(home_, folder));
    if (code != UTE_SUCCESS)
        return code;
    failed = ListStep::List;
    connection_.SetTransferType(0);
    code = connection_.ListDirectory();
    if (code != UTE_SUCCESS)
        return code;
    connection_.SetTransferType(1);
    connection_.SetReceiveProgress(true);
    const int count = connection_.GetDirEntryCount();
    for (int i = 0; i < count; ++i) {
        FtpDirEntry entry;
        if (connection_.GetDirEntry(i, entry) == UTE_SUCCESS)
            entries.push_back({entry.name, entry.size, EntryTime(entry), entry.isDir == 0});
    }
    return UTE_SUCCESS;
}

std::vector<std::string> StoreDocumentSource::UnreadableLines() const
{
    return connection_.SkippedListingLines();
}

int StoreDocumentSource::Fetch(const SourceEntry& entry, const std::string& localPath)
{
    return connection_.GetFile(entry.name, localPath);
}

std::optional<long long> StoreDocumentSource::SizeNow(const SourceEntry& entry)
{
    long long size = 0;
    int code = connection_.GetFileSize(entry.name, size);
    if (code == UTE_SVR_NOT_SUPPORTED)
        return std::nullopt;
    return code == UTE_SUCCESS ? size : -1;
}

DeleteOutcome StoreDocumentSource::Delete(const SourceEntry& entry, int& code)
{
    code = connection_.DeleteFile(entry.name);
    if (code == UTE_SUCCESS)
        return DeleteOutcome::Deleted;
    if (connection_.GetSftpMode() == 0)
        return code == UTE_SVR_REQUEST_DENIED ? DeleteOutcome::Refused : DeleteOutcome::Unknown;
    // The SFTP component tells no refusal from a lost connection: the file's size does.
    // A component that cannot tell sizes counts every failure as a refusal.
    std::optional<long long> now = SizeNow(entry);
    return !now || *now >= 0 ? DeleteOutcome::Refused : DeleteOutcome::Unknown;
}

void StoreDocumentSource::Report(const std::string& text, int code, std::string& errorText)
{
    ReportStoreError(settings_, session_, text, code, errorText);
}

std::string StorePath(const std::string& home, const std::string& path)
{
    if (path.starts_with("/") || home.empty())
        return path;
    return home.ends_with("/") ? home + path : home + "/" + path;
}
