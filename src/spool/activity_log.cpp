#include "spool/activity_log.h"

#include "config/file_utilities.h"
#include "platform/message_box.h"
#include "spool/text_format.h"

#include <fcntl.h>
#include <unistd.h>

namespace {

int lineCounter = 0;

// Appends; a new file is readable by its user only. The print program started later
// must not inherit it.
std::FILE* OpenLogFile(const std::string& path)
{
    int fd = open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        return nullptr;
    std::FILE* file = fdopen(fd, "a");
    if (!file)
        close(fd);
    return file;
}

}  // namespace

int LineCounter()
{
    return lineCounter;
}

std::string LogTimeStamp(const std::tm& time)
{
    return FormatText("%02d.%02d. %02d:%02d:%02d", time.tm_mday, time.tm_mon + 1, time.tm_hour,
                      time.tm_min, time.tm_sec);
}

ActivityLog::ActivityLog(const StationSettings& settings, LogList& list)
    : settings_(settings), list_(list)
{
}

ActivityLog::~ActivityLog()
{
    CloseLogFile();
}

void ActivityLog::AddLogLine(const std::string& message, LogTarget target)
{
    if (list_.Count() > kLogListLimit)
        list_.RemoveFirst(kLogListTrim);

    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    ++lineCounter;
    std::string line = FormatText("<%s %d> %s", LogTimeStamp(local).c_str(), lineCounter, message.c_str());

    if (target != LogTarget::FileOnly) {
        list_.Append(line);
        list_.ShowLast();
        list_.RepaintNow();
    }
    if (target != LogTarget::ListOnly && settings_.DoLog == 1) {
        if (!file_)
            file_ = OpenLogFile(settings_.LogFileName);
        if (file_) {
            std::fprintf(file_, "%s\n", line.c_str());
            std::fflush(file_);
        }
    }
}

void ActivityLog::CheckLogFileSize() const
{
    if (settings_.DoLog != 1 || !PathExists(settings_.LogFileName))
        return;
    long long kbytes = FileSize(settings_.LogFileName) / 1024;
    if (kbytes > settings_.LogFileMaxSize)
        ShowMessageBox(FormatText("Die Größe der Log-Datei\n\n%s\n\nbeträgt %lld KBytes.\n"
                                  "Als Maximalgröße war %d KBytes angegeben!\n\n"
                                  "Bitte leeren Sie ggfs. die Log-Datei!",
                                  settings_.LogFileName.c_str(), kbytes, settings_.LogFileMaxSize),
                       "Log-Datei ist zu gross geworden!", BoxStyle::Error);
}

void ActivityLog::ViewLog(LogViewer& viewer) const
{
    if (settings_.DoLog == 1 && PathExists(settings_.LogFileName))
        viewer.Open(settings_.LogFileName);
    else
        ShowMessageBox("Die Logdatei ist leer, bzw. (noch) nicht vorhanden !", "Information",
                       BoxStyle::IconInformation | BoxStyle::TaskModal);
}

void ActivityLog::ClearLog()
{
    if (settings_.DoLog == 0)
        return;
    int answer = ShowMessageBox(
        FormatText("Wollen Sie die Logdatei\n\n%s\n\nwirklich komplett leeren ?", settings_.LogFileName.c_str()),
        "Log-Datei leeren", BoxStyle::YesNoCancel | BoxStyle::TaskModal);
    if (answer != BoxButton::Yes)
        return;
    CloseLogFile();
    std::remove(settings_.LogFileName.c_str());
}

void ActivityLog::CloseLogFile()
{
    if (file_)
        std::fclose(file_);
    file_ = nullptr;
}
