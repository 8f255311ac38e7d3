#include "Driver.h"
#include "ScenarioHost.h"
#include "Scenarios.h"
#include "SimPaths.h"
#include "Transcript.h"

#include "app/MainForm.h"
#include "areas/handovers/Constants.h"
#include "machine/Constants.h"

#include <QAbstractButton>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QToolButton>
#include <unistd.h>

namespace {

const QString StoredDmi = QStringLiteral("/tmp/StoredDmi");
const QString DaemonMessage = QString::fromLatin1(Ucomtc::MsgDaemonNotStarted);
const QString YastMessage = QStringLiteral("command yast is not found or no /sbin/yast2 file or directory");

QStringList ReadLines(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

// The tool buttons, with what a click starts when every tool is installed.
struct ToolButton
{
    const char* button;
    const char* caption;
    const char* toolLine;
    const char* missingMessage;
};
const ToolButton ToolLaunches[] = {
    {"SpdButtonDisplay", "Display", "kcmshell --caption Desktop kde-display", "command kcmshell not found"},
    {"SpdButtonAudio", "Audio", "kdesu -c /sbin/yast2 sound", nullptr},
    {"SpdButtonModem", "Internet Modem", "kdesu -c /sbin/yast2 modem", nullptr},
    {"SpdButtonInfra", "Infrared", "kdesu -c /sbin/yast2 irda", nullptr},
    {"SpdButtonPower", "Power Manager", "kdesu -c /sbin/yast2 power-management", nullptr},
    {"SpdButtonLan", "Network Adapter", "kdesu -c /sbin/yast2 lan", nullptr},
};

// The same buttons on a desktop of today, by the settings each hands over to, and the security
// dialog's Users button.
const std::pair<const char*, const Ucomtc::DesktopSettings*> HandOverButtons[] = {
    {"SpdButtonDisplay", &Ucomtc::DisplaySettings}, {"SpdButtonAudio", &Ucomtc::AudioSettings},
    {"SpdButtonModem", &Ucomtc::ModemSettings},     {"SpdButtonPower", &Ucomtc::PowerSettings},
    {"SpdButtonLan", &Ucomtc::NetworkSettings},     {"ButtonUsrPwd", &Ucomtc::UserSettings},
};

const char* const CategoryButtons[] = {
    "SpdButtonSys",   "SpdButtonNubstick", "SpdButtonAudio", "SpdButtonDisplay", "SpdButtonModem",
    "SpdButtonTouch", "SpdButtonLan",      "SpdButtonPower", "SpdButtonInfra",   "SpdButtonSecure"};

void Startup(Driver& driver)
{
    driver.StartProgram();
    driver.ExpectMessages({}, QStringLiteral("start-up on a VELTOR notebook"));
    driver.Check(driver.host().commands().value(0) ==
                     QStringLiteral("privileged: dmidecode > /tmp/StoredDmi -> true"),
                 QStringLiteral("the daemon carried out the dump"));
    driver.Check(driver.mainForm()->isVisible(), QStringLiteral("the main window stays open"));
    const QFileInfo dump(StoredDmi);
    driver.Check(dump.exists() && dump.size() > 0 && dump.ownerId() == getuid(),
                 QStringLiteral("/tmp/StoredDmi holds the dump and belongs to the user"));
    auto* preview = driver.mainForm()->findChild<QLabel*>(QStringLiteral("Image1"));
    driver.Check(!preview->pixmap().isNull(), QStringLiteral("the start picture is shown"));

    driver.StopProgram();
    driver.Check(!QFile::exists(StoredDmi), QStringLiteral("closing removed /tmp/StoredDmi"));
    driver.ExpectMessages({}, QStringLiteral("closing"));
}

void ForeignVendor(Driver& driver)
{
    driver.StartProgram();
    driver.ExpectMessages({QStringLiteral("error: the device you are using is not from VELTOR")},
                          QStringLiteral("start-up on another vendor's notebook"));
    driver.Check(!driver.mainForm()->isVisible(),
                 QStringLiteral("the main window closed, so the program ends"));
    driver.Check(!QFile::exists(StoredDmi), QStringLiteral("the dump was removed on the way out"));
}

void NoDaemon(Driver& driver)
{
    driver.StartProgram();
    driver.ExpectMessages({QStringLiteral("plain: ") + DaemonMessage},
                          QStringLiteral("start-up without the daemon"));
    driver.Check(driver.mainForm()->isVisible(), QStringLiteral("the main window stays open"));
    driver.Click("SpdButtonDisplay");
    const QStringList started = driver.NewToolLines(1);
    driver.Check(started.size() == 1 && started.value(0).startsWith(QLatin1String("kcmshell")),
                 QStringLiteral("the window is usable: Display starts its tool"));
    driver.StopProgram();
    driver.ExpectMessages({}, QStringLiteral("closing without a dump"));
}

void AsRoot(Driver& driver)
{
    driver.Check(getuid() == 0, QStringLiteral("the program runs as root"));
    driver.StartProgram();
    driver.ExpectMessages({}, QStringLiteral("start-up as root"));
    const QFileInfo dump(StoredDmi);
    driver.Check(dump.exists() && dump.size() > 0 && dump.ownerId() == 0,
                 QStringLiteral("root wrote /tmp/StoredDmi itself"));
    driver.StopProgram();
    driver.Check(!QFile::exists(StoredDmi), QStringLiteral("closing removed /tmp/StoredDmi"));
    const QStringList daemonLog = ReadLines(QString::fromLatin1(SimDaemonLog));
    driver.Check(daemonLog.filter(QStringLiteral("StoredDmi")).isEmpty(),
                 QStringLiteral("the daemon was never asked (its log has no request)"));
}

void ToolButtons(Driver& driver)
{
    driver.StartProgram();
    driver.NewToolLines();
    for (const ToolButton& tool : ToolLaunches) {
        driver.Click(tool.button);
        const QStringList started = driver.NewToolLines(1);
        driver.ExpectMessages({}, QString::fromLatin1(tool.caption));
        driver.Check(started == QStringList{QString::fromLatin1(tool.toolLine)},
                     QString::fromLatin1(tool.caption) + QStringLiteral(" starts ") +
                         QString::fromLatin1(tool.toolLine));
    }
}

void MissingTools(Driver& driver)
{
    driver.StartProgram();
    driver.NewToolLines();
    for (const ToolButton& tool : ToolLaunches) {
        driver.Click(tool.button);
        const QString message =
            tool.missingMessage != nullptr ? QString::fromLatin1(tool.missingMessage) : YastMessage;
        driver.ExpectMessages({QStringLiteral("error: ") + message}, QString::fromLatin1(tool.caption));
        driver.Check(driver.NewToolLines().isEmpty(),
                     QString::fromLatin1(tool.caption) + QStringLiteral(" starts nothing"));
    }
}

// The panel GNOME shows, as it keeps it: org.gnome.Settings' last-panel in the notebook's keyfile.
QString GnomeShows()
{
    QFile keyfile(qEnvironmentVariable("HOME") + QStringLiteral("/.config/glib-2.0/settings/keyfile"));
    const QString text = keyfile.open(QIODevice::ReadOnly) ? QString::fromUtf8(keyfile.readAll()) : QString();
    return text.section(QLatin1String("last-panel='"), 1, 1).section(QLatin1Char('\''), 0, 0);
}

void DesktopHandOvers(Driver& driver)
{
    // Plasma's profiles have their session's kcmshell, GNOME's gnome-control-center (and only a
    // wireless adapter); neither yast2 nor kcmshell. GNOME must show the panel it was asked for.
    const bool plasma = qEnvironmentVariable("XDG_CURRENT_DESKTOP").contains(QLatin1String("KDE"));
    const QString kcmshell =
        qEnvironmentVariable("KDE_SESSION_VERSION") == QLatin1String("5") ? "kcmshell5 " : "kcmshell6 ";
    driver.StartProgram();
    driver.NewToolLines();
    for (const auto& [button, settings] : HandOverButtons) {
        if (settings == &Ucomtc::UserSettings)
            driver.ClickToOpen(driver.Button("SpdButtonSecure"), QStringLiteral("SecureForm1"),
                               [&](QWidget* form) {
                                   driver.Click(form->findChild<QAbstractButton*>(QLatin1String(button)));
                               });
        else
            driver.Click(button);
        driver.ExpectMessages({}, QString::fromLatin1(button));
        const QString started = driver.NewToolLines(1).join(QLatin1Char(';'));
        driver.Check(plasma ? started == kcmshell + QLatin1String(settings->plasmaModule)
                            : started.startsWith(QLatin1String("gnome-control-center ")) &&
                                  started.section(QLatin1Char(' '), 1, 1) == GnomeShows(),
                     QString::fromLatin1(button) + QStringLiteral(" hands over: ") + started +
                         (plasma ? QString() : QStringLiteral(", GNOME shows ") + GnomeShows()));
    }
    driver.Click("SpdButtonInfra");
    driver.ExpectMessages({QStringLiteral("plain: ") + QString::fromLatin1(Ucomtc::MsgNoInfrared)},
                          QStringLiteral("Infrared"));
    driver.Check(driver.NewToolLines().isEmpty(), QStringLiteral("Infrared starts nothing"));
}

// Today's desktop without what Internet Modem takes says so: Plasma installed without its
// recommended settings tools, GNOME without ModemManager.
void DesktopLacks(Driver& driver)
{
    driver.StartProgram();
    driver.Click("SpdButtonModem");
    driver.ExpectMessages(
        {qEnvironmentVariable("XDG_CURRENT_DESKTOP") == QLatin1String("KDE")
             ? QStringLiteral("error: ") + QLatin1String(Ucomtc::Plasma6SettingsTools.missing)
             : QStringLiteral("plain: ") + QLatin1String(Ucomtc::MsgNoModemManager)},
        QStringLiteral("Internet Modem"));
    driver.Check(driver.NewToolLines().isEmpty(), QStringLiteral("nothing was started"));
}

void AddOns(Driver& driver)
{
    driver.StartProgram();
    driver.NewToolLines();
    const std::pair<const char*, const char*> scripts[] = {{"SpdButtonPower", "pm.sh"},
                                                           {"SpdButtonLan", "ac.sh"}};
    for (const auto& [button, script] : scripts) {
        driver.Click(button);
        // The click returns only once the script has finished: both of its lines are there.
        const QStringList started = driver.NewToolLines();
        driver.ExpectMessages({}, QString::fromLatin1(script));
        driver.Check(started.size() == 2 && started.value(0).startsWith(QLatin1String(script)) &&
                         started.value(0).contains(QLatin1String("start")) &&
                         started.value(1).contains(QLatin1String("finished")),
                     QString::fromLatin1(script) + QStringLiteral(" ran with \"start\" and was waited for"));
        driver.Check(driver.host().commands() ==
                         QStringList{QStringLiteral("system: /opt/lapstone/") +
                                     QLatin1String(script[0] == 'p' ? "pm/" : "ac/") + QLatin1String(script) +
                                     QStringLiteral(" start")},
                     QString::fromLatin1(script) + QStringLiteral(" takes the place of the YaST2 module"));
    }
}

} // namespace

std::vector<Scenario> MainWindowScenarios()
{
    return {
        {"startup", Startup}, {"foreign-vendor", ForeignVendor}, {"no-daemon", NoDaemon},
        {"as-root", AsRoot},  {"tool-buttons", ToolButtons},     {"missing-tools", MissingTools},
        {"add-ons", AddOns},  {"desktop-lacks", DesktopLacks},   {"desktop-hand-overs", DesktopHandOvers}};
}

void TourMainWindow(Driver& driver)
{
    auto* preview = driver.mainForm()->findChild<QLabel*>(QStringLiteral("Image1"));
    for (const char* name : CategoryButtons) {
        const qint64 before = preview->pixmap().cacheKey();
        driver.Hover(name);
        driver.transcript().Line(QStringLiteral("pointer on ") +
                                 QString(driver.Button(name)->text()).remove(QLatin1Char('&')));
        driver.Check(preview->pixmap().cacheKey() != before, QStringLiteral("the preview picture changed"));
        driver.transcript().Screenshot(driver.mainForm(),
                                       QStringLiteral("preview ") + QString::fromLatin1(name));
    }
    for (const ToolButton& tool : ToolLaunches) {
        driver.Click(tool.button);
        driver.NewToolLines();
    }
}
