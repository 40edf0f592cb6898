// The print program's parameter template, expanded and split into arguments.
//
// Input: seven lines with the values of PRINTER, FILE, FILENAME, DRIVER, PORT, CWD and
// PATH, then the template (which may span lines).
//
// Promises checked: the expansion equals the one worked out here token by token and never
// passes its limit; a value is never expanded again; with the default template the
// printer and the file name reach the print program as one argument each, whatever
// characters they hold (blanks, quotes, ";", "$(...)", "`").

#include "fuzz_check.h"
#include "spool/command_line.h"
#include "spool/param_expander.h"
#include "spool/param_table.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr std::array<const char*, 7> kNames = {"PRINTER", "FILE", "FILENAME", "DRIVER", "PORT", "CWD", "PATH"};
constexpr std::string_view kDefaultTemplate = "-dPDFFitPage -color -printer \"$PRINTER$\" $FILE$";

std::string_view NextLine(std::string_view& input)
{
    std::size_t end = input.find('\n');
    std::string_view line = input.substr(0, end);
    input.remove_prefix(end == std::string_view::npos ? input.size() : end + 1);
    return line;
}

std::string Upper(std::string text)
{
    for (char& c : text) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 0x20);
    }
    return text;
}

// The template as a sequence of ordinary characters and parameter names.
struct Token {
    bool parameter;
    std::string text;  // the character, or the name
};

std::vector<Token> Tokens(std::string_view text)
{
    // What ends a name: a blank, a quote, "$", a line break, the byte 0xB6.
    constexpr std::string_view kEnds(" \"'$\n\xB6", 6);
    std::vector<Token> tokens;
    std::size_t i = 0;
    while (i < text.size()) {
        if (text[i] != '$') {
            tokens.push_back({false, std::string(1, text[i++])});
            continue;
        }
        std::size_t start = i + 1;
        std::size_t end = text.find_first_of(kEnds, start);
        if (end == std::string_view::npos)
            end = text.size();
        if (end - start > kParamNameLimit)
            end = start + kParamNameLimit;
        tokens.push_back({true, std::string(text.substr(start, end - start))});
        i = end < text.size() && text[end] == '$' ? end + 1 : end;
    }
    return tokens;
}

std::string Expected(std::string_view text, const std::map<std::string, std::string>& values)
{
    std::string out;
    for (const Token& token : Tokens(text)) {
        if (out.size() >= kExpansionLimit)
            break;
        if (!token.parameter) {
            out += token.text;
            continue;
        }
        auto found = values.find(Upper(token.text));
        if (found != values.end() && out.size() + found->second.size() < kExpansionLimit)
            out += found->second;
    }
    return out;
}

std::string Expand(std::string_view text, const ParamTable& table)
{
    ParamExpander expander(std::string(text), &table);
    expander.ExpandTemplate();
    return expander.Text();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string_view input(reinterpret_cast<const char*>(data), size);
    ParamTable table;
    std::map<std::string, std::string> values;
    for (const char* name : kNames) {
        std::string value(NextLine(input));
        FUZZ_CHECK(table.AddParam(name, value));
        values[name] = value;
    }

    const std::string expanded = Expand(input, table);
    FUZZ_CHECK(expanded.size() <= kExpansionLimit);
    FUZZ_CHECK(expanded == (input.empty() ? std::string() : Expected(input, values)));
    for (const std::string& argument : SplitCommandLine(std::string(input)))
        FUZZ_CHECK(argument.find('"') == std::string::npos);

    const std::string& printer = values["PRINTER"];
    const std::string& file = values["FILE"];
    const std::vector<std::string> arguments = ExpandArguments(std::string(kDefaultTemplate), table);
    std::vector<std::string> expected = {"-dPDFFitPage", "-color", "-printer", printer};
    if (!file.empty())
        expected.push_back(file);
    FUZZ_CHECK(arguments == expected);
    return 0;
}
