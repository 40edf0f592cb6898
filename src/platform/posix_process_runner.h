// ProcessRunner on posix_spawn, waiting in short slices so the desktop stays alive.
#pragma once

#include "platform/process_runner.h"

class PosixProcessRunner : public ProcessRunner {
public:
    bool Run(const std::string& program, const std::vector<std::string>& arguments,
             const std::string& workingFolder, int& exitCode) override;
    std::string LastErrorLine() const override { return lastErrorLine_; }

private:
    std::string lastErrorLine_;
};
