#include "spool/run_control.h"

#include "platform/message_box.h"
#include "platform/run_buttons.h"
#include "spool/configuration_check.h"
#include "spool/polling_cycle.h"
#include "spool/station.h"
#include "spool/text_format.h"
#include "support/text_columns.h"

namespace {

void LogConnectionLines(Station& station)
{
    const StationSettings& settings = station.Settings();
    ActivityLog& log = station.Log();
    if (settings.LocalFsMode == 1) {
        log.AddLogLine("Lokaler Modus, kein FTP/SFTP Server !");
        return;
    }
    if (!settings.TessalineMode && settings.KorvidMode == 1)
        log.AddLogLine(FormatText("Korvid-Server: %s auf Port %s", settings.KV_Server.c_str(), settings.KV_Port.c_str()));
    log.AddLogLine(FormatText("FTP-Lager auf %s-Server %s:%s ...", settings.KV_Sftp_Mode == 1 ? "SFTP" : "FTP",
                              settings.KV_FTP_Store.c_str(), settings.KV_FTP_Store_Dir.c_str()));
}

}  // namespace

void StartPolling(Station& station)
{
    // Start clicked while the cycle of a "Stopp" still ends waits for its end.
    if (station.IsRunning() || station.InCycle() || !CheckConfiguration(station.Settings(), station.Log()))
        return;
    station.Run().Start();
    station.Log().AddLogLine(FormatText("Start (Polling-Rate %d Sekunden)", station.Settings().Polling_Rate));
    LogConnectionLines(station);
    LogPrinterLines(station);
    UpdateRunButtons(station);
    // The first cycle is busy like every other.
    station.Seams().waitCursor.Show();
    RunCycle(station.Cycle());
    station.Seams().waitCursor.Hide();
    // Stop or the end may have come during the first cycle.
    if (station.IsRunning() && !station.Run().Ending())
        StartPollingTimer(station.Cycle());
}

void StopPolling(Station& station)
{
    if (!station.IsRunning())
        return;
    StopPollingTimer(station.Cycle());
    station.Run().Stop();
    station.Log().AddLogLine("Stopp");
    station.Seams().display.SetStatusText("");
    UpdateRunButtons(station);
}

void LogPrinterLines(Station& station)
{
    const StationSettings& settings = station.Settings();
    ActivityLog& log = station.Log();
    if (!settings.TessalineMode) {
        log.AddLogLine(FormatText("Drucker (Lieferungen):      %s", settings.Printer_Delivery.c_str()));
        log.AddLogLine(FormatText("Drucker (rote Leihscheine): %s", settings.Printer_RL.c_str()));
        log.AddLogLine(FormatText("Drucker (Deckblätter):      %s", settings.Printer_FrontSheet.c_str()));
        return;
    }
    for (const SpoolFolderEntry& entry : settings.SpoolFolders) {
        const std::string& label = entry.Description.empty() ? entry.Folder : entry.Description;
        std::string title = FormatText("Drucker (%s):", label.c_str());
        log.AddLogLine(PaddedToWidth(title, 40) + " " + entry.PrinterName);
    }
}

bool RefuseWhileRunning(const Station& station)
{
    if (!station.IsRunning() && !station.InCycle())
        return false;
    ShowMessageBox("Stoppen Sie zunächst die Aktivitäten durch Betätigen des STOPP-Buttons.",
                   "Operation nicht möglich", BoxStyle::Error);
    return true;
}

void UpdateRunButtons(Station& station)
{
    UpdateRunButtons(station.Run(), station.Seams().runButtons);
}

void UpdateRunButtons(const RunState& run, RunButtons& buttons)
{
    buttons.EnableRunButtons(!run.Running() && !run.CycleRunning(), run.Running());
}

bool ConfirmEnd(Station& station)
{
    if (station.IsRunning() &&
        AskUser("", "Die Station druckt noch. Wirklich beenden?",
                BoxStyle::YesNo | BoxStyle::IconQuestion | BoxStyle::DefaultButton2) != BoxButton::Yes)
        return false;
    StopPollingTimer(station.Cycle());
    station.Run().End();
    return true;
}

void EndStation(Station& station)
{
    if (station.IsRunning())
        station.Log().AddLogLine("Ende");
    station.Log().CloseLogFile();
}
