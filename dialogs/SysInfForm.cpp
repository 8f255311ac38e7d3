#include "dialogs/SysInfForm.h"

#include "ui_SysInfForm.h"

#include "areas/batteries/Constants.h"
#include "widgets/DialogKeys.h"
#include "widgets/FormEvents.h"
#include "widgets/FormFont.h"
#include "widgets/Handlers.h"
#include "widgets/ItemHeight.h"
#include "widgets/MessageBox.h"
#include "widgets/Mnemonics.h"
#include "widgets/Placement.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QHeaderView>
#include <QShortcut>
#include <QShowEvent>
#include <QTreeWidgetItem>

using namespace Ucomtc;

TSysInfoForm::TSysInfoForm(SystemInformation& system, Batteries& batteries, HandOvers& handOvers,
                           QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::TSysInfoForm>()), system_(system), batteries_(batteries),
      handOvers_(handOvers)
{
    ui->setupUi(this);
    UseDialogKeys(this, ui->ButtonOK);
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint);
    UseFormFont(this, 12);
    KeepOnScreen(this);

    // One content area serves all three tabs: the list and the selector sit on the tab control,
    // above whichever (empty) page is current.
    for (QWidget* child : {static_cast<QWidget*>(ui->ListView1), static_cast<QWidget*>(ui->ComboBoxBatt)}) {
        const QRect geometry = child->geometry();
        child->setParent(ui->TabControl1);
        child->setGeometry(geometry);
        child->raise();
    }
    ui->ListView1->show();
    ui->ComboBoxBatt->hide();
    ui->ComboBoxBatt->setFixedHeight(18);
    UseItemHeight(ui->ComboBoxBatt, 22);
    setTabOrder(ui->TabControl1, ui->ListView1);
    setTabOrder(ui->ListView1, ui->ComboBoxBatt);
    setTabOrder(ui->ComboBoxBatt, ui->ButtonOK);

    QHeaderView* header = ui->ListView1->header();
    header->setSectionsClickable(false);
    header->setSectionsMovable(false);
    ui->ListView1->setColumnWidth(0, 210);
    ui->ListView1->setColumnWidth(1, 245);
    // White as laid out while the list's text is dark; a dark scheme keeps its own background.
    FollowScheme(ui->ListView1, [list = ui->ListView1] {
        QPalette palette = list->palette();
        if (ContrastRatio(palette.color(QPalette::Text), Qt::white) >= ReadableContrast) {
            palette.setColor(QPalette::Base, Qt::white);
            list->setPalette(palette);
        }
    });

    auto* copyRows = new QAction(QStringLiteral("&Copy"), ui->ListView1);
    copyRows->setObjectName(QStringLiteral("CopyRows"));
    copyRows->setShortcut(QKeySequence::Copy);
    copyRows->setShortcutContext(Qt::WidgetShortcut);
    auto* copyAll = new QAction(QStringLiteral("Copy &All"), ui->ListView1);
    copyAll->setObjectName(QStringLiteral("CopyAllRows"));
    ui->ListView1->addAction(copyRows);
    ui->ListView1->addAction(copyAll);
    ui->ListView1->setContextMenuPolicy(Qt::ActionsContextMenu);

    BindHandler(ui->TabControl1, &QTabWidget::currentChanged, this, &TSysInfoForm::TabControl1Change);
    BindHandler(ui->ComboBoxBatt, &QComboBox::activated, this, &TSysInfoForm::ComboBoxBattChange);
    KeepMnemonicsInWindow(this);
    BindHandler(ui->ButtonOK, &QPushButton::clicked, this, &TSysInfoForm::ButtonOKClick);
    BindHandler(ui->ButtonCancel, &QPushButton::clicked, this, &TSysInfoForm::ButtonCancelClick);
    BindHandler(ui->ButtonHelp, &QPushButton::clicked, this, &TSysInfoForm::ButtonHelpClick);
    BindHandler(HelpKey(this), &QShortcut::activated, this, &TSysInfoForm::ButtonHelpClick);
    connect(copyRows, &QAction::triggered, this, [this] { CopySelectedRows(); });
    connect(copyAll, &QAction::triggered, this, [this] { CopyAllRows(); });
}

TSysInfoForm::~TSysInfoForm() = default;

void TSysInfoForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        ui->TabControl1->setFocus();
    QueueShowHandler(this, event, [this] { FormShow(); });
}

void TSysInfoForm::RefreshList()
{
    const auto read =
        system_.Rows(ui->TabControl1->currentIndex(), BatteryOfEntry(ui->ComboBoxBatt->currentText()));
    ShowMessages(read.messages);

    QTreeWidget* list = ui->ListView1;
    list->setUpdatesEnabled(false);
    list->clear();
    QList<QTreeWidgetItem*> items;
    items.reserve(read.value.size());
    for (const TSysInfoRec& row : read.value)
        items.append(new QTreeWidgetItem(QStringList{row.Attribute, row.Value}));
    list->addTopLevelItems(items);
    list->setUpdatesEnabled(true);
}

void TSysInfoForm::ReplaceBatteries(const QStringList& entries)
{
    ui->ComboBoxBatt->clear();
    ui->ComboBoxBatt->addItems(entries);
    ui->ComboBoxBatt->setCurrentIndex(0);
}

void TSysInfoForm::FormShow()
{
    // Changing the tab refreshes on its own; the refresh below then runs a second time.
    ui->TabControl1->setCurrentIndex(GeneralTab);
    RefreshList();
}

void TSysInfoForm::TabControl1Change()
{
    if (ui->TabControl1->currentIndex() == BatteryTab) {
        ui->ComboBoxBatt->show();
        const QStringList entries = batteries_.Entries();
        if (!entries.isEmpty()) {
            ReplaceBatteries(entries);
            ShowMessages(batteries_.Copy(BatteryOfEntry(entries.first())));
        } else {
            ShowError(QString::fromLatin1(MsgNoBatteryOrBatinfo));
            // Selecting the BIOS tab runs this handler again, which hides the selector and lists
            // the BIOS rows; nothing is left to do here.
            ui->TabControl1->setCurrentIndex(BiosTab);
            return;
        }
    } else {
        ui->ComboBoxBatt->hide();
    }
    RefreshList();
}

void TSysInfoForm::ComboBoxBattChange()
{
    const int battery = BatteryOfEntry(ui->ComboBoxBatt->currentText());
    if (battery >= 0)
        ShowMessages(batteries_.Copy(battery));
    else
        ShowError(QStringLiteral("There is no battery in the notebook"));
    RefreshList();
}

void TSysInfoForm::ButtonOKClick()
{
    close();
}

void TSysInfoForm::ButtonCancelClick()
{
    close();
}

void TSysInfoForm::ButtonHelpClick()
{
    ShowMessages(handOvers_.ShowHelp(HelpSysInfo));
}

QString TSysInfoForm::RowsAsText(const QList<QTreeWidgetItem*>& items)
{
    QString text;
    for (const QTreeWidgetItem* item : items)
        text += item->text(0) + QLatin1Char('\t') + item->text(1) + QLatin1Char('\n');
    return text;
}

void TSysInfoForm::CopySelectedRows()
{
    // In list order, whatever order the rows were selected in.
    QList<QTreeWidgetItem*> selected;
    for (int i = 0; i < ui->ListView1->topLevelItemCount(); ++i) {
        if (ui->ListView1->topLevelItem(i)->isSelected())
            selected.append(ui->ListView1->topLevelItem(i));
    }
    if (!selected.isEmpty())
        QGuiApplication::clipboard()->setText(RowsAsText(selected));
}

void TSysInfoForm::CopyAllRows()
{
    QList<QTreeWidgetItem*> all;
    for (int i = 0; i < ui->ListView1->topLevelItemCount(); ++i)
        all.append(ui->ListView1->topLevelItem(i));
    if (!all.isEmpty())
        QGuiApplication::clipboard()->setText(RowsAsText(all));
}
