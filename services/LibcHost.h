// The production host: the C library, a waiting shell or a real fork and exec, the daemon's socket,
// Qt's message boxes.
#pragma once

#include "CommandShell.h"
#include "Host.h"

#include <memory>

class QMessageBox;
class QWidget;

namespace Ucomtc {

class LibcHost : public Host
{
public:
    LibcHost();
    ~LibcHost() override;

    int System(const QString& command) override;
    void RunShell(const QString& command) override;
    int RunAs(uid_t uid, gid_t gid, const QString& command) override;
    bool RunPrivileged(const QString& socketPath, const QString& command) override;
    std::function<bool()> StartPrivileged(const QString& socketPath, const QString& command) override;
    void Prepare() override;
    bool FileExists(const QString& path) override;
    uid_t GetUid() override;
    std::optional<QString> GetEnv(const char* name) override;
    void ShowMessage(MessageKind kind, const QString& text) override;
    QImage LoadImage(const QString& path) override;
    bool OpenFile(const QString& path) override;

    // The box ShowMessage shows for `kind`: icon, title, text and one OK button.
    static std::unique_ptr<QMessageBox> CreateMessageBox(MessageKind kind, const QString& text,
                                                         QWidget* parent);

    // How long RunPrivileged waits for the daemon's reply before it counts the request as failed.
    void setReplyTimeout(int milliseconds) { replyTimeoutMs_ = milliseconds; }
    int replyTimeout() const { return replyTimeoutMs_; }

private:
    int replyTimeoutMs_ = 30000;
    // Runs System's and RunShell's lines (see CommandShell).
    CommandShell shell_;
};

} // namespace Ucomtc
