// The system area on the fake host: the DMI dump at start and its maker check, the dump's removal,
// and the General and BIOS rows from real dmidecode dumps and /proc files, each command line run by
// the real shell with the machine's paths pointed at test data. The battery tab's rows are the
// batteries' suite's (BatteriesTest.cpp).
#include "areas/system/SysInfo.h"
#include "machine/Host.h"
#include "machine/IoError.h"
#include "tests/support/FakeHost.h"
#include "tests/support/MessageKindName.h"
#include "tests/support/TestData.h"

#include <QFile>
#include <QTest>
#include <cstdlib>

using namespace Ucomtc;

namespace {

const QString StoredDmi = QStringLiteral("/tmp/StoredDmi");
const QString StartDumpCommand = QStringLiteral("dmidecode > /tmp/StoredDmi");
const QString DumpCommand = QStringLiteral("/usr/sbin/dmidecode > /tmp/StoredDmi");
const QString IssueCommand = QStringLiteral("grep Linux /etc/issue > /tmp/dmidecode");
const QString VersionCommand =
    QStringLiteral("gawk '{print $1\" \" $2\" \" $3}' /proc/version > /tmp/dmidecode");
const QString CpuCommand = QStringLiteral("grep \"model name\" /proc/cpuinfo > /tmp/dmidecode");
const QString MemCommand =
    QStringLiteral("grep \"MemTotal\" /proc/meminfo | gawk '{print $2 $3}' > /tmp/mem");

QStringList Values(const TSysInfoArray& rows)
{
    QStringList values;
    for (const TSysInfoRec& row : rows)
        values.append(row.Value);
    return values;
}

QStringList Attributes(const TSysInfoArray& rows)
{
    QStringList attributes;
    for (const TSysInfoRec& row : rows)
        attributes.append(row.Attribute);
    return attributes;
}

// Messages as the fake host writes the boxes down: "error: …".
QStringList Said(const Messages& messages)
{
    QStringList said;
    for (const Message& message : messages)
        said.append(QString::fromLatin1(NameOf(message.kind).name) + QStringLiteral(": ") + message.text);
    return said;
}

} // namespace

// The machine the rows are read from: which file stands at each fixed path.
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

class SystemInformationTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void theDumpAtStartJudgesTheMaker_data();
    void theDumpAtStartJudgesTheMaker();
    void anUnreadableDumpAtStartThrows();
    void theDumpIsRemovedOnlyWhenThere();
    void generalRowsComeFromTheSystemFiles_data();
    void generalRowsComeFromTheSystemFiles();
    void generalRunsEachCommandTheWayItNeeds();
    void biosRowsFollowTheDumpInOrder_data();
    void biosRowsFollowTheDumpInOrder();
    void aMissingDumpGivesUnknownValues();
    void withoutDmidecodeEveryTabIsEmpty();
    void otherTabsLeaveTheDumpUnread();
    void anUnreadableCaptureFileEndsTheCollection();

private:
    // Answers every command as the machine would, running the real command line on its files.
    void Use(const Machine& machine);

    FakeHost host_;
    std::unique_ptr<ScopedHost> scope_;
    MachineSystemInformation system_;
};

void SystemInformationTest::init()
{
    scope_.reset();
    host_ = FakeHost();
    scope_ = std::make_unique<ScopedHost>(host_);
    host_.Whereis(QStringLiteral("dmidecode"), true);
}

void SystemInformationTest::Use(const Machine& machine)
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

void SystemInformationTest::theDumpAtStartJudgesTheMaker_data()
{
    QTest::addColumn<QString>("way");     // "daemon", "root", "refused" (by the daemon), "no daemon"
    QTest::addColumn<QByteArray>("dump"); // what the dump writes; null: it writes nothing
    QTest::addColumn<int>("verdict");
    QTest::addColumn<QStringList>("said");

    const QByteArray veltor = TestData(QStringLiteral("dmidecode-veltor.txt"));
    const QStringList noBios{"plain: can't get the BIOS information"};
    const int veltorVerdict = static_cast<int>(DumpVerdict::Veltor);
    const int unread = static_cast<int>(DumpVerdict::Unread);
    QTest::newRow("VELTOR dump, vendor line deep inside")
        << "daemon" << veltor << veltorVerdict << QStringList{};
    QTest::newRow("another maker's dump")
        << "daemon" << TestData(QStringLiteral("dmidecode-foreign.txt"))
        << static_cast<int>(DumpVerdict::Foreign)
        << QStringList{"error: the device you are using is not from VELTOR"};
    QTest::newRow("empty dump") << "daemon" << QByteArray("") << unread << noBios;
    QTest::newRow("dump of blank lines") << "daemon" << QByteArray("\n\n  \n") << unread << noBios;
    QTest::newRow("no dump at all") << "daemon" << QByteArray() << unread << noBios;
    QTest::newRow("root dumps without the daemon") << "root" << veltor << veltorVerdict << QStringList{};
    QTest::newRow("root's dump of nothing") << "root" << QByteArray() << unread << noBios;
    // A daemon that refuses has nothing to say; one that is not there says so, and nothing is judged.
    QTest::newRow("the daemon refuses") << "refused" << QByteArray() << unread << QStringList{};
    QTest::newRow("no daemon") << "no daemon" << QByteArray() << unread
                               << QStringList{QStringLiteral("plain: ") + QLatin1String(MsgDaemonNotStarted)};
}

void SystemInformationTest::theDumpAtStartJudgesTheMaker()
{
    QFETCH(QString, way);
    QFETCH(QByteArray, dump);
    QFETCH(int, verdict);
    QFETCH(QStringList, said);
    host_.log.clear();
    host_.uid = way == QLatin1String("root") ? 0 : 1000;
    host_.daemonUp = way != QLatin1String("no daemon");
    host_.privilegedResults.insert(StartDumpCommand, way != QLatin1String("refused"));
    host_.answers.insert(StartDumpCommand, [dump] {
        if (!dump.isNull())
            FakeHost::WriteFile(StoredDmi, dump);
        return 0;
    });

    const auto read = system_.DumpAtStart();
    QCOMPARE(static_cast<int>(read.value), verdict);
    QCOMPARE(Said(read.messages), said);
    // By its path, as root itself, else through the daemon; the dump stays for the rows.
    QCOMPARE(host_.log, QStringList{(way == QLatin1String("root") ? QStringLiteral("system: ")
                                                                  : QStringLiteral("privileged: ")) +
                                    StartDumpCommand});
    if (!dump.isNull())
        QVERIFY(QFile::exists(FakeHost::Real(StoredDmi)));
}

void SystemInformationTest::anUnreadableDumpAtStartThrows()
{
    // Said to be there, yet nothing to read: the start-up handler ends in the error report.
    host_.files.insert(StoredDmi, true);
    QVERIFY_THROWS_EXCEPTION(IoError, system_.DumpAtStart());
}

void SystemInformationTest::theDumpIsRemovedOnlyWhenThere()
{
    for (const uid_t uid : {1000, 0}) {
        host_.uid = uid;
        host_.log.clear();
        FakeHost::WriteFile(StoredDmi, "dump\n");
        QVERIFY(system_.RemoveStoredDmi().isEmpty());
        QCOMPARE(host_.log,
                 QStringList{(uid == 0 ? QStringLiteral("system: ") : QStringLiteral("privileged: ")) +
                             QStringLiteral("rm /tmp/StoredDmi")});
        QVERIFY(!QFile::exists(FakeHost::Real(StoredDmi)));
        // Without a dump, nothing is asked of anybody.
        host_.log.clear();
        QVERIFY(system_.RemoveStoredDmi().isEmpty());
        QVERIFY(host_.log.isEmpty());
    }
}

void SystemInformationTest::generalRowsComeFromTheSystemFiles_data()
{
    QTest::addColumn<Machine>("machine");
    QTest::addColumn<QStringList>("expected"); // the OS, kernel, processor and memory rows

    const QString os = QStringLiteral("Zentil Linux Enterprise Deskto");
    const QString kernel = QStringLiteral("Linux version 2.6.16.21-0.8-smp");
    // The whole name, its runs of blanks made one.
    const QString quad = QStringLiteral("Intel(R) Core(TM)2 Quad CPU Q9650 @ 3.00GHz");
    QTest::newRow("a four-processor notebook names its first processor")
        << Machine{} << QStringList{os, kernel, quad, "2065356kB"};
    Machine longVersion;
    longVersion.version = TestDataPath(QStringLiteral("sysinfo/version-long.txt"));
    QTest::newRow("a kernel name over 100 characters is cut to 100")
        << longVersion
        << QStringList{
               os,
               "Linux version 3.0.101-63-default-with-a-local-version-suffix-that-runs-past-the-width-"
               "of-the-value-c",
               quad, "2065356kB"};
    Machine shortName;
    shortName.cpuinfo = TestDataPath(QStringLiteral("sysinfo/cpuinfo-short-name.txt"));
    QTest::newRow("a processor name of three words has no blanks after it")
        << shortName << QStringList{os, kernel, "Geode(TM) Integrated Processor", "2065356kB"};
    Machine eleven;
    eleven.issue = TestDataPath(QStringLiteral("sysinfo/issue-eleven.txt"));
    QTest::newRow("an issue without its welcome leaves the name to os-release")
        << eleven << QStringList{"Debian GNU/Linux 12 (bookworm)", kernel, quad, "2065356kB"};
    Machine twelve;
    twelve.issue = TestDataPath(QStringLiteral("sysinfo/issue-twelve.txt"));
    twelve.osRelease.clear();
    twelve.usrOsRelease = QStringLiteral("sysinfo/os-release-long.txt");
    QTest::newRow("without /etc/os-release the one under /usr/lib, unquoted, cut to 100")
        << twelve
        << QStringList{"Sample \"Linux\"   with a name that runs on and on past the width of the row, well "
                       "past a hundred char",
                       kernel, quad, "2065356kB"};
    Machine shell = twelve;
    shell.osRelease = QStringLiteral("sysinfo/os-release-shell.txt");
    QTest::newRow("os-release read as the shell reads it")
        << shell << QStringList{"Zentil Linux 11 \"Tern\"  (a$b`)", kernel, quad, "2065356kB"};
    // One without a name still is the file that counts: the format's default, not the other file.
    Machine nameless = twelve;
    nameless.osRelease = QStringLiteral("sysinfo/os-release-nameless.txt");
    QTest::newRow("os-release without a name") << nameless << QStringList{"Linux", kernel, quad, "2065356kB"};
    Machine noLinux;
    noLinux.issue = TestDataPath(QStringLiteral("sysinfo/issue-without-linux.txt"));
    noLinux.cpuinfo = TestDataPath(QStringLiteral("sysinfo/meminfo.txt"));
    noLinux.meminfo = TestDataPath(QStringLiteral("sysinfo/cpuinfo-short-name.txt"));
    noLinux.osRelease.clear();
    QTest::newRow("files without the lines looked for give Unknown")
        << noLinux << QStringList{"Unknown", kernel, "Unknown", "Unknown"};
}

void SystemInformationTest::generalRowsComeFromTheSystemFiles()
{
    QFETCH(Machine, machine);
    QFETCH(QStringList, expected);
    Use(machine);

    const auto read = system_.Rows(GeneralTab, 0);

    QCOMPARE(Attributes(read.value), (QStringList{"OS information", "Kernel information", "Processor",
                                                  "Memory", "BIOS version", "Machine type-Model"}));
    // The last two from the dump.
    QCOMPARE(Values(read.value), expected + QStringList({"LT3B114 (1.14 )", "LT3-2441"}));
    QVERIFY(read.messages.isEmpty());
    for (const char* name : {"StoredDmi", "dmidecode", "mem", "command"})
        QVERIFY2(!QFile::exists(FakeHost::Real(QStringLiteral("/tmp/") + QLatin1String(name))), name);
}

void SystemInformationTest::generalRunsEachCommandTheWayItNeeds()
{
    Use(Machine{});
    system_.Rows(GeneralTab, 0);
    system_.Rows(GeneralTab, 0); // nothing is kept: the second call does everything again

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

void SystemInformationTest::biosRowsFollowTheDumpInOrder_data()
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

void SystemInformationTest::biosRowsFollowTheDumpInOrder()
{
    QFETCH(QString, dump);
    QFETCH(QStringList, expected);
    Machine machine;
    machine.dump = TestDataPath(QStringLiteral("sysinfo/") + dump);
    Use(machine);

    const auto read = system_.Rows(BiosTab, 0);

    QCOMPARE(Attributes(read.value),
             (QStringList{"BIOS version", "BIOS date", "Embedded controller version", "Machine type-Model",
                          "System unit serial number", "System board serial number"}));
    QCOMPARE(Values(read.value), expected);
    QVERIFY(read.messages.isEmpty());
    QVERIFY(!QFile::exists(FakeHost::Real(StoredDmi)));
    // The BIOS tab reads nothing but the dump.
    QCOMPARE(host_.Entries(QStringLiteral("system: ")).size(), 2);
    QVERIFY(host_.Entries(QStringLiteral("shell: ")) == QStringList{"rm /tmp/StoredDmi"});
}

void SystemInformationTest::aMissingDumpGivesUnknownValues()
{
    Use(Machine{});
    // The daemon is not running: nothing was dumped.
    host_.answers.insert(DumpCommand, [] { return 0; });
    host_.privilegedResults[DumpCommand] = false;

    const auto bios = system_.Rows(BiosTab, 0);
    QCOMPARE(Values(bios.value), QStringList(6, QStringLiteral("Unknown")));
    QVERIFY(host_.Entries(QStringLiteral("shell: ")).isEmpty());

    const QStringList general = Values(system_.Rows(GeneralTab, 0).value);
    QCOMPARE(general.size(), 6);
    QCOMPARE(general.mid(4), (QStringList{"Unknown", "Unknown"}));
    QCOMPARE(general[0], QStringLiteral("Zentil Linux Enterprise Deskto"));
}

void SystemInformationTest::withoutDmidecodeEveryTabIsEmpty()
{
    Use(Machine{});
    host_.Whereis(QStringLiteral("dmidecode"), false);
    FakeHost::WriteFile(QStringLiteral("/tmp/state"), "AC attached: Yes\n"); // a battery copy

    for (int tab : {0, 1, 2, 3}) {
        host_.log.clear();
        const auto read = system_.Rows(tab, 0);
        QVERIFY(read.value.isEmpty());
        QCOMPARE(Said(read.messages), QStringList{"error: command dmidecode not found"});
        QCOMPARE(host_.log,
                 (QStringList{"system: whereis dmidecode >/tmp/command", "system: rm /tmp/command"}));
    }
    QVERIFY(QFile::exists(FakeHost::Real(QStringLiteral("/tmp/state")))); // the copy was not read
}

void SystemInformationTest::otherTabsLeaveTheDumpUnread()
{
    Use(Machine{});
    // The battery tab's rows are the batteries' (none here); an unknown tab has none.
    for (int tab : {-1, 2, 3}) {
        host_.log.clear();
        const auto read = system_.Rows(tab, 0);
        QVERIFY(read.value.isEmpty() && read.messages.isEmpty());
        QCOMPARE(host_.Entries(QStringLiteral("privileged: ")), QStringList{DumpCommand});
        QVERIFY(host_.Entries(QStringLiteral("shell: ")).isEmpty());
        // The dump waits for the next General or BIOS read, or for its removal.
        QVERIFY(QFile::exists(FakeHost::Real(StoredDmi)));
    }
}

void SystemInformationTest::anUnreadableCaptureFileEndsTheCollection()
{
    Use(Machine{});
    // A capture file that cannot be opened for reading: a folder in its place.
    host_.answers.insert(MemCommand, [] { return FakeHost::PutFolderAt(QStringLiteral("/tmp/mem")); });

    QVERIFY_THROWS_EXCEPTION(IoError, system_.Rows(GeneralTab, 0));
    QVERIFY(!host_.log.contains(QStringLiteral("shell: rm /tmp/mem")));
    QVERIFY(QFileInfo(FakeHost::Real(QStringLiteral("/tmp/mem"))).isDir());
}

QTEST_MAIN(SystemInformationTest)
#include "SystemInformationTest.moc"
