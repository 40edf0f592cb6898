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
    MainWindow window(values, store_);
    logFont_ = MakeLogFont();
    window.Initialise(*logFont_);
    window.exec();
    logFont_.reset();
    InstallMessageBoxes(nullptr);
    return 0;
}
