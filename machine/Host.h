// The one seam between the program and the machine it runs on.
//
// Every command line the program runs, every file it tests, makes fresh or reads back, the user id,
// the environment, pictures and the desktop's file opener go through the current Host. Production
// uses LibcHost, which calls the C library; tests and the scenario driver install their own to see
// the exact command lines and to answer them. The calls that the areas make are in machine/Run.h and
// machine/Capture.h; they are built on these few.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QStringList>
#include <optional>
#include <sys/types.h>

namespace Ucomtc {

struct FileOwner
{
    uid_t uid;
    gid_t gid;
};

// The daemon's answer to a request.
enum class DaemonAnswer
{
    Done,
    Failed,      // it refused the request, or the command did not run
    Unreachable, // no daemon (or none of root's) listens on the socket
};

// What ReadTextFile reads of a file at most.
inline constexpr qsizetype MaxTextFileSize = 64 * 1024;

class Host
{
public:
    virtual ~Host() = default;

    // The C library's system(): runs the line through /bin/sh -c and waits. Returns its raw status.
    virtual int System(const QString& command) = 0;
    // A forked child that asks for user id 0, then becomes /bin/sh -c command; waits for the shell.
    virtual void RunShell(const QString& command) = 0;
    // A forked child that takes the user and group ids given (and no other groups), then becomes
    // /bin/sh -c command; never runs the line when the switch fails. Returns the shell's status.
    virtual int RunAs(FileOwner owner, const QString& command) = 0;
    // Sends the command to the privileged daemon and waits for its answer.
    virtual DaemonAnswer AskDaemon(const QString& command) = 0;

    // Whether `path` names something that is not a directory (links followed).
    virtual bool FileExists(const QString& path) = 0;
    // The owner of `path` (links followed), when it exists.
    virtual std::optional<FileOwner> OwnerOf(const QString& path) = 0;
    // Makes `path` a new, empty regular file of `owner` (see machine/SafeTmp.h); false when
    // something that cannot be cleared stands there.
    virtual bool MakeFreshFile(const QString& path, FileOwner owner) = 0;
    // The content of `path` when it is a regular file of `writer`, root or ourselves (see
    // machine/SafeTmp.h); nothing for anything else; IoError when it is missing or unreadable.
    virtual std::optional<QByteArray> ReadOwnedFile(const QString& path, uid_t writer) = 0;
    // The content of a small text file of the system's (sysfs attributes, os-release, udev's
    // database), links followed, at most MaxTextFileSize bytes of it; nothing when it is missing, is
    // no regular file or cannot be read. Never waits on a FIFO.
    virtual std::optional<QByteArray> ReadTextFile(const QString& path) = 0;
    // The names in a folder (links followed), sorted, without "." and ".."; empty when there is no
    // such folder.
    virtual QStringList ListFolder(const QString& path) = 0;

    virtual uid_t GetUid() = 0;
    // Who the files we create belong to: our effective user and group.
    virtual FileOwner Self() = 0;
    virtual std::optional<QString> GetEnv(const char* name) = 0;
    // The program's own executable, by its absolute path.
    virtual QString ProgramFile() = 0;

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
