#include <QtTest>

#include "crc.h"
#include "ethernetframe.h"
#include "byteorder.h"

class TestEthernetFrame : public QObject
{
    Q_OBJECT

private slots:
    void build_data()
    {
        QTest::addColumn<uint>("sequence");
        QTest::addColumn<uint>("command");
        QTest::addColumn<QByteArray>("payload");
        QTest::addColumn<QByteArray>("wire");
        QTest::newRow("heartbeat seq 1") << 1u << 0x71u << QByteArray() << QByteArray::fromHex("01008071000001005046");
        QTest::newRow("read device name seq 1")
            << 1u << 0xE1u << QByteArray::fromHex("0020") << QByteArray::fromHex("010080e1020001000020a35e");
    }
    void build()
    {
        QFETCH(uint, sequence);
        QFETCH(uint, command);
        QFETCH(QByteArray, payload);
        QFETCH(QByteArray, wire);
        QCOMPARE(buildFrame(uint16_t(sequence), uint8_t(command), payload).toHex(), wire.toHex());
    }

    void padRule_data()
    {
        QTest::addColumn<int>("payloadSize");
        QTest::addColumn<int>("lengthField");
        QTest::addColumn<int>("frameSize");
        QTest::newRow("none") << 0 << 0 << 10;
        QTest::newRow("one byte gets a pad") << 1 << 2 << 12;
        QTest::newRow("discovery request") << 14 << 14 << 24;
        QTest::newRow("odd 275") << 275 << 276 << 286;
    }
    void padRule()
    {
        QFETCH(int, payloadSize);
        QFETCH(int, lengthField);
        QFETCH(int, frameSize);
        const QByteArray payload(payloadSize, '\x5A');
        const QByteArray frame = buildFrame(7, 0x10, payload);
        QCOMPARE(frame.size(), frameSize);
        const auto *raw = reinterpret_cast<const uint8_t *>(frame.constData());
        QCOMPARE(int(le::u16(raw + 4)), lengthField);
        if (lengthField != payloadSize)
            QCOMPARE(frame.at(8 + payloadSize), '\0');
        QCOMPARE(EthernetFrame::check(frame), FrameCheck::Ok);
    }

    // Chunks are appended in order; empty and null chunks add nothing.
    void chunks()
    {
        const uint16_t id = 0x2000;
        const uint8_t idBytes[2] = {uint8_t(id), uint8_t(id >> 8)};
        const char value[] = "xyz";
        const QByteArray built = buildFrame(3, 0xEF, PayloadChunks{{idBytes, 2}, {nullptr, 5}, {value, 0}, {value, 3}});
        QCOMPARE(built, buildFrame(3, 0xEF, QByteArray::fromHex("0020") + QByteArray("xyz")));
    }

    void sequenceWraps()
    {
        SequenceCounter counter;
        QCOMPARE(counter.next(), uint16_t(1));
        counter.set(65534);
        QCOMPARE(counter.next(), uint16_t(65535));
        QCOMPARE(counter.next(), uint16_t(0));
        QCOMPARE(counter.next(), uint16_t(1));
    }

    void validity_data()
    {
        QTest::addColumn<QByteArray>("datagram");
        QTest::addColumn<int>("expected");
        const QByteArray good = buildFrame(9, 0xE1, QByteArray::fromHex("00200102"), FrameFlag::Answer);
        QTest::newRow("good") << good << int(FrameCheck::Ok);
        QTest::newRow("trailing bytes ignored") << good + QByteArray("junk") << int(FrameCheck::Ok);
        QTest::newRow("7 bytes") << good.left(7) << int(FrameCheck::TooShort);
        QTest::newRow("below length+10") << good.left(good.size() - 1) << int(FrameCheck::Incomplete);
        for (int bit : {3, 21, 70}) {
            QByteArray flipped = good;
            flipped[bit / 8] = char(flipped[bit / 8] ^ (1 << (bit % 8)));
            QTest::newRow(qPrintable(QStringLiteral("bit %1 flipped").arg(bit))) << flipped
                << int(bit / 8 >= 4 && bit / 8 < 6 ? FrameCheck::Incomplete : FrameCheck::CrcMismatch);
        }
        QByteArray hugeLength = good;
        hugeLength[4] = char(0xD3);  // 1491
        hugeLength[5] = char(0x05);
        QTest::newRow("length field over 1490") << hugeLength << int(FrameCheck::Oversized);
        QTest::newRow("datagram over 1500") << buildFrame(1, 0x11, QByteArray(1490, 'a')) + QByteArray(10, 'b')
                                            << int(FrameCheck::Oversized);
        QTest::newRow("largest frame") << buildFrame(1, 0x11, QByteArray(1490, 'a')) << int(FrameCheck::Ok);
    }
    void validity()
    {
        QFETCH(QByteArray, datagram);
        QFETCH(int, expected);
        EthernetFrame frame;
        QCOMPARE(int(frame.assign(datagram)), expected);
    }

    // A short payload reads as zeros past its end, even after a longer frame
    // was taken in before.
    void zeroFilledAfresh()
    {
        EthernetFrame frame;
        QCOMPARE(frame.assign(buildFrame(1, 0xE1, QByteArray(40, '\xAB'), FrameFlag::Answer)), FrameCheck::Ok);
        QCOMPARE(frame.assign(buildFrame(2, 0xE1, QByteArray::fromHex("0020"), FrameFlag::Answer | FrameFlag::Error)),
                 FrameCheck::Ok);
        QCOMPARE(frame.header().sequence, uint16_t(2));
        QCOMPARE(frame.header().flags, uint8_t(0x50));
        QCOMPARE(frame.errorStatus(), int32_t(0x2000));
        for (int i = 2; i < 40; ++i)
            QCOMPARE(frame.payload()[i], uint8_t(0));
        // A refused datagram leaves no trace of the previous frame either.
        QCOMPARE(frame.assign(QByteArray(5, '\x01')), FrameCheck::TooShort);
        QCOMPARE(frame.payload()[0], uint8_t(0));
    }
};

QTEST_APPLESS_MAIN(TestEthernetFrame)
#include "tst_ethernetframe.moc"
