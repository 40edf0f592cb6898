// The three folder trees of the station and the creation of the local spool tree.
//
// The store holds the documents in category folders below <KV_FTP_Store_Dir>/<name>/SPOOL
// (the institution in the Korvid mode, each main folder in the Tessaline mode). In the
// local mode the same categories lie below <LocalMainDir>/<institution>/SPOOL, or
// <LocalMainDir>/<main folder> in the Tessaline mode. Both are fetched into one local
// spool tree <SpoolDir>/SPOOL/<category>, from which the documents are printed.
#pragma once

#include "config/station_settings.h"

#include <string>
#include <vector>

class ActivityLog;

// One category of documents: a folder in every tree, with the printer it goes to.
struct SpoolCategory {
    std::string folder;  // FRONTSH, RL, DELV, or the spool folder entry's Folder
    std::string label;   // shown while the category is fetched
    std::string printer;
    std::string driver;
    std::string port;
};

// The categories in the order they are fetched. The Korvid mode prints them in the
// reverse order, the Tessaline mode in this order.
std::vector<SpoolCategory> SpoolCategories(const StationSettings& settings);

// <SpoolDir>/SPOOL, the one root of the fetch, the print pass and the creation of the
// tree. An empty SpoolDir means the program folder, as a missing key does.
std::string LocalSpoolRoot(const StationSettings& settings);
// A folder below a local folder. The name may hold several levels separated by "/"
// or "\\".
std::string LocalSubfolder(const std::string& folder, const std::string& name);
// The base of one institution or main folder on the store: <KV_FTP_Store_Dir>/<name>/SPOOL.
std::string RemoteSpoolBase(const StationSettings& settings, const std::string& name);
// The base of one institution or main folder in the local source tree.
std::string LocalSourceBase(const StationSettings& settings, const std::string& name);

// Creates the local spool tree with its log lines; a folder that cannot be created is
// reported in a box. True when every folder exists afterwards.
bool CreateSpoolFolders(const StationSettings& settings, ActivityLog& log);
