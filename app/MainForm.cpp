#include "MainForm.h"

#include "ImageList.h"
#include "ui_MainForm.h"

#include <QCloseEvent>
#include <QScreen>
#include <QShowEvent>
#include <QToolButton>
#include <Ucomtc.h>
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

} // namespace

TMainForm1::TMainForm1(QWidget* parent)
    : QWidget(parent), ui(std::make_unique<Ui::TMainForm1>()), ActionList1(new QObject(this)),
      ImageList1(new TImageList(this))
{
    ui->setupUi(this);
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
    if (event->type() == QEvent::Enter)
        Guarded([&] { mouseenterExecute(watched); });
    return QWidget::eventFilter(watched, event);
}

void TMainForm1::showEvent(QShowEvent* event)
{
    if (!event->spontaneous() && screen() != nullptr)
        move(screen()->availableGeometry().center() - rect().center());
    QWidget::showEvent(event);
    QueueShowHandler(this, event, [this] { FormShow(); });
}

void TMainForm1::closeEvent(QCloseEvent* event)
{
    Guarded([&] { CloseConfig(); });
    event->accept();
}

void TMainForm1::ShowPreview(int index)
{
    ui->Image1->setPixmap(
        QPixmap::fromImage(Host::current().LoadImage(QString::fromLatin1(ImageFiles[index]))));
}

void TMainForm1::FormShow()
{
    ShowPreview(StartImageIndex);
    if (!RunPrivileged(QString::fromLatin1(VcdProtocol::DumpToStoredDmiByPath)))
        return;
    if (!FileExists(QString::fromLatin1(StoredDmiFile))) {
        ShowPlainMessage(QStringLiteral("can't get the BIOS information"));
        return;
    }
    switch (JudgeDump(ReadTextLines(QString::fromLatin1(StoredDmiFile)))) {
    case DumpVerdict::Veltor:
        return;
    case DumpVerdict::Empty:
        ShowPlainMessage(QStringLiteral("can't get the BIOS information"));
        return;
    case DumpVerdict::Foreign:
        ShowError(QStringLiteral("the device you are using is not from VELTOR"));
        close();
        return;
    }
}

void TMainForm1::CloseConfig()
{
    RemoveStoredDmi();
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
    if (!CommandExists(QStringLiteral("kcmshell"))) {
        ShowError(QString::fromLatin1(MsgKcmshellNotFound));
        return;
    }
    System(QStringLiteral("kcmshell --caption Desktop kde-display > /dev/null&"));
}

void TMainForm1::StartYast2Module(const QString& command)
{
    if (Yast2Available())
        System(command);
}

void TMainForm1::RunAddOnScriptOrYast2(const QString& script, const QString& yast2Command)
{
    if (FileExists(script)) {
        System(script + QStringLiteral(" start")); // waited for: no "&"
        return;
    }
    StartYast2Module(yast2Command);
}

void TMainForm1::PowerManagerExecute()
{
    RunAddOnScriptOrYast2(QString::fromLatin1(PowerManagerScript),
                          QStringLiteral("kdesu -c /sbin/yast2 power-management &"));
}

void TMainForm1::NetworkAdapterExecute()
{
    RunAddOnScriptOrYast2(QString::fromLatin1(AcScript), QStringLiteral("kdesu -c /sbin/yast2 lan &"));
}

void TMainForm1::AudioExecute()
{
    StartYast2Module(QStringLiteral("kdesu -c /sbin/yast2 sound &"));
}

void TMainForm1::InternalModemExecute()
{
    StartYast2Module(QStringLiteral("kdesu -c /sbin/yast2 modem &"));
}

void TMainForm1::InfraredExecute()
{
    StartYast2Module(QStringLiteral("kdesu -c /sbin/yast2 irda &"));
}

void TMainForm1::mouseenterExecute(QObject* sender)
{
    bool isTagged = false;
    const int tag = sender != nullptr ? sender->property("Tag").toInt(&isTagged) : 0;
    if (!isTagged || tag < 0 || tag >= StartImageIndex)
        return;
    ShowPreview(tag);
}

void TMainForm1::HelpExecute()
{
    std::fputs("help", stdout);
    std::fflush(stdout);
}
