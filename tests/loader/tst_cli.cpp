#include <QtTest>

#include "clifixture.h"
#include "loaderfixture.h"
#include "testnet.h"

// The command line without a unit: usage, address checks, sealing.
class TestCli : public QObject
{
    Q_OBJECT
private slots:
    void usage();
    void commandLineWithoutDisplay();
    void missingAddresses_data();
    void missingAddresses();
    void optionWithoutArgument();
    void sealing();
    void sealingRefusals();
};

static const char kUsage[] =
    "usage: KorvantisLoader.exe -t <IP> -s <IP> <CMD>\n"
    "-h                            Displays this help.\n"
    "-t <IP>                       sets the target IP.\n"
    "-s <IP>                       sets the source IP.\n"
    "-f <FileName>                 Writes the application firmware from <FileName>.\n"
    "-k <FileName>                 Writes a key update from <FileName>.\n"
    "-c                            Catches the booloader to stay.\n"
    "-rc                           Resets FW and Catches the booloader to stay.\n"
    "-l                            starts the firmware.\n"
    "-m <FileName>                 Adds magic to the firmware file.\n";

void TestCli::usage()
{
    for (const QString &h : {QStringLiteral("-h"), QStringLiteral("-H")}) {
        const LoaderRun run = runLoader({h});
        QVERIFY(run.finished);
        QCOMPARE(run.out, QByteArray(kUsage) + "Result: 0\n");
        QCOMPARE(run.exitCode, 0);
    }
    // Help queued before a command ends the run before the command.
    const LoaderRun run = runLoader({"-h", "-t", "127.0.2.4", "-s", "127.0.2.4", "-l"});
    QCOMPARE(run.resultLine(), QByteArray("Result: 0"));
    QCOMPARE(run.exitCode, 0);
}

// A command-line run from a plain terminal with no display still works.
void TestCli::commandLineWithoutDisplay()
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
        env.remove(QString::fromLatin1(name));
    process.setProcessEnvironment(env);
    process.start(testnet::binDir() + QStringLiteral("/KorvantisLoader"), {QStringLiteral("-h")});
    QVERIFY(process.waitForFinished(20000));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), 0);
    QVERIFY(process.readAllStandardOutput().endsWith("Result: 0\n"));
}

void TestCli::missingAddresses_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::newRow("command alone") << QStringList{"-c"};
    QTest::newRow("command before the addresses") << QStringList{"-l", "-t", "127.0.2.4", "-s", "127.0.2.4"};
    QTest::newRow("unknown word first") << QStringList{"foo", "-c"};
    QTest::newRow("no source") << QStringList{"-t", "127.0.2.4", "-rc"};
    QTest::newRow("file command as last word") << QStringList{"-f"};
}

void TestCli::missingAddresses()
{
    QFETCH(QStringList, args);
    const LoaderRun run = runLoader(args);
    QVERIFY(run.finished);
    QCOMPARE(run.out, QByteArray("missing source or target ip\nResult: -9999\n"));
    QCOMPARE(run.exitCode, exitStatusOf(-9999));
}

void TestCli::optionWithoutArgument()
{
    // The walk stops at an option that lacks its argument; the run ends
    // with that instead of hanging.
    const LoaderRun run = runLoader({"-m"});
    QVERIFY(run.finished);
    QCOMPARE(run.out, QByteArray("Result: -1001\n"));
    QCOMPARE(run.exitCode, exitStatusOf(-1001));
}

void TestCli::sealing()
{
    const QString hex = fixture::tempPath("cli.hex");
    QFile f(hex);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(":020000040801F1\n:0440000001020304B2\n:00000001FF\n");
    f.close();
    const LoaderRun run = runLoader({"-M", hex});
    QVERIFY(run.finished);
    QCOMPARE(run.out, "Successfully updated " + hex.toLocal8Bit() + "\nResult: 0\n");
    QCOMPARE(run.exitCode, 0);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray sealed = f.readAll();
    QVERIFY(sealed.startsWith(":020000040801F1\n:1040000001020304FFFF"));
    QVERIFY(sealed.contains("\n:10FFF00000400108"));
}

void TestCli::sealingRefusals()
{
    const QString text = fixture::tempPath("notes.hex");
    QFile f(text);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("not an image\n");
    f.close();
    LoaderRun run = runLoader({"-m", text});
    QCOMPARE(run.out, "Unable to read >" + text.toLocal8Bit() + "<\nResult: -1003\n");
    QCOMPARE(run.exitCode, exitStatusOf(-1003));
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), QByteArray("not an image\n"));
    f.close();

    const QString missing = fixture::tempPath("missing.hex");
    run = runLoader({"-m", missing});
    QCOMPARE(run.out, "Unable to read >" + missing.toLocal8Bit() + "<\nResult: -1003\n");
    QVERIFY(!QFile::exists(missing));

    run = runLoader({"-m", ""});
    QCOMPARE(run.out, QByteArray("Result: -1003\n"));
}

QTEST_MAIN(TestCli)
#include "tst_cli.moc"
