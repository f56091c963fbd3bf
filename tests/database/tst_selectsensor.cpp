#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QtTest>

#include "pagefixture.h"
#include "selectsensor.h"

using pagefixture::catalogueItems;
using pagefixture::choose;

// The sensor page: what a chosen sensor writes into the channel's sensor
// entry, and which row shows a stored entry.
class TestSelectSensor : public QObject
{
    Q_OBJECT
private slots:
    void choosingWritesTheLimits_data();
    void choosingWritesTheLimits();
    void showsStoredSensorsExactly();
    void appendedRowsWriteNothing();
    void everyRowOfALargeCatalogue();
    void outOfRangeVoltageWritesNothing();
    void emptyCatalogueOffersOnlyTheFixedRows();
};

namespace {

CFG_Sensor_struct storedSensor(Confighandler &config, uint8_t channel)
{
    CFG_Sensor_struct entry;
    config.channelParams(channel, entry);
    return entry;
}

} // namespace

void TestSelectSensor::choosingWritesTheLimits_data()
{
    QTest::addColumn<QString>("sensor");
    QTest::addColumn<int>("id");
    QTest::addColumn<int>("low");
    QTest::addColumn<int>("high");
    QTest::newRow("6 V to 18 V") << "KVS-100 IEPE 100 mV/g" << 1 << 60 << 180;
    QTest::newRow("2.5 V to 24 V") << "KVS-10 IEPE 10 mV/g" << 3 << 25 << 240;
    QTest::newRow("second file") << "KVS-50 IEPE 50 mV/g" << 4 << 70 << 220;
}

void TestSelectSensor::choosingWritesTheLimits()
{
    QFETCH(QString, sensor);
    QFETCH(int, id);
    QFETCH(int, low);
    QFETCH(int, high);
    CatalogueRig rig;
    SelectSensor page(rig.container(), rig.config);
    page.currentChannelchanged(3);
    rig.load();
    QAbstractItemModelTester tester(page.sensorComboBox()->model(),
                                    QAbstractItemModelTester::FailureReportingMode::QtTest);
    QCOMPARE(catalogueItems(page.sensorComboBox()),
             (QStringList{"KVS-10 IEPE 10 mV/g", "KVS-100 IEPE 100 mV/g", "KVS-50 IEPE 50 mV/g",
                          "KVS-500 IEPE 500 mV/g"}));
    // A channel without a stored sensor shows the default row.
    QCOMPARE(page.sensorComboBox()->currentText(), QString("invalid/default entry"));

    QVERIFY(choose(page.sensorComboBox(), sensor));
    const CFG_Sensor_struct entry = storedSensor(rig.config, 3);
    QCOMPARE(entry.id(), id);
    QCOMPARE(int(entry.iepeLowVoltage()), low);
    QCOMPARE(int(entry.iepeHighVoltage()), high);
    QCOMPARE(entry.channelMask(), uint8_t(1u << 3));
    QCOMPARE(storedSensor(rig.config, 2).id(), -1);
    QCOMPARE(page.sensorComboBox()->currentText(), sensor);
}

void TestSelectSensor::showsStoredSensorsExactly()
{
    // No sensor 1, but 10 and 11: a stored id 1 must not show sensor 10.
    CatalogueRig rig({"INSERT INTO sensors VALUES (10, 'S10', 6.0, 18.0);"
                      "INSERT INTO sensors VALUES (11, 'S11', 6.0, 18.0);"
                      "INSERT INTO sensors VALUES (2, 'S2', 5.0, 20.0);"});
    SelectSensor page(rig.container(), rig.config);
    rig.load();
    QComboBox *combo = page.sensorComboBox();
    page.currentChannelchanged(0);
    QVERIFY(choose(combo, "S10"));
    QCOMPARE(storedSensor(rig.config, 0).id(), 10);

    CFG_Sensor_struct entry = storedSensor(rig.config, 0);
    entry.setId(1);
    QCOMPARE(rig.config.setSensorConfig(entry, 1, false), ERR_OK);
    QSignalSpy blobs(&rig.config, &Confighandler::ConfigBlobchanged);
    page.currentChannelchanged(1);
    QCOMPARE(combo->currentIndex(), -1);
    page.currentChannelchanged(0);
    QCOMPARE(combo->currentText(), QString("S10"));
    // Custom entries show as such; channel 7 is no channel.
    QCOMPARE(rig.config.setSensorConfig(entry, 2, true), ERR_OK);
    page.currentChannelchanged(2);
    QCOMPARE(combo->currentText(), QString("custom entry"));
    page.currentChannelchanged(7);
    QCOMPARE(page.currentChannelShown(), uint8_t(2));
    QCOMPARE(blobs.count(), 1);  // only the custom entry stored above
}

void TestSelectSensor::appendedRowsWriteNothing()
{
    CatalogueRig rig;
    SelectSensor page(rig.container(), rig.config);
    page.currentChannelchanged(5);
    rig.load();
    QComboBox *combo = page.sensorComboBox();
    QVERIFY(!choose(combo, "custom entry"));
    QVERIFY(!choose(combo, "invalid/default entry"));
    QSignalSpy blobs(&rig.config, &Confighandler::ConfigBlobchanged);
    combo->setCurrentIndex(combo->count() - 2);
    combo->setCurrentIndex(0);
    QCOMPARE(blobs.count(), 1);
    combo->setCurrentIndex(combo->count() - 1);
    combo->setCurrentIndex(combo->count() - 2);
    QCOMPARE(blobs.count(), 1);
    QVERIFY(storedSensor(rig.config, 5).id() > 0);
}

void TestSelectSensor::everyRowOfALargeCatalogue()
{
    QString sql;
    for (int i = 1; i <= 1000; ++i)
        sql += QStringLiteral("INSERT INTO sensors VALUES (%1, 'Sensor %1', 6.0, %2);").arg(i).arg(6.0 + i % 18);
    CatalogueRig rig({sql});
    SelectSensor page(rig.container(), rig.config);
    page.currentChannelchanged(6);
    rig.load();
    QCOMPARE(page.sensorComboBox()->count(), 1002);
    QVERIFY(choose(page.sensorComboBox(), "Sensor 1000"));
    QCOMPARE(storedSensor(rig.config, 6).id(), 1000);
    QCOMPARE(int(storedSensor(rig.config, 6).iepeHighVoltage()), 160);
}

void TestSelectSensor::outOfRangeVoltageWritesNothing()
{
    CatalogueRig rig({"INSERT INTO sensors VALUES (1, 'Fine', 6.0, 24.04);"
                      "INSERT INTO sensors VALUES (2, 'Just over', 6.0, 24.05);"
                      "INSERT INTO sensors VALUES (3, 'Would wrap', 6.0, 30.0);"});
    SelectSensor page(rig.container(), rig.config);
    page.currentChannelchanged(1);
    rig.load();
    QSignalSpy errors(&page, &BaseWidget::printNotifyBarErrorwrapper);
    QSignalSpy blobs(&rig.config, &Confighandler::ConfigBlobchanged);
    for (const char *name : {"Just over", "Would wrap"}) {
        QVERIFY(choose(page.sensorComboBox(), name));
        QCOMPARE(errors.count(), 1);
        const QString message = errors.takeFirst().at(0).toString();
        QVERIFY2(message.contains("IEPEHighVoltage") && message.contains("not written"), qPrintable(message));
    }
    QCOMPARE(blobs.count(), 0);
    QCOMPARE(storedSensor(rig.config, 1).id(), -1);
    QVERIFY(choose(page.sensorComboBox(), "Fine"));
    QCOMPARE(int(storedSensor(rig.config, 1).iepeHighVoltage()), 240);
    QCOMPARE(errors.count(), 0);
}

void TestSelectSensor::emptyCatalogueOffersOnlyTheFixedRows()
{
    CatalogueRig rig{QStringList{}};
    SelectSensor page(rig.container(), rig.config);
    page.currentChannelchanged(0);
    rig.load();
    QCOMPARE(pagefixture::itemTexts(page.sensorComboBox()), (QStringList{"custom entry", "invalid/default entry"}));
    QCOMPARE(page.sensorComboBox()->currentText(), QString("invalid/default entry"));
}

QTEST_MAIN(TestSelectSensor)
#include "tst_selectsensor.moc"
