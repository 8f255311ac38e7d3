#include "widgets/DesktopPalette.h"

#include "machine/Capture.h"
#include "machine/Constants.h"
#include "machine/Desktop.h"
#include "machine/Host.h"
#include "widgets/Handlers.h"

#include <QApplication>
#include <QColor>
#include <QEvent>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QHash>
#include <QPointer>
#include <QStyle>
#include <QTimer>

namespace Ucomtc {

namespace {

using ColourGroups = QHash<QString, QHash<QString, QColor>>;

// "[Colors:Window]" groups and "Key=r,g,b" lines; anything else is passed over. The file is the
// person's: read through the seam, a regular file only, bounded, never waiting on a FIFO.
ColourGroups ReadColourGroups(const QString& path)
{
    ColourGroups groups;
    const auto text = Host::current().ReadTextFile(path);
    if (!text)
        return groups;
    QString group;
    for (const QString& raw : QString::fromUtf8(*text).split(QLatin1Char('\n'))) {
        const QString line = raw.trimmed();
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            group = line.mid(1, line.size() - 2);
            continue;
        }
        if (!group.startsWith(QLatin1String("Colors:")))
            continue;
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        const QStringList parts = line.mid(equals + 1).split(QLatin1Char(','));
        if (equals <= 0 || parts.size() != 3)
            continue;
        int rgb[3];
        bool valid = true;
        for (int i = 0; i < 3; ++i) {
            bool ok = false;
            rgb[i] = parts[i].trimmed().toInt(&ok);
            valid = valid && ok && rgb[i] >= 0 && rgb[i] <= 255;
        }
        if (valid)
            groups[group.mid(7)][line.left(equals).trimmed()] = QColor(rgb[0], rgb[1], rgb[2]);
    }
    return groups;
}

QString KdeGlobalsPath()
{
    Host& host = Host::current();
    QString config = host.GetEnv("XDG_CONFIG_HOME").value_or(QString());
    if (!config.startsWith(QLatin1Char('/')))
        config = host.GetEnv("HOME").value_or(QString()) + QStringLiteral("/.config");
    return config + QStringLiteral("/kdeglobals");
}

// GNOME's colour scheme: "'prefer-dark'" asks for dark colours.
constexpr const char* ReadGnomeColorScheme = "gsettings get org.gnome.desktop.interface color-scheme >";

bool GnomePrefersDark()
{
    // The program's look is no reason for a box: what stood in the capture file's way is left
    // unsaid here, and the forms say it when they meet it.
    Messages unsaid;
    // gsettings reads and writes the person's settings: as root with another user's home it runs
    // as that user, so that root follows none of their links there.
    const QString captureFile = QString::fromLatin1(ColorSchemeCaptureFile);
    constexpr Way asTheUser{RunWith::System, As::HomeOwner};
    return CaptureFirstLine(asTheUser, QString::fromLatin1(ReadGnomeColorScheme) + captureFile, captureFile,
                            asTheUser, unsaid)
        .contains(QLatin1String("prefer-dark"));
}

// Reads the desktop's colours and puts them on the application; follows their changes.
class DesktopColours : public QObject
{
public:
    explicit DesktopColours(QObject* parent) : QObject(parent)
    {
        const Desktop desktop = CurrentDesktop();
        if (desktop == Desktop::Plasma) {
            kdeglobals_ = KdeGlobalsPath();
            watcher_ = new QFileSystemWatcher(this);
            connect(watcher_, &QFileSystemWatcher::fileChanged, this,
                    [this] { Guarded([this] { Take(); }); });
            connect(watcher_, &QFileSystemWatcher::directoryChanged, this,
                    [this] { Guarded([this] { Take(); }); });
        } else if (desktop == Desktop::Gnome) {
            gnome_ = true;
            QCoreApplication::instance()->installEventFilter(this);
        } else {
            return;
        }
        Guarded([this] { Take(); });
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        // The theme change reaches every window; one reading answers them all.
        const bool themeChange =
            event->type() == QEvent::ThemeChange || (event->type() == QEvent::ApplicationPaletteChange &&
                                                     watched == QCoreApplication::instance() && !applying_);
        if (themeChange && !readQueued_) {
            readQueued_ = true;
            QTimer::singleShot(0, this, [this] {
                readQueued_ = false;
                Guarded([this] { Take(); });
            });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    void Take()
    {
        if (watcher_ != nullptr)
            Watch();
        std::optional<QPalette> palette;
        if (gnome_ && GnomePrefersDark())
            palette = PreferDarkPalette();
        else if (!kdeglobals_.isEmpty())
            palette = KdePalette(kdeglobals_);
        Apply(palette.value_or(QApplication::style()->standardPalette()));
    }

    // Plasma replaces the file on saving it, which ends its watch: the new file gets one again.
    // Without the file, its folder is watched for it to appear.
    void Watch()
    {
        const QString folder = QFileInfo(kdeglobals_).absolutePath();
        if (QFileInfo::exists(kdeglobals_)) {
            if (!watcher_->files().contains(kdeglobals_))
                watcher_->addPath(kdeglobals_);
            if (!watcher_->directories().isEmpty())
                watcher_->removePaths(watcher_->directories());
        } else if (!watcher_->directories().contains(folder) && QFileInfo(folder).isDir()) {
            watcher_->addPath(folder);
        }
    }

    void Apply(const QPalette& palette)
    {
        if (palette == QApplication::palette())
            return;
        applying_ = true;
        QApplication::setPalette(palette);
        applying_ = false;
    }

    QString kdeglobals_;
    QFileSystemWatcher* watcher_ = nullptr;
    bool gnome_ = false;
    bool readQueued_ = false;
    bool applying_ = false;
};

} // namespace

std::optional<QPalette> KdePalette(const QString& kdeglobals)
{
    const ColourGroups groups = ReadColourGroups(kdeglobals);
    const auto window = groups.value(QStringLiteral("Window"));
    if (!window.contains(QStringLiteral("BackgroundNormal")) ||
        !window.contains(QStringLiteral("ForegroundNormal")))
        return std::nullopt;
    QPalette palette = QApplication::style()->standardPalette();
    const auto set = [&](const char* group, const char* key, QPalette::ColorRole role,
                         QPalette::ColorGroup colourGroup = QPalette::All) {
        const auto colours = groups.value(QLatin1String(group));
        const auto found = colours.constFind(QLatin1String(key));
        if (found != colours.cend())
            palette.setColor(colourGroup, role, *found);
    };
    // The shades the style draws frames and bevels with come from the button colour.
    const QColor button =
        groups.value(QStringLiteral("Button"))
            .value(QStringLiteral("BackgroundNormal"), window.value(QStringLiteral("BackgroundNormal")));
    palette.setColor(QPalette::Light, button.lighter(150));
    palette.setColor(QPalette::Midlight, button.lighter(125));
    palette.setColor(QPalette::Mid, button.darker(150));
    palette.setColor(QPalette::Dark, button.darker(200));
    palette.setColor(QPalette::Shadow, Qt::black);

    set("Window", "BackgroundNormal", QPalette::Window);
    set("Window", "ForegroundNormal", QPalette::WindowText);
    set("Window", "ForegroundInactive", QPalette::WindowText, QPalette::Disabled);
    set("View", "BackgroundNormal", QPalette::Base);
    set("View", "BackgroundAlternate", QPalette::AlternateBase);
    set("View", "ForegroundNormal", QPalette::Text);
    set("View", "ForegroundInactive", QPalette::Text, QPalette::Disabled);
    set("View", "ForegroundInactive", QPalette::PlaceholderText);
    set("View", "ForegroundLink", QPalette::Link);
    set("View", "ForegroundVisited", QPalette::LinkVisited);
    set("Button", "BackgroundNormal", QPalette::Button);
    set("Button", "ForegroundNormal", QPalette::ButtonText);
    set("Button", "ForegroundInactive", QPalette::ButtonText, QPalette::Disabled);
    set("Selection", "BackgroundNormal", QPalette::Highlight);
    set("Selection", "ForegroundNormal", QPalette::HighlightedText);
    set("Tooltip", "BackgroundNormal", QPalette::ToolTipBase);
    set("Tooltip", "ForegroundNormal", QPalette::ToolTipText);
    palette.setColor(QPalette::BrightText, palette.color(QPalette::HighlightedText));
    return palette;
}

QPalette PreferDarkPalette()
{
    QPalette dark = QApplication::style()->standardPalette();
    const QColor window(0x35, 0x35, 0x35);
    const QColor button(0x3c, 0x3c, 0x3c);
    const QColor text(0xee, 0xee, 0xec);
    dark.setColor(QPalette::Window, window);
    dark.setColor(QPalette::WindowText, text);
    dark.setColor(QPalette::Base, QColor(0x2d, 0x2d, 0x2d));
    dark.setColor(QPalette::AlternateBase, QColor(0x38, 0x38, 0x38));
    dark.setColor(QPalette::Text, text);
    dark.setColor(QPalette::Button, button);
    dark.setColor(QPalette::ButtonText, text);
    dark.setColor(QPalette::BrightText, Qt::white);
    dark.setColor(QPalette::Highlight, QColor(0x15, 0x53, 0x9e));
    dark.setColor(QPalette::HighlightedText, Qt::white);
    dark.setColor(QPalette::ToolTipBase, QColor(0x1e, 0x1e, 0x1e));
    dark.setColor(QPalette::ToolTipText, text);
    dark.setColor(QPalette::PlaceholderText, QColor(0xa0, 0xa0, 0xa0));
    dark.setColor(QPalette::Link, QColor(0x78, 0xae, 0xed));
    dark.setColor(QPalette::LinkVisited, QColor(0xc0, 0x8c, 0xe8));
    dark.setColor(QPalette::Light, button.lighter(150));
    dark.setColor(QPalette::Midlight, button.lighter(125));
    dark.setColor(QPalette::Mid, button.darker(150));
    dark.setColor(QPalette::Dark, button.darker(200));
    dark.setColor(QPalette::Shadow, Qt::black);
    // Greyed-out text, dimmer than the rest and still readable.
    for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        dark.setColor(QPalette::Disabled, role, QColor(0xa0, 0xa0, 0xa0));
    return dark;
}

void UseDesktopPalette()
{
    static QPointer<DesktopColours> colours;
    if (colours != nullptr) {
        delete colours;
        QApplication::setPalette(QApplication::style()->standardPalette());
    }
    // A platform theme that gives colours makes the application palette differ from the style's
    // own; the theme then follows the desktop itself.
    if (QApplication::palette() != QApplication::style()->standardPalette())
        return;
    colours = new DesktopColours(QCoreApplication::instance());
}

} // namespace Ucomtc
