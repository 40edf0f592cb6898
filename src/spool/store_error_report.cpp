#include "spool/store_error_report.h"

#include "net/result_codes.h"
#include "platform/message_box.h"
#include "spool/station.h"
#include "spool/store_access.h"
#include "spool/text_format.h"

void ReportStoreError(const StationSettings& settings, StoreSession& session, const std::string& kind,
                      const std::string& text, int code, std::string& errorText)
{
    errorText = FormatText("%s\n\nServer-Response: err-code: %d, '%s'", text.c_str(), code,
                           session.LastResponse().c_str());
    if (settings.OnErrorLogOnly == 0 && session.FirstOfKind(kind))
        ShowMessageBox(errorText, FormatText("Error during %s-Operation", session.IsSftp() ? "SFTP" : "FTP"),
                       BoxStyle::Error);
}

int OpenStoreOrReport(Station& station, StoreSession& session, std::string& errorText)
{
    const StationSettings& settings = station.Settings();
    int code = session.Open();
    if (code == UTE_SUCCESS)
        return code;
    const char* kind = "Konnte nicht am %s-Server %s mit Nutzer %s anmelden!";
    station.Run().ErrorBoxOpen = true;
    ReportStoreError(settings, session, kind,
                     FormatText(kind, settings.KV_Sftp_Mode == 1 ? "SFTP" : "FTP", settings.KV_FTP_Store.c_str(),
                                settings.KV_FTP_Store_User.c_str()),
                     code, errorText);
    station.Run().ErrorBoxOpen = false;
    return code;
}
