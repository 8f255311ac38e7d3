// The desktop's colour scheme where no Qt platform theme brings it: Debian 12 has no Qt 6 theme for
// Plasma, and Qt 6.4 does not read GNOME's dark preference. The program then takes Plasma's colours
// from its kdeglobals file, or a dark palette when GNOME prefers dark, and follows a change of
// either while it runs without waking up while idle: the kdeglobals file is watched (inotify);
// GNOME's setting is read once at start and again when the toolkit reports a theme or palette
// change.
#pragma once

#include <QPalette>
#include <QString>
#include <optional>

namespace Ucomtc {

// The palette of a Plasma colour file: its Window, View, Button, Selection and Tooltip groups, each
// colour "r,g,b". Nothing when the file cannot be read or has no window colours.
std::optional<QPalette> KdePalette(const QString& kdeglobals);
// The dark palette for GNOME's "prefer-dark".
QPalette PreferDarkPalette();

// Takes the desktop's colours and follows them from now on, unless a Qt platform theme already
// gave the application its palette. Call once the application object exists; a second call starts
// afresh.
void UseDesktopPalette();

} // namespace Ucomtc
