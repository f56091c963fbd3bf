#pragma once

#include <QAbstractItemModel>

class LogEntryBase;
class QEvent;

// The decoded log tree in three columns ("Timestamp", "ID", "Description")
// for a tree view and for the log filters. Each index points at the node of
// its row. The model owns the invisible root; whoever fills the tree adds
// the entries below rootItem() and then calls notifyReset().
class TreeModel : public QAbstractItemModel
{
    Q_OBJECT
public:
    explicit TreeModel(QObject *parent = nullptr);
    ~TreeModel() override;

    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QModelIndex index(int row, int column, const QModelIndex &parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex &index) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

    // Drops every entry, announced as a model reset.
    void resetModel();
    // Makes views and proxies read the whole tree again after it was filled.
    void notifyReset();
    LogEntryBase *rootItem() const { return m_root; }
    // The index (column 0) of `item` below `parentItem`, searched depth
    // first; invalid when it is nowhere below.
    QModelIndex findChildIndex(LogEntryBase *parentItem, LogEntryBase *item) const;
    QModelIndex indexOfItem(LogEntryBase *item) const { return findChildIndex(m_root, item); }

    virtual void changeEvent(QEvent *event);

private:
    LogEntryBase *nodeOf(const QModelIndex &index) const;

    LogEntryBase *m_root;
};
