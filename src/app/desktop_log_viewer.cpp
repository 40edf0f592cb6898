#include "app/desktop_log_viewer.h"

#include <QDesktopServices>
#include <QUrl>

void DesktopLogViewer::Open(const std::string& path)
{
    QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path)));
}
