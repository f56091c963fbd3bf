#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include "logcsv.h"
#include "logentry.h"
#include "logentryinfo.h"
#include "logfile.h"
#include "byteorder.h"
#include "logfixture.h"
#include "logsave.h"

namespace {

VersionInfo sampleVersion()
{
    ProductInfoRecord unit;
    unit.ethernetProtocolVersion = 0x0102;
    unit.firmwareBuild = 315;
    unit.firmwareMajor = 2;
    unit.firmwareMinor = 7;
    unit.hardwareRevision = 4;
    unit.unused = 0x5A;
    VersionInfo v(&unit);
    v.parseThreePart(QStringLiteral("03.11.01339 "));
    v.parseTwoPart(QStringLiteral("5.15"));
    v.setHostInfo({QStringLiteral("bench7"), QStringLiteral("x86_64"), QStringLiteral("Linux 6.1.0"),
                   QStringLiteral("Debian GNU/Linux 12")});
    return v;
}

QVector<LogRecord> threeRecords()
{
    QVector<LogRecord> r;
    r << RecordBuilder(1, 0x04030500) << RecordBuilder(2, 0x04040080).u16(9, 410)
      << RecordBuilder(3, 0x04030B00).u8(8, 5);
    return r;
}

// A tree as the log handler builds it.
struct Tree
{
    LogEntryBase root;
    Tree(const VersionInfo &info, const QVector<LogRecord> &records)
    {
        root.appendNew<LogEntryinfo>(info, &root);
        for (const LogRecord &r : records)
            root.appendNew<LogEntry>(r, &root);
    }
};

// Items of a LOG file made by hand: a u32 length and bytes each.
QByteArray item(const QByteArray &bytes)
{
    QByteArray out(4, '\0');
    be::put32(reinterpret_cast<uint8_t *>(out.data()), uint32_t(bytes.size()));
    return out + bytes;
}

QByteArray length(uint32_t n)
{
    QByteArray out(4, '\0');
    be::put32(reinterpret_cast<uint8_t *>(out.data()), n);
    return out;
}

QByteArray hostItems()
{
    return item("host") + item("cpu") + item("kernel") + item("os");
}

QByteArray recordsItem(const QVector<LogRecord> &records)
{
    QByteArray bytes;
    for (const LogRecord &r : records)
        bytes += r.toByteArray();
    return item(bytes);
}

QStringList noNames()
{
    QStringList names;
    for (int i = 0; i < 7; ++i)
        names << QString();
    return names;
}

QByteArray readFile(const QString &name)
{
    QFile f(name);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

} // namespace

class TestLogFiles : public QObject
{
    Q_OBJECT

private slots:
    void logFileLayout();
    void logFileRoundTrip();
    void logFileOfNoLog();
    void logFileOddPieces();
    void damagedLogFiles_data();
    void damagedLogFiles();
    void cutInsideTheRecords_data();
    void cutInsideTheRecords();
    void bytesNotRead_data();
    void bytesNotRead();
    void csvOfASmallHistory();
    void csvHeaderNames();
    void completeName_data();
    void completeName();
    void replaceKeepsTheOldFileOnFailure();
};

void TestLogFiles::logFileLayout()
{
    const VersionInfo v = sampleVersion();
    Tree t(v, threeRecords());
    const QByteArray bytes = LogFile::toBytes(v, t.root);
    // 4 + 11, six texts with their lengths, then 4 + 96.
    const int texts = 4 + 12 + 6 + 6 + 11 + 19;
    QCOMPARE(bytes.size(), 4 + 11 + 6 * 4 + texts + 4 + 96);
    QCOMPARE(bytes.left(4), QByteArray::fromHex("0000000b"));
    QCOMPARE(bytes.mid(4, 11), v.productInfo().toByteArray());
    QCOMPARE(bytes.mid(15, 7), QByteArray::fromHex("00000004") + "5.1");
    QCOMPARE(bytes.mid(bytes.size() - 100, 4), QByteArray::fromHex("00000060"));
    QCOMPARE(bytes.right(96), threeRecords()[0].toByteArray() + threeRecords()[1].toByteArray()
                                  + threeRecords()[2].toByteArray());
}

void TestLogFiles::logFileRoundTrip()
{
    QVector<LogRecord> records = threeRecords();
    for (int i = 0; i < 200; ++i)
        records << RecordBuilder(100 + i, 0x04040180).u16(9, uint16_t(i)).u8(31, uint8_t(i));
    const VersionInfo v = sampleVersion();
    Tree first(v, records);
    const QByteArray bytes = LogFile::toBytes(v, first.root);

    QVector<LogRecord> back;
    VersionInfo read(nullptr);
    QString error;
    QVERIFY2(LogFile::read(bytes, &back, &read, &error), qPrintable(error));
    QCOMPARE(back, records);
    QCOMPARE(read.productInfo().toByteArray(), v.productInfo().toByteArray());
    QCOMPARE(read.versionString(), v.versionString());
    QCOMPARE(read.shortVersionString(), v.shortVersionString());
    QCOMPARE(read.hostInfo(), v.hostInfo());
    // The tree shown from the file is the tree the file was written from.
    Tree second(read, back);
    QCOMPARE(treeText(second.root), treeText(first.root));
    QCOMPARE(LogFile::toBytes(read, second.root), bytes);
}

void TestLogFiles::logFileOfNoLog()
{
    VersionInfo v(nullptr);
    LogEntryBase root;
    const QByteArray bytes = LogFile::toBytes(v, root);
    QCOMPARE(bytes.left(15), QByteArray::fromHex("0000000b") + QByteArray(11, '\0'));
    QCOMPARE(bytes.right(4), QByteArray(4, '\0'));
    QVector<LogRecord> records{RecordBuilder(1, 1)};
    VersionInfo read(nullptr);
    QVERIFY(LogFile::read(bytes, &records, &read, nullptr));
    QVERIFY(records.isEmpty());
}

void TestLogFiles::logFileOddPieces()
{
    // An identification of another length is skipped, null texts are empty,
    // and a record section of 100 bytes holds 3 records.
    const QVector<LogRecord> records = threeRecords();
    QByteArray section;
    for (const LogRecord &r : records)
        section += r.toByteArray();
    section += QByteArray::fromHex("01020304");
    const QByteArray file = item("short id") + length(0xFFFFFFFF) + item("3.11.1339") + length(0xFFFFFFFF)
                            + item("cpu") + item(QByteArray("kern\0junk", 9)) + item("") + item(section);
    VersionInfo read(nullptr);
    ProductInfoRecord kept;
    kept.hardwareRevision = 9;
    read.setProductInfo(kept);
    QVector<LogRecord> back;
    QString error;
    QVERIFY2(LogFile::read(file, &back, &read, &error), qPrintable(error));
    QCOMPARE(back, records);
    QCOMPARE(read.productInfo().hardwareRevision, uint8_t(9));
    QCOMPARE(read.shortVersionString(), QString());
    QCOMPARE(read.versionString(), QStringLiteral("03.11.01339 "));
    QCOMPARE(read.hostInfo(), QStringList({"", "cpu", "kern", ""}));
}

void TestLogFiles::damagedLogFiles_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("reason");

    const QByteArray id = item(QByteArray(11, '\x01'));
    const QByteArray versions = item("5.15") + item("03.11.01339 ");
    const QByteArray whole = id + versions + hostItems() + recordsItem(threeRecords());
    QTest::newRow("empty file") << QByteArray() << "ends before the unit identification";
    QTest::newRow("cut in the first length") << whole.left(3) << "ends before the unit identification";
    QTest::newRow("cut in the identification") << whole.left(10) << "unit identification needs 11 bytes, but only 6";
    QTest::newRow("cut before the Qt version") << id << "ends before the Qt version";
    QTest::newRow("cut in the tool version") << id + item("5.15") + length(12) + "03.1"
                                             << "tool version needs 12 bytes, but only 4";
    QTest::newRow("cut before the host name") << id + versions << "ends before the host name";
    QTest::newRow("cut in the operating system") << id + versions + item("h") + item("c") + item("k") + length(2)
                                                 << "operating system needs 2 bytes, but only 0";
    QTest::newRow("no record section") << id + versions + hostItems() << "ends before the records";
    QTest::newRow("huge identification") << length(0x7FFFFFFF) + QByteArray(11, '\0')
                                         << "unit identification needs 2147483647 bytes";
    QTest::newRow("huge text") << id + length(0x40000000) + "5.15" << "Qt version needs 1073741824 bytes";
    // A length beyond any log is damage, whether or not the bytes follow,
    // and the refusal says the limit.
    QTest::newRow("huge record count") << id + versions + hostItems() + length(0x7FFFFFE0)
                                       << "records claim 2147483616 bytes, more than the 134217728 bytes (128 MiB)";
    QTest::newRow("records longer than any log") << id + versions + hostItems()
                                                        + length(LogFile::kMaxRecordBytes + 32) + QByteArray(64, 1)
                                                 << "records claim 134217760 bytes, more than the 134217728 bytes";
    // A section that says "no records" followed by 600 of them: read as an
    // empty log it would lose them without a word.
    QTest::newRow("null record section with records after")
        << id + versions + hostItems() + length(0xFFFFFFFF) + QByteArray(19200, 1)
        << "its record section says it holds no records (-1), but 19200 bytes follow it";
    QTest::newRow("null record section with one byte after")
        << id + versions + hostItems() + length(0xFFFFFFFF) + QByteArray(1, 0) << "but 1 bytes follow it";
    QTest::newRow("negative length") << id + versions + length(0x80000000) << "host name has the length -2147483648";
    QTest::newRow("negative record count") << id + versions + hostItems() + length(0xFFFFFFE0)
                                           << "records have the length -32";
}

void TestLogFiles::damagedLogFiles()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, reason);
    const QVector<LogRecord> before{RecordBuilder(7, 0x04030500)};
    QVector<LogRecord> records = before;
    VersionInfo info = sampleVersion();
    QString error;
    QString warning = QStringLiteral("left over");
    QVERIFY(!LogFile::read(file, &records, &info, &error, &warning));
    QVERIFY2(error.contains(reason), qPrintable(error));
    QVERIFY(warning.isEmpty());
    // Nothing is half-read.
    QCOMPARE(records, before);
    QCOMPARE(info.hostInfo(), sampleVersion().hostInfo());
    QCOMPARE(info.productInfo().toByteArray(), sampleVersion().productInfo().toByteArray());
}

void TestLogFiles::cutInsideTheRecords_data()
{
    QTest::addColumn<int>("cutAt");  // bytes of the record section's content kept
    QTest::addColumn<QByteArray>("claim");  // the section's length as the file gives it
    QTest::addColumn<int>("records");
    QTest::addColumn<QString>("note");
    const QByteArray written = length(96);
    QTest::newRow("last byte missing") << 95 << written << 2 << "they need 96 bytes, but only 95 remain. The 2 whole";
    QTest::newRow("cut between records") << 64 << written << 2 << "need 96 bytes, but only 64 remain";
    QTest::newRow("cut in the first record") << 31 << written << 0 << "The 0 whole records";
    QTest::newRow("cut after the length") << 0 << written << 0 << "need 96 bytes, but only 0 remain";
    QTest::newRow("length of no whole record") << 96 << length(100) << 3 << "need 100 bytes, but only 96 remain";
    QTest::newRow("longest length still a cut") << 40 << length(LogFile::kMaxRecordBytes) << 1
                                                << "need 134217728 bytes, but only 40 remain";
    QTest::newRow("whole file") << 96 << written << 3 << "";
}

void TestLogFiles::cutInsideTheRecords()
{
    QFETCH(int, cutAt);
    QFETCH(QByteArray, claim);
    QFETCH(int, records);
    QFETCH(QString, note);
    // A file that lost its end on the way still holds the whole records
    // before the cut; the versions and host texts before them are whole.
    QByteArray content;
    for (const LogRecord &r : threeRecords())
        content += r.toByteArray();
    const QByteArray file = item(QByteArray(11, '\x01')) + item("5.15") + item("03.11.01339 ") + hostItems() + claim
                            + content.left(cutAt);
    QVector<LogRecord> read{RecordBuilder(7, 0x04030500)};
    VersionInfo info;
    QString error, warning;
    QVERIFY2(LogFile::read(file, &read, &info, &error, &warning), qPrintable(error));
    QCOMPARE(read, threeRecords().mid(0, records));
    QCOMPARE(info.hostInfo(), QStringList({"host", "cpu", "kernel", "os"}));
    QCOMPARE(info.versionString(), QStringLiteral("03.11.01339 "));
    QCOMPARE(warning.isEmpty(), note.isEmpty());
    QVERIFY2(warning.contains(note), qPrintable(warning));
    if (!note.isEmpty())
        QVERIFY2(warning.contains(QStringLiteral("cut short inside its records")), qPrintable(warning));
}

void TestLogFiles::bytesNotRead_data()
{
    QTest::addColumn<QByteArray>("section");  // the record section and what follows it
    QTest::addColumn<int>("records");
    QTest::addColumn<QString>("note");
    QByteArray content;
    for (const LogRecord &r : threeRecords())
        content += r.toByteArray();
    QTest::newRow("null section, nothing after") << length(0xFFFFFFFF) << 0 << "";
    QTest::newRow("empty section") << length(0) << 0 << "";
    QTest::newRow("bytes after the records") << length(96) + content + "tail!" << 3
                                             << "The LOG file holds 5 bytes after its records; they were not read.";
    QTest::newRow("bytes after an empty section") << length(0) + content << 0 << "holds 96 bytes after its records";
    QTest::newRow("section of no whole record")
        << length(100) + content + "abcd" << 3
        << "The LOG file's records end in a cut record: 4 bytes after the last whole record were not read.";
    QTest::newRow("both") << length(40) + content << 1
                          << "end in a cut record: 8 bytes after the last whole record were not read. The LOG file "
                             "holds 56 bytes after its records";
}

void TestLogFiles::bytesNotRead()
{
    QFETCH(QByteArray, section);
    QFETCH(int, records);
    QFETCH(QString, note);
    const QByteArray file = item(QByteArray(11, '\x01')) + item("5.15") + item("03.11.01339 ") + hostItems() + section;
    QVector<LogRecord> read{RecordBuilder(7, 0x04030500)};
    VersionInfo info;
    QString error, warning = QStringLiteral("left over");
    QVERIFY2(LogFile::read(file, &read, &info, &error, &warning), qPrintable(error));
    QCOMPARE(read, threeRecords().mid(0, records));
    QCOMPARE(warning.isEmpty(), note.isEmpty());
    QVERIFY2(warning.contains(note), qPrintable(warning));
}

void TestLogFiles::csvOfASmallHistory()
{
    SkwHistory h;
    h.errors = {100, 250};
    for (int i = 0; i < 5; ++i)
        h.channels[0].append({1000 + i, 400 + i});
    h.channels[6].append({5, -0});
    const QByteArray csv = LogCsv::toBytes(h, noNames());
    const QList<QByteArray> lines = csv.split('\n');
    QCOMPARE(lines.size(), 7);  // header, five data lines, nothing after the last line end
    QCOMPARE(lines.at(0),
             QByteArray("\"Error Timestamp[s]\";\"Configuration Timestamp[s]\";\" Timestamp[s]\";\" Value\";"
                        "\" Timestamp[s]\";\" Value\";\" Timestamp[s]\";\" Value\";\" Timestamp[s]\";\" Value\";"
                        "\" Timestamp[s]\";\" Value\";\" Timestamp[s]\";\" Value\";\" Timestamp[s]\";\" Value\""));
    QCOMPARE(lines.at(1), QByteArray("100;;1000;400;;;;;;;;;;;5;0"));
    QCOMPARE(lines.at(2), QByteArray("250;;1001;401;;;;;;;;;;;;"));
    QCOMPARE(lines.at(3), QByteArray(";;1002;402;;;;;;;;;;;;"));
    QCOMPARE(lines.at(5), QByteArray(";;1004;404;;;;;;;;;;;;"));
    QCOMPARE(lines.at(6), QByteArray());
    QCOMPARE(LogCsv::toBytes(SkwHistory(), noNames()).count('\n'), 1);
}

void TestLogFiles::csvHeaderNames()
{
    QStringList names = noNames();
    names[2] = QStringLiteral("Pump");
    names[3] = QStringLiteral("Mühle \"A\"");
    const QByteArray header = LogCsv::toBytes(SkwHistory(), names).split('\n').at(0);
    QVERIFY(header.contains(";\"Pump Timestamp[s]\";\"Pump Value\";"));
    QVERIFY(header.contains(QStringLiteral(";\"Mühle \"A\" Timestamp[s]\";").toUtf8()));
}

void TestLogFiles::completeName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("suffix");
    QTest::addColumn<QString>("completed");
    QTest::newRow("plain") << "/tmp/unit7" << "hex" << "/tmp/unit7.hex";
    QTest::newRow("upper case suffix") << "unit7.HEX" << "hex" << "unit7.HEX.hex";
    QTest::newRow("letters without a point") << "unit7hex" << "hex" << "unit7hex";
    QTest::newRow("has it") << "log.csv" << "csv" << "log.csv";
    QTest::newRow("other suffix") << "log.txt" << "csv" << "log.txt.csv";
    QTest::newRow("blank") << "  \t" << "txt" << "";
    QTest::newRow("empty") << "" << "txt" << "";
}

void TestLogFiles::completeName()
{
    QFETCH(QString, name);
    QFETCH(QString, suffix);
    QFETCH(QString, completed);
    QCOMPARE(LogSave::completeName(name, suffix), completed);
}

void TestLogFiles::replaceKeepsTheOldFileOnFailure()
{
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("log.hex"));
    auto writeText = [](const QByteArray &text) {
        return [text](QIODevice &f) { return f.write(text) == text.size(); };
    };
    QCOMPARE(LogSave::replace(target, writeText("old"), "LOGFile"), ERR_OK);
    QCOMPARE(readFile(target), QByteArray("old"));
    QCOMPARE(QFileInfo(target).permissions() & QFileDevice::WriteOther, QFileDevice::WriteOther);

    // The content fails half-way: the old file stays.
    auto failing = [](QIODevice &f) {
        f.write("new, but not all");
        return false;
    };
    QString reason;
    QCOMPARE(LogSave::replace(target, failing, "LOGFile", &reason), ERR_INVALID_FILE);
    QCOMPARE(readFile(target), QByteArray("old"));
    QCOMPARE(reason, QStringLiteral("the content could not be written"));

    // A folder that does not exist: nothing written anywhere, and the
    // folder named.
    QCOMPARE(LogSave::replace(dir.filePath(QStringLiteral("missing/deeper/log.hex")), writeText("x"), "LOGFile",
                              &reason),
             ERR_INVALID_FILE);
    QCOMPARE(reason, QStringLiteral("the folder %1 does not exist").arg(dir.filePath(QStringLiteral("missing/deeper"))));
    QCOMPARE(LogSave::replace(QStringLiteral("missing-here/log.hex"), writeText("x"), "LOGFile", &reason),
             ERR_INVALID_FILE);
    QCOMPARE(reason, QStringLiteral("the folder missing-here does not exist"));
    // A file where the folder should be.
    QCOMPARE(LogSave::replace(target + QStringLiteral("/log.hex"), writeText("x"), "LOGFile", &reason),
             ERR_INVALID_FILE);
    QCOMPARE(reason, QStringLiteral("%1 is not a folder").arg(target));
    // The target is a folder: refused, the folder is left alone.
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("taken.hex")));
    QCOMPARE(LogSave::replace(dir.filePath(QStringLiteral("taken.hex")), writeText("x"), "LOGFile", &reason),
             ERR_INVALID_FILE);
    QCOMPARE(reason, QStringLiteral("%1 is a folder").arg(dir.filePath(QStringLiteral("taken.hex"))));
    // Written after all: no reason left from before.
    QCOMPARE(LogSave::replace(target, writeText("new"), "LOGFile", &reason), ERR_OK);
    QVERIFY(reason.isEmpty());
    QCOMPARE(readFile(target), QByteArray("new"));
    QVERIFY(QFileInfo(dir.filePath(QStringLiteral("taken.hex"))).isDir());
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"log.hex"});
}

QTEST_GUILESS_MAIN(TestLogFiles)
#include "tst_logfiles.moc"
