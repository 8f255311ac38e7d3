// The system report: the facts the system information, device and security dialogs show, read by
// the same areas, printed as text, Markdown or JSON for a bug report. Needs no display.
#pragma once

#include "areas/Areas.h"
#include "machine/Constants.h"
#include "machine/Message.h"
#include "machine/Rows.h"

#include <QString>
#include <QTextStream>

namespace Ucomtc {

struct ReportSection
{
    QString title;
    TSysInfoArray rows;
};

struct SystemReport
{
    QList<ReportSection> sections;
    // What the reading had to say, in order: the dialogs' message boxes.
    Messages messages;
    // Whether every section was read; a section that could not be read has a message saying why.
    bool complete = true;
};

enum class ReportFormat
{
    Text,
    Markdown,
    Json,
};

// What a state shows that could not be read.
inline constexpr const char* ReportUnknown = UnknownText;

// Reads every section through the areas, in the dialogs' order, and has the DMI dump that the
// reading leaves in /tmp removed afterwards.
SystemReport CollectReport(const Areas& areas);

QString FormatReport(const SystemReport& report, ReportFormat format);

// Each distinct message once, in the order it first came, with "(N times)" after one that came
// more than once; a message's line breaks become blanks.
QStringList MessageLines(const Messages& messages);

// Collects the report on the current host, its messages turned into lines on `errors`, and prints
// it on `out`: 0 when every section was read, 1 otherwise.
int RunReport(const Areas& areas, ReportFormat format, QTextStream& out, QTextStream& errors);

} // namespace Ucomtc
