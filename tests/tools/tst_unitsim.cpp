// The simulated unit itself, seen from a raw UDP socket: the program's
// options and log, and the fault knobs the other tests rely on.
#include <QNetworkDatagram>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QUdpSocket>

#include "settle.h"
#include "ethernetframe.h"
#include "byteorder.h"
#include "testnet.h"
#include "unitsim.h"
#include "unitsimmain.h"

namespace {

const QHostAddress kUnit(QStringLiteral("127.0.4.10"));
const QHostAddress kProgramUnit(QStringLiteral("127.0.4.11"));

// A tool-side socket that sends requests and collects whatever comes back.
struct Probe
{
    QUdpSocket socket;
    Probe() { socket.bind(QHostAddress(QHostAddress::LocalHost), 0); }

    void send(const QHostAddress &unit, uint16_t seq, uint8_t command, const QByteArray &payload = {})
    {
        socket.writeDatagram(buildFrame(seq, command, payload), unit, kDevicePort);
    }
    // What the in-process `sim` has answered at once to everything sent so
    // far: it answers while it reads a request, so once it has read a
    // datagram sent after them, those answers wait in this socket. A delayed
    // answer comes later.
    QVector<QByteArray> answersSoFar(UnitSim &sim)
    {
        QVector<QByteArray> out;
        if (!settle::unitHasRead(&sim, sim.address()))
            qWarning("the unit did not read what was sent");
        while (socket.hasPendingDatagrams())
            out.append(socket.receiveDatagram().data());
        return out;
    }
    QByteArray waitOne(int ms = 20000)
    {
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < ms) {
            if (socket.hasPendingDatagrams())
                return socket.receiveDatagram().data();
            QTest::qWait(5);
        }
        return {};
    }
};

FrameHeader headerOf(const QByteArray &d) { return FrameHeader::parse(reinterpret_cast<const uint8_t *>(d.constData())); }

} // namespace

class TestUnitSim : public QObject
{
    Q_OBJECT

private slots:
    void refusesLocalHost();
    void answersAndLogs();
    void faults_data();
    void faults();
    void delayedAndDuplicated();
    void staleAnswers();
    void staleRatioSpreadsEvenly();
    void randomFaultsAndRetries();
    void errorStatusAndUnknownCommand();
    void badRequestsAreIgnored();
    void writeChecksWidth();
    void fieldbusModuleKeepsItsRecord_data();
    void fieldbusModuleKeepsItsRecord();
    void programPushesAndLogs();
    void programRejectsBadOptions();
    void programHelp_data();
    void programHelp();
};

void TestUnitSim::refusesLocalHost()
{
    UnitSim sim;
    sim.setAddress(QHostAddress::LocalHost);
    QString error;
    QVERIFY(!sim.start(&error));
    QVERIFY(error.contains(QStringLiteral("127.0.0.1")));
    QVERIFY(!sim.isRunning());
}

void TestUnitSim::answersAndLogs()
{
    KORVANTIS_REQUIRE_TESTNET();
    UnitSim sim;
    QVERIFY(sim.startQuiet(kUnit));
    Probe probe;
    probe.send(kUnit, 7, 0xE1, QByteArray::fromHex("012004"));
    const QByteArray answer = probe.waitOne();
    QCOMPARE(EthernetFrame::check(answer), FrameCheck::Ok);
    const FrameHeader h = headerOf(answer);
    QCOMPARE(h.sequence, uint16_t(7));
    QCOMPARE(h.flags, uint8_t(FrameFlag::Answer));
    QCOMPARE(h.command, uint8_t(0xE1));
    QCOMPARE(answer.mid(8, 3).toHex(), QByteArray("012004"));
    QCOMPARE(answer.mid(11, 9), QByteArray("Channel 5"));

    QCOMPARE(sim.requestLog().size(), 1);
    const UnitSimRequest &r = sim.requestLog().at(0);
    QCOMPARE(r.command, uint8_t(0xE1));
    QCOMPARE(r.paramId, 0x2001);
    QCOMPARE(r.index, 4);
    QCOMPARE(r.source, QHostAddress(QHostAddress::LocalHost));
    QCOMPARE(sim.lastPeerPort(), probe.socket.localPort());
}

void TestUnitSim::faults_data()
{
    QTest::addColumn<int>("fault");
    QTest::addColumn<int>("expectedCheck");
    QTest::newRow("bad CRC") << 0 << int(FrameCheck::CrcMismatch);
    QTest::newRow("cut short") << 1 << int(FrameCheck::Incomplete);
    QTest::newRow("wrong sequence") << 2 << int(FrameCheck::Ok);
    QTest::newRow("wrong command") << 3 << int(FrameCheck::Ok);
    QTest::newRow("truncated payload") << 4 << int(FrameCheck::Ok);
}

// Each fault spoils exactly the next answer; the one after is good.
void TestUnitSim::faults()
{
    KORVANTIS_REQUIRE_TESTNET();
    QFETCH(int, fault);
    QFETCH(int, expectedCheck);
    UnitSim sim;
    QVERIFY(sim.startQuiet(kUnit));
    UnitSimFaults &f = sim.faults();
    switch (fault) {
    case 0: f.corruptCrc = 1; break;
    case 1: f.shortDatagram = 1; break;
    case 2: f.wrongSequence = 1; break;
    case 3: f.wrongCommand = 1; break;
    case 4: f.truncatePayload = 1; f.truncateTo = 10; break;
    }
    Probe probe;
    probe.send(kUnit, 3, 0x71);
    const QByteArray bad = probe.waitOne();
    QVERIFY(!bad.isEmpty());
    QCOMPARE(int(EthernetFrame::check(bad)), expectedCheck);
    if (fault == 2)
        QCOMPARE(headerOf(bad).sequence, uint16_t(4));
    if (fault == 3)
        QCOMPARE(headerOf(bad).command, uint8_t(0x72));
    if (fault == 4)
        QCOMPARE(headerOf(bad).length, uint16_t(10));

    probe.send(kUnit, 4, 0x71);
    const QByteArray good = probe.waitOne();
    QCOMPARE(EthernetFrame::check(good), FrameCheck::Ok);
    QCOMPARE(headerOf(good).sequence, uint16_t(4));
    QCOMPARE(headerOf(good).length, uint16_t(50));
}

void TestUnitSim::delayedAndDuplicated()
{
    KORVANTIS_REQUIRE_TESTNET();
    UnitSim sim;
    QVERIFY(sim.startQuiet(kUnit));
    Probe probe;
    sim.faults().duplicateAnswers = 1;
    sim.faults().dropAnswers = 1;
    probe.send(kUnit, 1, 0x71);  // dropped
    probe.send(kUnit, 2, 0x71);  // twice
    probe.send(kUnit, 3, 0x71);  // once
    const auto got = probe.answersSoFar(sim);
    QCOMPARE(got.size(), 3);
    QCOMPARE(headerOf(got.at(0)).sequence, uint16_t(2));
    QCOMPARE(headerOf(got.at(1)).sequence, uint16_t(2));
    QCOMPARE(headerOf(got.at(2)).sequence, uint16_t(3));

    sim.faults().delayMs = 1000;  // far longer than reading the request takes
    probe.send(kUnit, 4, 0x71);
    QCOMPARE(probe.answersSoFar(sim).size(), 0);
    QVERIFY(!probe.waitOne().isEmpty());
}

// A stale answer is the earlier answer of the same kind, byte for byte,
// right behind the new one; other kinds and heartbeats get none.
void TestUnitSim::staleAnswers()
{
    KORVANTIS_REQUIRE_TESTNET();
    UnitSim sim;
    QVERIFY(sim.startQuiet(kUnit));
    Probe probe;
    probe.send(kUnit, 1, 0xE1, QByteArray::fromHex("2300"));  // channel-enable mask
    const QByteArray first = probe.waitOne();
    QCOMPARE(first.mid(10, 1).toHex(), QByteArray("7f"));
    probe.send(kUnit, 2, 0xEF, QByteArray::fromHex("23006f"));
    QVERIFY(!probe.waitOne().isEmpty());

    sim.faults().staleAnswers = 1;
    probe.send(kUnit, 3, 0x71);                                // heartbeat: no stale copy, counter kept
    probe.send(kUnit, 4, 0xE1, QByteArray::fromHex("2200"));  // first of its kind: nothing behind it
    probe.send(kUnit, 5, 0xE1, QByteArray::fromHex("2300"));
    const auto got = probe.answersSoFar(sim);
    QCOMPARE(got.size(), 4);
    QCOMPARE(headerOf(got.at(0)).command, uint8_t(0x71));
    QCOMPARE(headerOf(got.at(1)).sequence, uint16_t(4));
    QCOMPARE(headerOf(got.at(2)).sequence, uint16_t(5));
    QCOMPARE(got.at(2).mid(10, 1).toHex(), QByteArray("6f"));
    QCOMPARE(got.at(3), first);
    QCOMPARE(sim.faults().staleAnswers, 0);

    probe.send(kUnit, 6, 0xE1, QByteArray::fromHex("2300"));
    QCOMPARE(probe.answersSoFar(sim).size(), 1);
}

void TestUnitSim::staleRatioSpreadsEvenly()
{
    KORVANTIS_REQUIRE_TESTNET();
    UnitSim sim;
    QVERIFY(sim.startQuiet(kUnit));
    Probe probe;
    probe.send(kUnit, 1, 0xE0);
    QVERIFY(!probe.waitOne().isEmpty());
    sim.faults().staleRatio = 1.0 / 3.0;
    int stale = 0;
    for (uint16_t seq = 2; seq < 11; ++seq) {
        probe.send(kUnit, seq, 0xE0);
        const auto got = probe.answersSoFar(sim);
        QVERIFY(!got.isEmpty());
        QCOMPARE(headerOf(got.at(0)).sequence, seq);
        if (got.size() == 2) {
            QCOMPARE(headerOf(got.at(1)).sequence, uint16_t(seq - 1));
            ++stale;
        }
    }
    QCOMPARE(stale, 3);
}

void TestUnitSim::randomFaultsAndRetries()
{
    KORVANTIS_REQUIRE_TESTNET();
    UnitSim sim;
    QVERIFY(sim.startQuiet(kUnit));
    sim.setRecogniseRetries(true);
    Probe probe;

    // Certain faults, so that the outcome does not depend on the draw.
    sim.faults().dropPercent = 100;
    probe.send(kUnit, 1, 0x71);
    QCOMPARE(probe.answersSoFar(sim).size(), 0);
    QCOMPARE(sim.randomDrops(), 1);
    sim.faults().dropPercent = 0;
    sim.faults().duplicatePercent = 100;
    probe.send(kUnit, 2, 0x71);
    QCOMPARE(probe.answersSoFar(sim).size(), 2);
    sim.faults().duplicatePercent = 0;
    sim.faults().latePercent = 100;
    sim.faults().lateMs = 1000;  // far longer than reading the request takes
    probe.send(kUnit, 3, 0x71);
    QCOMPARE(probe.answersSoFar(sim).size(), 0);
    QVERIFY(!probe.waitOne().isEmpty());
    QCOMPARE(sim.randomLate(), 1);
    sim.faults().latePercent = 0;

    // A write sent again with its sequence number is answered, not redone;
    // the same write under a new sequence number is carried out.
    const QByteArray write = QByteArray::fromHex("22000500");
    probe.send(kUnit, 4, 0xEF, write);
    QCOMPARE(headerOf(probe.waitOne()).flags, uint8_t(FrameFlag::Answer));
    sim.parameters().setValue(0x22, QByteArray::fromHex("0700"));
    probe.send(kUnit, 4, 0xEF, write);
    const QByteArray again = probe.waitOne();
    QCOMPARE(headerOf(again).flags, uint8_t(FrameFlag::Answer));
    QCOMPARE(headerOf(again).sequence, uint16_t(4));
    QCOMPARE(sim.parameters().value(0x22).toHex(), QByteArray("0700"));
    QCOMPARE(sim.retriesRecognised(), 1);
    probe.send(kUnit, 5, 0xEF, write);
    QVERIFY(!probe.waitOne().isEmpty());
    QCOMPARE(sim.parameters().value(0x22).toHex(), QByteArray("0500"));
    QCOMPARE(sim.requestLog().size(), 6);
}

void TestUnitSim::errorStatusAndUnknownCommand()
{
    KORVANTIS_REQUIRE_TESTNET();
    UnitSim sim;
    QVERIFY(sim.startQuiet(kUnit));
    sim.setErrorStatus(0xE1, 0x2000, -16);
    Probe probe;
    probe.send(kUnit, 1, 0xE1, QByteArray::fromHex("0020"));
    QByteArray a = probe.waitOne();
    QCOMPARE(headerOf(a).flags, uint8_t(FrameFlag::Answer | FrameFlag::Error));
    QCOMPARE(le::i32(reinterpret_cast<const uint8_t *>(a.constData()) + 8), -16);
    // Another parameter of the same command is answered normally.
    probe.send(kUnit, 2, 0xE1, QByteArray::fromHex("2000"));
    a = probe.waitOne();
    QCOMPARE(headerOf(a).flags, uint8_t(FrameFlag::Answer));
    // A command the unit does not know gets an error answer.
    probe.send(kUnit, 3, 0x99);
    a = probe.waitOne();
    QCOMPARE(headerOf(a).flags, uint8_t(FrameFlag::Answer | FrameFlag::Error));
    QCOMPARE(le::i32(reinterpret_cast<const uint8_t *>(a.constData()) + 8), -17);
}

void TestUnitSim::badRequestsAreIgnored()
{
    KORVANTIS_REQUIRE_TESTNET();
    UnitSim sim;
    QVERIFY(sim.startQuiet(kUnit));
    Probe probe;
    QByteArray bad = buildFrame(1, 0x71, QByteArray());
    bad[9] = char(bad.at(9) ^ 0x40);
    probe.socket.writeDatagram(bad, kUnit, kDevicePort);
    probe.socket.writeDatagram(QByteArray::fromHex("0100807100"), kUnit, kDevicePort);
    probe.socket.writeDatagram(QByteArray(), kUnit, kDevicePort);
    // Not a request (no 0x80): nothing to answer.
    probe.socket.writeDatagram(buildFrame(2, 0x71, QByteArray(), FrameFlag::Answer), kUnit, kDevicePort);
    QCOMPARE(probe.answersSoFar(sim).size(), 0);
    QCOMPARE(sim.requestLog().size(), 0);
    // And the unit still works.
    probe.send(kUnit, 3, 0x71);
    QVERIFY(!probe.waitOne().isEmpty());
}

void TestUnitSim::writeChecksWidth()
{
    KORVANTIS_REQUIRE_TESTNET();
    UnitSim sim;
    QVERIFY(sim.startQuiet(kUnit));
    Probe probe;
    // Debounce is 2 bytes: 3 are refused, the store keeps its value.
    probe.send(kUnit, 1, 0xEF, QByteArray::fromHex("2200050607"));
    QByteArray a = probe.waitOne();
    QVERIFY(headerOf(a).flags & FrameFlag::Error);
    QCOMPARE(sim.parameters().value(0x22).toHex(), QByteArray("6400"));
    probe.send(kUnit, 2, 0xEF, QByteArray::fromHex("22000500"));
    a = probe.waitOne();
    QCOMPARE(headerOf(a).flags, uint8_t(FrameFlag::Answer));
    QCOMPARE(sim.parameters().value(0x22).toHex(), QByteArray("0500"));
    QCOMPARE(sim.requestLog().last().value.toHex(), QByteArray("0500"));
    // The MAC address cannot be written.
    probe.send(kUnit, 3, 0xEF, QByteArray::fromHex("02100102030405060708"));
    QVERIFY(headerOf(probe.waitOne()).flags & FrameFlag::Error);
}

void TestUnitSim::fieldbusModuleKeepsItsRecord_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("offset");      // a setting of the module's own kind
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("Modbus-TCP: time-out 60 s, big endian") << 0x80 << 0x14A << QByteArray::fromHex("3c00000001");
    QTest::newRow("PROFINET RT: station name") << 0x84 << 0x146 << QByteArray("korvantis-ppu-pn\0", 17);
    QTest::newRow("EtherCAT: device ID") << 0x87 << 0x146 << QByteArray::fromHex("0001");
}

// A unit with a fieldbus module reports its type in the heartbeat and keeps
// a record of that module with the defaults of its kind; written over with
// another module's record it keeps what was written (as the tool's fault let
// it happen), and a reset to the defaults gives it its own record again.
void TestUnitSim::fieldbusModuleKeepsItsRecord()
{
    KORVANTIS_REQUIRE_TESTNET();
    QFETCH(int, type);
    QFETCH(int, offset);
    QFETCH(QByteArray, bytes);
    UnitSim sim;
    sim.setFieldbusModule(uint16_t(type));
    QVERIFY(sim.startQuiet(kUnit));
    Probe probe;
    uint16_t seq = 0;
    const auto request = [&](uint8_t command, const QByteArray &payload) {
        probe.send(kUnit, ++seq, command, payload);
        const QByteArray answer = probe.waitOne();
        if (headerOf(answer).sequence != seq || headerOf(answer).flags != uint8_t(FrameFlag::Answer))
            return QByteArray();
        return answer.mid(kFrameHeaderSize, headerOf(answer).length);
    };
    const auto record = [&] { return request(0xE1, QByteArray::fromHex("0030")).mid(2, 567); };
    QByteArray typeBytes(2, '\0');
    le::put16(reinterpret_cast<uint8_t *>(typeBytes.data()), uint16_t(type));

    QCOMPARE(request(0x71, {}).mid(31, 2).toHex(), typeBytes.toHex());
    QByteArray own = record();
    QCOMPARE(own.size(), 567);
    QCOMPARE(own.mid(0x144, 2).toHex(), typeBytes.toHex());
    QCOMPARE(own.mid(offset, bytes.size()).toHex(), bytes.toHex());

    QByteArray other(567, '\x5a');
    other[0x144] = char(0x9F);
    other[0x145] = 0;
    QVERIFY(!request(0xEF, QByteArray::fromHex("0030") + other).isNull());
    QCOMPARE(record().toHex(), other.toHex());

    QVERIFY(!request(0xED, QByteArray::fromHex("2000")).isNull());
    QCOMPARE(record().toHex(), own.toHex());
    QCOMPARE(request(0x71, {}).mid(31, 2).toHex(), typeBytes.toHex());
}

void TestUnitSim::programPushesAndLogs()
{
    KORVANTIS_REQUIRE_TESTNET();
    const QString program = testnet::binDir() + QStringLiteral("/KorvantisUnitSim");
    if (!QFile::exists(program))
        QSKIP("KorvantisUnitSim is not built");
    QTemporaryDir dir;
    const QString logFile = dir.filePath(QStringLiteral("requests.log"));
    QProcess unit;
    unit.start(program, {QStringLiteral("--address"), kProgramUnit.toString(), QStringLiteral("--push-interval"),
                         QStringLiteral("50"), QStringLiteral("--log"), logFile, QStringLiteral("--no-broadcast"),
                         QStringLiteral("--error-status"), QStringLiteral("0xE1:0x20=-16"), QStringLiteral("--fieldbus"),
                         QStringLiteral("0x93")});
    QVERIFY(unit.waitForReadyRead(5000));

    Probe probe;
    probe.send(kProgramUnit, 1, 0x71);
    const QByteArray answer = probe.waitOne();
    QCOMPARE(headerOf(answer).flags, uint8_t(FrameFlag::Answer));
    QCOMPARE(headerOf(answer).length, uint16_t(50));
    // The fitted fieldbus module's network type, at byte 31 of the state.
    QCOMPARE(answer.mid(kFrameHeaderSize + 31, 2), QByteArray::fromHex("9300"));
    // Reports of its own follow, to the address it last heard from.
    const QByteArray report = probe.waitOne();
    QCOMPARE(headerOf(report).flags, uint8_t(FrameFlag::KeepAlive));
    QCOMPARE(headerOf(report).command, uint8_t(0x71));
    QCOMPARE(headerOf(report).length, uint16_t(50));

    probe.send(kProgramUnit, 2, 0xE1, QByteArray::fromHex("2000"));
    QByteArray err;
    for (int i = 0; i < 20 && !(headerOf(err).flags & FrameFlag::Error); ++i)
        err = probe.waitOne();
    QVERIFY(headerOf(err).flags & FrameFlag::Error);

    unit.terminate();
    unit.waitForFinished(3000);
    QFile log(logFile);
    QVERIFY(log.open(QIODevice::ReadOnly));
    const QByteArray text = log.readAll();
    QVERIFY2(text.contains("cmd=0x71 seq=1"), text.constData());
    QVERIFY2(text.contains("cmd=0xe1 seq=2 param=0x0020"), text.constData());
}

void TestUnitSim::programRejectsBadOptions()
{
    // Runs in this process: bad options end before anything is bound.
    QCOMPARE(runUnitSim({QStringLiteral("sim"), QStringLiteral("--address"), QStringLiteral("127.0.0.1")}), 2);
    QCOMPARE(runUnitSim({QStringLiteral("sim"), QStringLiteral("--address"), QStringLiteral("::1")}), 2);
    QCOMPARE(runUnitSim({QStringLiteral("sim"), QStringLiteral("--drop"), QStringLiteral("many")}), 2);
    QCOMPARE(runUnitSim({QStringLiteral("sim"), QStringLiteral("--error-status"), QStringLiteral("0xE1")}), 2);
    QCOMPARE(runUnitSim({QStringLiteral("sim"), QStringLiteral("--mac"), QStringLiteral("01:02")}), 2);
    QCOMPARE(runUnitSim({QStringLiteral("sim"), QStringLiteral("--stale-ratio"), QStringLiteral("1.5")}), 2);
    QCOMPARE(runUnitSim({QStringLiteral("sim"), QStringLiteral("--stale-answers"), QStringLiteral("-1")}), 2);
    QCOMPARE(runUnitSim({QStringLiteral("sim"), QStringLiteral("--fieldbus"), QStringLiteral("0x10000")}), 2);
    QCOMPARE(runUnitSim({QStringLiteral("sim"), QStringLiteral("--drop-rate"), QStringLiteral("101")}), 2);
    QCOMPARE(runUnitSim({QStringLiteral("sim"), QStringLiteral("--late-rate"), QStringLiteral("5")}), 2);
}

void TestUnitSim::programHelp_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QStringList>("listed");
    QTest::addColumn<QStringList>("notListed");
    const QStringList unit{"--address", "--push-interval", "--restart-silence", "--drop", "--error-status",
                           "--fieldbus", "--data-control", "--mode bootloader --help"};
    const QStringList bootloader{"--address", "--log", "--mac", "--state", "--reboot-ms", "--catch-window-ms",
                                 "--no-broadcast", "--drop", "--delay", "--error", "--nak", "--refuse-crc",
                                 "--silent", "--hold"};
    QTest::newRow("unit") << QStringList{"--help"} << unit << QStringList{"--catch-window-ms"};
    QTest::newRow("unit, named") << QStringList{"--mode", "unit", "-h"} << unit << QStringList{"--catch-window-ms"};
    QTest::newRow("bootloader") << QStringList{"--mode", "bootloader", "--help"} << bootloader
                                << QStringList{"--push-interval"};
    QTest::newRow("bootloader, help first") << QStringList{"-h", "--mode", "bootloader"} << bootloader
                                            << QStringList{"--push-interval"};
}

void TestUnitSim::programHelp()
{
    // Each mode lists its own options and ends at once, binding nothing.
    QFETCH(QStringList, arguments);
    QFETCH(QStringList, listed);
    QFETCH(QStringList, notListed);
    const QString program = testnet::binDir() + QStringLiteral("/KorvantisUnitSim");
    if (!QFile::exists(program))
        QSKIP("KorvantisUnitSim is not built");
    QProcess sim;
    sim.start(program, arguments);
    QVERIFY(sim.waitForFinished(10000));
    const QString out = QString::fromUtf8(sim.readAllStandardOutput());
    QCOMPARE(QString::fromUtf8(sim.readAllStandardError()), QString());
    QCOMPARE(sim.exitStatus(), QProcess::NormalExit);
    QCOMPARE(sim.exitCode(), 0);
    for (const QString &option : listed)
        QVERIFY2(out.contains(option), qPrintable(option + QLatin1String(" missing in:\n") + out));
    for (const QString &option : notListed)
        QVERIFY2(!out.contains(option), qPrintable(option + QLatin1String(" listed in:\n") + out));
}

QTEST_GUILESS_MAIN(TestUnitSim)
#include "tst_unitsim.moc"
