#include "widgets/FormEvents.h"

#include "widgets/Handlers.h"

#include <QShowEvent>
#include <QTimer>
#include <QWidget>

namespace Ucomtc {

void QueueShowHandler(QWidget* form, const QShowEvent* event, std::function<void()> handler)
{
    if (event->spontaneous())
        return;
    QTimer::singleShot(0, form, [handler = std::move(handler)] { Guarded(handler); });
}

} // namespace Ucomtc
