#include "ethernethandler.h"

#include <QCoreApplication>
#include <QDebug>
#include <QEventLoop>
#include <QTimer>
#include <atomic>
#include <cstdlib>

#include <cstring>

#include "byteorder.h"
#include "loaderlog.h"
#include "platform.h"
#include "timedmutexlocker.h"

namespace loader {

namespace {

std::atomic<int> g_instanceState{0};  // 0 not created, 1 being created, 2 created
EthernetHandler *g_instance = nullptr;

void deleteInstance()
{
    delete g_instance;
    g_instance = nullptr;
}

constexpr int kLockTimeoutMs = 50;

} // namespace

EthernetHandler *EthernetHandler::instance()
{
    if (g_instanceState.load(std::memory_order_acquire) == 2)
        return g_instance;
    int expected = 0;
    if (g_instanceState.compare_exchange_strong(expected, 1, std::memory_order_acq_rel)) {
        g_instance = new EthernetHandler;
        std::atexit(deleteInstance);
        g_instanceState.store(2, std::memory_order_release);
        return g_instance;
    }
    while (g_instanceState.load(std::memory_order_acquire) != 2)
        platform::yieldThread();
    return g_instance;
}

EthernetHandler::EthernetHandler(QObject *parent)
    : QObject(parent), m_target(QHostAddress::LocalHost), m_broadcast(QHostAddress::Broadcast)
{
}

void EthernetHandler::setTargetIP(const QHostAddress &ip)
{
    if (ip.protocol() != QAbstractSocket::IPv4Protocol) {
        qCDebug(lcLoader) << "Wrong IP Protocol detected";
        return;
    }
    m_target = ip;
    qCDebug(lcLoader) << "Target IP:" << m_target.toString();
}

void EthernetHandler::setBroadcastIP(const QHostAddress &ip)
{
    if (ip.protocol() != QAbstractSocket::IPv4Protocol) {
        qCDebug(lcLoader) << "Wrong IP Protocol detected";
        return;
    }
    m_broadcast = ip;
    qCDebug(lcLoader) << "Broadcats IP:" << m_broadcast.toString();
}

QByteArray EthernetHandler::buildFrame(uint8_t command, uint16_t sequenzNr, QByteArray &payload) const
{
    if (payload.size() & 1)
        payload.append('\0');
    QByteArray frame(kFrameHeaderSize + payload.size(), '\0');
    auto *raw = reinterpret_cast<uint8_t *>(frame.data());
    le::put16(raw, sequenzNr);
    raw[2] = FrameFlag::Request;
    raw[3] = command;
    le::put16(raw + 4, uint16_t(payload.size()));
    raw[6] = kFrameVersion;
    raw[7] = 0x00;
    if (!payload.isEmpty())
        std::memcpy(raw + kFrameHeaderSize, payload.constData(), size_t(payload.size()));
    uint8_t crc[2];
    le::put16(crc, m_crc.calculate(raw, uint32_t(frame.size())));
    frame.append(reinterpret_cast<const char *>(crc), 2);
    return frame;
}

QByteArray EthernetHandler::buildEmptyFrame(uint8_t command, uint16_t sequenzNr) const
{
    QByteArray empty;
    return buildFrame(command, sequenzNr, empty);
}

void EthernetHandler::timerTick() {}

void EthernetHandler::closeLink()
{
    m_closed = true;
    emit linkClosed();
}

void EthernetHandler::handleMessageSlot(QByteArray rxData, QHostAddress senderIP)
{
    // 127.0.0.1 stands for "no unit": an answer from there is never taken.
    if (senderIP.protocol() != QAbstractSocket::IPv4Protocol || senderIP != m_target
        || senderIP == QHostAddress(QHostAddress::LocalHost))
        return;
    if (rxData.size() < kFrameHeaderSize + kFrameCrcSize) {
        emit gotMessageError(1);
        return;
    }
    EthernetFrame frame;
    switch (frame.assign(rxData)) {
    case FrameCheck::Ok:
        break;
    case FrameCheck::TooShort:
    case FrameCheck::Incomplete:
        qCDebug(lcLoader) << "received incomplete message - message dropped";
        return;
    case FrameCheck::Oversized:
        qCDebug(lcLoader) << "received oversized message - message dropped";
        return;
    case FrameCheck::CrcMismatch:
        qCDebug(lcLoader) << "detected crc error - message dropped";
        return;
    }
    // Every frame of this protocol is even-sized: with an odd length the
    // CRC's byte pairing would take in the first CRC byte, so the frame
    // cannot be checked the way it was sealed and is not trusted.
    const FrameHeader &header = frame.header();
    if (header.length & 1) {
        qCDebug(lcLoader) << "received odd-sized message - message dropped";
        return;
    }

    if (header.flags & FrameFlag::Error) {
        int32_t status = le::i32(frame.payload());
        if (status >= 0 && status != ERR_NO_ANSWER_YET) {
            // An error answer is a refusal whatever number it carries: a
            // status of 0 or above must not read as success.
            qCDebug(lcLoader) << "error answer with non-failure status" << status << "to command" << header.command
                     << "- taken as refusal";
            status = ERR_NAK;
        }
        emit Signal_Answer(header.command, errorCode_e(status), header.sequence);
    } else if (header.flags & FrameFlag::Answer) {
        emit Signal_AnswerData(header.command, ERR_OK, header.sequence, frame);
    } else if (header.flags & FrameFlag::Ack) {
        emit Signal_Answer(header.command, ERR_OK, header.sequence);
    } else if (header.flags & FrameFlag::Nak) {
        emit Signal_Answer(header.command, ERR_NAK, header.sequence);
    }
}

errorCode_e EthernetHandler::sendAndWait(uint8_t command, QByteArray payload, SignalReceiver &receiver,
                                         uint16_t timeoutMs, const QHostAddress &destination)
{
    const QMetaObject::Connection answer =
        connect(this, &EthernetHandler::Signal_Answer, &receiver, &SignalReceiver::receiveStateCmd, Qt::QueuedConnection);
    const QMetaObject::Connection answerData = connect(this, &EthernetHandler::Signal_AnswerData, &receiver,
                                                       &SignalReceiver::receiveStateCmdData, Qt::QueuedConnection);
    errorCode_e result = ERR_TIMEOUT;
    for (int attempt = 0; attempt < 2 && !m_closed; ++attempt) {
        QEventLoop loop;
        connect(&receiver, &SignalReceiver::Signal_receivedData, &loop, &QEventLoop::quit, Qt::QueuedConnection);
        connect(this, &EthernetHandler::linkClosed, &loop, &QEventLoop::quit);
        QTimer timer;
        timer.setSingleShot(true);
        timer.setTimerType(Qt::PreciseTimer);
        connect(&timer, &QTimer::timeout, &loop, [&loop, &receiver] {
            // The GUI thread may have been held up (the window's first
            // paint, a busy machine) while the answer came in: it then
            // waits in the queue behind the time-out, passed on in up to
            // three queued steps (socket thread, handler, receiver). What
            // has arrived is taken before the wait counts as unanswered.
            for (int step = 0; step < 3 && !receiver.answered(); ++step)
                QCoreApplication::sendPostedEvents();
            loop.quit();
        });
        {
            QMutexLocker sendLock(&m_sendMutex);
            const uint16_t sequence = m_sequence++;
            receiver.expect(sequence);
            const QByteArray frame = buildFrame(command, sequence, payload);
            emit sendPacketSignal(frame, destination);
        }
        timer.start(timeoutMs);
        // Only the answer to this very frame ends the wait early; stray
        // answers are ignored by the receiver and cost no resend.
        loop.exec();
        if (receiver.answered()) {
            result = receiver.state();
            break;
        }
        if (attempt == 0)
            qCDebug(lcLoader) << "no answer to command" << command << "- resending";
    }
    disconnect(answer);
    disconnect(answerData);
    return result;
}

errorCode_e EthernetHandler::sendAndWaitTarget(uint8_t command, QByteArray payload, SignalReceiver &receiver,
                                               uint16_t timeoutMs)
{
    return sendAndWait(command, payload, receiver, timeoutMs, m_target);
}

errorCode_e EthernetHandler::sendCommand(uint8_t command, QByteArray payload, uint16_t timeoutMs)
{
    SignalReceiver receiver;
    return sendAndWaitTarget(command, payload, receiver, timeoutMs);
}

errorCode_e EthernetHandler::lockedCommand(QMutex &lock, const char *label, uint8_t command, QByteArray payload,
                                           uint16_t timeoutMs, SignalReceiver *receiver)
{
    TimedMutexLocker locker(&lock, label, kLockTimeoutMs);
    if (!locker.isLocked()) {
        qCDebug(lcLoader) << "Mutex lock error";
        return ERR_MUTEX_LOCK;
    }
    if (receiver)
        return sendAndWaitTarget(command, payload, *receiver, timeoutMs);
    return sendCommand(command, payload, timeoutMs);
}

errorCode_e EthernetHandler::wrtOffsetDataLen(uint32_t offset, uint16_t length)
{
    static QMutex lock;
    uint8_t p[6];
    le::put32(p, offset);
    le::put16(p + 4, length);
    return lockedCommand(lock, "errorCode_e EthernetHandler::wrtOffsetDataLen(uint32_t, uint16_t)", CmdOffsetDataLen,
                         QByteArray(reinterpret_cast<const char *>(p), 6), 100);
}

errorCode_e EthernetHandler::wrtData(uint8_t chunkNumber, const QByteArray &data)
{
    if (data.size() > kMaxChunk)
        return ERR_TOO_MUCH_DATA;
    static QMutex lock;
    QByteArray payload;
    payload.reserve(data.size() + 2);
    payload.append(char(chunkNumber));
    payload.append(data);
    return lockedCommand(lock, "errorCode_e EthernetHandler::wrtData(uint8_t, QByteArray)", CmdData, payload, 5000);
}

errorCode_e EthernetHandler::writeChunk(uint8_t chunkNumber, const uint8_t *data, uint32_t length)
{
    if (length > uint32_t(kMaxChunk))
        return ERR_TOO_MUCH_DATA;
    return wrtData(chunkNumber, QByteArray(reinterpret_cast<const char *>(data), int(length)));
}

errorCode_e EthernetHandler::writePage(uint32_t crc)
{
    static QMutex lock;
    qCDebug(lcLoader).noquote() << "CRC Sent: 0x" + QString::number(crc, 16);
    uint8_t p[4];
    le::put32(p, crc);
    return lockedCommand(lock, "errorCode_e EthernetHandler::writePage(uint32_t)", CmdWritePage,
                         QByteArray(reinterpret_cast<const char *>(p), 4), 15000);
}

errorCode_e EthernetHandler::writeInfoBlock(uint32_t crc)
{
    static QMutex lock;
    qCDebug(lcLoader).noquote() << "CRC Sent: 0x" + QString::number(crc, 16);
    uint8_t p[4];
    le::put32(p, crc);
    return lockedCommand(lock, "errorCode_e EthernetHandler::writeInfoBlock(uint32_t)", CmdWriteInfoBlock,
                         QByteArray(reinterpret_cast<const char *>(p), 4), 15000);
}

errorCode_e EthernetHandler::writeMacAndIP(const MAC_AND_IP &record)
{
    static QMutex lock;
    return lockedCommand(lock, "errorCode_e EthernetHandler::writeMacAndIP(MAC_AND_IP)", CmdWriteMacAndIP,
                         record.toBytes(), 100);
}

errorCode_e EthernetHandler::rdFWVersion(SW_VersionInfo *version)
{
    static QMutex lock;
    SignalReceiver receiver;
    const errorCode_e result =
        lockedCommand(lock, "errorCode_e EthernetHandler::rdFWVersion(SW_VersionInfo*)", CmdReadFWVersion, QByteArray(),
                      1000, &receiver);
    if (result != ERR_OK)
        return result;
    if (receiver.data().size() < SW_VersionInfo::kSize)
        return ERR_TOO_MUCH_DATA;
    if (version)
        *version = SW_VersionInfo::fromBytes(reinterpret_cast<const uint8_t *>(receiver.data().constData()));
    return ERR_OK;
}

errorCode_e EthernetHandler::rdHWVersion(HW_VersionInfo *version)
{
    static QMutex lock;
    SignalReceiver receiver;
    const errorCode_e result =
        lockedCommand(lock, "errorCode_e EthernetHandler::rdHWVersion(HW_VersionInfo*)", CmdReadHWVersion, QByteArray(),
                      1000, &receiver);
    if (result != ERR_OK)
        return result;
    if (receiver.data().size() < HW_VersionInfo::kSize)
        return ERR_TOO_MUCH_DATA;
    if (version)
        *version = HW_VersionInfo::fromBytes(reinterpret_cast<const uint8_t *>(receiver.data().constData()));
    return ERR_OK;
}

errorCode_e EthernetHandler::catchLoader()
{
    static QMutex lock;
    return lockedCommand(lock, "errorCode_e EthernetHandler::catchLoader()", CmdCatchLoader,
                         QByteArray(1, char(kCatchPayload)), 100);
}

errorCode_e EthernetHandler::startPayload(uint8_t payload)
{
    static QMutex lock;
    return lockedCommand(lock, "errorCode_e EthernetHandler::startPayload(uint8_t)", CmdStartPayload,
                         QByteArray(1, char(payload)), 1000);
}

errorCode_e EthernetHandler::startFirmware()
{
    return startPayload(kStartFirmwarePayload);
}

errorCode_e EthernetHandler::configureNetBCast(const BCAST_NET_CONFIG &record)
{
    static QMutex lock;
    TimedMutexLocker locker(&lock, "errorCode_e EthernetHandler::configureNetBCast(BCAST_NET_CONFIG)", kLockTimeoutMs);
    if (!locker.isLocked()) {
        qCDebug(lcLoader) << "Mutex lock error";
        return ERR_MUTEX_LOCK;
    }
    SignalReceiver receiver;
    return sendAndWait(CmdNetConfigBroadcast, record.toBytes(), receiver, 1000, QHostAddress(QHostAddress::Broadcast));
}

errorCode_e EthernetHandler::resetDevice()
{
    static QMutex lock;
    return lockedCommand(lock, "errorCode_e EthernetHandler::resetDevice()", CmdReset, QByteArray(), 100);
}

} // namespace loader
