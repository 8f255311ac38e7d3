// Runs the program's real forms inside the simulated notebook and goes through them as a person
// would: pointer moves and clicks with QTest, message boxes read and answered, the machine's files
// and the stand-in tools' log looked at afterwards. Scenarios (Scenarios.h) use these steps and
// check what they expect to see; the registry (Registry.h) runs them by name.
#pragma once

#include "areas/Areas.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class QAbstractButton;
class QToolButton;
class QWidget;
class TApplication;
class TMainForm1;
class ScenarioHost;
class Transcript;

class Driver
{
public:
    Driver(Transcript& transcript, ScenarioHost& host);
    ~Driver();

    // Creates the forms, shows the main window and waits until its show handler has finished.
    void StartProgram();
    // Closes the main window as the title bar's close button would, then destroys the forms.
    void StopProgram();
    TMainForm1* mainForm() const { return main_; }
    bool ProgramStarted() const { return forms_ != nullptr; }

    QToolButton* Button(const char* buttonName) const;
    void Hover(const char* buttonName);
    // Clicks a category button of the main window.
    void Click(const char* buttonName);
    // Clicks any button, as a person would, after noting it in the transcript.
    void Click(QAbstractButton* button);
    // Clicks `opener`, which opens the modal form called `formName`; once the form is up and its
    // show handler has run, `whileOpen` does what a person would do in it and must close it. The
    // click returns when the form has closed. Checks that the form opened and was closed.
    void ClickToOpen(QAbstractButton* opener, const QString& formName,
                     const std::function<void(QWidget*)>& whileOpen);

    // Lets pending events (a show handler, a repaint) run.
    void Settle(int milliseconds = 100);
    // Lines the stand-in tools have logged since the last call.
    // The tool lines logged since the last call. Tools started with "&" log once they run, so a
    // caller that expects `expected` new lines waits for them (a bounded wait) before reading.
    QStringList NewToolLines(int expected = 0);
    // The message boxes shown since the last click or start, as "error: …", "plain: …", "report: …".
    QStringList Messages() const;
    void ExpectMessages(const QStringList& expected, const QString& when);
    bool Check(bool passed, const QString& what);

    Transcript& transcript() { return transcript_; }
    ScenarioHost& host() { return host_; }

    // Checks that the window lies on the screen and that its text is readable.
    void CheckOnScreenAndReadable(QWidget* window);

private:
    Transcript& transcript_;
    ScenarioHost& host_;
    Ucomtc::MachineAreas machine_;
    std::unique_ptr<TApplication> forms_;
    TMainForm1* main_ = nullptr;
    qsizetype toolLinesSeen_ = 0;
};
