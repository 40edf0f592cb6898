// A program that runs beside the test until the test ends it, the way a desktop starts
// one: no shell, an environment of its own, its output collected.
#pragma once

#include <chrono>
#include <functional>
#include <string>
#include <sys/types.h>
#include <vector>

class BackgroundProgram {
public:
    BackgroundProgram() = default;
    ~BackgroundProgram();
    BackgroundProgram(const BackgroundProgram&) = delete;
    BackgroundProgram& operator=(const BackgroundProgram&) = delete;

    // Starts argv[0] (a path) in `workingFolder` with exactly the "NAME=value" entries of
    // `environment`; false when it could not be started.
    bool Start(const std::vector<std::string>& argv, const std::vector<std::string>& environment,
               const std::string& workingFolder);
    bool IsRunning();
    // Asks the program to end, kills it when it has not ended after ten seconds, and
    // reaps it. Nothing happens when it is not running.
    void Stop();
    // Standard output and standard error so far, in one.
    std::string Output() const;

private:
    pid_t pid_ = -1;
    int output_ = -1;
};

// Checks `condition` every 100 ms until it holds or `limit` has passed; its last result.
bool WaitUntil(const std::function<bool()>& condition, std::chrono::seconds limit);
