#include "blobscrambler.h"
#include "crc.h"
#include "byteorder.h"
#include "scrambletables.h"

#include <QRandomGenerator>
#include <QtTest>
#include <vector>

// An independent model of the scrambling, bit by bit: each row (then each
// column) read as a little-endian number is rotated left by k bits and its
// byte j stored at position o ^ j; then the S-box.
namespace {

std::vector<uint8_t> rotateBytes(const std::vector<uint8_t> &in, int k)
{
    const int nbits = int(in.size()) * 8;
    std::vector<uint8_t> out(in.size(), 0);
    for (int bit = 0; bit < nbits; ++bit) {
        if (in[bit / 8] & (1u << (bit % 8))) {
            const int to = (bit + k) % nbits;
            out[to / 8] |= uint8_t(1u << (to % 8));
        }
    }
    return out;
}

QByteArray referenceScramble(QByteArray plain)
{
    auto *p = reinterpret_cast<uint8_t *>(plain.data());
    le::put64(p + 488, le::u64(p + 488) << 13);
    uint8_t b[512];
    for (int r = 0; r < 16; ++r) {
        std::vector<uint8_t> row(p + 32 * r, p + 32 * r + 32);
        const auto rot = rotateBytes(row, scrambletables::kRowTable[r] & 7);
        const int o = scrambletables::kRowTable[r] >> 3;
        for (int c = 0; c < 32; ++c)
            b[32 * r + (o ^ c)] = rot[c];
    }
    uint8_t a[512];
    for (int c = 0; c < 32; ++c) {
        std::vector<uint8_t> col(16);
        for (int r = 0; r < 16; ++r)
            col[r] = b[32 * r + c];
        const auto rot = rotateBytes(col, scrambletables::kColumnTable[c] & 7);
        const int o = scrambletables::kColumnTable[c] >> 3;
        for (int r = 0; r < 16; ++r)
            a[32 * (o ^ r) + c] = rot[r];
    }
    QByteArray out(512, 0);
    for (int i = 0; i < 512; ++i)
        out[i] = char(BlobScrambler::sbox()[a[i]]);
    return out;
}

QByteArray randomBlob(quint32 seed)
{
    QRandomGenerator gen(seed);
    QByteArray b(512, 0);
    for (int i = 0; i < 512; ++i)
        b[i] = char(gen.bounded(256));
    // a 48-bit MAC in the 64-bit field, as the blob holds it
    auto *p = reinterpret_cast<uint8_t *>(b.data());
    le::put64(p + 488, le::u64(p + 488) & 0x0000FFFFFFFFFFFFull);
    return b;
}

QByteArray scrambled(const QByteArray &plain)
{
    QByteArray out(512, 0);
    BlobScrambler::scramble(reinterpret_cast<const uint8_t *>(plain.constData()),
                            reinterpret_cast<uint8_t *>(out.data()));
    return out;
}

QByteArray unscrambled(const QByteArray &s)
{
    QByteArray out(512, 0);
    BlobScrambler::unscramble(reinterpret_cast<const uint8_t *>(s.constData()),
                              reinterpret_cast<uint8_t *>(out.data()));
    return out;
}

} // namespace

class TestBlobScrambler : public QObject
{
    Q_OBJECT
private slots:
    void sboxMatchesFips197_data();
    void sboxMatchesFips197();
    void inverseSboxInvertsSbox();
    void zeroBlobScramblesToSboxOfZero();
    void matchesBitwiseModel_data();
    void matchesBitwiseModel();
    void roundTrip_data();
    void roundTrip();
    void macFieldBeyond51BitsLosesTopBits();
    void tablesArePinned();
};

void TestBlobScrambler::sboxMatchesFips197_data()
{
    QTest::addColumn<int>("in");
    QTest::addColumn<int>("out");
    // FIPS-197 figure 7 and the cipher example of appendix B
    QTest::newRow("00") << 0x00 << 0x63;
    QTest::newRow("01") << 0x01 << 0x7C;
    QTest::newRow("10") << 0x10 << 0xCA;
    QTest::newRow("19") << 0x19 << 0xD4;
    QTest::newRow("3d") << 0x3D << 0x27;
    QTest::newRow("53") << 0x53 << 0xED;
    QTest::newRow("9a") << 0x9A << 0xB8;
    QTest::newRow("c9") << 0xC9 << 0xDD;
    QTest::newRow("e3") << 0xE3 << 0x11;
    QTest::newRow("ff") << 0xFF << 0x16;
}

void TestBlobScrambler::sboxMatchesFips197()
{
    QFETCH(int, in);
    QFETCH(int, out);
    QCOMPARE(int(BlobScrambler::sbox()[in]), out);
    QCOMPARE(int(BlobScrambler::inverseSbox()[out]), in);
}

void TestBlobScrambler::inverseSboxInvertsSbox()
{
    QSet<int> images;
    for (int i = 0; i < 256; ++i) {
        images.insert(BlobScrambler::sbox()[i]);
        QCOMPARE(int(BlobScrambler::inverseSbox()[BlobScrambler::sbox()[i]]), i);
    }
    QCOMPARE(images.size(), 256);
}

void TestBlobScrambler::zeroBlobScramblesToSboxOfZero()
{
    QCOMPARE(scrambled(QByteArray(512, 0)), QByteArray(512, char(0x63)));
}

void TestBlobScrambler::matchesBitwiseModel_data()
{
    QTest::addColumn<QByteArray>("plain");
    QTest::newRow("random 1") << randomBlob(1);
    QTest::newRow("random 2") << randomBlob(0xC0FFEE);
    QByteArray ones(512, 0);
    ones[0] = 1;
    ones[511] = char(0x80);
    QTest::newRow("carry across ends") << ones;
    QTest::newRow("all ff") << randomBlob(3).fill(char(0xFF));
}

void TestBlobScrambler::matchesBitwiseModel()
{
    QFETCH(QByteArray, plain);
    QCOMPARE(scrambled(plain).toHex(), referenceScramble(plain).toHex());
}

void TestBlobScrambler::roundTrip_data()
{
    QTest::addColumn<QByteArray>("plain");
    for (quint32 s = 10; s < 16; ++s)
        QTest::newRow(qPrintable(QStringLiteral("random %1").arg(s))) << randomBlob(s);
    QByteArray mac51(512, char(0x5A));
    le::put64(reinterpret_cast<uint8_t *>(mac51.data()) + 488, (1ull << 51) - 1);
    QTest::newRow("51-bit field") << mac51;
}

void TestBlobScrambler::roundTrip()
{
    QFETCH(QByteArray, plain);
    const QByteArray s = scrambled(plain);
    QVERIFY(s != plain);
    QCOMPARE(unscrambled(s).toHex(), plain.toHex());

    // in place
    QByteArray buf = plain;
    auto *p = reinterpret_cast<uint8_t *>(buf.data());
    BlobScrambler::scramble(p, p);
    QCOMPARE(buf, s);
    BlobScrambler::unscramble(p, p);
    QCOMPARE(buf, plain);
}

void TestBlobScrambler::macFieldBeyond51BitsLosesTopBits()
{
    QByteArray plain(512, 0);
    le::put64(reinterpret_cast<uint8_t *>(plain.data()) + 488, 0xFFFF000000000001ull);
    const QByteArray back = unscrambled(scrambled(plain));
    QCOMPARE(le::u64(reinterpret_cast<const uint8_t *>(back.constData()) + 488), 0x0007000000000001ull);
}

void TestBlobScrambler::tablesArePinned()
{
    // Configuration files written by users depend on these tables: a fixed
    // pattern must keep scrambling to the same bytes forever.
    QByteArray plain(512, 0);
    for (int i = 0; i < 512; ++i)
        plain[i] = char(i * 7 + 3);
    le::put64(reinterpret_cast<uint8_t *>(plain.data()) + 488, 0x0000123456789ABCull);
    const QByteArray s = scrambled(plain);
    const uint32_t crc = crc32Words(reinterpret_cast<const uint8_t *>(s.constData()), 512);
    QCOMPARE(crc, 0x6d4f9710u);
}

QTEST_GUILESS_MAIN(TestBlobScrambler)
#include "tst_blobscrambler.moc"
