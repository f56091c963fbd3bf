#pragma once

#include <QByteArray>
#include <QHostAddress>
#include <QMutex>
#include <QObject>
#include <cstdint>

#include "bootprotocol.h"
#include "bootrecords.h"
#include "crc16.h"
#include "errorcode.h"
#include "ethernetframe.h"
#include "signalreceiver.h"

namespace loader {

// The loader's side of the bootloader protocol: builds request frames,
// checks and decodes answers, matches an answer to its request by sequence
// number, resends once and returns a result code. One object per process,
// living on the GUI thread; every command blocks its caller in a local event
// loop until the answer or the time-out. The command bytes come from
// BootProtocol.
class EthernetHandler : public QObject, public BootProtocol
{
    Q_OBJECT
public:
    static EthernetHandler *instance();

    void setTargetIP(const QHostAddress &ip);
    void setBroadcastIP(const QHostAddress &ip);
    QHostAddress targetIP() const { return m_target; }
    bool hasTarget() const { return !m_target.isNull(); }

    // Closing the link ends every wait in progress at once (no resend) and
    // refuses every later command without sending it, until it is opened
    // again: nothing goes out once the window that asked is gone.
    void closeLink();
    void openLink() { m_closed = false; }
    bool isLinkClosed() const { return m_closed; }

    errorCode_e sendAndWait(uint8_t command, QByteArray payload, SignalReceiver &receiver, uint16_t timeoutMs,
                            const QHostAddress &destination);
    errorCode_e sendAndWaitTarget(uint8_t command, QByteArray payload, SignalReceiver &receiver, uint16_t timeoutMs);
    errorCode_e sendCommand(uint8_t command, QByteArray payload, uint16_t timeoutMs);

    QByteArray buildFrame(uint8_t command, uint16_t sequenzNr, QByteArray &payload) const;
    QByteArray buildEmptyFrame(uint8_t command, uint16_t sequenzNr) const;

    errorCode_e wrtOffsetDataLen(uint32_t offset, uint16_t length);
    errorCode_e wrtData(uint8_t chunkNumber, const QByteArray &data);
    errorCode_e writeChunk(uint8_t chunkNumber, const uint8_t *data, uint32_t length);
    errorCode_e writePage(uint32_t crc);
    errorCode_e writeInfoBlock(uint32_t crc);
    errorCode_e writeMacAndIP(const MAC_AND_IP &record);
    errorCode_e rdFWVersion(SW_VersionInfo *version);
    errorCode_e rdHWVersion(HW_VersionInfo *version);
    errorCode_e catchLoader();
    errorCode_e startPayload(uint8_t payload);
    errorCode_e startFirmware();
    errorCode_e configureNetBCast(const BCAST_NET_CONFIG &record);
    errorCode_e resetDevice();

    // The sequence number the next frame takes.
    uint16_t nextSequence() const { return m_sequence; }
    void setNextSequence(uint16_t sequence) { m_sequence = sequence; }

signals:
    void gotMessageError(uint32_t errorNum);
    void sendPacketSignal(QByteArray txDatagram, QHostAddress ip);
    void connectionLost();
    void linkClosed();
    void Signal_Answer(uint8_t cmd, loader::errorCode_e status, uint16_t sequenzNr);
    void Signal_AnswerData(uint8_t cmd, loader::errorCode_e status, uint16_t sequenzNr, EthernetFrame frame);

public slots:
    void timerTick();
    void handleMessageSlot(QByteArray rxData, QHostAddress senderIP);

private:
    explicit EthernetHandler(QObject *parent = nullptr);
    errorCode_e lockedCommand(QMutex &lock, const char *label, uint8_t command, QByteArray payload,
                              uint16_t timeoutMs, SignalReceiver *receiver = nullptr);

    QHostAddress m_target;
    QHostAddress m_broadcast;
    Crc16 m_crc;
    uint16_t m_sequence = 0;
    QMutex m_sendMutex;
    bool m_closed = false;
};

} // namespace loader
