// The main window: ten category buttons, the header banner and the preview picture. At start it has
// the DMI table dumped and checks that the notebook is a VELTOR machine; on close it has the dump
// removed again.
#pragma once

#include "areas/handovers/HandOvers.h"
#include "areas/system/SysInfo.h"

#include <QString>
#include <QWidget>
#include <memory>

namespace Ui {
class TMainForm1;
}
class QAction;
class QImage;
class QKeyEvent;
class QToolButton;
class QDialog;
class TImageList;

// The dialogs the main window's buttons open, each modally.
struct TMainDialogs
{
    QDialog* sysInfo = nullptr;
    QDialog* nubstick = nullptr;
    QDialog* touchPad = nullptr;
    QDialog* secure = nullptr;
};

class TMainForm1 : public QWidget
{
    Q_OBJECT

public:
    TMainForm1(Ucomtc::SystemInformation& system, Ucomtc::HandOvers& handOvers, QWidget* parent = nullptr);
    ~TMainForm1() override;

    void UseDialogs(const TMainDialogs& dialogs) { dialogs_ = dialogs; }

    void FormShow();
    void CloseConfig();

    void DetailsExecute();
    void NubstickExecute();
    void TouchPadExecute();
    void SecurityExecute();
    void DisplayExecute();
    void PowerManagerExecute();
    void NetworkAdapterExecute();
    void AudioExecute();
    void InternalModemExecute();
    void InfraredExecute();
    void mouseenterExecute(QObject* sender);
    void HelpExecute();
    // F1: the index of the help pages.
    void HelpIndexExecute();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BindActions();
    void BindButtons();
    bool ButtonKeyPress(QToolButton* button, const QKeyEvent* event);
    void FocusButton(QToolButton* from, int step);
    void ShowPreview(int index, const QString& shows);
    void ShowPicture(const QImage& picture, const QString& file, const QString& shows);
    void HandOver(Ucomtc::Setting setting);

    std::unique_ptr<Ui::TMainForm1> ui;
    Ucomtc::SystemInformation& system_;
    Ucomtc::HandOvers& handOvers_;
    TMainDialogs dialogs_;
    QObject* ActionList1;
    TImageList* ImageList1;
};
