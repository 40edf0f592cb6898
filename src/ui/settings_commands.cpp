#include "ui/settings_commands.h"

#include "spool/settings_save.h"
#include "spool/station.h"
#include "ui/settings_dialogs.h"

bool BaseSettingsCommand(Station& station, SettingsDialogs& dialogs)
{
    if (station.RefuseWhileRunning())
        return false;
    BaseSettings values = BaseSettingsOf(station.Settings());
    if (!dialogs.EditBaseSettings(values))
        return false;
    TakeOverBaseSettings(values, station.Settings());
    station.CreateSpoolFolders();
    SaveSettings(station.Settings());
    return true;
}

bool PrinterCommand(Station& station, SettingsDialogs& dialogs)
{
    if (station.RefuseWhileRunning())
        return false;
    StationSettings& settings = station.Settings();
    if (!settings.TessalineMode) {
        PrinterAssignment assignment = PrinterAssignmentOf(settings);
        if (!dialogs.AssignPrinters(assignment))
            return false;
        TakeOverPrinterAssignment(assignment, settings);
        SaveSettings(settings);
        return true;
    }
    SpoolFolderPrinters printers = SpoolFolderPrintersOf(settings);
    const bool accepted = dialogs.EditSpoolFolders(printers);
    if (accepted) {
        TakeOverSpoolFolderPrinters(printers, settings);
        SaveSettings(settings);
    }
    station.CreateSpoolFolders();
    return accepted;
}

bool InstitutionCommand(Station& station, SettingsDialogs& dialogs)
{
    StationSettings& settings = station.Settings();
    if (settings.TessalineMode || station.RefuseWhileRunning())
        return false;
    InstitutionData institution{settings.KV_Inst_ID, settings.KV_Inst_Name, settings.KV_Inst_Abbrev};
    const bool accepted =
        settings.KorvidMode == 1
            ? dialogs.SelectInstitution({settings.KV_Server, settings.KV_Port, settings.KV_Main_Dir}, institution)
            : dialogs.EditInstitutionData(institution);
    if (!accepted)
        return false;
    settings.KV_Inst_ID = institution.id;
    settings.KV_Inst_Name = institution.name;
    settings.KV_Inst_Abbrev = institution.abbreviation;
    SaveSettings(settings);
    return true;
}
