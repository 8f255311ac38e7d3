// The main window's list of 16 × 16 action images. No control shows them; they travel with the
// actions, so that a menu or tool bar built from the actions would show the buttons' pictures.
#pragma once

#include <QList>
#include <QObject>
#include <QPixmap>

class TImageList : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    // Adds a copy of `picture` scaled to 16 × 16 and returns its index.
    int Add(const QPixmap& picture);
    QPixmap Image(int index) const { return images_.value(index); }

private:
    QList<QPixmap> images_;
};
