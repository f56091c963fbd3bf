#include "appfixture.h"
#include "scalingdialog.h"
#include "scalinghandlercont.h"

#include <QComboBox>
#include <QFile>
#include <QHBoxLayout>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QVBoxLayout>
#include <QtTest>

class TestScaling : public QObject
{
    Q_OBJECT

private slots:
    void readScaling_data();
    void readScaling();
    void missingFileGivesDefault();
    void loadScalingEmitsFactor();
    void scaleLayoutTree();
    void scaleLayoutRoundsHalvesUp();
    void dialogShowsStoredFactor_data();
    void dialogShowsStoredFactor();
    void dialogApplyStoresAndRestarts();
    void dialogExitStoresNothing();
};

void TestScaling::readScaling_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<double>("factor");
    QTest::newRow("valid 1.5") << QByteArray("Scaling=1.5") << 1.5;
    QTest::newRow("lower edge") << QByteArray("Scaling=0.5") << 0.5;
    QTest::newRow("upper edge") << QByteArray("Scaling=3.0") << 3.0;
    QTest::newRow("integer") << QByteArray("Scaling=2") << 2.0;
    QTest::newRow("below") << QByteArray("Scaling=0.49") << 1.0;
    QTest::newRow("above") << QByteArray("Scaling=3.01") << 1.0;
    QTest::newRow("0.4") << QByteArray("Scaling=0.4") << 1.0;
    QTest::newRow("3.5") << QByteArray("Scaling=3.5") << 1.0;
    QTest::newRow("nan") << QByteArray("Scaling=nan") << 1.0;
    QTest::newRow("inf") << QByteArray("Scaling=inf") << 1.0;
    QTest::newRow("negative") << QByteArray("Scaling=-2") << 1.0;
    QTest::newRow("decimal comma") << QByteArray("Scaling=1,5") << 1.0;
    QTest::newRow("quoted decimal comma") << QByteArray("Scaling=\"1,5\"") << 1.0;
    QTest::newRow("text") << QByteArray("Scaling=large") << 1.0;
    QTest::newRow("empty") << QByteArray("Scaling=") << 1.0;
    QTest::newRow("missing key") << QByteArray("Other=2") << 1.0;
    QTest::newRow("in a group") << QByteArray("[General2]\nScaling=2") << 1.0;
    QTest::newRow("garbage file") << QByteArray("\x01\x02\xff[[[=") << 1.0;
}

void TestScaling::readScaling()
{
    QFETCH(QByteArray, line);
    QFETCH(double, factor);
    QTemporaryDir dir;
    QFile ini(dir.filePath(QStringLiteral("cfg.ini")));
    QVERIFY(ini.open(QIODevice::WriteOnly));
    ini.write(line + "\n");
    ini.close();
    QCOMPARE(ScalingHandlerCont::readScaling(ini.fileName()), factor);
}

void TestScaling::missingFileGivesDefault()
{
    QTemporaryDir dir;
    QCOMPARE(ScalingHandlerCont::readScaling(dir.filePath(QStringLiteral("cfg.ini"))), 1.0);
}

void TestScaling::loadScalingEmitsFactor()
{
    QSignalSpy spy(ScalingHandlerCont::instance(), &ScalingHandlerCont::scaleFactorChanged);
    {
        ScaleFixture scale(QStringLiteral("0.5"));
        QCOMPARE(ScalingHandlerCont::instance()->getScaleFactor(), 0.5);
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toDouble(), 0.5);
    }
    {
        ScaleFixture scale(QStringLiteral("nan"));
        QCOMPARE(ScalingHandlerCont::instance()->getScaleFactor(), 1.0);
    }
}

void TestScaling::scaleLayoutTree()
{
    QWidget root;
    auto *outer = new QVBoxLayout(&root);
    outer->setSpacing(6);
    outer->setContentsMargins(9, 9, 9, 9);
    auto *child = new QWidget;
    outer->addWidget(child);
    auto *inner = new QHBoxLayout(child);
    inner->setSpacing(6);
    inner->setContentsMargins(9, 9, 9, 9);
    auto *grandChild = new QWidget;
    inner->addWidget(grandChild);
    auto *deepest = new QVBoxLayout(grandChild);
    deepest->setSpacing(3);
    deepest->setContentsMargins(1, 2, 3, 0);
    auto *noLayout = new QPushButton(QStringLiteral("x"));
    deepest->addWidget(noLayout);

    ScalingHandlerCont::scaleLayout(&root, 2.0);
    for (QLayout *l : {static_cast<QLayout *>(outer), static_cast<QLayout *>(inner)}) {
        QCOMPARE(l->spacing(), 12);
        QCOMPARE(l->contentsMargins(), QMargins(18, 18, 18, 18));
    }
    QCOMPARE(deepest->spacing(), 6);
    QCOMPARE(deepest->contentsMargins(), QMargins(2, 4, 6, 0));

    ScalingHandlerCont::scaleLayout(nullptr, 2.0); // ignored
}

void TestScaling::scaleLayoutRoundsHalvesUp()
{
    QWidget root;
    auto *layout = new QVBoxLayout(&root);
    layout->setSpacing(5);
    layout->setContentsMargins(1, 3, 7, 9);
    ScalingHandlerCont::scaleLayout(&root, 0.5);
    QCOMPARE(layout->spacing(), 3);                          // 2.5 -> 3
    QCOMPARE(layout->contentsMargins(), QMargins(1, 2, 4, 5)); // 0.5, 1.5, 3.5, 4.5
}

void TestScaling::dialogShowsStoredFactor_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<int>("index");
    QTest::addColumn<double>("factor");
    QTest::newRow("0.5") << "0.5" << 0 << 0.5;
    QTest::newRow("1.0") << "1.0" << 1 << 1.0;
    QTest::newRow("2") << "2" << 2 << 2.0;
    QTest::newRow("1.5 not offered") << "1.5" << 1 << 1.0;
    QTest::newRow("out of range") << "2.5e3" << 1 << 1.0;
}

void TestScaling::dialogShowsStoredFactor()
{
    QFETCH(QString, stored);
    QFETCH(int, index);
    QFETCH(double, factor);
    ScaleFixture scale(stored);
    ScalingDialog dialog;
    QVERIFY(dialog.isHidden());
    QCOMPARE(dialog.currentIndex(), index);
    QCOMPARE(dialog.chosenFactor(), factor);
}

void TestScaling::dialogApplyStoresAndRestarts()
{
    {
        // 1.5 is not offered: the dialog opens on 100% and applying stores 1.
        ScaleFixture scale(QStringLiteral("1.5"));
        ScalingDialog dialog;
        QTimer::singleShot(0, &dialog, [&] {
            dialog.findChild<QPushButton *>(QStringLiteral("btnApply"))->click();
        });
        QCOMPARE(dialog.exec(), 1337);
        QVERIFY(dialog.isHidden());
        QCOMPARE(QSettings(scale.iniPath(), QSettings::IniFormat).value("Scaling").toDouble(), 1.0);
    }
    {
        ScaleFixture scale(QStringLiteral("1"));
        ScalingDialog dialog;
        dialog.findChild<QComboBox *>(QStringLiteral("cmbScaleSel"))->setCurrentIndex(2);
        QTimer::singleShot(0, &dialog, [&] {
            dialog.findChild<QPushButton *>(QStringLiteral("btnApply"))->click();
        });
        QCOMPARE(dialog.exec(), 1337);
        QCOMPARE(ScalingHandlerCont::readScaling(scale.iniPath()), 2.0);
    }
}

void TestScaling::dialogExitStoresNothing()
{
    ScaleFixture scale(QStringLiteral("1"));
    QFile before(scale.iniPath());
    QVERIFY(before.open(QIODevice::ReadOnly));
    const QByteArray content = before.readAll();
    before.close();

    ScalingDialog dialog;
    dialog.findChild<QComboBox *>(QStringLiteral("cmbScaleSel"))->setCurrentIndex(2);
    QTimer::singleShot(0, &dialog, [&] {
        dialog.findChild<QPushButton *>(QStringLiteral("btnExit"))->click();
    });
    QCOMPARE(dialog.exec(), -1);
    QFile after(scale.iniPath());
    QVERIFY(after.open(QIODevice::ReadOnly));
    QCOMPARE(after.readAll(), content);
}

QTEST_MAIN(TestScaling)
#include "tst_scaling.moc"
