#include "ui/file_filter.h"

const char* const kProgramFileFilter = "Programm-Dateien^*^Alle Dateien^*.*^^";

std::vector<FileFilter> ParseFileFilter(const std::string& text)
{
    std::vector<std::string> pieces;
    std::size_t start = 0;
    for (std::size_t caret = text.find('^'); caret != std::string::npos; caret = text.find('^', start)) {
        pieces.push_back(text.substr(start, caret - start));
        start = caret + 1;
    }
    pieces.push_back(text.substr(start));

    std::vector<FileFilter> filters;
    for (std::size_t i = 0; i + 1 < pieces.size(); i += 2) {
        if (pieces[i].empty() || pieces[i + 1].empty())
            break;
        filters.push_back({pieces[i], pieces[i + 1]});
    }
    return filters;
}

std::string NameFilterText(const FileFilter& filter)
{
    std::string patterns;
    std::size_t start = 0;
    // Several patterns are separated by ";" in the filter text, by blanks in the dialog.
    while (start <= filter.pattern.size()) {
        std::size_t end = filter.pattern.find(';', start);
        std::string pattern = filter.pattern.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (!pattern.empty()) {
            if (!patterns.empty())
                patterns += ' ';
            patterns += pattern == "*.*" ? "*" : pattern;
        }
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    return filter.name + " (" + patterns + ")";
}
