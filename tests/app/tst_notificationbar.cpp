#include "appfixture.h"
#include "settle.h"
#include "metatypes.h"
#include "notificationbar.h"
#include "textfitfilter.h"

#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QVBoxLayout>
#include <QtTest>

namespace {

struct BarView
{
    explicit BarView(NotificationBar &bar)
        : stack(bar.findChild<QStackedWidget *>(QStringLiteral("stackedWidget")))
        , errorText(bar.findChild<QLabel *>(QStringLiteral("lblErrorMessage")))
        , successText(bar.findChild<QLabel *>(QStringLiteral("lblSuccessMessage")))
        , confirm(bar.findChild<QPushButton *>(QStringLiteral("btnConfirm")))
        , goToLog(bar.findChild<QPushButton *>(QStringLiteral("btnGotToLog")))
    {
    }
    QString page() const { return stack->currentWidget()->objectName(); }
    QStackedWidget *stack;
    QLabel *errorText;
    QLabel *successText;
    QPushButton *confirm;
    QPushButton *goToLog;
};

} // namespace

class TestNotificationBar : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { registerMetaTypes(); }
    void startsHidden();
    void successCoversErrorAndExpires();
    void errorStopsSuccessTimerWhichRestartsInFull();
    void confirmEmitsErrorResetOnce();
    void goToLogLeavesEntry();
    void goToLogButtonOnlyWhenAsked();
    void successWithoutTimeStays();
    void dismissOnEmptyBarOnlyHides();
    void pushDuringErrorResetEmission();
    void dismissDuringErrorResetEmission();
    void scaledSizes();
    void withdrawTakesEveryEntryOfTheText();
    void longTextGrowsTheBarWithinItsPage();
};

void TestNotificationBar::startsHidden()
{
    NotificationBar bar;
    QVERIFY(bar.isHidden());
    QCOMPARE(bar.entryCount(), 0);
    BarView view(bar);
    QCOMPARE(view.confirm->toolTip(), QStringLiteral("Confirm"));
    QCOMPARE(view.goToLog->toolTip(), QStringLiteral("Go to log"));
    QCOMPARE(bar.minimumHeight(), 42);
    QCOMPARE(view.confirm->iconSize(), QSize(24, 24));
}

void TestNotificationBar::withdrawTakesEveryEntryOfTheText()
{
    NotificationBar bar;
    BarView view(bar);
    const QString wait = QStringLiteral("Wait for it");
    bar.showError(QStringLiteral("Older"), false, false);
    bar.showError(wait, false, false);
    bar.showError(QStringLiteral("Between"), false, false);
    bar.showError(wait, false, false);

    // The newest entry goes: the newest one left shows.
    bar.withdraw(wait);
    QCOMPARE(bar.entryCount(), 2);
    QCOMPARE(view.errorText->text(), QStringLiteral("Between"));
    view.confirm->click();
    QCOMPARE(view.errorText->text(), QStringLiteral("Older"));

    // An entry under a success leaves the success and its timer alone.
    bar.showError(wait, false, false);
    bar.showSuccess(QStringLiteral("Done"), 60000);
    bar.withdraw(wait);
    QCOMPARE(bar.entryCount(), 2);
    QCOMPARE(view.page(), QStringLiteral("pageSuccess"));
    QVERIFY(bar.timerActive());

    // Unknown text: nothing changes; the last entry gone hides the bar.
    bar.withdraw(QStringLiteral("never shown"));
    QCOMPARE(bar.entryCount(), 2);
    bar.withdraw(QStringLiteral("Done"));
    QVERIFY(!bar.timerActive());
    bar.withdraw(QStringLiteral("Older"));
    QCOMPARE(bar.entryCount(), 0);
    QVERIFY(bar.isHidden());
}

void TestNotificationBar::successCoversErrorAndExpires()
{
    NotificationBar bar;
    BarView view(bar);
    bar.showError(QStringLiteral("A failed"), false, true);
    QVERIFY(!bar.isHidden());
    QCOMPARE(view.page(), QStringLiteral("pageError"));
    QVERIFY(!bar.timerActive());

    bar.showSuccess(QStringLiteral("B done"), 30);
    QCOMPARE(view.page(), QStringLiteral("pageSuccess"));
    QCOMPARE(view.successText->text(), QStringLiteral("B done"));
    QVERIFY(bar.timerActive());

    QTRY_COMPARE_WITH_TIMEOUT(bar.entryCount(), 1, 20000);
    QCOMPARE(view.page(), QStringLiteral("pageError"));
    QCOMPARE(view.errorText->text(), QStringLiteral("A failed"));
    QVERIFY(!bar.timerActive()); // the error waits for confirmation
    QVERIFY(!bar.isHidden());

    view.confirm->click();
    QCOMPARE(bar.entryCount(), 0);
    QVERIFY(bar.isHidden());
}

void TestNotificationBar::errorStopsSuccessTimerWhichRestartsInFull()
{
    NotificationBar bar;
    BarView view(bar);
    bar.showSuccess(QStringLiteral("A"), 40);
    bar.showError(QStringLiteral("B"), false, false);
    QVERIFY(!bar.timerActive());
    // A timer of twice A's time has fired: had A's kept running, its time
    // would be up (a thread's timers fire in the order they fall due).
    QVERIFY(settle::timersDue(80));
    QCOMPARE(bar.entryCount(), 2);
    QCOMPARE(view.errorText->text(), QStringLiteral("B"));

    view.confirm->click();
    QCOMPARE(bar.entryCount(), 1);
    QCOMPARE(view.page(), QStringLiteral("pageSuccess"));
    QVERIFY(bar.timerActive());
    QCOMPARE(bar.timerInterval(), 40);
    QTRY_VERIFY_WITH_TIMEOUT(bar.isHidden(), 20000);
    QCOMPARE(bar.entryCount(), 0);
}

void TestNotificationBar::confirmEmitsErrorResetOnce()
{
    NotificationBar bar;
    BarView view(bar);
    QSignalSpy reset(&bar, &NotificationBar::sendErrorReset);
    bar.showError(QStringLiteral("with reset"), true, false);
    bar.showError(QStringLiteral("without reset"), false, false);
    view.confirm->click();
    QCOMPARE(reset.count(), 0);
    view.confirm->click();
    QCOMPARE(reset.count(), 1);
    view.confirm->click(); // hidden bar, empty stack
    QCOMPARE(reset.count(), 1);

    // A reset entry that goes by timer resets too.
    bar.showError(QStringLiteral("x"), true, false);
    bar.showSuccess(QStringLiteral("y"), 10);
    QTRY_COMPARE_WITH_TIMEOUT(bar.entryCount(), 1, 20000);
    QCOMPARE(reset.count(), 1);
    bar.timerTimeout();
    QCOMPARE(reset.count(), 2);
}

void TestNotificationBar::goToLogLeavesEntry()
{
    NotificationBar bar;
    BarView view(bar);
    QSignalSpy log(&bar, &NotificationBar::goToLog);
    bar.showError(QStringLiteral("see log"), false, true);
    view.goToLog->click();
    QCOMPARE(log.count(), 1);
    QCOMPARE(bar.entryCount(), 1);
    QVERIFY(!bar.isHidden());
    QCOMPARE(view.errorText->text(), QStringLiteral("see log"));
}

void TestNotificationBar::goToLogButtonOnlyWhenAsked()
{
    NotificationBar bar;
    bar.show();
    BarView view(bar);
    bar.showError(QStringLiteral("a"), false, false);
    QVERIFY(!view.goToLog->isVisible());
    QVERIFY(view.confirm->isVisible());
    bar.showError(QStringLiteral("b"), false, true);
    QVERIFY(view.goToLog->isVisible());
    view.confirm->click();
    QVERIFY(!view.goToLog->isVisible());
}

void TestNotificationBar::successWithoutTimeStays()
{
    NotificationBar bar;
    BarView view(bar);
    bar.showSuccess(QStringLiteral("stays"), 0);
    QVERIFY(!bar.timerActive());
    bar.showSuccess(QStringLiteral("goes"), 10);
    QTRY_COMPARE_WITH_TIMEOUT(bar.entryCount(), 1, 20000);
    QCOMPARE(view.successText->text(), QStringLiteral("stays"));
    QVERIFY(!bar.isHidden());
    QVERIFY(!bar.timerActive());
}

void TestNotificationBar::dismissOnEmptyBarOnlyHides()
{
    NotificationBar bar;
    bar.show();
    QSignalSpy reset(&bar, &NotificationBar::sendErrorReset);
    bar.timerTimeout();
    QVERIFY(bar.isHidden());
    QCOMPARE(reset.count(), 0);
}

void TestNotificationBar::pushDuringErrorResetEmission()
{
    // The receiver of the reset waits for the unit in a nested event loop,
    // and its failure comes back as a new notification meanwhile.
    NotificationBar bar;
    BarView view(bar);
    bool nestedDone = false;
    connect(&bar, &NotificationBar::sendErrorReset, this, [&] {
        QEventLoop loop;
        QTimer::singleShot(0, &loop, [&] {
            bar.showError(QStringLiteral("Reset failed"), false, false);
            bar.showSuccess(QStringLiteral("short"), 5);
            loop.quit();
        });
        loop.exec();
        nestedDone = true;
    });
    bar.showError(QStringLiteral("older"), false, false);
    bar.showError(QStringLiteral("unit error"), true, false);
    view.confirm->click();
    QVERIFY(nestedDone);
    QTRY_COMPARE_WITH_TIMEOUT(bar.entryCount(), 2, 20000);
    QCOMPARE(view.errorText->text(), QStringLiteral("Reset failed"));
    QCOMPARE(view.page(), QStringLiteral("pageError"));
    view.confirm->click();
    QCOMPARE(view.errorText->text(), QStringLiteral("older"));
}

void TestNotificationBar::dismissDuringErrorResetEmission()
{
    NotificationBar bar;
    BarView view(bar);
    connect(&bar, &NotificationBar::sendErrorReset, this, [&] { view.confirm->click(); });
    bar.showError(QStringLiteral("first"), false, false);
    bar.showError(QStringLiteral("second"), true, false);
    view.confirm->click();
    QCOMPARE(bar.entryCount(), 0);
    QVERIFY(bar.isHidden());
}

void TestNotificationBar::scaledSizes()
{
    ScaleFixture scale(QStringLiteral("1.5"));
    NotificationBar bar;
    BarView view(bar);
    QCOMPARE(bar.minimumHeight(), 63);
    QCOMPARE(bar.maximumHeight(), 63);
    QCOMPARE(view.confirm->iconSize(), QSize(36, 36));
    QCOMPARE(view.goToLog->iconSize(), QSize(36, 36));
    QCOMPARE(view.confirm->maximumSize(), QSize(36, 36));
}

// A message longer than two lines is read whole: the bar grows to its
// lines, as far as the page it lies in can spare room without growing; only
// beyond that is it cut, and whole in the tool tip.
void TestNotificationBar::longTextGrowsTheBarWithinItsPage()
{
    // As in the main window: the bar in a page of the window, above a
    // widget that needs a height of its own.
    QWidget window;
    auto *frame = new QVBoxLayout(&window);
    frame->setContentsMargins(0, 0, 0, 0);
    auto *page = new QWidget(&window);
    frame->addWidget(page);
    auto *column = new QVBoxLayout(page);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    auto *bar = new NotificationBar(page);
    auto *below = new QWidget(page);
    below->setMinimumHeight(200);
    column->addWidget(bar);
    column->addWidget(below);
    window.resize(500, 600);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    BarView view(*bar);
    const auto settled = [&] {
        for (int n = 0; n < 3; ++n) {
            QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
            QCoreApplication::processEvents();
        }
    };

    const QString sentence = QStringLiteral("Already written to the unit but not saved: the channel configuration. ");
    QStringList rows;
    for (const int copies : {0, 6, 60}) {
        QString text = QStringLiteral("Saved.");
        for (int n = 0; n < copies; ++n)
            text += QLatin1Char(' ') + sentence.trimmed();
        bar->showError(text, false, false);
        settled();
        const QString shown = TextFitFilter::shownText(view.errorText);
        rows << QStringLiteral("%1 copies: bar %2 px, shown whole %3").arg(copies).arg(bar->height()).arg(shown == text);
        if (copies == 0) {
            // One line: the bar as it always was.
            QCOMPARE(bar->height(), 42);
            QCOMPARE(shown, text);
        } else if (copies == 6) {
            // Several lines: taller, and every word on screen.
            QVERIFY2(bar->height() > 42, qPrintable(rows.join('\n')));
            QCOMPARE(shown, text);
            QCOMPARE(TextFitFilter::toolTipText(view.errorText), QString());
        } else {
            // More than half the page could hold: half the page, cut, whole
            // in the tool tip; the page keeps its size and the widget below
            // its room.
            QVERIFY2(bar->height() <= 300, qPrintable(rows.join('\n')));
            QVERIFY(shown.endsWith(QChar(0x2026)));
            QCOMPARE(TextFitFilter::toolTipText(view.errorText), text);
        }
        QCOMPARE(window.size(), QSize(500, 600));
        QVERIFY(below->height() >= 200);
    }

    // The widget below needs more now (another page shown there): the bar
    // gives way, the page keeps its size.
    below->setMinimumHeight(500);
    settled();
    QVERIFY2(bar->height() <= 100, qPrintable(QString::number(bar->height())));
    QVERIFY(below->height() >= 500);
    QVERIFY(TextFitFilter::shownText(view.errorText).endsWith(QChar(0x2026)));
    QCOMPARE(window.size(), QSize(500, 600));

    // Back to a short message: the bar is low again.
    bar->showError(QStringLiteral("Short"), false, false);
    settled();
    QCOMPARE(bar->height(), 42);
}

QTEST_MAIN(TestNotificationBar)
#include "tst_notificationbar.moc"
