#include "ui/settings_control_rules.h"

SettingsControlStates SettingsControlRules(int tessalineMode, int korvidMode, bool localChecked,
                                           bool sftpChecked, bool logChecked)
{
    SettingsControlStates states;
    states.serverGroupShown = !tessalineMode;
    states.serverGroupEnabled = !tessalineMode && !localChecked && korvidMode == 1;
    states.folderListShown = tessalineMode != 0;
    states.logBoxCaption = tessalineMode ? "Aktivitäten von ts_print in Datei loggen (Historie) ?"
                                         : "Aktivitäten von kv_print in Datei loggen (Historie) ?";
    states.logFileEnabled = logChecked;
    states.storeGroupEnabled = !localChecked;
    states.localFolderEnabled = localChecked;
    states.passiveEnabled = !sftpChecked && !localChecked;
    states.tlsEnabled = states.passiveEnabled;
    return states;
}
