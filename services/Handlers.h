// Event handlers run through Guarded: an error that escapes a handler (an unreadable capture file or
// picture) ends that handler and is shown in the application's default error report, and the
// program keeps running. Exceptions must never unwind through Qt's event loop.
#pragma once

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

} // namespace Ucomtc
