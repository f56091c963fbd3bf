#include "navtreeitem.h"

#include <QCoreApplication>
#include <QWidget>

NavTreeItem::NavTreeItem(const QString &name, NavTreeItem *parent, QWidget *page)
    : itemName(name)
    , parent(parent)
    , pageWidget(page)
{
}

NavTreeItem::~NavTreeItem() = default;

void NavTreeItem::clearChildren()
{
    children.clear();
}

QVariant NavTreeItem::data(const QModelIndex &index, int role) const
{
    if (role == Qt::UserRole)
        return QVariant::fromValue(pageWidget);
    if (role == Qt::DisplayRole && index.column() == 0)
        return itemName.isEmpty() ? QCoreApplication::translate("QObject", "Test") : itemName;
    return QVariant();
}

NavTreeItem *NavTreeItem::child(int row) const
{
    return row >= 0 && row < children.size() ? children.at(row).get() : nullptr;
}

void NavTreeItem::appendChild(const std::shared_ptr<NavTreeItem> &item)
{
    children.append(item);
}
