#include "spool/store_error_report.h"

#include "platform/message_box.h"
#include "spool/store_access.h"
#include "spool/text_format.h"

void ReportStoreError(const StationSettings& settings, StoreSession& session, const std::string& text,
                      int code, std::string& errorText)
{
    errorText = FormatText("%s\n\nServer-Response: err-code: %d, '%s'", text.c_str(), code,
                           session.LastResponse().c_str());
    if (settings.OnErrorLogOnly == 0)
        ShowMessageBox(errorText, FormatText("Error during %s-Operation", session.IsSftp() ? "SFTP" : "FTP"),
                       BoxStyle::Error);
}
