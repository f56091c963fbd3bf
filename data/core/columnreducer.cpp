#include "columnreducer.h"

ColumnReducer::ColumnReducer(QVector<QPoint> *out)
    : m_out(out)
{
}

void ColumnReducer::add(const QPoint &p)
{
    if (m_open && p.x() == m_first.x()) {
        if (p.y() < m_low.y()) {
            m_low = p;
            m_lowAt = m_count;
        }
        if (p.y() > m_high.y()) {
            m_high = p;
            m_highAt = m_count;
        }
        m_last = p;
        ++m_count;
        return;
    }
    finish();
    m_open = true;
    m_first = m_low = m_high = m_last = p;
    m_lowAt = m_highAt = 0;
    m_count = 1;
}

void ColumnReducer::finish()
{
    if (!m_open)
        return;
    m_open = false;
    put(m_first);
    if (m_lowAt <= m_highAt) {
        put(m_low);
        put(m_high);
    } else {
        put(m_high);
        put(m_low);
    }
    put(m_last);
}

void ColumnReducer::put(const QPoint &p)
{
    // Repeating a point draws nothing new.
    if (m_out->isEmpty() || m_out->constLast() != p)
        m_out->append(p);
}

QVector<QPoint> ColumnReducer::reduce(const QVector<QPoint> &points)
{
    QVector<QPoint> out;
    ColumnReducer r(&out);
    for (const QPoint &p : points)
        r.add(p);
    r.finish();
    return out;
}
