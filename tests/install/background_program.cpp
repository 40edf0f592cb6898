#include "install/background_program.h"

#include <cstdlib>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

std::vector<char*> Pointers(std::vector<std::string>& strings)
{
    std::vector<char*> pointers;
    for (std::string& s : strings)
        pointers.push_back(s.data());
    pointers.push_back(nullptr);
    return pointers;
}

}  // namespace

BackgroundProgram::~BackgroundProgram()
{
    Stop();
    if (output_ >= 0)
        close(output_);
}

bool BackgroundProgram::Start(const std::vector<std::string>& argv, const std::vector<std::string>& environment,
                              const std::string& workingFolder)
{
    if (argv.empty() || pid_ > 0 || output_ >= 0)
        return false;
    char name[] = "/tmp/station-output-XXXXXX";
    output_ = mkstemp(name);
    if (output_ < 0)
        return false;
    unlink(name);

    std::vector<std::string> args = argv;
    std::vector<std::string> env = environment;
    std::vector<char*> argPointers = Pointers(args);
    std::vector<char*> envPointers = Pointers(env);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, output_, 1);
    posix_spawn_file_actions_adddup2(&actions, output_, 2);
    posix_spawn_file_actions_addchdir_np(&actions, workingFolder.c_str());
    pid_t pid = 0;
    const bool started = posix_spawn(&pid, args[0].c_str(), &actions, nullptr, argPointers.data(),
                                     envPointers.data()) == 0;
    posix_spawn_file_actions_destroy(&actions);
    if (started)
        pid_ = pid;
    return started;
}

bool BackgroundProgram::IsRunning()
{
    if (pid_ <= 0)
        return false;
    int status = 0;
    if (waitpid(pid_, &status, WNOHANG) == 0)
        return true;
    pid_ = -1;
    return false;
}

void BackgroundProgram::Stop()
{
    if (!IsRunning())
        return;
    kill(pid_, SIGTERM);
    if (!WaitUntil([this] { return !IsRunning(); }, std::chrono::seconds(10))) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }
}

std::string BackgroundProgram::Output() const
{
    std::string text;
    if (output_ < 0)
        return text;
    char buffer[4096];
    ssize_t got;
    for (off_t at = 0; (got = pread(output_, buffer, sizeof buffer, at)) > 0; at += got)
        text.append(buffer, static_cast<size_t>(got));
    return text;
}

bool WaitUntil(const std::function<bool()>& condition, std::chrono::seconds limit)
{
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline)
            return condition();
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return true;
}
