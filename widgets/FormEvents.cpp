#include "widgets/FormEvents.h"

#include "widgets/Handlers.h"

#include <QShowEvent>
#include <QTimer>
#include <QWidget>

namespace Ucomtc {

namespace {

constexpr const char* HandlersRun = "showHandlersRun";

} // namespace

void QueueShowHandler(QWidget* form, const QShowEvent* event, std::function<void()> handler)
{
    if (event->spontaneous())
        return;
    QTimer::singleShot(0, form, [form, handler = std::move(handler)] {
        Guarded(handler);
        form->setProperty(HandlersRun, ShowHandlersRun(form) + 1);
    });
}

int ShowHandlersRun(const QWidget* form)
{
    return form->property(HandlersRun).toInt();
}

} // namespace Ucomtc
