#include "appendproxymodel.h"

AppendProxyModel::AppendProxyModel(QObject *parent)
    : QAbstractProxyModel(parent)
{
}

int AppendProxyModel::sourceRows() const
{
    return sourceModel() ? sourceModel()->rowCount() : 0;
}

QModelIndex AppendProxyModel::index(int row, int column, const QModelIndex &parent) const
{
    if (parent.isValid() || row < 0 || column < 0 || row >= rowCount() || column >= columnCount())
        return QModelIndex();
    return createIndex(row, column);
}

QModelIndex AppendProxyModel::parent(const QModelIndex &) const
{
    return QModelIndex();
}

int AppendProxyModel::rowCount(const QModelIndex &parent) const
{
    // A flat list: only the root has rows.
    if (parent.isValid())
        return 0;
    return sourceRows() + 2;
}

int AppendProxyModel::columnCount(const QModelIndex &parent) const
{
    if (parent.isValid())
        return 0;
    return sourceModel() ? sourceModel()->columnCount() : 1;
}

QVariant AppendProxyModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() < 0 || index.column() < 0 || index.model() != this)
        return QVariant();
    const int n = sourceRows();
    if (index.row() < n)
        return sourceModel()->data(mapToSource(index), role);
    if (role != Qt::DisplayRole)
        return QVariant();
    if (index.row() == n)
        return index.column() == 0 ? QVariant(0) : QVariant(tr("custom entry"));
    return index.column() == 0 ? QVariant(-1) : QVariant(tr("invalid/default entry"));
}

Qt::ItemFlags AppendProxyModel::flags(const QModelIndex &index) const
{
    if (!index.isValid() || index.row() < 0 || index.column() < 0 || index.model() != this)
        return Qt::NoItemFlags;
    const Qt::ItemFlags base = QAbstractProxyModel::flags(index);
    if (index.row() < sourceRows())
        return base | Qt::ItemIsSelectable | Qt::ItemIsEnabled;
    return base & ~(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
}

void AppendProxyModel::setSourceModel(QAbstractItemModel *model)
{
    beginResetModel();
    for (const QMetaObject::Connection &c : qAsConst(m_connections))
        disconnect(c);
    m_connections.clear();
    QAbstractProxyModel::setSourceModel(model);
    if (model) {
        // The source is flat: its rows are this model's first rows, one to
        // one, so its changes pass through with the same row numbers.
        m_connections
            << connect(model, &QAbstractItemModel::modelAboutToBeReset, this, [this] { beginResetModel(); })
            << connect(model, &QAbstractItemModel::modelReset, this, [this] { endResetModel(); })
            << connect(model, &QAbstractItemModel::rowsAboutToBeInserted, this,
                       [this](const QModelIndex &p, int first, int last) {
                           if (!p.isValid())
                               beginInsertRows(QModelIndex(), first, last);
                       })
            << connect(model, &QAbstractItemModel::rowsInserted, this,
                       [this](const QModelIndex &p) {
                           if (!p.isValid())
                               endInsertRows();
                       })
            << connect(model, &QAbstractItemModel::rowsAboutToBeRemoved, this,
                       [this](const QModelIndex &p, int first, int last) {
                           if (!p.isValid())
                               beginRemoveRows(QModelIndex(), first, last);
                       })
            << connect(model, &QAbstractItemModel::rowsRemoved, this,
                       [this](const QModelIndex &p) {
                           if (!p.isValid())
                               endRemoveRows();
                       })
            // Moved rows and changed columns are rare here: start afresh.
            << connect(model, &QAbstractItemModel::rowsAboutToBeMoved, this, [this] { beginResetModel(); })
            << connect(model, &QAbstractItemModel::rowsMoved, this, [this] { endResetModel(); })
            << connect(model, &QAbstractItemModel::columnsAboutToBeInserted, this, [this] { beginResetModel(); })
            << connect(model, &QAbstractItemModel::columnsInserted, this, [this] { endResetModel(); })
            << connect(model, &QAbstractItemModel::columnsAboutToBeRemoved, this, [this] { beginResetModel(); })
            << connect(model, &QAbstractItemModel::columnsRemoved, this, [this] { endResetModel(); })
            << connect(model, &QAbstractItemModel::columnsAboutToBeMoved, this, [this] { beginResetModel(); })
            << connect(model, &QAbstractItemModel::columnsMoved, this, [this] { endResetModel(); })
            << connect(model, &QAbstractItemModel::dataChanged, this,
                       [this](const QModelIndex &topLeft, const QModelIndex &bottomRight, const QVector<int> &roles) {
                           if (!topLeft.parent().isValid())
                               emit dataChanged(mapFromSource(topLeft), mapFromSource(bottomRight), roles);
                       })
            << connect(model, &QAbstractItemModel::headerDataChanged, this, &QAbstractItemModel::headerDataChanged)
            << connect(model, &QAbstractItemModel::layoutAboutToBeChanged, this,
                       &AppendProxyModel::sourceLayoutAboutToBeChanged)
            << connect(model, &QAbstractItemModel::layoutChanged, this, &AppendProxyModel::sourceLayoutChanged);
    }
    endResetModel();
}

void AppendProxyModel::sourceLayoutAboutToBeChanged()
{
    emit layoutAboutToBeChanged();
    m_saved.clear();
    const int n = sourceRows();
    for (const QModelIndex &proxy : persistentIndexList()) {
        SavedIndex saved;
        saved.proxy = proxy;
        saved.column = proxy.column();
        if (proxy.row() < n)
            saved.source = mapToSource(proxy);
        else
            saved.appended = proxy.row() - n;
        m_saved << saved;
    }
}

void AppendProxyModel::sourceLayoutChanged()
{
    const int n = sourceRows();
    for (const SavedIndex &saved : qAsConst(m_saved)) {
        QModelIndex to;
        if (saved.appended >= 0)
            to = index(n + saved.appended, saved.column);
        else if (saved.source.isValid())
            to = mapFromSource(saved.source);
        changePersistentIndex(saved.proxy, to);
    }
    m_saved.clear();
    emit layoutChanged();
}

QModelIndex AppendProxyModel::mapToSource(const QModelIndex &proxyIndex) const
{
    if (!sourceModel() || !proxyIndex.isValid() || proxyIndex.model() != this || proxyIndex.row() >= sourceRows())
        return QModelIndex();
    return sourceModel()->index(proxyIndex.row(), proxyIndex.column());
}

QModelIndex AppendProxyModel::mapFromSource(const QModelIndex &sourceIndex) const
{
    if (!sourceModel() || !sourceIndex.isValid() || sourceIndex.model() != sourceModel()
        || sourceIndex.parent().isValid())
        return QModelIndex();
    return createIndex(sourceIndex.row(), sourceIndex.column());
}

bool AppendProxyModel::hasChildren(const QModelIndex &parent) const
{
    return !parent.isValid();
}

QModelIndex AppendProxyModel::sibling(int row, int column, const QModelIndex &) const
{
    return index(row, column);
}

QModelIndex AppendProxyModel::buddy(const QModelIndex &index) const
{
    return index;
}

QMap<int, QVariant> AppendProxyModel::itemData(const QModelIndex &index) const
{
    if (index.isValid() && index.row() < sourceRows())
        return QAbstractProxyModel::itemData(index);
    return QAbstractItemModel::itemData(index);
}
