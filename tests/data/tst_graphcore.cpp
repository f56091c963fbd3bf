#include <QColor>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QtTest>
#include <cmath>

#include "columnreducer.h"
#include "graphpalette.h"
#include "graphrenderer.h"
#include "ticksteps.h"

// The pure parts of graph drawing: tick steps and positions, label elision,
// the channel colours and the thinning of long curves.
class TestGraphCore : public QObject
{
    Q_OBJECT

private slots:
    void tickCount_data();
    void tickCount();
    void tickStep_data();
    void tickStep();
    void tickPositions_data();
    void tickPositions();
    void elide_data();
    void elide();
    void palette();
    void reducer_data();
    void reducer();
};

void TestGraphCore::tickCount_data()
{
    QTest::addColumn<int>("plotWidth");
    QTest::addColumn<int>("sampleWidth");
    QTest::addColumn<int>("expected");
    QTest::newRow("eight labels fit") << 500 << 60 << 8;
    QTest::newRow("capped at ten") << 5000 << 60 << 10;
    QTest::newRow("narrower than one label") << 50 << 60 << 1;
    QTest::newRow("no plot at all") << 0 << 60 << 1;
    QTest::newRow("negative plot") << -20 << 60 << 1;
    QTest::newRow("empty sample text") << 500 << 0 << 10;
}

void TestGraphCore::tickCount()
{
    QFETCH(int, plotWidth);
    QFETCH(int, sampleWidth);
    QFETCH(int, expected);
    QCOMPARE(TickSteps::maxTickCount(plotWidth, sampleWidth), expected);
}

void TestGraphCore::tickStep_data()
{
    QTest::addColumn<double>("span");
    QTest::addColumn<int>("ticks");
    QTest::addColumn<double>("expected");
    QTest::newRow("0..100 with 8 ticks") << 100.0 << 8 << 20.0;
    QTest::newRow("0..100 with 10 ticks") << 100.0 << 10 << 10.0;
    QTest::newRow("span 7 with 3 ticks") << 7.0 << 3 << 5.0;
    QTest::newRow("span 1 with 10 ticks") << 1.0 << 10 << 0.1;
    QTest::newRow("billions") << 2.0e9 << 10 << 2.0e8;
    QTest::newRow("one tick covers all") << 100.0 << 1 << 100.0;
    // A graph too narrow for one label still gets one tick instead of
    // searching for ever.
    QTest::newRow("no tick fits") << 100.0 << 0 << 100.0;
    QTest::newRow("negative tick count") << 100.0 << -3 << 100.0;
    QTest::newRow("zero span") << 0.0 << 10 << 0.0;
    QTest::newRow("negative span") << -5.0 << 10 << 0.0;
    QTest::newRow("infinite span") << double(INFINITY) << 10 << 0.0;
    QTest::newRow("not a number") << double(NAN) << 10 << 0.0;
}

void TestGraphCore::tickStep()
{
    QFETCH(double, span);
    QFETCH(int, ticks);
    QFETCH(double, expected);
    const double step = TickSteps::step(span, ticks);
    if (expected == 0.0)
        QCOMPARE(step, 0.0);
    else
        QVERIFY2(std::abs(step - expected) < expected * 1e-9, qPrintable(QString::number(step)));
}

void TestGraphCore::tickPositions_data()
{
    QTest::addColumn<double>("minimum");
    QTest::addColumn<double>("maximum");
    QTest::addColumn<double>("step");
    QTest::addColumn<QVector<double>>("expected");
    QTest::newRow("0..100 by 20") << 0.0 << 100.0 << 20.0 << QVector<double>{0, 20, 40, 60, 80, 100};
    QTest::newRow("negative minimum starts at -5") << -7.0 << 10.0 << 5.0 << QVector<double>{-5, 0, 5, 10};
    QTest::newRow("all negative") << -30.0 << -11.0 << 10.0 << QVector<double>{-30, -20};
    QTest::newRow("decimal steps reach the maximum") << 0.0 << 0.3 << 0.1 << QVector<double>{0, 0.1, 0.2, 0.3};
    QTest::newRow("step 0: no ticks") << 0.0 << 100.0 << 0.0 << QVector<double>{};
    QTest::newRow("negative step: no ticks") << 0.0 << 100.0 << -1.0 << QVector<double>{};
    QTest::newRow("reversed range: no ticks") << 10.0 << 0.0 << 1.0 << QVector<double>{};
    QTest::newRow("millions of ticks refused") << 0.0 << 1.0e9 << 1.0 << QVector<double>{};
}

void TestGraphCore::tickPositions()
{
    QFETCH(double, minimum);
    QFETCH(double, maximum);
    QFETCH(double, step);
    QFETCH(QVector<double>, expected);
    const QVector<double> got = TickSteps::positions(minimum, maximum, step);
    QCOMPARE(got.size(), expected.size());
    for (int i = 0; i < got.size(); ++i)
        QVERIFY2(std::abs(got.at(i) - expected.at(i)) < 1e-9, qPrintable(QString::number(got.at(i))));
}

void TestGraphCore::elide_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("extra");   // added to the text's own width
    QTest::addColumn<QString>("kind");
    QTest::newRow("narrower text stays") << "Time [s]" << 1 << "same";
    QTest::newRow("exactly as wide is cut") << "Time [s]" << 0 << "cut";
    QTest::newRow("much wider is cut") << "A rather long axis title that does not fit" << -80 << "cut";
    QTest::newRow("not even the dots fit") << "Title" << -1000 << "empty";
    QTest::newRow("empty text with room") << "" << 10 << "same";
}

void TestGraphCore::elide()
{
    QFETCH(QString, text);
    QFETCH(int, extra);
    QFETCH(QString, kind);
    const QFontMetrics fm(QGuiApplication::font());
    const int maxWidth = fm.boundingRect(text).width() + extra;
    const QString got = GraphRenderer::elideText(fm, text, maxWidth);
    if (kind == QLatin1String("same")) {
        QCOMPARE(got, text);
    } else if (kind == QLatin1String("empty")) {
        QCOMPARE(got, QString());
    } else {
        QVERIFY(got.endsWith(QLatin1String(" ...")));
        const QString prefix = got.left(got.size() - 4);
        QVERIFY(text.startsWith(prefix));
        QVERIFY(prefix.size() < text.size());
        QVERIFY(fm.boundingRect(got).width() < maxWidth);
        // The longest prefix that fits: one more character does not.
        const QString longer = text.left(prefix.size() + 1) + QLatin1String(" ...");
        QVERIFY(fm.boundingRect(longer).width() >= maxWidth);
    }
}

void TestGraphCore::palette()
{
    const QStringList names{"#1f77b4", "#ff7f0e", "#2ca02c", "#8c564b", "#9467bd", "#bcbd22", "#17becf"};
    for (int i = 0; i < names.size(); ++i) {
        QCOMPARE(QColor::fromRgba(GraphPalette::colorAt(i)).name(), names.at(i));
        QCOMPARE(QColor::fromRgba(GraphPalette::colorAt(i)).alpha(), 255);
        QCOMPARE(GraphPalette::colorAt(i + 7), GraphPalette::colorAt(i));
    }
    QCOMPARE(GraphPalette::colorAt(-1), GraphPalette::colorAt(6));
    QCOMPARE(GraphPalette::colorAt(-8), GraphPalette::colorAt(6));
}

void TestGraphCore::reducer_data()
{
    QTest::addColumn<QVector<QPoint>>("input");
    QTest::addColumn<QVector<QPoint>>("expected");
    QTest::newRow("empty") << QVector<QPoint>{} << QVector<QPoint>{};
    QTest::newRow("one point") << QVector<QPoint>{{3, 4}} << QVector<QPoint>{{3, 4}};
    QTest::newRow("one per column stays")
        << QVector<QPoint>{{0, 5}, {1, 7}, {2, 1}} << QVector<QPoint>{{0, 5}, {1, 7}, {2, 1}};
    QTest::newRow("low before high")
        << QVector<QPoint>{{0, 5}, {0, 2}, {0, 4}, {0, 9}, {0, 6}, {1, 0}}
        << QVector<QPoint>{{0, 5}, {0, 2}, {0, 9}, {0, 6}, {1, 0}};
    QTest::newRow("high before low")
        << QVector<QPoint>{{0, 5}, {0, 9}, {0, 4}, {0, 2}, {0, 6}}
        << QVector<QPoint>{{0, 5}, {0, 9}, {0, 2}, {0, 6}};
    QTest::newRow("first is the extreme")
        << QVector<QPoint>{{0, 1}, {0, 3}, {0, 8}, {0, 2}} << QVector<QPoint>{{0, 1}, {0, 8}, {0, 2}};
    QTest::newRow("flat run collapses") << QVector<QPoint>{{4, 3}, {4, 3}, {4, 3}} << QVector<QPoint>{{4, 3}};
    // A column visited twice (x going back) is two runs, not one.
    QTest::newRow("returning column")
        << QVector<QPoint>{{0, 0}, {0, 5}, {1, 1}, {0, 9}, {0, 3}}
        << QVector<QPoint>{{0, 0}, {0, 5}, {1, 1}, {0, 9}, {0, 3}};
}

void TestGraphCore::reducer()
{
    QFETCH(QVector<QPoint>, input);
    QFETCH(QVector<QPoint>, expected);
    QCOMPARE(ColumnReducer::reduce(input), expected);
}

QTEST_MAIN(TestGraphCore)
#include "tst_graphcore.moc"
