// The ways of running a command line, the installed-command test and the sed-based file editor.
// All of them run on the GUI thread and return once their commands have finished.
#pragma once

#include "CaptureFile.h"

#include <QString>

namespace Ucomtc {

// The C library's system(): /bin/sh runs the line, the caller waits. Returns the raw wait status.
int System(const QString& command);
// A child that asks for user id 0, then becomes "/bin/sh -c command"; only the shell is waited for.
void RunShell(const QString& command);
// Runs the command with root rights through the daemon, or directly for root; false when the daemon
// did not carry it out.
bool RunPrivileged(const QString& command);

// Whether `whereis` reports anything for `name`.
bool CommandExists(const QString& name);

// Rewrites `file` through `sedCommand` into `scratchFile`, then moves the scratch file over it. The
// target is replaced only when sed succeeded, so a failed edit never costs the file its content;
// after a failed step the scratch file is removed. The scratch name is made a fresh file of ours
// first; when someone else holds it, the error box says so and nothing runs. True when the target
// was replaced. `way` is System or, for a file under HOME, SystemInHome.
bool EditFileWithSed(const QString& sedCommand, const QString& file, const QString& scratchFile,
                     RunWith way = RunWith::System);

bool FileExists(const QString& path);

} // namespace Ucomtc
