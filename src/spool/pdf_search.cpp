#include "spool/pdf_search.h"

#include <filesystem>

bool HasPdfExtension(const std::string& name)
{
    static const std::string extension = ".pdf";
    if (name.size() < extension.size())
        return false;
    std::string tail = name.substr(name.size() - extension.size());
    for (char& c : tail)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return tail == extension;
}

std::vector<std::string> FindPdfFiles(const std::string& folder)
{
    std::vector<std::string> names;
    std::error_code error;
    std::filesystem::directory_iterator entries(folder, error);
    if (error)
        return names;
    for (const auto& entry : entries) {
        std::string name = entry.path().filename().string();
        std::error_code notRegular;
        if (HasPdfExtension(name) && entry.is_regular_file(notRegular))
            names.push_back(name);
    }
    return names;
}
