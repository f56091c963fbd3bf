#include "dataacquisition.h"

#include <QDebug>
#include <QTimer>

#include "confighandler.h"
#include "errordecode.h"
#include "ethernethandler.h"
#include "linegraph.h"
#include "valuebar.h"

namespace {

// The names of the steps as graph titles.
const char *const kTitles[] = {
    QT_TRANSLATE_NOOP("DataAcquisition", "Channels Raw Input Data"),
    QT_TRANSLATE_NOOP("DataAcquisition", "Channels Processed Data"),
    QT_TRANSLATE_NOOP("DataAcquisition", "Channels Mean Segment Data"),
    QT_TRANSLATE_NOOP("DataAcquisition", "Channels Max Segment Data"),
    QT_TRANSLATE_NOOP("DataAcquisition", "Channels Min Segment Data"),
    QT_TRANSLATE_NOOP("DataAcquisition", "Channels SKW Statistics Data"),
    QT_TRANSLATE_NOOP("DataAcquisition", "Channels SKW Data"),
};

constexpr int kNameLength = 16;
constexpr int kSkwFullScale = 32767;
constexpr uint8_t kOutputAnalog = 1;

} // namespace

DataAcquisition::DataAcquisition(EthernetHandler *handler, Confighandler *config, QObject *parent)
    : QObject(parent)
    , m_handler(handler)
    , m_config(config)
{
    for (auto &p : m_lineProxies)
        p = std::make_unique<XYSelectLineProxyModel>(nullptr, -1, -1);
    for (auto &p : m_barProxies)
        p = std::make_unique<XYSelectLineProxyModel>(nullptr, -1, -1);
    if (m_handler)
        connect(m_handler, &EthernetHandler::connectionLost, this, [this] { m_linkLost = true; });
}

DataAcquisition::~DataAcquisition() = default;

void DataAcquisition::setViews(LineGraph *graph, const std::array<ValueBar *, kChannels> &bars)
{
    m_graph = graph;
    m_bars = bars;
}

QString DataAcquisition::graphTitle(Step step)
{
    return step < MeasurementTable::NoStep ? tr(kTitles[step]) : QString();
}

QString DataAcquisition::timeLabel(double value)
{
    return QString::number(value, 'g', 2);
}

QString DataAcquisition::sampleLabel(double value)
{
    return QString::number(int(value));
}

bool DataAcquisition::startTimedRun(int intervalMs)
{
    errorCode_e r = ERR_OK;
    {
        const RequestScope scope(this);
        r = m_handler->startManualRun();
    }
    if (r != ERR_OK) {
        emit failed(tr("Data acquisition Start failed. Error: %1 Errorcode: %2").arg(ErrorDecode::decode(r)).arg(r));
        return false;
    }
    m_runGoing = true;
    if (!m_runTimer) {
        m_runTimer = new QTimer(this);
        m_runTimer->setSingleShot(true);
        // The stop waits for a request sequence that runs when the time is
        // up; a run ended meanwhile (the engineer left the unit) is not
        // stopped twice.
        connect(m_runTimer, &QTimer::timeout, this, [this] {
            RequestGate::instance().whenFree(this, [this] {
                if (m_runGoing)
                    stopDataRun();
            });
        });
    }
    // A second start restarts the time of the run; it still stops once.
    m_runTimer->start(intervalMs);
    return true;
}

bool DataAcquisition::endTimedRun()
{
    if (!m_runGoing)
        return false;
    if (m_runTimer)
        m_runTimer->stop();
    return sendStop();
}

void DataAcquisition::stopDataRun()
{
    sendStop();
}

bool DataAcquisition::sendStop()
{
    m_runGoing = false;
    resetDataView();
    errorCode_e r = ERR_OK;
    {
        const RequestScope scope(this);
        r = m_handler->stopDataRun();
    }
    if (r != ERR_OK) {
        emit failed(tr("Data acquisition Stop failed. Error: %1 Errorcode: %2").arg(ErrorDecode::decode(r)).arg(r));
        return false;
    }
    return true;
}

bool DataAcquisition::setRefRunMode(bool on)
{
    errorCode_e r = ERR_OK;
    {
        const RequestScope scope(this);
        r = m_handler->setRefRunMode(on ? 1 : 0);
    }
    if (r != ERR_OK) {
        emit failed(
            tr("Change Reference Run State failed. Error: %1 Errorcode: %2").arg(ErrorDecode::decode(r)).arg(r));
        return false;
    }
    return true;
}

void DataAcquisition::resetDataView()
{
    if (m_graph)
        m_graph->clearData();
    for (ValueBar *bar : m_bars)
        if (bar)
            bar->hide();
    m_currentStep = MeasurementTable::NoStep;
    refreshGraphTitles();
}

void DataAcquisition::clearData()
{
    resetDataView();
    m_lineTable.setRows({});
    m_barTable.setRows({});
    m_exportTexts = MeasurementCsv::Texts();
}

void DataAcquisition::refreshGraphTitles()
{
    if (!m_graph)
        return;
    const bool shown = m_currentStep < MeasurementTable::NoStep;
    m_graph->setGraphTitle(graphTitle(m_currentStep));
    m_graph->setXAxisTitle(shown ? tr("t in µs") : QString());
    m_graph->setYAxisTitle(shown ? tr("Samples in Digits") : QString());
    m_graph->invalidate();
}

QString DataAcquisition::errorText(errorCode_e r)
{
    return tr("The Ethernet connection responded with an error. Error: %1 Errorcode: %2")
        .arg(ErrorDecode::decode(r))
        .arg(r);
}

QString DataAcquisition::noDataText()
{
    return tr("Couldn't receive Data. Was a Measurment/Reference Run conducted since the last reboot?");
}

QString DataAcquisition::notReadFrom(int first, uint8_t mask) const
{
    QStringList names;
    for (int ch = first; ch < kChannels; ++ch)
        if (mask & (1u << ch))
            names << m_config->channelName(ch);
    return names.isEmpty() ? QString() : tr("Channels not read: %1").arg(names.join(QStringLiteral(", ")));
}

bool DataAcquisition::getData(Step step, uint8_t mask)
{
    if (step >= MeasurementTable::NoStep)
        return false;
    const RequestScope scope(this);
    const CFG_Device_Param_struct device = m_config->getDeviceConfig();
    std::array<QVector<int32_t>, kChannels> values;
    std::array<uint8_t, kChannels> selects{};
    m_linkLost = false;
    for (int ch = 0; ch < kChannels; ++ch) {
        if (mask & (1u << ch)) {
            LogBlockHeader request;
            request.blockIndex = 0;
            request.word1 = MeasurementTable::requestedStep(step);
            request.word2 = uint32_t(ch);
            const errorCode_e r = m_handler->readData(request);
            // The first channel the unit refuses ends the read: the channels
            // after it are not asked (one request, one message). Without the
            // unit every further channel would also wait for its own time-out
            // only to fail the same way. What the read collected is not shown
            // (a lost link clears the view).
            if (r != ERR_OK || m_linkLost) {
                const QString notRead = notReadFrom(r == ERR_OK ? ch + 1 : ch, mask);
                QString message = r == ERR_OK ? QString() : errorText(r);
                if (!notRead.isEmpty())
                    message += (message.isEmpty() ? QString() : QStringLiteral(" ")) + notRead;
                if (!message.isEmpty())
                    emit failed(message);
                return false;
            }
            m_handler->getDataBuffer(values[size_t(ch)]);
            // A channel without values ends the read the same way: no run
            // since the unit's restart gives none on any channel.
            if (values[size_t(ch)].isEmpty()) {
                emit failed(noDataText());
                return false;
            }
            // The SKW lies where the channel's mapping entry selects it; a
            // channel no entry holds uses its default entry.
            CFG_ChannelMapping_struct entry;
            m_config->channelEntry(uint8_t(ch), entry);
            selects[size_t(ch)] = entry.selects();
            qDebug() << "channel" << ch << "values" << values[size_t(ch)].size();
        }
        emit channelDone(uint32_t(ch + 1));
    }
    // Given up while the last answer was on its way: the view stays as the
    // lost link left it.
    if (m_linkLost)
        return false;

    tableFor(step).setRows(MeasurementTable::build(step, values, selects));
    auto &proxies = MeasurementTable::showsBars(step) ? m_barProxies : m_lineProxies;
    for (int ch = 0; ch < kChannels; ++ch) {
        XYSelectLineProxyModel *proxy = proxies[size_t(ch)].get();
        proxy->setSourceModel(&tableFor(step));
        proxy->setXColumn(0);
        proxy->setYColumn(MeasurementTable::channelColumn(step, ch));
    }
    m_currentStep = step;
    refreshGraphTitles();

    m_exportTexts = MeasurementCsv::Texts();
    if (step == MeasurementTable::SkwStatistics)
        m_exportTexts.firstHeader = QLatin1Char('"') + tr("Description") + QLatin1Char('"');
    if (m_graph) {
        m_graph->setAxisLabelFormat(false, &DataAcquisition::timeLabel, QStringLiteral("+0.00e00"));
        m_graph->setAxisLabelFormat(true, &DataAcquisition::sampleLabel, QStringLiteral("+12345"));
    }
    for (int ch = 0; ch < kChannels; ++ch) {
        const QString name = Confighandler::elideText(m_config->channelName(ch), kNameLength);
        ValueBar *bar = m_bars[size_t(ch)];
        if (bar)
            bar->setTitle(name);
        m_exportTexts.columnHeaders << QLatin1Char('"') + name + QLatin1Char('"');
        const bool hasData = !values[size_t(ch)].isEmpty();
        if (!(mask & (1u << ch)) || !hasData || step == MeasurementTable::SkwStatistics)
            continue;
        XYSelectLineProxyModel *proxy = proxies[size_t(ch)].get();
        if (step == MeasurementTable::Skw) {
            if (!bar)
                continue;
            const int max = device.outputSelect() == kOutputAnalog ? kSkwFullScale : int16_t(device.threshold(ch));
            bar->setRange(0, max);
            const QVariant v = proxy->data(proxy->index(0, 1));
            bar->setValue(v.toInt());
            bar->setValueShown(v.isValid());
            if (m_graph)
                bar->setColor(m_graph->colorAt(ch));
            bar->show();
        } else if (m_graph) {
            m_graph->addModel(proxy, m_config->channelName(ch), QString(), ch);
        }
    }
    if (MeasurementTable::hasTimeColumn(step))
        m_exportTexts.columnHeaders.prepend(QLatin1Char('"') + tr("Time in µs") + QLatin1Char('"'));
    if (m_graph)
        m_graph->invalidate();
    return true;
}
