// The hand-overs through the host seam: what each setting starts with the notebook's add-on scripts,
// the old desktop's tools and today's settings tools, what it says without any, and how a help page
// is opened, also as root with another user's home.
#include "areas/handovers/HandOvers.h"
#include "machine/Host.h"
#include "tests/support/FakeAreas.h"
#include "tests/support/FakeHost.h"
#include "widgets/MessageBox.h"

#include <QTemporaryDir>
#include <QTest>
#include <unistd.h>

using namespace Ucomtc;

namespace {

const QString YastMissing = QStringLiteral("error: ") + QString::fromLatin1(MsgYastNotFound);
const QString KcmshellMissing = QStringLiteral("error: ") + QString::fromLatin1(MsgKcmshellNotFound);
const QString Index = QString::fromLatin1(HelpIndex.path);
// Parts of gnome-control-center --list in GNOME 48.4 (Debian 13) and 43.6 (Debian 12), as read.
const char* const Gnome48 = "panels: display mouse network power printers privacy sound system wifi wwan";
const char* const Gnome43 =
    "panels: display mouse network power printers screen sound user-accounts wifi wwan";
const QString ListPanels =
    QStringLiteral("system: ") + QLatin1String(GnomePanelList) + QStringLiteral("/tmp/command");
const QString AskModemManager =
    QStringLiteral("system: ") + QLatin1String(ModemManagerOwnerQuery) + QStringLiteral("/tmp/command");
const QStringList Listed = {ListPanels, QStringLiteral("system: rm /tmp/command")};

QString Error(const char* text)
{
    return QStringLiteral("error: ") + QLatin1String(text);
}

QStringList Asked(std::initializer_list<const char*> names)
{
    QStringList lines;
    for (const char* name : names)
        lines << QStringLiteral("system: whereis ") + QLatin1String(name) + QStringLiteral(" >/tmp/command")
              << QStringLiteral("system: rm /tmp/command");
    return lines;
}

// Sets the machine up as `machine` says: the names whereis knows ("yast2"), the files that exist
// ("/sbin/yast2"), NAME=VALUE in the environment, "wlan NAME", "wired NAME" and "virtual NAME" network
// interfaces, "NAME on the PATH" (/usr/bin, the only folder there), "root with a user's home" (`home`),
// "panels: NAME..." that gnome-control-center lists, "ModemManager stopped" on the system bus.
void SetUp(FakeHost& host, const QStringList& machine, const QTemporaryDir& home)
{
    for (const char* name :
         {"yast2", "kcmshell", "kcmshell6", "kcmshell5", "systemsettings", "gnome-control-center"})
        host.Whereis(QString::fromLatin1(name), machine.contains(QLatin1String(name)));
    for (const char* path : {"/sbin/yast2", "/opt/lapstone/pm/pm.sh", "/opt/lapstone/ac/ac.sh"})
        host.files.insert(QString::fromLatin1(path), machine.contains(QLatin1String(path)));
    host.environment.insert(QStringLiteral("PATH"), QStringLiteral("/usr/bin"));
    for (const char* program : {"firefox", "xdg-open"})
        host.files.insert(QStringLiteral("/usr/bin/") + QLatin1String(program),
                          machine.contains(QLatin1String(program) + QStringLiteral(" on the PATH")));
    for (const QString& word : machine) {
        const QString kind = word.section(QLatin1Char(' '), 0, 0);
        const QString name = word.section(QLatin1Char(' '), 1, 1);
        const QString net = QStringLiteral("/sys/class/net/") + name;
        const bool panels = kind == QLatin1String("panels:");
        if (panels || word == QLatin1String("ModemManager stopped")) {
            const QString output = panels ? word.section(QLatin1Char(' '), 1) : QStringLiteral("(false,)");
            host.answers.insert((panels ? ListPanels : AskModemManager).mid(8), [output] {
                FakeHost::WriteFile(QStringLiteral("/tmp/command"), output.toUtf8() + '\n');
                return 0;
            });
        } else if (word.contains(QLatin1Char('='))) {
            host.environment.insert(word.section(QLatin1Char('='), 0, 0), word.section(QLatin1Char('='), 1));
        } else if (word == QLatin1String("root with a user's home")) {
            QVERIFY(::chown(QFile::encodeName(home.path()).constData(), 1000, 1000) == 0);
            host.uid = 0;
            host.environment.insert(QStringLiteral("HOME"), home.path());
        } else if (kind == QLatin1String("wlan") || kind == QLatin1String("wired")) {
            host.texts.insert(net + QStringLiteral("/uevent"),
                              (kind == QLatin1String("wlan") ? "DEVTYPE=wlan\nINTERFACE=" : "INTERFACE=") +
                                  name.toUtf8() + '\n');
            host.texts.insert(net + QStringLiteral("/device/uevent"), "DRIVER=e1000e\n");
        } else if (kind == QLatin1String("virtual")) {
            host.texts.insert(net + QStringLiteral("/uevent"), "INTERFACE=" + name.toUtf8() + '\n');
        }
    }
}

} // namespace

class HandOversTest : public QObject
{
    Q_OBJECT

private slots:
    void startsWhatConfiguresTheSetting_data();
    void startsWhatConfiguresTheSetting();
    void todaysSettingsToolOfEverySetting_data();
    void todaysSettingsToolOfEverySetting();
    void helpOpensInTheBrowserOrTheOpener_data();
    void helpOpensInTheBrowserOrTheOpener();
};

void HandOversTest::startsWhatConfiguresTheSetting_data()
{
    QTest::addColumn<int>("setting");
    QTest::addColumn<QStringList>("machine");
    QTest::addColumn<QStringList>("expected"); // the record, the messages as the boxes write them
    QTest::addColumn<int>("started");

    const QStringList yast2 = {"yast2", "/sbin/yast2"};
    const QStringList askYast = Asked({"yast2"});
    const QStringList AskGnome = Asked({"gnome-control-center"}) + Listed;
    const auto row = [](const char* name, Setting setting, const QStringList& machine,
                        const QStringList& expected, Started started) {
        QTest::newRow(name) << int(setting) << machine << expected << int(started);
    };
    // The old desktop: its YaST2 modules through kdesu, its control modules.
    row("Audio", Setting::Audio, yast2, askYast + QStringList{"system: kdesu -c /sbin/yast2 sound &"},
        Started::OldTool);
    row("Modem", Setting::Modem, yast2, askYast + QStringList{"system: kdesu -c /sbin/yast2 modem &"},
        Started::OldTool);
    row("Infrared", Setting::Infrared, yast2, askYast + QStringList{"system: kdesu -c /sbin/yast2 irda &"},
        Started::OldTool);
    row("Power Manager", Setting::PowerManager, yast2,
        askYast + QStringList{"system: kdesu -c /sbin/yast2 power-management &"}, Started::OldTool);
    row("Network Adapter", Setting::NetworkAdapter, yast2,
        askYast + QStringList{"system: kdesu -c /sbin/yast2 lan &"}, Started::OldTool);
    row("Users", Setting::Users, yast2, askYast + QStringList{"system: kdesu -c /sbin/yast2 users &"},
        Started::OldTool);
    // The mouse module asks for root in a child of its own.
    row("Mouse", Setting::Mouse, yast2, askYast + QStringList{"shell: kdesu -c /sbin/yast2 mouse &"},
        Started::OldTool);
    row("touchpad's Mouse", Setting::TouchpadMouse, yast2,
        askYast + QStringList{"shell: kdesu -c /sbin/yast2 mouse &"}, Started::OldTool);
    row("Display", Setting::Display, {"kcmshell"},
        Asked({"kcmshell"}) + QStringList{"system: kcmshell --caption Desktop kde-display > /dev/null&"},
        Started::OldTool);
    row("Screen Saver", Setting::ScreenSaver, {"kcmshell"},
        Asked({"kcmshell"}) + QStringList{"system: kcmshell screensaver &"}, Started::OldTool);
    // The add-on scripts go first, and are waited for.
    row("Power Manager, add-on script", Setting::PowerManager, yast2 + QStringList{"/opt/lapstone/pm/pm.sh"},
        {"system: /opt/lapstone/pm/pm.sh start"}, Started::OldTool);
    row("Network Adapter, add-on script", Setting::NetworkAdapter, {"/opt/lapstone/ac/ac.sh"},
        {"system: /opt/lapstone/ac/ac.sh start"}, Started::OldTool);
    // Without the tools; /sbin/yast2 counts only with whereis knowing yast2.
    row("Audio without yast2", Setting::Audio, {"/sbin/yast2"}, askYast + QStringList{YastMissing},
        Started::Nothing);
    row("Infrared, yast2 but no /sbin/yast2", Setting::Infrared, {"yast2"},
        askYast + QStringList{YastMissing}, Started::Nothing);
    row("Network Adapter without anything", Setting::NetworkAdapter, {}, askYast + QStringList{YastMissing},
        Started::Nothing);
    row("Display without kcmshell", Setting::Display, {}, Asked({"kcmshell"}) + QStringList{KcmshellMissing},
        Started::Nothing);
    row("Screen Saver without kcmshell", Setting::ScreenSaver, {},
        Asked({"kcmshell"}) + QStringList{KcmshellMissing}, Started::Nothing);

    // Desktops of today, where the old tools are missing: their own settings tools take over.
    row("Audio under Plasma 5", Setting::Audio, {"XDG_CURRENT_DESKTOP=KDE", "kcmshell5"},
        askYast + Asked({"kcmshell6", "kcmshell5"}) + QStringList{"system: kcmshell5 kcm_pulseaudio &"},
        Started::DesktopTool);
    row("Network Adapter under Plasma 6", Setting::NetworkAdapter,
        {"XDG_CURRENT_DESKTOP=KDE", "kcmshell6", "kcmshell5"},
        askYast + Asked({"kcmshell6"}) + QStringList{"system: kcmshell6 kcm_networkmanagement &"},
        Started::DesktopTool);
    // Plasma 6 cannot use kcmshell5's modules: systemsettings, else what is missing.
    row("Display under Plasma 6 without kcmshell6", Setting::Display,
        {"XDG_CURRENT_DESKTOP=KDE", "KDE_SESSION_VERSION=6", "kcmshell5", "systemsettings"},
        Asked({"kcmshell", "kcmshell6", "systemsettings"}) +
            QStringList{"system: systemsettings kcm_kscreen &"},
        Started::DesktopTool);
    row("Display under Plasma 6 without its tools", Setting::Display,
        {"XDG_CURRENT_DESKTOP=KDE", "KDE_SESSION_VERSION=6", "kcmshell5"},
        Asked({"kcmshell", "kcmshell6", "systemsettings"}) + QStringList{Error(Plasma6SettingsTools.missing)},
        Started::Nothing);
    row("Display under GNOME", Setting::Display, {"XDG_CURRENT_DESKTOP=ubuntu:GNOME", "gnome-control-center"},
        Asked({"kcmshell", "gnome-control-center"}) + Listed +
            QStringList{"system: gnome-control-center display &"},
        Started::DesktopTool);
    // The loopback has no device behind it; a wired adapter, or none at all, keeps the network panel.
    row("Network Adapter under GNOME, wireless only", Setting::NetworkAdapter,
        {"XDG_CURRENT_DESKTOP=GNOME", "gnome-control-center", "wlan wlp3s0", "virtual lo"},
        askYast + AskGnome + QStringList{"system: gnome-control-center wifi &"}, Started::DesktopTool);
    row("Network Adapter under GNOME, wired too", Setting::NetworkAdapter,
        {"XDG_CURRENT_DESKTOP=GNOME", "gnome-control-center", "wlan wlp3s0", "wired enp0s25"},
        askYast + AskGnome + QStringList{"system: gnome-control-center network &"}, Started::DesktopTool);
    row("Network Adapter under GNOME, no adapter", Setting::NetworkAdapter,
        {"XDG_CURRENT_DESKTOP=GNOME", "gnome-control-center"},
        askYast + AskGnome + QStringList{"system: gnome-control-center network &"}, Started::DesktopTool);
    row("Modem under GNOME without its tool", Setting::Modem, {"XDG_CURRENT_DESKTOP=GNOME"},
        askYast + Asked({"gnome-control-center"}) + QStringList{Error(MsgNoGnomeControlCenter)},
        Started::Nothing);
    // GNOME 43's panels where its --list lacks GNOME 48's; no modem panel without ModemManager.
    row("Users under GNOME 43", Setting::Users,
        {"XDG_CURRENT_DESKTOP=GNOME", "gnome-control-center", Gnome43},
        askYast + AskGnome + QStringList{"system: gnome-control-center user-accounts &"},
        Started::DesktopTool);
    row("Modem under GNOME without ModemManager", Setting::Modem,
        {"XDG_CURRENT_DESKTOP=GNOME", "gnome-control-center", Gnome48, "ModemManager stopped"},
        askYast + AskGnome +
            QStringList{AskModemManager, "system: rm /tmp/command",
                        QStringLiteral("plain: ") + QLatin1String(MsgNoModemManager)},
        Started::Nothing);
    row("Infrared under Plasma", Setting::Infrared, {"XDG_CURRENT_DESKTOP=KDE", "kcmshell5"},
        askYast + QStringList{QStringLiteral("plain: ") + QString::fromLatin1(MsgNoInfrared)},
        Started::Nothing);

    // As root with another user's home, what reads the person's settings runs as the home's owner;
    // a YaST2 module is root's business.
    row("Screen Saver as root", Setting::ScreenSaver, {"kcmshell", "root with a user's home"},
        Asked({"kcmshell"}) + QStringList{"as 1000: kcmshell screensaver &"}, Started::OldTool);
    row("Users as root", Setting::Users, yast2 + QStringList{"root with a user's home"},
        askYast + QStringList{"system: kdesu -c /sbin/yast2 users &"}, Started::OldTool);
    row("Mouse under Plasma as root", Setting::Mouse,
        {"XDG_CURRENT_DESKTOP=KDE", "kcmshell5", "root with a user's home"},
        askYast + Asked({"kcmshell6", "kcmshell5"}) + QStringList{"as 1000: kcmshell5 kcm_mouse &"},
        Started::DesktopTool);
}

void HandOversTest::startsWhatConfiguresTheSetting()
{
    QFETCH(int, setting);
    QFETCH(QStringList, machine);
    QFETCH(QStringList, expected);
    QFETCH(int, started);
    FakeHost host;
    ScopedHost scope(host);
    QTemporaryDir home;
    SetUp(host, machine, home);

    const Launch launch = MachineHandOvers().Start(Setting(setting));
    ShowMessages(launch.messages);

    QCOMPARE(host.log, expected);
    QCOMPARE(int(launch.started), started);
    // /sbin/yast2 is looked at only once whereis has found yast2.
    QCOMPARE(host.fileTests.contains(QStringLiteral("/sbin/yast2")),
             machine.contains(QStringLiteral("yast2")) && expected.first().contains(QLatin1String("yast2")));
    QVERIFY(!QFile::exists(FakeHost::Real(QStringLiteral("/tmp/command"))));
}

void HandOversTest::todaysSettingsToolOfEverySetting_data()
{
    QTest::addColumn<int>("setting");
    QTest::addColumn<QString>("plasma"); // kcmshell6's module
    QTest::addColumn<QString>("gnome");  // gnome-control-center's panel in GNOME 48
    const std::tuple<Setting, const char*, const char*> tools[] = {
        {Setting::Audio, "kcm_pulseaudio", "sound"},
        {Setting::Modem, "kcm_networkmanagement", "wwan"},
        {Setting::Display, "kcm_kscreen", "display"},
        {Setting::PowerManager, "kcm_powerdevilprofilesconfig", "power"},
        {Setting::NetworkAdapter, "kcm_networkmanagement", "network"},
        {Setting::Mouse, "kcm_mouse", "mouse"},
        {Setting::TouchpadMouse, "kcm_touchpad", "mouse"},
        {Setting::Users, "kcm_users", "system users"},
        {Setting::ScreenSaver, "kcm_screenlocker", "privacy screenlock"},
    };
    for (const auto& [setting, plasma, gnome] : tools)
        QTest::newRow(qPrintable(SettingName(setting))) << int(setting) << plasma << gnome;
}

void HandOversTest::todaysSettingsToolOfEverySetting()
{
    QFETCH(int, setting);
    QFETCH(QString, plasma);
    QFETCH(QString, gnome);
    for (const auto& [desktop, line] :
         {std::pair{"KDE", QStringLiteral("kcmshell6 ") + plasma},
          std::pair{"GNOME", QStringLiteral("gnome-control-center ") + gnome}}) {
        FakeHost host;
        ScopedHost scope(host);
        QTemporaryDir home;
        SetUp(
            host,
            {QStringLiteral("XDG_CURRENT_DESKTOP=") + desktop, "kcmshell6", "gnome-control-center", Gnome48},
            home);
        MachineHandOvers handOvers;
        for (int time = 0; time < 2; ++time) { // GNOME is asked for its panels once
            const Launch launch = handOvers.Start(Setting(setting));
            QVERIFY(launch.messages.isEmpty());
            QCOMPARE(launch.started, Started::DesktopTool);
            QCOMPARE(host.log.last(), QStringLiteral("system: ") + line + QStringLiteral(" &"));
        }
        QCOMPARE(host.log.count(ListPanels), desktop == QLatin1String("GNOME") ? 1 : 0);
    }
}

void HandOversTest::helpOpensInTheBrowserOrTheOpener_data()
{
    QTest::addColumn<QStringList>("machine");
    QTest::addColumn<bool>("opens"); // the desktop's opener, when asked
    QTest::addColumn<QStringList>("expected");

    const QString missing = QStringLiteral("error: cannot open the help page ") + Index;
    const QString firefox =
        QStringLiteral(": firefox -width 800 -height 600 ") + Index + QStringLiteral(" &");
    QTest::newRow("firefox") << QStringList{"firefox on the PATH"} << true
                             << QStringList{QStringLiteral("system") + firefox};
    QTest::newRow("the desktop's opener")
        << QStringList{} << true << QStringList{QStringLiteral("open: ") + Index};
    QTest::newRow("neither") << QStringList{} << false
                             << QStringList{QStringLiteral("open: ") + Index, missing};
    // As root with another user's home: both as the home's owner, the opener as xdg-open on the PATH.
    QTest::newRow("firefox as root") << QStringList{"firefox on the PATH", "root with a user's home"} << true
                                     << QStringList{QStringLiteral("as 1000") + firefox};
    QTest::newRow("xdg-open as root")
        << QStringList{"xdg-open on the PATH", "root with a user's home"} << true
        << QStringList{QStringLiteral("as 1000: xdg-open ") + Index + QStringLiteral(" &")};
    QTest::newRow("neither as root") << QStringList{"root with a user's home"} << true
                                     << QStringList{missing};
}

void HandOversTest::helpOpensInTheBrowserOrTheOpener()
{
    QFETCH(QStringList, machine);
    QFETCH(bool, opens);
    QFETCH(QStringList, expected);
    FakeHost host;
    ScopedHost scope(host);
    QTemporaryDir home;
    SetUp(host, machine, home);
    host.openFileWorks = opens;

    ShowMessages(MachineHandOvers().ShowHelp(HelpIndex));
    QCOMPARE(host.log, expected);
}

QTEST_MAIN(HandOversTest)
#include "HandOversTest.moc"
