// Handing over to outside tools: the settings the program leaves to the notebook's add-on scripts,
// to the old desktop's YaST2 modules and control modules, or to today's desktop's settings tools
// (areas/handovers/Constants.h lists each setting's ways), and the help pages. Nothing here waits for
// a tool but the add-on scripts; the dialogs and the main window show what comes back.
#pragma once

#include "areas/handovers/Constants.h"
#include "machine/Message.h"

#include <QStringList>
#include <optional>

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

private:
    // The line that starts today's settings tool on `settings` without its "&": "kcmshell6 MODULE"
    // (kcmshell5 in a Plasma 5 session, either in one that does not say), else "systemsettings
    // MODULE", under Plasma;
    // "gnome-control-center PANEL" under GNOME, the panel its --list has (its wireless panel where
    // that is given and the only network adapters are wireless). Empty where the desktop is
    // another, or where it lacks the tool or ModemManager: then `messages` says which.
    QString DesktopSettingsLine(const DesktopSettings& settings, Messages& messages);
    QString GnomePanel(const DesktopSettings& settings, Messages& messages);

    // gnome-control-center's panels, asked for once; empty where it did not list them.
    std::optional<QStringList> gnomePanels_;
};

} // namespace Ucomtc
