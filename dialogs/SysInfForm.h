// The system information dialog: general, BIOS and battery data as attribute/value rows, one list
// per tab, read afresh on every opening and every tab change. It changes nothing on the machine. The
// system and battery areas read the rows; the dialog presents them.
#pragma once

#include "areas/batteries/Battery.h"
#include "areas/handovers/HandOvers.h"
#include "areas/system/SysInfo.h"

#include <QDialog>
#include <QList>
#include <QString>
#include <memory>

namespace Ui {
class TSysInfoForm;
}
class QTreeWidgetItem;

class TSysInfoForm : public QDialog
{
    Q_OBJECT

public:
    TSysInfoForm(Ucomtc::SystemInformation& system, Ucomtc::Batteries& batteries,
                 Ucomtc::HandOvers& handOvers, QWidget* parent = nullptr);
    ~TSysInfoForm() override;

    void FormShow();
    void TabControl1Change();
    void ComboBoxBattChange();
    void ButtonOKClick();
    void ButtonCancelClick();
    void ButtonHelpClick();

    // Ctrl+C and the list's context menu: the rows as lines "attribute<TAB>value".
    void CopySelectedRows();
    void CopyAllRows();
    static QString RowsAsText(const QList<QTreeWidgetItem*>& items);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void RefreshList();
    void ReplaceBatteries(const QStringList& entries);

    std::unique_ptr<Ui::TSysInfoForm> ui;
    Ucomtc::SystemInformation& system_;
    Ucomtc::Batteries& batteries_;
    Ucomtc::HandOvers& handOvers_;
};
