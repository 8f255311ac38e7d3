// The scenarios, by area. Each area lists its named scenarios and adds its part to the tour, which
// goes through the whole program on one notebook with a screenshot of every window.
#pragma once

#include <vector>

class Driver;

struct Scenario
{
    const char* name;
    void (*run)(Driver&);
};

std::vector<Scenario> MainWindowScenarios();
// The tour's parts run on a started program, one after the other.
void TourMainWindow(Driver& driver);

std::vector<Scenario> DeviceDialogScenarios();
void TourDeviceDialogs(Driver& driver);

std::vector<Scenario> SecurityScenarios();
void TourSecurity(Driver& driver);

std::vector<Scenario> SystemInformationScenarios();
void TourSystemInformation(Driver& driver);

// The system report against the dialogs; not part of the tour.
std::vector<Scenario> ReportScenarios();
