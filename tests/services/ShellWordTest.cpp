// Paths put into shell command lines: ordinary ones as they are, others quoted so that the real
// shell hands them over as one unchanged word.
#include "machine/ShellWord.h"
#include "tests/support/FakeHost.h"

#include <QProcess>
#include <QTest>

using namespace Ucomtc;

namespace {

// What /bin/sh makes of `line`: each resulting word of `printf '<%s>'` in angle brackets.
QString ShellOutput(const QString& line, const QString& home = QString())
{
    QProcess shell;
    if (!home.isNull()) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("HOME"), home);
        shell.setProcessEnvironment(environment);
    }
    shell.start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), QStringLiteral("printf '<%s>' ") + line});
    if (!shell.waitForFinished(10000))
        qFatal("sh did not finish");
    return QString::fromUtf8(shell.readAllStandardOutput());
}

} // namespace

class ShellWordTest : public QObject
{
    Q_OBJECT

private slots:
    void ordinaryPathsStayAsWritten_data();
    void ordinaryPathsStayAsWritten();
    void otherTextsReachTheShellAsOneWord_data();
    void otherTextsReachTheShellAsOneWord();
    void homeIsQuotedOnlyWhenItWouldSplit_data();
    void homeIsQuotedOnlyWhenItWouldSplit();
};

void ShellWordTest::ordinaryPathsStayAsWritten_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("home config") << "/home/lapstone/.kde/share/config/kpowersaverc";
    QTest::newRow("dashes, dots, digits") << "/home/a-b_c.d/x+y,z:1@host%2";
}

void ShellWordTest::ordinaryPathsStayAsWritten()
{
    QFETCH(QString, text);
    QCOMPARE(ShellWord(text), text);
    QCOMPARE(ShellOutput(ShellWord(text)), QLatin1Char('<') + text + QLatin1Char('>'));
}

void ShellWordTest::otherTextsReachTheShellAsOneWord_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("blank") << "/home/Jo Doe/.kde/share/config/kpowersaverc";
    QTest::newRow("two blanks and a tab") << "/home/a  b\tc";
    QTest::newRow("single quote") << "/home/o'brien/x";
    QTest::newRow("only quotes") << "''";
    QTest::newRow("dollar and backquote") << "/home/$USER/`id`";
    QTest::newRow("glob and tilde") << "~/*.rc";
    QTest::newRow("separators") << "/tmp/a;rm x|y&z>w<v";
    QTest::newRow("double quote and backslash") << "/a\"b\\c";
    QTest::newRow("newline") << "/a\nb";
    QTest::newRow("non-ASCII") << QStringLiteral("/home/j\u00f6rg");
    QTest::newRow("empty") << "";
}

void ShellWordTest::otherTextsReachTheShellAsOneWord()
{
    QFETCH(QString, text);
    const QString word = ShellWord(text);
    QVERIFY(word != text);
    QCOMPARE(ShellOutput(word), QLatin1Char('<') + text + QLatin1Char('>'));
}

void ShellWordTest::homeIsQuotedOnlyWhenItWouldSplit_data()
{
    QTest::addColumn<QString>("home");
    QTest::addColumn<QString>("reference");
    QTest::newRow("ordinary") << "/home/lapstone"
                              << "$HOME";
    QTest::newRow("unset") << QString() << "$HOME";
    QTest::newRow("blank") << "/home/Jo Doe"
                           << "\"$HOME\"";
    QTest::newRow("glob") << "/home/*"
                          << "\"$HOME\"";
}

void ShellWordTest::homeIsQuotedOnlyWhenItWouldSplit()
{
    QFETCH(QString, home);
    QFETCH(QString, reference);
    FakeHost host;
    if (!home.isNull())
        host.environment.insert(QStringLiteral("HOME"), home);
    const ScopedHost scope(host);

    QCOMPARE(ShellHome(), reference);
    if (!home.isNull()) {
        QCOMPARE(ShellOutput(ShellHome() + QStringLiteral("/.kde"), home),
                 QLatin1Char('<') + home + QStringLiteral("/.kde>"));
    }
}

QTEST_GUILESS_MAIN(ShellWordTest)
#include "ShellWordTest.moc"
