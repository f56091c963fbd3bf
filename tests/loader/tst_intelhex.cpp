#include <QtTest>

#include "firmwaresealer.h"
#include "intelhex.h"
#include "byteorder.h"
#include "loaderfixture.h"

using namespace loader;

// Sealing is checked against srecord's tools, which read and write Intel HEX
// independently of the loader.
class TestIntelHex : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void sealedImageVerifiedIndependently();
    void sealedFileLayout();
    void sealingTwiceGivesTheSameFile();
    void dataUpToTheRegionEnd();
    void skippedLinesAndBlanks();
    void refusedFilesStayUntouched_data();
    void refusedFilesStayUntouched();
    void longestRecordAndShortLastLine();

private:
    QString m_srecCat;
    QString m_srecInfo;
};

namespace {

constexpr uint32_t kStart = 0x08014000u;
constexpr int kRegion = 0xEC000;

bool run(const QString &program, const QStringList &args, QByteArray *out = nullptr)
{
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(60000))
        return false;
    if (out)
        *out = p.readAllStandardOutput();
    if (p.exitCode() != 0)
        qWarning() << program << args << p.readAllStandardError();
    return p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeAll(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

QString hexLine(int count, uint16_t address, int type, const QByteArray &data)
{
    QByteArray rec;
    rec.append(char(count));
    rec.append(char(address >> 8));
    rec.append(char(address));
    rec.append(char(type));
    rec.append(data);
    uint8_t sum = 0;
    for (char c : rec)
        sum = uint8_t(sum + uint8_t(c));
    rec.append(char(uint8_t(-sum)));
    return QStringLiteral(":") + QString::fromLatin1(rec.toHex().toUpper());
}

QString extended(uint16_t upper)
{
    return hexLine(2, 0, 4, QByteArray::fromHex(QByteArray::number(upper, 16).rightJustified(4, '0')));
}

} // namespace

void TestIntelHex::initTestCase()
{
    m_srecCat = QStandardPaths::findExecutable(QStringLiteral("srec_cat"));
    m_srecInfo = QStandardPaths::findExecutable(QStringLiteral("srec_info"));
}

void TestIntelHex::sealedImageVerifiedIndependently()
{
    if (m_srecCat.isEmpty() || m_srecInfo.isEmpty())
        QSKIP("srecord (srec_cat, srec_info) is not installed");
    // Two pieces with a gap between, the second across a 64 KiB boundary,
    // made into Intel HEX by srec_cat.
    const QByteArray a = fixture::pattern(0x1234, 3);
    const QByteArray b = fixture::pattern(0x3000, 4);
    const uint32_t aAt = kStart + 0x100, bAt = 0x0802F000u;
    writeAll(fixture::tempPath("a.bin"), a);
    writeAll(fixture::tempPath("b.bin"), b);
    const QString hex = fixture::tempPath("app.hex");
    QVERIFY(run(m_srecCat, {fixture::tempPath("a.bin"), "-binary", "-offset", QString::number(aAt),
                            fixture::tempPath("b.bin"), "-binary", "-offset", QString::number(bAt), "-o", hex,
                            "-intel"}));

    FirmwareSealer::Stage stage;
    QCOMPARE(FirmwareSealer::sealHexFile(hex, &stage), ERR_OK);

    QByteArray info;
    QVERIFY(run(m_srecInfo, {hex, "-intel"}, &info));
    QVERIFY2(info.toLower().contains("08014000 - 080fffff"), info.constData());

    const QString bin = fixture::tempPath("sealed.bin");
    QVERIFY(run(m_srecCat, {hex, "-intel", "-offset", "-" + QString::number(kStart), "-o", bin, "-binary"}));
    const QByteArray image = readAll(bin);
    QCOMPARE(image.size(), kRegion);

    QByteArray expected(kRegion, char(0xFF));
    expected.replace(int(aAt - kStart), a.size(), a);
    expected.replace(int(bAt - kStart), b.size(), b);
    QCOMPARE(image.left(kRegion - 20), expected.left(kRegion - 20));

    const auto *t = reinterpret_cast<const uint8_t *>(image.constData()) + kRegion - 20;
    QCOMPARE(le::u32(t), 0xA5C3E10Fu);
    QCOMPARE(le::u32(t + 4), kStart);
    QCOMPARE(le::u32(t + 8), uint32_t(kRegion - 20));
    QCOMPARE(le::u32(t + 12), fixture::referenceCrc32(image.left(kRegion - 20)));
    QCOMPARE(le::u32(t + 16), fixture::referenceCrc32(image.mid(kRegion - 20, 16)));
}

void TestIntelHex::sealedFileLayout()
{
    const QString hex = fixture::tempPath("layout.hex");
    writeAll(hex, (extended(0x0801) + "\n" + hexLine(4, 0x4000, 0, "\x01\x02\x03\x04") + "\n:00000001FF\n").toLatin1());
    QCOMPARE(FirmwareSealer::sealHexFile(hex), ERR_OK);
    const QList<QByteArray> lines = readAll(hex).split('\n');
    QCOMPARE(lines.at(0), QByteArray(":020000040801F1"));
    QVERIFY(lines.at(1).startsWith(":1040000001020304FFFF"));
    QCOMPARE(lines.at(2), QByteArray(":10401000FFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFB0"));
    QVERIFY(lines.contains(":020000040802F0"));
    int data = 0;
    for (const QByteArray &l : lines)
        data += l.startsWith(":10") ? 1 : 0;
    QCOMPARE(data, 60416);
    QCOMPARE(lines.at(lines.size() - 2), QByteArray(":00000001FF"));
    QVERIFY(lines.last().isEmpty());
}

void TestIntelHex::sealingTwiceGivesTheSameFile()
{
    const QString hex = fixture::tempPath("twice.hex");
    writeAll(hex, (extended(0x0805) + "\n" + hexLine(3, 0x0010, 0, "abc") + "\n:00000001FF\n").toLatin1());
    QCOMPARE(FirmwareSealer::sealHexFile(hex), ERR_OK);
    const QByteArray once = readAll(hex);
    QCOMPARE(FirmwareSealer::sealHexFile(hex), ERR_OK);
    QCOMPARE(readAll(hex), once);
}

void TestIntelHex::dataUpToTheRegionEnd()
{
    const QString hex = fixture::tempPath("full.hex");
    writeAll(hex, (extended(0x080F) + "\n" + hexLine(16, 0xFFE0, 0, QByteArray(16, 'Z')) + "\n"
                   + hexLine(16, 0xFFF0, 0, QByteArray(16, 'Z')) + "\n").toLatin1());
    QCOMPARE(FirmwareSealer::sealHexFile(hex), ERR_OK);
    QByteArray image(kRegion, '\0');
    QCOMPARE(IntelHex::read(kStart, reinterpret_cast<uint8_t *>(image.data()), kRegion, hex), ERR_OK);
    QCOMPARE(image.mid(kRegion - 20, 4), QByteArray::fromHex("0FE1C3A5"));  // magic over the data
    QCOMPARE(image.mid(kRegion - 32, 12), QByteArray(12, 'Z'));
}

void TestIntelHex::skippedLinesAndBlanks()
{
    const QString hex = fixture::tempPath("skips.hex");
    QString text;
    text += "; a comment\n\n";
    text += extended(0x0801) + "\n";
    text += hexLine(2, 0, 2, "\x10\x00") + "\n";                           // segment address: skipped
    text += hexLine(4, 0, 3, "\x00\x00\x00\x00") + "\n";                   // start segment: skipped
    text += hexLine(4, 0, 5, "\x08\x01\x40\x00") + "\n";                   // start linear: skipped
    QString spaced = hexLine(2, 0x4000, 0, "\xAA\xBB");
    spaced.insert(5, "  ");
    text += "  " + spaced + " \r\n";
    text += ":00000001FF\n";
    text += hexLine(1, 0x4004, 0, "\xCC") + "\n";  // after the end record: not read
    writeAll(hex, text.toLatin1());
    QByteArray image(kRegion, '\0');
    QCOMPARE(IntelHex::read(kStart, reinterpret_cast<uint8_t *>(image.data()), kRegion, hex), ERR_OK);
    QCOMPARE(image.left(5), QByteArray("\xAA\xBB\xFF\xFF\xFF"));
}

void TestIntelHex::refusedFilesStayUntouched_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("code");
    const QByteArray ext = extended(0x0801).toLatin1() + "\n";
    QTest::newRow("plain text") << QByteArray("this is no image\nat all\n") << int(ERR_BAD_CONTENT);
    QTest::newRow("empty") << QByteArray() << int(ERR_BAD_CONTENT);
    QTest::newRow("end record only") << QByteArray(":00000001FF\n") << int(ERR_BAD_CONTENT);
    QTest::newRow("below the region") << (extended(0x0801) + "\n" + hexLine(1, 0x3FFF, 0, "x")).toLatin1()
                                      << int(ERR_TOO_MUCH_DATA);
    QTest::newRow("beyond the region") << (extended(0x080F) + "\n" + hexLine(2, 0xFFFF, 0, "xy")).toLatin1()
                                       << int(ERR_HEX_BEYOND_IMAGE);
    QByteArray bad = hexLine(1, 0x4000, 0, "x").toLatin1();
    bad[bad.size() - 1] = bad.at(bad.size() - 1) == '0' ? '1' : '0';
    QTest::newRow("wrong checksum") << ext + bad << int(ERR_HEX_CHECKSUM);
    QTest::newRow("not hexadecimal") << ext + QByteArray(":0140000078G7") << int(ERR_HEX_NOT_HEX);
    QTest::newRow("odd digit count") << ext + hexLine(1, 0x4000, 0, "x").toLatin1() + "0" << int(ERR_HEX_NOT_HEX);
    QTest::newRow("line too short") << ext + QByteArray(":00000001") << int(ERR_BAD_CONTENT);
    QTest::newRow("more than 255 data bytes")
        << ext + hexLine(0, 0x4000, 0, QByteArray(256, 'x')).toLatin1() << int(ERR_BAD_CONTENT);
    QTest::newRow("short address record") << hexLine(1, 0, 4, "\x08").toLatin1() << int(ERR_BAD_CONTENT);
}

void TestIntelHex::refusedFilesStayUntouched()
{
    QFETCH(QByteArray, content);
    QFETCH(int, code);
    const QString path = fixture::tempPath(QStringLiteral("refused-%1.hex").arg(QTest::currentDataTag()));
    writeAll(path, content);
    FirmwareSealer::Stage stage = FirmwareSealer::Stage::Write;
    QCOMPARE(int(FirmwareSealer::sealHexFile(path, &stage)), code);
    QVERIFY(stage == FirmwareSealer::Stage::Read);
    QCOMPARE(readAll(path), content);
}

void TestIntelHex::longestRecordAndShortLastLine()
{
    uint8_t record[IntelHex::kMaxRecordBytes];
    errorCode_e result = ERR_OK;
    const QString longest = hexLine(255, 0x1234, 0, QByteArray(255, 'q'));
    QCOMPARE(IntelHex::parseRecord(record, longest, &result, false), 259);
    QCOMPARE(result, ERR_OK);
    QCOMPARE(record[258], uint8_t('q'));

    // Every count field has two digits, also for a short last line.
    const QByteArray image = fixture::pattern(20, 9);
    const QList<QByteArray> lines =
        IntelHex::toText(0x100, reinterpret_cast<const uint8_t *>(image.constData()), 20).split('\n');
    QCOMPARE(lines.at(0).left(9), QByteArray(":10010000"));
    QCOMPARE(lines.at(1).left(9), QByteArray(":04011000"));
    QCOMPARE(lines.at(1).size(), 1 + 2 * (5 + 4));
}

QTEST_MAIN(TestIntelHex)
#include "tst_intelhex.moc"
