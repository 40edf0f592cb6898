#include "app/print_station.h"

#include "app/log_font.h"
#include "app/main_window.h"

#include <QGuiApplication>

namespace {

bool HasDisplay()
{
    QString platform = QGuiApplication::platformName();
    return platform != QLatin1String("offscreen") && platform != QLatin1String("minimal");
}

}  // namespace

int PrintStation::Run(const StartValues& values)
{
    if (HasDisplay())
        InstallMessageBoxes(&messageBoxes_);
    if (!ClaimStationFolder(lock_, values.ProgramFolder, values.ProgramName)) {
        InstallMessageBoxes(nullptr);
        return 1;
    }
    MainWindow window(values, store_);
    logFont_ = MakeLogFont();
    window.Initialise(*logFont_);
    window.exec();
    logFont_.reset();
    InstallMessageBoxes(nullptr);
    return 0;
}
