#include "spool/configuration_check.h"

#include "net/sftp_binding.h"
#include "platform/message_box.h"
#include "spool/activity_log.h"
#include "spool/text_format.h"

#include <filesystem>
#include <unistd.h>

namespace {

bool PrintProgramFound(const std::string& program)
{
    std::error_code error;
    return !program.empty() && std::filesystem::is_regular_file(program, error) &&
           access(program.c_str(), R_OK) == 0;
}

// In the local mode the documents come from the local main folder: one that does not
// exist would leave the station polling for ever without a word.
bool RequireLocalFolder(const StationSettings& settings)
{
    if (settings.LocalFsMode != 1)
        return true;
    if (!RequireValue(settings.LocalMainDir, "Kein Haupt-Verzeichnis für den lokalen Modus konfiguriert"))
        return false;
    std::error_code error;
    const std::string& folder = settings.LocalMainDir;
    if (std::filesystem::is_directory(folder, error) && access(folder.c_str(), R_OK | X_OK) == 0)
        return true;
    ShowMessageBox(FormatText("das für den lokalen Modus konfigurierte Haupt-Verzeichnis\n\n\t%s\n\n"
                              "wurde nicht gefunden.\n\nBitte überprüfen Sie die Einstellungen.",
                              folder.c_str()),
                   "Lokales Haupt-Verzeichnis nicht gefunden!", BoxStyle::Error);
    return false;
}

bool RequireStore(const StationSettings& settings)
{
    return RequireValue(settings.KV_FTP_Store, "Kein Server für FTP-Lager konfiguriert") &&
           RequireValue(settings.KV_FTP_Store_Dir, "Kein Hauptverzeichnis des FTP-Lagers konfiguriert") &&
           RequireValue(settings.KV_FTP_Store_User, "Kein Benutzer für FTP-Lager konfiguriert") &&
           RequireValue(settings.KV_FTP_Store_Password, "Kein Passwort für FTP-Lager konfiguriert");
}

bool RequireProgram(const StationSettings& settings)
{
    return RequireValue(settings.Printer_PDF_Prog, "Kein Druckprogramm zum Ausdruck der PDF-Dateien konfiguriert") &&
           RequireValue(settings.Printer_PDF_Prog_Params, "Keine Parameter für das Druckprogramm konfiguriert");
}

bool RequirePrintersAndProgram(const StationSettings& settings)
{
    return RequireValue(settings.Printer_FrontSheet, "Kein Drucker für Deckblätter konfiguriert") &&
           RequireValue(settings.Printer_RL, "Kein Drucker für rote Leihscheine konfiguriert") &&
           RequireValue(settings.Printer_Delivery, "Kein Drucker für Auslieferungen konfiguriert") &&
           RequireProgram(settings);
}

// The Korvid mode working with the service's web server.
bool CheckKorvidService(const StationSettings& settings, bool programFound)
{
    if (!programFound)
        return false;
    if (settings.LocalFsMode != 1 &&
        !(RequireValue(settings.KV_Server, "Kein Korvid-Server konfiguriert") &&
          RequireValue(settings.KV_Port, "Kein Korvid-Server-Port konfiguriert") &&
          RequireValue(settings.KV_Main_Dir, "Kein Korvid-Hauptverzeichnis konfiguriert") &&
          RequireValue(settings.KV_Inst_ID, "Keine Korvid-Institution zugewiesen") && RequireStore(settings)))
        return false;
    if (!RequireLocalFolder(settings))
        return false;
    return RequirePrintersAndProgram(settings);
}

// The Korvid mode without the web server: the store is required even in the local mode.
bool CheckKorvidStandalone(const StationSettings& settings, bool programFound)
{
    return RequireValue(settings.KV_Inst_ID, "Keine Institution zugewiesen") && RequireStore(settings) &&
           RequireLocalFolder(settings) && RequirePrintersAndProgram(settings) && programFound;
}

// Every spool folder entry is checked, so each one without a printer gets its box.
bool CheckTessaline(const StationSettings& settings, bool programFound)
{
    bool general = (settings.LocalFsMode == 1 ? RequireLocalFolder(settings) : RequireStore(settings)) &&
                   RequireProgram(settings) && programFound;
    bool printers = true;
    for (const SpoolFolderEntry& entry : settings.SpoolFolders) {
        const std::string& label = entry.Description.empty() ? entry.Folder : entry.Description;
        if (!RequireValue(entry.PrinterName, FormatText("Kein Drucker für %s konfiguriert", label.c_str())))
            printers = false;
    }
    return general && printers;
}

}  // namespace

bool RequireValue(const std::string& value, const std::string& message)
{
    static const char* const whiteSpace = " \t\n\v\f\r";
    if (value.find_first_not_of(whiteSpace) != std::string::npos)
        return true;
    ShowMessageBox(message, "Konfigurations-Fehler!", BoxStyle::Error);
    return false;
}

bool CheckConfiguration(const StationSettings& settings, ActivityLog& log)
{
    log.CheckLogFileSize();

    bool programFound = PrintProgramFound(settings.Printer_PDF_Prog);
    if (!programFound)
        ShowMessageBox(FormatText("das zum Drucken der PDFs konfigurierte Programm\n\n\t%s\n\n"
                                  "wurde nicht gefunden.\n\nBitte überprüfen Sie die Einstellungen.",
                                  settings.Printer_PDF_Prog.c_str()),
                       "PDF-Druckprogramm nicht gefunden!", BoxStyle::Error);

    if (!SftpBinding(settings.ProgramFolder).IsLoaded())
        ShowMessageBox("Achtung: keine SFTP-Unterstützung gefunden !\n\nDie DLL psftp_dll.so fehlt!\n\nnur FTP möglich !",
                       "FEHLER", BoxStyle::Error);

    if (settings.TessalineMode)
        return CheckTessaline(settings, programFound);
    if (settings.KorvidMode == 1)
        return CheckKorvidService(settings, programFound);
    return CheckKorvidStandalone(settings, programFound);
}
