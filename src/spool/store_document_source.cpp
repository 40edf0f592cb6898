#include "spool/store_document_source.h"

#include "net/result_codes.h"
#include "spool/remote_store.h"
#include "spool/store_connection.h"
#include "spool/store_error_report.h"
#include "spool/text_format.h"

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

StoreDocumentSource::StoreDocumentSource(RemoteStoreSession& session, StoreConnection& connection,
                                         const StationSettings& settings)
    : session_(session), connection_(connection), settings_(settings)
{
}

bool StoreDocumentSource::Ready()
{
    const bool lost = connection_.ConnectionLost();
    if (!session_.Usable())
        return false;
    if (lost && !folder_.empty()) {
        connection_.ChangeDirectory(StorePath(session_.Home(), folder_));
        connection_.SetTransferType(1);
        connection_.SetReceiveProgress(true);
    }
    return true;
}

bool StoreDocumentSource::Reachable() const
{
    return session_.Reachable();
}

int StoreDocumentSource::List(const std::string& folder, std::vector<SourceEntry>& entries, ListStep& failed)
{
    failed = ListStep::Enter;
    folder_.clear();
    if (!Ready())
        return UTE_NOCONNECTION;
    int code = connection_.ChangeDirectory(StorePath(session_.Home(), folder));
    if (code != UTE_SUCCESS)
        return code;
    folder_ = folder;
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
    if (!Ready())
        return UTE_NOCONNECTION;
    return connection_.GetFile(entry.name, localPath);
}

std::optional<long long> StoreDocumentSource::SizeNow(const SourceEntry& entry)
{
    long long size = 0;
    if (!Ready() || connection_.GetFileSize(entry.name, size) != UTE_SUCCESS)
        return std::nullopt;
    return size;
}

DeleteOutcome StoreDocumentSource::Delete(const SourceEntry& entry, int& code)
{
    if (!Ready()) {
        code = UTE_NOCONNECTION;
        return DeleteOutcome::Unknown;
    }
    code = connection_.DeleteFile(entry.name);
    switch (connection_.LastOutcome()) {
    case StoreOutcome::Done:
        return DeleteOutcome::Deleted;
    case StoreOutcome::Refused:
        return DeleteOutcome::Refused;
    default:
        return DeleteOutcome::Unknown;
    }
}

void StoreDocumentSource::Report(const char* format, const std::string& name, int code, std::string& errorText)
{
    ReportStoreError(settings_, session_, format, FormatText(format, name.c_str()), code, errorText);
}

std::string StorePath(const std::string& home, const std::string& path)
{
    if (path.starts_with("/") || home.empty())
        return path;
    return home.ends_with("/") ? home + path : home + "/" + path;
}
