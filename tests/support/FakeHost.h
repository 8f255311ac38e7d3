// A host for tests: records every command line, file test and message box in order, and answers
// them as the test says. Nothing is run and no box is shown.
#pragma once

#include <Host.h>

#include <QHash>
#include <QSet>
#include <QStringList>
#include <functional>

class FakeHost : public Ucomtc::Host
{
public:
    // What running a command line does, by its exact text; the result is system()'s status.
    using Answer = std::function<int()>;

    int System(const QString& command) override;
    void RunShell(const QString& command) override;
    // Recorded as "as UID: …".
    int RunAs(uid_t uid, gid_t gid, const QString& command) override;
    bool RunPrivileged(const QString& socketPath, const QString& command) override;
    // Notes the start in `started`; the request itself is recorded when its reply is waited for.
    std::function<bool()> StartPrivileged(const QString& socketPath, const QString& command) override;
    // Counted in `prepared`, not logged: it runs no command line.
    void Prepare() override { ++prepared; }
    bool FileExists(const QString& path) override;
    uid_t GetUid() override { return uid; }
    std::optional<QString> GetEnv(const char* name) override;
    void ShowMessage(Ucomtc::MessageKind kind, const QString& text) override;
    QImage LoadImage(const QString& path) override;
    // Recorded as "open: PATH"; answers openFileWorks.
    bool OpenFile(const QString& path) override;

    // The record: "system: …", "shell: …", "as 1000: …", "privileged: …", "error: …", "plain: …", "report:
    // …", "image: …". File tests are not recorded; see fileTests.
    QStringList log;
    int prepared = 0;
    QStringList fileTests;
    // Privileged requests sent ahead of their reply, in order (see StartPrivileged).
    QStringList started;

    QHash<QString, Answer> answers;
    // The daemon's verdict for a command; unlisted commands are carried out (true).
    QHash<QString, bool> privilegedResults;
    // Overrides the real file system's answer for these paths.
    QHash<QString, bool> files;
    QSet<QString> missingImages;
    QHash<QString, QString> environment;
    uid_t uid = 1000;
    bool openFileWorks = true;
    std::function<void(Ucomtc::MessageKind, const QString&)> onMessage;

    // Puts an executable NAME on the PATH the host reports (/usr/bin), as far as file tests can tell.
    void InstallProgram(const QString& name);
    // Makes "whereis NAME >/tmp/command" answer as whereis does for a known or an unknown name.
    void Whereis(const QString& name, bool known);
    // Entries of the log that start with `prefix` ("system: " …), with the prefix removed.
    QStringList Entries(const QString& prefix) const;
    // Writes a file with the given content; used by answers that stand in for a command's output.
    static void WriteFile(const QString& path, const QByteArray& content);
    // Leaves a folder where a command's output belongs. The program has made the name a fresh file
    // before the command runs, so that file goes first. Returns system()'s status.
    static int PutFolderAt(const QString& path);

private:
    int Run(const QString& kind, const QString& command);
};
