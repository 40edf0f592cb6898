// Start and Stop of polling, and what the main window's buttons may do meanwhile.
#pragma once

class RunButtons;
class RunState;
class Station;

// Checks the configuration, logs the start lines, runs one cycle at once and then
// sets the polling timer. Does nothing while running, while a cycle still ends, or when
// the check fails.
void StartPolling(Station& station);
// Kills the timer and logs "Stopp"; a running cycle ends after the document in hand.
void StopPolling(Station& station);
// Logs the printer of each category.
void LogPrinterLines(Station& station);
// Shows the refusal box and returns true while polling runs or a cycle still ends.
bool RefuseWhileRunning(const Station& station);
// "Stopp" is enabled exactly when running, Start when neither running nor in a cycle.
void UpdateRunButtons(Station& station);
void UpdateRunButtons(const RunState& run, RunButtons& buttons);
// Closing the window. While polling runs the user is asked first, "Nein" the default;
// false when the answer is no. Otherwise the timer is killed and a running cycle ends
// after the document in hand: the window closes once the station is out of the cycle,
// never between a print and the removal of its file.
bool ConfirmEnd(Station& station);
// The window closes: logs "Ende" when polling ran, and closes the log file.
void EndStation(Station& station);
