// Every value the handler keeps from an answer comes from the answer to the
// request that asked for it: an older answer of the same kind that the unit
// sends right behind (as a busy network delivers a late copy) changes
// nothing.
#include <QTest>
#include <functional>

#include "byteorder.h"
#include "testnet.h"
#include "unitsimfixture.h"

namespace {

const QHostAddress kUnit(QStringLiteral("127.0.1.30"));

QByteArray bytesOf(const void *data, int size) { return QByteArray(static_cast<const char *>(data), size); }

QByteArray le32(uint32_t v)
{
    QByteArray b(4, '\0');
    le::put32(reinterpret_cast<uint8_t *>(b.data()), v);
    return b;
}

} // namespace

class TestStaleAnswers : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void readsReturnTheNewValue_data();
    void readsReturnTheNewValue();

private:
    SimLink m_link;
    UnitSim *sim() { return m_link.sim.get(); }
    EthernetHandler *eth() { return m_link.handler(); }
};

void TestStaleAnswers::init()
{
    KORVANTIS_REQUIRE_TESTNET();
    QVERIFY(m_link.start(kUnit, 2, SimLink::quietTimings()));
    m_link.connectToUnit();
}

void TestStaleAnswers::cleanup()
{
    m_link.device.reset();
    m_link.sim.reset();
}

// One row per kind of kept answer: how the unit's value changes, how the
// tool reads it (the bytes it hands out), and the bytes the unit now holds.
struct StaleCase
{
    std::function<void(UnitSim *)> change;
    std::function<errorCode_e(EthernetHandler *, QByteArray *)> read;
    std::function<QByteArray(UnitSim *)> expected;
};
Q_DECLARE_METATYPE(StaleCase)

void TestStaleAnswers::readsReturnTheNewValue_data()
{
    QTest::addColumn<StaleCase>("c");

    // A typed parameter: the unit's new value, and the getter's output as bytes.
    auto param = [](uint16_t id, const QByteArray &value, std::function<errorCode_e(EthernetHandler *, QByteArray *)> read,
                    int index = -1) {
        return StaleCase{[=](UnitSim *s) { s->parameters().setValue(id, value, index); }, read,
                         [=](UnitSim *) { return value; }};
    };
    QTest::newRow("u8 channel-enable mask") << param(0x0023, QByteArray::fromHex("6f"), [](EthernetHandler *e, QByteArray *out) {
        uint8_t v = 0;
        const errorCode_e r = e->readChannelEnableMask(v);
        *out = bytesOf(&v, 1);
        return r;
    });
    QTest::newRow("u16 debounce time") << param(0x0022, QByteArray::fromHex("3412"), [](EthernetHandler *e, QByteArray *out) {
        uint16_t v = 0;
        const errorCode_e r = e->readDebounceTime(v);
        *out = QByteArray(2, '\0');
        le::put16(reinterpret_cast<uint8_t *>(out->data()), v);
        return r;
    });
    QTest::newRow("u16 threshold of channel 3")
        << param(0x0033, QByteArray::fromHex("9a02"), [](EthernetHandler *e, QByteArray *out) {
               uint16_t v = 0;
               const errorCode_e r = e->readChannelThreshold(v, 3);
               *out = QByteArray(2, '\0');
               le::put16(reinterpret_cast<uint8_t *>(out->data()), v);
               return r;
           });
    QTest::newRow("u32 value") << param(0x1F02, le32(0xCAFE0102), [](EthernetHandler *e, QByteArray *out) {
        uint32_t v = 0;
        const errorCode_e r = e->readParam1F02(v);
        *out = le32(v);
        return r;
    });
    QTest::newRow("u32 subnet mask") << param(0x1001, le32(0xFFFF0000), [](EthernetHandler *e, QByteArray *out) {
        QHostAddress v;
        const errorCode_e r = e->readNetmask(v);
        *out = le32(v.toIPv4Address());
        return r;
    });
    QTest::newRow("8-byte MAC") << param(0x1002, QByteArray::fromHex("02aabbccddee0102"), [](EthernetHandler *e, QByteArray *out) {
        *out = QByteArray(8, '\0');
        return e->readMACAddress(reinterpret_cast<uint8_t *>(out->data()));
    });
    QTest::newRow("device name") << param(0x2000, DeviceNameRecord(QStringLiteral("Gear box 2")).toBytes(),
                                          [](EthernetHandler *e, QByteArray *out) {
                                              QString name;
                                              const errorCode_e r = e->readDeviceName(name);
                                              *out = DeviceNameRecord(name).toBytes();
                                              return r;
                                          });
    QTest::newRow("channel name 4") << param(
        0x2001, DeviceNameRecord(QStringLiteral("Bearing B")).toBytes(),
        [](EthernetHandler *e, QByteArray *out) {
            QString name;
            const errorCode_e r = e->readChannelName(name, 4);
            *out = DeviceNameRecord(name).toBytes();
            return r;
        },
        4);
    QTest::newRow("fieldbus record") << param(0x3000, QByteArray(567, '\x42'), [](EthernetHandler *e, QByteArray *out) {
        *out = QByteArray(567, '\0');
        return e->readAnybusCFG(reinterpret_cast<uint8_t *>(out->data()));
    });

    QTest::newRow("reference-run result")
        << StaleCase{[](UnitSim *s) { s->refRunResult().newReference[1] = 12345; },
                     [](EthernetHandler *e, QByteArray *out) {
                         const errorCode_e r = e->requestRefRunResult();
                         *out = e->refRunResult().toByteArray();
                         return r;
                     },
                     [](UnitSim *s) { return s->refRunResult().toByteArray(); }};
    QTest::newRow("record area")
        << StaleCase{[](UnitSim *s) { s->recordArea().fill('\x5C'); },
                     [](EthernetHandler *e, QByteArray *out) {
                         QByteArray area(600, '\0');
                         const errorCode_e r = e->readRecordBlock(reinterpret_cast<uint8_t *>(area.data()));
                         *out = area.mid(30);
                         return r;
                     },
                     [](UnitSim *s) { return s->recordArea(); }};
    QTest::newRow("record value")
        << StaleCase{[](UnitSim *s) { s->recordValue() = 0x0BADF00D; },
                     [](EthernetHandler *e, QByteArray *out) {
                         uint32_t v = 0;
                         const errorCode_e r = e->readRecordValue(v);
                         *out = le32(v);
                         return r;
                     },
                     [](UnitSim *s) { return le32(s->recordValue()); }};
    QTest::newRow("identification")
        << StaleCase{[](UnitSim *s) { s->productInfo().firmwareBuild = 4711; },
                     [](EthernetHandler *e, QByteArray *out) {
                         ProductInfoRecord info;
                         const errorCode_e r = e->readProductInfo(&info);
                         *out = info.toByteArray();
                         return r;
                     },
                     [](UnitSim *s) { return s->productInfo().toByteArray(); }};
}

void TestStaleAnswers::readsReturnTheNewValue()
{
    QFETCH(StaleCase, c);
    QByteArray before;
    QCOMPARE(c.read(eth(), &before), ERR_OK);
    c.change(sim());
    const QByteArray expected = c.expected(sim());
    QVERIFY(expected != before);

    // Each read gets the earlier answer of its kind right behind its own.
    for (int round = 0; round < 3; ++round) {
        sim()->faults().staleAnswers = 1;
        QByteArray got;
        QCOMPARE(c.read(eth(), &got), ERR_OK);
        QCOMPARE(sim()->faults().staleAnswers, 0);  // the stale copy went out
        QCOMPARE(got.toHex(), expected.toHex());
    }
    // Late copies handled after the read leave nothing behind either.
    QVERIFY(m_link.handlerHasReadAll());
    QByteArray after;
    QCOMPARE(c.read(eth(), &after), ERR_OK);
    QCOMPARE(after.toHex(), expected.toHex());
}

QTEST_MAIN(TestStaleAnswers)
#include "tst_staleanswers.moc"
