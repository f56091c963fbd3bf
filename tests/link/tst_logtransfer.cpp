// Log and measurement-data block transfers from the simulated unit, compared
// byte for byte with what the unit holds.
#include <QRegularExpression>
#include <algorithm>
#include <QSignalSpy>
#include <QTest>

#include "blocktransfer.h"
#include "requestlog.h"
#include "testnet.h"
#include "unitsimblocks.h"
#include "unitsimfixture.h"

namespace {

const QHostAddress kUnit(QStringLiteral("127.0.1.40"));

QByteArray bytesOf(const QVector<LogRecord> &records)
{
    QByteArray out;
    for (const LogRecord &r : records)
        out.append(r.toByteArray());
    return out;
}

// The block indices of `requests`, in order.
QVector<uint32_t> blocksOf(const QVector<UnitSimRequest> &requests)
{
    QVector<uint32_t> out;
    for (const UnitSimRequest &r : requests) {
        if (r.payload.size() >= LogBlockHeader::kSize)
            out.append(LogBlockHeader::fromBytes(reinterpret_cast<const uint8_t *>(r.payload.constData())).blockIndex);
    }
    return out;
}

// The block indices the unit was asked for, in order: each request once,
// however often the link sent it again for want of a timely answer (a busy
// machine may delay any answer past its time-out).
QVector<uint32_t> requestedBlocks(const UnitSim &sim, uint8_t command)
{
    return blocksOf(withoutResends(requestsOf(sim, command)));
}

QVector<uint32_t> range(uint32_t from, uint32_t to)
{
    QVector<uint32_t> out;
    for (uint32_t i = from; i <= to; ++i)
        out.append(i);
    return out;
}

QVector<int32_t> widened(const QVector<int16_t> &samples)
{
    QVector<int32_t> out;
    for (int16_t s : samples)
        out.append(s);
    return out;
}

} // namespace

class TestLogTransfer : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void logRoundTrip_data();
    void logRoundTrip();
    void droppedBlockIsRetried();
    void brokenTransferResumes();
    void missingBlockIsReported();
    void sizeNotWholeRecords();
    void malformedBlocksAreSurvived_data();
    void malformedBlocksAreSurvived();
    void stuckUnitEndsWithError();
    void lateCopiesDoNotTouchAFinishedTransfer();
    void measurementRoundTrip_data();
    void measurementRoundTrip();
    void measurementFailures_data();
    void measurementFailures();

private:
    SimLink m_link;
    UnitSim *sim() { return m_link.sim.get(); }
    UnitSimBlocks *blocks() { return UnitSimBlocks::of(m_link.sim.get()); }
    EthernetHandler *eth() { return m_link.handler(); }

    // The whole log, as the log page asks for it.
    errorCode_e readLog()
    {
        LogBlockHeader request;
        return eth()->readLog(&request);
    }
    QVector<LogRecord> entries()
    {
        QVector<LogRecord> out;
        eth()->getLogEntries(out);
        return out;
    }
};

void TestLogTransfer::init()
{
    KORVANTIS_REQUIRE_TESTNET();
    QVERIFY(m_link.start(kUnit, 2, SimLink::quietTimings()));
    m_link.connectToUnit();
    sim()->clearRequestLog();
}

void TestLogTransfer::cleanup()
{
    m_link.device.reset();
    m_link.sim.reset();
}

void TestLogTransfer::logRoundTrip_data()
{
    QTest::addColumn<int>("records");
    QTest::addColumn<int>("erased");
    QTest::addColumn<int>("blockSize");

    QTest::newRow("empty log: one empty block") << 0 << 0 << 1470;
    QTest::newRow("one record") << 1 << 0 << 1470;
    QTest::newRow("records straddle 1470-byte blocks") << 1000 << 56 << 1470;
    QTest::newRow("exactly one full block of 1440") << 45 << 0 << 1440;
    QTest::newRow("small blocks, erased tail") << 30 << 20 << 100;
    QTest::newRow("only erased slots") << 0 << 64 << 1470;
}

void TestLogTransfer::logRoundTrip()
{
    QFETCH(int, records);
    QFETCH(int, erased);
    QFETCH(int, blockSize);

    blocks()->setLogRecords(records, erased);
    blocks()->setBlockSize(blockSize);
    const QByteArray area = blocks()->logArea();
    const int size = area.size();
    const uint32_t last = size == 0 ? 0u : uint32_t((size + blockSize - 1) / blockSize - 1);

    QSignalSpy init(eth(), &EthernetHandler::initProgressbar);
    QSignalSpy max(eth(), &EthernetHandler::setMaxProgressbar);
    QSignalSpy update(eth(), &EthernetHandler::updateProgressbar);
    QSignalSpy deinit(eth(), &EthernetHandler::deinitProgressbar);

    LogBlockHeader request;
    QCOMPARE(eth()->readLog(request), ERR_OK);
    // The caller's header follows the transfer.
    QCOMPARE(request.blockIndex, last);

    // Every slot comes back as it is on the unit ...
    const QVector<LogRecord> got = entries();
    QCOMPARE(got.size(), records + erased);
    QCOMPARE(bytesOf(got), area);
    // ... and the erased ones are exactly the slots after the records.
    QVector<LogRecord> kept;
    for (const LogRecord &r : got) {
        if (!r.isErased())
            kept.append(r);
    }
    QCOMPARE(bytesOf(kept), UnitSimBlocks::makeLogRecords(records));

    // One request per block, in order, each a 20-byte header.
    QCOMPARE(requestedBlocks(*sim(), EthernetHandler::CmdReadLog), range(0, last));
    for (const UnitSimRequest &r : requestsOf(*sim(), EthernetHandler::CmdReadLog))
        QCOMPARE(r.payload.size(), LogBlockHeader::kSize);

    QCOMPARE(init.size(), 1);
    QCOMPARE(init.at(0).at(0).toString(), QStringLiteral("Reading Log..."));
    QCOMPARE(init.at(0).at(1).value<uint32_t>(), 100u);
    QCOMPARE(max.size(), int(last));
    for (const auto &m : max)
        QCOMPARE(m.at(0).value<uint32_t>(), last);
    QCOMPARE(update.size(), int(last));
    for (int i = 0; i < update.size(); ++i)
        QCOMPARE(update.at(i).at(0).value<uint32_t>(), uint32_t(i));
    QCOMPARE(deinit.size(), 1);

    // Reading again gives the same log.
    QCOMPARE(readLog(), ERR_OK);
    QCOMPARE(bytesOf(entries()), area);
}

void TestLogTransfer::droppedBlockIsRetried()
{
    blocks()->setLogRecords(300, 10);
    blocks()->faults().dropBlock = 2;
    blocks()->faults().dropTimes = 1;

    QCOMPARE(readLog(), ERR_OK);
    QCOMPARE(bytesOf(entries()), blocks()->logArea());

    // Each block was asked for once; block 2's request went out again as
    // the very same frame (a resend, no new request).
    QCOMPARE(requestedBlocks(*sim(), EthernetHandler::CmdReadLog), range(0, 6));
    QVector<QByteArray> block2;
    for (const UnitSimRequest &r : requestsOf(*sim(), EthernetHandler::CmdReadLog)) {
        if (blocksOf({r}) == QVector<uint32_t>{2})
            block2.append(r.datagram);
    }
    QVERIFY(block2.size() >= 2);
    QVERIFY(std::all_of(block2.cbegin(), block2.cend(), [&](const QByteArray &d) { return d == block2.first(); }));
}

void TestLogTransfer::brokenTransferResumes()
{
    blocks()->setLogRecords(300, 10);
    blocks()->faults().dropBlock = 3;
    blocks()->faults().dropTimes = 3;

    QCOMPARE(eth()->readLog(nullptr), ERR_INVALID_PARAM);
    QSignalSpy deinit(eth(), &EthernetHandler::deinitProgressbar);
    QCOMPARE(readLog(), ERR_TIMEOUT);
    QCOMPARE(deinit.size(), 1);
    QVERIFY(entries().isEmpty());

    // The next read goes on after the last block received.
    sim()->clearRequestLog();
    QCOMPARE(readLog(), ERR_OK);
    QCOMPARE(requestedBlocks(*sim(), EthernetHandler::CmdReadLog), range(3, 6));
    QCOMPARE(bytesOf(entries()), blocks()->logArea());
}

void TestLogTransfer::missingBlockIsReported()
{
    blocks()->setLogRecords(300, 10);
    // Asked for block 2, the unit sends block 3: block 2 never comes.
    blocks()->faults().skipBlock = 2;

    QTest::ignoreMessage(QtDebugMsg, QRegularExpression(QStringLiteral("^Detected Missing Block 2$")));
    QCOMPARE(readLog(), ERR_DATA_SIZE);
    QCOMPARE(eth()->logTransfer().missingBlocks(), QVector<uint32_t>{2});
    // A log with a hole would be cut into shifted records: none are given.
    QVERIFY(entries().isEmpty());

    // A clean read afterwards is whole again.
    QCOMPARE(readLog(), ERR_OK);
    QCOMPARE(bytesOf(entries()), blocks()->logArea());
}

void TestLogTransfer::sizeNotWholeRecords()
{
    const QByteArray area = UnitSimBlocks::makeLogRecords(100) + QByteArray(7, char(0xA5));
    blocks()->setLogArea(area);

    // The transfer itself is fine and brings every byte ...
    QCOMPARE(readLog(), ERR_OK);
    QCOMPARE(eth()->logTransfer().joinedBytes(), area);
    // ... but a log that is not whole records gives none.
    QTest::ignoreMessage(QtDebugMsg, "Error Log size");
    QVERIFY(entries().isEmpty());
}

void TestLogTransfer::malformedBlocksAreSurvived_data()
{
    QTest::addColumn<QString>("fault");
    QTest::newRow("answer without a complete header") << QStringLiteral("short");
    QTest::newRow("data count beyond the payload") << QStringLiteral("overclaim");
    QTest::newRow("answer with a bad CRC") << QStringLiteral("crc");
    QTest::newRow("answer for another sequence number") << QStringLiteral("sequence");
}

void TestLogTransfer::malformedBlocksAreSurvived()
{
    QFETCH(QString, fault);
    blocks()->setLogRecords(300, 10);
    if (fault == QLatin1String("short"))
        blocks()->faults().shortBlock = 1;
    else if (fault == QLatin1String("overclaim"))
        blocks()->faults().overclaimBlock = 1;
    else if (fault == QLatin1String("crc"))
        sim()->faults().corruptCrc = 1;
    else
        sim()->faults().wrongSequence = 1;

    QCOMPARE(readLog(), ERR_OK);
    QCOMPARE(bytesOf(entries()), blocks()->logArea());
}

void TestLogTransfer::stuckUnitEndsWithError()
{
    blocks()->setLogRecords(300, 10);
    // From block 2 on the unit answers block 2, whatever is asked.
    blocks()->faults().repeatBlock = 2;

    QCOMPARE(readLog(), ERR_RESPONSE);
    // Blocks 0 to 2, then a bounded number of passes that bring nothing new.
    QCOMPARE(requestedBlocks(*sim(), EthernetHandler::CmdReadLog).size(), 3 + BlockTransferRun::kMaxStalledPasses);
    QVERIFY(!eth()->logTransfer().hasHeaders());

    // The stalled collection is gone: the next read starts at block 0.
    blocks()->faults().repeatBlock = -1;
    sim()->clearRequestLog();
    QCOMPARE(readLog(), ERR_OK);
    QCOMPARE(requestedBlocks(*sim(), EthernetHandler::CmdReadLog).constFirst(), 0u);
    QCOMPARE(bytesOf(entries()), blocks()->logArea());
}

void TestLogTransfer::lateCopiesDoNotTouchAFinishedTransfer()
{
    blocks()->setLogRecords(200, 56);
    // Every answer arrives twice, the copy after the request it answered has
    // already ended; the copy of the last block lands after the transfer.
    sim()->faults().duplicateAnswers = 1000;
    QCOMPARE(readLog(), ERR_OK);
    // The copy of the last block has been handled.
    QVERIFY(m_link.handlerHasReadAll());
    QVERIFY(eth()->logTransfer().isComplete());
    QVERIFY(!eth()->logTransfer().hasHeaders());
    QCOMPARE(bytesOf(entries()), blocks()->logArea());

    // An answer nobody asked for is not taken either.
    LogBlockHeader stray;
    stray.dataCount = 4;
    sim()->sendFrame(FrameFlag::Answer, EthernetHandler::CmdReadLog, eth()->sequenceNumber(),
                     stray.toByteArray() + QByteArray(4, '\x01'), sim()->lastPeer(), sim()->lastPeerPort());
    QVERIFY(m_link.handlerHasReadAll());
    QCOMPARE(bytesOf(entries()), blocks()->logArea());
    QVERIFY(eth()->logTransfer().isComplete());
}

void TestLogTransfer::measurementRoundTrip_data()
{
    QTest::addColumn<int>("step");
    QTest::addColumn<int>("channel");
    QTest::addColumn<int>("blockSize");

    QTest::newRow("raw input, channel 0") << 0 << 0 << 1470;
    QTest::newRow("processed, channel 6") << 1 << 6 << 1470;
    QTest::newRow("mean segments, channel 3, small blocks") << 2 << 3 << 30;
    QTest::newRow("SKW statistics, channel 1") << 5 << 1 << 1470;
    QTest::newRow("odd block size keeps samples whole") << 0 << 2 << 1001;
}

void TestLogTransfer::measurementRoundTrip()
{
    QFETCH(int, step);
    QFETCH(int, channel);
    QFETCH(int, blockSize);
    blocks()->setBlockSize(blockSize);
    const QVector<int16_t> samples = blocks()->measurement(step, channel);
    QVERIFY(!samples.isEmpty());

    LogBlockHeader request;
    request.word1 = uint32_t(step);
    request.word2 = uint32_t(channel);
    QSignalSpy init(eth(), &EthernetHandler::initProgressbar);
    QCOMPARE(eth()->readData(request), ERR_OK);
    QVector<int32_t> values;
    eth()->getDataBuffer(values);
    QCOMPARE(values, widened(samples));
    QCOMPARE(init.size(), 0);

    // Every request names the step and the channel and advances the block.
    const QVector<UnitSimRequest> requests = withoutResends(requestsOf(*sim(), EthernetHandler::CmdReadData));
    const int wholeBlock = blockSize & ~1;
    QCOMPARE(requests.size(), (samples.size() * 2 + wholeBlock - 1) / wholeBlock);
    for (int i = 0; i < requests.size(); ++i) {
        const auto h = LogBlockHeader::fromBytes(reinterpret_cast<const uint8_t *>(requests.at(i).payload.constData()));
        QCOMPARE(h.blockIndex, uint32_t(i));
        QCOMPARE(h.word1, uint32_t(step));
        QCOMPARE(h.word2, uint32_t(channel));
    }

    // The next channel's transfer replaces the values.
    request = LogBlockHeader();
    request.word1 = uint32_t(step);
    request.word2 = uint32_t((channel + 1) % 7);
    QCOMPARE(eth()->readData(request), ERR_OK);
    eth()->getDataBuffer(values);
    QCOMPARE(values, widened(blocks()->measurement(step, (channel + 1) % 7)));
}

void TestLogTransfer::measurementFailures_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<int>("step");
    QTest::addColumn<int>("result");

    QTest::newRow("no run since restart: no values") << QStringLiteral("nodata") << 0 << int(ERR_OK);
    QTest::newRow("unknown step: the unit's status") << QString() << 9 << int(ERR_DATA_NOT_SUPPORTED);
    QTest::newRow("missing block") << QStringLiteral("skip") << 0 << int(ERR_DATA_SIZE);
    QTest::newRow("block index does not advance") << QStringLiteral("repeat") << 0 << int(ERR_RESPONSE);
    QTest::newRow("unit silent") << QStringLiteral("silent") << 0 << int(ERR_TIMEOUT);
}

void TestLogTransfer::measurementFailures()
{
    QFETCH(QString, fault);
    QFETCH(int, step);
    QFETCH(int, result);

    // Values of an earlier transfer must not linger.
    LogBlockHeader first;
    first.word2 = 1;
    QCOMPARE(eth()->readData(first), ERR_OK);

    blocks()->setBlockSize(200);
    if (fault == QLatin1String("nodata"))
        blocks()->clearMeasurements();
    else if (fault == QLatin1String("skip"))
        blocks()->faults().skipBlock = 1;
    else if (fault == QLatin1String("repeat"))
        blocks()->faults().repeatBlock = 1;
    else if (fault == QLatin1String("silent"))
        sim()->faults().silent = true;

    LogBlockHeader request;
    request.word1 = uint32_t(step);
    request.word2 = 2;
    QCOMPARE(int(eth()->readData(request)), result);
    QVector<int32_t> values{1, 2, 3};
    eth()->getDataBuffer(values);
    QVERIFY(values.isEmpty());
}

QTEST_MAIN(TestLogTransfer)
#include "tst_logtransfer.moc"
