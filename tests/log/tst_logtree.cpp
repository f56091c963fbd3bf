#include <QAbstractItemModelTester>
#include <QCoreApplication>
#include <QDataStream>
#include <QTranslator>
#include <QtTest>

#include "logentry.h"
#include "logentrydetail.h"
#include "logentryinfo.h"
#include "logfixture.h"
#include "treemodel.h"
#include "unitsimblocks.h"

namespace {

VersionInfo fixedVersion()
{
    ProductInfoRecord unit;
    unit.ethernetProtocolVersion = 3;
    unit.flashProtocolVersion = 2;
    unit.firmwareBuild = 315;
    unit.firmwareModified = 1;
    unit.firmwareMajor = 2;
    unit.firmwareMinor = 7;
    unit.hardwareRevision = 4;
    unit.unused = 0xEE;
    VersionInfo v(&unit);
    v.parseThreePart(QStringLiteral("01.02.00345 "));
    v.parseTwoPart(QStringLiteral("5.15"));
    v.setHostInfo({QStringLiteral("bench7"), QStringLiteral("x86_64"), QStringLiteral("Linux 6.1.0"),
                   QStringLiteral("Debian GNU/Linux 12")});
    return v;
}

// The information entry, then one entry per record, as the log handler
// fills the tree.
void fill(LogEntryBase *root, const VersionInfo &info, const QVector<LogRecord> &records)
{
    root->appendChild(new LogEntryinfo(info, root));
    for (const LogRecord &r : records)
        root->appendChild(new LogEntry(r, root));
}

QVector<LogRecord> simulatedLog(int count)
{
    const QByteArray bytes = UnitSimBlocks::makeLogRecords(count);
    QVector<LogRecord> records;
    for (int at = 0; at < bytes.size(); at += LogRecord::kSize)
        records << LogRecord::fromBytes(reinterpret_cast<const uint8_t *>(bytes.constData()) + at);
    return records;
}

// A start-up and an Ethernet error with one row.
QVector<LogRecord> smallLog()
{
    QVector<LogRecord> log;
    log << RecordBuilder(100, 0x04030500);
    log << RecordBuilder(31536000u + 86400u * 2 + 3723u, 0x04030411).u32(8, 0xFFFFFFFF);
    return log;
}

} // namespace

class TestLogTree : public QObject
{
    Q_OBJECT

private slots:
    void emptyTree();
    void textExport();
    void binaryFormRoundTrip();
    void informationEntry();
    void informationEntryOfAnEmptyIdentification();
    void modelShape();
    void modelRoles();
    void modelOverADecodedLog();
    void findIndexOfItem();
    void resetDropsTheEntries();
    void languageChangeRetranslates();
};

void TestLogTree::emptyTree()
{
    TreeModel model;
    QCOMPARE(model.rowCount(), 0);
    QCOMPARE(model.columnCount(), 3);
    QCOMPARE(serialized(*model.rootItem()), QByteArray(4, '\0'));
    QCOMPARE(treeText(*model.rootItem()), QString());
    QVERIFY(!model.index(0, 0).isValid());
    QVERIFY(!model.rootItem()->child(0));
    QVERIFY(!model.rootItem()->child(-1));
}

void TestLogTree::textExport()
{
    LogEntryBase root;
    fill(&root, fixedVersion(), smallLog());
    const QString expected = QStringLiteral(
        "\t\tGenerell System Information \n"
        "\t\t\tSystem Information\t\n"
        "\t\t\t\tHostname\tbench7\n"
        "\t\t\t\tCPU architecture\tx86_64\n"
        "\t\t\t\tOperating System Type\tLinux 6.1.0\n"
        "\t\t\t\tOperating System Version\tDebian GNU/Linux 12\n"
        "\t\t\tSST Version Information\t\n"
        "\t\t\t\tSST Version\t01.02.00345 \n"
        "\t\t\t\tQT Version\t5.15\n"
        "\t\t\tPPU Version Information\t\n"
        "\t\t\t\tEthernet Protocoll Version\t3\n"
        "\t\t\t\tFlash Protocoll Version\t2\n"
        "\t\t\t\tFirmware Version\t02.07.00315\n"
        "\t\t\t\tFirmware Modified\tyes\n"
        "\t\t\t\tHardware Revision Module\t4\n"
        "\tTime: 00 000 00:01:40\tID: 0x04030500\tBootup succesfull\n"
        "\tTime: 01 002 01:02:03\tID: 0x04030411\tethernet Send error\n"
        "\t\t\tErrorvalue\t-1\n");
    QCOMPARE(treeText(root), expected);
    QCOMPARE(root.toString(), QStringLiteral("TIMESTAMP \t ID \t ID DESCRIPTION"));
}

void TestLogTree::binaryFormRoundTrip()
{
    // The binary form holds the records only; building a tree from them
    // again gives the same tree.
    const QVector<LogRecord> records = simulatedLog(300) + smallLog();
    LogEntryBase first;
    fill(&first, fixedVersion(), records);
    QCOMPARE(first.rawSize(), 32 * records.size());
    const QByteArray bytes = serialized(first);
    QCOMPARE(bytes.size(), 4 + 32 * records.size());
    QCOMPARE(bytes.left(4), QByteArray::fromHex(QByteArray::number(32 * records.size(), 16).rightJustified(8, '0')));
    const QVector<LogRecord> back = recordsOf(bytes);
    QCOMPARE(back, records);

    LogEntryBase second;
    fill(&second, fixedVersion(), back);
    QCOMPARE(treeText(second), treeText(first));
    QCOMPARE(serialized(second), bytes);
}

void TestLogTree::informationEntry()
{
    LogEntryinfo info(fixedVersion(), nullptr);
    QCOMPARE(info.rawSize(), 0);
    QCOMPARE(info.childCount(), 3);
    QCOMPARE(detailLines(info),
             QStringList({"System Information||s", "SST Version Information||s", "PPU Version Information||s"}));
    QCOMPARE(detailLines(*info.child(2)),
             QStringList({"Ethernet Protocoll Version|3|s", "Flash Protocoll Version|2|s",
                          "Firmware Version|02.07.00315|s", "Firmware Modified|yes|s",
                          "Hardware Revision Module|4|s"}));
    QCOMPARE(info.versionInfo().productInfo().unused, uint8_t(0xEE));
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    info.write(out);
    QVERIFY(bytes.isEmpty());
}

void TestLogTree::informationEntryOfAnEmptyIdentification()
{
    VersionInfo v(nullptr);
    v.setHostInfo({QStringLiteral("only one")});  // a damaged file may give fewer
    LogEntryinfo info(v, nullptr);
    QCOMPARE(detailLines(*info.child(2)),
             QStringList({"Ethernet Protocoll Version|0|s", "Flash Protocoll Version|0|s",
                          "Firmware Version|00.00.00000|s", "Firmware Modified|no|s", "Hardware Revision Module|0|s"}));
    QCOMPARE(detailLines(*info.child(0)),
             QStringList({"Hostname|only one|s", "CPU architecture||s", "Operating System Type||s",
                          "Operating System Version||s"}));
}

void TestLogTree::modelShape()
{
    TreeModel model;
    fill(model.rootItem(), fixedVersion(), smallLog());
    model.notifyReset();

    QCOMPARE(model.rowCount(), 3);
    const QModelIndex info = model.index(0, 0);
    const QModelIndex group = model.index(2, 0, info);
    const QModelIndex row = model.index(1, 2, group);
    QCOMPARE(model.rowCount(info), 3);
    QCOMPARE(model.rowCount(group), 5);
    QCOMPARE(model.rowCount(row), 0);
    // Rows hang below column 0 only.
    QCOMPARE(model.rowCount(model.index(0, 1)), 0);
    QCOMPARE(model.rowCount(model.index(0, 2)), 0);
    QVERIFY(!model.index(3, 0).isValid());
    QVERIFY(!model.index(-1, 0).isValid());
    QVERIFY(!model.index(0, 3).isValid());

    QVERIFY(!model.parent(info).isValid());
    QCOMPARE(model.parent(group), model.index(0, 0));
    QCOMPARE(model.parent(row), group);
    const QModelIndex detail = model.index(0, 1, model.index(2, 0));
    QCOMPARE(model.parent(detail), model.index(2, 0));
    QVERIFY(!model.parent(QModelIndex()).isValid());

    QCOMPARE(model.flags(info), Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    QCOMPARE(model.flags(QModelIndex()), Qt::NoItemFlags);
    QCOMPARE(model.headerData(0, Qt::Horizontal).toString(), QStringLiteral("Timestamp"));
    QCOMPARE(model.headerData(1, Qt::Horizontal).toString(), QStringLiteral("ID"));
    QCOMPARE(model.headerData(2, Qt::Horizontal).toString(), QStringLiteral("Description"));
    QVERIFY(!model.headerData(3, Qt::Horizontal).isValid());
    QVERIFY(!model.headerData(0, Qt::Vertical).isValid());
    QVERIFY(!model.headerData(0, Qt::Horizontal, Qt::UserRole).isValid());
}

void TestLogTree::modelRoles()
{
    TreeModel model;
    fill(model.rootItem(), fixedVersion(), smallLog());
    model.notifyReset();
    auto display = [&](const QModelIndex &i) { return model.data(i, Qt::DisplayRole); };
    auto user = [&](const QModelIndex &i) { return model.data(i, Qt::UserRole); };

    // The information entry: its title in the "ID" column only.
    QCOMPARE(display(model.index(0, 1)).toString(), QStringLiteral("Generell System Information "));
    QVERIFY(!display(model.index(0, 0)).isValid());
    QVERIFY(!display(model.index(0, 2)).isValid());
    for (int c = 0; c < 3; ++c)
        QVERIFY(!user(model.index(0, c)).isValid());
    // Its group row: title under "ID", an empty description.
    const QModelIndex groupParent = model.index(0, 0);
    QCOMPARE(display(model.index(1, 1, groupParent)).toString(), QStringLiteral("SST Version Information"));
    QCOMPARE(display(model.index(1, 2, groupParent)).toString(), QString());

    // A record entry.
    const QModelIndex entry = model.index(2, 0);
    QCOMPARE(display(entry).toString(), QStringLiteral("Time: 01 002 01:02:03"));
    QCOMPARE(user(entry).userType(), int(QMetaType::UInt));
    QCOMPARE(user(entry).toUInt(), 31536000u + 86400u * 2 + 3723u);
    QCOMPARE(user(model.index(2, 1)).toUInt(), 0x04030411u);
    QVERIFY(!user(model.index(2, 2)).isValid());

    // Its detail holding an int.
    QVERIFY(!display(model.index(0, 0, entry)).isValid());
    QCOMPARE(display(model.index(0, 1, entry)).toString(), QStringLiteral("Errorvalue"));
    QCOMPARE(display(model.index(0, 2, entry)).toString(), QStringLiteral("-1"));
    QCOMPARE(user(model.index(0, 2, entry)).userType(), int(QMetaType::Int));
    QCOMPARE(user(model.index(0, 2, entry)).toInt(), -1);
    QVERIFY(!user(model.index(0, 1, entry)).isValid());
    QVERIFY(!user(model.index(0, 0, entry)).isValid());
    for (const QModelIndex &i : {entry, model.index(0, 2, entry), model.index(0, 1)})
        QVERIFY(!model.data(i, Qt::ToolTipRole).isValid());
    QVERIFY(!model.data(QModelIndex(), Qt::DisplayRole).isValid());

    // The root's own texts name the columns of the text export.
    QCOMPARE(model.rootItem()->data(model.index(0, 2), Qt::DisplayRole).toString(), QStringLiteral("ID DESCRIPTION"));
}

void TestLogTree::modelOverADecodedLog()
{
    TreeModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    model.resetModel();
    fill(model.rootItem(), fixedVersion(), simulatedLog(400));
    model.notifyReset();
    QCOMPARE(model.rowCount(), 401);
    // The tester walks what a view reaches first; check every parent link too.
    for (int r = 0; r < model.rowCount(); ++r) {
        const QModelIndex top = model.index(r, 0);
        for (int c = 0; c < model.rowCount(top); ++c)
            QCOMPARE(model.parent(model.index(c, 2, top)), top);
    }
    model.resetModel();
    QCOMPARE(model.rowCount(), 0);
}

void TestLogTree::findIndexOfItem()
{
    TreeModel model;
    fill(model.rootItem(), fixedVersion(), smallLog());
    LogEntryBase *info = model.rootItem()->child(0);
    LogEntryBase *deep = info->child(1)->child(1);
    QCOMPARE(model.indexOfItem(deep), model.index(1, 0, model.index(1, 0, model.index(0, 0))));
    QCOMPARE(model.indexOfItem(model.rootItem()->child(2)), model.index(2, 0));
    LogEntryBase stranger;
    QVERIFY(!model.indexOfItem(&stranger).isValid());
}

void TestLogTree::resetDropsTheEntries()
{
    TreeModel model;
    fill(model.rootItem(), fixedVersion(), smallLog());
    QSignalSpy about(&model, &QAbstractItemModel::modelAboutToBeReset);
    QSignalSpy done(&model, &QAbstractItemModel::modelReset);
    model.resetModel();
    QCOMPARE(model.rowCount(), 0);
    QCOMPARE(serialized(*model.rootItem()), QByteArray(4, '\0'));
    model.notifyReset();
    QCOMPARE(about.count(), 2);
    QCOMPARE(done.count(), 2);
}

void TestLogTree::languageChangeRetranslates()
{
    // Entry texts are shared between entries; a new language must not leave
    // the old texts behind.
    LogEntry e(RecordBuilder(0, 0x04030B00).u8(8, 1), nullptr);
    QCOMPARE(e.description(), QStringLiteral("Input Overload on Channels: 1"));
    QTranslator german;
    QVERIFY(german.load(QStringLiteral("SST_de.qm"), qEnvironmentVariable("KORVANTIS_BIN_DIR") + "/translations"));
    QCoreApplication::installTranslator(&german);
    e.refresh();
    const QString translated = e.description();
    QVERIFY2(!translated.startsWith(QStringLiteral("Input Overload")), qPrintable(translated));
    QVERIFY(translated.endsWith(QLatin1Char('1')));
    QVERIFY(detailLines(e).at(0) != QStringLiteral("Channel|1|i"));
    QCoreApplication::removeTranslator(&german);
    e.refresh();
    QCOMPARE(e.description(), QStringLiteral("Input Overload on Channels: 1"));
    QCOMPARE(detailLines(e), QStringList{"Channel|1|i"});
}

QTEST_GUILESS_MAIN(TestLogTree)
#include "tst_logtree.moc"
