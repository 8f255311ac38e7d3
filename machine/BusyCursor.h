// Shows the busy pointer while the GUI thread waits for a command or the daemon.
#pragma once

namespace Ucomtc {

class BusyCursor
{
public:
    BusyCursor();
    ~BusyCursor();
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

private:
    bool active_;
};

} // namespace Ucomtc
