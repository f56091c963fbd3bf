#include "bootloadersim.h"

#include <QDebug>
#include <QPointer>
#include <QUdpSocket>
#include <algorithm>

#include "bootprotocol.h"
#include "ethernetframe.h"
#include "byteorder.h"

namespace {

using loader::BootProtocol;

// The bootloader's own check of a programmed page: CRC-32 (0x04C11DB7, MSB
// first, init 0, no final XOR) over the bytes in reversed 4-byte groups, a
// trailing partial group padded with 0xFF. Kept apart from the loader's
// routine on purpose, so a test compares two independent computations.
uint32_t pageCrc(const QByteArray &bytes)
{
    QByteArray padded = bytes;
    while (padded.size() % 4)
        padded.append(char(0xFF));
    uint32_t reg = 0;
    for (int g = 0; g < padded.size(); g += 4) {
        for (int k = 3; k >= 0; --k) {
            reg ^= uint32_t(uint8_t(padded.at(g + k))) << 24;
            for (int bit = 0; bit < 8; ++bit)
                reg = (reg & 0x80000000u) ? (reg << 1) ^ 0x04C11DB7u : (reg << 1);
        }
    }
    return reg;
}

} // namespace

BootloaderSim::BootloaderSim(const QHostAddress &address, QObject *parent)
    : QObject(parent),
      m_address(address),
      m_flash(int(kFlashSize), char(0xFF)),
      m_mac(QByteArray::fromHex("02005E10AA01")),
      m_defaultIp(QByteArray::fromHex("C0A80064")),
      m_fwVersion(QByteArray::fromHex("020301E204")),  // 2.3, bootloader 1, build 1250
      m_hwVersion(QByteArray::fromHex("0402"))
{
    m_timeline.setSingleShot(true);
    connect(&m_timeline, &QTimer::timeout, this, [this] {
        if (m_state == State::Rebooting)
            setState(m_catchWindowMs > 0 ? State::CatchWindow : State::Firmware);
        else if (m_state == State::CatchWindow)
            setState(State::Firmware);
    });
}

BootloaderSim::~BootloaderSim() { stop(); }

bool BootloaderSim::start(QString *error)
{
    stop();
    m_clock.start();
    m_unicast = new QUdpSocket(this);
    if (!m_unicast->bind(m_address, kDevicePort, QUdpSocket::ShareAddress | QUdpSocket::ReuseAddressHint)) {
        if (error)
            *error = m_unicast->errorString();
        delete m_unicast;
        m_unicast = nullptr;
        return false;
    }
    connect(m_unicast, &QUdpSocket::readyRead, this, &BootloaderSim::readUnicast);
    if (m_listenBroadcast) {
        m_broadcast = new QUdpSocket(this);
        if (m_broadcast->bind(QHostAddress(QHostAddress::AnyIPv4), kDevicePort,
                              QUdpSocket::ShareAddress | QUdpSocket::ReuseAddressHint)) {
            connect(m_broadcast, &QUdpSocket::readyRead, this, &BootloaderSim::readBroadcast);
        } else {
            qWarning() << "bootloader simulation: no broadcast socket:" << m_broadcast->errorString();
            delete m_broadcast;
            m_broadcast = nullptr;
        }
    }
    return true;
}

void BootloaderSim::stop()
{
    delete m_unicast;
    m_unicast = nullptr;
    delete m_broadcast;
    m_broadcast = nullptr;
}

QByteArray BootloaderSim::readFlash(uint32_t address, int length) const
{
    if (address < kFlashStart || length < 0 || uint64_t(address - kFlashStart) + uint64_t(length) > kFlashSize)
        return QByteArray();
    return m_flash.mid(int(address - kFlashStart), length);
}

void BootloaderSim::eraseFlash()
{
    m_flash.fill(char(0xFF));
    m_blocks.clear();
    m_infoBlock.clear();
}

void BootloaderSim::setState(State state)
{
    m_timeline.stop();
    m_state = state;
    if (state == State::CatchWindow)
        m_timeline.start(m_catchWindowMs);
    emit stateChanged(state);
}

void BootloaderSim::reboot()
{
    m_pending = false;
    setState(State::Rebooting);
    m_timeline.start(std::max(0, m_rebootMs));
}

QList<BootloaderSim::Request> BootloaderSim::requestsFor(uint8_t command) const
{
    QList<Request> out;
    for (const Request &r : m_requests)
        if (r.command == command)
            out.append(r);
    return out;
}

bool BootloaderSim::setLogFile(const QString &fileName)
{
    m_log.close();
    m_log.setFileName(fileName);
    return m_log.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text);
}

void BootloaderSim::logRequest(const Request &request)
{
    if (!m_log.isOpen())
        return;
    // One line per request: time, sequence, command, flags, payload, origin.
    const QString line = QStringLiteral("%1 %2 %3 %4 %5 %6\n")
                             .arg(request.ms)
                             .arg(request.sequence)
                             .arg(request.command, 2, 16, QLatin1Char('0'))
                             .arg(request.flags, 2, 16, QLatin1Char('0'))
                             .arg(request.payload.isEmpty() ? QStringLiteral("-")
                                                            : QString::fromLatin1(request.payload.toHex()))
                             .arg(request.broadcast ? QStringLiteral("broadcast") : QStringLiteral("unicast"));
    m_log.write(line.toLatin1());
    m_log.flush();
}

void BootloaderSim::readUnicast() { readFrom(m_unicast, false); }

void BootloaderSim::readBroadcast() { readFrom(m_broadcast, true); }

void BootloaderSim::readFrom(QUdpSocket *socket, bool broadcast)
{
    while (socket && socket->hasPendingDatagrams()) {
        QByteArray datagram(int(std::max<qint64>(0, socket->pendingDatagramSize())), '\0');
        QHostAddress sender;
        quint16 port = 0;
        socket->readDatagram(datagram.data(), datagram.size(), &sender, &port);
        emit datagramRead(datagram);
        handle(datagram, sender, port, broadcast);
    }
}

bool BootloaderSim::takeFault(FaultKind kind, uint8_t command, int32_t *value)
{
    for (int i = 0; i < m_faults.size(); ++i) {
        Fault &f = m_faults[i];
        if (f.kind != kind || (f.command >= 0 && f.command != command))
            continue;
        if (value)
            *value = f.value;
        if (f.count > 0 && --f.count == 0)
            m_faults.removeAt(i);
        return true;
    }
    return false;
}

bool BootloaderSim::holdsAnswer(uint8_t command)
{
    for (Fault &f : m_faults) {
        if (f.kind != FaultKind::Hold || (f.command >= 0 && f.command != command))
            continue;
        // `value` counts down to the request the hold begins at.
        if (f.value > 1) {
            --f.value;
            return false;
        }
        return true;
    }
    return false;
}

void BootloaderSim::releaseHeld()
{
    for (int i = m_faults.size() - 1; i >= 0; --i) {
        if (m_faults.at(i).kind == FaultKind::Hold)
            m_faults.removeAt(i);
    }
    const QList<HeldAnswer> held = m_held;
    m_held.clear();
    for (const HeldAnswer &a : held) {
        if (m_unicast)
            m_unicast->writeDatagram(a.frame, a.peer, a.port);
    }
}

bool BootloaderSim::answersIn(State state, uint8_t command) const
{
    switch (state) {
    case State::Bootloader:
        return true;
    case State::Rebooting:
        return false;
    case State::CatchWindow:
        return command == BootProtocol::CmdCatchLoader || command == BootProtocol::CmdReset;
    case State::Firmware:
        return command == BootProtocol::CmdReset || command == BootProtocol::CmdNetConfigBroadcast;
    }
    return false;
}

void BootloaderSim::handle(const QByteArray &datagram, const QHostAddress &sender, uint16_t port, bool broadcast)
{
    if (EthernetFrame::check(datagram) != FrameCheck::Ok)
        return;
    const auto *raw = reinterpret_cast<const uint8_t *>(datagram.constData());
    const FrameHeader header = FrameHeader::parse(raw);
    if (!(header.flags & FrameFlag::Request))
        return;
    Request request;
    request.ms = m_clock.elapsed();
    request.sender = sender;
    request.senderPort = port;
    request.broadcast = broadcast;
    request.sequence = header.sequence;
    request.flags = header.flags;
    request.command = header.command;
    request.payload = datagram.mid(kFrameHeaderSize, header.length);
    // Only the network configuration is taken from a broadcast.
    if (broadcast && request.command != BootProtocol::CmdNetConfigBroadcast)
        return;
    m_requests.append(request);
    logRequest(request);
    emit requestReceived(m_requests.size() - 1);

    if (takeFault(FaultKind::Silence, request.command))
        return;
    if (!answersIn(m_state, request.command))
        return;

    Answer answer;
    int32_t value = 0;
    if (takeFault(FaultKind::Nak, request.command)) {
        answer = nak();
    } else if (takeFault(FaultKind::ErrorStatus, request.command, &value)) {
        answer = error(value);
    } else if ((request.command == BootProtocol::CmdWritePage || request.command == BootProtocol::CmdWriteInfoBlock)
               && takeFault(FaultKind::RefuseCrc, request.command, &value)) {
        m_pending = false;
        answer = error(value ? value : StatusCrcMismatch);
    } else {
        answer = process(request);
    }
    if (!answer.send || takeFault(FaultKind::Drop, request.command))
        return;

    const QByteArray frame = buildFrame(request.sequence, request.command, answer.payload, answer.flags);
    // Answers leave from the unit's own address, also for a broadcast.
    QPointer<QUdpSocket> socket = m_unicast;
    if (holdsAnswer(request.command)) {
        m_held.append(HeldAnswer{frame, sender, port});
        return;
    }
    if (takeFault(FaultKind::Delay, request.command, &value) && value > 0) {
        QTimer::singleShot(value, this, [this, frame, sender, port] {
            if (m_unicast)
                m_unicast->writeDatagram(frame, sender, port);
        });
        return;
    }
    if (socket)
        socket->writeDatagram(frame, sender, port);
}

BootloaderSim::Answer BootloaderSim::ack() { return Answer{true, FrameFlag::Ack, QByteArray()}; }

BootloaderSim::Answer BootloaderSim::nak() { return Answer{true, FrameFlag::Nak, QByteArray()}; }

BootloaderSim::Answer BootloaderSim::error(int32_t status)
{
    QByteArray payload(4, '\0');
    le::put32(reinterpret_cast<uint8_t *>(payload.data()), uint32_t(status));
    return Answer{true, FrameFlag::Error, payload};
}

BootloaderSim::Answer BootloaderSim::data(const QByteArray &payload)
{
    return Answer{true, FrameFlag::Answer, payload};
}

BootloaderSim::Answer BootloaderSim::process(const Request &request)
{
    const auto *p = reinterpret_cast<const uint8_t *>(request.payload.constData());
    const int n = request.payload.size();
    switch (request.command) {
    case BootProtocol::CmdCatchLoader:
        if (m_state == State::CatchWindow)
            setState(State::Bootloader);
        return ack();
    case BootProtocol::CmdReset:
        QTimer::singleShot(0, this, [this] { reboot(); });
        return ack();
    case BootProtocol::CmdStartPayload:
        if (n < 1 || p[0] != BootProtocol::kStartFirmwarePayload)
            return nak();
        QTimer::singleShot(0, this, [this] { setState(State::Firmware); });
        return ack();
    case BootProtocol::CmdReadFWVersion:
        return data(m_fwVersion);
    case BootProtocol::CmdReadHWVersion:
        return data(m_hwVersion);
    case BootProtocol::CmdWriteMacAndIP:
        if (n < 10)
            return nak();
        if (m_deviceDataWritten)
            return error(StatusAlreadyWritten);
        m_mac = request.payload.left(6);
        m_defaultIp = request.payload.mid(6, 4);
        m_deviceDataWritten = true;
        return ack();
    case BootProtocol::CmdNetConfigBroadcast:
        if (n < 16 || request.payload.left(6) != m_mac)
            return Answer();  // not for this unit: stay silent
        m_lastNetConfig = request.payload.left(16);
        return ack();
    case BootProtocol::CmdOffsetDataLen: {
        if (n < 6)
            return nak();
        const uint32_t offset = le::u32(p);
        const uint32_t length = le::u16(p + 4);
        const bool inFlash = offset >= kFlashStart;
        if (length == 0 || length > kMaxBlock
            || (inFlash && uint64_t(offset - kFlashStart) + length > kFlashSize)) {
            m_pending = false;
            return error(StatusBadOffset);
        }
        m_pending = true;
        m_pendingOffset = offset;
        m_pendingLength = length;
        m_filled = 0;
        m_buffer = QByteArray(int(length), char(0xFF));
        return ack();
    }
    case BootProtocol::CmdData: {
        if (!m_pending)
            return error(StatusNoBlock);
        if (n < 1)
            return nak();
        const uint32_t at = uint32_t(p[0] == 0 ? 0 : (p[0] - 1)) * BootProtocol::kMaxChunk;
        // A chunk may be sent again (its answer was lost), never skipped.
        if (p[0] == 0 || at > m_filled || at >= m_pendingLength)
            return error(StatusChunkOrder);
        // The frame may carry one pad byte; the announced length says what
        // is data.
        const uint32_t take = std::min<uint32_t>(
            uint32_t(n - 1), std::min<uint32_t>(BootProtocol::kMaxChunk, m_pendingLength - at));
        std::copy(request.payload.constBegin() + 1, request.payload.constBegin() + 1 + take, m_buffer.begin() + at);
        m_filled = std::max(m_filled, at + take);
        return ack();
    }
    case BootProtocol::CmdWritePage:
        return commitBlock(request, false);
    case BootProtocol::CmdWriteInfoBlock:
        return commitBlock(request, true);
    default:
        return nak();
    }
}

BootloaderSim::Answer BootloaderSim::commitBlock(const Request &request, bool info)
{
    if (!m_pending)
        return error(StatusNoBlock);
    if (m_filled < m_pendingLength) {
        m_pending = false;
        return error(StatusIncomplete);
    }
    if (request.payload.size() < 4)
        return nak();
    const uint32_t crc = le::u32(reinterpret_cast<const uint8_t *>(request.payload.constData()));
    m_pending = false;
    if (pageCrc(m_buffer) != crc)
        return error(StatusCrcMismatch);
    if (info)
        m_infoBlock = m_buffer;
    else if (m_pendingOffset >= kFlashStart)
        m_flash.replace(int(m_pendingOffset - kFlashStart), m_buffer.size(), m_buffer);
    else
        m_blocks.append(m_buffer);
    return ack();
}
