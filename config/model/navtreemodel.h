#pragma once

#include "navtreeitem.h"

#include <QAbstractItemModel>
#include <memory>

class QEvent;

// The read-only two-column model of the navigation tree: column 0 the names,
// column 1 the marker stripe. Rows are added while the tree is built, then
// the model is reset once with refresh().
class NavTreeModel : public QAbstractItemModel
{
    Q_OBJECT
public:
    explicit NavTreeModel(QObject *parent = nullptr);
    ~NavTreeModel() override;

    QModelIndex index(int row, int column, const QModelIndex &parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex &index) const override;
    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    virtual void changeEvent(QEvent *event);

    // Appends `item` under the item of `parent` (the root when invalid); no
    // row notification: call refresh() when the tree is built.
    void addChild(const std::shared_ptr<NavTreeItem> &item, const QModelIndex &parent);
    // Depth-first search; invalid when the item is not in the tree.
    QModelIndex indexForItem(const NavTreeItem *item) const;
    NavTreeItem *rootItem() const { return root; }
    void refresh();
    void clear();

private:
    QModelIndex search(const NavTreeItem *node, const NavTreeItem *item) const;
    NavTreeItem *itemOf(const QModelIndex &index) const;
    NavTreeItem *root;
};
