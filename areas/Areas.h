// Every area of the notebook, as the forms and the report reach them: one interface each, so that
// a test can put its own in place. MachineAreas are the machine's, through the current host.
#pragma once

#include "areas/batteries/Battery.h"
#include "areas/handovers/HandOvers.h"
#include "areas/locks/Locks.h"
#include "areas/pointing/PointingDevices.h"
#include "areas/system/SysInfo.h"

namespace Ucomtc {

struct Areas
{
    SystemInformation& system;
    Batteries& batteries;
    PointingDevices& pointing;
    Locks& locks;
    HandOvers& handOvers;
};

class MachineAreas
{
public:
    Areas areas() { return {system_, batteries_, pointing_, locks_, handOvers_}; }

private:
    MachineSystemInformation system_;
    MachineBatteries batteries_;
    MachinePointingDevices pointing_;
    MachineLocks locks_;
    MachineHandOvers handOvers_;
};

} // namespace Ucomtc
