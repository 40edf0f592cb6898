// A print program for tests. It appends what it was given to a record file: its
// working folder, its arguments and the bytes of the file its last argument names.
// It writes STATION_PRINT_MESSAGE, when that is set, to its standard error.
// Then it ends as a control file asks: each line "<file name> <exit code>" or
// "<file name> signal <number>" or "<file name> hang" (waits until it is killed), where
// "*" stands for any file; without a matching line it returns 0. The two files are named by STATION_PRINT_RECORD and
// STATION_PRINT_CONTROL, or lie next to the program as <program>.record and
// <program>.control.
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <unistd.h>

namespace {

std::string FileNextToProgram(const char* variable, const char* suffix)
{
    if (const char* path = std::getenv(variable))
        return path;
    char self[4096];
    ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
    if (length <= 0)
        return "";
    return std::string(self, static_cast<std::size_t>(length)) + suffix;
}

std::string Escaped(const std::string& text)
{
    std::string out;
    for (char c : text) {
        if (c == '\\')
            out += "\\\\";
        else if (c == '\n')
            out += "\\n";
        else
            out += c;
    }
    return out;
}

std::string Hex(const std::string& bytes)
{
    static const char digits[] = "0123456789abcdef";
    std::string out;
    for (unsigned char c : bytes) {
        out += digits[c >> 4];
        out += digits[c & 15];
    }
    return out;
}

// The control line for the file: its exit code, or a signal to end by.
void EndAsAsked(const std::string& controlPath, const std::string& fileName)
{
    std::ifstream control(controlPath);
    std::string line;
    while (std::getline(control, line)) {
        std::size_t blank = line.rfind(' ');
        if (blank == std::string::npos)
            continue;
        std::string name = line.substr(0, blank);
        std::string action = line.substr(blank + 1);
        bool bySignal = name.size() > 7 && name.compare(name.size() - 7, 7, " signal") == 0;
        if (bySignal)
            name.resize(name.size() - 7);
        if (name != "*" && name != fileName)
            continue;
        if (action == "hang") {
            for (;;)
                pause();
        }
        if (bySignal) {
            std::signal(std::atoi(action.c_str()), SIG_DFL);
            std::raise(std::atoi(action.c_str()));
        }
        std::exit(std::atoi(action.c_str()));
    }
    std::exit(0);
}

}  // namespace

int main(int argc, char** argv)
{
    char cwd[4096];
    std::ostringstream record;
    record << "call\n";
    record << "cwd " << Escaped(getcwd(cwd, sizeof cwd) ? cwd : "?") << "\n";
    for (int i = 1; i < argc; ++i)
        record << "arg " << Escaped(argv[i]) << "\n";
    std::string fileName = argc > 1 ? argv[argc - 1] : "";
    std::ifstream file(fileName, std::ios::binary);
    if (file)
        record << "file " << Hex(std::string(std::istreambuf_iterator<char>(file), {})) << "\n";
    record << "end\n";

    std::string recordPath = FileNextToProgram("STATION_PRINT_RECORD", ".record");
    if (std::FILE* out = std::fopen(recordPath.c_str(), "a")) {
        std::fputs(record.str().c_str(), out);
        std::fclose(out);
    }
    if (const char* message = std::getenv("STATION_PRINT_MESSAGE"))
        std::fputs(message, stderr);
    EndAsAsked(FileNextToProgram("STATION_PRINT_CONTROL", ".control"), fileName);
}
