// The security information dialog on fake areas: what it shows for each screen saver lock state
// and each BIOS password state, what a showing that reads less keeps, which hand-over each button
// asks for and whether the dialog then closes, and the areas' messages, in their order.
#include "dialogs/SecureForm.h"
#include "areas/locks/Constants.h"
#include "tests/support/FakeAreas.h"
#include "tests/support/MessageKindName.h"
#include "widgets/FormEvents.h"
#include "widgets/MessageBox.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <memory>

using namespace Ucomtc;

Q_DECLARE_METATYPE(Ucomtc::Started)

class SecureFormTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void layout();
    void showsTheStates_data();
    void showsTheStates();
    void unreadStatesKeepWhatWasRead();
    void buttons_data();
    void buttons();
    void resumeOpensOnTop();

private:
    // Shows the dialog and waits until its show handler has run.
    void Show();
    FakeAreasScript& Script() { return areas_->script(); }
    QString Text(const char* label) const { return form_->findChild<QLabel*>(QLatin1String(label))->text(); }
    QStringList States() const { return {Text("LabelPwpwd"), Text("LabelAdminpwd"), Text("LabelHdpwd")}; }
    QPushButton* Button(const char* name) const
    {
        return form_->findChild<QPushButton*>(QLatin1String(name));
    }

    std::unique_ptr<FakeAreas> areas_;
    std::unique_ptr<TSecureForm1> form_;
    // The boxes go into the areas' record, where they stand among the calls.
    ScopedMessageSink sink_{[this](const Message& message) {
        Script().log.append(QString::fromLatin1(NameOf(message.kind).name) + QStringLiteral(": ") +
                            message.text);
    }};
};

void SecureFormTest::init()
{
    form_.reset();
    areas_ = std::make_unique<FakeAreas>();
    const Areas areas = areas_->areas();
    form_ = std::make_unique<TSecureForm1>(areas.locks, areas.system, areas.handOvers);
}

void SecureFormTest::Show()
{
    const int handled = ShowHandlersRun(form_.get());
    form_->show();
    QTRY_VERIFY(ShowHandlersRun(form_.get()) > handled);
}

void SecureFormTest::layout()
{
    QCOMPARE(form_->objectName(), QStringLiteral("SecureForm1"));
    QCOMPARE(form_->windowTitle(), QStringLiteral("Security Information"));
    QCOMPARE(form_->minimumSize(), QSize(410, 350));
    QCOMPARE(form_->maximumSize(), QSize(410, 350));
    QCOMPARE(form_->font().pixelSize(), 12);
    QCOMPARE(form_->font().family(), QStringLiteral("serif"));
    QVERIFY(!form_->windowIcon().isNull());
    // Trailing blanks are part of the row captions.
    const std::pair<const char*, const char*> captions[] = {
        {"Labellinux", "Linux "},    {"LabelScreen", "Screen saver"},  {"LabelResume", "Resume"},
        {"LabelPower", "Power-on "}, {"LabelHarddisk", "Hard-disk  "}, {"LabelAdmin", "Administrator   "},
        {"LabelPwpwd", "Unknown"},   {"LabelHdpwd", "Unknown"},        {"LabelAdminpwd", "Unknown"},
    };
    for (const auto& [name, caption] : captions)
        QCOMPARE(Text(name), QString::fromLatin1(caption));
    QCOMPARE(Button("ButtonUsrPwd")->text(), QStringLiteral("Change password ..."));
    QCOMPARE(Button("ButtonScrnPwd")->text(), QStringLiteral("Enable password ..."));
    QCOMPARE(Button("ButtonResume")->text(), QStringLiteral("Password setting ..."));
    QCOMPARE(form_->findChild<QLabel*>(QStringLiteral("Label9"))->font().pixelSize(), 16);

    // Opened, it has ButtonUsrPwd focused and the tab order runs down the Linux group, then along
    // the bottom row.
    form_->show();
    QVERIFY(QTest::qWaitForWindowActive(form_.get()));
    QCOMPARE(form_->focusWidget(), Button("ButtonUsrPwd"));
    QStringList order;
    for (QWidget* w = Button("ButtonUsrPwd"); order.size() < 6; w = w->nextInFocusChain()) {
        if (w->focusPolicy() & Qt::TabFocus)
            order.append(w->objectName());
    }
    QCOMPARE(order, (QStringList{"ButtonUsrPwd", "ButtonScrnPwd", "ButtonResume", "ButtonOK", "ButtonCancel",
                                 "ButtonHelp"}));
}

void SecureFormTest::showsTheStates_data()
{
    QTest::addColumn<QVariant>("locked"); // null: unknown
    QTest::addColumn<QStringList>("states");
    QTest::addColumn<bool>("screenButton");
    QTest::addColumn<QString>("lockSaid"); // the lock's state for a screen reader

    QTest::newRow("lock on") << QVariant(true) << QStringList{"Enabled", "Disabled", "Enabled"} << false
                             << "The screen saver asks for a password";
    QTest::newRow("lock off, a blank state") << QVariant(false) << QStringList{"Disabled", "Unknown", " "}
                                             << true << "The screen saver does not ask for a password";
    // Unread, the button stays usable and says why.
    QTest::newRow("lock unknown") << QVariant() << QStringList{"Unsuppor", "Enabled", "Disabled"} << true
                                  << "Whether the screen saver locks the screen is unknown";
}

void SecureFormTest::showsTheStates()
{
    QFETCH(QVariant, locked);
    QFETCH(QStringList, states);
    QFETCH(bool, screenButton);
    QFETCH(QString, lockSaid);

    if (!locked.isNull())
        Script().screenSaverLock.value.locked = locked.toBool();
    Script().screenSaverLock.messages = {{MessageKind::Plain, QStringLiteral("the lock's word")}};
    Script().passwords.value = {states[0], states[1], states[2]};
    Script().passwords.messages = {{MessageKind::Error, QStringLiteral("the passwords' word")}};
    Show();

    QCOMPARE(Script().log, (QStringList{"read screen saver lock", "plain: the lock's word", "passwords",
                                        "error: the passwords' word"}));
    QCOMPARE(States(), states);
    QCOMPARE(Button("ButtonScrnPwd")->isEnabled(), screenButton);
    QCOMPARE(Button("ButtonScrnPwd")->accessibleDescription(), lockSaid);
    QCOMPARE(form_->findChild<QLabel*>(QStringLiteral("LabelScreen"))->accessibleDescription(), lockSaid);
    QCOMPARE(Button("ButtonScrnPwd")->toolTip(), locked.isNull() ? lockSaid : QString());
    QCOMPARE(form_->findChild<QLabel*>(QStringLiteral("LabelHdpwd"))->accessibleDescription(),
             states[2].trimmed());
    QVERIFY(form_->isVisible());
}

void SecureFormTest::unreadStatesKeepWhatWasRead()
{
    // Nothing read yet: the dialog does not claim that no password is set.
    Show();
    QCOMPARE(States(), (QStringList{"Unknown", "Unknown", "Unknown"}));
    form_->hide();

    Script().passwords.value = {QStringLiteral("Enabled"), QStringLiteral("Enabled"),
                                QStringLiteral("Enabled")};
    Show();
    form_->hide();
    // What a showing cannot read keeps what the one before found; what it reads replaces it.
    Script().passwords.value = {std::nullopt, QStringLiteral("Disabled"), std::nullopt};
    Show();
    QCOMPARE(States(), (QStringList{"Enabled", "Disabled", "Enabled"}));
}

void SecureFormTest::buttons_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<Started>("started");
    QTest::addColumn<QStringList>("log");
    QTest::addColumn<bool>("closes");
    QTest::addColumn<bool>("screenButton"); // enabled afterwards

    const auto oldTool = Started::OldTool;
    const auto nothing = Started::Nothing;
    QTest::newRow("users") << "ButtonUsrPwd" << oldTool
                           << QStringList{"start Users", "error: the tool's word"} << true << true;
    // The old desktop's screen saver module turns the lock on; today's settings tool may not.
    QTest::newRow("screen saver module")
        << "ButtonScrnPwd" << oldTool << QStringList{"start ScreenSaver", "error: the tool's word"} << true
        << false;
    QTest::newRow("screen saver settings")
        << "ButtonScrnPwd" << Started::DesktopTool
        << QStringList{"start ScreenSaver", "error: the tool's word"} << true << true;
    QTest::newRow("no screen saver tool")
        << "ButtonScrnPwd" << nothing << QStringList{"start ScreenSaver", "error: the tool's word"} << true
        << true;
    QTest::newRow("help") << "ButtonHelp" << nothing
                          << QStringList{"help /opt/lapstone/vc/help/html/QRVSecI.HTM",
                                         "error: the page's word"}
                          << false << true;
    QTest::newRow("OK") << "ButtonOK" << nothing << QStringList() << true << true;
    QTest::newRow("Cancel") << "ButtonCancel" << nothing << QStringList() << true << true;
}

void SecureFormTest::buttons()
{
    QFETCH(QString, button);
    QFETCH(Started, started);
    QFETCH(QStringList, log);
    QFETCH(bool, closes);
    QFETCH(bool, screenButton);

    Script().screenSaverLock.value.locked = false;
    const Messages toolsWord{{MessageKind::Error, QStringLiteral("the tool's word")}};
    Script().launches.insert(Setting::Users, {started, toolsWord});
    Script().launches.insert(Setting::ScreenSaver, {started, toolsWord});
    Script().help = {{MessageKind::Error, QStringLiteral("the page's word")}};
    Show();
    Script().log.clear();

    QTest::mouseClick(form_->findChild<QPushButton*>(button), Qt::LeftButton);
    QCOMPARE(Script().log, log);
    QCOMPARE(form_->isVisible(), !closes);
    QCOMPARE(Button("ButtonScrnPwd")->isEnabled(), screenButton);
    // The lock is still off when the dialog opens again: the button is offered again.
    form_->hide();
    Show();
    QVERIFY(Button("ButtonScrnPwd")->isEnabled());
}

void SecureFormTest::resumeOpensOnTop()
{
    Show();
    Script().log.clear();

    QDialog resume;
    form_->UseResumeForm(&resume);
    bool wasModalOverUs = false;
    QTimer::singleShot(0, &resume, [&] {
        wasModalOverUs = resume.isVisible() && resume.isModal() && form_->isVisible();
        resume.reject();
    });
    QTest::mouseClick(Button("ButtonResume"), Qt::LeftButton);
    QVERIFY(wasModalOverUs);
    QVERIFY(form_->isVisible());
    QVERIFY(Script().log.isEmpty());
    auto* note = form_->findChild<QLabel*>(QStringLiteral("LabelDesktopNote"));
    QVERIFY(!note->isVisible());

    // GNOME keeps one lock for both rows: the note says so, and what the resume dialog changed shows
    // in the screen saver's row at once; its lockdown is said instead.
    Script().screenSaverLock.value = {false, LockKeeper::Gnome};
    form_->hide();
    Show();
    QVERIFY(note->isVisible() && Button("ButtonScrnPwd")->isEnabled());
    QCOMPARE(note->text(),
             QStringLiteral("On GNOME the screen saver lock and the resume lock are one setting."));
    Script().screenSaverLock.value = {false, LockKeeper::Gnome, true};
    Script().log.clear();
    QTimer::singleShot(0, &resume, [&] { resume.accept(); });
    QTest::mouseClick(Button("ButtonResume"), Qt::LeftButton);
    QCOMPARE(Script().log, QStringList{"read screen saver lock"});
    QCOMPARE(note->text(), QString::fromLatin1(MsgGnomeLockedDown));
}

QTEST_MAIN(SecureFormTest)
#include "SecureFormTest.moc"
