#include "services/Launches.h"

#include "machine/Host.h"
#include "machine/ShellWord.h"
#include "readers/Network.h"
#include "services/Commands.h"
#include "services/Constants.h"
#include "widgets/MessageBox.h"

#include <algorithm>

namespace Ucomtc {

bool Yast2Installed()
{
    return CommandExists(QStringLiteral("yast2")) && FileExists(QStringLiteral("/sbin/yast2"));
}

bool HandOverToDesktop(const DesktopSettings& settings)
{
    QString line;
    switch (CurrentDesktop()) {
    case Desktop::Plasma:
        line = FirstInstalled({"kcmshell6", "kcmshell5"});
        if (!line.isEmpty())
            line += QLatin1Char(' ') + QString::fromLatin1(settings.plasmaModule);
        break;
    case Desktop::Gnome:
        if (CommandExists(QStringLiteral("gnome-control-center")))
            line = QStringLiteral("gnome-control-center ") +
                   QString::fromLatin1(settings.gnomeWirelessPanel && OnlyWirelessAdapters()
                                           ? settings.gnomeWirelessPanel
                                           : settings.gnomePanel);
        break;
    case Desktop::Other:
        break;
    }
    if (line.isEmpty())
        return false;
    // The settings tools read the person's settings: as root with another user's home, they run as
    // its owner, so that nothing that user's files decide runs with root's rights.
    RunCommand(AsTheUser, line + QStringLiteral(" &"));
    return true;
}

void StartYast2ModuleOrDesktop(const QString& yast2Command, const DesktopSettings& settings, bool runShell)
{
    if (Yast2Installed()) {
        if (runShell)
            RunShell(yast2Command);
        else
            System(yast2Command);
    } else if (!HandOverToDesktop(settings)) {
        ShowError(QString::fromLatin1(MsgYastNotFound));
    }
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
    // The browser and the desktop's opener take their add-ons and the program they start from the
    // home's settings: as root with another user's home, they run as its owner.
    if (OnPath(QStringLiteral("firefox"))) {
        RunCommand(AsTheUser, QString::fromLatin1(page.command));
        return;
    }
    const QString path = QString::fromLatin1(page.path);
    bool opened = false;
    if (ForeignHomeOwner()) {
        opened = OnPath(QStringLiteral("xdg-open"));
        if (opened)
            RunCommand(AsTheUser, QStringLiteral("xdg-open ") + ShellWord(path) + QStringLiteral(" &"));
    } else {
        opened = Host::current().OpenFile(path);
    }
    if (!opened)
        ShowError(QString::fromLatin1(MsgHelpNotShown) + path);
}

} // namespace Ucomtc
