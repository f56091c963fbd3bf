#include "treemodel.h"

#include <QDebug>
#include <QEvent>

#include "logentrybase.h"

TreeModel::TreeModel(QObject *parent)
    : QAbstractItemModel(parent)
    , m_root(new LogEntryBase(nullptr))
{
}

TreeModel::~TreeModel()
{
    delete m_root;
}

LogEntryBase *TreeModel::nodeOf(const QModelIndex &index) const
{
    return index.isValid() ? static_cast<LogEntryBase *>(index.internalPointer()) : m_root;
}

int TreeModel::columnCount(const QModelIndex &) const
{
    return 3;
}

int TreeModel::rowCount(const QModelIndex &parent) const
{
    if (parent.column() > 0)
        return 0;
    const LogEntryBase *node = nodeOf(parent);
    return node ? node->childCount() : 0;
}

QModelIndex TreeModel::index(int row, int column, const QModelIndex &parent) const
{
    if (!hasIndex(row, column, parent))
        return QModelIndex();
    LogEntryBase *child = nodeOf(parent)->child(row);
    return child ? createIndex(row, column, child) : QModelIndex();
}

QModelIndex TreeModel::parent(const QModelIndex &index) const
{
    if (!index.isValid() || !index.internalPointer())
        return QModelIndex();
    LogEntryBase *p = static_cast<LogEntryBase *>(index.internalPointer())->parent();
    if (!p || p == m_root)
        return QModelIndex();
    // Rows are fixed once appended, so the node knows its own row.
    const int row = p->row();
    return createIndex(row < 0 ? 0 : row, 0, p);
}

QVariant TreeModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return QVariant();
    return static_cast<LogEntryBase *>(index.internalPointer())->data(index, role);
}

QVariant TreeModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QVariant();
    switch (section) {
    case 0:
        return tr("Timestamp");
    case 1:
        return tr("ID");
    case 2:
        return tr("Description");
    default:
        return QVariant();
    }
}

Qt::ItemFlags TreeModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return QAbstractItemModel::flags(index);
}

void TreeModel::resetModel()
{
    beginResetModel();
    m_root->clearChildren();
    endResetModel();
}

void TreeModel::notifyReset()
{
    beginResetModel();
    endResetModel();
}

QModelIndex TreeModel::findChildIndex(LogEntryBase *parentItem, LogEntryBase *item) const
{
    if (!parentItem)
        return QModelIndex();
    for (int r = 0; r < parentItem->childCount(); ++r) {
        LogEntryBase *c = parentItem->child(r);
        if (c == item)
            return createIndex(r, 0, c);
        const QModelIndex found = findChildIndex(c, item);
        if (found.isValid())
            return found;
    }
    return QModelIndex();
}

void TreeModel::changeEvent(QEvent *event)
{
    if (event && event->type() == QEvent::LanguageChange)
        qDebug() << "treemodelchangeEvent();";
}
