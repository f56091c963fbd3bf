#include "appfixture.h"
#include "custommessagebox.h"

#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

namespace {

// Clicks the button at `index` (-1: the close button) once the box waits.
void clickLater(CustomMessageBox &box, int index)
{
    QTimer::singleShot(0, &box, [&box, index] {
        if (index < 0)
            box.closeButton()->click();
        else
            box.questionButtons().at(index)->click();
    });
}

QIcon bannerIcon(CustomMessageBox &box)
{
    return box.findChild<QToolButton *>(QStringLiteral("btnIcon"))->icon();
}

} // namespace

class TestMessageBox : public QObject
{
    Q_OBJECT

private slots:
    void returnsClickedIndex_data();
    void returnsClickedIndex();
    void lastCaptionIsPrimary();
    void emptyCaptionListOnlyCloses();
    void bannerIconByKind();
    void bannerSizeFollowsFactor_data();
    void bannerSizeFollowsFactor();
    void secondExecReplacesButtons();
    void eventsFlowWhileWaiting();
    void firstAnswerClosesAndCounts_data();
    void firstAnswerClosesAndCounts();
};

void TestMessageBox::returnsClickedIndex_data()
{
    QTest::addColumn<int>("click");
    QTest::newRow("OK") << 1;
    QTest::newRow("Cancel") << 0;
    QTest::newRow("close") << -1;
}

void TestMessageBox::returnsClickedIndex()
{
    QFETCH(int, click);
    CustomMessageBox box;
    QVERIFY(box.isHidden());
    clickLater(box, click);
    const int answer = box.exec({QStringLiteral("Cancel"), QStringLiteral("OK")},
                                QStringLiteral("Title"), QStringLiteral("Text"), 2);
    QCOMPARE(answer, click);
    // Gone with the answer: whatever the asker waits for next, no box stays
    // on screen that seems to take another click.
    QVERIFY(box.isHidden());
    QCOMPARE(box.titleText(), QStringLiteral("Title"));
    QCOMPARE(box.messageText(), QStringLiteral("Text"));
}

void TestMessageBox::lastCaptionIsPrimary()
{
    CustomMessageBox box;
    clickLater(box, 0);
    box.exec({QStringLiteral("Cancel"), QStringLiteral("OK"), QStringLiteral("Cancel"),
              QStringLiteral("OK")},
             QString(), QString(), 1);
    const auto buttons = box.questionButtons();
    QCOMPARE(buttons.size(), 4);
    const QList<bool> primary{false, true, false, true};
    for (int i = 0; i < buttons.size(); ++i) {
        QCOMPARE(buttons.at(i)->property("isPrimaryButton").toBool(), primary.at(i));
        QCOMPARE(buttons.at(i)->property("isHover").toBool(), !primary.at(i));
    }
    // "OK" stands right of "Cancel".
    QVERIFY(buttons.at(1)->geometry().x() > buttons.at(0)->geometry().x());
}

void TestMessageBox::emptyCaptionListOnlyCloses()
{
    CustomMessageBox box;
    clickLater(box, -1);
    QCOMPARE(box.exec({}, QStringLiteral("t"), QStringLiteral("m"), 3), -1);
    QVERIFY(box.questionButtons().isEmpty());
}

void TestMessageBox::bannerIconByKind()
{
    CustomMessageBox box;
    clickLater(box, -1);
    box.exec({}, QString(), QString(), 0);
    QVERIFY(bannerIcon(box).isNull()); // a new box has none

    clickLater(box, -1);
    box.exec({}, QString(), QString(), 3);
    const qint64 error = bannerIcon(box).cacheKey();
    QVERIFY(!bannerIcon(box).isNull());

    for (int kind : {0, 4}) {
        clickLater(box, -1);
        box.exec({}, QString(), QString(), kind);
        QCOMPARE(bannerIcon(box).cacheKey(), error);
    }
    clickLater(box, -1);
    box.exec({}, QString(), QString(), 1);
    QVERIFY(bannerIcon(box).cacheKey() != error);
    const qint64 info = bannerIcon(box).cacheKey();
    clickLater(box, -1);
    box.exec({}, QString(), QString(), 2);
    QVERIFY(bannerIcon(box).cacheKey() != error && bannerIcon(box).cacheKey() != info);
}

void TestMessageBox::bannerSizeFollowsFactor_data()
{
    QTest::addColumn<QString>("factor");
    QTest::addColumn<int>("size");
    QTest::newRow("0.5") << "0.5" << 50;
    QTest::newRow("1") << "1" << 100;
    QTest::newRow("2") << "2" << 200;
}

void TestMessageBox::bannerSizeFollowsFactor()
{
    QFETCH(QString, factor);
    QFETCH(int, size);
    ScaleFixture scale(factor);
    CustomMessageBox box;
    clickLater(box, -1);
    box.exec({QStringLiteral("OK")}, QString(), QString(), 1);
    QCOMPARE(box.bannerIconSize(), QSize(size, size));
}

void TestMessageBox::secondExecReplacesButtons()
{
    CustomMessageBox box;
    clickLater(box, 2);
    QCOMPARE(box.exec({QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")}, QString(),
                      QString(), 1),
             2);
    QPointer<QPushButton> old = box.questionButtons().at(0);
    clickLater(box, 0);
    QCOMPARE(box.exec({QStringLiteral("Only")}, QString(), QString(), 1), 0);
    QVERIFY(old.isNull());
    QCOMPARE(box.questionButtons().size(), 1);
    QCOMPARE(box.findChildren<QPushButton *>().size(), 2); // "Only" and the close button
}

void TestMessageBox::eventsFlowWhileWaiting()
{
    CustomMessageBox box;
    int ticks = 0;
    QTimer ticker;
    connect(&ticker, &QTimer::timeout, this, [&] {
        if (++ticks == 3)
            box.questionButtons().at(1)->click();
    });
    ticker.start(1);
    QCOMPARE(box.exec({QStringLiteral("No"), QStringLiteral("Yes")}, QString(), QString(), 2), 1);
    QCOMPARE(ticks, 3);
}

void TestMessageBox::firstAnswerClosesAndCounts_data()
{
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("second");
    QTest::newRow("No, then Yes") << 0 << 1;
    QTest::newRow("Yes, then No") << 1 << 0;
    QTest::newRow("Yes, then close") << 1 << -1;
    QTest::newRow("close, then Yes") << -1 << 1;
}

void TestMessageBox::firstAnswerClosesAndCounts()
{
    QFETCH(int, first);
    QFETCH(int, second);
    CustomMessageBox box;
    bool hiddenAtOnce = false;
    bool buttonsOff = false;
    // Both clicks in one pass of the event loop, before exec can return: a
    // second click on a box that is still there must not change the answer.
    QTimer::singleShot(0, &box, [&] {
        const auto click = [&box](int index) {
            QAbstractButton *button = index < 0 ? static_cast<QAbstractButton *>(box.closeButton())
                                                : box.questionButtons().at(index);
            button->click();
        };
        click(first);
        hiddenAtOnce = box.isHidden();
        buttonsOff = !box.closeButton()->isEnabled();
        for (QPushButton *button : box.questionButtons())
            buttonsOff = buttonsOff && !button->isEnabled();
        click(second);
    });
    QCOMPARE(box.exec({QStringLiteral("No"), QStringLiteral("Yes")}, QString(), QString(), 1), first);
    QVERIFY(hiddenAtOnce);
    QVERIFY(buttonsOff);

    // The next question takes answers again.
    clickLater(box, 1);
    QCOMPARE(box.exec({QStringLiteral("No"), QStringLiteral("Yes")}, QString(), QString(), 1), 1);
}

QTEST_MAIN(TestMessageBox)
#include "tst_messagebox.moc"
