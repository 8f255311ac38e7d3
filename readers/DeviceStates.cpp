#include "readers/DeviceStates.h"

#include "machine/Capture.h"
#include "readers/InputDevices.h"
#include "services/Constants.h"

namespace Ucomtc {

Reading<std::optional<bool>> ReadNubstickEnabled()
{
    Reading<std::optional<bool>> read;
    if (!Host::current().FileExists(QString::fromLatin1(PointingStickRateFile))) {
        if (const auto device = FindInputDevice(PointingDevice::PointingStick))
            read.value = ReadLibinputEnabled(*device, read.messages);
        else
            read.messages.append({MessageKind::Error, QString::fromLatin1(MsgNubstickDriverMissing)});
        return read;
    }
    const QString captureFile = QString::fromLatin1(NubstickCaptureFile);
    const QString rate =
        CaptureFirstLine(RunWith::System, QString::fromLatin1(ReadRateIntoCapture) + captureFile, captureFile,
                         RunWith::Shell, read.messages);
    // An empty rate file counts as on: only a rate of 0 turns the stick off.
    read.value = !rate.startsWith(QLatin1Char('0'));
    return read;
}

Reading<std::optional<bool>> ReadTouchpadEnabled()
{
    Reading<std::optional<bool>> read;
    if (!CommandExists(QStringLiteral("synclient"), read.messages)) {
        if (const auto device = FindInputDevice(PointingDevice::Touchpad))
            read.value = ReadLibinputEnabled(*device, read.messages);
        else
            read.messages.append({MessageKind::Error, QString::fromLatin1(MsgSynclientNotFound)});
        return read;
    }
    const QString captureFile = QString::fromLatin1(TouchpadCaptureFile);
    read.value = TouchpadWorksFromListing(
        CaptureFirstLine(RunWith::System, QStringLiteral("synclient -l | grep TouchpadOff > ") + captureFile,
                         captureFile, RunWith::Shell, read.messages));
    return read;
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

QString DeviceStateText(std::optional<bool> state)
{
    return state ? DeviceStateText(*state) : QString::fromLatin1(UnknownText);
}

} // namespace Ucomtc
