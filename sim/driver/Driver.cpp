#include "Driver.h"

#include "ScenarioHost.h"
#include "SimPaths.h"
#include "Transcript.h"

#include <Application.h>
#include <MainForm.h>
#include <PrivilegedClient.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QTest>
#include <QToolButton>
#include <unistd.h>

using Ucomtc::MessageKind;

namespace {

const QString StoredDmi = QStringLiteral("/tmp/StoredDmi");
const QString DaemonMessage = QString::fromLatin1(Ucomtc::MsgDaemonNotStarted);
const QString YastMessage = QStringLiteral("command yast is not found or no /sbin/yast2 file or directory");

QString KindName(MessageKind kind)
{
    switch (kind) {
    case MessageKind::Error:
        return QStringLiteral("error");
    case MessageKind::Plain:
        return QStringLiteral("plain");
    case MessageKind::Report:
        return QStringLiteral("report");
    }
    return QString();
}

QStringList ReadLines(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

// The tool buttons, with what a click starts when every tool is installed.
struct ToolButton
{
    const char* button;
    const char* caption;
    const char* toolLine;
    const char* missingMessage;
};
const ToolButton ToolLaunches[] = {
    {"SpdButtonDisplay", "Display", "kcmshell --caption Desktop kde-display", "command kcmshell not found"},
    {"SpdButtonAudio", "Audio", "kdesu -c /sbin/yast2 sound", nullptr},
    {"SpdButtonModem", "Internet Modem", "kdesu -c /sbin/yast2 modem", nullptr},
    {"SpdButtonInfra", "Infrared", "kdesu -c /sbin/yast2 irda", nullptr},
    {"SpdButtonPower", "Power Manager", "kdesu -c /sbin/yast2 power-management", nullptr},
    {"SpdButtonLan", "Network Adapter", "kdesu -c /sbin/yast2 lan", nullptr},
};

const char* const CategoryButtons[] = {
    "SpdButtonSys",   "SpdButtonNubstick", "SpdButtonAudio", "SpdButtonDisplay", "SpdButtonModem",
    "SpdButtonTouch", "SpdButtonLan",      "SpdButtonPower", "SpdButtonInfra",   "SpdButtonSecure"};

} // namespace

Driver::Driver(Transcript& transcript, ScenarioHost& host) : transcript_(transcript), host_(host)
{
    toolLinesSeen_ = ReadLines(QString::fromLatin1(SimToolLog)).size();
}

Driver::~Driver() = default;

QStringList Driver::ScenarioNames()
{
    return {QStringLiteral("startup"),      QStringLiteral("foreign-vendor"),
            QStringLiteral("no-daemon"),    QStringLiteral("as-root"),
            QStringLiteral("tool-buttons"), QStringLiteral("missing-tools"),
            QStringLiteral("add-ons"),      QStringLiteral("tour")};
}

bool Driver::Run(const QString& name)
{
    const std::pair<const char*, void (Driver::*)()> scenarios[] = {
        {"startup", &Driver::Startup},          {"foreign-vendor", &Driver::ForeignVendor},
        {"no-daemon", &Driver::NoDaemon},       {"as-root", &Driver::AsRoot},
        {"tool-buttons", &Driver::ToolButtons}, {"missing-tools", &Driver::MissingTools},
        {"add-ons", &Driver::AddOns},           {"tour", &Driver::Tour}};
    for (const auto& [scenarioName, scenario] : scenarios) {
        if (name == QLatin1String(scenarioName)) {
            transcript_.Heading(QStringLiteral("scenario ") + name);
            (this->*scenario)();
            if (forms_)
                StopProgram();
            return true;
        }
    }
    return false;
}

bool Driver::WaitFor(const std::function<bool()>& condition, int milliseconds)
{
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > milliseconds)
            return false;
        QTest::qWait(20);
    }
    return true;
}

void Driver::StartProgram()
{
    host_.Forget();
    const int before = host_.privilegedDone();
    forms_ = std::make_unique<TApplication>();
    forms_->CreateForms();
    main_ = forms_->MainForm();
    transcript_.Line(QStringLiteral("the program starts; forms created: ") +
                     forms_->FormNames().join(QStringLiteral(", ")));
    main_->show();
    // The show handler's first request is the DMI dump; everything after it runs in the same call.
    transcript_.Check(WaitFor([&] { return host_.privilegedDone() > before; }, 20000),
                      QStringLiteral("the main window asks for the DMI dump when it opens"));
    QTest::qWait(100);
    if (main_->isVisible())
        transcript_.Window(main_, QStringLiteral("main window"));
}

void Driver::StopProgram()
{
    if (main_ != nullptr && main_->isVisible()) {
        transcript_.Line(QStringLiteral("the main window is closed"));
        main_->close();
    }
    forms_.reset();
    main_ = nullptr;
}

QToolButton* Driver::Button(const char* buttonName) const
{
    return main_->findChild<QToolButton*>(QLatin1String(buttonName));
}

void Driver::Hover(const char* buttonName)
{
    QToolButton* button = Button(buttonName);
    QTest::mouseMove(button, button->rect().center());
    QTest::qWait(50);
}

void Driver::Click(const char* buttonName)
{
    QToolButton* button = Button(buttonName);
    transcript_.Line(QStringLiteral("click ") + QString(button->text()).remove(QLatin1Char('&')));
    host_.Forget();
    QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, button->rect().center());
    QTest::qWait(50);
}

QStringList Driver::NewToolLines()
{
    const QStringList lines = ReadLines(QString::fromLatin1(SimToolLog));
    const QStringList fresh = lines.mid(toolLinesSeen_);
    toolLinesSeen_ = lines.size();
    for (const QString& line : fresh)
        transcript_.Line(QStringLiteral("  tool started: ") + line);
    return fresh;
}

void Driver::ExpectMessages(const QStringList& expected, const QString& when)
{
    QStringList shown;
    for (const ScenarioHost::Message& message : host_.messages())
        shown.append(KindName(message.kind) + QStringLiteral(": ") + message.text);
    transcript_.Check(shown == expected, when + QStringLiteral(": message boxes [") +
                                             shown.join(QStringLiteral("; ")) + QStringLiteral("]"));
}

void Driver::Startup()
{
    StartProgram();
    ExpectMessages({}, QStringLiteral("start-up on a VELTOR notebook"));
    transcript_.Check(host_.commands().value(0) ==
                          QStringLiteral("privileged: dmidecode > /tmp/StoredDmi -> true"),
                      QStringLiteral("the daemon carried out the dump"));
    transcript_.Check(main_->isVisible(), QStringLiteral("the main window stays open"));
    const QFileInfo dump(StoredDmi);
    transcript_.Check(dump.exists() && dump.size() > 0 && dump.ownerId() == getuid(),
                      QStringLiteral("/tmp/StoredDmi holds the dump and belongs to the user"));
    auto* preview = main_->findChild<QLabel*>(QStringLiteral("Image1"));
    transcript_.Check(!preview->pixmap().isNull(), QStringLiteral("the start picture is shown"));

    StopProgram();
    transcript_.Check(!QFile::exists(StoredDmi), QStringLiteral("closing removed /tmp/StoredDmi"));
    ExpectMessages({}, QStringLiteral("closing"));
}

void Driver::ForeignVendor()
{
    StartProgram();
    ExpectMessages({QStringLiteral("error: the device you are using is not from VELTOR")},
                   QStringLiteral("start-up on another vendor's notebook"));
    transcript_.Check(!main_->isVisible(), QStringLiteral("the main window closed, so the program ends"));
    transcript_.Check(!QFile::exists(StoredDmi), QStringLiteral("the dump was removed on the way out"));
}

void Driver::NoDaemon()
{
    StartProgram();
    ExpectMessages({QStringLiteral("plain: ") + DaemonMessage},
                   QStringLiteral("start-up without the daemon"));
    transcript_.Check(main_->isVisible(), QStringLiteral("the main window stays open"));
    Click("SpdButtonDisplay");
    const QStringList started = NewToolLines();
    transcript_.Check(started.size() == 1 && started.value(0).startsWith(QLatin1String("kcmshell")),
                      QStringLiteral("the window is usable: Display starts its tool"));
    StopProgram();
    ExpectMessages({}, QStringLiteral("closing without a dump"));
}

void Driver::AsRoot()
{
    transcript_.Check(getuid() == 0, QStringLiteral("the program runs as root"));
    StartProgram();
    ExpectMessages({}, QStringLiteral("start-up as root"));
    const QFileInfo dump(StoredDmi);
    transcript_.Check(dump.exists() && dump.size() > 0 && dump.ownerId() == 0,
                      QStringLiteral("root wrote /tmp/StoredDmi itself"));
    StopProgram();
    transcript_.Check(!QFile::exists(StoredDmi), QStringLiteral("closing removed /tmp/StoredDmi"));
    const QStringList daemonLog = ReadLines(QString::fromLatin1(SimDaemonLog));
    transcript_.Check(daemonLog.filter(QStringLiteral("StoredDmi")).isEmpty(),
                      QStringLiteral("the daemon was never asked (its log has no request)"));
}

void Driver::ToolButtons()
{
    StartProgram();
    NewToolLines();
    for (const ToolButton& tool : ToolLaunches) {
        Click(tool.button);
        const QStringList started = NewToolLines();
        ExpectMessages({}, QString::fromLatin1(tool.caption));
        transcript_.Check(started == QStringList{QString::fromLatin1(tool.toolLine)},
                          QString::fromLatin1(tool.caption) + QStringLiteral(" starts ") +
                              QString::fromLatin1(tool.toolLine));
    }
}

void Driver::MissingTools()
{
    StartProgram();
    NewToolLines();
    for (const ToolButton& tool : ToolLaunches) {
        Click(tool.button);
        const QString message =
            tool.missingMessage != nullptr ? QString::fromLatin1(tool.missingMessage) : YastMessage;
        ExpectMessages({QStringLiteral("error: ") + message}, QString::fromLatin1(tool.caption));
        transcript_.Check(NewToolLines().isEmpty(),
                          QString::fromLatin1(tool.caption) + QStringLiteral(" starts nothing"));
    }
}

void Driver::AddOns()
{
    StartProgram();
    NewToolLines();
    const std::pair<const char*, const char*> scripts[] = {{"SpdButtonPower", "pm.sh"},
                                                           {"SpdButtonLan", "ac.sh"}};
    for (const auto& [button, script] : scripts) {
        Click(button);
        // The click returns only once the script has finished: both of its lines are there.
        const QStringList started = NewToolLines();
        ExpectMessages({}, QString::fromLatin1(script));
        transcript_.Check(started.size() == 2 && started.value(0).startsWith(QLatin1String(script)) &&
                              started.value(0).contains(QLatin1String("start")) &&
                              started.value(1).contains(QLatin1String("finished")),
                          QString::fromLatin1(script) +
                              QStringLiteral(" ran with \"start\" and was waited for"));
        transcript_.Check(host_.commands() == QStringList{QStringLiteral("system: /opt/lapstone/") +
                                                          QLatin1String(script[0] == 'p' ? "pm/" : "ac/") +
                                                          QLatin1String(script) + QStringLiteral(" start")},
                          QString::fromLatin1(script) +
                              QStringLiteral(" takes the place of the YaST2 module"));
    }
}

void Driver::Tour()
{
    StartProgram();
    if (!main_->isVisible()) {
        transcript_.Line(QStringLiteral("the program has ended"));
        return;
    }
    NewToolLines();
    auto* preview = main_->findChild<QLabel*>(QStringLiteral("Image1"));
    for (const char* name : CategoryButtons) {
        const qint64 before = preview->pixmap().cacheKey();
        Hover(name);
        transcript_.Line(QStringLiteral("pointer on ") +
                         QString(Button(name)->text()).remove(QLatin1Char('&')));
        transcript_.Check(preview->pixmap().cacheKey() != before,
                          QStringLiteral("the preview picture changed"));
        transcript_.Screenshot(main_, QStringLiteral("preview ") + QString::fromLatin1(name));
    }
    for (const ToolButton& tool : ToolLaunches) {
        Click(tool.button);
        NewToolLines();
    }
}
