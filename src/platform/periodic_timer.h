// The periodic timer that drives the polling cycles.
#pragma once

class PeriodicTimer {
public:
    virtual ~PeriodicTimer() = default;
    // Starts a timer that fires every `milliseconds` until it is killed. Returns its
    // handle, which is the id itself (as window timers have it), or 0 when no timer
    // could be set. Each tick reaches the station as Station::OnPollingTick(id).
    virtual unsigned Set(unsigned id, unsigned milliseconds) = 0;
    virtual void Kill(unsigned handle) = 0;
};
