// A wait-cursor seam for tests: counts how often it was shown and how deep it is.
#pragma once

#include "platform/wait_cursor.h"

class RecordingWaitCursor : public WaitCursor {
public:
    void Show() override
    {
        ++shown;
        ++depth;
    }
    void Hide() override { --depth; }

    int shown = 0;
    int depth = 0;  // 0 when every Show was undone
};
