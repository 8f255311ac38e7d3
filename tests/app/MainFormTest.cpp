// The main window on fake areas: start-up, what the start shows for each verdict on the dump, which
// area each button asks and what it shows of the answer, the preview pictures and closing.
#include "app/MainForm.h"
#include "app/Application.h"
#include "areas/Areas.h"
#include "areas/system/Constants.h"
#include "machine/Constants.h"
#include "machine/Host.h"
#include "tests/support/FakeAreas.h"
#include "tests/support/FakeHost.h"
#include "widgets/FormEvents.h"
#include "widgets/Forms.h"

#include <QAction>
#include <QCursor>
#include <QDialog>
#include <QEnterEvent>
#include <QLabel>
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

const QString Origin = QStringLiteral("/opt/lapstone/vc/bin/image/origin.jpg");
const QStringList AllForms = {QStringLiteral("MainForm1"),   QStringLiteral("SysInfoForm"),
                              QStringLiteral("NubstickFor"), QStringLiteral("TouchPadForm1"),
                              QStringLiteral("SecureForm1"), QStringLiteral("ResumeForm1")};
const Message NoBios{MessageKind::Plain, QString::fromLatin1(MsgNoBiosInformation)};
const Message NoDaemon{MessageKind::Plain, QString::fromLatin1(MsgDaemonNotStarted)};
const Message NotVeltor{MessageKind::Error, QString::fromLatin1(MsgNotVeltor)};

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

// The messages as the fake host writes their boxes down.
QStringList Boxes(const Messages& messages)
{
    QStringList boxes;
    for (const Message& message : messages)
        boxes.append(
            (message.kind == MessageKind::Error ? QStringLiteral("error: ") : QStringLiteral("plain: ")) +
            message.text);
    return boxes;
}

} // namespace

class MainFormTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void startUpCreatesTheMainWindow();
    void startShowsWhatTheDumpSays_data();
    void startShowsWhatTheDumpSays();
    void aMissingStartPictureStopsTheStart();
    void handOverButtonsStartTheirSettings_data();
    void handOverButtonsStartTheirSettings();
    void dialogButtonsShowTheirDialogs();
    void previewFollowsThePointer();
    void closingRemovesTheDump();
    void helpWritesToStandardOutput();

private:
    // Shows the window and waits until its show handler has run.
    void Start();
    QToolButton* Button(const char* name) const
    {
        return form_->findChild<QToolButton*>(QLatin1String(name));
    }

    FakeHost host_; // the pictures and the message boxes
    std::unique_ptr<ScopedHost> scope_;
    std::unique_ptr<FakeAreas> areas_;
    std::unique_ptr<TMainForm1> form_;
};

void MainFormTest::init()
{
    host_ = FakeHost();
    QCursor::setPos(0, 0); // away from the window, which opens in the middle of the screen
    scope_ = std::make_unique<ScopedHost>(host_);
    areas_ = std::make_unique<FakeAreas>();
    form_ = std::make_unique<TMainForm1>(areas_->areas().system, areas_->areas().handOvers);
}

void MainFormTest::cleanup()
{
    form_.reset();
    scope_.reset();
}

void MainFormTest::Start()
{
    const int handled = ShowHandlersRun(form_.get());
    form_->show();
    QTRY_VERIFY(ShowHandlersRun(form_.get()) > handled);
}

void MainFormTest::startUpCreatesTheMainWindow()
{
    form_.reset(); // the program's own forms only
    TApplication application(areas_->areas());
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
    QVERIFY(areas_->script().log.isEmpty());
    // Shown, it loads the start picture and has the DMI table dumped once the window is on the
    // screen; again after a hide, once.
    bool onScreen = false;
    areas_->script().duringDump = [&] { onScreen = window->windowHandle()->isExposed(); };
    for (const int shown : {1, 2}) {
        window->show();
        QTRY_COMPARE(areas_->script().log.size(), shown);
        QVERIFY(onScreen);
        QCOMPARE(areas_->script().log, QStringList(shown, QStringLiteral("dump")));
        QCOMPARE(host_.log, QStringList(shown, QStringLiteral("image: ") + Origin));
        QVERIFY(!window->findChild<QLabel*>(QStringLiteral("Image1"))->pixmap().isNull());
        window->hide();
    }
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

    // A category button opens the program's own dialog.
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

void MainFormTest::startShowsWhatTheDumpSays_data()
{
    QTest::addColumn<int>("verdict");
    QTest::addColumn<Messages>("messages");
    QTest::addColumn<QString>("unreadable"); // the dump is there, but reading it fails for this
    QTest::addColumn<bool>("staysOpen");

    QTest::newRow("a VELTOR notebook") << int(DumpVerdict::Veltor) << Messages{} << QString() << true;
    QTest::newRow("another maker's") << int(DumpVerdict::Foreign) << Messages{NotVeltor} << QString()
                                     << false;
    QTest::newRow("no dump") << int(DumpVerdict::Unread) << Messages{NoBios} << QString() << true;
    QTest::newRow("no daemon, then no dump")
        << int(DumpVerdict::Unread) << Messages{NoDaemon, NoBios} << QString() << true;
    QTest::newRow("the daemon refused") << int(DumpVerdict::Unread) << Messages{} << QString() << true;
    // The handler ends in the default error report; the program goes on.
    QTest::newRow("an unreadable dump")
        << int(DumpVerdict::Unread) << Messages{} << QStringLiteral("Permission denied") << true;
}

void MainFormTest::startShowsWhatTheDumpSays()
{
    QFETCH(int, verdict);
    QFETCH(Messages, messages);
    QFETCH(QString, unreadable);
    QFETCH(bool, staysOpen);
    areas_->script().dump = {DumpVerdict(verdict), messages};
    areas_->script().dumpUnreadable = unreadable;

    Start();

    QStringList shown = Boxes(messages);
    if (!unreadable.isEmpty())
        shown.append(QStringLiteral("report: /tmp/StoredDmi: ") + unreadable);
    QCOMPARE(host_.log, QStringList{QStringLiteral("image: ") + Origin} + shown);
    QCOMPARE(form_->isVisible(), staysOpen);
    // Another maker's notebook: the window closes after the error box, and closing removes the dump.
    const QStringList asked = staysOpen ? QStringList{"dump"} : QStringList{"dump", "remove dump"};
    QCOMPARE(areas_->script().log, asked);
}

void MainFormTest::aMissingStartPictureStopsTheStart()
{
    host_.missingImages.insert(Origin);
    form_->show();
    QTRY_COMPARE(host_.log.size(), 2);
    QCOMPARE(host_.log.last(),
             QStringLiteral("report: ") + Origin + QStringLiteral(": No such file or directory"));
    QVERIFY(form_->isVisible());
    QVERIFY2(areas_->script().log.isEmpty(), "no dump without the start picture");
}

void MainFormTest::handOverButtonsStartTheirSettings_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("setting");
    QTest::newRow("Display") << "SpdButtonDisplay" << int(Setting::Display);
    QTest::newRow("Audio") << "SpdButtonAudio" << int(Setting::Audio);
    QTest::newRow("Internet Modem") << "SpdButtonModem" << int(Setting::Modem);
    QTest::newRow("Infrared") << "SpdButtonInfra" << int(Setting::Infrared);
    QTest::newRow("Power Manager") << "SpdButtonPower" << int(Setting::PowerManager);
    QTest::newRow("Network Adapter") << "SpdButtonLan" << int(Setting::NetworkAdapter);
}

void MainFormTest::handOverButtonsStartTheirSettings()
{
    QFETCH(QString, button);
    QFETCH(int, setting);
    // What the hand-over says is shown, in its order.
    const Messages said{{MessageKind::Plain, QStringLiteral("first")},
                        {MessageKind::Error, QStringLiteral("then")}};
    areas_->script().launches.insert(Setting(setting), {Started::Nothing, said});

    QTest::mouseClick(form_->findChild<QToolButton*>(button), Qt::LeftButton);

    QCOMPARE(areas_->script().log, QStringList{QStringLiteral("start ") + SettingName(Setting(setting))});
    QCOMPARE(host_.log, Boxes(said));
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
    QVERIFY(areas_->script().log.isEmpty());
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
    QCOMPARE(host_.log.value(1), QStringLiteral("report: /opt/lapstone/vc/bin/image/power.jpg: "
                                                "No such file or directory"));
    QVERIFY(areas_->script().log.isEmpty());
}

void MainFormTest::closingRemovesTheDump()
{
    Start();
    host_.log.clear();
    areas_->script().log.clear();
    areas_->script().dumpRemoval = {NoDaemon};
    form_->close();
    QCOMPARE(areas_->script().log, QStringList{QStringLiteral("remove dump")});
    QCOMPARE(host_.log, Boxes({NoDaemon}));
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
