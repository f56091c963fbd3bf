// The session on top of the request engine: heartbeat, link watchdog,
// discovery and the network reset broadcast.
#include "ethernethandler.h"

#include <QDebug>
#include <QEventLoop>
#include <QMutex>
#include <QThread>
#include <optional>

#include "requestgate.h"
#include "timedmutexlocker.h"

namespace {

// Discovery has its own lock: it shares the answer wait with requests, not
// their mutex.
QMutex &discoveryMutex()
{
    static QMutex mutex;
    return mutex;
}

} // namespace

void EthernetHandler::setTargetIP(QHostAddress ip)
{
    if (ip.protocol() != QAbstractSocket::IPv4Protocol) {
        qDebug() << "Wrong IP Protocol detected";
        return;
    }
    m_targetAddress = ip;
    qDebug() << "Target IP:" << ip;

    const int cores = m_idealThreadCount > 0 ? m_idealThreadCount : QThread::idealThreadCount();
    m_watchdog.stop();
    m_watchdog.setInterval(cores < 2 ? m_timings.watchdogSingleCoreMs : m_timings.watchdogMs);
    m_watchdog.setSingleShot(true);

    m_heartbeatTimer.stop();
    m_heartbeatTimer.setSingleShot(false);
    m_heartbeatTimer.start(m_timings.heartbeatMs);

    // A unit that never answers never starts the watchdog: after the
    // watchdog's time without a first answer the engineer is told, and the
    // heartbeats keep trying.
    connect(&m_firstAnswerTimer, &QTimer::timeout, this, &EthernetHandler::firstAnswerMissing,
            Qt::UniqueConnection);
    m_firstAnswerTimer.setSingleShot(true);
    m_firstAnswerHeld = false;
    m_firstAnswerTimer.start(m_watchdog.interval());
    sendHeartbeat();
}

void EthernetHandler::firstAnswerMissing()
{
    qDebug() << "No answer from" << m_targetAddress;
    emit targetNotAnswering(m_targetAddress);
}

void EthernetHandler::firstAnswerArrived()
{
    m_firstAnswerTimer.stop();
    m_firstAnswerHeld = false;
}

errorCode_e EthernetHandler::sendHeartbeat()
{
    if (m_targetAddress == QHostAddress(QHostAddress::LocalHost))
        return ERR_OK;
    qDebug() << "SEND Hearbeat";
    // Always to the unit chosen, also while a search broadcasts: a connect
    // made during a search is then heard with its first heartbeat answer.
    buildFrame(CmdHeartbeat, {});
    emit sendPacketSignal(m_frame, m_targetAddress);
    return ERR_OK;
}

void EthernetHandler::pauseLinkWatch()
{
    m_paused = true;
    m_watchdog.stop();
    // Nothing is judged while the program is held: a first answer still
    // waiting for then is awaited afresh on resuming.
    if (m_firstAnswerTimer.isActive()) {
        m_firstAnswerTimer.stop();
        m_firstAnswerHeld = true;
    }
}

errorCode_e EthernetHandler::resumeLinkWatch()
{
    m_paused = false;
    m_watchdog.start();
    if (m_firstAnswerHeld) {
        m_firstAnswerHeld = false;
        m_firstAnswerTimer.start(m_watchdog.interval());
    }
    return sendHeartbeat();
}

void EthernetHandler::disconnectFromDevice()
{
    firstAnswerArrived(); // nothing more is awaited
    if (m_heartbeatTimer.isActive()) {
        m_heartbeatTimer.stop();
        m_targetAddress = QHostAddress(QHostAddress::LocalHost);
    }
    if (m_watchdog.isActive()) {
        m_watchdog.stop();
        emit connectionLost();
    }
}

void EthernetHandler::emitConnectionState()
{
    if (m_paused)
        return;
    if (!m_connected)
        emit connectionLost();
    else
        emit connectionPing(m_heartbeat, m_heartbeatSender);
}

void EthernetHandler::connectionLostSlot()
{
    m_connected = false;
}

void EthernetHandler::connectionPingSlot(HearBeatMessage_t &statestruct, QHostAddress sender)
{
    Q_UNUSED(statestruct)
    Q_UNUSED(sender)
    m_connected = true;
}

void EthernetHandler::handleHeartbeat(const EthernetFrame &frame, const QHostAddress &sender)
{
    if (frame.payloadLength() != HearBeatMessage_t::kSize)
        return;
    // Also while paused: a unit that answers is a unit that is there.
    restartWatchdog();
    m_heartbeat = HearBeatMessage_t::fromBytes(frame.payload());
    m_heartbeatSender = sender;
    if (!m_paused)
        emit connectionPing(m_heartbeat, m_heartbeatSender);
}

// ---------------------------------------------------------------- discovery

errorCode_e EthernetHandler::mgGetMGDiscover(MG_Discover_Request_t request)
{
    // The search holds the single answer wait for its whole window: work
    // that waits for a free gate (a heartbeat's read, the error reset, a
    // timer's stop) goes out after it, not into it. The window stays in
    // reach: the connect dialog over it is used while the search runs.
    std::optional<RequestHold> hold;
    if (QThread::currentThread() == RequestGate::instance().thread())
        hold.emplace(RequestHold::Window::InReach);
    TimedMutexLocker lock(&discoveryMutex(), "errorCode_e EthernetHandler::mgGetMGDiscover(MG_Discover_Request_t)",
                          m_timings.baseTimeoutMs);
    if (!lock.isLocked()) {
        qDebug() << "Mutex lock error";
        return ERR_ALREADY_WAITING;
    }
    // A request waits for its answer (discovery was started from inside its
    // nested loop): re-arming the single wait would spoil that request, so
    // discovery refuses to run instead.
    if (m_wait.isArmed()) {
        qDebug() << "already waiting send and wait for response";
        return ERR_ALREADY_WAITING;
    }

    m_discovered.clear();
    uint8_t payload[MG_Discover_Request_t::kSize];
    request.toBytes(payload);
    buildFrame(CmdDiscover, {PayloadChunk{payload, sizeof payload}});
    const QByteArray frame = m_frame;

    errorCode_e result = ERR_OK;
    m_wait.arm(CmdDiscover, m_sequence.current());
    qDebug() << "mmsgReceived = " << 0;
    m_deviceError = 0;

    m_broadcast = true;
    emit sendPacketSignal(frame, m_broadcastAddress);
    {
        // Answers do not end the window: every unit gets its full second.
        QEventLoop loop;
        QTimer::singleShot(int(qBound<int64_t>(0, m_timings.baseTimeoutMs, 0x7FFFFFFF)), &loop,
                           &QEventLoop::quit);
        loop.exec();
    }
    m_broadcast = false;
    m_wait.disarm();

    if (m_discovered.empty())
        result = ERR_INVALID_VALUE;
    if (m_deviceError != 0) {
        qDebug() << "Error during communication with master board: " << m_deviceError;
        result = errorCode_e(m_deviceError);
    }
    if (result == ERR_OK)
        emit finishedDiscoverdata();
    return result;
}

void EthernetHandler::handleDiscoverAnswer(const EthernetFrame &frame)
{
    if (frame.payloadLength() <= DiscoveredDevice::kSize - 1)
        return;
    m_discovered.push_back(DiscoveredDevice::fromBytes(frame.payload()));
}

void EthernetHandler::getDiscoverList(std::vector<DiscoveredDevice> &list) const
{
    list = m_discovered;
}

errorCode_e EthernetHandler::resetNetworkSettings(BCAST_NET_CONFIG record, uint16_t mode)
{
    record.mode = mode;
    uint8_t payload[BCAST_NET_CONFIG::kSize];
    record.toBytes(payload);
    m_broadcast = true;
    const errorCode_e result = sendRequest(CmdNetConfig, {PayloadChunk{payload, sizeof payload}},
                                           m_timings.baseTimeoutMs);
    m_broadcast = false;
    emit unitNetworkSettingsReset(QByteArray(reinterpret_cast<const char *>(record.mac.data()), int(record.mac.size())));
    return result;
}
