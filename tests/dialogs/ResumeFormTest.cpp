// The resume lock dialog on fake areas: what the box shows for each state the locks area reads and
// for each keeper, what OK then asks the area to write and for whom, whether the dialog closes, and
// what Cancel puts back.
#include "dialogs/Resume.h"
#include "tests/support/FakeAreas.h"
#include "tests/support/MessageKindName.h"
#include "widgets/FormEvents.h"
#include "widgets/MessageBox.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <memory>

using namespace Ucomtc;

Q_DECLARE_METATYPE(Ucomtc::LockKeeper)

class ResumeFormTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void layout();
    void showAndOk_data();
    void showAndOk();
    void cancelRestoresTheLastShowing();

private:
    // Shows the dialog and waits until its show handler has run.
    void Show();
    FakeAreasScript& Script() { return areas_->script(); }
    void Click(const char* button)
    {
        QTest::mouseClick(form_->findChild<QPushButton*>(QLatin1String(button)), Qt::LeftButton);
    }
    QCheckBox* Box() const { return form_->findChild<QCheckBox*>(QStringLiteral("EnableLock")); }

    std::unique_ptr<FakeAreas> areas_;
    std::unique_ptr<TResumeForm1> form_;
    // The boxes go into the areas' record, where they stand among the calls.
    ScopedMessageSink sink_{[this](const Message& message) {
        Script().log.append(QString::fromLatin1(NameOf(message.kind).name) + QStringLiteral(": ") +
                            message.text);
    }};
};

void ResumeFormTest::init()
{
    form_.reset();
    areas_ = std::make_unique<FakeAreas>();
    form_ = std::make_unique<TResumeForm1>(areas_->areas().locks, areas_->areas().handOvers);
}

void ResumeFormTest::Show()
{
    const int handled = ShowHandlersRun(form_.get());
    form_->show();
    QTRY_VERIFY(ShowHandlersRun(form_.get()) > handled);
}

void ResumeFormTest::layout()
{
    QCOMPARE(form_->objectName(), QStringLiteral("ResumeForm1"));
    QCOMPARE(form_->windowTitle(), QStringLiteral("Enable resume password"));
    QCOMPARE(form_->minimumSize(), QSize(410, 164));
    QCOMPARE(form_->maximumSize(), QSize(410, 164));
    QCOMPARE(Box()->text(), QStringLiteral("Lock screen &before suspend or standby"));
    QCOMPARE(Box()->font().pixelSize(), 13);
    QCOMPARE(form_->font().pixelSize(), 16);
    QCOMPARE(form_->findChild<QPushButton*>(QStringLiteral("ButtonOK"))->font().pixelSize(), 12);

    Show();
    QVERIFY(QTest::qWaitForWindowActive(form_.get()));
    auto* ok = form_->findChild<QPushButton*>(QStringLiteral("ButtonOK"));
    QCOMPARE(form_->focusWidget(), ok);
    QStringList order;
    for (QWidget* w = ok; order.size() < 3; w = w->nextInFocusChain()) {
        if (w->focusPolicy() & Qt::TabFocus)
            order.append(w->objectName());
    }
    QCOMPARE(order, (QStringList{"ButtonOK", "ButtonCancel", "EnableLock"}));
}

void ResumeFormTest::showAndOk_data()
{
    QTest::addColumn<QVariant>("locked"); // null: unknown
    QTest::addColumn<LockKeeper>("keeper");
    QTest::addColumn<int>("box");   // Qt::CheckState
    QTest::addColumn<bool>("note"); // what the box stands for on GNOME
    QTest::addColumn<bool>("made");
    QTest::addColumn<QStringList>("written"); // what OK asks for, with the change's word
    QTest::addColumn<bool>("closes");
    QTest::addColumn<bool>("lockedDown"); // GNOME's lockdown decides

    // OK writes what the box shows then: the opposite of what was read.
    const QString word = QStringLiteral("plain: the change's word");
    QTest::newRow("KDE 3, locked") << QVariant(true) << LockKeeper::Kde3 << int(Qt::Checked) << false << true
                                   << QStringList{"write resume lock off for KDE 3", word} << true << false;
    QTest::newRow("Plasma, not locked")
        << QVariant(false) << LockKeeper::Plasma << int(Qt::Unchecked) << false << true
        << QStringList{"write resume lock on for Plasma", word} << true << false;
    // A setting that was not saved is said so, and the dialog stays open to try again or cancel.
    QTest::newRow("GNOME, locked, not taken")
        << QVariant(true) << LockKeeper::Gnome << int(Qt::Checked) << true << false
        << QStringList{"write resume lock off for GNOME", word} << false << false;
    // Nothing was read, so nothing was chosen: OK writes nothing.
    QTest::newRow("GNOME, unknown") << QVariant() << LockKeeper::Gnome << int(Qt::PartiallyChecked) << false
                                    << true << QStringList() << true << false;
    QTest::newRow("nobody keeps it") << QVariant() << LockKeeper::None << int(Qt::PartiallyChecked) << false
                                     << true << QStringList() << true << false;
    // GNOME's lockdown keeps the screen from being locked: nothing to change, and the note says why.
    QTest::newRow("GNOME, locked down") << QVariant(false) << LockKeeper::Gnome << int(Qt::Unchecked) << true
                                        << true << QStringList() << true << true;
}

void ResumeFormTest::showAndOk()
{
    QFETCH(QVariant, locked);
    QFETCH(LockKeeper, keeper);
    QFETCH(int, box);
    QFETCH(bool, note);
    QFETCH(bool, made);
    QFETCH(QStringList, written);
    QFETCH(bool, closes);
    QFETCH(bool, lockedDown);

    Script().resumeLock.value = {locked.isNull() ? std::nullopt : std::optional<bool>(locked.toBool()),
                                 keeper, lockedDown};
    Script().resumeLock.messages = {{MessageKind::Error, QStringLiteral("the lock's word")}};
    Script().resumeLockChange = {{{MessageKind::Plain, QStringLiteral("the change's word")}}, made};
    Box()->setCheckState(box == Qt::Checked ? Qt::Unchecked : Qt::Checked);
    Show();

    QCOMPARE(int(Box()->checkState()), box);
    // A state that could not be read cannot be changed, and says why.
    const bool known = !locked.isNull();
    QCOMPARE(Box()->isEnabled(), known && !lockedDown);
    const QString unknown =
        known ? QString()
              : QStringLiteral("Whether the screen is locked before suspend is unknown on this desktop");
    QCOMPARE(Box()->accessibleDescription(), unknown);
    QCOMPARE(Box()->toolTip(), unknown);
    const auto* noteLabel = form_->findChild<QLabel*>(QStringLiteral("LabelDesktopNote"));
    QCOMPARE(noteLabel->isVisible(), note);
    QCOMPARE(noteLabel->text().startsWith(QLatin1String("GNOME's lockdown")), lockedDown);

    if (known)
        Box()->setChecked(!locked.toBool());
    Click("ButtonOK");
    QCOMPARE(Script().log, QStringList({"read resume lock", "error: the lock's word"}) + written);
    QCOMPARE(form_->isVisible(), !closes);
}

void ResumeFormTest::cancelRestoresTheLastShowing()
{
    Script().resumeLock.value = {false, LockKeeper::Kde3};
    Show();
    Box()->setChecked(true);
    Click("ButtonCancel");
    QVERIFY(!Box()->isChecked());
    QVERIFY(!form_->isVisible());

    // The next showing may read another state; Cancel goes back to that one.
    Script().resumeLock.value = {true, LockKeeper::Kde3};
    Show();
    Box()->setChecked(false);
    Click("ButtonCancel");
    QVERIFY(Box()->isChecked());
    QCOMPARE(Script().log, (QStringList{"read resume lock", "read resume lock"}));
}

QTEST_MAIN(ResumeFormTest)
#include "ResumeFormTest.moc"
