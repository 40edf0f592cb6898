// A run-button seam for tests: keeps the enabled state of Start and "Stopp".
#pragma once

#include "platform/run_buttons.h"

class RecordingRunButtons : public RunButtons {
public:
    void EnableRunButtons(bool startEnabled, bool stopEnabled) override
    {
        start = startEnabled;
        stop = stopEnabled;
        ++updates;
    }

    bool start = true;
    bool stop = false;
    int updates = 0;
};
