#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QFile>
#include <QHostAddress>
#include <QList>
#include <QObject>
#include <QTimer>
#include <cstdint>

class QUdpSocket;

// A simulated bootloader of the processing unit: a real UDP peer on
// <address>:7755 that answers the bootloader commands, keeps a model of the
// flash that tests read back, logs every request and can be told to
// misbehave. Usable in-process (tests, benchmarks) and as the bootloader
// mode of KorvantisUnitSim.
//
// Where the flashed bytes go: a page or block whose announced offset lies
// in the flash (0x08000000..0x08100000) is written there; a block announced
// at an offset below the flash (single blocks go to offset 0) is appended to
// blocks(); the information block is kept in infoBlock().
class BootloaderSim : public QObject
{
    Q_OBJECT
public:
    static constexpr uint32_t kFlashStart = 0x08000000u;
    static constexpr uint32_t kFlashSize = 0x00100000u;
    static constexpr uint32_t kMaxBlock = 0x4000u;

    // Statuses of the error answers this bootloader gives.
    enum Status : int32_t {
        StatusCrcMismatch = -3,
        StatusBadOffset = -4,
        StatusChunkOrder = -5,
        StatusIncomplete = -6,
        StatusAlreadyWritten = -7,
        StatusNoBlock = -8,
    };

    enum class State {
        Bootloader,   // caught or idle in the bootloader: answers everything
        Rebooting,    // after a reset: answers nothing
        CatchWindow,  // freshly started bootloader: answers catch and reset
        Firmware,     // the application runs: answers reset and the broadcast
    };

    enum class FaultKind {
        Drop,         // the request is handled but its answer is lost
        Delay,        // the answer leaves `value` ms late
        RefuseCrc,    // a page or information block CRC is refused
        ErrorStatus,  // an error answer with status `value` instead of handling
        Nak,          // a negative acknowledge instead of handling
        Silence,      // no answer and no handling
        Hold,         // from the `value`th request on (1: the first), the
                      // request is handled but its answer waits for
                      // releaseHeld(): a test holds the tool in that wait
    };

    struct Fault
    {
        FaultKind kind = FaultKind::Drop;
        int command = -1;  // -1: any command
        int count = -1;    // how many requests it hits; -1: all
        int32_t value = 0;
    };

    struct Request
    {
        qint64 ms = 0;  // since start()
        QHostAddress sender;
        uint16_t senderPort = 0;
        bool broadcast = false;  // arrived on the wildcard socket
        uint16_t sequence = 0;
        uint8_t flags = 0;
        uint8_t command = 0;
        QByteArray payload;
    };

    explicit BootloaderSim(const QHostAddress &address, QObject *parent = nullptr);
    ~BootloaderSim() override;

    // Binds <address>:7755 and, when broadcasts are listened to, 0.0.0.0:7755.
    bool start(QString *error = nullptr);
    void stop();

    QHostAddress address() const { return m_address; }

    // Broadcasts reach only wildcard-bound sockets; a test that needs none
    // turns this off before start() so other tests' broadcasts stay out.
    void setListenBroadcast(bool on) { m_listenBroadcast = on; }

    // Flash model.
    const QByteArray &flash() const { return m_flash; }
    QByteArray readFlash(uint32_t address, int length) const;
    const QList<QByteArray> &blocks() const { return m_blocks; }
    const QByteArray &infoBlock() const { return m_infoBlock; }
    void eraseFlash();

    // Identity and versions.
    void setMac(const QByteArray &mac) { m_mac = mac.left(6); }
    QByteArray mac() const { return m_mac; }
    QByteArray defaultIp() const { return m_defaultIp; }
    bool deviceDataWritten() const { return m_deviceDataWritten; }
    QByteArray lastNetConfig() const { return m_lastNetConfig; }
    void setFwVersionAnswer(const QByteArray &bytes) { m_fwVersion = bytes; }
    void setHwVersionAnswer(const QByteArray &bytes) { m_hwVersion = bytes; }

    // State and the reset timeline.
    State state() const { return m_state; }
    void setState(State state);
    void setRebootMs(int ms) { m_rebootMs = ms; }
    void setCatchWindowMs(int ms) { m_catchWindowMs = ms; }

    // Faults.
    void addFault(const Fault &fault) { m_faults.append(fault); }
    void clearFaults()
    {
        m_faults.clear();
        m_held.clear();
    }
    // Sends the answers a hold has kept, in order, and ends the hold.
    void releaseHeld();

    // Request log.
    const QList<Request> &requests() const { return m_requests; }
    QList<Request> requestsFor(uint8_t command) const;
    void clearRequests() { m_requests.clear(); }
    bool setLogFile(const QString &fileName);

signals:
    void requestReceived(int index);
    // Every datagram read, a frame or not, before it is looked at: a test
    // that sends one the bootloader ignores knows, once it is seen here,
    // that everything that reached the bootloader before has been read.
    void datagramRead(const QByteArray &datagram);
    void stateChanged(BootloaderSim::State state);

private slots:
    void readUnicast();
    void readBroadcast();

private:
    struct Answer
    {
        bool send = false;
        uint8_t flags = 0;
        QByteArray payload;
    };

    void readFrom(QUdpSocket *socket, bool broadcast);
    void handle(const QByteArray &datagram, const QHostAddress &sender, uint16_t port, bool broadcast);
    bool takeFault(FaultKind kind, uint8_t command, int32_t *value = nullptr);
    bool holdsAnswer(uint8_t command);
    bool answersIn(State state, uint8_t command) const;
    Answer process(const Request &request);
    Answer commitBlock(const Request &request, bool info);
    void logRequest(const Request &request);
    void reboot();

    static Answer ack();
    static Answer error(int32_t status);
    static Answer nak();
    static Answer data(const QByteArray &payload);

    QHostAddress m_address;
    QUdpSocket *m_unicast = nullptr;
    QUdpSocket *m_broadcast = nullptr;
    bool m_listenBroadcast = true;
    QElapsedTimer m_clock;
    QTimer m_timeline;

    QByteArray m_flash;
    QList<QByteArray> m_blocks;
    QByteArray m_infoBlock;

    // The page or block being received.
    bool m_pending = false;
    uint32_t m_pendingOffset = 0;
    uint32_t m_pendingLength = 0;
    uint32_t m_filled = 0;
    QByteArray m_buffer;

    QByteArray m_mac;
    QByteArray m_defaultIp;
    bool m_deviceDataWritten = false;
    QByteArray m_lastNetConfig;
    QByteArray m_fwVersion;
    QByteArray m_hwVersion;

    State m_state = State::Bootloader;
    int m_rebootMs = 1000;
    int m_catchWindowMs = 5000;

    QList<Fault> m_faults;
    struct HeldAnswer
    {
        QByteArray frame;
        QHostAddress peer;
        uint16_t port = 0;
    };
    QList<HeldAnswer> m_held;
    QList<Request> m_requests;
    QFile m_log;
};
