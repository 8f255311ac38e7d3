// A call of the machine's seam as a dialog makes it: what the call had to say is shown at once,
// through the message sink that the test's host writes down.
#pragma once

#include "machine/Message.h"
#include "widgets/MessageBox.h"

template <typename Call> auto Shown(Call&& call)
{
    Ucomtc::Messages messages;
    auto result = call(messages);
    Ucomtc::ShowMessages(messages);
    return result;
}
