// A station on recording fakes in a temporary folder, for the engine's tests.
#pragma once

#include "fakes/fake_desktop.h"
#include "fakes/recording_message_boxes.h"
#include "fakes/recording_process_runner.h"
#include "platform/posix_process_runner.h"
#include "spool/fake_store.h"
#include "spool/station.h"
#include "tools/print_record.h"
#include "support/scratch_folder.h"
#include "support/test_files.h"

#include <cstdlib>
#include <fstream>
#include <memory>
#include <regex>
#include <string>
#include <vector>

// Korvid mode, local mode, everything set that Start requires; the print program is
// the test print program. Folders below `root`: source/, spool/, station/ (the program
// folder) and the log file station/kv_print.log.
inline StationSettings LocalKorvidSettings(const std::string& root)
{
    StationSettings settings;
    settings.ProgramFolder = root + "/station";
    settings.IniPath = settings.ProgramFolder + "/kv_print.ini";
    settings.LocalFsMode = 1;
    settings.LocalMainDir = root + "/source";
    settings.SpoolDir = root + "/spool";
    settings.KV_Inst_ID = "4711";
    settings.Printer_Delivery = "Lieferdrucker";
    settings.Printer_Delivery_Driver = "pdf-driver";
    settings.Printer_Delivery_Driver_Port = "lpt1";
    settings.Printer_RL = "Leihschein Drucker";
    settings.Printer_RL_Driver = "rl-driver";
    settings.Printer_RL_Driver_Port = "lpt2";
    settings.Printer_FrontSheet = "Deckblatt";
    settings.Printer_FrontSheet_Driver = "front-driver";
    settings.Printer_FrontSheet_Port = "lpt3";
    settings.Printer_PDF_Prog = TEST_PRINT_PROGRAM;
    settings.Printer_PDF_Prog_Params = "-dPDFFitPage -color -printer \"$PRINTER$\" \"$FILE$\"";
    settings.DoLog = 1;
    settings.LogFileName = settings.ProgramFolder + "/kv_print.log";
    return settings;
}

inline StationSettings LocalTessalineSettings(const std::string& root)
{
    StationSettings settings = LocalKorvidSettings(root);
    settings.TessalineMode = 1;
    settings.LogFileName = settings.ProgramFolder + "/ts_print.log";
    settings.MainFolders = {"north", "south"};
    settings.SpoolFolders = {
        {"Aufsätze", "articles", "Artikeldrucker", "a-driver", "a-port"},
        {"", "loans/red", "Rotdrucker", "r-driver", "r-port"},
    };
    return settings;
}

class TestStation {
public:
    // The real process runner by default, so the test print program runs.
    explicit TestStation(bool recordProcesses = false)
        : desktop(recordProcesses ? static_cast<ProcessRunner&>(recordingRunner) : posixRunner)
    {
        WriteTestFile(folder / "station/.keep", "");
        std::filesystem::create_directory(folder / "source");
        setenv("STATION_PRINT_RECORD", (folder / "print.record").c_str(), 1);
        setenv("STATION_PRINT_CONTROL", (folder / "print.control").c_str(), 1);
    }
    ~TestStation()
    {
        unsetenv("STATION_PRINT_RECORD");
        unsetenv("STATION_PRINT_CONTROL");
    }

    Station& Make(StationSettings settings)
    {
        station = std::make_unique<Station>(std::move(settings), desktop.desktop, store);
        return *station;
    }
    std::vector<PrintCall> PrintCalls() const { return ReadPrintRecord(folder / "print.record"); }
    // Exit codes of the test print program: "<file name> <code>" lines.
    void SetPrintControl(const std::string& lines) const { WriteTestFile(folder / "print.control", lines); }

    ScratchFolder folder;
    RecordingMessageBoxes boxes;
    PosixProcessRunner posixRunner;
    RecordingProcessRunner recordingRunner;
    FakeDesktop desktop;
    FakeStoreAccess store;
    std::unique_ptr<Station> station;
};

// One line of the log: "<dd.mm. hh:mm:ss number> message".
struct LoggedLine {
    int number = 0;
    std::string message;
};

// Splits log lines into number and message; a line not in the log's form fails the test
// through an empty message and the number -1.
inline std::vector<LoggedLine> ParseLogLines(const std::vector<std::string>& lines)
{
    static const std::regex form(R"(<(\d\d)\.(\d\d)\. (\d\d):(\d\d):(\d\d) (\d+)> ([\s\S]*))");
    std::vector<LoggedLine> parsed;
    for (const std::string& line : lines) {
        std::smatch match;
        bool valid = std::regex_match(line, match, form) && std::stoi(match[1]) >= 1 && std::stoi(match[1]) <= 31 &&
                     std::stoi(match[2]) >= 1 && std::stoi(match[2]) <= 12 && std::stoi(match[3]) <= 23 &&
                     std::stoi(match[4]) <= 59 && std::stoi(match[5]) <= 60;
        parsed.push_back(valid ? LoggedLine{std::stoi(match[6]), match[7]} : LoggedLine{-1, ""});
    }
    return parsed;
}

inline std::vector<std::string> FileLines(const std::string& path)
{
    std::vector<std::string> lines;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line))
        lines.push_back(line);
    return lines;
}

// The messages of the log lines, in order.
inline std::vector<std::string> Messages(const std::vector<std::string>& lines)
{
    std::vector<std::string> messages;
    for (const LoggedLine& line : ParseLogLines(lines))
        messages.push_back(line.message);
    return messages;
}
