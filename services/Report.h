// The system report: the facts the system information, device and security dialogs show, read by
// the same readers, printed as text, Markdown or JSON for a bug report. Needs no display.
#pragma once

#include "SysInfo.h"

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
    // Whether every section was read; a section that could not be read has shown why.
    bool complete = true;
};

enum class ReportFormat
{
    Text,
    Markdown,
    Json,
};

// What a state shows that could not be read.
inline constexpr const char* ReportUnknown = "Unknown";

// Reads every section through the current host, in the dialogs' order, and has the DMI dump that
// the reading leaves in /tmp removed afterwards.
SystemReport CollectReport();

QString FormatReport(const SystemReport& report, ReportFormat format);

// Collects the report on the current host, its message boxes turned into lines on `errors`, and
// prints it on `out`: 0 when every section was read, 1 otherwise.
int RunReport(ReportFormat format, QTextStream& out, QTextStream& errors);

} // namespace Ucomtc
