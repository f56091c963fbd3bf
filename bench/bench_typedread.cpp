// Typed parameter reads through the request engine against the simulated
// unit, next to a raw UDP ping-pong of the same datagram sizes, in turns
// within one run. Goal: each read costs at most 1.5x the raw round trip.
// A third line, the model floor, passes the same datagrams through the
// threading model the tool keeps (GUI thread -> worker thread -> GUI thread,
// queued signals, a nested event loop) without any protocol: the least a
// read can cost under that model. Its ratio to raw shows how much of the
// engine's ratio the model itself takes, and engine/floor what is left.
//
// Run inside the test namespace (unshare -n, lo up); the unit sits on
// 127.0.9.1 on its own thread, as a real unit would answer on its own.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLoggingCategory>
#include <QNetworkDatagram>
#include <QThread>
#include <QTimer>
#include <QUdpSocket>
#include <cstdio>

#include "device.h"
#include "ethernetframe.h"
#include "metatypes.h"
#include "rawexchange.h"
#include "unitsim.h"

namespace {

const QHostAddress kUnit(QStringLiteral("127.0.9.1"));
constexpr int kRounds = 2000;

// Echoes every datagram with an answer of the given size, on its own thread.
class Echo : public QObject
{
public:
    explicit Echo(int answerSize) : m_answer(answerSize, '\x5A') {}
    void start()
    {
        m_socket = new QUdpSocket(this);
        m_socket->bind(QHostAddress(QStringLiteral("127.0.9.2")), kDevicePort);
        connect(m_socket, &QUdpSocket::readyRead, this, [this] {
            while (m_socket->hasPendingDatagrams()) {
                QHostAddress from;
                quint16 port = 0;
                QByteArray d(int(m_socket->pendingDatagramSize()), '\0');
                m_socket->readDatagram(d.data(), d.size(), &from, &port);
                m_socket->writeDatagram(m_answer, from, port);
            }
        });
    }

private:
    QUdpSocket *m_socket = nullptr;
    QByteArray m_answer;
};

// The raw floor: a plain socket that sends a request of the read's size and
// waits for the echo of the answer's size, stop and wait.
class RawPingPong
{
public:
    RawPingPong(int requestSize, int answerSize)
        : m_echo(answerSize)
        , m_request(requestSize, '\x11')
    {
        m_echo.moveToThread(&m_thread);
        m_thread.start();
        QMetaObject::invokeMethod(&m_echo, [this] { m_echo.start(); }, Qt::BlockingQueuedConnection);
        m_client.bind(QHostAddress(QHostAddress::LocalHost), 0);
    }
    ~RawPingPong()
    {
        QMetaObject::invokeMethod(&m_echo, [this] { qDeleteAll(m_echo.children()); }, Qt::BlockingQueuedConnection);
        m_thread.quit();
        m_thread.wait();
    }
    // Seconds for `rounds` exchanges; negative when an answer went missing.
    double run(int rounds)
    {
        const QHostAddress echo(QStringLiteral("127.0.9.2"));
        QElapsedTimer clock;
        clock.start();
        for (int i = 0; i < rounds; ++i) {
            m_client.writeDatagram(m_request, echo, kDevicePort);
            // A lost datagram ends the measurement instead of waiting for ever.
            if (!m_client.hasPendingDatagrams() && !m_client.waitForReadyRead(1000))
                return -1;
            m_client.receiveDatagram();
        }
        return clock.nsecsElapsed() / 1e9;
    }

private:
    QThread m_thread;
    Echo m_echo;
    QUdpSocket m_client;
    QByteArray m_request;
};

// The floor of the threading model the tool keeps: the GUI thread hands the
// datagram to a worker thread through a queued signal, the worker's socket
// sends it and hands the answer back through a queued signal, and the GUI
// thread waits for it in a nested event loop. No protocol, no matching, no
// retries: what the two thread hops cost over the raw exchange.
class FloorWorker : public QObject
{
    Q_OBJECT
public:
    void start()
    {
        m_socket = new QUdpSocket(this);
        m_socket->bind(QHostAddress(QHostAddress::LocalHost), 0);
        connect(m_socket, &QUdpSocket::readyRead, this, [this] {
            while (m_socket->hasPendingDatagrams()) {
                QByteArray d(int(m_socket->pendingDatagramSize()), Qt::Uninitialized);
                QHostAddress from;
                m_socket->readDatagram(d.data(), d.size(), &from);
                emit received(d, from);
            }
        });
    }
    void send(QByteArray datagram, QHostAddress to) { m_socket->writeDatagram(datagram, to, kDevicePort); }

signals:
    void received(QByteArray datagram, QHostAddress from);

private:
    QUdpSocket *m_socket = nullptr;
};

class FloorClient : public QObject
{
    Q_OBJECT
public:
    FloorClient(int requestSize)
        : m_request(requestSize, '\x11')
    {
        m_worker.moveToThread(&m_thread);
        m_thread.start();
        QMetaObject::invokeMethod(&m_worker, [this] { m_worker.start(); }, Qt::BlockingQueuedConnection);
        connect(this, &FloorClient::send, &m_worker, &FloorWorker::send, Qt::QueuedConnection);
        connect(&m_worker, &FloorWorker::received, this, &FloorClient::received, Qt::QueuedConnection);
        m_timeout.setSingleShot(true);
        connect(&m_timeout, &QTimer::timeout, &m_loop, &QEventLoop::quit);
    }
    ~FloorClient() override
    {
        QMetaObject::invokeMethod(&m_worker, [this] { qDeleteAll(m_worker.children()); }, Qt::BlockingQueuedConnection);
        m_thread.quit();
        m_thread.wait();
    }
    // Seconds for `rounds` exchanges; negative when an answer went missing.
    double run(int rounds)
    {
        const QHostAddress echo(QStringLiteral("127.0.9.2"));
        QElapsedTimer clock;
        clock.start();
        for (int i = 0; i < rounds; ++i) {
            m_answered = false;
            m_timeout.start(1000);
            emit send(m_request, echo);
            if (!m_answered)
                m_loop.exec();
            m_timeout.stop();
            if (!m_answered)
                return -1;
        }
        return clock.nsecsElapsed() / 1e9;
    }

signals:
    void send(QByteArray datagram, QHostAddress to);

private:
    void received(QByteArray, QHostAddress)
    {
        m_answered = true;
        m_loop.quit();
    }

    QThread m_thread;
    FloorWorker m_worker;
    QByteArray m_request;
    QEventLoop m_loop;
    QTimer m_timeout;
    bool m_answered = false;
};

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    registerMetaTypes();
    qputenv("QT_LOGGING_RULES", "*.debug=false");
    QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false"));

    QThread unitThread;
    UnitSim sim;
    sim.setAddress(kUnit);
    sim.setListenBroadcast(false);
    sim.setPushInterval(0);
    sim.moveToThread(&unitThread);
    unitThread.start();
    bool started = false;
    QMetaObject::invokeMethod(&sim, [&] { started = sim.start(); }, Qt::BlockingQueuedConnection);
    if (!started) {
        std::fprintf(stderr, "cannot start the simulated unit on %s\n", qPrintable(kUnit.toString()));
        return 1;
    }

    int result = 0;
    {
        Device device(nullptr, 2);
        device.startTransport();
        EthernetHandler *eth = device.ethernetHandler();
        eth->setTargetIP(kUnit);

        struct Case
        {
            const char *name;
            uint16_t id;
            int requestSize;
            int answerSize;
        };
        // Request 12 bytes (id); answers: id + value, framed.
        const Case cases[] = {{"u16 debounce", 0x22, 12, 14}, {"name record", 0x2000, 12, 268},
                              {"config blob", 0x10, 12, 524}};
        // Turns of engine reads and raw exchanges, one after the other.
        constexpr int kTurns = 20;
        constexpr int kPerTurn = kRounds / 10;
        for (const Case &c : cases) {
            RawPingPong raw(c.requestSize, c.answerSize);
            FloorClient model(c.requestSize);
            benchnet::Interleaved turns;
            benchnet::Interleaved modelTurns;
            for (int turn = 0; turn < kTurns && result == 0; ++turn) {
                QElapsedTimer clock;
                clock.start();
                for (int i = 0; i < kPerTurn; ++i) {
                    if (eth->readParam(c.id) != ERR_OK) {
                        std::fprintf(stderr, "read of 0x%04x failed\n", c.id);
                        result = 1;
                        break;
                    }
                }
                const double engine = clock.nsecsElapsed() / 1e9;
                const double floor = raw.run(kPerTurn);
                if (floor <= 0) {
                    std::fprintf(stderr, "raw ping-pong got no answer\n");
                    result = 1;
                    break;
                }
                const double modelFloor = model.run(kPerTurn);
                if (modelFloor <= 0) {
                    std::fprintf(stderr, "model floor ping-pong got no answer\n");
                    result = 1;
                    break;
                }
                turns.add(engine, floor);
                modelTurns.add(modelFloor, floor);
            }
            if (result != 0)
                break;
            std::printf("%-14s engine %6.1f us/read   raw %6.1f us/read (best turns)   ", c.name,
                        benchnet::Interleaved::best(turns.library) / kPerTurn * 1e6,
                        benchnet::Interleaved::best(turns.floor) / kPerTurn * 1e6);
            turns.print("engine/raw", 1.5);
            std::printf("%-14s model  %6.1f us/read   raw %6.1f us/read (best turns)   ", "  floor",
                        benchnet::Interleaved::best(modelTurns.library) / kPerTurn * 1e6,
                        benchnet::Interleaved::best(modelTurns.floor) / kPerTurn * 1e6);
            modelTurns.print("model/raw", 1.5);
            std::printf("%-14s engine/floor: %.2fx (best turns)\n", "",
                        benchnet::Interleaved::best(turns.library) / benchnet::Interleaved::best(modelTurns.library));
        }
        eth->disconnectFromDevice();
    }
    QMetaObject::invokeMethod(&sim, [&] { sim.stop(); }, Qt::BlockingQueuedConnection);
    unitThread.quit();
    unitThread.wait();
    return result;
}

#include "bench_typedread.moc"
