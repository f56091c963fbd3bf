// The simulator program's options for its log area, measurement data and
// block faults.
#include <QCommandLineParser>
#include <QTest>

#include "logrecords.h"
#include "unitsim.h"
#include "unitsimblocks.h"

class TestLogTransferOptions : public QObject
{
    Q_OBJECT
private slots:
    void defaults();
    void options();
    void badValues_data();
    void badValues();
};

namespace {

bool apply(const QStringList &args, UnitSim *sim, QString *error)
{
    QCommandLineParser parser;
    UnitSimBlocks::addOptions(parser);
    if (!parser.parse(QStringList{QStringLiteral("KorvantisUnitSim")} + args)) {
        *error = parser.errorText();
        return false;
    }
    return UnitSimBlocks::applyOptions(parser, sim, error);
}

} // namespace

void TestLogTransferOptions::defaults()
{
    UnitSim sim;
    UnitSimBlocks *blocks = UnitSimBlocks::of(&sim);
    QCOMPARE(UnitSimBlocks::of(&sim), blocks);  // one per unit
    const QByteArray area = blocks->logArea();
    QCOMPARE(area.size(), (UnitSimBlocks::kDefaultRecords + UnitSimBlocks::kDefaultErasedSlots) * LogRecord::kSize);
    QCOMPARE(area.left(UnitSimBlocks::kDefaultRecords * LogRecord::kSize),
             UnitSimBlocks::makeLogRecords(UnitSimBlocks::kDefaultRecords));
    QCOMPARE(area.mid(UnitSimBlocks::kDefaultRecords * LogRecord::kSize),
             QByteArray(UnitSimBlocks::kDefaultErasedSlots * LogRecord::kSize, char(0xFF)));
    QCOMPARE(blocks->blockSize(), 1470);

    // Generated records are never erased slots and their clock only runs forward.
    const QByteArray records = UnitSimBlocks::makeLogRecords(500);
    uint32_t previous = 0;
    for (int i = 0; i < 500; ++i) {
        const LogRecord r = LogRecord::fromBytes(reinterpret_cast<const uint8_t *>(records.constData()) + 32 * i);
        QVERIFY(!r.isErased());
        QVERIFY(r.timeStamp() > previous);
        previous = r.timeStamp();
    }
    for (int step = 0; step < UnitSimBlocks::kSteps; ++step) {
        for (int ch = 0; ch < UnitSimBlocks::kChannels; ++ch)
            QVERIFY(!blocks->measurement(step, ch).isEmpty());
    }
}

void TestLogTransferOptions::options()
{
    UnitSim sim;
    QString error;
    QVERIFY2(apply({QStringLiteral("--log-records"), QStringLiteral("10"), QStringLiteral("--log-erased"),
                    QStringLiteral("2"), QStringLiteral("--log-tail-bytes"), QStringLiteral("5"),
                    QStringLiteral("--block-size"), QStringLiteral("64"), QStringLiteral("--drop-block"),
                    QStringLiteral("1:2"), QStringLiteral("--skip-block"), QStringLiteral("3"),
                    QStringLiteral("--repeat-block"), QStringLiteral("4"), QStringLiteral("--no-measurement")},
                   &sim, &error),
             qPrintable(error));
    UnitSimBlocks *blocks = UnitSimBlocks::of(&sim);
    QCOMPARE(blocks->logArea(), UnitSimBlocks::makeLogRecords(10) + QByteArray(64, char(0xFF))
                                    + QByteArray(5, char(0xA5)));
    QCOMPARE(blocks->blockSize(), 64);
    QCOMPARE(blocks->faults().dropBlock, 1);
    QCOMPARE(blocks->faults().dropTimes, 2);
    QCOMPARE(blocks->faults().skipBlock, 3);
    QCOMPARE(blocks->faults().repeatBlock, 4);
    QVERIFY(blocks->measurement(0, 0).isEmpty());
}

void TestLogTransferOptions::badValues_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::newRow("negative record count") << QStringList{QStringLiteral("--log-records"), QStringLiteral("-1")};
    QTest::newRow("block size 0") << QStringList{QStringLiteral("--block-size"), QStringLiteral("0")};
    QTest::newRow("block size above a frame") << QStringList{QStringLiteral("--block-size"), QStringLiteral("1471")};
    QTest::newRow("drop-block with junk") << QStringList{QStringLiteral("--drop-block"), QStringLiteral("x")};
    QTest::newRow("drop-block with three parts") << QStringList{QStringLiteral("--drop-block"), QStringLiteral("1:2:3")};
    QTest::newRow("skip-block not a number") << QStringList{QStringLiteral("--skip-block"), QStringLiteral("two")};
    // Sizes whose byte count would overflow.
    QTest::newRow("records beyond a log area") << QStringList{QStringLiteral("--log-records"), QStringLiteral("100000000")};
    QTest::newRow("records and erased slots together too many")
        << QStringList{QStringLiteral("--log-records"), QStringLiteral("2000000"), QStringLiteral("--log-erased"),
                       QStringLiteral("1000001")};
    QTest::newRow("erased slots beyond a log area") << QStringList{QStringLiteral("--log-erased"), QStringLiteral("2147483647")};
    QTest::newRow("tail beyond a block") << QStringList{QStringLiteral("--log-tail-bytes"), QStringLiteral("2147483647")};
}

void TestLogTransferOptions::badValues()
{
    QFETCH(QStringList, args);
    UnitSim sim;
    const QByteArray before = UnitSimBlocks::of(&sim)->logArea();
    QString error;
    QVERIFY(!apply(args, &sim, &error));
    QVERIFY(!error.isEmpty());
    // A refused option leaves the unit as it was.
    QCOMPARE(UnitSimBlocks::of(&sim)->logArea(), before);
}

QTEST_GUILESS_MAIN(TestLogTransferOptions)
#include "tst_logtransfer_options.moc"
