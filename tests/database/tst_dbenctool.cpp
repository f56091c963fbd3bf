#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include "databasefixture.h"
#include "testnet.h"

// The producer tool as a catalogue maker uses it: pack SQL, verify files,
// dump what the program would load.
class TestDbencTool : public QObject
{
    Q_OBJECT
private slots:
    void packVerifyDump();
    void refusals();

private:
    struct Run
    {
        int exitCode = -1;
        QString out;
        QString err;
    };
    Run tool(const QStringList &arguments);

    QTemporaryDir m_dir;
};

TestDbencTool::Run TestDbencTool::tool(const QStringList &arguments)
{
    QProcess p;
    p.start(testnet::binDir() + "/dbenctool", arguments);
    Run run;
    if (!p.waitForFinished(30000))
        return run;
    run.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    run.out = QString::fromUtf8(p.readAllStandardOutput());
    run.err = QString::fromUtf8(p.readAllStandardError());
    return run;
}

void TestDbencTool::packVerifyDump()
{
    dbfixture::writeFile(m_dir.filePath("one.sql"), dbfixture::smallCatalogueSql(1).toUtf8());
    dbfixture::writeFile(m_dir.filePath("two.sql"), dbfixture::smallCatalogueSql(2).toUtf8());
    const QString folder = m_dir.filePath("Korvantisdbs");
    QDir().mkpath(folder);
    Run run = tool({"pack", m_dir.filePath("one.sql"), folder + "/B.dbenc"});
    QVERIFY2(run.exitCode == 0, qPrintable(run.err));
    run = tool({"pack", m_dir.filePath("two.sql"), folder + "/a.dbenc"});
    QVERIFY2(run.exitCode == 0, qPrintable(run.err));

    // A plain SQLite catalogue packs as it is.
    dbfixture::writeFile(m_dir.filePath("three.db"), dbfixture::plainCatalogue(dbfixture::smallCatalogueSql(3)));
    run = tool({"pack", m_dir.filePath("three.db"), m_dir.filePath("three.dbenc")});
    QVERIFY2(run.exitCode == 0, qPrintable(run.err));

    run = tool({"verify", folder + "/B.dbenc", m_dir.filePath("three.dbenc")});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.out, folder + "/B.dbenc: Result: 0\n" + m_dir.filePath("three.dbenc") + ": Result: 0\n");

    // Both files of the folder, merged.
    run = tool({"dump", folder});
    QCOMPARE(run.exitCode, 0);
    QVERIFY2(run.out.contains("== sensors\nsensorid\tsensorName\tIEPELowVoltage\tIEPEHighVoltage\n"
                              "1\tSensor 1\t6\t18\n2\tSensor 2\t6\t18\n"),
             qPrintable(run.out));
    QVERIFY(run.out.contains("== Mapping\nmappingid\tfkdeviceid\tfklubID\tfkchannelid\tfkfilterid\tVersion\n"
                             "1\t1\t1\t1\t1\t1\n2\t2\t2\t2\t2\t1\n"));
}

void TestDbencTool::refusals()
{
    // SQL that the catalogue refuses: nothing is written.
    dbfixture::writeFile(m_dir.filePath("bad.sql"), "INSERT INTO sensors VALUES (1, 'x', 1.0, 2.0, 'one too many');");
    Run run = tool({"pack", m_dir.filePath("bad.sql"), m_dir.filePath("bad.dbenc")});
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.err.contains("bad.sql"), qPrintable(run.err));
    QVERIFY(!QFile::exists(m_dir.filePath("bad.dbenc")));

    dbfixture::writeFile(m_dir.filePath("ok.sql"), dbfixture::smallCatalogueSql(4).toUtf8());
    QCOMPARE(tool({"pack", m_dir.filePath("ok.sql"), m_dir.filePath("ok.dbenc")}).exitCode, 0);
    QByteArray damaged = dbfixture::readFile(m_dir.filePath("ok.dbenc"));
    damaged[500] = char(damaged.at(500) ^ 1);
    dbfixture::writeFile(m_dir.filePath("damaged.dbenc"), damaged);
    run = tool({"verify", m_dir.filePath("ok.dbenc"), m_dir.filePath("damaged.dbenc")});
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.out.endsWith(m_dir.filePath("damaged.dbenc") + ": Result: -307\n"), qPrintable(run.out));

    run = tool({"dump", m_dir.filePath("ok.dbenc"), m_dir.filePath("damaged.dbenc")});
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.err.contains("Result: -307"), qPrintable(run.err));

    QCOMPARE(tool({"frobnicate"}).exitCode, 2);
    QCOMPARE(tool({"pack", m_dir.filePath("missing.sql"), m_dir.filePath("x.dbenc")}).exitCode, 1);
}

QTEST_GUILESS_MAIN(TestDbencTool)
#include "tst_dbenctool.moc"
