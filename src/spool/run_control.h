// Start and Stop of polling, and what the main window's buttons may do meanwhile.
#pragma once

class Station;

// Checks the configuration, logs the start lines, runs one cycle at once and then
// sets the polling timer. Does nothing while running or when the check fails.
void StartPolling(Station& station);
// Kills the timer and logs "Stopp"; a running cycle runs to its end.
void StopPolling(Station& station);
// Logs the printer of each category.
void LogPrinterLines(Station& station);
// Shows the refusal box and returns true while polling runs.
bool RefuseWhileRunning(const Station& station);
// Start is enabled exactly when not running, "Stopp" exactly when running.
void UpdateRunButtons(Station& station);
