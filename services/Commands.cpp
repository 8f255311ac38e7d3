#include "Commands.h"

#include "CaptureFile.h"
#include "Constants.h"
#include "Host.h"

#include <sys/wait.h>

namespace Ucomtc {

int System(const QString& command)
{
    return Host::current().System(command);
}

void RunShell(const QString& command)
{
    Host::current().RunShell(command);
}

bool RunPrivileged(const QString& command)
{
    return Host::current().RunPrivileged(QString::fromLatin1(DaemonSocketPath), command);
}

bool FileExists(const QString& path)
{
    return Host::current().FileExists(path);
}

bool CommandExists(const QString& name)
{
    const QString captureFile = QString::fromLatin1(CommandCaptureFile);
    const QString answer = CaptureFirstLine(
        RunWith::System, QStringLiteral("whereis ") + name + QStringLiteral(" >") + captureFile, captureFile,
        RunWith::System);
    // whereis answers "name:" and nothing more for a name it knows nothing about.
    return answer.size() != name.size() + 1;
}

bool EditFileWithSed(const QString& sedCommand, const QString& file, const QString& scratchFile, RunWith way)
{
    const auto succeeded = [](int status) {
        return status != -1 && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    };
    if (!PrepareCapture(way, scratchFile))
        return false;
    if (succeeded(RunCommandStatus(way, sedCommand + QStringLiteral(" ") + file + QStringLiteral(" > ") +
                                            scratchFile)) &&
        succeeded(RunCommandStatus(way, QStringLiteral("mv ") + scratchFile + QStringLiteral(" ") + file)))
        return true;
    // An incomplete result, or one that may not replace its target (a user may read a file that
    // only root may replace), must not linger: the next edit, perhaps by root, could not write the
    // scratch file over another user's copy and would fail.
    RunCommandStatus(way, QStringLiteral("rm -f ") + scratchFile);
    return false;
}

} // namespace Ucomtc
