// The Start and "Stopp" buttons of the main window.
#pragma once

class RunButtons {
public:
    virtual ~RunButtons() = default;
    virtual void EnableRunButtons(bool startEnabled, bool stopEnabled) = 0;
};
