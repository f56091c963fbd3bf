#include "graphrenderer.h"

#include <QPainter>

namespace {

// A font of its own for the renderer: a copy would share the widget font's
// private data, whose font engine cache is filled lazily by whichever thread
// uses it first.
QFont detachedFont(const QFont &font)
{
    QFont own;
    own.fromString(font.toString());
    return own;
}

} // namespace

GraphRenderer::GraphRenderer(const GraphFrame &frame)
    : m_frame(frame)
    , m_metrics(m_frame.font)
{
    m_frame.font = detachedFont(frame.font);
    m_metrics = QFontMetrics(m_frame.font);
}

GraphRenderer::~GraphRenderer() = default;

QImage GraphRenderer::render()
{
    if (m_frame.imageSize.isEmpty())
        return QImage();
    QImage image(m_frame.imageSize, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setFont(m_frame.font);
    computePlotHeight();
    computePlotWidth();
    drawBackground(p);
    drawAxisTitles(p);
    drawAxis(p);
    drawGrid(p);
    drawData(p);
    p.end();
    return image;
}

QMargins GraphRenderer::labelMargins(const QFontMetrics &metrics)
{
    const int h = metrics.height();
    const int vertical = int(h * 3.0);
    const int horizontal = int(metrics.horizontalAdvance(QStringLiteral(" -9.999E9 ")) + h * 1.5);
    return QMargins(horizontal, vertical, horizontal, vertical);
}

QString GraphRenderer::elideText(const QFontMetrics &metrics, const QString &text, int maxWidth)
{
    if (metrics.boundingRect(text).width() < maxWidth)
        return text;
    static const QString dots = QStringLiteral(" ...");
    for (int n = text.size() - 1; n >= 0; --n) {
        const QString candidate = text.left(n) + dots;
        if (metrics.boundingRect(candidate).width() < maxWidth)
            return candidate;
    }
    return QString();
}

void GraphRenderer::computePlotHeight()
{
    m_plotHeight = m_frame.imageSize.height() - m_frame.margins.top() - m_frame.margins.bottom();
}

void GraphRenderer::computePlotWidth()
{
    m_plotWidth = m_frame.imageSize.width() - m_frame.margins.left() - m_frame.margins.right();
}

void GraphRenderer::drawBackground(QPainter &p)
{
    const QRect whole(QPoint(0, 0), m_frame.imageSize);
    p.setPen(Qt::NoPen);
    p.setClipRect(whole, Qt::ReplaceClip);
    p.fillRect(whole, m_frame.backgroundColor);
    p.translate(plotLeft(), m_frame.margins.top());
    p.fillRect(QRect(0, 0, m_plotWidth, m_plotHeight), m_frame.plotAreaColor);
    p.resetTransform();
}

void GraphRenderer::drawAxisTitles(QPainter &p)
{
    const int b = band();
    p.setPen(m_frame.axisColor);
    p.translate(plotLeft(), m_frame.imageSize.height() - m_frame.margins.bottom() + b);
    p.drawText(QRect(0, 0, m_plotWidth, b), Qt::AlignCenter, elide(m_frame.xAxisTitle, m_plotWidth));
    p.resetTransform();
    p.translate(0, m_frame.margins.top() + m_plotHeight);
    p.rotate(-90);
    p.drawText(QRect(0, 0, m_plotHeight, b), Qt::AlignCenter, elide(m_frame.yAxisTitle, m_plotHeight));
    p.resetTransform();
}
