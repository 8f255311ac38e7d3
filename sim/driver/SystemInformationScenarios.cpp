// The system information dialog, opened from the main window as a person would: the General, BIOS
// and battery rows it reads from the notebook, the battery selector, the fall-back to the BIOS tab
// when there is no battery, the messages when a tool or a driver file is missing, and Help.
#include "Driver.h"
#include "ScenarioHost.h"
#include "Scenarios.h"
#include "Transcript.h"

#include <QComboBox>
#include <QFile>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

namespace {

const QString FormName = QStringLiteral("SysInfoForm");
const QString NoBattery =
    QStringLiteral("error: Module batinfo is needed or there is no battery in the computer");
const QString NoDmidecode = QStringLiteral("error: command dmidecode not found");
const QString HelpLine =
    QStringLiteral("firefox -width 800 -height 600 /opt/lapstone/vc/help/html/QRVSI.HTM");
const QStringList GeneralAttributes{"OS information", "Kernel information", "Processor",
                                    "Memory",         "BIOS version",       "Machine type-Model"};
const QStringList BiosAttributes{"BIOS version",
                                 "BIOS date",
                                 "Embedded controller version",
                                 "Machine type-Model",
                                 "System unit serial number",
                                 "System board serial number"};

QTabWidget* Tabs(QWidget* form)
{
    return form->findChild<QTabWidget*>(QStringLiteral("TabControl1"));
}

QComboBox* Batteries(QWidget* form)
{
    return form->findChild<QComboBox*>(QStringLiteral("ComboBoxBatt"));
}

QStringList Column(QWidget* form, int column)
{
    auto* list = form->findChild<QTreeWidget*>(QStringLiteral("ListView1"));
    QStringList texts;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        texts.append(list->topLevelItem(i)->text(column));
    return texts;
}

QStringList Entries(QComboBox* combo)
{
    QStringList entries;
    for (int i = 0; i < combo->count(); ++i)
        entries.append(combo->itemText(i));
    return entries;
}

void ClickTab(Driver& driver, QWidget* form, int index)
{
    QTabBar* bar = Tabs(form)->tabBar();
    driver.transcript().Line(QStringLiteral("click tab ") + bar->tabText(index));
    driver.host().Forget();
    QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, bar->tabRect(index).center());
    driver.Settle(50);
}

// Picks an entry of the battery selector with the arrow keys, as a person at the keyboard would.
void PickBattery(Driver& driver, QWidget* form, const QString& entry)
{
    QComboBox* combo = Batteries(form);
    const int target = combo->findText(entry);
    if (!driver.Check(target >= 0, QStringLiteral("the selector offers ") + entry))
        return;
    driver.transcript().Line(QStringLiteral("pick ") + entry);
    driver.host().Forget();
    combo->setFocus();
    while (combo->currentIndex() != target)
        QTest::keyClick(combo, combo->currentIndex() < target ? Qt::Key_Down : Qt::Key_Up);
    driver.Settle(50);
}

void Press(Driver& driver, QWidget* form, const char* button)
{
    driver.Click(form->findChild<QPushButton*>(QLatin1String(button)));
}

// Opens the dialog from the main window; `whileOpen` reads it and must close it.
void OpenDialog(Driver& driver, const std::function<void(QWidget*)>& whileOpen)
{
    driver.ClickToOpen(driver.Button("SpdButtonSys"), FormName, whileOpen);
}

void CheckRows(Driver& driver, QWidget* form, const QStringList& attributes, const QStringList& values,
               const QString& what)
{
    const QStringList shown = Column(form, 1);
    driver.Check(Column(form, 0) == attributes && shown == values,
                 what + QStringLiteral(": [") + shown.join(QStringLiteral(" | ")) + QLatin1Char(']'));
}

// The notebook's battery rows differ in how they start: status, then the remaining percentage.
void CheckBattery(Driver& driver, QWidget* form, int rows, const QString& status, const QString& percentage,
                  const QString& what)
{
    const QStringList values = Column(form, 1);
    driver.Check(values.size() == rows && values.value(0) == status && values.value(1) == percentage,
                 what + QStringLiteral(": ") + QString::number(values.size()) + QStringLiteral(" rows, ") +
                     values.value(0) + QStringLiteral(", ") + values.value(1));
}

void CheckNoCaptureFilesLeft(Driver& driver)
{
    for (const char* name : {"/tmp/dmidecode", "/tmp/mem", "/tmp/state", "/tmp/info", "/tmp/command"})
        driver.Check(!QFile::exists(QLatin1String(name)),
                     QString::fromLatin1(name) + QStringLiteral(" is gone"));
}

void SystemInformation(Driver& driver)
{
    driver.StartProgram();
    OpenDialog(driver, [&](QWidget* form) {
        driver.transcript().Window(form, QStringLiteral("General"));
        driver.ExpectMessages({}, QStringLiteral("opening"));
        driver.Check(Tabs(form)->currentIndex() == 0 && !Batteries(form)->isVisible(),
                     QStringLiteral("it opens on General with the selector hidden"));
        driver.Check(driver.host().commands().contains(
                         QStringLiteral("privileged: /usr/sbin/dmidecode > /tmp/StoredDmi -> true")),
                     QStringLiteral("the daemon took the dump"));
        CheckRows(driver, form, GeneralAttributes,
                  {"Zentil Linux 10.2 (i586) - Ker", "Linux version 2.6.18.8-0.7-default",
                   "Intel(R) Core(TM)2 Duo CPU P8600 @ 2.40GHz", "4041528kB", "LT2B229 (2.29)", "LT2-7735"},
                  QStringLiteral("General rows from the notebook"));

        ClickTab(driver, form, 1);
        driver.ExpectMessages({}, QStringLiteral("BIOS information"));
        CheckRows(driver, form, BiosAttributes,
                  {"LT2B229 (2.29)", "03/18/2011", "LT2EC107 (1.07)", "LT2-7735", "L3BK219", "VQ1K93M5C2B"},
                  QStringLiteral("BIOS rows from the dump"));

        ClickTab(driver, form, 2);
        driver.ExpectMessages({}, QStringLiteral("Battery information"));
        driver.Check(Batteries(form)->isVisible() &&
                         Entries(Batteries(form)) == QStringList{"Battery1", "Battery2"} &&
                         Batteries(form)->currentText() == QLatin1String("Battery1"),
                     QStringLiteral("the selector shows Battery1 of Battery1 and Battery2"));
        CheckBattery(driver, form, 15, QStringLiteral("Charged"), QStringLiteral("100%"),
                     QStringLiteral("the first battery, full on AC"));
        PickBattery(driver, form, QStringLiteral("Battery2"));
        CheckBattery(driver, form, 15, QStringLiteral("Charging"), QStringLiteral("87%"),
                     QStringLiteral("the second battery, charging"));
        PickBattery(driver, form, QStringLiteral("Battery1"));
        CheckBattery(driver, form, 15, QStringLiteral("Charged"), QStringLiteral("100%"),
                     QStringLiteral("the first battery again"));
        driver.ExpectMessages({}, QStringLiteral("switching batteries"));

        driver.NewToolLines();
        Press(driver, form, "ButtonHelp");
        driver.Check(driver.NewToolLines(1) == QStringList{HelpLine},
                     QStringLiteral("Help starts the browser"));
        driver.Check(form->isVisible(), QStringLiteral("the dialog stays open after Help"));
        driver.Check(QFile::exists(HelpLine.section(QLatin1Char(' '), -1)),
                     QStringLiteral("the help page is installed"));
        Press(driver, form, "ButtonOK");
    });

    // Closed on the battery tab, it opens on General again.
    OpenDialog(driver, [&](QWidget* form) {
        driver.Check(Tabs(form)->currentIndex() == 0 && !Batteries(form)->isVisible() &&
                         Column(form, 0) == GeneralAttributes,
                     QStringLiteral("the next opening shows General with the selector hidden"));
        Press(driver, form, "ButtonCancel");
    });
    driver.StopProgram();
    CheckNoCaptureFilesLeft(driver);
}

// Opens the dialog, selects the battery tab and hands over to `check`; closes with OK.
void BatteryTab(Driver& driver, const std::function<void(QWidget*)>& check)
{
    driver.StartProgram();
    OpenDialog(driver, [&](QWidget* form) {
        ClickTab(driver, form, 2);
        driver.transcript().Window(form, QStringLiteral("Battery information"));
        check(form);
        Press(driver, form, "ButtonOK");
    });
    driver.StopProgram();
    CheckNoCaptureFilesLeft(driver);
}

void OnlyTheSecondBattery(Driver& driver)
{
    BatteryTab(driver, [&](QWidget* form) {
        driver.ExpectMessages({}, QStringLiteral("the battery tab"));
        driver.Check(Entries(Batteries(form)) == QStringList{"Battery2"},
                     QStringLiteral("the selector lists only Battery2"));
        CheckBattery(driver, form, 15, QStringLiteral("Charging"), QStringLiteral("87%"),
                     QStringLiteral("the second battery's rows"));
    });
}

void OneBatteryDischarging(Driver& driver)
{
    BatteryTab(driver, [&](QWidget* form) {
        driver.ExpectMessages({}, QStringLiteral("the battery tab"));
        driver.Check(Entries(Batteries(form)) == QStringList{"Battery1"},
                     QStringLiteral("the selector lists Battery1"));
        CheckBattery(driver, form, 18, QStringLiteral("Discharging"), QStringLiteral("63%"),
                     QStringLiteral("the discharging layout"));
        driver.Check(Column(form, 1).value(2) == QLatin1String("2:16"),
                     QStringLiteral("the remaining time is shown"));
        PickBattery(driver, form, QStringLiteral("Battery1"));
        driver.ExpectMessages({}, QStringLiteral("picking the only battery"));
    });
}

void NoBatteryDriver(Driver& driver)
{
    BatteryTab(driver, [&](QWidget* form) {
        driver.ExpectMessages({NoBattery}, QStringLiteral("the battery tab without a battery"));
        driver.Check(Tabs(form)->currentIndex() == 1 && !Batteries(form)->isVisible(),
                     QStringLiteral("the dialog falls back to BIOS information, selector hidden"));
        CheckRows(driver, form, BiosAttributes,
                  {"LT2B226 (2.26)", "10/27/2010", "LT2EC105 (1.05)", "LT2-7735", "L3AX031", "VQ1J22B9E4C"},
                  QStringLiteral("the BIOS rows"));
    });
}

void FirstBatteryWithoutInfo(Driver& driver)
{
    BatteryTab(driver, [&](QWidget* form) {
        driver.ExpectMessages({NoBattery}, QStringLiteral("BAT0 without its info file"));
        driver.Check(Entries(Batteries(form)) == QStringList{"Battery1"},
                     QStringLiteral("the selector lists Battery1"));
        const QStringList values = Column(form, 1);
        driver.Check(values.size() == 18 && values.value(0) == QLatin1String("Discharging") &&
                         values.mid(1) == QStringList(17, QStringLiteral(" ")),
                     QStringLiteral("the blank discharging layout"));
    });
}

void WithoutDmidecode(Driver& driver)
{
    driver.StartProgram();
    OpenDialog(driver, [&](QWidget* form) {
        driver.transcript().Window(form, QStringLiteral("General without dmidecode"));
        driver.ExpectMessages({NoDmidecode, NoDmidecode}, QStringLiteral("opening: the message twice"));
        driver.Check(Column(form, 0).isEmpty(), QStringLiteral("General is empty"));
        ClickTab(driver, form, 1);
        driver.ExpectMessages({NoDmidecode}, QStringLiteral("BIOS information"));
        driver.Check(Column(form, 0).isEmpty(), QStringLiteral("BIOS information is empty"));
        ClickTab(driver, form, 2);
        driver.ExpectMessages({NoDmidecode}, QStringLiteral("Battery information"));
        driver.Check(Column(form, 0).isEmpty(), QStringLiteral("Battery information is empty"));
        Press(driver, form, "ButtonOK");
    });
    driver.StopProgram();
}

// Debian 12 with Plasma on X11: no battery driver, no stick driver, no synclient, no KDE 3 files.
// The dialogs read what today's desktop keeps, as facts, without a message (the report scenario
// compares the rest).
void TodaysDesktop(Driver& driver)
{
    driver.StartProgram();
    driver.host().Forget();
    OpenDialog(driver, [&](QWidget* form) {
        driver.transcript().Window(form, QStringLiteral("General"));
        const QStringList general = Column(form, 1);
        driver.Check(general.value(0) == QLatin1String("Debian GNU/Linux 12 (bookworm)") &&
                         general.value(2) == QLatin1String("Intel(R) Core(TM)2 Duo CPU P8600 @ 2.40GHz"),
                     QStringLiteral("os-release's name and the whole processor name: ") +
                         general.join(QStringLiteral(" | ")));
        ClickTab(driver, form, 2);
        driver.Check(Entries(Batteries(form)) == QStringList{"Battery1", "Battery2"},
                     QStringLiteral("the selector offers the two sysfs batteries"));
        CheckRows(driver, form, Column(form, 0),
                  {"Charged", "100%", "80650 mWh", "80650 mWh", "29 C", "142", "KESTREL", "Unknown",
                   "Unknown", "10783", "Unknown", "LBP-84A", "Li-ion", "84240 mWh", "10800 mV"},
                  QStringLiteral("BAT0 on AC, in the driver's units"));
        PickBattery(driver, form, QStringLiteral("Battery2"));
        driver.transcript().Window(form, QStringLiteral("Battery2"));
        CheckBattery(driver, form, 15, QStringLiteral("Charging"), QStringLiteral("62%"),
                     QStringLiteral("BAT1, charge only"));
        driver.Check(Column(form, 1).value(2) == QLatin1String("3026 mAh"), QStringLiteral("BAT1 in mAh"));
        driver.ExpectMessages({}, QStringLiteral("system information"));
        Press(driver, form, "ButtonOK");
    });
    const std::pair<const char*, const char*> devices[] = {{"SpdButtonNubstick", "NubstickFor"},
                                                           {"SpdButtonTouch", "TouchPadForm1"}};
    for (const auto& [button, name] : devices) {
        driver.ClickToOpen(driver.Button(button), QString::fromLatin1(name), [&](QWidget* device) {
            const QString state =
                device->findChild<QComboBox*>(QStringLiteral("ComboBoxState"))->currentText();
            driver.Check(state == QLatin1String("Automatic"),
                         QString::fromLatin1(name) + QStringLiteral(" reads xinput's state: ") + state);
            driver.ExpectMessages({}, QString::fromLatin1(name));
            Press(driver, device, "ButtonCancel");
        });
    }
    CheckNoCaptureFilesLeft(driver);
    driver.StopProgram();
}

} // namespace

std::vector<Scenario> SystemInformationScenarios()
{
    return {{"sysinfo", SystemInformation},
            {"sysinfo-second-battery", OnlyTheSecondBattery},
            {"sysinfo-one-battery", OneBatteryDischarging},
            {"sysinfo-no-battery", NoBatteryDriver},
            {"sysinfo-bat0-without-info", FirstBatteryWithoutInfo},
            {"sysinfo-no-dmidecode", WithoutDmidecode},
            {"todays-desktop", TodaysDesktop}};
}

void TourSystemInformation(Driver& driver)
{
    OpenDialog(driver, [&](QWidget* form) {
        driver.transcript().Window(form, QStringLiteral("System Information General"));
        ClickTab(driver, form, 1);
        driver.transcript().Window(form, QStringLiteral("System Information BIOS"));
        ClickTab(driver, form, 2);
        driver.transcript().Window(form, QStringLiteral("System Information Battery1"));
        if (Batteries(form)->findText(QStringLiteral("Battery2")) >= 0) {
            PickBattery(driver, form, QStringLiteral("Battery2"));
            driver.transcript().Window(form, QStringLiteral("System Information Battery2"));
            PickBattery(driver, form, QStringLiteral("Battery1"));
        }
        Press(driver, form, "ButtonOK");
    });
}
