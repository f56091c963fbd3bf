#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QtTest>

#include "appendproxymodel.h"
#include "dedublicateproxymodel.h"
#include "filterkoeff.h"
#include "pagefixture.h"
#include "selectmapping.h"

using pagefixture::catalogueItems;
using pagefixture::choose;

// The mapping page: the six-step cascade over the catalogue, what it writes
// into the channel's mapping entry, and how it shows a stored entry.
class TestSelectMapping : public QObject
{
    Q_OBJECT
private slots:
    void cascadeNarrows_data();
    void cascadeNarrows();
    void writesTheExactEntry();
    void keysAndIdsMatchExactly();
    void everyRowOfALargeCatalogue();
    void outOfRangeValueWritesNothing();
    void passedOverMappingIsTakenBack();
    void followsChannelAndBlob();
    void showsStoredEntryWhenBuilt();
    void emptyCatalogueOffersOnlyTheFixedRows();
};

namespace {

QList<QComboBox *> combos(SelectMapping &page)
{
    QList<QComboBox *> list;
    for (const SelectionStage &stage : page.selectionStages())
        list << stage.combo;
    return list;
}

// One family per mapping: family, device and mapping share the number.
QString familyMappingSql(const QList<int> &families, const QString &mappingIds = QString())
{
    QString sql = "INSERT INTO lubEntry VALUES (1, 'Grease');"
                  "INSERT INTO prodTypeEntry VALUES (1, 'Type');"
                  "INSERT INTO prodSubTypeEntry VALUES (1, 'Standard');"
                  "INSERT INTO prodSizeEntry VALUES (1, 20.0);"
                  "INSERT INTO filterEntry VALUES (1, 'BP', 1000.0, 10000.0, 0.95, -1.9, 0.95, -1.9, 0.91, "
                  "0.07, 0.13, 0.07, -1.14, 0.41);"
                  "INSERT INTO channelParam VALUES (1, 5000.0, 20.0, 1, 2, 1.5);";
    const QStringList ids = mappingIds.split(',', Qt::SkipEmptyParts);
    for (int i = 0; i < families.size(); ++i) {
        const int f = families.at(i);
        const QString id = i < ids.size() ? ids.at(i) : QString::number(f);
        sql += QStringLiteral("INSERT INTO prodFamilyEntry VALUES (%1, 'F%1');"
                              "INSERT INTO DeviceEntry VALUES (%1, %1, 1, 1, 1);"
                              "INSERT INTO Mapping VALUES (%2, %1, 1, 1, 1, 1);")
                   .arg(f)
                   .arg(id);
    }
    return sql;
}

int storedMappingId(Confighandler &config, uint8_t channel)
{
    CFG_ChannelMapping_struct entry;
    config.channelEntry(channel, entry);
    return entry.id();
}

// A valid entry naming a catalogue id, as a unit's stored configuration has it.
void storeMappingId(Confighandler &config, uint8_t channel, int id)
{
    CFG_ChannelMapping_struct entry;
    config.channelEntry(channel, entry);
    entry.setId(id);
    QCOMPARE(config.setChannelConfig(entry, channel, false), ERR_OK);
}

} // namespace

void TestSelectMapping::cascadeNarrows_data()
{
    QTest::addColumn<QStringList>("path");
    QTest::addColumn<QStringList>("offered");  // by the stage after the path
    QTest::addColumn<int>("written");          // mapping id, -1 none

    QTest::newRow("family") << QStringList{"Linear Guide"} << QStringList{"15", "20", "25", "40"} << -1;
    QTest::newRow("size") << QStringList{"Linear Guide", "25"} << QStringList{"Flange Carriage", "Narrow Carriage"}
                          << -1;
    QTest::newRow("model") << QStringList{"Linear Guide", "25", "Flange Carriage"} << QStringList{"Long", "Standard"}
                           << -1;
    QTest::newRow("variant") << QStringList{"Linear Guide", "25", "Flange Carriage", "Standard"}
                             << QStringList{"Grease", "Oil", "Oil-Air"} << -1;
    QTest::newRow("one mapping left before the version")
        << QStringList{"Linear Guide", "25", "Flange Carriage", "Standard", "Grease"} << QStringList{"1"} << 6;
    QTest::newRow("two versions") << QStringList{"Linear Guide", "25", "Flange Carriage", "Long", "Grease"}
                                  << QStringList{"1", "2"} << -1;
    QTest::newRow("version chosen") << QStringList{"Linear Guide", "25", "Flange Carriage", "Long", "Grease", "2"}
                                    << QStringList{} << 10;
    QTest::newRow("size with one mapping") << QStringList{"Linear Guide", "40"} << QStringList{"Flange Carriage"}
                                           << 107;
    QTest::newRow("other family") << QStringList{"Ball Screw", "40"} << QStringList{"Double Nut", "Single Nut"} << -1;
    QTest::newRow("second file's family")
        << QStringList{"Spindle Bearing", "65", "Angular Contact", "Standard", "Oil-Air"} << QStringList{"1", "2"}
        << -1;
    QTest::newRow("second file's version")
        << QStringList{"Spindle Bearing", "65", "Angular Contact", "Standard", "Oil-Air", "2"} << QStringList{} << 105;
    QTest::newRow("second file extends the first")
        << QStringList{"Linear Guide", "25", "Flange Carriage", "Standard", "Oil-Air"} << QStringList{"1"} << 108;
}

void TestSelectMapping::cascadeNarrows()
{
    QFETCH(QStringList, path);
    QFETCH(QStringList, offered);
    QFETCH(int, written);

    CatalogueRig rig;
    SelectMapping page(rig.container(), rig.config);
    page.currentChannelchanged(2);
    rig.load();
    QVERIFY(page.modelsAreReady());
    QCOMPARE(rig.loadMessages, QStringList());
    std::vector<std::unique_ptr<QAbstractItemModelTester>> testers;
    for (const SelectionStage &stage : page.selectionStages()) {
        testers.push_back(std::make_unique<QAbstractItemModelTester>(
            stage.append, QAbstractItemModelTester::FailureReportingMode::QtTest));
        testers.push_back(std::make_unique<QAbstractItemModelTester>(
            stage.dedup, QAbstractItemModelTester::FailureReportingMode::QtTest));
    }
    const QList<QComboBox *> boxes = combos(page);
    QCOMPARE(catalogueItems(boxes.at(0)), (QStringList{"Ball Screw", "Linear Guide", "Spindle Bearing"}));

    QSignalSpy blobs(&rig.config, &Confighandler::ConfigBlobchanged);
    for (int s = 0; s < path.size(); ++s)
        QVERIFY2(choose(boxes.at(s), path.at(s)), qPrintable(path.at(s)));

    for (int s = 0; s < path.size(); ++s)
        QCOMPARE(boxes.at(s)->currentText(), path.at(s));
    if (path.size() < 6) {
        QCOMPARE(catalogueItems(boxes.at(path.size())), offered);
        // The next stage is open, the ones after it wait.
        for (int s = path.size(); s < 6; ++s)
            QCOMPARE(boxes.at(s)->isEnabled(), s == path.size());
    }
    if (written < 0) {
        for (int s = path.size(); s < 6; ++s)
            QCOMPARE(boxes.at(s)->currentText(), QString("custom entry"));
    } else {
        // Once written, the page shows the channel's new entry in full
        // (family, model, variant, size, lubrication, version).
        const QStringList shown{boxes.at(0)->currentText(), boxes.at(2)->currentText(), boxes.at(3)->currentText(),
                                boxes.at(1)->currentText(), boxes.at(4)->currentText(), boxes.at(5)->currentText()};
        QCOMPARE(shown.join(' '), rig.container().getMappingText(written));
    }
    QCOMPARE(storedMappingId(rig.config, 2), written);
    QCOMPARE(blobs.count(), written > 0 ? 1 : 0);
    if (written > 0)
        QCOMPARE(page.selectedMappingId(), written);
    // Only the current channel changes.
    for (uint8_t other : {0, 1, 3, 6})
        QCOMPARE(storedMappingId(rig.config, other), -1);
}

void TestSelectMapping::writesTheExactEntry()
{
    CatalogueRig rig;
    SelectMapping page(rig.container(), rig.config);
    page.currentChannelchanged(4);
    rig.load();
    const QList<QComboBox *> boxes = combos(page);
    // Spindle bearing 50, angular contact, standard, grease: mapping 102,
    // channel parameters 6 and the 300 Hz - 3 kHz band-pass.
    QVERIFY(choose(boxes.at(0), "Spindle Bearing"));
    QVERIFY(choose(boxes.at(1), "50"));
    QVERIFY(choose(boxes.at(2), "Angular Contact"));
    QVERIFY(choose(boxes.at(3), "Standard"));
    QVERIFY(choose(boxes.at(4), "Grease"));
    QCOMPARE(page.selectedMappingId(), 102);

    // The expected entry, from the catalogue's own numbers.
    QSqlQuery q(*rig.container().database());
    QVERIFY(q.exec("SELECT K_0_b0, K_0_b1, K_0_b2, K_0_a1, K_0_a2, K_1_b0, K_1_b1, K_1_b2, K_1_a1, K_1_a2 "
                   "FROM filterEntry WHERE filterid = 5"));
    QVERIFY(q.next());
    QVector<double> k;
    for (int i = 0; i < 10; ++i)
        k << q.value(i).toDouble();
    FilterKoeff filter;
    QVERIFY(filter.setKoeffs({k[0], 0.0, k[1], k[2], -k[3], -k[4], k[5], 0.0, k[6], k[7], -k[8], -k[9]}));
    QVector<qint16> q15;
    filter.toQ15Vector(q15);
    CFG_ChannelMapping_struct expected;
    expected.setId(102);
    for (int i = 0; i < 12; ++i)
        expected.setCoefficient(i, q15.at(i));
    expected.setTau(2000);            // 20000.0 / 10
    expected.setSegmentTime(10000);   // 100.0 * 100
    expected.setSelects(0x00);        // statistic 0, SKW 0
    expected.setPostShift(filter.postShift());
    expected.setReferenceScaleFactor(63);  // 2.5 * 25 = 62.5 rounds up

    CFG_ChannelMapping_struct stored;
    QCOMPARE(rig.config.channelEntry(4, stored), ERR_OK);
    QCOMPARE(stored.toBytes().left(35).toHex(), expected.toBytes().left(35).toHex());
    QCOMPARE(stored.channelMask(), uint8_t(1u << 4));
}

void TestSelectMapping::keysAndIdsMatchExactly()
{
    // Families 1, 10, 11, 12, 21; family 1's mapping is 100, the others
    // carry their family's number. There is no mapping 1.
    CatalogueRig rig({familyMappingSql({1, 10, 11, 12, 21}, "100,10,11,12,21")});
    SelectMapping page(rig.container(), rig.config);
    page.currentChannelchanged(0);
    rig.load();
    QComboBox *family = combos(page).at(0);
    QCOMPARE(catalogueItems(family), (QStringList{"F1", "F10", "F11", "F12", "F21"}));

    // Family 1 alone, not 10 to 19 too: its one mapping is written at once.
    QVERIFY(choose(family, "F10"));
    QCOMPARE(storedMappingId(rig.config, 0), 10);
    QVERIFY(choose(family, "F1"));
    QCOMPARE(storedMappingId(rig.config, 0), 100);

    // A stored id is looked up exactly: 10 shows F10, and 1 (not in the
    // catalogue) shows nothing rather than the family of mapping 10.
    storeMappingId(rig.config, 1, 10);
    page.currentChannelchanged(1);
    QCOMPARE(family->currentText(), QString("F10"));
    storeMappingId(rig.config, 1, 1);
    QCOMPARE(family->currentIndex(), -1);
    for (QComboBox *box : combos(page))
        QCOMPARE(box->currentText(), QString());
    QCOMPARE(storedMappingId(rig.config, 1), 1);
}

void TestSelectMapping::everyRowOfALargeCatalogue()
{
    QList<int> families;
    for (int f = 1; f <= 1000; ++f)
        families << f;
    CatalogueRig rig({familyMappingSql(families)});
    SelectMapping page(rig.container(), rig.config);
    page.currentChannelchanged(5);
    rig.load();
    QComboBox *family = combos(page).at(0);
    QCOMPARE(family->count(), 1002);
    QVERIFY(choose(family, "F1000"));
    QCOMPARE(storedMappingId(rig.config, 5), 1000);
    QVERIFY(choose(family, "F999"));
    QCOMPARE(storedMappingId(rig.config, 5), 999);
}

void TestSelectMapping::outOfRangeValueWritesNothing()
{
    // Mapping 2's Tau rounds to 0, mapping 3's SKW select would wrap into
    // a valid nibble, mapping 4's scale factor would wrap in 8 bits.
    const QString sql = familyMappingSql({1, 2, 3, 4})
                        + "UPDATE Mapping SET fkchannelid = mappingid;"
                          "INSERT INTO channelParam VALUES (2, 4.999, 20.0, 1, 2, 1.5);"
                          "INSERT INTO channelParam VALUES (3, 5000.0, 20.0, 1, 17, 1.5);"
                          "INSERT INTO channelParam VALUES (4, 5000.0, 20.0, 1, 2, 11.0);";
    CatalogueRig rig({sql});
    SelectMapping page(rig.container(), rig.config);
    page.currentChannelchanged(3);
    rig.load();
    QComboBox *family = combos(page).at(0);
    QSignalSpy errors(&page, &BaseWidget::printNotifyBarErrorwrapper);
    QSignalSpy blobs(&rig.config, &Confighandler::ConfigBlobchanged);

    const QList<QPair<QString, QString>> refused = {{"F2", "Tau"}, {"F3", "SKWselect"}, {"F4", "ReferenceScalefactor"}};
    for (const auto &row : refused) {
        QVERIFY(choose(family, row.first));
        QCOMPARE(errors.count(), 1);
        const QString message = errors.takeFirst().at(0).toString();
        QVERIFY2(message.contains(row.second) && message.contains("not written"), qPrintable(message));
        QCOMPARE(blobs.count(), 0);
        QCOMPARE(storedMappingId(rig.config, 3), -1);
    }
    QVERIFY(choose(family, "F1"));
    QCOMPARE(errors.count(), 0);
    QCOMPARE(storedMappingId(rig.config, 3), 1);
}

// A choice that leaves one mapping writes it at once; when the next choice
// leaves it behind, the entries go back to what they were when the channel
// was shown, while the combo boxes keep the user's choice.
void TestSelectMapping::passedOverMappingIsTakenBack()
{
    CatalogueRig rig;
    // Channel 2 holds mapping 12; channel 3 holds mapping 106 with values
    // of an older catalogue, in the entry a channel writing 106 shares.
    storeMappingId(rig.config, 2, 12);
    CFG_ChannelMapping_struct older;
    rig.config.channelEntry(3, older);
    older.setId(106);
    older.setTau(800);
    QCOMPARE(rig.config.setChannelConfig(older, 3, false), ERR_OK);
    CFG_ChannelMapping_struct before2, before3;
    rig.config.channelEntry(2, before2);
    rig.config.channelEntry(3, before3);

    SelectMapping page(rig.container(), rig.config);
    page.currentChannelchanged(2);
    rig.load();
    const QList<QComboBox *> boxes = combos(page);
    QVERIFY(choose(boxes.at(0), "Spindle Bearing"));
    QVERIFY(choose(boxes.at(1), "65"));
    QVERIFY(choose(boxes.at(2), "Cylindrical Roller"));
    QCOMPARE(storedMappingId(rig.config, 2), 106);
    CFG_ChannelMapping_struct entry;
    rig.config.channelEntry(3, entry);
    QCOMPARE(int(entry.tau()), 2000);

    // Angular Contact leaves mappings 104 and 105.
    QSignalSpy blobs(&rig.config, &Confighandler::ConfigBlobchanged);
    QVERIFY(choose(boxes.at(2), "Angular Contact"));
    QCOMPARE(blobs.count(), 1);
    rig.config.channelEntry(2, entry);
    QCOMPARE(entry.toBytes().left(35).toHex(), before2.toBytes().left(35).toHex());
    QCOMPARE(int(entry.channelMask()), 1 << 2);
    rig.config.channelEntry(3, entry);
    QCOMPARE(entry.toBytes().left(35).toHex(), before3.toBytes().left(35).toHex());
    // The page still shows the user's choice, ready to be completed.
    QCOMPARE(boxes.at(0)->currentText(), QString("Spindle Bearing"));
    QCOMPARE(boxes.at(1)->currentText(), QString("65"));
    QCOMPARE(boxes.at(2)->currentText(), QString("Angular Contact"));
    for (int s = 3; s < 6; ++s) {
        QCOMPARE(boxes.at(s)->currentText(), QString("custom entry"));
        QCOMPARE(boxes.at(s)->isEnabled(), s == 3);
    }

    // Nothing more to take back: a further choice writes nothing.
    blobs.clear();
    QVERIFY(choose(boxes.at(1), "50"));
    QCOMPARE(blobs.count(), 0);
    QCOMPARE(storedMappingId(rig.config, 2), 12);

    // A selection completed is written and stays.
    QVERIFY(choose(boxes.at(1), "65"));
    QVERIFY(choose(boxes.at(2), "Angular Contact"));
    QVERIFY(choose(boxes.at(3), "Standard"));
    QVERIFY(choose(boxes.at(4), "Oil-Air"));
    QVERIFY(choose(boxes.at(5), "2"));
    QCOMPARE(storedMappingId(rig.config, 2), 105);
    QCOMPARE(blobs.count(), 1);
}

void TestSelectMapping::followsChannelAndBlob()
{
    CatalogueRig rig;
    SelectMapping page(rig.container(), rig.config);
    page.currentChannelchanged(2);
    rig.load();
    const QList<QComboBox *> boxes = combos(page);
    const QStringList path{"Linear Guide", "25", "Flange Carriage", "Long", "Grease", "2"};
    for (int s = 0; s < 6; ++s)
        QVERIFY(choose(boxes.at(s), path.at(s)));
    QCOMPARE(storedMappingId(rig.config, 2), 10);

    QSignalSpy blobs(&rig.config, &Confighandler::ConfigBlobchanged);
    page.currentChannelchanged(0);
    QCOMPARE(page.currentChannelShown(), uint8_t(0));
    for (QComboBox *box : boxes)
        QCOMPARE(box->currentText(), QString("invalid/default entry"));

    page.currentChannelchanged(2);
    for (int s = 0; s < 6; ++s)
        QCOMPARE(boxes.at(s)->currentText(), path.at(s));

    page.currentChannelchanged(7);
    QCOMPARE(page.currentChannelShown(), uint8_t(2));
    QCOMPARE(blobs.count(), 0);

    // A new blob (here a custom entry on the channel) is shown at once.
    CFG_ChannelMapping_struct entry;
    rig.config.channelEntry(2, entry);
    QCOMPARE(rig.config.setChannelConfig(entry, 2, true), ERR_OK);
    for (QComboBox *box : boxes)
        QCOMPARE(box->currentText(), QString("custom entry"));
    QCOMPARE(blobs.count(), 1);
}

void TestSelectMapping::showsStoredEntryWhenBuilt()
{
    CatalogueRig rig;
    storeMappingId(rig.config, 1, 6);
    SelectMapping page(rig.container(), rig.config);
    page.currentChannelchanged(1);
    QSignalSpy blobs(&rig.config, &Confighandler::ConfigBlobchanged);
    rig.load();
    const QList<QComboBox *> boxes = combos(page);
    QCOMPARE(boxes.at(0)->currentText(), QString("Linear Guide"));
    for (int s = 1; s < 6; ++s) {
        QCOMPARE(boxes.at(s)->currentText(), QString("custom entry"));
        QCOMPARE(boxes.at(s)->isEnabled(), s == 1);
    }
    QCOMPARE(blobs.count(), 0);
    QCOMPARE(storedMappingId(rig.config, 1), 6);
}

void TestSelectMapping::emptyCatalogueOffersOnlyTheFixedRows()
{
    // No catalogue file at all: the load is reported, the page still works.
    CatalogueRig rig{QStringList{}};
    SelectMapping page(rig.container(), rig.config);
    page.currentChannelchanged(0);
    rig.load();
    QCOMPARE(rig.loadMessages.size(), 2);
    QVERIFY(page.modelsAreReady());
    QSignalSpy blobs(&rig.config, &Confighandler::ConfigBlobchanged);
    for (QComboBox *box : combos(page)) {
        QCOMPARE(pagefixture::itemTexts(box), (QStringList{"custom entry", "invalid/default entry"}));
        QCOMPARE(box->currentText(), QString("invalid/default entry"));
    }
    combos(page).at(0)->setCurrentIndex(0);
    QCOMPARE(blobs.count(), 0);
}

QTEST_MAIN(TestSelectMapping)
#include "tst_selectmapping.moc"
