#include "unitsim.h"

#include <QDebug>
#include <QFile>
#include <QNetworkDatagram>
#include <QNetworkInterface>
#include <QTextStream>
#include <QUdpSocket>

#include "ethernetframe.h"
#include "byteorder.h"
#include "unitsimblocks.h"

namespace {

constexpr uint8_t kCmdReadParam = 0xE1;
constexpr uint8_t kCmdWriteParam = 0xEF;
constexpr uint8_t kCmdDiscover = 0xD1;
constexpr uint8_t kCmdNetConfig = 0xDF;
constexpr uint32_t kAnyParam = 0xFFFFFF;

// Whether the interface a datagram came in on belongs to the network of
// `address`. Unknown interfaces count as ours.
bool interfaceServes(int interfaceIndex, const QHostAddress &address)
{
    if (interfaceIndex <= 0)
        return true;
    const QNetworkInterface iface = QNetworkInterface::interfaceFromIndex(interfaceIndex);
    if (!iface.isValid())
        return true;
    for (const QNetworkAddressEntry &entry : iface.addressEntries()) {
        if (entry.ip().protocol() == QAbstractSocket::IPv4Protocol
            && (entry.ip() == address || address.isInSubnet(entry.ip(), entry.prefixLength())))
            return true;
    }
    return false;
}

} // namespace

UnitSim::UnitSim(QObject *parent)
    : QObject(parent)
    , m_pushTimer(this)
    , m_clockTimer(this)
{
    m_record = QByteArray(570, '\0');
    connect(&m_pushTimer, &QTimer::timeout, this, &UnitSim::pushState);
    connect(&m_clockTimer, &QTimer::timeout, this, [this] { ++m_heartbeat.deviceTime; });

    setHandler(0x71, [this](const UnitSimRequest &q, UnitSimReply &r) { onHeartbeat(q, r); });
    installParameterHandlers();
    installCommandHandlers();
    installNetworkHandlers();
    UnitSimBlocks::of(this);
}

UnitSim::~UnitSim()
{
    stop();
}

bool UnitSim::startQuiet(const QHostAddress &address, QString *error)
{
    setAddress(address);
    setListenBroadcast(false);
    setPushInterval(0);
    return start(error);
}

bool UnitSim::start(QString *error)
{
    auto fail = [error](const QString &text) {
        if (error)
            *error = text;
        return false;
    };
    if (m_address.protocol() != QAbstractSocket::IPv4Protocol)
        return fail(QStringLiteral("the unit needs an IPv4 address"));
    // 127.0.0.1 means "no unit" to the tool.
    if (m_address == QHostAddress(QHostAddress::LocalHost))
        return fail(QStringLiteral("127.0.0.1 cannot be a unit's address"));
    stop();

    if (!m_macSet) {
        // Each simulated unit gets its own MAC from its address.
        const quint32 ip = m_address.toIPv4Address();
        m_mac = {{0x02, 0x4B, 0x56, uint8_t(ip >> 16), uint8_t(ip >> 8), uint8_t(ip)}};
    }
    if (m_name.isEmpty())
        m_name = QStringLiteral("Korvantis PPU %1").arg(m_address.toIPv4Address() & 0xFF);
    resetState();

    const auto share = QAbstractSocket::ShareAddress | QAbstractSocket::ReuseAddressHint;
    m_socket = new QUdpSocket(this);
    if (!m_socket->bind(m_address, kDevicePort, share)) {
        const QString text = m_socket->errorString();
        delete m_socket;
        m_socket = nullptr;
        return fail(QStringLiteral("cannot bind %1:%2: %3").arg(m_address.toString()).arg(kDevicePort).arg(text));
    }
    connect(m_socket, &QUdpSocket::readyRead, this, &UnitSim::readUnicast);

    if (m_listenBroadcast) {
        // A socket bound to one address never sees broadcasts; a wildcard one
        // does (and may also see unicast for other units, which it ignores).
        m_broadcastSocket = new QUdpSocket(this);
        if (!m_broadcastSocket->bind(QHostAddress::AnyIPv4, kDevicePort, share)) {
            qWarning() << "unit simulator: no broadcasts:" << m_broadcastSocket->errorString();
            delete m_broadcastSocket;
            m_broadcastSocket = nullptr;
        } else {
            connect(m_broadcastSocket, &QUdpSocket::readyRead, this, &UnitSim::readBroadcast);
        }
    }
    m_uptime.start();
    m_randomDrops = m_randomDuplicates = m_randomLate = m_retriesRecognised = 0;
    m_lastAnswered.clear();
    m_clockTimer.start(1000);
    setPushInterval(m_pushIntervalMs);
    return true;
}

void UnitSim::stop()
{
    m_pushTimer.stop();
    m_clockTimer.stop();
    delete m_socket;
    m_socket = nullptr;
    delete m_broadcastSocket;
    m_broadcastSocket = nullptr;
}

void UnitSim::resetState()
{
    m_parameters.reset(m_address, m_mac, m_name);
    m_lastAnswers.clear();
    m_staleCredit = 0.0;
    m_heartbeat = HearBeatMessage_t();
    m_heartbeat.setDeviceState(2);
    m_heartbeat.dataControl = m_dataControl;
    m_heartbeat.runControl = 0x10;  // manual run allowed
    m_heartbeat.channelEnabled = 0x7F;
    for (int ch = 0; ch < HearBeatMessage_t::kChannels; ++ch)
        m_heartbeat.currentSkw[size_t(ch)] = int16_t(100 + 10 * ch);
    m_fieldbusResets = 0;
    m_fieldbusFtp = false;
    setFieldbusModule(m_fieldbusType);

    m_productInfo = ProductInfoRecord();
    m_productInfo.ethernetProtocolVersion = 3;
    m_productInfo.flashProtocolVersion = 2;
    m_productInfo.firmwareBuild = 1339;
    m_productInfo.firmwareMajor = 3;
    m_productInfo.firmwareMinor = 11;
    m_productInfo.hardwareRevision = 2;

    m_refRunResult = ReferenceRunResult_t();
    m_refRunResult.flags = 0x80 | 0x07;  // scale mode, channels 0..2
    for (int ch = 0; ch < ReferenceRunResult_t::kChannels; ++ch) {
        const bool has = ch < 3;
        m_refRunResult.previousReference[size_t(ch)] = int16_t(has ? 20000 : -1);
        m_refRunResult.newReference[size_t(ch)] = int16_t(has ? 21000 + ch : -1);
        m_refRunResult.previousSkw[size_t(ch)] = int16_t(has ? 400 : -1);
        m_refRunResult.newSkw[size_t(ch)] = int16_t(has ? 420 + ch : -1);
        m_refRunResult.previousFactor[size_t(ch)] = 25;
        m_refRunResult.newFactor[size_t(ch)] = uint8_t(has ? 26 : 25);
    }
    for (int i = 0; i < m_record.size(); ++i)
        m_record[i] = char(i & 0xFF);
    m_recordValue = 0x12345678;
}

void UnitSim::setPushInterval(int ms)
{
    m_pushIntervalMs = ms;
    m_pushTimer.stop();
    if (ms > 0 && m_socket)
        m_pushTimer.start(ms);
}

bool UnitSim::isRestarting() const
{
    return m_restarting && m_restartClock.isValid() && m_restartClock.elapsed() < m_restartSilenceMs;
}

void UnitSim::setErrorStatus(uint8_t command, int paramId, int32_t status)
{
    const uint32_t param = paramId < 0 ? kAnyParam : uint32_t(paramId);
    m_errorStatus.insert((uint32_t(command) << 24) | param, status);
}

int UnitSim::countRequests(uint8_t command) const
{
    int n = 0;
    for (const auto &r : m_log)
        n += r.command == command;
    return n;
}

bool UnitSim::setLogFile(const QString &path)
{
    delete m_logFile;
    m_logFile = new QFile(path, this);
    if (!m_logFile->open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text)) {
        delete m_logFile;
        m_logFile = nullptr;
        return false;
    }
    return true;
}

// ---------------------------------------------------------------- receiving

void UnitSim::readUnicast()
{
    while (m_socket && m_socket->hasPendingDatagrams())
        handleDatagram(m_socket->receiveDatagram(), false);
}

void UnitSim::readBroadcast()
{
    while (m_broadcastSocket && m_broadcastSocket->hasPendingDatagrams()) {
        const QNetworkDatagram d = m_broadcastSocket->receiveDatagram();
        if (isOwnBroadcast(d))
            handleDatagram(d, true);
    }
}

bool UnitSim::isOwnBroadcast(const QNetworkDatagram &d) const
{
    // Unicast for another address lands here too when nobody is bound to it.
    const QHostAddress dest = d.destinationAddress();
    if (!dest.isNull()) {
        const quint32 v = dest.toIPv4Address();
        if (v != 0xFFFFFFFFu && (v & 0xFF) != 0xFF)
            return false;
    }
    // A broadcast reaches every wildcard socket of the host, whatever network
    // it was sent on; a unit only hears its own network.
    return interfaceServes(int(d.interfaceIndex()), m_address);
}

UnitSimRequest UnitSim::parseRequest(const QByteArray &datagram) const
{
    UnitSimRequest r;
    r.datagram = datagram;
    const auto *raw = reinterpret_cast<const uint8_t *>(datagram.constData());
    const FrameHeader h = FrameHeader::parse(raw);
    r.command = h.command;
    r.flags = h.flags;
    r.sequence = h.sequence;
    r.payload = datagram.mid(kFrameHeaderSize, h.length);
    const auto *p = reinterpret_cast<const uint8_t *>(r.payload.constData());
    const int length = r.payload.size();
    if ((r.command == kCmdReadParam || r.command == kCmdWriteParam) && length >= 2) {
        r.paramId = le::u16(p);
        int offset = 2;
        if (r.command == kCmdReadParam) {
            // 2 bytes: no index; with an index the pad makes it 4.
            if (length > 2) {
                r.index = p[2];
                offset = 3;
            }
        } else if (UnitParameterStore::takesIndex(uint16_t(r.paramId)) && length > 2) {
            r.index = p[2];
            offset = 3;
        }
        if (r.command == kCmdWriteParam) {
            const int width = UnitParameterStore::width(uint16_t(r.paramId));
            r.value = width >= 0 ? r.payload.mid(offset, width) : r.payload.mid(offset);
        }
    }
    return r;
}

void UnitSim::handleDatagram(const QNetworkDatagram &d, bool viaBroadcast)
{
    const QByteArray datagram = d.data();
    emit datagramRead(datagram);
    if (EthernetFrame::check(datagram) != FrameCheck::Ok)
        return;  // a unit ignores what is not a frame
    UnitSimRequest request = parseRequest(datagram);
    request.source = QHostAddress(d.senderAddress().toIPv4Address());
    request.sourcePort = uint16_t(d.senderPort());
    request.viaBroadcast = viaBroadcast;

    if (viaBroadcast) {
        if (request.command != kCmdDiscover && request.command != kCmdNetConfig)
            return;
        const qint64 now = m_uptime.elapsed();
        for (int i = m_seenBroadcasts.size() - 1; i >= 0; --i) {
            const auto &s = m_seenBroadcasts.at(i);
            // One datagram seen twice arrives within microseconds; a retry of
            // the same frame comes a whole time-out later and must be heard.
            if (now - s.at > 50)
                m_seenBroadcasts.remove(i);
            else if (s.source == request.source && s.port == request.sourcePort && s.sequence == request.sequence)
                return;
        }
        m_seenBroadcasts.append({request.source, request.sourcePort, request.sequence, now});
    }
    if (!(request.flags & FrameFlag::Request))
        return;
    if (m_restarting) {
        if (isRestarting())
            return;
        m_restarting = false;
        emit restarted();
    }

    logRequest(request);
    emit requestReceived(request);
    if (m_faults.silent)
        return;
    if (!viaBroadcast) {
        m_peer = request.source;
        m_peerPort = request.sourcePort;
    }

    const quint64 sender = (quint64(request.source.toIPv4Address()) << 16) | request.sourcePort;
    if (m_recogniseRetries && !viaBroadcast) {
        const auto last = m_lastAnswered.constFind(sender);
        if (last != m_lastAnswered.constEnd() && last->sequence == request.sequence
            && last->command == request.command && last->payload == request.payload) {
            ++m_retriesRecognised;
            UnitSimReply again = last->reply;
            answer(request, again);
            return;
        }
    }

    UnitSimReply reply;
    const auto handler = m_handlers.constFind(request.command);
    if (handler == m_handlers.constEnd())
        reply.fail(-17);  // not supported
    else
        (*handler)(request, reply);
    answer(request, reply);
    if (m_recogniseRetries && !viaBroadcast)
        m_lastAnswered.insert(sender, Answered{request.sequence, request.command, request.payload, reply});
}

void UnitSim::logRequest(const UnitSimRequest &request)
{
    m_log.append(request);
    if (!m_logFile)
        return;
    QTextStream out(m_logFile);
    out << QStringLiteral("cmd=0x%1 seq=%2 param=%3 index=%4 payload=%5 from=%6:%7\n")
               .arg(request.command, 2, 16, QLatin1Char('0'))
               .arg(request.sequence)
               .arg(request.paramId < 0 ? QStringLiteral("-") : QStringLiteral("0x%1").arg(request.paramId, 4, 16, QLatin1Char('0')))
               .arg(request.index)
               .arg(QString::fromLatin1(request.payload.toHex()))
               .arg(request.source.toString())
               .arg(request.sourcePort);
    out.flush();
}

// ---------------------------------------------------------------- answering

void UnitSim::answer(const UnitSimRequest &request, UnitSimReply &reply)
{
    if (!reply.send)
        return;
    const uint32_t cmd = uint32_t(request.command) << 24;
    auto status = m_errorStatus.constFind(cmd | (request.paramId < 0 ? kAnyParam : uint32_t(request.paramId)));
    if (status == m_errorStatus.constEnd())
        status = m_errorStatus.constFind(cmd | kAnyParam);
    if (status != m_errorStatus.constEnd())
        reply.fail(*status);

    if (m_faults.dropAnswers > 0) {
        --m_faults.dropAnswers;
        return;
    }
    if (m_faults.dropPercent > 0 && int(m_faultRandom.bounded(100)) < m_faults.dropPercent) {
        ++m_randomDrops;
        return;
    }
    uint8_t flags = FrameFlag::Answer;
    QByteArray payload = reply.payload;
    if (reply.error) {
        flags |= FrameFlag::Error;
        payload = QByteArray(4, '\0');
        le::put32(reinterpret_cast<uint8_t *>(payload.data()), uint32_t(reply.status));
    }
    uint16_t sequence = request.sequence;
    uint8_t command = request.command;
    if (m_faults.wrongSequence > 0) {
        --m_faults.wrongSequence;
        ++sequence;
    }
    if (m_faults.wrongCommand > 0) {
        --m_faults.wrongCommand;
        ++command;
    }
    if (m_faults.truncatePayload > 0) {
        --m_faults.truncatePayload;
        payload.truncate(m_faults.truncateTo);
    }
    QByteArray datagram = buildFrame(sequence, command, payload, flags);
    if (m_faults.corruptCrc > 0) {
        --m_faults.corruptCrc;
        datagram[datagram.size() - 1] = char(datagram.at(datagram.size() - 1) ^ 0x01);
    }
    if (m_faults.shortDatagram > 0) {
        --m_faults.shortDatagram;
        datagram.chop(3);
    }
    int copies = 1;
    if (m_faults.duplicateAnswers > 0) {
        --m_faults.duplicateAnswers;
        copies = 2;
    } else if (m_faults.duplicatePercent > 0 && int(m_faultRandom.bounded(100)) < m_faults.duplicatePercent) {
        ++m_randomDuplicates;
        copies = 2;
    }
    int delayMs = m_faults.delayMs;
    if (m_faults.latePercent > 0 && int(m_faultRandom.bounded(100)) < m_faults.latePercent) {
        ++m_randomLate;
        delayMs += m_faults.lateMs;
    }
    const QByteArray stale = request.viaBroadcast ? QByteArray() : staleAnswerFor(request, datagram);
    const QHostAddress to = request.source;
    const uint16_t port = request.sourcePort;
    auto send = [this, to, port, delayMs](const QByteArray &bytes) {
        if (delayMs > 0)
            QTimer::singleShot(delayMs, this, [this, bytes, to, port] { transmit(bytes, to, port); });
        else
            transmit(bytes, to, port);
    };
    for (int i = 0; i < copies; ++i)
        send(datagram);
    if (!stale.isEmpty())
        send(stale);
}

QByteArray UnitSim::staleAnswerFor(const UnitSimRequest &request, const QByteArray &datagram)
{
    if (request.command == 0x71)
        return QByteArray();
    // The kind of answer: the command and the parameter slot it answered,
    // else the command and the request's payload. Built as raw bytes, not
    // text: this runs for every answer.
    QByteArray kind;
    if (request.paramId >= 0) {
        const int32_t slot[3] = {int32_t(request.command), int32_t(request.paramId), int32_t(request.index)};
        kind = QByteArray(reinterpret_cast<const char *>(slot), int(sizeof slot));
    } else {
        kind.reserve(1 + request.payload.size());
        kind.append(char(request.command));
        kind.append(request.payload);
    }
    QByteArray &held = m_lastAnswers[kind];
    const QByteArray earlier = held;
    held = datagram;
    if (earlier.isEmpty())
        return QByteArray();
    if (m_faults.staleAnswers > 0) {
        --m_faults.staleAnswers;
        return earlier;
    }
    // A share spread evenly over the answers (one in three for 1/3), so a
    // run is the same every time.
    if (m_faults.staleRatio > 0.0) {
        m_staleCredit += qMin(m_faults.staleRatio, 1.0);
        if (m_staleCredit >= 1.0 - 1e-9) {
            m_staleCredit -= 1.0;
            return earlier;
        }
    }
    return QByteArray();
}

void UnitSim::transmit(const QByteArray &datagram, const QHostAddress &to, uint16_t port)
{
    if (m_socket)
        m_socket->writeDatagram(datagram, to, port);
}

void UnitSim::sendFrame(uint8_t flags, uint8_t command, uint16_t sequence, const QByteArray &payload,
                        const QHostAddress &to, uint16_t port)
{
    transmit(buildFrame(sequence, command, payload, flags), to, port);
}

void UnitSim::pushState()
{
    if (!m_socket || m_faults.silent || isRestarting() || m_peer.isNull() || m_peerPort == 0)
        return;
    sendFrame(FrameFlag::KeepAlive, 0x71, ++m_ownSequence, m_heartbeat.toByteArray(), m_peer, m_peerPort);
}

void UnitSim::onHeartbeat(const UnitSimRequest &, UnitSimReply &reply)
{
    reply.payload = m_heartbeat.toByteArray();
}
