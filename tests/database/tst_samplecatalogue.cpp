#include <QSqlQuery>
#include <QtTest>

#include <complex>

#include "catalogueentries.h"
#include "confighandler.h"
#include "pagefixture.h"

// The catalogue shipped beside the programs: every row is usable as it
// stands, and its filters are the band-passes their names say.
class TestSampleCatalogue : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void everyMappingAndSensorIsAccepted();
    void filtersPassTheirBand();

private:
    CatalogueRig m_rig;
};

void TestSampleCatalogue::initTestCase()
{
    m_rig.load();
    QCOMPARE(m_rig.loadMessages, QStringList());
}

void TestSampleCatalogue::everyMappingAndSensorIsAccepted()
{
    QSqlDatabase db = *m_rig.container().database();
    QSqlQuery ids(db);
    QVERIFY(ids.exec("SELECT mappingid FROM Mapping"));
    int mappings = 0;
    while (ids.next()) {
        QSqlQuery q(db);
        q.prepare(CatalogueEntries::kMappingQuery);
        q.bindValue(":ID", ids.value(0));
        QVERIFY(q.exec() && q.next());
        QVariantList row;
        for (int c = 0; c < 16; ++c)
            row << q.value(c);
        CFG_ChannelMapping_struct entry;
        CatalogueEntries::Refusal refusal;
        QVERIFY2(CatalogueEntries::mappingEntry(row, entry, &refusal),
                 qPrintable(ids.value(0).toString() + " " + refusal.column));
        QCOMPARE(m_rig.config.setChannelConfig(entry, uint8_t(mappings % 7), false), ERR_OK);
        ++mappings;
    }
    QVERIFY(mappings >= 20);

    QSqlQuery sensors(db);
    QVERIFY(sensors.exec("SELECT sensorid, IEPELowVoltage, IEPEHighVoltage FROM sensors"));
    while (sensors.next()) {
        CFG_Sensor_struct entry;
        QVERIFY(CatalogueEntries::sensorEntry({sensors.value(0), sensors.value(1), sensors.value(2)}, entry));
        QVERIFY(entry.iepeLowVoltage() < entry.iepeHighVoltage());
        QCOMPARE(m_rig.config.setSensorConfig(entry, 0, false), ERR_OK);
    }
}

void TestSampleCatalogue::filtersPassTheirBand()
{
    // |H| of the two sections at f, sampled at 100 kHz, with the catalogue's
    // denominator 1 + a1 z^-1 + a2 z^-2.
    const auto gain = [](const QVector<double> &k, double f) {
        const std::complex<double> z1 = std::polar(1.0, -2.0 * M_PI * f / 100000.0);
        std::complex<double> h = 1.0;
        for (int s = 0; s < 2; ++s) {
            const double *c = k.constData() + 5 * s;
            h *= (c[0] + c[1] * z1 + c[2] * z1 * z1) / (1.0 + c[3] * z1 + c[4] * z1 * z1);
        }
        return std::abs(h);
    };
    QSqlQuery q(*m_rig.container().database());
    QVERIFY(q.exec("SELECT filterName, LowerFrequency, UpperFrequency, K_0_b0, K_0_b1, K_0_b2, K_0_a1, K_0_a2, "
                   "K_1_b0, K_1_b1, K_1_b2, K_1_a1, K_1_a2 FROM filterEntry"));
    int filters = 0;
    while (q.next()) {
        const double low = q.value(1).toDouble();
        const double high = q.value(2).toDouble();
        QVector<double> k;
        for (int i = 3; i < 13; ++i)
            k << q.value(i).toDouble();
        const QString name = q.value(0).toString();
        QVERIFY2(gain(k, std::sqrt(low * high)) > 0.9, qPrintable(name));
        QVERIFY2(gain(k, low / 10) < 0.02, qPrintable(name));
        QVERIFY2(gain(k, 49999.0) < 0.1 || high > 25000, qPrintable(name));
        // Both corners are -3 dB corners of their section.
        QVERIFY2(std::abs(gain(k, low) - M_SQRT1_2) < 0.1, qPrintable(name));
        ++filters;
    }
    QCOMPARE(filters, 5);
}

QTEST_MAIN(TestSampleCatalogue)
#include "tst_samplecatalogue.moc"
