#include "ethernethandler.h"

#include <QDateTime>
#include <QDebug>
#include <QEventLoop>
#include <QMutex>
#include <QThread>
#include <optional>

#include "byteorder.h"
#include "linklog.h"
#include "requestgate.h"
#include "timedmutexlocker.h"

namespace {

// Serialises the requests that wait for an answer, process-wide.
QMutex &requestMutex()
{
    static QMutex mutex;
    return mutex;
}

} // namespace

EthernetHandler::EthernetHandler(QObject *parent)
    : QObject(parent)
{
    m_frame.reserve(kFrameBufferReserve);
    m_rxBuffer.reserve(kFrameBufferReserve);

    m_watchdog.setSingleShot(true);
    m_heartbeatTimer.setSingleShot(false);
    // Made once here, so setting a target again never doubles them.
    connect(&m_watchdog, &QTimer::timeout, this, &EthernetHandler::connectionLost);
    connect(&m_heartbeatTimer, &QTimer::timeout, this, [this] { sendHeartbeat(); });
    connect(this, &EthernetHandler::connectionLost, this, &EthernetHandler::connectionLostSlot);
    connect(this, &EthernetHandler::connectionPing, this, &EthernetHandler::connectionPingSlot);
}

EthernetHandler::~EthernetHandler() = default;

void EthernetHandler::setTimings(const LinkTimings &timings)
{
    m_timings = timings;
}

// ---------------------------------------------------------------- frames

void EthernetHandler::buildHeader(uint8_t command)
{
    frameBuildHeader(m_frame, m_sequence.next(), command);
}

void EthernetHandler::buildFrame(uint8_t command, const PayloadChunks &payload)
{
    buildHeader(command);
    frameAppend(m_frame, payload);
    finishFrame();
}

void EthernetHandler::finishFrame()
{
    frameFinish(m_frame);
}

// ---------------------------------------------------------------- engine

QHostAddress EthernetHandler::destination() const
{
    return m_broadcast ? m_broadcastAddress : m_targetAddress;
}

errorCode_e EthernetHandler::sendRequest(uint8_t command, const PayloadChunks &payload, int64_t timeoutMs,
                                         const char *caller)
{
    if (timeoutMs <= 0) {
        buildFrame(command, payload);
        emit sendPacketSignal(m_frame, destination());
        return ERR_OK;
    }
    // The window shows the wait and starts nothing else meanwhile. The hold
    // outlives the lock: what the end of the hold starts finds the lock free.
    // (The gate is the GUI thread's; a request of another thread leaves it.)
    std::optional<RequestHold> hold;
    if (QThread::currentThread() == RequestGate::instance().thread())
        hold.emplace();
    TimedMutexLocker lock(&requestMutex(), caller, m_timings.baseTimeoutMs);
    if (!lock.isLocked()) {
        qDebug() << "Mutex lock error";
        return ERR_ALREADY_WAITING;
    }
    buildFrame(command, payload);
    return sendAndWait(command, m_sequence.current(), timeoutMs);
}

errorCode_e EthernetHandler::sendAndWait(uint8_t command, uint16_t sequence, int64_t timeoutMs)
{
    const QHostAddress dest = destination();
    if (dest == QHostAddress::LocalHost) {
        qDebug() << "localhost";
        return ERR_INVALID_CONFIG;
    }
    if (m_wait.isArmed()) {
        qDebug() << "already waiting send and wait for response";
        return ERR_ALREADY_WAITING;
    }
    // Every attempt sends this very frame. Heartbeats built while we wait
    // reuse the handler's frame buffer, so keep our own (shared) copy.
    const QByteArray frame = m_frame;

    m_wait.arm(command, sequence);
    qCDebug(lcLinkExchange) << "mmsgReceived = " << 0;
    const qint64 start = QDateTime::currentMSecsSinceEpoch();
    qCDebug(lcLinkExchange) << "Start! msCnt" << start;
    m_deviceError = 0;

    // One loop and one timer serve every attempt of every request: only one
    // request waits at a time (the armed wait above refuses a second). A
    // request made from another thread than the handler's waits in a loop
    // of that thread, made for it.
    auto makeWait = [](QObject *parent, std::unique_ptr<QEventLoop> &loop, std::unique_ptr<QTimer> &timer) {
        loop = std::make_unique<QEventLoop>(parent);
        timer = std::make_unique<QTimer>(parent);
        timer->setSingleShot(true);
        QEventLoop *const l = loop.get();
        connect(timer.get(), &QTimer::timeout, l, [l] {
            qDebug() << " timout happend";
            l->quit();
        });
    };
    std::unique_ptr<QEventLoop> otherThreadLoop;
    std::unique_ptr<QTimer> otherThreadTimer;
    QEventLoop *loop = nullptr;
    QTimer *timer = nullptr;
    if (QThread::currentThread() == thread()) {
        if (!m_waitLoop)
            makeWait(nullptr, m_waitLoop, m_attemptTimer);
        loop = m_waitLoop.get();
        timer = m_attemptTimer.get();
    } else {
        makeWait(nullptr, otherThreadLoop, otherThreadTimer);
        loop = otherThreadLoop.get();
        timer = otherThreadTimer.get();
    }

    errorCode_e result = ERR_TIMEOUT;
    const int timeout = int(qBound<int64_t>(1, timeoutMs, 0x7FFFFFFF));
    for (int attempt = 0; attempt < 3; ++attempt) {
        timer->start(timeout);
        qCDebug(lcLinkExchange) << "sendPacketSignal";
        emit sendPacketSignal(frame, dest);
        // The answer may have been handled already (single-thread delivery
        // inside emit is impossible for queued connections, but be safe).
        if (!m_wait.received()) {
            m_activeWaitLoop = loop;
            loop->exec();
            m_activeWaitLoop = nullptr;
        }
        const bool timedOut = !timer->isActive();
        timer->stop();
        if (m_wait.received()) {
            result = ERR_OK;
            break;
        }
        // Neither answer nor time-out: the program is ending (its last
        // window closed) and every event loop was told to quit. No resend
        // goes out for a window that is gone.
        if (!timedOut) {
            qDebug() << "wait ended while the program ends - no resend";
            break;
        }
        qDebug() << "Retry!" << 2 - attempt << "msCnt" << QDateTime::currentMSecsSinceEpoch()
                 << "mwaitInformation.mmsgReceived" << m_wait.received();
    }
    if (result == ERR_TIMEOUT) {
        const qint64 end = QDateTime::currentMSecsSinceEpoch();
        qDebug() << "timeout! start :" << start << "end:" << end << "diff:" << end - start;
    }
    if (m_deviceError != 0) {
        qDebug() << "Error during communication with PPU: " << m_deviceError;
        result = errorCode_e(m_deviceError);
    }
    m_wait.disarm();
    return result;
}

void EthernetHandler::endWait()
{
    // Only the loop of the request now waiting; a quit outside it would
    // merely wake whichever loop runs.
    if (m_activeWaitLoop)
        m_activeWaitLoop->quit();
}

void EthernetHandler::restartWatchdog()
{
    m_watchdog.start(m_timings.watchdogMs);
    firstAnswerArrived();
}

// ---------------------------------------------------------------- receive path

void EthernetHandler::handleMessageSlot(QByteArray rxData, QHostAddress senderIP)
{
    // 1. Plain IPv4 senders only.
    bool isV4 = false;
    const quint32 v4 = senderIP.toIPv4Address(&isV4);
    if (!isV4)
        return;

    // 2. Only our unit, unless a broadcast exchange accepts anyone. Compared
    // as plain numbers: the address object is made only where it is kept.
    bool targetIsV4 = false;
    const quint32 target = m_targetAddress.toIPv4Address(&targetIsV4);
    const bool fromTarget = targetIsV4 && v4 == target && m_targetAddress != QHostAddress::LocalHost;
    if (!fromTarget && !m_broadcast)
        return;

    // 3.-5. Is it a frame at all?
    m_rxBuffer = rxData;
    if (m_rxBuffer.size() < kFrameHeaderSize)
        return;
    switch (m_rxFrame.assign(m_rxBuffer)) {
    case FrameCheck::Ok:
        break;
    case FrameCheck::TooShort:
        return;
    case FrameCheck::Oversized:
        qDebug() << "received oversized message - message dropped";
        return;
    case FrameCheck::Incomplete:
        qDebug() << "received incomplete message - message dropped";
        return;
    case FrameCheck::CrcMismatch:
        qDebug() << "detected crc error - message dropped";
        return;
    }
    const EthernetFrame &frame = m_rxFrame;
    const FrameHeader &h = frame.header();

    // 6. A refusal is noted and otherwise handled like any frame.
    if (h.flags & FrameFlag::Nak)
        qDebug() << "ERROR: received NAK";

    // 7. Error answers end their wait with the unit's status, nothing more.
    if (h.flags & FrameFlag::Error) {
        if (m_wait.matchReceived(h)) {
            // An error answer is a refusal whatever status it carries: a
            // status of 0 would otherwise end the request as a success.
            const int32_t status = frame.errorStatus();
            m_deviceError = status != 0 ? status : ERR_RESPONSE;
            qDebug() << "got Response Error Bit set";
            emit gotResponse();
            endWait();
        }
        return;
    }

    // 8. A broadcast exchange listens to its own commands only, and to the
    // heartbeat of the unit chosen meanwhile.
    if (m_broadcast && h.command != CmdDiscover && h.command != CmdNetConfig
        && !(fromTarget && h.command == CmdHeartbeat))
        return;

    // 9. Frames that are not answers.
    if (!(h.flags & FrameFlag::Answer)) {
        if (h.flags & FrameFlag::Ack)
            return;
        if (h.flags & FrameFlag::Request) {
            if (h.command == CmdReadData)
                qDebug() << "Received Request PD-Data";
            else
                qDebug() << "Received Request for unknown command: " << h.command;
            return;
        }
        if (h.flags & FrameFlag::KeepAlive) {
            if (h.command == CmdHeartbeat)
                handleHeartbeat(frame, QHostAddress(v4));
            else
                qDebug() << "unknown keepalive tagged command: " << h.command;
        }
        return;
    }

    // 10. Answers, by command.
    switch (h.command) {
    // A block answer joins its transfer only as the first answer to the
    // pending block request: a late or repeated copy could restart or spoil it.
    case CmdReadLog:
        if (m_wait.matches(h) && !m_wait.received())
            handleLogBlockAnswer(frame);
        else
            qDebug() << "log block answer without its request - dropped";
        break;
    case CmdReadData:
        if (m_wait.matches(h) && !m_wait.received())
            handleDataBlockAnswer(frame);
        else
            qDebug() << "measurement block answer without its request - dropped";
        break;
    case CmdRefRunResult:
        handleRefRunAnswer(frame);
        break;
    case CmdRefRunMode:
    case CmdManualRun:
    case CmdStopDataRun:
    case CmdNetConfig:
    case CmdServiceAction:
    case CmdWriteParam:
        break;
    case CmdRecord:
        handleRecordAnswer(frame);
        break;
    case CmdHeartbeat:
        handleHeartbeat(frame, QHostAddress(v4));
        break;
    case CmdDiscover:
        handleDiscoverAnswer(frame);
        break;
    case CmdProductInfo:
        handleProductInfoAnswer(frame);
        break;
    case CmdReadParam:
        handleParamAnswer(frame);
        break;
    default:
        qDebug() << "Received Response for unknown command: " << h.command;
        break;
    }

    // 11. Whatever it carried, an answer may end the wait.
    if (m_wait.matchReceived(h)) {
        restartWatchdog();
        qCDebug(lcLinkExchange) << "got Response";
        emit gotResponse();
        endWait();
    }
}
