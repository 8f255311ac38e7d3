#include "readers/InputDevices.h"

#include "machine/Capture.h"
#include "machine/ShellWord.h"
#include "readers/Desktop.h"
#include "services/Constants.h"

#include <QRegularExpression>
#include <algorithm>

namespace Ucomtc {

namespace {

std::optional<QString> FirstLine(const QString& path)
{
    const auto content = Host::current().ReadTextFile(path);
    if (!content)
        return std::nullopt;
    return QString::fromUtf8(*content).section(QLatin1Char('\n'), 0, 0).trimmed();
}

// A number the kernel writes in hexadecimal, such as a device's "0002".
std::optional<int> HexNumber(const QString& path)
{
    bool ok = false;
    const int number = FirstLine(path).value_or(QString()).toInt(&ok, 16);
    return ok ? std::optional<int>(number) : std::nullopt;
}

int EventNumber(const QString& sysName)
{
    return sysName.mid(5).toInt();
}

QString CaptureOf(PointingDevice device)
{
    return QString::fromLatin1(device == PointingDevice::Touchpad ? TouchpadCaptureFile
                                                                  : NubstickCaptureFile);
}

QString Ask(const QString& commandInto, PointingDevice device, Messages& messages)
{
    const QString capture = CaptureOf(device);
    return CaptureFirstLine(AsTheUser, commandInto + capture, capture, AsTheUser, messages);
}

} // namespace

std::optional<InputDevice> FindInputDevice(PointingDevice device)
{
    Host& host = Host::current();
    const QString folder = QString::fromLatin1(InputClassFolder) + QLatin1Char('/');
    QStringList events = host.ListFolder(QString::fromLatin1(InputClassFolder))
                             .filter(QRegularExpression(QStringLiteral("^event[0-9]+$")));
    std::sort(events.begin(), events.end(),
              [](const QString& a, const QString& b) { return EventNumber(a) < EventNumber(b); });
    const QString marker =
        QString::fromLatin1(device == PointingDevice::Touchpad ? UdevTouchpad : UdevPointingStick);
    for (const QString& event : events) {
        // udev keeps a character device's entry under its numbers: "c13:69".
        const auto numbers = FirstLine(folder + event + QStringLiteral("/dev"));
        if (!numbers || numbers->isEmpty())
            continue;
        const auto entry =
            host.ReadTextFile(QString::fromLatin1(UdevDataFolder) + QStringLiteral("/c") + *numbers);
        if (!entry || !QString::fromUtf8(*entry).split(QLatin1Char('\n')).contains(marker))
            continue;
        const QString deviceFolder = folder + event + QStringLiteral("/device/");
        return InputDevice{device, event,
                           FirstLine(deviceFolder + QStringLiteral("name")).value_or(QString()),
                           HexNumber(deviceFolder + QStringLiteral("id/vendor")),
                           HexNumber(deviceFolder + QStringLiteral("id/product"))};
    }
    return std::nullopt;
}

QString WithDeviceName(const char* text, PointingDevice device)
{
    return QString::fromLatin1(text).arg(
        QString::fromLatin1(device == PointingDevice::Touchpad ? TouchpadName : PointingStickName));
}

LibinputWay LibinputWayFor(PointingDevice device)
{
    if (X11Session())
        return LibinputWay::Xinput;
    switch (CurrentDesktop()) {
    case Desktop::Plasma:
        return LibinputWay::Kwin;
    case Desktop::Gnome:
        return device == PointingDevice::Touchpad ? LibinputWay::GnomeSendEvents : LibinputWay::None;
    case Desktop::Other:
        break;
    }
    return LibinputWay::None;
}

QString NoSwitchReason(PointingDevice device)
{
    return CurrentDesktop() == Desktop::Gnome ? QString::fromLatin1(MsgNoStickSwitchOnGnome)
                                              : WithDeviceName(MsgNoSwitchOnDesktop, device);
}

std::optional<bool> ReadLibinputEnabled(const InputDevice& device, Messages& messages)
{
    std::optional<bool> enabled;
    switch (LibinputWayFor(device.kind)) {
    case LibinputWay::Xinput:
        enabled = XinputEnabled(
            Ask(XinputOnDevice(device, QString::fromLatin1(XinputEnabledOfId)) + QStringLiteral(" > "),
                device.kind, messages));
        break;
    case LibinputWay::Kwin:
        enabled = KwinEnabled(Ask(QString::fromLatin1(KwinEnabledGet) + device.sysName +
                                      QString::fromLatin1(KwinEnabledProperty),
                                  device.kind, messages));
        break;
    case LibinputWay::GnomeSendEvents:
        enabled =
            GnomeSendEventsEnabled(Ask(QString::fromLatin1(GnomeTouchpadSendEvents), device.kind, messages));
        break;
    case LibinputWay::None:
        messages.append({MessageKind::Error, NoSwitchReason(device.kind)});
        return std::nullopt;
    }
    if (!enabled)
        messages.append({MessageKind::Error, WithDeviceName(MsgDeviceStateUnread, device.kind)});
    return enabled;
}

QString XinputOnDevice(const InputDevice& device, const QString& step)
{
    return QString::fromLatin1(XinputEachIdOfNode) +
           ShellWord(QStringLiteral("\"/dev/input/") + device.sysName + QLatin1Char('"')) +
           QString::fromLatin1(XinputEachIdStep) + step + QString::fromLatin1(XinputEachIdDone);
}

namespace {

// The state a tool's answer gives: `on`, `off`, or nothing when it is neither.
std::optional<bool> Answered(const QString& answer, const char* on, const char* off)
{
    if (answer == QLatin1String(on))
        return true;
    if (answer == QLatin1String(off))
        return false;
    return std::nullopt;
}

} // namespace

std::optional<bool> XinputEnabled(const QString& line)
{
    if (!line.contains(QLatin1String("Device Enabled")))
        return std::nullopt;
    return Answered(line.section(QLatin1Char(':'), -1).trimmed(), "1", "0");
}

std::optional<bool> KwinEnabled(const QString& line)
{
    return Answered(line.trimmed(), "(<true>,)", "(<false>,)");
}

std::optional<bool> GnomeSendEventsEnabled(const QString& line)
{
    // "disabled-on-external-mouse" depends on a mouse being plugged in: not read here.
    return Answered(line.trimmed(), "'enabled'", "'disabled'");
}

} // namespace Ucomtc
