#include "machine/Host.h"

#include "machine/LibcHost.h"

namespace Ucomtc {
namespace {

Host* installed = nullptr;

} // namespace

Host& Host::current()
{
    static LibcHost production;
    return installed != nullptr ? *installed : production;
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
