#include "services/Launches.h"

#include "machine/Host.h"
#include "services/Commands.h"
#include "services/Constants.h"
#include "widgets/MessageBox.h"

#include <algorithm>

namespace Ucomtc {

bool Yast2Available()
{
    if (CommandExists(QStringLiteral("yast2")) && FileExists(QStringLiteral("/sbin/yast2")))
        return true;
    ShowError(QString::fromLatin1(MsgYastNotFound));
    return false;
}

namespace {

// The shell finds firefox on the PATH; so does this, with file tests through the host.
bool OnPath(const QString& program)
{
    const QStringList directories =
        Host::current().GetEnv("PATH").value_or(QString()).split(QLatin1Char(':'), Qt::SkipEmptyParts);
    return std::any_of(directories.cbegin(), directories.cend(), [&](const QString& directory) {
        return FileExists(directory + QLatin1Char('/') + program);
    });
}

} // namespace

void ShowHelpPage(const HelpPage& page)
{
    if (OnPath(QStringLiteral("firefox"))) {
        System(QString::fromLatin1(page.command));
        return;
    }
    const QString path = QString::fromLatin1(page.path);
    if (!Host::current().OpenFile(path))
        ShowError(QString::fromLatin1(MsgHelpNotShown) + path);
}

} // namespace Ucomtc
