// The command line of pdf_print:
//   pdf_print [-printer QUEUE] [-dPDFFitPage] [-color | -mono] [-copies N] [-wait SECONDS] FILE
//   pdf_print -h | --help
// The last argument is the file, relative to the working folder, even when it looks
// like an option; help is shown only when asked for alone.
#pragma once

#include <string>
#include <vector>

enum class ColorMode { QueueDefault, Color, Monochrome };

struct PrintOptions {
    std::string printer;  // empty: the default queue
    bool fitToPage = false;
    ColorMode color = ColorMode::QueueDefault;
    int copies = 1;
    int waitSeconds = 300;  // how long to wait for the job's end; 0: end at acceptance
    std::string file;
    bool help = false;
};

struct ParsedOptions {
    bool ok = false;
    PrintOptions options;
    std::string reason;  // one line, set when not ok
};

// Parses the arguments that follow the program name.
ParsedOptions ParsePrintOptions(const std::vector<std::string>& args);
