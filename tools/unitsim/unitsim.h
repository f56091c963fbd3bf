#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QHash>
#include <QHostAddress>
#include <QObject>
#include <QRandomGenerator>
#include <QTimer>
#include <QVector>
#include <array>
#include <cstdint>
#include <functional>

#include "devicerecords.h"
#include "unitparameterstore.h"

class QFile;
class QNetworkDatagram;
class QUdpSocket;

// One request as the simulated unit received it, for tests to assert on.
struct UnitSimRequest
{
    uint8_t command = 0;
    uint8_t flags = 0;
    uint16_t sequence = 0;
    int paramId = -1;        // typed reads and writes
    int index = -1;          // index byte, when the request carried one
    QByteArray payload;      // the payload as framed (pad byte included)
    QByteArray value;        // a typed write's value
    QByteArray datagram;     // the whole datagram, byte for byte
    QHostAddress source;
    uint16_t sourcePort = 0;
    bool viaBroadcast = false;
};

// What a command handler answers. By default an answer (flag 0x40) with the
// payload; an error answer carries flag 0x10 and the status.
struct UnitSimReply
{
    bool send = true;
    bool error = false;
    int32_t status = 0;
    QByteArray payload;

    void fail(int32_t errorStatus)
    {
        error = true;
        status = errorStatus;
        payload.clear();
    }
};

// Ways the unit can misbehave, settable from tests and from the command
// line. Counters apply to the next N answers (pushed state reports are not
// answers and never take faults).
struct UnitSimFaults
{
    int dropAnswers = 0;        // say nothing
    int delayMs = 0;            // every answer leaves this much later
    int duplicateAnswers = 0;   // send twice
    int wrongSequence = 0;      // sequence number + 1
    int wrongCommand = 0;       // command + 1
    int corruptCrc = 0;         // one CRC bit flipped
    int shortDatagram = 0;      // the datagram cut before its CRC
    int truncatePayload = 0;    // the payload cut to truncateTo bytes, framed properly
    int truncateTo = 0;
    // Stale answers: right behind an answer, the unit sends again the last
    // answer it gave before to a request of the same kind (same command, and
    // the same parameter id and index, or else the same request payload),
    // with that answer's old sequence number and old value, as a busy
    // network delivers a late copy. Heartbeat answers and broadcasts are
    // never followed by one; an answer with no earlier one of its kind is
    // followed by nothing and takes nothing from the counter.
    int staleAnswers = 0;       // the next N answers that have an earlier one
    double staleRatio = 0.0;    // this share of all such answers, evenly spread
    bool silent = false;        // no answers, no reports

    // Random faults of a lossy network, drawn for every answer (in percent,
    // 0..100) from the generator that UnitSim::seedFaults seeds: an answer
    // is dropped, or sent twice, or sent lateMs later than it would be.
    int dropPercent = 0;
    int duplicatePercent = 0;
    int latePercent = 0;
    int lateMs = 0;
};

// The processing unit, simulated over real UDP: a unicast socket on its own
// address and port 7755, a wildcard socket for broadcasts, a parameter store,
// the heartbeat state and a request log. Its sockets live on the thread of
// the object, driven by that thread's event loop, so it runs inside a test
// process as well as in the KorvantisUnitSim program.
class UnitSim : public QObject
{
    Q_OBJECT
public:
    using Handler = std::function<void(const UnitSimRequest &, UnitSimReply &)>;

    explicit UnitSim(QObject *parent = nullptr);
    ~UnitSim() override;

    // Configuration before start().
    void setAddress(const QHostAddress &address) { m_address = address; }
    QHostAddress address() const { return m_address; }
    void setMacAddress(const std::array<uint8_t, 6> &mac)
    {
        m_mac = mac;
        m_macSet = true;
    }
    std::array<uint8_t, 6> macAddress() const { return m_mac; }
    void setDeviceName(const QString &name) { m_name = name; }
    // Whether to take broadcasts (discovery, network reset). Units on the
    // loopback network of a test usually do not.
    void setListenBroadcast(bool on) { m_listenBroadcast = on; }

    // Binds the sockets and resets the parameters to their defaults. False
    // with a reason when the address cannot be used.
    bool start(QString *error = nullptr);
    // A unit at `address` that only answers: no broadcasts, no own reports.
    bool startQuiet(const QHostAddress &address, QString *error = nullptr);
    void stop();
    bool isRunning() const { return m_socket != nullptr; }

    // Own state reports to the tool's last-seen address; 0 = none.
    void setPushInterval(int ms);
    int pushInterval() const { return m_pushIntervalMs; }
    // How long a restart keeps the unit silent.
    void setRestartSilence(int ms) { m_restartSilenceMs = ms; }
    bool isRestarting() const;

    UnitSimFaults &faults() { return m_faults; }
    // An error answer with `status` to every request of `command` (and of
    // `paramId` for typed reads and writes; -1 = any).
    // Seeds the generator the random faults draw from (the same seed gives
    // the same faults for the same requests).
    void seedFaults(quint32 seed) { m_faultRandom.seed(seed); }
    // How often each random fault struck since start().
    int randomDrops() const { return m_randomDrops; }
    int randomDuplicates() const { return m_randomDuplicates; }
    int randomLate() const { return m_randomLate; }

    // A unit that recognises a retry: a request that repeats the last one
    // from the same sender (sequence number, command and payload) is
    // answered again as before without being carried out a second time.
    void setRecogniseRetries(bool on) { m_recogniseRetries = on; }
    int retriesRecognised() const { return m_retriesRecognised; }

    void setErrorStatus(uint8_t command, int paramId, int32_t status);
    void clearErrorStatus() { m_errorStatus.clear(); }

    HearBeatMessage_t &heartbeat() { return m_heartbeat; }
    // The fieldbus module fitted, by its network type (0xFFFF: none): the
    // heartbeats report it, and the module record the unit keeps becomes
    // that of a new module of the type (UnitParameterStore::fieldbusRecord),
    // as it does again after a reset to the default configuration. Before
    // start() or at any time after.
    void setFieldbusModule(uint16_t networkType);
    // Byte 5 of the heartbeat after a start or restart (0x11 by default: a
    // low nibble of 1 keeps the data and log controls locked).
    void setDataControl(uint8_t value)
    {
        m_dataControl = value;
        m_heartbeat.dataControl = value;
    }
    // Module resets asked for since start(), and the module's FTP server.
    int fieldbusResets() const { return m_fieldbusResets; }
    bool fieldbusFtp() const { return m_fieldbusFtp; }
    UnitParameterStore &parameters() { return m_parameters; }
    ProductInfoRecord &productInfo() { return m_productInfo; }
    ReferenceRunResult_t &refRunResult() { return m_refRunResult; }
    QByteArray &recordArea() { return m_record; }  // 570 bytes
    uint32_t &recordValue() { return m_recordValue; }

    const QVector<UnitSimRequest> &requestLog() const { return m_log; }
    void clearRequestLog() { m_log.clear(); }
    int countRequests(uint8_t command) const;
    // Appends one line per request to this file as well.
    bool setLogFile(const QString &path);

    QHostAddress lastPeer() const { return m_peer; }
    uint16_t lastPeerPort() const { return m_peerPort; }

    // One handler per command; later features add theirs the same way.
    void setHandler(uint8_t command, Handler handler) { m_handlers.insert(command, std::move(handler)); }
    // The present handler of a command (empty when none), for a part that
    // wraps it.
    Handler handler(uint8_t command) const { return m_handlers.value(command); }

    // Sends one frame from the unit's own address.
    void sendFrame(uint8_t flags, uint8_t command, uint16_t sequence, const QByteArray &payload,
                   const QHostAddress &to, uint16_t port);
    // Sends a state report now (as the push timer does).
    void pushState();

signals:
    void requestReceived(const UnitSimRequest &request);
    void restarted();
    // Every datagram the unit read, a frame or not, before it is looked at:
    // a test that sends one the unit ignores knows, once it is seen here,
    // that the unit has read everything that reached it before.
    void datagramRead(const QByteArray &datagram);

private slots:
    void readUnicast();
    void readBroadcast();

private:
    void installParameterHandlers();
    void installCommandHandlers();
    void installNetworkHandlers();

    void handleDatagram(const QNetworkDatagram &datagram, bool viaBroadcast);
    UnitSimRequest parseRequest(const QByteArray &datagram) const;
    void answer(const UnitSimRequest &request, UnitSimReply &reply);
    void transmit(const QByteArray &datagram, const QHostAddress &to, uint16_t port);
    // The earlier answer to send behind this one, or an empty array.
    QByteArray staleAnswerFor(const UnitSimRequest &request, const QByteArray &datagram);
    void logRequest(const UnitSimRequest &request);
    bool isOwnBroadcast(const QNetworkDatagram &datagram) const;
    void resetState();

    // Command handlers (unitsim_*.cpp).
    void onReadParam(const UnitSimRequest &request, UnitSimReply &reply);
    void onWriteParam(const UnitSimRequest &request, UnitSimReply &reply);
    void onHeartbeat(const UnitSimRequest &request, UnitSimReply &reply);
    void onProductInfo(const UnitSimRequest &request, UnitSimReply &reply);
    void onRefRunResult(const UnitSimRequest &request, UnitSimReply &reply);
    void onRefRunMode(const UnitSimRequest &request, UnitSimReply &reply);
    void onRecord(const UnitSimRequest &request, UnitSimReply &reply);
    void onServiceAction(const UnitSimRequest &request, UnitSimReply &reply);
    void onErrorReset(const UnitSimRequest &request, UnitSimReply &reply);
    void onRestart(const UnitSimRequest &request, UnitSimReply &reply);
    void onDiscover(const UnitSimRequest &request, UnitSimReply &reply);
    void onNetConfig(const UnitSimRequest &request, UnitSimReply &reply);

    QHostAddress m_address{QStringLiteral("127.0.0.2")};
    std::array<uint8_t, 6> m_mac{{0x02, 0x4B, 0x56, 0x00, 0x00, 0x02}};
    bool m_macSet = false;
    QString m_name;
    bool m_listenBroadcast = true;

    QUdpSocket *m_socket = nullptr;
    QUdpSocket *m_broadcastSocket = nullptr;
    QTimer m_pushTimer;
    QTimer m_clockTimer;
    int m_pushIntervalMs = 1000;
    int m_restartSilenceMs = 3000;
    QElapsedTimer m_restartClock;
    bool m_restarting = false;
    uint16_t m_ownSequence = 0;

    QHostAddress m_peer;
    uint16_t m_peerPort = 0;

    UnitSimFaults m_faults;
    QRandomGenerator m_faultRandom{1};
    int m_randomDrops = 0;
    int m_randomDuplicates = 0;
    int m_randomLate = 0;

    // The last request answered per sender (address and port), with its
    // reply, for recognising retries.
    struct Answered
    {
        uint16_t sequence = 0;
        uint8_t command = 0;
        QByteArray payload;
        UnitSimReply reply;
    };
    bool m_recogniseRetries = false;
    int m_retriesRecognised = 0;
    QHash<quint64, Answered> m_lastAnswered;
    QHash<uint32_t, int32_t> m_errorStatus;  // command << 24 | param id (0xFFFFFF = any)
    QHash<uint8_t, Handler> m_handlers;
    // The last answer sent per kind of request, for stale answers.
    QHash<QByteArray, QByteArray> m_lastAnswers;
    double m_staleCredit = 0.0;

    HearBeatMessage_t m_heartbeat;
    uint16_t m_fieldbusType = 0xFFFF;
    uint8_t m_dataControl = 0x11;
    int m_fieldbusResets = 0;
    bool m_fieldbusFtp = false;
    UnitParameterStore m_parameters;
    ProductInfoRecord m_productInfo;
    ReferenceRunResult_t m_refRunResult;
    QByteArray m_record;
    uint32_t m_recordValue = 0;

    QVector<UnitSimRequest> m_log;
    QFile *m_logFile = nullptr;

    // Recent broadcasts, so one that reaches us twice is answered once.
    struct SeenBroadcast
    {
        QHostAddress source;
        uint16_t port;
        uint16_t sequence;
        qint64 at;
    };
    QVector<SeenBroadcast> m_seenBroadcasts;
    QElapsedTimer m_uptime;
};
