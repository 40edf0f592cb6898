#include "spool/settings_file_check.h"

#include "config/station_settings.h"
#include "spool/activity_log.h"
#include "spool/text_format.h"

#include <sys/stat.h>

std::string SettingsFileWarning(const std::string& iniPath)
{
    struct stat status {};
    if (iniPath.empty() || stat(iniPath.c_str(), &status) != 0 || (status.st_mode & (S_IRGRP | S_IROTH)) == 0)
        return "";
    StationSettings stored;
    stored.IniPath = iniPath;
    LoadSettings(stored);
    if (stored.KV_FTP_Store_Password.empty())
        return "";
    return FormatText("Achtung: die Einstellungsdatei %s ist auch für andere lesbar (Modus %04o), "
                      "sie enthält das Passwort des Lagers!",
                      iniPath.c_str(), static_cast<unsigned>(status.st_mode & 07777));
}

void WarnAboutSettingsFile(const std::string& iniPath, ActivityLog& log)
{
    std::string warning = SettingsFileWarning(iniPath);
    if (!warning.empty())
        log.AddLogLine(warning);
}
