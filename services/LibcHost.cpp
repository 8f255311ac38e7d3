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
#include <sys/wait.h>
#include <unistd.h>

namespace Ucomtc {

int LibcHost::System(const QString& command)
{
    BusyCursor busy;
    return std::system(command.toLocal8Bit().constData());
}

void LibcHost::RunShell(const QString& command)
{
    // Everything the child needs is prepared before fork: after it, only async-signal-safe calls.
    const QByteArray line = command.toLocal8Bit();
    BusyCursor busy;
    const pid_t child = fork();
    if (child < 0)
        return;
    if (child == 0) {
        // Succeeds only for a privileged process; otherwise the command runs with the user's rights.
        [[maybe_unused]] int ignored = setuid(0);
        execl("/bin/sh", "sh", "-c", line.constData(), static_cast<char*>(nullptr));
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
