#include "platform/posix_process_runner.h"

#include <cerrno>
#include <filesystem>
#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

namespace {

int ExitCodeOf(int status)
{
    if (WIFEXITED(status))
        return WEXITSTATUS(status);
    if (WIFSIGNALED(status))
        return 128 + WTERMSIG(status);
    return -1;
}

}  // namespace

bool PosixProcessRunner::Run(const std::string& program, const std::vector<std::string>& arguments,
                             const std::string& workingFolder, int& exitCode)
{
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

    posix_spawn_file_actions_t actions;
    if (posix_spawn_file_actions_init(&actions) != 0)
        return false;
    pid_t pid = 0;
    int started = workingFolder.empty() ? 0 : posix_spawn_file_actions_addchdir_np(&actions, workingFolder.c_str());
    if (started == 0)
        started = posix_spawn(&pid, path.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (started != 0)
        return false;

    int status = 0;
    pid_t ended;
    do {
        ended = waitpid(pid, &status, 0);
    } while (ended < 0 && errno == EINTR);
    exitCode = ended == pid ? ExitCodeOf(status) : -1;
    return true;
}
