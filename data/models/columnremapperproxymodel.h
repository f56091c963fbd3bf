#pragma once

#include <QAbstractProxyModel>
#include <QMap>

// Shows chosen columns of a flat source model under other column numbers:
// proxy column p is source column proxyToSource[p]. The rows are the
// source's. Whoever fills the two maps keeps them inverse to each other.
class ColumnReMapperProxyModel : public QAbstractProxyModel
{
    Q_OBJECT

public:
    explicit ColumnReMapperProxyModel(QObject *parent = nullptr);

    QModelIndex index(int row, int column, const QModelIndex &parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex &child) const override;
    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    // The proxy columns whose source column exists.
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QModelIndex mapToSource(const QModelIndex &proxyIndex) const override;
    QModelIndex mapFromSource(const QModelIndex &sourceIndex) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    // Sets the source in one model reset and follows the source's changes.
    void setSourceModel(QAbstractItemModel *sourceModel) override;

protected:
    // Replaces both maps in one model reset.
    void setColumnMap(const QMap<int, int> &proxyToSource);

    QMap<int, int> m_proxyToSource;
    QMap<int, int> m_sourceToProxy;

private:
    void followSource(QAbstractItemModel *source);
    QVector<QMetaObject::Connection> m_sourceConnections;
};
