// Pictures drawn twice: NAME.EXT at the designed size and NAME@2x.EXT at twice that size, for
// screens with a device pixel ratio above 1.
#pragma once

#include <QPixmap>
#include <QString>

namespace Ucomtc {

// The file to load for a widget whose device pixel ratio is `deviceRatio`: NAME@2x.EXT where the
// screen has more than one pixel to a point and that file is there, otherwise `path` itself.
// Compiled-in resources (":/…") are looked up in the program, every other file through the Host.
QString SharpFile(const QString& path, qreal deviceRatio);

// `image`, loaded from `file`, as a pixmap of the designed logical size: a NAME@2x file covers
// half as many points as it has pixels.
QPixmap AtDesignedSize(const QImage& image, const QString& file);

// The compiled-in picture at `resource`, sharp for `deviceRatio`, at its designed logical size.
QPixmap SharpResource(const QString& resource, qreal deviceRatio);

} // namespace Ucomtc
