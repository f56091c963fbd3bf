#pragma once

#include <QAbstractProxyModel>
#include <QList>
#include <QPersistentModelIndex>

// A flat list of the source rows followed by two rows of its own: "custom
// entry" (id 0) and "invalid/default entry" (id -1), which stand for a
// channel whose stored selection is custom or unset. Column 0 carries the
// id (the source's column 0 for source rows); the other columns of the two
// appended rows carry their text. The user cannot pick the appended rows:
// only the program selects them.
class AppendProxyModel : public QAbstractProxyModel
{
    Q_OBJECT

public:
    explicit AppendProxyModel(QObject *parent = nullptr);
    ~AppendProxyModel() override = default;

    QModelIndex index(int row, int column, const QModelIndex &parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex &index) const override;
    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    void setSourceModel(QAbstractItemModel *model) override;
    QModelIndex mapToSource(const QModelIndex &proxyIndex) const override;
    QModelIndex mapFromSource(const QModelIndex &sourceIndex) const override;
    // The base class asks the source, which knows nothing of the two rows.
    bool hasChildren(const QModelIndex &parent = QModelIndex()) const override;
    QModelIndex sibling(int row, int column, const QModelIndex &idx) const override;
    QModelIndex buddy(const QModelIndex &index) const override;
    QMap<int, QVariant> itemData(const QModelIndex &index) const override;

private:
    int sourceRows() const;
    // Keeps the persistent indexes (a view's current row) on their rows
    // while the source re-sorts or re-filters.
    void sourceLayoutAboutToBeChanged();
    void sourceLayoutChanged();

    struct SavedIndex
    {
        QPersistentModelIndex proxy;
        QPersistentModelIndex source;  // for a source row
        int appended = -1;             // 0 or 1 for an appended row
        int column = 0;
    };
    QList<SavedIndex> m_saved;
    QList<QMetaObject::Connection> m_connections;
};
