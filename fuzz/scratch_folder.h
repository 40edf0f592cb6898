// One folder for the files of a fuzz target, made at the first use below $TMPDIR (or
// /tmp) and removed with its content when the process ends.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>

class ScratchFolder {
public:
    static const std::string& Path()
    {
        static ScratchFolder folder;
        return folder.path_;
    }

private:
    ScratchFolder()
    {
        const char* base = std::getenv("TMPDIR");
        std::string pattern = std::string(base && *base ? base : "/tmp") + "/station-fuzz-XXXXXX";
        if (!::mkdtemp(pattern.data()))
            std::abort();
        path_ = pattern;
    }
    ~ScratchFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }

    std::string path_;
};
