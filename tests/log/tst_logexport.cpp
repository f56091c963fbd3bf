// The logexport tool against the log handler the log page uses.
#include <QDataStream>
#include <QDir>
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

// A LOG file as another PC and another version of the tool wrote it: the
// unit's identification, the versions and host texts given, then `records`.
QByteArray logFileOf(const ProductInfoRecord &id, const QStringList &texts, const QByteArray &records)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    const QByteArray raw = id.toByteArray();
    out.writeBytes(raw.constData(), uint(raw.size()));
    for (const QString &text : texts)
        out << text.toUtf8();
    out << qint32(records.size());
    out.writeRawData(records.constData(), records.size());
    return bytes;
}

// Qt version, tool version, host name, CPU, kernel, operating system of the
// PC that read the mailed log.
const QStringList kOtherPc{"5.9", "01.02.00003 ", "ORIGHOST", "riscv64", "Linux 4.19.0", "Yocto 3.1"};

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
    void logFileKeepsItsOwnTexts();
    void upperCaseSuffixIsALogFile();
    void outputThatIsTheInputIsRefused_data();
    void outputThatIsTheInputIsRefused();
    void noWholeRecord_data();
    void noWholeRecord();
    void emptyLogFileIsALog();
    void writeErrorsSayWhy();
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

void TestLogExport::logFileKeepsItsOwnTexts()
{
    // A LOG file from another PC: its record of which host and tool read the
    // log goes on into the LOG written from it, and the text says the same.
    const QByteArray records = UnitSimBlocks::makeLogRecords(40);
    const QString mail = m_dir.filePath(QStringLiteral("orig.hex"));
    QVERIFY(writeFile(mail, logFileOf(identification(), kOtherPc, records)));
    const Run run = logexport({mail, "-o", m_dir.filePath("kept")});
    QVERIFY2(run.exitCode == 0, run.err.constData());
    QCOMPARE(readFile(m_dir.filePath("kept.hex")), readFile(mail));
    const QByteArray text = readFile(m_dir.filePath("kept.txt"));
    QVERIFY2(text.contains("\t\t\t\tHostname\tORIGHOST\n\t\t\t\tCPU architecture\triscv64\n"), text.left(400).constData());
    QVERIFY(text.contains("\t\t\t\tSST Version\t01.02.00003 \n\t\t\t\tQT Version\t5.9\n"));
    QVERIFY(text.contains("\t\t\t\tFirmware Version\t03.11.01339\n"));

    // What the command line names still goes in their place, in both files.
    ProductInfoRecord other = identification();
    other.firmwareBuild = 77;
    QStringList texts = kOtherPc;
    texts[2] = QStringLiteral("bench7");
    const Run again = logexport({mail, "-o", m_dir.filePath("over"), "--host-name", "bench7", "--identification",
                                 other.toByteArray().toHex()});
    QVERIFY2(again.exitCode == 0, again.err.constData());
    QCOMPARE(readFile(m_dir.filePath("over.hex")), logFileOf(other, texts, records));
    const QByteArray overText = readFile(m_dir.filePath("over.txt"));
    QVERIFY(overText.contains("\t\t\t\tHostname\tbench7\n\t\t\t\tCPU architecture\triscv64\n"));
    QVERIFY(overText.contains("\t\t\t\tFirmware Version\t03.11.00077\n"));
}

void TestLogExport::upperCaseSuffixIsALogFile()
{
    const QByteArray file = logFileOf(identification(), kOtherPc, UnitSimBlocks::makeLogRecords(25));
    QVERIFY(writeFile(m_dir.filePath("lower.hex"), file));
    const Run lower = logexport({m_dir.filePath("lower.hex"), "--text", m_dir.filePath("lower-out")});
    QVERIFY2(lower.exitCode == 0, lower.err.constData());
    const QByteArray expected = readFile(m_dir.filePath("lower-out.txt"));
    QVERIFY(expected.contains("ORIGHOST"));
    for (const char *name : {"UNIT7.HEX", "Unit7.Hex"}) {
        QVERIFY(writeFile(m_dir.filePath(name), file));
        const QString out = m_dir.filePath(QStringLiteral("out-") + QLatin1String(name));
        const Run run = logexport({m_dir.filePath(name), "--text", out});
        QVERIFY2(run.exitCode == 0, run.err.constData());
        QVERIFY2(run.err.isEmpty(), run.err.constData());
        QCOMPARE(readFile(out + ".txt"), expected);
    }
    // The kind named on the command line still decides.
    const Run raw = logexport({m_dir.filePath("UNIT7.HEX"), "--format", "raw", "--text", m_dir.filePath("as-raw")});
    QVERIFY2(raw.exitCode == 0, raw.err.constData());
    QVERIFY(!readFile(m_dir.filePath("as-raw.txt")).contains("ORIGHOST"));
}

void TestLogExport::outputThatIsTheInputIsRefused_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QString>("refused");
    QTest::newRow("-o base of the input") << "same.hex" << QStringList{"-o", "same"} << "same.hex";
    QTest::newRow("--log the input") << "same.hex" << QStringList{"--text", "other", "--log", "same.hex"}
                                     << "same.hex";
    QTest::newRow("--log by another path") << "same.hex" << QStringList{"--log", "sub/../same"} << "sub/../same.hex";
    QTest::newRow("--log through a link") << "same.hex" << QStringList{"--log", "link"} << "link.hex";
    QTest::newRow("--text the raw input") << "dump.txt" << QStringList{"--csv", "other", "--text", "dump"}
                                          << "dump.txt";
}

void TestLogExport::outputThatIsTheInputIsRefused()
{
    QFETCH(QString, input);
    QFETCH(QStringList, options);
    QFETCH(QString, refused);
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("sub")));
    const QByteArray content = input.endsWith(QLatin1String(".hex"))
                                   ? logFileOf(identification(), kOtherPc, UnitSimBlocks::makeLogRecords(20))
                                   : UnitSimBlocks::makeLogRecords(20);
    QVERIFY(writeFile(dir.filePath(input), content));
    QVERIFY(QFile::link(dir.filePath(input), dir.filePath(QStringLiteral("link.hex"))));
    QStringList arguments{dir.filePath(input)};
    for (int i = 0; i < options.size(); ++i)
        arguments << (i % 2 ? dir.filePath(options.at(i)) : options.at(i));
    const Run run = logexport(arguments);
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(QString::fromUtf8(run.err).contains(dir.filePath(refused) + QStringLiteral(" is the input")),
             run.err.constData());
    // Refused before anything was written: the input as it was, and no other
    // output either.
    QCOMPARE(readFile(dir.filePath(input)), content);
    QStringList files{input, "link.hex"};
    files.sort();
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::System, QDir::Name), files);
    QVERIFY(run.out.isEmpty());
}

void TestLogExport::noWholeRecord_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("message");
    QTest::newRow("empty") << QByteArray() << "empty.bin" << "the input is empty: it holds no log record";
    QTest::newRow("20 bytes") << QByteArray(20, '\x01') << "twenty.bin"
                              << "the input holds no log record: its 20 bytes are less than one 32-byte record";
    QTest::newRow("30 bytes of text") << QByteArray("thirty bytes of text, no log\n") + ' ' << "thirty.txt"
                                      << "its 30 bytes are less than one 32-byte record";
    QTest::newRow("LOG file with only a cut record")
        << logFileOf(identification(), kOtherPc, QByteArray(20, '\x01')) << "cut.hex"
        << "the input holds no whole log record. The LOG file's records end in a cut record: 20 bytes";
}

void TestLogExport::noWholeRecord()
{
    QFETCH(QByteArray, input);
    QFETCH(QString, name);
    QFETCH(QString, message);
    const QString file = m_dir.filePath(name);
    QVERIFY(writeFile(file, input));
    const QString out = m_dir.filePath(QStringLiteral("none-") + name);
    const Run run = logexport({file, "-o", out});
    QCOMPARE(run.exitCode, 2);
    QVERIFY2(QString::fromUtf8(run.err).contains(message), run.err.constData());
    for (const char *suffix : {".txt", ".csv", ".hex"})
        QVERIFY(!QFile::exists(out + suffix));
}

void TestLogExport::emptyLogFileIsALog()
{
    // The log of a unit that had logged nothing: its identification and
    // the PC that read it are still worth their text.
    const QString empty = m_dir.filePath(QStringLiteral("nothing.hex"));
    QVERIFY(writeFile(empty, logFileOf(identification(), kOtherPc, QByteArray())));
    const Run run = logexport({empty, "--text", m_dir.filePath("nothing-out"), "--log", m_dir.filePath("nothing-out")});
    QCOMPARE(run.exitCode, 0);
    QVERIFY2(run.err.isEmpty(), run.err.constData());
    QVERIFY(readFile(m_dir.filePath("nothing-out.txt")).contains("\t\t\t\tHostname\tORIGHOST\n"));
    QCOMPARE(readFile(m_dir.filePath("nothing-out.hex")), readFile(empty));
}

void TestLogExport::writeErrorsSayWhy()
{
    const QString missing = m_dir.filePath(QStringLiteral("nonexist/sub/x"));
    Run run = logexport({m_raw, "--text", missing, "--log", m_dir.filePath("beside")});
    QCOMPARE(run.exitCode, 3);
    QVERIFY2(run.err.contains(QString(missing + ".txt not written: the folder " + m_dir.filePath("nonexist/sub")
                                      + " does not exist\n")
                                  .toUtf8()),
             run.err.constData());
    QVERIFY(!run.err.contains("-103"));
    // The other file is still written.
    QCOMPARE(run.out, (m_dir.filePath("beside.hex") + '\n').toUtf8());

    QVERIFY(QDir(m_dir.path()).mkdir(QStringLiteral("taken.txt")));
    run = logexport({m_raw, "--text", m_dir.filePath("taken")});
    QCOMPARE(run.exitCode, 3);
    QVERIFY2(run.err.contains(QString(m_dir.filePath("taken.txt") + " is a folder").toUtf8()), run.err.constData());

    // A folder the user may not write in; an administrator may, and sees
    // the file written.
    QVERIFY(QDir(m_dir.path()).mkdir(QStringLiteral("locked")));
    const QString locked = m_dir.filePath(QStringLiteral("locked"));
    QVERIFY(QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    QFile probe(locked + QStringLiteral("/probe"));
    const bool mayWriteAnyway = probe.open(QIODevice::WriteOnly);
    probe.remove();
    run = logexport({m_raw, "--text", locked + QStringLiteral("/x")});
    QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    if (mayWriteAnyway) {
        QCOMPARE(run.exitCode, 0);
    } else {
        QCOMPARE(run.exitCode, 3);
        QVERIFY2(run.err.contains(QString("no permission to write in the folder " + locked).toUtf8()),
                 run.err.constData());
    }
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
