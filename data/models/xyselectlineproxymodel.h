#pragma once

#include "columnremapperproxymodel.h"

// Shows one x column and one y column of a flat table as columns 0 and 1,
// the shape a line graph reads.
class XYSelectLineProxyModel : public ColumnReMapperProxyModel
{
    Q_OBJECT

public:
    // A column below 0 is left unset until its setter runs.
    explicit XYSelectLineProxyModel(QObject *parent = nullptr, int xColumn = -1, int yColumn = -1);

    // Each setter rebuilds the column map from both columns, in one reset.
    void setXColumn(int column);
    void setYColumn(int column);

    int xColumn() const { return m_xColumn; }
    int yColumn() const { return m_yColumn; }

private:
    void rebuildMap();

    int m_xColumn = -1;
    int m_yColumn = -1;
};
