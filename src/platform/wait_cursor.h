// The wait cursor the desktop shows while the station is busy.
#pragma once

class WaitCursor {
public:
    virtual ~WaitCursor() = default;
    // Calls nest: the cursor is back to normal after as many Hide as Show calls.
    virtual void Show() = 0;
    virtual void Hide() = 0;
};
