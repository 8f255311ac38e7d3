// The main window: ten category buttons, the header banner and the preview picture. At start it has
// the DMI table dumped and checks that the notebook is a VELTOR machine; on close it has the dump
// removed again.
#pragma once

#include "services/Constants.h"

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
class TImageList;

class TMainForm1 : public QWidget
{
    Q_OBJECT

public:
    explicit TMainForm1(QWidget* parent = nullptr);
    ~TMainForm1() override;

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
    void RunAddOnScriptOrYast2(const QString& script, const QString& yast2Command,
                               const Ucomtc::DesktopSettings& settings);

    std::unique_ptr<Ui::TMainForm1> ui;
    QObject* ActionList1;
    TImageList* ImageList1;
};
