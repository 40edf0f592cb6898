#include "print_options.h"

#include "translation.h"

#include <charconv>

namespace {

bool ParseCopies(const std::string& text, int& copies)
{
    const char* end = text.data() + text.size();
    auto [rest, error] = std::from_chars(text.data(), end, copies);
    return error == std::errc() && rest == end && copies >= 1 && copies <= 999;
}

constexpr int kLongestWait = 86400;

bool ParseWait(const std::string& text, int& seconds)
{
    const char* end = text.data() + text.size();
    auto [rest, error] = std::from_chars(text.data(), end, seconds);
    return error == std::errc() && rest == end && seconds >= 0 && seconds <= kLongestWait;
}

}  // namespace

ParsedOptions ParsePrintOptions(const std::vector<std::string>& args)
{
    ParsedOptions parsed;
    PrintOptions& options = parsed.options;
    // Help only when asked for alone: with anything before it, "-h" or "--help" is the
    // name of the file to print.
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
        options.help = true;
        parsed.ok = true;
        return parsed;
    }
    if (args.empty()) {
        parsed.reason = Tr("no file given");
        return parsed;
    }

    // The last argument always belongs to the file name, so a file whose name starts
    // with "-" still prints.
    const size_t last = args.size() - 1;
    size_t i = 0;
    for (; i < last && !args[i].empty() && args[i][0] == '-'; ++i) {
        const std::string& arg = args[i];
        if (arg == "-dPDFFitPage") {
            options.fitToPage = true;
        } else if (arg == "-color") {
            options.color = ColorMode::Color;
        } else if (arg == "-mono") {
            options.color = ColorMode::Monochrome;
        } else if (arg == "-printer" || arg == "-copies" || arg == "-wait") {
            if (i + 1 == last) {
                parsed.reason = Fill(Tr("option %1 needs a value before the file"), {arg});
                return parsed;
            }
            const std::string& value = args[++i];
            if (arg == "-printer") {
                options.printer = value;
            } else if (arg == "-wait") {
                if (!ParseWait(value, options.waitSeconds)) {
                    parsed.reason = Fill(Tr("-wait needs a number of seconds from 0 to %1, not \"%2\""),
                                         {std::to_string(kLongestWait), value});
                    return parsed;
                }
            } else if (!ParseCopies(value, options.copies)) {
                parsed.reason = Fill(Tr("-copies needs a number from 1 to 999, not \"%1\""), {value});
                return parsed;
            }
        } else {
            parsed.reason = Fill(Tr("unknown option %1"), {arg});
            return parsed;
        }
    }

    // The station does not quote $FILE$ in its default template, so a file name with
    // blanks arrives in pieces; they are put together again with one blank each.
    for (size_t j = i; j <= last; ++j)
        options.file += (j == i ? "" : " ") + args[j];
    if (options.file.empty()) {
        parsed.reason = Tr("no file given");
        return parsed;
    }
    parsed.ok = true;
    return parsed;
}
