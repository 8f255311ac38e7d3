// Runs the program's real forms inside the simulated notebook and goes through them as a person
// would: pointer moves and clicks with QTest, message boxes read and answered, the machine's files
// and the stand-in tools' log looked at afterwards. Each scenario checks what it expects to see.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class QToolButton;
class TApplication;
class TMainForm1;
class ScenarioHost;
class Transcript;

class Driver
{
public:
    Driver(Transcript& transcript, ScenarioHost& host);
    ~Driver();

    static QStringList ScenarioNames();
    // Runs the scenario called `name`; false when there is no such scenario.
    bool Run(const QString& name);

private:
    void Startup();
    void ForeignVendor();
    void NoDaemon();
    void AsRoot();
    void ToolButtons();
    void MissingTools();
    void AddOns();
    void Tour();

    // Creates the forms, shows the main window and waits until its show handler has finished.
    void StartProgram();
    // Closes the main window as the title bar's close button would, then destroys the forms.
    void StopProgram();
    void Hover(const char* buttonName);
    void Click(const char* buttonName);
    QToolButton* Button(const char* buttonName) const;
    bool WaitFor(const std::function<bool()>& condition, int milliseconds);
    // Lines the stand-in tools have logged since the last call.
    QStringList NewToolLines();
    void ExpectMessages(const QStringList& expected, const QString& when);

    Transcript& transcript_;
    ScenarioHost& host_;
    std::unique_ptr<TApplication> forms_;
    TMainForm1* main_ = nullptr;
    qsizetype toolLinesSeen_ = 0;
};
