// KorvantisLoader's receive path: datagrams from the bootloader (or from
// anyone) through the frame check and answer decoding while a command of the
// kind the input picks waits for its answer. The datagrams are fed from
// inside the command's send; an error answer closes every attempt the input
// leaves open, so no run waits for a time-out.
//
// Input: one byte picks the command, then records until the input ends:
//   ctl & 0x80   end of this attempt's datagrams
//   otherwise    a u16-length piece; ctl & 0x01 builds a frame around it
//                (flags, command, u16 sequence, payload) with a correct CRC,
//                ctl & 0x02 takes the command's byte, ctl & 0x04 its sequence
//                number; ctl & 0x08 sends it from another address, ctl & 0x10
//                from 127.0.0.1.
#include <QCoreApplication>
#include <QHostAddress>
#include <QVector>
#include <functional>

#include "crc16.h"
#include "ethernethandler.h"
#include "fuzzinput.h"
#include "le.h"
#include "loadermetatypes.h"

using namespace loader;

namespace {

const QHostAddress kUnit(QStringLiteral("198.18.0.2"));
const QHostAddress kStranger(QStringLiteral("198.18.0.3"));
const QHostAddress kLocal(QHostAddress::LocalHost);

struct Datagram
{
    QByteArray bytes;
    QHostAddress sender;
    bool endOfPass = false;
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
            out.append(d);
            continue;
        }
        d.sender = (ctl & 0x08) ? kStranger : (ctl & 0x10) ? kLocal : kUnit;
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

// A frame as the bootloader sends it: the loader's own layout and CRC.
QByteArray frame(uint16_t sequence, uint8_t command, QByteArray payload, uint8_t flags)
{
    QByteArray f = EthernetHandler::instance()->buildFrame(command, sequence, payload);
    f[2] = char(flags);
    // The flags are covered by the CRC: seal it again.
    Crc16 crc;
    f.chop(2);
    uint8_t tail[2];
    le::put16(tail, crc.calculate(reinterpret_cast<const uint8_t *>(f.constData()), uint32_t(f.size())));
    f.append(reinterpret_cast<const char *>(tail), 2);
    return f;
}

class Feeder : public QObject
{
public:
    explicit Feeder(QVector<Datagram> datagrams) : m_datagrams(std::move(datagrams))
    {
        EthernetHandler *h = EthernetHandler::instance();
        m_connections << connect(h, &EthernetHandler::sendPacketSignal, this,
                                 [this](QByteArray f, QHostAddress) { onSend(f); }, Qt::DirectConnection)
                      << connect(h, &EthernetHandler::Signal_Answer, this,
                                 [this](uint8_t, errorCode_e status, uint16_t seq) { onAnswer(status, seq); },
                                 Qt::DirectConnection)
                      << connect(h, &EthernetHandler::Signal_AnswerData, this,
                                 [this](uint8_t, errorCode_e status, uint16_t seq, EthernetFrame f) {
                                     FUZZ_CHECK(f.payloadLength() <= kFramePayloadMax);
                                     onAnswer(status, seq);
                                 },
                                 Qt::DirectConnection);
    }
    ~Feeder() override
    {
        for (const auto &c : m_connections)
            disconnect(c);
    }

    void feedAll()
    {
        for (const Datagram &d : m_datagrams)
            if (!d.endOfPass)
                deliver(d, 0, 0);
    }

    int sent() const { return m_sent; }
    // Whether an answer that the waiting command may take as success came.
    bool successSeen() const { return m_successSeen; }

private:
    void onSend(const QByteArray &f)
    {
        FUZZ_CHECK(f.size() >= kFrameHeaderSize + kFrameCrcSize && f.size() % 2 == 0);
        const FrameHeader h = FrameHeader::parse(reinterpret_cast<const uint8_t *>(f.constData()));
        ++m_sent;
        FUZZ_CHECK(m_sent <= 2);  // one resend at most
        m_expected = h.sequence;
        while (m_next < m_datagrams.size()) {
            const Datagram &d = m_datagrams.at(m_next++);
            if (d.endOfPass)
                break;
            deliver(d, h.command, h.sequence);
        }
        // The receiver takes only the first matching answer, so this one
        // ends the wait only when the input's datagrams did not.
        QByteArray status(4, '\0');
        le::put32(reinterpret_cast<uint8_t *>(status.data()), uint32_t(-4242));
        EthernetHandler::instance()->handleMessageSlot(frame(h.sequence, h.command, status, 0x50), kUnit);
    }

    void onAnswer(errorCode_e status, uint16_t sequence)
    {
        if (sequence == m_expected && m_sent > 0 && status == ERR_OK && !m_answered)
            m_successSeen = true;
        if (sequence == m_expected && status != ERR_NO_ANSWER_YET)
            m_answered = true;
    }

    void deliver(const Datagram &d, uint8_t command, uint16_t sequence)
    {
        QByteArray bytes = d.bytes;
        if (d.built)
            bytes = frame(d.requestSequence ? sequence : d.sequence, d.requestCommand ? command : d.command, d.bytes,
                          d.flags);
        EthernetHandler::instance()->handleMessageSlot(bytes, d.sender);
    }

    QVector<Datagram> m_datagrams;
    QVector<QMetaObject::Connection> m_connections;
    int m_next = 0;
    int m_sent = 0;
    uint16_t m_expected = 0;
    bool m_answered = false;
    bool m_successSeen = false;
};

using Command = std::function<errorCode_e(EthernetHandler &)>;

QVector<Command> commands()
{
    QVector<Command> c;
    c << [](EthernetHandler &h) { SW_VersionInfo v; return h.rdFWVersion(&v); }
      << [](EthernetHandler &h) { HW_VersionInfo v; return h.rdHWVersion(&v); }
      << [](EthernetHandler &h) { return h.catchLoader(); }
      << [](EthernetHandler &h) { return h.wrtOffsetDataLen(0x08014000u, 0x4000); }
      << [](EthernetHandler &h) { return h.wrtData(3, QByteArray(17, 'x')); }
      << [](EthernetHandler &h) { return h.writePage(0x12345678u); }
      << [](EthernetHandler &h) { return h.startFirmware(); }
      << [](EthernetHandler &h) { return h.resetDevice(); }
      << [](EthernetHandler &h) {
             MAC_AND_IP r{};
             return h.writeMacAndIP(r);
         }
      << [](EthernetHandler &h) {
             BCAST_NET_CONFIG r;
             return h.configureNetBCast(r);
         };
    return c;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzz::initQt();
    registerMetaTypes();
    EthernetHandler::instance()->setTargetIP(kUnit);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const QVector<Command> all = commands();
    FuzzInput in(data, size);
    const int which = in.u8() % (all.size() + 1);
    Feeder feeder(parse(in));
    EthernetHandler &handler = *EthernetHandler::instance();
    if (which == all.size()) {
        SignalReceiver receiver;
        QObject::connect(&handler, &EthernetHandler::Signal_Answer, &receiver, &SignalReceiver::receiveStateCmd);
        QObject::connect(&handler, &EthernetHandler::Signal_AnswerData, &receiver,
                         &SignalReceiver::receiveStateCmdData);
        receiver.expect(handler.nextSequence());
        feeder.feedAll();
        FUZZ_CHECK(receiver.data().size() <= kFramePayloadMax);
        return 0;
    }
    const errorCode_e result = all.at(which)(handler);
    // Drain what the last attempt left queued, so runs stay independent.
    QCoreApplication::processEvents();
    FUZZ_CHECK(feeder.sent() >= 1);
    FUZZ_CHECK(result != ERR_NO_ANSWER_YET);
    // Success only from an answer that said so, to this very command.
    if (result == ERR_OK)
        FUZZ_CHECK(feeder.successSeen());
    return 0;
}
