// The overview page's tiles: the grid they are laid out in, their press
// signal and their status icon.
#include <QGridLayout>
#include <QLabel>
#include <QSignalSpy>
#include <QtTest>

#include "configurationtile.h"
#include "metatypes.h"
#include "tiletab.h"

class TestTileTab : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { registerMetaTypes(); }
    void columns_data();
    void columns();
    void tilesFillTheWidth();
    void hiddenTileGivesUpItsPlace();
    void pressReportsTheId();
    void unknownId();
    void status_data();
    void status();
    void statusMarkStaysSquare();

private:
    // Row and column of `tile` in the tab's grid; (-1, -1) when not in it.
    static QPoint cellOf(TileTab &tab, ConfigurationTile *tile);
};

QPoint TestTileTab::cellOf(TileTab &tab, ConfigurationTile *tile)
{
    auto *grid = tab.findChild<QGridLayout *>(QStringLiteral("gridLayout_4"));
    const int index = grid->indexOf(tile);
    if (index < 0)
        return QPoint(-1, -1);
    int row = 0, column = 0, rows = 0, columns = 0;
    grid->getItemPosition(index, &row, &column, &rows, &columns);
    return QPoint(column, row);
}

void TestTileTab::columns_data()
{
    QTest::addColumn<int>("available");
    QTest::addColumn<int>("tiles");
    QTest::addColumn<int>("columns");
    QTest::addColumn<int>("side");

    // Tile width 200 and spacing 15 throughout.
    QTest::newRow("940 wide, 7 tiles") << 940 << 7 << 4 << 223;
    QTest::newRow("exactly four tiles wide is not yet four") << 845 << 7 << 3 << 271;
    QTest::newRow("one more pixel is") << 846 << 7 << 4 << 200;
    QTest::newRow("fewer tiles than would fit") << 2000 << 2 << 2 << 992;
    QTest::newRow("narrower than one tile") << 150 << 7 << 1 << 150;
    QTest::newRow("no tile") << 940 << 0 << 1 << 940;
    QTest::newRow("narrower than the margins") << -20 << 3 << 1 << 0;
}

void TestTileTab::columns()
{
    QFETCH(int, available);
    QFETCH(int, tiles);
    QFETCH(int, columns);
    QFETCH(int, side);
    QCOMPARE(TileTab::columnsFor(available, 200, 15, tiles), columns);
    QCOMPARE(TileTab::sideFor(available, 15, columns), side);
}

void TestTileTab::tilesFillTheWidth()
{
    TileTab tab;
    for (int id = 0; id < 7; ++id)
        tab.createTile(id, QStringLiteral("Tile %1").arg(id), QStringLiteral("View"), 2);
    tab.resize(1000, 600);
    tab.updateLayout();

    // 1000 - 2 x 30 margins = 940: four columns of 223, rows of 4 and 3.
    for (int id = 0; id < 7; ++id) {
        ConfigurationTile *tile = tab.getTile(id);
        QVERIFY(tile);
        QCOMPARE(cellOf(tab, tile), QPoint(id % 4, id / 4));
        QCOMPARE(tile->minimumSize(), QSize(223, 223));
        QCOMPARE(tile->maximumSize(), QSize(223, 223));
    }
}

void TestTileTab::hiddenTileGivesUpItsPlace()
{
    TileTab tab;
    tab.resize(1000, 600);
    tab.show();
    for (int id = 0; id < 6; ++id)
        tab.createTile(id, QStringLiteral("Tile %1").arg(id), QString(), 2);
    QCOMPARE(cellOf(tab, tab.getTile(5)), QPoint(1, 1));

    tab.getTile(1)->hide();
    tab.updateLayout();
    QCOMPARE(cellOf(tab, tab.getTile(1)), QPoint(-1, -1));
    QCOMPARE(cellOf(tab, tab.getTile(2)), QPoint(1, 0));
    QCOMPARE(cellOf(tab, tab.getTile(5)), QPoint(0, 1));

    tab.getTile(1)->show();
    tab.updateLayout();
    QCOMPARE(cellOf(tab, tab.getTile(1)), QPoint(1, 0));
    QCOMPARE(cellOf(tab, tab.getTile(5)), QPoint(1, 1));
}

void TestTileTab::pressReportsTheId()
{
    TileTab tab;
    tab.createTile(3, QStringLiteral("Reference Setup"), QString(), 2);
    tab.createTile(4, QStringLiteral("Fieldbus"), QString(), 2);
    QSignalSpy tilePressed(tab.getTile(4), &ConfigurationTile::signal_tilePressed);
    QSignalSpy pressed(&tab, &TileTab::tilePressed);

    QTest::mousePress(tab.getTile(4), Qt::RightButton);
    QCOMPARE(pressed.count(), 0);
    QTest::mousePress(tab.getTile(4), Qt::LeftButton);
    QCOMPARE(tilePressed.count(), 1);
    QCOMPARE(tilePressed.first().first().value<uint8_t>(), uint8_t(4));
    QCOMPARE(pressed.count(), 1);
    QCOMPARE(pressed.first().first().value<int32_t>(), 4);
}

void TestTileTab::unknownId()
{
    TileTab tab;
    QSignalSpy count(&tab, &TileTab::tileCountchanged);
    tab.createTile(0, QStringLiteral("Common Settings"), QStringLiteral("View Configuration"), 1);
    QCOMPARE(count.count(), 1);
    QCOMPARE(tab.getTile(9), nullptr);
    tab.updateTile(9, QStringLiteral("other"), QStringLiteral("other"), 0);
    ConfigurationTile *tile = tab.getTile(0);
    QCOMPARE(tile->title(), QStringLiteral("Common Settings"));
    QCOMPARE(tile->description(), QStringLiteral("View Configuration"));
    QCOMPARE(tile->statusProperty(), QStringLiteral("success"));

    tab.updateTile(0, QStringLiteral("Allgemein"), QStringLiteral("Ansehen"), 2);
    QCOMPARE(tile->title(), QStringLiteral("Allgemein"));
    QCOMPARE(tile->description(), QStringLiteral("Ansehen"));
    QVERIFY(!tile->statusIconShown());
}

void TestTileTab::status_data()
{
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("property");
    QTest::addColumn<bool>("shown");

    QTest::newRow("warning") << 0 << "warning" << true;
    QTest::newRow("success") << 1 << "success" << true;
    QTest::newRow("none") << 2 << "none" << false;
    QTest::newRow("negative") << -1 << "none" << false;
}

void TestTileTab::status()
{
    QFETCH(int, status);
    QFETCH(QString, property);
    QFETCH(bool, shown);

    // Each status after a hidden icon and after a shown one.
    for (int before : {2, 0}) {
        ConfigurationTile tile;
        tile.setStatus(before, QString());
        tile.setStatus(status, QStringLiteral("tip"));
        QCOMPARE(tile.statusProperty(), property);
        QCOMPARE(tile.statusIconShown(), shown);
        QCOMPARE(tile.statusToolTip(), QStringLiteral("tip"));
    }
}

void TestTileTab::statusMarkStaysSquare()
{
    // Beside a title on one line the label's row is wide: the mark (the
    // success mark's ground fills its label) must not widen with it.
    for (int status : {0, 1}) {
        ConfigurationTile tile;
        tile.setTitle(QStringLiteral("Short"));
        tile.setStatus(status, QString());
        tile.resize(420, 260);
        tile.show();
        QVERIFY(QTest::qWaitForWindowExposed(&tile));
        auto *mark = tile.findChild<QLabel *>(QStringLiteral("lblStatus"));
        QVERIFY(mark->isVisible());
        QVERIFY2(mark->width() <= mark->height() + 1,
                 qPrintable(QStringLiteral("status %1: %2 x %3").arg(status).arg(mark->width()).arg(mark->height())));
        // At the tile's right, beside the title.
        QVERIFY(mark->geometry().right() > tile.findChild<QLabel *>(QStringLiteral("lblTileText"))->geometry().right());
    }
}

QTEST_MAIN(TestTileTab)
#include "tst_tiletab.moc"
