// The production host with a person at the keyboard: every command still runs for real, and every
// message box really appears, is written down and photographed, and is answered with OK (the host
// answers the program's message boxes for as long as it lives).
#pragma once

#include "machine/LibcHost.h"
#include "widgets/MessageBox.h"

#include <QStringList>

class Transcript;

class ScenarioHost : public Ucomtc::LibcHost
{
public:
    explicit ScenarioHost(Transcript& transcript);

    int System(const QString& command) override;
    void RunShell(const QString& command) override;
    Ucomtc::DaemonAnswer AskDaemon(const QString& command) override;
    // The program beside the driver, which the driver stands in for.
    QString ProgramFile() override;

    using Message = Ucomtc::Message;
    // What the program did since the last Forget(): command lines ("system: …", "shell: …",
    // "privileged: … -> true") and message boxes.
    const QStringList& commands() const { return commands_; }
    const QList<Message>& messages() const { return messages_; }
    // Whether a message box is still on its way back to the code that showed it: a box just
    // answered leaves its caller waiting until the event that closed it has been handled.
    bool messageOpen() const { return messagesOpen_ > 0; }
    void Forget();

private:
    void ShowMessage(const Message& message);

    Transcript& transcript_;
    Ucomtc::ScopedMessageSink sink_;
    QStringList commands_;
    QList<Message> messages_;
    int messagesOpen_ = 0;
};
