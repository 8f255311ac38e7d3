#include "DeviceStates.h"

#include "CaptureFile.h"
#include "Commands.h"
#include "Constants.h"
#include "Messages.h"

namespace Ucomtc {

std::optional<bool> ReadNubstickEnabled()
{
    if (!FileExists(QString::fromLatin1(PointingStickRateFile))) {
        ShowError(QString::fromLatin1(MsgNubstickDriverMissing));
        return std::nullopt;
    }
    const QString captureFile = QString::fromLatin1(NubstickCaptureFile);
    const QString rate = CaptureFirstLine(
        RunWith::System, QString::fromLatin1(ReadRateIntoCapture) + captureFile, captureFile, RunWith::Shell);
    // An empty rate file counts as on: only a rate of 0 turns the stick off.
    return !rate.startsWith(QLatin1Char('0'));
}

std::optional<bool> ReadTouchpadEnabled()
{
    if (!CommandExists(QStringLiteral("synclient"))) {
        ShowError(QString::fromLatin1(MsgSynclientNotFound));
        return std::nullopt;
    }
    const QString captureFile = QString::fromLatin1(TouchpadCaptureFile);
    return TouchpadWorksFromListing(
        CaptureFirstLine(RunWith::System, QStringLiteral("synclient -l | grep TouchpadOff > ") + captureFile,
                         captureFile, RunWith::Shell));
}

bool TouchpadWorksFromListing(const QString& line)
{
    // The parameter says whether the pad is off, so "0" means it works; a line without a value, or
    // no line at all, shows it as off.
    const qsizetype equals = line.indexOf(QLatin1Char('='));
    return equals >= 0 && TrimLeadingBlanks(line.mid(equals + 1)).startsWith(QLatin1Char('0'));
}

QString DeviceStateText(bool enabled)
{
    return enabled ? QStringLiteral("Automatic") : QStringLiteral("Disable");
}

} // namespace Ucomtc
