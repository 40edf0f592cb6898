// The station's desktop made of recording fakes; the process runner is the test's
// choice (a recording one, or the real one to start a test program).
#pragma once

#include "fakes/recording_display_fields.h"
#include "fakes/recording_log_list.h"
#include "fakes/recording_log_viewer.h"
#include "fakes/recording_run_buttons.h"
#include "fakes/recording_timer.h"
#include "fakes/recording_wait_cursor.h"
#include "platform/desktop.h"

struct FakeDesktop {
    explicit FakeDesktop(ProcessRunner& processes)
        : desktop{waitCursor, timer, display, logList, logViewer, runButtons, processes}
    {
    }
    FakeDesktop(const FakeDesktop&) = delete;
    FakeDesktop& operator=(const FakeDesktop&) = delete;

    RecordingWaitCursor waitCursor;
    RecordingTimer timer;
    RecordingDisplayFields display;
    RecordingLogList logList;
    RecordingLogViewer logViewer;
    RecordingRunButtons runButtons;
    Desktop desktop;
};
