#include "Launches.h"

#include "Commands.h"
#include "Constants.h"
#include "Messages.h"

namespace Ucomtc {

bool Yast2Available()
{
    if (CommandExists(QStringLiteral("yast2")) && FileExists(QStringLiteral("/sbin/yast2")))
        return true;
    ShowError(QString::fromLatin1(MsgYastNotFound));
    return false;
}

void ShowHelpPage(const HelpPage& page)
{
    System(QString::fromLatin1(page.command));
}

} // namespace Ucomtc
