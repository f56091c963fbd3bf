// The main window at display scale 2.0 (the factor is fixed for the life of
// a process, so this has a program of its own).
#include <QToolButton>
#include <QTreeView>
#include <QtTest>

#include "appfixture.h"
#include "configtab.h"
#include "databasecont.h"
#include "mainwindow.h"
#include "mainwindowfixture.h"
#include "screenfit.h"
#include "statusbar.h"
#include "testnet.h"
#include "tiletab.h"

class TestMainWindowScale : public QObject
{
    Q_OBJECT
private slots:
    void doubleSize();
};

void TestMainWindowScale::doubleSize()
{
    ScaleFixture scale(QStringLiteral("2.0"));
    Databasecont::instance().setDbDirectory(testnet::binDir() + QStringLiteral("/Korvantisdbs/"));
    MainWindow window;
    for (const char *name : {"btnMore", "btnRestartPPU", "btnConnectToDevice"})
        QCOMPARE(part<QToolButton>(&window, name)->size(), QSize(200, 60));
    QCOMPARE(part<QToolButton>(&window, "btnConnectToDevice")->iconSize(), QSize(140, 48));
    QCOMPARE(part<QToolButton>(&window, "btnMore")->iconSize(), QSize(48, 48));
    // Twice the form's 1024 x 768, but no larger than the screen.
    const QRect area = screenfit::availableArea(&window);
    QCOMPARE(window.size(), QSize(2048, 1536).boundedTo(area.size()));
    // Shown, the layout keeps the top-bar buttons at their size.
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    for (const char *name : {"btnMore", "btnRestartPPU", "btnConnectToDevice"})
        QCOMPARE(part<QToolButton>(&window, name)->size(), QSize(200, 60));
    QVERIFY(area.contains(window.frameGeometry()));
    QCOMPARE(part<TileTab>(&window, "pageOverview")->tileWidth(), 400);
    QCOMPARE(part<StatusBar>(&window, "wdgChannelStatus")->channelLed(0)->iconSize(), QSize(24, 24));
    // The marker column of the navigation tree: trunc(2.0 x 5) pixels.
    auto *tree = part<QWidget>(&window, "treeSel");
    QCOMPARE(static_cast<QTreeView *>(tree)->columnWidth(1), 10);
}

QTEST_MAIN(TestMainWindowScale)
#include "tst_mainwindow_scale.moc"
