// A dialog fitted into the room the dialog page gives it: its list keeps a
// whole row, then it gives way in order (list narrower, texts wrapped, room
// between its parts), and a larger room gives back all it took.
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QtTest>

#include "dialogfit.h"

class TestDialogFit : public QObject
{
    Q_OBJECT
private slots:
    void givesWayInOrderAndBack();
};

namespace {

// A dialog like the connect dialog: a heading, a list of units as wide as
// its three columns, a long text beside a button, and the answers.
struct Dialog
{
    QWidget widget;
    QLabel *heading;
    QTableWidget *list;
    QLabel *text;
    QPushButton *refresh;
    QPushButton *answer;
    QVBoxLayout *layout;

    Dialog()
    {
        layout = new QVBoxLayout(&widget);
        layout->setContentsMargins(40, 40, 40, 40);
        layout->setSpacing(30);
        heading = new QLabel(QStringLiteral("Connection status"));
        layout->addWidget(heading);
        auto *row = new QHBoxLayout;
        text = new QLabel(QStringLiteral("Select device or enter PPU IP manually"));
        row->addWidget(text);
        refresh = new QPushButton(QStringLiteral("Refresh"));
        row->addWidget(refresh);
        layout->addLayout(row);
        list = new QTableWidget(1, 3);
        list->horizontalHeader()->setMinimumSectionSize(150);
        list->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
        list->verticalHeader()->hide();
        list->setMinimumWidth(600);
        list->setItem(0, 0, new QTableWidgetItem(QStringLiteral("Press line 4")));
        layout->addWidget(list);
        answer = new QPushButton(QStringLiteral("Connect"));
        layout->addWidget(answer);
    }
};

bool within(const QSize &size, const QSize &room)
{
    return size.width() <= room.width() && size.height() <= room.height();
}

} // namespace

void TestDialogFit::givesWayInOrderAndBack()
{
    Dialog dialog;
    const QString built = dialog.text->text();
    const QSize natural = [&] {
        dialogfit::natural(&dialog.widget);
        return dialogfit::leastSize(&dialog.widget, 2000);
    }();
    // As built, the list keeps its header and one whole row.
    QVERIFY(dialog.list->minimumHeight() >= dialog.list->horizontalHeader()->sizeHint().height()
                                               + dialog.list->verticalHeader()->defaultSectionSize());
    QCOMPARE(int(dialogfit::fit(&dialog.widget, natural + QSize(10, 10))), int(dialogfit::Fit::AsBuilt));

    // A little narrower than the list: the list gives its width up first.
    QSize room(natural.width() - 50, natural.height() + 100);
    QCOMPARE(int(dialogfit::fit(&dialog.widget, room)), int(dialogfit::Fit::Narrowed));
    QVERIFY(dialog.list->minimumWidth() < 600);
    QVERIFY(!dialog.text->wordWrap());

    // Narrower than the text's line beside its button: the text wraps.
    room = QSize(80 + dialog.text->sizeHint().width() * 3 / 4 + dialog.refresh->sizeHint().width() + 20,
                 natural.height() + 200);
    QCOMPARE(int(dialogfit::fit(&dialog.widget, room)), int(dialogfit::Fit::Wrapped));
    QVERIFY(dialog.text->wordWrap());
    QCOMPARE(dialog.layout->spacing(), 30);

    // Lower than it is as built: the room between its parts shrinks, yet
    // its list keeps a whole row.
    const int oneRow = dialog.list->minimumHeight();
    room.setHeight(dialogfit::leastSize(&dialog.widget, room.width()).height() - 60);
    QCOMPARE(int(dialogfit::fit(&dialog.widget, room)), int(dialogfit::Fit::Tightened));
    QVERIFY(dialog.layout->spacing() < 30);
    QVERIFY(within(dialogfit::leastSize(&dialog.widget, room.width()), room));
    QCOMPARE(dialog.list->minimumHeight(), oneRow);

    // Smaller than anything can give: it says so.
    QCOMPARE(int(dialogfit::fit(&dialog.widget, QSize(100, 100))), int(dialogfit::Fit::TooLarge));

    // Room again: the dialog is as it was built.
    QCOMPARE(int(dialogfit::fit(&dialog.widget, natural)), int(dialogfit::Fit::AsBuilt));
    QCOMPARE(dialog.list->minimumWidth(), 600);
    QVERIFY(!dialog.text->wordWrap());
    QCOMPARE(dialog.text->text(), built);
    QCOMPARE(dialog.layout->spacing(), 30);
    QCOMPARE(dialog.layout->contentsMargins(), QMargins(40, 40, 40, 40));
}

QTEST_MAIN(TestDialogFit)
#include "tst_dialogfit.moc"
