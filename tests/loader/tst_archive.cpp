#include <QtTest>

#include "firmwarearchive.h"
#include "loaderfixture.h"

using namespace loader;

class TestArchive : public QObject
{
    Q_OBJECT
private slots:
    void saveLoadRoundTrip();
    void textLayout();
    void readerAcceptsAnyHexLayout();
    void truncationAnywhereIsRefused();
    void corruptHeader_data();
    void corruptHeader();
    void extractSection();
    void missingFile();
};

namespace {

// The decoded bytes of an archive's text.
QByteArray contentOf(FirmwareArchive &a)
{
    QByteArray t = a.toText();
    t.replace('\n', ' ');
    return QByteArray::fromHex(t);
}

QByteArray hexText(const QByteArray &content)
{
    return content.toHex(' ');
}

FirmwareArchive sample()
{
    FirmwareArchive a = fixture::makeArchive(
        3, {{FirmwareSection::PagedImage, fixture::pattern(100, 1)}, {FirmwareSection::InfoBlock, fixture::pattern(10, 2)}});
    FirmwareSectionGroup keys;
    keys.type = 2;
    keys.first = 1;
    keys.count = 1;
    keys.size = 77;
    keys.label = QStringLiteral("keys");
    keys.comment = QString();  // a null text survives as null
    a.addGroup(keys);
    return a;
}

} // namespace

void TestArchive::saveLoadRoundTrip()
{
    FirmwareArchive written = sample();
    const QString path = fixture::tempPath(QStringLiteral("roundtrip.fwa"));
    QCOMPARE(written.save(path), ERR_OK);

    FirmwareArchive read;
    QCOMPARE(read.load(path), ERR_OK);
    FirmwareArchiveHeader a, b;
    written.copyHeader(a);
    read.copyHeader(b);
    QCOMPARE(b.name, a.name);
    QCOMPARE(b.firstHeaderValue, 1);
    QCOMPARE(b.secondHeaderValue, 2);
    QCOMPARE(b.sections, a.sections);
    QCOMPARE(b.indexes, a.indexes);
    QCOMPARE(b.groups, a.groups);
    QVERIFY(b.groups.at(1).comment.isNull());
    QCOMPARE(read.image(), written.image());
    QCOMPARE(read.headerBlock(), written.headerBlock());
}

void TestArchive::textLayout()
{
    FirmwareArchive a = sample();
    const QByteArray text = a.toText();
    QVERIFY(text.startsWith("fe ed c0 de "));
    const QList<QByteArray> lines = text.split('\n');
    for (int i = 0; i + 1 < lines.size(); ++i)
        QCOMPARE(lines.at(i).size(), 16 * 3 - 1);  // 16 bytes a line
    QVERIFY(!text.endsWith(' '));
    // The header block is QDataStream's own serialisation.
    QByteArray expected;
    QDataStream out(&expected, QIODevice::WriteOnly);
    out << QStringLiteral("test image") << qint32(2) << qint32(1);
    QVERIFY(a.headerBlock().startsWith(expected));

    FirmwareArchive empty;
    QVERIFY(empty.toText().endsWith("00 00 00 00 00 "));
}

void TestArchive::readerAcceptsAnyHexLayout()
{
    FirmwareArchive a = sample();
    QByteArray content = contentOf(a);
    content[0] = 0x12;  // the magic is not checked
    QByteArray messy = content.toHex().toUpper();
    messy.insert(10, "\r\n  ");
    messy.append("\n  zz\r\n");  // no further hex digits
    FirmwareArchive read;
    QCOMPARE(read.loadText(messy), ERR_OK);
    QCOMPARE(read.image(), a.image());
}

void TestArchive::truncationAnywhereIsRefused()
{
    FirmwareArchive a = sample();
    const QByteArray content = contentOf(a);
    // Every shorter prefix (every field boundary and every byte between)
    // is refused with the archive code, and the lists stay empty.
    for (int n = 0; n < content.size(); ++n) {
        FirmwareArchive read;
        QCOMPARE(read.loadText(hexText(content.left(n))), ERR_ARCHIVE_TRUNCATED);
        FirmwareArchiveHeader h;
        read.copyHeader(h);
        QVERIFY(h.sections.isEmpty() && h.groups.isEmpty() && h.indexes.isEmpty());
    }
    FirmwareArchive read;
    QCOMPARE(read.loadText(hexText(content)), ERR_OK);
}

void TestArchive::corruptHeader_data()
{
    QTest::addColumn<QByteArray>("header");
    auto be = [](std::initializer_list<qint32> values) {
        QByteArray b;
        QDataStream s(&b, QIODevice::WriteOnly);
        for (qint32 v : values)
            s << v;
        return b;
    };
    const QByteArray nameAndValues = be({-1, 2, 1});  // null name, two values
    QTest::newRow("huge section count") << nameAndValues + be({0x7FFFFFFF});
    QTest::newRow("huge name") << be({0x7FFFFFF0}) + QByteArray(8, 'x');
    QTest::newRow("odd name length") << be({3}) + QByteArray("abc") + be({0, 0, 0, 0, 0});
    QTest::newRow("negative section size") << nameAndValues + be({1, 0, 3, -5, 0, -1, 0, 0});
    QTest::newRow("negative section offset") << nameAndValues + be({1, 0, 3, 5, -1, -1, 0, 0});
    QTest::newRow("negative index") << nameAndValues + be({0, 1, -3, 0});
    QTest::newRow("negative group count") << nameAndValues + be({0, 0, 1, 3, 0, -1, 0, -1, -1});
    QTest::newRow("index count beyond data") << nameAndValues + be({0, 1000});
    QTest::newRow("group cut in its texts") << nameAndValues + be({0, 0, 1, 3, 0, 1, 0, 20}) + QByteArray(4, 'x');
}

void TestArchive::corruptHeader()
{
    QFETCH(QByteArray, header);
    QByteArray content = QByteArray::fromHex("feedc0de");
    const auto put = [&content](uint32_t n) {
        const char b[5] = {char(n >> 24), char(n >> 16), char(n >> 8), char(n), 0};
        content.append(b, 5);
    };
    put(uint32_t(header.size()));
    content.append(header);
    put(4);
    content.append("\x01\x02\x03\x04", 4);

    FirmwareArchive read = sample();
    FirmwareArchiveHeader before;
    read.copyHeader(before);
    QCOMPARE(read.loadText(hexText(content)), ERR_ARCHIVE_TRUNCATED);
    FirmwareArchiveHeader after;
    read.copyHeader(after);
    QCOMPARE(after.sections, before.sections);
    QCOMPARE(after.groups, before.groups);
}

void TestArchive::extractSection()
{
    FirmwareArchive a = sample();
    QByteArray buffer(100, '\0');
    auto *b = reinterpret_cast<uint8_t *>(buffer.data());
    QCOMPARE(a.extractSection(b, 100, 0), ERR_OK);
    QCOMPARE(buffer, fixture::pattern(100, 1));
    QCOMPARE(a.extractSection(b, 99, 0), ERR_SECTION_EXTENT);
    QCOMPARE(a.extractSection(b, 100, 2), ERR_SECTION_INDEX);
    QCOMPARE(a.extractSection(b, 100, -1), ERR_SECTION_INDEX);

    // A section that reaches past the image.
    FirmwareArchive shortImage;
    shortImage.addSection(reinterpret_cast<const uint8_t *>("abcd"), 4, FirmwareSection::SingleBlock, QString());
    QByteArray content = contentOf(shortImage);
    content.chop(1);
    content[content.size() - 4 - 1] = 3;  // image length 3 instead of 4
    FirmwareArchive read;
    QCOMPARE(read.loadText(hexText(content)), ERR_OK);
    QCOMPARE(read.extractSection(b, 100, 0), ERR_SECTION_EXTENT);
}

void TestArchive::missingFile()
{
    FirmwareArchive a;
    QCOMPARE(a.load(fixture::tempPath(QStringLiteral("does-not-exist.fwa"))), ERR_FILE_OPEN);
    QCOMPARE(a.save(fixture::tempPath(QStringLiteral("no-such-dir/x.fwa"))), ERR_FILE_OPEN);
}

QTEST_MAIN(TestArchive)
#include "tst_archive.moc"
