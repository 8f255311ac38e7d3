// The locks area and the BIOS passwords, what the security dialogs show, on the fake host: who
// keeps each lock on each desktop, the exact lines that read and change it there, in their order,
// what they read and what a change says; the three dmidecode queries, each standing on its own. The
// KDE 3 power manager's kpowersaverc is read and edited by the real shell, grep, sed and mv in a
// home of the test's own, so that each edit's result is checked as well as its line.
#include "areas/locks/Locks.h"
#include "areas/system/SysInfo.h"
#include "machine/Host.h"
#include "machine/IoError.h"
#include "machine/ShellWord.h"
#include "tests/support/FakeHost.h"
#include "tests/support/MessageKindName.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace Ucomtc;

Q_DECLARE_METATYPE(Ucomtc::LockKeeper)

namespace {

const QString Notify =
    QStringLiteral("system: dcop kpowersave MainApplication-Interface reparseConfiguration");
const QString Configure =
    QStringLiteral("gdbus call --session --dest org.freedesktop.ScreenSaver --object-path "
                   "/ScreenSaver --method org.kde.screensaver.configure >/dev/null");

const QString Dmidecode = QStringLiteral("/tmp/dmidecode");
const QString PowerOnQuery =
    QStringLiteral("/usr/sbin/dmidecode | grep Power-On | gawk '{print $4}' >/tmp/dmidecode");
const QString AdminQuery =
    QStringLiteral("/usr/sbin/dmidecode | grep Administrator | gawk '{print $4}' >/tmp/dmidecode");
const QString HardDiskQuery =
    QStringLiteral("/usr/sbin/dmidecode | grep 84 |  grep 07 | gawk '{print $6}' > /tmp/dmidecode");

// Records every line like FakeHost, then has /bin/sh run it with the test's HOME. The power
// manager is not there to be told.
class ShellHost : public FakeHost
{
public:
    int System(const QString& command) override
    {
        if (answers.contains(command))
            return FakeHost::System(command);
        log.append(QStringLiteral("system: ") + command);
        return Run(command);
    }
    void RunShell(const QString& command) override
    {
        log.append(QStringLiteral("shell: ") + command);
        Run(command);
    }

private:
    int Run(const QString& command)
    {
        if (command.startsWith(QLatin1String("dcop ")))
            return 0;
        QProcess shell;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("HOME"), environment.value(QStringLiteral("HOME")));
        shell.setProcessEnvironment(env);
        shell.start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), FakeHost::RealLine(command)});
        if (!shell.waitForFinished(10000))
            qFatal("sh did not finish: %s", qPrintable(command));
        // The wait status system() would give.
        return shell.exitStatus() == QProcess::NormalExit ? shell.exitCode() << 8 : 0x7f;
    }
};

// The lines that ask whereis for each name, in turn.
QStringList Whereis(const QStringList& names)
{
    QStringList lines;
    for (const QString& name : names)
        lines << QStringLiteral("system: whereis ") + name + QStringLiteral(" >/tmp/command")
              << QStringLiteral("system: rm /tmp/command");
    return lines;
}

QVariant State(std::optional<bool> value)
{
    return value ? QVariant(*value) : QVariant();
}

QStringList Said(const Messages& messages)
{
    QStringList said;
    for (const Message& message : messages)
        said.append(QString::fromLatin1(NameOf(message.kind).name) + QStringLiteral(": ") + message.text);
    return said;
}

// Makes `command` leave `output` in `capture`, as the tool it runs would.
void Answer(FakeHost& host, const QString& command, const QString& capture, const QByteArray& output)
{
    host.answers.insert(command, [capture, output] {
        FakeHost::WriteFile(capture, output);
        return 0;
    });
}

// The same for each of the recorded `lines` that writes `capture`.
void AnswerLines(FakeHost& host, const QStringList& lines, const QString& capture, const QByteArray& output)
{
    for (const QString& line : lines) {
        const QString command = line.section(QStringLiteral(": "), 1);
        if (command.endsWith(capture) && !command.startsWith(QLatin1String("rm ")))
            Answer(host, command, capture, output);
    }
}

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

} // namespace

class LocksTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void kde3ScreenSaverLock_data();
    void kde3ScreenSaverLock();
    void todaysLocks_data();
    void todaysLocks();
    void kde3ResumeLock_data();
    void kde3ResumeLock();
    void kde3WriteCreatesAMissingFile_data();
    void kde3WriteCreatesAMissingFile();
    void todaysWrite_data();
    void todaysWrite();
    void biosPasswords_data();
    void biosPasswords();
    void unreadableBiosCaptureThrows();

private:
    // Makes a home whose path is `name` under the temporary folder, with the KDE 3 desktop's
    // configuration folder and its kdesktoprc.
    void MakeHome(ShellHost& host, const QString& name, bool withFolder = true);

    QTemporaryDir dir_;
    QString home_;
    QString config_;
    MachineLocks locks_;
};

void LocksTest::init()
{
    QVERIFY(dir_.isValid());
    QDir(dir_.path()).removeRecursively();
    QDir().mkpath(dir_.path());
}

void LocksTest::MakeHome(ShellHost& host, const QString& name, bool withFolder)
{
    home_ = dir_.filePath(name);
    config_ = home_ + QStringLiteral("/.kde/share/config/kpowersaverc");
    QVERIFY(QDir().mkpath(withFolder ? home_ + QStringLiteral("/.kde/share/config") : home_));
    if (withFolder)
        FakeHost::WriteFile(home_ + QStringLiteral("/.kde/share/config/kdesktoprc"), "[ScreenSaver]\n");
    host.environment.insert(QStringLiteral("HOME"), home_);
}

void LocksTest::kde3ScreenSaverLock_data()
{
    QTest::addColumn<QString>("home");
    QTest::addColumn<QByteArray>("found"); // what grep Lock finds in kdesktoprc
    QTest::addColumn<QString>("sign");     // what tells the KDE 3 desktop: kdesktoprc, kpowersaverc, dcop
    QTest::addColumn<bool>("locked");

    const QString home = QStringLiteral("/home/lapstone");
    QTest::newRow("Lock=true") << home << QByteArray("Lock=true\n") << "kdesktoprc" << true;
    QTest::newRow("only the first Lock line counts")
        << home << QByteArray("Lock=false\nLock=true\n") << "kdesktoprc" << false;
    QTest::newRow("inside a longer line")
        << home << QByteArray("ScreenLock=trueish\n") << "kpowersaverc" << true;
    QTest::newRow("no Lock line") << home << QByteArray() << "dcop" << false;
    QTest::newRow("lower case") << home << QByteArray("lock=true\n") << "kdesktoprc" << false;
    QTest::newRow("home with a blank") << "/home/Jo Doe" << QByteArray("Lock=true") << "kdesktoprc" << true;
}

void LocksTest::kde3ScreenSaverLock()
{
    QFETCH(QString, home);
    QFETCH(QByteArray, found);
    QFETCH(QString, sign);
    QFETCH(bool, locked);

    FakeHost host;
    ScopedHost scope(host);
    host.environment.insert(QStringLiteral("HOME"), home);
    // The old desktop's files win over what today's desktop says.
    host.environment.insert(QStringLiteral("XDG_CURRENT_DESKTOP"), QStringLiteral("KDE"));
    if (sign != QLatin1String("dcop"))
        host.files.insert(home + QStringLiteral("/.kde/share/config/") + sign, true);
    host.Whereis(QStringLiteral("dcop"), true);
    const QString query = QStringLiteral("cat ") + (home.contains(' ') ? "\"$HOME\"" : "$HOME") +
                          QStringLiteral("/.kde/share/config/kdesktoprc | grep Lock >/tmp/dmidecode");
    Answer(host, query, Dmidecode, found);

    const auto read = locks_.ScreenSaverLock();
    QCOMPARE(host.log, (sign == QLatin1String("dcop") ? Whereis({"dcop"}) : QStringList())
                           << "shell: " + query << QStringLiteral("shell: rm /tmp/dmidecode"));
    QCOMPARE(State(read.value.locked), QVariant(locked));
    QVERIFY(read.messages.isEmpty());
}

void LocksTest::todaysLocks_data()
{
    QTest::addColumn<QString>("desktop"); // XDG_CURRENT_DESKTOP
    QTest::addColumn<QStringList>("tools");
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<QStringList>("lines"); // KEY and CAPTURE stand for the lock's key and capture
    QTest::addColumn<QVariant>("locked");
    QTest::addColumn<LockKeeper>("keeper");   // of the resume lock
    QTest::addColumn<QByteArray>("lockdown"); // GNOME's disable-lock-screen, asked once the lock is read

    // No KDE 3 files and no dcop: today's desktop keeps the locks.
    const QStringList kreadconfig5{
        "system: kreadconfig5 --file kscreenlockerrc --group Daemon --key KEY --default true 2>/dev/null > "
        "CAPTURE",
        "system: rm CAPTURE"};
    const QStringList gsettings{
        "system: gsettings get org.gnome.desktop.screensaver lock-enabled 2>/dev/null > CAPTURE",
        "system: rm CAPTURE"};
    const auto plasma = LockKeeper::Plasma;
    const auto gnome = LockKeeper::Gnome;
    QTest::newRow("Plasma locks") << "KDE" << QStringList{"kreadconfig5"} << QByteArray("true\n")
                                  << Whereis({"dcop", "kreadconfig5"}) + kreadconfig5 << QVariant(true)
                                  << plasma << QByteArray();
    QTest::newRow("Plasma 6 does not lock")
        << "KDE" << QStringList{"kreadconfig6"} << QByteArray("false\n")
        << Whereis({"dcop", "kreadconfig5", "kreadconfig6"}) +
               QStringList(kreadconfig5)
                   .replaceInStrings(QStringLiteral("kreadconfig5"), QStringLiteral("kreadconfig6"))
        << QVariant(false) << plasma << QByteArray();
    QTest::newRow("Plasma without kreadconfig")
        << "KDE" << QStringList() << QByteArray() << Whereis({"dcop", "kreadconfig5", "kreadconfig6"})
        << QVariant() << plasma << QByteArray();
    QTest::newRow("GNOME locks") << "ubuntu:GNOME" << QStringList() << QByteArray("true\n")
                                 << Whereis({"dcop"}) + gsettings << QVariant(true) << gnome
                                 << QByteArray("false\n");
    // Its lockdown keeps the screen from being locked, whatever the lock says.
    QTest::newRow("GNOME locked down")
        << "GNOME" << QStringList() << QByteArray("true\n") << Whereis({"dcop"}) + gsettings
        << QVariant(false) << gnome << QByteArray("true\n");
    QTest::newRow("GNOME answers no boolean")
        << "GNOME" << QStringList() << QByteArray() << Whereis({"dcop"}) + gsettings << QVariant() << gnome
        << QByteArray();
    QTest::newRow("another desktop") << "XFCE" << QStringList() << QByteArray() << Whereis({"dcop"})
                                     << QVariant() << LockKeeper::None << QByteArray();
}

void LocksTest::todaysLocks()
{
    QFETCH(QString, desktop);
    QFETCH(QStringList, tools);
    QFETCH(QByteArray, answer);
    QFETCH(QStringList, lines);
    QFETCH(QVariant, locked);
    QFETCH(LockKeeper, keeper);
    QFETCH(QByteArray, lockdown);

    FakeHost host;
    ScopedHost scope(host);
    host.environment.insert(QStringLiteral("HOME"), QStringLiteral("/home/lapstone"));
    host.environment.insert(QStringLiteral("XDG_CURRENT_DESKTOP"), desktop);
    for (const char* tool : {"dcop", "kreadconfig5", "kreadconfig6"})
        host.Whereis(QLatin1String(tool), tools.contains(QLatin1String(tool)));
    // The screen saver's lock first, then the resume lock.
    QStringList expected;
    for (const auto& [key, capture] :
         {std::pair{"Autolock", "/tmp/dmidecode"}, {"LockOnResume", "/tmp/kpowersave"}}) {
        QStringList each = lines;
        each.replaceInStrings(QStringLiteral("KEY"), QLatin1String(key));
        AnswerLines(host, each.replaceInStrings(QStringLiteral("CAPTURE"), QLatin1String(capture)), capture,
                    answer);
        expected += each;
        if (!lockdown.isEmpty()) {
            const QStringList asked{QStringLiteral("system: gsettings get org.gnome.desktop.lockdown "
                                                   "disable-lock-screen 2>/dev/null > ") +
                                        QLatin1String(capture),
                                    QStringLiteral("system: rm ") + QLatin1String(capture)};
            AnswerLines(host, asked, capture, lockdown);
            expected += asked;
        }
    }

    const auto screenSaver = locks_.ScreenSaverLock();
    const auto resume = locks_.ReadResumeLock();
    QCOMPARE(host.log, expected);
    QCOMPARE(State(screenSaver.value.locked), locked);
    QCOMPARE(State(resume.value.locked), locked);
    QCOMPARE(resume.value.keeper, keeper);
    QCOMPARE(screenSaver.value.keeper, keeper);
    QCOMPARE(resume.value.lockedDown && screenSaver.value.lockedDown, lockdown == "true\n");
    QVERIFY(screenSaver.messages.isEmpty() && resume.messages.isEmpty());
}

void LocksTest::kde3ResumeLock_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("locked"); // as read
    QTest::addColumn<bool>("lock");   // as written
    QTest::addColumn<QByteArray>("expected");
    QTest::addColumn<QString>("edit"); // the sed command run on the file, or empty

    const QString remove = QStringLiteral("sed '/^lockOnSuspend=false/ d'");
    const QString change = QStringLiteral("sed /^lockOnSuspend/c\\lockOnSuspend=false");
    const QString add = QStringLiteral("sed /General/a\\lockOnSuspend=false");
    const QByteArray other = "[Battery]\nwarning=10\n";

    QTest::newRow("lock removes the false line, keeps the rest")
        << QByteArray("[General]\nAlreadyStarted=true\nlockOnSuspend=false\n" + other) << false << true
        << QByteArray("[General]\nAlreadyStarted=true\n" + other) << remove;
    QTest::newRow("lock keeps a true line") << QByteArray("[General]\nlockOnSuspend=true\n") << true << true
                                            << QByteArray("[General]\nlockOnSuspend=true\n") << remove;
    QTest::newRow("clear turns true into false")
        << QByteArray("[General]\nlockOnSuspend=true\n" + other) << true << false
        << QByteArray("[General]\nlockOnSuspend=false\n" + other) << change;
    QTest::newRow("clear keeps a false line")
        << QByteArray("[General]\nlockOnSuspend=false\n") << false << false
        << QByteArray("[General]\nlockOnSuspend=false\n") << change;
    QTest::newRow("clear adds the key after the group")
        << QByteArray("[General]\nAlreadyStarted=true\n" + other) << true << false
        << QByteArray("[General]\nlockOnSuspend=false\nAlreadyStarted=true\n" + other) << add;
    QTest::newRow("clear beside a commented-out key adds the key")
        << QByteArray("[General]\n#lockOnSuspend=false\n") << true << false
        << QByteArray("[General]\nlockOnSuspend=false\n#lockOnSuspend=false\n") << add;
    // Only the first line grep finds counts, and only a line that starts with the key.
    QTest::newRow("lock leaves a commented-out key")
        << QByteArray("[General]\n#lockOnSuspend=false\nlockOnSuspend=false\n") << true << true
        << QByteArray("[General]\n#lockOnSuspend=false\n") << remove;
    QTest::newRow("clear without group or key adds both at the end")
        << other << true << false << QByteArray(other + "[General]\nlockOnSuspend=false\n")
        << QStringLiteral("sed -e '$a\\[General]' -e '$a\\lockOnSuspend=false'");
    QTest::newRow("clear on an empty file writes group and key")
        << QByteArray("") << true << false << QByteArray("[General]\nlockOnSuspend=false\n") << QString();
}

void LocksTest::kde3ResumeLock()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, locked);
    QFETCH(bool, lock);
    QFETCH(QByteArray, expected);
    QFETCH(QString, edit);

    for (const QString& home : {QStringLiteral("lapstone"), QStringLiteral("Jo  Doe's home")}) {
        ShellHost host;
        ScopedHost scope(host);
        MakeHome(host, home);
        FakeHost::WriteFile(config_, content);
        const QString file = ShellWord(config_);

        const auto read = locks_.ReadResumeLock();
        QCOMPARE(read.value.locked, std::optional<bool>(locked));
        QCOMPARE(read.value.keeper, LockKeeper::Kde3);
        QVERIFY(read.messages.isEmpty());
        QCOMPARE(host.log,
                 (QStringList{"shell: cat " + file + " | grep lockOnSuspend=false > /tmp/kpowersave",
                              "shell: rm /tmp/kpowersave"}));
        QCOMPARE(ReadAll(config_), content);
        host.log.clear();

        const Change change = locks_.WriteResumeLock(LockKeeper::Kde3, lock);
        QVERIFY(change.made);
        QVERIFY(change.messages.isEmpty());
        QCOMPARE(ReadAll(config_), expected);
        QStringList lines;
        if (!lock)
            lines.append("system: cat " + file + " | grep lockOnSuspend > /tmp/kpowersave");
        if (!edit.isEmpty())
            lines << "system: " + edit + ' ' + file + " > /tmp/kpowersaverc"
                  << "system: mv /tmp/kpowersaverc " + file;
        if (!lock && edit.isEmpty())
            lines << "system: echo \"[General]\" >> " + file << "system: echo lockOnSuspend=false >> " + file;
        if (!lock)
            lines.append(QStringLiteral("system: rm /tmp/kpowersave"));
        QCOMPARE(host.log, lines << Notify);
        QVERIFY(!QFile::exists(FakeHost::Real(QStringLiteral("/tmp/kpowersave"))));
        QVERIFY(!QFile::exists(FakeHost::Real(QStringLiteral("/tmp/kpowersaverc"))));
    }
}

void LocksTest::kde3WriteCreatesAMissingFile_data()
{
    QTest::addColumn<QString>("home");
    QTest::addColumn<bool>("lock");
    QTest::addColumn<QString>("homeReference");
    QTest::addColumn<QString>("folder"); // "there", "missing", "blocked" by a file
    QTest::addColumn<QByteArray>("expected");

    const QByteArray clear("[General]\nAlreadyStarted=true\nlockOnSuspend=false\n");
    QTest::newRow("lock") << "lapstone" << true << "$HOME" << QString("there")
                          << QByteArray("[General]\nAlreadyStarted=true\n");
    QTest::newRow("clear") << "lapstone" << false << "$HOME" << QString("there") << clear;
    QTest::newRow("clear, home with a blank")
        << "Jo Doe" << false << "\"$HOME\"" << QString("there") << clear;
    QTest::newRow("folder made") << "bare" << false << "$HOME" << QString("missing") << clear;
    QTest::newRow("folder cannot be made")
        << "bare" << false << "$HOME" << QString("blocked") << QByteArray("<missing>");
}

void LocksTest::kde3WriteCreatesAMissingFile()
{
    QFETCH(QString, home);
    QFETCH(bool, lock);
    QFETCH(QString, homeReference);
    QFETCH(QString, folder);
    QFETCH(QByteArray, expected);

    ShellHost host;
    ScopedHost scope(host);
    const bool there = folder == QLatin1String("there");
    MakeHome(host, home, there);
    if (folder == QLatin1String("blocked"))
        FakeHost::WriteFile(home_ + QStringLiteral("/.kde"), "");
    // Without the file the screen is locked, as the power manager does by default.
    if (there) {
        QCOMPARE(locks_.ReadResumeLock().value.locked, std::optional<bool>(true));
        QVERIFY(host.log.isEmpty());
    }

    const Change change = locks_.WriteResumeLock(LockKeeper::Kde3, lock);
    const QString file = homeReference + QStringLiteral("/.kde/share/config/kpowersaverc");
    QStringList lines{"system: echo \"[General]\" >> " + file, "system: echo AlreadyStarted=true >> " + file};
    if (!lock)
        lines.append("system: echo lockOnSuspend=false >> " + file);
    // Without the folder the lines write nothing: it is made, and they run again.
    QStringList expectedLines = lines;
    if (!there)
        expectedLines << "system: mkdir -p " + homeReference + "/.kde/share/config" << lines;
    const bool blocked = folder == QLatin1String("blocked");
    if (!blocked)
        expectedLines.append(Notify);
    QCOMPARE(host.log, expectedLines);
    QCOMPARE(ReadAll(config_), expected);
    QCOMPARE(change.made, !blocked);
    QCOMPARE(Said(change.messages),
             blocked
                 ? QStringList{"error: The setting could not be saved: " + config_ + " could not be written."}
                 : QStringList());
}

void LocksTest::todaysWrite_data()
{
    QTest::addColumn<LockKeeper>("keeper");
    QTest::addColumn<bool>("lock");
    QTest::addColumn<QStringList>("tools");
    QTest::addColumn<QByteArray>("readBack"); // what the desktop reads afterwards
    QTest::addColumn<int>("told");            // the locker's configure call's status
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QStringList>("said");
    QTest::addColumn<bool>("made");

    const auto plasma = LockKeeper::Plasma;
    const auto gnome = LockKeeper::Gnome;
    const QString set =
        QStringLiteral(" --file kscreenlockerrc --group Daemon --key LockOnResume --type bool ");
    const QString get = QStringLiteral(" --file kscreenlockerrc --group Daemon --key LockOnResume --default "
                                       "true 2>/dev/null > /tmp/kpowersave");
    const QString rm = QStringLiteral("system: rm /tmp/kpowersave");
    const QString notSaved = QStringLiteral("error: The setting could not be saved: ");
    const QStringList gnomeOff{
        "system: gsettings set org.gnome.desktop.screensaver lock-enabled false",
        "system: gsettings get org.gnome.desktop.screensaver lock-enabled 2>/dev/null > /tmp/kpowersave", rm,
        "system: gsettings get org.gnome.desktop.lockdown disable-lock-screen 2>/dev/null > /tmp/kpowersave",
        rm};

    QTest::newRow("Plasma, off") << plasma << false << QStringList{"kwriteconfig5", "kreadconfig5"}
                                 << QByteArray("false\n") << 0
                                 << Whereis({"kwriteconfig5"}) +
                                        QStringList{"system: timeout 10 kwriteconfig5" + set + "false"} +
                                        Whereis({"kreadconfig5"}) +
                                        QStringList{"system: kreadconfig5" + get, rm, "system: " + Configure}
                                 << QStringList() << true;
    QTest::newRow("Plasma 6, on, the locker not told")
        << plasma << true << QStringList{"kwriteconfig6", "kreadconfig6"} << QByteArray("true\n") << 256
        << Whereis({"kwriteconfig5", "kwriteconfig6"}) +
               QStringList{"system: timeout 10 kwriteconfig6" + set + "true"} +
               Whereis({"kreadconfig5", "kreadconfig6"}) +
               QStringList{"system: kreadconfig6" + get, rm, "system: " + Configure}
        << QStringList{"plain: The setting is saved, but the screen locker could not be asked to use it "
                       "now: it applies from the next login."}
        << true;
    QTest::newRow("Plasma without kwriteconfig")
        << plasma << false << QStringList() << QByteArray() << 0
        << Whereis({"kwriteconfig5", "kwriteconfig6"})
        << QStringList{notSaved + "neither kwriteconfig5 nor kwriteconfig6 is installed."} << false;
    QTest::newRow("Plasma does not take it")
        << plasma << false << QStringList{"kwriteconfig5", "kreadconfig5"} << QByteArray("true\n") << 0
        << Whereis({"kwriteconfig5"}) + QStringList{"system: timeout 10 kwriteconfig5" + set + "false"} +
               Whereis({"kreadconfig5"}) + QStringList{"system: kreadconfig5" + get, rm}
        << QStringList{notSaved + "kscreenlockerrc could not be written."} << false;
    QTest::newRow("GNOME, off") << gnome << false << QStringList() << QByteArray("false\n") << 0 << gnomeOff
                                << QStringList() << true;
    QTest::newRow("GNOME does not take it")
        << gnome << false << QStringList() << QByteArray("true\n") << 0 << gnomeOff
        << QStringList{notSaved + "GNOME's settings did not take the change."} << false;
    // Nothing was read there, so nothing was chosen.
    QTest::newRow("nobody keeps it") << LockKeeper::None << true << QStringList() << QByteArray() << 0
                                     << QStringList() << QStringList() << true;
}

void LocksTest::todaysWrite()
{
    QFETCH(LockKeeper, keeper);
    QFETCH(bool, lock);
    QFETCH(QStringList, tools);
    QFETCH(QByteArray, readBack);
    QFETCH(int, told);
    QFETCH(QStringList, lines);
    QFETCH(QStringList, said);
    QFETCH(bool, made);

    FakeHost host;
    ScopedHost scope(host);
    host.environment.insert(QStringLiteral("HOME"), QStringLiteral("/home/lapstone"));
    host.environment.insert(QStringLiteral("XDG_CURRENT_DESKTOP"),
                            keeper == LockKeeper::Plasma  ? QStringLiteral("KDE")
                            : keeper == LockKeeper::Gnome ? QStringLiteral("GNOME")
                                                          : QStringLiteral("XFCE"));
    for (const char* tool : {"kwriteconfig5", "kwriteconfig6", "kreadconfig5", "kreadconfig6"})
        host.Whereis(QLatin1String(tool), tools.contains(QLatin1String(tool)));
    AnswerLines(host, lines, QStringLiteral("/tmp/kpowersave"), readBack);
    // GNOME's lockdown is not on here.
    Answer(host,
           QStringLiteral(
               "gsettings get org.gnome.desktop.lockdown disable-lock-screen 2>/dev/null > /tmp/kpowersave"),
           QStringLiteral("/tmp/kpowersave"), "false\n");
    host.answers.insert(Configure, [told] { return told; });

    const Change change = locks_.WriteResumeLock(keeper, lock);
    QCOMPARE(host.log, lines);
    QCOMPARE(Said(change.messages), said);
    QCOMPARE(change.made, made);
}

void LocksTest::biosPasswords_data()
{
    QTest::addColumn<QString>("failure");
    QTest::addColumn<QByteArray>("powerOn");
    QTest::addColumn<QByteArray>("admin");
    QTest::addColumn<QByteArray>("hardDisk");
    QTest::addColumn<QStringList>("lines");  // after whereis dmidecode
    QTest::addColumn<QStringList>("states"); // power-on, administrator, hard disk; "(none)": unread
    QTest::addColumn<QStringList>("said");

    const QString asked = QStringLiteral("privileged: ");
    const QStringList daemon{asked + PowerOnQuery,  asked + "rm /tmp/dmidecode",
                             asked + AdminQuery,    asked + "rm /tmp/dmidecode",
                             asked + HardDiskQuery, asked + "rm /tmp/dmidecode"};
    const QByteArray on("Enabled\n");
    const QByteArray off("Disabled\n");
    QTest::newRow("D9") << QString() << on << off << QByteArray("D9\n") << daemon
                        << QStringList{"Enabled", "Disabled", "Enabled"} << QStringList();
    QTest::newRow("DA") << QString() << off << on << QByteArray("DA\n") << daemon
                        << QStringList{"Disabled", "Enabled", "Enabled"} << QStringList();
    QTest::newRow("long fourth field, the byte first on its line")
        << QString() << QByteArray("Unsupported-state\n") << QByteArray("NotInstalled\n")
        << QByteArray("D9 00\n") << daemon << QStringList{"Unsuppor", "NotInsta", "Enabled"} << QStringList();
    QTest::newRow("a blank before the byte") << QString() << on << on << QByteArray(" D9\n") << daemon
                                             << QStringList{"Enabled", "Enabled", " "} << QStringList();
    QTest::newRow("lower case, no line feed")
        << QString() << QByteArray("Enabled") << QByteArray("Enabled") << QByteArray("d9\n") << daemon
        << QStringList{"Enabled", "Enabled", "Disabled"} << QStringList();
    QTest::newRow("other byte") << QString() << QByteArray("E\n") << QByteArray("X\n") << QByteArray("DB\n")
                                << daemon << QStringList{"E", "X", "Disabled"} << QStringList();
    QTest::newRow("dmidecode reports nothing")
        << QString() << QByteArray() << QByteArray() << QByteArray() << daemon
        << QStringList{"Unknown", "Unknown", "Unknown"} << QStringList();
    // A refused query leaves only its own state unread.
    QTest::newRow("two refused") << "refused" << on << off << QByteArray("D9\n")
                                 << QStringList{daemon[0], daemon[2], daemon[3], daemon[4]}
                                 << QStringList{"(none)", "Disabled", "(none)"} << QStringList();
    const QString notStarted =
        QStringLiteral("plain: The daemon isn't started, maybe the non-root users can't "
                       "view some infomation of the LapstoneConfiguration");
    QTest::newRow("daemon stopped") << "stopped" << on << off << QByteArray("D9\n")
                                    << QStringList{daemon[0], daemon[2], daemon[4]}
                                    << QStringList{"(none)", "(none)", "(none)"}
                                    << QStringList{notStarted, notStarted, notStarted};
    // Root runs them itself, the daemon or not.
    QTest::newRow("as root") << "root" << on << off << QByteArray("D9\n")
                             << QStringList(daemon).replaceInStrings(asked, QStringLiteral("system: "))
                             << QStringList{"Enabled", "Disabled", "Enabled"} << QStringList();
    QTest::newRow("no dmidecode") << "no dmidecode" << on << off << QByteArray("D9\n") << QStringList()
                                  << QStringList{"(none)", "(none)", "(none)"}
                                  << QStringList{"error: command dmidecode not found"};
}

void LocksTest::biosPasswords()
{
    QFETCH(QString, failure);
    QFETCH(QByteArray, powerOn);
    QFETCH(QByteArray, admin);
    QFETCH(QByteArray, hardDisk);
    QFETCH(QStringList, lines);
    QFETCH(QStringList, states);
    QFETCH(QStringList, said);

    FakeHost host;
    ScopedHost scope(host);
    host.daemonUp = failure != QLatin1String("stopped");
    host.uid = failure == QLatin1String("root") ? 0 : 1000;
    host.Whereis(QStringLiteral("dmidecode"), failure != QLatin1String("no dmidecode"));
    if (failure == QLatin1String("refused")) {
        host.privilegedResults.insert(PowerOnQuery, false);
        host.privilegedResults.insert(HardDiskQuery, false);
    }
    Answer(host, PowerOnQuery, Dmidecode, powerOn);
    Answer(host, AdminQuery, Dmidecode, admin);
    Answer(host, HardDiskQuery, Dmidecode, hardDisk);

    const auto read = MachineSystemInformation().BiosPasswords();
    QCOMPARE(host.log, Whereis({"dmidecode"}) + lines);
    QStringList shown;
    for (const auto& state : read.value)
        shown.append(state.value_or(QStringLiteral("(none)")));
    QCOMPARE(shown, states);
    QCOMPARE(Said(read.messages), said);
    if (failure.isEmpty())
        QVERIFY(!QFile::exists(FakeHost::Real(Dmidecode)));
}

void LocksTest::unreadableBiosCaptureThrows()
{
    // The daemon says it ran the power-on query, but no capture file is there to read: the error
    // goes to the caller's default report, the file's name first.
    FakeHost host;
    ScopedHost scope(host);
    host.Whereis(QStringLiteral("dmidecode"), true);
    try {
        MachineSystemInformation().BiosPasswords();
        QFAIL("no error");
    } catch (const IoError& error) {
        QVERIFY2(QString::fromLocal8Bit(error.what()).startsWith(Dmidecode), error.what());
    }
    QCOMPARE(host.log.mid(2), QStringList{"privileged: " + PowerOnQuery});
}

QTEST_MAIN(LocksTest)
#include "LocksTest.moc"
