// The resume lock dialog on real kpowersaverc files: its commands go through the seam, where they
// are recorded and then run by the real shell, sed and mv against a home of the test's own. Runs in
// a private /tmp.
#include "areas/Areas.h"
#include "dialogs/Resume.h"
#include "machine/Host.h"
#include "machine/ShellWord.h"
#include "tests/support/FakeHost.h"
#include "widgets/FormEvents.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

using namespace Ucomtc;

namespace {

const QString Capture = QStringLiteral("/tmp/kpowersave");
const QString Notify =
    QStringLiteral("system: dcop kpowersave MainApplication-Interface reparseConfiguration");

// Records every command like FakeHost, then has /bin/sh run it with the test's HOME. The power
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

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

} // namespace

class ResumeFormTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void layout();
    void showReadsTheKey_data();
    void showReadsTheKey();
    void okWritesTheSetting_data();
    void okWritesTheSetting();
    void okCreatesAMissingFile_data();
    void okCreatesAMissingFile();
    void cancelRestoresTheLastShowing();
    void unreadLockIsLeftAlone();

private:
    // Makes a home whose path is `name` under the temporary folder, with the KDE 3 desktop's
    // configuration folder and its kdesktoprc.
    void MakeHome(const QString& name, bool withFolder = true);
    // Shows the dialog and waits until its show handler has run.
    void Show();
    void Click(const char* button)
    {
        QTest::mouseClick(form_->findChild<QPushButton*>(QLatin1String(button)), Qt::LeftButton);
    }
    QCheckBox* Box() const { return form_->findChild<QCheckBox*>(QStringLiteral("EnableLock")); }

    QTemporaryDir dir_;
    QString home_;
    QString config_;
    ShellHost host_;
    std::unique_ptr<ScopedHost> scope_;
    Ucomtc::MachineAreas machine_;
    std::unique_ptr<TResumeForm1> form_;
};

void ResumeFormTest::init()
{
    QVERIFY(dir_.isValid());
    host_ = ShellHost();
    scope_ = std::make_unique<ScopedHost>(host_);
    form_ = std::make_unique<TResumeForm1>(machine_.areas().locks, machine_.areas().handOvers);
    MakeHome(QStringLiteral("lapstone"));
}

void ResumeFormTest::cleanup()
{
    form_.reset();
    scope_.reset();
    QDir(dir_.path()).removeRecursively();
    QDir().mkpath(dir_.path());
}

void ResumeFormTest::MakeHome(const QString& name, bool withFolder)
{
    home_ = dir_.filePath(name);
    config_ = home_ + QStringLiteral("/.kde/share/config/kpowersaverc");
    QVERIFY(QDir().mkpath(withFolder ? home_ + QStringLiteral("/.kde/share/config") : home_));
    if (withFolder)
        FakeHost::WriteFile(home_ + QStringLiteral("/.kde/share/config/kdesktoprc"), "[ScreenSaver]\n");
    host_.environment.insert(QStringLiteral("HOME"), home_);
}

void ResumeFormTest::Show()
{
    host_.log.clear();
    const int handled = ShowHandlersRun(form_.get());
    form_->show();
    QTRY_VERIFY(ShowHandlersRun(form_.get()) > handled);
    host_.log.clear();
}

void ResumeFormTest::layout()
{
    QCOMPARE(form_->objectName(), QStringLiteral("ResumeForm1"));
    QCOMPARE(form_->windowTitle(), QStringLiteral("Enable resume password"));
    QCOMPARE(form_->minimumSize(), QSize(410, 164));
    QCOMPARE(form_->maximumSize(), QSize(410, 164));
    QCOMPARE(Box()->text(), QStringLiteral("Lock screen &before suspend or standby"));
    QCOMPARE(Box()->font().pixelSize(), 13);
    QCOMPARE(form_->font().pixelSize(), 16);
    QCOMPARE(form_->findChild<QPushButton*>(QStringLiteral("ButtonOK"))->font().pixelSize(), 12);

    Show();
    QVERIFY(QTest::qWaitForWindowActive(form_.get()));
    auto* ok = form_->findChild<QPushButton*>(QStringLiteral("ButtonOK"));
    QCOMPARE(form_->focusWidget(), ok);
    QStringList order;
    for (QWidget* w = ok; order.size() < 3; w = w->nextInFocusChain()) {
        if (w->focusPolicy() & Qt::TabFocus)
            order.append(w->objectName());
    }
    QCOMPARE(order, (QStringList{"ButtonOK", "ButtonCancel", "EnableLock"}));
}

void ResumeFormTest::showReadsTheKey_data()
{
    QTest::addColumn<QString>("home");
    QTest::addColumn<QByteArray>("content"); // null: no file
    QTest::addColumn<bool>("ticked");

    QTest::newRow("key false") << "lapstone" << QByteArray("[General]\nlockOnSuspend=false\n") << false;
    QTest::newRow("key true") << "lapstone" << QByteArray("[General]\nlockOnSuspend=true\n") << true;
    QTest::newRow("no key") << "lapstone" << QByteArray("[General]\nAlreadyStarted=true\n") << true;
    QTest::newRow("commented-out key first")
        << "lapstone" << QByteArray("[General]\n#lockOnSuspend=false\nlockOnSuspend=false\n") << true;
    QTest::newRow("no file") << "lapstone" << QByteArray() << true;
    QTest::newRow("home with blanks, key false")
        << "Jo  Doe's home" << QByteArray("[General]\nlockOnSuspend=false\n") << false;
}

void ResumeFormTest::showReadsTheKey()
{
    QFETCH(QString, home);
    QFETCH(QByteArray, content);
    QFETCH(bool, ticked);

    MakeHome(home);
    if (!content.isNull())
        FakeHost::WriteFile(config_, content);
    Box()->setChecked(!ticked);
    const int handled = ShowHandlersRun(form_.get());
    form_->show();
    QTRY_VERIFY(ShowHandlersRun(form_.get()) > handled);
    QCOMPARE(Box()->isChecked(), ticked);

    if (content.isNull()) {
        QVERIFY(host_.log.isEmpty());
    } else {
        QCOMPARE(host_.log, (QStringList{QStringLiteral("shell: cat ") + ShellWord(config_) +
                                             QStringLiteral(" | grep lockOnSuspend=false > /tmp/kpowersave"),
                                         QStringLiteral("shell: rm /tmp/kpowersave")}));
        QCOMPARE(ReadAll(config_), content);
    }
    QVERIFY(!QFile::exists(Capture));
}

void ResumeFormTest::okWritesTheSetting_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("ticked");
    QTest::addColumn<QByteArray>("expected");
    QTest::addColumn<QString>("edit"); // the sed command run on the file, or empty

    const QString remove = QStringLiteral("sed '/^lockOnSuspend=false/ d'");
    const QString change = QStringLiteral("sed /^lockOnSuspend/c\\lockOnSuspend=false");
    const QString add = QStringLiteral("sed /General/a\\lockOnSuspend=false");
    const QByteArray other = "[Battery]\nwarning=10\n";

    QTest::newRow("ticked removes the false line, keeps the rest")
        << QByteArray("[General]\nAlreadyStarted=true\nlockOnSuspend=false\n" + other) << true
        << QByteArray("[General]\nAlreadyStarted=true\n" + other) << remove;
    QTest::newRow("ticked keeps a true line") << QByteArray("[General]\nlockOnSuspend=true\n") << true
                                              << QByteArray("[General]\nlockOnSuspend=true\n") << remove;
    QTest::newRow("clear turns true into false")
        << QByteArray("[General]\nlockOnSuspend=true\n" + other) << false
        << QByteArray("[General]\nlockOnSuspend=false\n" + other) << change;
    QTest::newRow("clear keeps a false line") << QByteArray("[General]\nlockOnSuspend=false\n") << false
                                              << QByteArray("[General]\nlockOnSuspend=false\n") << change;
    QTest::newRow("clear adds the key after the group")
        << QByteArray("[General]\nAlreadyStarted=true\n" + other) << false
        << QByteArray("[General]\nlockOnSuspend=false\nAlreadyStarted=true\n" + other) << add;
    QTest::newRow("clear beside a commented-out key adds the key")
        << QByteArray("[General]\n#lockOnSuspend=false\n") << false
        << QByteArray("[General]\nlockOnSuspend=false\n#lockOnSuspend=false\n") << add;
    QTest::newRow("ticked leaves a commented-out key")
        << QByteArray("[General]\n#lockOnSuspend=false\n") << true
        << QByteArray("[General]\n#lockOnSuspend=false\n") << remove;
    QTest::newRow("clear without group or key adds both at the end")
        << other << false << QByteArray(other + "[General]\nlockOnSuspend=false\n")
        << QStringLiteral("sed -e '$a\\[General]' -e '$a\\lockOnSuspend=false'");
    QTest::newRow("clear on an empty file writes group and key")
        << QByteArray("") << false << QByteArray("[General]\nlockOnSuspend=false\n") << QString();
}

void ResumeFormTest::okWritesTheSetting()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, ticked);
    QFETCH(QByteArray, expected);
    QFETCH(QString, edit);

    for (const QString& home : {QStringLiteral("lapstone"), QStringLiteral("Jo Doe")}) {
        MakeHome(home);
        FakeHost::WriteFile(config_, content);
        Show();
        Box()->setChecked(ticked);
        Click("ButtonOK");

        QCOMPARE(ReadAll(config_), expected);
        const QString file = ShellWord(config_);
        QStringList commands;
        if (!ticked)
            commands.append(QStringLiteral("system: cat ") + file +
                            QStringLiteral(" | grep lockOnSuspend > ") + Capture);
        if (!edit.isEmpty()) {
            commands.append(QStringLiteral("system: ") + edit + QLatin1Char(' ') + file +
                            QStringLiteral(" > /tmp/kpowersaverc"));
            commands.append(QStringLiteral("system: mv /tmp/kpowersaverc ") + file);
        }
        if (!ticked) {
            if (edit.isEmpty())
                commands.append({QStringLiteral("system: echo \"[General]\" >> ") + file,
                                 QStringLiteral("system: echo lockOnSuspend=false >> ") + file});
            commands.append(QStringLiteral("system: rm ") + Capture);
        }
        commands.append(Notify);
        QCOMPARE(host_.log, commands);
        QVERIFY(!form_->isVisible());
        QVERIFY(!QFile::exists(Capture));
        QVERIFY(!QFile::exists(FakeHost::Real(QStringLiteral("/tmp/kpowersaverc"))));
    }
}

void ResumeFormTest::okCreatesAMissingFile_data()
{
    QTest::addColumn<QString>("home");
    QTest::addColumn<bool>("ticked");
    QTest::addColumn<QString>("homeReference");
    QTest::addColumn<QString>("folder"); // "there", "missing" (KDE 3 by its dcop), "blocked" by a file
    QTest::addColumn<QByteArray>("expected");

    const QByteArray clear("[General]\nAlreadyStarted=true\nlockOnSuspend=false\n");
    QTest::newRow("ticked") << "lapstone" << true << "$HOME"
                            << "there" << QByteArray("[General]\nAlreadyStarted=true\n");
    QTest::newRow("clear") << "lapstone" << false << "$HOME"
                           << "there" << clear;
    QTest::newRow("clear, home with a blank") << "Jo Doe" << false << "\"$HOME\""
                                              << "there" << clear;
    QTest::newRow("folder made") << "bare" << false << "$HOME"
                                 << "missing" << clear;
    QTest::newRow("folder cannot be made") << "bare" << false << "$HOME"
                                           << "blocked" << QByteArray("<missing>");
}

void ResumeFormTest::okCreatesAMissingFile()
{
    QFETCH(QString, home);
    QFETCH(bool, ticked);
    QFETCH(QString, homeReference);
    QFETCH(QString, folder);
    QFETCH(QByteArray, expected);

    MakeHome(home, folder == QLatin1String("there"));
    host_.Whereis(QStringLiteral("dcop"), true);
    if (folder == QLatin1String("blocked"))
        FakeHost::WriteFile(home_ + QStringLiteral("/.kde"), "");
    Show();
    QVERIFY(Box()->isChecked());
    Box()->setChecked(ticked);
    Click("ButtonOK");

    const QString file = homeReference + QStringLiteral("/.kde/share/config/kpowersaverc");
    QStringList lines{QStringLiteral("system: echo \"[General]\" >> ") + file,
                      QStringLiteral("system: echo AlreadyStarted=true >> ") + file};
    if (!ticked)
        lines.append(QStringLiteral("system: echo lockOnSuspend=false >> ") + file);
    // Without the folder the lines write nothing: it is made, and they run again.
    QStringList commands = lines;
    if (folder != QLatin1String("there"))
        commands << QStringLiteral("system: mkdir -p ") + homeReference + QStringLiteral("/.kde/share/config")
                 << lines;
    const bool blocked = folder == QLatin1String("blocked");
    commands.append(blocked ? QStringLiteral("error: The setting could not be saved: ") + config_ +
                                  QStringLiteral(" could not be written.")
                            : Notify);
    QCOMPARE(host_.log, commands);
    QCOMPARE(ReadAll(config_), expected);
    QCOMPARE(form_->isVisible(), blocked);
}

void ResumeFormTest::cancelRestoresTheLastShowing()
{
    const QByteArray content = "[General]\nlockOnSuspend=false\n";
    FakeHost::WriteFile(config_, content);
    Show();
    QVERIFY(!Box()->isChecked());
    Box()->setChecked(true);
    Click("ButtonCancel");
    QVERIFY(!Box()->isChecked());
    QVERIFY(host_.log.isEmpty());
    QCOMPARE(ReadAll(config_), content);
    QVERIFY(!form_->isVisible());

    // The next showing may find a different file; Cancel goes back to that one.
    FakeHost::WriteFile(config_, "[General]\n");
    Show();
    QVERIFY(Box()->isChecked());
    Box()->setChecked(false);
    Click("ButtonCancel");
    QVERIFY(Box()->isChecked());
    QVERIFY(host_.log.isEmpty());
}

void ResumeFormTest::unreadLockIsLeftAlone()
{
    // Neither KDE 3's files nor a desktop that keeps the lock: the box shows neither state, cannot be
    // changed, and OK writes nothing.
    MakeHome(QStringLiteral("today"), false);
    host_.environment.insert(QStringLiteral("XDG_CURRENT_DESKTOP"), QStringLiteral("XFCE"));
    form_->show();
    QTRY_COMPARE(Box()->checkState(), Qt::PartiallyChecked);
    QVERIFY(!Box()->isEnabled());
    QVERIFY(!Box()->accessibleDescription().isEmpty());
    host_.log.clear();
    Click("ButtonOK");
    QVERIFY(host_.log.isEmpty());
    QVERIFY(!form_->isVisible());
}

QTEST_MAIN(ResumeFormTest)
#include "ResumeFormTest.moc"
