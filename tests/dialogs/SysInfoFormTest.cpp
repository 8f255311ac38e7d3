// The system information dialog through the host seam: what each opening and tab change reads and
// shows, the battery selector, the fall-back to the BIOS tab, the messages, Help, closing and
// copying rows. Runs in a private /tmp.
#include "app/Application.h"
#include "app/MainForm.h"
#include "areas/Areas.h"
#include "dialogs/SysInfForm.h"
#include "machine/Host.h"
#include "tests/support/FakeHost.h"
#include "tests/support/TestData.h"
#include "widgets/Forms.h"

#include <QAbstractItemView>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QGuiApplication>
#include <QHeaderView>
#include <QMenu>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>

using namespace Ucomtc;

namespace {

const QString DumpCommand = QStringLiteral("/usr/sbin/dmidecode > /tmp/StoredDmi");
const QString MemCommand =
    QStringLiteral("grep \"MemTotal\" /proc/meminfo | gawk '{print $2 $3}' > /tmp/mem");
const QString NoBattery =
    QStringLiteral("error: Module batinfo is needed or there is no battery in the computer");

QByteArray BatteryState(const char* percentage, const char* cycles)
{
    return QByteArray(
               "AC attached:            Yes\nTemperature:            30 C\nVoltage:                12480 mV\n"
               "Current:                0 mA\nRelativeStateofCharge:  ") +
           percentage +
           "\nRemainingCapacity:      71280 mWh\nFullChargeCapacity:     71280 mWh\n"
           "AverageTimeToEmpty:     Not discharging\nCycle Count:            " +
           cycles + "\n";
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
    void withoutDmidecodeEveryListIsEmpty();
    void bothBatteriesCanBePicked();
    void onlyTheSecondBattery();
    void noBatteryFallsBackToTheBiosTab();
    void firstBatteryWithoutItsInfoFile();
    void anUnreadableCaptureFileKeepsTheRows();
    void helpStartsTheBrowserAndStaysOpen();
    void okAndCancelClose();
    void rowsCanBeCopied();

private:
    // Shows the dialog and waits until its show handler has run.
    void Open();
    void SelectTab(int index);
    // Battery 0 and 1: present with both files, or absent; each battery's state tells them apart.
    void UseBatteries(bool bat0, bool bat1);
    QStringList Column(int column) const;
    template <typename T> T* Child(const char* name) const
    {
        return form_->findChild<T*>(QLatin1String(name));
    }

    FakeHost host_;
    std::unique_ptr<ScopedHost> scope_;
    Ucomtc::MachineAreas machine_;
    std::unique_ptr<TSysInfoForm> form_;
};

void SysInfoFormTest::init()
{
    host_ = FakeHost();
    scope_ = std::make_unique<ScopedHost>(host_);
    host_.Whereis(QStringLiteral("dmidecode"), true);
    host_.answers.insert(DumpCommand, [] {
        FakeHost::WriteFile(QStringLiteral("/tmp/StoredDmi"),
                            TestData(QStringLiteral("sysinfo/dmidecode-veltor-t3.txt")));
        return 0;
    });
    const std::pair<const char*, const char*> general[] = {
        {"grep Linux /etc/issue > /tmp/dmidecode", "Welcome to Zentil Linux 10.2 (i586)\n"},
        {"gawk '{print $1\" \" $2\" \" $3}' /proc/version > /tmp/dmidecode",
         "Linux version 2.6.18.8-0.7-default\n"},
        {"grep \"model name\" /proc/cpuinfo > /tmp/dmidecode",
         "model name\t: Intel(R) Core(TM)2 Duo CPU     P8600  @ 2.40GHz\n"},
    };
    for (const auto& [command, output] : general) {
        host_.answers.insert(QString::fromLatin1(command), [text = QByteArray(output)] {
            FakeHost::WriteFile(QStringLiteral("/tmp/dmidecode"), text);
            return 0;
        });
    }
    host_.answers.insert(MemCommand, [] {
        FakeHost::WriteFile(QStringLiteral("/tmp/mem"), "4041528kB\n");
        return 0;
    });
    UseBatteries(false, false);
    form_ = std::make_unique<TSysInfoForm>(machine_.areas().system, machine_.areas().batteries,
                                           machine_.areas().handOvers);
}

void SysInfoFormTest::cleanup()
{
    form_.reset();
    scope_.reset();
    for (const char* name : {"StoredDmi", "dmidecode", "mem", "state", "info", "command"}) {
        const QString path = QStringLiteral("/tmp/") + QLatin1String(name);
        QFile::remove(path);
        QDir().rmdir(path);
    }
}

void SysInfoFormTest::Open()
{
    host_.log.clear();
    form_->show();
    // The show handler runs as one event: once it has left a trace, it has finished.
    QTRY_VERIFY(!host_.log.isEmpty());
}

void SysInfoFormTest::SelectTab(int index)
{
    host_.log.clear();
    auto* tabs = Child<QTabWidget>("TabControl1")->tabBar();
    QTest::mouseClick(tabs, Qt::LeftButton, Qt::NoModifier, tabs->tabRect(index).center());
}

void SysInfoFormTest::UseBatteries(bool bat0, bool bat1)
{
    const struct
    {
        const char* name;
        bool present;
        QByteArray state;
    } batteries[] = {{"BAT0", bat0, BatteryState("100%", "142")}, {"BAT1", bat1, BatteryState("87%", "57")}};
    for (const auto& battery : batteries) {
        for (const char* file : {"state", "info"}) {
            const QString path = QStringLiteral("/proc/H8/") + QLatin1String(battery.name) +
                                 QLatin1Char('/') + QLatin1String(file);
            host_.files[path] = battery.present;
            const QString capture = QStringLiteral("/tmp/") + QLatin1String(file);
            const QByteArray content = file == std::string_view("state")
                                           ? battery.state
                                           : TestData(QStringLiteral("sysinfo/battery/info"));
            host_.answers.insert(QStringLiteral("cp ") + path + QLatin1Char(' ') + capture,
                                 [capture, content] {
                                     FakeHost::WriteFile(capture, content);
                                     return 0;
                                 });
        }
    }
}

QStringList SysInfoFormTest::Column(int column) const
{
    auto* list = Child<QTreeWidget>("ListView1");
    QStringList texts;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        texts.append(list->topLevelItem(i)->text(column));
    return texts;
}

void SysInfoFormTest::isCreatedSecondWithItsLayout()
{
    form_.reset(); // the application's dialog must be the only one
    Ucomtc::MachineAreas machine;
    TApplication application(machine.areas());
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
}

void SysInfoFormTest::openingShowsGeneralWhateverTabWasLeft()
{
    const QStringList general{"OS information", "Kernel information", "Processor",
                              "Memory",         "BIOS version",       "Machine type-Model"};
    const QStringList values{"Zentil Linux 10.2 (i586)",
                             "Linux version 2.6.18.8-0.7-default",
                             "Intel(R) Core(TM)2 Duo CPU P8600 @ 2.40GHz",
                             "4041528kB",
                             "LT3B114 (1.14 )",
                             "LT3-2441"};
    Open();
    QCOMPARE(Column(0), general);
    QCOMPARE(Column(1), values);
    QCOMPARE(Child<QTabWidget>("TabControl1")->currentIndex(), 0);
    // The first opening leaves the BIOS tab for General: two General reads.
    QCOMPARE(host_.log.count(QStringLiteral("system: ") + MemCommand), 2);

    UseBatteries(true, false);
    SelectTab(2);
    QVERIFY(Child<QComboBox>("ComboBoxBatt")->isVisible());
    QCOMPARE(Column(0).size(), 15);
    form_->close();

    Open();
    QCOMPARE(Column(1), values);
    QVERIFY(!Child<QComboBox>("ComboBoxBatt")->isVisible());
    QCOMPARE(host_.log.count(QStringLiteral("system: ") + MemCommand), 2);
    form_->close();

    // Left on General, the next opening reads it once.
    Open();
    QCOMPARE(host_.log.count(QStringLiteral("system: ") + MemCommand), 1);
    QCOMPARE(Column(1), values);

    SelectTab(1);
    QCOMPARE(Column(0),
             (QStringList{"BIOS version", "BIOS date", "Embedded controller version", "Machine type-Model",
                          "System unit serial number", "System board serial number"}));
    QCOMPARE(Column(1), (QStringList{"LT3B114 (1.14 )", "09/27/2012", "LT3EC114 (1.14)", "LT3-2441",
                                     "R9HX41C", "1ZK7Q2N40AB"}));
    QVERIFY(!Child<QComboBox>("ComboBoxBatt")->isVisible());
}

void SysInfoFormTest::withoutDmidecodeEveryListIsEmpty()
{
    host_.Whereis(QStringLiteral("dmidecode"), false);
    UseBatteries(true, true);
    const QString message = QStringLiteral("error: command dmidecode not found");
    Open();
    QCOMPARE(host_.Entries(QStringLiteral("error: ")), (QStringList{message.mid(7), message.mid(7)}));
    QCOMPARE(Child<QTreeWidget>("ListView1")->topLevelItemCount(), 0);
    for (int tab : {1, 2}) {
        SelectTab(tab);
        QCOMPARE(host_.Entries(QStringLiteral("error: ")), QStringList{message.mid(7)});
        QCOMPARE(Child<QTreeWidget>("ListView1")->topLevelItemCount(), 0);
    }
}

void SysInfoFormTest::bothBatteriesCanBePicked()
{
    UseBatteries(true, true);
    Open();
    SelectTab(2);
    auto* batteries = Child<QComboBox>("ComboBoxBatt");
    QCOMPARE(batteries->count(), 2);
    QCOMPARE(batteries->itemText(1), QStringLiteral("Battery2"));
    QCOMPARE(batteries->currentText(), QStringLiteral("Battery1"));
    QCOMPARE(Column(1).value(0), QStringLiteral("Charged"));
    QCOMPARE(Column(1).value(5), QStringLiteral("142"));

    // Picking as a person does with the keyboard, which reports the pick.
    host_.log.clear();
    batteries->setFocus();
    QTest::keyClick(batteries, Qt::Key_Down);
    QCOMPARE(batteries->currentText(), QStringLiteral("Battery2"));
    QCOMPARE(host_.Entries(QStringLiteral("shell: cp ")),
             (QStringList{"/proc/H8/BAT1/state /tmp/state", "/proc/H8/BAT1/info /tmp/info"}));
    QCOMPARE(Column(1).value(0), QStringLiteral("Charging"));
    QCOMPARE(Column(1).value(1), QStringLiteral("87%"));
    QCOMPARE(Column(1).value(5), QStringLiteral("57"));

    QTest::keyClick(batteries, Qt::Key_Up);
    QCOMPARE(Column(1).value(0), QStringLiteral("Charged"));
    QCOMPARE(Column(1).value(5), QStringLiteral("142"));
    QVERIFY(host_.Entries(QStringLiteral("error: ")).isEmpty());
}

void SysInfoFormTest::onlyTheSecondBattery()
{
    UseBatteries(false, true);
    Open();
    SelectTab(2);
    auto* batteries = Child<QComboBox>("ComboBoxBatt");
    QCOMPARE(batteries->count(), 1);
    QCOMPARE(batteries->currentText(), QStringLiteral("Battery2"));
    QCOMPARE(host_.Entries(QStringLiteral("shell: cp ")),
             (QStringList{"/proc/H8/BAT1/state /tmp/state", "/proc/H8/BAT1/info /tmp/info"}));
    QCOMPARE(Column(1).value(1), QStringLiteral("87%"));
    QVERIFY(host_.Entries(QStringLiteral("error: ")).isEmpty());
}

void SysInfoFormTest::noBatteryFallsBackToTheBiosTab()
{
    Open();
    SelectTab(2);
    QCOMPARE(host_.Entries(QStringLiteral("error: ")), QStringList{NoBattery.mid(7)});
    QCOMPARE(Child<QTabWidget>("TabControl1")->currentIndex(), 1);
    QVERIFY(!Child<QComboBox>("ComboBoxBatt")->isVisible());
    QCOMPARE(Column(0).value(2), QStringLiteral("Embedded controller version"));
    QCOMPARE(Column(1).value(2), QStringLiteral("LT3EC114 (1.14)"));
    // The BIOS rows were read once, by the nested change, and nothing was copied.
    QCOMPARE(host_.log.count(QStringLiteral("privileged: ") + DumpCommand), 1);
    QVERIFY(host_.Entries(QStringLiteral("shell: cp ")).isEmpty());
}

void SysInfoFormTest::firstBatteryWithoutItsInfoFile()
{
    UseBatteries(true, false);
    host_.files[QStringLiteral("/proc/H8/BAT0/info")] = false;
    Open();
    SelectTab(2);
    QCOMPARE(Child<QComboBox>("ComboBoxBatt")->currentText(), QStringLiteral("Battery1"));
    QCOMPARE(host_.Entries(QStringLiteral("error: ")), QStringList{NoBattery.mid(7)});
    QCOMPARE(Child<QTabWidget>("TabControl1")->currentIndex(), 2);
    const QStringList values = Column(1);
    QCOMPARE(values.size(), 18);
    QCOMPARE(values.value(0), QStringLiteral("Discharging"));
    QCOMPARE(values.mid(1), QStringList(17, QStringLiteral(" ")));
}

void SysInfoFormTest::anUnreadableCaptureFileKeepsTheRows()
{
    Open();
    const QStringList before = Column(1);
    host_.answers.insert(MemCommand, [] { return FakeHost::PutFolderAt(QStringLiteral("/tmp/mem")); });
    form_->close();
    Open();
    QCOMPARE(Column(1), before);
    const QStringList reports = host_.Entries(QStringLiteral("report: "));
    QCOMPARE(reports.size(), 1);
    QVERIFY2(reports[0].contains(QLatin1String("/tmp/mem")), qPrintable(reports[0]));
    QVERIFY(form_->isVisible());
}

void SysInfoFormTest::helpStartsTheBrowserAndStaysOpen()
{
    Open();
    host_.log.clear();
    host_.InstallProgram(QStringLiteral("firefox"));
    QTest::mouseClick(Child<QPushButton>("ButtonHelp"), Qt::LeftButton);
    QCOMPARE(host_.log,
             QStringList{"system: firefox -width 800 -height 600 /opt/lapstone/vc/help/html/QRVSI.HTM &"});
    QVERIFY(form_->isVisible());

    // Without firefox the desktop's default browser shows the page; only when that fails too is
    // there a message.
    const QString page = QStringLiteral("/opt/lapstone/vc/help/html/QRVSI.HTM");
    host_.files.insert(QStringLiteral("/usr/bin/firefox"), false);
    host_.log.clear();
    QTest::mouseClick(Child<QPushButton>("ButtonHelp"), Qt::LeftButton);
    QCOMPARE(host_.log, QStringList{QStringLiteral("open: ") + page});
    host_.openFileWorks = false;
    host_.log.clear();
    QTest::mouseClick(Child<QPushButton>("ButtonHelp"), Qt::LeftButton);
    QCOMPARE(host_.log, (QStringList{QStringLiteral("open: ") + page,
                                     QStringLiteral("error: cannot open the help page ") + page}));
    QVERIFY(form_->isVisible());
}

void SysInfoFormTest::okAndCancelClose()
{
    for (const char* button : {"ButtonOK", "ButtonCancel"}) {
        Open();
        host_.log.clear();
        QTest::mouseClick(Child<QPushButton>(button), Qt::LeftButton);
        QVERIFY2(!form_->isVisible(), button);
        QVERIFY2(host_.log.isEmpty(), button);
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
