// Decodes 100,000 log records (the simulated unit's realistic mix) into the
// log entry tree and writes the tree's text export, in one run. Prints
// records per second for each step and the resident memory the tree takes
// per record (goals: at least 200,000 records per second for decoding, at
// most 1 KB per record).
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>
#include <cstdio>
#include <sys/resource.h>

#include "logentry.h"
#include "logentryinfo.h"
#include "treemodel.h"
#include "unitsimblocks.h"

namespace {

constexpr int kRecords = 100000;

long peakRssKb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;  // kilobytes on Linux
}

// The resident set now, in kilobytes.
long rssKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int records = argc > 1 ? qMax(1, atoi(argv[1])) : kRecords;

    const QByteArray raw = UnitSimBlocks::makeLogRecords(records);
    QVector<LogRecord> log;
    log.reserve(records);
    for (int at = 0; at < raw.size(); at += LogRecord::kSize)
        log << LogRecord::fromBytes(reinterpret_cast<const uint8_t *>(raw.constData()) + at);

    const long before = rssKb();
    TreeModel model;
    QElapsedTimer clock;
    clock.start();
    LogEntryBase *root = model.rootItem();
    root->appendNew<LogEntryinfo>(VersionInfo(nullptr), root);
    int rows = 0;
    for (const LogRecord &r : log)
        rows += root->appendNew<LogEntry>(r, root)->childCount();
    model.notifyReset();
    const qint64 decodeNs = clock.nsecsElapsed();
    const long after = rssKb();

    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("log.txt")));
    if (!file.open(QIODevice::WriteOnly)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(file.fileName()));
        return 1;
    }
    clock.restart();
    {
        QTextStream out(&file);
        out.setCodec("UTF-8");
        root->writeTree(out, 0);
    }
    file.close();
    const qint64 exportNs = clock.nsecsElapsed();

    const double decodeRate = records / (decodeNs / 1e9);
    const double exportRate = records / (exportNs / 1e9);
    const double perRecord = (after - before) * 1024.0 / records;
    std::printf("records: %d, detail rows: %d\n", records, rows);
    std::printf("decode:      %10.0f records/s (%.1f ms)  goal >= 200000  %s\n", decodeRate, decodeNs / 1e6,
                decodeRate >= 200000 ? "ok" : "MISSED");
    std::printf("text export: %10.0f records/s (%.1f ms, %lld bytes)\n", exportRate, exportNs / 1e6,
                static_cast<long long>(file.size()));
    std::printf("tree memory: %10.0f bytes per record  goal <= 1024  %s\n", perRecord,
                perRecord <= 1024 ? "ok" : "MISSED");
    std::printf("peak memory: %ld kB\n", peakRssKb());
    return 0;
}
