// The main window's data page against the simulated unit: raw input as
// curves, the SKW on the value bars, the CSV export of what is shown, the
// reference-run result dialog, and a language switch that re-texts the page
// without sending anything to the unit.
#include <QDir>
#include <QDoubleSpinBox>
#include <QFile>
#include <QPushButton>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include "configurationtile.h"
#include "confighandler.h"
#include "dataacquisition.h"
#include "databasecont.h"
#include "device.h"
#include "ethernethandler.h"
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

    void rawCurvesSkwBarsAndTheEmptyPage();
    void csvExportOfTheShownTable();
    void failedExportKeepsTheOldFile();
    void referenceRunResultIsShownAndWritten();
    void languageSwitchRetextsWithoutWriting();

private:
    void connectUnit();
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
    LinkTimings t;
    t.baseTimeoutMs = 150;
    t.heartbeatMs = 100;
    // A lost link resets the data page; a loaded machine must not lose it.
    t.watchdogMs = 5000;
    t.watchdogSingleCoreMs = 10000;
    Device::instance()->ethernetHandler()->setTimings(t);
    Device::instance()->startTransport();
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
    QTest::qWait(300);
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
