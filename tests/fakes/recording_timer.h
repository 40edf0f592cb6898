// A timer seam for tests: records what was set and killed; ticks are delivered by the
// test itself.
#pragma once

#include "platform/periodic_timer.h"

#include <vector>

struct SetTimer {
    unsigned id = 0;
    unsigned milliseconds = 0;
};

class RecordingTimer : public PeriodicTimer {
public:
    unsigned Set(unsigned id, unsigned milliseconds) override
    {
        sets.push_back({id, milliseconds});
        if (failSet)
            return 0;
        running = true;
        return id;
    }
    void Kill(unsigned handle) override
    {
        kills.push_back(handle);
        running = false;
    }

    std::vector<SetTimer> sets;
    std::vector<unsigned> kills;
    bool running = false;
    bool failSet = false;  // the desktop has no timer left
};
