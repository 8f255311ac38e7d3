#include "services/DesktopChanges.h"

#include "machine/Host.h"
#include "machine/Run.h"
#include "machine/ShellWord.h"
#include "readers/Desktop.h"
#include "readers/SecurityStates.h"
#include "services/Commands.h"
#include "services/Constants.h"
#include "widgets/MessageBox.h"

#include <algorithm>
#include <optional>

namespace Ucomtc {

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
// vendor and product numbers and its name.
std::optional<QString> KeepInKcminputrc(const InputDevice& device, bool enable)
{
    if (!device.vendor || !device.product)
        return QString::fromLatin1(MsgDeviceNumbersUnknown);
    const QString tool = FirstInstalled({"kwriteconfig5", "kwriteconfig6"});
    if (tool.isEmpty())
        return QString::fromLatin1(MsgNoKwriteconfig);
    if (RunAsTheUser(tool + QString::fromLatin1(KcminputrcGroup) + QString::number(*device.vendor) +
                     QStringLiteral(" --group ") + QString::number(*device.product) +
                     QStringLiteral(" --group ") + ShellWord(device.name) +
                     QString::fromLatin1(KcminputrcEnabled) + TrueOrFalse(enable)))
        return std::nullopt;
    return QString::fromLatin1(MsgKcminputrcNotWritten);
}

} // namespace

bool SwitchInputDevice(const InputDevice& device, bool enable)
{
    const LibinputWay way = LibinputWayFor(device.kind);
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
                     (enable ? QStringLiteral("enabled") : QStringLiteral("disabled")));
        break;
    case LibinputWay::None:
        ShowError(NoSwitchReason(device.kind));
        return false;
    }
    // The tools' statuses do not tell: gsettings without its settings service, for one, fails
    // quietly. What the desktop reads afterwards does.
    Messages unread;
    if (ReadLibinputEnabled(device, unread) != enable) {
        ShowError(WithDeviceName(MsgDeviceNotSwitched, device.kind).arg(OnOrOff(enable)));
        return false;
    }
    // GNOME keeps its settings itself.
    const std::optional<QString> notKept = way == LibinputWay::Xinput ? KeepByAutostart(device, enable)
                                           : way == LibinputWay::Kwin ? KeepInKcminputrc(device, enable)
                                                                      : std::nullopt;
    if (notKept)
        ShowPlainMessage(WithDeviceName(MsgDeviceNotKept, device.kind).arg(OnOrOff(enable), *notKept));
    return true;
}

QString DeviceStateArgument(PointingDevice device, bool enable)
{
    return QString::fromLatin1(device == PointingDevice::Touchpad ? "touchpad" : "pointingstick") +
           (enable ? QStringLiteral("=on") : QStringLiteral("=off"));
}

std::optional<std::pair<PointingDevice, bool>> ParseDeviceStateArgument(const QString& argument)
{
    for (const PointingDevice device : {PointingDevice::Touchpad, PointingDevice::PointingStick}) {
        for (const bool enable : {true, false}) {
            if (argument == DeviceStateArgument(device, enable))
                return std::pair{device, enable};
        }
    }
    return std::nullopt;
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
    if (ReadLibinputEnabled(*device, messages) != enable)
        messages.append(
            {MessageKind::Error, WithDeviceName(MsgDeviceNotSwitched, kind).arg(OnOrOff(enable))});
    return messages;
}

bool WriteDesktopResumeLock(bool lock)
{
    const Desktop desktop = CurrentDesktop();
    QString why;
    if (desktop == Desktop::Plasma) {
        const QString tool = FirstInstalled({"kwriteconfig5", "kwriteconfig6"});
        if (tool.isEmpty())
            why = QString::fromLatin1(MsgNoKwriteconfig);
        else
            RunAsTheUser(tool + QString::fromLatin1(PlasmaLockOnResumeSet) + TrueOrFalse(lock));
    } else if (desktop == Desktop::Gnome) {
        RunAsTheUser(QString::fromLatin1(GnomeLockEnabledSet) + TrueOrFalse(lock));
    } else {
        // Nothing could be read here, so the dialog offers no choice to write.
        return true;
    }
    Messages unread;
    if (why.isEmpty() && TodaysResumeLock(unread) != lock)
        why = QString::fromLatin1(desktop == Desktop::Plasma ? MsgKscreenlockerrcNotWritten
                                                             : MsgGnomeLockNotChanged);
    if (!why.isEmpty()) {
        ShowError(QString::fromLatin1(MsgResumeLockNotSaved) + why);
        return false;
    }
    if (desktop == Desktop::Plasma && !RunAsTheUser(QString::fromLatin1(ScreenLockerConfigure)))
        ShowPlainMessage(QString::fromLatin1(MsgScreenLockerNotTold));
    return true;
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
