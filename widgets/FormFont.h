// Designer files can only give fonts in points; the forms are laid out for fonts given in pixels.
#pragma once

#include <QString>
#include <functional>

class QColor;
class QWidget;

namespace Ucomtc {

// Gives `widget` (and so every child that does not set its own) the font `family`, `pixelHeight`
// pixels high, with the fixed-pitch hint, and black text wherever black is readable on the
// palette's background for it (see ReadableContrast), under whatever scheme comes later too.
void UseFormFont(QWidget* widget, int pixelHeight, const QString& family = QStringLiteral("serif"),
                 bool fixedPitch = true);

// Narrows `widget`'s face (its stretch, never its height) just enough for `text` to fit in `room`
// pixels, for captions that the fixed layout makes too tight for common serif faces. A "&" marking
// a mnemonic takes no room.
// The contrast ratio of two colours, 1 (none) to 21 (black on white), as accessibility guidelines
// measure it; text needs ReadableContrast against its background.
double ContrastRatio(const QColor& first, const QColor& second);
inline constexpr double ReadableContrast = 4.5;

void NarrowToFit(QWidget* widget, const QString& text, int room);

// Colours chosen for one colour scheme must not outlive it: runs `colour`, which sets colours on
// `widget`'s palette, now and again after every change of the application's palette, each time on
// the palette the widget inherits (what the previous run set is dropped first). Runs go in the
// order the calls were made, so a widget's colours may depend on those of a widget set up before.
void FollowScheme(QWidget* widget, std::function<void()> colour);

} // namespace Ucomtc
