// The check that Start runs before polling may begin: one box per problem found.
#pragma once

#include <string>

class ActivityLog;
struct StationSettings;

// False, after a box with the message, when the value is empty once white space is
// taken off both ends.
bool RequireValue(const std::string& value, const std::string& message);

// Warns about the log size and a missing SFTP component (neither refuses the Start),
// then requires the settings the product mode needs and, in the local mode, a local
// main folder that exists. True when polling may begin.
bool CheckConfiguration(const StationSettings& settings, ActivityLog& log);
