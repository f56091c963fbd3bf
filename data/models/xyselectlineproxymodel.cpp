#include "xyselectlineproxymodel.h"

XYSelectLineProxyModel::XYSelectLineProxyModel(QObject *parent, int xColumn, int yColumn)
    : ColumnReMapperProxyModel(parent)
{
    if (xColumn >= 0)
        m_xColumn = xColumn;
    if (yColumn >= 0)
        m_yColumn = yColumn;
    rebuildMap();
}

void XYSelectLineProxyModel::setXColumn(int column)
{
    m_xColumn = column;
    rebuildMap();
}

void XYSelectLineProxyModel::setYColumn(int column)
{
    m_yColumn = column;
    rebuildMap();
}

void XYSelectLineProxyModel::rebuildMap()
{
    QMap<int, int> map;
    if (m_xColumn >= 0)
        map.insert(0, m_xColumn);
    if (m_yColumn >= 0)
        map.insert(1, m_yColumn);
    setColumnMap(map);
}
