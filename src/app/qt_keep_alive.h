// The desktop kept alive by Qt: a wait of the station lets Qt handle what came in,
// input included, so the window repaints and answers the desktop meanwhile.
#pragma once

#include "platform/keep_alive.h"

class QtKeepAlive : public DesktopKeepAlive {
public:
    void HandlePending() override;
};
