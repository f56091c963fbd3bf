#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include "measurementcsv.h"
#include "measurementtable.h"
#include "simpletable.h"

using MeasurementTable::Columns;
using Values = std::array<QVector<int32_t>, MeasurementTable::kChannels>;

// The measurement table of an acquisition and its CSV file.
class TestMeasurementData : public QObject
{
    Q_OBJECT

private slots:
    void steps();
    void rawInputColumns();
    void segmentStepsHaveNoTimeColumn();
    void skwPick_data();
    void skwPick();
    void fileNames_data();
    void fileNames();
    void csvText_data();
    void csvText();
    void csvWrittenAsUtf8WithoutMark();
    void failedWriteKeepsOldFile();
};

void TestMeasurementData::steps()
{
    using namespace MeasurementTable;
    QCOMPARE(requestedStep(RawInput), 0u);
    QCOMPARE(requestedStep(SkwStatistics), 5u);
    QCOMPARE(requestedStep(Skw), 5u);
    QVERIFY(hasTimeColumn(RawInput) && hasTimeColumn(Processed) && !hasTimeColumn(MeanSegment));
    QVERIFY(showsBars(Skw) && showsBars(SkwStatistics) && !showsBars(MinSegment) && !showsBars(NoStep));
    QCOMPARE(channelColumn(RawInput, 0), 1);
    QCOMPARE(channelColumn(Skw, 0), 0);
}

void TestMeasurementData::rawInputColumns()
{
    Values v;
    v[0] = {5, 6, 7};
    v[3] = {1, 2, 3, 4, 5};
    const Columns c = MeasurementTable::build(MeasurementTable::RawInput, v);
    QCOMPARE(c.size(), 8);
    QCOMPARE(c.at(0), (MeasurementTable::Column{0, 10, 20, 30, 40}));
    QCOMPARE(c.at(1), (MeasurementTable::Column{5, 6, 7}));
    QCOMPARE(c.at(4), (MeasurementTable::Column{1, 2, 3, 4, 5}));
    for (int col : {2, 3, 5, 6, 7})
        QVERIFY(c.at(col).isEmpty());
    // No channel at all: an empty time column and seven empty channels.
    const Columns none = MeasurementTable::build(MeasurementTable::Processed, Values());
    QCOMPARE(none.size(), 8);
    QVERIFY(none.at(0).isEmpty());
}

void TestMeasurementData::segmentStepsHaveNoTimeColumn()
{
    Values v;
    v[6] = {9, 8};
    const Columns c = MeasurementTable::build(MeasurementTable::MaxSegment, v);
    QCOMPARE(c.size(), 7);
    QCOMPARE(c.at(6), (MeasurementTable::Column{9, 8}));
}

void TestMeasurementData::skwPick_data()
{
    QTest::addColumn<int>("selects");
    QTest::addColumn<int>("received");
    QTest::addColumn<QVector<qint32>>("expected");
    QTest::newRow("0x21 picks position 5") << 0x21 << 9 << QVector<qint32>{105};
    QTest::newRow("0x00 picks the first") << 0x00 << 9 << QVector<qint32>{100};
    QTest::newRow("0x22 picks position 8") << 0x22 << 9 << QVector<qint32>{108};
    QTest::newRow("beyond what arrived") << 0x22 << 8 << QVector<qint32>{};
    QTest::newRow("nothing arrived") << 0x00 << 0 << QVector<qint32>{};
}

void TestMeasurementData::skwPick()
{
    QFETCH(int, selects);
    QFETCH(int, received);
    QFETCH(QVector<qint32>, expected);
    QCOMPARE(MeasurementTable::skwPosition(uint8_t(selects)), (selects >> 4) + 3 * (selects & 0xF));
    Values v;
    for (int i = 0; i < received; ++i)
        v[2].append(100 + i);
    std::array<uint8_t, 7> s{};
    s[2] = uint8_t(selects);
    const Columns c = MeasurementTable::build(MeasurementTable::Skw, v, s);
    QCOMPARE(c.size(), 7);
    QCOMPARE(c.at(2), expected);
    QVERIFY(c.at(0).isEmpty());
}

void TestMeasurementData::fileNames_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("expected");
    QTest::newRow("plain name") << "out" << "out.csv";
    QTest::newRow("with suffix") << "out.csv" << "out.csv";
    QTest::newRow("suffix in capitals") << "out.CSV" << "out.CSV.csv";
    QTest::newRow("ends in csv without a point") << "mycsv" << "mycsv";
    QTest::newRow("spaces trimmed") << "  data  " << "data.csv";
    QTest::newRow("cancelled") << "   " << "";
}

void TestMeasurementData::fileNames()
{
    QFETCH(QString, answer);
    QFETCH(QString, expected);
    QCOMPARE(MeasurementCsv::fileName(answer), expected);
}

void TestMeasurementData::csvText_data()
{
    QTest::addColumn<SimpleTable::Table>("table");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QStringList>("headers");
    QTest::addColumn<QStringList>("labels");
    QTest::addColumn<QString>("expected");
    QTest::newRow("empty last cell keeps its separator")
        << SimpleTable::Table{{1, 3}, {2}} << QString() << QStringList{"a", "b"} << QStringList{}
        << "a;b\n1;2\n3;\n";
    QTest::newRow("first header and row labels")
        << SimpleTable::Table{{5, 6}} << "x" << QStringList{"h"} << QStringList{"r0"} << "x;h\nr0;5\n;6\n";
    QTest::newRow("negative values and a time column")
        << SimpleTable::Table{{0, 10}, {-7, 32767}, {}} << QString()
        << QStringList{"\"Time in µs\"", "\"Channel 1\"", "\"Channel 2\""} << QStringList{}
        << "\"Time in µs\";\"Channel 1\";\"Channel 2\"\n0;-7;\n10;32767;\n";
    QTest::newRow("no rows: the header only")
        << SimpleTable::Table{} << QString() << QStringList{"a"} << QStringList{} << "a\n";
}

void TestMeasurementData::csvText()
{
    QFETCH(SimpleTable::Table, table);
    QFETCH(QString, first);
    QFETCH(QStringList, headers);
    QFETCH(QStringList, labels);
    QFETCH(QString, expected);
    SimpleTable model;
    model.setRows(table);
    QCOMPARE(MeasurementCsv::text(model, {first, headers, labels}), expected);
}

void TestMeasurementData::csvWrittenAsUtf8WithoutMark()
{
    QTemporaryDir dir;
    SimpleTable model;
    model.setRows({{0, 10}, {1, 2}});
    const QString path = dir.filePath(QStringLiteral("out.csv"));
    int rows = 0;
    QCOMPARE(MeasurementCsv::write(path, model, {QString(), {"\"Time in µs\"", "\"Kanal 1\""}, {}}, [&] { ++rows; }),
             MeasurementCsv::Result::Written);
    QCOMPARE(rows, 2);
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), QByteArray("\"Time in \xC2\xB5s\";\"Kanal 1\"\n0;1\n10;2\n"));
    // Nothing else is left in the folder.
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"out.csv"});
}

void TestMeasurementData::failedWriteKeepsOldFile()
{
    SimpleTable model;
    model.setRows({{1}});
    QTemporaryDir dir;

    // The name is taken by a folder holding a file: it cannot be removed,
    // the finished export cannot replace it, and neither the folder nor a
    // temporary file is left changed behind.
    const QString taken = dir.filePath(QStringLiteral("taken.csv"));
    QVERIFY(QDir().mkpath(taken));
    QFile inside(taken + QStringLiteral("/keep.txt"));
    QVERIFY(inside.open(QIODevice::WriteOnly));
    inside.write("kept\n");
    inside.close();
    QCOMPARE(MeasurementCsv::write(taken, model, {QString(), {"a"}, {}}), MeasurementCsv::Result::CannotRemove);
    QVERIFY(inside.open(QIODevice::ReadOnly));
    QCOMPARE(inside.readAll(), QByteArray("kept\n"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList());

    // A folder that does not exist: the finished file cannot be put there.
    QCOMPARE(MeasurementCsv::write(dir.filePath(QStringLiteral("missing/out.csv")), model, {QString(), {"a"}, {}}),
             MeasurementCsv::Result::CannotRename);

    // An existing file in a folder that cannot be written to stays as it was
    // (root may write anywhere, so this part needs an ordinary user).
    const QString path = dir.filePath(QStringLiteral("old.csv"));
    QFile old(path);
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("kept\n");
    old.close();
    QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    const bool folderLocked = !QFileInfo(dir.path()).isWritable();
    const auto r = MeasurementCsv::write(path, model, {QString(), {"a"}, {}});
    QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    if (folderLocked)
        QCOMPARE(r, MeasurementCsv::Result::CannotRename);
    QVERIFY(old.open(QIODevice::ReadOnly));
    QCOMPARE(old.readAll(), r == MeasurementCsv::Result::Written ? QByteArray("a\n1\n") : QByteArray("kept\n"));
}

QTEST_MAIN(TestMeasurementData)
#include "tst_measurementdata.moc"
