#include "abstractgraph.h"

#include <QElapsedTimer>
#include <QGridLayout>
#include <QLabel>
#include <QLoggingCategory>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>
#include <QResizeEvent>
#include <QThread>
#include <QVBoxLayout>
#include <QtConcurrent>
#include <cmath>

#include "graphpalette.h"
#include "stylesheetcontainer.h"

// Render timings; on with QT_LOGGING_RULES="korvantis.graph.debug=true".
Q_LOGGING_CATEGORY(lcGraph, "korvantis.graph", QtInfoMsg)

namespace {

// The graph's image. A disabled label (while a render runs, or on a
// disabled page) draws its pixmap greyed, and QLabel greys the whole image
// anew on every paint. A page is disabled while it reads or evaluates a log,
// and is drawn again each time the progress bar in front of it is: greying
// an image the size of the graph each time cost more than the rest of the
// page. The greyed image is kept until the image changes.
class GraphImageLabel : public QLabel
{
public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent *event) override
    {
        const QPixmap image = pixmap(Qt::ReturnByValue);
        if (isEnabled() || image.isNull() || hasScaledContents()) {
            QLabel::paintEvent(event);
            return;
        }
        if (m_greyedKey != image.cacheKey()) {
            QStyleOption option;
            option.initFrom(this);
            m_greyed = style()->generatedIconPixmap(QIcon::Disabled, image, &option);
            m_greyedKey = image.cacheKey();
        }
        QPainter painter(this);
        drawFrame(&painter);
        const int m = margin();
        const QRect area = contentsRect().adjusted(m, m, -m, -m);
        style()->drawItemPixmap(&painter, area, QStyle::visualAlignment(layoutDirection(), alignment()), m_greyed);
    }

private:
    QPixmap m_greyed;
    qint64 m_greyedKey = 0;
};

} // namespace

AbstractGraph::AbstractGraph(QWidget *parent, const QString &title)
    : QWidget(parent)
    , m_graphTitle(title)
{
    setAttribute(Qt::WA_StyledBackground, true);
    stylesheetContainer.applyStylesheet(this);

    m_layout = new QVBoxLayout(this);
    m_titleLabel = new QLabel(this);
    m_titleLabel->setAlignment(Qt::AlignCenter);
    m_titleLabel->setProperty("LabelStyle", QStringLiteral("H3"));
    m_titleLabel->setSizePolicy(QSizePolicy::Minimum, QSizePolicy::Fixed);

    m_legendWidget = new QWidget(this);
    m_legendWidget->setObjectName(QStringLiteral("mlegendwdg"));
    m_legendWidget->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    m_legendLayout = new QGridLayout(m_legendWidget);
    // The legend wraps to the graph's width at the next render; until then
    // it must not hold the graph at the width of its present rows.
    m_legendWidget->setMinimumWidth(1);

    m_graphLabel = new GraphImageLabel(this);
    m_graphLabel->setObjectName(QStringLiteral("mGraphlbl"));
    m_graphLabel->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    m_graphLabel->setScaledContents(false);
    // A label's minimum size is its pixmap's; without this the graph could
    // never become narrower than the image it shows.
    m_graphLabel->setMinimumWidth(1);

    m_layout->addWidget(m_titleLabel);
    m_layout->addWidget(m_legendWidget);
    m_layout->addWidget(m_graphLabel);
}

AbstractGraph::~AbstractGraph()
{
    if (m_watcher)
        m_watcher->disconnect(this);
    // The renderer owns its data, so the pool thread never touches this
    // widget; still, no render may outlive the graph that started it.
    if (m_rendering) {
        m_future.waitForFinished();
        m_rendering = false;
        m_renderMutex.unlock();
    }
}

QColor AbstractGraph::colorAt(int index) const
{
    return QColor::fromRgba(GraphPalette::colorAt(index));
}

QColor AbstractGraph::seriesColor(int series) const
{
    if (series < 0 || series >= m_series.size())
        return colorAt(0);
    return colorAt(m_series.at(series).colorIndex);
}

QString AbstractGraph::elideText(const QString &text, int maxWidth) const
{
    return GraphRenderer::elideText(fontMetrics(), text, maxWidth);
}

void AbstractGraph::clearData()
{
    m_series.clear();
    invalidate();
}

void AbstractGraph::invalidate()
{
    m_upToDate = false;
    update();
}

void AbstractGraph::labelMargin()
{
    m_margins = GraphRenderer::labelMargins(fontMetrics());
}

void AbstractGraph::setTitleText()
{
    m_titleLabel->setText(m_graphTitle);
    // An empty title would still take a row of height.
    m_titleLabel->setVisible(!m_graphTitle.isEmpty());
}

void AbstractGraph::setImageHeightLimit(std::function<int()> limit)
{
    m_imageHeightLimit = std::move(limit);
    // Every line of height goes to the plot: no frame of empty margins
    // around the graph and its legend.
    const int m = m_imageHeightLimit ? 0 : style()->pixelMetric(QStyle::PM_LayoutLeftMargin);
    m_layout->setContentsMargins(m, m, m, m);
    m_legendLayout->setContentsMargins(m, m, m, m);
    invalidate();
}

int AbstractGraph::heightBesideImage() const
{
    const QMargins m = m_layout->contentsMargins();
    const int spacing = std::max(0, m_layout->spacing());
    int height = m.top() + m.bottom();
    int shown = 1;  // the image
    if (!m_graphTitle.isEmpty()) {
        height += m_titleLabel->sizeHint().height();
        ++shown;
    }
    if (m_legendCount > 0) {
        height += m_legendWidget->sizeHint().height();
        ++shown;
    }
    return height + spacing * (shown - 1);
}

void AbstractGraph::resetLegendCount()
{
    m_legendCount = 0;
}

void AbstractGraph::refreshLegend()
{
    resetLegendCount();
    updateLegend();
    layoutLegend();
}

void AbstractGraph::updateLegend()
{
    for (int n = 0; n < m_series.size(); ++n)
        addLegendEntry(m_series.at(n).name, m_series.at(n).description, seriesColor(n));
}

void AbstractGraph::addLegendEntry(const QString &text, const QString &tooltip, const QColor &color)
{
    QLabel *label = nullptr;
    if (m_legendCount < m_legendLabels.size()) {
        label = m_legendLabels.at(m_legendCount);
    } else {
        label = new QLabel(text, m_legendWidget);
        m_legendLabels.append(label);
    }
    label->setText(text);
    label->setToolTip(tooltip);
    const QString name = color.name(QColor::HexRgb);
    label->setStyleSheet(QStringLiteral("QLabel { background-color: none; color: ") + name
                         + QStringLiteral("; border: 0px solid none; border-left: ") + QString::number(4)
                         + QStringLiteral("px solid ") + name + QStringLiteral(";}"));
    ++m_legendCount;
}

void AbstractGraph::layoutLegend()
{
    const int count = m_legendCount;
    for (int i = 0; i < m_legendLabels.size(); ++i)
        m_legendLabels.at(i)->setVisible(i < count);
    for (QLabel *label : qAsConst(m_legendLabels))
        m_legendLayout->removeWidget(label);
    if (count == 0)
        return;

    const QMargins m = m_legendLayout->contentsMargins();
    const int spacing = std::max(0, m_legendLayout->horizontalSpacing());
    const int available = m_graphLabel->width();
    int perRow = count;
    for (int rows = 1;; ++rows) {
        perRow = (count + rows - 1) / rows;
        int widest = 0;
        for (int r = 0; r * perRow < count; ++r) {
            int width = m.left() + m.right() + spacing * (perRow - 1);
            for (int k = r * perRow; k < std::min(count, r * perRow + perRow); ++k)
                width += m_legendLabels.at(k)->sizeHint().width();
            widest = std::max(widest, width);
        }
        if (widest <= available || perRow <= 1)
            break;
    }
    for (int k = 0; k < count; ++k) {
        QLabel *label = m_legendLabels.at(k);
        label->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
        m_legendLayout->addWidget(label, k / perRow, k % perRow);
    }
}

GraphFrame AbstractGraph::currentFrame() const
{
    GraphFrame frame;
    frame.font = font();
    frame.margins = m_margins;
    // Above the plot there is only the top half of its highest y label: a
    // graph that must save height keeps one font height there, not three.
    if (m_imageHeightLimit)
        frame.margins.setTop(std::min(m_margins.top(), fontMetrics().height()));
    frame.xAxisTitle = m_xAxisTitle;
    frame.yAxisTitle = m_yAxisTitle;
    frame.axisColor = m_axisColor;
    frame.gridColor = m_gridColor;
    frame.plotAreaColor = m_plotAreaColor;
    frame.backgroundColor = m_backgroundColor;
    return frame;
}

int AbstractGraph::readableHeight() const
{
    return m_imageHeightLimit ? readableImageHeight(currentFrame()) : 1;
}

void AbstractGraph::startRendering()
{
    labelMargin();
    const int w = std::max(1, m_graphLabel->width());
    GraphFrame frame = currentFrame();

    int h = std::max(1, w * 9 / 16);
    if (m_imageHeightLimit) {
        // The label takes exactly the image's height, so the graph is no
        // taller than its limit; but never lower than it takes to read the
        // plot: where the limit leaves less, the page scrolls instead.
        h = std::max({1, std::min(h, m_imageHeightLimit()), readableImageHeight(frame)});
        m_graphLabel->setMinimumHeight(h);
    } else {
        m_graphLabel->setMinimumHeight(m_margins.top() + m_margins.bottom() + 180);
    }
    frame.imageSize = QSize(w, h);

    QElapsedTimer clock;
    clock.start();
    qCDebug(lcGraph) << "Start Pic Paint" << QThread::currentThreadId();
    m_graphLabel->setDisabled(true);
    m_rendering = true;
    m_renderer = createRenderer(frame);
    std::shared_ptr<GraphRenderer> renderer = m_renderer;
    m_future = QtConcurrent::run([renderer] { return renderer->render(); });
    m_watcher = new QFutureWatcher<QImage>(this);
    connect(m_watcher, &QFutureWatcher<QImage>::finished, this, &AbstractGraph::renderFinished);
    connect(m_watcher, &QFutureWatcher<QImage>::finished, m_watcher, &QObject::deleteLater);
    m_watcher->setFuture(m_future);
    qCDebug(lcGraph) << "Exit Pic Paint" << QThread::currentThreadId() << clock.elapsed();
}

void AbstractGraph::renderFinished()
{
    const QImage image = m_future.result();
    m_backBuffer = QPixmap::fromImage(image);
    m_graphLabel->setPixmap(m_backBuffer);
    if (m_renderer) {
        m_plotHeight = m_renderer->plotHeight();
        m_plotWidth = m_renderer->plotWidth();
        takeRender(*m_renderer);
    }
    m_renderer.reset();
    m_watcher = nullptr;
    m_rendering = false;
    ++m_renderCount;
    qCDebug(lcGraph) << "End Pic Paint" << QThread::currentThreadId();
    m_renderMutex.unlock();
    m_graphLabel->setEnabled(true);
    // A change that came in meanwhile is drawn now.
    if (!m_upToDate)
        update();
}

void AbstractGraph::paintEvent(QPaintEvent *event)
{
    if (!m_upToDate && m_renderMutex.tryLock(0)) {
        m_upToDate = true;
        setTitleText();
        refreshLegend();
        startRendering();
        update();
        qCDebug(lcGraph) << "mlegendwdg" << m_legendWidget->size() << m_legendWidget->sizeHint();
        qCDebug(lcGraph) << "mGraphlbl" << m_graphLabel->size() << m_graphLabel->sizeHint();
        qCDebug(lcGraph) << "this" << size() << sizeHint();
    }
    QWidget::paintEvent(event);
}

void AbstractGraph::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    invalidate();
}
