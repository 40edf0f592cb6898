// The polling cycle: at every tick of the polling timer the station checks the print
// program, fetches the new PDF files of every category into the local spool tree and
// prints what the spool tree holds. A cycle that "Stopp" or the end of the program
// comes into ends after the document in hand.
#pragma once

#include <string>

class Station;
class StoreSession;

constexpr unsigned POLL_TIMER_ID = 4712;
// The shortest interval the timer is given (a Polling_Rate of 0 asks for it).
constexpr unsigned kShortestPollingInterval = 10;

// Polling_Rate seconds in milliseconds, kept between the shortest interval and the
// longest one the desktop's timer takes.
unsigned PollingInterval(int pollingRate);
void StartPollingTimer(Station& station);
void StopPollingTimer(Station& station);

// Runs a cycle when the tick comes from the station's timer, no fetch error box is
// open and no cycle is running already (a box inside a cycle lets ticks through).
void OnPollingTick(Station& station, unsigned timerId);
void RunCycle(Station& station);

// True when the print program is there; otherwise says so in a box.
bool CheckPrintProgram(const Station& station);
// Fetches every category of the mode; true when at least one fetched a file.
bool FetchAll(Station& station);
// Fetches one category folder: from the local source tree in the local mode, where
// there is no session, else through the session from the store.
bool FetchFolder(Station& station, StoreSession* session, const std::string& label, const std::string& source,
                 const std::string& destination);
