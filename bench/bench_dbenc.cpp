// Loading one large catalogue file (20,000 mappings, over 5 MB): verify +
// decrypt + merge as the program does it, next to the floor measured in the
// same run: mbed TLS's signature check and AES decryption of the same bytes
// alone, plus SQLite's own ATTACH/INSERT of the plain file.
// Library and floor run in turns (their order alternating), and the ratio
// is the median of the turns' ratios, so a busy machine moves both sides.
// Goal: the program's load at most 1.3x the floor. Prints peak memory.
#include <QCoreApplication>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QVector>

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <time.h>
#include <cstdio>
#include <functional>

#include "cataloguekeys.h"
#include "cataloguestore.h"
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

long peakKb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    // The decoder's and wrapper's debug lines would drown the figures.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &, const QString &message) {
        if (type != QtDebugMsg)
            std::fprintf(stderr, "%s\n", qPrintable(message));
    });
    QTemporaryDir dir;
    QString error;
    const QByteArray plain = DbencPacker::buildCatalogue(catalogueSql(20000), &error);
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
    QFile plainOut(plainPath);
    plainOut.open(QIODevice::WriteOnly);
    plainOut.write(plain);
    plainOut.close();
    std::printf("catalogue file: %.2f MB, 20000 mappings\n", file.size() / 1e6);
    const long peakBefore = peakKb();

    const int rounds = 7;
    double full = 1e9;
    double floorCrypto = 1e9;
    double floorSql = 1e9;
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
        double cryptoWall = 0, cryptoCpu = 0, sqlWall = 0, sqlCpu = 0;
        auto runFloor = [&] {
            {
                QByteArray bytes = file;
                uint8_t *data = reinterpret_cast<uint8_t *>(bytes.data());
                CryptoHandler crypto;
                uint8_t secret[48];
                crypto.seed();
                crypto.computeSharedSecret(data + DbencFormat::kEphemeralKeyOffset, CatalogueKeys::kToolPrivateKey,
                                           secret);
                cryptoWall = seconds(
                    [&] {
                        bool valid = false;
                        crypto.verify(data + 96, size_t(bytes.size() - 96), CatalogueKeys::kSignerPublicKey, data,
                                      valid);
                        crypto.aesDecrypt(data + 240, 48, secret, secret + 32);
                        crypto.aesDecrypt(data + 288, size_t(bytes.size() - 288), data + 240, data + 272);
                    },
                    &cryptoCpu);
            }
            QSqlDatabase db = freshCatalogue(QStringLiteral("floor%1").arg(round));
            sqlWall = seconds(
                [&] {
                    QSqlQuery q(db);
                    q.exec(QStringLiteral("ATTACH DATABASE '%1' AS db").arg(plainPath));
                    for (const QString &table : CatalogueStore::tableNames())
                        q.exec(QStringLiteral("INSERT INTO %1 SELECT * FROM db.%1").arg(table));
                    q.exec(QStringLiteral("DETACH db"));
                },
                &sqlCpu);
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
        floorCrypto = std::min(floorCrypto, cryptoWall);
        floorSql = std::min(floorSql, sqlWall);
        ratios.append(fullWall / (cryptoWall + sqlWall));
        cpuRatios.append(fullCpu / (cryptoCpu + sqlCpu));
    }
    const double floor = floorCrypto + floorSql;
    std::printf("verify + decrypt + merge  %8.1f ms (best turn)\n", full * 1e3);
    std::printf("floor                     %8.1f ms  (verify + AES %.1f ms, ATTACH/INSERT %.1f ms, best turns)\n",
                floor * 1e3, floorCrypto * 1e3, floorSql * 1e3);
    std::printf("load/floor: ratio %.2fx (goal <= 1.3x), median of %d interleaved turns; CPU time ratio %.2fx\n",
                median(ratios), rounds, median(cpuRatios));
    std::printf("peak memory               %8.1f MB (%.1f MB before loading)\n", peakKb() / 1024.0,
                peakBefore / 1024.0);
    return 0;
}
