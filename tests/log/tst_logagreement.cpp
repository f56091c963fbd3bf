// The log page and logexport read the same damaged inputs the same way: the
// same records and the same words. Raw device logs reach the page from the
// simulated unit (the read button), LOG files through the page's log
// handler; logexport gets the same bytes as a file.
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTreeView>
#include <QtTest>

#include "device.h"
#include "devicelog.h"
#include "logfile.h"
#include "logfixture.h"
#include "loghandlercont.h"
#include "logtab.h"
#include "metatypes.h"
#include "testnet.h"
#include "treemodel.h"
#include "unitsim.h"
#include "unitsimblocks.h"

namespace {

const QHostAddress kUnit(QStringLiteral("127.0.6.4"));

QByteArray length(uint32_t n)
{
    QByteArray b(4, '\0');
    for (int i = 0; i < 4; ++i)
        b[i] = char(n >> (24 - 8 * i));
    return b;
}

QByteArray item(const QByteArray &bytes)
{
    return length(uint32_t(bytes.size())) + bytes;
}

// A LOG file's items before its record section.
QByteArray logHead()
{
    QByteArray head = item(QByteArray(11, '\x02')) + item("5.15") + item("03.11.01339 ");
    for (const char *text : {"host", "cpu", "kernel", "os"})
        head += item(text);
    return head;
}

struct Run
{
    int exitCode = -1;
    QString err;
};

Run logexport(const QStringList &arguments)
{
    QProcess p;
    p.start(testnet::binDir() + QStringLiteral("/logexport"), arguments);
    Run r;
    if (!p.waitForFinished(60000))
        return r;
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

// The records of a LOG file that logexport wrote.
QVector<LogRecord> recordsOfLogFile(const QString &name)
{
    QFile f(name);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QVector<LogRecord> records;
    VersionInfo info;
    QString error;
    if (!LogFile::read(f.readAll(), &records, &info, &error))
        return {};
    return records;
}

// The records the page's tree shows (the erased slots are not shown).
QVector<LogRecord> shownRecords()
{
    return recordsOf(serialized(*LoghandlerCont::instance().treeModel()->rootItem()));
}

} // namespace

class TestLogAgreement : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void sameRecordsSameWords_data();
    void sameRecordsSameWords();

private:
    UnitSim m_sim;
    std::unique_ptr<LogTab> m_page;
    QTemporaryDir m_dir;
};

void TestLogAgreement::initTestCase()
{
    registerMetaTypes();
    m_sim.setPushInterval(0);
    QString error;
    QVERIFY2(m_sim.startQuiet(kUnit, &error), qPrintable(error));
    EthernetHandler *link = Device::instance()->ethernetHandler();
    LinkTimings t;
    t.baseTimeoutMs = 200;
    t.heartbeatMs = 60000;
    t.watchdogMs = 60000;
    t.watchdogSingleCoreMs = 60000;
    link->setTimings(t);
    Device::instance()->startTransport();
    link->setTargetIP(kUnit);
    QTRY_VERIFY_WITH_TIMEOUT(link->isConnected(), 20000);
    m_page = std::make_unique<LogTab>();
}

void TestLogAgreement::cleanupTestCase()
{
    m_page.reset();
    Device::instance()->ethernetHandler()->disconnectFromDevice();
}

void TestLogAgreement::sameRecordsSameWords_data()
{
    QTest::addColumn<bool>("logFile");   // a LOG file, else a raw device log
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<int>("records");    // shown; -1: refused
    QTest::addColumn<QString>("words");  // the note or the reason of the refusal

    const QByteArray raw = UnitSimBlocks::makeLogRecords(300);
    const QString cut = QStringLiteral("The log ended in a cut record. Bytes dropped after the last whole record: %1");
    QTest::newRow("raw, whole") << false << raw << 300 << QString();
    QTest::newRow("raw, 1 byte more") << false << raw + QByteArray(1, '\x5A') << 300 << cut.arg(1);
    QTest::newRow("raw, 5 bytes more") << false << raw + QByteArray(5, '\x5A') << 300 << cut.arg(5);
    QTest::newRow("raw, 31 bytes more") << false << raw + raw.left(31) << 300 << cut.arg(31);

    const QByteArray head = logHead();
    const QByteArray section = UnitSimBlocks::makeLogRecords(600);
    QTest::newRow("LOG, whole") << true << head + item(section) << 600 << QString();
    QTest::newRow("LOG, null section") << true << head + length(0xFFFFFFFF) << 0 << QString();
    QTest::newRow("LOG, null section and 600 records after")
        << true << head + length(0xFFFFFFFF) + section << -1
        << "The LOG file is damaged: its record section says it holds no records (-1), but 19200 bytes follow it.";
    QTest::newRow("LOG, bytes after the records")
        << true << head + item(section) + "xyz" << 600
        << "The LOG file holds 3 bytes after its records; they were not read.";
    QTest::newRow("LOG, cut inside its records")
        << true << head + length(19200) + section.left(19200 - 45) << 598
        << "The LOG file is cut short inside its records: they need 19200 bytes, but only 19155 remain. The 598 "
           "whole records before the cut were read.";
    QTest::newRow("LOG, 100 MiB claimed") << true << head + length(100 << 20) + section << 600
                                          << "they need 104857600 bytes, but only 19200 remain.";
    QTest::newRow("LOG, 129 MiB claimed")
        << true << head + length(129 << 20) + section << -1
        << "The LOG file is damaged: its records claim 135266304 bytes, more than the 134217728 bytes (128 MiB) "
           "that any log can hold.";
    QTest::newRow("LOG, negative length") << true << head + length(0xFFFFFF00) + section << -1
                                          << "The LOG file is damaged: its records have the length -256.";
}

void TestLogAgreement::sameRecordsSameWords()
{
    QFETCH(bool, logFile);
    QFETCH(QByteArray, input);
    QFETCH(int, records);
    QFETCH(QString, words);
    LoghandlerCont &handler = LoghandlerCont::instance();
    const QString name = m_dir.filePath(QString::fromLatin1(QTest::currentDataTag()).replace(' ', '_')
                                        + (logFile ? ".hex" : ".bin"));
    {
        QFile f(name);
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(input) == input.size());
    }

    // Another log is shown first; a refused input must keep it.
    HearBeatMessage_t beat;
    beat.deviceTime = 100;
    beat.dataControl = 0x10;
    UnitSimBlocks::of(&m_sim)->setLogArea(UnitSimBlocks::makeLogRecords(7));
    m_page->connectionsuccesfull(beat, kUnit);
    QTest::mouseClick(m_page->findChild<QPushButton *>(QStringLiteral("btnGetLog")), Qt::LeftButton);
    QCOMPARE(shownRecords().size(), 7);

    // The page.
    QSignalSpy said(m_page.get(), &BaseWidget::printNotifyBarErrorwrapper);
    QString pageWords;
    if (logFile) {
        QString error, warning;
        const int r = handler.importLogFile(name, &error, &warning);
        QCOMPARE(r == ERR_OK, records >= 0);
        pageWords = r == ERR_OK ? handler.inputNote() : error;
        QCOMPARE(r == ERR_OK ? warning : error, pageWords);
    } else {
        UnitSimBlocks::of(&m_sim)->setLogArea(input);
        m_page->connectionsuccesfull(beat, kUnit);
        QTest::mouseClick(m_page->findChild<QPushButton *>(QStringLiteral("btnGetLog")), Qt::LeftButton);
        QVERIFY(said.size() <= 1);
        if (!said.isEmpty())
            pageWords = said.constFirst().at(0).toString();
    }
    QVERIFY2(words.isEmpty() ? pageWords.isEmpty() : pageWords.contains(words), qPrintable(pageWords));
    const QVector<LogRecord> pageRecords = shownRecords();
    if (records >= 0)
        QCOMPARE(pageRecords.size(), records);
    else
        QCOMPARE(pageRecords.size(), 7);

    // logexport on the same bytes.
    const QString out = name + QStringLiteral(".out");
    const Run run = logexport({name, "--log", out});
    QCOMPARE(run.exitCode, records >= 0 ? 0 : 2);
    if (words.isEmpty())
        QVERIFY2(run.err.isEmpty(), qPrintable(run.err));
    else
        QVERIFY2(run.err.contains(pageWords), qPrintable(run.err + " / " + pageWords));
    if (records >= 0)
        QCOMPARE(recordsOfLogFile(out + ".hex"), pageRecords);
    else
        QVERIFY(!QFile::exists(out + ".hex"));
}

QTEST_MAIN(TestLogAgreement)
#include "tst_logagreement.moc"
