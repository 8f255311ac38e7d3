// The waiting shell behind System and RunShell: which lines it takes, and that a line run there
// behaves as it would under `sh -c` (status, input, environment, folder, nothing left behind).
#include <CommandShell.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace Ucomtc;

namespace {

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

int ExitCode(const std::optional<int>& status)
{
    return status && WIFEXITED(*status) ? WEXITSTATUS(*status) : -1;
}

} // namespace

class CommandShellTest : public QObject
{
    Q_OBJECT

private slots:
    void takesThePlainLinesOfTheProgram_data();
    void takesThePlainLinesOfTheProgram();
    void leavesLinesThatChangeTheShell_data();
    void leavesLinesThatChangeTheShell();
    void runsLinesAsShCWould();
    void aRefusedLineDoesNotRun();
    void followsEnvironmentAndFolder();
    void survivesAShellThatWentAway();
    void aForkedCopyStartsItsOwnShell();

private:
    QTemporaryDir dir_;
};

void CommandShellTest::takesThePlainLinesOfTheProgram_data()
{
    QTest::addColumn<QString>("line");
    const char* const lines[] = {
        "whereis dmidecode >/tmp/command",
        "rm /tmp/command",
        "/usr/sbin/dmidecode > /tmp/StoredDmi",
        "gawk '{print $1\" \" $2\" \" $3}' /proc/version > /tmp/dmidecode",
        "grep \"model name\" /proc/cpuinfo | gawk '{print $4\" \" $5}' > /tmp/dmidecode",
        "cat $HOME/.kde/share/config/kpowersaverc | grep lockOnSuspend=false > /tmp/kpowersave",
        "cat \"$HOME\"/.kde/share/config/kdesktoprc > /tmp/kdesktop",
        "synclient TouchpadOff=1",
        "synclient -l | grep TouchpadOff > /tmp/touchpad",
        "kcmshell --caption Desktop kde-display > /dev/null&",
        "kdesu -c /sbin/yast2 users &",
        "echo -n 100 > /sys/devices/platform/i8042/serio0/serio2/rate",
        "sed /^lockOnSuspend/c\\lockOnSuspend=false /home/a/kpowersaverc > /tmp/kpowersaverc",
        "sed -e '$a\\[General]' -e '$a\\lockOnSuspend=false' 'a b' > /tmp/kpowersaverc",
        "grep -q SHMConfig /etc/X11/xorg.conf",
        "ls 2>/dev/null >>/tmp/x; true && false || :",
    };
    for (const char* line : lines)
        QTest::newRow(line) << QString::fromLatin1(line);
}

void CommandShellTest::takesThePlainLinesOfTheProgram()
{
    QFETCH(QString, line);
    QVERIFY(CommandShell::LeavesTheShellAsItWas(line.toStdString()));
}

void CommandShellTest::leavesLinesThatChangeTheShell_data()
{
    QTest::addColumn<QString>("line");
    const char* const lines[] = {
        "cd /",
        "x=1",
        "PATH=/nowhere ls",
        "exit 3",
        "exec true",
        "set -e",
        "trap 'echo' EXIT",
        "umask 077",
        "ls; cd /",
        "true && exit",
        "2>/dev/null cd /",
        "'cd' /",
        "\\cd /",
        "c\"d\" /",
        ". /etc/profile",
        "echo $(id)",
        "echo `id`",
        "echo \"$(id)\"",
        "echo ${x:=1}",
        "echo $((x=1))",
        "f() { cd /; }",
        "{ cd /; }",
        "(cd /)",
        "if true; then cd /; fi",
        "for x in a; do :; done",
        "echo a\nexit",
        "echo 'unterminated",
        "echo \"unterminated",
        "echo > ",
        "echo >| ; ls",
        "# cd /",
        "read x",
        "unset PATH",
        "export A=1",
    };
    for (const char* line : lines)
        QTest::newRow(line) << QString::fromLatin1(line);
    QTest::newRow("a NUL inside") << QString::fromLatin1("echo a\0; cd /", 14);
}

void CommandShellTest::leavesLinesThatChangeTheShell()
{
    QFETCH(QString, line);
    QVERIFY(!CommandShell::LeavesTheShellAsItWas(line.toStdString()));
}

void CommandShellTest::runsLinesAsShCWould()
{
    QVERIFY(dir_.isValid());
    CommandShell shell;
    const std::string out = QFile::encodeName(dir_.filePath(QStringLiteral("out"))).toStdString();

    shell.Prepare(); // the first line need not wait for the shell to start
    const pid_t first = shell.ShellPid();
    QVERIFY(first > 0);
    QCOMPARE(ExitCode(shell.Run("true")), 0);
    QCOMPARE(ExitCode(shell.Run("false")), 1);
    QCOMPARE(ExitCode(shell.Run("lapstone-no-such-program 2>/dev/null")), 127);
    QCOMPARE(ExitCode(shell.Run("grep -q x /dev/null")), 1);
    QCOMPARE(shell.ShellPid(), first); // one shell for every line
    // A syntax error ends `sh -c` with 2; here it ends the waiting shell the same way, and the
    // next line gets a new one.
    QCOMPARE(ExitCode(shell.Run("echo a ;;")), 2);
    QCOMPARE(ExitCode(shell.Run("true")), 0);

    // Quotes of every kind reach the programs as the shell reads them.
    QCOMPARE(ExitCode(shell.Run("printf '%s|' 'it'\\''s' \"a  b\" c\\ d > " + out)), 0);
    QCOMPARE(ReadAll(QString::fromStdString(out)), QByteArray("it's|a  b|c d|"));

    // The line reads this process's standard input, not the shell's instructions.
    int input[2];
    QVERIFY(pipe(input) == 0);
    QVERIFY(write(input[1], "hello\n", 6) == 6);
    close(input[1]);
    const int savedInput = dup(STDIN_FILENO);
    dup2(input[0], STDIN_FILENO);
    close(input[0]);
    CommandShell reading;
    const auto status = reading.Run("head -c 5 > " + out);
    dup2(savedInput, STDIN_FILENO);
    close(savedInput);
    QCOMPARE(ExitCode(status), 0);
    QCOMPARE(ReadAll(QString::fromStdString(out)), QByteArray("hello"));

    // The programs a line starts hold the descriptors they would hold under system(), and none of
    // the waiting shell's.
    const std::string listing = "ls /proc/self/fd > " + out;
    QCOMPARE(ExitCode(shell.Run(listing)), 0);
    const QByteArray open = ReadAll(QString::fromStdString(out));
    QCOMPARE(std::system(listing.c_str()), 0);
    QCOMPARE(open, ReadAll(QString::fromStdString(out)));

    // A job started with "&" is not waited for.
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(ExitCode(shell.Run("sleep 5 &")), 0);
    QVERIFY2(clock.elapsed() < 2000, "a background job must not be waited for");
}

void CommandShellTest::aRefusedLineDoesNotRun()
{
    CommandShell shell;
    const QString marker = dir_.filePath(QStringLiteral("refused"));
    QVERIFY(!shell.Run(("cd /; touch " + marker).toStdString()));
    QVERIFY(!QFile::exists(marker));
    QCOMPARE(shell.ShellPid(), -1);
}

void CommandShellTest::followsEnvironmentAndFolder()
{
    CommandShell shell;
    const std::string out = QFile::encodeName(dir_.filePath(QStringLiteral("env"))).toStdString();
    QCOMPARE(ExitCode(shell.Run("true")), 0);
    const pid_t first = shell.ShellPid();

    qputenv("LAPSTONE_SHELL_TEST", "changed");
    QCOMPARE(ExitCode(shell.Run("echo $LAPSTONE_SHELL_TEST > " + out)), 0);
    qunsetenv("LAPSTONE_SHELL_TEST");
    QCOMPARE(ReadAll(QString::fromStdString(out)), QByteArray("changed\n"));
    QVERIFY(shell.ShellPid() != first);

    const QString before = QDir::currentPath();
    QVERIFY(QDir::setCurrent(dir_.path()));
    const auto status = shell.Run("pwd > " + out);
    QVERIFY(QDir::setCurrent(before));
    QCOMPARE(ExitCode(status), 0);
    QCOMPARE(ReadAll(QString::fromStdString(out)).trimmed(), QFile::encodeName(dir_.path()));
}

void CommandShellTest::survivesAShellThatWentAway()
{
    CommandShell shell;
    QCOMPARE(ExitCode(shell.Run("true")), 0);
    // Killed while waiting: the next line gets a new shell.
    QCOMPARE(kill(shell.ShellPid(), SIGKILL), 0);
    QCOMPARE(ExitCode(shell.Run("true")), 0);
    // Killed by its own line: the line's end is the shell's, as with `sh -c`.
    const auto status = shell.Run("kill -9 $$");
    QVERIFY(status && WIFSIGNALED(*status) && WTERMSIG(*status) == SIGKILL);
    QCOMPARE(shell.ShellPid(), -1);
    QCOMPARE(ExitCode(shell.Run("exit_code_of_this=0 true")), -1); // not taken: an assignment
    QCOMPARE(ExitCode(shell.Run("true")), 0);
}

void CommandShellTest::aForkedCopyStartsItsOwnShell()
{
    CommandShell shell;
    QCOMPARE(ExitCode(shell.Run("true")), 0);
    const pid_t parentShell = shell.ShellPid();
    const QString marker = dir_.filePath(QStringLiteral("child"));
    const pid_t child = fork();
    QVERIFY(child >= 0);
    if (child == 0) {
        // The parent's shell must not run the child's lines, nor be waited for by the child.
        const bool own = shell.ShellPid() == -1;
        const auto status = shell.Run(("echo $PPID > " + marker).toStdString());
        _exit(own && status && WIFEXITED(*status) && WEXITSTATUS(*status) == 0 ? 0 : 1);
    }
    int status = -1;
    QCOMPARE(waitpid(child, &status, 0), child);
    QVERIFY(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    QCOMPARE(ReadAll(marker).trimmed(), QByteArray::number(child));
    QCOMPARE(shell.ShellPid(), parentShell);
    QCOMPARE(ExitCode(shell.Run("true")), 0);
}

QTEST_GUILESS_MAIN(CommandShellTest)
#include "CommandShellTest.moc"
