#include <QtTest>

#include "checksums.h"
#include "crc.h"
#include "crc16.h"
#include "ethernethandler.h"

using namespace loader;

class TestChecksums : public QObject
{
    Q_OBJECT
private slots:
    void crc16CheckValueAndFrameCrc();
    void crc32Variants();
    void crc32PadsPartialGroupWithErased();
    void otherRoutines();
    void requestFrames_data();
    void requestFrames();
};

static const uint8_t *u8(const QByteArray &b) { return reinterpret_cast<const uint8_t *>(b.constData()); }

void TestChecksums::crc16CheckValueAndFrameCrc()
{
    Crc16 crc;
    QByteArray text("12345678");
    const QByteArray before = text;
    QCOMPARE(crc.calculate(u8(text), 8), uint16_t(0xB74F));
    QCOMPARE(text, before);  // the buffer is not left swapped
    // The loader's CRC-16 is the device frame check.
    for (int n : {2, 10, 64, 1498}) {
        const QByteArray data = QByteArray::number(n).repeated(n).left(n);
        QCOMPARE(crc.calculate(u8(data), uint32_t(n)), uint16_t(crc16Words(u8(data), uint32_t(n))));
    }
}

void TestChecksums::crc32Variants()
{
    const QByteArray nine("123456789");
    QCOMPARE(crc32Bitwise(u8(nine), 9), 0x89A1897Fu);
    QCOMPARE(crc32Table(0, u8(nine), 9), 0x89A1897Fu);
    const QByteArray eight("12345678");
    QCOMPARE(crc32SwappedWords(u8(eight), 8), 0x97F8EFA0u);
    QByteArray reversed(8, '\0');
    copyWordsByteReversed(reinterpret_cast<uint8_t *>(reversed.data()), u8(eight), 2);
    QCOMPARE(reversed, QByteArray("43218765"));
    QCOMPARE(crc32Table(0, u8(reversed), 8), 0x97F8EFA0u);
    // Table entries 1 and 255, and the start value for no data.
    const uint8_t one = 1, last = 255;
    QCOMPARE(crc32Table(0, &one, 1), 0x04C11DB7u);
    QCOMPARE(crc32Table(0, &last, 1), 0xB1F740B4u);
    QCOMPARE(crc32Table(0x1234u, u8(nine), 0), 0x1234u);
    QCOMPARE(crc32Bitwise(u8(nine), 0), 0u);
}

void TestChecksums::crc32PadsPartialGroupWithErased()
{
    const QByteArray data("\x01\x02\x03\x04\x05\x06", 6);
    QByteArray padded = data;
    padded.append("\xFF\xFF", 2);
    QCOMPARE(crc32SwappedWords(u8(data), 6), crc32SwappedWords(u8(padded), 8));
    // Only the bytes given are read: a guard byte after them changes nothing.
    QByteArray guarded = data + QByteArray(1, '\x00');
    QCOMPARE(crc32SwappedWords(u8(guarded), 6), crc32SwappedWords(u8(padded), 8));
}

void TestChecksums::otherRoutines()
{
    const QByteArray nine("123456789");
    uint8_t maxim = 0;
    for (char c : nine)
        maxim = crc8Update(maxim, uint8_t(c));
    QCOMPARE(maxim, uint8_t(0xA1));  // the 1-Wire check value
    QCOMPARE(crc8(nullptr, 4), uint8_t(1));
    QCOMPARE(crc8(u8(nine), 0), uint8_t(1));
    QCOMPARE(crc16Buffer(nullptr, 3), uint16_t(0));
    QCOMPARE(crc16Buffer(u8(nine), 0), uint16_t(0x2063));
    QCOMPARE(reflectBits(0x1u, 8), 0x80u);
    QCOMPARE(reflectBits(0xF0F1u, 8), 0xF08Fu);  // bits above n stay
    QCOMPARE(reflectBits(0x1u, 32), 0x80000000u);
}

void TestChecksums::requestFrames_data()
{
    QTest::addColumn<int>("command");
    QTest::addColumn<int>("sequence");
    QTest::addColumn<QByteArray>("payload");
    QTest::addColumn<QByteArray>("wire");
    QTest::newRow("catch, sequence 0") << 0x90 << 0 << QByteArray(1, '\x08')
                                       << QByteArray::fromHex("00008090020001000800E3B5");
    QTest::newRow("reset, sequence 5") << 0xFF << 5 << QByteArray() << QByteArray::fromHex("050080FF000001002615");
}

void TestChecksums::requestFrames()
{
    QFETCH(int, command);
    QFETCH(int, sequence);
    QFETCH(QByteArray, payload);
    QFETCH(QByteArray, wire);
    EthernetHandler *h = EthernetHandler::instance();
    QByteArray p = payload;
    QCOMPARE(h->buildFrame(uint8_t(command), uint16_t(sequence), p), wire);
    // A one-byte payload is sent as two bytes, and the caller's array grows.
    if (payload.size() == 1) {
        QCOMPARE(p.size(), 2);
        QCOMPARE(uint8_t(wire.at(4)), uint8_t(2));
    }
}

QTEST_MAIN(TestChecksums)
#include "tst_checksums.moc"
