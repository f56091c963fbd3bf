#include "columnremapperproxymodel.h"

ColumnReMapperProxyModel::ColumnReMapperProxyModel(QObject *parent)
    : QAbstractProxyModel(parent)
{
}

QModelIndex ColumnReMapperProxyModel::index(int row, int column, const QModelIndex &parent) const
{
    // A flat model: children of a cell do not exist.
    if (parent.isValid() || !hasIndex(row, column, parent))
        return QModelIndex();
    return createIndex(row, column);
}

QModelIndex ColumnReMapperProxyModel::parent(const QModelIndex &) const
{
    return QModelIndex();
}

int ColumnReMapperProxyModel::rowCount(const QModelIndex &parent) const
{
    if (!sourceModel() || parent.isValid())
        return 0;
    return sourceModel()->rowCount();
}

int ColumnReMapperProxyModel::columnCount(const QModelIndex &) const
{
    if (!sourceModel())
        return 0;
    // Counted over the proxy columns: two of them may show the same source
    // column (a channel's SKW proxy shows table column 0 as x and as y), and
    // each is a column of its own.
    const int sourceColumns = sourceModel()->columnCount();
    int count = 0;
    for (auto it = m_proxyToSource.cbegin(); it != m_proxyToSource.cend(); ++it)
        if (it.value() >= 0 && it.value() < sourceColumns)
            ++count;
    return count;
}

QVariant ColumnReMapperProxyModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || !sourceModel())
        return QVariant();
    return sourceModel()->data(mapToSource(index), role);
}

QModelIndex ColumnReMapperProxyModel::mapToSource(const QModelIndex &proxyIndex) const
{
    if (!proxyIndex.isValid() || !sourceModel() || proxyIndex.model() != this)
        return QModelIndex();
    const int sourceColumn = m_proxyToSource.value(proxyIndex.column(), 0);
    if (sourceColumn < 0 || sourceColumn >= sourceModel()->columnCount())
        return QModelIndex();
    return sourceModel()->index(proxyIndex.row(), sourceColumn);
}

QModelIndex ColumnReMapperProxyModel::mapFromSource(const QModelIndex &sourceIndex) const
{
    if (!sourceIndex.isValid() || !sourceModel() || sourceIndex.model() == this)
        return QModelIndex();
    const int proxyColumn = m_sourceToProxy.value(sourceIndex.column(), 0);
    if (proxyColumn < 0 || proxyColumn >= columnCount())
        return QModelIndex();
    return index(sourceIndex.row(), proxyColumn);
}

Qt::ItemFlags ColumnReMapperProxyModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return QAbstractProxyModel::flags(index);
}

void ColumnReMapperProxyModel::setSourceModel(QAbstractItemModel *source)
{
    beginResetModel();
    for (const auto &c : qAsConst(m_sourceConnections))
        disconnect(c);
    m_sourceConnections.clear();
    QAbstractProxyModel::setSourceModel(source);
    followSource(source);
    endResetModel();
}

void ColumnReMapperProxyModel::setColumnMap(const QMap<int, int> &proxyToSource)
{
    beginResetModel();
    m_proxyToSource = proxyToSource;
    m_sourceToProxy.clear();
    for (auto it = proxyToSource.cbegin(); it != proxyToSource.cend(); ++it)
        m_sourceToProxy.insert(it.value(), it.key());
    endResetModel();
}

void ColumnReMapperProxyModel::followSource(QAbstractItemModel *source)
{
    if (!source)
        return;
    // Any change of the source's shape is passed on as a reset: the flat
    // proxy keeps no per-row state, and the column map may show or hide
    // columns that come and go.
    auto begin = [this] { beginResetModel(); };
    auto end = [this] { endResetModel(); };
    m_sourceConnections << connect(source, &QAbstractItemModel::modelAboutToBeReset, this, begin)
                        << connect(source, &QAbstractItemModel::modelReset, this, end)
                        << connect(source, &QAbstractItemModel::rowsAboutToBeInserted, this, begin)
                        << connect(source, &QAbstractItemModel::rowsInserted, this, end)
                        << connect(source, &QAbstractItemModel::rowsAboutToBeRemoved, this, begin)
                        << connect(source, &QAbstractItemModel::rowsRemoved, this, end)
                        << connect(source, &QAbstractItemModel::columnsAboutToBeInserted, this, begin)
                        << connect(source, &QAbstractItemModel::columnsInserted, this, end)
                        << connect(source, &QAbstractItemModel::columnsAboutToBeRemoved, this, begin)
                        << connect(source, &QAbstractItemModel::columnsRemoved, this, end)
                        << connect(source, &QAbstractItemModel::layoutAboutToBeChanged, this, begin)
                        << connect(source, &QAbstractItemModel::layoutChanged, this, end)
                        << connect(source, &QAbstractItemModel::dataChanged, this,
                                   [this](const QModelIndex &, const QModelIndex &) {
                                       // Which proxy cells a source range touches depends on the
                                       // map; announcing every cell is simple and rare here.
                                       if (rowCount() > 0 && columnCount() > 0)
                                           emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
                                   });
}
