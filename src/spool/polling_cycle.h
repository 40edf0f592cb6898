// The polling cycle: at every tick of the polling timer the station checks the print
// program, fetches the new PDF files of every category into the local spool tree and
// prints what the spool tree holds. A cycle that "Stopp" or the end of the program
// comes into ends after the document in hand.
#pragma once

#include "spool/fetch_policy.h"
#include "spool/print_dispatch.h"

#include <string>

class ActivityLog;
class ParamTable;
class PrintedLeftovers;
class RunState;
class StoreAccess;
struct Desktop;
struct StationSettings;

constexpr unsigned POLL_TIMER_ID = 4712;
// The shortest interval the timer is given (a Polling_Rate of 0 asks for it).
constexpr unsigned kShortestPollingInterval = 10;

// What a cycle works with; it hands the fetch and the print stage the parts they need.
struct CycleContext {
    const StationSettings& settings;
    Desktop& desktop;
    StoreAccess& store;
    ActivityLog& log;
    ParamTable& params;
    PrintedLeftovers& leftovers;
    RunState& run;

    PrintContext Printing() const;
};

// Polling_Rate seconds in milliseconds, kept between the shortest interval and the
// longest one the desktop's timer takes.
unsigned PollingInterval(int pollingRate);
void StartPollingTimer(const CycleContext& cycle);
void StopPollingTimer(const CycleContext& cycle);

// Runs a cycle when the tick comes from the station's timer, no fetch error box is
// open and no cycle is running already (a box inside a cycle lets ticks through).
void OnPollingTick(const CycleContext& cycle, unsigned timerId);
void RunCycle(const CycleContext& cycle);

// True when the print program is there; otherwise says so in a box.
bool CheckPrintProgram(const StationSettings& settings);
// Fetches every category of the mode from the store, or in the local mode from the
// local source tree: each category folder goes through the fetch policy. True when at
// least one fetched a file.
bool FetchAll(const CycleContext& cycle);
