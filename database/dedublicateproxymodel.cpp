#include "dedublicateproxymodel.h"

#include <QSet>

DeDublicateProxyModel::DeDublicateProxyModel(QObject *parent)
    : QSortFilterProxyModel(parent)
{
}

void DeDublicateProxyModel::setSourceModel(QAbstractItemModel *model)
{
    for (const QMetaObject::Connection &c : qAsConst(m_connections))
        disconnect(c);
    m_connections.clear();
    markStale();
    if (model) {
        // Connected before the base class's own handlers, so that they
        // never filter with an outdated view of the source.
        const auto stale = [this] { markStale(); };
        m_connections << connect(model, &QAbstractItemModel::modelAboutToBeReset, this, stale)
                      << connect(model, &QAbstractItemModel::modelReset, this, stale)
                      << connect(model, &QAbstractItemModel::rowsInserted, this, stale)
                      << connect(model, &QAbstractItemModel::rowsRemoved, this, stale)
                      << connect(model, &QAbstractItemModel::rowsMoved, this, stale)
                      << connect(model, &QAbstractItemModel::layoutChanged, this, stale)
                      << connect(model, &QAbstractItemModel::dataChanged, this, stale);
    }
    QSortFilterProxyModel::setSourceModel(model);
}

bool DeDublicateProxyModel::isFirstOccurrence(int sourceRow, const QModelIndex &sourceParent) const
{
    const QAbstractItemModel *source = sourceModel();
    const int column = filterKeyColumn();
    if (m_stale || column != m_keyColumn || m_first.size() != source->rowCount(sourceParent)) {
        const int rows = source->rowCount(sourceParent);
        m_first.fill(false, rows);
        // Keys are compared as values; a hash of their text finds the
        // candidates, the variants themselves decide.
        QHash<QString, QVector<QVariant>> seen;
        for (int r = 0; r < rows; ++r) {
            const QVariant key = source->data(source->index(r, column, sourceParent), Qt::DisplayRole);
            QVector<QVariant> &same = seen[key.toString()];
            if (!same.contains(key)) {
                same.append(key);
                m_first[r] = true;
            }
        }
        m_keyColumn = column;
        m_stale = false;
    }
    return sourceRow >= 0 && sourceRow < m_first.size() && m_first.at(sourceRow);
}

bool DeDublicateProxyModel::filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const
{
    if (!sourceModel() || !isFirstOccurrence(sourceRow, sourceParent))
        return false;
    return QSortFilterProxyModel::filterAcceptsRow(sourceRow, sourceParent);
}
