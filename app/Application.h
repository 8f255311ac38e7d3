// The program's forms: created once, at start-up, in a fixed order, and owned here until the program
// ends. The first form created is the main window; the dialogs are its children.
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

    // Creates every form: the main window, then the five dialogs.
    void CreateForms();
    TMainForm1* MainForm() const;
    // The form names in creation order.
    QStringList FormNames() const;

private:
    std::vector<std::unique_ptr<QWidget>> forms_;
};
