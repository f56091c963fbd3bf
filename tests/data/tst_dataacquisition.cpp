#include <QLabel>
#include <QSignalSpy>
#include <QtTest>

#include "blocktransfer.h"
#include "requestlog.h"
#include "byteorder.h"
#include "confighandler.h"
#include "dataacquisition.h"
#include "errordecode.h"
#include "linegraph.h"
#include "testnet.h"
#include "unitsimblocks.h"
#include "unitsimfixture.h"
#include "valuebar.h"

namespace {

const QHostAddress kUnit(QStringLiteral("127.0.9.11"));

QVector<int16_t> ramp(int n, int start)
{
    QVector<int16_t> v;
    for (int i = 0; i < n; ++i)
        v << int16_t(start + i);
    return v;
}

uint32_t wordAt(const QByteArray &payload, int at)
{
    return le::u32(reinterpret_cast<const uint8_t *>(payload.constData()) + at);
}

} // namespace

// Measurement data read from the simulated unit into the tables, the line
// graph and the value bars.
class TestDataAcquisition : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void rawInputOfSelectedChannels();
    void skwIntoValueBars();
    void firstFailingChannelEndsTheRead_data();
    void firstFailingChannelEndsTheRead();
    void stalledTransferEndsWithItsError();
    void lostLinkEndsTheRead_data();
    void lostLinkEndsTheRead();
    void noChannelSelectedRequestsNothing();

private:
    UnitSimBlocks *blocks() { return UnitSimBlocks::of(m_link.sim.get()); }
    Confighandler *config() { return m_link.device->confighandler(); }
    // Each request once, however often it was sent.
    QVector<UnitSimRequest> dataRequests() const { return withoutResends(requestsOf(*m_link.sim, 0x12)); }

    SimLink m_link;
    std::unique_ptr<LineGraph> m_graph;
    std::array<ValueBar *, 7> m_bars{};
    std::vector<std::unique_ptr<ValueBar>> m_barOwners;
    std::unique_ptr<DataAcquisition> m_acq;
};

void TestDataAcquisition::init()
{
    KORVANTIS_REQUIRE_TESTNET();
    QVERIFY(m_link.start(kUnit, 2, SimLink::quietTimings()));
    m_link.connectToUnit();
    m_link.sim->clearRequestLog();
    for (int ch = 0; ch < 7; ++ch)
        config()->setChannelname(QStringLiteral("Bearing %1").arg(ch + 1), uint8_t(ch));
    m_graph = std::make_unique<LineGraph>();
    m_barOwners.clear();
    for (int ch = 0; ch < 7; ++ch) {
        m_barOwners.push_back(std::make_unique<ValueBar>());
        m_bars[size_t(ch)] = m_barOwners.back().get();
    }
    m_acq = std::make_unique<DataAcquisition>(m_link.handler(), config());
    m_acq->setViews(m_graph.get(), m_bars);
}

void TestDataAcquisition::cleanup()
{
    m_acq.reset();
    m_graph.reset();
    m_barOwners.clear();
    m_link.device.reset();
    m_link.sim.reset();
}

void TestDataAcquisition::rawInputOfSelectedChannels()
{
    blocks()->setMeasurement(0, 0, ramp(3, 100));
    blocks()->setMeasurement(0, 3, ramp(900, -400));  // more than one block
    QSignalSpy done(m_acq.get(), &DataAcquisition::channelDone);
    QSignalSpy failed(m_acq.get(), &DataAcquisition::failed);
    QVERIFY(m_acq->getData(MeasurementTable::RawInput, 0x09));
    QCOMPARE(failed.count(), 0);
    QCOMPARE(done.count(), 7);
    QCOMPARE(done.last().at(0).toUInt(), 7u);

    // One transfer per selected channel, each from block 0, step 0.
    QSet<uint32_t> channels;
    for (const UnitSimRequest &r : dataRequests()) {
        QCOMPARE(wordAt(r.payload, 12), 0u);
        channels.insert(wordAt(r.payload, 16));
    }
    QCOMPARE(channels, (QSet<uint32_t>{0, 3}));
    QCOMPARE(wordAt(dataRequests().first().payload, 4), 0u);

    SimpleTable &t = m_acq->lineTable();
    QCOMPARE(t.columnCount(), 8);
    QCOMPARE(t.rowCount(), 900);
    QCOMPARE(t.data(t.index(899, 0)).toInt(), 8990);  // 10 us per sample
    QCOMPARE(t.data(t.index(2, 1)).toInt(), 102);
    QVERIFY(!t.data(t.index(3, 1)).isValid());
    QCOMPARE(t.data(t.index(899, 4)).toInt(), 499);
    for (int col : {2, 3, 5, 6, 7})
        QCOMPARE(t.columns().at(col).size(), 0);

    QCOMPARE(m_graph->series().size(), 2);
    QCOMPARE(m_graph->series().at(1).name, QStringLiteral("Bearing 4"));
    QCOMPARE(m_graph->series().at(1).colorIndex, 3);
    QCOMPARE(m_graph->graphTitle(), QStringLiteral("Channels Raw Input Data"));
    QCOMPARE(m_graph->xAxisTitle(), QStringLiteral("t in µs"));
    QCOMPARE(m_graph->yMinimum(), -400.0);
    QCOMPARE(m_acq->currentDataStep(), MeasurementTable::RawInput);
    QCOMPARE(m_acq->exportTexts().columnHeaders.first(), QStringLiteral("\"Time in µs\""));
    QCOMPARE(m_acq->exportTexts().columnHeaders.size(), 8);
    QCOMPARE(m_acq->lineProxy(3)->yColumn(), 4);

    m_acq->resetDataView();
    QCOMPARE(m_acq->currentDataStep(), MeasurementTable::NoStep);
    QVERIFY(m_graph->series().isEmpty());
    QCOMPARE(m_graph->graphTitle(), QString());
}

void TestDataAcquisition::skwIntoValueBars()
{
    CFG_Device_Param_struct device = config()->getDeviceConfig();
    device.setOutputSelect(2);  // digital: each bar ranges up to the channel's threshold
    device.setThreshold(2, 120);
    device.setThreshold(5, 900);
    QCOMPARE(config()->setDeviceConfig(device), ERR_OK);
    CFG_ChannelMapping_struct entry;
    config()->channelEntry(2, entry);
    const int at2 = MeasurementTable::skwPosition(entry.selects());
    config()->channelEntry(5, entry);
    const int at5 = MeasurementTable::skwPosition(entry.selects());
    QVector<int16_t> stats2(16, 0), stats5(16, 0);
    stats2[at2] = 150;  // above the threshold of 120
    stats5[at5] = 450;
    blocks()->setMeasurement(5, 2, stats2);
    blocks()->setMeasurement(5, 5, stats5);

    QVERIFY(m_acq->getData(MeasurementTable::Skw, 0x24));
    for (const UnitSimRequest &r : dataRequests())
        QCOMPARE(wordAt(r.payload, 12), 5u);  // the SKW comes from the statistics
    SimpleTable &t = m_acq->barTable();
    QCOMPARE(t.columnCount(), 7);
    QCOMPARE(t.rowCount(), 1);
    QCOMPARE(t.data(t.index(0, 2)).toInt(), 150);

    auto number = [&](int ch) { return m_bars[size_t(ch)]->findChild<QLabel *>("lblCurrentValue"); };
    QCOMPARE(number(2)->text(), QStringLiteral("150"));
    QVERIFY(number(2)->property("useRedBorder").toBool());
    QCOMPARE(number(5)->text(), QStringLiteral("450"));
    QVERIFY(!number(5)->property("useRedBorder").toBool());
    QCOMPARE(m_bars[5]->findChild<QLabel *>("lblMaxValue")->text(), QStringLiteral("900"));
    QVERIFY(!m_bars[2]->isHidden());
    QVERIFY(m_bars[0]->isHidden());
    QCOMPARE(m_bars[0]->findChild<QLabel *>("lblDescription")->text(), QStringLiteral("Bearing 1"));
    QVERIFY(m_graph->series().isEmpty());
    QCOMPARE(m_acq->exportTexts().columnHeaders.size(), 7);

    // With the analog output every bar spans the full SKW range.
    device.setOutputSelect(1);
    QCOMPARE(config()->setDeviceConfig(device), ERR_OK);
    QVERIFY(m_acq->getData(MeasurementTable::Skw, 0x04));
    QCOMPARE(m_bars[2]->findChild<QLabel *>("lblMaxValue")->text(), QStringLiteral("32767"));
    QVERIFY(!number(2)->property("useRedBorder").toBool());
}

// The first channel that fails ends the read: the unit refusing it, or it
// bringing no values (no run since the unit's restart). The channels after it
// are not asked, one message says why, and the tables keep the last read.
void TestDataAcquisition::firstFailingChannelEndsTheRead_data()
{
    QTest::addColumn<bool>("refuse");  // an error answer, else an empty transfer
    QTest::addColumn<uint8_t>("mask");
    QTest::addColumn<QList<uint32_t>>("asked");
    QTest::addColumn<QString>("message");
    const QString refused = QStringLiteral("The Ethernet connection responded with an error. Error: %1 Errorcode: -5")
                                .arg(ErrorDecode::decode(errorCode_e(-5)));
    const QString noData =
        QStringLiteral("Couldn't receive Data. Was a Measurment/Reference Run conducted since the last reboot?");
    QTest::newRow("every channel refuses") << true << uint8_t(0x49) << QList<uint32_t>{0}
                                           << refused + QStringLiteral(" Channels not read: Bearing 1, Bearing 4, Bearing 7");
    QTest::newRow("the middle channel refuses") << true << uint8_t(0x4B) << QList<uint32_t>{0, 1, 3}
                                                << refused + QStringLiteral(" Channels not read: Bearing 4, Bearing 7");
    QTest::newRow("no channel has values") << false << uint8_t(0x03) << QList<uint32_t>{0} << noData;
    QTest::newRow("the middle channel has no values") << false << uint8_t(0x4B) << QList<uint32_t>{0, 1, 3} << noData;
}

void TestDataAcquisition::firstFailingChannelEndsTheRead()
{
    QFETCH(bool, refuse);
    QFETCH(uint8_t, mask);
    QFETCH(QList<uint32_t>, asked);
    QFETCH(QString, message);
    // A complete read first: it stays in the tables.
    for (int ch = 0; ch < 7; ++ch)
        blocks()->setMeasurement(0, ch, ramp(4, 7 + ch));
    QVERIFY(m_acq->getData(MeasurementTable::RawInput, 0x7F));
    m_acq->resetDataView();
    m_link.sim->clearRequestLog();

    // The last channel asked is the one that fails; with every channel
    // refusing that is the first.
    const uint32_t failing = asked.last();
    const bool every = asked.size() == 1;
    if (!refuse) {
        blocks()->clearMeasurements();
        for (uint32_t ch : asked)
            if (ch != failing)
                blocks()->setMeasurement(0, int(ch), ramp(4, 0));
    }
    const UnitSim::Handler original = m_link.sim->handler(0x12);
    m_link.sim->setHandler(0x12, [original, refuse, failing, every](const UnitSimRequest &q, UnitSimReply &r) {
        if (refuse && q.payload.size() >= 20 && (every || wordAt(q.payload, 16) == failing))
            r.fail(-5);
        else
            original(q, r);
    });
    QSignalSpy failed(m_acq.get(), &DataAcquisition::failed);
    QVERIFY(!m_acq->getData(MeasurementTable::RawInput, mask));
    QCOMPARE(failed.count(), 1);
    QCOMPARE(failed.at(0).at(0).toString(), message);
    QList<uint32_t> channels;
    for (const UnitSimRequest &r : dataRequests())
        if (wordAt(r.payload, 4) == 0)
            channels << wordAt(r.payload, 16);
    QCOMPARE(channels, asked);
    QVERIFY(m_graph->series().isEmpty());
    QCOMPARE(m_acq->currentDataStep(), MeasurementTable::NoStep);
    QCOMPARE(m_acq->lineTable().data(m_acq->lineTable().index(3, 2)).toInt(), 11);
}

void TestDataAcquisition::stalledTransferEndsWithItsError()
{
    blocks()->setMeasurement(0, 0, ramp(3000, 0));  // several blocks
    blocks()->faults().repeatBlock = 0;             // the unit answers block 0 for ever
    QSignalSpy failed(m_acq.get(), &DataAcquisition::failed);
    QVERIFY(!m_acq->getData(MeasurementTable::RawInput, 0x01));
    QCOMPARE(failed.count(), 1);
    QVERIFY(failed.at(0).at(0).toString().contains(QStringLiteral("Errorcode: %1").arg(int(ERR_RESPONSE))));
    // It ended by counting the passes that brought nothing new: block 0,
    // then a bounded number of requests for block 1.
    QCOMPARE(dataRequests().size(), 1 + BlockTransferRun::kMaxStalledPasses);
}

// The unit goes away while the third channel is read: the read ends there,
// with one message that names every channel it did not read, and shows
// nothing (the window has cleared the view for the read, and a lost link
// clears it again).
void TestDataAcquisition::lostLinkEndsTheRead_data()
{
    QTest::addColumn<bool>("silent");
    QTest::addColumn<QString>("message");
    // No answer to any attempt: the request's time-out ends the read.
    QTest::newRow("unit falls silent")
        << true
        << QStringLiteral("The Ethernet connection responded with an error. Error: %1 Errorcode: %2 "
                          "Channels not read: Bearing 3, Bearing 4, Bearing 5, Bearing 6, Bearing 7")
               .arg(ErrorDecode::decode(ERR_TIMEOUT))
               .arg(int(ERR_TIMEOUT));
    // The link watch gives the unit up while its answer is on the way.
    QTest::newRow("link reported lost during a transfer")
        << false << QStringLiteral("Channels not read: Bearing 4, Bearing 5, Bearing 6, Bearing 7");
}

void TestDataAcquisition::lostLinkEndsTheRead()
{
    QFETCH(bool, silent);
    QFETCH(QString, message);
    for (int ch = 0; ch < 7; ++ch)
        blocks()->setMeasurement(0, ch, ramp(10, 10 * ch));
    QVERIFY(m_acq->getData(MeasurementTable::RawInput, 0x01));
    m_acq->resetDataView();
    m_link.sim->clearRequestLog();
    connect(m_link.sim.get(), &UnitSim::requestReceived, m_link.sim.get(), [this, silent](const UnitSimRequest &q) {
        if (q.command != 0x12 || q.payload.size() < 20 || wordAt(q.payload, 16) != 2)
            return;
        if (silent)
            m_link.sim->faults().silent = true;
        else if (m_link.handler()->isConnected())
            emit m_link.handler()->connectionLost();
    });

    QSignalSpy failed(m_acq.get(), &DataAcquisition::failed);
    QVERIFY(!m_acq->getData(MeasurementTable::RawInput, 0x7F));
    QCOMPARE(failed.count(), 1);
    QCOMPARE(failed.at(0).at(0).toString(), message);
    // Nothing is asked after the channel that went unanswered.
    QSet<uint32_t> channels;
    for (const UnitSimRequest &r : dataRequests())
        channels.insert(wordAt(r.payload, 16));
    QCOMPARE(channels, (QSet<uint32_t>{0, 1, 2}));
    // The view stays clear, the tables keep the last complete read.
    QVERIFY(m_graph->series().isEmpty());
    QCOMPARE(m_acq->currentDataStep(), MeasurementTable::NoStep);
    QCOMPARE(m_acq->lineTable().columns().at(2).size(), 0);
    QCOMPARE(m_acq->lineTable().data(m_acq->lineTable().index(9, 1)).toInt(), 9);
}

void TestDataAcquisition::noChannelSelectedRequestsNothing()
{
    QSignalSpy done(m_acq.get(), &DataAcquisition::channelDone);
    QVERIFY(m_acq->getData(MeasurementTable::RawInput, 0x00));
    QCOMPARE(dataRequests().size(), 0);
    QCOMPARE(done.count(), 7);
    QCOMPARE(m_acq->lineTable().rowCount(), 0);
    QVERIFY(m_graph->series().isEmpty());
}

QTEST_MAIN(TestDataAcquisition)
#include "tst_dataacquisition.moc"
