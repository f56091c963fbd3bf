// The navigation tree's model: structure, roles and look-ups, checked by
// QAbstractItemModelTester on a tree built as the configuration view does.
#include <QAbstractItemModelTester>
#include <QPainter>
#include <QStyleOptionViewItem>
#include <QWidget>
#include <QtTest>

#include "navtreeitemdelegate.h"
#include "navtreemodel.h"

class TestNavTreeModel : public QObject
{
    Q_OBJECT
private slots:
    void emptyModel();
    void builtTree();
    void rolesAndNames();
    void outOfRange();
    void markerStripe_data();
    void markerStripe();
};

void TestNavTreeModel::emptyModel()
{
    NavTreeModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QCOMPARE(model.rowCount(), 0);
    QCOMPARE(model.columnCount(), 2);
    for (int section : {0, 1, 5})
        QVERIFY(!model.headerData(section, Qt::Horizontal, Qt::DisplayRole).isValid());
    NavTreeItem stray(QStringLiteral("stray"), nullptr, nullptr);
    QVERIFY(!model.indexForItem(&stray).isValid());
    QVERIFY(!model.indexForItem(nullptr).isValid());
}

void TestNavTreeModel::builtTree()
{
    QWidget pages[5];
    NavTreeModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    NavTreeItem *root = model.rootItem();
    // Two top-level rows, the second with two children; added as the view does.
    auto first = std::make_shared<NavTreeItem>(QStringLiteral("Common Settings"), root, &pages[0]);
    model.addChild(first, QModelIndex());
    auto second = std::make_shared<NavTreeItem>(QStringLiteral("Channel Configuration"), root, &pages[1]);
    model.addChild(second, QModelIndex());
    auto childA = std::make_shared<NavTreeItem>(QStringLiteral("General Parameter"), second.get(), &pages[2]);
    model.addChild(childA, model.indexForItem(second.get()));
    auto childB = std::make_shared<NavTreeItem>(QStringLiteral("Sensor Parameter"), second.get(), &pages[3]);
    model.addChild(childB, model.indexForItem(second.get()));
    model.refresh();

    QCOMPARE(model.rowCount(), 2);
    const QModelIndex top = model.index(1, 0);
    QCOMPARE(model.rowCount(top), 2);
    QCOMPARE(model.rowCount(model.index(1, 1)), 0); // only column 0 has children
    QVERIFY(!model.parent(top).isValid());
    const QModelIndex child = model.index(1, 0, top);
    QCOMPARE(child.data().toString(), QStringLiteral("Sensor Parameter"));
    QCOMPARE(model.parent(child).row(), 1);
    QCOMPARE(model.parent(child).column(), 0);
    QCOMPARE(model.indexForItem(childB.get()), model.index(1, 0, top));
    QCOMPARE(model.indexForItem(first.get()), model.index(0, 0));
    QCOMPARE(model.flags(child), Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    QCOMPARE(model.flags(QModelIndex()), Qt::NoItemFlags);

    model.clear();
    QCOMPARE(model.rowCount(), 0);
}

void TestNavTreeModel::rolesAndNames()
{
    QWidget page;
    NavTreeModel model;
    model.addChild(std::make_shared<NavTreeItem>(QString(), model.rootItem(), &page), QModelIndex());
    model.refresh();
    QCOMPARE(model.index(0, 0).data().toString(), QStringLiteral("Test"));
    QVERIFY(!model.index(0, 1).data().isValid());
    QCOMPARE(model.index(0, 0).data(Qt::UserRole).value<QWidget *>(), &page);
    QCOMPARE(model.index(0, 1).data(Qt::UserRole).value<QWidget *>(), &page);
    QVERIFY(!model.index(0, 0).data(Qt::ToolTipRole).isValid());
    QVERIFY(!model.data(QModelIndex(), Qt::DisplayRole).isValid());
}

void TestNavTreeModel::outOfRange()
{
    NavTreeModel model;
    model.addChild(std::make_shared<NavTreeItem>(QStringLiteral("one"), model.rootItem(), nullptr),
                   QModelIndex());
    model.refresh();
    QVERIFY(!model.index(1, 0).isValid());
    QVERIFY(!model.index(0, 2).isValid());
    QVERIFY(!model.index(-1, 0).isValid());
    QVERIFY(!model.index(0, 0, model.index(0, 0)).isValid());
    QCOMPARE(model.rootItem()->child(5), nullptr);
}

void TestNavTreeModel::markerStripe_data()
{
    QTest::addColumn<bool>("selected");
    QTest::newRow("selected row") << true;
    QTest::newRow("other row") << false;
}

void TestNavTreeModel::markerStripe()
{
    QFETCH(bool, selected);
    NavTreeItemDelegate delegate;
    QImage image(10, 10, QImage::Format_ARGB32);
    image.fill(Qt::black);
    QStyleOptionViewItem option;
    option.rect = QRect(2, 2, 5, 6);
    option.state = QStyle::State_Enabled | QStyle::State_Active;
    if (selected)
        option.state |= QStyle::State_Selected;
    option.palette.setBrush(QPalette::Active, QPalette::Window, QColor(200, 210, 220));
    {
        QPainter painter(&image);
        delegate.paint(&painter, option, QModelIndex());
    }
    const QColor expected = selected ? QColor(9, 138, 68) : QColor(200, 210, 220);
    QCOMPARE(image.pixelColor(3, 3), expected);
    QCOMPARE(image.pixelColor(0, 0), QColor(Qt::black));
}

QTEST_MAIN(TestNavTreeModel)
#include "tst_navtreemodel.moc"
