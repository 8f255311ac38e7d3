// Capture files: a command's output redirected into a fixed file under /tmp, read back as text lines.
//
// A line ends at a line feed; a carriage return is never part of a line; a last line without a line
// feed is still read.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <span>

namespace Ucomtc {

using TStringinfo = QStringList;

// The three ways a command line runs: the C library's system(), RunShell, or the daemon. The lines
// that read or write files under HOME run InHome: as System or Shell, except for root with another
// user's HOME (as after sudo), where they run as that home's owner so that root never follows a
// link the owner put there.
enum class RunWith
{
    System,
    Shell,
    Daemon,
    SystemInHome,
    ShellInHome,
};

// Runs `command` the chosen way; false only when the daemon did not carry it out.
bool RunCommand(RunWith way, const QString& command);
// The same for the ways that give a status (System, SystemInHome): the shell's raw wait status.
int RunCommandStatus(RunWith way, const QString& command);

// Makes `path`, a fixed name that the command run `way` is about to write, a new empty file of that
// command's user (the daemon makes its own). When something stands there that cannot be removed,
// the error box names the path and the result is false: the command must not run.
bool PrepareCapture(RunWith way, const QString& path);
// PrepareCapture, then the command; false when either did not happen.
bool RunWriting(RunWith way, const QString& command, const QString& path);
// The lines of a capture file just written `way`. Anything but a regular file of that writer (or
// root) reads as missing: IoError, as for a file that is not there.
QStringList ReadCaptureLines(const QString& fileName, RunWith way = RunWith::System);

// The whole life of a capture file: `command` writes `path` (run by `writeWith`), `use` gets its first
// line (empty for an empty file), then "rm " + path runs through `removeWith`. Whatever `use` runs
// comes before the removal. A command the daemon did not carry out left nothing to read: neither
// `use` nor the removal run, and the result is false. A file that cannot be read throws IoError
// and is left in place, so the default error report shows what was there to see.
bool WithCaptureFirstLine(RunWith writeWith, const QString& command, const QString& path, RunWith removeWith,
                          const std::function<void(const QString& firstLine)>& use);
// The same when only the first line is wanted; not for daemon writes, whose refusal would be lost.
QString CaptureFirstLine(RunWith writeWith, const QString& command, const QString& path, RunWith removeWith);

// Removes the leading run of blanks and tabs, nothing else.
QString TrimLeadingBlanks(const QString& s);
// Drops as many leading characters as `key` has, then leading blanks; "Error" when `key` is absent.
QString ValueAfterKey(const QString& line, const QString& key);

// Looks up keys[0] .. keys[count-1] in order, each on a line after the previous key's line, and
// removes the file afterwards. A missing file gives `count` single blanks and is left alone.
TStringinfo ReadCaptureFile(const QString& fileName, int count, std::span<const char* const> keys);

} // namespace Ucomtc
