// Forms read their state in a show handler every time they are shown. The handler runs right after
// the form has appeared, so the window is painted before the busy wait for commands, and through
// Guarded, so an unreadable file ends it in the default error report.
#pragma once

#include <functional>

class QShowEvent;
class QWidget;

namespace Ucomtc {

// Call from the form's showEvent: queues `handler` for a show the program asked for (not for the
// window system showing a window again after it was minimised).
void QueueShowHandler(QWidget* form, const QShowEvent* event, std::function<void()> handler);
// The same for a window whose handler has a part that is seen and a part that is not: `shown` runs
// as a show handler does, before the window is first painted, and `unseen` once that painting
// has gone to the window system, so that it does not hold the window back. When `shown` ends in
// an error, `unseen` does not run. The pair counts as one handler.
void QueueShowHandler(QWidget* form, const QShowEvent* event, std::function<void()> shown,
                      std::function<void()> unseen);
// How many of the form's show handlers have finished: what a person (or a test) waits for before
// the form shows what it read.
int ShowHandlersRun(const QWidget* form);

} // namespace Ucomtc
