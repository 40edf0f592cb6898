#include "spool/polling_cycle.h"

#include "config/file_utilities.h"
#include "platform/desktop.h"
#include "platform/keep_alive.h"
#include "platform/message_box.h"
#include "spool/activity_log.h"
#include "spool/free_file_name.h"
#include "spool/local_document_source.h"
#include "spool/run_control.h"
#include "spool/run_state.h"
#include "spool/spool_layout.h"
#include "spool/store_access.h"
#include "spool/store_error_report.h"
#include "spool/text_format.h"

#include <algorithm>
#include <climits>
#include <exception>
#include <memory>
#include <vector>

namespace {

// The fetch stage of one cycle: its source, the store's report, and the last report's
// text, which is logged when the stage ends.
class FetchStage {
public:
    explicit FetchStage(const CycleContext& cycle) : cycle_(cycle), report_(cycle.settings, cycle.run) {}

    bool Run()
    {
        const StationSettings& settings = cycle_.settings;
        LocalDocumentSource local;
        DocumentSource* source = &local;
        if (settings.LocalFsMode != 1) {
            store_ = cycle_.store.Create(settings, {cycle_.log, cycle_.desktop.display, report_});
            report_.SetProtocol(store_->ProtocolName());
            SourceError error;
            if (!store_->Open(&error)) {
                // No QUIT after a failed log-in.
                cycle_.log.AddLogLine(report_.LogInFailed(error));
                return false;
            }
            source = store_.get();
        }
        bool fetched = FetchBases(*source);
        if (store_)
            store_->Close();
        if (!errorText_.empty())
            cycle_.log.AddLogLine(errorText_);
        return fetched;
    }

private:
    // The institution in the Korvid mode, each main folder in the Tessaline mode: on
    // the store a base the connection changes into, in the local mode a folder of the
    // local source tree.
    bool FetchBases(DocumentSource& source)
    {
        const StationSettings& settings = cycle_.settings;
        std::vector<std::string> names =
            settings.TessalineMode ? settings.MainFolders : std::vector<std::string>{settings.KV_Inst_ID};
        bool fetched = false;
        for (const std::string& name : names) {
            if (cycle_.run.CycleEnding())
                break;
            if (!store_) {
                fetched = FetchCategories(source, LocalSourceBase(settings, name)) || fetched;
                continue;
            }
            std::string base = RemoteSpoolBase(settings, name);
            // A store far away is asked for the category folders in the flight of the base.
            for (const SpoolCategory& category : SpoolCategories(settings))
                source.EnterAhead(base + "/" + category.folder);
            SourceError error;
            if (store_->Enter(base, &error))
                fetched = FetchCategories(source, base) || fetched;
            else
                errorText_ = report_.BaseFolderFailed(base, error);
        }
        return fetched;
    }

    bool FetchCategories(DocumentSource& source, const std::string& base)
    {
        FetchContext fetch{cycle_.log, cycle_.desktop.display, cycle_.run.Fetches(), store_ ? &report_ : nullptr};
        const std::string root = LocalSpoolRoot(cycle_.settings);
        bool fetched = false;
        for (const SpoolCategory& category : SpoolCategories(cycle_.settings)) {
            if (cycle_.run.CycleEnding())
                break;
            std::string folder = store_ ? base + "/" + category.folder : LocalSubfolder(base, category.folder);
            std::string destination = LocalSubfolder(root, category.folder);
            // No fetch runs at this point: what a temporary name holds is from a run that died.
            RemoveStalePartials(destination);
            if (FetchFromSource(fetch, source, category.label, folder, destination))
                fetched = true;
        }
        return fetched;
    }

    const CycleContext& cycle_;
    StoreReport report_;
    std::unique_ptr<StoreSource> store_;
    std::string errorText_;
};

}  // namespace

PrintContext CycleContext::Printing() const
{
    return {settings, log, params, leftovers, desktop.waitCursor, desktop.display, desktop.processes, run.Prints(),
            run};
}

unsigned PollingInterval(int pollingRate)
{
    long long milliseconds = static_cast<long long>(pollingRate) * 1000;
    return static_cast<unsigned>(std::clamp<long long>(milliseconds, kShortestPollingInterval, INT_MAX));
}

void StartPollingTimer(const CycleContext& cycle)
{
    cycle.run.TimerSet(cycle.desktop.timer.Set(POLL_TIMER_ID, PollingInterval(cycle.settings.Polling_Rate)));
}

void StopPollingTimer(const CycleContext& cycle)
{
    if (cycle.run.TimerHandle() != 0)
        cycle.desktop.timer.Kill(cycle.run.TimerHandle());
    cycle.run.TimerSet(0);
}

void OnPollingTick(const CycleContext& cycle, unsigned timerId)
{
    const RunState& run = cycle.run;
    if (run.TimerHandle() == 0 || timerId != run.TimerHandle() || run.ErrorBoxOpen() || run.CycleRunning())
        return;
    WaitCursor& cursor = cycle.desktop.waitCursor;
    cursor.Show();
    cycle.log.AddLogLine("----------------> Polling ...", LogTarget::ListOnly);
    RunCycle(cycle);
    cursor.Hide();
}

void RunCycle(const CycleContext& cycle)
{
    {
        auto inCycle = cycle.run.Cycle();
        // The guards of the run state refuse what may not run while a cycle waits.
        DesktopInputTaken input;
        DisplayFields& display = cycle.desktop.display;
        display.SetStatusText("RUNNING");
        // Whatever a cycle meets, the station polls on.
        try {
            // What waits in the spool tree is printed at every cycle, fetched or not.
            if (CheckPrintProgram(cycle.settings)) {
                FetchAll(cycle);
                PrintAll(cycle.Printing());
            }
        } catch (const std::exception& error) {
            cycle.log.AddLogLine(FormatText("FEHLER im Abfragezyklus: %s", error.what()));
        } catch (...) {
            cycle.log.AddLogLine("FEHLER im Abfragezyklus: unbekannte Ausnahme");
        }
        display.SetStatusText("");
    }
    // Start waits for the end of a cycle that "Stopp" ended.
    UpdateRunButtons(cycle.run, cycle.desktop.runButtons);
}

bool CheckPrintProgram(const StationSettings& settings)
{
    const std::string& program = settings.Printer_PDF_Prog;
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

bool FetchAll(const CycleContext& cycle)
{
    return FetchStage(cycle).Run();
}
