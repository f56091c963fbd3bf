// The logexport tool against the log handler the log page uses.
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include "logfixture.h"
#include "loghandlercont.h"
#include "metatypes.h"
#include "testnet.h"
#include "unitsimblocks.h"

namespace {

QByteArray readFile(const QString &name)
{
    QFile f(name);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable: ") + name.toUtf8() + '>';
}

bool writeFile(const QString &name, const QByteArray &bytes)
{
    QFile f(name);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

ProductInfoRecord identification()
{
    ProductInfoRecord r;
    r.ethernetProtocolVersion = 3;
    r.flashProtocolVersion = 2;
    r.firmwareBuild = 1339;
    r.firmwareMajor = 3;
    r.firmwareMinor = 11;
    r.hardwareRevision = 2;
    return r;
}

struct Run
{
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

Run logexport(const QStringList &arguments)
{
    QProcess p;
    p.start(testnet::binDir() + QStringLiteral("/logexport"), arguments);
    Run r;
    if (!p.waitForFinished(60000))
        return r;
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = p.readAllStandardOutput();
    r.err = p.readAllStandardError();
    return r;
}

} // namespace

class TestLogExport : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void sameFilesAsThePage();
    void logFileInput();
    void machineTextsMakeItReproducible();
    void badInput_data();
    void badInput();
    void help();

private:
    QTemporaryDir m_dir;
    QString m_raw;
};

void TestLogExport::initTestCase()
{
    registerMetaTypes();
    m_raw = m_dir.filePath(QStringLiteral("unit.bin"));
    QVERIFY(writeFile(m_raw, UnitSimBlocks::makeLogRecords(800) + QByteArray(5 * 32, char(0xFF))));
}

void TestLogExport::sameFilesAsThePage()
{
    // What the page writes for this log, read from this unit on this PC.
    const QByteArray raw = readFile(m_raw);
    QVector<LogRecord> records;
    for (int at = 0; at < raw.size(); at += 32)
        records << LogRecord::fromBytes(reinterpret_cast<const uint8_t *>(raw.constData()) + at);
    const ProductInfoRecord id = identification();
    TreeModel tree;
    LoghandlerCont &handler = LoghandlerCont::instance();
    handler.setTreeModel(&tree);
    QCOMPARE(handler.evaluateLog(records, VersionInfo(&id)), 0);
    QCOMPARE(handler.writeLogText(m_dir.filePath("page")), 0);
    QCOMPARE(handler.writeLogFile(m_dir.filePath("page"), VersionInfo(&id)), 0);
    QString csv = m_dir.filePath("page");
    QCOMPARE(handler.exportCSV(csv), 0);
    handler.setTreeModel(nullptr);

    const Run run = logexport({m_raw, "-o", m_dir.filePath("tool"), "--identification", id.toByteArray().toHex()});
    QVERIFY2(run.exitCode == 0, run.err.constData());
    for (const char *suffix : {".txt", ".csv", ".hex"}) {
        const QByteArray page = readFile(m_dir.filePath("page") + suffix);
        QVERIFY(page.size() > 1000);
        QCOMPARE(readFile(m_dir.filePath("tool") + suffix), page);
    }
    QCOMPARE(run.out.count('\n'), 3);
}

void TestLogExport::logFileInput()
{
    // A LOG file from a service engineer's mail: the same log again, with
    // the unit's identification from the file.
    const Run first = logexport({m_raw, "--log", m_dir.filePath("mail"), "--identification",
                                 identification().toByteArray().toHex(), "--host-name", "field-pc"});
    QVERIFY2(first.exitCode == 0, first.err.constData());
    const Run again = logexport({m_dir.filePath("mail.hex"), "--text", m_dir.filePath("again.txt"), "--log",
                                 m_dir.filePath("again.hex"), "--host-name", "field-pc"});
    QVERIFY2(again.exitCode == 0, again.err.constData());
    QCOMPARE(readFile(m_dir.filePath("again.hex")), readFile(m_dir.filePath("mail.hex")));
    const QByteArray text = readFile(m_dir.filePath("again.txt"));
    QVERIFY(text.contains("\t\t\t\tHostname\tfield-pc\n"));
    QVERIFY(text.contains("\t\t\t\tFirmware Version\t03.11.01339\n"));
}

void TestLogExport::machineTextsMakeItReproducible()
{
    const QStringList machine{"--host-name", "bench7", "--cpu", "x86_64", "--kernel", "Linux 6.1.0",
                              "--os", "Debian GNU/Linux 12", "--channel-name", "3=Pump"};
    const Run run = logexport(QStringList{m_raw, "-o", m_dir.filePath("fixed")} + machine);
    QVERIFY2(run.exitCode == 0, run.err.constData());
    const QByteArray text = readFile(m_dir.filePath("fixed.txt"));
    QVERIFY(text.startsWith("\t\tGenerell System Information \n\t\t\tSystem Information\t\n"
                            "\t\t\t\tHostname\tbench7\n\t\t\t\tCPU architecture\tx86_64\n"
                            "\t\t\t\tOperating System Type\tLinux 6.1.0\n"
                            "\t\t\t\tOperating System Version\tDebian GNU/Linux 12\n"));
    // No identification given: all zero.
    QVERIFY(text.contains("\t\t\t\tFirmware Version\t00.00.00000\n"));
    QVERIFY(readFile(m_dir.filePath("fixed.csv")).contains(";\"Pump Timestamp[s]\";\"Pump Value\";"));
    const QByteArray log = readFile(m_dir.filePath("fixed.hex"));
    QVERIFY(log.contains("bench7"));
    QVERIFY(log.contains("Debian GNU/Linux 12"));
}

void TestLogExport::badInput_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("message");
    QTest::newRow("cut LOG file") << QByteArray::fromHex("0000000b0102") << "cut.hex" << QStringList{} << 2
                                  << "cut short: the unit identification needs 11 bytes";
    QTest::newRow("raw read as LOG") << QByteArray(64, '\x01') << "raw.bin" << QStringList{"--format", "log"} << 2
                                     << "needs 16843009 bytes, but only 60 remain";
    QTest::newRow("two inputs") << QByteArray(32, '\0') << "a.bin" << QStringList{"a.bin"} << 1 << "exactly one input";
    QTest::newRow("bad identification") << QByteArray(32, '\0') << "b.bin"
                                        << QStringList{"--identification", "0102"} << 1 << "22 hex digits";
    QTest::newRow("bad channel") << QByteArray(32, '\0') << "c.bin" << QStringList{"--channel-name", "8=x"} << 1
                                 << "N from 1 to 7";
}

void TestLogExport::badInput()
{
    QFETCH(QByteArray, input);
    QFETCH(QString, name);
    QFETCH(QStringList, options);
    QFETCH(int, exitCode);
    QFETCH(QString, message);
    const QString file = m_dir.filePath(name);
    QVERIFY(writeFile(file, input));
    const QString out = m_dir.filePath(QStringLiteral("bad-") + name);
    const Run run = logexport(QStringList{file} + options + QStringList{"--text", out});
    QCOMPARE(run.exitCode, exitCode);
    QVERIFY2(QString::fromUtf8(run.err).contains(message), run.err.constData());
    QVERIFY(!QFile::exists(out + ".txt"));
}

void TestLogExport::help()
{
    for (const char *option : {"--help", "-h"}) {
        const Run run = logexport({QString::fromLatin1(option)});
        QCOMPARE(run.exitCode, 0);
        QVERIFY2(run.out.startsWith("Usage: logexport [options] INPUT\n"), run.out.constData());
        QVERIFY(run.out.contains("--channel-name N=TEXT"));
        QVERIFY2(run.err.isEmpty(), run.err.constData());
    }
}

QTEST_GUILESS_MAIN(TestLogExport)
#include "tst_logexport.moc"
