// Which controls of the base settings dialog are shown and which can be used, from the
// product mode and the states of its check boxes.
#pragma once

#include <string>

struct SettingsControlStates {
    bool serverGroupShown = false;    // the web server group, Korvid mode only
    bool serverGroupEnabled = false;
    bool folderListShown = false;     // the ts_print icon and "Verzeichnisse konfigurieren ..."
    bool localFolderEnabled = false;  // "Haupt-Verzeichnis (lokal):" with its edit and "..."
    bool storeGroupEnabled = false;   // the store's labels, inputs, test button and SFTP box
    bool passiveEnabled = false;
    bool tlsEnabled = false;          // "TLS verwenden (FTPS) ?", an FTP setting like passive
    bool logFileEnabled = false;      // "Log-Datei:", its "..." and the maximum size
    std::string logBoxCaption;
};

// "Fehler nur loggen ?" is never disabled and has no state here.
SettingsControlStates SettingsControlRules(int tessalineMode, int korvidMode, bool localChecked,
                                           bool sftpChecked, bool logChecked);
