// Downloads a 100,000-record log (3.2 MB) from the simulated unit over
// loopback, in turns with a raw stop-and-wait exchange of the same number
// and size of datagrams between two plain UDP sockets. Prints blocks per
// second for both, their ratio (goal: the log download at most 1.5x the raw
// exchange) and the peak memory of the process.
//
// Loopback only (127.0.9.x): it never needs the test network namespace.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <cstdio>

#include "blocktransfer.h"
#include "device.h"
#include "metatypes.h"
#include "rawexchange.h"
#include "unitsim.h"
#include "unitsimblocks.h"

namespace {

const QHostAddress kUnit(QStringLiteral("127.0.9.2"));
const QHostAddress kRawServer(QStringLiteral("127.0.9.3"));
const QHostAddress kRawClient(QStringLiteral("127.0.9.1"));
constexpr int kRecords = 100000;

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    qInstallMessageHandler(benchnet::quietDebug);
    registerMetaTypes();

    // The unit on a thread of its own, as a real unit is a separate machine.
    QThread unitThread;
    unitThread.start();
    auto *sim = new UnitSim;
    sim->setAddress(kUnit);
    sim->setListenBroadcast(false);
    sim->setPushInterval(0);
    UnitSimBlocks::of(sim)->setLogRecords(kRecords, 0);
    const QByteArray area = UnitSimBlocks::of(sim)->logArea();
    sim->moveToThread(&unitThread);
    bool started = false;
    QString error;
    QMetaObject::invokeMethod(sim, [&] { started = sim->start(&error); }, Qt::BlockingQueuedConnection);
    if (!started) {
        std::fprintf(stderr, "cannot start the simulated unit: %s\n", qPrintable(error));
        return 1;
    }

    const long rssBefore = benchnet::peakRssKb();
    const int blocks = (area.size() + BlockTransfer::kMaxBlockData - 1) / BlockTransfer::kMaxBlockData;
    // The same exchange without any protocol: a 30-byte request frame (8
    // header bytes, the 20-byte block header, 2 CRC bytes) and a 1500-byte
    // answer frame, stop and wait.
    const int requestSize = 8 + LogBlockHeader::kSize + 2;
    const int answerSize = 8 + LogBlockHeader::kSize + BlockTransfer::kMaxBlockData + 2;
    constexpr int kTurns = 7;
    benchnet::Interleaved turns;
    bool identical = false;
    {
        Device device(nullptr, 2);
        EthernetHandler *eth = device.ethernetHandler();
        device.startTransport();
        eth->setTargetIP(kUnit);
        QElapsedTimer settle;
        settle.start();
        while (!eth->isConnected() && settle.elapsed() < 3000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);

        for (int turn = 0; turn < kTurns; ++turn) {
            LogBlockHeader request;
            QElapsedTimer clock;
            clock.start();
            const errorCode_e result = eth->readLog(request);
            const double seconds = clock.nsecsElapsed() / 1e9;
            if (result != ERR_OK) {
                std::fprintf(stderr, "log download failed: %d\n", int(result));
                return 1;
            }
            if (turn == 0) {
                QVector<LogRecord> records;
                eth->getLogEntries(records);
                identical = records.size() == kRecords;
                for (int i = 0; identical && i < records.size(); ++i)
                    identical = records.at(i).toByteArray() == area.mid(i * LogRecord::kSize, LogRecord::kSize);
            }
            const double raw = benchnet::rawExchangeSeconds(kRawServer, kRawClient, requestSize, answerSize, blocks);
            if (raw <= 0) {
                std::printf("raw stop-and-wait exchange failed\n");
                return 1;
            }
            turns.add(seconds, raw);
        }
    }
    const long rssAfter = benchnet::peakRssKb();

    QMetaObject::invokeMethod(sim, [sim] { delete sim; }, Qt::BlockingQueuedConnection);
    unitThread.quit();
    unitThread.wait();

    const double seconds = benchnet::Interleaved::best(turns.library);
    const double raw = benchnet::Interleaved::best(turns.floor);
    std::printf("log download: %d records, %d bytes, %d blocks in %.3f s = %.0f blocks/s (best turn), %s\n",
                kRecords, int(area.size()), blocks, seconds, blocks / seconds,
                identical ? "byte-identical" : "MISMATCH");
    std::printf("raw stop-and-wait: %d exchanges of %d/%d bytes in %.3f s = %.0f blocks/s (best turn)\n", blocks,
                requestSize, answerSize, raw, blocks / raw);
    turns.print("download/raw", 1.5);
    std::printf("peak memory: %ld kB (%ld kB before the download)\n", rssAfter, rssBefore);
    return identical ? 0 : 1;
}
