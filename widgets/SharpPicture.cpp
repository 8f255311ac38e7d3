#include "widgets/SharpPicture.h"

#include "machine/Host.h"

#include <QFile>
#include <QFileInfo>
#include <QImage>

namespace Ucomtc {

namespace {

constexpr auto DoubleSuffix = "@2x";

QString DoubleFileOf(const QString& path)
{
    const QFileInfo info(path);
    const QString suffix = info.completeSuffix();
    const QString base = suffix.isEmpty() ? path : path.chopped(suffix.size() + 1);
    return base + QLatin1String(DoubleSuffix) + (suffix.isEmpty() ? QString() : QLatin1Char('.') + suffix);
}

bool PictureExists(const QString& path)
{
    if (path.startsWith(QLatin1String(":/")))
        return QFile::exists(path);
    return Host::current().FileExists(path);
}

} // namespace

QString SharpFile(const QString& path, qreal deviceRatio)
{
    if (deviceRatio <= 1.0)
        return path;
    const QString sharp = DoubleFileOf(path);
    return PictureExists(sharp) ? sharp : path;
}

QPixmap AtDesignedSize(const QImage& image, const QString& file)
{
    QPixmap pixmap = QPixmap::fromImage(image);
    if (QFileInfo(file).baseName().endsWith(QLatin1String(DoubleSuffix)))
        pixmap.setDevicePixelRatio(2.0);
    return pixmap;
}

QPixmap SharpResource(const QString& resource, qreal deviceRatio)
{
    const QString file = SharpFile(resource, deviceRatio);
    return AtDesignedSize(QImage(file), file);
}

} // namespace Ucomtc
