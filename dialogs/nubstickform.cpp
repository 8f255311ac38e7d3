#include "dialogs/nubstickform.h"

#include "ui_nubstickform.h"

#include "widgets/DialogKeys.h"
#include "widgets/FormEvents.h"
#include "widgets/FormFont.h"
#include "widgets/Handlers.h"
#include "widgets/ItemHeight.h"
#include "widgets/MessageBox.h"
#include "widgets/Placement.h"
#include "widgets/SharpPicture.h"

#include <QBitmap>
#include <QShortcut>
#include <QShowEvent>
#include <QStandardItemModel>
#include <algorithm>

using namespace Ucomtc;

TNubstickFor::TNubstickFor(PointingDevices& devices, HandOvers& handOvers, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::TNubstickFor>()), devices_(devices), handOvers_(handOvers)
{
    ui->setupUi(this);
    UseDialogKeys(this, ui->ButtonOK);
    // A dialog with a title but without any title-bar button: it closes through its own buttons.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    UseFormFont(this, 12);
    KeepOnScreen(this);
    UseItemHeight(ui->ComboBoxState, 22);
    UseDeviceIcon(QStringLiteral(":/artwork/nubstick-device.png"));
    FitLabel();
    ui->PageControl1->setFocus();

    const std::pair<QPushButton*, void (TNubstickFor::*)()> handlers[] = {
        {ui->ButtonOK, &TNubstickFor::ButtonOKClick},
        {ui->ButtonCancel, &TNubstickFor::ButtonCancelClick},
        {ui->ButtonApply, &TNubstickFor::ButtonApplyClick},
        {ui->ButtonHelp, &TNubstickFor::ButtonHelpClick},
        {ui->ButtonMouse, &TNubstickFor::ButtonMouseClick},
    };
    for (const auto& [button, handler] : handlers)
        BindHandler(button, &QPushButton::clicked, this, handler);
    BindHandler(HelpKey(this), &QShortcut::activated, this, &TNubstickFor::ButtonHelpClick);
}

TNubstickFor::~TNubstickFor() = default;

void TNubstickFor::UseDeviceIcon(const QString& resource)
{
    QPixmap icon = SharpResource(resource, devicePixelRatioF());
    const QImage image = icon.toImage();
    if (!image.isNull())
        icon.setMask(QBitmap::fromImage(image.createMaskFromColor(image.pixel(0, image.height() - 1))));
    ui->Image1->setPixmap(icon);
    // Named after the device it shows, as the label beside it calls it.
    ui->Image1->setAccessibleName(QString(ui->Label1->text()).remove(QLatin1Char('&')));
}

void TNubstickFor::FitLabel()
{
    NarrowToFit(ui->Label1, ui->Label1->text(), ui->Label1->width());
}

void TNubstickFor::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    QueueShowHandler(this, event, [this] { FormShow(); });
}

void TNubstickFor::ShowState(std::optional<DeviceState> state)
{
    QComboBox* box = ui->ComboBoxState;
    const QString shown = DeviceStateText(state);
    const QString laidOut[] = {DeviceStateText(DeviceState::Off), DeviceStateText(DeviceState::On)};
    // The layout's two entries stay. One of the reading's own stands only while it is what was read:
    // Unknown, never a choice, and GNOME's off while a mouse is plugged in, a choice.
    for (int i = box->count() - 1; i >= 0; --i) {
        const QString text = box->itemText(i);
        if (text != shown && !std::count(std::cbegin(laidOut), std::cend(laidOut), text))
            box->removeItem(i);
    }
    if (box->findText(shown) < 0) {
        box->addItem(shown);
        auto* model = qobject_cast<QStandardItemModel*>(box->model());
        if (!state && model != nullptr)
            model->item(box->count() - 1)->setEnabled(false);
    }
    box->setCurrentText(shown);
}

std::optional<DeviceState> TNubstickFor::ChosenState() const
{
    for (const DeviceState state : {DeviceState::On, DeviceState::Off, DeviceState::OffWithMouse}) {
        if (ui->ComboBoxState->currentText() == DeviceStateText(state))
            return state;
    }
    return std::nullopt;
}

void TNubstickFor::FormShow()
{
    const auto read = devices_.Read(device_);
    ShowMessages(read.messages);
    ShowState(read.value);
}

bool TNubstickFor::WriteState()
{
    const Change change = devices_.Switch(device_, ChosenState());
    ShowMessages(change.messages);
    return change.made;
}

void TNubstickFor::ButtonOKClick()
{
    if (WriteState())
        accept();
}

void TNubstickFor::ButtonApplyClick()
{
    WriteState();
}

void TNubstickFor::ButtonCancelClick()
{
    reject();
}

void TNubstickFor::ButtonMouseClick()
{
    ShowMessages(handOvers_.Start(mouseSetting_).messages);
}

void TNubstickFor::ButtonHelpClick()
{
    ShowMessages(handOvers_.ShowHelp(*helpPage_));
}
