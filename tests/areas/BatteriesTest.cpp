// The batteries on the fake host: the old driver's files under /proc/H8, which battery the selector
// offers, which files are copied into /tmp/state and /tmp/info and their removal, the battery tab's
// rows read from the copies by their keys; and, without the driver, the kernel's power-supply class.
#include "areas/batteries/Battery.h"
#include "areas/system/SysInfo.h"
#include "machine/Host.h"
#include "tests/support/FakeHost.h"
#include "tests/support/TestData.h"

#include <QFile>
#include <QTest>
#include <cstdlib>

using namespace Ucomtc;

namespace {

using Rows = QList<QPair<QString, QString>>;

Rows AsPairs(const TSysInfoArray& rows)
{
    Rows pairs;
    for (const TSysInfoRec& row : rows)
        pairs.append({row.Attribute, row.Value});
    return pairs;
}

} // namespace

class BatteriesTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void batteryRowsFollowThePowerState_data();
    void batteryRowsFollowThePowerState();
    void batteryTabWithoutACopyIsBlank();
    void batteryCopiesFallBackOnlyFromTheFirst_data();
    void batteryCopiesFallBackOnlyFromTheFirst();
    void powerSupplyRowsWithoutTheDriver_data();
    void powerSupplyRowsWithoutTheDriver();

private:
    // Puts the battery driver's files in place: BAT0 and/or BAT1 with the given state files.
    void UseBatteries(const QString& bat0State, const QString& bat1State);
    // The battery tab's rows, as the dialog and the report ask for them.
    TSysInfoArray BatteryRows(int battery) { return system_.Rows(BatteryTab, battery).value; }

    FakeHost host_;
    std::unique_ptr<ScopedHost> scope_;
    MachineBatteries batteries_;
    MachineSystemInformation system_;
};

void BatteriesTest::init()
{
    scope_.reset();
    host_ = FakeHost();
    scope_ = std::make_unique<ScopedHost>(host_);
    host_.Whereis(QStringLiteral("dmidecode"), true);
}

void BatteriesTest::UseBatteries(const QString& bat0State, const QString& bat1State)
{
    const QString info = TestDataPath(QStringLiteral("sysinfo/battery/info"));
    const struct
    {
        const char* battery;
        QString state;
    } batteries[] = {{"BAT0", bat0State}, {"BAT1", bat1State}};
    for (const auto& [battery, state] : batteries) {
        const QString folder = QStringLiteral("/proc/H8/") + QLatin1String(battery);
        const QString sources[] = {state, state.isEmpty() ? QString() : info};
        const char* const names[] = {"state", "info"};
        for (int i = 0; i < 2; ++i) {
            const QString file = folder + QLatin1Char('/') + QLatin1String(names[i]);
            host_.files[file] = !sources[i].isEmpty();
            const QString copy =
                QStringLiteral("cp ") + file + QStringLiteral(" /tmp/") + QLatin1String(names[i]);
            const QString real = QStringLiteral("cp ") + sources[i] + QStringLiteral(" ") +
                                 FakeHost::Real(QStringLiteral("/tmp/") + QLatin1String(names[i]));
            host_.answers.insert(copy, [real] { return std::system(qPrintable(real)); });
        }
    }
}

void BatteriesTest::batteryRowsFollowThePowerState_data()
{
    QTest::addColumn<QString>("state");
    QTest::addColumn<Rows>("expected");

    const Rows info{{"Manufacture name", "KESTREL"},
                    {"Manufacture date", "2012/09/02"},
                    {"First used date", "2012/10/15"},
                    {"Serial number", "20931"},
                    {"Bar-coding number", "LBP71B-3C9D-1X7K"},
                    {"Battery name", "LBP-71B"},
                    {"Device chemistry", "LION"},
                    {"Design capacity", "84240 mWh"},
                    {"Design voltage", "10800 mV"}};
    const auto onAc = [&](const char* status, const char* percentage, const char* remaining,
                          const char* temperature) {
        return Rows{{"Status", status},
                    {"Remaining percentage", percentage},
                    {"Remaining capacity", remaining},
                    {"Full charge capacity", "71280 mWh"},
                    {"Temperature", temperature},
                    {"Cycle count", "211"}} +
               info;
    };
    const auto onBattery = [&](const Rows& state) { return Rows{{"Status", "Discharging"}} + state + info; };
    const Rows fullOnBattery{{"Remaining percentage", "100%"},
                             {"Remaining time", "Not discharging"},
                             {"Remaining capacity", "71280 mWh"},
                             {"Full charge capacity", "71280 mWh"},
                             {"Current", "0 mA"},
                             {"Voltage", "12480 mV"},
                             {"Temperature", "30 C"},
                             {"Cycle count", "211"}};

    QTest::newRow("on AC at 100%") << "state-ac-full" << onAc("Charged", "100%", "71280 mWh", "30 C");
    QTest::newRow("on AC at 99%") << "state-ac-charging" << onAc("Charging", "99%", "70570 mWh", "33 C");
    QTest::newRow("discharging") << "state-discharging"
                                 << onBattery({{"Remaining percentage", "64%"},
                                               {"Remaining time", "1:48"},
                                               {"Remaining capacity", "45620 mWh"},
                                               {"Full charge capacity", "71280 mWh"},
                                               {"Current", "-1893 mA"},
                                               {"Voltage", "11702 mV"},
                                               {"Temperature", "35 C"},
                                               {"Cycle count", "212"}});
    QTest::newRow("a lower-case yes is not AC") << "state-lowercase-yes" << onBattery(fullOnBattery);
    QTest::newRow("a blank after Yes is not AC") << "state-yes-and-blank" << onBattery(fullOnBattery);
    Rows nothingFound;
    for (const auto& row : fullOnBattery)
        nothingFound.append({row.first, QString()});
    QTest::newRow("a state file without its AC line gives no state values")
        << "state-without-ac" << onBattery(nothingFound);
}

void BatteriesTest::batteryRowsFollowThePowerState()
{
    QFETCH(QString, state);
    QFETCH(Rows, expected);
    UseBatteries(TestDataPath(QStringLiteral("sysinfo/battery/") + state), QString());

    QVERIFY(batteries_.Copy(0).isEmpty());
    const auto read = system_.Rows(BatteryTab, 0);
    QCOMPARE(AsPairs(read.value), expected);
    QVERIFY(read.messages.isEmpty());
    QCOMPARE(host_.Entries(QStringLiteral("shell: ")),
             (QStringList{"cp /proc/H8/BAT0/state /tmp/state", "cp /proc/H8/BAT0/info /tmp/info",
                          "rm /tmp/state", "rm /tmp/info"}));
    QVERIFY(!QFile::exists(FakeHost::Real(QStringLiteral("/tmp/state"))));
    QVERIFY(!QFile::exists(FakeHost::Real(QStringLiteral("/tmp/info"))));
}

void BatteriesTest::batteryTabWithoutACopyIsBlank()
{
    UseBatteries(TestDataPath(QStringLiteral("sysinfo/battery/state-ac-full")), QString());
    batteries_.Copy(0);

    const TSysInfoArray first = BatteryRows(0);
    const TSysInfoArray second = BatteryRows(0);

    QCOMPARE(first.size(), 15);
    QCOMPARE(first[0].Value, QStringLiteral("Charged"));
    QCOMPARE(second.size(), 18);
    QCOMPARE(second[0].Attribute, QStringLiteral("Status"));
    QCOMPARE(second[0].Value, QStringLiteral("Discharging"));
    for (qsizetype i = 1; i < second.size(); ++i)
        QCOMPARE(second[i].Value, QStringLiteral(" "));
}

void BatteriesTest::batteryCopiesFallBackOnlyFromTheFirst_data()
{
    QTest::addColumn<QString>("bat0");
    QTest::addColumn<bool>("bat0Info");
    QTest::addColumn<QString>("bat1");
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<int>("battery");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<QString>("said"); // the error, if any
    QTest::addColumn<QString>("copiedState");

    const QString full = TestDataPath(QStringLiteral("sysinfo/battery/state-ac-full"));
    const QString charging = TestDataPath(QStringLiteral("sysinfo/battery/state-ac-charging"));
    const QStringList both{"Battery1", "Battery2"};
    const QStringList copy0{"shell: cp /proc/H8/BAT0/state /tmp/state",
                            "shell: cp /proc/H8/BAT0/info /tmp/info"};
    const QStringList copy1{"shell: cp /proc/H8/BAT1/state /tmp/state",
                            "shell: cp /proc/H8/BAT1/info /tmp/info"};
    const QString noBattery =
        QStringLiteral("Module batinfo is needed or there is no battery in the computer");

    const QStringList none;
    QTest::newRow("first of two") << full << true << charging << both << 0 << copy0 << QString() << full;
    QTest::newRow("second of two") << full << true << charging << both << 1 << copy1 << QString() << charging;
    QTest::newRow("first when only the second is there")
        << QString() << false << charging << QStringList{"Battery2"} << 0 << copy1 << QString() << charging;
    QTest::newRow("first without its info file falls back")
        << full << false << charging << both << 0 << copy1 << QString() << charging;
    QTest::newRow("first without its info file and no second")
        << full << false << QString() << QStringList{"Battery1"} << 0 << none << noBattery << QString();
    QTest::newRow("second when only the first is there")
        << full << true << QString() << QStringList{"Battery1"} << 1 << none << "Module batinfo is needed"
        << QString();
    QTest::newRow("first when there is none")
        << QString() << false << QString() << none << 0 << none << noBattery << QString();
    QTest::newRow("a third battery") << full << true << charging << both << 2 << none << QString()
                                     << QString();
    QTest::newRow("a negative number")
        << full << true << charging << both << -1 << none << QString() << QString();
}

void BatteriesTest::batteryCopiesFallBackOnlyFromTheFirst()
{
    QFETCH(QString, bat0);
    QFETCH(bool, bat0Info);
    QFETCH(QString, bat1);
    QFETCH(QStringList, entries);
    QFETCH(int, battery);
    QFETCH(QStringList, expected);
    QFETCH(QString, said);
    QFETCH(QString, copiedState);
    UseBatteries(bat0, bat1);
    host_.files[QStringLiteral("/proc/H8/BAT0/info")] = bat0Info;

    // The selector offers a battery for each state file, whatever its info file.
    QCOMPARE(batteries_.Entries(), entries);
    const Messages messages = batteries_.Copy(battery);
    QCOMPARE(host_.log, expected);
    QCOMPARE(messages, said.isEmpty() ? Messages() : Messages({{MessageKind::Error, said}}));
    QCOMPARE(QFile::exists(FakeHost::Real(QStringLiteral("/tmp/info"))), !copiedState.isEmpty());
    if (copiedState.isEmpty()) {
        QVERIFY(!QFile::exists(FakeHost::Real(QStringLiteral("/tmp/state"))));
    } else {
        QFile copied(FakeHost::Real(QStringLiteral("/tmp/state")));
        QFile source(copiedState);
        QVERIFY(copied.open(QIODevice::ReadOnly) && source.open(QIODevice::ReadOnly));
        QCOMPARE(copied.readAll(), source.readAll());
    }
    // What nothing read is removed afterwards; only what is there.
    host_.log.clear();
    QVERIFY(batteries_.RemoveCopies().isEmpty());
    QCOMPARE(host_.log, copiedState.isEmpty() ? QStringList()
                                              : QStringList({"shell: rm /tmp/state", "shell: rm /tmp/info"}));
    QVERIFY(!QFile::exists(FakeHost::Real(QStringLiteral("/tmp/state"))));
}

void BatteriesTest::powerSupplyRowsWithoutTheDriver_data()
{
    QTest::addColumn<QString>("sample");
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<int>("battery");
    QTest::addColumn<QStringList>("expected");

    const QStringList two{"Battery1", "Battery2"};
    const QString unknown = QStringLiteral("Unknown");
    QTest::newRow("energy, full on AC")
        << "two-batteries" << two << 0
        << QStringList{"Charged", "100%",    "80650 mWh", "80650 mWh", "29 C",
                       "142",     "KESTREL", unknown,     unknown,     "10783",
                       unknown,   "LBP-84A", "Li-ion",    "84240 mWh", "10800 mV"};
    QTest::newRow("charge only, charging, a maximum design voltage, a trimmed serial")
        << "two-batteries" << two << 1
        << QStringList{"Charging", "62%",     "3026 mAh",   "4880 mAh", "32 C",
                       "57",       "KESTREL", "2022/03/09", unknown,    "20417",
                       unknown,    "LBP-52B", "Li-ion",     "5200 mAh", "11100 mV"};
    QTest::newRow("power only, no capacity, no temp, an empty serial")
        << "discharging" << QStringList{"Battery1"} << 0
        << QStringList{"Discharging", "65%",   "3:00",  "35100 mWh", "54000 mWh", "-1000 mA",
                       "11700 mV",    unknown, "12",    unknown,     unknown,     unknown,
                       unknown,       unknown, unknown, "Li-poly",   "57000 mWh", "11400 mV"};
    QTest::newRow("a smart battery without a Mains supply, the driver's time")
        << "smart-battery" << QStringList{"Battery1"} << 0
        << QStringList{"Discharging", "40%",   "1:30",  "1800 mAh", "4500 mAh", "-1500 mA",
                       "11100 mV",    unknown, unknown, "ORMAND",   unknown,    unknown,
                       unknown,       unknown, unknown, unknown,    unknown,    unknown};
    // On AC the battery says what it does: charge thresholds keep it from charging.
    QTest::newRow("on AC, not charging, no count kept")
        << "thresholds" << QStringList{"Battery1"} << 0
        << QStringList{"Not charging", "80%",   "45000 mWh", "56250 mWh", "30 C",
                       unknown,        unknown, unknown,     unknown,     unknown,
                       unknown,        unknown, "Li-ion",    "57000 mWh", "11400 mV"};
    QTest::newRow("a battery it does not have")
        << "discharging" << QStringList{"Battery1"} << 1 << QStringList{};
}

void BatteriesTest::powerSupplyRowsWithoutTheDriver()
{
    QFETCH(QString, sample);
    QFETCH(QStringList, entries);
    QFETCH(int, battery);
    QFETCH(QStringList, expected);
    host_.UseTexts(QStringLiteral("/sys/class/power_supply"),
                   TestData(QStringLiteral("sysinfo/power-supply/") + sample + QStringLiteral(".txt")));

    QCOMPARE(batteries_.Entries(), entries);
    QCOMPARE(BatteryOfEntry(entries.last()), entries.size() - 1);
    // Nothing is copied: the message comes only for a battery that is not there.
    QCOMPARE(batteries_.Copy(battery),
             expected.isEmpty() ? Messages({{MessageKind::Error, QStringLiteral("Module batinfo is needed")}})
                                : Messages());
    // The driver's layout: on AC without the time, current and voltage.
    QStringList attributes =
        QStringLiteral("Status,Remaining percentage,Remaining time,Remaining capacity,Full "
                       "charge capacity,Current,Voltage,Temperature,Cycle count,Manufacture "
                       "name,Manufacture date,First used date,Serial number,Bar-coding "
                       "number,Battery name,Device chemistry,Design capacity,Design voltage")
            .split(QLatin1Char(','));
    if (expected.size() == 15)
        attributes = attributes.mid(0, 2) + attributes.mid(3, 2) + attributes.mid(7);
    Rows rows;
    for (qsizetype i = 0; i < expected.size(); ++i)
        rows.append({attributes[i], expected[i]});
    QCOMPARE(AsPairs(BatteryRows(battery)), rows);
    QVERIFY(host_.Entries(QStringLiteral("shell: cp")).isEmpty());
}

QTEST_MAIN(BatteriesTest)
#include "BatteriesTest.moc"
