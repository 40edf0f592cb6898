// A process-runner seam for tests: records each start and answers with scripted exit
// codes, without starting anything.
#pragma once

#include "platform/process_runner.h"

#include <deque>
#include <string>
#include <vector>

struct StartedProcess {
    std::string program;
    std::vector<std::string> arguments;
    std::string workingFolder;
};

class RecordingProcessRunner : public ProcessRunner {
public:
    bool Run(const std::string& program, const std::vector<std::string>& arguments,
             const std::string& workingFolder, int& exitCode) override
    {
        started.push_back({program, arguments, workingFolder});
        if (cannotStart)
            return false;
        exitCode = exitCodes.empty() ? defaultExitCode : exitCodes.front();
        if (!exitCodes.empty())
            exitCodes.pop_front();
        return true;
    }

    std::vector<StartedProcess> started;
    std::deque<int> exitCodes;  // consumed in order
    int defaultExitCode = 0;
    bool cannotStart = false;
};
