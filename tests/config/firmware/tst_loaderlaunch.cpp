#include <QtTest>

#include "loaderlaunch.h"

#include <QTemporaryDir>

// Which loader program runs, with which words, and what its run means.
class TestLoaderLaunch : public QObject
{
    Q_OBJECT
private slots:
    void findProgram_data();
    void findProgram();
    void wordsKeepBlanksInOneArgument();
    void result_data();
    void result();
};

namespace {

void touch(const QString &path, bool executable)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.close();
    if (executable)
        f.setPermissions(f.permissions() | QFileDevice::ExeOwner);
}

} // namespace

void TestLoaderLaunch::findProgram_data()
{
    QTest::addColumn<QStringList>("inWorkingDir");   // files there, in listing order
    QTest::addColumn<QStringList>("listing");        // as the folder lists them
    QTest::addColumn<bool>("besideUs");              // KorvantisLoader beside the program
    QTest::addColumn<QString>("expected");           // "" none; "beside" the plain loader

    const QString v900 = QStringLiteral("KorvantisLoader_Rev_2.12.900.exe");
    const QString v5 = QStringLiteral("KorvantisLoader_Rev_2.13.5.exe");
    const QString dflt = QStringLiteral("KorvantisLoader_Rev_2.11.878.exe");
    QTest::newRow("last versioned name of the listing wins")
        << QStringList{v900, v5} << QStringList{v900, v5} << true << v5;
    QTest::newRow("listing order, not version order")
        << QStringList{v900, v5} << QStringList{v5, v900} << false << v900;
    QTest::newRow("dots match any character")
        << QStringList{QStringLiteral("KorvantisLoader_Rev_2x12y900zexe")}
        << QStringList{QStringLiteral("KorvantisLoader_Rev_2x12y900zexe")} << false
        << QStringLiteral("KorvantisLoader_Rev_2x12y900zexe");
    QTest::newRow("no versioned name: the default name")
        << QStringList{dflt, QStringLiteral("other.exe")} << QStringList{QStringLiteral("other.exe")} << true << dflt;
    QTest::newRow("case matters") << QStringList{QStringLiteral("korvantisloader_rev_2.12.900.exe")}
                                  << QStringList{QStringLiteral("korvantisloader_rev_2.12.900.exe")} << true
                                  << QStringLiteral("beside");
    QTest::newRow("nothing in the folder: the loader beside us")
        << QStringList{} << QStringList{} << true << QStringLiteral("beside");
    QTest::newRow("no loader anywhere") << QStringList{} << QStringList{} << false << QString();
}

void TestLoaderLaunch::findProgram()
{
    QFETCH(QStringList, inWorkingDir);
    QFETCH(QStringList, listing);
    QFETCH(bool, besideUs);
    QFETCH(QString, expected);

    QTemporaryDir work, programs;
    for (const QString &name : inWorkingDir)
        touch(work.filePath(name), false);
    if (besideUs)
        touch(programs.filePath(QStringLiteral("KorvantisLoader")), true);

    const QString found = LoaderLaunch::findProgram(work.path(), listing, programs.path());
    if (expected.isEmpty())
        QCOMPARE(found, QString());
    else if (expected == QLatin1String("beside"))
        QCOMPARE(found, QFileInfo(programs.filePath(QStringLiteral("KorvantisLoader"))).absoluteFilePath());
    else
        QCOMPARE(found, QFileInfo(work.filePath(expected)).absoluteFilePath());
}

void TestLoaderLaunch::wordsKeepBlanksInOneArgument()
{
    const QStringList words = LoaderLaunch::arguments(QHostAddress(QStringLiteral("192.168.0.100")),
                                                      QHostAddress(QStringLiteral("192.168.0.10")),
                                                      {QStringLiteral("-f"), QStringLiteral("/my files/fw 1.fwa")});
    QCOMPARE(words, (QStringList{"-t", "192.168.0.100", "-s", "192.168.0.10", "-f", "/my files/fw 1.fwa"}));
}

void TestLoaderLaunch::result_data()
{
    QTest::addColumn<QByteArray>("out");
    QTest::addColumn<int>("status");    // QProcess::ExitStatus
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<bool>("started");
    QTest::addColumn<int>("expected");

    QTest::newRow("success") << QByteArray("Result: 0\n") << 0 << 0 << true << 0;
    QTest::newRow("the printed code beats the 8-bit status")
        << QByteArray("error catching loader\nResult: -1000\n") << 0 << (-1000 & 0xFF) << true << -1000;
    QTest::newRow("last Result line counts")
        << QByteArray("Result: 3\nWriting Firmware: x\nResult: -3\n") << 0 << 253 << true << -3;
    QTest::newRow("positive code") << QByteArray("Result: 5\r\n") << 0 << 5 << true << 5;
    QTest::newRow("no Result line: status sign-extended") << QByteArray("garbage\n") << 0 << 253 << true << -3;
    QTest::newRow("unreadable number: status") << QByteArray("Result: x\n") << 0 << 7 << true << 7;
    QTest::newRow("crashed or killed") << QByteArray("Result: 0\n") << 1 << 9 << true << LoaderLaunch::Crashed;
    QTest::newRow("never started") << QByteArray() << 0 << 0 << false << LoaderLaunch::NotStarted;
}

void TestLoaderLaunch::result()
{
    QFETCH(QByteArray, out);
    QFETCH(int, status);
    QFETCH(int, exitCode);
    QFETCH(bool, started);
    QFETCH(int, expected);
    QCOMPARE(LoaderLaunch::result(out, QProcess::ExitStatus(status), exitCode, started), expected);
}

QTEST_GUILESS_MAIN(TestLoaderLaunch)
#include "tst_loaderlaunch.moc"
