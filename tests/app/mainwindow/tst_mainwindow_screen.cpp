// The main window and its dialogs at the display scales 0.5, 1.0 and 2.0 on
// small and common screens: the window stays within the screen's available
// area, and every control the user needs lies whole on screen, above all
// the More menu (the way back to another scale) and the dialogs' buttons.
#include <QAbstractButton>
#include <QCheckBox>
#include <QStyleOptionButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QStackedWidget>
#include <QScreen>
#include <QToolButton>
#include <QtTest>
#include <functional>

#include "appfixture.h"
#include "channelenablebar.h"
#include "databasecont.h"
#include "mainwindow.h"
#include "mainwindowfixture.h"
#include "metatypes.h"
#include "screenfit.h"
#include "testnet.h"
#include "translation.h"

class TestMainWindowScreen : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanup();
    void everyControlOnScreen_data();
    void everyControlOnScreen();
    void smallScaleConfigure_data();
    void smallScaleConfigure();
    void fitHelpers();
};

namespace {

// The screen the test command gives every test, put back after each row.
QByteArray screenOfTheRun;

// Empty when `control` is shown whole on screen inside `area`, else what
// is wrong with it.
QString offScreen(QWidget *control, const QRect &area)
{
    const QString name = control->objectName();
    if (!control->isVisible())
        return name + QStringLiteral(" is hidden");
    const QRect global(control->mapToGlobal(QPoint(0, 0)), control->size());
    if (!area.contains(global))
        return QStringLiteral("%1 at %2,%3 %4x%5 lies outside the screen")
            .arg(name)
            .arg(global.x())
            .arg(global.y())
            .arg(global.width())
            .arg(global.height());
    // Cut by a scroll area's viewport or by the window's edge.
    const QRect shown = control->visibleRegion().boundingRect();
    if (shown != control->rect())
        return QStringLiteral("%1 is not shown whole (%2,%3 %4x%5 of %6x%7)")
            .arg(name)
            .arg(shown.x())
            .arg(shown.y())
            .arg(shown.width())
            .arg(shown.height())
            .arg(control->width())
            .arg(control->height());
    return QString();
}

// Empty when `control` is shown whole on screen, or can be by scrolling
// the scroll areas it lies in (a dialog larger than the window scrolls).
QString unreachable(QWidget *control, const QRect &area)
{
    if (offScreen(control, area).isEmpty())
        return QString();
    for (QWidget *p = control->parentWidget(); p; p = p->parentWidget()) {
        if (auto *scroll = qobject_cast<QScrollArea *>(p))
            scroll->ensureWidgetVisible(control, 0, 0);
    }
    QCoreApplication::processEvents();
    return offScreen(control, area);
}

} // namespace

void TestMainWindowScreen::initTestCase()
{
    screenOfTheRun = qgetenv("KORVANTIS_SCREEN");
    registerMetaTypes();
    Databasecont::instance().setDbDirectory(testnet::binDir() + QStringLiteral("/Korvantisdbs/"));
    Databasecont::instance().setMessageSink([](const QString &, const QString &) {});
}

void TestMainWindowScreen::cleanup()
{
    qputenv("KORVANTIS_SCREEN", screenOfTheRun);
    switchTranslator(QStringLiteral("en"));
}

void TestMainWindowScreen::everyControlOnScreen_data()
{
    QTest::addColumn<QString>("factor");
    QTest::addColumn<QByteArray>("screen");
    QTest::addColumn<QString>("language");
    for (const char *factor : {"0.5", "1.0", "2.0"}) {
        for (const char *language : {"en", "de"})
            QTest::addRow("%s, 1024x768, %s", factor, language) << factor << QByteArray("1024x768") << language;
    }
    QTest::newRow("2.0, 1920x1080, en") << "2.0" << QByteArray("1920x1080") << "en";
}

void TestMainWindowScreen::everyControlOnScreen()
{
    QFETCH(QString, factor);
    QFETCH(QByteArray, screen);
    QFETCH(QString, language);
    qputenv("KORVANTIS_SCREEN", screen);
    ScaleFixture scale(factor);
    switchTranslator(language);
    MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QList<QByteArray> wh = screen.split('x');
    const QRect area(0, 0, wh.at(0).toInt(), wh.at(1).toInt());
    QCOMPARE(screenfit::availableArea(&window).size(), area.size());
    QString parts;
    for (QWidget *w : part<QWidget>(&window, "pageMain")->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly))
        parts += QStringLiteral(" %1 %2").arg(w->objectName()).arg(w->minimumSizeHint().width());
    QTRY_VERIFY2(area.contains(window.frameGeometry()),
                 qPrintable(QStringLiteral("window %1x%2;%3").arg(window.width()).arg(window.height()).arg(parts)));

    const QStringList mainControls{"btnOverview", "btnDataTab",  "btnConfTab", "btnLogTab",
                                   "btnConnectToDevice", "btnRestartPPU", "btnMore"};
    for (const QString &name : mainControls) {
        auto *control = part<QWidget>(&window, name.toLatin1().constData());
        QTRY_VERIFY2(offScreen(control, area).isEmpty(), qPrintable(offScreen(control, area)));
    }
    // The top-bar buttons keep their scaled size: 100 x 30 times the factor.
    const double f = factor.toDouble();
    for (const char *name : {"btnConnectToDevice", "btnRestartPPU", "btnMore"})
        QCOMPARE(part<QToolButton>(&window, name)->size(), QSize(qRound(100 * f), qRound(30 * f)));
    // The logo's height follows the scale.
    QCOMPARE(part<QWidget>(&window, "label_2")->height(), qRound(40 * f));
    // So do the notification bar's icons and the channel boxes.
    for (const char *name : {"lblErrorIcon", "lblSuccessIcon"}) {
        QCOMPARE(part<QWidget>(&window, name)->minimumWidth(), qRound(24 * f));
        QCOMPARE(part<QWidget>(&window, name)->maximumWidth(), qRound(24 * f));
    }
    QCheckBox *box = part<ChannelEnableBar>(&window, "wdgGraphChnSel")->checkBox(0);
    QStyleOptionButton option;
    option.initFrom(box);
    QCOMPARE(box->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, box).size(),
             QSize(qRound(18 * f), qRound(18 * f)));

    // Each dialog the window runs, with the buttons that use and leave it.
    struct Dialog
    {
        const char *opener;
        QStringList controls;
        const char *leave;
        QSize form = {};  // kept at the form's size times the factor, where set
        // What the dialog does by itself once shown has ended, so that it is
        // looked at as it stays on screen; unset: nothing.
        std::function<bool(QWidget *)> settled = {};
    };
    // The connect dialog searches for units as it opens; its result (here
    // the message that none was found) changes the dialog and the room the
    // window leaves it. The search button is disabled while it runs, which
    // lasts the search's window: far longer than the poll below.
    bool searchSeen = false;
    const auto searchEnded = [&searchSeen](QWidget *shown) {
        const bool searching = !shown->findChild<QWidget *>(QStringLiteral("btnDiscoverIPs"))->isEnabled();
        searchSeen = searchSeen || searching;
        return searchSeen && !searching;
    };
    const QList<Dialog> dialogs{
        {"on_btnConnectToDevice_clicked", {"btnConnect", "btnCancel", "btnDiscoverIPs"}, "btnCancel", QSize(), searchEnded},
        {"on_actionAbout_triggered", {"btnClose"}, "btnClose"},
        {"on_actionLicense_triggered", {"btnClose"}, "btnClose"},
        {"on_actionScaling_triggered", {"cmbScaleSel", "btnExit", "btnApply"}, "btnExit", QSize(351, 203)},
        {"on_actionLanguage_triggered", {"btnSelect"}, "btnSelect", QSize(625, 242)},
    };
    for (const Dialog &dialog : dialogs) {
        // The dialog waits in an event loop of its own: it is looked at and
        // left from a timer of that loop.
        QStringList faults;
        bool looked = false;
        QElapsedTimer waited;
        waited.start();
        QTimer poll;
        connect(&poll, &QTimer::timeout, &window, [&] {
            if (window.dialogs().empty())
                return;
            QWidget *shown = window.dialogs().back();
            // Generous time-outs: on a busy machine a pass of the event loop
            // may take seconds. They end only a test that fails.
            const bool timeUp = waited.elapsed() > 30000;
            if (dialog.settled && !dialog.settled(shown) && !timeUp)
                return;
            faults.clear();
            if (dialog.settled && !dialog.settled(shown))
                faults << QStringLiteral("still busy");
            for (const QString &name : dialog.controls) {
                auto *control = shown->findChild<QWidget *>(name);
                const QString fault = control ? unreachable(control, area) : name + QStringLiteral(" is missing");
                if (!fault.isEmpty())
                    faults << fault;
            }
            // Layouts settle over a few passes of the event loop: a fault is
            // looked at again until it has lasted.
            if (!faults.isEmpty() && !timeUp)
                return;

            if (dialog.form.isValid()) {
                const QSize most = QSize(qRound(dialog.form.width() * f), qRound(dialog.form.height() * f))
                                       .expandedTo(shown->minimumSizeHint());
                if (shown->width() > most.width() || shown->height() > most.height())
                    faults << QStringLiteral("stretched to %1x%2").arg(shown->width()).arg(shown->height());
            }
            poll.stop();
            looked = true;
            QTest::mouseClick(shown->findChild<QAbstractButton *>(QLatin1String(dialog.leave)), Qt::LeftButton);
        });
        poll.start(20);
        QVERIFY(QMetaObject::invokeMethod(&window, dialog.opener));
        QVERIFY2(looked, dialog.opener);
        QVERIFY2(faults.isEmpty(), qPrintable(QLatin1String(dialog.opener) + QStringLiteral(": ") + faults.join(", ")));
        QVERIFY(window.dialogs().empty());
    }
}

void TestMainWindowScreen::smallScaleConfigure_data()
{
    QTest::addColumn<QString>("factor");
    QTest::addColumn<QString>("language");
    for (const char *factor : {"0.5", "1.0"}) {
        for (const char *language : {"en", "de"})
            QTest::addRow("%s, %s", factor, language) << factor << language;
    }
}

// The Configure page at a small scale on a 1024x768 screen: nothing on it
// scrolls sideways (the window grows where the page needs the room), and
// the top bar keeps its one row of tabs and buttons.
void TestMainWindowScreen::smallScaleConfigure()
{
    QFETCH(QString, factor);
    QFETCH(QString, language);
    qputenv("KORVANTIS_SCREEN", "1024x768");
    ScaleFixture scale(factor);
    switchTranslator(language);
    MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTest::mouseClick(part<QAbstractButton>(&window, "btnConfTab"), Qt::LeftButton);
    const QRect area(0, 0, 1024, 768);

    auto sideways = [&window] {
        QStringList found;
        for (QScrollArea *scroll : window.findChildren<QScrollArea *>()) {
            if (scroll->isVisible() && scroll->horizontalScrollBar()->maximum() > 0)
                found << QStringLiteral("%1 by %2").arg(scroll->objectName()).arg(scroll->horizontalScrollBar()->maximum());
        }
        return found.join(QStringLiteral(", "));
    };
    // Every top-bar button level with the first tab.
    auto outOfRow = [&window] {
        QStringList found;
        const QWidget *first = part<QWidget>(&window, "btnOverview");
        const QRect row(first->mapTo(&window, QPoint(0, 0)), first->size());
        for (const char *name : {"btnDataTab", "btnConfTab", "btnLogTab", "btnConnectToDevice", "btnRestartPPU", "btnMore"}) {
            const QWidget *button = part<QWidget>(&window, name);
            const int middle = button->mapTo(&window, QPoint(0, button->height() / 2)).y();
            if (middle < row.top() || middle > row.bottom())
                found << QStringLiteral("%1 at y %2 outside the tabs' row %3..%4")
                             .arg(QLatin1String(name)).arg(middle).arg(row.top()).arg(row.bottom());
        }
        return found.join(QStringLiteral(", "));
    };
    const auto faults = [&] { return QStringList{sideways(), outOfRow()}.join(QLatin1Char(' ')).trimmed(); };
    QTRY_VERIFY2(faults().isEmpty(), qPrintable(faults()));
    QVERIFY(area.contains(window.frameGeometry()));
    // Nor does any other page of the configuration.
    auto *pages = part<QWidget>(&window, "pageScrollConfig")->findChild<QStackedWidget *>(QStringLiteral("stackedWidget"));
    QVERIFY(pages);
    for (int i = 0; i < pages->count(); ++i) {
        pages->setCurrentIndex(i);
        QTRY_VERIFY2(sideways().isEmpty(), qPrintable(pages->currentWidget()->objectName() + QLatin1Char(' ') + sideways()));
    }
    QVERIFY(area.contains(window.frameGeometry()));
}

void TestMainWindowScreen::fitHelpers()
{
    const QRect area(0, 0, 1024, 768);
    QCOMPARE(screenfit::fittedSize(QSize(2048, 1536), area), QSize(1024, 768));
    QCOMPARE(screenfit::fittedSize(QSize(512, 384), area), QSize(512, 384));
    QCOMPARE(screenfit::fittedSize(QSize(2048, 300), area), QSize(1024, 300));
    QCOMPARE(screenfit::fittedPosition(QPoint(100, 100), QSize(1024, 768), area), QPoint(0, 0));
    QCOMPARE(screenfit::fittedPosition(QPoint(100, 100), QSize(512, 384), area), QPoint(100, 100));
    QCOMPARE(screenfit::fittedPosition(QPoint(-50, 700), QSize(512, 384), area), QPoint(0, 384));
    // A window larger than the area keeps its top-left corner on screen.
    QCOMPARE(screenfit::fittedPosition(QPoint(10, 10), QSize(2000, 900), QRect(0, 20, 1024, 748)), QPoint(0, 20));
    qputenv("KORVANTIS_SCREEN", "1920x1080");
    QCOMPARE(screenfit::availableArea(nullptr).size(), QSize(1920, 1080));
    qputenv("KORVANTIS_SCREEN", "wide");
    QCOMPARE(screenfit::availableArea(nullptr).size(), QGuiApplication::primaryScreen()->availableGeometry().size());
}

QTEST_MAIN(TestMainWindowScreen)
#include "tst_mainwindow_screen.moc"
