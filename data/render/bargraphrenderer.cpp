#include "bargraphrenderer.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

#include "ticksteps.h"

BarGraphRenderer::BarGraphRenderer(const GraphFrame &frame, const BarPlotData &data)
    : GraphRenderer(frame)
    , m_data(data)
{
}

int BarGraphRenderer::pixelHeight(double value) const
{
    double span = m_data.maximum - m_data.minimum;
    if (span == 0.0)
        span = 1.0;
    // Heights count from the range minimum, so a negative value stays inside
    // the plot instead of below it.
    return int((m_plotHeight - 1) / span * (value - m_data.minimum));
}

int BarGraphRenderer::gridStep() const
{
    const int ticks = TickSteps::maxTickCount(m_plotWidth, metrics().horizontalAdvance(QStringLiteral(" -9.999E+9 ")));
    const double step = TickSteps::step(m_data.maximum - m_data.minimum, ticks);
    return std::max(1, int(step));
}

QVector<int> BarGraphRenderer::gridIndices() const
{
    QVector<int> out;
    const int step = gridStep();
    const double last = m_data.maximum / step;
    // Bounded like every tick list: a range of billions with step 1 cannot
    // happen (the step grows with the span), but a corrupt range must not hang.
    for (int i = int(m_data.minimum / step); i <= last && out.size() < 10000; ++i)
        out.append(i);
    return out;
}

void BarGraphRenderer::drawGrid(QPainter &p)
{
    const int step = gridStep();
    const int left = m_frame.margins.left();
    p.setPen(m_frame.axisColor);
    for (int i : gridIndices()) {
        const int y = originY() - pixelHeight(double(i) * step);
        p.drawLine(left, y, left + m_plotWidth, y);
    }
    if (!m_data.labels.isEmpty()) {
        const int cell = cellWidth();
        for (int k = 1; k <= m_data.labels.size(); ++k) {
            const int x = left + cell * k;
            p.drawLine(x, originY(), x, originY() - (m_plotHeight - 1));
        }
    }
}

void BarGraphRenderer::drawAxis(QPainter &p)
{
    const int h = fontHeight();
    const int b = band();
    const int step = gridStep();
    const int left = m_frame.margins.left();
    p.setPen(m_frame.axisColor);
    for (int i : gridIndices()) {
        const double value = double(i) * step;
        const int y = originY() - pixelHeight(value) - h / 2;
        p.drawText(QRect(b, y, left - b, h), Qt::AlignRight | Qt::AlignVCenter,
                   elide(QString::number(value), left - b));
    }
    if (!m_data.labels.isEmpty()) {
        const int cell = cellWidth();
        for (int i = 0; i < m_data.labels.size(); ++i)
            p.drawText(QRect(left + i * cell, originY(), cell, m_frame.margins.top()), Qt::AlignCenter,
                       elide(m_data.labels.at(i), cell));
    }
}

QRect BarGraphRenderer::barRect(int x, int width, double value) const
{
    const int zero = pixelHeight(std::clamp(0.0, m_data.minimum, m_data.maximum));
    const int top = pixelHeight(value);
    const int low = std::min(zero, top);
    const int high = std::max(zero, top);
    // Pixel heights count upwards from the plot's bottom row.
    return QRect(m_frame.margins.left() + x, originY() - high + 1, width, high - low);
}

int BarGraphRenderer::rowCount() const
{
    int rows = 0;
    for (const BarSeriesData &s : m_data.series)
        rows += s.values.size();
    return rows;
}

int BarGraphRenderer::slotWidth() const
{
    const int rows = rowCount();
    return rows == 0 ? 0 : (m_plotWidth - 2 * m_frame.margins.top()) / rows;
}

int BarGraphRenderer::cellWidth() const
{
    // A category is the group of bars of one row, one slot per series; the
    // plot width divided by the labels would drift away from the bars, as
    // the slots leave room at the right.
    if (rowCount() > 0)
        return slotWidth() * m_data.series.size();
    return m_data.labels.isEmpty() ? m_plotWidth : m_plotWidth / m_data.labels.size();
}

QVector<BarGraphRenderer::Bar> BarGraphRenderer::bars() const
{
    QVector<Bar> out;
    if (rowCount() == 0)
        return out;
    const int models = m_data.series.size();
    const int slot = slotWidth();
    const int width = std::min(slot, int(200 * m_data.scaleFactor));
    for (int k = 0; k < models; ++k) {
        const BarSeriesData &s = m_data.series.at(k);
        for (int r = 0; r < s.values.size(); ++r) {
            // Each series has its own slot beside the others of the same row.
            const int x = slot * (r * models + k);
            if (s.hasLimit && s.limitRow == r)
                out.append({barRect(x + width / 6, width / 3, s.limit), s.color.darker(200), true});
            out.append({barRect(x + width / 3, 2 * width / 3, s.values.at(r)), s.color, false});
        }
    }
    return out;
}

void BarGraphRenderer::drawData(QPainter &p)
{
    for (const Bar &bar : bars()) {
        p.setPen(Qt::NoPen);
        p.fillRect(bar.rect, bar.color);
    }
}
