#include <QtTest>

#include "crc.h"

// Check values of the frame and blob checksums. Every row is also computed
// by the bit-by-bit reference, so the table-driven routines can't drift.
class TestChecksums : public QObject
{
    Q_OBJECT

    enum Routine { Words16, Words32, PlainX25, PlainBzip2 };

    static const uint8_t *bytes(const QByteArray &a) { return reinterpret_cast<const uint8_t *>(a.constData()); }
    static QByteArray swapGroups(QByteArray a, int group)
    {
        for (int i = 0; i + group <= a.size(); i += group)
            std::reverse(a.begin() + i, a.begin() + i + group);
        return a;
    }

private slots:
    void checkValues_data()
    {
        QTest::addColumn<int>("routine");
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<uint>("expected");
        QTest::newRow("crc16 empty") << int(Words16) << QByteArray() << 0x0000u;
        QTest::newRow("crc16 abcd") << int(Words16) << QByteArray("abcd") << 0x5075u;
        QTest::newRow("crc16 abc+pad") << int(Words16) << QByteArray("abc\0", 4) << 0x5240u;
        QTest::newRow("crc16 heartbeat header") << int(Words16) << QByteArray::fromHex("0100807100000100") << 0x4650u;
        QTest::newRow("crc32 empty") << int(Words32) << QByteArray() << 0u;
        QTest::newRow("crc32 abcd") << int(Words32) << QByteArray("abcd") << 0x59D0E3C9u;
        QTest::newRow("x25 catalogue") << int(PlainX25) << QByteArray("123456789") << 0x906Eu;
        QTest::newRow("bzip2 catalogue") << int(PlainBzip2) << QByteArray("123456789") << 0xFC891918u;
    }
    void checkValues()
    {
        QFETCH(int, routine);
        QFETCH(QByteArray, data);
        QFETCH(uint, expected);
        const auto n = uint32_t(data.size());
        switch (routine) {
        case Words16:
            QCOMPARE(crc16Words(bytes(data), n), uint32_t(expected));
            QCOMPARE(crc16WordsBitwise(bytes(data), n), uint32_t(expected));
            break;
        case Words32:
            QCOMPARE(crc32Words(bytes(data), n), uint32_t(expected));
            QCOMPARE(crc32WordsBitwise(bytes(data), n), uint32_t(expected));
            break;
        case PlainX25:
            QCOMPARE(uint32_t(crc16X25(bytes(data), n)), uint32_t(expected));
            break;
        case PlainBzip2:
            QCOMPARE(crc32Bzip2(bytes(data), n), uint32_t(expected));
            break;
        }
    }

    // The word routines are the catalogue algorithms over swapped groups.
    void wordsAreSwappedCatalogue()
    {
        const QByteArray message("0123456789abcdef");
        const QByteArray pairs = swapGroups(message, 2);
        const QByteArray quads = swapGroups(message, 4);
        QCOMPARE(crc16Words(bytes(message), 16), uint32_t(crc16X25(bytes(pairs), 16)));
        QCOMPARE(crc32Words(bytes(message), 16), crc32Bzip2(bytes(quads), 16));
    }

    // Random buffers of many lengths (odd ones included): both forms agree.
    void tableMatchesBitwise()
    {
        QRandomGenerator rng(1234);
        for (int len = 0; len < 300; ++len) {
            QByteArray data(len, '\0');
            for (char &c : data)
                c = char(rng.bounded(256));
            const auto n = uint32_t(len);
            QCOMPARE(crc16Words(bytes(data), n), crc16WordsBitwise(bytes(data), n));
            QCOMPARE(crc32Words(bytes(data), n), crc32WordsBitwise(bytes(data), n));
        }
    }
};

QTEST_APPLESS_MAIN(TestChecksums)
#include "tst_checksums.moc"
