#include "app/ImageList.h"

int TImageList::Add(const QPixmap& picture)
{
    images_.append(picture.scaled(16, 16, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    return static_cast<int>(images_.size()) - 1;
}
