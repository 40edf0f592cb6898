#include "spool/store_error_report.h"

#include "platform/message_box.h"
#include "spool/run_state.h"
#include "spool/text_format.h"

std::string StoreReport::Report(const std::string& kind, const std::string& text, const SourceError& error)
{
    std::string report = text + (error.reason.empty() ? "" : "\n" + error.reason)
        + FormatText("\n\nServer-Response: err-code: %d, '%s'", error.code, error.response.c_str());
    if (settings_.OnErrorLogOnly == 0 && shown_.insert(kind).second)
        ShowMessageBox(report, FormatText("Error during %s-Operation", protocol_.c_str()), BoxStyle::Error);
    return report;
}

std::string StoreReport::LogInFailed(const SourceError& error)
{
    const char* kind = "Konnte nicht am %s-Server %s mit Nutzer %s anmelden!";
    auto ticksHeld = run_.ErrorBox();
    return Report(kind,
                  FormatText(kind, protocol_.c_str(), settings_.KV_FTP_Store.c_str(),
                             settings_.KV_FTP_Store_User.c_str()),
                  error);
}

std::string StoreReport::BaseFolderFailed(const std::string& path, const SourceError& error)
{
    const char* kind = "Konnte nicht in das Verzeichnis %s wechseln !";
    auto ticksHeld = run_.ErrorBox();
    return Report(kind, FormatText(kind, path.c_str()), error);
}
