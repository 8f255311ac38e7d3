#include "Messages.h"

#include "Host.h"

namespace Ucomtc {

void ShowError(const QString& text)
{
    Host::current().ShowMessage(MessageKind::Error, text);
}

void ShowPlainMessage(const QString& text)
{
    Host::current().ShowMessage(MessageKind::Plain, text);
}

} // namespace Ucomtc
