// The SKW history in the window a user gets: the main window as the program
// opens it on a 1024 x 768 screen (and a full-HD one, at scale 1.0 and
// 2.0), connected to the simulated unit, the Log page, "SKW History",
// channels 1 to 4 ticked. The plot keeps a height it can be read at (at
// least 200 px at scale 1.0, the y-axis title whole along it), with and
// without a notification above the page, in English and German; where the
// window cannot hold it below the channel bar, the page scrolls in one area
// to it instead of squeezing it. On a full-HD screen at 1.0 everything is
// in view without scrolling.
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QScopeGuard>
#include <QtTest>

#include "appfixture.h"
#include "channelenablebar.h"
#include "confighandler.h"
#include "databasecont.h"
#include "device.h"
#include "ethernethandler.h"
#include "linegraph.h"
#include "logtab.h"
#include "mainwindow.h"
#include "mainwindowfixture.h"
#include "metatypes.h"
#include "notificationbar.h"
#include "testnet.h"
#include "translation.h"
#include "unitsim.h"
#include "unitsimblocks.h"

namespace {

// tests/app/mainwindow takes 127.0.3.20 to 127.0.3.29.
const QHostAddress kUnit(QStringLiteral("127.0.3.28"));

// Empty when `widget` is shown whole in the window without scrolling, else
// what is wrong with it.
QString hiddenPart(QWidget *widget, const char *what)
{
    if (!widget->isVisible())
        return QStringLiteral("%1 is hidden").arg(QLatin1String(what));
    const QRegion hidden = QRegion(widget->rect()) - widget->visibleRegion();
    if (hidden.isEmpty())
        return QString();
    const QRect r = hidden.boundingRect();
    return QStringLiteral("%1 (%2 x %3): %4 x %5 px at %6,%7 out of view")
        .arg(QLatin1String(what))
        .arg(widget->width())
        .arg(widget->height())
        .arg(r.width())
        .arg(r.height())
        .arg(r.x())
        .arg(r.y());
}

} // namespace

class TestMainWindowLogHistory : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanup();
    void historyReadableAndInReach_data();
    void historyReadableAndInReach();

private:
    std::unique_ptr<UnitSim> unit;
    std::unique_ptr<BoxAnswerer> answerer;
};

void TestMainWindowLogHistory::initTestCase()
{
    registerMetaTypes();
    // A loaded machine must not lose the link in the middle of a read.
    startWindowLink(300, 10000);
    Databasecont::instance().setDbDirectory(testnet::binDir() + QStringLiteral("/Korvantisdbs/"));
    Databasecont::instance().setMessageSink([](const QString &, const QString &) {});
}

void TestMainWindowLogHistory::cleanup()
{
    answerer.reset();
    Device::instance()->ethernetHandler()->disconnectFromDevice();
    unit.reset();
    switchTranslator(QStringLiteral("en"));
}

void TestMainWindowLogHistory::historyReadableAndInReach_data()
{
    QTest::addColumn<QString>("factor");
    QTest::addColumn<QByteArray>("screen");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QString>("language");
    QTest::addColumn<bool>("notification");
    QTest::addColumn<bool>("fieldbus");
    QTest::addColumn<bool>("fits");
    // A 1024 x 768 screen: the window opens as large as the screen lets it.
    // Below the status rows and the channel bar there is no room for a
    // readable plot: the page scrolls to it.
    for (const char *language : {"en", "de"})
        for (bool notification : {false, true})
            QTest::addRow("1024x768 %s%s", language, notification ? " notification" : "")
                << "1.0" << QByteArray("1028x772") << QSize() << QString::fromLatin1(language) << notification
                << false << false;
    // The fieldbus rows of the status section take more of the height.
    QTest::newRow("1024x768 en notification fieldbus")
        << "1.0" << QByteArray("1028x772") << QSize() << "en" << true << true << false;
    // Full HD, the window maximised: the whole history in view.
    QTest::newRow("1920x1080 de notification")
        << "1.0" << QByteArray("1924x1084") << QSize(1920, 1080) << "de" << true << false << true;
    // Scale 2.0 on full HD: the window as the program opens it.
    for (const char *language : {"en", "de"})
        QTest::addRow("2.0 1920x1080 %s notification", language)
            << "2.0" << QByteArray("1920x1080") << QSize() << QString::fromLatin1(language) << true << false << false;
    QTest::newRow("2.0 1920x1080 en fieldbus")
        << "2.0" << QByteArray("1920x1080") << QSize() << "en" << false << true << false;
}

void TestMainWindowLogHistory::historyReadableAndInReach()
{
    KORVANTIS_REQUIRE_TESTNET();
    QFETCH(QString, factor);
    QFETCH(QByteArray, screen);
    QFETCH(QSize, size);
    QFETCH(QString, language);
    QFETCH(bool, notification);
    QFETCH(bool, fieldbus);
    QFETCH(bool, fits);
    const QByteArray screenOfTheRun = qgetenv("KORVANTIS_SCREEN");
    const auto restore = qScopeGuard([screenOfTheRun] { qputenv("KORVANTIS_SCREEN", screenOfTheRun); });
    qputenv("KORVANTIS_SCREEN", screen);
    const ScaleFixture scale(factor);
    const QList<QByteArray> wh = screen.split('x');
    const QRect screenArea(QPoint(0, 0), QSize(wh.at(0).toInt(), wh.at(1).toInt()));

    unit = std::make_unique<UnitSim>();
    QString error;
    QVERIFY2(unit->startQuiet(kUnit, &error), qPrintable(error));
    UnitSimBlocks::of(unit.get())->setLogRecords(400);
    unit->setDataControl(0x10);  // an idle unit: the log page is free
    if (fieldbus)
        unit->setFieldbusModule(0x93);

    // As the program opens it: the language first, then the window at the
    // size it takes by itself (its style sheet and scale applied).
    switchTranslator(language);
    MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    if (size.isValid())
        window.resize(size);
    settleLayouts();
    if (size.isValid() || factor == QLatin1String("1.0"))
        QCOMPARE(window.size(), size.isValid() ? size : QSize(1024, 768));
    QTRY_VERIFY(screenArea.contains(window.frameGeometry()));

    // Connected. "Yes" to the offer reads the configuration, whose reference
    // values the unit has not set: the notification says so above the page.
    answerer = std::make_unique<BoxAnswerer>(&window, QList<int>{notification ? 1 : 0});
    EthernetHandler *link = Device::instance()->ethernetHandler();
    Device::instance()->confighandler()->setIpAddress(kUnit);
    link->setTargetIP(kUnit);
    QTRY_COMPARE_WITH_TIMEOUT(answerer->boxes.size(), 1, 10000);
    QTRY_VERIFY_WITH_TIMEOUT(!window.asksReadConfig() && !link->isWaiting(), 20000);
    auto *bar = part<NotificationBar>(&window, "notifyBar");
    if (notification)
        QTRY_VERIFY_WITH_TIMEOUT(bar->isVisible() && bar->currentEntry().text.contains(QLatin1String("Channel 1")),
                                 10000);
    else
        QVERIFY(!bar->isVisible());

    // Log, SKW History, channels 1 to 4 ticked by their names.
    QTest::mouseClick(part<QPushButton>(&window, "btnLogTab"), Qt::LeftButton);
    auto *page = part<LogTab>(&window, "pageScrollLog");
    QTRY_VERIFY_WITH_TIMEOUT(!page->isBusy() && page->isEnabled(), 20000);
    QTest::mouseClick(part<QPushButton>(page, "btnSKWHist"), Qt::LeftButton);
    auto *channels = part<ChannelEnableBar>(page, "wdgChnSelBar");
    for (int ch = 0; ch < 4; ++ch)
        QTest::mouseClick(channels->nameButton(ch), Qt::LeftButton);
    QCOMPARE(channels->getChannelMask(), uint8_t(0x0F));
    auto *graph = part<LineGraph>(page, "wdgLogHistory");
    // The graph draws when it is painted: scrolled to where it lies, as
    // the user does.
    auto scrollTo = [](QWidget *widget) {
        for (QWidget *p = widget->parentWidget(); p; p = p->parentWidget())
            if (auto *area = qobject_cast<QScrollArea *>(p))
                area->ensureWidgetVisible(widget, 0, 0);
    };
    for (int round = 0; round < 3; ++round) {
        settleLayouts();
        if (graph->visibleRegion().isEmpty())
            scrollTo(graph->graphLabel());
        QTRY_VERIFY_WITH_TIMEOUT(graph->isVisible() && graph->isUpToDate() && !graph->isRendering(), 20000);
    }
    QCOMPARE(graph->series().size(), 4);

    auto *area = part<QScrollArea>(page, "scrollArea");
    QLabel *image = graph->graphLabel();
    const int plot = graph->currentPlotHeight();
    const QString sizes = QStringLiteral("view %1 px high, content %2 px, image %3 px, plot %4 px: ")
                              .arg(area->viewport()->height())
                              .arg(area->widget()->height())
                              .arg(graph->backBuffer().height())
                              .arg(plot);
    // The image is drawn in a copy of the graph's font made from its
    // description (the drawing thread must not share the widget's font).
    QFont drawnFont;
    drawnFont.fromString(graph->font().toString());
    const QFontMetrics metrics(drawnFont);

    // A plot that can be read, and its y-axis title whole along it: the
    // title is cut unless it is narrower than the plot is high.
    QVERIFY2(plot >= 10 * metrics.height(), qPrintable(sizes));
    if (factor == QLatin1String("1.0"))
        QVERIFY2(plot >= 200, qPrintable(sizes));
    const QString title = language == QLatin1String("de") ? QStringLiteral("SKW-Wert in Digits")
                                                          : QStringLiteral("SKW Value in digits");
    QCOMPARE(graph->yAxisTitle(), title);
    QVERIFY2(metrics.boundingRect(title).width() < plot,
             qPrintable(sizes + QStringLiteral("\"%1\" needs %2 px").arg(title).arg(metrics.boundingRect(title).width())));

    // One scroll bar: of the scroll areas the graph lies in, one scrolls at
    // most.
    QStringList scrolling;
    QScrollArea *scroller = nullptr;
    for (QWidget *p = graph->parentWidget(); p; p = p->parentWidget()) {
        auto *a = qobject_cast<QScrollArea *>(p);
        if (a && a->verticalScrollBar()->maximum() > 0) {
            scrolling << QStringLiteral("%1 by %2 px").arg(a->objectName()).arg(a->verticalScrollBar()->maximum());
            scroller = a;
        }
    }
    QVERIFY2(scrolling.size() <= 1, qPrintable(sizes + scrolling.join(QStringLiteral(", "))));
    if (fits) {
        // Nothing to scroll to, and everything in view as the page opens.
        QVERIFY2(scrolling.isEmpty(), qPrintable(sizes + scrolling.join(QStringLiteral(", "))));
        QStringList hidden;
        const struct
        {
            QWidget *widget;
            const char *what;
        } parts[] = {{channels, "channel bar"},
                     {image, "plot image"},
                     {part<QPushButton>(page, "btnExportCSV"), "Export to .csv"}};
        for (const auto &p : parts) {
            const QString h = hiddenPart(p.widget, p.what);
            if (!h.isEmpty())
                hidden << h;
        }
        QVERIFY2(hidden.isEmpty(), qPrintable(sizes + hidden.join(QStringLiteral("; "))));
    } else {
        // The channel bar in view as the user scrolls that one area to it,
        // and the graph: whole where the view is as high as the image (on
        // a 1024 x 768 screen it is), else its top and bottom in turn.
        QVERIFY2(scroller, qPrintable(sizes));
        scroller->ensureWidgetVisible(channels, 0, 0);
        settleLayouts();
        QVERIFY2(hiddenPart(channels, "channel bar").isEmpty(), qPrintable(sizes + hiddenPart(channels, "channel bar")));
        scroller->ensureWidgetVisible(image, 0, 0);
        settleLayouts();
        const bool whole = image->height() <= scroller->viewport()->height();
        QVERIFY2(whole || factor != QLatin1String("1.0") || fieldbus, qPrintable(sizes));
        if (whole) {
            QVERIFY2(hiddenPart(image, "plot image").isEmpty(), qPrintable(sizes + hiddenPart(image, "plot image")));
        } else {
            for (const QPoint end : {QPoint(image->width() / 2, 0), QPoint(image->width() / 2, image->height() - 1)}) {
                const QPoint inContent = image->mapTo(scroller->widget(), end);
                scroller->ensureVisible(inContent.x(), inContent.y(), 0, 2);
                settleLayouts();
                QVERIFY2(image->visibleRegion().contains(end), qPrintable(sizes));
            }
        }
        for (QWidget *w : {static_cast<QWidget *>(channels), static_cast<QWidget *>(image)})
            QVERIFY(screenArea.contains(QRect(w->mapToGlobal(QPoint(0, 0)), w->size())));
    }
    // The label shows the whole image: its plot with the y labels, the
    // event rows, the time labels and the axis title.
    const QPixmap shown = graph->backBuffer();
    QCOMPARE(image->size(), shown.size());
    QVERIFY2(image->rect().contains(QRect(QPoint(0, 0), shown.size())), qPrintable(sizes));

    // Every time label whole: shown as the formatter wrote it, in a room
    // that holds it as drawn, inside the image, apart from its neighbours.
    const QVector<AxisLabel> labels = graph->xAxisLabels();
    QVERIFY(!labels.isEmpty());
    const QRect whole(QPoint(0, 0), shown.size());
    for (const AxisLabel &label : labels) {
        QCOMPARE(label.shown, label.text);
        QVERIFY(label.text.contains(QLatin1Char(':')));
        const int drawn =
            metrics.boundingRect(QRect(0, 0, 1 << 20, 1000), Qt::AlignHCenter | Qt::AlignTop, label.text).width();
        QVERIFY2(drawn <= label.room && drawn <= label.rect.width(),
                 qPrintable(QStringLiteral("\"%1\" needs %2 px, its room is %3 px")
                                .arg(label.text)
                                .arg(drawn)
                                .arg(label.room)));
        QVERIFY2(whole.contains(label.rect), qPrintable(label.text));
    }
    for (int i = 1; i < labels.size(); ++i)
        QVERIFY(labels.at(i - 1).rect.right() < labels.at(i).rect.left());
}

QTEST_MAIN(TestMainWindowLogHistory)
#include "tst_mainwindow_loghistory.moc"
