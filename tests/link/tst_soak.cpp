// Typed reads and writes over a lossy link: the simulated unit drops,
// duplicates and delays its answers past the time-out at random and sends
// stale answers (an earlier answer of the same kind) behind some, and every
// call must still end with the value the unit sent for that very request or
// with a clear error code; a write must reach the unit under one sequence
// number, for the parameter and value it was made for, and be carried out
// at most once; and no call may hang.
//
// KORVANTIS_SOAK_CALLS sets the number of calls (default 10000) and
// KORVANTIS_SOAK_SEED the seed of both the calls and the unit's faults.
#include <QElapsedTimer>
#include <QHash>
#include <QLoggingCategory>
#include <QRandomGenerator>
#include <QTest>
#include <functional>
#include <map>

#include "devicenamerecord.h"
#include "le.h"
#include "testnet.h"
#include "unitsimfixture.h"

namespace {

const QHostAddress kUnit(QStringLiteral("127.0.1.60"));
constexpr int kTimeoutMs = 10;

// One parameter the soak reads and writes, with its value as the bytes the
// unit stores.
struct Param
{
    const char *name;
    uint16_t id;
    int index;  // -1: none
    int width;
    std::function<errorCode_e(EthernetHandler &, QByteArray *)> read;
    // Writes the value; `sent` gets the bytes the write carries.
    std::function<errorCode_e(EthernetHandler &, const QByteArray &, QByteArray *sent)> write;
};

QByteArray byte(uint8_t v) { return QByteArray(1, char(v)); }

QByteArray word(uint16_t v)
{
    QByteArray b(2, '\0');
    le::put16(reinterpret_cast<uint8_t *>(b.data()), v);
    return b;
}

QVector<Param> params()
{
    QVector<Param> p;
    auto u8Param = [](const char *name, uint16_t id, errorCode_e (EthernetHandler::*get)(uint8_t &),
                      errorCode_e (EthernetHandler::*set)(uint8_t)) {
        return Param{name, id, -1, 1,
                     [get](EthernetHandler &h, QByteArray *out) {
                         uint8_t v = 0;
                         const errorCode_e r = (h.*get)(v);
                         *out = byte(v);
                         return r;
                     },
                     [set](EthernetHandler &h, const QByteArray &v, QByteArray *sent) {
                         *sent = v;
                         return (h.*set)(uint8_t(v.at(0)));
                     }};
    };
    p << u8Param("output select", EthernetHandler::ParamOutputConfig, &EthernetHandler::readOutputConfig,
                 &EthernetHandler::writeOutputConfig)
      << u8Param("output inversion", EthernetHandler::ParamOutputInversion, &EthernetHandler::readOutputInversion,
                 &EthernetHandler::writeOutputInversion)
      << u8Param("channel enable mask", EthernetHandler::ParamChannelEnableMask,
                 &EthernetHandler::readChannelEnableMask, &EthernetHandler::writeChannelEnableMask);
    p << Param{"debounce time", EthernetHandler::ParamDebounceTime, -1, 2,
               [](EthernetHandler &h, QByteArray *out) {
                   uint16_t v = 0;
                   const errorCode_e r = h.readDebounceTime(v);
                   *out = word(v);
                   return r;
               },
               [](EthernetHandler &h, const QByteArray &v, QByteArray *sent) {
                   *sent = v;
                   return h.writeDebounceTime(le::u16(reinterpret_cast<const uint8_t *>(v.constData())));
               }};
    for (uint8_t ch : {uint8_t(0), uint8_t(6)}) {
        p << Param{"threshold", uint16_t(EthernetHandler::ParamChannelThreshold + ch), -1, 2,
                   [ch](EthernetHandler &h, QByteArray *out) {
                       uint16_t v = 0;
                       const errorCode_e r = h.readChannelThreshold(v, ch);
                       *out = word(v);
                       return r;
                   },
                   [ch](EthernetHandler &h, const QByteArray &v, QByteArray *sent) {
                       *sent = v;
                       return h.writeChannelThreshold(le::u16(reinterpret_cast<const uint8_t *>(v.constData())), ch);
                   }};
        p << Param{"scale", uint16_t(EthernetHandler::ParamChannelScale + ch), -1, 2,
                   [ch](EthernetHandler &h, QByteArray *out) {
                       uint16_t v = 0;
                       const errorCode_e r = h.readChannelScale(v, ch);
                       *out = word(v);
                       return r;
                   },
                   [ch](EthernetHandler &h, const QByteArray &v, QByteArray *sent) {
                       *sent = v;
                       return h.writeChannelScale(le::u16(reinterpret_cast<const uint8_t *>(v.constData())), ch);
                   }};
    }
    // Names compare as the text the tool hands out.
    auto nameOf = [](const QByteArray &record) { return DeviceNameRecord::fromRaw(
                                                     reinterpret_cast<const uint8_t *>(record.constData())).text(); };
    p << Param{"device name", EthernetHandler::ParamDeviceName, -1, DeviceNameRecord::kSize,
               [](EthernetHandler &h, QByteArray *out) {
                   QString name;
                   const errorCode_e r = h.readDeviceName(name);
                   *out = name.toUtf8();
                   return r;
               },
               [nameOf](EthernetHandler &h, const QByteArray &v, QByteArray *sent) {
                   DeviceNameRecord record;
                   record.setText(nameOf(v));
                   const errorCode_e r = h.writeDeviceName(record);
                   *sent = record.toBytes();
                   return r;
               }};
    p << Param{"channel name 3", EthernetHandler::ParamChannelName, 3, DeviceNameRecord::kSize,
               [](EthernetHandler &h, QByteArray *out) {
                   QString name;
                   const errorCode_e r = h.readChannelName(name, 3);
                   *out = name.toUtf8();
                   return r;
               },
               [nameOf](EthernetHandler &h, const QByteArray &v, QByteArray *sent) {
                   DeviceNameRecord record;
                   record.setText(nameOf(v));
                   const errorCode_e r = h.writeChannelName(record, 3);
                   *sent = record.toBytes();
                   return r;
               }};
    return p;
}

// A value for the parameter: random bytes, or for names a random short text.
QByteArray randomValue(const Param &p, QRandomGenerator &random)
{
    if (p.width == DeviceNameRecord::kSize) {
        DeviceNameRecord record;
        record.setText(QStringLiteral("Lager %1").arg(random.bounded(100000)));
        return record.toBytes();
    }
    QByteArray v(p.width, '\0');
    for (char &c : v)
        c = char(random.bounded(256));
    return v;
}

int envInt(const char *name, int fallback)
{
    bool ok = false;
    const int v = qEnvironmentVariableIntValue(name, &ok);
    return ok && v > 0 ? v : fallback;
}

} // namespace

class TestSoak : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void lossyLink();

private:
    SimLink m_link;
    // What the unit did, by the sequence number of the request.
    QHash<uint16_t, QByteArray> m_answered;  // value sent in a read's answer
    struct Applied
    {
        int id;
        int index;
        QByteArray value;
    };
    QHash<uint16_t, QVector<Applied>> m_applied;
    // Writes that ended without their confirmation and were not carried out
    // by then: on a busy machine their frames may still reach the unit.
    QHash<uint16_t, Applied> m_unconfirmed;
    int m_carriedOut = 0;
    QVector<uint16_t> m_sent;  // sequence numbers of the frames of the present call
};

void TestSoak::initTestCase()
{
    KORVANTIS_REQUIRE_TESTNET();
    // Thousands of calls would drown the totals in the engine's debug lines.
    QLoggingCategory::setFilterRules(QStringLiteral("default.debug=false"));
    LinkTimings t = SimLink::quietTimings();
    t.baseTimeoutMs = kTimeoutMs;
    // No heartbeat or watchdog frames among the soak's own.
    t.heartbeatMs = 1 << 30;
    t.watchdogMs = 1 << 30;
    t.watchdogSingleCoreMs = 1 << 30;
    QVERIFY(m_link.start(kUnit, 2, t));
    m_link.handler()->setTargetIP(kUnit);

    UnitSim &sim = *m_link.sim;
    sim.setRecogniseRetries(true);
    const auto read = sim.handler(0xE1);
    sim.setHandler(0xE1, [this, read](const UnitSimRequest &q, UnitSimReply &r) {
        read(q, r);
        if (!r.error)
            m_answered.insert(q.sequence, r.payload.mid(q.index >= 0 ? 3 : 2));
    });
    const auto write = sim.handler(0xEF);
    sim.setHandler(0xEF, [this, write](const UnitSimRequest &q, UnitSimReply &r) {
        write(q, r);
        if (!r.error) {
            m_applied[q.sequence].append({q.paramId, q.index, q.value});
            ++m_carriedOut;
        }
    });
    connect(m_link.handler(), &EthernetHandler::sendPacketSignal, this, [this](QByteArray frame, QHostAddress) {
        m_sent.append(FrameHeader::parse(reinterpret_cast<const uint8_t *>(frame.constData())).sequence);
    });
}

void TestSoak::lossyLink()
{
    KORVANTIS_REQUIRE_TESTNET();
    const int calls = envInt("KORVANTIS_SOAK_CALLS", 10000);
    const quint32 seed = quint32(envInt("KORVANTIS_SOAK_SEED", 23));
    qInfo("soak: %d calls, seed %u, answers dropped 10 %%, duplicated 5 %%, %d ms late 5 %%, stale behind 10 %%",
          calls, seed, kTimeoutMs * 3 / 2);

    UnitSim &sim = *m_link.sim;
    sim.seedFaults(seed);
    UnitSimFaults &f = sim.faults();
    f.dropPercent = 10;
    f.duplicatePercent = 5;
    f.latePercent = 5;
    f.lateMs = kTimeoutMs * 3 / 2;
    f.staleRatio = 0.1;

    const QVector<Param> all = params();
    QRandomGenerator random(seed);
    EthernetHandler &h = *m_link.handler();
    int reads = 0;
    int correct = 0;
    int writes = 0;
    int confirmed = 0;
    int unconfirmedApplied = 0;
    std::map<int, int> errors;
    QElapsedTimer run;
    run.start();

    for (int call = 0; call < calls; ++call) {
        const Param &p = all.at(int(random.bounded(all.size())));
        const bool isWrite = random.bounded(2) == 0;
        m_sent.clear();
        errorCode_e r;
        QByteArray value;
        QByteArray sent;
        if (isWrite)
            r = p.write(h, randomValue(p, random), &sent);
        else
            r = p.read(h, &value);

        const QByteArray what = QByteArray(isWrite ? "write " : "read ") + p.name + " (call "
                                + QByteArray::number(call) + ")";
        // Three attempts at most, and then it is over (it has returned).
        QVERIFY2(!m_sent.isEmpty() && m_sent.size() <= 3, what.constData());
        // Every attempt is the same request.
        for (uint16_t s : m_sent)
            QVERIFY2(s == m_sent.first(), what.constData());
        // Taken out, so that a sequence number used again after 65536
        // frames starts afresh.
        const uint16_t seq = m_sent.first();
        const QVector<Applied> applied = m_applied.take(seq);
        const bool answered = m_answered.contains(seq);
        const QByteArray unit = m_answered.take(seq);
        if (r != ERR_OK) {
            QVERIFY2(r == ERR_TIMEOUT || r == ERR_RESPONSE || r == ERR_DATA_SIZE,
                     (what + " ended with " + QByteArray::number(int(r))).constData());
            ++errors[int(r)];
        }
        if (isWrite) {
            ++writes;
            QVERIFY2(applied.size() <= 1, (what + " carried out twice").constData());
            if (r == ERR_OK)
                QVERIFY2(applied.size() == 1, (what + " confirmed but not carried out").constData());
            if (!applied.isEmpty()) {
                QCOMPARE(applied.first().id, int(p.id));
                QCOMPARE(applied.first().index, p.index);
                QCOMPARE(applied.first().value.toHex(), sent.toHex());
                if (r != ERR_OK)
                    ++unconfirmedApplied;
            } else if (r != ERR_OK) {
                m_unconfirmed.insert(seq, {int(p.id), p.index, sent});
            }
            confirmed += r == ERR_OK;
        } else {
            ++reads;
            QVERIFY2(applied.isEmpty(), what.constData());
            if (r == ERR_OK) {
                QVERIFY2(answered, (what + " succeeded without an answer").constData());
                const QByteArray expected = p.width == DeviceNameRecord::kSize
                                                ? DeviceNameRecord::fromRaw(
                                                      reinterpret_cast<const uint8_t *>(unit.constData()))
                                                      .text()
                                                      .toUtf8()
                                                : unit.left(p.width);
                QVERIFY2(value == expected, (what + ": got " + value.toHex() + ", the unit sent "
                                             + expected.toHex()).constData());
                ++correct;
            }
        }
    }

    QByteArray byCode;
    for (const auto &e : errors)
        byCode += " " + QByteArray::number(e.first) + ":" + QByteArray::number(e.second);
    qInfo("soak: %d calls in %lld ms: %d reads (%d correct values), %d writes (%d confirmed, %d carried out "
          "unconfirmed); errors by code:%s",
          calls, run.elapsed(), reads, correct, writes, confirmed, unconfirmedApplied,
          byCode.isEmpty() ? " none" : byCode.constData());
    qInfo("soak: the unit dropped %d answers, duplicated %d, sent %d late, recognised %d retries", sim.randomDrops(),
          sim.randomDuplicates(), sim.randomLate(), sim.retriesRecognised());
    // Frames still on their way: the unit has handled them all once it has
    // answered one more request, sent behind them on the same socket.
    f = UnitSimFaults();
    LinkTimings t = h.timings();
    t.baseTimeoutMs = 20000;
    h.setTimings(t);
    QByteArray last;
    QCOMPARE(all.first().read(h, &last), ERR_OK);
    // Every write the unit carried out belongs to a write call: a late one
    // to a call that ended unconfirmed, with that call's value.
    for (auto it = m_applied.cbegin(); it != m_applied.cend(); ++it) {
        if (it.value().isEmpty())
            continue;
        QVERIFY2(m_unconfirmed.contains(it.key()), qPrintable(QStringLiteral("write %1 of no call").arg(it.key())));
        const Applied call = m_unconfirmed.take(it.key());
        QCOMPARE(it.value().size(), 1);
        QCOMPARE(it.value().first().id, call.id);
        QCOMPARE(it.value().first().index, call.index);
        QCOMPARE(it.value().first().value.toHex(), call.value.toHex());
        ++unconfirmedApplied;
    }
    QCOMPARE(m_carriedOut, confirmed + unconfirmedApplied);
}

QTEST_GUILESS_MAIN(TestSoak)
#include "tst_soak.moc"
