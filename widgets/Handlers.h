// Event handlers run through Guarded: an error that escapes a handler (an unreadable capture file or
// picture) ends that handler and is shown in the application's default error report, and the
// program keeps running. Exceptions must never unwind through Qt's event loop.
#pragma once

#include <QObject>
#include <exception>
#include <utility>

namespace Ucomtc {

void ReportUnhandledError(const std::exception& error);

template <typename Handler> void Guarded(Handler&& handler)
{
    try {
        std::forward<Handler>(handler)();
    } catch (const std::exception& error) {
        ReportUnhandledError(error);
    }
}

// Binds `signal` of `sender` to `form`'s handler, run through Guarded. The handler is called
// through the member pointer, so a virtual handler replaced by a derived form runs the replacement.
template <typename Sender, typename Signal, typename Form>
void BindHandler(Sender* sender, Signal signal, Form* form, void (Form::*handler)())
{
    QObject::connect(sender, signal, form, [form, handler] { Guarded([&] { (form->*handler)(); }); });
}

} // namespace Ucomtc
