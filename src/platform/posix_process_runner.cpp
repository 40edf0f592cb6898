#include "platform/posix_process_runner.h"

#include "platform/keep_alive.h"

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

// The desktop is kept alive at least this often while the child runs.
constexpr int kSliceMs = 20;
constexpr std::size_t kKeptLineBytes = 1024;

int ExitCodeOf(int status)
{
    if (WIFEXITED(status))
        return WEXITSTATUS(status);
    if (WIFSIGNALED(status))
        return 128 + WTERMSIG(status);
    return -1;
}

// The last line that is not empty of what the child writes to its standard error.
class ErrorLines {
public:
    void Take(const char* data, std::size_t count)
    {
        for (std::size_t i = 0; i < count; ++i) {
            if (data[i] != '\n') {
                if (current_.size() < kKeptLineBytes)
                    current_ += data[i];
                continue;
            }
            if (!current_.empty() && current_.back() == '\r')
                current_.pop_back();
            if (!current_.empty())
                last_ = current_;
            current_.clear();
        }
    }
    std::string Last() const { return current_.empty() ? last_ : current_; }

private:
    std::string current_;
    std::string last_;
};

// Reads what the pipe holds now; false once it is closed.
bool ReadAvailable(int fd, ErrorLines& lines)
{
    char buffer[4096];
    for (;;) {
        ssize_t count = read(fd, buffer, sizeof buffer);
        if (count > 0)
            lines.Take(buffer, static_cast<std::size_t>(count));
        else if (count == 0 || errno != EINTR)
            return count < 0 && errno == EAGAIN;
    }
}

// Waits in slices for the child to end, reading its standard error meanwhile. What a
// process the child left behind still writes is not waited for.
int WaitFor(pid_t pid, int errorFd, ErrorLines& lines)
{
    bool open = true;
    for (;;) {
        int status = 0;
        pid_t ended = waitpid(pid, &status, WNOHANG);
        if (ended == pid) {
            if (open)
                ReadAvailable(errorFd, lines);
            return ExitCodeOf(status);
        }
        if (ended < 0 && errno != EINTR)
            return -1;
        KeepDesktopAlive();
        pollfd wait{errorFd, POLLIN, 0};
        if (poll(open ? &wait : nullptr, open ? 1 : 0, kSliceMs) > 0)
            open = ReadAvailable(errorFd, lines);
    }
}

int Spawn(pid_t& pid, const std::string& path, char* const* argv, const std::string& workingFolder, int errorFd)
{
    posix_spawn_file_actions_t actions;
    int result = posix_spawn_file_actions_init(&actions);
    if (result != 0)
        return result;
    if (!workingFolder.empty())
        result = posix_spawn_file_actions_addchdir_np(&actions, workingFolder.c_str());
    if (result == 0)
        result = posix_spawn_file_actions_adddup2(&actions, errorFd, STDERR_FILENO);
    if (result == 0)
        result = posix_spawn(&pid, path.c_str(), &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    return result;
}

}  // namespace

bool PosixProcessRunner::Run(const std::string& program, const std::vector<std::string>& arguments,
                             const std::string& workingFolder, int& exitCode)
{
    lastErrorLine_.clear();
    if (program.empty())
        return false;
    // The child changes into its working folder before the program is looked up, so a
    // relative program path is resolved against our own folder first.
    std::error_code error;
    std::string path = std::filesystem::absolute(program, error).string();
    if (error)
        return false;

    std::vector<std::string> texts;
    texts.reserve(arguments.size() + 1);
    texts.push_back(path);
    texts.insert(texts.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& text : texts)
        argv.push_back(text.data());
    argv.push_back(nullptr);

    int errorPipe[2];
    if (pipe2(errorPipe, O_CLOEXEC) != 0)
        return false;
    fcntl(errorPipe[0], F_SETFL, O_NONBLOCK);
    pid_t pid = 0;
    int started = Spawn(pid, path, argv.data(), workingFolder, errorPipe[1]);
    close(errorPipe[1]);
    if (started != 0) {
        close(errorPipe[0]);
        return false;
    }
    ErrorLines lines;
    exitCode = WaitFor(pid, errorPipe[0], lines);
    close(errorPipe[0]);
    lastErrorLine_ = lines.Last();
    return true;
}
