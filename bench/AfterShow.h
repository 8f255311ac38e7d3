// Shared by lapstone-bench-tour and bench-same-forms: the peak memory both report, the tab both
// look for, and the end of a show both time, so that a dialog's figure and its floor end at the
// same point: two turns of the event loop after the form's show event.
#pragma once

#include <QByteArray>
#include <QEvent>
#include <QFile>
#include <QObject>
#include <QTabWidget>
#include <QTimer>
#include <QWidget>
#include <functional>

// Calls `done` once the show handler that `form` queues when it is shown has run. The program's
// forms queue their handler from their own showEvent, after this filter has seen the event; a call
// queued here that queues another therefore comes after the handler. A form without a handler
// (bench-same-forms) gets the same two turns of the event loop.
class AfterShowHandler : public QObject
{
public:
    AfterShowHandler(QWidget* form, std::function<void()> done, std::function<void()> shown = {})
        : form_(form), done_(std::move(done)), shown_(std::move(shown))
    {
        form_->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == form_ && event->type() == QEvent::Show && !event->spontaneous()) {
            form_->removeEventFilter(this);
            if (shown_)
                shown_();
            QTimer::singleShot(0, this, [this] { QTimer::singleShot(0, this, [this] { done_(); }); });
        }
        return false;
    }

private:
    QWidget* form_;
    std::function<void()> done_;
    std::function<void()> shown_;
};

// The process's peak resident memory, in KiB; -1 when /proc cannot tell.
inline long PeakRssKib()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly | QIODevice::Text))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    }
    return -1;
}

// The index of the tab whose caption (mnemonics aside) starts with `title`; -1 when none does.
inline int TabStartingWith(QTabWidget* tabs, const QString& title)
{
    for (int i = 0; tabs != nullptr && i < tabs->count(); ++i) {
        if (tabs->tabText(i).remove(QLatin1Char('&')).startsWith(title))
            return i;
    }
    return -1;
}
