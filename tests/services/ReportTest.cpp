// The report's three formats: every value comes back exactly from the JSON, the Markdown table keeps
// two cells per row whatever a value holds, and the text aligns each section's values.
#include "report/Report.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

using namespace Ucomtc;

namespace {

// Values as a machine may hand them over: quotes, backslashes, pipes, control characters, a single
// blank (the hard-disk state without a byte), nothing, and more than ASCII.
const QStringList AwkwardValues = {
    QStringLiteral("say \"hi\" \\ there"),
    QStringLiteral("a | b"),
    QStringLiteral("tab\there"),
    QStringLiteral("two\nlines\r"),
    QStringLiteral("bell\x07\x1f"),
    QStringLiteral(" "),
    QString(),
    QStringLiteral("Ωmega — 東"),
    QStringLiteral("<img src=x> [x](javascript:y) *b* `c` &amp;"),
    QString::fromUtf16(u"csi\u009bnext\u2028line"),
};

SystemReport Sample()
{
    SystemReport report;
    ReportSection awkward{QStringLiteral("Awkward"), {}};
    for (int i = 0; i < AwkwardValues.size(); ++i)
        awkward.rows.append({QStringLiteral("Value %1").arg(i), AwkwardValues[i]});
    report.sections = {{QStringLiteral("General"),
                        {{QStringLiteral("OS information"), QStringLiteral("Zentil Linux")},
                         {QStringLiteral("Memory"), QStringLiteral("4041528kB")}}},
                       awkward,
                       {QStringLiteral("Empty"), {}}};
    return report;
}

} // namespace

class ReportTest : public QObject
{
    Q_OBJECT

private slots:
    void jsonGivesBackEveryValue();
    void markdownKeepsTwoCellsPerRow();
    void textAlignsEachSection();
};

void ReportTest::jsonGivesBackEveryValue()
{
    const QString json = FormatReport(Sample(), ReportFormat::Json);
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json.toUtf8(), &error);
    QCOMPARE(error.error, QJsonParseError::NoError);
    const QJsonObject top = document.object();
    QCOMPARE(top.keys().size(), 3);
    QCOMPARE(top.value(QStringLiteral("General")).toObject().value(QStringLiteral("Memory")).toString(),
             QStringLiteral("4041528kB"));
    const QJsonObject awkward = top.value(QStringLiteral("Awkward")).toObject();
    for (int i = 0; i < AwkwardValues.size(); ++i)
        QCOMPARE(awkward.value(QStringLiteral("Value %1").arg(i)).toString(), AwkwardValues[i]);
    QVERIFY(top.value(QStringLiteral("Empty")).toObject().isEmpty());
}

void ReportTest::markdownKeepsTwoCellsPerRow()
{
    const QStringList lines = FormatReport(Sample(), ReportFormat::Markdown).split(QLatin1Char('\n'));
    QCOMPARE(lines.filter(QRegularExpression(QStringLiteral("^## "))),
             (QStringList{QStringLiteral("## General"), QStringLiteral("## Awkward"),
                          QStringLiteral("## Empty")}));
    const QStringList rows = lines.filter(QRegularExpression(QStringLiteral("^\\| Value ")));
    QCOMPARE(rows.size(), AwkwardValues.size());
    for (const QString& row : rows) {
        // Only the three cell borders are bare pipes; a pipe in a value is escaped.
        QCOMPARE(QString(row).remove(QStringLiteral("\\|")).count(QLatin1Char('|')), 3);
    }
    QCOMPARE(rows[1], QStringLiteral("| Value 1 | a \\| b |"));
    QCOMPARE(rows[3], QStringLiteral("| Value 3 | two lines  |"));
    // A battery's strings are the battery's maker's: no markup of theirs reaches a renderer.
    QCOMPARE(rows[8],
             QStringLiteral("| Value 8 | \\<img src=x\\> \\[x\\](javascript:y) \\*b\\* \\`c\\` \\&amp; |"));
    QVERIFY(lines.contains(QStringLiteral("| Memory | 4041528kB |")));
}

void ReportTest::textAlignsEachSection()
{
    const QString text = FormatReport(Sample(), ReportFormat::Text);
    QVERIFY(text.startsWith(QStringLiteral("General\n-------\nOS information: Zentil Linux\n"
                                           "Memory:         4041528kB\n\nAwkward\n-------\n")));
    const QStringList lines = text.split(QLatin1Char('\n'));
    // A control character would break the line: every row stays on its own.
    QCOMPARE(lines.filter(QRegularExpression(QStringLiteral("^Value \\d:"))).size(), AwkwardValues.size());
    QVERIFY(lines.contains(QStringLiteral("Value 2: tab here")));
    QVERIFY(lines.contains(QStringLiteral("Value 5:  ")));
    QVERIFY(lines.contains(QStringLiteral("Value 9: csi next line")));
    QVERIFY(text.endsWith(QStringLiteral("\nEmpty\n-----\n")));
}

QTEST_GUILESS_MAIN(ReportTest)
#include "ReportTest.moc"
