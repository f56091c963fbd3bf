#include "simpletable.h"

#include <QDebug>
#include <algorithm>

SimpleTable::SimpleTable(QObject *parent)
    : QAbstractTableModel(parent)
{
}

int SimpleTable::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_rows;
}

int SimpleTable::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_table.size();
}

QVariant SimpleTable::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || role != Qt::DisplayRole)
        return QVariant();
    if (index.column() >= m_table.size()) {
        qDebug() << "column not available" << index.column() << "|" << m_table.size();
        return QVariant();
    }
    const Column &column = m_table.at(index.column());
    if (index.row() < 0 || index.row() >= column.size())
        return QVariant();
    return QVariant(int(column.at(index.row())));
}

void SimpleTable::setRows(const Table &table)
{
    beginResetModel();
    m_table = table;
    m_rows = 0;
    for (const Column &c : m_table)
        m_rows = std::max(m_rows, int(c.size()));
    endResetModel();
}
