// Capture files: a command's output redirected into a fixed file under /tmp, read back as text
// lines, then removed. The one home of a capture file's life: made fresh before the line writes
// it, read only when it is a regular file of its writer, removed afterwards.
//
// A line ends at a line feed; a carriage return is never part of a line; a last line without a line
// feed is still read.
#pragma once

#include "machine/Run.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <span>

namespace Ucomtc {

using TStringinfo = QStringList;

// Makes `path`, a fixed name that the command run `way` is about to write, a new empty file of that
// command's user. The daemon makes its own; as root we make it in the daemon's place. When
// something stands there that cannot be cleared, `messages` names the path and the result is false:
// the command must not run.
bool PrepareCapture(Way way, const QString& path, Messages& messages);
// PrepareCapture, then the command; false when either did not happen.
bool RunWriting(Way way, const QString& command, const QString& path, Messages& messages);
// The lines of a capture file just written `way`. Anything but a regular file of that writer (or
// root) reads as missing: IoError, as for a file that is not there.
QStringList ReadCaptureLines(const QString& fileName, Way way = RunWith::System);

// The whole life of a capture file: `command` writes `path` (run `writeWith`), `use` gets its first
// line (empty for an empty file), then "rm " + path runs `removeWith`. Whatever `use` runs comes
// before the removal. A command that root's way did not carry out left nothing to read: neither
// `use` nor the removal run, and the result is false. A file that cannot be read throws IoError and
// is left in place, so the default error report shows what was there to see.
bool WithCaptureFirstLine(Way writeWith, const QString& command, const QString& path, Way removeWith,
                          const std::function<void(const QString& firstLine)>& use, Messages& messages);
// The same when only the first line is wanted; empty when nothing could be read.
QString CaptureFirstLine(Way writeWith, const QString& command, const QString& path, Way removeWith,
                         Messages& messages);
// Removes a capture file that is there, `way`.
void RemoveCapture(const QString& path, Way way, Messages& messages);

// Whether `whereis` reports anything for `name`.
bool CommandExists(const QString& name, Messages& messages);
// The first of `tools`, in order, that CommandExists finds; empty when none is installed.
QString FirstInstalled(std::initializer_list<const char*> tools, Messages& messages);

// Rewrites `file` through `sedCommand` into `scratchFile`, then moves the scratch file over it. The
// target is replaced only when sed succeeded, so a failed edit never costs the file its content;
// after a failed step the scratch file is removed. The scratch name is made a fresh file of ours
// first; when someone else holds it, `messages` says so and nothing runs. True when the target
// was replaced. `way` is System, as the home's owner for a file under HOME.
bool EditFileWithSed(const QString& sedCommand, const QString& file, const QString& scratchFile, Way way,
                     Messages& messages);

// Removes the leading run of blanks and tabs, nothing else.
QString TrimLeadingBlanks(const QString& s);
// Drops as many leading characters as `key` has, then leading blanks; "Error" when `key` is absent.
QString ValueAfterKey(const QString& line, const QString& key);

// Looks up keys[0] .. keys[count-1] in order, each on a line after the previous key's line, and
// removes the file afterwards. A missing file gives `count` single blanks and is left alone; so
// does anything but a regular file of ours or root's.
TStringinfo ReadCaptureFile(const QString& fileName, int count, std::span<const char* const> keys);

} // namespace Ucomtc
