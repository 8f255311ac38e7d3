#include "ScenarioHost.h"

#include "Transcript.h"

#include <MessageKindName.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

using Ucomtc::MessageKind;

ScenarioHost::ScenarioHost(Transcript& transcript) : transcript_(transcript) {}

int ScenarioHost::System(const QString& command)
{
    commands_.append(QStringLiteral("system: ") + command);
    return LibcHost::System(command);
}

void ScenarioHost::RunShell(const QString& command)
{
    commands_.append(QStringLiteral("shell: ") + command);
    LibcHost::RunShell(command);
}

bool ScenarioHost::RunPrivileged(const QString& socketPath, const QString& command)
{
    const bool carriedOut = LibcHost::RunPrivileged(socketPath, command);
    NotePrivileged(command, carriedOut);
    return carriedOut;
}

std::function<bool()> ScenarioHost::StartPrivileged(const QString& socketPath, const QString& command)
{
    // Noted when the reply is in, as a request made in one go would be.
    return [this, command, finish = LibcHost::StartPrivileged(socketPath, command)] {
        const bool carriedOut = finish();
        NotePrivileged(command, carriedOut);
        return carriedOut;
    };
}

void ScenarioHost::NotePrivileged(const QString& command, bool carriedOut)
{
    commands_.append(QStringLiteral("privileged: ") + command +
                     (carriedOut ? QStringLiteral(" -> true") : QStringLiteral(" -> false")));
    ++privilegedDone_;
}

void ScenarioHost::ShowMessage(MessageKind kind, const QString& text)
{
    messages_.append({kind, text});
    auto box = CreateMessageBox(kind, text, QApplication::activeWindow());
    transcript_.Line(QStringLiteral("  %1 \"%2\": \"%3\"")
                         .arg(QString::fromLatin1(NameOf(kind).box), box->windowTitle(), text));
    // A person reads the box, then presses OK.
    QMessageBox* shown = box.get();
    QTimer::singleShot(300, shown, [this, shown] {
        transcript_.Screenshot(shown, QStringLiteral("message box"));
        shown->button(QMessageBox::Ok)->click();
    });
    ++messagesOpen_;
    box->exec();
    --messagesOpen_;
}

void ScenarioHost::Forget()
{
    commands_.clear();
    messages_.clear();
}
