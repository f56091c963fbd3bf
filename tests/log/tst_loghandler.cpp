#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include "logentryinfo.h"
#include "logfile.h"
#include "logfixture.h"
#include "device.h"
#include "linegraph.h"
#include "loghandlercont.h"
#include "metatypes.h"
#include "unitsimblocks.h"

namespace {

QVector<LogRecord> simulatedLog(int count, int erased = 0)
{
    const QByteArray bytes = UnitSimBlocks::makeLogRecords(count) + QByteArray(erased * 32, char(0xFF));
    QVector<LogRecord> records;
    for (int at = 0; at < bytes.size(); at += LogRecord::kSize)
        records << LogRecord::fromBytes(reinterpret_cast<const uint8_t *>(bytes.constData()) + at);
    return records;
}

QByteArray readFile(const QString &name)
{
    QFile f(name);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

VersionInfo unitVersion()
{
    ProductInfoRecord unit;
    unit.firmwareMajor = 3;
    unit.firmwareMinor = 11;
    unit.firmwareBuild = 77;
    return VersionInfo(&unit);
}

} // namespace

class TestLogHandler : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { registerMetaTypes(); }
    void init();
    void cleanup();
    void noTreeRefuses();
    void evaluationShowsEveryRecordButErasedOnes();
    void emptyLogProgress();
    void sameLogTwiceGivesTheSameTree();
    void newLogWithoutLubricationClearsTheHistory();
    void evaluationDuringEvaluationIsRefused();
    void files();
    void importRefusesADamagedFileAndKeepsTheLog();
    void importOfAFileCutInsideItsRecords();
    void failingWriteKeepsTheOldFile();
    void csvWithNothingToWrite();
    void labels_data();
    void labels();
    void graphShowsTheChosenChannels();
    void oneLubricationEventIsDrawnAndLabelled();

private:
    LoghandlerCont &handler() { return LoghandlerCont::instance(); }
    TreeModel *m_tree = nullptr;
    QTemporaryDir m_dir;
};

void TestLogHandler::init()
{
    m_tree = new TreeModel;
    handler().setTreeModel(m_tree);
}

void TestLogHandler::cleanup()
{
    handler().setTreeModel(nullptr);
    delete m_tree;
    m_tree = nullptr;
}

void TestLogHandler::noTreeRefuses()
{
    handler().setTreeModel(nullptr);
    QCOMPARE(handler().readLog(), ERR_INVALID_PARAM);
    QCOMPARE(handler().evaluateLog({}, VersionInfo(nullptr)), int(ERR_INVALID_PARAM));
    QCOMPARE(handler().importLogFile(m_dir.filePath("x.hex")), int(ERR_INVALID_PARAM));
}

void TestLogHandler::evaluationShowsEveryRecordButErasedOnes()
{
    QVector<LogRecord> records = simulatedLog(40, 3);
    records.insert(10, LogRecord::fromBytes(reinterpret_cast<const uint8_t *>(QByteArray(32, char(0xFF)).constData())));
    QSignalSpy init(&handler(), &LoghandlerCont::initProgressbar);
    QSignalSpy update(&handler(), &LoghandlerCont::updateProgressbar);
    QSignalSpy done(&handler(), &LoghandlerCont::deinitProgressbar);
    QCOMPARE(handler().evaluateLog(records, unitVersion()), 0);

    QCOMPARE(m_tree->rowCount(), 40 + 1);
    QVERIFY(dynamic_cast<LogEntryinfo *>(m_tree->rootItem()->child(0)));
    QCOMPARE(init.count(), 1);
    QCOMPARE(init.at(0).at(0).toString(), QStringLiteral("Evaluating Log..."));
    QCOMPARE(init.at(0).at(1).value<uint32_t>(), uint32_t(records.size() - 1));
    QCOMPARE(update.count(), records.size());
    QCOMPARE(update.last().at(0).value<uint32_t>(), uint32_t(records.size() - 1));
    QCOMPARE(done.count(), 1);
    // Records keep the unit's order.
    const QVector<LogRecord> all = simulatedLog(40);
    QCOMPARE(m_tree->index(1, 0).data(Qt::UserRole).toUInt(), all.at(0).timeStamp());
    QCOMPARE(m_tree->index(40, 1).data(Qt::UserRole).toUInt(), all.at(39).eventId());
    QVERIFY(!handler().skwHistory().channels[0].isEmpty());
}

void TestLogHandler::emptyLogProgress()
{
    QSignalSpy init(&handler(), &LoghandlerCont::initProgressbar);
    QSignalSpy update(&handler(), &LoghandlerCont::updateProgressbar);
    QCOMPARE(handler().evaluateLog({}, unitVersion()), 0);
    QCOMPARE(m_tree->rowCount(), 1);
    QCOMPARE(init.at(0).at(1).value<uint32_t>(), 0u);
    QCOMPARE(update.count(), 0);
}

void TestLogHandler::sameLogTwiceGivesTheSameTree()
{
    const QVector<LogRecord> records = simulatedLog(300);
    handler().evaluateLog(records, unitVersion());
    const QString first = treeText(*m_tree->rootItem());
    const SkwHistory history = handler().skwHistory();
    handler().evaluateLog(records, unitVersion());
    QCOMPARE(m_tree->rowCount(), 301);
    QCOMPARE(treeText(*m_tree->rootItem()), first);
    QCOMPARE(handler().skwHistory(), history);
}

void TestLogHandler::newLogWithoutLubricationClearsTheHistory()
{
    handler().evaluateLog(simulatedLog(100), unitVersion());
    QVERIFY(!handler().skwHistory().channels[3].isEmpty());
    handler().evaluateLog({RecordBuilder(5, 0x04030C00)}, unitVersion());
    for (const auto &c : handler().skwHistory().channels)
        QVERIFY(c.isEmpty());
    QCOMPARE(handler().skwHistory().errors, QVector<int>{5});
}

void TestLogHandler::evaluationDuringEvaluationIsRefused()
{
    // The evaluation lets the event loop run; a second one started from
    // there (a click, a page switch) must not mix its entries in.
    int nested = 1;
    QTimer::singleShot(0, this, [&] { nested = handler().evaluateLog(simulatedLog(5), unitVersion()); });
    QCOMPARE(handler().evaluateLog(simulatedLog(200), unitVersion()), 0);
    QCOMPARE(nested, int(ERR_ALREADY_WAITING));
    QCOMPARE(m_tree->rowCount(), 201);
    QVERIFY(!handler().isBusy());
}

void TestLogHandler::files()
{
    const VersionInfo version = unitVersion();
    const QVector<LogRecord> records = simulatedLog(120, 4);
    handler().evaluateLog(records, version);
    const QString shown = treeText(*m_tree->rootItem());

    // Text export: the tree, exactly.
    QCOMPARE(handler().writeLogText(m_dir.filePath("log")), 0);
    QCOMPARE(QString::fromUtf8(readFile(m_dir.filePath("log.txt"))), shown);

    // LOG file: written, imported into the same tree.
    QCOMPARE(handler().writeLogFile(m_dir.filePath("unit7"), version), 0);
    const QByteArray file = readFile(m_dir.filePath("unit7.hex"));
    QCOMPARE(file, LogFile::toBytes(version, *m_tree->rootItem()));
    handler().evaluateLog({}, VersionInfo(nullptr));
    QString error;
    QCOMPARE(handler().importLogFile(m_dir.filePath("unit7.hex"), &error), 0);
    QCOMPARE(treeText(*m_tree->rootItem()), shown);
    // The imported log keeps its unit's identification for the next LOG file.
    QCOMPARE(handler().deviceIdentification().firmwareBuild, uint16_t(77));

    // CSV: the history of the shown log, name completed in place.
    QString csv = m_dir.filePath("history");
    QCOMPARE(handler().exportCSV(csv), 0);
    QCOMPARE(csv, m_dir.filePath("history.csv"));
    const QList<QByteArray> lines = readFile(csv).split('\n');
    QCOMPARE(lines.size(), handler().skwHistory().longestSeries() + 2);
    QVERIFY(lines.at(0).startsWith("\"Error Timestamp[s]\";"));
}

void TestLogHandler::importRefusesADamagedFileAndKeepsTheLog()
{
    handler().evaluateLog(simulatedLog(30), unitVersion());
    const QString shown = treeText(*m_tree->rootItem());
    QVERIFY(handler().writeLogFile(m_dir.filePath("good"), unitVersion()) == 0);
    const QByteArray good = readFile(m_dir.filePath("good.hex"));
    QFile cut(m_dir.filePath("cut.hex"));
    QVERIFY(cut.open(QIODevice::WriteOnly));
    // Cut inside the texts before the records: nothing of it can be trusted.
    cut.write(good.left(30));
    cut.close();

    QString error, warning;
    QCOMPARE(handler().importLogFile(m_dir.filePath("cut.hex"), &error, &warning), int(ERR_INVALID_FILE));
    QVERIFY2(error.contains(QStringLiteral("cut short")), qPrintable(error));
    QVERIFY(warning.isEmpty());
    QCOMPARE(treeText(*m_tree->rootItem()), shown);
    QCOMPARE(handler().importLogFile(m_dir.filePath("missing.hex"), &error), int(ERR_INVALID_FILE));
    QCOMPARE(treeText(*m_tree->rootItem()), shown);
}

void TestLogHandler::importOfAFileCutInsideItsRecords()
{
    handler().evaluateLog(simulatedLog(30), unitVersion());
    QVERIFY(handler().writeLogFile(m_dir.filePath("whole"), unitVersion()) == 0);
    const QByteArray whole = readFile(m_dir.filePath("whole.hex"));
    QFile cut(m_dir.filePath("cut-records.hex"));
    QVERIFY(cut.open(QIODevice::WriteOnly));
    cut.write(whole.left(whole.size() - 40));  // the last record and 8 bytes of the one before
    cut.close();

    handler().evaluateLog(simulatedLog(3), unitVersion());
    QString error, warning;
    QCOMPARE(handler().importLogFile(m_dir.filePath("cut-records.hex"), &error, &warning), 0);
    QVERIFY2(warning.contains(QStringLiteral("they need 960 bytes, but only 920 remain. The 28 whole records")),
             qPrintable(warning));
    // The information entry, then the 28 whole records, as the file had them.
    QCOMPARE(m_tree->rowCount(), 29);
    QCOMPARE(serialized(*m_tree->rootItem()).mid(4),
             readFile(m_dir.filePath("whole.hex")).right(960).left(28 * LogRecord::kSize));
    QCOMPARE(handler().deviceIdentification().firmwareBuild, uint16_t(77));
}

void TestLogHandler::failingWriteKeepsTheOldFile()
{
    handler().evaluateLog(simulatedLog(10), unitVersion());
    QVERIFY(QDir(m_dir.path()).mkpath("sub"));
    const QString target = m_dir.filePath("sub/old.hex");
    QFile old(target);
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("old content");
    old.close();
    // Writing into a folder that is a file fails; the old file elsewhere is
    // untouched, and a failed write into the target's folder leaves it too.
    QCOMPARE(handler().writeLogFile(m_dir.filePath("sub/old.hex/x"), unitVersion()), int(ERR_INVALID_FILE));
    QCOMPARE(readFile(target), QByteArray("old content"));
    QCOMPARE(handler().writeLogText(m_dir.filePath("sub/old.hex/x")), int(ERR_INVALID_FILE));
    QCOMPARE(readFile(target), QByteArray("old content"));
    QCOMPARE(handler().writeLogFile(target, unitVersion()), 0);
    QVERIFY(readFile(target) != QByteArray("old content"));
}

void TestLogHandler::csvWithNothingToWrite()
{
    handler().evaluateLog({RecordBuilder(1, 0x04030500)}, unitVersion());
    QString name = m_dir.filePath("nothing");
    QCOMPARE(handler().exportCSV(name), 0);
    QVERIFY(!QFile::exists(m_dir.filePath("nothing.csv")));
    QString blank = QStringLiteral("  ");
    handler().evaluateLog({RecordBuilder(1, 0x04030800)}, unitVersion());
    QCOMPARE(handler().exportCSV(blank), 0);
}

void TestLogHandler::labels_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("time");
    QTest::addColumn<QString>("integer");
    QTest::newRow("zero") << 0.0 << " 00:000 \t 00:00:00 "
                          << "0";
    QTest::newRow("each field") << double(31536000 + 86400 + 3723) << " 01:001 \t 01:02:03 "
                                << "31626123";
    QTest::newRow("years are not wrapped") << double(31536000LL * 50 + 7.9) << " 50:000 \t 00:00:07 "
                                           << "1576800007";
    QTest::newRow("negative") << -3.7 << "" << "-3";
    QTest::newRow("fraction") << 12.9 << " 00:000 \t 00:00:12 "
                              << "12";
    // Beyond the int range (an axis end far out) the value is held at the
    // range's end instead of overflowing.
    QTest::newRow("too large") << 1e12 << "" << "2147483647";
    QTest::newRow("too small") << -1e12 << "" << "-2147483648";
}

void TestLogHandler::labels()
{
    QFETCH(double, value);
    QFETCH(QString, time);
    QFETCH(QString, integer);
    if (!time.isEmpty())
        QCOMPARE(LoghandlerCont::timestampLabel(value), time);
    QCOMPARE(LoghandlerCont::integerLabel(value), integer);
}

void TestLogHandler::graphShowsTheChosenChannels()
{
    LineGraph graph;
    handler().initFilterModels(&graph);
    Confighandler *config = Device::instance()->confighandler();
    QCOMPARE(config->setChannelname(QStringLiteral("Main bearing"), 0), ERR_OK);
    QCOMPARE(config->setChannelname(QStringLiteral("Gearbox shaft left"), 2), ERR_OK);
    QVector<LogRecord> records{RecordBuilder(50, 0x04030800), RecordBuilder(60, 0x04010C00)};
    for (int i = 0; i < 4; ++i) {
        RecordBuilder b(100 * i, 0x04040080);
        b.u16(9, uint16_t(10 + i)).u16(13, uint16_t(i == 2 ? -1 : 30 + i)).u16(11, 0xFFFF);
        records << b;
    }
    handler().updateSKWGraphChnsel(0x7F);
    handler().evaluateLog(records, unitVersion());

    // Channel 1 has no value anywhere (-1): no series; channels 4..7 hold 0.
    QCOMPARE(graph.series().size(), 6);
    QCOMPARE(graph.series().at(0).name, QStringLiteral("Main bearing"));
    QCOMPARE(graph.series().at(0).description, QString());
    QCOMPARE(graph.series().at(1).name, QStringLiteral("Gearbox shaf ..."));
    QCOMPARE(graph.series().at(1).description, QStringLiteral("Gearbox shaft left"));
    QCOMPARE(graph.series().at(1).colorIndex, 2);
    QCOMPARE(handler().channelSeries(2)->rowCount(), 3);
    QCOMPARE(handler().channelSeries(2)->index(2, 0).data().toInt(), 300);
    QCOMPARE(handler().channelSeries(2)->index(2, 1).data().toInt(), 33);
    QCOMPARE(graph.xAxisTitle(), QStringLiteral("Timestamp Value"));
    QCOMPARE(graph.yAxisTitle(), QStringLiteral("SKW Value in digits"));
    const LinePlotData plot = graph.plotData();
    QVERIFY(plot.errorRow.shown);
    QCOMPARE(plot.errorRow.times, QVector<double>{50});
    QCOMPARE(plot.configRow.label, QStringLiteral("Configuration"));
    QCOMPARE(plot.xFormatter(3723), QStringLiteral(" 00:000 \t 01:02:03 "));
    QVERIFY(!graph.isHidden());

    handler().updateSKWGraphChnsel(0x04);
    QCOMPARE(graph.series().size(), 1);
    QVERIFY(!graph.isHidden());
    // Channel 2 (bit 1) has no points: nothing to show.
    handler().updateSKWGraphChnsel(0x02);
    QVERIFY(graph.isHidden());
    handler().updateSKWGraphChnsel(0x00);
    QVERIFY(graph.isHidden());
    QCOMPARE(graph.series().size(), 0);

    handler().updateSKWGraphChnsel(0x7F);
    handler().initFilterModels(nullptr);
    config->setChannelname(QString(), 0);
    config->setChannelname(QString(), 2);
}

void TestLogHandler::oneLubricationEventIsDrawnAndLabelled()
{
    // A log with one lubrication event: the history has one point per
    // channel, at one time stamp.
    LineGraph graph;
    graph.resize(800, 450);
    handler().initFilterModels(&graph);
    RecordBuilder b(3723, 0x04040080);
    b.u16(9, 120).u16(11, 0xFFFF).u16(13, 0xFFFF).u16(15, 0xFFFF).u16(17, 0xFFFF).u16(19, 0xFFFF).u16(21, 0xFFFF);
    handler().updateSKWGraphChnsel(0x01);
    QCOMPARE(handler().evaluateLog({b.record()}, unitVersion()), 0);
    QCOMPARE(graph.series().size(), 1);
    graph.show();
    QTRY_VERIFY_WITH_TIMEOUT(graph.renderCount() > 0 && graph.isUpToDate() && !graph.isRendering(), 20000);

    // One time label, the point's own, below the middle of the plot.
    const QVector<AxisLabel> labels = graph.xAxisLabels();
    QCOMPARE(labels.size(), 1);
    QCOMPARE(labels.constFirst().text, LoghandlerCont::timestampLabel(3723));
    QCOMPARE(labels.constFirst().shown, labels.constFirst().text);
    // The point: a dot of the channel's colour around the middle of the plot.
    const QImage image = graph.backBuffer().toImage();
    const int x = labels.constFirst().rect.center().x();
    int dot = 0;
    for (int dx = -4; dx <= 4; ++dx)
        for (int y = 0; y < image.height(); ++y)
            if (image.pixelColor(x + dx, y) == graph.seriesColor(0))
                ++dot;
    QVERIFY2(dot >= 5, qPrintable(QString::number(dot)));

    handler().updateSKWGraphChnsel(0x7F);
    handler().initFilterModels(nullptr);
}

QTEST_MAIN(TestLogHandler)
#include "tst_loghandler.moc"
