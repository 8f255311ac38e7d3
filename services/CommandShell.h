// One /bin/sh that waits for command lines and runs them one after the other, as a script would:
// a line then costs what it costs in a script (the programs it starts) and not also the start of a
// shell of its own (on a virtual machine, several milliseconds each; a dialog runs up to two dozen
// lines). Only lines that leave a shell as they found it are taken; anything else is refused and
// gets a shell of its own from the caller, as before.
#pragma once

#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <sys/types.h>
#include <vector>

namespace Ucomtc {

class CommandShell
{
public:
    CommandShell() = default;
    ~CommandShell();
    CommandShell(const CommandShell&) = delete;
    CommandShell& operator=(const CommandShell&) = delete;

    // Runs `command` as `/bin/sh -c` would, with this process's standard input, output and error,
    // environment and working folder. Returns the wait status, as system() does, or nothing when
    // the line is not one for the waiting shell or could not be handed over; it has then not run,
    // and the caller runs it another way.
    std::optional<int> Run(std::string_view command);

    // Whether `line` leaves the shell that runs it as it found it: commands that start programs
    // (or echo, printf, test and the like), with their arguments, quotes and redirections, joined by
    // pipes, lists and "&". No assignments, no cd, exit, exec, set, trap or other builtins that
    // change the shell, no compound commands, functions, command substitution or ${...}.
    static bool LeavesTheShellAsItWas(std::string_view line);

    // Starts the waiting shell now, if none is waiting, so that the first line need not.
    void Prepare();

    // The waiting shell's process id, or -1 when none is running for this process.
    pid_t ShellPid() const;

    // `command` as one single-quoted shell word.
    static std::string Quoted(std::string_view command);

private:
    bool StillFits() const;
    bool Start();
    // Lets the shell go and returns its wait status (-1 when there is none to wait for).
    int Stop();

    mutable std::mutex mutex_;
    int socket_ = -1;
    pid_t shell_ = -1;
    pid_t owner_ = -1;
    uid_t user_ = 0;
    std::vector<std::string> environment_;
    std::string folder_;
};

} // namespace Ucomtc
