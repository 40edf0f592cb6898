#include "spool/station.h"

#include "spool/polling_cycle.h"
#include "spool/run_control.h"
#include "spool/spool_layout.h"

Station::Station(StationSettings settings, Desktop& desktop, StoreAccess& store)
    : settings_(std::move(settings)), desktop_(desktop), store_(store), log_(settings_, desktop.logList)
{
    for (const char* name : {"PRINTER", "FILE", "FILENAME", "DRIVER", "PORT", "CWD", "PATH"})
        params_.AddParam(name, "");
}

void Station::StartPolling()
{
    ::StartPolling(*this);
}

void Station::StopPolling()
{
    ::StopPolling(*this);
}

void Station::OnPollingTick(unsigned timerId)
{
    ::OnPollingTick(Cycle(), timerId);
}

bool Station::RefuseWhileRunning()
{
    return ::RefuseWhileRunning(*this);
}

bool Station::CreateSpoolFolders()
{
    return ::CreateSpoolFolders(settings_, log_);
}

void Station::ViewLog()
{
    log_.ViewLog(desktop_.logViewer);
}

void Station::ClearLog()
{
    log_.ClearLog();
}

bool Station::ConfirmEnd()
{
    return ::ConfirmEnd(*this);
}

void Station::End()
{
    ::EndStation(*this);
}
