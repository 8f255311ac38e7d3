// The security information dialog and the resume lock dialog it opens, as a person uses them: the
// lock and password states the notebook reports, the tools its buttons start, and the power
// manager's kpowersaverc that the resume lock dialog changes, also in a home whose path holds a
// blank.
#include "Driver.h"
#include "ScenarioHost.h"
#include "Scenarios.h"
#include "Transcript.h"

#include "areas/locks/Constants.h"
#include "machine/Constants.h"
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>

namespace {

const QString SecurityForm = QStringLiteral("SecureForm1");
const QString ResumeForm = QStringLiteral("ResumeForm1");
const QString Notification = QStringLiteral("dcop kpowersave MainApplication-Interface reparseConfiguration");

QString ConfigPath()
{
    return qEnvironmentVariable("HOME") + QStringLiteral("/.kde/share/config/kpowersaverc");
}

QStringList ConfigLines()
{
    QFile file(ConfigPath());
    if (!file.open(QIODevice::ReadOnly))
        return {QStringLiteral("(no file)")};
    return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

QPushButton* Button(QWidget* form, const char* name)
{
    return form->findChild<QPushButton*>(QLatin1String(name));
}

QCheckBox* Box(QWidget* form)
{
    return form->findChild<QCheckBox*>(QStringLiteral("EnableLock"));
}

struct States
{
    const char* powerOn;
    const char* hardDisk;
    const char* admin;
    bool screenButton; // "Enable password ..." usable: the screen saver does not lock yet
};

// Checks what the security dialog shows once its show handler has run.
void ExpectStates(Driver& driver, QWidget* form, const States& states)
{
    driver.ExpectMessages({}, QStringLiteral("showing the security dialog"));
    const std::pair<const char*, const char*> labels[] = {
        {"LabelPwpwd", states.powerOn}, {"LabelHdpwd", states.hardDisk}, {"LabelAdminpwd", states.admin}};
    for (const auto& [name, state] : labels) {
        driver.Check(form->findChild<QLabel*>(QLatin1String(name))->text() == QLatin1String(state),
                     QLatin1String(name) + QStringLiteral(" shows ") + QLatin1String(state));
    }
    driver.Check(Button(form, "ButtonScrnPwd")->isEnabled() == states.screenButton,
                 states.screenButton
                     ? QStringLiteral("the screen saver does not lock: Enable password is offered")
                     : QStringLiteral("the screen saver locks: Enable password is greyed out"));
    driver.Check(!QFile::exists(QStringLiteral("/tmp/dmidecode")), QStringLiteral("no capture file is left"));
}

// Opens the security dialog from the main window and runs `inside` in it.
void OpenSecurity(Driver& driver, const std::function<void(QWidget*)>& inside)
{
    driver.ClickToOpen(driver.Button("SpdButtonSecure"), SecurityForm, [&](QWidget* form) {
        driver.transcript().Window(form, QStringLiteral("security dialog"));
        inside(form);
    });
}

// Opens the resume lock dialog over the security dialog, checks the box it shows, sets it to
// `lock` and presses OK; the file then holds `expected` and the power manager was told.
void SetResumeLock(Driver& driver, QWidget* security, bool shown, bool lock, const QStringList& expected)
{
    driver.NewToolLines();
    driver.ClickToOpen(Button(security, "ButtonResume"), ResumeForm, [&](QWidget* form) {
        driver.transcript().Window(form, QStringLiteral("resume lock dialog"));
        driver.Check(security->isVisible(), QStringLiteral("the security dialog stays open beneath"));
        driver.Check(Box(form)->isChecked() == shown,
                     shown ? QStringLiteral("the box is ticked") : QStringLiteral("the box is clear"));
        if (Box(form)->isChecked() != lock)
            driver.Click(Box(form));
        driver.Click(Button(form, "ButtonOK"));
    });
    driver.ExpectMessages({}, QStringLiteral("OK in the resume lock dialog"));
    driver.Check(ConfigLines() == expected,
                 QStringLiteral("kpowersaverc holds: ") + ConfigLines().join(u'|'));
    driver.Check(driver.NewToolLines(1) == QStringList{Notification}, QStringLiteral("kpowersave was told"));
    driver.Check(security->isVisible(), QStringLiteral("back in the security dialog"));
    driver.Check(!QFile::exists(QStringLiteral("/tmp/kpowersave")) &&
                     !QFile::exists(QStringLiteral("/tmp/kpowersaverc")),
                 QStringLiteral("no capture or scratch file is left"));
}

// Toggles the box and cancels: nothing is written, and the next showing reads the file again.
void CancelResumeLock(Driver& driver, QWidget* security, bool shown)
{
    const QStringList before = ConfigLines();
    driver.NewToolLines();
    driver.ClickToOpen(Button(security, "ButtonResume"), ResumeForm, [&](QWidget* form) {
        driver.Check(Box(form)->isChecked() == shown, QStringLiteral("the box shows the saved setting"));
        driver.Click(Box(form));
        driver.Click(Button(form, "ButtonCancel"));
        driver.Check(Box(form)->isChecked() == shown, QStringLiteral("Cancel put the box back"));
    });
    driver.Check(ConfigLines() == before && driver.NewToolLines().isEmpty(),
                 QStringLiteral("Cancel wrote nothing and told nobody"));
}

// The t2: screen saver locks, power-on and hard-disk passwords set, lockOnSuspend=true.
void Security(Driver& driver)
{
    driver.StartProgram();
    const States t2{"Enabled", "Enabled", "Disabled", false};
    QStringList config = ConfigLines();
    OpenSecurity(driver, [&](QWidget* form) {
        ExpectStates(driver, form, t2);
        driver.NewToolLines();
        driver.Click(Button(form, "ButtonHelp"));
        driver.Check(driver.NewToolLines(1) ==
                         QStringList{QStringLiteral(
                             "firefox -width 800 -height 600 /opt/lapstone/vc/help/html/QRVSecI.HTM")},
                     QStringLiteral("Help opens QRVSecI.HTM"));
        driver.Check(QFile::exists(QStringLiteral("/opt/lapstone/vc/help/html/QRVSecI.HTM")),
                     QStringLiteral("the help page is installed"));

        config.replaceInStrings(QStringLiteral("lockOnSuspend=true"), QStringLiteral("lockOnSuspend=false"));
        SetResumeLock(driver, form, true, false, config);
        CancelResumeLock(driver, form, false);
        config.removeAll(QStringLiteral("lockOnSuspend=false"));
        SetResumeLock(driver, form, false, true, config);

        driver.Click(Button(form, "ButtonUsrPwd"));
        driver.ExpectMessages({}, QStringLiteral("Change password"));
        driver.Check(driver.NewToolLines(1) == QStringList{QStringLiteral("kdesu -c /sbin/yast2 users")},
                     QStringLiteral("Change password starts the YaST2 users module"));
        driver.Check(!form->isVisible(), QStringLiteral("and closes the dialog"));
    });
    // Reopened, it reads everything again and OK just closes it.
    OpenSecurity(driver, [&](QWidget* form) {
        ExpectStates(driver, form, t2);
        driver.Click(Button(form, "ButtonOK"));
    });
    driver.Check(driver.NewToolLines().isEmpty(), QStringLiteral("OK started nothing"));
}

// A notebook whose screen saver does not lock, with other passwords set.
void SecurityScreenSaver(Driver& driver)
{
    driver.StartProgram();
    OpenSecurity(driver, [&](QWidget* form) {
        ExpectStates(driver, form, {"Disabled", "Enabled", "Enabled", true});
        driver.NewToolLines();
        driver.Click(Button(form, "ButtonScrnPwd"));
        driver.ExpectMessages({}, QStringLiteral("Enable password"));
        driver.Check(driver.NewToolLines(1) == QStringList{QStringLiteral("kcmshell screensaver")},
                     QStringLiteral("Enable password starts the screen saver module"));
        driver.Check(!form->isVisible(), QStringLiteral("and closes the dialog"));
    });
    // The lock is still off, so the button is offered again.
    OpenSecurity(driver, [&](QWidget* form) {
        ExpectStates(driver, form, {"Disabled", "Enabled", "Enabled", true});
        driver.Click(Button(form, "ButtonCancel"));
    });
}

// No kpowersaverc yet and no hard-disk password: OK with the box clear creates the file.
void SecurityNewConfig(Driver& driver)
{
    driver.StartProgram();
    OpenSecurity(driver, [&](QWidget* form) {
        ExpectStates(driver, form, {"Enabled", "Disabled", "Disabled", false});
        SetResumeLock(driver, form, true, false,
                      {QStringLiteral("[General]"), QStringLiteral("AlreadyStarted=true"),
                       QStringLiteral("lockOnSuspend=false")});
        driver.Click(Button(form, "ButtonCancel"));
    });
}

// The same notebook as Security, for a user whose home's path holds a blank.
void SecurityHomeWithBlank(Driver& driver)
{
    driver.Check(qEnvironmentVariable("HOME").contains(QLatin1Char(' ')),
                 QStringLiteral("the home is ") + qEnvironmentVariable("HOME"));
    driver.StartProgram();
    QStringList config = ConfigLines();
    driver.Check(config.contains(QStringLiteral("lockOnSuspend=true")),
                 QStringLiteral("the home holds kpowersaverc"));
    OpenSecurity(driver, [&](QWidget* form) {
        ExpectStates(driver, form, {"Enabled", "Enabled", "Disabled", false});
        config.replaceInStrings(QStringLiteral("lockOnSuspend=true"), QStringLiteral("lockOnSuspend=false"));
        SetResumeLock(driver, form, true, false, config);
        CancelResumeLock(driver, form, false);
        driver.Click(Button(form, "ButtonOK"));
    });
}

// Without the daemon, or without dmidecode: the BIOS states cannot be read, and the dialog says
// "Unknown" rather than that no password is set.
void SecurityUnread(Driver& driver)
{
    const bool dmidecode = QFile::exists(QStringLiteral("/usr/sbin/dmidecode"));
    const QString daemonMessage =
        QStringLiteral("plain: ") + QString::fromLatin1(Ucomtc::MsgDaemonNotStarted);
    driver.StartProgram();
    if (dmidecode)
        driver.ExpectMessages({daemonMessage}, QStringLiteral("start-up without the daemon"));
    OpenSecurity(driver, [&](QWidget* form) {
        driver.ExpectMessages(dmidecode ? QStringList{daemonMessage, daemonMessage, daemonMessage}
                                        : QStringList{QStringLiteral("error: command dmidecode not found")},
                              QStringLiteral("showing the security dialog"));
        for (const char* name : {"LabelPwpwd", "LabelHdpwd", "LabelAdminpwd"}) {
            driver.Check(form->findChild<QLabel*>(QLatin1String(name))->text() == QLatin1String("Unknown"),
                         QLatin1String(name) + QStringLiteral(" shows Unknown"));
        }
        driver.Check(!QFile::exists(QStringLiteral("/tmp/dmidecode")),
                     QStringLiteral("no capture file is left"));
        driver.Click(Button(form, "ButtonOK"));
    });
}

// Debian 12: the resume lock where the desktop keeps it, off and on again, read back by the next
// showing; then the same file made read-only, which the dialog says and stays open for.
void TodaysResumeLock(Driver& driver)
{
    const bool gnome = qEnvironmentVariable("XDG_CURRENT_DESKTOP") == QLatin1String("GNOME");
    const QString file =
        qEnvironmentVariable("HOME") + (gnome ? QStringLiteral("/.config/glib-2.0/settings/keyfile")
                                              : QStringLiteral("/.config/kscreenlockerrc"));
    const auto kept = [&](bool lock) {
        QFile settings(file);
        return settings.open(QIODevice::ReadOnly) &&
               settings.readAll().contains(QByteArray(gnome ? "lock-enabled=" : "LockOnResume=") +
                                           (lock ? "true" : "false"));
    };
    driver.StartProgram();
    OpenSecurity(driver, [&](QWidget* security) {
        for (const bool lock : {false, true}) {
            driver.NewToolLines();
            driver.ClickToOpen(Button(security, "ButtonResume"), ResumeForm, [&](QWidget* form) {
                driver.transcript().Window(form, QStringLiteral("resume lock dialog"));
                driver.Check(Box(form)->isChecked() != lock,
                             QStringLiteral("the box shows the desktop's setting"));
                driver.Check(form->findChild<QLabel*>(QStringLiteral("LabelDesktopNote"))->isVisible() ==
                                 gnome,
                             QStringLiteral("a note says what the box stands for on GNOME only"));
                driver.Click(Box(form));
                driver.Click(Button(form, "ButtonOK"));
            });
            driver.ExpectMessages({}, QStringLiteral("OK in the resume lock dialog"));
            driver.Check(kept(lock), QStringLiteral("kept in ") + file);
            if (!gnome)
                driver.Check(
                    driver.NewToolLines(1) ==
                        QStringList{QStringLiteral(
                            "dbus org.freedesktop.ScreenSaver /ScreenSaver org.kde.screensaver.configure")},
                    QStringLiteral("the screen locker was told"));
        }
        QFile::setPermissions(file, QFileDevice::ReadOwner);
        driver.ClickToOpen(Button(security, "ButtonResume"), ResumeForm, [&](QWidget* form) {
            driver.Click(Box(form));
            driver.Click(Button(form, "ButtonOK"));
            driver.ExpectMessages({QStringLiteral("error: The setting could not be saved: ") +
                                   (gnome ? QStringLiteral("GNOME's settings did not take the change.")
                                          : QStringLiteral("kscreenlockerrc could not be written."))},
                                  QStringLiteral("OK with the file read-only"));
            driver.Check(form->isVisible(), QStringLiteral("the dialog stays open"));
            driver.Click(Button(form, "ButtonCancel"));
        });
        QFile::setPermissions(file, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        driver.Check(kept(true), QStringLiteral("the setting is as it was"));
        // Plasma's locker not on the session bus: saved all the same, and said that it applies later.
        const QByteArray bus = qgetenv("DBUS_SESSION_BUS_ADDRESS");
        if (!gnome && qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent")) {
            driver.ClickToOpen(Button(security, "ButtonResume"), ResumeForm, [&](QWidget* form) {
                driver.Click(Box(form));
                driver.Click(Button(form, "ButtonOK"));
            });
            driver.ExpectMessages({QStringLiteral("plain: ") + QLatin1String(Ucomtc::MsgScreenLockerNotTold)},
                                  QStringLiteral("OK without the session bus"));
            driver.Check(kept(false), QStringLiteral("kept in ") + file);
            qputenv("DBUS_SESSION_BUS_ADDRESS", bus);
        }
        driver.Click(Button(security, "ButtonOK"));
    });
    driver.StopProgram();
}

} // namespace

std::vector<Scenario> SecurityScenarios()
{
    return {{"security", Security},
            {"security-screen-saver", SecurityScreenSaver},
            {"security-new-config", SecurityNewConfig},
            {"security-home-with-blank", SecurityHomeWithBlank},
            {"security-unread", SecurityUnread},
            {"todays-resume-lock", TodaysResumeLock}};
}

void TourSecurity(Driver& driver)
{
    OpenSecurity(driver, [&](QWidget* form) {
        driver.NewToolLines();
        driver.ClickToOpen(Button(form, "ButtonResume"), ResumeForm, [&](QWidget* resume) {
            driver.transcript().Window(resume, QStringLiteral("resume lock dialog"));
            driver.Click(Box(resume));
            driver.transcript().Screenshot(resume, QStringLiteral("resume lock dialog, box changed"));
            driver.Click(Button(resume, "ButtonOK"));
        });
        driver.Check(driver.NewToolLines(1) == QStringList{Notification},
                     QStringLiteral("kpowersave was told"));
        driver.transcript().Line(QStringLiteral("kpowersaverc: ") +
                                 ConfigLines().join(QStringLiteral(" | ")));
        driver.Click(Button(form, "ButtonOK"));
    });
}
