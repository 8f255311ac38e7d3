// The life of a capture file: which way each step runs, in which order, and what a failed step
// leaves behind, and what root's way says when no daemon answers. The commands are answered by
// FakeHost; the file lives in a temporary directory.
#include "machine/Capture.h"
#include "machine/Constants.h"
#include "machine/IoError.h"
#include "machine/Run.h"
#include "tests/support/FakeHost.h"
#include "tests/support/Shown.h"
#include "widgets/Handlers.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <unistd.h>

using namespace Ucomtc;

Q_DECLARE_METATYPE(Ucomtc::RunWith)

class CaptureRunTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void runsWriteReadRemoveInOrder_data();
    void runsWriteReadRemoveInOrder();
    void emptyOutputIsStillRemoved();
    void workOfTheReaderComesBeforeTheRemoval();
    void refusedDaemonWriteReadsAndRemovesNothing();
    void unreadableFileStaysAndReachesTheReport();
    void homeLinesRunAsTheHomesOwner_data();
    void homeLinesRunAsTheHomesOwner();

private:
    // Makes `command` write `content` into the capture file, as its redirection would.
    void answerWith(const QString& command, const QByteArray& content);

    QTemporaryDir dir_;
    QString path_;
    QString remove_;
    Messages messages_;
    FakeHost host_;
};

void CaptureRunTest::init()
{
    QVERIFY(dir_.isValid());
    path_ = dir_.filePath(QStringLiteral("capture"));
    remove_ = QStringLiteral("rm ") + path_;
    QFile::remove(path_);
    messages_.clear();
    host_ = FakeHost();
    Host::install(&host_);
}

void CaptureRunTest::answerWith(const QString& command, const QByteArray& content)
{
    const QString path = path_;
    host_.answers[command] = [path, content] {
        FakeHost::WriteFile(path, content);
        return 0;
    };
}

void CaptureRunTest::runsWriteReadRemoveInOrder_data()
{
    QTest::addColumn<RunWith>("writeWith");
    QTest::addColumn<RunWith>("removeWith");
    QTest::addColumn<QStringList>("expected"); // the write's and the removal's log prefixes

    QTest::newRow("system, system") << RunWith::System << RunWith::System << QStringList{"system", "system"};
    QTest::newRow("system, shell") << RunWith::System << RunWith::Shell << QStringList{"system", "shell"};
    QTest::newRow("shell, shell") << RunWith::Shell << RunWith::Shell << QStringList{"shell", "shell"};
    QTest::newRow("root, root") << RunWith::Root << RunWith::Root << QStringList{"privileged", "privileged"};
}

void CaptureRunTest::runsWriteReadRemoveInOrder()
{
    QFETCH(RunWith, writeWith);
    QFETCH(RunWith, removeWith);
    QFETCH(QStringList, expected);
    const QString command = QStringLiteral("grep Lock kdesktoprc > ") + path_;
    answerWith(command, "Lock=true\r\nsecond line\n");

    QStringList seen;
    QVERIFY(Shown([&](Messages& m) {
        return WithCaptureFirstLine(
            writeWith, command, path_, removeWith, [&](const QString& line) { seen.append(line); }, m);
    }));

    QCOMPARE(seen, QStringList{QStringLiteral("Lock=true")});
    QCOMPARE(host_.log, (QStringList{expected[0] + QStringLiteral(": ") + command,
                                     expected[1] + QStringLiteral(": ") + remove_}));
}

void CaptureRunTest::emptyOutputIsStillRemoved()
{
    // A command that prints nothing still leaves the file its redirection created.
    const QString command = QStringLiteral("synclient -l | grep TouchpadOff > ") + path_;
    answerWith(command, QByteArray());

    QCOMPARE(CaptureFirstLine(RunWith::System, command, path_, RunWith::Shell, messages_), QString());
    QCOMPARE(host_.log,
             (QStringList{QStringLiteral("system: ") + command, QStringLiteral("shell: ") + remove_}));
}

void CaptureRunTest::workOfTheReaderComesBeforeTheRemoval()
{
    const QString command = QStringLiteral("cat kpowersaverc | grep lockOnSuspend > ") + path_;
    answerWith(command, "lockOnSuspend=true\n");

    Shown([&](Messages& m) {
        return WithCaptureFirstLine(
            RunWith::System, command, path_, RunWith::System,
            [](const QString&) {
                Host::current().System(QStringLiteral("sed /General/a\\lockOnSuspend=false"));
            },
            m);
    });

    QCOMPARE(host_.Entries(QStringLiteral("system: ")),
             (QStringList{command, QStringLiteral("sed /General/a\\lockOnSuspend=false"), remove_}));
}

void CaptureRunTest::refusedDaemonWriteReadsAndRemovesNothing()
{
    const QString command = QStringLiteral("/usr/sbin/dmidecode | grep Power-On > ") + path_;
    host_.privilegedResults[command] = false;
    bool used = false;

    QVERIFY(!Shown([&](Messages& m) {
        return WithCaptureFirstLine(
            RunWith::Root, command, path_, RunWith::Root, [&](const QString&) { used = true; }, m);
    }));

    QVERIFY(!used);
    QCOMPARE(host_.log, QStringList{QStringLiteral("privileged: ") + command});

    // Without a daemon nothing runs either, and the reading says why rather than showing it.
    host_.log.clear();
    host_.daemonUp = false;
    QVERIFY(!WithCaptureFirstLine(
        RunWith::Root, command, path_, RunWith::Root, [&](const QString&) { used = true; }, messages_));
    QVERIFY(!used);
    QCOMPARE(host_.log, QStringList{QStringLiteral("privileged: ") + command});
    QCOMPARE(messages_, (Messages{{MessageKind::Plain, QString::fromLatin1(MsgDaemonNotStarted)}}));
}

void CaptureRunTest::unreadableFileStaysAndReachesTheReport()
{
    // The command left no file (it removed the one made for it): reading fails, nothing is removed, and the
    // handler's guard shows the failure in the default report instead of the caller going on with a blank.
    const QString command = QStringLiteral("cat /sys/devices/platform/i8042/serio0/serio2/rate > ") + path_;
    host_.answers.insert(command, [this] {
        QFile::remove(path_);
        return 256;
    });
    QVERIFY_THROWS_EXCEPTION(IoError,
                             CaptureFirstLine(RunWith::System, command, path_, RunWith::Shell, messages_));
    QCOMPARE(host_.log, QStringList{QStringLiteral("system: ") + command});

    host_.log.clear();
    bool goneOn = false;
    Guarded([&] {
        CaptureFirstLine(RunWith::System, command, path_, RunWith::Shell, messages_);
        goneOn = true;
    });
    QVERIFY(!goneOn);
    QCOMPARE(host_.log.size(), 2);
    QCOMPARE(host_.log[0], QStringLiteral("system: ") + command);
    QVERIFY2(host_.log[1].startsWith(QStringLiteral("report: ") + path_), qPrintable(host_.log[1]));
}

void CaptureRunTest::homeLinesRunAsTheHomesOwner_data()
{
    QTest::addColumn<uid_t>("uid");
    QTest::addColumn<uid_t>("homeOwner");
    QTest::addColumn<QString>("kind");
    QTest::newRow("root with a user's HOME") << uid_t(0) << uid_t(1000) << QStringLiteral("as 1000");
    QTest::newRow("root with its own HOME") << uid_t(0) << uid_t(0) << QStringLiteral("system");
    QTest::newRow("a user") << uid_t(1000) << uid_t(1000) << QStringLiteral("system");
}

void CaptureRunTest::homeLinesRunAsTheHomesOwner()
{
    QFETCH(uid_t, uid);
    QFETCH(uid_t, homeOwner);
    QFETCH(QString, kind);
    QTemporaryDir home;
    QCOMPARE(::chown(QFile::encodeName(home.path()).constData(), homeOwner, homeOwner), 0);
    host_.uid = uid;
    host_.environment[QStringLiteral("HOME")] = home.path();
    const QString file = home.filePath(QStringLiteral("kpowersaverc"));
    const QString sed =
        QStringLiteral("sed /General/a\\lockOnSuspend=false ") + file + QStringLiteral(" > ") + path_;
    const QString move = QStringLiteral("mv ") + path_ + QStringLiteral(" ") + file;
    QFile::remove(path_);

    Shown([&](Messages& m) {
        return EditFileWithSed(QStringLiteral("sed /General/a\\lockOnSuspend=false"), file, path_,
                               {RunWith::System, As::HomeOwner}, m);
    });
    CaptureFirstLine({RunWith::Shell, As::HomeOwner},
                     QStringLiteral("cat ") + file + QStringLiteral(" > ") + path_, path_, RunWith::Shell,
                     messages_);

    const QString shellKind = kind == QLatin1String("system") ? QStringLiteral("shell") : kind;
    QCOMPARE(host_.log,
             (QStringList{kind + QStringLiteral(": ") + sed, kind + QStringLiteral(": ") + move,
                          shellKind + QStringLiteral(": cat ") + file + QStringLiteral(" > ") + path_,
                          QStringLiteral("shell: ") + remove_}));
}

QTEST_MAIN(CaptureRunTest)
#include "CaptureRunTest.moc"
