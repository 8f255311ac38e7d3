// The main window: ten category buttons, the header banner and the preview picture. At start it has
// the DMI table dumped and checks that the notebook is a VELTOR machine; on close it has the dump
// removed again.
#pragma once

#include <QImage>
#include <QString>
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

    // The show handler's first steps, taken ahead of the showing: the start picture, then the dump
    // request, whose reply the show handler waits for.
    struct StartSteps
    {
        QImage picture;
        QString pictureFile;
        std::exception_ptr pictureFailed; // reported by FormShow, which then goes no further
        std::function<bool()> dumpTaken;
    };
    // Takes them before the window exists, so that the daemon dumps the table while the window is
    // built: start-up does this, on a thread of its own. `deviceRatio` picks the picture for the
    // screen. Touches no widget, and of the host only LoadImage, FileExists and StartPrivileged.
    static StartSteps TakeStartSteps(qreal deviceRatio);
    // Takes over steps taken before; the first steps taken count, later ones are dropped.
    void BeginStart(StartSteps steps);
    // Takes the steps itself, once; showing the window calls it when start-up did not.
    void BeginStart();

    void setVisible(bool visible) override;

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
    void ShowPicture(const QImage& picture, const QString& file, const QString& shows);
    void StartYast2Module(const QString& command);
    void RunAddOnScriptOrYast2(const QString& script, const QString& yast2Command);

    std::unique_ptr<Ui::TMainForm1> ui;
    QObject* ActionList1;
    TImageList* ImageList1;

    // What BeginStart leaves for FormShow.
    std::optional<StartSteps> start_;
};
