// The pointing stick's and the touchpad's dialogs on fake areas: what each shows for its device's
// state and for the areas' messages, which calls OK, Apply, Mouse Properties, Help and Cancel make,
// and which of them close the dialog. How the devices are read and switched is the pointing area's
// (tests/areas/PointingDevicesTest.cpp).
#include "app/Application.h"
#include "app/MainForm.h"
#include "dialogs/nubstickform.h"
#include "dialogs/touchpadform.h"
#include "tests/support/FakeAreas.h"
#include "tests/support/FakeHost.h"
#include "tests/support/MessageKindName.h"
#include "widgets/FormEvents.h"
#include "widgets/Forms.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <memory>
#include <optional>

using namespace Ucomtc;

namespace {

const PointingDevice Stick = PointingDevice::PointingStick;
const PointingDevice Touchpad = PointingDevice::Touchpad;
const std::optional<DeviceState> On = DeviceState::On;
const std::optional<DeviceState> Off = DeviceState::Off;
const std::optional<DeviceState> OffWithMouse = DeviceState::OffWithMouse;
const std::optional<DeviceState> Unread = std::nullopt;

} // namespace

class DeviceDialogsTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void startUpCreatesBothDialogsOverTheMainWindow();
    void touchpadDialogReusesTheLayout();
    void showsWhatTheAreaReads_data();
    void showsWhatTheAreaReads();
    void buttonsAskTheirAreas_data();
    void buttonsAskTheirAreas();

private:
    TNubstickFor* Form(PointingDevice device) const
    {
        return device == Touchpad ? static_cast<TNubstickFor*>(touchpad_) : nubstick_;
    }
    // Shows `form` and waits for its show handler.
    void Show(TNubstickFor* form);
    QComboBox* State(QWidget* form) const
    {
        return form->findChild<QComboBox*>(QStringLiteral("ComboBoxState"));
    }
    QPushButton* Button(QWidget* form, const char* name) const
    {
        return form->findChild<QPushButton*>(QLatin1String(name));
    }
    QStringList& Log() { return areas_->script().log; }

    // Nothing reaches the machine: the dialogs go through their areas alone.
    std::unique_ptr<FakeHost> host_;
    std::unique_ptr<ScopedHost> scope_;
    std::unique_ptr<FakeAreas> areas_;
    // The boxes go into the areas' record, in order with the calls: "error: …".
    std::unique_ptr<ScopedMessageSink> sink_;
    std::unique_ptr<TMainForm1> main_;
    TNubstickFor* nubstick_ = nullptr;
    TTouchPadForm1* touchpad_ = nullptr;
};

void DeviceDialogsTest::init()
{
    host_ = std::make_unique<FakeHost>();
    scope_ = std::make_unique<ScopedHost>(*host_);
    areas_ = std::make_unique<FakeAreas>();
    sink_ = std::make_unique<ScopedMessageSink>([this](const Message& message) {
        Log().append(QString::fromLatin1(NameOf(message.kind).name) + QStringLiteral(": ") + message.text);
    });
    const Areas areas = areas_->areas();
    main_ = std::make_unique<TMainForm1>(areas.system, areas.handOvers);
    nubstick_ = new TNubstickFor(areas.pointing, areas.handOvers, main_.get());
    touchpad_ = new TTouchPadForm1(areas.pointing, areas.handOvers, main_.get());
}

void DeviceDialogsTest::cleanup()
{
    main_.reset();
    sink_.reset();
    QCOMPARE(host_->log, QStringList());
    areas_.reset();
    scope_.reset();
    host_.reset();
}

void DeviceDialogsTest::Show(TNubstickFor* form)
{
    const int handled = ShowHandlersRun(form);
    form->show();
    QTRY_VERIFY(ShowHandlersRun(form) > handled);
    QVERIFY(form->isVisible());
}

void DeviceDialogsTest::startUpCreatesBothDialogsOverTheMainWindow()
{
    main_.reset(); // forms are found by name: only the program's own may be there
    TApplication application(areas_->areas());
    application.CreateForms();
    const QStringList names = application.FormNames();
    QVERIFY(names.indexOf(QStringLiteral("NubstickFor")) > 0);
    QCOMPARE(names.indexOf(QStringLiteral("TouchPadForm1")),
             names.indexOf(QStringLiteral("NubstickFor")) + 1);
    QCOMPARE(names.filter(QStringLiteral("TouchPadForm1")).size(), 1);

    // The main window's buttons open them, modally, over itself; each reads its own device.
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
    QCOMPARE(Log(), (QStringList{"read pointing stick", "read touchpad"}));
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
    // Made, not shown: nothing is read yet.
    QVERIFY(Log().isEmpty());
}

void DeviceDialogsTest::showsWhatTheAreaReads_data()
{
    QTest::addColumn<PointingDevice>("device");
    QTest::addColumn<std::optional<DeviceState>>("state");
    QTest::addColumn<Messages>("messages");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QStringList>("boxes");

    const Messages two = {{MessageKind::Error, QStringLiteral("no driver")},
                          {MessageKind::Plain, QStringLiteral("and more")}};
    QTest::newRow("stick on") << Stick << On << Messages() << "Automatic" << QStringList();
    QTest::newRow("stick off") << Stick << Off << Messages() << "Disable" << QStringList();
    QTest::newRow("stick unread, with its reasons")
        << Stick << Unread << two << "Unknown" << QStringList{"error: no driver", "plain: and more"};
    QTest::newRow("touchpad on") << Touchpad << On << Messages() << "Automatic" << QStringList();
    QTest::newRow("touchpad off, with a note")
        << Touchpad << Off << Messages{{MessageKind::Error, QStringLiteral("in the way")}} << "Disable"
        << QStringList{"error: in the way"};
    QTest::newRow("touchpad unread") << Touchpad << Unread << Messages() << "Unknown" << QStringList();
    QTest::newRow("touchpad off with a mouse")
        << Touchpad << OffWithMouse << Messages() << "Off with a mouse" << QStringList();
}

void DeviceDialogsTest::showsWhatTheAreaReads()
{
    QFETCH(PointingDevice, device);
    QFETCH(std::optional<DeviceState>, state);
    QFETCH(Messages, messages);
    QFETCH(QString, shown);
    QFETCH(QStringList, boxes);
    TNubstickFor* form = Form(device);
    // Start from the other entry, so that the showing has to set it.
    State(form)->setCurrentText(shown == QLatin1String("Disable") ? QStringLiteral("Automatic")
                                                                  : QStringLiteral("Disable"));
    areas_->script().devices.insert(device, {state, messages});
    Show(form);
    QCOMPARE(Log(), QStringList{device == Touchpad ? "read touchpad" : "read pointing stick"} + boxes);
    QCOMPARE(State(form)->currentText(), shown);
    // Unknown is shown, never a choice; a fresh showing reads afresh, and Unknown goes once the state
    // is read.
    auto* model = qobject_cast<QStandardItemModel*>(State(form)->model());
    QCOMPARE(model->item(State(form)->currentIndex())->isEnabled(), bool(state));
    QCOMPARE(State(form)->count(), state == On || state == Off ? 2 : 3);
    form->hide();
    areas_->script().devices.insert(device, {On, {}});
    Show(form);
    QCOMPARE(State(form)->currentText(), QStringLiteral("Automatic"));
    QCOMPARE(State(form)->count(), 2);
}

void DeviceDialogsTest::buttonsAskTheirAreas_data()
{
    QTest::addColumn<PointingDevice>("device");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("choice");
    QTest::addColumn<Messages>("said"); // by the change, the hand-over or the help page
    QTest::addColumn<bool>("made");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<bool>("closes");

    const QString ok = QStringLiteral("ButtonOK"), apply = QStringLiteral("ButtonApply");
    const QString disable = QStringLiteral("Disable"), automatic = QStringLiteral("Automatic"),
                  unknown = QStringLiteral("Unknown");
    const Messages none;
    const Messages note = {{MessageKind::Plain, QStringLiteral("a note")}};
    const Messages error = {{MessageKind::Error, QStringLiteral("an error")}};
    QTest::newRow("stick, OK, Disable")
        << Stick << ok << disable << none << true << QStringList{"switch pointing stick off"} << true;
    QTest::newRow("stick, Apply, Automatic")
        << Stick << apply << automatic << none << true << QStringList{"switch pointing stick on"} << false;
    // An unread state offers no choice to make.
    QTest::newRow("stick, OK on Unknown") << Stick << ok << unknown << none << true
                                          << QStringList{"switch pointing stick, nothing chosen"} << true;
    QTest::newRow("touchpad, OK, Automatic")
        << Touchpad << ok << automatic << none << true << QStringList{"switch touchpad on"} << true;
    QTest::newRow("touchpad, Apply, Disable, with a note")
        << Touchpad << apply << disable << note << true << QStringList{"switch touchpad off", "plain: a note"}
        << false;
    // What a change made says is shown before OK closes; one not made leaves the dialog open.
    QTest::newRow("touchpad, OK, made with an error")
        << Touchpad << ok << disable << error << true << QStringList{"switch touchpad off", "error: an error"}
        << true;
    QTest::newRow("touchpad, OK, not made") << Touchpad << ok << disable << error << false
                                            << QStringList{"switch touchpad off", "error: an error"} << false;
    QTest::newRow("touchpad, OK, GNOME's off with a mouse kept")
        << Touchpad << ok << QStringLiteral("Off with a mouse") << none << true
        << QStringList{"switch touchpad off with a mouse"} << true;
    QTest::newRow("stick, OK, not made")
        << Stick << ok << automatic << none << false << QStringList{"switch pointing stick on"} << false;
    QTest::newRow("stick, Cancel") << Stick << QStringLiteral("ButtonCancel") << disable << none << true
                                   << QStringList() << true;
    QTest::newRow("touchpad, Cancel")
        << Touchpad << QStringLiteral("ButtonCancel") << automatic << none << true << QStringList() << true;
    // Each dialog's own settings and help page.
    QTest::newRow("stick, Mouse Properties") << Stick << QStringLiteral("ButtonMouse") << disable << none
                                             << true << QStringList{"start Mouse"} << false;
    QTest::newRow("touchpad, Mouse Properties, nothing started")
        << Touchpad << QStringLiteral("ButtonMouse") << disable << error << true
        << QStringList{"start TouchpadMouse", "error: an error"} << false;
    QTest::newRow("stick, Help") << Stick << QStringLiteral("ButtonHelp") << disable << none << true
                                 << QStringList{"help /opt/lapstone/vc/help/html/QRVNubstick.HTM"} << false;
    QTest::newRow("touchpad, Help, not shown")
        << Touchpad << QStringLiteral("ButtonHelp") << disable << error << true
        << QStringList{"help /opt/lapstone/vc/help/html/QRVTouchPad.HTM", "error: an error"} << false;
}

void DeviceDialogsTest::buttonsAskTheirAreas()
{
    QFETCH(PointingDevice, device);
    QFETCH(QString, button);
    QFETCH(QString, choice);
    QFETCH(Messages, said);
    QFETCH(bool, made);
    QFETCH(QStringList, expected);
    QFETCH(bool, closes);
    TNubstickFor* form = Form(device);
    // The device reads as the other entry, so that the choice is a change.
    areas_->script().devices.insert(device, {choice == QLatin1String("Unknown")            ? Unread
                                             : choice == QLatin1String("Off with a mouse") ? OffWithMouse
                                             : choice == QLatin1String("Disable")          ? On
                                                                                           : Off,
                                             {}});
    areas_->script().deviceChange = {said, made};
    areas_->script().launches.insert(device == Touchpad ? Setting::TouchpadMouse : Setting::Mouse,
                                     {Started::Nothing, said});
    areas_->script().help = said;
    Show(form);
    Log().clear();
    State(form)->setCurrentText(choice);
    QTest::mouseClick(Button(form, qPrintable(button)), Qt::LeftButton);
    QCOMPARE(Log(), expected);
    QCOMPARE(form->isVisible(), !closes);
}

QTEST_MAIN(DeviceDialogsTest)
#include "DeviceDialogsTest.moc"
