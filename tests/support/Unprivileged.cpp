#include "tests/support/Unprivileged.h"

#include <cerrno>
#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

int RunUnprivileged(const std::function<int()>& body)
{
    if (getuid() != 0)
        return body();
    const pid_t child = fork();
    if (child < 0)
        return -1;
    if (child == 0) {
        if (setgroups(0, nullptr) != 0 || setgid(65534) != 0 || setuid(65534) != 0)
            _exit(255);
        _exit(body() & 0xff);
    }
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(status) && WEXITSTATUS(status) != 255 ? WEXITSTATUS(status) : -1;
}
