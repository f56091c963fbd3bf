#pragma once

#include <QPoint>
#include <QVector>

// Thins a polyline to what a pen of one pixel can show: of each run of
// consecutive points on the same pixel column it keeps the first, the lowest,
// the highest and the last, in the order they came. The thinned polyline
// covers exactly the pixels of the whole one: inside a column both draw one
// vertical stroke from the lowest to the highest point, and the strokes
// between columns join the same last and first points.
class ColumnReducer
{
public:
    explicit ColumnReducer(QVector<QPoint> *out);

    void add(const QPoint &p);
    // Writes the last run; call once after the last point.
    void finish();

    static QVector<QPoint> reduce(const QVector<QPoint> &points);

private:
    void put(const QPoint &p);

    QVector<QPoint> *m_out;
    bool m_open = false;
    QPoint m_first;
    QPoint m_low;
    QPoint m_high;
    QPoint m_last;
    int m_lowAt = 0;
    int m_highAt = 0;
    int m_count = 0;
};
