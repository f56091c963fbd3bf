#include "collapsebutton.h"
#include "columnreflow.h"
#include "eventdetect.h"
#include "flowlayout.h"
#include "mousewheelscrollprotect.h"
#include "tormaveldtbox.h"
#include "verticalscrollarea.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QSpinBox>
#include <QVBoxLayout>
#include <QtTest>
#include <QtTest/qtestspontaneevent.h>

namespace {

void sendFocus(QWidget *w, QEvent::Type type)
{
    QFocusEvent event(type, Qt::OtherFocusReason);
    QApplication::sendEvent(w, &event);
}

void sendWheel(QWidget *w, int delta)
{
    const QPointF pos(w->width() / 2.0, w->height() / 2.0);
    QWheelEvent event(pos, w->mapToGlobal(pos.toPoint()), QPoint(), QPoint(0, delta), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    // Only wheel events from the window system travel on to the parents;
    // sendEvent would mark it as synthesized again.
    QSpontaneKeyEvent::setSpontaneous(&event);
    QApplication::instance()->notify(w, &event);
}

QImage iconImage(const QIcon &icon)
{
    return icon.pixmap(24, 24).toImage();
}

} // namespace

class TestSmallWidgets : public QObject
{
    Q_OBJECT

private slots:
    void boxTitleMovesIntoEmptyLineEdit();
    void boxTextShowsBlankedTitle();
    void boxLineEditAddedLaterFollowsText();
    void boxKeepsTitleWithFilledEditsOrLabels();
    void eventDetectModes_data();
    void eventDetectModes();
    void wheelScrollsPageInsteadOfInput();
    void verticalScrollAreaHoldsContentWidth();
    void flowLayoutWrapsOnlyWhenNarrow();
    void flowLayoutUniformColumns();
    void columnReflowOneColumnWhenNarrow();
    void collapseButtonToggles();
};

void TestSmallWidgets::boxTitleMovesIntoEmptyLineEdit()
{
    TormaveldtBox box;
    QCOMPARE(box.objectName(), QStringLiteral("TormaveldtBox"));
    QCOMPARE(box.property("childHasFocus").toBool(), false);
    auto *layout = new QVBoxLayout(&box);
    auto *edit = new QLineEdit(&box);
    layout->addWidget(edit);
    box.setTitle(QStringLiteral("IP address"));
    QVERIFY(!box.isInitialised());

    box.grab(); // first paint hooks the children
    QVERIFY(box.isInitialised());
    QCOMPARE(box.title(), QString());
    QCOMPARE(edit->placeholderText(), QStringLiteral("IP address"));

    sendFocus(edit, QEvent::FocusIn);
    QCOMPARE(box.title(), QStringLiteral("IP address"));
    QCOMPARE(edit->placeholderText(), QString());
    QCOMPARE(box.property("childHasFocus").toBool(), true);

    sendFocus(edit, QEvent::FocusOut);
    QCOMPARE(box.property("childHasFocus").toBool(), false);
    QCOMPARE(edit->placeholderText(), QStringLiteral("IP address"));
    QCOMPARE(box.title(), QString());

    // With text, leaving keeps the title.
    sendFocus(edit, QEvent::FocusIn);
    edit->setText(QStringLiteral("10.0.0.1"));
    sendFocus(edit, QEvent::FocusOut);
    QCOMPARE(box.title(), QStringLiteral("IP address"));
}

void TestSmallWidgets::boxTextShowsBlankedTitle()
{
    TormaveldtBox box;
    auto *layout = new QVBoxLayout(&box);
    auto *edit = new QLineEdit(&box);
    layout->addWidget(edit);
    box.setTitle(QStringLiteral("Name"));
    box.grab();
    QCOMPARE(box.title(), QString());

    edit->setText(QStringLiteral("PPU 1")); // set by the page, focus elsewhere
    QCOMPARE(box.title(), QStringLiteral("Name"));
    edit->clear(); // blanks only at the next focus loss
    QCOMPARE(box.title(), QStringLiteral("Name"));
    sendFocus(edit, QEvent::FocusIn);
    sendFocus(edit, QEvent::FocusOut);
    QCOMPARE(box.title(), QString());
}

void TestSmallWidgets::boxLineEditAddedLaterFollowsText()
{
    TormaveldtBox box;
    auto *layout = new QVBoxLayout(&box);
    layout->addWidget(new QLabel(QStringLiteral("label")));
    box.setTitle(QStringLiteral("Mask"));
    box.grab();
    QCOMPARE(box.title(), QStringLiteral("Mask"));

    auto *edit = new QLineEdit;
    layout->addWidget(edit); // reparented into the box: ChildAdded
    QCOMPARE(edit->placeholderText(), QStringLiteral("Mask"));
    QCOMPARE(box.title(), QString());
    edit->setText(QStringLiteral("255"));
    QCOMPARE(box.title(), QStringLiteral("Mask"));
    edit->clear();
    QCOMPARE(box.title(), QString());

    sendFocus(edit, QEvent::FocusIn); // the added child is hooked for focus too
    QCOMPARE(box.property("childHasFocus").toBool(), true);
    sendFocus(edit, QEvent::FocusOut);

    // A line edit created with the box as parent is only a QWidget when the
    // box hears of it; it follows its text all the same once it is built.
    edit->setText(QStringLiteral("255"));
    auto *born = new QLineEdit(&box);
    layout->addWidget(born);
    QTRY_COMPARE(born->placeholderText(), QStringLiteral("Mask"));
    QCOMPARE(box.title(), QString());
    born->setText(QStringLiteral("0"));
    QCOMPARE(box.title(), QStringLiteral("Mask"));
    born->clear();
    QCOMPARE(box.title(), QString());
    sendFocus(born, QEvent::FocusIn);
    QCOMPARE(born->placeholderText(), QString());
    QCOMPARE(box.property("childHasFocus").toBool(), true);
}

void TestSmallWidgets::boxKeepsTitleWithFilledEditsOrLabels()
{
    TormaveldtBox filled;
    auto *layout = new QVBoxLayout(&filled);
    layout->addWidget(new QLineEdit(QStringLiteral("a"), &filled));
    layout->addWidget(new QLineEdit(QStringLiteral("b"), &filled));
    filled.setTitle(QStringLiteral("Both"));
    filled.grab();
    QCOMPARE(filled.title(), QStringLiteral("Both"));

    TormaveldtBox labels;
    auto *l2 = new QVBoxLayout(&labels);
    l2->addWidget(new QLabel(QStringLiteral("x"), &labels));
    labels.setTitle(QStringLiteral("Info"));
    labels.grab();
    QCOMPARE(labels.title(), QStringLiteral("Info"));

    // Re-texting on a language change keeps the new title.
    labels.setTitle(QStringLiteral("Angaben"));
    QEvent change(QEvent::LanguageChange);
    QApplication::sendEvent(&labels, &change);
    QCOMPARE(labels.storedTitleText(), QStringLiteral("Angaben"));
}

void TestSmallWidgets::eventDetectModes_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("widgetGetsPress");
    QTest::newRow("pass on") << 0 << true;
    QTest::newRow("accept and swallow") << 1 << false;
    QTest::newRow("ignore and swallow") << 2 << false;
    QTest::newRow("unknown mode passes on") << 7 << true;
}

void TestSmallWidgets::eventDetectModes()
{
    QFETCH(int, mode);
    QFETCH(bool, widgetGetsPress);
    QPushButton button(QStringLiteral("b"));
    button.resize(80, 30);
    auto *detect = new EventDetect(QEvent::MouseButtonPress, mode, &button);
    button.installEventFilter(detect);
    QSignalSpy spy(detect, &EventDetect::eventDetected);

    QTest::mousePress(&button, Qt::LeftButton);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).value<QObject *>(), &button);
    QCOMPARE(button.isDown(), widgetGetsPress);
    QTest::mouseRelease(&button, Qt::LeftButton);
    QCOMPARE(spy.count(), 1); // other event types pass unseen
}

void TestSmallWidgets::wheelScrollsPageInsteadOfInput()
{
    QScrollArea page;
    page.resize(200, 150);
    auto *content = new QWidget;
    content->setMinimumHeight(1000);
    auto *layout = new QVBoxLayout(content);
    auto *spin = new QSpinBox;
    spin->setRange(0, 100);
    spin->setValue(50);
    layout->addWidget(spin);
    layout->addStretch();
    page.setWidget(content);
    QCOMPARE(spin->focusPolicy(), Qt::WheelFocus);
    spin->installEventFilter(new MouseWheelScrollProtect(spin, true));
    QCOMPARE(spin->focusPolicy(), Qt::StrongFocus); // or the wheel would focus it first
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));

    spin->clearFocus();
    QVERIFY(!spin->hasFocus());
    sendWheel(spin, -120);
    QCOMPARE(spin->value(), 50);
    QVERIFY(page.verticalScrollBar()->value() > 0);

    // With the focus on it, the input takes the wheel.
    page.activateWindow();
    spin->setFocus();
    QTRY_VERIFY(spin->hasFocus());
    sendWheel(spin, 120);
    QCOMPARE(spin->value(), 51);

    // Without the focus condition the wheel never reaches it.
    auto *always = new MouseWheelScrollProtect(spin, false);
    spin->installEventFilter(always);
    sendWheel(spin, 120);
    QCOMPARE(spin->value(), 51);
}

void TestSmallWidgets::verticalScrollAreaHoldsContentWidth()
{
    VerticalScrollArea area;
    QVERIFY(area.widgetResizable());
    QCOMPARE(area.horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    auto *content = new QWidget;
    auto *layout = new QVBoxLayout(content);
    for (int i = 0; i < 30; ++i)
        layout->addWidget(new QLabel(QStringLiteral("row %1").arg(i)));
    area.setWidget(content);
    area.resize(400, 200);
    area.show();
    QVERIFY(QTest::qWaitForWindowExposed(&area));
    // The rows are taller than the area: the content is as wide as what
    // one sees beside the vertical scroll bar, and nothing scrolls sideways.
    QTRY_VERIFY(area.verticalScrollBar()->isVisible());
    const int seen = area.viewport()->width();
    QVERIFY(seen < 400);
    QTRY_COMPARE(content->width(), seen);
    QCOMPARE(content->minimumWidth(), seen);
    QCOMPARE(content->maximumWidth(), seen);
    QVERIFY(!area.horizontalScrollBar()->isVisible());
    QCOMPARE(area.horizontalScrollBar()->maximum(), 0);
    area.ensureWidgetVisible(layout->itemAt(29)->widget(), 50, 50);
    QCOMPARE(area.horizontalScrollBar()->value(), 0);

    // Without the bar the content takes the whole width again.
    area.resize(400, 2000);
    QTRY_VERIFY(!area.verticalScrollBar()->isVisible());
    QTRY_COMPARE(content->width(), area.viewport()->width());

    // A direct child wider than the area widens the content.
    auto *wide = new QLabel(QString(200, QLatin1Char('W')), &area);
    const int hint = wide->sizeHint().width();
    QVERIFY(hint > 500);
    area.resize(500, 200);
    QTRY_COMPARE(content->minimumWidth(), hint);
    QCOMPARE(content->maximumWidth(), hint);
}

void TestSmallWidgets::flowLayoutWrapsOnlyWhenNarrow()
{
    QWidget host;
    auto *flow = new FlowLayout(&host);
    flow->setContentsMargins(0, 0, 0, 0);
    flow->setSpacing(10);
    QList<QWidget *> boxes;
    for (int n = 0; n < 3; ++n) {
        auto *box = new QWidget;
        box->setMinimumSize(100, 30);
        flow->addWidget(box);
        boxes << box;
    }
    // One row as long as all fit, a row each when only one fits; never
    // narrower than the widest item.
    QCOMPARE(flow->sizeHint(), QSize(320, 30));
    QCOMPARE(flow->minimumSize(), QSize(100, 30));
    QVERIFY(flow->hasHeightForWidth());
    QCOMPARE(flow->heightForWidth(320), 30);
    QCOMPARE(flow->heightForWidth(319), 70);
    QCOMPARE(flow->heightForWidth(210), 70);
    QCOMPARE(flow->heightForWidth(209), 110);
    QCOMPARE(flow->heightForWidth(10), 110);

    // The room left in a row is shared out among its items...
    flow->setGeometry(QRect(0, 0, 421, 30));
    QCOMPARE(flow->rowCount(), 1);
    QCOMPARE(boxes[0]->geometry(), QRect(0, 0, 134, 30));
    QCOMPARE(boxes[1]->geometry(), QRect(144, 0, 134, 30));
    QCOMPARE(boxes[2]->geometry(), QRect(288, 0, 133, 30));
    flow->setGeometry(QRect(0, 0, 250, 70));
    QCOMPARE(flow->rowCount(), 2);
    QCOMPARE(boxes[0]->geometry(), QRect(0, 0, 120, 30));
    QCOMPARE(boxes[2]->geometry(), QRect(0, 40, 250, 30));

    // ... or, aligned right, left on the left.
    flow->setAlignment(Qt::AlignRight);
    flow->setGeometry(QRect(0, 0, 421, 30));
    QCOMPARE(boxes[0]->geometry(), QRect(101, 0, 100, 30));
    QCOMPARE(boxes[2]->geometry(), QRect(321, 0, 100, 30));

    // A hidden item takes no room.
    boxes[1]->hide();
    QCOMPARE(flow->sizeHint(), QSize(210, 30));
    QCOMPARE(flow->heightForWidth(210), 30);
}

void TestSmallWidgets::collapseButtonToggles()
{
    CollapseButton button;
    QCOMPARE(button.property("isCollapsed").toBool(), false);
    QVERIFY(!button.isCollapsedState());
    QCOMPARE(button.iconSize(), QSize(24, 24));
    const QImage collapseImage = iconImage(QIcon(QStringLiteral(":/gfx/Icon_Collapse.svg")));
    const QImage expandImage = iconImage(QIcon(QStringLiteral(":/gfx/Icon_Expand.svg")));
    QVERIFY(collapseImage != expandImage);
    QCOMPARE(iconImage(button.icon()), collapseImage);

    QWidget panel;
    panel.show();
    button.setCollapseWidget(&panel);
    button.setCollapseWidget(nullptr); // keeps the panel
    button.click();
    QVERIFY(panel.isHidden());
    QCOMPARE(button.property("isCollapsed").toBool(), true);
    QCOMPARE(iconImage(button.icon()), expandImage);
    button.click();
    QVERIFY(!panel.isHidden());
    QCOMPARE(button.property("isCollapsed").toBool(), false);
    QCOMPARE(iconImage(button.icon()), collapseImage);

    button.ScaleFactorchange(1.5);
    QCOMPARE(button.iconSize(), QSize(36, 36));
    button.ScaleFactorchange(0.5);
    QCOMPARE(button.iconSize(), QSize(12, 12));
}

// Seven channel tabs where five fit: two even rows (four and three) of
// cells as wide as the first row's, the second row's under the first's,
// not two left-overs spread over the whole width.
void TestSmallWidgets::flowLayoutUniformColumns()
{
    QWidget host;
    auto *flow = new FlowLayout(&host);
    flow->setContentsMargins(0, 0, 0, 0);
    flow->setSpacing(0);
    flow->setUniformColumns(true);
    QList<QWidget *> tabs;
    for (int n = 0; n < 7; ++n) {
        auto *tab = new QWidget;
        tab->setMinimumSize(n == 5 ? 90 : 100, 30);
        flow->addWidget(tab);
        tabs << tab;
    }
    QCOMPARE(flow->heightForWidth(700), 30);
    QCOMPARE(flow->heightForWidth(699), 60);
    QCOMPARE(flow->heightForWidth(399), 90);

    flow->setGeometry(QRect(0, 0, 560, 60));
    QCOMPARE(flow->rowCount(), 2);
    for (int n = 0; n < 7; ++n)
        QCOMPARE(tabs[n]->geometry(), QRect((n % 4) * 140, (n / 4) * 30, 140, 30));

    // All in one row: the room shared out evenly.
    flow->setGeometry(QRect(0, 0, 770, 30));
    QCOMPARE(flow->rowCount(), 1);
    QCOMPARE(tabs[6]->geometry(), QRect(660, 0, 110, 30));
}

// Paired fields: two columns where both fit the page, one (left before
// right, row by row) where they do not, and two again when it widens.
void TestSmallWidgets::columnReflowOneColumnWhenNarrow()
{
    QWidget page;
    auto *outer = new QVBoxLayout(&page);
    outer->setContentsMargins(10, 0, 10, 0);
    // Held narrower than the fields want, as a scroll area holds its page.
    outer->setSizeConstraint(QLayout::SetNoConstraint);
    auto *form = new QWidget;
    outer->addWidget(form);
    auto *grid = new QGridLayout(form);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(10);
    QList<QWidget *> fields;
    for (int n = 0; n < 5; ++n) {
        auto *field = new QWidget;
        field->setMinimumSize(200, 20);
        grid->addWidget(field, n / 2, n % 2);
        fields << field;
    }
    auto *reflow = new ColumnReflow(&page, {grid});
    page.resize(430, 200);
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));
    QVERIFY(!reflow->isSingleColumn(grid));
    QTRY_VERIFY(fields[1]->x() > fields[0]->x());

    page.resize(429, 200);
    QTRY_VERIFY(reflow->isSingleColumn(grid));
    int row = -1;
    for (int n = 0; n < fields.size(); ++n) {
        int r, c, rs, cs;
        grid->getItemPosition(grid->indexOf(fields[n]), &r, &c, &rs, &cs);
        QCOMPARE(c, 0);
        QVERIFY(r > row);
        row = r;
    }
    QTRY_COMPARE(fields[1]->x(), fields[0]->x());

    page.resize(600, 200);
    QTRY_VERIFY(!reflow->isSingleColumn(grid));
    int r, c, rs, cs;
    grid->getItemPosition(grid->indexOf(fields[3]), &r, &c, &rs, &cs);
    QCOMPARE(QPoint(c, r), QPoint(1, 1));
}

QTEST_MAIN(TestSmallWidgets)
#include "tst_smallwidgets.moc"
