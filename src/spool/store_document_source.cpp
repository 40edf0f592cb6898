#include "spool/store_document_source.h"

#include "net/host_key_line.h"
#include "net/result_codes.h"
#include "spool/activity_log.h"
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

StoreDocumentSource::StoreDocumentSource(const StationSettings& settings, StoreContext context, int ftpPort,
                                         int sftpPort, int receiveTimeoutMs, int lowSpeedMs)
    : settings_(settings), context_(context)
{
    connection_.SetControlPort(ftpPort);
    connection_.SetSftpPort(sftpPort);
    connection_.SetTransferLimits(receiveTimeoutMs, lowSpeedMs);
    connection_.SetSftpMode(settings.KV_Sftp_Mode);
}

bool StoreDocumentSource::Succeeded(int code, SourceError* error) const
{
    if (error)
        *error = {code, connection_.GetLastResponse(), connection_.GetFailureReason(code)};
    return code == UTE_SUCCESS;
}

bool StoreDocumentSource::Open(SourceError* error)
{
    int code = OpenStore(connection_, settings_);
    if (code == UTE_SUCCESS) {
        connection_.SetPassiveMode(settings_.KV_Ftp_Passive);
        connection_.SetOwner(&context_.display);
        std::string fingerprint;
        bool recorded = false;
        if (connection_.SftpHostKey(fingerprint, recorded) && recorded)
            context_.log.AddLogLine(RecordedHostKeyLine(settings_.KV_FTP_Store, fingerprint));
        // A relative store folder lies below the folder the store put the user in.
        if (!settings_.KV_FTP_Store_Dir.starts_with("/"))
            code = connection_.GetCurrentDirectory(home_);
    }
    return Succeeded(code, error);
}

void StoreDocumentSource::Close()
{
    CloseStore(connection_);
}

bool StoreDocumentSource::Ready()
{
    if (Up())
        return true;
    if (closed_ || reopened_) {
        closed_ = true;
        return false;
    }
    reopened_ = true;
    context_.log.AddLogLine(
        FormatText("Verbindung zum %s-Lager verloren: neue Anmeldung", connection_.ProtocolName()));
    SourceError error;
    if (!Open(&error)) {
        context_.log.AddLogLine(context_.report.LogInFailed(error));
        closed_ = true;
        return false;
    }
    if (!folder_.empty()) {
        // Names are relative to the folder: outside it, no fetch, size or deletion is sound.
        if (connection_.ChangeDirectory(StorePath(home_, folder_)) != UTE_SUCCESS) {
            closed_ = true;
            return false;
        }
        connection_.SetTransferType(1);
        connection_.SetReceiveProgress(true);
    }
    return true;
}

bool StoreDocumentSource::Enter(const std::string& folder, SourceError* error)
{
    folder_.clear();
    if (!Ready())
        return Succeeded(UTE_NOCONNECTION, error);
    if (!Succeeded(connection_.ChangeDirectory(StorePath(home_, folder)), error))
        return false;
    folder_ = folder;
    return true;
}

bool StoreDocumentSource::List(std::vector<SourceEntry>& entries, SourceError* error)
{
    if (!Ready())
        return Succeeded(UTE_NOCONNECTION, error);
    // The switches of the transfer type go with the commands that follow them.
    connection_.SetTransferTypeWithNext(0);
    if (!Succeeded(connection_.ListDirectory(), error))
        return false;
    connection_.SetTransferTypeWithNext(1);
    connection_.SetReceiveProgress(true);
    const int count = connection_.GetDirEntryCount();
    for (int i = 0; i < count; ++i) {
        FtpDirEntry entry;
        if (connection_.GetDirEntry(i, entry) == UTE_SUCCESS)
            entries.push_back({entry.name, entry.size, EntryTime(entry), entry.isDir == 0});
    }
    return true;
}

std::vector<std::string> StoreDocumentSource::UnreadableLines() const
{
    return connection_.SkippedListingLines();
}

bool StoreDocumentSource::Fetch(const SourceEntry& entry, const std::string& localPath, SourceError* error)
{
    if (!Ready())
        return Succeeded(UTE_NOCONNECTION, error);
    return Succeeded(connection_.GetFile(entry.name, localPath), error);
}

std::optional<long long> StoreDocumentSource::SizeNow(const SourceEntry& entry)
{
    long long size = 0;
    if (!Ready() || connection_.GetFileSize(entry.name, size) != UTE_SUCCESS)
        return std::nullopt;
    return size;
}

namespace {

DeleteOutcome DeletionOf(StoreOutcome outcome)
{
    switch (outcome) {
    case StoreOutcome::Done:
        return DeleteOutcome::Deleted;
    case StoreOutcome::Refused:
        return DeleteOutcome::Refused;
    default:
        return DeleteOutcome::Unknown;
    }
}

std::vector<std::string> NamesOf(const std::vector<SourceEntry>& entries)
{
    std::vector<std::string> names;
    for (const SourceEntry& entry : entries)
        names.push_back(entry.name);
    return names;
}

}  // namespace

DeleteOutcome StoreDocumentSource::Delete(const SourceEntry& entry, SourceError* error)
{
    if (!Ready()) {
        Succeeded(UTE_NOCONNECTION, error);
        return DeleteOutcome::Unknown;
    }
    Succeeded(connection_.DeleteFile(entry.name), error);
    return DeletionOf(connection_.LastOutcome());
}

std::vector<std::optional<long long>> StoreDocumentSource::SizesNow(const std::vector<SourceEntry>& entries)
{
    std::vector<std::optional<long long>> sizes(entries.size());
    if (!Ready())
        return sizes;
    const std::vector<StoreAnswer> answers = connection_.GetFileSizes(NamesOf(entries));
    for (size_t i = 0; i < answers.size(); ++i)
        if (answers[i].code == UTE_SUCCESS)
            sizes[i] = answers[i].size;
    return sizes;
}

std::vector<DeleteOutcome> StoreDocumentSource::DeleteAll(const std::vector<SourceEntry>& entries,
                                                          std::vector<SourceError>& errors)
{
    errors.assign(entries.size(), {});
    if (!Ready()) {
        for (SourceError& error : errors)
            Succeeded(UTE_NOCONNECTION, &error);
        return std::vector<DeleteOutcome>(entries.size(), DeleteOutcome::Unknown);
    }
    std::vector<DeleteOutcome> outcomes;
    const std::vector<StoreAnswer> answers = connection_.DeleteFiles(NamesOf(entries));
    for (size_t i = 0; i < answers.size(); ++i) {
        errors[i] = {answers[i].code, answers[i].response, answers[i].reason};
        outcomes.push_back(DeletionOf(answers[i].outcome));
    }
    return outcomes;
}

void StoreDocumentSource::FetchAhead(const std::vector<SourceEntry>& following)
{
    if (Up())
        connection_.GetFilesAhead(NamesOf(following));
}

void StoreDocumentSource::EnterAhead(const std::string& folder)
{
    if (Up())
        connection_.ChangeDirectoryAhead(StorePath(home_, folder));
}

std::string StorePath(const std::string& home, const std::string& path)
{
    if (path.starts_with("/") || home.empty())
        return path;
    return home.ends_with("/") ? home + path : home + "/" + path;
}
