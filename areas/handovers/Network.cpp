#include "areas/handovers/Network.h"

#include "areas/handovers/Constants.h"
#include "machine/Host.h"

namespace Ucomtc {

bool OnlyWirelessAdapters()
{
    Host& host = Host::current();
    const QString folder = QString::fromLatin1(NetClassFolder) + QLatin1Char('/');
    bool any = false;
    for (const QString& name : host.ListFolder(QString::fromLatin1(NetClassFolder))) {
        if (host.ListFolder(folder + name + QStringLiteral("/device")).isEmpty())
            continue;
        const auto uevent = host.ReadTextFile(folder + name + QStringLiteral("/uevent"));
        if (!uevent ||
            !QString::fromUtf8(*uevent).split(QLatin1Char('\n')).contains(QStringLiteral("DEVTYPE=wlan")))
            return false;
        any = true;
    }
    return any;
}

} // namespace Ucomtc
