// KorvantisSetup's receive path: datagrams from the unit (or from anyone)
// through the frame check and the answer dispatch, while a request of the
// kind the input picks waits for its answer. The datagrams are fed from
// inside the request's send, so no socket and no waiting is involved.
//
// Input: one byte picks the request, then records until the input ends:
//   ctl & 0x80   end of this attempt's datagrams (ctl & 0x40: let the
//                attempt time out instead of closing it with an error answer)
//   otherwise    a u16-length piece; ctl & 0x01 builds a frame around it
//                (flags, command, u16 sequence, payload) with a correct CRC,
//                ctl & 0x02 takes the request's command, ctl & 0x04 its
//                sequence number; ctl & 0x08 sends it from another address,
//                ctl & 0x10 from the IPv6 form of the unit's address.
#include <QHostAddress>
#include <QVector>
#include <functional>

#include "ethernethandler.h"
#include "fuzzinput.h"
#include "le.h"

namespace {

const QHostAddress kUnit(QStringLiteral("198.18.0.2"));
const QHostAddress kStranger(QStringLiteral("198.18.0.3"));
const QHostAddress kUnitV6(QStringLiteral("::ffff:198.18.0.2"));

struct Datagram
{
    QByteArray bytes;
    QHostAddress sender;
    bool endOfPass = false;
    bool letTimeOut = false;
    // Built frames take the request's command and sequence number only when
    // the request is known, at the moment it is sent.
    bool built = false;
    bool requestCommand = false;
    bool requestSequence = false;
    uint8_t flags = 0;
    uint8_t command = 0;
    uint16_t sequence = 0;
};

QVector<Datagram> parse(FuzzInput &in)
{
    QVector<Datagram> out;
    while (!in.atEnd() && out.size() < 256) {
        const uint8_t ctl = in.u8();
        Datagram d;
        if (ctl & 0x80) {
            d.endOfPass = true;
            d.letTimeOut = ctl & 0x40;
            out.append(d);
            continue;
        }
        d.sender = (ctl & 0x08) ? kStranger : (ctl & 0x10) ? kUnitV6 : kUnit;
        if (ctl & 0x01) {
            d.built = true;
            d.flags = in.u8();
            d.command = in.u8();
            d.sequence = in.u16();
            d.requestCommand = ctl & 0x02;
            d.requestSequence = ctl & 0x04;
            d.bytes = in.piece(kFramePayloadMax);
        } else {
            d.bytes = in.piece(1600);
        }
        out.append(d);
    }
    return out;
}

class Feeder
{
public:
    Feeder(EthernetHandler &handler, QVector<Datagram> datagrams)
        : m_handler(handler), m_datagrams(std::move(datagrams))
    {
        QObject::connect(&m_handler, &EthernetHandler::gotResponse, [this] { m_answered = true; });
        QObject::connect(&m_handler, &EthernetHandler::sendPacketSignal,
                         [this](QByteArray frame, QHostAddress) { onSend(frame); });
    }

    // Feeds everything without a request.
    void feedAll()
    {
        for (const Datagram &d : m_datagrams)
            if (!d.endOfPass)
                deliver(d, 0, 0);
    }

    int sent() const { return m_sent; }

private:
    void onSend(const QByteArray &frame)
    {
        FUZZ_CHECK(frame.size() >= kFrameHeaderSize + kFrameCrcSize);
        FUZZ_CHECK(EthernetFrame::check(frame) == FrameCheck::Ok);
        const FrameHeader h = FrameHeader::parse(reinterpret_cast<const uint8_t *>(frame.constData()));
        if (h.command == EthernetHandler::CmdHeartbeat)
            return;
        ++m_sent;
        // No request may keep going for ever on answers that never end it.
        FUZZ_CHECK(m_sent < 4096);
        m_answered = false;
        bool letTimeOut = false;
        while (m_next < m_datagrams.size()) {
            const Datagram &d = m_datagrams.at(m_next++);
            if (d.endOfPass) {
                letTimeOut = d.letTimeOut;
                break;
            }
            deliver(d, h.command, h.sequence);
        }
        // Close the attempt with an error answer unless the input said to
        // let it time out: waiting costs the fuzzer time and finds nothing.
        if (!m_answered && !letTimeOut) {
            QByteArray status(4, '\0');
            le::put32(reinterpret_cast<uint8_t *>(status.data()), uint32_t(-4242));
            m_handler.handleMessageSlot(buildFrame(h.sequence, h.command, status, FrameFlag::Answer | FrameFlag::Error),
                                        kUnit);
        }
    }

    void deliver(const Datagram &d, uint8_t command, uint16_t sequence)
    {
        QByteArray bytes = d.bytes;
        if (d.built)
            bytes = buildFrame(d.requestSequence ? sequence : d.sequence, d.requestCommand ? command : d.command,
                               d.bytes, d.flags);
        m_handler.handleMessageSlot(bytes, d.sender);
    }

    EthernetHandler &m_handler;
    QVector<Datagram> m_datagrams;
    int m_next = 0;
    int m_sent = 0;
    bool m_answered = false;
};

// A request that waits for its answer; its result must be a result code.
using Request = std::function<errorCode_e(EthernetHandler &)>;

QVector<Request> requests()
{
    QVector<Request> r;
    r << [](EthernetHandler &h) { uint8_t v; return h.readOutputConfig(v); }
      << [](EthernetHandler &h) { uint16_t v; return h.readDebounceTime(v); }
      << [](EthernetHandler &h) { uint16_t v; return h.readChannelThreshold(v, 3); }
      << [](EthernetHandler &h) { QHostAddress a; return h.readIPAddress(a); }
      << [](EthernetHandler &h) { uint8_t mac[8]; return h.readMACAddress(mac); }
      << [](EthernetHandler &h) { uint32_t v; return h.readParam1F02(v); }
      << [](EthernetHandler &h) { QString n; return h.readDeviceName(n); }
      << [](EthernetHandler &h) { QString n; return h.readChannelName(n, 5); }
      << [](EthernetHandler &h) { uint8_t blob[512]; return h.readConfigBlob(blob); }
      << [](EthernetHandler &h) { Anybus_cfg c; return h.readAnybusCFG(&c); }
      << [](EthernetHandler &h) { return h.writeDebounceTime(1234); }
      << [](EthernetHandler &h) { return h.sendServiceAction(EthernetHandler::ActionInitConfigWrite); }
      << [](EthernetHandler &h) { ProductInfoRecord p; return h.readProductInfo(&p); }
      << [](EthernetHandler &h) { return h.requestRefRunResult(); }
      << [](EthernetHandler &h) { uint8_t area[EthernetHandler::kRecordAreaSize]; return h.readRecordBlock(area); }
      << [](EthernetHandler &h) { uint32_t v; return h.readRecordValue(v); }
      << [](EthernetHandler &h) {
             LogBlockHeader request;
             const errorCode_e r = h.readLog(request);
             QVector<LogRecord> records;
             h.getLogEntries(records);
             // A log that is no whole number of records gives none.
             const int bytes = h.logTransfer().joinedBytes().size();
             if (r == ERR_OK)
                 FUZZ_CHECK(records.size() * LogRecord::kSize == (bytes % LogRecord::kSize ? 0 : bytes));
             return r;
         }
      << [](EthernetHandler &h) {
             LogBlockHeader request;
             request.word1 = 1;
             const errorCode_e r = h.readData(request);
             QVector<int32_t> values;
             h.getDataBuffer(values);
             if (r == ERR_OK)
                 FUZZ_CHECK(values.size() == h.dataTransfer().joinedValues().size());
             else
                 FUZZ_CHECK(values.isEmpty() || h.dataTransfer().isComplete());
             return r;
         };
    return r;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzz::initQt();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const QVector<Request> all = requests();
    FuzzInput in(data, size);
    const uint8_t pick = in.u8();

    EthernetHandler handler;
    LinkTimings t;
    t.baseTimeoutMs = 1;          // an attempt left to time out costs 1 ms
    t.heartbeatMs = 1 << 30;      // no heartbeat or watchdog during a run
    t.watchdogMs = 1 << 30;
    t.watchdogSingleCoreMs = 1 << 30;
    handler.setTimings(t);
    handler.setTargetIP(kUnit);

    Feeder feeder(handler, parse(in));
    const int which = pick % (all.size() + 1);
    if (which == all.size()) {
        feeder.feedAll();
        return 0;
    }
    const errorCode_e result = all.at(which)(handler);
    FUZZ_CHECK(feeder.sent() >= 1);
    FUZZ_CHECK(!handler.isWaiting());
    (void)result;
    return 0;
}
