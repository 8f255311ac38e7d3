#include "machine/Desktop.h"

#include "machine/Host.h"

namespace Ucomtc {

Desktop CurrentDesktop()
{
    // A list separated by colons, such as "ubuntu:GNOME".
    const QStringList names =
        Host::current().GetEnv("XDG_CURRENT_DESKTOP").value_or(QString()).split(QLatin1Char(':'));
    if (names.contains(QStringLiteral("KDE"), Qt::CaseInsensitive))
        return Desktop::Plasma;
    if (names.contains(QStringLiteral("GNOME"), Qt::CaseInsensitive))
        return Desktop::Gnome;
    return Desktop::Other;
}

bool X11Session()
{
    return Host::current().GetEnv("XDG_SESSION_TYPE") == QStringLiteral("x11");
}

int PlasmaSessionVersion()
{
    return Host::current().GetEnv("KDE_SESSION_VERSION").value_or(QString()).toInt();
}

} // namespace Ucomtc
