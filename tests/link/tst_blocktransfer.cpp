// The bookkeeping of block transfers, fed answer payloads directly.
#include <QtTest>

#include "blocktransfer.h"

namespace {

// One answer as a test writes it down.
struct Answer
{
    uint32_t block = 0;
    uint32_t last = 0;
    int dataBytes = 0;      // bytes actually in the payload after the header
    int claimed = -1;       // data count word; -1 = dataBytes
    uint32_t word1 = 7;
    uint32_t word2 = 3;
    int cutPayloadTo = -1;  // payload cut to this length (header included)
};

// Block data that tells blocks and positions apart.
QByteArray blockData(uint32_t block, int size, uint32_t word1)
{
    QByteArray data(size, '\0');
    for (int i = 0; i < size; ++i)
        data[i] = char((block * 31 + uint32_t(i) + word1 * 101) & 0xFF);
    return data;
}

QByteArray payloadOf(const Answer &a)
{
    LogBlockHeader h;
    h.dataCount = uint32_t(a.claimed < 0 ? a.dataBytes : a.claimed);
    h.blockIndex = a.block;
    h.lastBlockIndex = a.last;
    h.word1 = a.word1;
    h.word2 = a.word2;
    QByteArray p = h.toByteArray() + blockData(a.block, a.dataBytes, a.word1);
    if (a.cutPayloadTo >= 0)
        p.truncate(a.cutPayloadTo);
    return p;
}

Answer blk(uint32_t block, uint32_t last, int bytes = 40, uint32_t word1 = 7)
{
    Answer a;
    a.block = block;
    a.last = last;
    a.dataBytes = bytes;
    a.word1 = word1;
    return a;
}

using Taken = BlockTransfer::Taken;

} // namespace

Q_DECLARE_METATYPE(QVector<Answer>)
Q_DECLARE_METATYPE(QVector<BlockTransfer::Taken>)
Q_DECLARE_METATYPE(QVector<uint32_t>)

class TestBlockTransfer : public QObject
{
    Q_OBJECT
private slots:
    void logTransfer_data();
    void logTransfer();
    void joinIsBoundedByTheLastBlockIndex();
    void measurementSamples_data();
    void measurementSamples();
    void newTransferAfterDoneKeepsResultUntilJoined();
    void nextRequestIndex();
    void runStopsWhenNoBlockArrives();
    void runDeadlineFollowsTheLastBlockIndex();
    void runDoneAndOverdue();
    void splitRecords_data();
    void splitRecords();
};

void TestBlockTransfer::logTransfer_data()
{
    QTest::addColumn<QVector<Answer>>("answers");
    QTest::addColumn<QVector<Taken>>("taken");
    QTest::addColumn<QByteArray>("joined");
    QTest::addColumn<QVector<uint32_t>>("missing");
    QTest::addColumn<bool>("done");

    auto data = [](uint32_t block, int size, uint32_t word1 = 7) { return blockData(block, size, word1); };

    QTest::newRow("one block completes with the first answer")
        << QVector<Answer>{blk(0, 0, 64)} << QVector<Taken>{Taken::Completed} << data(0, 64)
        << QVector<uint32_t>{} << true;
    QTest::newRow("blocks in order")
        << QVector<Answer>{blk(0, 2, 1470), blk(1, 2, 1470), blk(2, 2, 100)}
        << QVector<Taken>{Taken::Stored, Taken::Stored, Taken::Completed}
        << data(0, 1470) + data(1, 1470) + data(2, 100) << QVector<uint32_t>{} << true;
    QTest::newRow("0, 1, 3 of 3: block 2 missing")
        << QVector<Answer>{blk(0, 3), blk(1, 3), blk(3, 3)}
        << QVector<Taken>{Taken::Stored, Taken::Stored, Taken::Completed} << data(0, 40) + data(1, 40) + data(3, 40)
        << QVector<uint32_t>{2} << true;
    QTest::newRow("a repeated block adds nothing")
        << QVector<Answer>{blk(0, 2), blk(1, 2), blk(1, 2, 8), blk(2, 2)}
        << QVector<Taken>{Taken::Stored, Taken::Stored, Taken::Duplicate, Taken::Completed}
        << data(0, 40) + data(1, 40) + data(2, 40) << QVector<uint32_t>{} << true;
    QTest::newRow("other transfer words start afresh")
        << QVector<Answer>{blk(0, 2, 40, 1), blk(1, 2, 40, 1), blk(0, 1, 40, 2), blk(1, 1, 40, 2)}
        << QVector<Taken>{Taken::Stored, Taken::Stored, Taken::Stored, Taken::Completed}
        << data(0, 40, 2) + data(1, 40, 2) << QVector<uint32_t>{} << true;
    QTest::newRow("the last block first ends the transfer with the rest missing")
        << QVector<Answer>{blk(2, 2), blk(0, 2)} << QVector<Taken>{Taken::Completed, Taken::Stored}
        << data(2, 40) << QVector<uint32_t>{0, 1} << false;
    QTest::newRow("an empty block is a block")
        << QVector<Answer>{blk(0, 1, 0), blk(1, 1, 5)} << QVector<Taken>{Taken::Stored, Taken::Completed}
        << data(1, 5) << QVector<uint32_t>{} << true;

    Answer overclaim = blk(0, 0, 10);
    overclaim.claimed = 1000;
    QTest::newRow("data count clamped to the bytes received")
        << QVector<Answer>{overclaim} << QVector<Taken>{Taken::Completed} << data(0, 10) << QVector<uint32_t>{} << true;

    Answer padded = blk(0, 0, 12);
    padded.claimed = 11;  // the frame's pad byte follows an odd count
    QTest::newRow("data count below the payload: the count wins")
        << QVector<Answer>{padded} << QVector<Taken>{Taken::Completed} << data(0, 11) << QVector<uint32_t>{} << true;

    Answer cut = blk(1, 1);
    cut.cutPayloadTo = 19;
    Answer empty = blk(1, 1);
    empty.cutPayloadTo = 0;
    QTest::newRow("payload under 20 bytes dropped")
        << QVector<Answer>{blk(0, 1), cut, empty, blk(1, 1)}
        << QVector<Taken>{Taken::Stored, Taken::TooShort, Taken::TooShort, Taken::Completed}
        << data(0, 40) + data(1, 40) << QVector<uint32_t>{} << true;

    QTest::newRow("last-block index beyond the bound dropped")
        << QVector<Answer>{blk(0, BlockTransfer::kMaxLastBlockIndex + 1), blk(0, 0xFFFFFFFFu)}
        << QVector<Taken>{Taken::OutOfRange, Taken::OutOfRange} << QByteArray() << QVector<uint32_t>{} << false;
    QTest::newRow("block index beyond its last-block index dropped")
        << QVector<Answer>{blk(0, 1), blk(5, 1), blk(1, 1)}
        << QVector<Taken>{Taken::Stored, Taken::OutOfRange, Taken::Completed} << data(0, 40) + data(1, 40)
        << QVector<uint32_t>{} << true;
}

void TestBlockTransfer::logTransfer()
{
    QFETCH(QVector<Answer>, answers);
    QFETCH(QVector<Taken>, taken);
    QFETCH(QByteArray, joined);
    QFETCH(QVector<uint32_t>, missing);
    QFETCH(bool, done);

    BlockTransfer t(BlockTransfer::Kind::Bytes);
    QVector<Taken> got;
    for (const Answer &a : answers)
        got.append(t.take(payloadOf(a)));
    QCOMPARE(got, taken);
    QCOMPARE(t.joinedBytes(), joined);
    QCOMPARE(t.missingBlocks(), missing);
    QCOMPARE(t.isDone(), done);
    QCOMPARE(t.isComplete(), done && missing.isEmpty());
    QVERIFY(t.joinedValues().isEmpty());
    if (taken.constLast() == Taken::Completed) {
        // A finished transfer keeps only its result.
        QVERIFY(!t.hasHeaders());
        QCOMPARE(t.heldBlocks(), 0);
    }
}

void TestBlockTransfer::joinIsBoundedByTheLastBlockIndex()
{
    // The highest index taken: the join walks the whole range, the result
    // holds the one block there is.
    const uint32_t top = BlockTransfer::kMaxLastBlockIndex;
    BlockTransfer t(BlockTransfer::Kind::Bytes);
    QCOMPARE(t.take(payloadOf(blk(top, top, 4))), Taken::Completed);
    QCOMPARE(t.joinedBytes(), blockData(top, 4, 7));
    QCOMPARE(t.missingBlocks().size(), int(top));
    QCOMPARE(t.missingBlocks().constFirst(), 0u);
    QCOMPARE(t.missingBlocks().constLast(), top - 1);
}

void TestBlockTransfer::measurementSamples_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<int>("claimed");
    QTest::addColumn<QVector<int32_t>>("values");

    QTest::newRow("8 bytes give 4 values") << QByteArray::fromHex("0100ffff0080ff7f") << 8
                                           << QVector<int32_t>{1, -1, -32768, 32767};
    QTest::newRow("FF FF is -1") << QByteArray::fromHex("ffff") << 2 << QVector<int32_t>{-1};
    QTest::newRow("an odd count drops the half sample") << QByteArray::fromHex("020003") << 3
                                                        << QVector<int32_t>{2};
    QTest::newRow("count beyond the payload") << QByteArray::fromHex("0500") << 200 << QVector<int32_t>{5};
    QTest::newRow("no data") << QByteArray() << 0 << QVector<int32_t>{};
}

void TestBlockTransfer::measurementSamples()
{
    QFETCH(QByteArray, data);
    QFETCH(int, claimed);
    QFETCH(QVector<int32_t>, values);

    BlockTransfer t(BlockTransfer::Kind::Samples);
    LogBlockHeader h;
    h.dataCount = uint32_t(claimed);
    h.word1 = 0;
    h.word2 = 4;
    QCOMPARE(t.take(h.toByteArray() + data), Taken::Completed);
    QCOMPARE(t.joinedValues(), values);
    QVERIFY(t.joinedBytes().isEmpty());

    // Two blocks join in index order.
    BlockTransfer two(BlockTransfer::Kind::Samples);
    h.dataCount = 4;
    h.lastBlockIndex = 1;
    h.blockIndex = 0;
    QCOMPARE(two.take(h.toByteArray() + QByteArray::fromHex("0100feff")), Taken::Stored);
    h.blockIndex = 1;
    QCOMPARE(two.take(h.toByteArray() + QByteArray::fromHex("03000400")), Taken::Completed);
    QCOMPARE(two.joinedValues(), (QVector<int32_t>{1, -2, 3, 4}));
}

void TestBlockTransfer::newTransferAfterDoneKeepsResultUntilJoined()
{
    BlockTransfer t(BlockTransfer::Kind::Bytes);
    QCOMPARE(t.take(payloadOf(blk(0, 0, 32))), Taken::Completed);
    const QByteArray first = t.joinedBytes();
    t.clearDone();
    // The next transfer's first block leaves the old result alone ...
    QCOMPARE(t.take(payloadOf(blk(0, 1, 32))), Taken::Stored);
    QCOMPARE(t.joinedBytes(), first);
    QVERIFY(!t.isDone());
    // ... until its own last block replaces it.
    QCOMPARE(t.take(payloadOf(blk(1, 1, 32))), Taken::Completed);
    QCOMPARE(t.joinedBytes(), blockData(0, 32, 7) + blockData(1, 32, 7));

    t.reset();
    QVERIFY(t.joinedBytes().isEmpty());
    QVERIFY(!t.isDone());
}

void TestBlockTransfer::nextRequestIndex()
{
    BlockTransfer t(BlockTransfer::Kind::Bytes);
    QCOMPARE(t.nextRequestIndex(0), 0u);
    QCOMPARE(t.nextRequestIndex(9), 9u);
    t.take(payloadOf(blk(0, 5)));
    t.take(payloadOf(blk(3, 5)));
    QCOMPARE(t.nextRequestIndex(0), 4u);  // after the last received header
    t.take(payloadOf(blk(1, 5)));
    QCOMPARE(t.nextRequestIndex(0), 2u);
    t.dropCollection();
    QCOMPARE(t.nextRequestIndex(0), 0u);
}

void TestBlockTransfer::runStopsWhenNoBlockArrives()
{
    BlockTransfer t(BlockTransfer::Kind::Bytes);
    BlockTransferRun run(t, 100);

    // A new block each pass keeps it going.
    for (uint32_t i = 0; i < 5; ++i) {
        run.beginPass();
        t.take(payloadOf(blk(i, 9)));
        QCOMPARE(run.endPass(0), BlockTransferRun::Verdict::Continue);
    }
    // The unit answers block 4 over and over: the index does not advance.
    for (int i = 1; i < BlockTransferRun::kMaxStalledPasses; ++i) {
        run.beginPass();
        QCOMPARE(t.take(payloadOf(blk(4, 9))), Taken::Duplicate);
        QCOMPARE(run.endPass(0), BlockTransferRun::Verdict::Continue);
    }
    // One new block forgives the stalls so far.
    run.beginPass();
    t.take(payloadOf(blk(5, 9)));
    QCOMPARE(run.endPass(0), BlockTransferRun::Verdict::Continue);
    QCOMPARE(run.stalledPasses(), 0);

    // Answers that cannot be taken at all count as no progress too.
    Answer shortOne = blk(6, 9);
    shortOne.cutPayloadTo = 10;
    BlockTransferRun::Verdict v = BlockTransferRun::Verdict::Continue;
    int passes = 0;
    while (v == BlockTransferRun::Verdict::Continue && passes < 10) {
        run.beginPass();
        t.take(payloadOf(shortOne));
        v = run.endPass(0);
        ++passes;
    }
    QCOMPARE(v, BlockTransferRun::Verdict::Stalled);
    QCOMPARE(passes, BlockTransferRun::kMaxStalledPasses);
}

void TestBlockTransfer::runDeadlineFollowsTheLastBlockIndex()
{
    BlockTransfer t(BlockTransfer::Kind::Bytes);
    BlockTransferRun run(t, 1000);
    QCOMPARE(run.deadlineMs(), int64_t(25000));
    t.take(payloadOf(blk(0, 99)));
    QCOMPARE(run.deadlineMs(), int64_t(25000 + 100 * 3 * 1000));
    // Bounded whatever the unit claims.
    BlockTransfer big(BlockTransfer::Kind::Bytes);
    BlockTransferRun bigRun(big, 1000);
    big.take(payloadOf(blk(0, 0xFFFFFFF0u)));
    QCOMPARE(bigRun.deadlineMs(), int64_t(25000));
    big.take(payloadOf(blk(0, BlockTransfer::kMaxLastBlockIndex)));
    QCOMPARE(bigRun.deadlineMs(), int64_t(25000) + int64_t(BlockTransfer::kMaxLastBlockIndex + 1) * 3000);
}

void TestBlockTransfer::runDoneAndOverdue()
{
    BlockTransfer t(BlockTransfer::Kind::Bytes);
    BlockTransferRun run(t, 10);
    run.beginPass();
    t.take(payloadOf(blk(0, 1)));
    QCOMPARE(run.endPass(run.deadlineMs() + 1), BlockTransferRun::Verdict::Overdue);

    run.beginPass();
    t.take(payloadOf(blk(1, 1)));
    // Finishing wins over the clock.
    QCOMPARE(run.endPass(1000000), BlockTransferRun::Verdict::Done);
}

void TestBlockTransfer::splitRecords_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<int>("records");

    QTest::newRow("96 bytes, three records") << 96 << true << 3;
    QTest::newRow("100 bytes, none") << 100 << false << 0;
    QTest::newRow("empty log") << 0 << true << 0;
    QTest::newRow("31 bytes") << 31 << false << 0;
}

void TestBlockTransfer::splitRecords()
{
    QFETCH(int, size);
    QFETCH(bool, ok);
    QFETCH(int, records);

    QByteArray log(size, '\0');
    for (int i = 0; i < size; ++i)
        log[i] = char(i);
    QVector<LogRecord> out(5);
    QCOMPARE(splitLogRecords(log, out), ok);
    QCOMPARE(out.size(), records);
    for (int i = 0; i < out.size(); ++i)
        QCOMPARE(out.at(i).toByteArray(), log.mid(i * 32, 32));
}

QTEST_GUILESS_MAIN(TestBlockTransfer)
#include "tst_blocktransfer.moc"
