// One station per station folder: the first station started in a folder holds a lock on
// a file there for its whole run, and a second start in that folder is refused. The
// kernel ends the lock with the process, so a station that was killed never blocks the
// next start.
#pragma once

#include <string>

// The file in the station folder that carries the lock; it names the program holding it.
constexpr const char* kStationLockFile = "station.lock";

class StationLock {
public:
    StationLock() = default;
    ~StationLock();
    StationLock(const StationLock&) = delete;
    StationLock& operator=(const StationLock&) = delete;

    // Takes the lock of `folder` for `programName`. False when another station holds it;
    // `holder` is then the name of that station's program. A folder where the lock file
    // can be neither made nor opened cannot be guarded, and the start goes on.
    bool Acquire(const std::string& folder, const std::string& programName, std::string* holder);

private:
    int fd_ = -1;
};

// Takes the lock at start, or shows the error box "Im Ordner %s läuft bereits ein %s."
// and returns false: the program then ends without touching the running station's files.
bool ClaimStationFolder(StationLock& lock, const std::string& folder, const std::string& programName);
