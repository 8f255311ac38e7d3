// The daemon client against a scripted daemon on a real local socket. Runs in a private /tmp, so the
// daemon can stand at the program's own socket path.
#include "machine/PrivilegedClient.h"
#include "machine/Constants.h"
#include "machine/LibcHost.h"
#include "machine/Run.h"
#include "tests/support/Shown.h"
#include "widgets/MessageBox.h"

#include <QApplication>
#include <QCursor>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>
#include <atomic>
#include <cstring>
#include <grp.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

using namespace Ucomtc;

namespace {

// A daemon that answers every connection the way a test asks for, and remembers what it was sent.
class ScriptedDaemon
{
public:
    enum class Behaviour
    {
        Reply,        // read the request, send `reply`
        CloseEarly,   // read the request, close without replying
        PartialReply, // read the request, send two bytes of the reply, close
        Silent,       // read the request, say nothing until the test ends
        HangUp,       // close at once, before reading anything
    };

    ScriptedDaemon(const QString& path, Behaviour behaviour, std::int32_t reply = 0)
        : behaviour_(behaviour), reply_(reply)
    {
        listener_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, path.toLocal8Bit().constData(), sizeof(address.sun_path) - 1);
        ::unlink(address.sun_path);
        if (::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
            ::listen(listener_, 64) != 0)
            qFatal("cannot listen on %s", qPrintable(path));
        thread_ = std::thread([this] { Serve(); });
    }

    ~ScriptedDaemon()
    {
        stop_ = true;
        thread_.join();
        ::close(listener_);
    }

    QByteArray received() const { return received_; }
    int connections() const { return connections_; }
    // The pointer's shape while the program waited for this daemon.
    Qt::CursorShape cursorDuringRequest() const { return cursor_; }

private:
    bool ReadExactly(int fd, char* data, std::size_t size)
    {
        while (size > 0) {
            pollfd waiting{fd, POLLIN, 0};
            if (::poll(&waiting, 1, 100) <= 0) {
                if (stop_)
                    return false;
                continue;
            }
            const ssize_t got = ::recv(fd, data, size, 0);
            if (got <= 0)
                return false;
            received_.append(data, got);
            data += got;
            size -= static_cast<std::size_t>(got);
        }
        return true;
    }

    void Serve()
    {
        while (!stop_) {
            pollfd waiting{listener_, POLLIN, 0};
            if (::poll(&waiting, 1, 50) <= 0)
                continue;
            const int fd = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
            if (fd < 0)
                continue;
            ++connections_;
            if (behaviour_ != Behaviour::HangUp)
                Answer(fd);
            ::close(fd);
        }
    }

    void Answer(int fd)
    {
        std::uint32_t length = 0;
        if (!ReadExactly(fd, reinterpret_cast<char*>(&length), sizeof length) || length > 4096)
            return;
        QByteArray command(static_cast<qsizetype>(length), '\0');
        if (!ReadExactly(fd, command.data(), length))
            return;
        if (const QCursor* cursor = QApplication::overrideCursor())
            cursor_ = cursor->shape();
        switch (behaviour_) {
        case Behaviour::Reply:
            ::send(fd, &reply_, sizeof reply_, MSG_NOSIGNAL);
            break;
        case Behaviour::PartialReply:
            ::send(fd, &reply_, 2, MSG_NOSIGNAL);
            break;
        case Behaviour::Silent:
            while (!stop_)
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
            break;
        case Behaviour::CloseEarly:
        case Behaviour::HangUp:
            break;
        }
        // Wait for the client's shutdown before closing, as a well-behaved daemon would.
        char rest;
        pollfd waiting{fd, POLLIN, 0};
        if (::poll(&waiting, 1, 2000) > 0)
            ::recv(fd, &rest, 1, 0);
    }

    Behaviour behaviour_;
    std::int32_t reply_;
    int listener_ = -1;
    std::atomic<bool> stop_{false};
    std::atomic<int> connections_{0};
    std::atomic<Qt::CursorShape> cursor_{Qt::ArrowCursor};
    QByteArray received_;
    std::thread thread_;
};

// The production client with a chosen user id, and with system() recorded.
class ClientHost : public LibcHost
{
public:
    uid_t GetUid() override { return uid; }
    int System(const QString& command) override
    {
        systemCalls.append(command);
        return 0;
    }

    uid_t uid = 1000;
    QStringList systemCalls;
};

} // namespace

class PrivilegedClientTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void sendsLengthCommandAndNul();
    void judgesTheReply_data();
    void judgesTheReply();
    void noDaemonShowsTheMessage();
    void incompleteRepliesFail_data();
    void incompleteRepliesFail();
    void aDaemonThatHangsUpDoesNotKillTheProgram();
    void rootRunsTheCommandItself();
    void anotherUsersListenerIsNoDaemon();
    void aFullQueueCountsAsNoDaemonInTime();

private:
    // RunPrivileged as a form calls it, on the client host; its message boxes are recorded.
    bool Ask(const QString& command)
    {
        ScopedHost scope(host_);
        ScopedMessageSink sink([this](const Message& message) {
            messages_.append(message.text);
            QVERIFY(message.kind == MessageKind::Plain);
            cursorWasBackForMessage_ = QApplication::overrideCursor() == nullptr;
        });
        return Shown([&](Messages& m) { return RunCommand(RunWith::Root, command, m); });
    }

    QString socketPath_ = QString::fromLatin1(DaemonSocketPath);
    ClientHost host_;
    QStringList messages_;
    bool cursorWasBackForMessage_ = false;
};

void PrivilegedClientTest::init()
{
    host_.uid = 1000;
    host_.systemCalls.clear();
    messages_.clear();
    cursorWasBackForMessage_ = false;
    host_.setReplyTimeout(30000);
}

void PrivilegedClientTest::sendsLengthCommandAndNul()
{
    ScriptedDaemon daemon(socketPath_, ScriptedDaemon::Behaviour::Reply, 0);
    const QByteArray command = "echo -n 100 > /sys/devices/platform/i804"; // 40 characters
    QCOMPARE(command.size(), 40);

    QVERIFY(Ask(QString::fromLatin1(command)));

    QCOMPARE(daemon.received(), QByteArray("\x29\x00\x00\x00", 4) + command + QByteArray(1, '\0'));
    QCOMPARE(daemon.cursorDuringRequest(), Qt::WaitCursor);
    QTRY_VERIFY(QApplication::overrideCursor() == nullptr); // back with the event loop
    QVERIFY(messages_.isEmpty());
    QVERIFY(host_.systemCalls.isEmpty());
}

void PrivilegedClientTest::judgesTheReply_data()
{
    QTest::addColumn<int>("reply");
    QTest::addColumn<bool>("carriedOut");
    QTest::newRow("0") << 0 << true;
    QTest::newRow("1 means failure") << 1 << false;
    QTest::newRow("7") << 7 << true;
    QTest::newRow("-1") << -1 << true;
}

void PrivilegedClientTest::judgesTheReply()
{
    QFETCH(int, reply);
    QFETCH(bool, carriedOut);
    ScriptedDaemon daemon(socketPath_, ScriptedDaemon::Behaviour::Reply, reply);
    QCOMPARE(Ask(QStringLiteral("rm /tmp/StoredDmi")), carriedOut);
    QVERIFY(messages_.isEmpty());
}

void PrivilegedClientTest::noDaemonShowsTheMessage()
{
    QVERIFY(!Ask(QStringLiteral("dmidecode > /tmp/StoredDmi")));
    QCOMPARE(messages_, QStringList{QStringLiteral(
                            "The daemon isn't started, maybe the non-root users can't view some infomation "
                            "of the LapstoneConfiguration")});
    QVERIFY(cursorWasBackForMessage_);
    QVERIFY(host_.systemCalls.isEmpty());

    // A socket nobody listens on is no better.
    {
        ScriptedDaemon gone(socketPath_, ScriptedDaemon::Behaviour::Reply);
    }
    QVERIFY(!Ask(QStringLiteral("rm /tmp/StoredDmi")));
    QCOMPARE(messages_.size(), 2);
}

void PrivilegedClientTest::incompleteRepliesFail_data()
{
    QTest::addColumn<int>("behaviour");
    QTest::newRow("closed before replying") << int(ScriptedDaemon::Behaviour::CloseEarly);
    QTest::newRow("half a reply") << int(ScriptedDaemon::Behaviour::PartialReply);
    QTest::newRow("silence") << int(ScriptedDaemon::Behaviour::Silent);
}

void PrivilegedClientTest::incompleteRepliesFail()
{
    QFETCH(int, behaviour);
    ScriptedDaemon daemon(socketPath_, ScriptedDaemon::Behaviour(behaviour), 0);
    host_.setReplyTimeout(400);
    QElapsedTimer clock;
    clock.start();
    QVERIFY(!Ask(QStringLiteral("dmidecode > /tmp/StoredDmi")));
    QVERIFY2(clock.elapsed() < 3000, "the wait for a reply is bounded");
    QVERIFY(messages_.isEmpty());
    QTRY_VERIFY(QApplication::overrideCursor() == nullptr); // back with the event loop
}

void PrivilegedClientTest::aDaemonThatHangsUpDoesNotKillTheProgram()
{
    // Writing to a connection the daemon has already closed raises SIGPIPE unless the client
    // guards against it; the test process would die here.
    ScriptedDaemon daemon(socketPath_, ScriptedDaemon::Behaviour::HangUp);
    const QString longCommand(3000, QLatin1Char('x'));
    for (int attempt = 0; attempt < 20; ++attempt)
        QVERIFY(!Ask(longCommand));
    QVERIFY(daemon.connections() > 0);
}

void PrivilegedClientTest::rootRunsTheCommandItself()
{
    ScriptedDaemon daemon(socketPath_, ScriptedDaemon::Behaviour::Reply, 1);
    host_.uid = 0;
    QVERIFY(Ask(QStringLiteral("dmidecode > /tmp/StoredDmi")));
    QCOMPARE(host_.systemCalls, QStringList{QStringLiteral("dmidecode > /tmp/StoredDmi")});
    QTest::qWait(100);
    QCOMPARE(daemon.connections(), 0);
}

void PrivilegedClientTest::anotherUsersListenerIsNoDaemon()
{
    // With the daemon down, user 1001 listens on the socket path, ready to answer "done" for a dump
    // it forged. The client must take it for a daemon that is not there and send it nothing.
    if (::getuid() != 0)
        QSKIP("needs root to listen as another user");
    ::unlink(DaemonSocketPath);
    int pipeFds[2];
    QCOMPARE(::pipe(pipeFds), 0);
    const pid_t child = ::fork();
    QVERIFY(child >= 0);
    if (child == 0) {
        ::alarm(10);
        if (::setgroups(0, nullptr) != 0 || ::setresgid(1001, 1001, 1001) != 0 ||
            ::setresuid(1001, 1001, 1001) != 0)
            _exit(1);
        const int listener = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strcpy(address.sun_path, DaemonSocketPath);
        if (::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
            ::listen(listener, 4) != 0)
            _exit(2);
        char ready = 'r';
        if (::write(pipeFds[1], &ready, 1) != 1)
            _exit(3);
        const int client = ::accept(listener, nullptr, nullptr);
        const std::uint32_t done = 0;
        ::send(client, &done, sizeof done, MSG_NOSIGNAL);
        char buffer[256];
        const ssize_t got = ::recv(client, buffer, sizeof buffer, 0);
        const char count = static_cast<char>(got < 0 ? 0 : got);
        _exit(::write(pipeFds[1], &count, 1) == 1 ? 0 : 4);
    }
    ::close(pipeFds[1]);
    char ready = 0;
    QCOMPARE(::read(pipeFds[0], &ready, 1), ssize_t(1));

    QVERIFY(!Ask(QStringLiteral("dmidecode > /tmp/StoredDmi")));

    char received = -1;
    QCOMPARE(::read(pipeFds[0], &received, 1), ssize_t(1));
    ::close(pipeFds[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    QCOMPARE(int(received), 0);
    QCOMPARE(messages_, QStringList{QString::fromLatin1(MsgDaemonNotStarted)});
    ::unlink(DaemonSocketPath);
}

void PrivilegedClientTest::aFullQueueCountsAsNoDaemonInTime()
{
    // A listener that accepts nobody, its queue filled by others: connecting must not block.
    const int listener = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strcpy(address.sun_path, DaemonSocketPath);
    ::unlink(DaemonSocketPath);
    QCOMPARE(::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    QCOMPARE(::listen(listener, 0), 0);
    std::vector<int> queued;
    for (int i = 0; i < 64; ++i) {
        const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK, 0);
        queued.push_back(fd);
        if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0)
            break;
    }
    host_.setReplyTimeout(400);
    QElapsedTimer clock;
    clock.start();
    QVERIFY(!Ask(QStringLiteral("dmidecode > /tmp/StoredDmi")));
    QVERIFY2(clock.elapsed() < 3000, "connecting is bounded by the same limit");
    QCOMPARE(messages_, QStringList{QString::fromLatin1(MsgDaemonNotStarted)});
    for (const int fd : queued)
        ::close(fd);
    ::close(listener);
    ::unlink(DaemonSocketPath);
}

QTEST_MAIN(PrivilegedClientTest)
#include "PrivilegedClientTest.moc"
