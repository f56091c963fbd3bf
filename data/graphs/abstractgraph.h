#pragma once

#include <QColor>
#include <QFuture>
#include <QFutureWatcher>
#include <QImage>
#include <QMargins>
#include <QMutex>
#include <QPixmap>
#include <QString>
#include <QVector>
#include <QWidget>
#include <functional>
#include <memory>

#include "graphrenderer.h"

class QGridLayout;
class QLabel;
class QVBoxLayout;

// Base of the graph widgets: series names and colours, titles, legend, and
// the drawing of the graph image on Qt's global thread pool.
//
// A render starts from a paint event when the graph is out of date and no
// render runs. It hands a renderer a snapshot of everything the image shows
// (titles, margins, colours, series data), so the worker never reads the
// widget or its models and the GUI thread may change data meanwhile; the
// finished image comes back on the GUI thread. An invalidation during a
// render leaves the graph out of date, so the first paint after it starts a
// new render with the newest data.
class AbstractGraph : public QWidget
{
    Q_OBJECT

public:
    struct Series
    {
        QString name;         // legend text
        QString description;  // legend tooltip
        int colorIndex = 0;
    };

    AbstractGraph(QWidget *parent, const QString &title);
    // Waits for a render in flight.
    ~AbstractGraph() override;

    // Store the text; the next render shows it (follow with invalidate).
    void setGraphTitle(const QString &title) { m_graphTitle = title; }
    void setXAxisTitle(const QString &title) { m_xAxisTitle = title; }
    void setYAxisTitle(const QString &title) { m_yAxisTitle = title; }
    QString graphTitle() const { return m_graphTitle; }
    QString xAxisTitle() const { return m_xAxisTitle; }
    QString yAxisTitle() const { return m_yAxisTitle; }

    const QVector<Series> &series() const { return m_series; }
    virtual QColor seriesColor(int series) const;
    // The channel colour table, entry index modulo its size.
    virtual QColor colorAt(int index) const;
    QColor paletteColor(int index) const { return colorAt(index); }

    QString elideText(const QString &text, int maxWidth) const;

    // Plot size of the image shown last.
    virtual int currentPlotHeight() const { return m_plotHeight; }
    virtual int currentPlotWidth() const { return m_plotWidth; }
    QMargins margins() const { return m_margins; }

    // The image shown last (null before the first render).
    QPixmap backBuffer() const { return m_backBuffer; }
    bool isUpToDate() const { return m_upToDate; }
    bool isRendering() const { return m_rendering; }
    // Renders finished and shown since construction.
    int renderCount() const { return m_renderCount; }
    int legendEntryCount() const { return m_legendCount; }
    QLabel *legendLabel(int i) const { return i >= 0 && i < m_legendLabels.size() ? m_legendLabels.at(i) : nullptr; }
    QWidget *legendWidget() const { return m_legendWidget; }
    QLabel *graphLabel() const { return m_graphLabel; }
    QLabel *titleLabel() const { return m_titleLabel; }

    // A graph that must fit a height it does not get from its layout (the
    // page's visible area, say) is given a function that tells the image
    // height it may take now; every render asks it. The image is then no
    // taller than that (and no taller than 9/16 of its width, as always).
    // None by default: the image is 9/16 of its width. A limit never makes
    // the image lower than readableImageHeight: a plot squeezed to a few
    // lines shows nothing, and the page the graph lies in scrolls instead.
    void setImageHeightLimit(std::function<int()> limit);
    // The least image height of a graph with a height limit: what its plot
    // needs to be read, as things are now.
    int readableHeight() const;
    // What the graph needs in height besides its image: the title (when it
    // has one), the legend, the layout's margins and spacing.
    int heightBesideImage() const;

public slots:
    // Removes every series and invalidates.
    virtual void clearData();
    // Marks the image stale and schedules a paint, which renders anew.
    virtual void invalidate();

protected:
    // The renderer that draws the present data into an image of the frame.
    // Called on the GUI thread; the renderer then runs on a pool thread.
    virtual std::shared_ptr<GraphRenderer> createRenderer(const GraphFrame &frame) const = 0;
    // The least image height in which the frame's plot can be read; only a
    // graph with a height limit asks.
    virtual int readableImageHeight(const GraphFrame &frame) const
    {
        Q_UNUSED(frame)
        return 1;
    }

    virtual void labelMargin();
    virtual void setTitleText();
    virtual void refreshLegend();
    virtual void resetLegendCount();
    virtual void updateLegend();
    virtual void layoutLegend();
    virtual void addLegendEntry(const QString &text, const QString &tooltip, const QColor &color);
    virtual void startRendering();
    // Called on the GUI thread with the renderer of each finished render,
    // before it is dropped; for what a subclass keeps of it.
    virtual void takeRender(const GraphRenderer &renderer) { Q_UNUSED(renderer) }

    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

    QVector<Series> m_series;
    QString m_graphTitle;
    QString m_xAxisTitle;
    QString m_yAxisTitle;
    QColor m_axisColor{Qt::black};
    QColor m_gridColor{Qt::lightGray};
    QColor m_plotAreaColor{Qt::white};
    QColor m_backgroundColor{0xE8, 0xE6, 0xEE, 0};

private:
    void renderFinished();
    // What a render started now draws in, but for its size.
    GraphFrame currentFrame() const;

    QMargins m_margins;
    int m_plotHeight = 0;
    int m_plotWidth = 0;
    QPixmap m_backBuffer;
    QMutex m_renderMutex;
    bool m_upToDate = false;
    bool m_rendering = false;
    int m_renderCount = 0;
    QVBoxLayout *m_layout = nullptr;
    QGridLayout *m_legendLayout = nullptr;
    QVector<QLabel *> m_legendLabels;
    QLabel *m_titleLabel = nullptr;
    QWidget *m_legendWidget = nullptr;
    QLabel *m_graphLabel = nullptr;
    int m_legendCount = 0;
    std::function<int()> m_imageHeightLimit;

    // The render in flight: its result, the renderer that makes it and the
    // watcher that brings it back to the GUI thread.
    QFuture<QImage> m_future;
    std::shared_ptr<GraphRenderer> m_renderer;
    QFutureWatcher<QImage> *m_watcher = nullptr;
};
