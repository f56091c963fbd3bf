#include "navtreeitemdelegate.h"

#include <QPainter>

void NavTreeItemDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                                const QModelIndex &) const
{
    if (option.state & QStyle::State_Selected) {
        painter->fillRect(option.rect, selectedColor());
        return;
    }
    const QPalette::ColorGroup group = !(option.state & QStyle::State_Enabled) ? QPalette::Disabled
                                       : (option.state & QStyle::State_Active)  ? QPalette::Active
                                                                                : QPalette::Inactive;
    painter->fillRect(option.rect, option.palette.brush(group, QPalette::Window));
}
