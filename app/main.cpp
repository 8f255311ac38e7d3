#include "Application.h"
#include "CommandLine.h"
#include "MainForm.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    if (const std::optional<int> status = RunCommandLine(argc, argv))
        return *status;

    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("LapstoneConfiguration"));

    TApplication forms;
    forms.CreateForms();
    forms.MainForm()->show();
    return QApplication::exec();
}
