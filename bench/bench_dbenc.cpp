// Loading one large catalogue file (20,000 mappings, over 11 MB): verify +
// decrypt + merge as the program does it, next to the floor measured in the
// same run: the work no loader of this format can skip, done with the
// libraries' own calls and nothing else:
//   - read the file into memory of the process (freshly allocated, as it is
//     when the program starts: the bytes that are verified must be the ones
//     that are decrypted, so the file cannot stay shared with the disk cache);
//   - mbed TLS: the ECDH key agreement, the SHA-384 + ECDSA signature check,
//     AES-256-CBC of the key block and of the payload;
//   - the format's body CRC over the whole file;
//   - write the plain database to a file (SQLite attaches a file by name);
//   - SQLite's own ATTACH/INSERT ... SELECT/DETACH of that file, all tables in
//     one transaction.
// Library and floor run in turns (their order alternating), and the ratio
// is the median of the turns' ratios, so a busy machine moves both sides.
// Goal: the program's load at most 1.3x the floor. Prints peak memory.
// The turns run in one process, where each finds the memory the earlier ones
// gave back; the program loads its catalogue once, at start-up, into memory
// the process never had. So both sides also load once each in fresh
// processes of their own (in turns too), and that ratio is printed beside.
#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QVector>

#include <malloc.h>

#include <algorithm>
#include <chrono>
#include <time.h>
#include <cstdio>
#include <functional>

#include "cataloguekeys.h"
#include "cataloguestore.h"
#include "crc.h"
#include "cryptohandler.h"
#include "dbencdecoder.h"
#include "dbencformat.h"
#include "dbencpacker.h"

namespace {

// Wall time of f, and (in `cpu`) the CPU time this thread spent in it,
// kernel time included: on a loaded machine the latter leaves out the time
// spent waiting for a core.
double seconds(const std::function<void()> &f, double *cpu = nullptr)
{
    timespec c0{}, c1{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &c0);
    const auto start = std::chrono::steady_clock::now();
    f();
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &c1);
    if (cpu)
        *cpu = double(c1.tv_sec - c0.tv_sec) + double(c1.tv_nsec - c0.tv_nsec) / 1e9;
    return wall;
}

double median(QVector<double> v)
{
    std::sort(v.begin(), v.end());
    const int n = v.size();
    return n == 0 ? 0 : (n % 2 ? v.at(n / 2) : (v.at(n / 2 - 1) + v.at(n / 2)) / 2);
}

QString catalogueSql(int mappings)
{
    QString sql = QStringLiteral("INSERT INTO lubEntry VALUES (1, 'Grease');"
                                 "INSERT INTO prodFamilyEntry VALUES (1, 'Family');"
                                 "INSERT INTO prodTypeEntry VALUES (1, 'Type');"
                                 "INSERT INTO prodSubTypeEntry VALUES (1, 'Variant');"
                                 "INSERT INTO channelParam VALUES (1, 5000.0, 20.0, 1, 2, 1.5);");
    for (int i = 1; i <= mappings; ++i) {
        const double x = i * 1e-6;
        sql += QStringLiteral("INSERT INTO sensors VALUES (%1, 'Sensor number %1 of the benchmark catalogue', 6.0, 18.0);"
                              "INSERT INTO prodSizeEntry VALUES (%1, %1.5);"
                              "INSERT INTO filterEntry VALUES (%1, 'Band-pass filter %1 of the benchmark catalogue', "
                              "%1.0, 20000.0, %2, %3, %2, %4, %5, %6, %7, %6, %8, %9);"
                              "INSERT INTO DeviceEntry VALUES (%1, 1, 1, 1, %1);"
                              "INSERT INTO Mapping VALUES (%1, %1, 1, 1, %1, 1);")
                   .arg(i)
                   .arg(0.9 + x, 0, 'g', 15)
                   .arg(-1.8 - x, 0, 'g', 15)
                   .arg(-1.7 + x, 0, 'g', 15)
                   .arg(0.8 - x, 0, 'g', 15)
                   .arg(0.1 + x, 0, 'g', 15)
                   .arg(0.2 + x, 0, 'g', 15)
                   .arg(-0.9 + x, 0, 'g', 15)
                   .arg(0.2 - x, 0, 'g', 15);
    }
    return sql;
}

QSqlDatabase freshCatalogue(const QString &name)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
    db.setDatabaseName(QStringLiteral(":memory:"));
    db.open();
    CatalogueStore(db).createTables();
    return db;
}

// Milliseconds of each step of one floor turn.
struct Parts
{
    static constexpr int kCount = 7;
    double ms[kCount] = {};
};

double msSince(std::chrono::steady_clock::time_point &mark)
{
    const auto now = std::chrono::steady_clock::now();
    const double ms = std::chrono::duration<double, std::milli>(now - mark).count();
    mark = now;
    return ms;
}

// The unavoidable work of one load with nothing of the program's own around
// it (no checks of results either: the file is known to be good).
void loadFloor(const QString &path, const QString &plainPath, QSqlDatabase &db, Parts &parts)
{
    auto mark = std::chrono::steady_clock::now();
    QFile in(path);
    in.open(QIODevice::ReadOnly);
    QByteArray bytes = in.readAll();
    in.close();
    uint8_t *data = reinterpret_cast<uint8_t *>(bytes.data());
    const size_t size = size_t(bytes.size());
    parts.ms[0] = msSince(mark);

    CryptoHandler crypto;
    uint8_t secret[48];
    crypto.seed();
    crypto.computeSharedSecret(data + DbencFormat::kEphemeralKeyOffset, CatalogueKeys::kToolPrivateKey, secret);
    parts.ms[1] = msSince(mark);
    bool valid = false;
    crypto.verify(data + 96, size - 96, CatalogueKeys::kSignerPublicKey, data, valid);
    parts.ms[2] = msSince(mark);
    volatile uint32_t crc = crc32Words(data + DbencFormat::kBodyCrcStart, uint32_t(size - DbencFormat::kBodyCrcStart));
    (void)crc;
    parts.ms[3] = msSince(mark);
    crypto.aesDecrypt(data + 240, 48, secret, secret + 32);
    crypto.aesDecrypt(data + 288, size - 288, data + 240, data + 272);
    parts.ms[4] = msSince(mark);

    QFile out(plainPath);
    out.open(QIODevice::WriteOnly | QIODevice::Truncate);
    out.write(bytes.constData() + 288, qint64(size - 288));
    out.close();
    bytes = QByteArray();
    parts.ms[5] = msSince(mark);

    QSqlQuery q(db);
    q.exec(QStringLiteral("ATTACH DATABASE '%1' AS db").arg(plainPath));
    db.transaction();
    for (const QString &table : CatalogueStore::tableNames())
        q.exec(QStringLiteral("INSERT INTO %1 SELECT * FROM db.%1").arg(table));
    db.commit();
    q.exec(QStringLiteral("DETACH db"));
    QFile::remove(plainPath);
    parts.ms[6] = msSince(mark);
}

// "VmHWM" (the peak) or "VmRSS" (now) of this process, in kB.
long residentKb(const char *field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(field))
            return line.mid(int(qstrlen(field)) + 1).trimmed().split(' ').value(0).toLong();
    }
    return 0;
}

// Starts a new peak from what is resident now (Linux 4.0 on).
void resetPeak()
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}

} // namespace

// One load in this fresh process ("--once full|floor file plainFile"): prints
// its milliseconds.
int loadOnce(const QStringList &args)
{
    const QString mode = args.value(2);
    const QString path = args.value(3);
    QSqlDatabase db = freshCatalogue(QStringLiteral("once"));
    int result = 0;
    Parts parts;
    const double wall = seconds([&] {
        if (mode == QLatin1String("floor")) {
            loadFloor(path, args.value(4), db, parts);
        } else {
            DbencDecoder decoder([&](const QString &p) { return !CatalogueStore(db).merge(p); });
            result = decoder.decryptAndVerify(path);
        }
    });
    if (result != 0)
        return 1;
    std::printf("%.3f\n", wall * 1e3);
    return 0;
}

// Milliseconds of one load in a fresh process, or a negative number.
double loadInFreshProcess(const QString &mode, const QString &path, const QString &plainPath)
{
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--once"), mode, path, plainPath});
    if (!child.waitForFinished(120000) || child.exitCode() != 0)
        return -1;
    bool ok = false;
    const double ms = child.readAllStandardOutput().trimmed().toDouble(&ok);
    return ok ? ms : -1;
}

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    // The decoder's and wrapper's debug lines would drown the figures.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &, const QString &message) {
        if (type != QtDebugMsg)
            std::fprintf(stderr, "%s\n", qPrintable(message));
    });
    if (app.arguments().value(1) == QLatin1String("--once"))
        return loadOnce(app.arguments());
    QTemporaryDir dir;
    QString error;
    QByteArray plain = DbencPacker::buildCatalogue(catalogueSql(20000), &error);
    if (plain.isEmpty()) {
        std::printf("building the catalogue failed: %s\n", qPrintable(error));
        return 1;
    }
    QByteArray file;
    if (DbencPacker::pack(plain, file) != 0)
        return 1;
    const QString path = dir.filePath(QStringLiteral("bench.dbenc"));
    const QString plainPath = dir.filePath(QStringLiteral("plain.db"));
    QFile out(path);
    out.open(QIODevice::WriteOnly);
    out.write(file);
    out.close();
    const qint64 fileSize = file.size();
    std::printf("catalogue file: %.2f MB, 20000 mappings\n", fileSize / 1e6);
    // One load on its own first: how far it raises the peak (the merged
    // catalogue, which stays, included), before the turns pile up databases.
    // Everything the benchmark built so far is freed, so that the load can
    // reuse that memory as the program would reuse its own.
    file = QByteArray();
    plain = QByteArray();
    malloc_trim(0);  // what is free goes back, or the load would hide in it
    resetPeak();
    const long peakBefore = residentKb("VmRSS");
    {
        QSqlDatabase db = freshCatalogue(QStringLiteral("peak"));
        DbencDecoder decoder([&](const QString &p) { return !CatalogueStore(db).merge(p); });
        if (decoder.decryptAndVerify(path) != 0)
            return 1;
    }
    const long peakOneLoad = residentKb("VmHWM");

    const int rounds = 7;
    double full = 1e9;
    double floor = 1e9;
    Parts bestParts;
    for (double &ms : bestParts.ms)
        ms = 1e9;
    QVector<double> ratios;
    QVector<double> cpuRatios;
    for (int round = 0; round < rounds; ++round) {
        double fullWall = 0, fullCpu = 0;
        auto runFull = [&]() -> bool {
            QSqlDatabase db = freshCatalogue(QStringLiteral("full%1").arg(round));
            CatalogueStore store(db);
            int result = -1;
            fullWall = seconds(
                [&] {
                    DbencDecoder decoder([&](const QString &p) { return !store.merge(p); });
                    result = decoder.decryptAndVerify(path);
                },
                &fullCpu);
            if (result != 0)
                std::printf("decoding failed: %d\n", result);
            return result == 0;
        };
        double floorWall = 0, floorCpu = 0;
        Parts floorParts;
        auto runFloor = [&] {
            QSqlDatabase db = freshCatalogue(QStringLiteral("floor%1").arg(round));
            floorWall = seconds([&] { loadFloor(path, plainPath, db, floorParts); }, &floorCpu);
        };
        // Whichever runs second finds the memory the first one touched.
        if (round % 2 == 0) {
            if (!runFull())
                return 1;
            runFloor();
        } else {
            runFloor();
            if (!runFull())
                return 1;
        }
        full = std::min(full, fullWall);
        floor = std::min(floor, floorWall);
        for (int i = 0; i < Parts::kCount; ++i)
            bestParts.ms[i] = std::min(bestParts.ms[i], floorParts.ms[i]);
        ratios.append(fullWall / floorWall);
        cpuRatios.append(fullCpu / floorCpu);
    }
    std::printf("verify + decrypt + merge  %8.1f ms (best turn)\n", full * 1e3);
    std::printf("floor                     %8.1f ms (best turn)\n", floor * 1e3);
    std::printf("  floor parts (best): read %.1f, ECDH %.1f, verify %.1f, CRC %.1f, AES %.1f, write plain %.1f, "
                "ATTACH/INSERT %.1f ms\n",
                bestParts.ms[0], bestParts.ms[1], bestParts.ms[2], bestParts.ms[3], bestParts.ms[4], bestParts.ms[5],
                bestParts.ms[6]);
    std::printf("load/floor: ratio %.2fx (goal <= 1.3x), median of %d interleaved turns; CPU time ratio %.2fx\n",
                median(ratios), rounds, median(cpuRatios));
    // Start-up: each side once per fresh process, in turns.
    const int starts = 5;
    double fullStart = 1e9;
    double floorStart = 1e9;
    QVector<double> startRatios;
    for (int turn = 0; turn < starts; ++turn) {
        double fullMs = 0, floorMs = 0;
        if (turn % 2 == 0) {
            fullMs = loadInFreshProcess(QStringLiteral("full"), path, plainPath);
            floorMs = loadInFreshProcess(QStringLiteral("floor"), path, plainPath);
        } else {
            floorMs = loadInFreshProcess(QStringLiteral("floor"), path, plainPath);
            fullMs = loadInFreshProcess(QStringLiteral("full"), path, plainPath);
        }
        if (fullMs <= 0 || floorMs <= 0) {
            std::printf("a load in a fresh process failed\n");
            return 1;
        }
        fullStart = std::min(fullStart, fullMs);
        floorStart = std::min(floorStart, floorMs);
        startRatios.append(fullMs / floorMs);
    }
    std::printf("fresh process, one load: program %.1f ms, floor %.1f ms (best of %d each); ratio %.2fx "
                "(goal <= 1.3x), median of the turns\n",
                fullStart, floorStart, starts, median(startRatios));
    std::printf("peak memory of one load   %8.1f MB over the %.1f MB before it (file %.1f MB)\n",
                (peakOneLoad - peakBefore) / 1024.0, peakBefore / 1024.0, fileSize / 1e6);
    return 0;
}
