// The wait cursor as the application's override cursor.
#pragma once

#include "platform/wait_cursor.h"

class OverrideWaitCursor : public WaitCursor {
public:
    void Show() override;
    void Hide() override;
};
