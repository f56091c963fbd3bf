// The decoder of parameter read answers, on payloads made by hand.
#include <QTest>

#include "parametertable.h"

using ParameterTable::Answer;
Q_DECLARE_METATYPE(Answer::Status)

class TestParameterTable : public QObject
{
    Q_OBJECT

private slots:
    void decode_data();
    void decode();
};

void TestParameterTable::decode_data()
{
    QTest::addColumn<QByteArray>("payload");
    QTest::addColumn<Answer::Status>("status");
    QTest::addColumn<int>("id");
    QTest::addColumn<int>("index");
    QTest::addColumn<QByteArray>("value");

    const QByteArray name = QByteArray("Pump") + QByteArray(252, '\0');
    using S = Answer::Status;
    QTest::newRow("u8") << QByteArray::fromHex("20000100") << S::Ok << 0x20 << 255 << QByteArray::fromHex("01");
    QTest::newRow("u16") << QByteArray::fromHex("22003412") << S::Ok << 0x22 << 255 << QByteArray::fromHex("3412");
    QTest::newRow("u32 address") << QByteArray::fromHex("00100a00a8c0") << S::Ok << 0x1000 << 255
                                 << QByteArray::fromHex("0a00a8c0");
    QTest::newRow("last channel") << QByteArray::fromHex("46003412") << S::Ok << 0x46 << 255
                                  << QByteArray::fromHex("3412");
    QTest::newRow("reference SKW channel 0") << QByteArray::fromHex("5000ffff") << S::Ok << 0x50 << 255
                                             << QByteArray::fromHex("ffff");
    // A plain value sent shorter than its width reads as zero beyond.
    QTest::newRow("MAC of six bytes") << QByteArray::fromHex("0210010203040506") << S::Ok << 0x1002 << 255
                                      << QByteArray::fromHex("0102030405060000");
    QTest::newRow("u16 without its value") << QByteArray::fromHex("2200") << S::Ok << 0x22 << 255
                                           << QByteArray::fromHex("0000");
    QTest::newRow("device name") << (QByteArray::fromHex("0020") + name) << S::Ok << 0x2000 << 255 << name;
    QTest::newRow("channel name 6") << (QByteArray::fromHex("012006") + name) << S::Ok << 0x2001 << 6 << name;
    QTest::newRow("extra bytes ignored") << QByteArray::fromHex("2300ff99") << S::Ok << 0x23 << 255
                                         << QByteArray::fromHex("ff");

    // Whole records are refused when cut short.
    QTest::newRow("device name cut short") << (QByteArray::fromHex("0020") + name.left(100)) << S::Truncated
                                           << 0x2000 << 255 << QByteArray();
    QTest::newRow("blob cut short") << (QByteArray::fromHex("1000") + QByteArray(511, 'x')) << S::Truncated << 0x10
                                    << 255 << QByteArray();
    QTest::newRow("fieldbus record cut short") << (QByteArray::fromHex("0030") + QByteArray(566, 'x'))
                                               << S::Truncated << 0x3000 << 255 << QByteArray();
    QTest::newRow("channel name cut short") << (QByteArray::fromHex("012002") + name.left(255)) << S::Truncated
                                            << 0x2001 << 2 << QByteArray();

    // Nothing to keep.
    QTest::newRow("channel 7") << QByteArray::fromHex("47003412") << S::Unknown << 0x47 << 255 << QByteArray();
    QTest::newRow("flagged scale id") << QByteArray::fromHex("4a003412") << S::Unknown << 0x4a << 255 << QByteArray();
    QTest::newRow("flagged threshold id") << QByteArray::fromHex("38003412") << S::Unknown << 0x38 << 255
                                          << QByteArray();
    QTest::newRow("unknown id") << QByteArray::fromHex("99990102") << S::Unknown << 0x9999 << 255 << QByteArray();
    QTest::newRow("channel name index 7") << (QByteArray::fromHex("012007") + name) << S::BadIndex << 0x2001 << 7
                                          << QByteArray();
    QTest::newRow("channel name without index") << QByteArray::fromHex("0120") << S::TooShort << 0x2001 << 255
                                                << QByteArray();
    QTest::newRow("one byte") << QByteArray::fromHex("20") << S::TooShort << 0 << 255 << QByteArray();
    QTest::newRow("empty") << QByteArray() << S::TooShort << 0 << 255 << QByteArray();
}

void TestParameterTable::decode()
{
    QFETCH(QByteArray, payload);
    QFETCH(Answer::Status, status);
    QFETCH(int, id);
    QFETCH(int, index);
    QFETCH(QByteArray, value);
    const Answer a = ParameterTable::decode(reinterpret_cast<const uint8_t *>(payload.constData()), payload.size());
    QCOMPARE(a.status, status);
    QCOMPARE(int(a.id), id);
    QCOMPARE(a.index, index);
    QCOMPARE(a.value.toHex(), value.toHex());
}

QTEST_APPLESS_MAIN(TestParameterTable)
#include "tst_parametertable.moc"
