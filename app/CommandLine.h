// The program's command line. It is read before the application object exists, so that --help,
// --version and a mistake are answered without a display, and without opening a window.
#pragma once

#include <QString>
#include <QStringList>

struct TCommandLineOutcome
{
    // False when the program ends at once with `exitStatus`, after printing `output` to standard
    // output and `error` to standard error.
    bool run = true;
    int exitStatus = 0;
    QString output;
    QString error;
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
