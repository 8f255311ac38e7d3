#include "FontWarmUp.h"

#include <fontconfig/fontconfig.h>
#include <system_error>

TFontWarmUp::TFontWarmUp()
{
    try {
        // FcInit installs the configuration for the whole process; Qt's own FcInit then finds it.
        reader_ = std::thread([] { FcInit(); });
    } catch (const std::system_error&) {
        // Without a thread, Qt reads the configuration itself, as it always could.
    }
}

void TFontWarmUp::Join()
{
    if (reader_.joinable())
        reader_.join();
}

TFontWarmUp::~TFontWarmUp()
{
    Join();
}
