#include <QtTest>

#include "versioninfo.h"

class TestVersionInfo : public QObject
{
    Q_OBJECT

private slots:
    void freshRecord()
    {
        VersionInfo v;
        QCOMPARE(v.versionString(), QStringLiteral("03.11.01339 "));
        QCOMPARE(v.toolVersion(), (QVector<uint>{3, 11, 1339, 0}));
        QCOMPARE(v.shortVersionString(), QStringLiteral("%1.%2").arg(QT_VERSION_MAJOR).arg(QT_VERSION_MINOR));
        QCOMPARE(v.hostInfo().size(), 4);
        QCOMPARE(v.hostInfo().at(2), QSysInfo::kernelType() + QLatin1Char(' ') + QSysInfo::kernelVersion());
        QCOMPARE(v.productInfo().toByteArray(), QByteArray(11, '\0'));
    }

    void keepsIdentification()
    {
        ProductInfoRecord r;
        r.firmwareMajor = 2;
        r.firmwareBuild = 0x1234;
        r.hardwareRevision = 7;
        VersionInfo v(&r);
        QCOMPARE(v.productInfo().toByteArray(), r.toByteArray());
    }

    void parseThreePart_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QVector<uint>>("expected");
        QTest::addColumn<QString>("printed");
        QTest::newRow("modified") << "03.11.01339M" << QVector<uint>{3, 11, 1339, 1} << "03.11.01339M";
        QTest::newRow("lower-case m") << "3.11.1339m" << QVector<uint>{3, 11, 1339, 1} << "03.11.01339M";
        QTest::newRow("plain") << "03.11.01339 " << QVector<uint>{3, 11, 1339, 0} << "03.11.01339 ";
        QTest::newRow("wide build") << "1.2.1234567" << QVector<uint>{1, 2, 1234567, 0} << "01.02.1234567 ";
        QTest::newRow("two numbers unchanged") << "3.12" << QVector<uint>{3, 11, 1339, 0} << "03.11.01339 ";
        QTest::newRow("four numbers unchanged") << "1.2.3.4" << QVector<uint>{3, 11, 1339, 0} << "03.11.01339 ";
    }
    void parseThreePart()
    {
        QFETCH(QString, text);
        QFETCH(QVector<uint>, expected);
        QFETCH(QString, printed);
        VersionInfo v;
        v.parseThreePart(text);
        QCOMPARE(v.toolVersion(), expected);
        QCOMPARE(v.versionString(), printed);
        // Printing and parsing round-trip.
        VersionInfo again;
        again.parseThreePart(v.versionString());
        QCOMPARE(again.toolVersion(), expected);
    }

    void parseTwoPart_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("printed");
        QTest::newRow("5.9") << "5.9" << "5.9";
        QTest::newRow("5.x") << "5.x" << "5.0";
        QTest::newRow("three parts unchanged") << "5.9.1" << "5.9";
        QTest::newRow("one part unchanged") << "5" << "5.9";
        QTest::newRow("empty middle unchanged") << "5..9" << "5.9";
    }
    void parseTwoPart()
    {
        QFETCH(QString, text);
        QFETCH(QString, printed);
        VersionInfo v;
        v.parseTwoPart(QStringLiteral("5.9"));
        v.parseTwoPart(text);
        QCOMPARE(v.shortVersionString(), printed);
    }

    void setters()
    {
        VersionInfo v;
        v.setHostInfo({QStringLiteral("a"), QStringLiteral("b")});
        QCOMPARE(v.hostInfo(), (QStringList{QStringLiteral("a"), QStringLiteral("b")}));
        // A short list set from a damaged file reads as empty texts.
        QCOMPARE(v.hostText(1), QStringLiteral("b"));
        QCOMPARE(v.hostText(3), QString());
    }

    // A log file's stored versions: what parses is taken (the marker too),
    // what does not leaves that version empty instead of the running tool's.
    void storedVersions_data()
    {
        QTest::addColumn<QByteArray>("qtBytes");
        QTest::addColumn<QByteArray>("toolBytes");
        QTest::addColumn<QString>("qtPrinted");
        QTest::addColumn<QString>("toolPrinted");
        QTest::addColumn<bool>("modified");
        QTest::newRow("as written") << QByteArray("5.9") << QByteArray("03.11.01339 ") << "5.9" << "03.11.01339 " << false;
        QTest::newRow("modified tool") << QByteArray("5.15") << QByteArray("03.10.00042M") << "5.15" << "03.10.00042M" << true;
        QTest::newRow("zero byte ends the text") << QByteArray("5.9\0garbage", 11) << QByteArray("1.2.3\0.4", 9)
                                                 << "5.9" << "01.02.00003 " << false;
        QTest::newRow("unreadable") << QByteArray("5") << QByteArray("3.11") << "" << "" << false;
        QTest::newRow("empty") << QByteArray() << QByteArray() << "" << "" << false;
    }
    void storedVersions()
    {
        QFETCH(QByteArray, qtBytes);
        QFETCH(QByteArray, toolBytes);
        QFETCH(QString, qtPrinted);
        QFETCH(QString, toolPrinted);
        QFETCH(bool, modified);
        VersionInfo v;
        v.setStoredVersions(VersionInfo::storedText(qtBytes), VersionInfo::storedText(toolBytes));
        QCOMPARE(v.shortVersionString(), qtPrinted);
        QCOMPARE(v.versionString(), toolPrinted);
        QCOMPARE(v.isModified(), modified);
    }

    void parsersSayWhetherTheyTookTheText()
    {
        VersionInfo v;
        QVERIFY(v.parseTwoPart(QStringLiteral("6.2")));
        QVERIFY(!v.parseTwoPart(QStringLiteral("6.2.1")));
        QVERIFY(v.parseThreePart(QStringLiteral("1.2.3")));
        QVERIFY(!v.parseThreePart(QStringLiteral("1.2")));
        QCOMPARE(v.shortVersionString(), QStringLiteral("6.2"));
        QCOMPARE(v.versionString(), QStringLiteral("01.02.00003 "));
    }

    void storedTextIsUtf8()
    {
        QCOMPARE(VersionInfo::storedText(QByteArray("M\xc3\xbcnchen-PC")), QStringLiteral("M\u00fcnchen-PC"));
    }
};

QTEST_GUILESS_MAIN(TestVersionInfo)
#include "tst_versioninfo.moc"
