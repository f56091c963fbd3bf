#include <QtTest>
#include <cmath>
#include <limits>

#include "filterkoeff.h"

class TestFilterKoeff : public QObject
{
    Q_OBJECT

private slots:
    void toQ15_data()
    {
        QTest::addColumn<double>("x");
        QTest::addColumn<int>("q");
        QTest::newRow("0.5") << 0.5 << 16384;
        QTest::newRow("-0.5") << -0.5 << -16384;
        QTest::newRow("1.0 saturates") << 1.0 << 32767;
        QTest::newRow("-1.0") << -1.0 << -32768;
        QTest::newRow("0") << 0.0 << 0;
        QTest::newRow("half lsb up") << 1.0 / 65536 << 1;
        QTest::newRow("half lsb down") << -1.0 / 65536 << -1;
        QTest::newRow("far above") << 1e9 << 32767;
        QTest::newRow("far below") << -1e9 << -32768;
    }
    void toQ15()
    {
        QFETCH(double, x);
        QFETCH(int, q);
        QCOMPARE(int(FilterKoeff::toQ15(x)), q);
    }

    void defaults()
    {
        FilterKoeff k;
        QCOMPARE(int(k.postShift()), 1);
        QVector<qint16> q;
        k.toQ15Vector(q);
        const QVector<qint16> expected{1105, 0, -2210, 1105, 2374, -10155, 16384, 0, 32767, 16384, 14358, -10913};
        QCOMPARE(q, expected);
        QCOMPARE(k.name(), QStringLiteral("Koeff"));
        QCOMPARE(k.secondName(), QStringLiteral("5251"));
        QCOMPARE(k.firstInteger(), 4);
        QCOMPARE(k.secondInteger(), 15000);
        QCOMPARE(k.thirdInteger(), 25000);

        QVector<qint16> section;
        FilterSection s;
        s.toList(section);
        QCOMPARE(section, (QVector<qint16>{8304, 0, 0, -8304, 13373, -16159}));
    }

    void postShift_data()
    {
        QTest::addColumn<double>("largest");
        QTest::addColumn<int>("shift");
        QTest::newRow("within 1") << 0.9 << 0;
        QTest::newRow("exactly 1") << 1.0 << 0;
        QTest::newRow("2.0") << 2.0 << 1;
        QTest::newRow("2.5") << -2.5 << 2;
        QTest::newRow("1000") << 1000.0 << 10;
    }
    void postShift()
    {
        QFETCH(double, largest);
        QFETCH(int, shift);
        QVector<double> v(12, 0.25);
        v[7] = largest;
        FilterKoeff k;
        QVERIFY(k.setKoeffs(v));
        QCOMPARE(int(k.postShift()), shift);
    }

    void roundTripWithinOneLsb()
    {
        QVector<double> v{0.1, -0.2, 0.3, -0.4, 0.5, -0.6, 0.7, -0.8, 0.9, -0.95, 0.123456, -0.999};
        FilterKoeff k;
        QVERIFY(k.setKoeffs(v));
        QCOMPARE(int(k.postShift()), 0);
        QVector<double> back;
        k.toDoubleVector(back);
        QCOMPARE(back.size(), 12);
        for (int i = 0; i < 12; ++i)
            QVERIFY2(std::fabs(back[i] - v[i]) <= 1.0 / 65536, qPrintable(QString::number(i)));
    }

    // Refused sets leave sections and post-shift as they were.
    void refused_data()
    {
        QTest::addColumn<QVector<double>>("values");
        QTest::newRow("11 values") << QVector<double>(11, 0.1);
        QTest::newRow("13 values") << QVector<double>(13, 0.1);
        QVector<double> nan(12, 0.1);
        nan[3] = std::numeric_limits<double>::quiet_NaN();
        QTest::newRow("nan") << nan;
        QVector<double> inf(12, 0.1);
        inf[11] = -std::numeric_limits<double>::infinity();
        QTest::newRow("infinity") << inf;
        QVector<double> huge(12, 0.1);
        huge[0] = 1e300;
        QTest::newRow("post-shift would not fit") << huge;
    }
    void refused()
    {
        QFETCH(QVector<double>, values);
        FilterKoeff k;
        QVector<qint16> before, after;
        k.toQ15Vector(before);
        QVERIFY(!k.setKoeffs(values));
        k.toQ15Vector(after);
        QCOMPARE(after, before);
        QCOMPARE(int(k.postShift()), 1);
    }

    void fixedKoeffsKeepShift()
    {
        FilterKoeff k;
        QVector<qint16> fixed(12);
        for (int i = 0; i < 12; ++i)
            fixed[i] = qint16(i * 100 - 500);
        QVERIFY(k.setFixedKoeffs(fixed));
        QVector<qint16> out;
        k.toQ15Vector(out);
        QCOMPARE(out, fixed);
        QCOMPARE(int(k.postShift()), 1);
        QVERIFY(!k.setFixedKoeffs(QVector<qint16>(6)));
        k.toQ15Vector(out);
        QCOMPARE(out, fixed);
    }

    void equalityUsesFirstIntegerAndU16()
    {
        FilterKoeff a, b;
        b.setName(QStringLiteral("other"));
        QVERIFY(a == b);
        b.setU16Field(3);
        QVERIFY(a != b);
    }
};

QTEST_APPLESS_MAIN(TestFilterKoeff)
#include "tst_filterkoeff.moc"
