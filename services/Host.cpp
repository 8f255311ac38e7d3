#include "Host.h"

#include "LibcHost.h"

namespace Ucomtc {
namespace {

Host* installed = nullptr;

} // namespace

Host& Host::current()
{
    static LibcHost production;
    return installed != nullptr ? *installed : production;
}

std::function<bool()> Host::StartPrivileged(const QString& socketPath, const QString& command)
{
    return [this, socketPath, command] { return RunPrivileged(socketPath, command); };
}

void Host::install(Host* host)
{
    installed = host;
}

ScopedHost::ScopedHost(Host& host) : previous_(installed)
{
    Host::install(&host);
}

ScopedHost::~ScopedHost()
{
    Host::install(previous_);
}

} // namespace Ucomtc
