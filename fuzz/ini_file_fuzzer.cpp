// The settings file read from arbitrary bytes, one key written and read back.
//
// Input: three lines naming a section, a key and a value (a line break can never be
// part of a name or value that a write accepts), then the bytes of the file.
//
// Promises checked: the file loads; a save without change writes it back byte for byte;
// a written key reads back its value in memory and after a save and a new load; no other
// key the file holds changes its value; a removed key or section is gone.

#include "config/ini_file.h"
#include "fuzz_check.h"
#include "support/scratch_folder.h"
#include "support/test_files.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace {

constexpr std::string_view kBlanks = " \t\v\f\r";

// The file of every run, in one folder made at the first run and removed with the process.
std::string SettingsPath()
{
    static const ScratchFolder folder;
    if (folder.Path().empty())
        std::abort();
    return folder / "station.ini";
}

std::string_view NextLine(std::string_view& input)
{
    std::size_t end = input.find('\n');
    std::string_view line = input.substr(0, end);
    input.remove_prefix(end == std::string_view::npos ? input.size() : end + 1);
    return line;
}

std::string Trim(std::string_view text)
{
    std::size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos)
        return "";
    return std::string(text.substr(first, text.find_last_not_of(kBlanks) - first + 1));
}

// Names as the file compares them: blanks around them dropped, "A" to "Z" folded.
bool SameName(std::string_view a, std::string_view b)
{
    std::string x = Trim(a), y = Trim(b);
    if (x.size() != y.size())
        return false;
    for (std::size_t i = 0; i < x.size(); ++i) {
        auto fold = [](unsigned char c) { return c >= 'A' && c <= 'Z' ? c + 0x20 : c; };
        if (fold(static_cast<unsigned char>(x[i])) != fold(static_cast<unsigned char>(y[i])))
            return false;
    }
    return true;
}

struct Probe {
    std::string section;
    std::string key;
    std::optional<std::string> value;
};

// Candidate section and key names seen in the file, read roughly; the file decides
// which of them it really holds.
std::vector<Probe> ProbesOf(std::string_view content, const IniFile& file)
{
    std::vector<Probe> probes;
    std::string section;
    while (!content.empty() && probes.size() < 64) {
        std::string_view line = NextLine(content);
        std::size_t open = line.find('[');
        std::size_t equals = line.find('=');
        if (open != std::string_view::npos && open < equals) {
            std::size_t close = line.find(']', open);
            section = std::string(line.substr(open + 1, close == std::string_view::npos ? close : close - open - 1));
        } else if (equals != std::string_view::npos) {
            std::string key(line.substr(0, equals));
            probes.push_back({section, key, file.Find(section, key)});
        }
    }
    return probes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::string section(NextLine(input));
    const std::string key(NextLine(input));
    const std::string value(NextLine(input));
    const std::string path = SettingsPath();
    WriteTestFile(path, std::string(input));
    // A byte-order mark at the start is read over and not written back.
    if (input.starts_with("\xEF\xBB\xBF"))
        input.remove_prefix(3);

    IniFile file(path);
    FUZZ_CHECK(file.Load());
    FUZZ_CHECK(!file.Changed());
    std::vector<Probe> probes = ProbesOf(input, file);
    for (const Probe& probe : probes) {
        if (probe.value) {
            FUZZ_CHECK(probe.value->size() <= IniFile::kMaxValueLength);
            FUZZ_CHECK(probe.value->find('\0') == std::string::npos);
        }
        file.ReadInt(probe.section, probe.key, 7);
    }
    FUZZ_CHECK(file.Save());
    FUZZ_CHECK(ReadTestFile(path) == input);

    if (!file.SetValue(section, key, value))
        return 0;
    const std::string expected = value.substr(0, IniFile::kMaxValueLength);
    FUZZ_CHECK(file.ReadText(section, key, "default") == expected);
    for (Probe& probe : probes) {
        if (SameName(probe.section, section) && SameName(probe.key, key))
            probe.value = expected;
        FUZZ_CHECK(file.Find(probe.section, probe.key) == probe.value);
    }

    IniFile withoutKey = file;
    withoutKey.RemoveKey(section, key);
    FUZZ_CHECK(!withoutKey.Find(section, key));
    IniFile withoutSection = file;
    withoutSection.RemoveSection(section);
    FUZZ_CHECK(!withoutSection.Find(section, key));

    FUZZ_CHECK(file.Save());
    IniFile reloaded(path);
    FUZZ_CHECK(reloaded.Load());
    FUZZ_CHECK(reloaded.ReadText(section, key, "default") == expected);
    for (const Probe& probe : probes)
        FUZZ_CHECK(reloaded.Find(probe.section, probe.key) == probe.value);
    return 0;
}
