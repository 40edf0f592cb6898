#include "spool/polling_cycle.h"

#include "config/file_utilities.h"
#include "net/result_codes.h"
#include "platform/message_box.h"
#include "spool/free_file_name.h"
#include "spool/fetch_policy.h"
#include "spool/local_document_source.h"
#include "spool/print_dispatch.h"
#include "spool/run_control.h"
#include "spool/spool_layout.h"
#include "spool/station.h"
#include "spool/store_access.h"
#include "spool/store_error_report.h"
#include "spool/text_format.h"

#include <algorithm>
#include <climits>
#include <exception>
#include <memory>
#include <vector>

namespace {

bool IsLocalMode(const StationSettings& settings)
{
    return settings.LocalFsMode == 1;
}

// Marks the station as being inside a cycle for the lifetime of the object.
class CycleMark {
public:
    explicit CycleMark(RunState& run) : run_(run), before_(run.cycleRunning)
    {
        run_.cycleRunning = true;
        run_.cycleEnding = false;
    }
    ~CycleMark()
    {
        run_.cycleRunning = before_;
        run_.cycleEnding = false;
    }
    CycleMark(const CycleMark&) = delete;
    CycleMark& operator=(const CycleMark&) = delete;

private:
    RunState& run_;
    bool before_;
};

// Opens and logs in; on failure reports it with ticks held back while the box is open.
std::unique_ptr<StoreSession> LogInOrReport(Station& station, std::string& errorText)
{
    const StationSettings& settings = station.Settings();
    std::unique_ptr<StoreSession> session = station.Store().CreateSession(station);
    int code = session->Open();
    if (code == UTE_SUCCESS)
        return session;
    station.Run().ErrorBoxOpen = true;
    const std::string reason = session->FailureReason();
    ReportStoreError(settings, *session,
                     FormatText("Konnte nicht am %s-Server %s mit Nutzer %s anmelden!",
                                settings.KV_Sftp_Mode == 1 ? "SFTP" : "FTP", settings.KV_FTP_Store.c_str(),
                                settings.KV_FTP_Store_User.c_str())
                         + (reason.empty() ? "" : "\n" + reason),
                     code, errorText);
    station.Run().ErrorBoxOpen = false;
    return nullptr;
}

bool EnterBaseOrReport(Station& station, StoreSession& session, const std::string& base, std::string& errorText)
{
    int code = session.EnterBaseFolder(base);
    if (code == UTE_SUCCESS)
        return true;
    station.Run().ErrorBoxOpen = true;
    ReportStoreError(station.Settings(), session,
                     FormatText("Konnte nicht in das Verzeichnis %s wechseln !", base.c_str()), code, errorText);
    station.Run().ErrorBoxOpen = false;
    return false;
}

bool FetchCategories(Station& station, StoreSession* session, const std::string& base)
{
    bool fetched = false;
    std::string root = LocalSpoolRoot(station.Settings());
    bool local = session == nullptr;
    for (const SpoolCategory& category : SpoolCategories(station.Settings())) {
        if (station.Run().cycleEnding)
            break;
        std::string source = local ? LocalSubfolder(base, category.folder) : base + "/" + category.folder;
        if (FetchFolder(station, session, category.label, source, LocalSubfolder(root, category.folder)))
            fetched = true;
    }
    return fetched;
}

// The institution in the Korvid mode, each main folder in the Tessaline mode. Without
// a session (local mode) the bases are folders of the local source tree.
bool FetchBases(Station& station, StoreSession* session, std::string& errorText)
{
    const StationSettings& settings = station.Settings();
    std::vector<std::string> names = settings.TessalineMode ? settings.MainFolders
                                                            : std::vector<std::string>{settings.KV_Inst_ID};
    bool fetched = false;
    for (const std::string& name : names) {
        if (station.Run().cycleEnding)
            break;
        if (!session) {
            fetched = FetchCategories(station, nullptr, LocalSourceBase(settings, name)) || fetched;
            continue;
        }
        std::string base = RemoteSpoolBase(settings, name);
        if (EnterBaseOrReport(station, *session, base, errorText))
            fetched = FetchCategories(station, session, base) || fetched;
    }
    return fetched;
}

}  // namespace

unsigned PollingInterval(int pollingRate)
{
    long long milliseconds = static_cast<long long>(pollingRate) * 1000;
    return static_cast<unsigned>(std::clamp<long long>(milliseconds, kShortestPollingInterval, INT_MAX));
}

void StartPollingTimer(Station& station)
{
    station.Run().timerHandle =
        station.Seams().timer.Set(POLL_TIMER_ID, PollingInterval(station.Settings().Polling_Rate));
}

void StopPollingTimer(Station& station)
{
    RunState& run = station.Run();
    if (run.timerHandle != 0)
        station.Seams().timer.Kill(run.timerHandle);
    run.timerHandle = 0;
}

void OnPollingTick(Station& station, unsigned timerId)
{
    const RunState& run = station.Run();
    if (run.timerHandle == 0 || timerId != run.timerHandle || run.ErrorBoxOpen || run.cycleRunning)
        return;
    WaitCursor& cursor = station.Seams().waitCursor;
    cursor.Show();
    station.Log().AddLogLine("----------------> Polling ...", LogTarget::ListOnly);
    RunCycle(station);
    cursor.Hide();
}

void RunCycle(Station& station)
{
    {
        CycleMark mark(station.Run());
        DisplayFields& display = station.Seams().display;
        display.SetStatusText("RUNNING");
        // Whatever a cycle meets, the station polls on.
        try {
            // What waits in the spool tree is printed at every cycle, fetched or not.
            if (CheckPrintProgram(station)) {
                FetchAll(station);
                PrintAll(station);
            }
        } catch (const std::exception& error) {
            station.Log().AddLogLine(FormatText("FEHLER im Abfragezyklus: %s", error.what()));
        } catch (...) {
            station.Log().AddLogLine("FEHLER im Abfragezyklus: unbekannte Ausnahme");
        }
        display.SetStatusText("");
    }
    // Start waits for the end of a cycle that "Stopp" ended.
    UpdateRunButtons(station);
}

bool CheckPrintProgram(const Station& station)
{
    const std::string& program = station.Settings().Printer_PDF_Prog;
    if (PathExists(program))
        return true;
    ShowMessageBox(FormatText("Das PDF-Ausdruck-Programm '%s' wurde nicht an diesem Ort gefunden.\n"
                              "Eventuell ist die Einstellung falsch, oder aber das Programm wurde entfernt!%s",
                              program.c_str(),
                              "\n\nEs werden keine Dateien verarbeitet !\n\n"
                              "Bitte korrigieren Sie zunächst die Konfiguration !"),
                   "ERROR", BoxStyle::Error);
    return false;
}

bool FetchAll(Station& station)
{
    std::string errorText;
    std::unique_ptr<StoreSession> session;
    bool fetched = false;
    if (IsLocalMode(station.Settings()) || (session = LogInOrReport(station, errorText)))
        fetched = FetchBases(station, session.get(), errorText);
    if (session)
        session->Close();
    if (!errorText.empty())
        station.Log().AddLogLine(errorText);
    return fetched;
}

bool FetchFolder(Station& station, StoreSession* session, const std::string& label, const std::string& source,
                 const std::string& destination)
{
    // No fetch runs at this point: what a temporary name holds is from a run that died.
    RemoveStalePartials(destination);
    if (!session) {
        LocalDocumentSource documents;
        return FetchFromSource(station, documents, label, source, destination);
    }
    return session->FetchRemoteFolder(label, source, destination);
}
