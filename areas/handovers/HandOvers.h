// Handing over to outside tools: the settings the program leaves to the notebook's add-on scripts,
// to the old desktop's YaST2 modules and control modules, or to today's desktop's settings tools
// (areas/handovers/Constants.h lists each setting's ways), and the help pages. Nothing here waits for
// a tool but the add-on scripts; the dialogs and the main window show what comes back.
#pragma once

#include "areas/handovers/Constants.h"
#include "machine/Message.h"

namespace Ucomtc {

// What a hand-over started: the old desktop's tool, today's settings tool, or nothing.
enum class Started
{
    OldTool,
    DesktopTool,
    Nothing,
};

struct Launch
{
    Started started = Started::Nothing;
    Messages messages;
};

class HandOvers
{
public:
    virtual ~HandOvers() = default;

    // Starts what configures `setting`; the messages say why nothing could be started.
    virtual Launch Start(Setting setting) = 0;
    // Opens a help page in a firefox window of the help's size, else with the desktop's opener.
    virtual Messages ShowHelp(const HelpPage& page) = 0;
};

class MachineHandOvers final : public HandOvers
{
public:
    Launch Start(Setting setting) override;
    Messages ShowHelp(const HelpPage& page) override;
};

// The line that starts today's settings tool on `settings` without waiting for it: "kcmshell6
// MODULE &" (else kcmshell5) under Plasma, "gnome-control-center PANEL &" under GNOME (its wireless
// panel where that is given and the only network adapters are wireless); empty where the desktop is
// another or its tool is not installed.
QString DesktopSettingsLine(const DesktopSettings& settings, Messages& messages);

} // namespace Ucomtc
