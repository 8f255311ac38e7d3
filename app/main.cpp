#include "Application.h"
#include "MainForm.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("LapstoneConfiguration"));

    TApplication forms;
    forms.CreateForms();
    forms.MainForm()->show();
    return QApplication::exec();
}
