#include "install/desktop_entry.h"

#include <fstream>

namespace {

std::string Unescaped(const std::string& value)
{
    std::string text;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] != '\\' || i + 1 == value.size()) {
            text += value[i];
            continue;
        }
        switch (value[++i]) {
        case 's': text += ' '; break;
        case 'n': text += '\n'; break;
        case 't': text += '\t'; break;
        case 'r': text += '\r'; break;
        case '\\': text += '\\'; break;
        default: text += '\\'; text += value[i]; break;
        }
    }
    return text;
}

}  // namespace

std::string DesktopEntryValue(const std::string& file, const std::string& key)
{
    std::ifstream in(file);
    bool inEntry = false;
    for (std::string line; std::getline(in, line);) {
        if (line.starts_with("["))
            inEntry = line == "[Desktop Entry]";
        else if (inEntry && line.starts_with(key + "="))
            return Unescaped(line.substr(key.size() + 1));
    }
    return "";
}

std::vector<std::string> ExecArguments(const std::string& exec)
{
    std::vector<std::string> arguments;
    std::string current;
    bool inArgument = false;
    bool quoted = false;
    for (std::size_t i = 0; i < exec.size(); ++i) {
        const char c = exec[i];
        if (quoted) {
            if (c == '"')
                quoted = false;
            else if (c == '\\' && i + 1 < exec.size())
                current += exec[++i];
            else
                current += c;
        } else if (c == ' ') {
            if (inArgument)
                arguments.push_back(current);
            current.clear();
            inArgument = false;
        } else {
            inArgument = true;
            if (c == '"')
                quoted = true;
            else
                current += c;
        }
    }
    if (inArgument)
        arguments.push_back(current);
    return arguments;
}
