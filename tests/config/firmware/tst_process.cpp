#include <QtTest>

#include "loaderlaunch.h"
#include "process.h"

#include <QTemporaryDir>

// How one run of a program ends, as the firmware update reads it: only a
// program that ended by itself gives a result; a crash, a kill, the
// time-out or a failed start each give a failure of their own, never 0.
// The programs are small shell scripts; nothing here uses the network.
class TestProcess : public QObject
{
    Q_OBJECT
private slots:
    void outcome_data();
    void outcome();
    void quittingProgramStillWaitsForTheRun();
};

void TestProcess::outcome_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QString>("script");
    QTest::addColumn<int>("timeoutMs");
    QTest::addColumn<int>("result");
    QTest::addColumn<int>("outcome");  // LoaderLaunch::Outcome

    using O = LoaderLaunch::Outcome;
    const QString sh = QStringLiteral("/bin/sh");
    QTest::newRow("result line") << sh << "echo 'Result: -3'; exit 0" << 20000 << -3 << int(O::Finished);
    QTest::newRow("exit status, no result line") << sh << "exit 5" << 20000 << 5 << int(O::Finished);
    QTest::newRow("crashed after a result line")
        << sh << "echo 'Result: 0'; kill -SEGV $$" << 20000 << LoaderLaunch::Crashed << int(O::Crashed);
    QTest::newRow("killed") << sh << "kill -KILL $$" << 20000 << LoaderLaunch::Crashed << int(O::Crashed);
    QTest::newRow("time-out") << sh << "echo 'Result: 0'; exec sleep 30" << 300 << LoaderLaunch::Crashed
                              << int(O::TimedOut);
    QTest::newRow("no such program") << "/nonexistent/KorvantisLoader" << "" << 20000 << LoaderLaunch::NotStarted
                                     << int(O::NotStarted);
    QTest::newRow("not executable") << "not executable" << "" << 20000 << LoaderLaunch::NotStarted
                                    << int(O::NotStarted);
}

void TestProcess::outcome()
{
    QFETCH(QString, program);
    QFETCH(QString, script);
    QFETCH(int, timeoutMs);
    QFETCH(int, result);
    QFETCH(int, outcome);

    QTemporaryDir dir;
    if (program == QLatin1String("not executable")) {
        program = dir.filePath(QStringLiteral("KorvantisLoader"));
        QFile file(program);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("#!/bin/sh\necho 'Result: 0'\n");
        file.close();
        QVERIFY(file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner));
    }
    Process process;
    const QStringList arguments = script.isEmpty() ? QStringList() : QStringList{QStringLiteral("-c"), script};
    QCOMPARE(process.run(program, arguments, timeoutMs), result);
    QCOMPARE(int(process.outcome()), outcome);
    if (outcome == int(LoaderLaunch::Outcome::NotStarted))
        QVERIFY(!process.errorText().isEmpty());
}

// The program quits (every event loop is told to end) while a run is
// going: the run is not cut short and gives the program's own result.
void TestProcess::quittingProgramStillWaitsForTheRun()
{
    int result = 0;
    LoaderLaunch::Outcome outcome = LoaderLaunch::Outcome::Busy;
    QTimer::singleShot(0, this, [&] {
        QTimer::singleShot(100, QCoreApplication::instance(), [] { QCoreApplication::quit(); });
        Process process;
        result = process.run(QStringLiteral("/bin/sh"),
                             {QStringLiteral("-c"), QStringLiteral("sleep 1; echo 'Result: 7'")}, 20000);
        outcome = process.outcome();
    });
    QTimer failsafe;
    failsafe.setSingleShot(true);
    connect(&failsafe, &QTimer::timeout, QCoreApplication::instance(), [] { QCoreApplication::exit(99); });
    failsafe.start(30000);
    QCOMPARE(QCoreApplication::exec(), 0);
    QCOMPARE(result, 7);
    QCOMPARE(int(outcome), int(LoaderLaunch::Outcome::Finished));
}

QTEST_GUILESS_MAIN(TestProcess)
#include "tst_process.moc"
