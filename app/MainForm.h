// The main window: ten category buttons, the header banner and the preview picture. At start it has
// the DMI table dumped and checks that the notebook is a VELTOR machine; on close it has the dump
// removed again.
#pragma once

#include <QWidget>
#include <exception>
#include <functional>
#include <memory>
#include <optional>

namespace Ui {
class TMainForm1;
}
class QAction;
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

    void setVisible(bool visible) override;
    // Takes the show handler's first steps ahead of the showing, once: the start picture, then the
    // dump request, whose reply the show handler waits for. Start-up calls it before it builds the
    // dialogs, so that the daemon works meanwhile; otherwise showing the window calls it.
    void BeginStart();

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
    void StartYast2Module(const QString& command);
    void RunAddOnScriptOrYast2(const QString& script, const QString& yast2Command);

    std::unique_ptr<Ui::TMainForm1> ui;
    QObject* ActionList1;
    TImageList* ImageList1;

    // What BeginStart leaves for FormShow.
    struct StartSteps
    {
        std::exception_ptr pictureFailed; // reported by FormShow, which then goes no further
        std::function<bool()> dumpTaken;
    };
    std::optional<StartSteps> start_;
};
