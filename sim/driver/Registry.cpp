#include "Registry.h"

#include "Driver.h"
#include "Scenarios.h"
#include "Transcript.h"

#include "app/MainForm.h"
#include "tests/support/DarkPalette.h"

#include <QApplication>
#include <QScreen>
#include <vector>

namespace {

std::vector<Scenario> AllScenarios()
{
    std::vector<Scenario> all;
    for (const auto& area : {MainWindowScenarios(), DeviceDialogScenarios(), SecurityScenarios(),
                             SystemInformationScenarios(), ReportScenarios()})
        all.insert(all.end(), area.begin(), area.end());
    return all;
}

// The whole program on one notebook, area by area.
void Tour(Driver& driver)
{
    driver.StartProgram();
    if (!driver.mainForm()->isVisible()) {
        driver.transcript().Line(QStringLiteral("the program has ended"));
        return;
    }
    driver.NewToolLines();
    TourMainWindow(driver);
    TourDeviceDialogs(driver);
    TourSecurity(driver);
    TourSystemInformation(driver);
}

// The tour again with the whole screen in every screenshot, each window checked to lie on the
// screen with readable text; `dark` runs it under a dark colour scheme.
void ScreenTour(Driver& driver, bool dark)
{
    if (dark)
        QApplication::setPalette(DarkPalette());
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    driver.transcript().Line(QStringLiteral("screen %1x%2, %3 colour scheme")
                                 .arg(screen.width())
                                 .arg(screen.height())
                                 .arg(dark ? QStringLiteral("dark") : QStringLiteral("default")));
    driver.transcript().GrabScreen([&driver](QWidget* window) { driver.CheckOnScreenAndReadable(window); });
    Tour(driver);
    driver.transcript().GrabScreen({});
}

} // namespace

QStringList ScenarioNames()
{
    QStringList names;
    for (const Scenario& scenario : AllScenarios())
        names.append(QString::fromLatin1(scenario.name));
    names.append(QStringLiteral("tour"));
    names.append(QStringLiteral("screen-tour"));
    names.append(QStringLiteral("dark-tour"));
    return names;
}

bool RunScenario(Driver& driver, const QString& name)
{
    void (*run)(Driver&) = nullptr;
    for (const Scenario& scenario : AllScenarios()) {
        if (name == QLatin1String(scenario.name))
            run = scenario.run;
    }
    const bool tour = name == QLatin1String("tour");
    const bool screenTour = name == QLatin1String("screen-tour") || name == QLatin1String("dark-tour");
    if (run == nullptr && !tour && !screenTour)
        return false;
    driver.transcript().Heading(QStringLiteral("scenario ") + name);
    if (run != nullptr)
        run(driver);
    else if (screenTour)
        ScreenTour(driver, name == QLatin1String("dark-tour"));
    else
        Tour(driver);
    if (driver.ProgramStarted())
        driver.StopProgram();
    return true;
}
