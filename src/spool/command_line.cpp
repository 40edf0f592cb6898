#include "spool/command_line.h"

std::string CutParameters(const std::string& program, const std::string& parameters)
{
    std::size_t used = program.size() + 3;  // the two quotes and the blank
    if (used >= kCommandLineLimit)
        return "";
    return parameters.substr(0, kCommandLineLimit - used);
}

std::vector<std::string> SplitCommandLine(const std::string& text)
{
    std::vector<std::string> arguments;
    std::string current;
    bool inArgument = false;
    bool quoted = false;
    for (char c : text) {
        if (c == '"') {
            quoted = !quoted;
            inArgument = true;
        } else if ((c == ' ' || c == '\t') && !quoted) {
            if (inArgument)
                arguments.push_back(current);
            current.clear();
            inArgument = false;
        } else {
            current += c;
            inArgument = true;
        }
    }
    if (inArgument)
        arguments.push_back(current);
    return arguments;
}
