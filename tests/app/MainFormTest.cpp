// The main window through the host seam: start-up, the dump and vendor check, every button's
// command lines and messages, the preview pictures and closing. Runs in a private /tmp.
#include "app/MainForm.h"
#include "app/Application.h"
#include "areas/Areas.h"
#include "areas/handovers/Constants.h"
#include "machine/Host.h"
#include "tests/support/FakeHost.h"
#include "tests/support/TestData.h"
#include "widgets/FormEvents.h"
#include "widgets/Forms.h"

#include <QAction>
#include <QCursor>
#include <QDialog>
#include <QEnterEvent>
#include <QFile>
#include <QLabel>
#include <QScrollArea>
#include <QTemporaryFile>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QWindow>
#include <cstdio>
#include <memory>
#include <unistd.h>

using namespace Ucomtc;

namespace {

const QString StoredDmi = QStringLiteral("/tmp/StoredDmi");
const QString DumpCommand = QStringLiteral("dmidecode > /tmp/StoredDmi");
const QString Origin = QStringLiteral("/opt/lapstone/vc/bin/image/origin.jpg");
const QStringList AllForms = {QStringLiteral("MainForm1"),   QStringLiteral("SysInfoForm"),
                              QStringLiteral("NubstickFor"), QStringLiteral("TouchPadForm1"),
                              QStringLiteral("SecureForm1"), QStringLiteral("ResumeForm1")};

// The names of the windows that exist, looked at without creating any that wait.
QStringList ExistingForms()
{
    QStringList names;
    for (const QWidget* window : QApplication::topLevelWidgets()) {
        if (AllForms.contains(window->objectName()))
            names.append(window->objectName());
    }
    return names;
}

} // namespace

class MainFormTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void startUpCreatesTheMainWindow();
    void startsWithTheDumpAndTheVendorCheck_data();
    void startsWithTheDumpAndTheVendorCheck();
    void rootDumpsWithoutTheDaemon();
    void aMissingStartPictureStopsTheStart();
    void theDumpIsAskedForAsTheWindowComesUp();
    void buttonsStartTheirTools_data();
    void buttonsStartTheirTools();
    void dialogButtonsShowTheirDialogs();
    void previewFollowsThePointer();
    void closingRemovesTheDump();
    void helpWritesToStandardOutput();

private:
    // Shows the window with the given dump answer and waits until its show handler has run.
    void Start(const std::function<void()>& dumpAnswer);
    QToolButton* Button(const char* name) const
    {
        return form_->findChild<QToolButton*>(QLatin1String(name));
    }

    FakeHost host_;
    std::unique_ptr<ScopedHost> scope_;
    Ucomtc::MachineAreas machine_;
    std::unique_ptr<TMainForm1> form_;
};

void MainFormTest::init()
{
    cleanup(); // some tests start over half way through
    host_ = FakeHost();
    QCursor::setPos(0, 0); // away from the window, which opens in the middle of the screen
    scope_ = std::make_unique<ScopedHost>(host_);
    form_ = std::make_unique<TMainForm1>(machine_.areas().system, machine_.areas().handOvers);
}

void MainFormTest::cleanup()
{
    form_.reset();
    scope_.reset();
    QFile::remove(FakeHost::Real(StoredDmi));
}

void MainFormTest::Start(const std::function<void()>& dumpAnswer)
{
    host_.answers.insert(DumpCommand, [dumpAnswer] {
        dumpAnswer();
        return 0;
    });
    const int handled = ShowHandlersRun(form_.get());
    form_->show();
    QTRY_VERIFY(ShowHandlersRun(form_.get()) > handled);
}

void MainFormTest::startUpCreatesTheMainWindow()
{
    form_.reset(); // the program's own forms only
    Ucomtc::MachineAreas machine;
    TApplication application(machine.areas());
    application.CreateForms();
    // Every form at once, in its order; the dialogs are the main window's children, hidden. Nothing
    // is asked of the machine before the window is shown.
    QCOMPARE(application.FormNames(), AllForms);
    QCOMPARE(ExistingForms().size(), AllForms.size());
    TMainForm1* window = application.MainForm();
    for (const QString& name : AllForms.mid(1)) {
        QWidget* dialog = FindForm(name);
        QCOMPARE(dialog->parentWidget(), window);
        QVERIFY(!dialog->isVisible());
    }
    QVERIFY(host_.log.isEmpty());
    window->show();
    QTRY_VERIFY(host_.log.contains(QStringLiteral("privileged: ") + DumpCommand));
    QCOMPARE(host_.log.first(), QStringLiteral("image: ") + Origin);
    QCOMPARE(host_.log.filter(QStringLiteral("privileged: ")).size(), 1);
    QCOMPARE(window->windowTitle(), QStringLiteral("Lapstone Configuration for Zentil Linux V1.00"));
    QCOMPARE(window->minimumSize(), QSize(633, 539));
    QCOMPARE(window->maximumSize(), QSize(633, 539));
    QVERIFY(!(window->windowFlags() & Qt::WindowMaximizeButtonHint));
    QCOMPARE(window->font().pixelSize(), 12);

    // Every button's caption is its own, all of it fits, and the Tag picks its preview.
    // Only the button column: the dialogs are the window's children and have tool buttons of
    // their own (a tab bar's scroll arrows).
    const auto buttons =
        window->findChild<QWidget*>(QStringLiteral("PanelButton"))->findChildren<QToolButton*>();
    QCOMPARE(buttons.size(), 10);
    auto* security = window->findChild<QToolButton*>(QStringLiteral("SpdButtonSecure"));
    QCOMPARE(security->text(), QStringLiteral("Se&curity Information"));
    QCOMPARE(security->property("Tag").toInt(), 9);
    for (QToolButton* button : buttons) {
        const QString caption = QString(button->text()).remove(QLatin1Char('&'));
        QVERIFY2(QFontMetrics(button->font()).horizontalAdvance(caption) <= button->width() - 8,
                 qPrintable(caption));
    }

    // Clicking a category button finds its dialog by name.
    bool opened = false;
    QTimer::singleShot(0, [&] {
        if (auto* dialog = qobject_cast<QDialog*>(FindForm(QStringLiteral("NubstickFor")))) {
            opened = dialog->isVisible();
            dialog->reject();
        }
    });
    window->NubstickExecute();
    QVERIFY(opened);
}

void MainFormTest::startsWithTheDumpAndTheVendorCheck_data()
{
    QTest::addColumn<QByteArray>("dump");
    QTest::addColumn<bool>("written");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<bool>("staysOpen");

    const QString noBios = QStringLiteral("plain: can't get the BIOS information");
    QTest::newRow("VELTOR dump, vendor line deep inside")
        << TestData("dmidecode-veltor.txt") << true << QStringList{} << true;
    QTest::newRow("foreign dump") << TestData("dmidecode-foreign.txt") << true
                                  << QStringList{QStringLiteral(
                                         "error: the device you are using is not from VELTOR")}
                                  << false;
    QTest::newRow("empty dump") << QByteArray() << true << QStringList{noBios} << true;
    QTest::newRow("dump of blank lines") << QByteArray("\n\n  \n") << true << QStringList{noBios} << true;
    QTest::newRow("no dump at all") << QByteArray() << false << QStringList{noBios} << true;
}

void MainFormTest::startsWithTheDumpAndTheVendorCheck()
{
    QFETCH(QByteArray, dump);
    QFETCH(bool, written);
    QFETCH(QStringList, messages);
    QFETCH(bool, staysOpen);

    Start([&] {
        if (written)
            FakeHost::WriteFile(StoredDmi, dump);
    });

    QCOMPARE(host_.log.mid(0, 2),
             (QStringList{QStringLiteral("image: ") + Origin, QStringLiteral("privileged: ") + DumpCommand}));
    QStringList shown;
    for (const QString& entry : host_.log) {
        if (entry.startsWith(QLatin1String("error: ")) || entry.startsWith(QLatin1String("plain: ")))
            shown.append(entry);
    }
    QCOMPARE(shown, messages);
    QCOMPARE(form_->isVisible(), staysOpen);
    if (!staysOpen) {
        // Closing after the error box removed the dump through the daemon.
        QCOMPARE(host_.log.last(), QStringLiteral("privileged: rm /tmp/StoredDmi"));
        QVERIFY(!QFile::exists(FakeHost::Real(StoredDmi)));
    }
}

void MainFormTest::rootDumpsWithoutTheDaemon()
{
    host_.uid = 0;
    Start([] { FakeHost::WriteFile(StoredDmi, TestData("dmidecode-veltor.txt")); });
    QCOMPARE(host_.Entries(QStringLiteral("system: ")), QStringList{DumpCommand});
    QVERIFY(host_.Entries(QStringLiteral("privileged: ")).isEmpty());
    QVERIFY(form_->isVisible());

    // A daemon that refuses leaves the window open without any message; an unreadable dump ends
    // the handler in the default error report.
    init();
    host_.privilegedResults.insert(DumpCommand, false);
    Start([] {});
    QCOMPARE(host_.log,
             (QStringList{QStringLiteral("image: ") + Origin, QStringLiteral("privileged: ") + DumpCommand}));
    QVERIFY(form_->isVisible());

    init();
    host_.files.insert(StoredDmi, true);
    Start([] {});
    QVERIFY(host_.log.last().startsWith(QStringLiteral("report: /tmp/StoredDmi")));
    QVERIFY(form_->isVisible());
}

void MainFormTest::aMissingStartPictureStopsTheStart()
{
    host_.missingImages.insert(Origin);
    form_->show();
    QTRY_COMPARE(host_.log.size(), 2);
    QCOMPARE(host_.log.last(),
             QStringLiteral("report: ") + Origin + QStringLiteral(": No such file or directory"));
    QVERIFY(form_->isVisible());
    QVERIFY2(host_.Entries(QStringLiteral("privileged: ")).isEmpty(), "no dump without the start picture");
}

void MainFormTest::theDumpIsAskedForAsTheWindowComesUp()
{
    // Building the window asks for nothing; its show handler loads the start picture, then waits
    // for the dump, which it asks for once the window is on the screen.
    QVERIFY(host_.log.isEmpty());
    bool onScreen = false;
    host_.answers.insert(DumpCommand, [&] {
        onScreen = form_->windowHandle()->isExposed();
        FakeHost::WriteFile(StoredDmi, TestData("dmidecode-veltor.txt"));
        return 0;
    });
    form_->show();
    QTRY_COMPARE(host_.log.size(), 2);
    QCOMPARE(host_.log,
             (QStringList{QStringLiteral("image: ") + Origin, QStringLiteral("privileged: ") + DumpCommand}));
    QVERIFY(!form_->findChild<QLabel*>(QStringLiteral("Image1"))->pixmap().isNull());
    QVERIFY(onScreen);

    // Shown again after a hide, it starts over, once.
    form_->hide();
    host_.log.clear();
    form_->show();
    QTRY_COMPARE(host_.log.size(), 2);
    QCOMPARE(host_.log,
             (QStringList{QStringLiteral("image: ") + Origin, QStringLiteral("privileged: ") + DumpCommand}));
}

void MainFormTest::buttonsStartTheirTools_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QStringList>("known");    // names whereis knows, and NAME=VALUE for the environment
    QTest::addColumn<QStringList>("existing"); // files that exist
    QTest::addColumn<QStringList>("expected"); // the log after the click

    const QStringList yast2 = {QStringLiteral("yast2")};
    const QStringList yastFile = {QStringLiteral("/sbin/yast2")};
    const QString askYast = QStringLiteral("system: whereis yast2 >/tmp/command");
    const QString rmCommand = QStringLiteral("system: rm /tmp/command");
    const QString yastMissing =
        QStringLiteral("error: command yast is not found or no /sbin/yast2 file or directory");

    QTest::newRow("Display") << "SpdButtonDisplay" << QStringList{"kcmshell"} << QStringList{}
                             << QStringList{"system: whereis kcmshell >/tmp/command", rmCommand,
                                            "system: kcmshell --caption Desktop kde-display > /dev/null&"};
    QTest::newRow("Display without kcmshell") << "SpdButtonDisplay" << QStringList{} << QStringList{}
                                              << QStringList{"system: whereis kcmshell >/tmp/command",
                                                             rmCommand, "error: command kcmshell not found"};
    QTest::newRow("Audio") << "SpdButtonAudio" << yast2 << yastFile
                           << QStringList{askYast, rmCommand, "system: kdesu -c /sbin/yast2 sound &"};
    QTest::newRow("Internet Modem") << "SpdButtonModem" << yast2 << yastFile
                                    << QStringList{askYast, rmCommand,
                                                   "system: kdesu -c /sbin/yast2 modem &"};
    QTest::newRow("Infrared") << "SpdButtonInfra" << yast2 << yastFile
                              << QStringList{askYast, rmCommand, "system: kdesu -c /sbin/yast2 irda &"};
    QTest::newRow("Infrared, yast2 known but no /sbin/yast2")
        << "SpdButtonInfra" << yast2 << QStringList{} << QStringList{askYast, rmCommand, yastMissing};
    QTest::newRow("Audio without yast2")
        << "SpdButtonAudio" << QStringList{} << yastFile << QStringList{askYast, rmCommand, yastMissing};
    QTest::newRow("Power Manager, YaST2 module")
        << "SpdButtonPower" << yast2 << yastFile
        << QStringList{askYast, rmCommand, "system: kdesu -c /sbin/yast2 power-management &"};
    QTest::newRow("Power Manager, add-on script first")
        << "SpdButtonPower" << QStringList{} << QStringList{"/opt/lapstone/pm/pm.sh"}
        << QStringList{"system: /opt/lapstone/pm/pm.sh start"};
    QTest::newRow("Network Adapter, YaST2 module")
        << "SpdButtonLan" << yast2 << yastFile
        << QStringList{askYast, rmCommand, "system: kdesu -c /sbin/yast2 lan &"};
    QTest::newRow("Network Adapter without yast2")
        << "SpdButtonLan" << QStringList{} << QStringList{} << QStringList{askYast, rmCommand, yastMissing};
    QTest::newRow("Network Adapter, add-on script first")
        << "SpdButtonLan" << QStringList{} << QStringList{"/opt/lapstone/ac/ac.sh"}
        << QStringList{"system: /opt/lapstone/ac/ac.sh start"};

    // Desktops of today, where the old tools are missing: their own settings tools take over.
    const auto asked = [&](const char* name) {
        return QStringList{QStringLiteral("system: whereis ") + QLatin1String(name) +
                               QStringLiteral(" >/tmp/command"),
                           rmCommand};
    };
    QTest::newRow("Audio under Plasma 5")
        << "SpdButtonAudio" << QStringList{"XDG_CURRENT_DESKTOP=KDE", "kcmshell5"} << QStringList{}
        << QStringList{askYast, rmCommand} + asked("kcmshell6") + asked("kcmshell5") +
               QStringList{"system: kcmshell5 kcm_pulseaudio &"};
    QTest::newRow("Network Adapter under Plasma 6")
        << "SpdButtonLan" << QStringList{"XDG_CURRENT_DESKTOP=KDE", "kcmshell6", "kcmshell5"} << QStringList{}
        << QStringList{askYast, rmCommand} + asked("kcmshell6") +
               QStringList{"system: kcmshell6 kcm_networkmanagement &"};
    QTest::newRow("Display under GNOME")
        << "SpdButtonDisplay" << QStringList{"XDG_CURRENT_DESKTOP=ubuntu:GNOME", "gnome-control-center"}
        << QStringList{}
        << asked("kcmshell") + asked("gnome-control-center") +
               QStringList{"system: gnome-control-center display &"};
    QTest::newRow("Network Adapter under GNOME, wireless only")
        << "SpdButtonLan" << QStringList{"XDG_CURRENT_DESKTOP=GNOME", "gnome-control-center"}
        << QStringList{"/sys/class/net/wlp3s0/uevent", "/sys/class/net/wlp3s0/device/uevent"}
        << QStringList{askYast, rmCommand} + asked("gnome-control-center") +
               QStringList{"system: gnome-control-center wifi &"};
    QTest::newRow("Internet Modem under GNOME without its tool")
        << "SpdButtonModem" << QStringList{"XDG_CURRENT_DESKTOP=GNOME"} << QStringList{}
        << QStringList{askYast, rmCommand} + asked("gnome-control-center") + QStringList{yastMissing};
    QTest::newRow("Infrared under Plasma")
        << "SpdButtonInfra" << QStringList{"XDG_CURRENT_DESKTOP=KDE", "kcmshell5"} << QStringList{}
        << QStringList{askYast, rmCommand, QStringLiteral("plain: ") + QString::fromLatin1(MsgNoInfrared)};
}

void MainFormTest::buttonsStartTheirTools()
{
    QFETCH(QString, button);
    QFETCH(QStringList, known);
    QFETCH(QStringList, existing);
    QFETCH(QStringList, expected);

    for (const char* name : {"kcmshell", "yast2", "kcmshell6", "kcmshell5", "gnome-control-center"})
        host_.Whereis(QString::fromLatin1(name), known.contains(QLatin1String(name)));
    for (const QString& entry : known.filter(QStringLiteral("=")))
        host_.environment.insert(entry.section(QLatin1Char('='), 0, 0), entry.section(QLatin1Char('='), 1));
    for (const char* path : {"/sbin/yast2", "/opt/lapstone/pm/pm.sh", "/opt/lapstone/ac/ac.sh"})
        host_.files.insert(QString::fromLatin1(path), existing.contains(QLatin1String(path)));
    for (const QString& path : existing.filter(QStringLiteral("/sys/")))
        host_.texts.insert(path, "DEVTYPE=wlan\n");

    QTest::mouseClick(form_->findChild<QToolButton*>(button), Qt::LeftButton);

    QCOMPARE(host_.log, expected);
    // /sbin/yast2 is looked at only once whereis has found yast2.
    QCOMPARE(host_.fileTests.contains(QStringLiteral("/sbin/yast2")),
             known.contains(QStringLiteral("yast2")) &&
                 expected.first() == QStringLiteral("system: whereis yast2 >/tmp/command"));
    QVERIFY(!QFile::exists(FakeHost::Real(QStringLiteral("/tmp/command"))));
}

void MainFormTest::dialogButtonsShowTheirDialogs()
{
    const std::pair<const char*, const char*> pairs[] = {{"SpdButtonSys", "SysInfoForm"},
                                                         {"SpdButtonNubstick", "NubstickFor"},
                                                         {"SpdButtonTouch", "TouchPadForm1"},
                                                         {"SpdButtonSecure", "SecureForm1"}};
    QDialog dialogs[4];
    form_->UseDialogs({&dialogs[0], &dialogs[1], &dialogs[2], &dialogs[3]});
    int shown = 0;
    for (const auto& [buttonName, formName] : pairs) {
        QDialog& dialog = dialogs[shown++];
        bool wasModal = false;
        QTimer::singleShot(0, &dialog, [&] {
            wasModal = dialog.isVisible() && dialog.isModal();
            dialog.accept();
        });
        QTest::mouseClick(Button(buttonName), Qt::LeftButton);
        QVERIFY2(wasModal, formName);
    }
    QVERIFY(host_.log.isEmpty());
}

void MainFormTest::previewFollowsThePointer()
{
    auto* image = form_->findChild<QLabel*>(QStringLiteral("Image1"));
    QToolButton* security = Button("SpdButtonSecure");
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QCoreApplication::sendEvent(security, &enter);
    QCOMPARE(host_.log, QStringList{QStringLiteral("image: /opt/lapstone/vc/bin/image/security.jpg")});
    QCOMPARE(image->pixmap().toImage().pixel(0, 0),
             host_.LoadImage(QStringLiteral("/opt/lapstone/vc/bin/image/security.jpg")).pixel(0, 0));

    // Leaving the button keeps the picture.
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(security, &leave);
    QCOMPARE(host_.log.size(), 2);

    host_.log.clear();
    QCoreApplication::sendEvent(Button("SpdButtonSys"), &enter);
    QCOMPARE(host_.log, QStringList{QStringLiteral("image: /opt/lapstone/vc/bin/image/sysinfo.jpg")});

    // A missing picture is reported, and the program goes on.
    host_.log.clear();
    host_.missingImages.insert(QStringLiteral("/opt/lapstone/vc/bin/image/power.jpg"));
    QCoreApplication::sendEvent(Button("SpdButtonPower"), &enter);
    QCOMPARE(host_.log.value(1),
             QStringLiteral("report: /opt/lapstone/vc/bin/image/power.jpg: No such file or directory"));
}

void MainFormTest::closingRemovesTheDump()
{
    Start([] { FakeHost::WriteFile(StoredDmi, TestData("dmidecode-veltor.txt")); });
    host_.log.clear();
    form_->close();
    QCOMPARE(host_.log, QStringList{QStringLiteral("privileged: rm /tmp/StoredDmi")});
    QVERIFY(!QFile::exists(FakeHost::Real(StoredDmi)));

    // Without a dump, nothing is asked of the daemon.
    init();
    form_->show();
    QTRY_VERIFY(ShowHandlersRun(form_.get()) > 0);
    host_.log.clear();
    form_->close();
    QVERIFY(host_.log.isEmpty());
}

void MainFormTest::helpWritesToStandardOutput()
{
    QTemporaryFile capture;
    QVERIFY(capture.open());
    std::fflush(stdout);
    const int saved = dup(STDOUT_FILENO);
    dup2(capture.handle(), STDOUT_FILENO);
    form_->findChild<QAction*>(QStringLiteral("Help"))->trigger();
    std::fflush(stdout);
    dup2(saved, STDOUT_FILENO);
    ::close(saved);
    capture.seek(0);
    QCOMPARE(capture.readAll(), QByteArray("help"));
}

QTEST_MAIN(MainFormTest)
#include "MainFormTest.moc"
