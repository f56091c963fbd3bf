// Reads seven channels of 100,000 raw samples each from the simulated unit
// through the data page's acquisition (one block transfer per channel, the
// table built for the graph), then runs a raw stop-and-wait exchange of the
// same number and size of datagrams between two plain UDP sockets, in turns.
// Prints both times, their ratio (goal: the acquisition at most 1.5x the raw
// exchange) and the peak memory of the process.
//
// Loopback only (127.0.9.x): it never needs the test network namespace.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <cstdio>

#include "blocktransfer.h"
#include "dataacquisition.h"
#include "device.h"
#include "metatypes.h"
#include "rawexchange.h"
#include "unitsim.h"
#include "unitsimblocks.h"

namespace {

const QHostAddress kUnit(QStringLiteral("127.0.9.22"));
const QHostAddress kRawServer(QStringLiteral("127.0.9.23"));
const QHostAddress kRawClient(QStringLiteral("127.0.9.21"));
constexpr int kChannels = 7;
constexpr int kSamples = 100000;

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

    const long rssBefore = benchnet::peakRssKb();
    bool identical = false;
    const int blocksPerChannel = (kSamples * 2 + (BlockTransfer::kMaxBlockData & ~1) - 1) / (BlockTransfer::kMaxBlockData & ~1);
    const int blocks = blocksPerChannel * kChannels;
    // The same exchange without any protocol: a 30-byte request frame (8
    // header bytes, the 20-byte block header, 2 CRC bytes) and a full answer
    // frame, stop and wait.
    const int requestSize = 8 + LogBlockHeader::kSize + 2;
    const int answerSize = 8 + LogBlockHeader::kSize + (BlockTransfer::kMaxBlockData & ~1) + 2;
    constexpr int kTurns = 7;
    benchnet::Interleaved turns;
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
        for (int turn = 0; turn < kTurns; ++turn) {
            QElapsedTimer clock;
            clock.start();
            const bool ok = acquisition.getData(MeasurementTable::RawInput, 0x7F);
            const double seconds = clock.nsecsElapsed() / 1e9;
            if (!ok) {
                std::fprintf(stderr, "acquisition failed\n");
                return 1;
            }
            if (turn == 0) {
                const SimpleTable::Table &columns = acquisition.lineTable().columns();
                identical = columns.size() == kChannels + 1 && columns.at(0).size() == kSamples;
                for (int ch = 0; identical && ch < kChannels; ++ch) {
                    const SimpleTable::Column &c = columns.at(ch + 1);
                    identical = c.size() == kSamples;
                    for (int i = 0; identical && i < kSamples; ++i)
                        identical = c.at(i) == sent[ch].at(i);
                }
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
    std::printf("acquisition: %d channels x %d samples, %d blocks in %.3f s = %.0f blocks/s (best turn), %s\n",
                kChannels, kSamples, blocks, seconds, blocks / seconds,
                identical ? "sample-identical" : "MISMATCH");
    std::printf("raw stop-and-wait: %d exchanges of %d/%d bytes in %.3f s = %.0f blocks/s (best turn)\n", blocks,
                requestSize, answerSize, raw, blocks / raw);
    turns.print("acquisition/raw", 1.5);
    std::printf("peak memory: %ld kB (%ld kB before the acquisition)\n", rssAfter, rssBefore);
    return identical ? 0 : 1;
}
