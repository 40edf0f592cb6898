#include "spool/settings_save.h"

#include "config/station_settings.h"
#include "platform/message_box.h"

#include <string>

void SaveSettings(const StationSettings& s)
{
    if (s.IniPath.empty()) {
        static bool told = false;
        if (!told)
            ShowMessageBox("Dieses Programm hat keine Einstellungsdatei, weil es unter einem anderen Namen "
                           "als kv_print oder ts_print gestartet wurde.\n\nGeänderte Einstellungen gelten nur "
                           "bis zum Programmende.",
                           "Hinweis", BoxStyle::IconInformation | BoxStyle::TaskModal);
        told = true;
        return;
    }
    std::string error;
    if (!WriteSettingsFile(s, &error))
        ShowMessageBox("Die Einstellungsdatei konnte nicht geschrieben werden:\n\nDatei: " + s.IniPath
                           + "\n\nFehler: " + error + "\n\nDie Datei ist unverändert.",
                       "ERROR", BoxStyle::Error);
}
