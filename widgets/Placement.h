// Windows open where they were laid out as long as they fit the screen they open on. On a smaller
// screen a window that would reach past the usable area (panels excluded) moves just far enough to
// be whole, so that no button ends up out of reach.
#pragma once

#include <QPoint>
#include <QRect>

class QWidget;

namespace Ucomtc {

// Where the frame `frame` has to go to lie within `available`, moved the least distance. A frame
// larger than `available` keeps its top-left corner (title bar and first controls) inside.
QPoint FitInto(const QRect& frame, const QRect& available);

// Moves the top-level `window` (its frame, as QWidget::move does) to `designed`, or the least
// distance from there that makes it fit the screen it opens on. Call before the window is mapped.
void PlaceWindow(QWidget* window, const QPoint& designed);

// For windows that Qt places itself (dialogs centred over their parent, message boxes): every
// showing keeps that place when it fits and otherwise moves the window as PlaceWindow does.
void KeepOnScreen(QWidget* window);

} // namespace Ucomtc
