// The pointing area through the host seam, on every way the machine has: the stick's rate file and
// the daemon, synclient and the X server configuration (edited for real on a file of the test's
// own), and libinput's devices as today's desktops hold them. The exact command lines, their order,
// the values read and the messages.
#include "areas/pointing/PointingDevices.h"
#include "areas/pointing/Constants.h"
#include "areas/pointing/InputDevices.h"
#include "machine/IoError.h"
#include "tests/support/FakeHost.h"
#include "tests/support/MessageKindName.h"
#include "tests/support/TestData.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <tuple>

using namespace Ucomtc;

namespace {

const PointingDevice Stick = PointingDevice::PointingStick;
const PointingDevice Touchpad = PointingDevice::Touchpad;

const QString RateFile = QStringLiteral("/sys/devices/platform/i8042/serio0/serio2/rate");
const QString ReadRate = QStringLiteral("cat /sys/devices/platform/i8042/serio0/serio2/rate > /tmp/nubstick");
const QString ReadListing = QStringLiteral("synclient -l | grep TouchpadOff > /tmp/touchpad");
const QString XorgConf = QStringLiteral("/etc/X11/xorg.conf");
const QString RemoveOption = QStringLiteral("sed /TouchpadOff/d /etc/X11/xorg.conf > /tmp/xorgconfig");
const QString AddOption =
    QStringLiteral(R"(sed /SHMConfig/a\Option\ \"TouchpadOff\"\ \"1\" /etc/X11/xorg.conf > /tmp/xorgconfig)");
const QString MoveScratch = QStringLiteral("mv /tmp/xorgconfig /etc/X11/xorg.conf");
const QString LookForShmConfig = QStringLiteral("grep -q SHMConfig /etc/X11/xorg.conf");
const QString OffNotKept = QStringLiteral(
    "plain: The touchpad is switched off until the X server restarts. The setting could not be kept: ");
const QString OnNotKept = QStringLiteral(
    "plain: The touchpad is switched on until the X server restarts. The setting could not be kept: ");
const QString NeedsRoot = QStringLiteral(
    "changing the X server configuration /etc/X11/xorg.conf needs the program to run as root.");
const QString NoAnchor =
    QStringLiteral("/etc/X11/xorg.conf has no SHMConfig line to put the TouchpadOff option after.");
const QString NoConfiguration = QStringLiteral("there is no X server configuration /etc/X11/xorg.conf.");
QStringList System(const QStringList& lines)
{
    QStringList out;
    for (const QString& line : lines)
        out.append(QStringLiteral("system: ") + line);
    return out;
}

QStringList AskedWhereis(const char* name)
{
    return System({QStringLiteral("whereis ") + QLatin1String(name) + QStringLiteral(" >/tmp/command"),
                   QStringLiteral("rm /tmp/command")});
}

// An edit of the configuration through the scratch file; one that may not replace it is removed.
QStringList Edit(const QString& sed, bool moved)
{
    return System(moved ? QStringList{sed, MoveScratch}
                        : QStringList{sed, MoveScratch, QStringLiteral("rm -f /tmp/xorgconfig")});
}

// Messages as the hosts write the boxes down: "error: …".
QStringList Said(const Messages& messages)
{
    QStringList said;
    for (const Message& message : messages)
        said.append(QString::fromLatin1(NameOf(message.kind).name) + QStringLiteral(": ") + message.text);
    return said;
}

// A configuration as the X server setup tools write it, with the touchpad's section.
const QByteArray SynapticsConfig = R"(Section "ServerLayout"
    Identifier     "Layout[all]"
    InputDevice    "Keyboard[0]" "CoreKeyboard"
    InputDevice    "Mouse[1]" "CorePointer"
    InputDevice    "Mouse[3]" "SendCoreEvents"
    Screen         "Screen[0]"
EndSection

Section "InputDevice"
    Driver         "synaptics"
    Identifier     "Mouse[3]"
    Option         "Device" "/dev/input/mice"
    Option         "Emulate3Buttons" "on"
    Option         "InputFashion" "Mouse"
    Option         "Protocol" "explorerps/2"
    Option         "SHMConfig" "on"
    Option         "ZAxisMapping" "4 5"
EndSection
)";

} // namespace

class PointingDevicesTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void oldDriversRead_data();
    void oldDriversRead();
    void withoutDriverOrDevice_data();
    void withoutDriverOrDevice();
    void unreadableCaptureEndsTheReading();
    void oldDriversSwitch_data();
    void oldDriversSwitch();
    void configurationEditsOnARealFile();
    void todaysDesktopsRead_data();
    void todaysDesktopsRead();
    void todaysDesktopsSwitchAndKeep_data();
    void todaysDesktopsSwitchAndKeep();
    void desktopEntryArguments();

private:
    // A notebook without the old drivers, with the devices of tests/data/input-devices.txt.
    void UseTodaysDesktop(const QString& session, const QString& desktop);
    // Runs the configuration edits for real, on `config` instead of /etc/X11/xorg.conf.
    void EditFor(const QString& config);

    FakeHost host_;
    std::unique_ptr<ScopedHost> scope_;
    MachinePointingDevices devices_;
};

void PointingDevicesTest::init()
{
    host_ = FakeHost();
    scope_ = std::make_unique<ScopedHost>(host_);
}

void PointingDevicesTest::cleanup()
{
    scope_.reset();
}

void PointingDevicesTest::UseTodaysDesktop(const QString& session, const QString& desktop)
{
    host_.files.insert(RateFile, false);
    host_.Whereis(QStringLiteral("synclient"), false);
    host_.UseTexts(QString(), TestData(QStringLiteral("input-devices.txt")));
    host_.environment.insert(QStringLiteral("XDG_SESSION_TYPE"), session);
    host_.environment.insert(QStringLiteral("XDG_CURRENT_DESKTOP"), desktop);
}

void PointingDevicesTest::EditFor(const QString& config)
{
    for (const QString& command :
         {RemoveOption, AddOption, MoveScratch, LookForShmConfig, QStringLiteral("rm -f /tmp/xorgconfig")}) {
        host_.answers.insert(command, [command, config] {
            QProcess shell;
            shell.start(
                QStringLiteral("/bin/sh"),
                {QStringLiteral("-c"), FakeHost::RealLine(QString(command).replace(XorgConf, config))});
            shell.waitForFinished();
            return shell.exitStatus() == QProcess::NormalExit ? shell.exitCode() << 8 : -1;
        });
    }
}

void PointingDevicesTest::oldDriversRead_data()
{
    QTest::addColumn<PointingDevice>("device");
    QTest::addColumn<QByteArray>("answer"); // the rate file, or the listing's TouchpadOff lines
    QTest::addColumn<QString>("state");
    const QString on = QStringLiteral("Automatic"), off = QStringLiteral("Disable");
    // Only a rate of 0 turns the stick off.
    QTest::newRow("rate 0") << Stick << QByteArray("0\n") << off;
    QTest::newRow("rate 0, no line feed") << Stick << QByteArray("0") << off;
    QTest::newRow("a rate starting with 0") << Stick << QByteArray("05\n") << off;
    QTest::newRow("rate 100") << Stick << QByteArray("100\n") << on;
    QTest::newRow("another rate") << Stick << QByteArray("40\n") << on;
    QTest::newRow("empty rate file") << Stick << QByteArray() << on;
    QTest::newRow("blank first line") << Stick << QByteArray("\n0\n") << on;
    // synclient pads the names to 20 characters, or to 23 in the X.Org synaptics driver's 1.x releases.
    for (const char* padding : {"          ", "             "}) {
        const QByteArray name = QByteArray("    TouchpadOff") + padding;
        const QByteArray layout = QByteArray::number(name.size()) + " characters: ";
        QTest::newRow(layout + "pad on") << Touchpad << name + "= 0\n" << on;
        QTest::newRow(layout + "pad off") << Touchpad << name + "= 1\n" << off;
        QTest::newRow(layout + "only taps off") << Touchpad << name + "= 2\n" << off;
        QTest::newRow(layout + "no value") << Touchpad << name + "= \n" << off;
        QTest::newRow(layout + "no equals sign") << Touchpad << name + "\n" << off;
    }
    QTest::newRow("unpadded") << Touchpad << QByteArray("TouchpadOff=0\n") << on;
    QTest::newRow("tab before the value") << Touchpad << QByteArray("    TouchpadOff = \t0\n") << on;
    QTest::newRow("short line") << Touchpad << QByteArray("Touchpad\n") << off;
    QTest::newRow("only the first line counts")
        << Touchpad << QByteArray("    TouchpadOff             = 1\n    TouchpadOff             = 0\n")
        << off;
    // No line at all: synclient reached no driver (no SHMConfig), which says nothing of the pad.
    QTest::newRow("nothing listed") << Touchpad << QByteArray() << QStringLiteral("Unknown");
}

void PointingDevicesTest::oldDriversRead()
{
    QFETCH(PointingDevice, device);
    QFETCH(QByteArray, answer);
    QFETCH(QString, state);
    const bool touchpad = device == Touchpad;
    const QString capture = touchpad ? QStringLiteral("/tmp/touchpad") : QStringLiteral("/tmp/nubstick");
    if (touchpad)
        host_.Whereis(QStringLiteral("synclient"), true);
    else
        host_.files.insert(RateFile, true);
    host_.answers.insert(touchpad ? ReadListing : ReadRate, [capture, answer] {
        FakeHost::WriteFile(capture, answer);
        return 0;
    });

    const auto read = devices_.Read(device);
    QCOMPARE(DeviceStateText(read.value), state);
    QCOMPARE(Said(read.messages),
             read.value ? QStringList()
                        : QStringList{QStringLiteral("error: ") + QLatin1String(MsgTouchpadNotListed)});
    QCOMPARE(host_.log, (touchpad ? AskedWhereis("synclient") : QStringList()) +
                            System({touchpad ? ReadListing : ReadRate}) +
                            QStringList(QStringLiteral("shell: rm ") + capture));
    QVERIFY(!QFile::exists(FakeHost::Real(capture)));
    // The stick's rate file has nothing to do with the touchpad.
    QCOMPARE(host_.fileTests.contains(RateFile), !touchpad);
}

void PointingDevicesTest::withoutDriverOrDevice_data()
{
    QTest::addColumn<PointingDevice>("device");
    QTest::addColumn<QString>("read");
    QTest::addColumn<QString>("switched");
    const QString driverMissing =
        QStringLiteral("error: Nubstick driver does not exist. Maybe your Linux kernel version is too low");
    // The touchpad's two wordings, as users have always seen them.
    QTest::newRow("stick") << Stick << driverMissing << driverMissing;
    QTest::newRow("touchpad") << Touchpad << "error: command synclient not found"
                              << "error: command synclient is not found";
}

void PointingDevicesTest::withoutDriverOrDevice()
{
    QFETCH(PointingDevice, device);
    QFETCH(QString, read);
    QFETCH(QString, switched);
    host_.files.insert(RateFile, false);
    host_.Whereis(QStringLiteral("synclient"), false);
    const QStringList driverCheck = device == Touchpad ? AskedWhereis("synclient") : QStringList();

    const auto reading = devices_.Read(device);
    QCOMPARE(DeviceStateText(reading.value), QStringLiteral("Unknown"));
    QCOMPARE(Said(reading.messages), QStringList{read});
    QCOMPARE(host_.log, driverCheck);

    // Neither the echo test nor the daemon, nor any edit; the old ways' change counts as made.
    for (const std::optional<DeviceState> state :
         {std::optional<DeviceState>(DeviceState::Off), std::optional<DeviceState>(DeviceState::On),
          std::optional<DeviceState>()}) {
        host_.log.clear();
        const Change change = devices_.Switch(device, state);
        QCOMPARE(Said(change.messages), QStringList{switched});
        QVERIFY(change.made);
        QCOMPARE(host_.log, driverCheck);
    }
}

void PointingDevicesTest::unreadableCaptureEndsTheReading()
{
    // A capture path taken by a folder cannot be read as a file: the reading ends in the error,
    // which the dialogs' handlers report, and nothing is removed.
    host_.files.insert(RateFile, true);
    host_.Whereis(QStringLiteral("synclient"), true);
    for (const auto& [device, line, capture] :
         {std::tuple{Stick, ReadRate, QStringLiteral("/tmp/nubstick")},
          std::tuple{Touchpad, ReadListing, QStringLiteral("/tmp/touchpad")}}) {
        host_.log.clear();
        host_.answers.insert(line, [capture = capture] { return FakeHost::PutFolderAt(capture); });
        QVERIFY_THROWS_EXCEPTION(IoError, devices_.Read(device));
        QCOMPARE(host_.log.last(), QStringLiteral("system: ") + line);
        QVERIFY(host_.Entries(QStringLiteral("shell: ")).isEmpty());
        QDir().rmdir(FakeHost::Real(capture));
    }
}

void PointingDevicesTest::oldDriversSwitch_data()
{
    QTest::addColumn<PointingDevice>("device");
    QTest::addColumn<bool>("enable");
    QTest::addColumn<uid_t>("uid");
    QTest::addColumn<QStringList>("troubles");
    QTest::addColumn<QStringList>("expected"); // after synclient's check
    QTest::addColumn<QString>("message");

    const QStringList askEcho = AskedWhereis("echo");
    const QString rateOff =
        QStringLiteral("privileged: echo -n 0 > /sys/devices/platform/i8042/serio0/serio2/rate");
    const QString rateOn =
        QStringLiteral("privileged: echo -n 100 > /sys/devices/platform/i8042/serio0/serio2/rate");
    QTest::newRow("stick off") << Stick << false << uid_t(1000) << QStringList()
                               << askEcho + QStringList{rateOff} << QString();
    QTest::newRow("stick on") << Stick << true << uid_t(1000) << QStringList()
                              << askEcho + QStringList{rateOn} << QString();
    QTest::newRow("stick without echo") << Stick << true << uid_t(1000) << QStringList{"no echo"} << askEcho
                                        << "error: command echo is not found";
    // The old ways cannot tell: a write the daemon turns down still counts as made.
    QTest::newRow("stick, the daemon turns it down")
        << Stick << false << uid_t(1000) << QStringList{"refused"} << askEcho + QStringList{rateOff}
        << QString();

    // Old option lines go first, so that switching off again does not pile them up; both edits run
    // whatever became of the first.
    const QStringList off = System({QStringLiteral("synclient TouchpadOff=1")});
    const QStringList on = System({QStringLiteral("synclient TouchpadOff=0")});
    const QStringList offMoved = off + Edit(RemoveOption, true) + Edit(AddOption, true);
    const QStringList offStayed = off + Edit(RemoveOption, false) + Edit(AddOption, false);
    const QStringList grep = System({LookForShmConfig});
    const QStringList stayed = {"not moved"}, missing = {"not moved", "no configuration"};
    QTest::newRow("touchpad, root, off")
        << Touchpad << false << uid_t(0) << QStringList() << offMoved + grep << QString();
    QTest::newRow("touchpad, root, on")
        << Touchpad << true << uid_t(0) << QStringList() << on + Edit(RemoveOption, true) << QString();
    QTest::newRow("touchpad, user, off")
        << Touchpad << false << uid_t(1000) << stayed << offStayed << OffNotKept + NeedsRoot;
    QTest::newRow("touchpad, user, on") << Touchpad << true << uid_t(1000) << stayed
                                        << on + Edit(RemoveOption, false) << OnNotKept + NeedsRoot;
    QTest::newRow("touchpad, root, edit failed")
        << Touchpad << false << uid_t(0) << stayed << offStayed
        << OffNotKept + QStringLiteral("/etc/X11/xorg.conf could not be edited.");
    QTest::newRow("touchpad, no configuration, off")
        << Touchpad << false << uid_t(0) << missing << offStayed << OffNotKept + NoConfiguration;
    // Without a configuration the X server starts with the pad on: switching it on does last.
    QTest::newRow("touchpad, no configuration, on")
        << Touchpad << true << uid_t(0) << missing << on + Edit(RemoveOption, false) << QString();
    QTest::newRow("touchpad, no SHMConfig, off")
        << Touchpad << false << uid_t(0) << QStringList{"no SHMConfig"} << offMoved + grep
        << OffNotKept + NoAnchor;
    QTest::newRow("touchpad, no SHMConfig, on") << Touchpad << true << uid_t(0) << QStringList{"no SHMConfig"}
                                                << on + Edit(RemoveOption, true) << QString();
    // synclient that cannot reach the driver switched nothing now: said, never as done.
    QTest::newRow("touchpad, synclient fails, off, not kept")
        << Touchpad << false << uid_t(0) << QStringList{"synclient fails", "no SHMConfig"} << offMoved + grep
        << QStringLiteral("error: ") + QLatin1String(MsgTouchpadOffNotNow) + QLatin1String(MsgAndNotKept) +
               NoAnchor;
    QTest::newRow("touchpad, synclient fails, on, kept")
        << Touchpad << true << uid_t(0) << QStringList{"synclient fails"} << on + Edit(RemoveOption, true)
        << QStringLiteral("error: ") + QLatin1String(MsgTouchpadOnNotNow) + QLatin1String(MsgButKept);
}

void PointingDevicesTest::oldDriversSwitch()
{
    QFETCH(PointingDevice, device);
    QFETCH(bool, enable);
    QFETCH(uid_t, uid);
    QFETCH(QStringList, troubles);
    QFETCH(QStringList, expected);
    QFETCH(QString, message);
    host_.uid = uid;
    host_.files.insert(RateFile, device == Stick);
    host_.Whereis(QStringLiteral("synclient"), true);
    host_.Whereis(QStringLiteral("echo"), !troubles.contains(QStringLiteral("no echo")));
    host_.files.insert(XorgConf, !troubles.contains(QStringLiteral("no configuration")));
    if (troubles.contains(QStringLiteral("refused")))
        host_.privilegedResults.insert(expected.last().mid(12), false);
    if (troubles.contains(QStringLiteral("not moved")))
        host_.answers.insert(MoveScratch, [] { return 256; });
    if (troubles.contains(QStringLiteral("no SHMConfig")))
        host_.answers.insert(LookForShmConfig, [] { return 256; });
    if (troubles.contains(QStringLiteral("synclient fails"))) {
        for (const char* line : {"synclient TouchpadOff=0", "synclient TouchpadOff=1"})
            host_.answers.insert(QLatin1String(line), [] { return 256; });
    }

    const Change change = devices_.Switch(device, StateOf(enable));
    QCOMPARE(host_.log, (device == Touchpad ? AskedWhereis("synclient") : QStringList()) + expected);
    // Once, however many edits failed; the old ways cannot tell whether the switch took.
    QCOMPARE(Said(change.messages), message.isEmpty() ? QStringList() : QStringList{message});
    QVERIFY(change.made);
}

void PointingDevicesTest::configurationEditsOnARealFile()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString config = dir.filePath(QStringLiteral("xorg.conf"));
    EditFor(config);
    host_.files.insert(XorgConf, true);
    host_.Whereis(QStringLiteral("synclient"), true);
    host_.uid = 0;
    auto content = [&] {
        QFile file(config);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
    };
    auto said = [&](bool enable) { return Said(devices_.Switch(Touchpad, StateOf(enable)).messages); };
    const QByteArray option = "Option \"TouchpadOff\" \"1\"\n";

    // Two SHMConfig lines, switched off twice: one option line after each, no more.
    QByteArray twoDevices = SynapticsConfig;
    twoDevices.append(QByteArray(SynapticsConfig).replace("Mouse[3]", "Mouse[4]"));
    FakeHost::WriteFile(config, twoDevices);
    QCOMPARE(said(false), QStringList());
    QCOMPARE(said(false), QStringList());
    QByteArray expected = twoDevices;
    expected.replace("    Option         \"SHMConfig\" \"on\"\n",
                     "    Option         \"SHMConfig\" \"on\"\n" + option);
    QCOMPARE(content(), expected);
    QCOMPARE(content().count("TouchpadOff"), 2);

    // Switching on removes them all and gives back the configuration as it was.
    QCOMPARE(said(true), QStringList());
    QCOMPARE(content(), twoDevices);

    // Without SHMConfig there is nothing to put the option after.
    QByteArray plain = SynapticsConfig;
    plain.replace("    Option         \"SHMConfig\" \"on\"\n", "");
    FakeHost::WriteFile(config, plain);
    QCOMPARE(said(false), QStringList{OffNotKept + NoAnchor});
    QCOMPARE(content(), plain);

    // A configuration that may not be replaced stays as it was, and its edited copy does not
    // linger in /tmp.
    host_.uid = 1000;
    host_.log.clear();
    host_.answers.insert(MoveScratch, [] { return 256; });
    QCOMPARE(said(false), QStringList{OffNotKept + NeedsRoot});
    QCOMPARE(content(), plain);
    QCOMPARE(host_.log.last(), QStringLiteral("system: rm -f /tmp/xorgconfig"));
    QVERIFY(!QFile::exists(FakeHost::Real(QStringLiteral("/tmp/xorgconfig"))));
    EditFor(config);

    // A failed edit leaves no configuration behind that was not there, and no scratch file.
    QFile::remove(config);
    host_.files.insert(XorgConf, false);
    host_.log.clear();
    QCOMPARE(said(false), QStringList{OffNotKept + NoConfiguration});
    QCOMPARE(content(), QByteArray("(missing)"));
    QVERIFY(!QFile::exists(FakeHost::Real(QStringLiteral("/tmp/xorgconfig"))));
    QVERIFY(!host_.log.contains(QStringLiteral("system: ") + MoveScratch));
    QVERIFY(host_.log.contains(QStringLiteral("system: synclient TouchpadOff=1")));
}

void PointingDevicesTest::todaysDesktopsRead_data()
{
    QTest::addColumn<PointingDevice>("device");
    QTest::addColumn<QString>("session"); // XDG_SESSION_TYPE
    QTest::addColumn<QString>("desktop"); // XDG_CURRENT_DESKTOP
    QTest::addColumn<QString>("command");
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<QString>("state");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QStringList>("more"); // lines after the reading's own
    const QString x11 = QStringLiteral("x11"), wayland = QStringLiteral("wayland");
    const QString gnome = QStringLiteral("GNOME"), unknown = QStringLiteral("Unknown");
    const QString gnomeGet = QStringLiteral(
        "gsettings get org.gnome.desktop.peripherals.touchpad send-events 2>/dev/null > /tmp/touchpad");

    const QString stickGet = QStringLiteral(
        "for id in $(xinput list --id-only 2>/dev/null); do xinput list-props $id 2>/dev/null | grep -qF "
        "'\"/dev/input/event6\"' && xinput list-props $id | grep \"Device Enabled\"; done > /tmp/nubstick");

    // An X session is xinput's where no desktop keeps a switch of its own (GNOME's stick); the device
    // by its X id through its node.
    QTest::newRow("stick, X session, off")
        << Stick << x11 << gnome << stickGet << QByteArray("\tDevice Enabled (112):\t0\n")
        << QStringLiteral("Disable") << QString() << QStringList();
    QTest::newRow("stick, X session without xinput")
        << Stick << x11 << QStringLiteral("KDE") << stickGet << QByteArray() << unknown
        << QStringLiteral(
               "error: The X session needs xinput to switch the pointing stick: install the package xinput.")
        << AskedWhereis("xinput");
    QTest::newRow("touchpad, Plasma on Wayland, on")
        << Touchpad << wayland << QStringLiteral("KDE")
        << QStringLiteral(
               "gdbus call --session --dest org.kde.KWin --object-path /org/kde/KWin/InputDevice/event5 "
               "--method org.freedesktop.DBus.Properties.Get org.kde.KWin.InputDevice enabled "
               "2>/dev/null > /tmp/touchpad")
        << QByteArray("(<true>,)\n") << QStringLiteral("Automatic") << QString() << QStringList();
    // GNOME keeps its touchpad's switch on Xorg too, with a state of its own.
    QTest::newRow("touchpad, GNOME, off")
        << Touchpad << wayland << QStringLiteral("ubuntu:GNOME") << gnomeGet << QByteArray("'disabled'\n")
        << QStringLiteral("Disable") << QString() << QStringList();
    QTest::newRow("touchpad, GNOME on Xorg, off with a mouse")
        << Touchpad << x11 << gnome << gnomeGet << QByteArray("'disabled-on-external-mouse'\n")
        << QStringLiteral("Off with a mouse") << QString() << QStringList();
    QTest::newRow("touchpad, GNOME, an answer not understood")
        << Touchpad << wayland << gnome << gnomeGet << QByteArray("''\n") << unknown
        << QStringLiteral("error: The desktop did not say whether the touchpad is on.") << QStringList();
    // The old driver's message never: the desktop's own reason when it cannot say.
    QTest::newRow("stick, GNOME, which has no switch for it")
        << Stick << wayland << gnome << QString() << QByteArray() << unknown
        << QStringLiteral("error: ") + QLatin1String(MsgNoStickSwitchOnGnome) << QStringList();
}

void PointingDevicesTest::todaysDesktopsRead()
{
    QFETCH(PointingDevice, device);
    QFETCH(QString, session);
    QFETCH(QString, desktop);
    QFETCH(QString, command);
    QFETCH(QByteArray, answer);
    QFETCH(QString, state);
    QFETCH(QString, message);
    QFETCH(QStringList, more);
    UseTodaysDesktop(session, desktop);
    host_.Whereis(QStringLiteral("xinput"), more.isEmpty());
    const QString capture =
        device == Touchpad ? QStringLiteral("/tmp/touchpad") : QStringLiteral("/tmp/nubstick");
    host_.answers.insert(command, [capture, answer] {
        FakeHost::WriteFile(capture, answer);
        return 0;
    });

    const auto read = devices_.Read(device);
    QCOMPARE(DeviceStateText(read.value), state);
    QCOMPARE(Said(read.messages), message.isEmpty() ? QStringList() : QStringList{message});
    // The desktop's tools run as the user; the touchpad's old driver is looked for first.
    QCOMPARE(host_.log, (device == Touchpad ? AskedWhereis("synclient") : QStringList()) +
                            (command.isEmpty() ? QStringList() : System({command, "rm " + capture})) + more);
}

void PointingDevicesTest::todaysDesktopsSwitchAndKeep_data()
{
    QTest::addColumn<PointingDevice>("device");
    QTest::addColumn<QString>("session");
    QTest::addColumn<QString>("desktop");
    QTest::addColumn<int>("state");           // the DeviceState chosen
    QTest::addColumn<QByteArray>("readBack"); // what the desktop reads afterwards
    QTest::addColumn<QByteArray>("kept");     // kreadconfig's answer for kcminputrc
    QTest::addColumn<QStringList>("lines");   // the switch's own lines, "as" the user
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("made");
    const int on = int(DeviceState::On), off = int(DeviceState::Off);
    const QString xinputSet = QStringLiteral(
        "for id in $(xinput list --id-only 2>/dev/null); do xinput list-props $id 2>/dev/null | grep -qF "
        "'\"/dev/input/event6\"' && xinput set-prop $id \"Device Enabled\" %1; done");
    QTest::newRow("stick off in an X session, kept by an autostart entry")
        << Stick << "x11"
        << "KDE" << off << QByteArray("\tDevice Enabled (112):\t0\n") << QByteArray()
        << QStringList{xinputSet.arg(0),
                       "mkdir -p $HOME/.config/autostart && printf '%s\\n' '[Desktop Entry]' "
                       "'Type=Application' "
                       "'Name=Lapstone Configuration: pointing stick off' 'Comment=Switches the pointing "
                       "stick off "
                       "at login, as chosen in Lapstone Configuration' 'Exec=/usr/bin/LapstoneConfiguration "
                       "--apply-device-state pointingstick=off' 'NoDisplay=true' > "
                       "$HOME/.config/autostart/lapstone-configuration-pointingstick.desktop"}
        << QString() << true;
    QTest::newRow("stick on in an X session, the entry removed")
        << Stick << "x11"
        << "KDE" << on << QByteArray("\tDevice Enabled (112):\t1\n") << QByteArray()
        << QStringList{xinputSet.arg(1),
                       "rm -f $HOME/.config/autostart/lapstone-configuration-pointingstick.desktop"}
        << QString() << true;
    QTest::newRow("stick in an X session without xinput")
        << Stick << "x11"
        << "KDE" << off << QByteArray() << QByteArray() << QStringList{xinputSet.arg(0)}
        << "error: The X session needs xinput to switch the pointing stick: install the package xinput."
        << false;
    const QString kwin = QStringLiteral(
        "gdbus call --session --dest org.kde.KWin --object-path /org/kde/KWin/InputDevice/event5 --method "
        "org.freedesktop.DBus.Properties.Set org.kde.KWin.InputDevice enabled \"<false>\" >/dev/null");
    const QString kcminputrc = QStringLiteral("timeout 10 kwriteconfig5 --file kcminputrc --group Libinput "
                                              "--group 2 --group 7 --group 'VELTOR TouchPad' "
                                              "--key Enabled --type bool false");
    // kwriteconfig's status does not tell: the setting is read back.
    QTest::newRow("touchpad off under Plasma, kept in kcminputrc")
        << Touchpad << "wayland"
        << "KDE" << off << QByteArray("(<false>,)\n") << QByteArray("false\n")
        << QStringList{kwin, kcminputrc} << QString() << true;
    QTest::newRow("touchpad off under Plasma, kcminputrc not written")
        << Touchpad << "wayland"
        << "KDE" << off << QByteArray("(<false>,)\n") << QByteArray("\n") << QStringList{kwin, kcminputrc}
        << "plain: The touchpad is switched off until you log out. The setting could not be kept: "
           "kcminputrc could not be written."
        << true;
    QTest::newRow("touchpad off with a mouse under GNOME on Xorg")
        << Touchpad << "x11"
        << "GNOME" << int(DeviceState::OffWithMouse) << QByteArray("'disabled-on-external-mouse'\n")
        << QByteArray()
        << QStringList{"gsettings set org.gnome.desktop.peripherals.touchpad send-events "
                       "disabled-on-external-mouse"}
        << QString() << true;
    QTest::newRow("touchpad under GNOME, the change not taken")
        << Touchpad << "wayland"
        << "GNOME" << on << QByteArray("'disabled'\n") << QByteArray()
        << QStringList{"gsettings set org.gnome.desktop.peripherals.touchpad send-events enabled"}
        << "error: The touchpad could not be switched on: the desktop did not take the change." << false;
}

void PointingDevicesTest::todaysDesktopsSwitchAndKeep()
{
    QFETCH(PointingDevice, device);
    QFETCH(QString, session);
    QFETCH(QString, desktop);
    QFETCH(int, state);
    QFETCH(QByteArray, readBack);
    QFETCH(QByteArray, kept);
    QFETCH(QStringList, lines);
    QFETCH(QString, message);
    QFETCH(bool, made);
    UseTodaysDesktop(session, desktop);
    host_.environment.insert(QStringLiteral("HOME"), QStringLiteral("/home/jo"));
    host_.Whereis(QStringLiteral("xinput"), !readBack.isEmpty());
    host_.Whereis(QStringLiteral("kwriteconfig5"), true);
    const QString capture =
        device == Touchpad ? QStringLiteral("/tmp/touchpad") : QStringLiteral("/tmp/nubstick");
    // Every reading line answers with what the desktop has now; kreadconfig with what it kept.
    for (const QString& reading :
         {QStringLiteral("xinput list-props $id | grep"), QStringLiteral("Properties.Get"),
          QStringLiteral("gsettings get"), QStringLiteral("kreadconfig5")}) {
        host_.answersByPart.append(
            {reading, [=] {
                 FakeHost::WriteFile(capture, reading == QLatin1String("kreadconfig5") ? kept : readBack);
                 return 0;
             }});
    }
    const Change change = devices_.Switch(device, DeviceState(state));
    QCOMPARE(Said(change.messages), message.isEmpty() ? QStringList() : QStringList{message});
    QCOMPARE(change.made, made);
    // The switch's lines in their order, among the readings and the look-ups.
    QStringList run;
    for (const QString& line : host_.Entries(QStringLiteral("system: "))) {
        if (!line.contains(QLatin1String(" > /tmp/")) && !line.startsWith(QLatin1String("rm /tmp/")) &&
            !line.startsWith(QLatin1String("whereis ")))
            run.append(line);
    }
    QCOMPARE(run, lines);
}

void PointingDevicesTest::desktopEntryArguments()
{
    // An autostart entry's Exec argument: quoted where a desktop would split or interpret it, with the
    // entry's own escapes on top (a backslash doubled, % as %%).
    QCOMPARE(DesktopExecWord(QStringLiteral("a\"b$c\\d%e")),
             QStringLiteral("\"a\\\\\"b\\\\$c\\\\\\\\d%%e\""));
}

QTEST_GUILESS_MAIN(PointingDevicesTest)
#include "PointingDevicesTest.moc"
