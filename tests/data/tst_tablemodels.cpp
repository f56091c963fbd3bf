#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QtTest>

#include "simpletable.h"
#include "xyselectlineproxymodel.h"

// The integer table and the column proxy that shows two of its columns.
class TestTableModels : public QObject
{
    Q_OBJECT

private slots:
    void tableCells_data();
    void tableCells();
    void staleColumnIsLogged();
    void eachRefillIsOneReset();
    void proxyWithoutSource();
    void proxyShowsTwoColumns();
    void proxyColumnWithoutEntryShowsColumnZero();
    void repeatedSettersKeepTwoColumns();
    void xAndYOnTheSameColumn_data();
    void xAndYOnTheSameColumn();
    void proxyFollowsTableRefill();

private:
    static SimpleTable::Table sample() { return {{1, 2, 3}, {10, 20, 30, 40, 50}}; }
};

void TestTableModels::tableCells_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("role");
    QTest::addColumn<QVariant>("expected");
    QTest::newRow("short column") << 2 << 0 << int(Qt::DisplayRole) << QVariant(3);
    QTest::newRow("long column") << 4 << 1 << int(Qt::DisplayRole) << QVariant(50);
    QTest::newRow("beyond the short column") << 4 << 0 << int(Qt::DisplayRole) << QVariant();
    QTest::newRow("edit role") << 0 << 0 << int(Qt::EditRole) << QVariant();
    QTest::newRow("user role") << 0 << 1 << int(Qt::UserRole) << QVariant();
}

void TestTableModels::tableCells()
{
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(int, role);
    QFETCH(QVariant, expected);
    SimpleTable table;
    QAbstractItemModelTester tester(&table, QAbstractItemModelTester::FailureReportingMode::QtTest);
    table.setRows(sample());
    QCOMPARE(table.rowCount(), 5);
    QCOMPARE(table.columnCount(), 2);
    const QVariant got = table.data(table.index(row, column), role);
    QCOMPARE(got, expected);
    if (expected.isValid())
        QCOMPARE(got.type(), QVariant::Int);
}

void TestTableModels::staleColumnIsLogged()
{
    SimpleTable table;
    table.setRows({{1}, {2}, {3}});
    const QModelIndex stale = table.index(0, 2);
    table.setRows({{1}, {2}});
    QTest::ignoreMessage(QtDebugMsg, "column not available 2 | 2");
    QCOMPARE(table.data(stale), QVariant());
    QCOMPARE(table.data(QModelIndex()), QVariant());
}

void TestTableModels::eachRefillIsOneReset()
{
    SimpleTable table;
    QSignalSpy resets(&table, &QAbstractItemModel::modelReset);
    table.setRows(sample());
    table.setRows({});
    QCOMPARE(resets.count(), 2);
    QCOMPARE(table.rowCount(), 0);
    QCOMPARE(table.columnCount(), 0);
}

void TestTableModels::proxyWithoutSource()
{
    XYSelectLineProxyModel proxy(nullptr, 0, 1);
    QCOMPARE(proxy.rowCount(), 0);
    QCOMPARE(proxy.columnCount(), 0);
    QVERIFY(!proxy.index(0, 0).isValid());
    QVERIFY(!proxy.mapToSource(proxy.index(0, 0)).isValid());
    QCOMPARE(proxy.data(proxy.index(0, 0)), QVariant());
    SimpleTable table;
    table.setRows(sample());
    QVERIFY(!proxy.mapFromSource(table.index(0, 0)).isValid());
}

void TestTableModels::proxyShowsTwoColumns()
{
    SimpleTable table;
    table.setRows({{0, 1, 2, 3}, {7, 8, 9, 10}, {-1, -2, -3, -4}});
    XYSelectLineProxyModel proxy;
    QAbstractItemModelTester tester(&proxy, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QSignalSpy resets(&proxy, &QAbstractItemModel::modelReset);
    proxy.setSourceModel(&table);
    QCOMPARE(resets.count(), 1);
    proxy.setXColumn(0);
    proxy.setYColumn(2);
    QCOMPARE(proxy.columnCount(), 2);
    QCOMPARE(proxy.rowCount(), 4);
    for (int r = 0; r < 4; ++r) {
        QCOMPARE(proxy.data(proxy.index(r, 0)), table.data(table.index(r, 0)));
        QCOMPARE(proxy.data(proxy.index(r, 1)), table.data(table.index(r, 2)));
    }
    QCOMPARE(proxy.mapFromSource(table.index(3, 2)), proxy.index(3, 1));
    QCOMPARE(proxy.mapToSource(proxy.index(1, 1)), table.index(1, 2));
    // A proxy index is not a source index and the other way round.
    QVERIFY(!proxy.mapFromSource(proxy.index(0, 0)).isValid());
    QVERIFY(!proxy.mapToSource(table.index(0, 0)).isValid());
    QCOMPARE(proxy.flags(QModelIndex()), Qt::NoItemFlags);
    QVERIFY(proxy.flags(proxy.index(0, 0)) & Qt::ItemIsEnabled);
}

void TestTableModels::proxyColumnWithoutEntryShowsColumnZero()
{
    SimpleTable table;
    table.setRows({{5, 6}, {7, 8}});
    XYSelectLineProxyModel proxy(nullptr, -1, 1);  // no x column yet
    proxy.setSourceModel(&table);
    QCOMPARE(proxy.columnCount(), 1);
    QCOMPARE(proxy.mapToSource(proxy.index(0, 0)), table.index(0, 0));
    // A y column beyond the table maps nowhere.
    proxy.setYColumn(5);
    proxy.setXColumn(0);
    QCOMPARE(proxy.columnCount(), 1);
    QCOMPARE(proxy.data(proxy.index(0, 0)), QVariant(5));
}

void TestTableModels::repeatedSettersKeepTwoColumns()
{
    SimpleTable table;
    SimpleTable::Table columns;
    for (int c = 0; c < 8; ++c)
        columns.append(SimpleTable::Column{c, c * 10});
    table.setRows(columns);
    XYSelectLineProxyModel proxy;
    QAbstractItemModelTester tester(&proxy, QAbstractItemModelTester::FailureReportingMode::QtTest);
    proxy.setSourceModel(&table);
    // The data page points the same proxy at every channel in turn.
    for (int ch = 1; ch < 8; ++ch) {
        proxy.setXColumn(0);
        proxy.setYColumn(ch);
        QCOMPARE(proxy.columnCount(), 2);
        QCOMPARE(proxy.xColumn(), 0);
        QCOMPARE(proxy.yColumn(), ch);
        QCOMPARE(proxy.data(proxy.index(1, 1)), QVariant(ch * 10));
        QCOMPARE(proxy.mapFromSource(table.index(1, ch)), proxy.index(1, 1));
    }
}

// The SKW bars point x and y of a channel's proxy at the channel's own
// column: channel 0 shows column 0 twice, and still has two columns.
void TestTableModels::xAndYOnTheSameColumn_data()
{
    QTest::addColumn<int>("column");
    for (int c = 0; c < 7; ++c)
        QTest::newRow(qPrintable(QStringLiteral("column %1").arg(c))) << c;
}

void TestTableModels::xAndYOnTheSameColumn()
{
    QFETCH(int, column);
    SimpleTable table;
    SimpleTable::Table columns;
    for (int c = 0; c < 7; ++c)
        columns.append(SimpleTable::Column{100 + c});
    table.setRows(columns);
    XYSelectLineProxyModel proxy;
    QAbstractItemModelTester tester(&proxy, QAbstractItemModelTester::FailureReportingMode::QtTest);
    proxy.setSourceModel(&table);
    proxy.setXColumn(0);
    proxy.setYColumn(column);
    QCOMPARE(proxy.columnCount(), 2);
    QCOMPARE(proxy.rowCount(), 1);
    QVERIFY(proxy.index(0, 1).isValid());
    QCOMPARE(proxy.data(proxy.index(0, 0)), QVariant(100));
    QCOMPARE(proxy.data(proxy.index(0, 1)), QVariant(100 + column));
    QCOMPARE(proxy.mapToSource(proxy.index(0, 1)), table.index(0, column));
}

void TestTableModels::proxyFollowsTableRefill()
{
    SimpleTable table;
    XYSelectLineProxyModel proxy;
    QAbstractItemModelTester tester(&proxy, QAbstractItemModelTester::FailureReportingMode::QtTest);
    proxy.setSourceModel(&table);
    proxy.setXColumn(0);
    proxy.setYColumn(1);
    QCOMPARE(proxy.columnCount(), 0);
    QSignalSpy resets(&proxy, &QAbstractItemModel::modelReset);
    table.setRows(sample());
    QCOMPARE(resets.count(), 1);
    QCOMPARE(proxy.rowCount(), 5);
    QCOMPARE(proxy.columnCount(), 2);
    table.setRows({{1}});
    QCOMPARE(proxy.rowCount(), 1);
    QCOMPARE(proxy.columnCount(), 1);
}

QTEST_MAIN(TestTableModels)
#include "tst_tablemodels.moc"
