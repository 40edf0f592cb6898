// A settings file in the INI format: "[SECTION]" headers and "key=value" lines.
//
// Section and key names are found without regard to the case of ASCII letters. Every
// line the station does not change (other sections, unknown keys, comments, blank
// lines, lines it cannot parse) is written back byte for byte, in its place.
#pragma once

#include <optional>
#include <string>
#include <vector>

class IniFile {
public:
    // Longest value a read returns; longer values are cut.
    static constexpr std::size_t kMaxValueLength = 262000;

    explicit IniFile(std::string path);

    // Reads the file; a UTF-8 byte-order mark at its start is passed over and never
    // written back. A missing file is an empty one (true). An existing file that
    // cannot be read also reads as empty, but gives false with errno set, so that a
    // write never replaces a file it could not read.
    bool Load();

    // The value of the key: blanks around it dropped, one pair of enclosing double
    // quotes removed, cut at a NUL byte and at kMaxValueLength. Empty when the key is
    // missing.
    std::optional<std::string> Find(const std::string& section, const std::string& key) const;
    std::string ReadText(const std::string& section, const std::string& key,
                         const std::string& defaultValue) const;
    // The leading decimal number of the value, 0 when there is none; the default when
    // the key is missing or its value empty.
    int ReadInt(const std::string& section, const std::string& key, int defaultValue) const;

    // Changes in memory; false for a name or value that a line cannot hold (line
    // breaks, "=" in a key, "]" in a section name), with errno EINVAL.
    bool SetValue(const std::string& section, const std::string& key, const std::string& value);
    void RemoveKey(const std::string& section, const std::string& key);
    void RemoveSection(const std::string& section);

    // True when a change made since Load must still be saved.
    bool Changed() const { return changed_; }
    // Replaces the file atomically: a temporary file beside it, then a rename. The file
    // keeps its mode and, where allowed, its owner; a new file gets mode 0600. A file
    // the user may not write is not replaced. False with errno set on failure; the file
    // is then as it was.
    bool Save();

private:
    enum class LineKind { Other, Section, Key };
    struct Line {
        std::string text;    // without the line ending
        std::string ending;  // "\n", "\r\n", or "" for a last line without one
        LineKind kind = LineKind::Other;
        std::string name;  // section or key name, trimmed
        std::size_t valueStart = 0;  // of a key line: offset after the "="
    };

    static Line Parse(std::string text, std::string ending);
    // [begin, end) of the first section with that name; begin is the header line.
    bool FindSection(const std::string& section, std::size_t& begin, std::size_t& end) const;
    const Line* FindKey(const std::string& section, const std::string& key) const;
    std::string Serialize() const;

    std::string path_;
    std::vector<Line> lines_;
    std::string lineEnding_ = "\n";  // for new lines: the file's own line ending
    bool changed_ = false;
};
