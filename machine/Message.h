// What the machine's calls and the readers have to tell the person: a message of a kind, in the
// order it arose. The machine and the readers return them; the dialogs show them as boxes
// (widgets/MessageBox.h) and the report prints them.
#pragma once

#include <QList>
#include <QString>

namespace Ucomtc {

enum class MessageKind
{
    Error,  // critical icon, title "Error", OK button
    Plain,  // no icon, OK button
    Report, // the application's default report of an unhandled error
};

struct Message
{
    MessageKind kind;
    QString text;

    bool operator==(const Message&) const = default;
};

using Messages = QList<Message>;

// A value read from the machine, with what the reading had to say.
template <typename T> struct Reading
{
    T value{};
    Messages messages;
};

} // namespace Ucomtc
