// The one seam between the program and the machine it runs on.
//
// Every command the program runs, every file-existence test, the user id, the environment, picture
// loading and every message box go through the current Host. Production code uses LibcHost, which
// calls the C library; tests and the scenario driver install their own to see the exact command
// lines and to answer them.
#pragma once

#include <QImage>
#include <QString>
#include <functional>
#include <optional>
#include <sys/types.h>

namespace Ucomtc {

enum class MessageKind
{
    Error,  // critical icon, title "Error", OK button
    Plain,  // no icon, OK button
    Report, // the application's default report of an unhandled error
};

class Host
{
public:
    virtual ~Host() = default;

    // The C library's system(): runs the line through /bin/sh and waits. Returns its raw status.
    virtual int System(const QString& command) = 0;
    // A forked child that asks for user id 0, then becomes /bin/sh -c command; waits for the shell.
    virtual void RunShell(const QString& command) = 0;
    // A forked child that takes the user and group ids given (and no other groups), then becomes
    // /bin/sh -c command; never runs the line when the switch fails. Returns the shell's status.
    virtual int RunAs(uid_t uid, gid_t gid, const QString& command) = 0;
    // Hands the command to the privileged daemon (or runs it directly for root).
    virtual bool RunPrivileged(const QString& socketPath, const QString& command) = 0;
    // RunPrivileged in two halves: the request leaves now, and the returned call waits for the
    // reply and gives RunPrivileged's result (showing the unreachable-daemon message then, if need
    // be), so that the daemon can work while the caller does something else. This host runs the
    // whole request when the returned call is made.
    virtual std::function<bool()> StartPrivileged(const QString& socketPath, const QString& command);
    // Gets ready for the command lines to come, while nobody is waiting for anything: the
    // production host starts its waiting shell (see CommandShell). This host does nothing.
    virtual void Prepare() {}

    virtual bool FileExists(const QString& path) = 0;
    virtual uid_t GetUid() = 0;
    virtual std::optional<QString> GetEnv(const char* name) = 0;

    // Shows a modal message box and returns once the user has closed it.
    virtual void ShowMessage(MessageKind kind, const QString& text) = 0;
    // Loads a picture file; throws IoError when it is missing or cannot be decoded.
    virtual QImage LoadImage(const QString& path) = 0;
    // Opens a local file with the desktop's default application for it; false when none would.
    virtual bool OpenFile(const QString& path) = 0;

    // The host in use: the one installed last, or the production host.
    static Host& current();
    // Installs a host (nullptr restores the production host). The caller keeps ownership.
    static void install(Host* host);
};

// Installs a host for the lifetime of this object and restores the previous one afterwards.
class ScopedHost
{
public:
    explicit ScopedHost(Host& host);
    ~ScopedHost();
    ScopedHost(const ScopedHost&) = delete;
    ScopedHost& operator=(const ScopedHost&) = delete;

private:
    Host* previous_;
};

} // namespace Ucomtc
