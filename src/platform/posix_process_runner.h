// ProcessRunner on posix_spawn and waitpid.
#pragma once

#include "platform/process_runner.h"

class PosixProcessRunner : public ProcessRunner {
public:
    bool Run(const std::string& program, const std::vector<std::string>& arguments,
             const std::string& workingFolder, int& exitCode) override;
};
