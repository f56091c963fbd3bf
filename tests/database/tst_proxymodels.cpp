#include <QAbstractItemModelTester>
#include <QComboBox>
#include <QSortFilterProxyModel>
#include <QStandardItemModel>
#include <QtTest>

#include "appendproxymodel.h"
#include "dedublicateproxymodel.h"

// The two proxies the selection pages stack under their combo boxes.
class TestProxyModels : public QObject
{
    Q_OBJECT
private slots:
    void appendWithoutSource();
    void appendOverRows();
    void appendFollowsSourceChanges();
    void dedupKeepsFirstOccurrences();
    void dedupFollowsItsSource();
};

namespace {

// Rows of (id, text).
QStandardItemModel *makeModel(const QList<QPair<int, QString>> &rows, QObject *parent)
{
    auto *model = new QStandardItemModel(0, 2, parent);
    for (const auto &row : rows) {
        auto *id = new QStandardItem;
        id->setData(row.first, Qt::DisplayRole);
        model->appendRow({id, new QStandardItem(row.second)});
    }
    return model;
}

QStringList column(const QAbstractItemModel *model, int c)
{
    QStringList values;
    for (int r = 0; r < model->rowCount(); ++r)
        values << model->index(r, c).data().toString();
    return values;
}

} // namespace

void TestProxyModels::appendWithoutSource()
{
    AppendProxyModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QCOMPARE(model.rowCount(), 2);
    QCOMPARE(model.columnCount(), 1);
    QCOMPARE(model.index(0, 0).data(), QVariant(0));
    QCOMPARE(model.index(1, 0).data(), QVariant(-1));
    QVERIFY(!model.index(2, 0).isValid());
}

void TestProxyModels::appendOverRows()
{
    QStandardItemModel *source = makeModel({{3, "three"}, {5, "five"}, {9, "nine"}}, this);
    source->item(1, 1)->setData(QColor(Qt::red), Qt::ForegroundRole);
    AppendProxyModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    model.setSourceModel(source);
    QCOMPARE(model.rowCount(), 5);
    QCOMPARE(model.columnCount(), 2);
    QCOMPARE(column(&model, 0), (QStringList{"3", "5", "9", "0", "-1"}));
    QCOMPARE(column(&model, 1), (QStringList{"three", "five", "nine", "custom entry", "invalid/default entry"}));
    // Source rows pass every role on; the appended rows only show text.
    QCOMPARE(model.index(1, 1).data(Qt::ForegroundRole), QVariant(QColor(Qt::red)));
    QVERIFY(!model.index(3, 1).data(Qt::ForegroundRole).isValid());
    QVERIFY(!model.index(4, 0).data(Qt::EditRole).isValid());
    // Only the program may select the appended rows.
    QVERIFY(model.flags(model.index(2, 1)) & Qt::ItemIsEnabled);
    QVERIFY(model.flags(model.index(2, 1)) & Qt::ItemIsSelectable);
    QVERIFY(!(model.flags(model.index(3, 1)) & Qt::ItemIsEnabled));
    QVERIFY(!(model.flags(model.index(4, 1)) & Qt::ItemIsSelectable));
    QCOMPARE(model.mapToSource(model.index(2, 1)), source->index(2, 1));
    QVERIFY(!model.mapToSource(model.index(3, 1)).isValid());
    QCOMPARE(model.mapFromSource(source->index(1, 0)), model.index(1, 0));

    // A combo box over it offers the appended rows but cannot pick them by key.
    QComboBox combo;
    combo.setModel(&model);
    combo.setModelColumn(1);
    QCOMPARE(combo.count(), 5);
    QCOMPARE(combo.itemText(3), QString("custom entry"));
}

void TestProxyModels::appendFollowsSourceChanges()
{
    QStandardItemModel *rows = makeModel({{1, "a"}, {2, "b"}, {3, "c"}, {4, "d"}}, this);
    QSortFilterProxyModel filter;
    filter.setSourceModel(rows);
    filter.setFilterKeyColumn(1);
    AppendProxyModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    model.setSourceModel(&filter);

    // A view resting on "custom entry" stays on it while the rows above
    // change by insertion, removal, re-filtering and a reset of the source.
    QComboBox combo;
    combo.setModel(&model);
    combo.setModelColumn(1);
    combo.setCurrentIndex(4);
    QCOMPARE(combo.currentText(), QString("custom entry"));

    filter.setFilterRegularExpression("^[ab]$");
    QCOMPARE(column(&model, 1), (QStringList{"a", "b", "custom entry", "invalid/default entry"}));
    QCOMPARE(combo.currentText(), QString("custom entry"));

    rows->insertRow(0, {new QStandardItem("0"), new QStandardItem("b")});
    QCOMPARE(column(&model, 1), (QStringList{"b", "a", "b", "custom entry", "invalid/default entry"}));
    QCOMPARE(combo.currentText(), QString("custom entry"));

    rows->item(1, 1)->setText("z");
    QCOMPARE(column(&model, 1), (QStringList{"b", "b", "custom entry", "invalid/default entry"}));

    filter.setFilterRegularExpression(QString());
    filter.invalidate();
    QCOMPARE(model.rowCount(), 7);
    QCOMPARE(combo.currentText(), QString("custom entry"));

    // The current source row follows its row through a re-sort.
    combo.setCurrentIndex(1);
    const QString current = combo.currentText();
    filter.sort(1, Qt::DescendingOrder);
    QCOMPARE(combo.currentText(), current);

    rows->clear();
    QCOMPARE(model.rowCount(), 2);
}

void TestProxyModels::dedupKeepsFirstOccurrences()
{
    QStandardItemModel *keys = makeModel({{1, "A"}, {2, "B"}, {3, "A"}, {4, "C"}, {5, "B"}}, this);
    DeDublicateProxyModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    model.setSourceModel(keys);
    model.setFilterKeyColumn(1);
    model.invalidate();
    QCOMPARE(column(&model, 1), (QStringList{"A", "B", "C"}));
    QCOMPARE(column(&model, 0), (QStringList{"1", "2", "4"}));

    // Keys compare as values: 1 and 10 are two keys, "1" is no prefix.
    QStandardItemModel *numbers = makeModel({{1, "x"}, {10, "y"}, {1, "z"}, {11, "w"}, {10, "v"}}, this);
    model.setSourceModel(numbers);
    model.setFilterKeyColumn(0);
    QCOMPARE(column(&model, 1), (QStringList{"x", "y", "w"}));
}

void TestProxyModels::dedupFollowsItsSource()
{
    QStandardItemModel *keys = makeModel({{1, "A"}, {2, "B"}, {3, "A"}}, this);
    QSortFilterProxyModel narrow;
    narrow.setSourceModel(keys);
    narrow.setFilterKeyColumn(0);
    DeDublicateProxyModel model;
    model.setFilterKeyColumn(1);
    model.setSourceModel(&narrow);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QCOMPARE(column(&model, 0), (QStringList{"1", "2"}));

    // The first A goes: the second one is now the first of its key.
    narrow.setFilterRegularExpression("^[23]$");
    model.invalidate();
    QCOMPARE(column(&model, 0), (QStringList{"2", "3"}));

    keys->appendRow({new QStandardItem("4"), new QStandardItem("B")});
    narrow.setFilterRegularExpression(QString());
    model.invalidate();
    QCOMPARE(column(&model, 0), (QStringList{"1", "2"}));
    keys->insertRow(0, {new QStandardItem("0"), new QStandardItem("C")});
    model.invalidate();
    QCOMPARE(column(&model, 1), (QStringList{"C", "A", "B"}));
}

QTEST_MAIN(TestProxyModels)
#include "tst_proxymodels.moc"
