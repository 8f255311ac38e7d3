#include "ShellRunner.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

namespace Vcd {
namespace {

class SpawnSetup
{
public:
    SpawnSetup()
    {
        posix_spawn_file_actions_init(&actions_);
        posix_spawnattr_init(&attributes_);
    }
    ~SpawnSetup()
    {
        posix_spawn_file_actions_destroy(&actions_);
        posix_spawnattr_destroy(&attributes_);
    }
    SpawnSetup(const SpawnSetup&) = delete;
    SpawnSetup& operator=(const SpawnSetup&) = delete;

    bool prepare(int outputFd)
    {
        // The daemon blocks its stop signals and ignores SIGPIPE; a pipeline must get neither, or
        // `dmidecode | grep` would no longer end when grep does.
        sigset_t none;
        sigset_t all;
        sigemptyset(&none);
        sigfillset(&all);
        return posix_spawn_file_actions_addopen(&actions_, 0, "/dev/null", O_RDONLY, 0) == 0 &&
               posix_spawn_file_actions_adddup2(&actions_, outputFd, 1) == 0 &&
               posix_spawn_file_actions_addopen(&actions_, 2, "/dev/null", O_WRONLY, 0) == 0 &&
               posix_spawnattr_setsigmask(&attributes_, &none) == 0 &&
               posix_spawnattr_setsigdefault(&attributes_, &all) == 0 &&
               posix_spawnattr_setpgroup(&attributes_, 0) == 0 &&
               posix_spawnattr_setflags(&attributes_, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF |
                                                          POSIX_SPAWN_SETPGROUP) == 0;
    }

    const posix_spawn_file_actions_t* actions() const { return &actions_; }
    const posix_spawnattr_t* attributes() const { return &attributes_; }

private:
    posix_spawn_file_actions_t actions_;
    posix_spawnattr_t attributes_;
};

// Waits for the child to end within `limit`; false when it is still running after that.
bool WaitWithin(pid_t child, std::chrono::milliseconds limit)
{
    const int pidfd = static_cast<int>(::syscall(SYS_pidfd_open, child, 0));
    if (pidfd >= 0) {
        pollfd ended{pidfd, POLLIN, 0};
        const auto deadline = std::chrono::steady_clock::now() + limit;
        int ready;
        do {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            ready = ::poll(&ended, 1, static_cast<int>(std::max<long long>(left.count(), 0)));
        } while (ready < 0 && errno == EINTR);
        ::close(pidfd);
        return ready > 0;
    }
    // Without pidfds (old kernel, or a seccomp filter that refuses them) we look every few ms.
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < deadline) {
        siginfo_t info{};
        if (::waitid(P_PID, static_cast<id_t>(child), &info, WEXITED | WNOHANG | WNOWAIT) == 0 &&
            info.si_pid == child)
            return true;
        const timespec pause{0, 5'000'000};
        ::nanosleep(&pause, nullptr);
    }
    return false;
}

} // namespace

bool RunShell(const char* text, int outputFd, std::chrono::milliseconds limit)
{
    SpawnSetup setup;
    if (!setup.prepare(outputFd))
        return false;
    char shellName[] = "sh";
    char option[] = "-c";
    char* const argv[] = {shellName, option, const_cast<char*>(text), nullptr};
    char* const envp[] = {const_cast<char*>(CommandPath), const_cast<char*>(CommandLocale), nullptr};
    pid_t child = 0;
    if (::posix_spawn(&child, "/bin/sh", setup.actions(), setup.attributes(), argv, envp) != 0)
        return false;
    const bool ended = WaitWithin(child, limit);
    if (!ended)
        ::kill(-child, SIGKILL); // the group is still led by the unreaped shell, so it is ours
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    return ended && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

} // namespace Vcd
