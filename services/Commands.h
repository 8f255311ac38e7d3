// The calls the forms make to run commands: each is a thin line onto the machine's seam
// (machine/Run.h, machine/Capture.h) that shows what the seam had to say at once, in boxes.
#pragma once

#include "machine/Capture.h"

#include <QString>

namespace Ucomtc {

// The C library's system(): /bin/sh runs the line, the caller waits. Returns the raw wait status.
int System(const QString& command);
// A child that asks for user id 0, then becomes "/bin/sh -c command"; only the shell is waited for.
void RunShell(const QString& command);
// Runs the command with root's rights: through the daemon, or directly for root. False when the
// daemon did not carry it out.
bool RunPrivileged(const QString& command);
// Runs `command` the chosen way.
bool RunCommand(Way way, const QString& command);

bool FileExists(const QString& path);
// Whether `whereis` reports anything for `name`.
bool CommandExists(const QString& name);
// The first of `tools` that is installed; empty when none is.
QString FirstInstalled(std::initializer_list<const char*> tools);
// See machine/Capture.h.
bool WithCaptureFirstLine(Way writeWith, const QString& command, const QString& path, Way removeWith,
                          const std::function<void(const QString& firstLine)>& use);
bool EditFileWithSed(const QString& sedCommand, const QString& file, const QString& scratchFile,
                     Way way = RunWith::System);

} // namespace Ucomtc
