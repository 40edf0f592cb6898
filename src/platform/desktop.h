// Everything the station reaches on the desktop, apart from the message boxes.
#pragma once

#include "platform/display_fields.h"
#include "platform/log_list.h"
#include "platform/log_viewer.h"
#include "platform/periodic_timer.h"
#include "platform/process_runner.h"
#include "platform/run_buttons.h"
#include "platform/wait_cursor.h"

struct Desktop {
    WaitCursor& waitCursor;
    PeriodicTimer& timer;
    DisplayFields& display;
    LogList& logList;
    LogViewer& logViewer;
    RunButtons& runButtons;
    ProcessRunner& processes;
};
