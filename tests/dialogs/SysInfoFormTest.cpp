// The system information dialog on fake areas: what each opening, tab change and battery pick asks
// the system and battery areas, in order, what it shows of their rows and messages, the fall-back to
// the BIOS tab, Help, closing and copying rows. The areas' own suites pin their command lines;
// nothing reaches the machine.
#include "app/Application.h"
#include "app/MainForm.h"
#include "dialogs/SysInfForm.h"
#include "machine/Host.h"
#include "tests/support/FakeAreas.h"
#include "tests/support/FakeHost.h"
#include "tests/support/MessageKindName.h"
#include "widgets/Forms.h"

#include <QAbstractItemView>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>

using namespace Ucomtc;

namespace {

using Pairs = QList<QPair<QString, QString>>;

const Pairs General{{"OS information", "Zentil Linux 10.2 (i586)"},
                    {"Kernel information", "Linux version 2.6.18.8-0.7-default"},
                    {"Processor", "Unknown"},
                    {"Memory", "4041528kB"},
                    {"BIOS version", "LT3B114 (1.14 )"},
                    {"Machine type-Model", "LT3-2441"}};
const Pairs Bios{{"BIOS version", "LT3B114 (1.14 )"}, {"Embedded controller version", "LT3EC114 (1.14)"}};
const Pairs FirstBattery{{"Status", "Charged"}, {"Remaining percentage", "100%"}};
const Pairs SecondBattery{{"Status", "Charging"}, {"Remaining percentage", "87%"}};
const QString NoBattery =
    QStringLiteral("error: Module batinfo is needed or there is no battery in the computer");
const QString NoDmidecode = QStringLiteral("error: command dmidecode not found");

Reading<TSysInfoArray> Read(const Pairs& pairs, const Messages& messages = {})
{
    Reading<TSysInfoArray> read{{}, messages};
    for (const auto& [attribute, value] : pairs)
        read.value.append({attribute, value});
    return read;
}

Message Error(const QString& said)
{
    return {MessageKind::Error, said.mid(QStringLiteral("error: ").size())};
}

} // namespace

class SysInfoFormTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void isCreatedSecondWithItsLayout();
    void openingShowsGeneralWhateverTabWasLeft();
    void eachReadingShowsItsMessages();
    void theBatteryTabCopiesTheFirstBattery_data();
    void theBatteryTabCopiesTheFirstBattery();
    void batteriesArePickedWithTheKeyboard();
    void anUnreadableCaptureFileKeepsTheRows();
    void helpShowsThePageAndStaysOpen();
    void okAndCancelClose();
    void rowsCanBeCopied();

private:
    // Shows the dialog and waits until its show handler has run.
    void Open();
    void SelectTab(int index);
    Pairs Shown() const;
    QStringList& Log() { return areas_.script().log; }
    template <typename T> T* Child(const char* name) const
    {
        return form_->findChild<T*>(QLatin1String(name));
    }

    // Stands in for the machine, which nothing but the areas may reach.
    FakeHost host_;
    ScopedHost scope_{host_};
    FakeAreas areas_;
    // The boxes the dialog shows, in the areas' record: "error: …".
    ScopedMessageSink sink_{[this](const Message& message) {
        Log().append(QString::fromLatin1(NameOf(message.kind).name) + QStringLiteral(": ") + message.text);
    }};
    std::unique_ptr<TSysInfoForm> form_;
};

void SysInfoFormTest::init()
{
    areas_.script() = FakeAreasScript();
    areas_.script().rows = {{GeneralTab, Read(General)},
                            {BiosTab, Read(Bios)},
                            {BatteryTab, Read(FirstBattery)},
                            {BatteryTab + 1, Read(SecondBattery)}};
    areas_.script().batteryEntries = QStringList{"Battery1", "Battery2"};
    const Areas areas = areas_.areas();
    form_ = std::make_unique<TSysInfoForm>(areas.system, areas.batteries, areas.handOvers);
}

void SysInfoFormTest::cleanup()
{
    form_.reset();
    QCOMPARE(host_.log, QStringList{});
}

void SysInfoFormTest::Open()
{
    Log().clear();
    form_->show();
    // The show handler runs as one event: once it has left a trace, it has finished.
    QTRY_VERIFY(!Log().isEmpty());
}

void SysInfoFormTest::SelectTab(int index)
{
    Log().clear();
    auto* tabs = Child<QTabWidget>("TabControl1")->tabBar();
    QTest::mouseClick(tabs, Qt::LeftButton, Qt::NoModifier, tabs->tabRect(index).center());
}

Pairs SysInfoFormTest::Shown() const
{
    auto* list = Child<QTreeWidget>("ListView1");
    Pairs rows;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        rows.append({list->topLevelItem(i)->text(0), list->topLevelItem(i)->text(1)});
    return rows;
}

void SysInfoFormTest::isCreatedSecondWithItsLayout()
{
    form_.reset(); // the application's dialog must be the only one
    TApplication application(areas_.areas());
    application.CreateForms();
    QCOMPARE(application.FormNames().value(1), QStringLiteral("SysInfoForm"));
    auto* dialog = qobject_cast<TSysInfoForm*>(FindForm(QStringLiteral("SysInfoForm")));
    QVERIFY(dialog != nullptr);
    QCOMPARE(dialog->parentWidget(), static_cast<QWidget*>(application.MainForm()));

    QCOMPARE(dialog->windowTitle(), QStringLiteral("System Information"));
    QCOMPARE(dialog->minimumSize(), QSize(511, 426));
    QCOMPARE(dialog->maximumSize(), QSize(511, 426));
    QCOMPARE(dialog->windowType(), Qt::Tool);
    QVERIFY(dialog->windowFlags() & Qt::WindowStaysOnTopHint);
    QVERIFY(!(dialog->windowFlags() & (Qt::WindowCloseButtonHint | Qt::WindowMinMaxButtonsHint)));
    QVERIFY(!dialog->windowIcon().isNull());

    // One content area for the three tabs: list and selector stand on the tab control itself.
    auto* tabs = dialog->findChild<QTabWidget*>(QStringLiteral("TabControl1"));
    auto* list = dialog->findChild<QTreeWidget*>(QStringLiteral("ListView1"));
    auto* batteries = dialog->findChild<QComboBox*>(QStringLiteral("ComboBoxBatt"));
    QCOMPARE(tabs->geometry(), QRect(10, 16, 489, 353));
    QCOMPARE(list->parentWidget(), tabs);
    QCOMPARE(list->geometry(), QRect(16, 48, 457, 287));
    QCOMPARE(batteries->parentWidget(), tabs);
    QCOMPARE(batteries->geometry(), QRect(16, 24, 81, 18));
    QVERIFY(batteries->isHidden());
    QCOMPARE(batteries->count(), 1);
    QCOMPARE(batteries->currentText(), QStringLiteral("Battery1"));
    QCOMPARE(batteries->view()->sizeHintForRow(0), 22);
    QCOMPARE(tabs->count(), 3);
    QCOMPARE(tabs->tabText(2), QStringLiteral("Battery information"));
    QCOMPARE(list->headerItem()->text(0), QStringLiteral("Attribute"));
    QCOMPARE(list->headerItem()->text(1), QStringLiteral("Value"));
    QCOMPARE(list->columnWidth(0), 210);
    QCOMPARE(list->columnWidth(1), 245);
    QVERIFY(!list->header()->sectionsClickable() && !list->header()->sectionsMovable());
    QVERIFY(!list->isSortingEnabled());
    QCOMPARE(list->editTriggers(), QAbstractItemView::NoEditTriggers);

    // Tab key order: the tab control, the list, the selector, then OK, Cancel and Help.
    const QList<QWidget*> expected{list, batteries,
                                   dialog->findChild<QPushButton*>(QStringLiteral("ButtonOK")),
                                   dialog->findChild<QPushButton*>(QStringLiteral("ButtonCancel")),
                                   dialog->findChild<QPushButton*>(QStringLiteral("ButtonHelp"))};
    QList<QWidget*> chain;
    for (QWidget* widget = tabs->nextInFocusChain(); widget != tabs; widget = widget->nextInFocusChain()) {
        if (expected.contains(widget))
            chain.append(widget);
    }
    QCOMPARE(chain, expected);
    QVERIFY(Log().isEmpty()); // nothing is read before the dialog is shown
}

void SysInfoFormTest::openingShowsGeneralWhateverTabWasLeft()
{
    // The first opening leaves the BIOS tab for General: General is read twice.
    Open();
    QCOMPARE(Log(), (QStringList{"rows 0 0", "rows 0 0"}));
    QCOMPARE(Shown(), General);
    QCOMPARE(Child<QTabWidget>("TabControl1")->currentIndex(), 0);

    SelectTab(2);
    QCOMPARE(Log(), (QStringList{"batteries", "copy battery 0", "rows 2 0"}));
    QVERIFY(Child<QComboBox>("ComboBoxBatt")->isVisible());
    QCOMPARE(Shown(), FirstBattery);
    form_->close();

    Open();
    QCOMPARE(Log(), (QStringList{"rows 0 0", "rows 0 0"}));
    QCOMPARE(Shown(), General);
    QVERIFY(!Child<QComboBox>("ComboBoxBatt")->isVisible());
    form_->close();

    // Left on General, the next opening reads it once.
    Open();
    QCOMPARE(Log(), QStringList{"rows 0 0"});

    SelectTab(1);
    QCOMPARE(Log(), QStringList{"rows 1 0"});
    QCOMPARE(Shown(), Bios);
    QVERIFY(!Child<QComboBox>("ComboBoxBatt")->isVisible());
}

void SysInfoFormTest::eachReadingShowsItsMessages()
{
    // As without dmidecode: every tab's reading says so and has no rows.
    for (const int tab : {GeneralTab, BiosTab, BatteryTab})
        areas_.script().rows.insert(tab, Read({}, {Error(NoDmidecode)}));
    Open();
    QCOMPARE(Log(), (QStringList{"rows 0 0", NoDmidecode, "rows 0 0", NoDmidecode}));
    QVERIFY(Shown().isEmpty());
    SelectTab(1);
    QCOMPARE(Log(), (QStringList{"rows 1 0", NoDmidecode}));
    SelectTab(2);
    QCOMPARE(Log(), (QStringList{"batteries", "copy battery 0", "rows 2 0", NoDmidecode}));
    QVERIFY(Shown().isEmpty());
}

void SysInfoFormTest::theBatteryTabCopiesTheFirstBattery_data()
{
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<bool>("copyFails");
    QTest::addColumn<QStringList>("asked");
    QTest::addColumn<int>("tab");

    QTest::newRow("two batteries") << QStringList{"Battery1", "Battery2"} << false
                                   << QStringList{"batteries", "copy battery 0", "rows 2 0"} << 2;
    QTest::newRow("only the second") << QStringList{"Battery2"} << false
                                     << QStringList{"batteries", "copy battery 1", "rows 2 1"} << 2;
    // A copy that fails says so, and the tab shows what the rows are without it.
    QTest::newRow("a copy that fails")
        << QStringList{"Battery1"} << true
        << QStringList{"batteries", "copy battery 0", NoBattery, "rows 2 0"} << 2;
    // Without a battery the dialog says so and falls back to the BIOS tab, read once.
    QTest::newRow("no battery") << QStringList{} << false << QStringList{"batteries", NoBattery, "rows 1 0"}
                                << 1;
}

void SysInfoFormTest::theBatteryTabCopiesTheFirstBattery()
{
    QFETCH(QStringList, entries);
    QFETCH(bool, copyFails);
    QFETCH(QStringList, asked);
    QFETCH(int, tab);
    areas_.script().batteryEntries = entries;
    if (copyFails)
        areas_.script().batteryCopies.insert(0, {Error(NoBattery)});
    Open();
    SelectTab(2);

    QCOMPARE(Log(), asked);
    QCOMPARE(Child<QTabWidget>("TabControl1")->currentIndex(), tab);
    auto* batteries = Child<QComboBox>("ComboBoxBatt");
    QCOMPARE(batteries->isVisible(), tab == BatteryTab);
    if (tab == BatteryTab) {
        QStringList offered;
        for (int i = 0; i < batteries->count(); ++i)
            offered.append(batteries->itemText(i));
        QCOMPARE(offered, entries);
        QCOMPARE(batteries->currentText(), entries.first());
    }
    QCOMPARE(Shown(), tab == BiosTab                                 ? Bios
                      : entries.first() == QLatin1String("Battery1") ? FirstBattery
                                                                     : SecondBattery);
}

void SysInfoFormTest::batteriesArePickedWithTheKeyboard()
{
    areas_.script().batteryCopies.insert(1, {Error(QStringLiteral("error: Module batinfo is needed"))});
    Open();
    SelectTab(2);
    auto* batteries = Child<QComboBox>("ComboBoxBatt");

    // Picking as a person does with the keyboard, which reports the pick; the copy's message comes
    // before the rows.
    Log().clear();
    batteries->setFocus();
    QTest::keyClick(batteries, Qt::Key_Down);
    QCOMPARE(batteries->currentText(), QStringLiteral("Battery2"));
    QCOMPARE(Log(), (QStringList{"copy battery 1", "error: Module batinfo is needed", "rows 2 1"}));
    QCOMPARE(Shown(), SecondBattery);

    Log().clear();
    QTest::keyClick(batteries, Qt::Key_Up);
    QCOMPARE(Log(), (QStringList{"copy battery 0", "rows 2 0"}));
    QCOMPARE(Shown(), FirstBattery);
}

void SysInfoFormTest::anUnreadableCaptureFileKeepsTheRows()
{
    Open();
    form_->close();
    areas_.script().unreadableRows = QStringLiteral("/tmp/mem");
    Open();
    QCOMPARE(Shown(), General);
    QCOMPARE(Log().size(), 2);
    QCOMPARE(Log().first(), QStringLiteral("rows 0 0"));
    QVERIFY2(Log().last().startsWith(QLatin1String("report: /tmp/mem")), qPrintable(Log().last()));
    QVERIFY(form_->isVisible());
}

void SysInfoFormTest::helpShowsThePageAndStaysOpen()
{
    Open();
    const QString cannot =
        QStringLiteral("error: cannot open the help page /opt/lapstone/vc/help/html/QRVSI.HTM");
    areas_.script().help = {Error(cannot)};
    Log().clear();
    QTest::mouseClick(Child<QPushButton>("ButtonHelp"), Qt::LeftButton);
    QCOMPARE(Log(), (QStringList{"help /opt/lapstone/vc/help/html/QRVSI.HTM", cannot}));
    QVERIFY(form_->isVisible());
}

void SysInfoFormTest::okAndCancelClose()
{
    for (const char* button : {"ButtonOK", "ButtonCancel"}) {
        Open();
        Log().clear();
        QTest::mouseClick(Child<QPushButton>(button), Qt::LeftButton);
        QVERIFY2(!form_->isVisible(), button);
        QVERIFY2(Log().isEmpty(), button);
    }
}

void SysInfoFormTest::rowsCanBeCopied()
{
    Open();
    auto* list = Child<QTreeWidget>("ListView1");
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->setText(QStringLiteral("before"));

    // Selected in reverse order, copied in list order.
    list->topLevelItem(3)->setSelected(true);
    list->topLevelItem(0)->setSelected(true);
    list->setFocus();
    QTest::keyClick(list, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(clipboard->text(),
             QStringLiteral("OS information\tZentil Linux 10.2 (i586)\nMemory\t4041528kB\n"));

    QAction* copyAll = nullptr;
    for (QAction* action : list->actions()) {
        if (action->objectName() == QLatin1String("CopyAllRows"))
            copyAll = action;
    }
    QCOMPARE(list->contextMenuPolicy(), Qt::ActionsContextMenu);
    QVERIFY(copyAll != nullptr);
    copyAll->trigger();
    const QStringList lines = clipboard->text().split(QLatin1Char('\n'));
    QCOMPARE(lines.size(), 7); // six rows, each ending in a line feed
    QCOMPARE(lines[5], QStringLiteral("Machine type-Model\tLT3-2441"));

    // Nothing selected: Ctrl+C leaves the clipboard alone.
    clipboard->setText(QStringLiteral("kept"));
    list->clearSelection();
    QTest::keyClick(list, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(clipboard->text(), QStringLiteral("kept"));
}

QTEST_MAIN(SysInfoFormTest)
#include "SysInfoFormTest.moc"
