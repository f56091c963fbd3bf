#include "navtreemodel.h"

#include <QDebug>
#include <QEvent>

NavTreeModel::NavTreeModel(QObject *parent)
    : QAbstractItemModel(parent)
    , root(new NavTreeItem(QString(), nullptr, nullptr))
{
}

NavTreeModel::~NavTreeModel()
{
    delete root;
}

NavTreeItem *NavTreeModel::itemOf(const QModelIndex &index) const
{
    return index.isValid() ? static_cast<NavTreeItem *>(index.internalPointer()) : root;
}

QModelIndex NavTreeModel::index(int row, int column, const QModelIndex &parent) const
{
    if (!hasIndex(row, column, parent))
        return QModelIndex();
    NavTreeItem *child = itemOf(parent)->child(row);
    return child ? createIndex(row, column, child) : QModelIndex();
}

QModelIndex NavTreeModel::parent(const QModelIndex &index) const
{
    if (!index.isValid() || !index.internalPointer())
        return QModelIndex();
    NavTreeItem *parentItem = static_cast<NavTreeItem *>(index.internalPointer())->parentItem();
    if (!parentItem || parentItem == root)
        return QModelIndex();
    int row = 0;
    if (NavTreeItem *grand = parentItem->parentItem()) {
        for (int r = 0; r < grand->childCount(); ++r) {
            if (grand->child(r) == parentItem) {
                row = r;
                break;
            }
        }
    }
    return createIndex(row, 0, parentItem);
}

int NavTreeModel::rowCount(const QModelIndex &parent) const
{
    if (parent.column() > 0)
        return 0;
    return itemOf(parent)->childCount();
}

int NavTreeModel::columnCount(const QModelIndex &) const
{
    return 2;
}

QVariant NavTreeModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return QVariant();
    return static_cast<NavTreeItem *>(index.internalPointer())->data(index, role);
}

QVariant NavTreeModel::headerData(int, Qt::Orientation, int) const
{
    return QVariant();
}

Qt::ItemFlags NavTreeModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return QAbstractItemModel::flags(index);
}

void NavTreeModel::changeEvent(QEvent *event)
{
    if (event && event->type() == QEvent::LanguageChange)
        qDebug() << "treemodelchangeEvent();";
}

void NavTreeModel::addChild(const std::shared_ptr<NavTreeItem> &item, const QModelIndex &parent)
{
    if (parent.isValid())
        qDebug() << "add child" << parent;
    itemOf(parent)->appendChild(item);
}

QModelIndex NavTreeModel::search(const NavTreeItem *node, const NavTreeItem *item) const
{
    for (int row = 0; row < node->childCount(); ++row) {
        NavTreeItem *child = node->child(row);
        if (child == item)
            return createIndex(row, 0, child);
        const QModelIndex found = search(child, item);
        if (found.isValid())
            return found;
    }
    return QModelIndex();
}

QModelIndex NavTreeModel::indexForItem(const NavTreeItem *item) const
{
    if (!item)
        return QModelIndex();
    return search(root, item);
}

void NavTreeModel::refresh()
{
    beginResetModel();
    endResetModel();
}

void NavTreeModel::clear()
{
    beginResetModel();
    root->clearChildren();
    endResetModel();
}
