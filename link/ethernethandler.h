#pragma once

#include <QByteArray>
#include <QEventLoop>
#include <QHostAddress>
#include <QObject>
#include <QString>
#include <QTimer>
#include <QVector>
#include <array>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "configrecords.h"
#include "blocktransfer.h"
#include "devicenamerecord.h"
#include "devicerecords.h"
#include "errordecode.h"
#include "ethernetframe.h"
#include "messagewait.h"

// Time bases of the link. The defaults are the unit's protocol; tests shorten
// them to exercise retries and the watchdog without waiting seconds.
struct LinkTimings
{
    int64_t baseTimeoutMs = 1000;      // request lock, most requests, discovery window
    int heartbeatMs = 15000;           // heartbeat period
    int watchdogMs = 5000;             // link watchdog after an answer
    int watchdogSingleCoreMs = 10000;  // first watchdog interval on one core
};

// The protocol client of the processing unit. Lives on the GUI thread; a
// request with a time-out waits for its answer in a nested event loop.
class EthernetHandler : public QObject
{
    Q_OBJECT
public:
    // Command codes of the device protocol.
    enum Command : uint8_t {
        CmdReadLog = 0x11,
        CmdReadData = 0x12,
        CmdRefRunResult = 0x21,
        CmdRefRunMode = 0x22,
        CmdManualRun = 0x23,
        CmdStopDataRun = 0x26,
        CmdRecord = 0x70,
        CmdHeartbeat = 0x71,
        CmdDiscover = 0xD1,
        CmdNetConfig = 0xDF,
        CmdProductInfo = 0xE0,
        CmdReadParam = 0xE1,
        CmdServiceAction = 0xED,
        CmdWriteParam = 0xEF,
        CmdErrorReset = 0xFE,
        CmdRestart = 0xFF,
    };

    // Parameter ids of the typed reads and writes.
    enum Param : uint16_t {
        ParamConfigBlob = 0x0010,
        ParamOutputConfig = 0x0020,
        ParamOutputInversion = 0x0021,
        ParamDebounceTime = 0x0022,
        ParamChannelEnableMask = 0x0023,
        ParamChannelThreshold = 0x0030,  // + channel
        ParamChannelScale = 0x0040,      // + channel
        ParamChannelRefSkw = 0x0050,     // + channel
        ParamFromRefRunFlag = 0x0008,    // added to scale and threshold ids
        ParamIpAddress = 0x1000,
        ParamNetmask = 0x1001,
        ParamMacAddress = 0x1002,
        ParamValue1F02 = 0x1F02,
        ParamDeviceName = 0x2000,
        ParamChannelName = 0x2001,
        ParamAnybusCfg = 0x3000,
    };

    enum ServiceAction : uint16_t {
        ActionService16 = 0x10,
        ActionExecuteConfigWrite = 0x11,
        ActionInitConfigWrite = 0x12,
        ActionResetDefaultConfig = 0x20,
        ActionResetFieldbus = 0x30,
        ActionFieldbusFtpOn = 0x40,
        ActionFieldbusFtpOff = 0x41,
    };

    static constexpr int kChannels = 7;
    static constexpr int kConfigBlobSize = 512;
    static constexpr int kAnybusCfgSize = 567;
    static_assert(Anybus_cfg::kSize == kAnybusCfgSize, "fieldbus record width");
    static constexpr int kMacParamSize = 8;
    static constexpr int kRecordAreaSize = 600;
    static constexpr int kRecordSize = 570;
    static constexpr int kRecordPartSize = 95;
    static constexpr int kNoIndex = 255;

    explicit EthernetHandler(QObject *parent = nullptr);
    ~EthernetHandler() override;

    // Test seams; the defaults are the protocol's.
    void setTimings(const LinkTimings &timings);
    const LinkTimings &timings() const { return m_timings; }
    void setIdealThreadCount(int count) { m_idealThreadCount = count; }
    int64_t baseTimeout() const { return m_timings.baseTimeoutMs; }

    // --- frame building
    void buildHeader(uint8_t command);
    void buildFrame(uint8_t command, const PayloadChunks &payload);
    void finishFrame();
    const QByteArray &frameBuffer() const { return m_frame; }
    uint16_t sequenceNumber() const { return m_sequence.current(); }
    void setSequenceNumber(uint16_t value) { m_sequence.set(value); }

    // --- request engine
    errorCode_e sendRequest(uint8_t command, const PayloadChunks &payload, int64_t timeoutMs,
                            const char *caller = "top level");
    errorCode_e sendAndWait(uint8_t command, uint16_t sequence, int64_t timeoutMs);
    bool isWaiting() const { return m_wait.isArmed(); }
    int32_t deviceError() const { return m_deviceError; }

    // --- link state
    void setTargetIP(QHostAddress ip);
    QHostAddress targetAddress() const { return m_targetAddress; }
    bool isConnected() const { return m_connected; }
    bool isPaused() const { return m_paused; }
    errorCode_e sendHeartbeat();
    void pauseLinkWatch();
    errorCode_e resumeLinkWatch();
    void disconnectFromDevice();
    void emitConnectionState();
    const HearBeatMessage_t &lastHeartbeat() const { return m_heartbeat; }
    QHostAddress lastHeartbeatSender() const { return m_heartbeatSender; }
    bool watchdogActive() const { return m_watchdog.isActive(); }
    // A target was set and its unit has not answered yet.
    bool awaitingFirstAnswer() const { return m_firstAnswerTimer.isActive() || m_firstAnswerHeld; }
    bool heartbeatActive() const { return m_heartbeatTimer.isActive(); }

    // --- discovery and the network reset broadcast
    errorCode_e mgGetMGDiscover(MG_Discover_Request_t request);
    void getDiscoverList(std::vector<DiscoveredDevice> &list) const;
    errorCode_e resetNetworkSettings(BCAST_NET_CONFIG record, uint16_t mode);

    // --- typed parameters
    errorCode_e writeParam(uint16_t id, const void *data, uint32_t length, int index = kNoIndex);
    errorCode_e readParam(uint16_t id, int index = kNoIndex);

    errorCode_e readConfigBlob(uint8_t *scrambledBlob);  // 512 bytes
    errorCode_e writeConfigBlob(const uint8_t *scrambledBlob);
    errorCode_e readOutputConfig(uint8_t &value);
    errorCode_e writeOutputConfig(uint8_t value);
    errorCode_e readOutputInversion(uint8_t &value);
    errorCode_e writeOutputInversion(uint8_t value);
    errorCode_e readDebounceTime(uint16_t &value);
    errorCode_e writeDebounceTime(uint16_t value);
    errorCode_e readChannelEnableMask(uint8_t &value);
    errorCode_e writeChannelEnableMask(uint8_t value);
    errorCode_e readChannelThreshold(uint16_t &value, uint8_t channel);
    errorCode_e writeChannelThreshold(int value, uint8_t channel, bool flag = false);
    errorCode_e readChannelScale(uint16_t &value, uint8_t channel);
    errorCode_e writeChannelScale(int value, uint8_t channel, bool flag = false);
    errorCode_e readChannelRefSKW(uint16_t &value, uint8_t channel);
    errorCode_e readIPAddress(QHostAddress &address);
    errorCode_e writeIPAddress(QHostAddress address);
    errorCode_e readNetmask(QHostAddress &mask);
    errorCode_e writeNetmask(QHostAddress mask);
    errorCode_e readMACAddress(uint8_t *mac);  // 8 bytes
    errorCode_e readParam1F02(uint32_t &value);
    errorCode_e readDeviceName(QString &name);
    errorCode_e writeDeviceName(DeviceNameRecord &record);
    errorCode_e readChannelName(QString &name, uint8_t channel);
    errorCode_e writeChannelName(DeviceNameRecord &record, uint8_t channel);
    errorCode_e readAnybusCFG(uint8_t *cfg);  // 567 bytes
    errorCode_e writeAnybusCFG(const uint8_t *cfg);
    errorCode_e readAnybusCFG(Anybus_cfg *cfg) { return readAnybusCFG(cfg->data()); }
    errorCode_e writeAnybusCFG(Anybus_cfg cfg) { return writeAnybusCFG(static_cast<const uint8_t *>(cfg.data())); }

    // --- commands
    errorCode_e sendServiceAction(uint16_t action);
    errorCode_e sendServiceAction16() { return sendServiceAction(ActionService16); }
    errorCode_e initConfigWrite() { return sendServiceAction(ActionInitConfigWrite); }
    errorCode_e executeConfigWrite() { return sendServiceAction(ActionExecuteConfigWrite); }
    // Both resets (this and the network settings' by broadcast) may change
    // what the unit keeps whatever their answer says (an answer lost on the
    // way is a reset done all the same): unitConfigurationReset, and
    // unitNetworkSettingsReset for the network settings, follows every
    // attempt.
    errorCode_e resetDefaultConfig();
    errorCode_e resetFieldbusModule() { return sendServiceAction(ActionResetFieldbus); }
    errorCode_e setFieldbusFtp(bool enable)
    {
        return sendServiceAction(enable ? ActionFieldbusFtpOn : ActionFieldbusFtpOff);
    }
    errorCode_e requestRefRunResult();
    errorCode_e setRefRunMode(uint8_t mode);
    errorCode_e startManualRun();
    errorCode_e stopDataRun();
    errorCode_e sendErrorReset();
    errorCode_e restartPPU();
    errorCode_e readProductInfo(ProductInfoRecord *record);
    errorCode_e readRecordBlock(uint8_t *area);  // 600 bytes
    errorCode_e readRecordValue(uint32_t &value);

    // --- block transfers of the log (0x11) and of measurement data (0x12)
    errorCode_e readLog(LogBlockHeader &request);
    errorCode_e readLog(LogBlockHeader *request);  // null: -16
    errorCode_e readData(LogBlockHeader &request);
    void getLogEntries(QVector<LogRecord> &entries) const;
    void getDataBuffer(QVector<int32_t> &values) const;
    const BlockTransfer &logTransfer() const { return m_logTransfer; }
    const BlockTransfer &dataTransfer() const { return m_dataTransfer; }

    const ReferenceRunResult_t &refRunResult() const { return m_refRunResult; }

signals:
    void sendPacketSignal(QByteArray mtxDatagram, QHostAddress ip);
    void gotResponse();
    void connectionLost();
    void connectionPing(HearBeatMessage_t &statestruct, QHostAddress sender);
    void RefRunResultreceived(ReferenceRunResult_t &refRes);
    void initProgressbar(QString title, uint32_t max);
    void setMaxProgressbar(uint32_t max);
    void deinitProgressbar();
    void updateProgressbar(uint32_t val);
    void finishedDiscoverdata();
    // The unit at the target address gave no first answer within the
    // watchdog's time; the heartbeats keep trying.
    void targetNotAnswering(QHostAddress address);
    // A reset to the default configuration, or of the network settings of
    // the unit with this MAC address (six bytes), went out: what was read
    // from a unit before may no longer be what it holds.
    void unitConfigurationReset();
    void unitNetworkSettingsReset(QByteArray mac);

public slots:
    void handleMessageSlot(QByteArray rxData, QHostAddress senderIP);
    void connectionLostSlot();
    void connectionPingSlot(HearBeatMessage_t &statestruct, QHostAddress sender);

private:
    // What the answer to a typed read carried. A value is only ever taken
    // from the answer to that very request: a late or repeated answer to an
    // earlier read carries an older value.
    struct ParamReply
    {
        bool matched = false;   // the answer to this request arrived
        uint16_t id = 0;        // what it answered
        int index = kNoIndex;
        bool complete = true;   // the whole value was in the payload
        QByteArray value;       // the value, when it was the parameter asked for
    };

    QHostAddress destination() const;
    // Ends the nested loop of the waiting request, if one runs.
    void endWait();
    void restartWatchdog();
    void firstAnswerMissing();
    void firstAnswerArrived();
    void handleHeartbeat(const EthernetFrame &frame, const QHostAddress &sender);
    // True for the first answer to the request now waiting; anything else
    // is dropped with a debug line naming `what`.
    bool isAnswerToPendingRequest(const EthernetFrame &frame, const char *what) const;
    void handleParamAnswer(const EthernetFrame &frame);
    void handleRecordAnswer(const EthernetFrame &frame);
    void handleRefRunAnswer(const EthernetFrame &frame);
    void handleProductInfoAnswer(const EthernetFrame &frame);
    void handleDiscoverAnswer(const EthernetFrame &frame);
    // Block transfers of the log (0x11) and of measurement data (0x12).
    void handleLogBlockAnswer(const EthernetFrame &frame);
    void handleDataBlockAnswer(const EthernetFrame &frame);

    // A typed read: sends it, then checks that the matched answer carried
    // the wanted parameter whole, and hands out its value.
    errorCode_e readSlot(uint16_t id, int index, QByteArray *value);
    // The same, with the value converted for a typed getter.
    template <typename T, typename Convert>
    errorCode_e readValue(uint16_t id, T &out, Convert convert, int index = kNoIndex)
    {
        QByteArray value;
        const errorCode_e r = readSlot(id, index, &value);
        if (r == ERR_OK)
            out = convert(reinterpret_cast<const uint8_t *>(value.constData()));
        return r;
    }
    // The same for a record, copied out byte for byte.
    errorCode_e readBytes(uint16_t id, uint8_t *out, int size);
    errorCode_e oneByteCommand(uint8_t command, uint8_t value);

    LinkTimings m_timings;
    int m_idealThreadCount = 0;  // 0: ask QThread

    QByteArray m_frame;
    QByteArray m_rxBuffer;
    EthernetFrame m_rxFrame;
    SequenceCounter m_sequence;
    QHostAddress m_targetAddress{QHostAddress::LocalHost};
    QHostAddress m_broadcastAddress{QHostAddress::Broadcast};
    bool m_broadcast = false;
    int32_t m_deviceError = 0;
    MessageWait m_wait;
    // The nested loop and attempt timer of the waiting request, made on
    // first use and reused by every request after it.
    std::unique_ptr<QEventLoop> m_waitLoop;
    std::unique_ptr<QTimer> m_attemptTimer;
    QEventLoop *m_activeWaitLoop = nullptr;  // the loop a request waits in now

    QTimer m_watchdog;
    QTimer m_heartbeatTimer;
    QTimer m_firstAnswerTimer;
    bool m_firstAnswerHeld = false;  // paused while a first answer was awaited
    bool m_paused = false;
    bool m_connected = false;
    HearBeatMessage_t m_heartbeat;
    QHostAddress m_heartbeatSender;
    std::vector<DiscoveredDevice> m_discovered;

    ParamReply *m_paramReply = nullptr;  // of the typed read in progress
    ReferenceRunResult_t m_refRunResult;
    bool m_refRunStored = false;
    ProductInfoRecord m_productInfo;
    bool m_productInfoValid = false;
    std::array<uint8_t, kRecordAreaSize> m_recordArea{};
    int64_t m_recordStamp = 0;
    bool m_recordStampSet = false;
    BlockTransfer m_logTransfer{BlockTransfer::Kind::Bytes};
    BlockTransfer m_dataTransfer{BlockTransfer::Kind::Samples};
};
