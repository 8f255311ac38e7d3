// The security information dialog through the host seam: the screen saver query, the three BIOS
// password queries with their independent outcomes, the tool launches and the closing. Runs in a
// private /tmp.
#include "dialogs/SecureForm.h"
#include "areas/Areas.h"
#include "machine/Constants.h"
#include "machine/Host.h"
#include "machine/PrivilegedClient.h"
#include "tests/support/FakeHost.h"
#include "widgets/FormEvents.h"

#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <memory>

using namespace Ucomtc;

namespace {

const QString Capture = QStringLiteral("/tmp/dmidecode");
const QString LockQuery =
    QStringLiteral("cat $HOME/.kde/share/config/kdesktoprc | grep Lock >/tmp/dmidecode");
const QString PowerOnQuery =
    QStringLiteral("/usr/sbin/dmidecode | grep Power-On | gawk '{print $4}' >/tmp/dmidecode");
const QString AdminQuery =
    QStringLiteral("/usr/sbin/dmidecode | grep Administrator | gawk '{print $4}' >/tmp/dmidecode");
const QString HardDiskQuery =
    QStringLiteral("/usr/sbin/dmidecode | grep 84 |  grep 07 | gawk '{print $6}' > /tmp/dmidecode");
const QString Remove = QStringLiteral("rm /tmp/dmidecode");
const QString Kdesktoprc = QStringLiteral("/home/lapstone/.kde/share/config/kdesktoprc");

} // namespace

class SecureFormTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void layout();
    void showReadsLockAndPasswords_data();
    void showReadsLockAndPasswords();
    void refusedQueriesLeaveTheirLabelsOnly();
    void unreachableDaemonIsReportedForEachQuery();
    void rootQueriesWithoutTheDaemon();
    void missingDmidecodeStopsAfterTheLock();
    void lockFromTodaysDesktop_data();
    void lockFromTodaysDesktop();
    void statesNeverReadAreUnknown_data();
    void statesNeverReadAreUnknown();
    void unreadableCaptureEndsTheShow();
    void passwordToolsStartAndClose_data();
    void passwordToolsStartAndClose();
    void screenSaverButtonComesBackOnReopening();
    void resumeOpensOnTopAndHelpKeepsItOpen();

private:
    // Shows the dialog with these answers and waits until its show handler has run.
    void Show(FakeHost& host);
    // Makes `command` leave `output` in the capture file.
    static void Answer(FakeHost& host, const QString& command, const QByteArray& output);
    QString Text(const char* label) const { return form_->findChild<QLabel*>(QLatin1String(label))->text(); }
    QPushButton* Button(const char* name) const
    {
        return form_->findChild<QPushButton*>(QLatin1String(name));
    }

    FakeHost host_;
    std::unique_ptr<ScopedHost> scope_;
    Ucomtc::MachineAreas machine_;
    std::unique_ptr<TSecureForm1> form_;
};

void SecureFormTest::init()
{
    cleanup();
    host_ = FakeHost();
    host_.environment.insert(QStringLiteral("HOME"), QStringLiteral("/home/lapstone"));
    // The KDE 3 desktop's configuration is there, unless a test says otherwise.
    host_.files.insert(Kdesktoprc, true);
    form_ = std::make_unique<TSecureForm1>(machine_.areas().locks, machine_.areas().system,
                                           machine_.areas().handOvers);
}

void SecureFormTest::cleanup()
{
    form_.reset();
    scope_.reset();
    QFile::remove(Capture);
}

void SecureFormTest::Answer(FakeHost& host, const QString& command, const QByteArray& output)
{
    host.answers.insert(command, [output] {
        FakeHost::WriteFile(Capture, output);
        return 0;
    });
}

void SecureFormTest::Show(FakeHost& host)
{
    scope_.reset(); // a scope restores the host it found, so the old one goes first
    scope_ = std::make_unique<ScopedHost>(host);
    host.log.clear();
    const int handled = ShowHandlersRun(form_.get());
    form_->show();
    QTRY_VERIFY(ShowHandlersRun(form_.get()) > handled);
}

void SecureFormTest::layout()
{
    QCOMPARE(form_->objectName(), QStringLiteral("SecureForm1"));
    QCOMPARE(form_->windowTitle(), QStringLiteral("Security Information"));
    QCOMPARE(form_->minimumSize(), QSize(410, 350));
    QCOMPARE(form_->maximumSize(), QSize(410, 350));
    QCOMPARE(form_->font().pixelSize(), 12);
    QCOMPARE(form_->font().family(), QStringLiteral("serif"));
    QVERIFY(!form_->windowIcon().isNull());
    // Trailing blanks are part of the row captions.
    const std::pair<const char*, const char*> captions[] = {
        {"Labellinux", "Linux "},    {"LabelScreen", "Screen saver"},  {"LabelResume", "Resume"},
        {"LabelPower", "Power-on "}, {"LabelHarddisk", "Hard-disk  "}, {"LabelAdmin", "Administrator   "},
        {"LabelPwpwd", "Unknown"},   {"LabelHdpwd", "Unknown"},        {"LabelAdminpwd", "Unknown"},
    };
    for (const auto& [name, caption] : captions)
        QCOMPARE(Text(name), QString::fromLatin1(caption));
    QCOMPARE(Button("ButtonUsrPwd")->text(), QStringLiteral("Change password ..."));
    QCOMPARE(Button("ButtonScrnPwd")->text(), QStringLiteral("Enable password ..."));
    QCOMPARE(Button("ButtonResume")->text(), QStringLiteral("Password setting ..."));
    QCOMPARE(form_->findChild<QLabel*>(QStringLiteral("Label9"))->font().pixelSize(), 16);

    // Opened, it has ButtonUsrPwd focused and the tab order runs down the Linux group, then along
    // the bottom row.
    scope_ = std::make_unique<ScopedHost>(host_);
    host_.Whereis(QStringLiteral("dmidecode"), false);
    form_->show();
    QVERIFY(QTest::qWaitForWindowActive(form_.get()));
    QCOMPARE(form_->focusWidget(), Button("ButtonUsrPwd"));
    QStringList order;
    for (QWidget* w = Button("ButtonUsrPwd"); order.size() < 6; w = w->nextInFocusChain()) {
        if (w->focusPolicy() & Qt::TabFocus)
            order.append(w->objectName());
    }
    QCOMPARE(order, (QStringList{"ButtonUsrPwd", "ButtonScrnPwd", "ButtonResume", "ButtonOK", "ButtonCancel",
                                 "ButtonHelp"}));
}

void SecureFormTest::showReadsLockAndPasswords_data()
{
    QTest::addColumn<QByteArray>("lockLines"); // what grep Lock finds in kdesktoprc
    QTest::addColumn<QByteArray>("powerOn");
    QTest::addColumn<QByteArray>("admin");
    QTest::addColumn<QByteArray>("hardDisk");
    QTest::addColumn<bool>("screenButton");
    QTest::addColumn<QString>("power");
    QTest::addColumn<QString>("administrator");
    QTest::addColumn<QString>("disk");

    QTest::newRow("lock on, D9") << QByteArray("Lock=true\n") << QByteArray("Enabled\n")
                                 << QByteArray("Disabled\n") << QByteArray("D9\n") << false << "Enabled"
                                 << "Disabled"
                                 << "Enabled";
    QTest::newRow("only the first Lock line counts, DA")
        << QByteArray("Lock=false\nLock=true\n") << QByteArray("Disabled\n") << QByteArray("Enabled\n")
        << QByteArray("DA\n") << true << "Disabled"
        << "Enabled"
        << "Enabled";
    QTest::newRow("Lock=true inside a longer line, long fourth field")
        << QByteArray("ScreenLock=trueish\n") << QByteArray("Unsupported-state\n")
        << QByteArray("NotInstalled\n") << QByteArray("D9 00\n") << false << "Unsuppor"
        << "NotInsta"
        << "Enabled";
    QTest::newRow("no Lock line, leading blank on the disk line")
        << QByteArray() << QByteArray("Enabled\n") << QByteArray("Enabled\n") << QByteArray(" D9\n") << true
        << "Enabled"
        << "Enabled"
        << " ";
    QTest::newRow("lower case and other bytes are not set")
        << QByteArray("lock=true\n") << QByteArray("Enabled") << QByteArray("Enabled") << QByteArray("d9\n")
        << true << "Enabled"
        << "Enabled"
        << "Disabled";
    QTest::newRow("other byte") << QByteArray("Lock=true") << QByteArray("E\n") << QByteArray("X\n")
                                << QByteArray("DB\n") << false << "E"
                                << "X"
                                << "Disabled";
    QTest::newRow("dmidecode reports nothing")
        << QByteArray() << QByteArray() << QByteArray() << QByteArray() << true << "Unknown"
        << "Unknown"
        << "Unknown";
}

void SecureFormTest::showReadsLockAndPasswords()
{
    QFETCH(QByteArray, lockLines);
    QFETCH(QByteArray, powerOn);
    QFETCH(QByteArray, admin);
    QFETCH(QByteArray, hardDisk);
    QFETCH(bool, screenButton);
    QFETCH(QString, power);
    QFETCH(QString, administrator);
    QFETCH(QString, disk);

    host_.Whereis(QStringLiteral("dmidecode"), true);
    Answer(host_, LockQuery, lockLines);
    Answer(host_, PowerOnQuery, powerOn);
    Answer(host_, AdminQuery, admin);
    Answer(host_, HardDiskQuery, hardDisk);
    Show(host_);

    QCOMPARE(host_.log, (QStringList{
                            QStringLiteral("shell: ") + LockQuery,
                            QStringLiteral("shell: ") + Remove,
                            QStringLiteral("system: whereis dmidecode >/tmp/command"),
                            QStringLiteral("system: rm /tmp/command"),
                            QStringLiteral("privileged: ") + PowerOnQuery,
                            QStringLiteral("privileged: ") + Remove,
                            QStringLiteral("privileged: ") + AdminQuery,
                            QStringLiteral("privileged: ") + Remove,
                            QStringLiteral("privileged: ") + HardDiskQuery,
                            QStringLiteral("privileged: ") + Remove,
                        }));
    QCOMPARE(Button("ButtonScrnPwd")->isEnabled(), screenButton);
    QCOMPARE(Text("LabelPwpwd"), power);
    QCOMPARE(Text("LabelAdminpwd"), administrator);
    QCOMPARE(Text("LabelHdpwd"), disk);
    QVERIFY(!QFile::exists(Capture));
    QVERIFY(form_->isVisible());
}

void SecureFormTest::refusedQueriesLeaveTheirLabelsOnly()
{
    // A first showing sets every label; in the second the daemon refuses the power-on and the
    // hard-disk queries, which keep what the first showing found, while the administrator's runs.
    host_.Whereis(QStringLiteral("dmidecode"), true);
    Answer(host_, LockQuery, "Lock=true\n");
    Answer(host_, PowerOnQuery, "Enabled\n");
    Answer(host_, AdminQuery, "Enabled\n");
    Answer(host_, HardDiskQuery, "DA\n");
    Show(host_);
    form_->hide();

    host_.privilegedResults.insert(PowerOnQuery, false);
    host_.privilegedResults.insert(HardDiskQuery, false);
    Answer(host_, AdminQuery, "Disabled\n");
    host_.log.clear();
    const int handled = ShowHandlersRun(form_.get());
    form_->show();
    QTRY_VERIFY(ShowHandlersRun(form_.get()) > handled);
    QCOMPARE(host_.Entries(QStringLiteral("privileged: ")),
             (QStringList{PowerOnQuery, AdminQuery, Remove, HardDiskQuery}));
    QCOMPARE(Text("LabelPwpwd"), QStringLiteral("Enabled"));
    QCOMPARE(Text("LabelAdminpwd"), QStringLiteral("Disabled"));
    QCOMPARE(Text("LabelHdpwd"), QStringLiteral("Enabled"));
}

void SecureFormTest::unreachableDaemonIsReportedForEachQuery()
{
    FakeHost host;
    host.daemonUp = false;
    host.environment = host_.environment;
    host.files = host_.files;
    host.Whereis(QStringLiteral("dmidecode"), true);
    Answer(host, LockQuery, "Lock=true\n");
    Show(host);

    const QString message = QStringLiteral("plain: ") + QString::fromLatin1(MsgDaemonNotStarted);
    QCOMPARE(host.log.mid(4),
             (QStringList{QStringLiteral("privileged: ") + PowerOnQuery,
                          QStringLiteral("privileged: ") + AdminQuery,
                          QStringLiteral("privileged: ") + HardDiskQuery, message, message, message}));
    for (const char* label : {"LabelPwpwd", "LabelAdminpwd", "LabelHdpwd"})
        QCOMPARE(Text(label), QStringLiteral("Unknown"));
    QVERIFY(!Button("ButtonScrnPwd")->isEnabled());
}

void SecureFormTest::rootQueriesWithoutTheDaemon()
{
    host_.uid = 0;
    host_.Whereis(QStringLiteral("dmidecode"), true);
    Answer(host_, LockQuery, "");
    Answer(host_, PowerOnQuery, "Enabled\n");
    Answer(host_, AdminQuery, "Enabled\n");
    Answer(host_, HardDiskQuery, "D9\n");
    Show(host_);

    QVERIFY(host_.Entries(QStringLiteral("privileged: ")).isEmpty());
    QCOMPARE(host_.Entries(QStringLiteral("system: ")).mid(2),
             (QStringList{PowerOnQuery, Remove, AdminQuery, Remove, HardDiskQuery, Remove}));
    QCOMPARE(Text("LabelPwpwd"), QStringLiteral("Enabled"));
    QCOMPARE(Text("LabelHdpwd"), QStringLiteral("Enabled"));
}

void SecureFormTest::missingDmidecodeStopsAfterTheLock()
{
    host_.Whereis(QStringLiteral("dmidecode"), false);
    Answer(host_, LockQuery, "Lock=true\n");
    Show(host_);
    QCOMPARE(host_.log.last(), QStringLiteral("error: command dmidecode not found"));
    QVERIFY(host_.Entries(QStringLiteral("privileged: ")).isEmpty());
    QVERIFY(!Button("ButtonScrnPwd")->isEnabled());
    QCOMPARE(Text("LabelPwpwd"), QStringLiteral("Unknown"));
}

void SecureFormTest::lockFromTodaysDesktop_data()
{
    QTest::addColumn<QString>("desktop"); // XDG_CURRENT_DESKTOP
    QTest::addColumn<QString>("tool");    // the kreadconfig installed
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<QStringList>("asked");
    QTest::addColumn<bool>("screenButton");

    const QString plasma = QStringLiteral(
        " --file kscreenlockerrc --group Daemon --key Autolock --default true 2>/dev/null > /tmp/dmidecode");
    // No KDE 3 files and no dcop: today's desktop.
    const QStringList dcop{"whereis dcop >/tmp/command", "rm /tmp/command"};
    const QStringList whereis5 = dcop + QStringList{"whereis kreadconfig5 >/tmp/command", "rm /tmp/command"};
    QTest::newRow("Plasma locks") << "KDE"
                                  << "kreadconfig5" << QByteArray("true\n")
                                  << whereis5 + QStringList{"kreadconfig5" + plasma, Remove} << false;
    QTest::newRow("Plasma 6 does not lock")
        << "KDE"
        << "kreadconfig6" << QByteArray("false\n")
        << whereis5 + QStringList{"whereis kreadconfig6 >/tmp/command", "rm /tmp/command",
                                  "kreadconfig6" + plasma, Remove}
        << true;
    QTest::newRow("GNOME locks") << "ubuntu:GNOME" << QString() << QByteArray("true\n")
                                 << dcop +
                                        QStringList{
                                            "gsettings get org.gnome.desktop.screensaver lock-enabled "
                                            "2>/dev/null > /tmp/dmidecode",
                                            Remove}
                                 << false;
    QTest::newRow("another desktop") << "XFCE" << QString() << QByteArray() << dcop << true;
}

void SecureFormTest::lockFromTodaysDesktop()
{
    QFETCH(QString, desktop);
    QFETCH(QString, tool);
    QFETCH(QByteArray, answer);
    QFETCH(QStringList, asked);
    QFETCH(bool, screenButton);
    host_.files.remove(Kdesktoprc);
    host_.environment.insert(QStringLiteral("XDG_CURRENT_DESKTOP"), desktop);
    for (const char* each : {"kreadconfig5", "kreadconfig6", "dcop"})
        host_.Whereis(QLatin1String(each), tool == QLatin1String(each));
    host_.Whereis(QStringLiteral("dmidecode"), false);
    for (const QString& line : asked) {
        if (!line.startsWith(QLatin1String("whereis")) && line != Remove &&
            !line.startsWith(QLatin1String("rm ")))
            Answer(host_, line, answer);
    }
    Show(host_);

    QCOMPARE(host_.Entries(QStringLiteral("system: ")).mid(0, asked.size()), asked);
    QCOMPARE(Button("ButtonScrnPwd")->isEnabled(), screenButton);
    // Unread, the button stays usable and says why.
    const bool known = !answer.isEmpty();
    QCOMPARE(Button("ButtonScrnPwd")->accessibleDescription().contains(QLatin1String("unknown")), !known);
}

void SecureFormTest::statesNeverReadAreUnknown_data()
{
    QTest::addColumn<QString>("failure");
    QTest::newRow("daemon stopped") << "daemon stopped";
    QTest::newRow("queries refused") << "refused";
    QTest::newRow("no dmidecode") << "no dmidecode";
}

void SecureFormTest::statesNeverReadAreUnknown()
{
    QFETCH(QString, failure);
    FakeHost stopped;
    stopped.daemonUp = false;
    FakeHost failing;
    FakeHost& host = failure == QLatin1String("daemon stopped") ? stopped : failing;
    for (FakeHost* each : {&host, &host_}) {
        each->environment = host_.environment;
        each->files = host_.files;
        each->Whereis(QStringLiteral("dmidecode"),
                      each == &host_ || failure != QLatin1String("no dmidecode"));
        Answer(*each, LockQuery, "");
    }
    for (const QString& query : {PowerOnQuery, AdminQuery, HardDiskQuery})
        failing.privilegedResults.insert(query, failure != QLatin1String("refused"));

    // Nothing read yet: the dialog does not claim that no password is set.
    Show(host);
    const char* const labels[] = {"LabelPwpwd", "LabelAdminpwd", "LabelHdpwd"};
    for (const char* label : labels)
        QCOMPARE(Text(label), QStringLiteral("Unknown"));
    form_->hide();

    Answer(host_, PowerOnQuery, "Enabled\n");
    Answer(host_, AdminQuery, "Disabled\n");
    Answer(host_, HardDiskQuery, "D9\n");
    Show(host_);
    form_->hide();
    const QStringList read = {Text("LabelPwpwd"), Text("LabelAdminpwd"), Text("LabelHdpwd")};
    QCOMPARE(read,
             (QStringList{QStringLiteral("Enabled"), QStringLiteral("Disabled"), QStringLiteral("Enabled")}));

    // What was read stays when the next showing cannot read it.
    Show(host);
    QCOMPARE((QStringList{Text("LabelPwpwd"), Text("LabelAdminpwd"), Text("LabelHdpwd")}), read);
}

void SecureFormTest::unreadableCaptureEndsTheShow()
{
    // The daemon says it ran the power-on query, but no capture file is there to read.
    host_.Whereis(QStringLiteral("dmidecode"), true);
    Answer(host_, LockQuery, "");
    Show(host_);
    QCOMPARE(host_.log.size(), 6);
    QCOMPARE(host_.log.value(4), QStringLiteral("privileged: ") + PowerOnQuery);
    QVERIFY(host_.log.value(5).startsWith(QStringLiteral("report: /tmp/dmidecode")));
    QVERIFY(form_->isVisible());
}

void SecureFormTest::passwordToolsStartAndClose_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<bool>("known");
    QTest::addColumn<bool>("yastFile");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<bool>("screenButton"); // enabled afterwards

    const QString askYast = QStringLiteral("system: whereis yast2 >/tmp/command");
    const QString askKcmshell = QStringLiteral("system: whereis kcmshell >/tmp/command");
    const QString rmCommand = QStringLiteral("system: rm /tmp/command");
    const QString yastMissing =
        QStringLiteral("error: command yast is not found or no /sbin/yast2 file or directory");
    QTest::newRow("users module") << "ButtonUsrPwd" << true << true
                                  << QStringList{askYast, rmCommand, "system: kdesu -c /sbin/yast2 users &"}
                                  << true;
    QTest::newRow("yast2 known, no /sbin/yast2")
        << "ButtonUsrPwd" << true << false << QStringList{askYast, rmCommand, yastMissing} << true;
    QTest::newRow("no yast2") << "ButtonUsrPwd" << false << true
                              << QStringList{askYast, rmCommand, yastMissing} << true;
    QTest::newRow("screen saver module")
        << "ButtonScrnPwd" << true << false
        << QStringList{askKcmshell, rmCommand, "system: kcmshell screensaver &"} << false;
    QTest::newRow("no kcmshell") << "ButtonScrnPwd" << false << false
                                 << QStringList{askKcmshell, rmCommand, "error: command kcmshell not found"}
                                 << true;
    QTest::newRow("OK") << "ButtonOK" << true << true << QStringList{} << true;
    QTest::newRow("Cancel") << "ButtonCancel" << true << true << QStringList{} << true;
}

void SecureFormTest::passwordToolsStartAndClose()
{
    QFETCH(QString, button);
    QFETCH(bool, known);
    QFETCH(bool, yastFile);
    QFETCH(QStringList, expected);
    QFETCH(bool, screenButton);

    host_.Whereis(QStringLiteral("dmidecode"), false);
    Answer(host_, LockQuery, "");
    Show(host_);
    host_.log.clear();
    host_.fileTests.clear();
    host_.Whereis(QStringLiteral("yast2"), known);
    host_.Whereis(QStringLiteral("kcmshell"), known);
    host_.files.insert(QStringLiteral("/sbin/yast2"), yastFile);

    QTest::mouseClick(form_->findChild<QPushButton*>(button), Qt::LeftButton);
    QCOMPARE(host_.log, expected);
    QVERIFY(!form_->isVisible());
    QCOMPARE(Button("ButtonScrnPwd")->isEnabled(), screenButton);
    // /sbin/yast2 is looked at only once whereis has found yast2.
    QCOMPARE(host_.fileTests.contains(QStringLiteral("/sbin/yast2")), button == "ButtonUsrPwd" && known);
}

void SecureFormTest::screenSaverButtonComesBackOnReopening()
{
    host_.Whereis(QStringLiteral("dmidecode"), false);
    host_.Whereis(QStringLiteral("kcmshell"), true);
    Answer(host_, LockQuery, "");
    Show(host_);
    QTest::mouseClick(Button("ButtonScrnPwd"), Qt::LeftButton);
    QVERIFY(!Button("ButtonScrnPwd")->isEnabled());

    Show(host_);
    QVERIFY(Button("ButtonScrnPwd")->isEnabled());
    form_->hide();

    // Meanwhile the lock was switched on: it stays disabled.
    Answer(host_, LockQuery, "Lock=true\n");
    Show(host_);
    QVERIFY(!Button("ButtonScrnPwd")->isEnabled());
}

void SecureFormTest::resumeOpensOnTopAndHelpKeepsItOpen()
{
    host_.Whereis(QStringLiteral("dmidecode"), false);
    Answer(host_, LockQuery, "");
    Show(host_);
    host_.log.clear();

    QDialog resume;
    form_->UseResumeForm(&resume);
    bool wasModalOverUs = false;
    QTimer::singleShot(0, &resume, [&] {
        wasModalOverUs = resume.isVisible() && resume.isModal() && form_->isVisible();
        resume.reject();
    });
    QTest::mouseClick(Button("ButtonResume"), Qt::LeftButton);
    QVERIFY(wasModalOverUs);
    QVERIFY(form_->isVisible());
    QVERIFY(host_.log.isEmpty());

    host_.InstallProgram(QStringLiteral("firefox"));
    QTest::mouseClick(Button("ButtonHelp"), Qt::LeftButton);
    QCOMPARE(host_.log,
             QStringList{QStringLiteral(
                 "system: firefox -width 800 -height 600 /opt/lapstone/vc/help/html/QRVSecI.HTM &")});
    QVERIFY(form_->isVisible());
}

QTEST_MAIN(SecureFormTest)
#include "SecureFormTest.moc"
