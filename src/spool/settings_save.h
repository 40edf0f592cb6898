// The save of the whole settings record after a settings command, told to the user.
#pragma once

struct StationSettings;

// WriteSettingsFile with one error box when it fails. Without a settings file (empty
// IniPath) nothing is written, and the first call of the run says so in a box.
void SaveSettings(const StationSettings& settings);
