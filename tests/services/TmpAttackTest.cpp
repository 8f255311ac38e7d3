// A second local user (uid 1001) turns the fixed /tmp names against the program, run as root or as
// another user (uid 1000): links, hard links, FIFOs and files of theirs, planted before the command
// and re-planted in a loop while it runs. Real shell, sed and mv, in a private /tmp; the kernel's
// protected_* settings are left as they are (0 here).
#include "areas/handovers/Constants.h"
#include "areas/handovers/HandOvers.h"
#include "areas/system/Constants.h"
#include "machine/Capture.h"
#include "machine/Constants.h"
#include "machine/LibcHost.h"
#include "machine/PrivilegedClient.h"
#include "machine/Run.h"
#include "tests/support/Shown.h"
#include "widgets/DesktopPalette.h"
#include "widgets/MessageBox.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <fcntl.h>
#include <functional>
#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace Ucomtc;

namespace {

constexpr uid_t Victim = 1000;
constexpr uid_t Attacker = 1001;

// Runs every command for real and writes down the message boxes instead of showing them.
class RecordingHost : public LibcHost
{
public:
    QStringList messages;

private:
    ScopedMessageSink sink_{[this](const Message& message) { messages.append(message.text); }};
};

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

void WriteAll(const QString& path, const QByteArray& content, mode_t mode = 0644)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(content) != content.size())
        qFatal("cannot write %s", qPrintable(path));
    file.close();
    ::chmod(QFile::encodeName(path).constData(), mode);
}

struct stat Stat(const QString& path)
{
    struct stat info = {};
    if (::lstat(QFile::encodeName(path).constData(), &info) != 0)
        info.st_ino = 0;
    return info;
}

void BecomeUser(uid_t uid)
{
    if (::setgroups(0, nullptr) != 0 || ::setresgid(uid, uid, uid) != 0 || ::setresuid(uid, uid, uid) != 0)
        _exit(250);
}

// `body` in a child of user `uid` (root stays root), ended after ten seconds so that a hang shows
// as a failure. Returns the body's result, 251 for a hang, -1 when the child did not run.
int RunAs(uid_t uid, const std::function<int()>& body)
{
    const pid_t child = ::fork();
    if (child < 0)
        return -1;
    if (child == 0) {
        ::alarm(10);
        if (uid != 0)
            BecomeUser(uid);
        _exit(body() & 0xff);
    }
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (WIFSIGNALED(status) && WTERMSIG(status) == SIGALRM)
        return 251;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The attacker's loop: plants again and again until the test ends it.
class Planter
{
public:
    Planter(const std::function<void()>& plant)
    {
        pid_ = ::fork();
        if (pid_ == 0) {
            BecomeUser(Attacker);
            for (;;)
                plant();
        }
    }
    ~Planter()
    {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
    }

private:
    pid_t pid_;
};

// What the attacker puts at a name. Run as the attacker; a name already taken is left as it is.
enum class Plant
{
    WritableFile,
    Link,
    HardLink,
    Fifo,
    Directory,
};

void PlantAt(Plant plant, const QByteArray& name, const QByteArray& linkTarget)
{
    switch (plant) {
    case Plant::WritableFile: {
        const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL, 0666);
        if (fd >= 0) {
            ::fchmod(fd, 0666);
            ::close(fd);
        }
        break;
    }
    case Plant::Link:
        ::symlink(linkTarget.constData(), name.constData());
        break;
    case Plant::HardLink:
        ::link(linkTarget.constData(), name.constData());
        break;
    case Plant::Fifo:
        ::mkfifo(name.constData(), 0666);
        break;
    case Plant::Directory:
        ::mkdir(name.constData(), 0777);
        break;
    }
}

void PlantAsAttacker(Plant plant, const QString& name, const QString& linkTarget)
{
    QCOMPARE(RunAs(Attacker,
                   [&] {
                       PlantAt(plant, QFile::encodeName(name), QFile::encodeName(linkTarget));
                       return 0;
                   }),
             0);
}

// Removes what the attacker left, as root, without following it.
void ClearAsRoot(const QString& name)
{
    const QByteArray path = QFile::encodeName(name);
    if (::unlink(path.constData()) != 0)
        ::rmdir(path.constData());
}

const QByteArray XorgConf = "Section \"InputDevice\"\n"
                            "  Option \"SHMConfig\" \"on\"\n"
                            "  Option \"TouchpadOff\" \"1\"\n"
                            "EndSection\n";
const QByteArray XorgConfEdited = "Section \"InputDevice\"\n"
                                  "  Option \"SHMConfig\" \"on\"\n"
                                  "EndSection\n";
const QByteArray Secret = "root:only:secret\n";

void AddPlants()
{
    QTest::addColumn<Plant>("plant");
    QTest::newRow("world-writable file") << Plant::WritableFile;
    QTest::newRow("link") << Plant::Link;
    QTest::newRow("hard link") << Plant::HardLink;
    QTest::newRow("fifo") << Plant::Fifo;
    QTest::newRow("directory") << Plant::Directory;
}

} // namespace

class TmpAttackTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void rootScratchFilePlanted_data() { AddPlants(); }
    void rootScratchFilePlanted();
    void rootScratchFileRaced_data() { AddPlants(); }
    void rootScratchFileRaced();
    void rootCaptureThroughDaemonPathPlanted_data() { AddPlants(); }
    void rootCaptureThroughDaemonPathPlanted();
    void userScratchFileHeldByAttacker_data() { AddPlants(); }
    void userScratchFileHeldByAttacker();
    void userScratchFileRaced_data() { AddPlants(); }
    void userScratchFileRaced();
    void userCaptureHeldByAttacker_data() { AddPlants(); }
    void userCaptureHeldByAttacker();
    void forgedCaptureReadsAsMissing_data();
    void forgedCaptureReadsAsMissing();
    void rootWithUsersHomeFollowsNoLinkThere_data();
    void rootWithUsersHomeFollowsNoLinkThere();
    void homesOwnerGetsNoneOfRootsDescriptors();
    void rootRunsNothingOfTheHomesOwner_data();
    void rootRunsNothingOfTheHomesOwner();

private:
    QTemporaryDir etc_;  // root's configuration: 0755, root only may write
    QTemporaryDir home_; // the victim's home
    QString xorgConf_;
    QString secret_;
    QString bashrc_;
};

void TmpAttackTest::initTestCase()
{
    if (::getuid() != 0)
        QSKIP("needs root to act as two other users");
    ::umask(022);
    QVERIFY(etc_.isValid() && home_.isValid());
    QCOMPARE(::chmod(QFile::encodeName(etc_.path()).constData(), 0755), 0);
    QCOMPARE(::chown(QFile::encodeName(home_.path()).constData(), Victim, Victim), 0);
    QCOMPARE(::chmod(QFile::encodeName(home_.path()).constData(), 0755), 0);
    xorgConf_ = etc_.filePath(QStringLiteral("xorg.conf"));
    secret_ = etc_.filePath(QStringLiteral("shadow"));
    bashrc_ = home_.filePath(QStringLiteral(".bashrc"));
}

void TmpAttackTest::init()
{
    WriteAll(xorgConf_, XorgConf);
    WriteAll(secret_, Secret, 0600);
    WriteAll(bashrc_, "export PATH\n");
    QCOMPARE(::chown(QFile::encodeName(bashrc_).constData(), Victim, Victim), 0);
    for (const char* name : {XorgConfigScratchFile, KpowersavercScratchFile, KpowersaveCaptureFile,
                             StoredDmiFile, DmidecodeCaptureFile})
        ClearAsRoot(QString::fromLatin1(name));
}

void TmpAttackTest::rootScratchFilePlanted()
{
    // Root switches the touchpad off while the attacker's entry stands at /tmp/xorgconfig.
    QFETCH(Plant, plant);
    const QString scratch = QString::fromLatin1(XorgConfigScratchFile);
    PlantAsAttacker(plant, scratch, secret_);

    RecordingHost host;
    ScopedHost scoped(host);
    QVERIFY(Shown([&](Messages& m) {
        return EditFileWithSed(QStringLiteral("sed /TouchpadOff/d"), xorgConf_, scratch, RunWith::System, m);
    }));

    QCOMPARE(ReadAll(xorgConf_), XorgConfEdited);
    const struct stat target = Stat(xorgConf_);
    QCOMPARE(target.st_uid, uid_t(0));
    QCOMPARE(target.st_mode & 0022, mode_t(0));
    QCOMPARE(target.st_nlink, nlink_t(1));
    QCOMPARE(ReadAll(secret_), Secret);
    QCOMPARE(Stat(secret_).st_uid, uid_t(0));
    QVERIFY(host.messages.isEmpty());
}

void TmpAttackTest::rootScratchFileRaced()
{
    QFETCH(Plant, plant);
    const QString scratch = QString::fromLatin1(XorgConfigScratchFile);
    const QByteArray name = QFile::encodeName(scratch);
    const QByteArray link = QFile::encodeName(secret_);
    Planter planter([&] { PlantAt(plant, name, link); });

    RecordingHost host;
    ScopedHost scoped(host);
    for (int round = 0; round < 15; ++round) {
        WriteAll(xorgConf_, XorgConf);
        const bool replaced = Shown([&](Messages& m) {
            return EditFileWithSed(QStringLiteral("sed /TouchpadOff/d"), xorgConf_, scratch, RunWith::System,
                                   m);
        });
        // Either the edit held, in a file of root's that nobody else may write, or nothing changed
        // and the error box said why.
        QCOMPARE(ReadAll(xorgConf_), replaced ? XorgConfEdited : XorgConf);
        const struct stat target = Stat(xorgConf_);
        QCOMPARE(target.st_uid, uid_t(0));
        QCOMPARE(target.st_mode & 0022, mode_t(0));
        QCOMPARE(ReadAll(secret_), Secret);
        QCOMPARE(Stat(secret_).st_uid, uid_t(0));
        if (!replaced)
            QCOMPARE(host.messages.value(host.messages.size() - 1),
                     scratch + QStringLiteral(" is in the way"));
    }
}

void TmpAttackTest::rootCaptureThroughDaemonPathPlanted()
{
    // Root runs the daemon's command line itself; the attacker's entry must not take the output.
    QFETCH(Plant, plant);
    const QString capture = QString::fromLatin1(StoredDmiFile);
    PlantAsAttacker(plant, capture, secret_);

    RecordingHost host;
    ScopedHost scoped(host);
    Messages messages;
    QVERIFY(
        RunWriting(RunWith::Root, QStringLiteral("echo forged-free > /tmp/StoredDmi"), capture, messages));
    QVERIFY(messages.isEmpty());
    QCOMPARE(ReadAll(secret_), Secret);
    QCOMPARE(Stat(capture).st_uid, uid_t(0));
    QVERIFY(S_ISREG(Stat(capture).st_mode));
    QCOMPARE(ReadAll(capture), QByteArray("forged-free\n"));
    QVERIFY(host.messages.isEmpty());
}

void TmpAttackTest::userScratchFileHeldByAttacker()
{
    // The user's own shell must neither write through the attacker's entry nor make it the user's
    // configuration: the edit does not run and the box names the path.
    QFETCH(Plant, plant);
    const QString scratch = QString::fromLatin1(KpowersavercScratchFile);
    const QString config = home_.filePath(QStringLiteral("kpowersaverc"));
    WriteAll(config, "[General]\nlockOnSuspend=false\n");
    QCOMPARE(::chown(QFile::encodeName(config).constData(), Victim, Victim), 0);
    PlantAsAttacker(plant, scratch, bashrc_);
    const struct stat planted = Stat(scratch);

    // A hard link to one of the user's own files is the user's to remove: the edit then runs.
    const bool removable = plant == Plant::HardLink;
    const int outcome = RunAs(Victim, [&] {
        RecordingHost host;
        ScopedHost scoped(host);
        const bool replaced = Shown([&](Messages& m) {
            return EditFileWithSed(QStringLiteral("sed '/^lockOnSuspend=false/ d'"), config, scratch,
                                   RunWith::System, m);
        });
        if (removable)
            return replaced && host.messages.isEmpty() ? 0 : 1;
        return !replaced && host.messages == QStringList{scratch + QStringLiteral(" is in the way")} ? 0 : 1;
    });
    QCOMPARE(outcome, 0);
    QCOMPARE(ReadAll(config),
             removable ? QByteArray("[General]\n") : QByteArray("[General]\nlockOnSuspend=false\n"));
    QCOMPARE(Stat(config).st_uid, Victim);
    QCOMPARE(Stat(config).st_mode & 0022, mode_t(0));
    QCOMPARE(ReadAll(bashrc_), QByteArray("export PATH\n"));
    if (!removable)
        QCOMPARE(Stat(scratch).st_ino, planted.st_ino);
}

void TmpAttackTest::userScratchFileRaced()
{
    QFETCH(Plant, plant);
    const QString scratch = QString::fromLatin1(KpowersavercScratchFile);
    const QString config = home_.filePath(QStringLiteral("kpowersaverc"));
    const QByteArray name = QFile::encodeName(scratch);
    const QByteArray link = QFile::encodeName(bashrc_);
    Planter planter([&] { PlantAt(plant, name, link); });

    for (int round = 0; round < 10; ++round) {
        WriteAll(config, "[General]\nlockOnSuspend=false\n");
        QCOMPARE(::chown(QFile::encodeName(config).constData(), Victim, Victim), 0);
        const int outcome = RunAs(Victim, [&] {
            RecordingHost host;
            ScopedHost scoped(host);
            if (Shown([&](Messages& m) {
                    return EditFileWithSed(QStringLiteral("sed '/^lockOnSuspend=false/ d'"), config, scratch,
                                           RunWith::System, m);
                }))
                return host.messages.isEmpty() ? 2 : 1;
            return host.messages == QStringList{scratch + QStringLiteral(" is in the way")} ? 3 : 1;
        });
        QVERIFY2(outcome == 2 || outcome == 3, qPrintable(QString::number(outcome)));
        QCOMPARE(ReadAll(config),
                 outcome == 2 ? QByteArray("[General]\n") : QByteArray("[General]\nlockOnSuspend=false\n"));
        const struct stat kept = Stat(config);
        QCOMPARE(kept.st_uid, Victim);
        QCOMPARE(kept.st_mode & 0022, mode_t(0));
        QCOMPARE(ReadAll(bashrc_), QByteArray("export PATH\n"));
    }
}

void TmpAttackTest::userCaptureHeldByAttacker()
{
    // A link at /tmp/dmidecode to the user's profile, or the attacker's own answer waiting there.
    QFETCH(Plant, plant);
    const QString capture = QString::fromLatin1(KpowersaveCaptureFile);
    if (plant == Plant::WritableFile) {
        QCOMPARE(RunAs(Attacker,
                       [&] {
                           WriteAll(capture, "lockOnSuspend=false\n", 0666);
                           return 0;
                       }),
                 0);
    } else {
        PlantAsAttacker(plant, capture, bashrc_);
    }

    const bool removable = plant == Plant::HardLink;
    const int outcome = RunAs(Victim, [&] {
        RecordingHost host;
        ScopedHost scoped(host);
        QString seen = QStringLiteral("<not read>");
        const bool ran = Shown([&](Messages& m) {
            return WithCaptureFirstLine(
                RunWith::Shell, QStringLiteral("echo lockOnSuspend=true > ") + capture, capture,
                RunWith::Shell, [&](const QString& line) { seen = line; }, m);
        });
        if (removable)
            return ran && seen == QStringLiteral("lockOnSuspend=true") && host.messages.isEmpty() ? 0 : 1;
        return !ran && seen == QStringLiteral("<not read>") &&
                       host.messages == QStringList{capture + QStringLiteral(" is in the way")}
                   ? 0
                   : 1;
    });
    QCOMPARE(outcome, 0);
    QCOMPARE(ReadAll(bashrc_), QByteArray("export PATH\n"));
    QCOMPARE(Stat(bashrc_).st_uid, Victim);
}

void TmpAttackTest::forgedCaptureReadsAsMissing_data()
{
    QTest::addColumn<bool>("asRoot");
    QTest::newRow("program as user") << false;
    QTest::newRow("program as root") << true;
}

void TmpAttackTest::forgedCaptureReadsAsMissing()
{
    // A FIFO with a forged dump behind it, or the attacker's file, where the daemon's dump belongs:
    // neither is read, and a FIFO without a writer does not hang.
    QFETCH(bool, asRoot);
    const QString capture = QString::fromLatin1(StoredDmiFile);
    for (const Plant plant : {Plant::Fifo, Plant::WritableFile, Plant::Link}) {
        ClearAsRoot(capture);
        PlantAsAttacker(plant, capture, secret_);
        if (plant == Plant::WritableFile)
            WriteAll(capture, "Serial Number: FORGED\n", 0666);
        const int outcome = RunAs(asRoot ? 0 : Victim, [&] {
            const TStringinfo values = ReadCaptureFile(capture, static_cast<int>(DmiKeys.size()), DmiKeys);
            return values == TStringinfo(static_cast<int>(DmiKeys.size()), QStringLiteral(" ")) ? 0 : 1;
        });
        QCOMPARE(outcome, 0);
    }
    QCOMPARE(ReadAll(secret_), Secret);
}

void TmpAttackTest::rootWithUsersHomeFollowsNoLinkThere_data()
{
    QTest::addColumn<bool>("dangling");
    QTest::newRow("link to a root-only file") << false;
    QTest::newRow("dangling link") << true;
}

void TmpAttackTest::rootWithUsersHomeFollowsNoLinkThere()
{
    // As after sudo: root runs the resume-lock edit with the user's HOME, where the user has put a
    // link to a root-only file, or to a name only root may create.
    QFETCH(bool, dangling);
    const QString config = home_.filePath(QStringLiteral("kpowersaverc"));
    const QString missing = etc_.filePath(QStringLiteral("created-by-root"));
    const QString linkTarget = dangling ? missing : secret_;
    QCOMPARE(RunAs(Victim,
                   [&] {
                       QFile::remove(config);
                       return QFile::link(linkTarget, config) ? 0 : 1;
                   }),
             0);
    const QByteArray savedHome = qgetenv("HOME");
    qputenv("HOME", QFile::encodeName(home_.path()));

    RecordingHost host;
    ScopedHost scoped(host);
    const bool replaced = Shown([&](Messages& m) {
        return EditFileWithSed(QStringLiteral("sed '/^lockOnSuspend=false/ d'"), config,
                               QString::fromLatin1(KpowersavercScratchFile),
                               Way{RunWith::System, As::HomeOwner}, m);
    });
    Shown([&](Messages& m) {
        return RunCommand(Way{RunWith::System, As::HomeOwner},
                          QStringLiteral("echo lockOnSuspend=false >> ") + config, m);
    });
    Shown([&](Messages& m) {
        return RunCommand(Way{RunWith::System, As::HomeOwner},
                          QStringLiteral("cat ") + config + QStringLiteral(" > ") +
                              home_.filePath(QStringLiteral("copy")),
                          m);
    });
    qputenv("HOME", savedHome);

    QVERIFY(!replaced);
    QVERIFY(QFileInfo(config).isSymLink());
    QCOMPARE(ReadAll(secret_), Secret);
    const struct stat secret = Stat(secret_);
    QCOMPARE(secret.st_uid, uid_t(0));
    QCOMPARE(secret.st_mode & 0777, mode_t(0600));
    QVERIFY(!QFile::exists(missing));
    QVERIFY(!QFile::exists(QString::fromLatin1(KpowersavercScratchFile)));
    QCOMPARE(ReadAll(home_.filePath(QStringLiteral("copy"))), QByteArray());
}

void TmpAttackTest::homesOwnerGetsNoneOfRootsDescriptors()
{
    // Root's own descriptors (a root-only file open without close-on-exec, root's terminal) must
    // not reach a process that the home's owner may take descriptors from.
    const int leaked = ::open(QFile::encodeName(secret_).constData(), O_RDONLY);
    QVERIFY(leaked > 2);
    RecordingHost host;
    const QString listing = home_.filePath(QStringLiteral("descriptors"));
    const int status = host.RunAs({Victim, Victim}, QStringLiteral("ls -l /proc/$$/fd > ") + listing);
    ::close(leaked);
    QCOMPARE(status, 0);
    const QByteArray descriptors = ReadAll(listing);
    QVERIFY2(!descriptors.contains(QFile::encodeName(secret_)), descriptors.constData());
    QVERIFY2(descriptors.contains("0 -> /dev/null") && descriptors.contains("2 -> /dev/null"),
             descriptors.constData());
}

void TmpAttackTest::rootRunsNothingOfTheHomesOwner_data()
{
    QTest::addColumn<QString>("attack");
    QTest::newRow("help through the desktop's opener") << "opener";
    QTest::newRow("GNOME's colours, dconf's file a link") << "dconf";
    QTest::newRow("GNOME's colours, keyfile settings") << "keyfile";
    QTest::newRow("Plasma's colours, a FIFO for the colour file") << "fifo";
}

void TmpAttackTest::rootRunsNothingOfTheHomesOwner()
{
    // As after sudo: root with the user's HOME opens a help page where no firefox is installed, or
    // reads GNOME's colour scheme. What the home decides (the program for web pages, dconf's file)
    // must be done with the home owner's rights only.
    QFETCH(QString, attack);
    const QString home = home_.filePath(attack);
    const QString ranAs = home + QStringLiteral("/ran-as");
    QCOMPARE(
        RunAs(Victim,
              [&] {
                  QDir().mkpath(home + QStringLiteral("/.local/share/applications"));
                  QDir().mkpath(home + QStringLiteral("/.cache/dconf"));
                  const QString opener = home + QStringLiteral("/opener");
                  WriteAll(opener, "#!/bin/sh\nid -u > " + QFile::encodeName(ranAs) + "\n", 0755);
                  WriteAll(home + QStringLiteral("/.local/share/applications/page.desktop"),
                           "[Desktop Entry]\nType=Application\nName=Page\nMimeType=text/html;\nExec=" +
                               QFile::encodeName(opener) + " %f\n");
                  QDir().mkpath(home + QStringLiteral("/.config"));
                  WriteAll(home + QStringLiteral("/.config/mimeapps.list"),
                           "[Default Applications]\ntext/html=page.desktop\n");
                  // Opening it for reading would wait for a writer that never comes.
                  if (::mkfifo(QFile::encodeName(home + QStringLiteral("/.config/kdeglobals")).constData(),
                               0644) != 0)
                      return 1;
                  return QFile::link(secret_, home + QStringLiteral("/.cache/dconf/user")) ? 0 : 1;
              }),
        0);
    const QString page = etc_.filePath(QStringLiteral("page.htm"));
    WriteAll(page, "<!DOCTYPE html>\n<html><head><title>Help</title></head><body>Help</body></html>\n");
    const QByteArray pagePath = QFile::encodeName(page);
    const HelpPage help{pagePath.constData(), "firefox -width 800 -height 600 page.htm &"};

    const QHash<QByteArray, QByteArray> environment{
        {"HOME", QFile::encodeName(home)},
        {"PATH", "/usr/bin:/bin"}, // no firefox
        {"DISPLAY", ":0"},         // the opener starts programs only for a display
        {"XDG_CURRENT_DESKTOP", attack == QLatin1String("opener") ? ""
                                : attack == QLatin1String("fifo") ? "KDE"
                                                                  : "GNOME"},
        {"GSETTINGS_BACKEND", attack == QLatin1String("keyfile") ? "keyfile" : "dconf"}};
    QHash<QByteArray, QByteArray> saved;
    for (auto it = environment.cbegin(); it != environment.cend(); ++it) {
        saved.insert(it.key(), qgetenv(it.key().constData()));
        qputenv(it.key().constData(), it.value());
    }
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    qunsetenv("XDG_RUNTIME_DIR");
    {
        RecordingHost host;
        ScopedHost scoped(host);
        if (attack == QLatin1String("opener")) {
            ShowMessages(MachineHandOvers().ShowHelp(help));
            for (int i = 0; i < 100 && !QFile::exists(ranAs); ++i)
                QTest::qWait(50);
            QTest::qWait(50);
            QCOMPARE(ReadAll(ranAs), QByteArray("1000\n"));
        } else {
            UseDesktopPalette();
        }
        QVERIFY2(host.messages.isEmpty(), qPrintable(host.messages.join(QLatin1Char('\n'))));
    }
    for (auto it = saved.cbegin(); it != saved.cend(); ++it)
        qputenv(it.key().constData(), it.value());
    qputenv("XDG_RUNTIME_DIR", runtime);

    QCOMPARE(ReadAll(secret_), Secret);
    QDirIterator files(home, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot | QDir::System,
                       QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString file = files.next();
        QVERIFY2(Stat(file).st_uid == Victim, qPrintable(file + QStringLiteral(" is root's")));
    }
}

QTEST_MAIN(TmpAttackTest)
#include "TmpAttackTest.moc"
