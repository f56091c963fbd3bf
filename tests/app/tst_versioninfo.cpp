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
    }
};

QTEST_GUILESS_MAIN(TestVersionInfo)
#include "tst_versioninfo.moc"
