#include "areas/handovers/HandOvers.h"

#include "areas/handovers/Network.h"
#include "machine/Capture.h"
#include "machine/Constants.h"
#include "machine/Desktop.h"
#include "machine/Host.h"
#include "machine/ShellWord.h"

#include <algorithm>

namespace Ucomtc {

namespace {

const HandOverWay& WayOf(Setting setting)
{
    return *std::find_if(std::cbegin(HandOverWays), std::cend(HandOverWays),
                         [setting](const HandOverWay& way) { return way.setting == setting; });
}

// Whether the old desktop's tool is there: whereis knows yast2 and /sbin/yast2 exists (looked at
// only once whereis has found it), or whereis knows kcmshell.
bool OldToolInstalled(OldTool tool, Messages& messages)
{
    if (tool == OldTool::Kcmshell)
        return CommandExists(QStringLiteral("kcmshell"), messages);
    return CommandExists(QStringLiteral("yast2"), messages) &&
           Host::current().FileExists(QStringLiteral("/sbin/yast2"));
}

// The shell finds firefox on the PATH; so does this, with file tests through the host.
bool OnPath(const QString& program)
{
    Host& host = Host::current();
    const QStringList directories =
        host.GetEnv("PATH").value_or(QString()).split(QLatin1Char(':'), Qt::SkipEmptyParts);
    return std::any_of(directories.cbegin(), directories.cend(), [&](const QString& directory) {
        return host.FileExists(directory + QLatin1Char('/') + program);
    });
}

} // namespace

QString MachineHandOvers::DesktopSettingsLine(const DesktopSettings& settings, Messages& messages)
{
    switch (CurrentDesktop()) {
    case Desktop::Plasma: {
        // kcmshell5 cannot load a later Plasma's modules; a session that does not say may be 5.27's.
        const int version = PlasmaSessionVersion();
        const PlasmaSettingsTools& tools = version == 5 ? Plasma5SettingsTools : Plasma6SettingsTools;
        const QString tool = version == 0
                                 ? FirstInstalled({"kcmshell6", "kcmshell5", "systemsettings"}, messages)
                                 : FirstInstalled({tools.kcmshell, "systemsettings"}, messages);
        if (tool.isEmpty()) {
            messages.append({MessageKind::Error, QString::fromLatin1(tools.missing)});
            return QString();
        }
        return tool + QLatin1Char(' ') + QString::fromLatin1(settings.plasmaModule);
    }
    case Desktop::Gnome: {
        if (!CommandExists(QStringLiteral("gnome-control-center"), messages)) {
            messages.append({MessageKind::Error, QString::fromLatin1(MsgNoGnomeControlCenter)});
            return QString();
        }
        const QString panel = GnomePanel(settings, messages);
        // Without ModemManager GNOME has no modem panel to show; a bus that cannot be asked
        // leaves it to GNOME.
        if (settings.needsModemManager) {
            const QString capture = QString::fromLatin1(CommandCaptureFile);
            if (CaptureFirstLine(AsTheUser, QLatin1String(ModemManagerOwnerQuery) + capture, capture,
                                 AsTheUser, messages) == QLatin1String("(false,)")) {
                messages.append({MessageKind::Plain, QString::fromLatin1(MsgNoModemManager)});
                return QString();
            }
        }
        return QStringLiteral("gnome-control-center ") + panel;
    }
    case Desktop::Other:
        break;
    }
    return QString();
}

// GNOME's panel for `settings`: today's, else GNOME 43's where the installed gnome-control-center
// lists no panel of today's.
QString MachineHandOvers::GnomePanel(const DesktopSettings& settings, Messages& messages)
{
    if (!gnomePanels_) {
        const QString capture = QString::fromLatin1(CommandCaptureFile);
        gnomePanels_ =
            CaptureFirstLine(AsTheUser, QLatin1String(GnomePanelList) + capture, capture, AsTheUser, messages)
                .split(QLatin1Char(' '), Qt::SkipEmptyParts);
    }
    const QString today = QString::fromLatin1(settings.gnomeWirelessPanel && OnlyWirelessAdapters()
                                                  ? settings.gnomeWirelessPanel
                                                  : settings.gnomePanel);
    if (settings.olderGnomePanel != nullptr && !gnomePanels_->isEmpty() &&
        !gnomePanels_->contains(today.section(QLatin1Char(' '), 0, 0)))
        return QString::fromLatin1(settings.olderGnomePanel);
    return today;
}

Launch MachineHandOvers::Start(Setting setting)
{
    Host& host = Host::current();
    const HandOverWay& way = WayOf(setting);
    Launch launch;
    if (way.addOnScript != nullptr && host.FileExists(QString::fromLatin1(way.addOnScript))) {
        host.System(QString::fromLatin1(way.addOnScript) + QStringLiteral(" start")); // waited for: no "&"
        launch.started = Started::OldTool;
        return launch;
    }
    if (OldToolInstalled(way.oldTool, launch.messages)) {
        const QString line = QString::fromLatin1(way.oldLine);
        // A control module reads the person's settings: as root with another user's home it runs
        // as that user. A YaST2 module is root's business.
        if (way.oldTool == OldTool::Kcmshell)
            RunCommand(AsTheUser, line, launch.messages);
        else if (way.asksForRoot)
            host.RunShell(line);
        else
            host.System(line);
        launch.started = Started::OldTool;
        return launch;
    }
    if (way.desktop == nullptr) {
        // Desktops of today have no infrared settings: the kernel dropped IrDA.
        if (CurrentDesktop() != Desktop::Other)
            launch.messages.append({MessageKind::Plain, QString::fromLatin1(MsgNoInfrared)});
        else
            launch.messages.append({MessageKind::Error, QString::fromLatin1(MsgYastNotFound)});
        return launch;
    }
    const QString line = DesktopSettingsLine(*way.desktop, launch.messages);
    if (line.isEmpty()) {
        // Today's desktops have said what they lack; elsewhere the old tool is what is missing.
        if (CurrentDesktop() == Desktop::Other)
            launch.messages.append({MessageKind::Error,
                                    QString::fromLatin1(way.oldTool == OldTool::Kcmshell ? MsgKcmshellNotFound
                                                                                         : MsgYastNotFound)});
        return launch;
    }
    // The settings tools read the person's settings: as root with another user's home, they run as
    // its owner, so that nothing that user's files decide runs with root's rights.
    RunCommand(AsTheUser, line + QStringLiteral(" &"), launch.messages);
    launch.started = Started::DesktopTool;
    return launch;
}

Messages MachineHandOvers::ShowHelp(const HelpPage& page)
{
    // The browser and the desktop's opener take their add-ons and the program they start from the
    // home's settings: as root with another user's home, they run as its owner.
    Messages messages;
    if (OnPath(QStringLiteral("firefox"))) {
        RunCommand(AsTheUser, QString::fromLatin1(page.command), messages);
        return messages;
    }
    const QString path = QString::fromLatin1(page.path);
    bool opened = false;
    if (ForeignHomeOwner()) {
        opened = OnPath(QStringLiteral("xdg-open"));
        if (opened)
            RunCommand(AsTheUser, QStringLiteral("xdg-open ") + ShellWord(path) + QStringLiteral(" &"),
                       messages);
    } else {
        opened = Host::current().OpenFile(path);
    }
    if (!opened)
        messages.append({MessageKind::Error, QString::fromLatin1(MsgHelpNotShown) + path});
    return messages;
}

} // namespace Ucomtc
