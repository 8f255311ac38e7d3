// The program without a mouse: the main window's areas reached with Tab, the arrows and the
// mnemonics and opened with Enter or Space, every dialog worked with keys alone (QTest key events
// only), and every control and picture named for screen readers. The forms run on fake areas.
#include "app/Application.h"
#include "app/MainForm.h"
#include "areas/handovers/Constants.h"
#include "machine/Host.h"
#include "tests/support/FakeAreas.h"
#include "tests/support/FakeHost.h"
#include "widgets/FormEvents.h"
#include "widgets/Forms.h"
#include "widgets/MessageBox.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <memory>

using namespace Ucomtc;

namespace {

QWidget* Focused()
{
    return QApplication::focusWidget();
}

// Closes every modal dialog that opens, with Escape, as a person would.
class ModalCloser : public QObject
{
public:
    ModalCloser()
    {
        timer_.callOnTimeout([] {
            if (QWidget* modal = QApplication::activeModalWidget())
                QTest::keyClick(modal, Qt::Key_Escape);
        });
        timer_.start(20);
    }

private:
    QTimer timer_;
};

} // namespace

class KeyboardTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void tabAndArrowsWalkTheAreas();
    void everyAreaOpensWithEnterOrSpace();
    void aSharedMnemonicMovesBetweenItsButtons();
    void nubstickDialogWithKeysOnly();
    void systemInformationWithKeysOnly();
    void securityAndResumeLockWithKeysOnly();
    void everyDialogAnswersReturnAndEscape_data();
    void everyDialogAnswersReturnAndEscape();
    void f1ShowsTheHelpOfItsWindow_data();
    void f1ShowsTheHelpOfItsWindow();
    void everyControlAndPictureHasAName();
    void passwordStatesAreNamedByTheirCaptions();

private:
    QToolButton* Button(const char* name) const
    {
        return main_->findChild<QToolButton*>(QLatin1String(name));
    }
    QAction* Action(const QString& name) const
    {
        return main_->findChild<QObject*>(QStringLiteral("ActionList1"))->findChild<QAction*>(name);
    }
    QDialog* Dialog(const char* name) const { return qobject_cast<QDialog*>(FindForm(QLatin1String(name))); }
    // Shows `dialog` and waits for its show handler.
    void Open(QDialog* dialog);

    FakeHost host_; // the pictures and the message boxes
    std::unique_ptr<ScopedHost> scope_;
    std::unique_ptr<FakeAreas> areas_;
    std::unique_ptr<TApplication> application_;
    TMainForm1* main_ = nullptr;
};

void KeyboardTest::init()
{
    host_ = FakeHost();
    scope_ = std::make_unique<ScopedHost>(host_);
    areas_ = std::make_unique<FakeAreas>();
    application_ = std::make_unique<TApplication>(areas_->areas());
    application_->CreateForms();
    main_ = application_->MainForm();
    main_->show();
    QVERIFY(QTest::qWaitForWindowActive(main_));
    QTRY_VERIFY(ShowHandlersRun(main_) > 0);
    host_.log.clear();
    areas_->script().log.clear();
}

void KeyboardTest::cleanup()
{
    application_.reset();
    scope_.reset();
}

void KeyboardTest::Open(QDialog* dialog)
{
    const int handled = ShowHandlersRun(dialog);
    dialog->show();
    QVERIFY(QTest::qWaitForWindowActive(dialog));
    QTRY_VERIFY(ShowHandlersRun(dialog) > handled);
}

void KeyboardTest::tabAndArrowsWalkTheAreas()
{
    // The window opens with the preview area focused; Tab goes on to the first area.
    QCOMPARE(Focused()->objectName(), QStringLiteral("ScrollBox1"));
    QTest::keyClick(Focused(), Qt::Key_Tab);
    QCOMPARE(Focused(), Button("SpdButtonSys"));
    // Focus shows the area's picture, as the pointer does.
    QCOMPARE(host_.log, QStringList{QStringLiteral("image: /opt/lapstone/vc/bin/image/sysinfo.jpg")});

    QTest::keyClick(Focused(), Qt::Key_Down);
    QCOMPARE(Focused(), Button("SpdButtonNubstick"));
    QCOMPARE(host_.log.last(), QStringLiteral("image: /opt/lapstone/vc/bin/image/nubstick.jpg"));
    QTest::keyClick(Focused(), Qt::Key_Tab);
    QCOMPARE(Focused(), Button("SpdButtonAudio"));
    // The arrows go round the column.
    QTest::keyClick(Focused(), Qt::Key_Up);
    QTest::keyClick(Focused(), Qt::Key_Up);
    QTest::keyClick(Focused(), Qt::Key_Up);
    QCOMPARE(Focused(), Button("SpdButtonSecure"));
    QCOMPARE(host_.log.last(), QStringLiteral("image: /opt/lapstone/vc/bin/image/security.jpg"));
    QTest::keyClick(Focused(), Qt::Key_Down);
    QCOMPARE(Focused(), Button("SpdButtonSys"));
    // The style draws the focus frame only when the keyboard moved the focus.
    QVERIFY(main_->testAttribute(Qt::WA_KeyboardFocusChange));
}

void KeyboardTest::everyAreaOpensWithEnterOrSpace()
{
    const char* actions[] = {"Details",  "Nubstick",       "Audio",        "Display",  "InternalModem",
                             "TouchPad", "NetworkAdapter", "PowerManager", "Infrared", "Security"};
    QStringList triggered;
    for (const char* name : actions)
        connect(Action(QLatin1String(name)), &QAction::triggered, this,
                [&triggered, name] { triggered.append(QLatin1String(name)); });
    ModalCloser closer;

    QTest::keyClick(Focused(), Qt::Key_Tab);
    const Qt::Key keys[] = {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space};
    for (int area = 0; area < 10; ++area) {
        QTest::keyClick(Focused(), keys[area % 3]);
        QTRY_COMPARE(triggered.size(), area + 1);
        QTRY_VERIFY(QApplication::activeModalWidget() == nullptr);
        // A dialog hands the activation back to the window that opened it.
        QTRY_COMPARE(QApplication::activeWindow(), main_);
        QTRY_VERIFY(Focused() != nullptr && Focused()->window() == main_);
        QTest::keyClick(Focused(), Qt::Key_Down);
    }
    QStringList expected;
    for (const char* name : actions)
        expected.append(QLatin1String(name));
    QCOMPARE(triggered, expected);
    // The hand-overs were asked for, as by a click.
    QCOMPARE(areas_->script().log.filter(QStringLiteral("start ")),
             (QStringList{"start Audio", "start Display", "start Modem", "start NetworkAdapter",
                          "start PowerManager", "start Infrared"}));
}

void KeyboardTest::aSharedMnemonicMovesBetweenItsButtons()
{
    // "&Nubstick" and "&Network Adapter" share Alt+N: each press moves the focus, nothing opens.
    bool nubstick = false;
    bool network = false;
    connect(Action(QStringLiteral("Nubstick")), &QAction::triggered, this, [&] { nubstick = true; });
    connect(Action(QStringLiteral("NetworkAdapter")), &QAction::triggered, this, [&] { network = true; });
    QTest::keyClick(main_, Qt::Key_N, Qt::AltModifier);
    QCOMPARE(Focused(), Button("SpdButtonNubstick"));
    QTest::keyClick(main_, Qt::Key_N, Qt::AltModifier);
    QCOMPARE(Focused(), Button("SpdButtonLan"));
    QVERIFY(!nubstick && !network);
    QTest::keyClick(Focused(), Qt::Key_Return);
    QVERIFY(network && !nubstick);

    // A mnemonic of its own opens its area at once.
    bool audio = false;
    connect(Action(QStringLiteral("Audio")), &QAction::triggered, this, [&] { audio = true; });
    QTest::keyClick(main_, Qt::Key_A, Qt::AltModifier);
    QTRY_VERIFY(audio);
}

void KeyboardTest::nubstickDialogWithKeysOnly()
{
    QDialog* dialog = Dialog("NubstickFor");
    Open(dialog);
    // The label's mnemonic leads to the list it names; the arrows choose.
    QTest::keyClick(dialog, Qt::Key_N, Qt::AltModifier);
    auto* state = dialog->findChild<QComboBox*>(QStringLiteral("ComboBoxState"));
    QCOMPARE(Focused(), state);
    state->setCurrentIndex(0);
    QTest::keyClick(state, Qt::Key_Down);
    QCOMPARE(state->currentText(), QStringLiteral("Automatic"));
    QTest::keyClick(dialog, Qt::Key_A, Qt::AltModifier);
    // A mnemonic clicks its button after a short flash.
    QTRY_VERIFY(areas_->script().log.contains(QStringLiteral("switch pointing stick on")));
    QVERIFY(dialog->isVisible());
    QTest::keyClick(dialog, Qt::Key_O, Qt::AltModifier);
    QTRY_VERIFY(!dialog->isVisible());
}

void KeyboardTest::systemInformationWithKeysOnly()
{
    QDialog* dialog = Dialog("SysInfoForm");
    Open(dialog);
    auto* tabs = dialog->findChild<QTabWidget*>(QStringLiteral("TabControl1"));
    QCOMPARE(tabs->currentIndex(), 0);
    QTest::keyClick(Focused(), Qt::Key_Tab, Qt::ControlModifier);
    QCOMPARE(tabs->currentIndex(), 1);
    // Alt+C is also the main window's "Se&curity Information", whose shortcuts Qt extends over this
    // tool window: Cancel answers all the same.
    QTest::keyClick(dialog, Qt::Key_C, Qt::AltModifier);
    QTRY_VERIFY(!dialog->isVisible());
}

void KeyboardTest::securityAndResumeLockWithKeysOnly()
{
    QDialog* security = Dialog("SecureForm1");
    QDialog* resume = Dialog("ResumeForm1");
    Open(security);
    auto* setting = security->findChild<QPushButton*>(QStringLiteral("ButtonResume"));
    for (int tab = 0; tab < 10 && Focused() != setting; ++tab)
        QTest::keyClick(Focused(), Qt::Key_Tab);
    QCOMPARE(Focused(), setting);

    // The resume lock dialog opens on top; its check box and OK answer to their mnemonics.
    bool ticked = false;
    bool closedByOk = false;
    QTimer::singleShot(50, resume, [&] {
        auto* lock = resume->findChild<QCheckBox*>(QStringLiteral("EnableLock"));
        const bool before = lock->isChecked();
        QTest::keyClick(resume, Qt::Key_B, Qt::AltModifier);
        ticked = QTest::qWaitFor([&] { return lock->isChecked() != before; });
        QTest::keyClick(resume, Qt::Key_O, Qt::AltModifier);
        closedByOk = QTest::qWaitFor([&] { return !resume->isVisible(); });
    });
    QTest::keyClick(Focused(), Qt::Key_Space);
    QVERIFY(ticked);
    QVERIFY(closedByOk);
    QVERIFY(areas_->script().log.contains(QStringLiteral("write resume lock off for KDE 3")));
    QVERIFY(security->isVisible());
    QTRY_VERIFY(security->isActiveWindow()); // handed back by the resume lock dialog
    QTest::keyClick(security, Qt::Key_C, Qt::AltModifier);
    QTRY_VERIFY(!security->isVisible());
    QTRY_COMPARE(QApplication::activeWindow(), main_);

    // A tool that is not there closes the dialog on an error: the activation still comes back.
    areas_->script().launches.insert(
        Setting::Users, {Started::Nothing, {{MessageKind::Error, QString::fromLatin1(MsgYastNotFound)}}});
    Open(security);
    QTest::keyClick(security->findChild<QPushButton*>(QStringLiteral("ButtonUsrPwd")), Qt::Key_Space);
    QTRY_VERIFY(!security->isVisible());
    QVERIFY(host_.log.contains(QStringLiteral("error: ") + QString::fromLatin1(MsgYastNotFound)));
    QTRY_COMPARE(QApplication::activeWindow(), main_);
}

void KeyboardTest::everyDialogAnswersReturnAndEscape_data()
{
    QTest::addColumn<QString>("form");
    QTest::addColumn<int>("key");
    for (const char* form : {"SysInfoForm", "NubstickFor", "TouchPadForm1", "SecureForm1", "ResumeForm1"}) {
        QTest::addRow("%s Return", form) << QString::fromLatin1(form) << int(Qt::Key_Return);
        QTest::addRow("%s Escape", form) << QString::fromLatin1(form) << int(Qt::Key_Escape);
    }
}

void KeyboardTest::everyDialogAnswersReturnAndEscape()
{
    QFETCH(QString, form);
    QFETCH(int, key);
    auto* dialog = qobject_cast<QDialog*>(FindForm(form));
    auto* ok = dialog->findChild<QPushButton*>(QStringLiteral("ButtonOK"));
    int confirmed = 0;
    connect(ok, &QPushButton::clicked, this, [&] { ++confirmed; });
    Open(dialog);
    // The focus the dialog opens with is drawn: Enter and Space act on what it shows.
    QVERIFY(dialog->testAttribute(Qt::WA_KeyboardFocusChange));
    QTest::keyClick(Focused(), Qt::Key(key));
    QTRY_VERIFY(!dialog->isVisible());
    QCOMPARE(confirmed, key == Qt::Key_Return ? 1 : 0);
    QTRY_COMPARE(QApplication::activeWindow(), main_);
}

void KeyboardTest::f1ShowsTheHelpOfItsWindow_data()
{
    QTest::addColumn<QString>("form");
    QTest::addColumn<QString>("page");
    const std::pair<const char*, const char*> pages[] = {
        {"MainForm1", "INDEX.HTM"},         {"SysInfoForm", "QRVSI.HTM"},
        {"NubstickFor", "QRVNubstick.HTM"}, {"TouchPadForm1", "QRVTouchPad.HTM"},
        {"SecureForm1", "QRVSecI.HTM"},     {"ResumeForm1", "QRVSecI.HTM"}};
    for (const auto& [form, page] : pages)
        QTest::newRow(form) << QString::fromLatin1(form) << QString::fromLatin1(page);
}

void KeyboardTest::f1ShowsTheHelpOfItsWindow()
{
    QFETCH(QString, form);
    QFETCH(QString, page);
    if (auto* dialog = qobject_cast<QDialog*>(FindForm(form)))
        Open(dialog);
    host_.log.clear();
    areas_->script().log.clear();
    // What opening the page says is shown.
    areas_->script().help = {{MessageKind::Error, QStringLiteral("no page")}};
    QTest::keyClick(Focused(), Qt::Key_F1);
    QCOMPARE(areas_->script().log, QStringList{QStringLiteral("help /opt/lapstone/vc/help/html/") + page});
    QCOMPARE(host_.log, QStringList{QStringLiteral("error: no page")});
}

void KeyboardTest::everyControlAndPictureHasAName()
{
    QList<QWidget*> windows{main_};
    for (const QString& name : application_->FormNames().mid(1))
        windows.append(FindForm(name));
    const auto box = CreateMessageBox(MessageKind::Error, QStringLiteral("command yast is not found"), main_);
    windows.append(box.get());

    for (QWidget* window : windows) {
        for (QWidget* widget : window->findChildren<QWidget*>()) {
            const auto* label = qobject_cast<QLabel*>(widget);
            const bool picture = label != nullptr && (!label->pixmap().isNull() ||
                                                      label->objectName().startsWith(QLatin1String("Image")));
            const bool focusable = (widget->focusPolicy() & Qt::TabFocus) != 0 && widget->isEnabled();
            if (!widget->isVisibleTo(window) || !(picture || focusable))
                continue;
            QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
            QVERIFY(accessible != nullptr);
            QVERIFY2(!accessible->text(QAccessible::Name).trimmed().isEmpty(),
                     qPrintable(window->objectName() + QLatin1Char('/') + widget->objectName() +
                                QLatin1Char(' ') + QString::fromLatin1(widget->metaObject()->className())));
            QVERIFY2(!accessible->text(QAccessible::Name).contains(QLatin1Char('&')),
                     qPrintable(widget->objectName()));
        }
    }
    // The areas say what they open; the pictures say what they show.
    for (QToolButton* button :
         main_->findChild<QWidget*>(QStringLiteral("PanelButton"))->findChildren<QToolButton*>())
        QVERIFY2(!button->accessibleDescription().isEmpty(), qPrintable(button->objectName()));
    QVERIFY(!main_->findChild<QLabel*>(QStringLiteral("Imagehead"))->accessibleDescription().isEmpty());
    QVERIFY(!main_->findChild<QLabel*>(QStringLiteral("Image1"))->accessibleDescription().isEmpty());
}

void KeyboardTest::passwordStatesAreNamedByTheirCaptions()
{
    areas_->script().screenSaverLock = {true, {}};
    QDialog* security = Dialog("SecureForm1");
    Open(security);
    QTRY_VERIFY(!security->findChild<QPushButton*>(QStringLiteral("ButtonScrnPwd"))->isEnabled());
    const auto accessible = [security](const char* name, QAccessible::Text text) {
        return QAccessible::queryAccessibleInterface(security->findChild<QWidget*>(QLatin1String(name)))
            ->text(text);
    };
    const std::pair<const char*, const char*> states[] = {
        {"LabelPwpwd", "Power-on"}, {"LabelHdpwd", "Hard-disk"}, {"LabelAdminpwd", "Administrator"}};
    for (const auto& [state, caption] : states) {
        QCOMPARE(accessible(state, QAccessible::Name), QLatin1String(caption));
        QCOMPARE(accessible(state, QAccessible::Description),
                 security->findChild<QLabel*>(QLatin1String(state))->text());
    }
    QCOMPARE(accessible("LabelPower", QAccessible::Name), QStringLiteral("Power-on"));
    QCOMPARE(accessible("ButtonScrnPwd", QAccessible::Description),
             QStringLiteral("The screen saver asks for a password"));
}

QTEST_MAIN(KeyboardTest)
#include "KeyboardTest.moc"
