#include "spool/remote_folder_fetch.h"

#include "net/result_codes.h"
#include "spool/free_file_name.h"
#include "spool/pdf_search.h"
#include "spool/station.h"
#include "spool/store_connection.h"
#include "spool/store_error_report.h"
#include "spool/text_format.h"

#include <cstdio>
#include <filesystem>

namespace {

enum class Outcome { Fetched, Empty, Failed };

long long LocalFileSize(const std::string& path)
{
    std::error_code error;
    auto size = std::filesystem::file_size(path, error);
    return error ? 0 : static_cast<long long>(size);
}

// Fetches one file: download to a temporary name, then its own name, then the deletion
// on the store. A failure is reported and leaves nothing in the destination folder.
// The listed size, when the listing gave one, is what a whole download holds: a data
// connection that ended early under a report of success leaves a shorter file.
Outcome FetchFile(Station& station, StoreSession& session, StoreConnection& connection, const std::string& source,
                  const std::string& destination, const std::string& name, long listedSize, std::string& errorText)
{
    const StationSettings& settings = station.Settings();
    const std::string partial = PartialPath(destination, name);
    int code = connection.GetFile(name, partial);
    if (code != UTE_SUCCESS) {
        std::remove(partial.c_str());
        ReportStoreError(settings, session, FormatText("konnte die Datei %s nicht vom FTP-Lager abholen", name.c_str()),
                         code, errorText);
        return Outcome::Failed;
    }
    if (LocalFileSize(partial) == 0) {
        station.Log().AddLogLine(
            FormatText("ERROR: %s/%s: hat LÄNGE 0 ! FTP-Problem !", source.c_str(), name.c_str()));
        std::remove(partial.c_str());
        return Outcome::Empty;
    }
    if (listedSize > 0 && LocalFileSize(partial) != listedSize) {
        std::remove(partial.c_str());
        ReportStoreError(settings, session, FormatText("konnte die Datei %s nicht vom FTP-Lager abholen", name.c_str()),
                         UTE_RETR_FAILED, errorText);
        return Outcome::Failed;
    }
    std::string placed = MoveToFreeName(partial, destination, name);
    if (placed.empty()) {
        std::remove(partial.c_str());
        ReportStoreError(settings, session, FormatText("konnte die Datei %s nicht vom FTP-Lager abholen", name.c_str()),
                         UTE_FILE_ERROR, errorText);
        return Outcome::Failed;
    }
    // A document that stays on the store would be fetched and printed at every cycle.
    code = connection.DeleteFile(name);
    if (code != UTE_SUCCESS) {
        std::remove(placed.c_str());
        ReportStoreError(settings, session,
                         FormatText("konnte die Datei %s nicht auf dem FTP-Lager löschen", name.c_str()), code,
                         errorText);
        return Outcome::Failed;
    }
    return Outcome::Fetched;
}

// Changes into the source folder and lists it; a failure is reported.
bool ListSource(const StationSettings& settings, StoreSession& session, StoreConnection& connection,
                const std::string& source, std::string& errorText)
{
    int code = connection.ChangeDirectory(source);
    if (code != UTE_SUCCESS) {
        ReportStoreError(settings, session, FormatText("konnte nicht zum Verzeichnis %s wechseln!", source.c_str()),
                         code, errorText);
        return false;
    }
    connection.SetTransferType(0);
    code = connection.ListDirectory();
    if (code != UTE_SUCCESS) {
        ReportStoreError(settings, session,
                         FormatText("konnte kein Verzeichnislisting von  %s erstellen!", source.c_str()), code,
                         errorText);
        return false;
    }
    return true;
}

// Fetches the PDF files of the listing in its order until one fails; true when one was
// fetched and none failed.
bool FetchListedFiles(Station& station, StoreSession& session, StoreConnection& connection, const std::string& label,
                      const std::string& source, const std::string& destination, std::string& errorText)
{
    DisplayFields& display = station.Seams().display;
    connection.SetTransferType(1);
    connection.SetReceiveProgress(true);
    const int count = connection.GetDirEntryCount();
    display.SetFolderProgressRange(0, count);
    display.SetFolderText(label);
    bool fetched = false;
    for (int i = 0; i < count; ++i) {
        display.SetFolderProgressPosition(i);
        FtpDirEntry entry;
        if (connection.GetDirEntry(i, entry) != UTE_SUCCESS || entry.isDir)
            continue;
        // The store names the file; it must not name a place outside the folder.
        if (!IsPlainFileName(entry.name) || !HasPdfExtension(entry.name))
            continue;
        display.SetFileProgressRange(0, entry.size);
        display.SetFileProgressPosition(0);
        display.SetFileText(entry.name);
        Outcome outcome = FetchFile(station, session, connection, source, destination, entry.name, entry.size,
                                    errorText);
        display.SetFileProgressPosition(0);
        display.SetFileText("");
        if (outcome == Outcome::Failed) {
            fetched = false;
            break;
        }
        if (outcome == Outcome::Fetched)
            fetched = true;
    }
    display.SetFolderProgressPosition(0);
    display.SetFolderText("");
    return fetched;
}

}  // namespace

bool IsPlainFileName(const std::string& name)
{
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos &&
           name.find('\\') == std::string::npos;
}

bool FetchRemoteFolder(Station& station, StoreSession& session, StoreConnection& connection,
                       const std::string& label, const std::string& source, const std::string& destination)
{
    std::string errorText;
    bool fetched = ListSource(station.Settings(), session, connection, source, errorText) &&
                   FetchListedFiles(station, session, connection, label, source, destination, errorText);
    if (!errorText.empty())
        station.Log().AddLogLine(errorText);
    return fetched;
}
