#include "LibcHost.h"

#include "BusyCursor.h"
#include "IoError.h"
#include "Placement.h"
#include "PrivilegedClient.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFile>
#include <QImageReader>
#include <QLabel>
#include <QMessageBox>
#include <QUrl>
#include <cerrno>
#include <cstdlib>
#include <grp.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

namespace Ucomtc {

namespace {

// Started set-user-ID or set-group-ID, the program keeps the C library's own way of starting each
// shell; the waiting shell serves only a program that runs with the rights it was started with.
bool RunsWithItsOwnRights()
{
    return ::getuid() == ::geteuid() && ::getgid() == ::getegid();
}

} // namespace

LibcHost::LibcHost() = default;
LibcHost::~LibcHost() = default;

int LibcHost::System(const QString& command)
{
    BusyCursor busy;
    const QByteArray line = command.toLocal8Bit();
    if (RunsWithItsOwnRights()) {
        if (const auto status = shell_.Run(line.toStdString()))
            return *status;
    }
    return std::system(line.constData());
}

void LibcHost::RunShell(const QString& command)
{
    const QByteArray line = command.toLocal8Bit();
    BusyCursor busy;
    // With the rights it was started with, the request for user id 0 below changes nothing (root
    // has it, anyone else is refused), and the waiting shell runs the line as well.
    if (RunsWithItsOwnRights() && shell_.Run(line.toStdString()))
        return;
    // Everything the child needs is prepared before vfork: the child borrows the program's memory
    // until exec, so it makes only raw system calls. vfork spares copying the page tables of a
    // program of tens of megabytes for every shell.
    char shell[] = "sh";
    char option[] = "-c";
    char* const arguments[] = {shell, option, const_cast<char*>(line.constData()), nullptr};
    const pid_t child = vfork();
    if (child < 0)
        return;
    if (child == 0) {
        // Succeeds only for a privileged process; otherwise the command runs with the user's rights.
        // The raw call changes this child alone: libc's setuid would signal the program's threads.
        [[maybe_unused]] long ignored = syscall(SYS_setuid, 0);
        execve("/bin/sh", arguments, environ);
        _exit(127); // never fall back into the program's own code
    }
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
}

int LibcHost::RunAs(uid_t uid, gid_t gid, const QString& command)
{
    const QByteArray line = command.toLocal8Bit();
    BusyCursor busy;
    const pid_t child = fork();
    if (child < 0)
        return -1;
    if (child == 0) {
        // Groups first: once the user id has changed, they could no longer be dropped.
        if (setgroups(1, &gid) != 0 || setresgid(gid, gid, gid) != 0 || setresuid(uid, uid, uid) != 0)
            _exit(126);
        execl("/bin/sh", "sh", "-c", line.constData(), static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    while (waitpid(child, &status, 0) < 0) {
        if (errno != EINTR)
            return -1;
    }
    return status;
}

bool LibcHost::RunPrivileged(const QString& socketPath, const QString& command)
{
    return RunPrivilegedThrough(*this, socketPath, command, replyTimeoutMs_);
}

std::function<bool()> LibcHost::StartPrivileged(const QString& socketPath, const QString& command)
{
    return StartPrivilegedThrough(*this, socketPath, command, replyTimeoutMs_);
}

void LibcHost::Prepare()
{
    if (RunsWithItsOwnRights())
        shell_.Prepare();
}

bool LibcHost::FileExists(const QString& path)
{
    struct stat info;
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 && !S_ISDIR(info.st_mode);
}

uid_t LibcHost::GetUid()
{
    return ::getuid();
}

std::optional<QString> LibcHost::GetEnv(const char* name)
{
    const char* value = std::getenv(name);
    if (value == nullptr)
        return std::nullopt;
    return QString::fromLocal8Bit(value);
}

std::unique_ptr<QMessageBox> LibcHost::CreateMessageBox(MessageKind kind, const QString& text,
                                                        QWidget* parent)
{
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QString title = QApplication::applicationName();
    if (kind == MessageKind::Error) {
        icon = QMessageBox::Critical;
        title = QStringLiteral("Error");
    } else if (kind == MessageKind::Report) {
        icon = QMessageBox::Critical;
    }
    auto box = std::make_unique<QMessageBox>(icon, title, text, QMessageBox::Ok, parent);
    KeepOnScreen(box.get());
    // The icon says what kind of message this is; a screen reader says it too.
    if (auto* iconLabel = box->findChild<QLabel*>(QStringLiteral("qt_msgboxex_icon_label")))
        iconLabel->setAccessibleName(kind == MessageKind::Plain ? QString() : QStringLiteral("Error"));
    return box;
}

void LibcHost::ShowMessage(MessageKind kind, const QString& text)
{
    CreateMessageBox(kind, text, QApplication::activeWindow())->exec();
}

bool LibcHost::OpenFile(const QString& path)
{
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

QImage LibcHost::LoadImage(const QString& path)
{
    QImageReader reader(path);
    QImage image = reader.read();
    if (image.isNull())
        throw IoError(path, reader.errorString());
    return image;
}

} // namespace Ucomtc
