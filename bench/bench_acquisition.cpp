// Reads seven channels of 100,000 raw samples each from the simulated unit
// through the data page's acquisition (one block transfer per channel, the
// table built for the graph), then runs a raw stop-and-wait exchange of the
// same number and size of datagrams between two plain UDP sockets. Prints
// both times, their ratio (goal: the acquisition at most 1.5x the raw
// exchange) and the peak memory of the process.
//
// Loopback only (127.0.9.x): it never needs the test network namespace.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSemaphore>
#include <QThread>
#include <QUdpSocket>
#include <cstdio>
#include <sys/resource.h>

#include "blocktransfer.h"
#include "dataacquisition.h"
#include "device.h"
#include "metatypes.h"
#include "unitsim.h"
#include "unitsimblocks.h"

namespace {

const QHostAddress kUnit(QStringLiteral("127.0.9.22"));
const QHostAddress kRawServer(QStringLiteral("127.0.9.23"));
const QHostAddress kRawClient(QStringLiteral("127.0.9.21"));
constexpr int kChannels = 7;
constexpr int kSamples = 100000;

long peakRssKb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;  // kilobytes on Linux
}

// The request engine logs every exchange; a benchmark measures the exchange.
void quietDebug(QtMsgType type, const QMessageLogContext &, const QString &text)
{
    if (type != QtDebugMsg)
        std::fprintf(stderr, "%s\n", qPrintable(text));
}

// Answers every datagram with one of `answerSize` bytes, blocking, on its own thread.
class RawServer : public QThread
{
public:
    RawServer(int answerSize, int count)
        : m_answerSize(answerSize)
        , m_count(count)
    {
    }
    bool bound = false;

protected:
    void run() override
    {
        QUdpSocket socket;
        bound = socket.bind(kRawServer, 7755);
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
    int m_answerSize;
    int m_count;
};

// Stop and wait: send one request, wait for its answer, `count` times.
double rawExchangeSeconds(int requestSize, int answerSize, int count)
{
    RawServer server(answerSize, count);
    server.start();
    server.m_ready.acquire();
    if (!server.bound) {
        server.wait();
        return -1;
    }
    QUdpSocket client;
    if (!client.bind(kRawClient, 0))
        return -1;
    const QByteArray request(requestSize, '\x11');
    QByteArray in(2048, '\0');
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < count; ++i) {
        client.writeDatagram(request, kRawServer, 7755);
        if (!client.waitForReadyRead(2000))
            return -1;
        client.readDatagram(in.data(), in.size());
    }
    const double seconds = clock.nsecsElapsed() / 1e9;
    server.wait();
    return seconds;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    qInstallMessageHandler(quietDebug);
    registerMetaTypes();

    // The unit on a thread of its own, as a real unit is a separate machine.
    QThread unitThread;
    unitThread.start();
    auto *sim = new UnitSim;
    sim->setAddress(kUnit);
    sim->setListenBroadcast(false);
    sim->setPushInterval(0);
    QVector<QVector<int16_t>> sent(kChannels);
    for (int ch = 0; ch < kChannels; ++ch) {
        for (int i = 0; i < kSamples; ++i)
            sent[ch].append(int16_t((i * (ch + 3)) % 30000 - 15000));
        UnitSimBlocks::of(sim)->setMeasurement(0, ch, sent[ch]);
    }
    sim->moveToThread(&unitThread);
    bool started = false;
    QString error;
    QMetaObject::invokeMethod(sim, [&] { started = sim->start(&error); }, Qt::BlockingQueuedConnection);
    if (!started) {
        std::fprintf(stderr, "cannot start the simulated unit: %s\n", qPrintable(error));
        return 1;
    }

    const long rssBefore = peakRssKb();
    double seconds = 0;
    bool identical = false;
    const int blocksPerChannel = (kSamples * 2 + (BlockTransfer::kMaxBlockData & ~1) - 1) / (BlockTransfer::kMaxBlockData & ~1);
    const int blocks = blocksPerChannel * kChannels;
    {
        Device device(nullptr, 2);
        EthernetHandler *eth = device.ethernetHandler();
        device.startTransport();
        eth->setTargetIP(kUnit);
        QElapsedTimer settle;
        settle.start();
        while (!eth->isConnected() && settle.elapsed() < 3000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);

        DataAcquisition acquisition(eth, device.confighandler());
        QElapsedTimer clock;
        clock.start();
        const bool ok = acquisition.getData(MeasurementTable::RawInput, 0x7F);
        seconds = clock.nsecsElapsed() / 1e9;
        if (!ok) {
            std::fprintf(stderr, "acquisition failed\n");
            return 1;
        }
        const SimpleTable::Table &columns = acquisition.lineTable().columns();
        identical = columns.size() == kChannels + 1 && columns.at(0).size() == kSamples;
        for (int ch = 0; identical && ch < kChannels; ++ch) {
            const SimpleTable::Column &c = columns.at(ch + 1);
            identical = c.size() == kSamples;
            for (int i = 0; identical && i < kSamples; ++i)
                identical = c.at(i) == sent[ch].at(i);
        }
    }
    const long rssAfter = peakRssKb();

    // The same exchange without any protocol: a 30-byte request frame (8
    // header bytes, the 20-byte block header, 2 CRC bytes) and a full answer
    // frame, stop and wait.
    const int requestSize = 8 + LogBlockHeader::kSize + 2;
    const int answerSize = 8 + LogBlockHeader::kSize + (BlockTransfer::kMaxBlockData & ~1) + 2;
    const double raw = rawExchangeSeconds(requestSize, answerSize, blocks);

    QMetaObject::invokeMethod(sim, [sim] { delete sim; }, Qt::BlockingQueuedConnection);
    unitThread.quit();
    unitThread.wait();

    std::printf("acquisition: %d channels x %d samples, %d blocks in %.3f s = %.0f blocks/s, %s\n", kChannels,
                kSamples, blocks, seconds, blocks / seconds, identical ? "sample-identical" : "MISMATCH");
    if (raw <= 0) {
        std::printf("raw stop-and-wait exchange failed\n");
        return 1;
    }
    std::printf("raw stop-and-wait: %d exchanges of %d/%d bytes in %.3f s = %.0f blocks/s\n", blocks, requestSize,
                answerSize, raw, blocks / raw);
    std::printf("ratio acquisition/raw: %.2fx (goal <= 1.5x)\n", seconds / raw);
    std::printf("peak memory: %ld kB (%ld kB before the acquisition)\n", rssAfter, rssBefore);
    return identical ? 0 : 1;
}
