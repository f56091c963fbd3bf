#pragma once

#include <QStyledItemDelegate>

// Paints the marker column of the navigation tree: a plain stripe, green on
// the selected row.
class NavTreeItemDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;
    static QColor selectedColor() { return QColor(9, 138, 68, 255); }
};
