// Runs a piece of a test in a child process without the power to ignore file
// permissions: as root the child first becomes the user nobody.
#pragma once

#include <functional>
#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

constexpr unsigned kNobody = 65534;

// The body's result (0 to 255), or -1 when the child could not drop its privileges
// or did not end normally. The body must not use test assertions.
inline int RunUnprivileged(const std::function<int()>& body)
{
    pid_t child = fork();
    if (child == 0) {
        if (geteuid() == 0 && (setgroups(0, nullptr) != 0 || setgid(kNobody) != 0 || setuid(kNobody) != 0))
            _exit(255);
        _exit(body());
    }
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) == 255)
        return -1;
    return WEXITSTATUS(status);
}
