// The line naming the institution the station serves, logged when the window opens.
#pragma once

#include "config/station_settings.h"

#include <string>

// With KorvidMode = 1 name, identifier and abbreviation, with 0 name and identifier;
// "" in the Tessaline mode, which logs no institution.
std::string InstitutionLine(const StationSettings& settings);
