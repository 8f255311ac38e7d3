#include "CommandShell.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace Ucomtc {

namespace {

std::vector<std::string> CurrentEnvironment()
{
    std::vector<std::string> entries;
    for (char** entry = environ; entry != nullptr && *entry != nullptr; ++entry)
        entries.emplace_back(*entry);
    return entries;
}

std::string CurrentFolder()
{
    char buffer[4096];
    return ::getcwd(buffer, sizeof buffer) != nullptr ? std::string(buffer) : std::string();
}

bool SendAll(int fd, const std::string& text)
{
    std::size_t sent = 0;
    while (sent < text.size()) {
        const ssize_t n = ::send(fd, text.data() + sent, text.size() - sent, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        sent += static_cast<std::size_t>(n);
    }
    return true;
}

// One line of the shell's answers, without its line feed; nothing when the shell went away.
std::optional<std::string> ReceiveLine(int fd)
{
    std::string text;
    while (text.size() < 8) {
        char c = 0;
        const ssize_t n = ::read(fd, &c, 1);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return std::nullopt;
        if (c == '\n')
            return text;
        text.push_back(c);
    }
    return std::nullopt;
}

bool IsDigits(const std::string& word)
{
    return !word.empty() && word.find_first_not_of("0123456789") == std::string::npos;
}

// The exit status the shell reports after a line.
std::optional<int> ReceiveStatus(int fd)
{
    const auto text = ReceiveLine(fd);
    if (!text || !IsDigits(*text))
        return std::nullopt;
    return std::atoi(text->c_str());
}

// Builtins and reserved words that change the shell, or that a plain first word must not be.
bool ChangesTheShell(const std::string& name)
{
    static const char* const names[] = {
        ".",       "alias",    "bg",     "break",    "builtin", "cd",     "chdir",   "command", "continue",
        "eval",    "exec",     "exit",   "export",   "fc",      "fg",     "getopts", "hash",    "local",
        "read",    "readonly", "return", "set",      "shift",   "source", "trap",    "ulimit",  "umask",
        "unalias", "unset",    "wait",   "if",       "then",    "else",   "elif",    "fi",      "do",
        "done",    "case",     "esac",   "while",    "until",   "for",    "in",      "!",       "{",
        "}",       "[[",       "]]",     "function", "select",  "time"};
    for (const char* forbidden : names) {
        if (name == forbidden)
            return true;
    }
    return false;
}

} // namespace

bool CommandShell::LeavesTheShellAsItWas(std::string_view line)
{
    // `sh -c` would end the line at a NUL; eval would not.
    if (line.find('\0') != std::string_view::npos)
        return false;
    std::string word;
    bool quoted = false;         // the word being read has quotes in it
    bool commandNamed = false;   // the current simple command has its first word
    bool redirectTarget = false; // the word being read names a redirection's file
    // A finished word is the command's name unless one came already or it is a redirection's file;
    // a name must be a plain word that starts a program or a harmless builtin.
    auto finishWord = [&]() -> bool {
        if (word.empty() && !quoted)
            return true;
        bool fine = true;
        if (redirectTarget)
            redirectTarget = false;
        else if (!commandNamed) {
            commandNamed = true;
            fine = !quoted && word.find_first_of("=$") == std::string::npos && !ChangesTheShell(word);
        }
        word.clear();
        quoted = false;
        return fine;
    };
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        const char next = i + 1 < line.size() ? line[i + 1] : '\0';
        switch (c) {
        case '\'':
            quoted = true;
            i = line.find('\'', i + 1);
            if (i == std::string_view::npos)
                return false;
            break;
        case '"':
            quoted = true;
            for (++i; i < line.size() && line[i] != '"'; ++i) {
                if (line[i] == '`' ||
                    (line[i] == '$' && i + 1 < line.size() && (line[i + 1] == '(' || line[i + 1] == '{')))
                    return false;
                if (line[i] == '\\')
                    ++i;
            }
            if (i >= line.size())
                return false;
            break;
        case ' ':
        case '\t':
            if (!finishWord())
                return false;
            break;
        case '|':
        case '&':
        case ';':
            if (!finishWord())
                return false;
            if (redirectTarget)
                return false; // an operator where a file name belongs
            commandNamed = false;
            break;
        case '<':
        case '>':
            // "2>" names the descriptor, not the command.
            if (IsDigits(word) && !quoted)
                word.clear();
            if (!finishWord())
                return false;
            if (next == '>' || next == '&' || next == '|' || (c == '<' && next == '>'))
                ++i;
            redirectTarget = true;
            break;
        case '$':
            if (next == '(' || next == '{')
                return false;
            word += c;
            break;
        case '\\':
            // An escaped character is a quoted one; an escaped line feed would join two lines.
            if (next == '\0' || next == '\n')
                return false;
            quoted = true;
            word += next;
            ++i;
            break;
        case '`':
        case '(':
        case ')':
        case '\n':
        case '\r':
        case '#':
            return false;
        default:
            word += c;
        }
    }
    return finishWord() && !redirectTarget;
}

CommandShell::~CommandShell()
{
    Stop();
}

std::string CommandShell::Quoted(std::string_view command)
{
    std::string word = "'";
    for (const char c : command) {
        if (c == '\'')
            word += "'\\''";
        else
            word += c;
    }
    word += '\'';
    return word;
}

void CommandShell::Prepare()
{
    const std::lock_guard lock(mutex_);
    if (socket_ >= 0 && !StillFits())
        Stop();
    if (socket_ < 0)
        Start();
}

pid_t CommandShell::ShellPid() const
{
    const std::lock_guard lock(mutex_);
    return owner_ == ::getpid() ? shell_ : -1;
}

std::optional<int> CommandShell::Run(std::string_view command)
{
    if (!LeavesTheShellAsItWas(command))
        return std::nullopt;
    const std::lock_guard lock(mutex_);
    if (socket_ >= 0 && !StillFits())
        Stop();
    // The line reaches the shell as one quoted word, so nothing in it can run before eval takes it
    // whole. The shell first says it has the line (an empty answer), then runs it and answers
    // with its status. While it runs, standard input is this process's again (fd 5), and the
    // programs it starts keep neither the line's channel nor the answer's.
    const std::string script = "echo >&4; eval " + Quoted(command) + " <&5 5<&- 4>&-; echo $? >&4\n";
    // A shell that ended while it waited takes nothing, and a new one is asked once more: a line
    // the shell has not acknowledged has not run.
    bool taken = false;
    for (int attempt = 0; attempt < 2 && !taken; ++attempt) {
        if (socket_ < 0 && !Start())
            return std::nullopt;
        taken = SendAll(socket_, script) && ReceiveLine(socket_) == std::string();
        if (!taken)
            Stop();
    }
    if (!taken)
        return std::nullopt;
    if (const auto status = ReceiveStatus(socket_))
        return (*status & 0xff) << 8;
    // The shell went away while the line ran: its end is the line's end, as with `sh -c`.
    return Stop();
}

// A shell started earlier still runs lines as this process would start them: same process (not a
// forked copy), same rights, environment and working folder.
bool CommandShell::StillFits() const
{
    return owner_ == ::getpid() && user_ == ::geteuid() && environment_ == CurrentEnvironment() &&
           folder_ == CurrentFolder();
}

bool CommandShell::Start()
{
    int ends[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0)
        return false;
    // The shell's end is moved above the numbers it is given below, so that no step overwrites it.
    const int shellEnd = ::fcntl(ends[1], F_DUPFD_CLOEXEC, 10);
    ::close(ends[1]);
    if (shellEnd < 0) {
        ::close(ends[0]);
        return false;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    bool ready = posix_spawn_file_actions_adddup2(&actions, STDIN_FILENO, 5) == 0 &&
                 posix_spawn_file_actions_adddup2(&actions, shellEnd, STDIN_FILENO) == 0 &&
                 posix_spawn_file_actions_adddup2(&actions, shellEnd, 4) == 0;
    char shell[] = "sh";
    char option[] = "-s";
    char* const arguments[] = {shell, option, nullptr};
    pid_t child = -1;
    ready = ready && ::posix_spawn(&child, "/bin/sh", &actions, nullptr, arguments, environ) == 0;
    posix_spawn_file_actions_destroy(&actions);
    ::close(shellEnd);
    if (!ready) {
        ::close(ends[0]);
        return false;
    }
    socket_ = ends[0];
    shell_ = child;
    owner_ = ::getpid();
    user_ = ::geteuid();
    environment_ = CurrentEnvironment();
    folder_ = CurrentFolder();
    return true;
}

int CommandShell::Stop()
{
    if (socket_ >= 0)
        ::close(socket_);
    int status = -1;
    // Only the process that started the shell waits for it; a forked copy merely lets go.
    if (shell_ > 0 && owner_ == ::getpid()) {
        // The shell ends on the closed input; its own children are not waited for.
        while (::waitpid(shell_, &status, 0) < 0 && errno == EINTR) {
        }
    }
    socket_ = -1;
    shell_ = -1;
    owner_ = -1;
    return status;
}

} // namespace Ucomtc
