#pragma once

#include <QSortFilterProxyModel>
#include <QVector>

// Hides every source row whose key (the filter key column, display role)
// already occurred in an earlier source row, so that a combo box lists each
// family, size, type, variant, lubrication type or version once although
// the catalogue query yields one row per mapping. The first occurrence
// stays visible, also when the base filter hides an earlier duplicate.
// Callers invalidate it after the rows of its source changed.
class DeDublicateProxyModel : public QSortFilterProxyModel
{
    Q_OBJECT

public:
    explicit DeDublicateProxyModel(QObject *parent = nullptr);

    void setSourceModel(QAbstractItemModel *model) override;

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const override;

private:
    // Which source rows are first occurrences of their key: worked out in
    // one pass when asked first after any change of the source.
    void markStale() { m_stale = true; }
    bool isFirstOccurrence(int sourceRow, const QModelIndex &sourceParent) const;

    mutable QVector<bool> m_first;
    mutable int m_keyColumn = -1;
    mutable bool m_stale = true;
    QList<QMetaObject::Connection> m_connections;
};
