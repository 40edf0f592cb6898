// The list of institutions from the service's web server, ready for the selection list
// of the institution dialog.
#pragma once

#include <string>
#include <vector>

struct Institution {
    std::string id;
    std::string name;
    std::string abbreviation;
};

struct InstitutionChoices {
    bool received = false;             // the server sent a list
    std::vector<Institution> entries;  // in the order of the selection list: by name
    int selected = -1;                 // the entry to select, -1 for none
    std::string failure{};             // when the server could not be reached: why, in German
};

// Selected is the first entry whose name begins with the current name (without regard to
// case), or the first entry when no current name is given. When no list came,
// *serverMessage holds what the web server said instead: empty when it could not be
// reached or said nothing.
InstitutionChoices RequestInstitutionList(const std::string& server, const std::string& portText,
                                          const std::string& folder, const std::string& currentName,
                                          std::string* serverMessage);
