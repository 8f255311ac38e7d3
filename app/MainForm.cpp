#include "app/MainForm.h"

#include "app/ImageList.h"
#include "ui_MainForm.h"

#include "app/Constants.h"
#include "machine/Host.h"
#include "widgets/DialogKeys.h"
#include "widgets/FormEvents.h"
#include "widgets/FormFont.h"
#include "widgets/Handlers.h"
#include "widgets/MessageBox.h"
#include "widgets/Placement.h"
#include "widgets/SharpPicture.h"

#include <QCloseEvent>
#include <QDialog>
#include <QKeyEvent>
#include <QScreen>
#include <QShortcut>
#include <QShowEvent>
#include <QToolButton>
#include <cstdio>

using namespace Ucomtc;

namespace {

// Focus that comes back with the window's activation, or moves on as the window closes, is not a
// person choosing an area.
bool ByKeyboard(const QEvent* focusIn)
{
    const Qt::FocusReason reason = static_cast<const QFocusEvent*>(focusIn)->reason();
    return reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason ||
           reason == Qt::ShortcutFocusReason;
}

} // namespace

TMainForm1::TMainForm1(SystemInformation& system, HandOvers& handOvers, QWidget* parent)
    : QWidget(parent), ui(std::make_unique<Ui::TMainForm1>()), system_(system), handOvers_(handOvers),
      ActionList1(new QObject(this)), ImageList1(new TImageList(this))
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
    const auto dump = system_.DumpAtStart();
    ShowMessages(dump.messages);
    if (dump.value == DumpVerdict::Foreign)
        close();
}

void TMainForm1::CloseConfig()
{
    ShowMessages(system_.RemoveStoredDmi());
}

void TMainForm1::DetailsExecute()
{
    if (dialogs_.sysInfo != nullptr)
        dialogs_.sysInfo->exec();
}

void TMainForm1::NubstickExecute()
{
    if (dialogs_.nubstick != nullptr)
        dialogs_.nubstick->exec();
}

void TMainForm1::TouchPadExecute()
{
    if (dialogs_.touchPad != nullptr)
        dialogs_.touchPad->exec();
}

void TMainForm1::SecurityExecute()
{
    if (dialogs_.secure != nullptr)
        dialogs_.secure->exec();
}

void TMainForm1::HandOver(Setting setting)
{
    ShowMessages(handOvers_.Start(setting).messages);
}

void TMainForm1::DisplayExecute()
{
    HandOver(Setting::Display);
}

void TMainForm1::PowerManagerExecute()
{
    HandOver(Setting::PowerManager);
}

void TMainForm1::NetworkAdapterExecute()
{
    HandOver(Setting::NetworkAdapter);
}

void TMainForm1::AudioExecute()
{
    HandOver(Setting::Audio);
}

void TMainForm1::InternalModemExecute()
{
    HandOver(Setting::Modem);
}

void TMainForm1::InfraredExecute()
{
    HandOver(Setting::Infrared);
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
    ShowMessages(handOvers_.ShowHelp(HelpIndex));
}
