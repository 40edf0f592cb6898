// Starting a program as a child process and waiting for it.
#pragma once

#include <string>
#include <vector>

class ProcessRunner {
public:
    virtual ~ProcessRunner() = default;
    // Starts `program` directly, without a shell, with `arguments` after its own name,
    // in `workingFolder` (the caller's current folder when empty), with the caller's
    // environment, and waits for it to end without a time limit; the desktop is kept
    // alive meanwhile. Returns false when it could not be started. Otherwise `exitCode`
    // holds its exit code; a program ended by a signal counts as failed and reports 128
    // plus the signal's number.
    virtual bool Run(const std::string& program, const std::vector<std::string>& arguments,
                     const std::string& workingFolder, int& exitCode) = 0;
    // The last line that the program of the last Run wrote to its standard error,
    // without its line break, as it came (at most the first kilobyte); empty when none.
    virtual std::string LastErrorLine() const { return {}; }
};
