// The scenarios by name: each area's list (Scenarios.h), and the tours through every area.
#pragma once

#include <QString>
#include <QStringList>

class Driver;

QStringList ScenarioNames();
// Runs the scenario called `name` with `driver`; false when there is no such scenario.
bool RunScenario(Driver& driver, const QString& name);
