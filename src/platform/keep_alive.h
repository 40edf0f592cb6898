// Keeps the desktop alive while the station waits: a wait that can last (for the print
// program, for a transfer) calls KeepDesktopAlive between its slices, so the window
// repaints, answers the desktop and takes input meanwhile.
#pragma once

class DesktopKeepAlive {
public:
    virtual ~DesktopKeepAlive() = default;
    // Handles what has come in for the desktop and returns at once.
    virtual void HandlePending() = 0;
};

// The event loop belongs to the process, as the message boxes do: the desktop installs
// its implementation at start and removes it at the end; without one the call does
// nothing.
void InstallDesktopKeepAlive(DesktopKeepAlive* keepAlive);
// Calls the installed one, at most once in a few milliseconds however often it is
// called, so a transfer may call it at every block.
void KeepDesktopAlive();
