#include "machine/Run.h"

#include "machine/Constants.h"
#include "protocol/DaemonProtocol.h"

#include <sys/wait.h>

namespace Ucomtc {

std::optional<FileOwner> ForeignHomeOwner()
{
    Host& host = Host::current();
    if (host.GetUid() != 0)
        return std::nullopt;
    const auto home = host.GetEnv("HOME");
    if (!home || home->isEmpty())
        return std::nullopt;
    const auto owner = host.OwnerOf(*home);
    if (!owner || owner->uid == 0)
        return std::nullopt;
    return owner;
}

FileOwner WriterOf(Way way)
{
    if (way.as == As::HomeOwner) {
        if (const auto owner = ForeignHomeOwner())
            return *owner;
    }
    return Host::current().Self();
}

bool RunCommand(Way way, const QString& command, Messages& messages)
{
    Host& host = Host::current();
    switch (way.with) {
    case RunWith::System:
        RunCommandStatus(way, command);
        return true;
    case RunWith::Shell:
        if (const auto owner = way.as == As::HomeOwner ? ForeignHomeOwner() : std::nullopt)
            host.RunAs(*owner, command);
        else
            host.RunShell(command);
        return true;
    case RunWith::Root:
        break;
    }
    if (host.GetUid() == 0) {
        host.System(command);
        return true;
    }
    switch (host.AskDaemon(command)) {
    case DaemonAnswer::Done:
        return true;
    case DaemonAnswer::Failed:
        return false;
    case DaemonAnswer::Unreachable:
        break;
    }
    messages.append({MessageKind::Plain, QString::fromLatin1(MsgDaemonNotStarted)});
    return false;
}

int RunCommandStatus(Way way, const QString& command)
{
    Q_ASSERT(way.with == RunWith::System);
    if (const auto owner = way.as == As::HomeOwner ? ForeignHomeOwner() : std::nullopt)
        return Host::current().RunAs(*owner, command);
    return Host::current().System(command);
}

bool Succeeded(int status)
{
    return status != -1 && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

} // namespace Ucomtc
