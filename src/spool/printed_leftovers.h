// What becomes of a printed file: it leaves its spool folder, and one that cannot leave
// it is never printed again.
#pragma once

#include <map>
#include <string>
#include <sys/types.h>

class ActivityLog;

// The printed files of this run that could be neither removed nor moved aside (a
// read-only folder or disk), each with the identity it had when it was printed.
class PrintedLeftovers {
public:
    void Remember(const std::string& path);
    // True while the file at `path` is still the one that was printed.
    bool Holds(const std::string& path) const;

private:
    struct Identity {
        dev_t device;
        ino_t inode;
        off_t size;
        long long modified;
    };
    static bool IdentityOf(const std::string& path, Identity& identity);
    std::map<std::string, Identity> printed_;
};

// Removes a printed file from its folder. One that cannot be removed is moved aside
// under "<name>.gedruckt", which no print pass takes; one that can be neither is
// remembered in `leftovers`. Both are logged.
void RemovePrintedFile(const std::string& folder, const std::string& fileName, ActivityLog& log,
                       PrintedLeftovers& leftovers);
