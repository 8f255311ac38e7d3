// The system report against the dialogs on the same notebook: the report is run as a person would
// run it from a terminal, in each of its formats, and every section must say what the dialog that
// shows it says. What the dialogs show in a message box must be the report's lines on standard
// error, and only then may its exit status be 1.
#include "Driver.h"
#include "ScenarioHost.h"
#include "Scenarios.h"
#include "Transcript.h"

#include "areas/locks/Constants.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QMap>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QSet>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

namespace {

// Section title -> attribute -> value.
using Sections = QMap<QString, QMap<QString, QString>>;

struct ReportRun
{
    QString out;
    QStringList errors;
    int status = -1;
};

ReportRun RunReport(const QString& format)
{
    QProcess process;
    process.start(QStringLiteral("/opt/lapstone/vc/bin/LapstoneConfiguration"),
                  {QStringLiteral("--report"), QStringLiteral("--format"), format});
    process.waitForFinished(120000);
    ReportRun run;
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.errors =
        QString::fromUtf8(process.readAllStandardError()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    run.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    return run;
}

Sections ParseText(const QString& out)
{
    Sections sections;
    for (const QString& block : out.split(QStringLiteral("\n\n"), Qt::SkipEmptyParts)) {
        const QStringList lines = block.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        if (lines.size() < 2)
            continue;
        auto& rows = sections[lines[0]];
        // Every value of a section starts in the same column, after the longest attribute.
        qsizetype column = 0;
        for (const QString& line : lines.mid(2))
            column = std::max(column, line.indexOf(QLatin1Char(':')) + 2);
        for (const QString& line : lines.mid(2))
            rows.insert(line.left(line.indexOf(QLatin1Char(':'))), line.mid(column));
    }
    return sections;
}

QString Unescaped(const QString& cell)
{
    QString out;
    for (qsizetype i = 0; i < cell.size(); ++i) {
        if (cell[i] == QLatin1Char('\\') && i + 1 < cell.size())
            ++i;
        out += cell[i];
    }
    return out;
}

Sections ParseMarkdown(const QString& out)
{
    Sections sections;
    QString title;
    for (const QString& line : out.split(QLatin1Char('\n'))) {
        if (line.startsWith(QLatin1String("## "))) {
            title = line.mid(3);
            sections[title];
        } else if (line.startsWith(QLatin1String("| ")) && line != QLatin1String("| Attribute | Value |")) {
            const QString cells = line.mid(2, line.size() - 4);
            // The first " | " that no backslash escapes separates the two cells.
            qsizetype split = -1;
            for (qsizetype i = 0; i + 2 < cells.size() && split < 0; ++i) {
                if (cells[i] == QLatin1Char('\\'))
                    ++i;
                else if (cells.mid(i, 3) == QLatin1String(" | "))
                    split = i;
            }
            sections[title].insert(Unescaped(cells.left(split)), Unescaped(cells.mid(split + 3)));
        }
    }
    return sections;
}

Sections ParseJson(const QString& out, bool& valid)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(out.toUtf8(), &error);
    valid = error.error == QJsonParseError::NoError && document.isObject();
    Sections sections;
    const QJsonObject top = document.object();
    for (auto section = top.begin(); section != top.end(); ++section) {
        auto& rows = sections[section.key()];
        const QJsonObject values = section.value().toObject();
        for (auto value = values.begin(); value != values.end(); ++value)
            rows.insert(value.key(), value.value().toString());
    }
    return sections;
}

// Reads the dialogs as a person would, noting every message box they show.
class DialogReader
{
public:
    explicit DialogReader(Driver& driver) : driver_(driver) {}

    Sections Read()
    {
        ReadSystemInformation();
        ReadDevice("SpdButtonNubstick", "NubstickFor", "Nubstick");
        ReadDevice("SpdButtonTouch", "TouchPadForm1", "Touchpad");
        ReadSecurity();
        return sections_;
    }
    const QSet<QString>& messages() const { return messages_; }

private:
    void Note()
    {
        for (const ScenarioHost::Message& message : driver_.host().messages())
            messages_.insert(message.text);
    }

    void ListRows(QWidget* form, const QString& title)
    {
        Note();
        auto* list = form->findChild<QTreeWidget*>(QStringLiteral("ListView1"));
        auto& rows = sections_[title];
        for (int i = 0; i < list->topLevelItemCount(); ++i)
            rows.insert(list->topLevelItem(i)->text(0), list->topLevelItem(i)->text(1));
    }

    void ClickTab(QWidget* form, int index)
    {
        Note();
        QTabBar* bar = form->findChild<QTabWidget*>(QStringLiteral("TabControl1"))->tabBar();
        driver_.host().Forget();
        QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, bar->tabRect(index).center());
        driver_.Settle(50);
    }

    void ReadSystemInformation()
    {
        driver_.ClickToOpen(driver_.Button("SpdButtonSys"), QStringLiteral("SysInfoForm"),
                            [&](QWidget* form) {
                                ListRows(form, QStringLiteral("General"));
                                ClickTab(form, 1);
                                ListRows(form, QStringLiteral("BIOS"));
                                ClickTab(form, 2);
                                Note();
                                auto* tabs = form->findChild<QTabWidget*>(QStringLiteral("TabControl1"));
                                auto* combo = form->findChild<QComboBox*>(QStringLiteral("ComboBoxBatt"));
                                if (tabs->currentIndex() == 2) {
                                    for (int entry = 0; entry < combo->count(); ++entry) {
                                        if (entry > 0) {
                                            driver_.host().Forget();
                                            combo->setFocus();
                                            QTest::keyClick(combo, Qt::Key_Down);
                                            driver_.Settle(50);
                                        }
                                        ListRows(form, combo->currentText());
                                    }
                                }
                                driver_.Click(form->findChild<QPushButton*>(QStringLiteral("ButtonOK")));
                            });
    }

    void ReadDevice(const char* opener, const char* formName, const char* attribute)
    {
        driver_.ClickToOpen(driver_.Button(opener), QString::fromLatin1(formName), [&](QWidget* form) {
            Note();
            // A device that could not be read shows an Unknown entry of its own.
            sections_[QStringLiteral("Pointing devices")].insert(
                QString::fromLatin1(attribute),
                form->findChild<QComboBox*>(QStringLiteral("ComboBoxState"))->currentText());
            driver_.Click(form->findChild<QPushButton*>(QStringLiteral("ButtonCancel")));
        });
    }

    void ReadSecurity()
    {
        driver_.ClickToOpen(
            driver_.Button("SpdButtonSecure"), QStringLiteral("SecureForm1"), [&](QWidget* form) {
                Note();
                auto& rows = sections_[QStringLiteral("Security")];
                const auto text = [&](const char* name) {
                    return form->findChild<QLabel*>(QLatin1String(name))->text();
                };
                // An unread lock leaves the button usable and says so.
                auto* screen = form->findChild<QPushButton*>(QStringLiteral("ButtonScrnPwd"));
                const bool unread =
                    screen->accessibleDescription() == QString::fromLatin1(Ucomtc::MsgScreenSaverLockUnknown);
                rows.insert(QStringLiteral("Screen saver lock"), !screen->isEnabled()
                                                                     ? QStringLiteral("Enabled")
                                                                 : unread ? QStringLiteral("Unknown")
                                                                          : QStringLiteral("Disabled"));
                rows.insert(QStringLiteral("Power-on password"), text("LabelPwpwd"));
                rows.insert(QStringLiteral("Hard-disk password"), text("LabelHdpwd"));
                rows.insert(QStringLiteral("Administrator password"), text("LabelAdminpwd"));
                driver_.ClickToOpen(
                    form->findChild<QPushButton*>(QStringLiteral("ButtonResume")),
                    QStringLiteral("ResumeForm1"), [&](QWidget* resume) {
                        const Qt::CheckState lock =
                            resume->findChild<QCheckBox*>(QStringLiteral("EnableLock"))->checkState();
                        rows.insert(QStringLiteral("Resume lock"),
                                    lock == Qt::Checked     ? QStringLiteral("Enabled")
                                    : lock == Qt::Unchecked ? QStringLiteral("Disabled")
                                                            : QStringLiteral("Unknown"));
                        driver_.Click(resume->findChild<QPushButton*>(QStringLiteral("ButtonCancel")));
                    });
                driver_.Click(form->findChild<QPushButton*>(QStringLiteral("ButtonCancel")));
            });
    }

    Driver& driver_;
    Sections sections_;
    QSet<QString> messages_;
};

QStringList TmpFiles()
{
    QStringList files = QDir(QStringLiteral("/tmp")).entryList(QDir::Files | QDir::System | QDir::Hidden);
    files.removeAll(QStringLiteral("vx_vc_socket"));
    return files;
}

// The report first, on the untouched notebook; then the dialogs, which leave the same state.
void ReportMatchesTheDialogs(Driver& driver)
{
    QList<ReportRun> runs;
    for (const char* format : {"text", "markdown", "json"}) {
        runs.append(RunReport(QString::fromLatin1(format)));
        driver.transcript().Line(QStringLiteral("--report --format ") + QLatin1String(format) +
                                 QStringLiteral(": exit ") + QString::number(runs.last().status));
        for (const QString& line : runs.last().errors)
            driver.transcript().Line(QStringLiteral("  stderr: ") + line);
        driver.Check(TmpFiles().isEmpty(), QStringLiteral("nothing left in /tmp: ") + TmpFiles().join(u' '));
    }
    driver.transcript().Line(QStringLiteral("the text report:"));
    for (const QString& line : runs[0].out.split(QLatin1Char('\n')))
        driver.transcript().Line(QStringLiteral("  | ") + line);

    driver.StartProgram();
    driver.host().Forget();
    DialogReader reader(driver);
    const Sections shown = reader.Read();

    bool jsonValid = false;
    const Sections parsed[] = {ParseText(runs[0].out), ParseMarkdown(runs[1].out),
                               ParseJson(runs[2].out, jsonValid)};
    driver.Check(jsonValid, QStringLiteral("the JSON report parses"));
    const char* names[] = {"text", "markdown", "json"};
    for (int f = 0; f < 3; ++f) {
        driver.Check(parsed[f].keys() == shown.keys(), QLatin1String(names[f]) +
                                                           QStringLiteral(": the sections ") +
                                                           parsed[f].keys().join(QStringLiteral(", ")));
        for (auto section = shown.begin(); section != shown.end(); ++section) {
            const auto& got = parsed[f].value(section.key());
            QStringList differences;
            for (auto row = section.value().begin(); row != section.value().end(); ++row) {
                if (got.value(row.key(), QStringLiteral("(missing)")) != row.value())
                    differences.append(row.key() + QStringLiteral(": dialog '") + row.value() +
                                       QStringLiteral("', report '") + got.value(row.key()) +
                                       QLatin1Char('\''));
            }
            if (got.size() != section.value().size())
                differences.append(QStringLiteral("row counts differ"));
            driver.Check(differences.isEmpty(), QLatin1String(names[f]) + QStringLiteral(": ") +
                                                    section.key() +
                                                    QStringLiteral(" as the dialog shows it ") +
                                                    differences.join(QStringLiteral("; ")));
        }
    }
    // Start-up's own message (the daemon's) is a message of the dialogs as well.
    QSet<QString> messages = reader.messages();
    for (const ReportRun& run : runs) {
        QStringList foreign;
        for (const QString& line : run.errors) {
            // A message that came more than once is printed once, with its count.
            static const QRegularExpression count(QStringLiteral(R"( \(\d+ times\)$)"));
            if (!messages.contains(QString(line).remove(count)))
                foreign.append(line);
        }
        driver.Check(foreign.isEmpty(), QStringLiteral("every stderr line is a message the dialogs show ") +
                                            foreign.join(QStringLiteral(" | ")));
        driver.Check(run.status == (run.errors.isEmpty() ? 0 : 1),
                     QStringLiteral("exit status ") + QString::number(run.status));
        driver.Check(run.errors.isEmpty() == messages.isEmpty(),
                     QStringLiteral("the report has stderr lines exactly when the dialogs show messages"));
    }
}

} // namespace

std::vector<Scenario> ReportScenarios()
{
    return {{"report", ReportMatchesTheDialogs}};
}
