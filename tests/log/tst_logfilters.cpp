#include <QAbstractItemModelTester>
#include <QtTest>

#include "logentry.h"
#include "logentrydetail.h"
#include "logentryinfo.h"
#include "logfilterids.h"
#include "logfilters.h"
#include "logfixture.h"
#include "treemodel.h"

namespace {

// A lubrication event with the given SKW values of channels 1..7.
LogRecord lubrication(uint32_t time, const QList<int> &skw, bool reference = false)
{
    RecordBuilder b(time, reference ? 0x04040180 : 0x04040080);
    for (int i = 0; i < skw.size(); ++i)
        b.u16(9 + 2 * i, uint16_t(skw.at(i)));
    return b;
}

// An entry that claims a lubrication ID but has other rows, as a damaged or
// future record might.
class OddEntry : public LogEntryBase
{
public:
    OddEntry(uint32_t time, LogEntryBase *parent, int rows)
        : LogEntryBase(parent)
        , m_time(time)
    {
        for (int i = 0; i < rows; ++i)
            appendNew<LogEntryDetail>(QStringLiteral("row"), QVariant(50), this);
    }
    QVariant data(const QModelIndex &index, int role) const override
    {
        if (role == Qt::UserRole && index.column() == 0)
            return uint(m_time);
        if (role == Qt::UserRole && index.column() == 1)
            return uint(0x04040080);
        return QVariant();
    }

private:
    uint32_t m_time;
};

struct Log
{
    TreeModel model;
    QObject owner;
    LogFilters filters{&model, &owner};

    void show(const QVector<LogRecord> &records)
    {
        model.resetModel();
        LogEntryBase *root = model.rootItem();
        root->appendNew<LogEntryinfo>(VersionInfo(nullptr), root);
        for (const LogRecord &r : records)
            root->appendNew<LogEntry>(r, root);
        model.notifyReset();
    }
};

using Points = QVector<SkwHistory::Point>;

} // namespace

class TestLogFilters : public QObject
{
    Q_OBJECT

private slots:
    void idSets_data();
    void idSets();
    void historyOfALog();
    void entriesWithOtherRowsAreLeftOut();
    void aLogWithoutLubricationHasNoSkwSeries();
    void filtersPassTheModelTester();
};

void TestLogFilters::idSets_data()
{
    QTest::addColumn<int>("id");
    QTest::addColumn<bool>("lubrication");
    QTest::addColumn<bool>("error");
    QTest::addColumn<bool>("configuration");
    QTest::newRow("measurement lubrication") << 0x04040080 << true << false << false;
    QTest::newRow("reference lubrication") << 0x04040180 << true << false << false;
    QTest::newRow("run statistics") << 0x04040010 << false << false << false;
    QTest::newRow("start-up failed") << 0x04030512 << false << false << false;
    QTest::newRow("error reset") << 0x04030600 << false << false << false;
    QTest::newRow("output overload") << 0x04030D00 << false << true << false;
    QTest::newRow("i2c family end") << 0x040301FF << false << true << false;
    QTest::newRow("bias voltage") << 0x04030305 << false << true << false;
    QTest::newRow("trigger timing") << 0x04030710 << false << true << false;
    QTest::newRow("below errors") << 0x040300FF << false << false << false;
    QTest::newRow("above errors") << 0x04030E00 << false << false << false;
    QTest::newRow("device settings") << 0x04010B7F << false << false << true;
    QTest::newRow("threshold") << 0x04010508 << false << false << true;
    QTest::newRow("current family end") << 0x04010DFF << false << false << true;
    QTest::newRow("scale") << 0x04010600 << false << false << false;
    QTest::newRow("common settings") << 0x04010800 << false << false << false;
}

void TestLogFilters::idSets()
{
    QFETCH(int, id);
    QFETCH(bool, lubrication);
    QFETCH(bool, error);
    QFETCH(bool, configuration);
    QCOMPARE(LogFilterIds::lubrication().contains(id), lubrication);
    QCOMPARE(LogFilterIds::errors().contains(id), error);
    QCOMPARE(LogFilterIds::configuration().contains(id), configuration);
    QCOMPARE(LogFilterIds::errors().size(), 11 * 256);
    QCOMPARE(LogFilterIds::configuration().size(), 5 * 256);
}

void TestLogFilters::historyOfALog()
{
    Log log;
    log.show({RecordBuilder(10, 0x04030500), lubrication(5000, {10, -1, 20, -1, -1, -1, 30}, true),
              RecordBuilder(5100, 0x04030B00).u8(8, 1), lubrication(0x80000001u, {1, 2, 3, 4, 5, 6, 7}),
              RecordBuilder(5200, 0x04010508), RecordBuilder(5300, 0x04030600), RecordBuilder(5400, 0x04030D03),
              lubrication(6000, {11, 0, 0, 0, 0, 0, -32768})});
    const SkwHistory h = log.filters.collect();
    // A time stamp beyond the int range counts as 0.
    QCOMPARE(h.channels[0], Points({{5000, 10}, {0, 1}, {6000, 11}}));
    QCOMPARE(h.channels[1], Points({{0, 2}, {6000, 0}}));
    QCOMPARE(h.channels[2], Points({{5000, 20}, {0, 3}, {6000, 0}}));
    QCOMPARE(h.channels[6], Points({{5000, 30}, {0, 7}}));
    QCOMPARE(h.errors, QVector<int>({5100, 5400}));
    QCOMPARE(h.configurations, QVector<int>({5200}));
    QCOMPARE(h.longestSeries(), 3);
    // The information entry and the other entries are in no filter.
    QCOMPARE(log.filters.graphFilter()->rowCount(), 3);
}

void TestLogFilters::entriesWithOtherRowsAreLeftOut()
{
    Log log;
    log.show({lubrication(100, {1, 1, 1, 1, 1, 1, 1})});
    LogEntryBase *root = log.model.rootItem();
    root->appendNew<OddEntry>(200, root, 7);
    root->appendNew<OddEntry>(300, root, 9);
    log.model.notifyReset();
    QCOMPARE(log.filters.graphFilter()->rowCount(), 3);
    const SkwHistory h = log.filters.collect();
    for (const auto &c : h.channels)
        QCOMPARE(c, Points({{100, 1}}));
}

void TestLogFilters::aLogWithoutLubricationHasNoSkwSeries()
{
    Log log;
    log.show({lubrication(100, {1, 2, 3, 4, 5, 6, 7})});
    QVERIFY(!log.filters.collect().channels[0].isEmpty());
    log.show({RecordBuilder(7, 0x04030800), RecordBuilder(8, 0x04010C00)});
    const SkwHistory h = log.filters.collect();
    for (const auto &c : h.channels)
        QVERIFY(c.isEmpty());
    QCOMPARE(h.errors, QVector<int>{7});
    QCOMPARE(h.configurations, QVector<int>{8});
    log.show({});
    QVERIFY(log.filters.collect().isEmpty());
}

void TestLogFilters::filtersPassTheModelTester()
{
    Log log;
    QAbstractItemModelTester graph(log.filters.graphFilter(), QAbstractItemModelTester::FailureReportingMode::QtTest);
    QAbstractItemModelTester errors(log.filters.errorFilter(), QAbstractItemModelTester::FailureReportingMode::QtTest);
    log.show({lubrication(1, {1, 2, 3, 4, 5, 6, 7}), RecordBuilder(2, 0x04030D01), RecordBuilder(3, 0x04010A10)});
    QCOMPARE(log.filters.errorFilter()->rowCount(), 1);
    QCOMPARE(log.filters.configFilter()->rowCount(), 1);
    // The rows below an accepted entry are offered too and have no ID.
    const QModelIndex entry = log.filters.graphFilter()->index(0, 0);
    QCOMPARE(log.filters.graphFilter()->rowCount(entry), 0);
    log.show({});
}

QTEST_GUILESS_MAIN(TestLogFilters)
#include "tst_logfilters.moc"
