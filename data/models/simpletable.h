#pragma once

#include <QAbstractTableModel>
#include <QVector>

// A flat table of 32-bit integers stored column by column; columns may differ
// in length. The row count is the length of the longest column; a cell below
// the end of a shorter column has no data.
class SimpleTable : public QAbstractTableModel
{
    Q_OBJECT

public:
    using Column = QVector<qint32>;
    using Table = QVector<Column>;

    explicit SimpleTable(QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    // The integer in the display role; nothing for any other role or a cell
    // without a value.
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

    // Replaces the whole table in one model reset.
    void setRows(const Table &table);

    // The columns as stored. The vectors are implicitly shared: a copy taken
    // for drawing costs nothing and stays valid through the next setRows.
    const Table &columns() const { return m_table; }

private:
    Table m_table;
    int m_rows = 0;
};
