// The application object: owns LogFont, installs the message boxes and runs the main
// window modally; the program ends when the window closes.
#pragma once

#include "app/qt_message_boxes.h"
#include "app/start_values.h"
#include "spool/remote_store.h"
#include "spool/station_lock.h"

#include <QFont>

#include <optional>

class PrintStation {
public:
    // The whole run. Without a display (the offscreen platform) the station runs
    // headless: there is nobody to answer a box, so boxes go to standard error and
    // are answered as the safe button would be. A second station in the same
    // folder shows why it does not start and returns 1.
    int Run(const StartValues& values);

private:
    std::optional<QFont> logFont_;
    QtMessageBoxes messageBoxes_;
    RemoteStoreAccess store_;
    StationLock lock_;
};
