#include <QtTest>

#include "bootloadersim.h"
#include "clifixture.h"
#include "loaderfixture.h"
#include "settle.h"
#include "testnet.h"

using namespace loader;

// KorvantisLoader's commands through QProcess against a simulated
// bootloader in this process; "-s" names the tool's veth address.
class TestCliVeth : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanupTestCase();
    void sourceMustBeLocal();
    void catchLoader();
    void startFirmware();
    void resetAndCatch();
    void resetAndCatchWhenUnitStaysAway();
    void flashFirmwareAndKeys();
    void flashingFailures();
    void lostAnswerIsResent();
    void silentUnit();
    void secondSourceWins();
    void severalCommandsAreRefused_data();
    void severalCommandsAreRefused();
    void simulatorProgram();
    void standardErrorStaysEmpty_data();
    void standardErrorStaysEmpty();

private:
    QStringList addresses() const { return {"-t", m_unit.toString(), "-s", "198.18.0.1"}; }
    // The loader has ended: a request it sent last and got no answer to may
    // still wait in the simulated unit's socket when that end is seen here.
    bool unitHasReadAll() { return settle::unitHasRead(m_sim, m_unit); }

    QHostAddress m_unit{QStringLiteral("127.0.2.3")};
    BootloaderSim *m_sim = nullptr;
};

void TestCliVeth::initTestCase()
{
    KORVANTIS_REQUIRE_TESTNET();
    m_sim = new BootloaderSim(m_unit);
    m_sim->setListenBroadcast(false);
    QString error;
    QVERIFY2(m_sim->start(&error), qPrintable(error));
}

void TestCliVeth::init()
{
    KORVANTIS_REQUIRE_TESTNET();
    m_sim->setState(BootloaderSim::State::Bootloader);
    m_sim->setRebootMs(1000);
    m_sim->setCatchWindowMs(5000);
    m_sim->eraseFlash();
    m_sim->clearFaults();
    m_sim->clearRequests();
}

void TestCliVeth::cleanupTestCase() { delete m_sim; }

void TestCliVeth::sourceMustBeLocal()
{
    const LoaderRun run = runLoader({"-t", m_unit.toString(), "-s", "198.18.1.77", "-c"});
    QCOMPARE(run.out, QByteArray("missing source or target ip\nResult: -9999\n"));
    QCOMPARE(run.exitCode, exitStatusOf(-9999));
    QVERIFY(m_sim->requests().isEmpty());
}

void TestCliVeth::catchLoader()
{
    // Upper-case options, and an unknown word after the addresses is skipped.
    const LoaderRun run = runLoader({"-T", m_unit.toString(), "-S", "198.18.0.1", "foo", "-C"});
    QCOMPARE(run.out, QByteArray("Result: 0\n"));
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(commandsOf(m_sim->requests()), QList<uint8_t>{0x90});
    QCOMPARE(m_sim->requests().first().payload, QByteArray("\x08\x00", 2));
    QCOMPARE(m_sim->requests().first().sender, QHostAddress(QStringLiteral("198.18.0.1")));
}

void TestCliVeth::startFirmware()
{
    const LoaderRun run = runLoader(addresses() << "-l");
    QCOMPARE(run.out, QByteArray("Result: 0\n"));
    QCOMPARE(commandsOf(m_sim->requests()), QList<uint8_t>({0x90, 0x91}));
    QCOMPARE(m_sim->requests().last().payload, QByteArray("\x03\x00", 2));
    QTRY_VERIFY(m_sim->state() == BootloaderSim::State::Firmware);

    // The running firmware ignores the catch that comes first.
    const LoaderRun again = runLoader(addresses() << "-l");
    QCOMPARE(again.out, QByteArray("Result: -1000\n"));
    QCOMPARE(again.exitCode, exitStatusOf(-1000));
}

void TestCliVeth::resetAndCatch()
{
    m_sim->setState(BootloaderSim::State::Firmware);
    const LoaderRun run = runLoader(addresses() << "-rc");
    QCOMPARE(run.out, QByteArray("Result: 0\n"));
    QVERIFY(run.ms >= 4000);
    const auto r = m_sim->requests();
    QCOMPARE(commandsOf(r), QList<uint8_t>({0xFF, 0x90}));
    QVERIFY(r.at(1).ms - r.at(0).ms >= 4000);
    QVERIFY(m_sim->state() == BootloaderSim::State::Bootloader);
}

void TestCliVeth::resetAndCatchWhenUnitStaysAway()
{
    m_sim->setState(BootloaderSim::State::Firmware);
    m_sim->setCatchWindowMs(0);  // the firmware starts again at once
    const LoaderRun run = runLoader(addresses() << "-rc");
    QCOMPARE(run.out, QByteArray("error catching loader\nResult: -1000\n"));
    QCOMPARE(run.exitCode, exitStatusOf(-1000));
    // The catch and its one resend, both unanswered.
    QVERIFY(unitHasReadAll());
    QCOMPARE(m_sim->requestsFor(0x90).size(), 2);
}

void TestCliVeth::flashFirmwareAndKeys()
{
    const QByteArray app = fixture::pattern(0x8000 + 300, 11);
    const QString fw = fixture::tempPath("cli-fw.fwa");
    QCOMPARE(fixture::makeArchive(3, {{FirmwareSection::PagedImage, app}}).save(fw), ERR_OK);
    LoaderRun run = runLoader(addresses() << "-f" << fw);
    QCOMPARE(run.out, "Writing Firmware: " + fw.toLocal8Bit() + "\nResult: 0\n");
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(m_sim->requests().first().command, uint8_t(0x90));  // caught first
    QCOMPARE(m_sim->readFlash(0x08014000, app.size()), app);

    const QByteArray keys = fixture::pattern(0x4000, 12);
    const QByteArray info = fixture::pattern(64, 13);
    const QString kf = fixture::tempPath("cli-keys.fwa");
    QCOMPARE(fixture::makeArchive(2, {{FirmwareSection::PagedImage, keys}, {FirmwareSection::InfoBlock, info}}).save(kf),
             ERR_OK);
    run = runLoader(addresses() << "-k" << kf);
    QCOMPARE(run.out, "Writing Keys: " + kf.toLocal8Bit() + "\nResult: 0\n");
    QCOMPARE(m_sim->readFlash(0x08010000, keys.size()), keys);
    QCOMPARE(m_sim->infoBlock(), info);
    QCOMPARE(m_sim->readFlash(0x08014000, app.size()), app);  // untouched by the keys
}

void TestCliVeth::flashingFailures()
{
    const QString fw = fixture::tempPath("cli-crc.fwa");
    QCOMPARE(fixture::makeArchive(3, {{FirmwareSection::PagedImage, fixture::pattern(0x4000, 14)}}).save(fw), ERR_OK);
    m_sim->addFault({BootloaderSim::FaultKind::RefuseCrc, 0x82, 1, 0});
    LoaderRun run = runLoader(addresses() << "-f" << fw);
    QCOMPARE(run.out, "Writing Firmware: " + fw.toLocal8Bit() + "\nResult: -3\n");
    QCOMPARE(run.exitCode, exitStatusOf(-3));

    // An empty archive name is a failure, not a success.
    run = runLoader(addresses() << "-f" << "");
    QCOMPARE(run.out, QByteArray("Result: -1003\n"));

    // A failed catch ends the command with the catch's code.
    m_sim->clearRequests();
    // Every catch is refused: on a busy machine the refusal may come after
    // the catch was sent again, and the resend must meet the same refusal.
    m_sim->addFault({BootloaderSim::FaultKind::ErrorStatus, 0x90, -1, -17});
    run = runLoader(addresses() << "-f" << fw);
    QCOMPARE(run.out, QByteArray("Result: -17\n"));
    QCOMPARE(commandsOf(m_sim->requests()), QList<uint8_t>{0x90});
}

void TestCliVeth::lostAnswerIsResent()
{
    m_sim->addFault({BootloaderSim::FaultKind::Drop, 0x90, 1, 0});
    const LoaderRun run = runLoader(addresses() << "-c");
    QCOMPARE(run.out, QByteArray("Result: 0\n"));
    // The dropped catch is sent again as a new request. A loaded machine may
    // answer the resend late enough for one more attempt, so only the first
    // two are pinned, and no time is asserted.
    const auto r = m_sim->requests();
    QVERIFY(r.size() >= 2);
    QCOMPARE(r.at(0).command, uint8_t(0x90));
    QCOMPARE(r.at(1).command, uint8_t(0x90));
    QCOMPARE(r.at(1).sequence, uint16_t(r.at(0).sequence + 1));
}

void TestCliVeth::silentUnit()
{
    m_sim->addFault({BootloaderSim::FaultKind::Silence, -1, -1, 0});
    const LoaderRun run = runLoader(addresses() << "-c", 10000);
    QVERIFY(run.finished);
    QCOMPARE(run.out, QByteArray("Result: -1000\n"));
    QCOMPARE(run.exitCode, exitStatusOf(-1000));
    QVERIFY(unitHasReadAll());
    QCOMPARE(m_sim->requests().size(), 2);
}

void TestCliVeth::secondSourceWins()
{
    const LoaderRun run = runLoader({"-t", m_unit.toString(), "-s", "198.18.0.1", "-s", "198.18.0.4", "-c"});
    QCOMPARE(run.out, QByteArray("Result: 0\n"));
    QCOMPARE(m_sim->requests().first().sender, QHostAddress(QStringLiteral("198.18.0.4")));
}

void TestCliVeth::severalCommandsAreRefused_data()
{
    // The first command's result ended the process while the second one
    // waited (or had not begun): "Result: 0" for a flash that never
    // happened. Such a line is refused before anything is sent or written.
    QTest::addColumn<QStringList>("commands");
    QTest::addColumn<bool>("withAddresses");
    QTest::addColumn<bool>("silent");
    QTest::newRow("flash, then seal") << QStringList{"-f", "app.fwa", "-m", "good.hex"} << true << false;
    QTest::newRow("seal, then flash") << QStringList{"-m", "good.hex", "-f", "app.fwa"} << true << false;
    QTest::newRow("catch on a silent unit, then seal") << QStringList{"-c", "-m", "good.hex"} << true << true;
    QTest::newRow("catch, then start") << QStringList{"-c", "-l"} << true << false;
    QTest::newRow("firmware, then keys") << QStringList{"-f", "app.fwa", "-k", "app.fwa"} << true << false;
    QTest::newRow("an unknown word between") << QStringList{"-rc", "foo", "-c"} << true << false;
    QTest::newRow("help after a command") << QStringList{"-f", "app.fwa", "-h"} << true << false;
    QTest::newRow("two seals") << QStringList{"-m", "good.hex", "-m", "good.hex"} << false << false;
    QTest::newRow("the second one without its argument") << QStringList{"-c", "-f", "app.fwa", "-m"} << true
                                                         << false;
}

void TestCliVeth::severalCommandsAreRefused()
{
    QFETCH(QStringList, commands);
    QFETCH(bool, withAddresses);
    QFETCH(bool, silent);
    if (silent)
        m_sim->addFault({BootloaderSim::FaultKind::Silence, -1, -1, 0});
    const QByteArray hexText(":020000040801F1\n:0440000001020304B2\n:00000001FF\n");
    const QString hex = fixture::tempPath("several.hex");
    QFile f(hex);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(hexText);
    f.close();
    const QString fw = fixture::tempPath("several.fwa");
    QCOMPARE(fixture::makeArchive(3, {{FirmwareSection::PagedImage, fixture::pattern(0x4000, 31)}}).save(fw), ERR_OK);
    commands.replaceInStrings(QStringLiteral("good.hex"), hex).replaceInStrings(QStringLiteral("app.fwa"), fw);

    const LoaderRun run = runLoader((withAddresses ? addresses() : QStringList()) + commands);
    QVERIFY(run.finished);
    QCOMPARE(run.out, QByteArray("only one command per run\nResult: -9998\n"));
    QCOMPARE(run.exitCode, exitStatusOf(-9998));
    QVERIFY(run.err.isEmpty());
    QVERIFY(unitHasReadAll());
    QVERIFY(m_sim->requests().isEmpty());
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), hexText);  // not sealed either
}

void TestCliVeth::simulatorProgram()
{
    // The same simulation as a program: KorvantisUnitSim --mode bootloader.
    const QString sim = testnet::binDir() + QStringLiteral("/KorvantisUnitSim");
    if (!QFile::exists(sim))
        QSKIP("KorvantisUnitSim is not built");
    const QString log = fixture::tempPath("bootsim.log");
    QProcess unit;
    unit.start(sim, {"--mode", "bootloader", "--address", "127.0.2.5", "--no-broadcast", "--log", log,
                     "--error", "0x91:-21"});
    QVERIFY(unit.waitForReadyRead(5000));
    LoaderRun run = runLoader({"-t", "127.0.2.5", "-s", "198.18.0.1", "-l"});
    unit.kill();
    unit.waitForFinished(5000);
    QCOMPARE(run.out, QByteArray("Result: -21\n"));
    QFile f(log);
    QVERIFY(f.open(QIODevice::ReadOnly));
    // One line per request; a catch answered late may have been sent again.
    QList<QByteArray> lines = f.readAll().trimmed().split('\n');
    QVERIFY2(lines.size() >= 2, lines.join('\n').constData());
    while (lines.size() > 2 && lines.at(1).contains(" 90 80 0800 unicast"))
        lines.removeAt(1);
    QCOMPARE(lines.size(), 2);
    QVERIFY(lines.at(0).contains(" 90 80 0800 unicast"));
    QVERIFY(lines.at(1).contains(" 91 80 0300 unicast"));
}

void TestCliVeth::standardErrorStaysEmpty_data()
{
    // A script takes any line on standard error for a failure: whatever a
    // command line does, its texts are on standard output only, as before.
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<bool>("firmwareRuns");
    QTest::addColumn<bool>("silent");
    QTest::addColumn<QByteArray>("out");  // a trailing '*' matches any rest before the result line
    QTest::addColumn<int>("result");

    const QStringList a = addresses();
    const QString fw = fixture::tempPath("stderr-fw.fwa");
    fixture::makeArchive(3, {{FirmwareSection::PagedImage, fixture::pattern(0x4000, 21)}}).save(fw);
    const QString keys = fixture::tempPath("stderr-keys.fwa");
    fixture::makeArchive(2, {{FirmwareSection::PagedImage, fixture::pattern(0x4000, 22)},
                             {FirmwareSection::InfoBlock, fixture::pattern(64, 23)}})
        .save(keys);
    const QString hex = fixture::tempPath("stderr.hex");
    QFile f(hex);
    f.open(QIODevice::WriteOnly);
    f.write(":020000040801F1\n:0440000001020304B2\n:00000001FF\n");
    f.close();
    const QString missing = fixture::tempPath("stderr-missing.fwa");
    const QByteArray fwName = fw.toLocal8Bit(), keysName = keys.toLocal8Bit(), hexName = hex.toLocal8Bit();

    QTest::newRow("usage") << QStringList{"-h"} << false << false << QByteArray("usage: KorvantisLoader.exe*") << 0;
    QTest::newRow("catch") << (a + QStringList{"-c"}) << false << false << QByteArray() << 0;
    QTest::newRow("reset and catch") << (a + QStringList{"-rc"}) << true << false << QByteArray() << 0;
    QTest::newRow("start firmware") << (a + QStringList{"-l"}) << false << false << QByteArray() << 0;
    QTest::newRow("flash firmware") << (a + QStringList{"-f", fw}) << false << false
                                    << "Writing Firmware: " + fwName + "\n" << 0;
    QTest::newRow("flash keys") << (a + QStringList{"-k", keys}) << false << false << "Writing Keys: " + keysName + "\n"
                                << 0;
    QTest::newRow("seal") << QStringList{"-m", hex} << false << false << "Successfully updated " + hexName + "\n" << 0;
    QTest::newRow("seal, file not there") << QStringList{"-m", missing} << false << false
                                          << "Unable to read >" + missing.toLocal8Bit() + "<\n" << -1003;
    QTest::newRow("flash, file not there") << (a + QStringList{"-f", missing}) << false << false
                                           << "Writing Firmware: " + missing.toLocal8Bit() + "\n" << -400;
    QTest::newRow("no addresses") << QStringList{"-c"} << false << false
                                  << QByteArray("missing source or target ip\n") << -9999;
    QTest::newRow("source not local") << QStringList{"-t", m_unit.toString(), "-s", "198.18.1.77", "-c"} << false
                                      << false << QByteArray("missing source or target ip\n") << -9999;
    QTest::newRow("target not an address, then a good one")
        << QStringList{"-t", "300.1.1.1", "-t", m_unit.toString(), "-s", "198.18.0.1", "-c"} << false << false
        << QByteArray() << 0;
    QTest::newRow("option without its argument") << QStringList{"-m"} << false << false << QByteArray() << -1001;
    QTest::newRow("help before a command: the help alone")
        << (QStringList{"-h"} + a + QStringList{"-f", fw}) << false << false << QByteArray("usage: KorvantisLoader.exe*")
        << 0;
    QTest::newRow("silent unit") << (a + QStringList{"-c"}) << false << true << QByteArray() << -1000;
}

void TestCliVeth::standardErrorStaysEmpty()
{
    QFETCH(QStringList, args);
    QFETCH(bool, firmwareRuns);
    QFETCH(bool, silent);
    QFETCH(QByteArray, out);
    QFETCH(int, result);
    if (firmwareRuns)
        m_sim->setState(BootloaderSim::State::Firmware);
    if (silent)
        m_sim->addFault({BootloaderSim::FaultKind::Silence, -1, -1, 0});

    const LoaderRun run = runLoader(args);
    QVERIFY(run.finished);
    QVERIFY2(run.err.isEmpty(), run.err.constData());
    const QByteArray resultLine = "Result: " + QByteArray::number(result) + "\n";
    if (out.endsWith('*')) {
        QVERIFY2(run.out.startsWith(out.chopped(1)), run.out.constData());
        QVERIFY2(run.out.endsWith(resultLine), run.out.constData());
    } else {
        QCOMPARE(run.out, out + resultLine);
    }
    QCOMPARE(run.exitCode, exitStatusOf(result));
}

QTEST_MAIN(TestCliVeth)
#include "tst_cli_veth.moc"
