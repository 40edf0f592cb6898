// The print station without its window: the settings, the run state, the activity log
// and the parameter table, working through the desktop's seams. The main window owns
// one Station, implements the seams and forwards its commands and timer ticks here.
#pragma once

#include "config/station_settings.h"
#include "platform/desktop.h"
#include "spool/activity_log.h"
#include "spool/param_table.h"
#include "spool/polling_cycle.h"
#include "spool/printed_leftovers.h"
#include "spool/run_state.h"

class StoreAccess;

class Station {
public:
    // The settings must be loaded; the seams must outlive the station.
    Station(StationSettings settings, Desktop& desktop, StoreAccess& store);
    Station(const Station&) = delete;
    Station& operator=(const Station&) = delete;

    // Commands of the main window.
    void StartPolling();
    void StopPolling();
    // A tick of the polling timer with the timer's id.
    void OnPollingTick(unsigned timerId);
    // Shows the refusal box and returns true while polling runs or a cycle still ends;
    // the settings commands call it first and stop when it returns true.
    bool RefuseWhileRunning();
    // Closing the window: see ConfirmEnd and EndStation.
    bool ConfirmEnd();
    void End();
    bool CreateSpoolFolders();
    void ViewLog();
    void ClearLog();
    bool IsRunning() const { return run_.Running(); }
    // While true, the window waits with closing.
    bool InCycle() const { return run_.CycleRunning(); }
    // Settings dialogs edit copies and hand them over here; the next cycle uses them.
    StationSettings& Settings() { return settings_; }
    const StationSettings& Settings() const { return settings_; }
    RunState& Run() { return run_; }
    ActivityLog& Log() { return log_; }
    const ActivityLog& Log() const { return log_; }
    ParamTable& Params() { return params_; }
    PrintedLeftovers& Leftovers() { return leftovers_; }
    Desktop& Seams() { return desktop_; }
    StoreAccess& Store() { return store_; }
    // The parts a polling cycle works with.
    CycleContext Cycle() { return {settings_, desktop_, store_, log_, params_, leftovers_, run_}; }

private:
    StationSettings settings_;
    Desktop& desktop_;
    StoreAccess& store_;
    ActivityLog log_;
    ParamTable params_;
    PrintedLeftovers leftovers_;
    RunState run_;
};
