// lapstone-bench-tour OUTDIR [--trace]
//
// Opens the program's real forms as a person would, inside the simulated notebook, and times each
// step from the click to the moment the form's show handler has finished. Writes OUTDIR/tour.tsv
// (one "figure<TAB>milliseconds" line per step, "figure-shown<TAB>..." for the moment its form was
// shown, and "peak-rss-kib<TAB>..." at the end) and, for each step, OUTDIR/<figure>.lines.tsv: the
// command lines the step ran, in order, each after who ran it ("user<TAB>line" for system() and the
// shell, "root<TAB>line" for the daemon), for the floor of one /bin/sh -c per line, and
// OUTDIR/<figure>.calls.tsv: how long each of those lines took inside the program
// ("milliseconds<TAB>line").
// With --trace it also times the building of each form and the main window's show handler.
#include "app/Application.h"
#include "app/MainForm.h"
#include "bench/AfterShow.h"
#include "dialogs/Resume.h"
#include "dialogs/SecureForm.h"
#include "dialogs/SysInfForm.h"
#include "dialogs/nubstickform.h"
#include "dialogs/touchpadform.h"
#include "machine/LibcHost.h"
#include "widgets/FormEvents.h"
#include "widgets/Forms.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QShowEvent>
#include <QTabWidget>
#include <QTextStream>
#include <QTimer>
#include <cstdio>
#include <functional>
#include <memory>

namespace {

// The production host, noting every command line it runs while a figure is being measured.
class RecordingHost : public Ucomtc::LibcHost
{
public:
    void Begin(const QString& figure)
    {
        figure_ = figure;
        lines_[figure].clear();
        order_.append(figure);
    }
    void End() { figure_.clear(); }

    int System(const QString& command) override
    {
        const Timed timed(*this, command, User);
        return LibcHost::System(command);
    }
    void RunShell(const QString& command) override
    {
        const Timed timed(*this, command, User);
        LibcHost::RunShell(command);
    }
    Ucomtc::DaemonAnswer AskDaemon(const QString& command) override
    {
        const Timed timed(*this, command, Root);
        return LibcHost::AskDaemon(command);
    }

    const QStringList& figures() const { return order_; }
    QStringList lines(const QString& figure) const { return lines_.value(figure); }
    // Who ran each of the figure's command lines: "user" (system(), the shell) or "root" (the daemon).
    QStringList runners(const QString& figure) const { return runners_.value(figure); }
    // How long each of the figure's command lines took, from the call to its return.
    QList<double> times(const QString& figure) const { return times_.value(figure); }

private:
    static constexpr const char* User = "user";
    static constexpr const char* Root = "root";

    // Notes a command line and who runs it and, when it returns, how long it took.
    class Timed
    {
    public:
        Timed(RecordingHost& host, const QString& command, const char* runner)
            : host_(host), figure_(host.figure_)
        {
            if (!figure_.isEmpty()) {
                host_.lines_[figure_].append(command);
                host_.runners_[figure_].append(QLatin1String(runner));
            }
            clock_.start();
        }
        ~Timed()
        {
            if (!figure_.isEmpty())
                host_.times_[figure_].append(static_cast<double>(clock_.nsecsElapsed()) / 1e6);
        }

    private:
        RecordingHost& host_;
        QString figure_;
        QElapsedTimer clock_;
    };

    QString figure_;
    QStringList order_;
    QHash<QString, QStringList> lines_;
    QHash<QString, QStringList> runners_;
    QHash<QString, QList<double>> times_;
};

class Tour
{
public:
    Tour(RecordingHost& host, const QString& out) : host_(host), out_(out) {}

    // Clicks `opener`, which shows the modal form `formName`; the figure ends when the form's show
    // handler is done. `whileOpen` then runs inside the form, which is closed afterwards.
    void Open(const QString& figure, QAbstractButton* opener, const QString& formName,
              const std::function<void(QWidget*)>& whileOpen = {})
    {
        QWidget* form = Ucomtc::FindForm(formName);
        if (opener == nullptr || form == nullptr) {
            std::fprintf(stderr, "lapstone-bench-tour: no %s to open\n", qPrintable(formName));
            return;
        }
        QElapsedTimer clock;
        AfterShowHandler watch(
            form,
            [&] {
                Record(figure, clock);
                if (whileOpen)
                    whileOpen(form);
                form->close();
            },
            [&] {
                Note(figure + QStringLiteral("-shown"), static_cast<double>(clock.nsecsElapsed()) / 1e6);
            });
        host_.Begin(figure);
        clock.start();
        opener->click();
        host_.End();
    }

    // Times one synchronous step inside an open form.
    void Step(const QString& figure, const std::function<void()>& step)
    {
        QElapsedTimer clock;
        host_.Begin(figure);
        clock.start();
        step();
        Record(figure, clock);
    }

    void Record(const QString& figure, const QElapsedTimer& clock)
    {
        host_.End();
        times_.append({figure, static_cast<double>(clock.nsecsElapsed()) / 1e6});
    }

    void Note(const QString& name, double value) { times_.append({name, value}); }

    bool Write() const
    {
        QFile table(out_ + QStringLiteral("/tour.tsv"));
        if (!table.open(QIODevice::WriteOnly | QIODevice::Text))
            return false;
        QTextStream stream(&table);
        for (const auto& [figure, value] : times_)
            stream << figure << '\t' << QString::number(value, 'f', 3) << '\n';
        for (const QString& figure : host_.figures()) {
            QFile script(out_ + QLatin1Char('/') + figure + QStringLiteral(".lines.tsv"));
            if (!script.open(QIODevice::WriteOnly | QIODevice::Text))
                return false;
            QTextStream lines(&script);
            const QStringList all = host_.lines(figure);
            const QStringList runners = host_.runners(figure);
            for (qsizetype i = 0; i < all.size(); ++i)
                lines << runners.at(i) << '\t' << all.at(i) << '\n';
            QFile calls(out_ + QLatin1Char('/') + figure + QStringLiteral(".calls.tsv"));
            if (!calls.open(QIODevice::WriteOnly | QIODevice::Text))
                return false;
            QTextStream timed(&calls);
            const QStringList ran = host_.lines(figure);
            const QList<double> took = host_.times(figure);
            for (qsizetype i = 0; i < ran.size() && i < took.size(); ++i)
                timed << QString::number(took[i], 'f', 3) << '\t' << ran[i] << '\n';
        }
        return true;
    }

private:
    RecordingHost& host_;
    QString out_;
    QList<std::pair<QString, double>> times_;
};

template <typename T> T* Child(QWidget* parent, const char* name)
{
    return parent == nullptr ? nullptr : parent->findChild<T*>(QLatin1String(name));
}

// Shows the main window and runs the event loop until its show handler is done (the dump follows
// the window's first painting), then returns the time since `clock`.
double ShowAndWait(QWidget* form, const QElapsedTimer& clock)
{
    const int handled = Ucomtc::ShowHandlersRun(form);
    form->show();
    QTimer late; // a turn of the event loop, should nothing else come
    late.setSingleShot(true);
    late.start(20000);
    while (Ucomtc::ShowHandlersRun(form) == handled && late.isActive())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    return Ucomtc::ShowHandlersRun(form) > handled ? static_cast<double>(clock.nsecsElapsed()) / 1e6 : -1;
}

// Where start-up spends its time inside the process: each form's construction, then the main
// window's showing up to the end of its show handler (the dump and the vendor check).
void Trace(Tour& tour)
{
    Ucomtc::MachineAreas machine;
    const Ucomtc::Areas areas = machine.areas();
    QElapsedTimer clock;
    clock.start();
    auto main = std::make_unique<TMainForm1>(areas.system, areas.handOvers);
    tour.Note(QStringLiteral("trace-build-MainForm1"), clock.nsecsElapsed() / 1e6);
    const std::pair<const char*, std::function<std::unique_ptr<QWidget>()>> dialogs[] = {
        {"SysInfoForm",
         [&] {
             return std::make_unique<TSysInfoForm>(areas.system, areas.batteries, areas.handOvers,
                                                   main.get());
         }},
        {"NubstickFor",
         [&] { return std::make_unique<TNubstickFor>(areas.pointing, areas.handOvers, main.get()); }},
        {"TouchPadForm1",
         [&] { return std::make_unique<TTouchPadForm1>(areas.pointing, areas.handOvers, main.get()); }},
        {"SecureForm1",
         [&] {
             return std::make_unique<TSecureForm1>(areas.locks, areas.system, areas.handOvers, main.get());
         }},
        {"ResumeForm1",
         [&] { return std::make_unique<TResumeForm1>(areas.locks, areas.handOvers, main.get()); }},
    };
    std::vector<std::unique_ptr<QWidget>> built;
    for (const auto& [name, build] : dialogs) {
        clock.restart();
        built.push_back(build());
        tour.Note(QStringLiteral("trace-build-") + QLatin1String(name), clock.nsecsElapsed() / 1e6);
    }
    clock.restart();
    tour.Note(QStringLiteral("trace-main-show-handler-done"), ShowAndWait(main.get(), clock));
    main->close();
    built.clear();
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("LapstoneConfiguration"));
    QApplication::setQuitOnLastWindowClosed(false);
    const QStringList arguments = QApplication::arguments().mid(1);
    if (arguments.isEmpty()) {
        std::fprintf(stderr, "usage: lapstone-bench-tour OUTDIR [--trace]\n");
        return 2;
    }

    RecordingHost host;
    Ucomtc::ScopedHost scope(host);
    Tour tour(host, arguments.first());
    if (arguments.contains(QLatin1String("--trace"))) {
        Trace(tour);
        return tour.Write() ? 0 : 1;
    }

    Ucomtc::MachineAreas machine;
    TApplication forms(machine.areas());
    forms.CreateForms();
    TMainForm1* main = forms.MainForm();
    QElapsedTimer clock;
    clock.start();
    if (ShowAndWait(main, clock) < 0 || !main->isVisible()) {
        std::fprintf(stderr, "lapstone-bench-tour: the main window did not come up\n");
        return 1;
    }

    tour.Open(QStringLiteral("sysinfo-general"), Child<QAbstractButton>(main, "SpdButtonSys"),
              QStringLiteral("SysInfoForm"), [&](QWidget* form) {
                  auto* tabs = Child<QTabWidget>(form, "TabControl1");
                  auto* batteries = Child<QComboBox>(form, "ComboBoxBatt");
                  const int bios = TabStartingWith(tabs, QStringLiteral("BIOS"));
                  const int battery = TabStartingWith(tabs, QStringLiteral("Battery"));
                  if (bios < 0 || battery < 0 || batteries == nullptr)
                      return;
                  tour.Step(QStringLiteral("sysinfo-bios"), [&] { tabs->setCurrentIndex(bios); });
                  tour.Step(QStringLiteral("sysinfo-battery"), [&] { tabs->setCurrentIndex(battery); });
                  if (batteries->count() > 1) {
                      tour.Step(QStringLiteral("sysinfo-battery2"), [&] {
                          batteries->setCurrentIndex(1);
                          emit batteries->activated(1);
                      });
                  }
              });
    tour.Open(QStringLiteral("nubstick"), Child<QAbstractButton>(main, "SpdButtonNubstick"),
              QStringLiteral("NubstickFor"));
    tour.Open(QStringLiteral("touchpad"), Child<QAbstractButton>(main, "SpdButtonTouch"),
              QStringLiteral("TouchPadForm1"));
    tour.Open(QStringLiteral("security"), Child<QAbstractButton>(main, "SpdButtonSecure"),
              QStringLiteral("SecureForm1"), [&](QWidget* form) {
                  tour.Open(QStringLiteral("resume"), Child<QAbstractButton>(form, "ButtonResume"),
                            QStringLiteral("ResumeForm1"));
              });

    tour.Note(QStringLiteral("peak-rss-kib"), static_cast<double>(PeakRssKib()));
    main->close();
    return tour.Write() ? 0 : 1;
}
