// The system information rows through the host seam: the General and BIOS tabs from real dmidecode
// dumps and /proc files, run by the real shell with the machine's paths pointed at test data, and
// the battery tab from real battery driver files. Runs in a private /tmp.
#include "areas/batteries/Battery.h"
#include "areas/system/SysInfo.h"
#include "machine/Host.h"
#include "machine/IoError.h"
#include "tests/support/FakeHost.h"
#include "tests/support/TestData.h"
#include "widgets/MessageBox.h"

#include <QDir>
#include <QFile>
#include <QTest>
#include <cstdlib>

using namespace Ucomtc;

namespace {

// As the dialog does it: the rows of a tab, with the reading's messages shown.
void ShowSysInfo(int tab, TSysInfoArray& rows, int battery = 0)
{
    auto read = MachineSystemInformation().Rows(tab, battery);
    ShowMessages(read.messages);
    rows = std::move(read.value);
}

void ShowCopyBatteryFiles(int battery)
{
    ShowMessages(CopyBatteryFiles(battery));
}

} // namespace

namespace {

const QString DumpCommand = QStringLiteral("/usr/sbin/dmidecode > /tmp/StoredDmi");
const QString IssueCommand = QStringLiteral("grep Linux /etc/issue > /tmp/dmidecode");
const QString VersionCommand =
    QStringLiteral("gawk '{print $1\" \" $2\" \" $3}' /proc/version > /tmp/dmidecode");
const QString CpuCommand = QStringLiteral("grep \"model name\" /proc/cpuinfo > /tmp/dmidecode");
const QString MemCommand =
    QStringLiteral("grep \"MemTotal\" /proc/meminfo | gawk '{print $2 $3}' > /tmp/mem");

using Rows = QList<QPair<QString, QString>>;

Rows AsPairs(const TSysInfoArray& rows)
{
    Rows pairs;
    for (const TSysInfoRec& row : rows)
        pairs.append({row.Attribute, row.Value});
    return pairs;
}

QStringList Attributes(const TSysInfoArray& rows)
{
    QStringList attributes;
    for (const TSysInfoRec& row : rows)
        attributes.append(row.Attribute);
    return attributes;
}

QStringList Values(const TSysInfoArray& rows)
{
    QStringList values;
    for (const TSysInfoRec& row : rows)
        values.append(row.Value);
    return values;
}

} // namespace

// The machine the collector looks at: which file stands at each fixed path.
struct Machine
{
    QString dump = TestDataPath(QStringLiteral("sysinfo/dmidecode-veltor-t3.txt"));
    QString issue = TestDataPath(QStringLiteral("sysinfo/issue-long.txt"));
    QString version = TestDataPath(QStringLiteral("sysinfo/version-plain.txt"));
    QString cpuinfo = TestDataPath(QStringLiteral("sysinfo/cpuinfo-four-cores.txt"));
    QString meminfo = TestDataPath(QStringLiteral("sysinfo/meminfo.txt"));
    // /etc/os-release and /usr/lib/os-release; an empty name: not there.
    QString osRelease = QStringLiteral("sysinfo/os-release-debian12.txt");
    QString usrOsRelease;
};
Q_DECLARE_METATYPE(Machine)

class SysInfoCollectorTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void generalRowsComeFromTheSystemFiles_data();
    void generalRowsComeFromTheSystemFiles();
    void generalRunsEachCommandTheWayItNeeds();
    void biosRowsFollowTheDumpInOrder_data();
    void biosRowsFollowTheDumpInOrder();
    void aMissingDumpGivesUnknownValues();
    void withoutDmidecodeEveryTabIsEmpty();
    void otherTabsAreEmptyAfterTheDump();
    void anUnreadableCaptureFileEndsTheCollection();
    void batteryRowsFollowThePowerState_data();
    void batteryRowsFollowThePowerState();
    void batteryTabWithoutACopyIsBlank();
    void batteryCopiesFallBackOnlyFromTheFirst_data();
    void batteryCopiesFallBackOnlyFromTheFirst();
    void powerSupplyRowsWithoutTheDriver_data();
    void powerSupplyRowsWithoutTheDriver();

private:
    // Answers every command as the machine would, running the real command line on its files.
    void Use(const Machine& machine);
    // Puts the battery driver's files in place: BAT0 and/or BAT1 with the given state files.
    void UseBatteries(const QString& bat0State, const QString& bat1State);

    FakeHost host_;
    std::unique_ptr<ScopedHost> scope_;
};

void SysInfoCollectorTest::init()
{
    host_ = FakeHost();
    scope_ = std::make_unique<ScopedHost>(host_);
    host_.Whereis(QStringLiteral("dmidecode"), true);
}

void SysInfoCollectorTest::cleanup()
{
    scope_.reset();
    for (const char* name : {"StoredDmi", "dmidecode", "mem", "state", "info", "command"}) {
        const QString path = FakeHost::Real(QStringLiteral("/tmp/") + QLatin1String(name));
        QFile::remove(path);
        QDir().rmdir(path);
    }
}

void SysInfoCollectorTest::Use(const Machine& machine)
{
    const auto run = [](QString command, const QString& from, const QString& to) {
        return [command = FakeHost::RealLine(command.replace(from, to))] {
            return std::system(qPrintable(command));
        };
    };
    host_.answers.insert(DumpCommand, run(DumpCommand, QStringLiteral("/usr/sbin/dmidecode"),
                                          QStringLiteral("cat ") + machine.dump));
    host_.answers.insert(IssueCommand, run(IssueCommand, QStringLiteral("/etc/issue"), machine.issue));
    host_.answers.insert(VersionCommand,
                         run(VersionCommand, QStringLiteral("/proc/version"), machine.version));
    host_.answers.insert(CpuCommand, run(CpuCommand, QStringLiteral("/proc/cpuinfo"), machine.cpuinfo));
    host_.answers.insert(MemCommand, run(MemCommand, QStringLiteral("/proc/meminfo"), machine.meminfo));
    const std::pair<const char*, QString> releases[] = {{"/etc/os-release", machine.osRelease},
                                                        {"/usr/lib/os-release", machine.usrOsRelease}};
    for (const auto& [path, sample] : releases) {
        if (!sample.isEmpty())
            host_.texts.insert(QString::fromLatin1(path), TestData(sample));
    }
}

void SysInfoCollectorTest::UseBatteries(const QString& bat0State, const QString& bat1State)
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

void SysInfoCollectorTest::generalRowsComeFromTheSystemFiles_data()
{
    QTest::addColumn<Machine>("machine");
    QTest::addColumn<QStringList>("expected");

    const QString kernel = QStringLiteral("Linux version 2.6.16.21-0.8-smp");
    // The whole name, its runs of blanks made one.
    const QString quad = QStringLiteral("Intel(R) Core(TM)2 Quad CPU Q9650 @ 3.00GHz");
    QTest::newRow("a four-processor notebook names its first processor")
        << Machine{}
        << QStringList{
               "Zentil Linux Enterprise Deskto", kernel, quad, "2065356kB", "LT3B114 (1.14 )", "LT3-2441"};

    Machine longVersion;
    longVersion.version = TestDataPath(QStringLiteral("sysinfo/version-long.txt"));
    QTest::newRow("a kernel name over 100 characters is cut to 100")
        << longVersion
        << QStringList{"Zentil Linux Enterprise Deskto",
                       "Linux version "
                       "3.0.101-63-default-with-a-local-version-suffix-that-runs-"
                       "past-the-width-of-the-value-c",
                       quad,
                       "2065356kB",
                       "LT3B114 (1.14 )",
                       "LT3-2441"};

    Machine shortName;
    shortName.cpuinfo = TestDataPath(QStringLiteral("sysinfo/cpuinfo-short-name.txt"));
    QTest::newRow("a processor name of three words has no blanks after it")
        << shortName
        << QStringList{"Zentil Linux Enterprise Deskto",
                       kernel,
                       "Geode(TM) Integrated Processor",
                       "2065356kB",
                       "LT3B114 (1.14 )",
                       "LT3-2441"};

    Machine eleven;
    eleven.issue = TestDataPath(QStringLiteral("sysinfo/issue-eleven.txt"));
    QTest::newRow("an issue without its welcome leaves the name to os-release")
        << eleven
        << QStringList{
               "Debian GNU/Linux 12 (bookworm)", kernel, quad, "2065356kB", "LT3B114 (1.14 )", "LT3-2441"};
    Machine twelve;
    twelve.issue = TestDataPath(QStringLiteral("sysinfo/issue-twelve.txt"));
    twelve.osRelease.clear();
    twelve.usrOsRelease = QStringLiteral("sysinfo/os-release-long.txt");
    QTest::newRow("without /etc/os-release the one under /usr/lib, unquoted, cut to 100")
        << twelve
        << QStringList{
               "Sample \"Linux\"   with a name that runs on and on past the width of the row, well past a "
               "hundred char",
               kernel,
               quad,
               "2065356kB",
               "LT3B114 (1.14 )",
               "LT3-2441"};
    Machine noLinux;
    noLinux.issue = TestDataPath(QStringLiteral("sysinfo/issue-without-linux.txt"));
    noLinux.cpuinfo = TestDataPath(QStringLiteral("sysinfo/meminfo.txt"));
    noLinux.meminfo = TestDataPath(QStringLiteral("sysinfo/cpuinfo-short-name.txt"));
    noLinux.osRelease.clear();
    QTest::newRow("files without the lines looked for give Unknown")
        << noLinux << QStringList{"Unknown", kernel, "Unknown", "Unknown", "LT3B114 (1.14 )", "LT3-2441"};
}

void SysInfoCollectorTest::generalRowsComeFromTheSystemFiles()
{
    QFETCH(Machine, machine);
    QFETCH(QStringList, expected);
    Use(machine);

    TSysInfoArray rows{{QStringLiteral("left over"), QStringLiteral("from before")}};
    ShowSysInfo(GeneralTab, rows);

    QCOMPARE(rows.size(), 6);
    const QStringList attributes{"OS information", "Kernel information", "Processor",
                                 "Memory",         "BIOS version",       "Machine type-Model"};
    for (qsizetype i = 0; i < rows.size(); ++i)
        QCOMPARE(rows[i].Attribute, attributes[i]);
    QCOMPARE(Values(rows), expected);
    QVERIFY(host_.Entries(QStringLiteral("error: ")).isEmpty());
    for (const char* name : {"StoredDmi", "dmidecode", "mem", "command"})
        QVERIFY2(!QFile::exists(FakeHost::Real(QStringLiteral("/tmp/") + QLatin1String(name))), name);
}

void SysInfoCollectorTest::generalRunsEachCommandTheWayItNeeds()
{
    Use(Machine{});
    TSysInfoArray rows;
    ShowSysInfo(GeneralTab, rows);
    ShowSysInfo(GeneralTab, rows); // nothing is kept: the second call does everything again

    const QStringList once{
        "system: whereis dmidecode >/tmp/command",
        "system: rm /tmp/command",
        "privileged: " + DumpCommand,
        "shell: rm /tmp/StoredDmi",
        "shell: " + IssueCommand,
        "shell: rm /tmp/dmidecode",
        "system: " + VersionCommand,
        "shell: rm /tmp/dmidecode",
        "system: " + CpuCommand,
        "shell: rm /tmp/dmidecode",
        "system: " + MemCommand,
        "shell: rm /tmp/mem",
    };
    QCOMPARE(host_.log, once + once);
}

void SysInfoCollectorTest::biosRowsFollowTheDumpInOrder_data()
{
    QTest::addColumn<QString>("dump");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("BIOS, system, board and OEM sections")
        << "dmidecode-veltor-t3.txt" << QStringList{"LT3B114 (1.14 )", "09/27/2012", "LT3EC114 (1.14)",
                                                    "LT3-2441",        "R9HX41C",    "1ZK7Q2N40AB"};
    QTest::newRow("a single serial number leaves the board's and the controller unknown")
        << "dmidecode-single-serial.txt"
        << QStringList{"K14.R07", "11/02/2015", "Unknown", "Korvane Slate 14", "KV14-00917324", "Unknown"};
    QTest::newRow("a controller line before the board's serial is not found")
        << "dmidecode-early-controller.txt"
        << QStringList{"LT1B062 (0.62)", "05/06/2009", "Unknown", "LT1-1180", "M2CC017", "VQ0M11K7A3D"};
}

void SysInfoCollectorTest::biosRowsFollowTheDumpInOrder()
{
    QFETCH(QString, dump);
    QFETCH(QStringList, expected);
    Machine machine;
    machine.dump = TestDataPath(QStringLiteral("sysinfo/") + dump);
    Use(machine);

    TSysInfoArray rows;
    ShowSysInfo(BiosTab, rows);

    const QStringList attributes{"BIOS version",
                                 "BIOS date",
                                 "Embedded controller version",
                                 "Machine type-Model",
                                 "System unit serial number",
                                 "System board serial number"};
    QCOMPARE(rows.size(), 6);
    for (qsizetype i = 0; i < rows.size(); ++i)
        QCOMPARE(rows[i].Attribute, attributes[i]);
    QCOMPARE(Values(rows), expected);
    QVERIFY(!QFile::exists(FakeHost::Real(QStringLiteral("/tmp/StoredDmi"))));
    // The BIOS tab reads nothing but the dump.
    QCOMPARE(host_.Entries(QStringLiteral("system: ")).size(), 2);
    QVERIFY(host_.Entries(QStringLiteral("shell: ")) == QStringList{"rm /tmp/StoredDmi"});
}

void SysInfoCollectorTest::aMissingDumpGivesUnknownValues()
{
    Use(Machine{});
    // The daemon is not running: nothing was dumped.
    host_.answers.insert(DumpCommand, [] { return 0; });
    host_.privilegedResults[DumpCommand] = false;

    TSysInfoArray rows;
    ShowSysInfo(BiosTab, rows);
    QCOMPARE(Values(rows), QStringList(6, QStringLiteral("Unknown")));
    QVERIFY(host_.Entries(QStringLiteral("shell: ")).isEmpty());

    ShowSysInfo(GeneralTab, rows);
    QCOMPARE(rows.size(), 6);
    QCOMPARE(rows[4].Value, QStringLiteral("Unknown"));
    QCOMPARE(rows[5].Value, QStringLiteral("Unknown"));
    QCOMPARE(rows[0].Value, QStringLiteral("Zentil Linux Enterprise Deskto"));
}

void SysInfoCollectorTest::withoutDmidecodeEveryTabIsEmpty()
{
    Use(Machine{});
    host_.Whereis(QStringLiteral("dmidecode"), false);
    UseBatteries(TestDataPath(QStringLiteral("sysinfo/battery/state-ac-full")), QString());
    ShowCopyBatteryFiles(0);
    host_.log.clear();

    for (int tab : {0, 1, 2, 3}) {
        TSysInfoArray rows{{QStringLiteral("left over"), QString()}};
        ShowSysInfo(tab, rows);
        QVERIFY(rows.isEmpty());
    }
    const QStringList once{"system: whereis dmidecode >/tmp/command", "system: rm /tmp/command",
                           "error: command dmidecode not found"};
    QCOMPARE(host_.log, once + once + once + once);
    QVERIFY(QFile::exists(FakeHost::Real(QStringLiteral("/tmp/state")))); // the battery copy was not read
}

void SysInfoCollectorTest::otherTabsAreEmptyAfterTheDump()
{
    Use(Machine{});
    for (int tab : {-1, 3}) {
        host_.log.clear();
        TSysInfoArray rows{{QStringLiteral("left over"), QString()}};
        ShowSysInfo(tab, rows);
        QVERIFY(rows.isEmpty());
        QCOMPARE(host_.Entries(QStringLiteral("privileged: ")), QStringList{DumpCommand});
        QVERIFY(host_.Entries(QStringLiteral("shell: ")).isEmpty());
    }
}

void SysInfoCollectorTest::anUnreadableCaptureFileEndsTheCollection()
{
    Use(Machine{});
    // A capture file that cannot be opened for reading: a folder in its place.
    host_.answers.insert(MemCommand, [] { return FakeHost::PutFolderAt(QStringLiteral("/tmp/mem")); });

    TSysInfoArray rows;
    QVERIFY_THROWS_EXCEPTION(IoError, ShowSysInfo(GeneralTab, rows));
    QVERIFY(!host_.log.contains(QStringLiteral("shell: rm /tmp/mem")));
    QVERIFY(QFileInfo(FakeHost::Real(QStringLiteral("/tmp/mem"))).isDir());
}

void SysInfoCollectorTest::batteryRowsFollowThePowerState_data()
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

void SysInfoCollectorTest::batteryRowsFollowThePowerState()
{
    QFETCH(QString, state);
    QFETCH(Rows, expected);
    Use(Machine{});
    UseBatteries(TestDataPath(QStringLiteral("sysinfo/battery/") + state), QString());

    ShowCopyBatteryFiles(0);
    TSysInfoArray rows;
    ShowSysInfo(BatteryTab, rows);

    QCOMPARE(AsPairs(rows), expected);
    QCOMPARE(host_.Entries(QStringLiteral("shell: ")),
             (QStringList{"cp /proc/H8/BAT0/state /tmp/state", "cp /proc/H8/BAT0/info /tmp/info",
                          "rm /tmp/state", "rm /tmp/info"}));
    QVERIFY(host_.Entries(QStringLiteral("error: ")).isEmpty());
    // The dump is taken but not read; it waits for the next General or BIOS read.
    QVERIFY(QFile::exists(FakeHost::Real(QStringLiteral("/tmp/StoredDmi"))));
    QVERIFY(!QFile::exists(FakeHost::Real(QStringLiteral("/tmp/state"))));
    QVERIFY(!QFile::exists(FakeHost::Real(QStringLiteral("/tmp/info"))));
}

void SysInfoCollectorTest::batteryTabWithoutACopyIsBlank()
{
    Use(Machine{});
    UseBatteries(TestDataPath(QStringLiteral("sysinfo/battery/state-ac-full")), QString());
    ShowCopyBatteryFiles(0);

    TSysInfoArray first;
    ShowSysInfo(BatteryTab, first);
    TSysInfoArray second;
    ShowSysInfo(BatteryTab, second);

    QCOMPARE(first.size(), 15);
    QCOMPARE(first[0].Value, QStringLiteral("Charged"));
    QCOMPARE(second.size(), 18);
    QCOMPARE(second[0].Attribute, QStringLiteral("Status"));
    QCOMPARE(second[0].Value, QStringLiteral("Discharging"));
    for (qsizetype i = 1; i < second.size(); ++i)
        QCOMPARE(second[i].Value, QStringLiteral(" "));
}

void SysInfoCollectorTest::batteryCopiesFallBackOnlyFromTheFirst_data()
{
    QTest::addColumn<QString>("bat0");
    QTest::addColumn<bool>("bat0Info");
    QTest::addColumn<QString>("bat1");
    QTest::addColumn<int>("battery");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<QString>("copiedState");

    const QString full = TestDataPath(QStringLiteral("sysinfo/battery/state-ac-full"));
    const QString charging = TestDataPath(QStringLiteral("sysinfo/battery/state-ac-charging"));
    const QStringList copy0{"shell: cp /proc/H8/BAT0/state /tmp/state",
                            "shell: cp /proc/H8/BAT0/info /tmp/info"};
    const QStringList copy1{"shell: cp /proc/H8/BAT1/state /tmp/state",
                            "shell: cp /proc/H8/BAT1/info /tmp/info"};
    const QStringList noBattery{"error: Module batinfo is needed or there is no battery in the computer"};

    QTest::newRow("first of two") << full << true << charging << 0 << copy0 << full;
    QTest::newRow("second of two") << full << true << charging << 1 << copy1 << charging;
    QTest::newRow("first when only the second is there")
        << QString() << false << charging << 0 << copy1 << charging;
    QTest::newRow("first without its info file falls back")
        << full << false << charging << 0 << copy1 << charging;
    QTest::newRow("first without its info file and no second")
        << full << false << QString() << 0 << noBattery << QString();
    QTest::newRow("second when only the first is there")
        << full << true << QString() << 1 << QStringList{"error: Module batinfo is needed"} << QString();
    QTest::newRow("first when there is none")
        << QString() << false << QString() << 0 << noBattery << QString();
    QTest::newRow("a third battery") << full << true << charging << 2 << QStringList{} << QString();
    QTest::newRow("a negative number") << full << true << charging << -1 << QStringList{} << QString();
}

void SysInfoCollectorTest::batteryCopiesFallBackOnlyFromTheFirst()
{
    QFETCH(QString, bat0);
    QFETCH(bool, bat0Info);
    QFETCH(QString, bat1);
    QFETCH(int, battery);
    QFETCH(QStringList, expected);
    QFETCH(QString, copiedState);
    UseBatteries(bat0, bat1);
    host_.files[QStringLiteral("/proc/H8/BAT0/info")] = bat0Info;

    ShowCopyBatteryFiles(battery);
    QCOMPARE(host_.log, expected);
    QCOMPARE(QFile::exists(FakeHost::Real(QStringLiteral("/tmp/info"))), !copiedState.isEmpty());
    if (copiedState.isEmpty()) {
        QVERIFY(!QFile::exists(FakeHost::Real(QStringLiteral("/tmp/state"))));
    } else {
        QFile copied(FakeHost::Real(QStringLiteral("/tmp/state")));
        QFile source(copiedState);
        QVERIFY(copied.open(QIODevice::ReadOnly) && source.open(QIODevice::ReadOnly));
        QCOMPARE(copied.readAll(), source.readAll());
    }
}

void SysInfoCollectorTest::powerSupplyRowsWithoutTheDriver_data()
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
    QTest::newRow("a battery it does not have")
        << "discharging" << QStringList{"Battery1"} << 1 << QStringList{};
}

void SysInfoCollectorTest::powerSupplyRowsWithoutTheDriver()
{
    QFETCH(QString, sample);
    QFETCH(QStringList, entries);
    QFETCH(int, battery);
    QFETCH(QStringList, expected);
    Use(Machine{});
    host_.UseTexts(QStringLiteral("/sys/class/power_supply"),
                   TestData(QStringLiteral("sysinfo/power-supply/") + sample + QStringLiteral(".txt")));

    QCOMPARE(BatteryEntries(), entries);
    QCOMPARE(BatteryOfEntry(entries.last()), entries.size() - 1);
    ShowCopyBatteryFiles(battery);
    TSysInfoArray rows;
    ShowSysInfo(BatteryTab, rows, battery);

    QCOMPARE(Values(rows), expected);
    // The driver's layout: on AC without the time, current and voltage.
    QStringList attributes =
        QStringLiteral("Status,Remaining percentage,Remaining time,Remaining capacity,Full "
                       "charge capacity,Current,Voltage,Temperature,Cycle count,Manufacture "
                       "name,Manufacture date,First used date,Serial number,Bar-coding "
                       "number,Battery name,Device chemistry,Design capacity,Design voltage")
            .split(QLatin1Char(','));
    if (expected.size() == 15)
        attributes = attributes.mid(0, 2) + attributes.mid(3, 2) + attributes.mid(7);
    QCOMPARE(Attributes(rows), expected.isEmpty() ? QStringList{} : attributes);
    // Nothing is copied: the messages come only for a battery that is not there.
    QVERIFY(host_.Entries(QStringLiteral("shell: cp")).isEmpty());
    QCOMPARE(host_.Entries(QStringLiteral("error: ")),
             expected.isEmpty() ? QStringList{"Module batinfo is needed"} : QStringList{});
}

QTEST_MAIN(SysInfoCollectorTest)
#include "SysInfoCollectorTest.moc"
