#include "widgets/FormEvents.h"

#include "widgets/Handlers.h"

#include <QShowEvent>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace Ucomtc {

namespace {

constexpr const char* HandlersRun = "showHandlersRun";

void CountHandler(QWidget* form)
{
    form->setProperty(HandlersRun, ShowHandlersRun(form) + 1);
}

// Runs `then` once the window system has exposed `window` and its widget has painted it: a widget
// window paints and flushes while it handles its expose event, so the call queued here comes after.
// It belongs to the window, and so goes with the form.
class AfterExposed : public QObject
{
public:
    AfterExposed(QWindow* window, QWidget* form, std::function<void()> then)
        : QObject(window), form_(form), then_(std::move(then))
    {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Expose && static_cast<QWindow*>(watched)->isExposed()) {
            watched->removeEventFilter(this);
            QTimer::singleShot(0, form_, std::move(then_));
            deleteLater();
        }
        return false;
    }

private:
    QWidget* form_;
    std::function<void()> then_;
};

} // namespace

void QueueShowHandler(QWidget* form, const QShowEvent* event, std::function<void()> handler)
{
    if (event->spontaneous())
        return;
    QTimer::singleShot(0, form, [form, handler = std::move(handler)] {
        Guarded(handler);
        CountHandler(form);
    });
}

void QueueShowHandler(QWidget* form, const QShowEvent* event, std::function<void()> shown,
                      std::function<void()> unseen)
{
    if (event->spontaneous())
        return;
    QTimer::singleShot(0, form, [form, shown = std::move(shown), unseen = std::move(unseen)] {
        bool seen = false;
        Guarded([&] {
            shown();
            seen = true;
        });
        if (!seen) {
            CountHandler(form);
            return;
        }
        auto rest = [form, unseen] {
            Guarded(unseen);
            CountHandler(form);
        };
        QWindow* window = form->windowHandle();
        if (window == nullptr || window->isExposed()) {
            // Already on the screen: what `shown` changed is painted now rather than later.
            form->repaint();
            QTimer::singleShot(0, form, rest);
        } else {
            new AfterExposed(window, form, rest);
        }
    });
}

int ShowHandlersRun(const QWidget* form)
{
    return form->property(HandlersRun).toInt();
}

} // namespace Ucomtc
