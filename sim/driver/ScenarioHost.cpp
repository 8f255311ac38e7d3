#include "sim/driver/ScenarioHost.h"

#include <QCoreApplication>

#include "sim/driver/Transcript.h"

#include "tests/support/MessageKindName.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

using Ucomtc::MessageKind;

ScenarioHost::ScenarioHost(Transcript& transcript)
    : transcript_(transcript), sink_([this](const Message& message) { ShowMessage(message); })
{}

int ScenarioHost::System(const QString& command)
{
    commands_.append(QStringLiteral("system: ") + command);
    return LibcHost::System(command);
}

QString ScenarioHost::ProgramFile()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/LapstoneConfiguration");
}

void ScenarioHost::RunShell(const QString& command)
{
    commands_.append(QStringLiteral("shell: ") + command);
    LibcHost::RunShell(command);
}

Ucomtc::DaemonAnswer ScenarioHost::AskDaemon(const QString& command)
{
    const Ucomtc::DaemonAnswer answer = LibcHost::AskDaemon(command);
    commands_.append(
        QStringLiteral("privileged: ") + command +
        (answer == Ucomtc::DaemonAnswer::Done ? QStringLiteral(" -> true") : QStringLiteral(" -> false")));
    return answer;
}

void ScenarioHost::ShowMessage(const Message& message)
{
    messages_.append(message);
    auto box = Ucomtc::CreateMessageBox(message.kind, message.text, QApplication::activeWindow());
    transcript_.Line(
        QStringLiteral("  %1 \"%2\": \"%3\"")
            .arg(QString::fromLatin1(NameOf(message.kind).box), box->windowTitle(), message.text));
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
