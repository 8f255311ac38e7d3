// Shows the busy pointer while the GUI thread waits for a command or the daemon.
//
// One handler often runs several command lines in a row; changing the pointer of every window
// twice for each of them would cost more than the lines themselves. So the pointer turns busy with
// the first line and comes back once the program returns to its event loop (or a message box is
// about to appear, see Lift).
#pragma once

namespace Ucomtc {

class BusyCursor
{
public:
    BusyCursor();
    ~BusyCursor();
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

    // Brings the pointer back at once: a person reads a message box with the usual pointer.
    static void Lift();
};

} // namespace Ucomtc
