// Typed parameter reads through the request engine against the simulated
// unit, next to a raw UDP ping-pong of the same datagram sizes, in one run.
// Goal: the engine costs at most 3x the raw round trip.
//
// Run inside the test namespace (unshare -n, lo up); the unit sits on
// 127.0.9.1 on its own thread, as a real unit would answer on its own.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLoggingCategory>
#include <QNetworkDatagram>
#include <QThread>
#include <QUdpSocket>
#include <cstdio>

#include "device.h"
#include "ethernetframe.h"
#include "metatypes.h"
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

double rawPingPong(int requestSize, int answerSize)
{
    QThread thread;
    Echo echo(answerSize);
    echo.moveToThread(&thread);
    thread.start();
    QMetaObject::invokeMethod(&echo, [&echo] { echo.start(); }, Qt::BlockingQueuedConnection);

    QUdpSocket client;
    client.bind(QHostAddress(QHostAddress::LocalHost), 0);
    const QByteArray request(requestSize, '\x11');
    QElapsedTimer clock;
    clock.start();
    bool answered = true;
    for (int i = 0; i < kRounds && answered; ++i) {
        client.writeDatagram(request, QHostAddress(QStringLiteral("127.0.9.2")), kDevicePort);
        // A lost datagram ends the measurement instead of waiting for ever.
        answered = client.hasPendingDatagrams() || client.waitForReadyRead(1000);
        if (answered)
            client.receiveDatagram();
    }
    const double perSecond = answered ? kRounds * 1000.0 / qMax<qint64>(1, clock.elapsed()) : -1;
    QMetaObject::invokeMethod(&echo, [&echo] { qDeleteAll(echo.children()); }, Qt::BlockingQueuedConnection);
    thread.quit();
    thread.wait();
    return perSecond;
}

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
        // Best of three runs each, so a busy machine disturbs the ratio less.
        for (const Case &c : cases) {
            double engine = 0;
            double raw = 0;
            for (int run = 0; run < 3 && result == 0; ++run) {
                QElapsedTimer clock;
                clock.start();
                for (int i = 0; i < kRounds; ++i) {
                    if (eth->readParam(c.id) != ERR_OK) {
                        std::fprintf(stderr, "read of 0x%04x failed\n", c.id);
                        result = 1;
                        break;
                    }
                }
                engine = qMax(engine, kRounds * 1000.0 / qMax<qint64>(1, clock.elapsed()));
                raw = qMax(raw, rawPingPong(c.requestSize, c.answerSize));
            }
            if (raw <= 0) {
                std::fprintf(stderr, "raw ping-pong got no answer\n");
                result = 1;
            }
            std::printf("%-14s engine %8.0f req/s   raw %8.0f req/s   ratio %.2f (goal <= 3)\n", c.name, engine,
                        raw, raw / engine);
        }
        eth->disconnectFromDevice();
    }
    QMetaObject::invokeMethod(&sim, [&] { sim.stop(); }, Qt::BlockingQueuedConnection);
    unitThread.quit();
    unitThread.wait();
    return result;
}
