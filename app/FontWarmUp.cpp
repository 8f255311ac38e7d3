#include "FontWarmUp.h"

#include <fontconfig/fontconfig.h>
#include <system_error>

namespace {

// Without a thread, the step is left to Qt, as it always could be.
template <typename Step> std::thread StartThread(Step step)
{
    try {
        return std::thread(step);
    } catch (const std::system_error&) {
        return std::thread();
    }
}

} // namespace

TFontWarmUp::TFontWarmUp()
    // FcInit installs the configuration for the whole process; Qt's own FcInit then finds it.
    : reader_(StartThread([] { FcInit(); }))
{}

void TFontWarmUp::Join()
{
    if (reader_.joinable())
        reader_.join();
}

TFontWarmUp::~TFontWarmUp()
{
    Join();
}
