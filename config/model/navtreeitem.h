#pragma once

#include <QList>
#include <QModelIndex>
#include <QString>
#include <QVariant>
#include <memory>

class QWidget;

// A row of the configuration view's navigation tree: a translated name and
// the page widget it leads to (not owned). An item owns its children.
class NavTreeItem
{
public:
    NavTreeItem(const QString &name, NavTreeItem *parent, QWidget *page);
    virtual ~NavTreeItem();
    virtual void clearChildren();
    // Column 0 shows the name ("Test" when empty); role 256 carries the page
    // in every column.
    virtual QVariant data(const QModelIndex &index, int role) const;

    NavTreeItem *parentItem() const { return parent; }
    int childCount() const { return children.size(); }
    bool hasChildren() const { return !children.isEmpty(); }
    NavTreeItem *child(int row) const;
    void appendChild(const std::shared_ptr<NavTreeItem> &item);
    QWidget *page() const { return pageWidget; }
    QString name() const { return itemName; }

private:
    QString itemName;
    NavTreeItem *parent = nullptr;
    QList<std::shared_ptr<NavTreeItem>> children;
    QWidget *pageWidget = nullptr;
};
