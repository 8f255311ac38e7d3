// The ways of running commands and a capture file's life, against the real shell, whereis, sed
// and mv. Runs in a private /tmp.
#include "machine/Capture.h"
#include "machine/Constants.h"
#include "tests/support/Shown.h"
#include "tests/support/Unprivileged.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <sys/wait.h>
#include <unistd.h>

using namespace Ucomtc;

namespace {

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

void WriteAll(const QString& path, const QByteArray& content)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(content) != content.size())
        qFatal("cannot write %s", qPrintable(path));
}

const QByteArray XorgConf = "Section \"InputDevice\"\n"
                            "  Driver \"synaptics\"\n"
                            "  Option \"SHMConfig\" \"on\"\n"
                            "  Option \"TouchpadOff\" \"1\"\n"
                            "EndSection\n";

} // namespace

class CommandRunnerTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void commandExistsAsksWhereis();
    void commandExistsWithoutWhereis();
    void captureLifeOnTheRealShell();
    void runShellWaitsForTheShellOnly();
    void runShellAsksForRootFirst();
    void editReplacesTheFileOnSuccess();
    void failedEditLeavesTheTargetAlone_data();
    void failedEditLeavesTheTargetAlone();
    void unreadableTargetIsLeftAlone();
    void targetTheUserMayNotReplaceIsLeftAlone();

private:
    QTemporaryDir dir_;
};

void CommandRunnerTest::initTestCase()
{
    QVERIFY(dir_.isValid());
    // whereis looks for manual pages on MANPATH too: one page here and no program of that name.
    QVERIFY(QDir(dir_.path()).mkpath(QStringLiteral("man")));
    WriteAll(dir_.filePath(QStringLiteral("man/lapstonemanonly.1")), ".TH LAPSTONEMANONLY 1\n");
    qputenv("MANPATH", dir_.filePath(QStringLiteral("man")).toLocal8Bit());
}

void CommandRunnerTest::commandExistsAsksWhereis()
{
    QVERIFY(Shown([&](Messages& m) { return CommandExists(QStringLiteral("sh"), m); }));
    QVERIFY(!Shown([&](Messages& m) { return CommandExists(QStringLiteral("lapstone-no-such-tool"), m); }));
    QVERIFY(Shown([&](Messages& m) { return CommandExists(QStringLiteral("lapstonemanonly"), m); }));
    QVERIFY(!QFile::exists(QString::fromLatin1(CommandCaptureFile)));
}

void CommandRunnerTest::commandExistsWithoutWhereis()
{
    // The shell cannot find whereis, the capture file is created empty, and that counts as found.
    const QString bin = dir_.filePath(QStringLiteral("bin"));
    QVERIFY(QDir().mkpath(bin));
    QFile::link(QStringLiteral("/bin/rm"), bin + QStringLiteral("/rm"));
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", bin.toLocal8Bit());
    const bool found =
        Shown([&](Messages& m) { return CommandExists(QStringLiteral("lapstone-no-such-tool"), m); });
    qputenv("PATH", path);
    QVERIFY(found);
    QVERIFY(!QFile::exists(QString::fromLatin1(CommandCaptureFile)));
}

void CommandRunnerTest::captureLifeOnTheRealShell()
{
    // The production host in a folder of the test's own: the name is made fresh (a link there is
    // replaced, never followed), the line writes it, it is read back and removed.
    const QString victim = dir_.filePath(QStringLiteral("victim"));
    const QString capture = dir_.filePath(QStringLiteral("capture"));
    WriteAll(victim, "keep\n");
    QVERIFY(QFile::link(victim, capture));
    Messages messages;
    QVERIFY(RunWriting(RunWith::System, QStringLiteral("echo one > ") + capture, capture, messages));
    QVERIFY(messages.isEmpty() && !QFileInfo(capture).isSymLink());
    QCOMPARE(ReadAll(victim), QByteArray("keep\n"));
    QCOMPARE(ReadCaptureLines(capture), QStringList{QStringLiteral("one")});
    QVERIFY(Host::current().FileExists(capture));
    RemoveCapture(capture, RunWith::Shell, messages);
    QVERIFY(!Host::current().FileExists(capture) && messages.isEmpty());
}

void CommandRunnerTest::runShellWaitsForTheShellOnly()
{
    const QString marker = dir_.filePath(QStringLiteral("marker"));
    Host::current().RunShell(QStringLiteral("sleep 0.3; echo done > ") + marker);
    QCOMPARE(ReadAll(marker), QByteArray("done\n"));

    QElapsedTimer clock;
    clock.start();
    Host::current().RunShell(QStringLiteral("sleep 5 >/dev/null 2>&1 &"));
    QVERIFY2(clock.elapsed() < 2000, "a background job must not be waited for");
}

void CommandRunnerTest::runShellAsksForRootFirst()
{
    // A program started by a user with root's rights (set-user-ID root) gets a root shell from
    // RunShell; through system() the shell gives the rights up again, as /bin/sh does when the
    // real and effective user differ.
    if (getuid() != 0)
        QSKIP("needs root to give up");
    QTemporaryDir shared;
    QVERIFY(QFile::setPermissions(shared.path(), QFileDevice::Permissions(0x7777)));
    const QString shellMarker = shared.filePath(QStringLiteral("shell-uid"));
    const QString systemMarker = shared.filePath(QStringLiteral("system-uid"));
    const pid_t child = fork();
    QVERIFY(child >= 0);
    if (child == 0) {
        if (setresuid(65534, 0, 0) != 0)
            _exit(2);
        Host::current().RunShell(QStringLiteral("id -u > ") + shellMarker);
        Host::current().System(QStringLiteral("id -u > ") + systemMarker);
        _exit(0);
    }
    int status = -1;
    QCOMPARE(waitpid(child, &status, 0), child);
    QVERIFY(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    QCOMPARE(ReadAll(shellMarker), QByteArray("0\n"));
    QCOMPARE(ReadAll(systemMarker), QByteArray("65534\n"));
}

void CommandRunnerTest::editReplacesTheFileOnSuccess()
{
    const QString target = dir_.filePath(QStringLiteral("xorg.conf"));
    const QString scratch = dir_.filePath(QStringLiteral("xorgconfig"));
    WriteAll(target, XorgConf);
    QVERIFY(Shown([&](Messages& m) {
        return EditFileWithSed(QStringLiteral("sed /TouchpadOff/d"), target, scratch, RunWith::System, m);
    }));
    QCOMPARE(ReadAll(target), QByteArray("Section \"InputDevice\"\n"
                                         "  Driver \"synaptics\"\n"
                                         "  Option \"SHMConfig\" \"on\"\n"
                                         "EndSection\n"));
    QVERIFY(!QFile::exists(scratch));
}

void CommandRunnerTest::failedEditLeavesTheTargetAlone_data()
{
    QTest::addColumn<QString>("sedCommand");
    QTest::addColumn<bool>("targetExists");
    QTest::newRow("missing target") << QStringLiteral("sed /TouchpadOff/d") << false;
    QTest::newRow("sed rejects its script") << QStringLiteral("sed /[/d") << true;
    QTest::newRow("sed itself missing") << QStringLiteral("lapstone-no-such-sed /x/d") << true;
}

void CommandRunnerTest::failedEditLeavesTheTargetAlone()
{
    QFETCH(QString, sedCommand);
    QFETCH(bool, targetExists);
    const QString target = dir_.filePath(QStringLiteral("edit-target"));
    const QString scratch = dir_.filePath(QStringLiteral("edit-scratch"));
    QFile::remove(target);
    if (targetExists)
        WriteAll(target, XorgConf);

    QVERIFY(!Shown(
        [&](Messages& m) { return EditFileWithSed(sedCommand, target, scratch, RunWith::System, m); }));

    QCOMPARE(QFile::exists(target), targetExists);
    if (targetExists)
        QCOMPARE(ReadAll(target), XorgConf);
    QVERIFY(!QFile::exists(scratch));
}

void CommandRunnerTest::unreadableTargetIsLeftAlone()
{
    QTemporaryDir shared;
    QVERIFY(QFile::setPermissions(shared.path(), QFileDevice::Permissions(0x7777)));
    const QString target = shared.filePath(QStringLiteral("kpowersaverc"));
    const QString scratch = shared.filePath(QStringLiteral("kpowersaverc.scratch"));
    WriteAll(target, "[General]\nlockOnSuspend=false\n");
    QVERIFY(QFile::setPermissions(target, QFileDevice::WriteOwner | QFileDevice::WriteOther));

    const int outcome = RunUnprivileged([&] {
        Shown([&](Messages& m) {
            return EditFileWithSed(QStringLiteral("sed '/^lockOnSuspend=false/ d'"), target, scratch,
                                   RunWith::System, m);
        });
        return 0;
    });
    QCOMPARE(outcome, 0);
    QVERIFY(QFile::setPermissions(target, QFileDevice::ReadOwner | QFileDevice::WriteOwner));
    QCOMPARE(ReadAll(target), QByteArray("[General]\nlockOnSuspend=false\n"));
    QVERIFY(!QFile::exists(scratch));
}

void CommandRunnerTest::targetTheUserMayNotReplaceIsLeftAlone()
{
    // Readable by everyone, replaceable by root only, as /etc/X11/xorg.conf: sed succeeds, mv fails.
    QTemporaryDir rootOnly;
    QTemporaryDir shared;
    QVERIFY(QFile::setPermissions(rootOnly.path(), QFileDevice::Permissions(0x7555)));
    QVERIFY(QFile::setPermissions(shared.path(), QFileDevice::Permissions(0x7777)));
    const QString target = rootOnly.filePath(QStringLiteral("xorg.conf"));
    const QString scratch = shared.filePath(QStringLiteral("xorgconfig"));
    WriteAll(target, XorgConf);
    QVERIFY(QFile::setPermissions(rootOnly.path(), QFileDevice::Permissions(0x5555)));

    // The caller learns that its edit did not hold.
    const int outcome = RunUnprivileged([&] {
        return Shown([&](Messages& m) {
            return EditFileWithSed(QStringLiteral("sed /TouchpadOff/d"), target, scratch, RunWith::System, m);
        })
                   ? 1
                   : 0;
    });
    QCOMPARE(outcome, 0);
    QCOMPARE(ReadAll(target), XorgConf);
    QVERIFY2(!QFile::exists(scratch), "the edited copy that could not be moved must not stay behind");
    QVERIFY(QFile::setPermissions(rootOnly.path(), QFileDevice::Permissions(0x7555)));
}

QTEST_GUILESS_MAIN(CommandRunnerTest)
#include "CommandRunnerTest.moc"
