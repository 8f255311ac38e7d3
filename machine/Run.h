// Running a command line: the one home for how a line runs and whose rights it runs with.
//
// Every line goes through /bin/sh -c, as the C library's system() runs it. The calls return what
// they have to say in `messages` rather than showing it: the areas pass them on, and only the forms
// and the report show them.
#pragma once

#include "machine/Host.h"
#include "machine/Message.h"

#include <QString>
#include <optional>

namespace Ucomtc {

// How a line runs: through system(), through RunShell's child (which asks for user id 0 first),
// or with root's rights: through the daemon, or by ourselves when we are root.
enum class RunWith
{
    System,
    Shell,
    Root,
};

// Whose rights a System or Shell line runs with: the program's, or, for the lines that read or
// write files under HOME, the home's owner's. The two differ only for root with another user's
// HOME (as after sudo): such lines then run as the home's owner, so that root never follows a link
// the owner put there.
enum class As
{
    Program,
    HomeOwner,
};

struct Way
{
    constexpr Way(RunWith runWith, As runAs = As::Program) : with(runWith), as(runAs) {}
    RunWith with;
    As as;
};

// The owner of HOME when we are root and HOME is someone else's.
std::optional<FileOwner> ForeignHomeOwner();
// Who owns a file that a line run `way` creates.
FileOwner WriterOf(Way way);

// Runs `command` the chosen way; false only when root's way did not carry it out (the daemon
// refused it, or is not there: then `messages` says so).
bool RunCommand(Way way, const QString& command, Messages& messages);
// The same for a System line, whose raw wait status is wanted (-1 when no shell could start).
int RunCommandStatus(Way way, const QString& command);

// Whether the shell's status says the line succeeded.
bool Succeeded(int status);

} // namespace Ucomtc
