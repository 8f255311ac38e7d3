// The program's forms: created once, in a fixed order, and owned here until the program ends. The
// first form created is the main window; the dialogs follow once the main window is on the screen,
// or as soon as one of them is looked up by name.
#pragma once

#include <QStringList>
#include <QWidget>
#include <memory>
#include <vector>

class TMainForm1;

class TApplication
{
public:
    TApplication();
    ~TApplication();
    TApplication(const TApplication&) = delete;
    TApplication& operator=(const TApplication&) = delete;

    // Creates the main window, with the start steps taken first so that the daemon dumps the table
    // while the window is built, and leaves the dialogs waiting (see Ucomtc::DeferForms).
    void CreateForms();
    // Shows the main window; the waiting dialogs are prepared once it has been painted.
    void ShowMainForm();
    // Creates the waiting dialogs, and makes the first opening of each cheaper while nobody waits:
    // their windows exist (hidden) and the host is ready for command lines.
    void PrepareDialogs();
    TMainForm1* MainForm() const;
    // The form names in creation order, the waiting dialogs created first.
    QStringList FormNames() const;

private:
    void CreateDialogs(TMainForm1* parent);

    std::vector<std::unique_ptr<QWidget>> forms_;
};
