#pragma once

// What the transfer benchmarks share: the peak memory of the process, a
// message handler that keeps the request engine's debug lines out of the
// timing, and the raw stop-and-wait floor: the same number and size of
// datagrams between two plain UDP sockets, without any protocol.
#include <QElapsedTimer>
#include <QHostAddress>
#include <QSemaphore>
#include <QThread>
#include <QUdpSocket>
#include <QVector>
#include <algorithm>
#include <cstdio>
#include <sys/resource.h>

namespace benchnet {

inline long peakRssKb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;  // kilobytes on Linux
}

// The request engine logs every exchange; a benchmark measures the exchange.
inline void quietDebug(QtMsgType type, const QMessageLogContext &, const QString &text)
{
    if (type != QtDebugMsg)
        std::fprintf(stderr, "%s\n", qPrintable(text));
}

// Answers every datagram with one of `answerSize` bytes, blocking, on its own thread.
class RawServer : public QThread
{
public:
    RawServer(const QHostAddress &address, int answerSize, int count)
        : m_address(address)
        , m_answerSize(answerSize)
        , m_count(count)
    {
    }
    bool bound = false;

protected:
    void run() override
    {
        QUdpSocket socket;
        bound = socket.bind(m_address, 7755);
        m_ready.release();
        if (!bound)
            return;
        const QByteArray answer(m_answerSize, '\x5A');
        QByteArray in(2048, '\0');
        QHostAddress from;
        quint16 port = 0;
        for (int served = 0; served < m_count;) {
            if (!socket.waitForReadyRead(5000))
                return;
            while (socket.hasPendingDatagrams()) {
                socket.readDatagram(in.data(), in.size(), &from, &port);
                socket.writeDatagram(answer, from, port);
                ++served;
            }
        }
    }

public:
    QSemaphore m_ready;

private:
    QHostAddress m_address;
    int m_answerSize;
    int m_count;
};

// Stop and wait: send one request, wait for its answer, `count` times.
inline double rawExchangeSeconds(const QHostAddress &serverAddress, const QHostAddress &clientAddress, int requestSize,
                                  int answerSize, int count)
{
    RawServer server(serverAddress, answerSize, count);
    server.start();
    server.m_ready.acquire();
    if (!server.bound) {
        server.wait();
        return -1;
    }
    QUdpSocket client;
    if (!client.bind(clientAddress, 0))
        return -1;
    const QByteArray request(requestSize, '\x11');
    QByteArray in(2048, '\0');
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < count; ++i) {
        client.writeDatagram(request, serverAddress, 7755);
        if (!client.waitForReadyRead(2000))
            return -1;
        client.readDatagram(in.data(), in.size());
    }
    const double seconds = clock.nsecsElapsed() / 1e9;
    server.wait();
    return seconds;
}

// Library and floor measured in turns within one run, so a machine that is
// busy for a while slows both sides alike. The ratio reported is the median
// of the turns' ratios: a turn that a burst of load hit on one side only
// moves it little.
struct Interleaved
{
    QVector<double> library;
    QVector<double> floor;

    void add(double librarySeconds, double floorSeconds)
    {
        library.append(librarySeconds);
        floor.append(floorSeconds);
    }
    double medianRatio() const
    {
        QVector<double> ratios;
        for (int i = 0; i < library.size(); ++i)
            ratios.append(library.at(i) / floor.at(i));
        if (ratios.isEmpty())
            return 0;
        std::sort(ratios.begin(), ratios.end());
        const int n = ratios.size();
        return n % 2 ? ratios.at(n / 2) : (ratios.at(n / 2 - 1) + ratios.at(n / 2)) / 2;
    }
    static double best(const QVector<double> &v) { return v.isEmpty() ? 0 : *std::min_element(v.begin(), v.end()); }
    // "<what>: ratio 1.23x (goal <= 1.5x), N turns" and whether the goal is met.
    bool print(const char *what, double goal) const
    {
        const double ratio = medianRatio();
        std::printf("%s: ratio %.2fx (goal <= %.1fx), median of %d interleaved turns\n", what, ratio, goal,
                    int(library.size()));
        return ratio <= goal;
    }
};

} // namespace benchnet
