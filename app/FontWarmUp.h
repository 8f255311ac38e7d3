// Reads the font configuration on a thread of its own while Qt connects to the display: parsing
// fontconfig's XML files is the largest single step before the first text can be measured, and
// nothing else needs it before the forms are built.
#pragma once

#include <thread>

class TFontWarmUp
{
public:
    TFontWarmUp();
    // Waits for the configuration, if it is still being read. Call before the first font is used,
    // so that Qt finds it loaded instead of reading it a second time alongside.
    void Join();
    ~TFontWarmUp();

    TFontWarmUp(const TFontWarmUp&) = delete;
    TFontWarmUp& operator=(const TFontWarmUp&) = delete;

private:
    std::thread reader_;
};
