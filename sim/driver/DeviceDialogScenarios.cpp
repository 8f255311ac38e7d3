// The pointing stick's and the touchpad's dialogs, opened from the main window as a person would:
// what they read from the notebook, what OK and Apply change in the stick's rate file, the touchpad
// driver's state and the X server configuration, and the tools their other buttons start.
#include "Driver.h"
#include "ScenarioHost.h"
#include "Scenarios.h"
#include "Transcript.h"

#include "app/MainForm.h"
#include "areas/pointing/Constants.h"
#include "areas/pointing/PointingDevices.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <unistd.h>

using Ucomtc::DeviceStateText;
using Ucomtc::MsgNoStickSwitchOnGnome;

namespace {

const QString RateFile = QStringLiteral("/sys/devices/platform/i8042/serio0/serio2/rate");
const QString SynclientState = QStringLiteral("/run/lapstone-sim/machine/synclient.txt");
const QString XorgConf = QStringLiteral("/etc/X11/xorg.conf");
const QString ProfileXorgConf = QStringLiteral("/run/lapstone-sim/profile/xorg.conf");
const QString OptionLine = QStringLiteral("Option \"TouchpadOff\" \"1\"");
const QString YastMessage =
    QStringLiteral("error: command yast is not found or no /sbin/yast2 file or directory");
const QString DriverMessage =
    QStringLiteral("error: Nubstick driver does not exist. Maybe your Linux kernel version is too low");
const QString NotKept = QStringLiteral(" until the X server restarts. The setting could not be kept: ");
const QString NeedsRoot = QStringLiteral(
    "changing the X server configuration /etc/X11/xorg.conf needs the program to run as root.");

// The note after OK or Apply when the configuration does not keep the switch.
QString NotKeptMessage(const QString& choice, const QString& why)
{
    return QStringLiteral("plain: The touchpad is switched ") +
           (choice == QLatin1String("Disable") ? QStringLiteral("off") : QStringLiteral("on")) + NotKept +
           why;
}

struct Device
{
    const char* opener; // the main window's button
    const char* form;
    const char* captureFile;
    const char* helpPage;
};
const Device Nubstick{"SpdButtonNubstick", "NubstickFor", "/tmp/nubstick", "QRVNubstick.HTM"};
const Device Touchpad{"SpdButtonTouch", "TouchPadForm1", "/tmp/touchpad", "QRVTouchPad.HTM"};

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString RateNow()
{
    return QString::fromLatin1(ReadAll(RateFile)).trimmed();
}

// The TouchpadOff line of a listing.
QByteArray TouchpadLine(const QString& listing)
{
    for (const QByteArray& line : ReadAll(listing).split('\n')) {
        if (line.contains("TouchpadOff"))
            return line;
    }
    return QByteArray();
}

// The value synclient lists for TouchpadOff, from the driver's state.
// What the dialog says where synclient cannot reach the driver: nothing was switched now, and
// whether the configuration keeps the choice for the X server's next start.
QString NotNowMessage(const QString& choice, const char* notKept)
{
    return QStringLiteral("error: ") +
           QLatin1String(choice == QLatin1String("Disable") ? Ucomtc::MsgTouchpadOffNotNow
                                                            : Ucomtc::MsgTouchpadOnNotNow) +
           QLatin1String(notKept ? Ucomtc::MsgAndNotKept : Ucomtc::MsgButKept) +
           QLatin1String(notKept ? notKept : "");
}

const QString NotListed = QStringLiteral("error: ") + QLatin1String(Ucomtc::MsgTouchpadNotListed);

QString TouchpadOffNow()
{
    const QByteArray line = TouchpadLine(SynclientState);
    return line.isEmpty() ? QStringLiteral("(none)")
                          : QString::fromLatin1(line.mid(line.indexOf('=') + 1)).trimmed();
}

QComboBox* State(QWidget* form)
{
    return form->findChild<QComboBox*>(QStringLiteral("ComboBoxState"));
}

QPushButton* Button(QWidget* form, const char* name)
{
    return form->findChild<QPushButton*>(QLatin1String(name));
}

// Picks an entry with the keyboard, as a person would in a list without free text.
void Choose(Driver& driver, QWidget* form, const QString& entry)
{
    QComboBox* state = State(form);
    state->setFocus();
    // Steps towards the entry (from Unknown, the last entry, it is up); none when it is chosen.
    const int target = state->findText(entry);
    for (int steps = 0; target >= 0 && target != state->currentIndex() && steps < state->count(); ++steps)
        QTest::keyClick(state, target < state->currentIndex() ? Qt::Key_Up : Qt::Key_Down);
    driver.transcript().Line(QStringLiteral("choose ") + state->currentText());
    driver.Check(state->currentText() == entry, QStringLiteral("the list shows ") + entry);
}

// Opens the device's dialog, checks what it shows and that its capture file is gone, runs `inside`
// and makes sure the dialog was closed.
void Open(Driver& driver, const Device& device, const QString& shown, const QStringList& messages,
          const std::function<void(QWidget*)>& inside)
{
    driver.ClickToOpen(driver.Button(device.opener), QString::fromLatin1(device.form), [&](QWidget* form) {
        driver.transcript().Window(form, QString::fromLatin1(device.form));
        driver.ExpectMessages(messages, QStringLiteral("showing ") + QString::fromLatin1(device.form));
        if (!shown.isEmpty())
            driver.Check(State(form)->currentText() == shown, QStringLiteral("the list shows ") + shown);
        driver.Check(!QFile::exists(QString::fromLatin1(device.captureFile)),
                     QString::fromLatin1(device.captureFile) + QStringLiteral(" is gone after the showing"));
        inside(form);
    });
}

// Apply switches and leaves the dialog open; OK switches and closes it.
void Press(Driver& driver, QWidget* form, const char* button, const QStringList& messages = {})
{
    driver.Click(Button(form, button));
    driver.ExpectMessages(messages, QString::fromLatin1(button));
    driver.Check(form->isVisible() == (QLatin1String(button) != QLatin1String("ButtonOK")),
                 QLatin1String(button) == QLatin1String("ButtonOK")
                     ? QStringLiteral("OK closed the dialog")
                     : QStringLiteral("the dialog stays open"));
}

void StartsTools(Driver& driver, QWidget* form, const Device& device)
{
    driver.NewToolLines();
    driver.Click(Button(form, "ButtonMouse"));
    driver.ExpectMessages({}, QStringLiteral("Mouse Properties"));
    driver.Check(driver.NewToolLines(1) == QStringList{QStringLiteral("kdesu -c /sbin/yast2 mouse")},
                 QStringLiteral("Mouse Properties starts the YaST2 mouse module"));
    driver.Click(Button(form, "ButtonHelp"));
    driver.Check(
        driver.NewToolLines(1) ==
            QStringList{QStringLiteral("firefox -width 800 -height 600 /opt/lapstone/vc/help/html/") +
                        QLatin1String(device.helpPage)},
        QStringLiteral("Help opens ") + QLatin1String(device.helpPage));
    driver.Check(
        QFile::exists(QStringLiteral("/opt/lapstone/vc/help/html/") + QLatin1String(device.helpPage)),
        QStringLiteral("the help page is installed"));
    driver.Check(form->isVisible(), QStringLiteral("the dialog stays open"));
}

void NubstickSwitches(Driver& driver)
{
    driver.StartProgram();
    driver.Check(RateNow() == QLatin1String("100"), QStringLiteral("the stick is on: rate 100"));
    Open(driver, Nubstick, QStringLiteral("Automatic"), {}, [&](QWidget* form) {
        Choose(driver, form, QStringLiteral("Disable"));
        Press(driver, form, "ButtonApply");
        driver.Check(RateNow() == QLatin1String("0"), QStringLiteral("Apply wrote rate 0"));
        driver.Check(driver.host().commands().contains(QStringLiteral(
                         "privileged: echo -n 0 > /sys/devices/platform/i8042/serio0/serio2/rate -> true")),
                     QStringLiteral("the daemon wrote it"));
        driver.Click(Button(form, "ButtonCancel"));
    });
    // A fresh showing reads the kernel's rate again.
    Open(driver, Nubstick, QStringLiteral("Disable"), {}, [&](QWidget* form) {
        Choose(driver, form, QStringLiteral("Automatic"));
        Press(driver, form, "ButtonOK");
        driver.Check(RateNow() == QLatin1String("100"), QStringLiteral("OK wrote rate 100"));
    });
    Open(driver, Nubstick, QStringLiteral("Automatic"), {}, [&](QWidget* form) {
        StartsTools(driver, form, Nubstick);
        Choose(driver, form, QStringLiteral("Disable"));
        driver.Click(Button(form, "ButtonCancel"));
        driver.Check(!form->isVisible() && RateNow() == QLatin1String("100"),
                     QStringLiteral("Cancel closed the dialog and wrote nothing"));
    });
}

void NubstickWithoutDriver(Driver& driver)
{
    driver.StartProgram();
    driver.Check(!QFile::exists(RateFile), QStringLiteral("the notebook has no stick driver"));
    // Nothing to read the state from: the list says so rather than guess.
    Open(driver, Nubstick, QStringLiteral("Unknown"), {DriverMessage}, [&](QWidget* form) {
        Choose(driver, form, QStringLiteral("Automatic"));
        Press(driver, form, "ButtonApply", {DriverMessage});
        Press(driver, form, "ButtonOK", {DriverMessage});
        driver.Check(driver.host().commands().filter(QStringLiteral("privileged: ")).isEmpty() &&
                         driver.host().commands().filter(QStringLiteral("whereis echo")).isEmpty(),
                     QStringLiteral("neither the echo test nor the daemon was asked"));
    });
    driver.Check(!QFile::exists(RateFile), QStringLiteral("no rate file was made"));
}

// As the notebook's ordinary user: the live switch works, the configuration is root's and stays
// as it was (changes.diff of the run shows it untouched).
void TouchpadAsUser(Driver& driver)
{
    driver.Check(getuid() != 0, QStringLiteral("the program runs as an ordinary user"));
    driver.StartProgram();
    Open(driver, Touchpad, QStringLiteral("Automatic"), {}, [&](QWidget* form) {
        Choose(driver, form, QStringLiteral("Disable"));
        Press(driver, form, "ButtonApply", {NotKeptMessage(QStringLiteral("Disable"), NeedsRoot)});
        driver.Check(TouchpadOffNow() == QLatin1String("1"),
                     QStringLiteral("Apply switched the touchpad off"));
        driver.Click(Button(form, "ButtonCancel"));
    });
    Open(driver, Touchpad, QStringLiteral("Disable"), {}, [&](QWidget* form) {
        Choose(driver, form, QStringLiteral("Automatic"));
        Press(driver, form, "ButtonOK", {NotKeptMessage(QStringLiteral("Automatic"), NeedsRoot)});
        driver.Check(TouchpadOffNow() == QLatin1String("0"), QStringLiteral("OK switched the touchpad on"));
    });
    Open(driver, Touchpad, QStringLiteral("Automatic"), {}, [&](QWidget* form) {
        StartsTools(driver, form, Touchpad);
        driver.Click(Button(form, "ButtonCancel"));
    });
    driver.Check(ReadAll(XorgConf) == ReadAll(ProfileXorgConf) && !ReadAll(XorgConf).isEmpty(),
                 QStringLiteral("the configuration, root's, is as it was"));
    driver.Check(!QFile::exists(QStringLiteral("/tmp/xorgconfig")),
                 QStringLiteral("no scratch copy of the configuration is left in /tmp"));
}

// As root on a notebook whose configuration has two SHMConfig lines.
void TouchpadConfiguration(Driver& driver)
{
    driver.Check(getuid() == 0, QStringLiteral("the program runs as root"));
    const QByteArray original = ReadAll(ProfileXorgConf);
    const int shmLines = static_cast<int>(original.count("SHMConfig"));
    driver.Check(shmLines == 2 && ReadAll(XorgConf) == original,
                 QStringLiteral("the configuration starts with two SHMConfig lines"));
    driver.StartProgram();
    Open(driver, Touchpad, QStringLiteral("Disable"), {}, [&](QWidget* form) {
        Choose(driver, form, QStringLiteral("Disable"));
        Press(driver, form, "ButtonApply");
        Press(driver, form, "ButtonOK");
    });
    QByteArray expected = original;
    expected.replace("\"SHMConfig\" \"on\"\n", "\"SHMConfig\" \"on\"\n" + OptionLine.toLatin1() + '\n');
    driver.Check(ReadAll(XorgConf) == expected,
                 QStringLiteral("disabling twice left one option line after each SHMConfig line"));
    driver.Check(TouchpadOffNow() == QLatin1String("1"), QStringLiteral("the touchpad is off"));

    Open(driver, Touchpad, QStringLiteral("Disable"), {}, [&](QWidget* form) {
        Choose(driver, form, QStringLiteral("Automatic"));
        Press(driver, form, "ButtonOK");
    });
    driver.Check(ReadAll(XorgConf) == original,
                 QStringLiteral("enabling removed every option line: the configuration is as it was"));
    driver.Check(TouchpadOffNow() == QLatin1String("0"), QStringLiteral("the touchpad is on"));
    driver.Check(!QFile::exists(QStringLiteral("/tmp/xorgconfig")),
                 QStringLiteral("the scratch file was moved"));
}

// As root on a notebook whose touchpad section has no SHMConfig option.
// The X server without SHMConfig: synclient reaches no driver, so the dialog can say nothing of the
// pad, switches nothing now and says so; the configuration has no line to keep the choice after.
void TouchpadWithoutShmConfig(Driver& driver)
{
    const QByteArray original = ReadAll(ProfileXorgConf);
    const QString live = TouchpadOffNow();
    driver.Check(!original.isEmpty() && !original.contains("SHMConfig"),
                 QStringLiteral("the configuration has no SHMConfig line"));
    driver.StartProgram();
    for (const QString& choice : {QStringLiteral("Disable"), QStringLiteral("Automatic")}) {
        Open(driver, Touchpad, QStringLiteral("Unknown"), {NotListed}, [&](QWidget* form) {
            Choose(driver, form, choice);
            Press(driver, form, "ButtonOK",
                  {NotNowMessage(choice, choice == QLatin1String("Disable") ? Ucomtc::MsgXorgConfNoShmConfig
                                                                            : nullptr)});
        });
        driver.Check(TouchpadOffNow() == live, QStringLiteral("nothing was switched"));
        driver.Check(ReadAll(XorgConf) == original, QStringLiteral("the configuration got no option line"));
    }
}

// No X server configuration, so no SHMConfig either: nothing switched now; switching off is not kept,
// and on is the X server's own start.
void TouchpadWithoutConfiguration(Driver& driver)
{
    driver.Check(!QFile::exists(XorgConf), QStringLiteral("the notebook has no X server configuration"));
    const QString live = TouchpadOffNow();
    driver.StartProgram();
    Open(driver, Touchpad, QStringLiteral("Unknown"), {NotListed}, [&](QWidget* form) {
        Choose(driver, form, QStringLiteral("Disable"));
        Press(driver, form, "ButtonApply",
              {NotNowMessage(QStringLiteral("Disable"), Ucomtc::MsgXorgConfMissing)});
        Choose(driver, form, QStringLiteral("Automatic"));
        Press(driver, form, "ButtonOK", {NotNowMessage(QStringLiteral("Automatic"), nullptr)});
    });
    driver.Check(TouchpadOffNow() == live, QStringLiteral("nothing was switched"));
    driver.Check(!QFile::exists(XorgConf) && !QFile::exists(QStringLiteral("/tmp/xorgconfig")),
                 QStringLiteral("no configuration and no scratch file were made"));
}

// On any profile, as the ordinary user: the dialog shows the state the profile's listing gives,
// whichever width synclient pads the names to, and a switch keeps the listing's layout.
void TouchpadReadsTheListing(Driver& driver)
{
    const QByteArray listed = TouchpadLine(QStringLiteral("/run/lapstone-sim/profile/synclient.txt"));
    const QByteArray value = listed.mid(listed.indexOf('=') + 1).trimmed();
    const QString shown = value == "0" ? QStringLiteral("Automatic") : QStringLiteral("Disable");
    const QString other = value == "0" ? QStringLiteral("Disable") : QStringLiteral("Automatic");
    driver.transcript().Line(QStringLiteral("the profile lists: ") + QString::fromLatin1(listed));
    driver.Check(getuid() != 0 && !listed.isEmpty(),
                 QStringLiteral("an ordinary user; the profile lists the pad"));
    // Only root may change the configuration; without one, switching on lasts anyway.
    const QString noConfiguration = QStringLiteral("there is no X server configuration /etc/X11/xorg.conf.");
    QStringList notKept;
    if (QFile::exists(XorgConf))
        notKept = {NotKeptMessage(other, NeedsRoot)};
    else if (other == QLatin1String("Disable"))
        notKept = {NotKeptMessage(other, noConfiguration)};
    driver.StartProgram();
    Open(driver, Touchpad, shown, {}, [&](QWidget* form) {
        Choose(driver, form, other);
        Press(driver, form, "ButtonApply", notKept);
        driver.Check(TouchpadOffNow() == (value == "0" ? QLatin1String("1") : QLatin1String("0")),
                     QStringLiteral("Apply switched the touchpad"));
        const QByteArray now = TouchpadLine(SynclientState);
        driver.Check(now.left(now.indexOf('=')) == listed.left(listed.indexOf('=')),
                     QStringLiteral("the listing keeps its layout"));
        driver.Click(Button(form, "ButtonCancel"));
    });
    // A fresh showing reads the switched state in the same layout.
    Open(driver, Touchpad, other, {}, [&](QWidget* form) { driver.Click(Button(form, "ButtonCancel")); });
}

// Without synclient and YaST2: the dialog says so and switches nothing.
void TouchpadWithoutSynclient(Driver& driver)
{
    driver.StartProgram();
    Open(driver, Touchpad, QStringLiteral("Unknown"), {QStringLiteral("error: command synclient not found")},
         [&](QWidget* form) {
             driver.Click(Button(form, "ButtonMouse"));
             driver.ExpectMessages({YastMessage}, QStringLiteral("Mouse Properties"));
             Choose(driver, form, QStringLiteral("Automatic"));
             Press(driver, form, "ButtonApply", {QStringLiteral("error: command synclient is not found")});
             Press(driver, form, "ButtonOK", {QStringLiteral("error: command synclient is not found")});
             driver.Check(driver.host().commands().filter(QStringLiteral("sed ")).isEmpty() &&
                              driver.host().commands().filter(QStringLiteral("TouchpadOff=")).isEmpty(),
                          QStringLiteral("nothing was switched or edited"));
         });
    driver.Check(driver.NewToolLines().isEmpty(), QStringLiteral("no tool was started"));
}

// Whether the desktop has the notebook's device of `kind` on: GNOME's send-events, which GNOME itself
// would hand to libinput; elsewhere libinput's state as the desktop's tools keep it in the notebook.
bool DesktopHasOn(const char* kind)
{
    if (qEnvironmentVariable("XDG_CURRENT_DESKTOP") == QLatin1String("GNOME"))
        return ReadAll(qEnvironmentVariable("HOME") + QStringLiteral("/.config/glib-2.0/settings/keyfile"))
            .contains("send-events='enabled'");
    // The line "eventN<TAB>KIND<TAB>1<TAB>NAME".
    return ReadAll(QStringLiteral("/run/lapstone-sim/machine/libinput-devices"))
        .contains(QByteArray("\t") + kind + "\t1\t");
}

// The Exec line of the autostart entry that keeps the device off in an X session; empty without one.
QByteArray AutostartExec(bool touchpad)
{
    const QByteArray entry = ReadAll(qEnvironmentVariable("HOME") + QStringLiteral("/.config/autostart/") +
                                     (touchpad ? "lapstone-configuration-touchpad.desktop"
                                               : "lapstone-configuration-pointingstick.desktop"));
    for (const QByteArray& line : entry.split('\n')) {
        if (line.startsWith("Exec="))
            return line.mid(5);
    }
    return {};
}

// Sets the notebook's device of `kind` on or off behind the program's back, as the X server does
// when a session starts.
void SetDesktopState(const char* kind, bool enabled)
{
    const QString path = QStringLiteral("/run/lapstone-sim/machine/libinput-devices");
    QByteArrayList lines = ReadAll(path).split('\n');
    for (QByteArray& line : lines) {
        QByteArrayList fields = line.split('\t');
        if (fields.size() == 4 && fields[1] == kind)
            fields[2] = enabled ? "1" : "0";
        line = fields.join('\t');
    }
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(lines.join('\n'));
}

// Whether the desktop keeps the device `enabled` for the next session: no autostart entry that
// switches it off (an X session), the device's Enabled key in kcminputrc (Plasma on Wayland). GNOME's
// send-events is both the state and what it keeps.
bool KeptAs(bool touchpad, bool enabled)
{
    const QString config = qEnvironmentVariable("HOME") + QStringLiteral("/.config/");
    // An entry that has the program switch the device off again.
    if (qEnvironmentVariable("XDG_SESSION_TYPE") == QLatin1String("x11"))
        return (AutostartExec(touchpad) == QByteArray("/opt/lapstone/vc/bin/LapstoneConfiguration "
                                                      "--apply-device-state ") +
                                               (touchpad ? "touchpad=off" : "pointingstick=off")) != enabled;
    const QByteArray group =
        touchpad ? "[Libinput][2][7][VELTOR TouchPad]\n" : "[Libinput][2][10][VELTOR NubStick]\n";
    // The group's lines, up to the next group.
    const QByteArray rc = ReadAll(config + QStringLiteral("kcminputrc"));
    return rc.contains(group) && rc.mid(rc.indexOf(group) + group.size())
                                     .split('[')
                                     .value(0)
                                     .contains(enabled ? "Enabled=true" : "Enabled=false");
}

// Debian 12 without the old drivers: each device switched off and on again as the desktop does it,
// kept as it keeps it (GNOME has no switch for the stick); then a change the desktop cannot take.
void TodaysSwitches(Driver& driver)
{
    const bool gnome = qEnvironmentVariable("XDG_CURRENT_DESKTOP") == QLatin1String("GNOME");
    const bool x11 = qEnvironmentVariable("XDG_SESSION_TYPE") == QLatin1String("x11");
    const QString noStickSwitch = QStringLiteral("error: ") + QLatin1String(MsgNoStickSwitchOnGnome);
    driver.StartProgram();
    for (const auto& [device, kind] : {std::pair{&Touchpad, "touchpad"}, {&Nubstick, "pointingstick"}}) {
        if (gnome && device == &Nubstick) {
            Open(driver, Nubstick, QStringLiteral("Unknown"), {noStickSwitch}, [&](QWidget* form) {
                Choose(driver, form, QStringLiteral("Automatic"));
                driver.Click(Button(form, "ButtonOK"));
                driver.ExpectMessages({noStickSwitch}, QStringLiteral("OK"));
                driver.Check(form->isVisible(), QStringLiteral("the dialog stays open"));
                driver.Click(Button(form, "ButtonCancel"));
            });
            continue;
        }
        const bool on = DesktopHasOn(kind);
        for (const bool enable : {!on, on}) {
            Open(driver, *device, DeviceStateText(Ucomtc::StateOf(!enable)), {}, [&](QWidget* form) {
                Choose(driver, form, DeviceStateText(Ucomtc::StateOf(enable)));
                Press(driver, form, "ButtonOK");
            });
            driver.Check(DesktopHasOn(kind) == enable,
                         QStringLiteral("the desktop switched the ") + kind + (enable ? " on" : " off"));
            if (!gnome)
                driver.Check(KeptAs(device == &Touchpad, enable), QStringLiteral("and keeps it so"));
            if (x11 && !enable) {
                // The next login: the X server starts the device on again, and the entry's line
                // finds it and switches it off.
                SetDesktopState(kind, true);
                driver.Check(QProcess::execute(QStringLiteral("/bin/sh"),
                                               {QStringLiteral("-c"), QString::fromLocal8Bit(AutostartExec(
                                                                          device == &Touchpad))}) == 0 &&
                                 !DesktopHasOn(kind),
                             QStringLiteral("at the next login the entry switches it off again"));
            }
        }
    }
    // A change the desktop cannot take, without the session bus (KWin) or with GNOME's settings file
    // read-only, is said and switches nothing; in an X session, where no autostart folder can be made,
    // the touchpad is switched all the same and said not to be kept.
    const QString config = qEnvironmentVariable("HOME") + QStringLiteral("/.config/");
    const QString keyfile = config + QStringLiteral("glib-2.0/settings/keyfile");
    const QByteArray bus = qgetenv("DBUS_SESSION_BUS_ADDRESS");
    QFile blocker(config + QStringLiteral("autostart"));
    if (x11)
        driver.Check(QDir(blocker.fileName()).removeRecursively() && blocker.open(QIODevice::WriteOnly),
                     QStringLiteral("a file stands where the autostart folder goes"));
    Open(driver, Touchpad, QStringLiteral("Automatic"), {}, [&](QWidget* form) {
        if (gnome)
            QFile::setPermissions(keyfile, QFileDevice::ReadOwner);
        else if (!x11)
            qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent");
        Choose(driver, form, QStringLiteral("Disable"));
        driver.Click(Button(form, "ButtonOK"));
        driver.ExpectMessages(
            {x11 ? QStringLiteral("plain: The touchpad is switched off until you log out. The "
                                  "setting could not be kept: the autostart entry ") +
                       blocker.fileName() +
                       QStringLiteral("/lapstone-configuration-touchpad.desktop could not be "
                                      "written.")
                 : QStringLiteral("error: The touchpad could not be switched off: the desktop "
                                  "did not take the change.")},
            QStringLiteral("OK"));
        driver.Check(form->isVisible() != x11, QStringLiteral("the dialog closes only on a change made"));
        if (form->isVisible())
            driver.Click(Button(form, "ButtonCancel"));
    });
    driver.Check(DesktopHasOn("touchpad") != x11, QStringLiteral("the touchpad is as the box said"));
    qputenv("DBUS_SESSION_BUS_ADDRESS", bus);
    QFile::setPermissions(keyfile, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    blocker.remove();
    driver.StopProgram();
}

} // namespace

std::vector<Scenario> DeviceDialogScenarios()
{
    return {{"nubstick", NubstickSwitches},
            {"nubstick-no-driver", NubstickWithoutDriver},
            {"touchpad-user", TouchpadAsUser},
            {"touchpad-configuration", TouchpadConfiguration},
            {"touchpad-no-shmconfig", TouchpadWithoutShmConfig},
            {"touchpad-no-xorgconf", TouchpadWithoutConfiguration},
            {"touchpad-reads-listing", TouchpadReadsTheListing},
            {"touchpad-no-synclient", TouchpadWithoutSynclient},
            {"todays-switches", TodaysSwitches}};
}

void TourDeviceDialogs(Driver& driver)
{
    const std::pair<const Device*, const char*> devices[] = {{&Nubstick, "the stick"},
                                                             {&Touchpad, "the touchpad"}};
    for (const auto& [device, what] : devices) {
        // An ordinary user may not change the X server configuration, and is told so.
        const auto notKept = [&, device = device](const QString& choice) {
            return device == &Touchpad && getuid() != 0 ? QStringList{NotKeptMessage(choice, NeedsRoot)}
                                                        : QStringList();
        };
        Open(driver, *device, QString(), {}, [&](QWidget* form) {
            const QString was = State(form)->currentText();
            const QString other =
                was == QLatin1String("Disable") ? QStringLiteral("Automatic") : QStringLiteral("Disable");
            Choose(driver, form, other);
            Press(driver, form, "ButtonApply", notKept(other));
            driver.transcript().Screenshot(form, QString::fromLatin1(device->form) +
                                                     QStringLiteral(" after Apply"));
            Choose(driver, form, was);
            Press(driver, form, "ButtonOK", notKept(was));
            driver.transcript().Line(QStringLiteral("switched ") + QLatin1String(what) +
                                     QStringLiteral(" and back"));
        });
    }
    driver.Check(RateNow() == QLatin1String("100") && TouchpadOffNow() == QLatin1String("0"),
                 QStringLiteral("the stick and the touchpad are on again"));
}
