// The main window's data page against the simulated unit: raw input as
// curves, the SKW on the value bars, the CSV export of what is shown, the
// reference-run result dialog, and a language switch that re-texts the page
// without sending anything to the unit.
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QProgressBar>
#include <QDoubleSpinBox>
#include <QFile>
#include <QPushButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include "channelenablebar.h"
#include "configurationtile.h"
#include "confighandler.h"
#include "dataacquisition.h"
#include "databasecont.h"
#include "device.h"
#include "ethernethandler.h"
#include "byteorder.h"
#include "linegraph.h"
#include "mainwindow.h"
#include "mainwindowfixture.h"
#include "metatypes.h"
#include "notificationbar.h"
#include "refrundialog.h"
#include "testnet.h"
#include "tiletab.h"
#include "translation.h"
#include "unitsim.h"
#include "unitsimblocks.h"
#include "valuebar.h"

namespace {

// tests/app/mainwindow takes 127.0.3.20 to 127.0.3.29.
const QHostAddress kUnit(QStringLiteral("127.0.3.29"));

} // namespace

class TestMainWindowData : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();

    void dataViewStartsWithTheEmptyLineGraph();
    void rawCurvesSkwBarsAndTheEmptyPage();
    void skwBarOfEveryTickedChannel_data();
    void skwBarOfEveryTickedChannel();
    void dataRequestsLockTheWindow_data();
    void dataRequestsLockTheWindow();
    void lostLinkEndsTheReadOnce();
    void csvExportOfTheShownTable();
    void failedExportKeepsTheOldFile();
    void referenceRunResultIsShownAndWritten();
    void languageSwitchRetextsWithoutWriting();

private:
    void connectUnit();
    // The data page shown, its controls free (an idle unit), these channels ticked.
    void openDataPage(uint8_t mask);
    void clearNotifications();
    NotificationBar *notifications() { return part<NotificationBar>(window, "notifyBar"); }
    QStackedWidget *stack() { return part<QStackedWidget>(window, "wdgStack"); }
    LineGraph *graph() { return part<LineGraph>(window, "wdgGraph"); }
    int requests(uint8_t command) const { return unit->countRequests(command); }

    std::unique_ptr<UnitSim> unit;
    MainWindow *window = nullptr;
    std::unique_ptr<BoxAnswerer> answerer;
    std::unique_ptr<QTemporaryDir> dir;
};

void TestMainWindowData::initTestCase()
{
    registerMetaTypes();
    // A lost link resets the data page; a loaded machine must not lose it.
    startWindowLink();
    Databasecont::instance().setDbDirectory(testnet::binDir() + QStringLiteral("/Korvantisdbs/"));
    // One window for every test: it opens the catalogue once.
    window = new MainWindow;
    window->resize(1200, 900);
    window->show();
}

void TestMainWindowData::cleanupTestCase()
{
    delete window;
    window = nullptr;
}

void TestMainWindowData::init()
{
    KORVANTIS_REQUIRE_TESTNET();
    unit = std::make_unique<UnitSim>();
    QString error;
    QVERIFY2(unit->startQuiet(kUnit, &error), qPrintable(error));
    UnitSimBlocks *blocks = UnitSimBlocks::of(unit.get());
    QVector<int16_t> raw;
    for (int i = 0; i < 50; ++i)
        raw << int16_t(i * i);
    blocks->setMeasurement(0, 0, raw);
    blocks->setMeasurement(0, 2, raw.mid(0, 20));
    dir = std::make_unique<QTemporaryDir>();
}

void TestMainWindowData::cleanup()
{
    answerer.reset();
    Device::instance()->ethernetHandler()->disconnectFromDevice();
    QTRY_VERIFY(!Device::instance()->confighandler()->waitingForFeedback());
    unit.reset();
    switchTranslator(QStringLiteral("en"));
}

void TestMainWindowData::connectUnit()
{
    answerer = std::make_unique<BoxAnswerer>(window, QList<int>{0});
    Device::instance()->confighandler()->setIpAddress(kUnit);
    Device::instance()->ethernetHandler()->setTargetIP(kUnit);
    QTRY_COMPARE(answerer->boxes.size(), 1);
    QTRY_VERIFY(!Device::instance()->ethernetHandler()->isWaiting());
    unit->clearRequestLog();
}

void TestMainWindowData::openDataPage(uint8_t mask)
{
    unit->setDataControl(0x10);  // an idle unit: the data controls are free
    connectUnit();
    window->setcurrentIndexes(MainWindow::PageData);
    QTRY_VERIFY(part<QWidget>(window, "wdgReadData")->isEnabled());
    auto *bar = part<ChannelEnableBar>(window, "wdgGraphChnSel");
    for (int ch = 0; ch < 7; ++ch)
        bar->checkBox(ch)->setChecked(mask & (1u << ch));
    QCOMPARE(bar->getChannelMask(), mask);
    clearNotifications();
}

void TestMainWindowData::clearNotifications()
{
    while (notifications()->entryCount() > 0)
        notifications()->on_btnConfirm_clicked();
}

// Must run first: the window as it was built.
void TestMainWindowData::dataViewStartsWithTheEmptyLineGraph()
{
    QCOMPARE(stack()->currentWidget(), static_cast<QWidget *>(graph()));
    QVERIFY(graph()->series().isEmpty());
    QCOMPARE(graph()->graphTitle(), QString());
    QCOMPARE(graph()->xAxisTitle(), QString());
    openDataPage(0x01);
    QCOMPARE(stack()->currentWidget(), static_cast<QWidget *>(graph()));
    int asked = 0;
    window->setCsvNameProvider([&](const QString &, const QString &) {
        ++asked;
        return dir->filePath(QStringLiteral("never"));
    });
    part<QAbstractButton>(window, "btnExportDataToCsv")->click();
    QCOMPARE(asked, 0);
    QCOMPARE(notifications()->entryCount(), 1);
    QCOMPARE(notifications()->currentEntry().text, QStringLiteral("no Data to save present"));

    // Also after a read that brought nothing to show.
    clearNotifications();
    window->runDataStep(MeasurementTable::RawInput, 0x00);
    QCOMPARE(stack()->currentWidget(), part<QWidget>(window, "wdgEmptyPage"));
    part<QAbstractButton>(window, "btnExportDataToCsv")->click();
    QCOMPARE(asked, 0);
    QCOMPARE(notifications()->currentEntry().text, QStringLiteral("no Data to save present"));
    clearNotifications();
}

void TestMainWindowData::rawCurvesSkwBarsAndTheEmptyPage()
{
    connectUnit();
    window->runDataStep(MeasurementTable::RawInput, 0x05);
    QCOMPARE(stack()->currentWidget(), static_cast<QWidget *>(graph()));
    QCOMPARE(graph()->series().size(), 2);
    QCOMPARE(graph()->graphTitle(), QStringLiteral("Channels Raw Input Data"));
    QCOMPARE(requests(0x12) >= 2, true);
    QVERIFY(!part<QWidget>(window, "wdgReadData")->testAttribute(Qt::WA_ForceDisabled));

    window->runDataStep(MeasurementTable::Skw, 0x02);
    QCOMPARE(stack()->currentWidget(), part<QWidget>(window, "wdgBarGraph"));
    QVERIFY(!part<QWidget>(window, "wdgBar2")->isHidden());
    QVERIFY(part<QWidget>(window, "wdgBar1")->isHidden());
    QVERIFY(graph()->series().isEmpty());

    unit->clearRequestLog();
    window->runDataStep(MeasurementTable::RawInput, 0x00);
    QCOMPARE(stack()->currentWidget(), part<QWidget>(window, "wdgEmptyPage"));
    QCOMPARE(requests(0x12), 0);
}

// Ticked as the engineer ticks them, read with "Read SKW": every ticked
// channel's bar shows the unit's value as a number and as a filled bar.
void TestMainWindowData::skwBarOfEveryTickedChannel_data()
{
    QTest::addColumn<int>("mask");
    for (int ch = 0; ch < 7; ++ch)
        QTest::newRow(qPrintable(QStringLiteral("Channel %1 alone").arg(ch + 1))) << (1 << ch);
    QTest::newRow("all channels") << 0x7F;
}

void TestMainWindowData::skwBarOfEveryTickedChannel()
{
    QFETCH(int, mask);
    // Whichever statistic a channel's mapping entry selects is its SKW.
    auto skw = [](int ch) { return 1000 + 111 * ch; };
    for (int ch = 0; ch < 7; ++ch)
        UnitSimBlocks::of(unit.get())->setMeasurement(5, ch, QVector<int16_t>(16, int16_t(skw(ch))));
    openDataPage(uint8_t(mask));
    part<QPushButton>(window, "btnreadSKWData")->click();
    QCOMPARE(stack()->currentWidget(), part<QWidget>(window, "wdgBarGraph"));
    QCOMPARE(notifications()->entryCount(), 0);
    for (int ch = 0; ch < 7; ++ch) {
        const QByteArray name = "wdgBar" + QByteArray::number(ch + 1);
        auto *bar = part<ValueBar>(window, name.constData());
        if (!(mask & (1 << ch))) {
            QVERIFY2(bar->isHidden(), name.constData());
            continue;
        }
        QVERIFY2(bar->isVisible(), name.constData());
        auto *number = bar->findChild<QLabel *>(QStringLiteral("lblCurrentValue"));
        QVERIFY2(number->isVisible(), name.constData());
        QCOMPARE(number->text(), QString::number(skw(ch)));
        auto *fill = bar->findChild<QProgressBar *>(QStringLiteral("prgBar"));
        QVERIFY(fill->maximum() > 0);
        QCOMPARE(fill->value(), qBound(fill->minimum(), skw(ch), fill->maximum()));
    }
}

// While a request of the data page waits for the slow unit, the window is
// locked as for a dialog: neither Start nor the log page (which reads the
// unit's log) can send a second request. Afterwards it is free again, after
// an answer and after a refusal alike.
void TestMainWindowData::dataRequestsLockTheWindow_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<int>("command");
    QTest::newRow("Read SKW") << QStringLiteral("btnreadSKWData") << int(EthernetHandler::CmdReadData);
    QTest::newRow("Read raw input Data") << QStringLiteral("btngetData") << int(EthernetHandler::CmdReadData);
    QTest::newRow("Start") << QStringLiteral("btnmanRunstart") << int(EthernetHandler::CmdManualRun);
    QTest::newRow("reference-run mode") << QStringLiteral("chkRefRun") << int(EthernetHandler::CmdRefRunMode);
}

void TestMainWindowData::dataRequestsLockTheWindow()
{
    QFETCH(QString, control);
    QFETCH(int, command);
    for (int ch = 0; ch < 7; ++ch)
        UnitSimBlocks::of(unit.get())->setMeasurement(5, ch, QVector<int16_t>(16, 500));
    openDataPage(0x05);
    part<QSpinBox>(window, "spnTimeInterval")->setValue(300);
    auto *button = window->findChild<QAbstractButton *>(control);
    QVERIFY(button);
    QWidget *mainPage = part<QWidget>(window, "pageMain");
    auto *pages = part<QStackedWidget>(window, "stackScroll");

    for (const bool refused : {false, true}) {
        const QByteArray when = refused ? "refused" : "answered";
        QTRY_VERIFY2(button->isEnabled(), when.constData());
        unit->faults().delayMs = 60;  // a slow unit
        if (refused)
            unit->setErrorStatus(uint8_t(command), -1, -5);
        int seen = 0;
        bool lockedMeanwhile = false;
        int secondRequests = -1;
        bool stayedOnDataPage = false;
        QMetaObject::Connection watch =
            connect(unit.get(), &UnitSim::requestReceived, this, [&](const UnitSimRequest &q) {
                if (q.command != command || seen++ > 0)
                    return;
                // The request is out and the tool waits for its answer.
                lockedMeanwhile = !mainPage->isEnabled();
                const int before = requests(EthernetHandler::CmdManualRun) + requests(EthernetHandler::CmdReadLog);
                QTest::mouseClick(part<QPushButton>(window, "btnmanRunstart"), Qt::LeftButton);
                QTest::mouseClick(part<QPushButton>(window, "btnLogTab"), Qt::LeftButton);
                secondRequests =
                    requests(EthernetHandler::CmdManualRun) + requests(EthernetHandler::CmdReadLog) - before;
                stayedOnDataPage = pages->currentIndex() == MainWindow::PageData;
            });
        button->click();
        // A run that started stops itself after its interval, with a request
        // of its own.
        QTRY_VERIFY_WITH_TIMEOUT(!window->dataAcquisition()->isTimedRunPending(), 20000);
        QTRY_VERIFY_WITH_TIMEOUT(mainPage->isEnabled() && window->dialogs().empty(), 20000);
        disconnect(watch);
        unit->faults().delayMs = 0;
        unit->clearErrorStatus();
        QVERIFY2(seen > 0, when.constData());
        QVERIFY2(lockedMeanwhile, when.constData());
        QCOMPARE(secondRequests, 0);
        QVERIFY2(stayedOnDataPage, when.constData());
        QVERIFY(!notifications()->currentEntry().text.contains(QString::number(int(ERR_ALREADY_WAITING))));
        if (refused)
            QVERIFY(notifications()->currentEntry().text.contains(QStringLiteral("Errorcode: -5")));
        clearNotifications();
    }
}

// The unit goes away while the third of seven channels is read: the read
// stops there with one message naming the channels not read, asks nothing
// more, and the view stays clear, also once the link watch gives the unit up.
void TestMainWindowData::lostLinkEndsTheReadOnce()
{
    for (int ch = 0; ch < 7; ++ch)
        UnitSimBlocks::of(unit.get())->setMeasurement(0, ch, QVector<int16_t>(30, int16_t(ch)));
    openDataPage(0x7F);
    window->runDataStep(MeasurementTable::RawInput, 0x01);
    QCOMPARE(graph()->series().size(), 1);
    unit->clearRequestLog();
    connect(unit.get(), &UnitSim::requestReceived, unit.get(), [this](const UnitSimRequest &q) {
        if (q.command == EthernetHandler::CmdReadData && q.payload.size() >= 20
            && le::u32(reinterpret_cast<const uint8_t *>(q.payload.constData()) + 16) == 2)
            unit->faults().silent = true;
    });
    part<QPushButton>(window, "btngetData")->click();

    QCOMPARE(notifications()->entryCount(), 1);
    const QString message = notifications()->currentEntry().text;
    QVERIFY2(message.endsWith(QStringLiteral("Channels not read: Channel 3, Channel 4, Channel 5, Channel 6, "
                                             "Channel 7")),
             qPrintable(message));
    QVERIFY2(message.contains(QStringLiteral("Errorcode: %1").arg(int(ERR_TIMEOUT))), qPrintable(message));
    // Within one request's time-out of the loss: its attempts, nothing after.
    QSet<uint32_t> channels;
    for (const UnitSimRequest &q : unit->requestLog())
        if (q.command == EthernetHandler::CmdReadData)
            channels.insert(le::u32(reinterpret_cast<const uint8_t *>(q.payload.constData()) + 16));
    QCOMPARE(channels, (QSet<uint32_t>{0, 1, 2}));
    QVERIFY(graph()->series().isEmpty());
    QVERIFY(stack()->currentWidget() != part<QWidget>(window, "wdgBarGraph"));

    QTRY_VERIFY_WITH_TIMEOUT(!Device::instance()->ethernetHandler()->isConnected(), 20000);
    QCoreApplication::processEvents();
    QVERIFY(graph()->series().isEmpty());
    QCOMPARE(graph()->graphTitle(), QString());
}

void TestMainWindowData::csvExportOfTheShownTable()
{
    connectUnit();
    int asked = 0;
    window->setCsvNameProvider([&](const QString &, const QString &filter) {
        ++asked;
        [&] { QCOMPARE(filter, QStringLiteral("*.csv")); }();
        return dir->filePath(QStringLiteral("out"));
    });
    // Nothing shown: no question.
    window->saveCSV();
    QCOMPARE(asked, 0);

    window->runDataStep(MeasurementTable::RawInput, 0x04);
    bool mainPageEnabled = true;
    int readsDuringExport = -1;
    QTimer::singleShot(0, window, [&] {
        // The first row written lets the event loop run: the main page is
        // disabled and a read click does nothing.
        mainPageEnabled = part<QWidget>(window, "pageMain")->isEnabled();
        const int before = requests(0x12);
        part<QPushButton>(window, "btngetData")->click();
        readsDuringExport = requests(0x12) - before;
    });
    window->on_btnExportDataToCsv_clicked();
    QCOMPARE(asked, 1);
    QVERIFY(!mainPageEnabled);
    QCOMPARE(readsDuringExport, 0);
    QVERIFY(part<QWidget>(window, "pageMain")->isEnabled());

    QFile f(dir->filePath(QStringLiteral("out.csv")));
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = f.readAll().split('\n');
    QCOMPARE(lines.at(0), QByteArray("\"Time in \xC2\xB5s\";\"Channel 1\";\"Channel 2\";\"Channel 3\";\"Channel 4\";"
                                     "\"Channel 5\";\"Channel 6\";\"Channel 7\""));
    QCOMPARE(lines.at(1), QByteArray("0;;;0;;;;"));
    QCOMPARE(lines.at(20), QByteArray("190;;;361;;;;"));
    QCOMPARE(lines.size(), 22);  // header, 20 rows, the empty piece after the last line feed
}

void TestMainWindowData::failedExportKeepsTheOldFile()
{
    connectUnit();
    window->runDataStep(MeasurementTable::RawInput, 0x01);
    // The name is a folder: the export cannot take its place.
    const QString taken = dir->filePath(QStringLiteral("taken.csv"));
    QVERIFY(QDir().mkpath(taken));
    window->setCsvNameProvider([&](const QString &, const QString &) { return taken; });
    window->saveCSV();
    QVERIFY(QFileInfo(taken).isDir());
    QCOMPARE(QDir(dir->path()).entryList(QDir::Files | QDir::Hidden), QStringList());
    QTRY_VERIFY(!part<NotificationBar>(window, "notifyBar")->isHidden());
    // Cancelling the name asks nothing more and writes nothing.
    window->setCsvNameProvider([](const QString &, const QString &) { return QString(); });
    window->saveCSV();
    QCOMPARE(QDir(dir->path()).entryList(QDir::Files | QDir::Hidden), QStringList());
}

void TestMainWindowData::referenceRunResultIsShownAndWritten()
{
    connectUnit();
    ReferenceRunResult_t &r = unit->refRunResult();
    r.flags = 0x80 | 0x02;  // scale mode, channel 2
    r.newReference[1] = 9000;
    bool shown = false;
    QTimer poll;
    connect(&poll, &QTimer::timeout, window, [&] {
        RefRunDialog *dialog = window->findChild<RefRunDialog *>();
        if (!dialog || !dialog->isVisible() || window->dialogs().empty() || window->dialogs().back() != dialog)
            return;
        shown = true;
        poll.stop();
        dialog->findChild<QDoubleSpinBox *>("spndRefVal")->setValue(9.5);
        dialog->findChild<QPushButton *>("btnApply")->click();
        dialog->findChild<QPushButton *>("btnExit")->click();
    });
    poll.start(20);
    unit->heartbeat().runControl |= 0x20;
    QTRY_VERIFY(shown);
    QTRY_VERIFY(window->findChild<RefRunDialog *>() == nullptr);
    bool written = false;
    for (const UnitSimRequest &q : unit->requestLog())
        if (q.command == 0xEF && q.paramId == 0x49 && q.value == QByteArray::fromHex("1c25"))
            written = true;
    QVERIFY(written);  // 9500 to the scale of channel 2, from a reference run
}

void TestMainWindowData::languageSwitchRetextsWithoutWriting()
{
    connectUnit();
    window->runDataStep(MeasurementTable::RawInput, 0x01);
    unit->clearRequestLog();
    switchTranslator(QStringLiteral("de"));
    QCoreApplication::processEvents();
    QCOMPARE(graph()->graphTitle(), QStringLiteral("Rohdaten der Kanäle"));
    QCOMPARE(graph()->xAxisTitle(), QStringLiteral("t in µs"));
    QCOMPARE(graph()->yAxisTitle(), QStringLiteral("Abtastwerte in Digits"));
    QCOMPARE(part<QPushButton>(window, "btnOverview")->text(), QStringLiteral("Übersicht"));
    QCOMPARE(part<TileTab>(window, "pageOverview")->getTile(MainWindow::TileCommonSettings)->title(),
             QStringLiteral("Allgemeine Einstellungen"));
    const int beats = unit->countRequests(EthernetHandler::CmdHeartbeat);
    QTRY_VERIFY_WITH_TIMEOUT(unit->countRequests(EthernetHandler::CmdHeartbeat) >= beats + 3, 20000);
    // Heartbeats go on (and a late copy of a data read may still arrive);
    // nothing that changes the unit is sent.
    const QList<uint8_t> changing{EthernetHandler::CmdWriteParam,  EthernetHandler::CmdServiceAction,
                                  EthernetHandler::CmdRefRunMode,  EthernetHandler::CmdManualRun,
                                  EthernetHandler::CmdStopDataRun, EthernetHandler::CmdErrorReset,
                                  EthernetHandler::CmdRestart,     EthernetHandler::CmdNetConfig};
    for (const UnitSimRequest &q : unit->requestLog())
        QVERIFY2(!changing.contains(q.command), qPrintable(QString::number(q.command, 16)));
    switchTranslator(QStringLiteral("en"));
    QCoreApplication::processEvents();
    QCOMPARE(graph()->graphTitle(), QStringLiteral("Channels Raw Input Data"));
}

QTEST_MAIN(TestMainWindowData)
#include "tst_mainwindow_data.moc"
