// How the test hosts write down a message box: the short name FakeHost's log and the scenario
// driver's summaries use ("error: …"), and the wording of the scenario transcripts.
#pragma once

#include "machine/Message.h"

struct MessageKindName
{
    const char* name;
    const char* box;
};

inline MessageKindName NameOf(Ucomtc::MessageKind kind)
{
    switch (kind) {
    case Ucomtc::MessageKind::Error:
        return {"error", "error box"};
    case Ucomtc::MessageKind::Plain:
        return {"plain", "plain message box"};
    case Ucomtc::MessageKind::Report:
        return {"report", "error report"};
    }
    return {"", ""};
}
