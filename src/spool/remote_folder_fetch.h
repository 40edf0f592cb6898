// The fetch of one category folder from the store into the local spool tree.
#pragma once

#include <string>

class Station;
class StoreConnection;
class StoreSession;

// Lists the source folder on the store and fetches each PDF file into the destination
// folder: downloaded under a temporary name that does not end in ".pdf", given its own
// name (or the next free one beside a waiting document of that name) once the download
// succeeded with the size the listing gave, and kept only when the store then deleted its copy. An empty download is
// logged and removed, and its file stays on the store. Failures are reported through
// the session (ReportStoreError), logged at the end, and end the folder: the remaining
// files wait for the next cycle. Shows the label and the progress in the station's
// window. True when a file was fetched and no fetch failed.
bool FetchRemoteFolder(Station& station, StoreSession& session, StoreConnection& connection,
                       const std::string& label, const std::string& source, const std::string& destination);

// A name from a store listing that may become a local file name: not empty, not "." or
// "..", without "/" and "\\".
bool IsPlainFileName(const std::string& name);
