// The production host: the C library's system(), a real fork and exec, the daemon's socket, the
// file system, Qt's picture reader and the desktop's file opener.
#pragma once

#include "machine/Host.h"

namespace Ucomtc {

class LibcHost : public Host
{
public:
    int System(const QString& command) override;
    void RunShell(const QString& command) override;
    int RunAs(FileOwner owner, const QString& command) override;
    DaemonAnswer AskDaemon(const QString& command) override;
    bool FileExists(const QString& path) override;
    std::optional<FileOwner> OwnerOf(const QString& path) override;
    bool MakeFreshFile(const QString& path, FileOwner owner) override;
    std::optional<QByteArray> ReadOwnedFile(const QString& path, uid_t writer) override;
    std::optional<QByteArray> ReadTextFile(const QString& path) override;
    QStringList ListFolder(const QString& path) override;
    uid_t GetUid() override;
    FileOwner Self() override;
    std::optional<QString> GetEnv(const char* name) override;
    QString ProgramFile() override;
    QImage LoadImage(const QString& path) override;
    bool OpenFile(const QString& path) override;

    // How long a daemon request may take, connecting included, before it counts as failed.
    void setReplyTimeout(int milliseconds) { replyTimeoutMs_ = milliseconds; }

private:
    int replyTimeoutMs_ = 30000;
};

} // namespace Ucomtc
