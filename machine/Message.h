// What the machine's calls and the areas have to tell the person: a message of a kind, in the order
// it arose. The machine and the areas return them; the forms show them as boxes
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

// What a change had to say, and whether it was made. One that was not made (the desktop did not
// take it, a file could not be written) may be tried again; a way that cannot tell counts as made.
struct Change
{
    Messages messages;
    bool made = true;
};

} // namespace Ucomtc
