#include "loghandlercont.h"

#include <QCoreApplication>
#include <QDebug>
#include <QTreeView>
#include <cmath>
#include <limits>

#include "confighandler.h"
#include "device.h"
#include "devicelog.h"
#include "logentry.h"
#include "logentryinfo.h"
#include "logfilters.h"
#include "treemodel.h"

const QString LoghandlerCont::kTextSuffix = QStringLiteral("txt");
const QString LoghandlerCont::kLogSuffix = QStringLiteral("hex");
const QString LoghandlerCont::kCsvSuffix = QStringLiteral("csv");

namespace {

// Clears the busy flag however the read ends.
class BusyScope
{
public:
    explicit BusyScope(bool &flag)
        : m_flag(flag)
    {
        m_flag = true;
    }
    ~BusyScope() { m_flag = false; }

private:
    bool &m_flag;
};

} // namespace

LoghandlerCont &LoghandlerCont::instance()
{
    static LoghandlerCont handler;
    return handler;
}

LoghandlerCont::LoghandlerCont(QObject *parent)
    : QObject(parent)
{
}

LoghandlerCont::~LoghandlerCont() = default;

void LoghandlerCont::setTreeView(QTreeView *view)
{
    auto *model = new TreeModel(view);
    setTreeModel(model);
    view->setModel(model);
    view->setUniformRowHeights(true);
}

void LoghandlerCont::setTreeModel(TreeModel *model)
{
    m_filters.reset();
    m_tree = model;
    if (model)
        m_filters = std::make_unique<LogFilters>(model, this);
}

void LoghandlerCont::debugStep(const char *step) const
{
    qDebug() << step << m_clock.elapsed() << "ms";
}

errorCode_e LoghandlerCont::readLog()
{
    if (!m_tree)
        return ERR_INVALID_PARAM;
    // The evaluation runs the event loop; a second read meanwhile would mix
    // two logs in one tree.
    if (m_busy)
        return ERR_ALREADY_WAITING;
    EthernetHandler *link = Device::instance()->ethernetHandler();
    QByteArray joined;
    ProductInfoRecord identification{};
    {
        BusyScope busy(m_busy);
        errorCode_e result = link->readProductInfo(&identification);
        if (result != ERR_OK)
            return result;
        LogBlockHeader request;
        result = link->readLog(request);
        if (result != ERR_OK)
            return result;
        const BlockTransfer &transfer = link->logTransfer();
        if (transfer.isComplete())
            joined = transfer.joinedBytes();
    }
    // Kept only now: a failed read leaves the identification of the log
    // that is still shown.
    m_identification = identification;
    return errorCode_e(showDeviceLog(joined, VersionInfo(&identification)));
}

int LoghandlerCont::showDeviceLog(const QByteArray &bytes, const VersionInfo &info)
{
    // A log that ends in a cut record loses only that record: the whole
    // ones before it are shown, and the user is told what was left out.
    const DeviceLog log = DeviceLog::split(bytes);
    if (log.endsInCutRecord())
        qDebug() << "Error Log size: the log ends in a cut record of" << log.droppedBytes << "bytes";
    const int shown = evaluateLog(log.records, info);
    if (shown == ERR_OK) {
        m_droppedBytes = log.droppedBytes;
        m_inputNote = log.note();
    }
    return shown;
}

int LoghandlerCont::evaluateLog(const QVector<LogRecord> &records, const VersionInfo &info)
{
    if (!m_tree)
        return ERR_INVALID_PARAM;
    if (m_busy)
        return ERR_ALREADY_WAITING;
    BusyScope busy(m_busy);
    return evaluate(records, info);
}

int LoghandlerCont::evaluate(const QVector<LogRecord> &records, const VersionInfo &info)
{
    m_clock.restart();
    debugStep("starting model data update");
    m_droppedBytes = 0;
    m_inputNote.clear();
    m_tree->resetModel();
    LogEntryBase *root = m_tree->rootItem();
    root->appendNew<LogEntryinfo>(info, root);

    const int n = records.size();
    // An empty log has no last index.
    emit initProgressbar(tr("Evaluating Log..."), n > 0 ? uint32_t(n - 1) : 0u);
    debugStep("events process start");
    for (int i = 0; i < n; ++i) {
        emit updateProgressbar(uint32_t(i));
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        const LogRecord &r = records.at(i);
        if (r.isErased())
            continue;
        root->appendNew<LogEntry>(r, root);
    }
    debugStep("events process finished");
    refreshFilters();
    emit deinitProgressbar();
    return ERR_OK;
}

void LoghandlerCont::initFilterModels(LineGraph *graph)
{
    m_graph = graph;
    if (m_graph)
        m_graph->clearData();
}

void LoghandlerCont::refreshFilters()
{
    if (!m_tree || !m_filters)
        return;
    m_clock.restart();
    m_tree->notifyReset();
    debugStep("start Graphfilter");
    m_history = m_filters->collect();
    debugStep("start update Graph");
    fillTables();
    updateSKWGraphChnsel(m_channelMask);
    debugStep("end update Graph");
}

void LoghandlerCont::fillTables()
{
    // The graph reads the tables on its drawing thread: they change here
    // only, on the GUI thread, and the graph is cleared and refilled with
    // them right after.
    for (int n = 0; n < SkwHistory::kChannels; ++n) {
        SimpleTable::Column times, values;
        const auto &points = m_history.channels[size_t(n)];
        times.reserve(points.size());
        values.reserve(points.size());
        for (const SkwHistory::Point &p : points) {
            times << p.time;
            values << p.value;
        }
        m_channelTables[size_t(n)].setRows({times, values});
        XYSelectLineProxyModel &series = m_channelSeries[size_t(n)];
        series.setSourceModel(&m_channelTables[size_t(n)]);
        series.setXColumn(0);
        series.setYColumn(1);
    }
    auto events = [](SimpleTable &table, XYSelectLineProxyModel &series, const QVector<int> &times) {
        table.setRows({SimpleTable::Column(times.cbegin(), times.cend()), SimpleTable::Column(times.size(), 0)});
        series.setSourceModel(&table);
        series.setXColumn(0);
        series.setYColumn(1);
    };
    events(m_errorTable, m_errorSeries, m_history.errors);
    events(m_configTable, m_configSeries, m_history.configurations);
}

void LoghandlerCont::updateSKWGraphChnsel(uint8_t chnmsk)
{
    m_channelMask = chnmsk & 0x7F;
    if (!m_graph)
        return;
    m_graph->clearData();
    const Confighandler *config = Device::instance()->confighandler();
    bool shown = false;
    for (int n = 0; n < SkwHistory::kChannels; ++n) {
        XYSelectLineProxyModel &series = m_channelSeries[size_t(n)];
        if (!(m_channelMask & (1u << n)) || series.rowCount() == 0)
            continue;
        const QString name = config->channelName(n);
        const QString shortName = Confighandler::elideText(name, 16);
        m_graph->addModel(&series, shortName, shortName != name ? name : QString(), n);
        shown = true;
    }
    if (shown) {
        // The sample is a label as the formatter writes it (its TAB and the
        // translation included), so the labels are sized from what they show.
        m_graph->setAxisLabelFormat(false, &LoghandlerCont::timestampLabel, timestampLabel(0));
        m_graph->setAxisLabelFormat(true, &LoghandlerCont::integerLabel, QStringLiteral("+12345"));
        m_graph->setYAxisTitle(tr("SKW Value in digits"));
        m_graph->setXAxisTitle(tr("Timestamp Value"));
        m_graph->setErrorEventRow(&m_errorSeries, tr("Error"));
        m_graph->setConfigEventRow(&m_configSeries, tr("Configuration"));
        m_graph->show();
    } else {
        m_graph->hide();
    }
    m_graph->invalidate();
}

QStringList LoghandlerCont::channelNames() const
{
    QStringList names;
    const Confighandler *config = Device::instance()->confighandler();
    for (int n = 0; n < SkwHistory::kChannels; ++n)
        names << config->channelName(n);
    return names;
}

namespace {

// Truncated toward zero; held at the ends of the int range (a graph's axis
// may reach far beyond its data), 0 for a value that is no number.
int truncated(double value)
{
    if (std::isnan(value))
        return 0;
    if (value >= double(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    if (value <= double(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    return int(value);
}

} // namespace

QString LoghandlerCont::timestampLabel(double value)
{
    const int t = truncated(value);
    auto pad = [](int v, int width) { return QString::number(v).rightJustified(width, QLatin1Char('0')); };
    return tr(" %1:%2 \t %3:%4:%5 ")
        .arg(pad(t / 31536000, 2), pad((t / 86400) % 365, 3), pad((t / 3600) % 24, 2), pad((t / 60) % 60, 2),
             pad(t % 60, 2));
}

QString LoghandlerCont::integerLabel(double value)
{
    return QString::number(truncated(value));
}
