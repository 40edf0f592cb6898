// Reads back what the test print program recorded.
#pragma once

#include <fstream>
#include <optional>
#include <string>
#include <vector>

struct PrintCall {
    std::string workingFolder;
    std::vector<std::string> arguments;
    std::optional<std::string> fileBytes;  // none when the last argument named no readable file
};

inline std::string UnescapedRecordText(const std::string& text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size()) {
            ++i;
            out += text[i] == 'n' ? '\n' : text[i];
        } else {
            out += text[i];
        }
    }
    return out;
}

inline std::string UnhexedRecordBytes(const std::string& hex)
{
    std::string out;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
        out += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
    return out;
}

inline std::vector<PrintCall> ReadPrintRecord(const std::string& path)
{
    std::vector<PrintCall> calls;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        if (line == "call") {
            calls.emplace_back();
        } else if (!calls.empty() && line.rfind("cwd ", 0) == 0) {
            calls.back().workingFolder = UnescapedRecordText(line.substr(4));
        } else if (!calls.empty() && line.rfind("arg ", 0) == 0) {
            calls.back().arguments.push_back(UnescapedRecordText(line.substr(4)));
        } else if (!calls.empty() && line.rfind("file ", 0) == 0) {
            calls.back().fileBytes = UnhexedRecordBytes(line.substr(5));
        }
    }
    return calls;
}
