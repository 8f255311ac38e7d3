// The pointing stick's and the touchpad's dialogs through the host seam: how each reads its device's
// state, the exact command lines and messages of OK, Apply, Mouse Properties and Help, which buttons
// close the dialog, and what the touchpad's configuration edits do to a real file. Runs in a
// private /tmp.
#include "app/Application.h"
#include "app/MainForm.h"
#include "dialogs/nubstickform.h"
#include "dialogs/touchpadform.h"
#include "services/Ucomtc.h"
#include "tests/support/FakeHost.h"
#include "tests/support/TestData.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardItemModel>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <memory>

using namespace Ucomtc;

namespace {

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
const QString DriverMissing =
    QStringLiteral("error: Nubstick driver does not exist. Maybe your Linux kernel version is too low");
const QString YastMissing =
    QStringLiteral("error: command yast is not found or no /sbin/yast2 file or directory");

QStringList Prefixed(const QString& prefix, const QStringList& lines)
{
    QStringList out;
    for (const QString& line : lines)
        out.append(prefix + line);
    return out;
}

QStringList AskedWhereis(const char* name)
{
    return {QStringLiteral("system: whereis ") + QLatin1String(name) + QStringLiteral(" >/tmp/command"),
            QStringLiteral("system: rm /tmp/command")};
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

class DeviceDialogsTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void startUpCreatesBothDialogsOverTheMainWindow();
    void touchpadDialogReusesTheLayout();

    void nubstickShowsTheRate_data();
    void nubstickShowsTheRate();
    void nubstickWithoutDriverShowsUnknown();
    void devicesFromTodaysDesktop_data();
    void devicesFromTodaysDesktop();
    void unreadableCaptureEndsTheShowing();
    void nubstickWritesTheRate_data();
    void nubstickWritesTheRate();

    void touchpadShowsTheListing_data();
    void touchpadShowsTheListing();
    void touchpadWithoutSynclientShowsUnknown();
    void touchpadSwitchesAndEdits_data();
    void touchpadSwitchesAndEdits();
    void configurationEditsOnARealFile();
    void touchpadSaysWhenTheChoiceIsNotKept_data();
    void touchpadSaysWhenTheChoiceIsNotKept();

    void mouseAndHelpStartTheirTools_data();
    void mouseAndHelpStartTheirTools();
    void cancelWritesNothing();

private:
    // Shows `form` and waits for its show handler; the log then holds only what the showing did.
    void Show(TNubstickFor* form);
    QComboBox* State(QWidget* form) const
    {
        return form->findChild<QComboBox*>(QStringLiteral("ComboBoxState"));
    }
    QPushButton* Button(QWidget* form, const char* name) const
    {
        return form->findChild<QPushButton*>(QLatin1String(name));
    }
    void AnswerRate(const QByteArray& content);
    void AnswerListing(const QByteArray& content);
    // Runs the configuration edits for real, on `config` instead of /etc/X11/xorg.conf.
    void EditFor(const QString& config);

    FakeHost host_;
    std::unique_ptr<ScopedHost> scope_;
    std::unique_ptr<TMainForm1> main_;
    TNubstickFor* nubstick_ = nullptr;
    TTouchPadForm1* touchpad_ = nullptr;
};

void DeviceDialogsTest::init()
{
    host_ = FakeHost();
    scope_ = std::make_unique<ScopedHost>(host_);
    main_ = std::make_unique<TMainForm1>();
    nubstick_ = new TNubstickFor(main_.get());
    touchpad_ = new TTouchPadForm1(main_.get());
}

void DeviceDialogsTest::cleanup()
{
    main_.reset();
    scope_.reset();
    for (const char* path : {"/tmp/nubstick", "/tmp/touchpad", "/tmp/command", "/tmp/xorgconfig"})
        QFile::remove(QLatin1String(path));
}

void DeviceDialogsTest::Show(TNubstickFor* form)
{
    const int handled = ShowHandlersRun(form);
    form->show();
    QTRY_VERIFY(ShowHandlersRun(form) > handled);
    QVERIFY(form->isVisible());
}

void DeviceDialogsTest::AnswerRate(const QByteArray& content)
{
    host_.files.insert(RateFile, true);
    host_.answers.insert(ReadRate, [content] {
        FakeHost::WriteFile(QStringLiteral("/tmp/nubstick"), content);
        return 0;
    });
}

void DeviceDialogsTest::AnswerListing(const QByteArray& content)
{
    host_.Whereis(QStringLiteral("synclient"), true);
    host_.answers.insert(ReadListing, [content] {
        FakeHost::WriteFile(QStringLiteral("/tmp/touchpad"), content);
        return 0;
    });
}

void DeviceDialogsTest::EditFor(const QString& config)
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

void DeviceDialogsTest::startUpCreatesBothDialogsOverTheMainWindow()
{
    main_.reset(); // forms are found by name: only the program's own may be there
    TApplication application;
    application.CreateForms();
    const QStringList names = application.FormNames();
    QVERIFY(names.indexOf(QStringLiteral("NubstickFor")) > 0);
    QCOMPARE(names.indexOf(QStringLiteral("TouchPadForm1")),
             names.indexOf(QStringLiteral("NubstickFor")) + 1);
    QCOMPARE(names.filter(QStringLiteral("TouchPadForm1")).size(), 1);

    // The main window's buttons open them, modally, over itself.
    const std::pair<const char*, const char*> openers[] = {{"SpdButtonNubstick", "NubstickFor"},
                                                           {"SpdButtonTouch", "TouchPadForm1"}};
    for (const auto& [button, formName] : openers) {
        auto* dialog = qobject_cast<QDialog*>(FindForm(QLatin1String(formName)));
        QVERIFY2(dialog != nullptr, formName);
        QCOMPARE(dialog->parentWidget(), application.MainForm());
        bool wasModal = false;
        QTimer::singleShot(50, dialog, [&] {
            wasModal = dialog->isVisible() && dialog->isModal();
            dialog->reject();
        });
        QTest::mouseClick(application.MainForm()->findChild<QToolButton*>(QLatin1String(button)),
                          Qt::LeftButton);
        QVERIFY2(wasModal, formName);
    }
}

void DeviceDialogsTest::touchpadDialogReusesTheLayout()
{
    for (TNubstickFor* form : {nubstick_, static_cast<TNubstickFor*>(touchpad_)}) {
        QCOMPARE(form->minimumSize(), QSize(430, 292));
        QCOMPARE(form->maximumSize(), QSize(430, 292));
        QVERIFY(!(form->windowFlags() & (Qt::WindowCloseButtonHint | Qt::WindowMinMaxButtonsHint)));
        QCOMPARE(form->font().pixelSize(), 12);
        // One layout: a second copy would show up as twice the buttons.
        QCOMPARE(form->findChildren<QPushButton*>().size(), 5);
        QCOMPARE(form->findChildren<QComboBox*>().size(), 1);
        QCOMPARE(form->findChild<QTabWidget*>(QStringLiteral("PageControl1"))->tabText(0),
                 QStringLiteral("General"));
        QCOMPARE(State(form)->currentText(), QStringLiteral("Disable"));
        QCOMPARE(State(form)->count(), 2);
        QCOMPARE(State(form)->itemText(1), QStringLiteral("Automatic"));
        QCOMPARE(Button(form, "ButtonMouse")->text(), QStringLiteral("&Mouse Properties ..."));
    }
    QCOMPARE(nubstick_->objectName(), QStringLiteral("NubstickFor"));
    QCOMPARE(touchpad_->objectName(), QStringLiteral("TouchPadForm1"));
    QCOMPARE(nubstick_->windowTitle(), QStringLiteral("Nubstick"));
    QCOMPARE(touchpad_->windowTitle(), QStringLiteral("TouchPad"));
    auto* nubstickLabel = nubstick_->findChild<QLabel*>(QStringLiteral("Label1"));
    auto* touchpadLabel = touchpad_->findChild<QLabel*>(QStringLiteral("Label1"));
    QCOMPARE(nubstickLabel->text(), QStringLiteral("&Nubstick"));
    QCOMPARE(nubstickLabel->width(), 59);
    QCOMPARE(touchpadLabel->text(), QStringLiteral("&Touchpad"));
    QCOMPARE(touchpadLabel->geometry(), QRect(16, 48, 56, 20));
    // Both captions show whole in their fixed widths.
    for (QLabel* label : {nubstickLabel, touchpadLabel}) {
        const QString caption = QString(label->text()).remove(QLatin1Char('&'));
        QVERIFY2(QFontMetrics(label->font()).horizontalAdvance(caption) <= label->width(),
                 qPrintable(caption));
    }
    const QImage nubstickIcon = nubstick_->findChild<QLabel*>(QStringLiteral("Image1"))->pixmap().toImage();
    const QImage touchpadIcon = touchpad_->findChild<QLabel*>(QStringLiteral("Image1"))->pixmap().toImage();
    QCOMPARE(nubstickIcon.size(), QSize(28, 28));
    QCOMPARE(touchpadIcon.size(), QSize(28, 28));
    QVERIFY(nubstickIcon != touchpadIcon);
    // The icons' backgrounds let the page show through.
    QCOMPARE(qAlpha(touchpadIcon.pixel(0, 27)), 0);
    QVERIFY(host_.log.isEmpty());
}

void DeviceDialogsTest::nubstickShowsTheRate_data()
{
    QTest::addColumn<QByteArray>("rate");
    QTest::addColumn<QString>("shown");
    QTest::newRow("off") << QByteArray("0\n") << "Disable";
    QTest::newRow("off, no line feed") << QByteArray("0") << "Disable";
    QTest::newRow("a rate starting with 0") << QByteArray("05\n") << "Disable";
    QTest::newRow("on") << QByteArray("100\n") << "Automatic";
    QTest::newRow("another rate") << QByteArray("40\n") << "Automatic";
    QTest::newRow("empty") << QByteArray() << "Automatic";
    QTest::newRow("blank first line") << QByteArray("\n0\n") << "Automatic";
}

void DeviceDialogsTest::nubstickShowsTheRate()
{
    QFETCH(QByteArray, rate);
    QFETCH(QString, shown);
    // Start from the other entry, so that the showing has to set it.
    State(nubstick_)->setCurrentText(shown == QLatin1String("Disable") ? QStringLiteral("Automatic")
                                                                       : QStringLiteral("Disable"));
    AnswerRate(rate);
    Show(nubstick_);
    QCOMPARE(host_.log,
             (QStringList{QStringLiteral("system: ") + ReadRate, QStringLiteral("shell: rm /tmp/nubstick")}));
    QCOMPARE(State(nubstick_)->currentText(), shown);
    QVERIFY(!QFile::exists(FakeHost::Real(QStringLiteral("/tmp/nubstick"))));
}

void DeviceDialogsTest::nubstickWithoutDriverShowsUnknown()
{
    host_.files.insert(RateFile, false);
    State(nubstick_)->setCurrentText(QStringLiteral("Automatic"));
    Show(nubstick_);
    QCOMPARE(host_.log, QStringList{DriverMissing});
    QCOMPARE(State(nubstick_)->currentText(), QStringLiteral("Unknown"));
    // Shown, never a choice; gone again once the state is read.
    auto* model = qobject_cast<QStandardItemModel*>(State(nubstick_)->model());
    QVERIFY(!model->item(State(nubstick_)->currentIndex())->isEnabled());
    nubstick_->hide();
    AnswerRate("100\n");
    Show(nubstick_);
    QCOMPARE(State(nubstick_)->currentText(), QStringLiteral("Automatic"));
    QCOMPARE(State(nubstick_)->count(), 2);
}

void DeviceDialogsTest::devicesFromTodaysDesktop_data()
{
    QTest::addColumn<bool>("touchpad");
    QTest::addColumn<QString>("session"); // XDG_SESSION_TYPE
    QTest::addColumn<QString>("desktop"); // XDG_CURRENT_DESKTOP
    QTest::addColumn<QString>("command");
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<QString>("shown");

    QTest::newRow("stick on X11, off")
        << false << "x11"
        << "KDE"
        << "xinput list-props 'pointer:VELTOR NubStick' 2>/dev/null | grep \"Device Enabled\" > /tmp/nubstick"
        << QByteArray("\tDevice Enabled (183):\t0\n") << "Disable";
    QTest::newRow("touchpad under Plasma on Wayland, on")
        << true << "wayland"
        << "KDE"
        << "gdbus call --session --dest org.kde.KWin --object-path /org/kde/KWin/InputDevice/event5 --method "
           "org.freedesktop.DBus.Properties.Get org.kde.KWin.InputDevice enabled 2>/dev/null > /tmp/touchpad"
        << QByteArray("(<true>,)\n") << "Automatic";
    QTest::newRow("touchpad under GNOME, off")
        << true << "wayland"
        << "GNOME"
        << "gsettings get org.gnome.desktop.peripherals.touchpad send-events 2>/dev/null > /tmp/touchpad"
        << QByteArray("'disabled'\n") << "Disable";
    QTest::newRow("stick under GNOME, which has no switch for it")
        << false << "wayland"
        << "GNOME" << QString() << QByteArray() << "Unknown";
}

void DeviceDialogsTest::devicesFromTodaysDesktop()
{
    QFETCH(bool, touchpad);
    QFETCH(QString, session);
    QFETCH(QString, desktop);
    QFETCH(QString, command);
    QFETCH(QByteArray, answer);
    QFETCH(QString, shown);
    host_.files.insert(RateFile, false);
    host_.Whereis(QStringLiteral("synclient"), false);
    host_.UseTexts(QString(), TestData(QStringLiteral("input-devices.txt")));
    host_.environment.insert(QStringLiteral("XDG_SESSION_TYPE"), session);
    host_.environment.insert(QStringLiteral("XDG_CURRENT_DESKTOP"), desktop);
    const QString capture = touchpad ? QStringLiteral("/tmp/touchpad") : QStringLiteral("/tmp/nubstick");
    host_.answers.insert(command, [capture, answer] {
        FakeHost::WriteFile(capture, answer);
        return 0;
    });
    TNubstickFor* form = touchpad ? touchpad_ : nubstick_;
    Show(form);

    QCOMPARE(State(form)->currentText(), shown);
    QCOMPARE(host_.Entries(QStringLiteral("system: ")).filter(QStringLiteral("/tmp/command")).isEmpty(),
             !touchpad);
    QCOMPARE(host_.log.contains(QStringLiteral("system: ") + command), !command.isEmpty());
    // The old source's message never: the desktop's own reason when it cannot say.
    QCOMPARE(host_.Entries(QStringLiteral("error: ")),
             shown == QLatin1String("Unknown") ? QStringList{QString::fromLatin1(MsgNoStickSwitchOnGnome)}
                                               : QStringList{});
}

void DeviceDialogsTest::unreadableCaptureEndsTheShowing()
{
    // A capture path taken by a folder cannot be read as a file: the default report, no removal,
    // no change of the list, and the dialog stays usable.
    AnswerRate(QByteArray());
    host_.answers.insert(ReadRate, [] { return FakeHost::PutFolderAt(QStringLiteral("/tmp/nubstick")); });
    State(nubstick_)->setCurrentText(QStringLiteral("Automatic"));
    Show(nubstick_);
    QCOMPARE(host_.log.size(), 2);
    QVERIFY(host_.log.last().startsWith(QStringLiteral("report: /tmp/nubstick")));
    QCOMPARE(State(nubstick_)->currentText(), QStringLiteral("Automatic"));
    QDir().rmdir(QStringLiteral("/tmp/nubstick"));

    host_.log.clear();
    host_.answers.insert(ReadListing, [] { return FakeHost::PutFolderAt(QStringLiteral("/tmp/touchpad")); });
    host_.Whereis(QStringLiteral("synclient"), true);
    Show(touchpad_);
    QVERIFY(host_.log.last().startsWith(QStringLiteral("report: /tmp/touchpad")));
    QVERIFY(host_.Entries(QStringLiteral("shell: ")).isEmpty());
    QDir().rmdir(QStringLiteral("/tmp/touchpad"));
}

void DeviceDialogsTest::nubstickWritesTheRate_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("choice");
    QTest::addColumn<bool>("driver");
    QTest::addColumn<bool>("echo");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<bool>("closes");

    const QString off =
        QStringLiteral("privileged: echo -n 0 > /sys/devices/platform/i8042/serio0/serio2/rate");
    const QString on =
        QStringLiteral("privileged: echo -n 100 > /sys/devices/platform/i8042/serio0/serio2/rate");
    const QStringList askEcho = AskedWhereis("echo");
    QTest::newRow("OK, Disable") << "ButtonOK"
                                 << "Disable" << true << true << (askEcho + QStringList{off}) << true;
    QTest::newRow("OK, Automatic") << "ButtonOK"
                                   << "Automatic" << true << true << (askEcho + QStringList{on}) << true;
    QTest::newRow("Apply, Disable") << "ButtonApply"
                                    << "Disable" << true << true << (askEcho + QStringList{off}) << false;
    QTest::newRow("Apply, Automatic") << "ButtonApply"
                                      << "Automatic" << true << true << (askEcho + QStringList{on}) << false;
    QTest::newRow("OK without driver: no echo test")
        << "ButtonOK"
        << "Disable" << false << true << QStringList{DriverMissing} << true;
    QTest::newRow("Apply without driver")
        << "ButtonApply"
        << "Automatic" << false << true << QStringList{DriverMissing} << false;
    QTest::newRow("OK without echo") << "ButtonOK"
                                     << "Automatic" << true << false
                                     << (askEcho +
                                         QStringList{QStringLiteral("error: command echo is not found")})
                                     << true;
    QTest::newRow("Apply without echo")
        << "ButtonApply"
        << "Disable" << true << false
        << (askEcho + QStringList{QStringLiteral("error: command echo is not found")}) << false;
}

void DeviceDialogsTest::nubstickWritesTheRate()
{
    QFETCH(QString, button);
    QFETCH(QString, choice);
    QFETCH(bool, driver);
    QFETCH(bool, echo);
    QFETCH(QStringList, expected);
    QFETCH(bool, closes);

    AnswerRate(choice == QLatin1String("Disable") ? "100\n" : "0\n");
    Show(nubstick_);
    host_.log.clear();
    host_.files.insert(RateFile, driver);
    host_.Whereis(QStringLiteral("echo"), echo);
    State(nubstick_)->setCurrentText(choice);
    QTest::mouseClick(Button(nubstick_, qPrintable(button)), Qt::LeftButton);
    QCOMPARE(host_.log, expected);
    QCOMPARE(nubstick_->isVisible(), !closes);

    // A write the daemon turns down changes nothing in what the dialog does: OK still closes.
    if (closes && driver && echo) {
        Show(nubstick_);
        host_.log.clear();
        host_.privilegedResults.insert(expected.last().mid(12), false);
        QTest::mouseClick(Button(nubstick_, "ButtonOK"), Qt::LeftButton);
        QCOMPARE(host_.log.size(), 3);
        QVERIFY(!nubstick_->isVisible());
    }
}

void DeviceDialogsTest::touchpadShowsTheListing_data()
{
    QTest::addColumn<QByteArray>("listing");
    QTest::addColumn<QString>("shown");
    // synclient pads the names to 20 characters, or to 23 in the X.Org synaptics driver's 1.x releases.
    for (const char* padding : {"          ", "             "}) {
        const QByteArray name = QByteArray("    TouchpadOff") + padding;
        const QByteArray layout = QByteArray::number(name.size()) + " characters: ";
        QTest::newRow(layout + "pad on") << (name + "= 0\n") << "Automatic";
        QTest::newRow(layout + "pad off") << (name + "= 1\n") << "Disable";
        QTest::newRow(layout + "only taps off") << (name + "= 2\n") << "Disable";
        QTest::newRow(layout + "no value") << (name + "= \n") << "Disable";
        QTest::newRow(layout + "no equals sign") << (name + "\n") << "Disable";
    }
    QTest::newRow("unpadded") << QByteArray("TouchpadOff=0\n") << "Automatic";
    QTest::newRow("tab before the value") << QByteArray("    TouchpadOff = \t0\n") << "Automatic";
    QTest::newRow("short line") << QByteArray("Touchpad\n") << "Disable";
    QTest::newRow("only the first line counts")
        << QByteArray("    TouchpadOff             = 1\n    TouchpadOff             = 0\n") << "Disable";
    QTest::newRow("no such parameter") << QByteArray() << "Disable";
}

void DeviceDialogsTest::touchpadShowsTheListing()
{
    QFETCH(QByteArray, listing);
    QFETCH(QString, shown);
    State(touchpad_)->setCurrentText(shown == QLatin1String("Disable") ? QStringLiteral("Automatic")
                                                                       : QStringLiteral("Disable"));
    AnswerListing(listing);
    Show(touchpad_);
    const QStringList read = {QStringLiteral("system: ") + ReadListing,
                              QStringLiteral("shell: rm /tmp/touchpad")};
    QCOMPARE(host_.log, AskedWhereis("synclient") + read);
    QCOMPARE(State(touchpad_)->currentText(), shown);
    QVERIFY(!QFile::exists(FakeHost::Real(QStringLiteral("/tmp/touchpad"))));
    // The stick's rate file has nothing to do with the touchpad.
    QVERIFY(!host_.fileTests.contains(RateFile));
}

void DeviceDialogsTest::touchpadWithoutSynclientShowsUnknown()
{
    host_.Whereis(QStringLiteral("synclient"), false);
    State(touchpad_)->setCurrentText(QStringLiteral("Automatic"));
    Show(touchpad_);
    QCOMPARE(host_.log,
             AskedWhereis("synclient") + QStringList{QStringLiteral("error: command synclient not found")});
    QCOMPARE(State(touchpad_)->currentText(), QStringLiteral("Unknown"));
}

void DeviceDialogsTest::touchpadSwitchesAndEdits_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("choice");
    QTest::addColumn<bool>("synclient");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<bool>("closes");

    const QStringList ask = AskedWhereis("synclient");
    const QStringList disable =
        ask + Prefixed(QStringLiteral("system: "), {QStringLiteral("synclient TouchpadOff=1"), RemoveOption,
                                                    MoveScratch, AddOption, MoveScratch, LookForShmConfig});
    const QStringList enable =
        ask + Prefixed(QStringLiteral("system: "),
                       {QStringLiteral("synclient TouchpadOff=0"), RemoveOption, MoveScratch});
    const QStringList missing = ask + QStringList{QStringLiteral("error: command synclient is not found")};
    QTest::newRow("OK, Disable") << "ButtonOK"
                                 << "Disable" << true << disable << true;
    QTest::newRow("OK, Automatic") << "ButtonOK"
                                   << "Automatic" << true << enable << true;
    QTest::newRow("Apply, Disable") << "ButtonApply"
                                    << "Disable" << true << disable << false;
    QTest::newRow("Apply, Automatic") << "ButtonApply"
                                      << "Automatic" << true << enable << false;
    QTest::newRow("OK without synclient") << "ButtonOK"
                                          << "Disable" << false << missing << true;
    QTest::newRow("Apply without synclient") << "ButtonApply"
                                             << "Automatic" << false << missing << false;
}

void DeviceDialogsTest::touchpadSwitchesAndEdits()
{
    QFETCH(QString, button);
    QFETCH(QString, choice);
    QFETCH(bool, synclient);
    QFETCH(QStringList, expected);
    QFETCH(bool, closes);

    AnswerListing(choice == QLatin1String("Disable") ? "    TouchpadOff          = 0\n"
                                                     : "    TouchpadOff          = 1\n");
    Show(touchpad_);
    host_.log.clear();
    host_.files.insert(XorgConf, true);
    host_.Whereis(QStringLiteral("synclient"), synclient);
    State(touchpad_)->setCurrentText(choice);
    QTest::mouseClick(Button(touchpad_, qPrintable(button)), Qt::LeftButton);
    QCOMPARE(host_.log, expected);
    QCOMPARE(touchpad_->isVisible(), !closes);
    // The stick's daemon is never involved.
    QVERIFY(host_.Entries(QStringLiteral("privileged: ")).isEmpty());
}

void DeviceDialogsTest::configurationEditsOnARealFile()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString config = dir.filePath(QStringLiteral("xorg.conf"));
    EditFor(config);
    host_.files.insert(XorgConf, true);
    host_.Whereis(QStringLiteral("synclient"), true);
    const int handled = ShowHandlersRun(touchpad_);
    touchpad_->show();
    QTRY_VERIFY(ShowHandlersRun(touchpad_) > handled);

    auto apply = [&](const QString& choice) {
        State(touchpad_)->setCurrentText(choice);
        QTest::mouseClick(Button(touchpad_, "ButtonApply"), Qt::LeftButton);
    };
    auto content = [&] {
        QFile file(config);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
    };
    const QByteArray option = "Option \"TouchpadOff\" \"1\"\n";

    // Two SHMConfig lines, switched off twice: one option line after each, no more.
    QByteArray twoDevices = SynapticsConfig;
    twoDevices.append(QByteArray(SynapticsConfig).replace("Mouse[3]", "Mouse[4]"));
    FakeHost::WriteFile(config, twoDevices);
    apply(QStringLiteral("Disable"));
    apply(QStringLiteral("Disable"));
    QByteArray expected = twoDevices;
    expected.replace("    Option         \"SHMConfig\" \"on\"\n",
                     "    Option         \"SHMConfig\" \"on\"\n" + option);
    QCOMPARE(content(), expected);
    QCOMPARE(content().count("TouchpadOff"), 2);

    // Switching on removes them all and gives back the configuration as it was.
    apply(QStringLiteral("Automatic"));
    QCOMPARE(content(), twoDevices);

    // Without SHMConfig there is nothing to put the option after.
    QByteArray plain = SynapticsConfig;
    plain.replace("    Option         \"SHMConfig\" \"on\"\n", "");
    FakeHost::WriteFile(config, plain);
    host_.log.clear();
    apply(QStringLiteral("Disable"));
    QCOMPARE(content(), plain);
    QCOMPARE(
        host_.Entries(QStringLiteral("plain: ")),
        QStringList{
            OffNotKept.mid(7) +
            QStringLiteral("/etc/X11/xorg.conf has no SHMConfig line to put the TouchpadOff option after.")});

    // A configuration the user may not replace stays as it was, and its edited copy does not
    // linger in /tmp.
    host_.log.clear();
    host_.answers.insert(MoveScratch, [] { return 256; });
    apply(QStringLiteral("Disable"));
    QCOMPARE(content(), plain);
    QCOMPARE(host_.log.mid(host_.log.size() - 2),
             (QStringList{QStringLiteral("system: rm -f /tmp/xorgconfig"), OffNotKept + NeedsRoot}));
    QVERIFY(!QFile::exists(FakeHost::Real(QStringLiteral("/tmp/xorgconfig"))));
    EditFor(config);

    // A failed edit leaves no configuration behind that was not there, and no scratch file.
    QFile::remove(config);
    host_.files.insert(XorgConf, false);
    host_.log.clear();
    apply(QStringLiteral("Disable"));
    QCOMPARE(content(), QByteArray("(missing)"));
    QCOMPARE(host_.log.last(),
             OffNotKept + QStringLiteral("there is no X server configuration /etc/X11/xorg.conf."));
    QVERIFY(!QFile::exists(FakeHost::Real(QStringLiteral("/tmp/xorgconfig"))));
    QVERIFY(!host_.log.contains(QStringLiteral("system: ") + MoveScratch));
    QVERIFY(host_.log.contains(QStringLiteral("system: synclient TouchpadOff=1")));
    QVERIFY(touchpad_->isVisible());
}

void DeviceDialogsTest::touchpadSaysWhenTheChoiceIsNotKept_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("choice");
    QTest::addColumn<uid_t>("uid");
    QTest::addColumn<bool>("configuration");
    QTest::addColumn<bool>("moved");
    QTest::addColumn<bool>("shmConfig");
    QTest::addColumn<QString>("message");

    const QString editFailed = QStringLiteral("/etc/X11/xorg.conf could not be edited.");
    const QString missing = QStringLiteral("there is no X server configuration /etc/X11/xorg.conf.");
    const QString noAnchor =
        QStringLiteral("/etc/X11/xorg.conf has no SHMConfig line to put the TouchpadOff option after.");
    for (const char* button : {"ButtonOK", "ButtonApply"}) {
        auto row = [&](const char* name) -> QTestData& {
            return QTest::newRow((QByteArray(button) + ", " + name).constData());
        };
        row("user, Disable") << button << "Disable" << uid_t(1000) << true << false << true
                             << OffNotKept + NeedsRoot;
        row("user, Automatic") << button << "Automatic" << uid_t(1000) << true << false << true
                               << OnNotKept + NeedsRoot;
        row("root, Disable") << button << "Disable" << uid_t(0) << true << true << true << QString();
        row("root, Automatic") << button << "Automatic" << uid_t(0) << true << true << true << QString();
        row("root, edit failed") << button << "Disable" << uid_t(0) << true << false << true
                                 << OffNotKept + editFailed;
        row("root, no configuration, Disable")
            << button << "Disable" << uid_t(0) << false << false << false << OffNotKept + missing;
        // Without a configuration the X server starts with the pad on: switching it on does last.
        row("root, no configuration, Automatic")
            << button << "Automatic" << uid_t(0) << false << false << false << QString();
        row("root, no SHMConfig, Disable")
            << button << "Disable" << uid_t(0) << true << true << false << OffNotKept + noAnchor;
        row("root, no SHMConfig, Automatic")
            << button << "Automatic" << uid_t(0) << true << true << false << QString();
    }
}

void DeviceDialogsTest::touchpadSaysWhenTheChoiceIsNotKept()
{
    QFETCH(QString, button);
    QFETCH(QString, choice);
    QFETCH(uid_t, uid);
    QFETCH(bool, configuration);
    QFETCH(bool, moved);
    QFETCH(bool, shmConfig);
    QFETCH(QString, message);

    AnswerListing("    TouchpadOff             = 0\n");
    Show(touchpad_);
    host_.log.clear();
    host_.uid = uid;
    host_.files.insert(XorgConf, configuration);
    if (!moved)
        host_.answers.insert(MoveScratch, [] { return 256; });
    if (!shmConfig)
        host_.answers.insert(LookForShmConfig, [] { return 256; });
    State(touchpad_)->setCurrentText(choice);
    QTest::mouseClick(Button(touchpad_, qPrintable(button)), Qt::LeftButton);
    // Once, after the switch and the edits, however many edits failed.
    const QStringList said = message.isEmpty() ? QStringList() : QStringList{message};
    QCOMPARE(host_.log.filter(QRegularExpression(QStringLiteral("^(plain|error): "))), said);
    if (!said.isEmpty())
        QCOMPARE(host_.log.last(), message);
    QVERIFY(host_.log.contains(QStringLiteral("system: synclient TouchpadOff=") +
                               (choice == QLatin1String("Disable") ? QLatin1Char('1') : QLatin1Char('0'))));
    QCOMPARE(touchpad_->isVisible(), button == QLatin1String("ButtonApply"));
}

void DeviceDialogsTest::mouseAndHelpStartTheirTools_data()
{
    QTest::addColumn<bool>("touchpad");
    QTest::addColumn<QString>("button");
    QTest::addColumn<bool>("yast2");
    QTest::addColumn<bool>("yastFile");
    QTest::addColumn<QString>("desktop"); // XDG_CURRENT_DESKTOP, when one is set
    QTest::addColumn<QStringList>("expected");

    const QString kdesu = QStringLiteral("shell: kdesu -c /sbin/yast2 mouse &");
    const QStringList askYast = AskedWhereis("yast2");
    for (const bool touchpad : {false, true}) {
        const char* form = touchpad ? "touchpad: " : "nubstick: ";
        auto row = [&](const char* name) -> QTestData& {
            return QTest::newRow((QByteArray(form) + name).constData());
        };
        row("Mouse Properties") << touchpad << "ButtonMouse" << true << true << QString()
                                << (askYast + QStringList{kdesu});
        row("Mouse Properties, no /sbin/yast2") << touchpad << "ButtonMouse" << true << false << QString()
                                                << (askYast + QStringList{YastMissing});
        row("Mouse Properties, no yast2") << touchpad << "ButtonMouse" << false << true << QString()
                                          << (askYast + QStringList{YastMissing});
        // Under Plasma without yast2: its mouse or touchpad settings, as the dialog's device.
        row("Mouse Properties under Plasma")
            << touchpad << "ButtonMouse" << false << false << "KDE"
            << (askYast + AskedWhereis("kcmshell6") + AskedWhereis("kcmshell5") +
                QStringList{touchpad ? "system: kcmshell5 kcm_touchpad &" : "system: kcmshell5 kcm_mouse &"});
        row("Help") << touchpad << "ButtonHelp" << false << false << QString()
                    << QStringList{touchpad ? QStringLiteral("system: firefox -width 800 -height 600 "
                                                             "/opt/lapstone/vc/help/html/QRVTouchPad.HTM &")
                                            : QStringLiteral("system: firefox -width 800 -height 600 "
                                                             "/opt/lapstone/vc/help/html/QRVNubstick.HTM &")};
    }
}

void DeviceDialogsTest::mouseAndHelpStartTheirTools()
{
    QFETCH(bool, touchpad);
    QFETCH(QString, button);
    QFETCH(bool, yast2);
    QFETCH(bool, yastFile);
    QFETCH(QString, desktop);
    QFETCH(QStringList, expected);

    TNubstickFor* form = touchpad ? touchpad_ : nubstick_;
    const int handled = ShowHandlersRun(form);
    form->show();
    QTRY_VERIFY(ShowHandlersRun(form) > handled);
    host_.log.clear();
    host_.fileTests.clear();
    host_.Whereis(QStringLiteral("yast2"), yast2);
    host_.files.insert(QStringLiteral("/sbin/yast2"), yastFile);
    host_.InstallProgram(QStringLiteral("firefox"));
    if (!desktop.isEmpty()) {
        host_.environment.insert(QStringLiteral("XDG_CURRENT_DESKTOP"), desktop);
        host_.Whereis(QStringLiteral("kcmshell6"), false);
        host_.Whereis(QStringLiteral("kcmshell5"), true);
    }
    QTest::mouseClick(Button(form, qPrintable(button)), Qt::LeftButton);
    QCOMPARE(host_.log, expected);
    QVERIFY(form->isVisible());
    // /sbin/yast2 is looked at only once whereis knows yast2.
    QCOMPARE(host_.fileTests.contains(QStringLiteral("/sbin/yast2")),
             button == QLatin1String("ButtonMouse") && yast2);
}

void DeviceDialogsTest::cancelWritesNothing()
{
    AnswerRate("100\n");
    AnswerListing("    TouchpadOff          = 0\n");
    for (TNubstickFor* form : {nubstick_, static_cast<TNubstickFor*>(touchpad_)}) {
        Show(form);
        host_.log.clear();
        State(form)->setCurrentText(QStringLiteral("Disable"));
        QTest::mouseClick(Button(form, "ButtonCancel"), Qt::LeftButton);
        QVERIFY(host_.log.isEmpty());
        QVERIFY(!form->isVisible());
        // Showing again reads the device afresh, not the abandoned choice.
        Show(form);
        QCOMPARE(State(form)->currentText(), QStringLiteral("Automatic"));
        form->reject();
    }
}

QTEST_MAIN(DeviceDialogsTest)
#include "DeviceDialogsTest.moc"
