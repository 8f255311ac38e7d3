#include "widgets/ItemHeight.h"

#include <QComboBox>
#include <QStyledItemDelegate>

namespace Ucomtc {
namespace {

class FixedHeightItems : public QStyledItemDelegate
{
public:
    FixedHeightItems(int pixels, QObject* parent) : QStyledItemDelegate(parent), pixels_(pixels) {}
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        return {QStyledItemDelegate::sizeHint(option, index).width(), pixels_};
    }

private:
    int pixels_;
};

} // namespace

void UseItemHeight(QComboBox* list, int pixels)
{
    list->setItemDelegate(new FixedHeightItems(pixels, list));
}

} // namespace Ucomtc
