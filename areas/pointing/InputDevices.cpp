#include "areas/pointing/InputDevices.h"

#include "areas/pointing/Constants.h"
#include "machine/Capture.h"
#include "machine/Constants.h"
#include "machine/Desktop.h"
#include "machine/Host.h"
#include "machine/Run.h"
#include "machine/ShellWord.h"

#include <QRegularExpression>
#include <algorithm>
#include <optional>

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
    // GNOME keeps its touchpad's switch itself, on Xorg as on Wayland; xinput only where no desktop
    // keeps one.
    const Desktop desktop = CurrentDesktop();
    if (desktop == Desktop::Gnome && device == PointingDevice::Touchpad)
        return LibinputWay::GnomeSendEvents;
    if (X11Session())
        return LibinputWay::Xinput;
    if (desktop == Desktop::Plasma)
        return LibinputWay::Kwin;
    return LibinputWay::None;
}

QString NoSwitchReason(PointingDevice device)
{
    return CurrentDesktop() == Desktop::Gnome ? QString::fromLatin1(MsgNoStickSwitchOnGnome)
                                              : WithDeviceName(MsgNoSwitchOnDesktop, device);
}

std::optional<DeviceState> ReadLibinputState(const InputDevice& device, Messages& messages)
{
    std::optional<bool> enabled;
    switch (LibinputWayFor(device.kind)) {
    case LibinputWay::Xinput:
        enabled = XinputEnabled(
            Ask(XinputOnDevice(device, QString::fromLatin1(XinputEnabledOfId)) + QStringLiteral(" > "),
                device.kind, messages));
        // Debian's desktops only suggest xinput: without it the X session has nothing to say.
        if (!enabled && !CommandExists(QStringLiteral("xinput"), messages)) {
            messages.append({MessageKind::Error, WithDeviceName(MsgNeedsXinput, device.kind)});
            return std::nullopt;
        }
        break;
    case LibinputWay::Kwin:
        enabled = KwinEnabled(Ask(QString::fromLatin1(KwinEnabledGet) + device.sysName +
                                      QString::fromLatin1(KwinEnabledProperty),
                                  device.kind, messages));
        break;
    case LibinputWay::GnomeSendEvents:
        if (const auto state = GnomeSendEventsState(
                Ask(QString::fromLatin1(GnomeTouchpadSendEvents), device.kind, messages)))
            return state;
        break;
    case LibinputWay::None:
        messages.append({MessageKind::Error, NoSwitchReason(device.kind)});
        return std::nullopt;
    }
    if (!enabled) {
        messages.append({MessageKind::Error, WithDeviceName(MsgDeviceStateUnread, device.kind)});
        return std::nullopt;
    }
    return StateOf(*enabled);
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

std::optional<DeviceState> GnomeSendEventsState(const QString& line)
{
    for (const DeviceState state : {DeviceState::On, DeviceState::Off, DeviceState::OffWithMouse}) {
        if (line.trimmed() ==
            QLatin1Char('\'') + QLatin1String(GnomeSendEventsWord(state)) + QLatin1Char('\''))
            return state;
    }
    return std::nullopt;
}

const char* GnomeSendEventsWord(DeviceState state)
{
    switch (state) {
    case DeviceState::On:
        return "enabled";
    case DeviceState::Off:
        break;
    case DeviceState::OffWithMouse:
        return "disabled-on-external-mouse";
    }
    return "disabled";
}

namespace {

QString OnOrOff(bool enable)
{
    return enable ? QStringLiteral("on") : QStringLiteral("off");
}

QString TrueOrFalse(bool value)
{
    return value ? QStringLiteral("true") : QStringLiteral("false");
}

bool RunAsTheUser(const QString& command)
{
    return Succeeded(RunCommandStatus(AsTheUser, command));
}

QString XinputLine(const InputDevice& device, bool enable)
{
    return XinputOnDevice(device, QString::fromLatin1(XinputSetEnabledOfId) +
                                      (enable ? QLatin1Char('1') : QLatin1Char('0')));
}

// Why the choice is not kept, or nothing when it is. In an X session the desktop keeps no such
// setting of its own: an autostart entry switches the device off again at each login.
std::optional<QString> KeepByAutostart(const InputDevice& device, bool enable)
{
    const QString file =
        QString::fromLatin1(AutostartFolderInHome) +
        QString::fromLatin1(device.kind == PointingDevice::Touchpad ? TouchpadAutostartFile
                                                                    : PointingStickAutostartFile);
    const QString path = Host::current().GetEnv("HOME").value_or(QString()) + file;
    if (enable) {
        if (RunAsTheUser(WithShellHome(QStringLiteral("rm -f $HOME") + file)))
            return std::nullopt;
        return QString::fromLatin1(MsgAutostartNotRemoved).arg(path);
    }
    const QString name =
        QString::fromLatin1(device.kind == PointingDevice::Touchpad ? TouchpadName : PointingStickName);
    const QStringList exec{Host::current().ProgramFile(),
                           QStringLiteral("--") + QLatin1String(ApplyDeviceStateOption),
                           DeviceStateArgument(device.kind, false)};
    QStringList execWords;
    for (const QString& word : exec)
        execWords << DesktopExecWord(word);
    QString entry = QStringLiteral("printf '%s\\n'");
    for (const QString& line :
         {QStringLiteral("[Desktop Entry]"), QStringLiteral("Type=Application"),
          QStringLiteral("Name=Lapstone Configuration: ") + name + QStringLiteral(" off"),
          QStringLiteral("Comment=Switches the ") + name +
              QStringLiteral(" off at login, as chosen in Lapstone Configuration"),
          QStringLiteral("Exec=") + execWords.join(QLatin1Char(' ')), QStringLiteral("NoDisplay=true")})
        entry += QLatin1Char(' ') + ShellWord(line);
    const QString folder = QStringLiteral("$HOME") + QString::fromLatin1(AutostartFolderInHome);
    if (RunAsTheUser(WithShellHome(QStringLiteral("mkdir -p ") + folder + QStringLiteral(" && ") + entry +
                                   QStringLiteral(" > $HOME") + file)))
        return std::nullopt;
    return QString::fromLatin1(MsgAutostartNotWritten).arg(path);
}

// Plasma on Wayland keeps each device's choice in kcminputrc, in a group named by the device's
// vendor and product numbers and its name. kwriteconfig's status does not tell whether it could
// write: the setting is read back with the kreadconfig of the same release.
std::optional<QString> KeepInKcminputrc(const InputDevice& device, bool enable, Messages& messages)
{
    if (!device.vendor || !device.product)
        return QString::fromLatin1(MsgDeviceNumbersUnknown);
    const QString tool = FirstInstalled({"kwriteconfig5", "kwriteconfig6"}, messages);
    if (tool.isEmpty())
        return QString::fromLatin1(MsgNoKwriteconfig);
    const QString key = QString::fromLatin1(KcminputrcGroup) + QString::number(*device.vendor) +
                        QStringLiteral(" --group ") + QString::number(*device.product) +
                        QStringLiteral(" --group ") + ShellWord(device.name) +
                        QString::fromLatin1(KcminputrcEnabledKey);
    RunAsTheUser(QLatin1String(KdeConfigWriteLimit) + tool + key + QString::fromLatin1(KcminputrcAsBool) +
                 TrueOrFalse(enable));
    const QString reader = QString(tool).replace(QStringLiteral("write"), QStringLiteral("read"));
    if (Ask(reader + key + QStringLiteral(" 2>/dev/null > "), device.kind, messages).trimmed() ==
        TrueOrFalse(enable))
        return std::nullopt;
    return QString::fromLatin1(MsgKcminputrcNotWritten);
}

} // namespace

Change SwitchInputDevice(const InputDevice& device, DeviceState state)
{
    Change change;
    const LibinputWay way = LibinputWayFor(device.kind);
    // Off while a mouse is plugged in is GNOME's alone: for the others it is off.
    const bool enable = state == DeviceState::On;
    switch (way) {
    case LibinputWay::Xinput:
        RunAsTheUser(XinputLine(device, enable));
        break;
    case LibinputWay::Kwin:
        RunAsTheUser(QString::fromLatin1(KwinEnabledGet) + device.sysName +
                     QString::fromLatin1(KwinEnabledSet) +
                     (enable ? QStringLiteral("\"<true>\"") : QStringLiteral("\"<false>\"")) +
                     QStringLiteral(" >/dev/null"));
        break;
    case LibinputWay::GnomeSendEvents:
        RunAsTheUser(QString::fromLatin1(GnomeTouchpadSendEventsSet) +
                     QLatin1String(GnomeSendEventsWord(state)));
        break;
    case LibinputWay::None:
        return {{{MessageKind::Error, NoSwitchReason(device.kind)}}, false};
    }
    // The tools' statuses do not tell: gsettings without its settings service, for one, fails
    // quietly. What the desktop reads afterwards does.
    Messages unread;
    const std::optional<DeviceState> now = ReadLibinputState(device, unread);
    if (now != (way == LibinputWay::GnomeSendEvents ? state : StateOf(enable))) {
        // Without xinput the X session could not be asked: that is the reason to give.
        const bool noXinput =
            way == LibinputWay::Xinput &&
            unread.contains({MessageKind::Error, WithDeviceName(MsgNeedsXinput, device.kind)});
        return {{{MessageKind::Error,
                  noXinput ? WithDeviceName(MsgNeedsXinput, device.kind)
                           : WithDeviceName(MsgDeviceNotSwitched, device.kind).arg(OnOrOff(enable))}},
                false};
    }
    // GNOME keeps its settings itself.
    const std::optional<QString> notKept = way == LibinputWay::Xinput ? KeepByAutostart(device, enable)
                                           : way == LibinputWay::Kwin
                                               ? KeepInKcminputrc(device, enable, change.messages)
                                               : std::nullopt;
    if (notKept)
        change.messages.append(
            {MessageKind::Plain,
             WithDeviceName(MsgDeviceNotKept, device.kind).arg(OnOrOff(enable), *notKept)});
    return change;
}

Messages ApplyDeviceState(PointingDevice kind, bool enable)
{
    // Only an X session needs it: every other desktop keeps the choice itself.
    if (LibinputWayFor(kind) != LibinputWay::Xinput)
        return {};
    const auto device = FindInputDevice(kind);
    if (!device)
        return {{MessageKind::Error, WithDeviceName(MsgNoSuchDevice, kind)}};
    RunAsTheUser(XinputLine(*device, enable));
    Messages messages;
    if (ReadLibinputState(*device, messages) != StateOf(enable))
        messages.append(
            {MessageKind::Error, WithDeviceName(MsgDeviceNotSwitched, kind).arg(OnOrOff(enable))});
    return messages;
}

QString DesktopExecWord(const QString& text)
{
    // Reserved characters make an argument quoted; within the quotes four characters take a
    // backslash. The entry's own escapes come on top: every backslash doubled, every % as %%.
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    const bool quote = text.isEmpty() ||
                       std::any_of(text.cbegin(), text.cend(), [](QChar c) { return reserved.contains(c); });
    QString word;
    for (const QChar c : text) {
        if (quote && QStringLiteral("\"`$\\").contains(c))
            word += QLatin1Char('\\');
        word += c;
    }
    if (quote)
        word = QLatin1Char('"') + word + QLatin1Char('"');
    return word.replace(QLatin1Char('\\'), QStringLiteral("\\\\"))
        .replace(QLatin1Char('%'), QStringLiteral("%%"));
}

} // namespace Ucomtc
