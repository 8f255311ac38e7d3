// The program's command line. It is read before the application object exists, so that --help,
// --version and a mistake are answered without a display, and without opening a window.
#pragma once

#include "areas/pointing/PointingDevices.h"
#include "report/Report.h"

#include <QString>
#include <QStringList>
#include <optional>
#include <utility>

struct TCommandLineOutcome
{
    // False when the program ends at once with `exitStatus`, after printing `output` to standard
    // output and `error` to standard error.
    bool run = true;
    int exitStatus = 0;
    QString output;
    QString error;
    // --report: print the system report in this format, without a window, and end.
    std::optional<Ucomtc::ReportFormat> report;
    // --apply-device-state DEVICE=STATE: switch the device so, without a window, and end.
    std::optional<std::pair<Ucomtc::PointingDevice, bool>> deviceState;
};

class TCommandLine
{
public:
    TCommandLine(QString programName, QString version);

    TCommandLineOutcome Parse(const QStringList& arguments) const;

private:
    QString programName_;
    QString version_;
};
