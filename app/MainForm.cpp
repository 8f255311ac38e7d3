#include "app/MainForm.h"

#include "app/ImageList.h"
#include "ui_MainForm.h"

#include "services/Ucomtc.h"
#include <QCloseEvent>
#include <QKeyEvent>
#include <QScreen>
#include <QShortcut>
#include <QShowEvent>
#include <QToolButton>
#include <cstdio>

using namespace Ucomtc;

namespace {

enum class DumpVerdict
{
    Veltor,
    Foreign,
    Empty,
};

// The vendor line stands in the BIOS section, not necessarily at the top of the dump, so every line
// counts. A dump with nothing in it says nothing about the vendor.
DumpVerdict JudgeDump(const QStringList& lines)
{
    bool empty = true;
    for (const QString& line : lines) {
        if (line.contains(QLatin1String("Vendor: VELTOR")))
            return DumpVerdict::Veltor;
        if (!line.trimmed().isEmpty())
            empty = false;
    }
    return empty ? DumpVerdict::Empty : DumpVerdict::Foreign;
}

// Focus that comes back with the window's activation, or moves on as the window closes, is not a
// person choosing an area.
bool ByKeyboard(const QEvent* focusIn)
{
    const Qt::FocusReason reason = static_cast<const QFocusEvent*>(focusIn)->reason();
    return reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason ||
           reason == Qt::ShortcutFocusReason;
}

} // namespace

TMainForm1::TMainForm1(QWidget* parent)
    : QWidget(parent), ui(std::make_unique<Ui::TMainForm1>()), ActionList1(new QObject(this)),
      ImageList1(new TImageList(this))
{
    ui->setupUi(this);
    // The layout's banner is the sharp one at ratio 1; decoding it again would only cost time.
    if (devicePixelRatioF() > 1.0)
        ui->Imagehead->setPixmap(
            SharpResource(QStringLiteral(":/artwork/header-banner.png"), devicePixelRatioF()));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    UseFormFont(this, 12);
    UseFormFont(ui->StatusBar2, 16, QStringLiteral("Sans Serif"), false);
    ActionList1->setObjectName(QStringLiteral("ActionList1"));
    ImageList1->setObjectName(QStringLiteral("ImageList1"));
    ui->ScrollBox1->setFocus();

    BindActions();
    BindButtons();
}

TMainForm1::~TMainForm1() = default;

void TMainForm1::BindActions()
{
    // The actions keep their declaration order as children of the action list.
    for (QAction* action : findChildren<QAction*>(QString(), Qt::FindDirectChildrenOnly))
        action->setParent(ActionList1);

    using Handler = void (TMainForm1::*)();
    const std::pair<QAction*, Handler> handlers[] = {
        {ui->Nubstick, &TMainForm1::NubstickExecute},
        {ui->Audio, &TMainForm1::AudioExecute},
        {ui->Infrared, &TMainForm1::InfraredExecute},
        {ui->InternalModem, &TMainForm1::InternalModemExecute},
        {ui->TouchPad, &TMainForm1::TouchPadExecute},
        {ui->PowerManager, &TMainForm1::PowerManagerExecute},
        {ui->Display, &TMainForm1::DisplayExecute},
        {ui->Help, &TMainForm1::HelpExecute},
        {ui->Details, &TMainForm1::DetailsExecute},
        {ui->NetworkAdapter, &TMainForm1::NetworkAdapterExecute},
        {ui->Security, &TMainForm1::SecurityExecute},
    };
    for (const auto& [action, handler] : handlers)
        BindHandler(action, &QAction::triggered, this, handler);
    BindHandler(HelpKey(this), &QShortcut::activated, this, &TMainForm1::HelpIndexExecute);
    connect(ui->mouseenter, &QAction::triggered, this,
            [this] { Guarded([&] { mouseenterExecute(ui->mouseenter); }); });
}

void TMainForm1::BindButtons()
{
    for (QToolButton* button : ui->PanelButton->findChildren<QToolButton*>()) {
        // The layout names each button's action. The button keeps its own caption: the Security
        // action, for one, is captioned "mouseenter".
        auto* action = ActionList1->findChild<QAction*>(button->property("Action").toString());
        if (action == nullptr)
            continue;
        action->setIcon(ImageList1->Image(ImageList1->Add(button->icon().pixmap(button->iconSize()))));
        connect(button, &QToolButton::clicked, action, [action] { action->trigger(); });
        button->installEventFilter(this);
        // "Security Information" is wider than the column in common serif faces: show it whole
        // rather than elided. The style keeps a few pixels of margin.
        NarrowToFit(button, button->text(), button->width() - 8);
    }
}

bool TMainForm1::eventFilter(QObject* watched, QEvent* event)
{
    // The keyboard reaches the areas as the pointer does: a focused button shows its preview.
    if (event->type() == QEvent::Enter || (event->type() == QEvent::FocusIn && ByKeyboard(event)))
        Guarded([&] { mouseenterExecute(watched); });
    auto* button = qobject_cast<QToolButton*>(watched);
    if (event->type() == QEvent::KeyPress && button != nullptr)
        return ButtonKeyPress(button, static_cast<QKeyEvent*>(event));
    return QWidget::eventFilter(watched, event);
}

bool TMainForm1::ButtonKeyPress(QToolButton* button, const QKeyEvent* event)
{
    if (event->modifiers() & ~Qt::KeypadModifier)
        return false;
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter: // Space clicks a button by itself
        button->click();
        return true;
    case Qt::Key_Up:
    case Qt::Key_Left:
        FocusButton(button, -1);
        return true;
    case Qt::Key_Down:
    case Qt::Key_Right:
        FocusButton(button, +1);
        return true;
    default:
        return false;
    }
}

void TMainForm1::FocusButton(QToolButton* from, int step)
{
    // The arrows go round the column, top to bottom as laid out.
    const auto buttons = ui->PanelButton->findChildren<QToolButton*>(Qt::FindDirectChildrenOnly);
    const auto count = buttons.size();
    const auto next = (buttons.indexOf(from) + step + count) % count;
    setAttribute(Qt::WA_KeyboardFocusChange); // the style draws the focus frame for the keyboard only
    buttons.at(next)->setFocus(step > 0 ? Qt::TabFocusReason : Qt::BacktabFocusReason);
}

void TMainForm1::showEvent(QShowEvent* event)
{
    if (!event->spontaneous() && screen() != nullptr)
        PlaceWindow(this, screen()->availableGeometry().center() - rect().center());
    QWidget::showEvent(event);
    // The start picture is part of the window's first painting; the dump is not seen and waits
    // until that painting has gone out.
    QueueShowHandler(
        this, event, [this] { ShowPreview(StartImageIndex, QStringLiteral("The Lapstone notebook")); },
        [this] { FormShow(); });
}

void TMainForm1::closeEvent(QCloseEvent* event)
{
    Guarded([&] { CloseConfig(); });
    event->accept();
}

void TMainForm1::ShowPreview(int index, const QString& shows)
{
    const QString file = SharpFile(QString::fromLatin1(ImageFiles[index]), devicePixelRatioF());
    ShowPicture(Host::current().LoadImage(file), file, shows);
}

void TMainForm1::ShowPicture(const QImage& picture, const QString& file, const QString& shows)
{
    ui->Image1->setPixmap(AtDesignedSize(picture, file));
    ui->Image1->setAccessibleDescription(shows);
}

void TMainForm1::FormShow()
{
    const QString dump = QString::fromLatin1(StoredDmiFile);
    Messages messages;
    const bool taken =
        RunWriting(RunWith::Root, QString::fromLatin1(VcdProtocol::DumpToStoredDmiByPath), dump, messages);
    ShowMessages(messages);
    if (!taken)
        return;
    if (!FileExists(dump)) {
        ShowPlainMessage(QString::fromLatin1(MsgNoBiosInformation));
        return;
    }
    switch (JudgeDump(ReadCaptureLines(dump, RunWith::Root))) {
    case DumpVerdict::Veltor:
        return;
    case DumpVerdict::Empty:
        ShowPlainMessage(QString::fromLatin1(MsgNoBiosInformation));
        return;
    case DumpVerdict::Foreign:
        ShowError(QString::fromLatin1(MsgNotVeltor));
        close();
        return;
    }
}

void TMainForm1::CloseConfig()
{
    ShowMessages(RemoveStoredDmi());
}

void TMainForm1::DetailsExecute()
{
    ShowFormModal(QStringLiteral("SysInfoForm"));
}

void TMainForm1::NubstickExecute()
{
    ShowFormModal(QStringLiteral("NubstickFor"));
}

void TMainForm1::TouchPadExecute()
{
    ShowFormModal(QStringLiteral("TouchPadForm1"));
}

void TMainForm1::SecurityExecute()
{
    ShowFormModal(QStringLiteral("SecureForm1"));
}

void TMainForm1::DisplayExecute()
{
    if (CommandExists(QStringLiteral("kcmshell")))
        System(QStringLiteral("kcmshell --caption Desktop kde-display > /dev/null&"));
    else if (!HandOverToDesktop(DisplaySettings))
        ShowError(QString::fromLatin1(MsgKcmshellNotFound));
}

void TMainForm1::RunAddOnScriptOrYast2(const QString& script, const QString& yast2Command,
                                       const DesktopSettings& settings)
{
    if (FileExists(script)) {
        System(script + QStringLiteral(" start")); // waited for: no "&"
        return;
    }
    StartYast2ModuleOrDesktop(yast2Command, settings);
}

void TMainForm1::PowerManagerExecute()
{
    RunAddOnScriptOrYast2(QString::fromLatin1(PowerManagerScript),
                          QStringLiteral("kdesu -c /sbin/yast2 power-management &"), PowerSettings);
}

void TMainForm1::NetworkAdapterExecute()
{
    RunAddOnScriptOrYast2(QString::fromLatin1(AcScript), QStringLiteral("kdesu -c /sbin/yast2 lan &"),
                          NetworkSettings);
}

void TMainForm1::AudioExecute()
{
    StartYast2ModuleOrDesktop(QStringLiteral("kdesu -c /sbin/yast2 sound &"), AudioSettings);
}

void TMainForm1::InternalModemExecute()
{
    StartYast2ModuleOrDesktop(QStringLiteral("kdesu -c /sbin/yast2 modem &"), ModemSettings);
}

void TMainForm1::InfraredExecute()
{
    // Desktops of today have no infrared settings: the kernel dropped IrDA.
    if (Yast2Installed())
        System(QStringLiteral("kdesu -c /sbin/yast2 irda &"));
    else if (CurrentDesktop() != Desktop::Other)
        ShowPlainMessage(QString::fromLatin1(MsgNoInfrared));
    else
        ShowError(QString::fromLatin1(MsgYastNotFound));
}

void TMainForm1::mouseenterExecute(QObject* sender)
{
    bool isTagged = false;
    const int tag = sender != nullptr ? sender->property("Tag").toInt(&isTagged) : 0;
    if (!isTagged || tag < 0 || tag >= StartImageIndex)
        return;
    const auto* button = qobject_cast<const QAbstractButton*>(sender);
    ShowPreview(tag, button != nullptr
                         ? QStringLiteral("What the ") + QString(button->text()).remove(QLatin1Char('&')) +
                               QStringLiteral(" area offers")
                         : QString());
}

void TMainForm1::HelpExecute()
{
    std::fputs("help", stdout);
    std::fflush(stdout);
}

void TMainForm1::HelpIndexExecute()
{
    ShowHelpPage(HelpIndex);
}
