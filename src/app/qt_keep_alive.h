// The desktop kept alive by Qt: a wait of the station lets Qt handle what came in, so the
// window repaints and answers the desktop meanwhile; input stays queued unless taken.
#pragma once

#include "platform/keep_alive.h"

class QtKeepAlive : public DesktopKeepAlive {
public:
    void HandlePending(bool takeInput) override;
};
