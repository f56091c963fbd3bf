#include <QtTest>

#include "catalogueentries.h"
#include "filterkoeff.h"

// Catalogue rows into configuration entries: the scaling and rounding, the
// quantised filter, and the refusal of every value that would not fit.
class TestCatalogueEntries : public QObject
{
    Q_OBJECT
private slots:
    void mappingRow();
    void mappingRefusals_data();
    void mappingRefusals();
    void sensorRows_data();
    void sensorRows();
};

namespace {

const QVariantList kFilter = {0.978, -1.956, 0.978, -1.9556, 0.9565, 0.0201, 0.0402, 0.0201, -1.561, 0.6414};

QVariantList mappingRow(QVariant tau, QVariant segment, QVariant segSelect, QVariant skwSelect, QVariant scale)
{
    return QVariantList{42, tau, segment, segSelect, skwSelect, scale} + kFilter;
}

} // namespace

void TestCatalogueEntries::mappingRow()
{
    CFG_ChannelMapping_struct entry;
    entry.setChannelMask(0x7F);  // replaced whole: mask and reserved bytes end up 0
    QVERIFY(CatalogueEntries::mappingEntry(::mappingRow(5000.0, 20.0, 1, 2, 1.5), entry));
    QCOMPARE(entry.id(), 42);
    QCOMPARE(entry.tau(), uint16_t(500));
    QCOMPARE(entry.segmentTime(), uint16_t(2000));
    QCOMPARE(entry.selects(), uint8_t(0x21));
    QCOMPARE(entry.referenceScaleFactor(), uint8_t(38));  // 37.5 rounds up
    QCOMPARE(entry.channelMask(), uint8_t(0));

    // b0, 0, b1, b2, then the a coefficients negated, per section.
    FilterKoeff expected;
    QVERIFY(expected.setKoeffs({0.978, 0.0, -1.956, 0.978, 1.9556, -0.9565, 0.0201, 0.0, 0.0402, 0.0201, 1.561, -0.6414}));
    QVector<qint16> q15;
    expected.toQ15Vector(q15);
    for (int i = 0; i < 12; ++i)
        QCOMPARE(entry.coefficient(i), q15.at(i));
    QCOMPARE(entry.postShift(), int8_t(1));
    QCOMPARE(entry.coefficient(1), qint16(0));
    QCOMPARE(entry.coefficient(4), FilterKoeff::toQ15(1.9556 / 2));
}

void TestCatalogueEntries::mappingRefusals_data()
{
    QTest::addColumn<QVariantList>("row");
    QTest::addColumn<QString>("column");

    QTest::newRow("Tau rounds to 0") << ::mappingRow(4.999, 20.0, 1, 2, 1.5) << "Tau";
    QTest::newRow("Tau wraps 16 bits") << ::mappingRow(655370.0, 20.0, 1, 2, 1.5) << "Tau";
    QTest::newRow("Tau above 50000") << ::mappingRow(500010.0, 20.0, 1, 2, 1.5) << "Tau";
    QTest::newRow("Tau negative") << ::mappingRow(-100.0, 20.0, 1, 2, 1.5) << "Tau";
    QTest::newRow("segment time 0.99") << ::mappingRow(5000.0, 0.99, 1, 2, 1.5) << "Segmenttime";
    QTest::newRow("segment time 200.01") << ::mappingRow(5000.0, 200.01, 1, 2, 1.5) << "Segmenttime";
    QTest::newRow("segment time wraps") << ::mappingRow(5000.0, 655.37, 1, 2, 1.5) << "Segmenttime";
    QTest::newRow("statistic select 3") << ::mappingRow(5000.0, 20.0, 3, 2, 1.5) << "SegmentStatisticSelect";
    QTest::newRow("statistic select 17 would pass as 1") << ::mappingRow(5000.0, 20.0, 17, 2, 1.5)
                                                        << "SegmentStatisticSelect";
    QTest::newRow("SKW select 16 would shift out") << ::mappingRow(5000.0, 20.0, 1, 16, 1.5) << "SKWselect";
    QTest::newRow("SKW select -1") << ::mappingRow(5000.0, 20.0, 1, -1, 1.5) << "SKWselect";
    QTest::newRow("scale 0.97") << ::mappingRow(5000.0, 20.0, 1, 2, 0.97) << "ReferenceScalefactor";
    QTest::newRow("scale 10.02") << ::mappingRow(5000.0, 20.0, 1, 2, 10.02) << "ReferenceScalefactor";
    QTest::newRow("scale 11 would wrap to 19") << ::mappingRow(5000.0, 20.0, 1, 2, 11.0) << "ReferenceScalefactor";
    QTest::newRow("missing Tau") << ::mappingRow(QVariant(), 20.0, 1, 2, 1.5) << "Tau";
    QTest::newRow("text for Tau") << ::mappingRow("fast", 20.0, 1, 2, 1.5) << "Tau";
    QVariantList badFilter = ::mappingRow(5000.0, 20.0, 1, 2, 1.5);
    badFilter[9] = QVariant();
    QTest::newRow("missing coefficient") << badFilter << "K_0_a1";
    badFilter[9] = qInf();
    QTest::newRow("infinite coefficient") << badFilter << "K_0_a1";
    QVariantList badId = ::mappingRow(5000.0, 20.0, 1, 2, 1.5);
    badId[0] = 0;
    QTest::newRow("id 0") << badId << "mappingid";
    badId[0] = 4294967296.0;
    QTest::newRow("id beyond 32 bits") << badId << "mappingid";
    QTest::newRow("short row") << QVariantList{1, 5000.0} << "Segmenttime";
}

void TestCatalogueEntries::mappingRefusals()
{
    QFETCH(QVariantList, row);
    QFETCH(QString, column);
    CFG_ChannelMapping_struct entry;
    entry.setId(-1);
    const CFG_ChannelMapping_struct before = entry;
    CatalogueEntries::Refusal refusal;
    QVERIFY(!CatalogueEntries::mappingEntry(row, entry, &refusal));
    QCOMPARE(refusal.column, column);
    QVERIFY(entry == before);
}

void TestCatalogueEntries::sensorRows_data()
{
    QTest::addColumn<double>("low");
    QTest::addColumn<double>("high");
    QTest::addColumn<int>("lowOut");   // -1: refused
    QTest::addColumn<int>("highOut");

    QTest::newRow("6 V and 18 V") << 6.0 << 18.0 << 60 << 180;
    QTest::newRow("2.45 V rounds up") << 2.45 << 24.04 << 25 << 240;
    QTest::newRow("24.05 V is 241") << 6.0 << 24.05 << -1 << -1;
    QTest::newRow("30 V would wrap to 44") << 6.0 << 30.0 << -1 << -1;
    QTest::newRow("negative") << -0.1 << 18.0 << -1 << -1;
    QTest::newRow("zero") << 0.0 << 0.04 << 0 << 0;
}

void TestCatalogueEntries::sensorRows()
{
    QFETCH(double, low);
    QFETCH(double, high);
    QFETCH(int, lowOut);
    QFETCH(int, highOut);
    CFG_Sensor_struct entry;
    CatalogueEntries::Refusal refusal;
    const bool ok = CatalogueEntries::sensorEntry({7, low, high}, entry, &refusal);
    QCOMPARE(ok, lowOut >= 0);
    if (!ok) {
        QVERIFY(refusal.column.startsWith("IEPE"));
        QCOMPARE(entry.id(), 0);
        return;
    }
    QCOMPARE(entry.id(), 7);
    QCOMPARE(int(entry.iepeLowVoltage()), lowOut);
    QCOMPARE(int(entry.iepeHighVoltage()), highOut);
    QCOMPARE(entry.channelMask(), uint8_t(0));
}

QTEST_GUILESS_MAIN(TestCatalogueEntries)
#include "tst_catalogueentries.moc"
