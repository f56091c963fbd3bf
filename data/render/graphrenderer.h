#pragma once

#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QMargins>
#include <QSize>
#include <QString>

class QPainter;

// What every graph image needs besides its series, fixed when a render
// starts: size, font, margins, axis titles and colours.
struct GraphFrame
{
    QSize imageSize;
    QFont font;
    QMargins margins;  // around the plot area
    QString xAxisTitle;
    QString yAxisTitle;
    QColor axisColor{Qt::black};
    QColor gridColor{Qt::lightGray};
    QColor plotAreaColor{Qt::white};
    QColor backgroundColor{0xE8, 0xE6, 0xEE, 0};
};

// Draws one graph image from a snapshot of everything it shows. A renderer
// owns its snapshot (series data included), so it can draw on a pool thread
// while the graph widget and its models change or even go away.
class GraphRenderer
{
public:
    explicit GraphRenderer(const GraphFrame &frame);
    virtual ~GraphRenderer();

    GraphRenderer(const GraphRenderer &) = delete;
    GraphRenderer &operator=(const GraphRenderer &) = delete;

    // Draws the whole image: background, axis titles, axes, grid, data.
    // A frame without area gives a null image.
    QImage render();

    const GraphFrame &frame() const { return m_frame; }
    // Size of the plot area, known once render() has started.
    int plotHeight() const { return m_plotHeight; }
    int plotWidth() const { return m_plotWidth; }

    // Margins for a font of height h: 3h above and below the plot, the width
    // of " -9.999E9 " plus 1.5h left and right.
    static QMargins labelMargins(const QFontMetrics &metrics);

    // The text when it is narrower than maxWidth, else its longest proper
    // prefix p for which p + " ..." is narrower, as p + " ..."; empty when
    // no prefix fits.
    static QString elideText(const QFontMetrics &metrics, const QString &text, int maxWidth);

protected:
    // Where the plot area starts: the left margin, or wider where labels
    // need more room. Background and axis titles follow it.
    virtual int plotLeft() const { return m_frame.margins.left(); }
    virtual void computePlotHeight();
    virtual void computePlotWidth();
    virtual void drawBackground(QPainter &p);
    virtual void drawAxisTitles(QPainter &p);
    virtual void drawAxis(QPainter &p) = 0;
    virtual void drawGrid(QPainter &p) = 0;
    virtual void drawData(QPainter &p) = 0;

    QString elide(const QString &text, int maxWidth) const { return elideText(m_metrics, text, maxWidth); }
    int fontHeight() const { return m_metrics.height(); }
    // Height of a label row under the plot: 1.5 font heights.
    int band() const { return int(m_metrics.height() * 1.5); }
    const QFontMetrics &metrics() const { return m_metrics; }

    GraphFrame m_frame;
    QFontMetrics m_metrics;
    int m_plotHeight = 0;
    int m_plotWidth = 0;
};
