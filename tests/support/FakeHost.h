// A host for tests: records every command line, daemon request and message box in order, and
// answers them as the test says. Nothing is run and no box is shown. The fixed names under /tmp
// live in a folder of the host's own (see Real), so tests need no /tmp of their own.
#pragma once

#include "machine/Host.h"
#include "widgets/MessageBox.h"

#include <QHash>
#include <QSet>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>
#include <optional>

// What a test tells the fake host and reads back from it; a fresh one starts a test afresh.
struct FakeHostScript
{
    // What running a command line does, by its exact text; the result is system()'s status.
    using Answer = std::function<int()>;

    // The record: "system: …", "shell: …", "as 1000: …", "privileged: …", "error: …", "plain: …",
    // "report: …", "image: …", "open: …". File tests are not recorded; see fileTests.
    QStringList log;
    QStringList fileTests;

    QHash<QString, Answer> answers;
    // Then for a line that contains one of these texts, the first that it contains.
    QList<std::pair<QString, Answer>> answersByPart;
    // The daemon's verdict for a command; unlisted commands are carried out (true).
    QHash<QString, bool> privilegedResults;
    // False: no daemon answers.
    bool daemonUp = true;
    // Overrides the file system's answer for these paths.
    QHash<QString, bool> files;
    QSet<QString> missingImages;
    QHash<QString, QString> environment;
    // The small system files ReadTextFile and ListFolder see, by path; and a folder that stands for
    // the machine's root (a tree in tests/data) for the rest. Empty: there are none.
    QHash<QString, QByteArray> texts;
    QString root;
    QStringList fileReads;
    uid_t uid = 1000;
    bool openFileWorks = true;
    std::function<void(const Ucomtc::Message&)> onMessage;
};

class FakeHost : public Ucomtc::Host, public FakeHostScript
{
public:
    FakeHost();
    ~FakeHost() override;
    // Takes over what `fresh` was told, and starts afresh: an empty record, an empty /tmp.
    FakeHost& operator=(FakeHost&& fresh);

    int System(const QString& command) override;
    void RunShell(const QString& command) override;
    // Recorded as "as UID: …".
    int RunAs(Ucomtc::FileOwner owner, const QString& command) override;
    // Recorded as "privileged: …"; answered from privilegedResults, or as no daemon (see daemonUp).
    Ucomtc::DaemonAnswer AskDaemon(const QString& command) override;
    bool FileExists(const QString& path) override;
    std::optional<Ucomtc::FileOwner> OwnerOf(const QString& path) override;
    bool MakeFreshFile(const QString& path, Ucomtc::FileOwner owner) override;
    std::optional<QByteArray> ReadOwnedFile(const QString& path, uid_t writer) override;
    // Answered from `texts`, then from the tree under `root`; nothing else of the machine is read.
    // Recorded in fileReads.
    std::optional<QByteArray> ReadTextFile(const QString& path) override;
    // The names under `root`'s folder and those that `texts` has below the path.
    QStringList ListFolder(const QString& path) override;
    uid_t GetUid() override { return uid; }
    Ucomtc::FileOwner Self() override;
    std::optional<QString> GetEnv(const char* name) override;
    QString ProgramFile() override { return QStringLiteral("/usr/bin/LapstoneConfiguration"); }
    QImage LoadImage(const QString& path) override;
    // Recorded as "open: PATH"; answers openFileWorks.
    bool OpenFile(const QString& path) override;

    // Where a path really is: a name right in /tmp (not a test's own folder there) is in the host's
    // own folder, anything else is itself. For the host made last.
    static QString Real(const QString& path);
    // A command line with the fixed names in /tmp at their Real places, for answers that run it.
    static QString RealLine(QString command);
    // Puts an executable NAME on the PATH the host reports (/usr/bin), as far as file tests can tell.
    void InstallProgram(const QString& name);
    // Makes "whereis NAME >/tmp/command" answer as whereis does for a known or an unknown name.
    void Whereis(const QString& name, bool known);
    // Adds to `texts` a file under `folder` for each "RELATIVE/PATH=value" line of `listing` (a
    // sample under tests/data), the value as its one line.
    void UseTexts(const QString& folder, const QByteArray& listing);
    // Entries of the log that start with `prefix` ("system: " …), with the prefix removed.
    QStringList Entries(const QString& prefix) const;
    // Writes a file with the given content (at its Real place); used by answers that stand in for
    // a command's output.
    static void WriteFile(const QString& path, const QByteArray& content);
    // Leaves a folder where a command's output belongs. The program has made the name a fresh file
    // before the command runs, so that file goes first. Returns system()'s status.
    static int PutFolderAt(const QString& path);

private:
    int Run(const QString& kind, const QString& command);

    QTemporaryDir tmp_;
    std::optional<Ucomtc::ScopedMessageSink> sink_;
};
