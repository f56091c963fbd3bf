#include <QGraphicsColorizeEffect>
#include <QLabel>
#include <QProgressBar>
#include <QtTest>

#include "valuebar.h"

// The value bar: scale labels, the clamped bar and the red border of a
// value above the maximum.
class TestValueBar : public QObject
{
    Q_OBJECT

private slots:
    void range_data();
    void range();
    void value_data();
    void value();
    void redBorderShowsAtOnce();
    void titleColourAndHiding();
    void aloneKeepsItsPartsTogether();

private:
    static QString text(ValueBar &bar, const char *name)
    {
        return bar.findChild<QLabel *>(QLatin1String(name))->text();
    }
    static int redPixels(QWidget *w)
    {
        const QImage image = w->grab().toImage();
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (image.pixelColor(x, y) == QColor(QStringLiteral("#E62C27")))
                    ++n;
        return n;
    }
};

void TestValueBar::range_data()
{
    QTest::addColumn<int>("min");
    QTest::addColumn<int>("max");
    QTest::addColumn<QStringList>("texts");  // min, centre, max
    QTest::newRow("symmetric") << -250 << 250 << QStringList{"-250", "0", "250"};
    QTest::newRow("odd span truncates") << 0 << 5 << QStringList{"0", "2", "5"};
    QTest::newRow("negative odd span") << -5 << 0 << QStringList{"-5", "-2", "0"};
}

void TestValueBar::range()
{
    QFETCH(int, min);
    QFETCH(int, max);
    QFETCH(QStringList, texts);
    ValueBar bar;
    bar.setRange(min, max);
    QCOMPARE(text(bar, "lblMinValue"), texts.at(0));
    QCOMPARE(text(bar, "lblCenterValue"), texts.at(1));
    QCOMPARE(text(bar, "lblMaxValue"), texts.at(2));
}

void TestValueBar::value_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<bool>("red");
    QTest::addColumn<int>("bar");
    QTest::newRow("inside") << 120 << false << 120;
    QTest::newRow("above the maximum") << 300 << true << 250;
    QTest::newRow("below the minimum") << -300 << false << -250;
    QTest::newRow("at the maximum") << 250 << false << 250;
}

void TestValueBar::value()
{
    QFETCH(int, value);
    QFETCH(bool, red);
    QFETCH(int, bar);
    ValueBar vb;
    QCOMPARE(text(vb, "lblCurrentValue"), QStringLiteral("0"));
    vb.setRange(-250, 250);
    vb.setValue(value);
    QCOMPARE(text(vb, "lblCurrentValue"), QString::number(value));
    QCOMPARE(vb.findChild<QLabel *>("lblCurrentValue")->property("useRedBorder").toBool(), red);
    QCOMPARE(vb.findChild<QProgressBar *>("prgBar")->value(), bar);
}

void TestValueBar::redBorderShowsAtOnce()
{
    ValueBar bar;
    bar.setRange(0, 100);
    bar.resize(120, 300);
    bar.show();
    QVERIFY(QTest::qWaitForWindowExposed(&bar));
    QLabel *number = bar.findChild<QLabel *>("lblCurrentValue");
    bar.setValue(50);
    QCOMPARE(redPixels(number), 0);
    bar.setValue(150);
    QVERIFY(redPixels(number) > 0);
    bar.setValue(80);
    QCOMPARE(redPixels(number), 0);
}

void TestValueBar::titleColourAndHiding()
{
    ValueBar bar;
    bar.setTitle(QStringLiteral("Channel 3"));
    QCOMPARE(text(bar, "lblDescription"), QStringLiteral("Channel 3"));
    QCOMPARE(bar.findChild<QLabel *>("lblDescription")->toolTip(), QStringLiteral("Channel 3"));
    auto *effect = qobject_cast<QGraphicsColorizeEffect *>(bar.findChild<QProgressBar *>("prgBar")->graphicsEffect());
    QVERIFY(effect);
    bar.setColor(Qt::red);
    QCOMPARE(effect->color(), QColor(Qt::red));
    bar.setRange(10, 20);
    bar.setValue(15);
    bar.setValueShown(false);
    QVERIFY(bar.findChild<QLabel *>("lblCurrentValue")->isHidden());
    QCOMPARE(bar.findChild<QProgressBar *>("prgBar")->value(), 10);
    bar.setValueShown(true);
    QVERIFY(!bar.findChild<QLabel *>("lblCurrentValue")->isHidden());
}

void TestValueBar::aloneKeepsItsPartsTogether()
{
    // One bar given a whole page's width (one channel ticked): caption,
    // scale, bar and number stay one block.
    ValueBar bar;
    bar.setRange(0, 32767);
    bar.setTitle(QStringLiteral("Channel 1"));
    bar.setValue(408);
    bar.resize(900, 300);
    bar.show();
    QVERIFY(QTest::qWaitForWindowExposed(&bar));
    auto centreX = [&](const char *name) {
        QWidget *w = bar.findChild<QWidget *>(QString::fromLatin1(name));
        return w->mapTo(&bar, w->rect().center()).x();
    };
    const int caption = centreX("lblDescription");
    auto *scale = bar.findChild<QLabel *>(QStringLiteral("lblMaxValue"));
    QWidget *progress = bar.findChild<QWidget *>(QStringLiteral("prgBar"));
    // The block is centred, and the bar lies next to its caption: no
    // farther than the scale's widest number and the bar itself.
    const int scaleText = QFontMetrics(scale->font()).horizontalAdvance(scale->text());
    QVERIFY2(qAbs(caption - bar.width() / 2) <= 2, qPrintable(QString::number(caption)));
    QVERIFY2(qAbs(centreX("prgBar") - caption) <= scaleText + progress->width() + 12,
             qPrintable(QStringLiteral("bar at %1, caption at %2").arg(centreX("prgBar")).arg(caption)));
}

QTEST_MAIN(TestValueBar)
#include "tst_valuebar.moc"
