// bench-same-forms [--dialogs OUTDIR]
//
// The floor for start-up, memory and the dialogs' own share: the program's six forms built from the
// same .ui files (the stick's layout twice: the stick's and the touchpad's dialogs), the dialogs
// children of the main window as in the program, the start picture loaded from its installed file
// into the main window and the banner from the compiled-in artwork, then the main window shown. No
// handlers, no commands, no fonts or captions of the program's own: what the toolkit needs to show
// these forms, and nothing the program adds.
//
// With --dialogs it then opens each dialog as lapstone-bench-tour does, in the same order and to
// the same end (two turns of the event loop after the show event), switches the same tabs and
// picks the second battery, and writes OUTDIR/forms.tsv: "figure<TAB>milliseconds" under the tour's
// names, and "peak-rss-kib<TAB>..." at the end.
#include "AfterShow.h"
#include "ui_MainForm.h"
#include "ui_Resume.h"
#include "ui_SecureForm.h"
#include "ui_SysInfForm.h"
#include "ui_nubstickform.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QTabWidget>
#include <QTextStream>
#include <cstdio>

namespace {

// Where the program finds its start picture; NAME@2x beside it for a device pixel ratio above 1.
const char* const StartPicture = "/opt/lapstone/vc/bin/image/origin.jpg";

// `path`, or its NAME@2x twin where the screen has more than one pixel to a point and it exists.
QString Sharp(const QString& path, qreal ratio)
{
    if (ratio <= 1.0)
        return path;
    const QFileInfo file(path);
    const QString twin =
        file.path() + QLatin1Char('/') + file.completeBaseName() + QStringLiteral("@2x.") + file.suffix();
    return QFileInfo::exists(twin) ? twin : path;
}

QPixmap Picture(const QString& path, qreal ratio)
{
    const QString file = Sharp(path, ratio);
    QPixmap pixmap = QPixmap::fromImage(QImageReader(file).read());
    if (file != path)
        pixmap.setDevicePixelRatio(2.0);
    return pixmap;
}

struct Forms
{
    QWidget main;
    Ui::TMainForm1 mainUi;
    QDialog sysInfo{&main};
    Ui::TSysInfoForm sysInfoUi;
    QDialog nubstick{&main};
    Ui::TNubstickFor nubstickUi;
    QDialog touchPad{&main};
    Ui::TNubstickFor touchPadUi;
    QDialog secure{&main};
    Ui::TSecureForm1 secureUi;
    QDialog resume{&main};
    Ui::TResumeForm1 resumeUi;

    // In the program's order: the main window, then the five dialogs.
    Forms()
    {
        mainUi.setupUi(&main);
        const qreal ratio = main.devicePixelRatioF();
        if (ratio > 1.0)
            mainUi.Imagehead->setPixmap(Picture(QStringLiteral(":/artwork/header-banner.png"), ratio));
        mainUi.Image1->setPixmap(Picture(QString::fromLatin1(StartPicture), ratio));
        sysInfoUi.setupUi(&sysInfo);
        nubstickUi.setupUi(&nubstick);
        touchPadUi.setupUi(&touchPad);
        secureUi.setupUi(&secure);
        resumeUi.setupUi(&resume);
    }
};

class Tour
{
public:
    // Shows the modal `form`; the figure ends two turns of the event loop after its show event.
    // `whileOpen` then runs inside the form, which is closed afterwards.
    void Open(const QString& figure, QDialog& form, const std::function<void()>& whileOpen = {})
    {
        QElapsedTimer clock;
        AfterShowHandler watch(&form, [&] {
            Note(figure, clock);
            if (whileOpen)
                whileOpen();
            form.close();
        });
        clock.start();
        form.exec();
    }

    // Times one synchronous step inside an open form.
    void Step(const QString& figure, const std::function<void()>& step)
    {
        QElapsedTimer clock;
        clock.start();
        step();
        Note(figure, clock);
    }

    void Note(const QString& figure, const QElapsedTimer& clock)
    {
        times_.append({figure, static_cast<double>(clock.nsecsElapsed()) / 1e6});
    }
    void Note(const QString& figure, double value) { times_.append({figure, value}); }

    bool Write(const QString& out) const
    {
        QFile table(out + QStringLiteral("/forms.tsv"));
        if (!table.open(QIODevice::WriteOnly | QIODevice::Text))
            return false;
        QTextStream stream(&table);
        for (const auto& [figure, value] : times_)
            stream << figure << '\t' << QString::number(value, 'f', 3) << '\n';
        return true;
    }

private:
    QList<std::pair<QString, double>> times_;
};

// The tour of lapstone-bench-tour over the same forms, without anything the program does in them.
int Visit(Forms& forms, const QString& out)
{
    QApplication::setQuitOnLastWindowClosed(false);
    QEventLoop loop;
    AfterShowHandler shown(&forms.main, [&] { loop.quit(); });
    forms.main.show();
    loop.exec();

    Tour tour;
    QTabWidget* tabs = forms.sysInfoUi.TabControl1;
    QComboBox* batteries = forms.sysInfoUi.ComboBoxBatt;
    tour.Open(QStringLiteral("sysinfo-general"), forms.sysInfo, [&] {
        const int bios = TabStartingWith(tabs, QStringLiteral("BIOS"));
        const int battery = TabStartingWith(tabs, QStringLiteral("Battery"));
        tour.Step(QStringLiteral("sysinfo-bios"), [&] { tabs->setCurrentIndex(bios); });
        tour.Step(QStringLiteral("sysinfo-battery"), [&] { tabs->setCurrentIndex(battery); });
        // The program lists the second battery when it finds one; the layout has only the first.
        if (batteries->count() < 2)
            batteries->addItem(QStringLiteral("Battery2"));
        tour.Step(QStringLiteral("sysinfo-battery2"), [&] {
            batteries->setCurrentIndex(1);
            emit batteries->activated(1);
        });
    });
    tour.Open(QStringLiteral("nubstick"), forms.nubstick);
    tour.Open(QStringLiteral("touchpad"), forms.touchPad);
    tour.Open(QStringLiteral("security"), forms.secure,
              [&] { tour.Open(QStringLiteral("resume"), forms.resume); });
    tour.Note(QStringLiteral("peak-rss-kib"), static_cast<double>(PeakRssKib()));
    forms.main.close();
    return tour.Write(out) ? 0 : 1;
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    const QStringList arguments = QApplication::arguments().mid(1);
    const bool visit = !arguments.isEmpty() && arguments.first() == QLatin1String("--dialogs");
    if ((visit && arguments.size() != 2) || (!visit && !arguments.isEmpty())) {
        std::fprintf(stderr, "usage: bench-same-forms [--dialogs OUTDIR]\n");
        return 2;
    }
    Forms forms;
    if (visit)
        return Visit(forms, arguments.at(1));
    forms.main.show();
    return QApplication::exec();
}
