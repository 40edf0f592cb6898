#include "ui/picked_paths.h"

namespace {

bool IsSeparator(char c)
{
    return c == '/' || c == '\\';
}

std::string WithoutTrailingSeparators(std::string path)
{
    while (path.size() > 1 && IsSeparator(path.back()))
        path.pop_back();
    return path;
}

}  // namespace

std::string PickedSpoolFolder(const std::string& path)
{
    return WithoutTrailingSeparators(path);
}

std::string PickedLocalFolder(const std::string& path)
{
    std::string folder = WithoutTrailingSeparators(path);
    if (folder.empty() || !IsSeparator(folder.back()))
        folder += '/';
    return folder;
}

std::string PickedLogFile(const std::string& path)
{
    const std::size_t nameStart = path.find_last_of("/\\");
    const std::string name = nameStart == std::string::npos ? path : path.substr(nameStart + 1);
    // A leading dot makes a hidden name, not an extension.
    const std::size_t dot = name.rfind('.');
    if (dot == std::string::npos || dot == 0)
        return path + ".log";
    return path;
}
