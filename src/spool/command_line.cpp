#include "spool/command_line.h"

#include "spool/param_expander.h"

bool FitsCommandLine(const std::string& program, const std::vector<std::string>& arguments)
{
    std::size_t length = program.size() + 2;  // the two quotes
    for (const std::string& argument : arguments)
        length += 1 + argument.size();
    return length <= kCommandLineLimit;
}

namespace {

struct Word {
    std::string text;
    bool quoted = false;  // held a double quote, so it stands even when it expands to nothing
};

std::vector<Word> SplitWords(const std::string& text)
{
    std::vector<Word> words;
    Word current;
    bool inWord = false;
    bool inQuotes = false;
    for (char c : text) {
        if (c == '"') {
            inQuotes = !inQuotes;
            current.quoted = true;
            inWord = true;
        } else if ((c == ' ' || c == '\t') && !inQuotes) {
            if (inWord)
                words.push_back(current);
            current = Word();
            inWord = false;
        } else {
            current.text += c;
            inWord = true;
        }
    }
    if (inWord)
        words.push_back(current);
    return words;
}

}  // namespace

std::vector<std::string> SplitCommandLine(const std::string& text)
{
    std::vector<std::string> arguments;
    for (Word& word : SplitWords(text))
        arguments.push_back(std::move(word.text));
    return arguments;
}

std::vector<std::string> ExpandArguments(const std::string& templateText, const ParamTable& table)
{
    std::vector<std::string> arguments;
    for (Word& word : SplitWords(templateText)) {
        ParamExpander expander(std::move(word.text), &table);
        expander.ExpandTemplate();
        if (word.quoted || !expander.Text().empty())
            arguments.push_back(expander.Text());
    }
    return arguments;
}
