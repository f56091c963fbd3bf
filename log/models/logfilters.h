#pragma once

#include <QObject>
#include <QPointer>

#include "skwhistory.h"
#include "valuefiltermodel.h"

class TreeModel;

// The three ID filters over the log's entry tree (column 1, Qt::UserRole:
// the event ID of a top-level entry) and what they find in it.
class LogFilters
{
public:
    // The filters become children of `owner`; they go with this object or
    // with the owner, whichever goes first.
    LogFilters(TreeModel *tree, QObject *owner);
    ~LogFilters();
    LogFilters(const LogFilters &) = delete;
    LogFilters &operator=(const LogFilters &) = delete;

    ValueFilterModel<int> *graphFilter() const { return m_graph; }
    ValueFilterModel<int> *errorFilter() const { return m_error; }
    ValueFilterModel<int> *configFilter() const { return m_config; }

    // Reads the filtered rows (the tree model must have announced its
    // current content). A log without lubrication events gives empty
    // channel series, never the series of an earlier log.
    SkwHistory collect() const;

private:
    // The time stamp of a top-level entry; 0 when it does not fit an int.
    static int timeOf(const QModelIndex &entry);

    TreeModel *m_tree;
    QPointer<ValueFilterModel<int>> m_graph;
    QPointer<ValueFilterModel<int>> m_config;
    QPointer<ValueFilterModel<int>> m_error;
};
