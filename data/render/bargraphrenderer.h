#pragma once

#include <QColor>
#include <QStringList>
#include <QVector>

#include "graphrenderer.h"

struct BarSeriesData
{
    QColor color;
    QVector<double> values;  // one bar per row
    bool hasLimit = false;
    int limitRow = 0;
    double limit = 0;
};

struct BarPlotData
{
    QVector<BarSeriesData> series;
    QStringList labels;      // one category per cell along the x axis
    double minimum = 0;
    double maximum = 0;
    double scaleFactor = 1.0;  // the display scale, which widens the widest bar
};

// Draws each row of each series as a bar, with a narrower darker limit bar
// beside the one row of a series that has a limit.
class BarGraphRenderer : public GraphRenderer
{
public:
    BarGraphRenderer(const GraphFrame &frame, const BarPlotData &data);

    // The bar height of a value above the range minimum, in pixels.
    int pixelHeight(double value) const;
    // The integer grid step (at least 1).
    int gridStep() const;

    struct Bar
    {
        QRect rect;      // in image pixels
        QColor color;
        bool limit;
    };
    // Every bar as drawn, in drawing order.
    QVector<Bar> bars() const;
    // The width of the cell under one bar group (row), which its category
    // label takes.
    int cellWidth() const;

protected:
    void drawAxis(QPainter &p) override;
    void drawGrid(QPainter &p) override;
    void drawData(QPainter &p) override;

private:
    int originY() const { return m_plotHeight + m_frame.margins.top() - 1; }
    QVector<int> gridIndices() const;
    // A bar between the zero line and `value`, `width` wide from x, in image pixels.
    QRect barRect(int x, int width, double value) const;
    // Width of the room of one bar; 0 without rows.
    int slotWidth() const;
    int rowCount() const;

    BarPlotData m_data;
};
