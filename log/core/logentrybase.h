#pragma once

#include <QVector>
#include <QModelIndex>
#include <QSharedPointer>
#include <QString>
#include <QVariant>

class QDataStream;
class QTextStream;

// A node of the decoded log tree: the invisible root, a top-level entry or a
// name/value row below one. A node owns its children through shared pointers;
// it does not own its parent.
class LogEntryBase
{
public:
    explicit LogEntryBase(LogEntryBase *parent = nullptr);
    virtual ~LogEntryBase();

    LogEntryBase(const LogEntryBase &) = delete;
    LogEntryBase &operator=(const LogEntryBase &) = delete;

    virtual void clearChildren();
    // Rebuilds the node's own content (its texts and rows); nothing here.
    virtual void refresh();
    virtual QVariant data(const QModelIndex &index, int role) const;
    // Writes the raw bytes of this node and of its children; always 0.
    virtual int write(QDataStream &out) const;
    // The number of bytes write() produces.
    virtual int rawSize() const;
    // One line of the text export, without the depth indentation.
    virtual QString toString() const;

    LogEntryBase *parent() const { return m_parent; }
    int childCount() const { return m_children.size(); }
    bool hasChildren() const { return !m_children.isEmpty(); }
    // Takes ownership of `child` and appends it as the last row.
    void appendChild(LogEntryBase *child);
    // Makes a node and appends it as the last row. The node and its share
    // count come in one allocation, which keeps a large log small.
    template<typename T, typename... Args>
    T *appendNew(Args &&...args)
    {
        QSharedPointer<T> node = QSharedPointer<T>::create(std::forward<Args>(args)...);
        T *raw = node.data();
        append(std::move(node));
        return raw;
    }
    // Null for a row outside 0 .. childCount() - 1.
    LogEntryBase *child(int row) const;
    // This node's row below its parent; -1 for the root or a node that is
    // not (yet) in its parent's list.
    int row() const;

    // rawSize() as a 32-bit signed integer, then write().
    void serialize(QDataStream &out) const;
    // One line per node below the root, indented by `depth` TABs; always 0.
    int writeTree(QTextStream &out, int depth) const;
    // refresh() on this node, then on every node below it.
    void refreshAll();

protected:
    // Gives back the room kept for further rows once a node is complete.
    void squeezeChildren() { m_children.squeeze(); }
    const QVector<QSharedPointer<LogEntryBase>> &children() const { return m_children; }

private:
    void append(QSharedPointer<LogEntryBase> child);

    LogEntryBase *m_parent;
    QVector<QSharedPointer<LogEntryBase>> m_children;
    // Where this node was appended; entries are only ever removed all at
    // once, so the row stays valid and parent lookups need no search.
    int m_rowHint = -1;
};
