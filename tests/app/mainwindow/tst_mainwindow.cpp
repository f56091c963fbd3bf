// The main window without a unit: start-up order and state, the dialog host,
// the progress bar, message routing, navigation and the connection state as
// heartbeats and lost links drive it.
#include <QApplication>
#include <QCheckBox>
#include <QLayout>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QToolButton>
#include <QtTest>

#include "configtab.h"
#include "configurationtile.h"
#include "databasecont.h"
#include "mainwindow.h"
#include "mainwindowfixture.h"
#include "notificationbar.h"
#include "programrun.h"
#include "testnet.h"
#include "tiletab.h"

namespace {

HearBeatMessage_t heartbeat(uint8_t state)
{
    HearBeatMessage_t hb;
    hb.setDeviceState(state);
    hb.dataControl = 0x11;
    hb.runControl = 0x10;
    hb.channelEnabled = 0x7F;
    return hb;
}

// Enabled by its own state: a widget inside a disabled parent is disabled
// too, but the heartbeat decides each control on its own.
bool setEnabled(const QWidget *widget)
{
    return !widget->testAttribute(Qt::WA_ForceDisabled);
}

bool isError(const NotificationEntry &entry)
{
    return entry.page && entry.page->objectName() == QLatin1String("pageError");
}

const QHostAddress kUnit(QStringLiteral("198.18.0.2"));

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void cleanupTestCase();

    void pagesExistBeforeCatalogueIsReady();
    void startsDisconnected();
    void nestedDialogsComeBackInReverseOrder();
    void exitWithoutDialog();
    void progressBar_data();
    void progressBar();
    void progressBarCoversTheMainPage();
    void singleButtonMessage_data();
    void singleButtonMessage();
    void question_data();
    void question();
    void pageMessagesReachTheBar();
    void tilesOpenPages();
    void disabledTabChangesNothing();
    void fieldbusTileFollowsTheView();
    void firstHeartbeatAsks();
    void heartbeatControls_data();
    void heartbeatControls();
    void restartDecision_data();
    void restartDecision();

private:
    QStackedWidget *pages() { return part<QStackedWidget>(window, "stackScroll"); }
    NotificationBar *bar() { return part<NotificationBar>(window, "notifyBar"); }
    MainWindow *window = nullptr;
    QStringList catalogueErrors;
};

void TestMainWindow::initTestCase()
{
    // The sample catalogue built beside the programs; a load error would
    // otherwise wait in a message box of its own.
    Databasecont::instance().setDbDirectory(testnet::binDir() + QStringLiteral("/Korvantisdbs/"));
    Databasecont::instance().setMessageSink([this](const QString &title, const QString &text) {
        catalogueErrors << title + QStringLiteral(": ") + text;
    });
}

void TestMainWindow::init()
{
    // One window for the whole test (building one loads the catalogue);
    // each test starts from the state of a window that has lost its unit.
    if (!window) {
        window = new MainWindow;
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
    }
    while (!window->dialogs().empty())
        window->exitDialog();
    while (bar()->entryCount() > 0)
        bar()->on_btnConfirm_clicked();
    {
        // A plain heartbeat gives every control back its own state.
        BoxAnswerer answerer(window, {0});
        HearBeatMessage_t hb = heartbeat(0);
        hb.dataControl = 0x10;
        window->connectionsuccesfull(hb, kUnit);
    }
    window->lostconnection();
    emit part<ConfigTab>(window, "pageScrollConfig")->hideFBTile();
    window->setcurrentIndexes(MainWindow::PageOverview);
}

void TestMainWindow::cleanup()
{
}

void TestMainWindow::cleanupTestCase()
{
    delete window;
    window = nullptr;
}

void TestMainWindow::pagesExistBeforeCatalogueIsReady()
{
    // The selection pages listen for the catalogue's initcomplete from their
    // construction on: they must be there when it comes.
    QStringList present;
    const auto connection = connect(&Databasecont::instance(), &Databasecont::initcomplete, this, [&] {
        for (QWidget *w : QApplication::allWidgets())
            present << w->objectName();
    });
    MainWindow built;
    disconnect(connection);
    for (const char *name : {"pageScrollConfig", "wdgSensor", "wdgMapping", "pageOverview",
                             "pageScrollLog", "wdgChannelStatus"})
        QVERIFY2(present.contains(QString::fromLatin1(name)), name);
    QVERIFY2(catalogueErrors.isEmpty(), qPrintable(catalogueErrors.join('\n')));
}

void TestMainWindow::startsDisconnected()
{
    QCOMPARE(window->windowTitle(), QStringLiteral("Service Setup Tool Korvantis 3.11.01339"));
    QCOMPARE(pages()->currentIndex(), int(MainWindow::PageOverview));
    QVERIFY(part<QPushButton>(window, "btnOverview")->isChecked());
    QVERIFY(!part<QPushButton>(window, "btnDataTab")->isEnabled());
    QVERIFY(!part<QToolButton>(window, "btnRestartPPU")->isEnabled());
    QVERIFY(!part<QWidget>(window, "pageScrollData")->isEnabled());
    QVERIFY(window->asksReadConfig());
    QVERIFY(part<QWidget>(window, "pageMain")->isEnabled());
    QVERIFY(part<QWidget>(window, "pageDialog")->isHidden());

    // Seven tiles; reference setup and fieldbus hidden until the unit says.
    auto *tiles = part<TileTab>(window, "pageOverview");
    QCOMPARE(tiles->tiles().size(), 7);
    QStringList order;
    for (ConfigurationTile *tile : tiles->tiles())
        order << QString::number(tile->tileId());
    QCOMPARE(order.join(QLatin1Char(',')), QStringLiteral("5,0,1,2,3,4,6"));
    QVERIFY(tiles->getTile(MainWindow::TileReferenceSetup)->isHidden());
    QVERIFY(tiles->getTile(MainWindow::TileFieldbus)->isHidden());
    QVERIFY(tiles->getTile(MainWindow::TileCommonSettings)->isVisible());
    QCOMPARE(tiles->getTile(MainWindow::TileUpdateFirmware)->description(), QStringLiteral("View Options"));

    // The More menu: language, licence, About, scaling; help is not offered.
    QMenu *menu = part<QToolButton>(window, "btnMore")->menu();
    QVERIFY(menu);
    QStringList actions;
    for (QAction *action : menu->actions())
        actions << action->text();
    QCOMPARE(actions, QStringList({"Language", "License", "About", "Scaling"}));
}

void TestMainWindow::nestedDialogsComeBackInReverseOrder()
{
    // The dialogs lie in the dialog page's scroll area.
    auto dialogLayout = [this] { return part<QWidget>(window, "wdgDialogArea")->layout(); };
    QWidget *dialogPage = part<QWidget>(window, "pageDialog");
    QWidget *mainPage = part<QWidget>(window, "pageMain");
    QWidget first;
    QWidget second;

    window->enterDialog(&first);
    QVERIFY(!mainPage->isEnabled());
    QVERIFY(dialogPage->isVisible());
    QVERIFY(dialogPage->isAncestorOf(&first));
    QVERIFY(dialogLayout()->indexOf(&first) >= 0);
    QVERIFY(dialogLayout()->indexOf(window->placeholderDialog()) < 0);

    window->enterDialog(&second);
    QVERIFY(first.isHidden());
    QVERIFY(dialogLayout()->indexOf(&second) >= 0);
    QVERIFY(dialogLayout()->indexOf(&first) < 0);
    QCOMPARE(window->dialogs().size(), size_t(2));

    window->exitDialog();
    QVERIFY(!first.isHidden());
    QVERIFY(dialogLayout()->indexOf(&first) >= 0);
    QVERIFY(dialogLayout()->indexOf(&second) < 0);
    QVERIFY(!mainPage->isEnabled());
    QVERIFY(dialogPage->isVisible());

    window->exitDialog();
    QVERIFY(dialogLayout()->indexOf(window->placeholderDialog()) >= 0);
    QVERIFY(dialogLayout()->indexOf(&first) < 0);
    QVERIFY(mainPage->isEnabled());
    QVERIFY(dialogPage->isHidden());
    QVERIFY(window->dialogs().empty());
}

void TestMainWindow::exitWithoutDialog()
{
    auto dialogLayout = [this] { return part<QWidget>(window, "wdgDialogArea")->layout(); };
    QWidget *dialogPage = part<QWidget>(window, "pageDialog");
    window->exitDialog();
    QVERIFY(dialogPage->isHidden());
    QVERIFY(part<QWidget>(window, "pageMain")->isEnabled());
    QVERIFY(dialogLayout()->indexOf(window->placeholderDialog()) >= 0);

    // Entering after that still works as the first dialog.
    QWidget dialog;
    window->enterDialog(&dialog);
    QVERIFY(dialogLayout()->indexOf(&dialog) >= 0);
    window->exitDialog();
    QVERIFY(dialogPage->isHidden());
}

void TestMainWindow::progressBar_data()
{
    QTest::addColumn<uint>("max");
    QTest::addColumn<uint>("value");
    QTest::addColumn<int>("shown");

    QTest::newRow("start") << 200u << 0u << 0;
    QTest::newRow("half") << 200u << 100u << 50;
    QTest::newRow("truncates") << 3u << 2u << 66;
    QTest::newRow("above the maximum") << 200u << 500u << 100;
    QTest::newRow("large values") << 4000000000u << 3999999999u << 99;
    QTest::newRow("maximum 0: one block, done") << 0u << 0u << 100;
}

void TestMainWindow::progressBar()
{
    QFETCH(uint, max);
    QFETCH(uint, value);
    QFETCH(int, shown);
    window->initProgressbar(QStringLiteral("Reading"), 1);
    window->setMaxProgressbar(max);
    window->updateProgressBar(value);
    QCOMPARE(window->progress()->value(), shown);
    QCOMPARE(window->progress()->maximum(), 100);
    window->deinitProgressbar();
}

void TestMainWindow::progressBarCoversTheMainPage()
{
    QWidget *mainPage = part<QWidget>(window, "pageMain");
    QSignalSpy finished(window, &MainWindow::triggerUpdateProgressBar);
    window->initProgressbar(QStringLiteral("Reading the device log"), 50);
    QVERIFY(!mainPage->isEnabled());
    QVERIFY(window->progress()->isVisible());
    QCOMPARE(window->progress()->format(), QStringLiteral("Reading the device log"));
    QCOMPARE(window->progress()->value(), 0);
    emit window->triggerUpdateProgressBar(25);
    QCOMPARE(window->progress()->value(), 50);
    window->deinitProgressbar();
    QVERIFY(mainPage->isEnabled());
    QVERIFY(window->progress()->isHidden());
    QVERIFY(window->dialogs().empty());
}

void TestMainWindow::singleButtonMessage_data()
{
    QTest::addColumn<int>("icon");
    QTest::addColumn<int>("entries");
    QTest::addColumn<bool>("error");

    QTest::newRow("no icon") << 0 << 1 << false;
    QTest::newRow("information") << 1 << 1 << false;
    QTest::newRow("attention") << 2 << 1 << true;
    QTest::newRow("error") << 3 << 1 << true;
    QTest::newRow("question") << 4 << 1 << true;
    // A kind without a name; 7 is the largest an Icon can hold.
    QTest::newRow("unknown icon") << 7 << 0 << false;
}

void TestMainWindow::singleButtonMessage()
{
    QFETCH(int, icon);
    QFETCH(int, entries);
    QFETCH(bool, error);

    BoxAnswerer answerer(window);
    int32_t answer = 77;
    window->printMessageboxwrapper({QStringLiteral("OK")}, QStringLiteral("Title"),
                                   QStringLiteral("The message"), QMessageBox::Icon(icon), &answer);
    QCOMPARE(answer, 77);
    QVERIFY(answerer.boxes.isEmpty());
    QCOMPARE(bar()->entryCount(), entries);
    if (entries) {
        const NotificationEntry entry = bar()->currentEntry();
        QCOMPARE(entry.text, QStringLiteral("The message"));
        QCOMPARE(isError(entry), error);
        if (error) {
            QVERIFY(entry.showGoToLog);
            QVERIFY(!entry.sendErrorReset);
        } else {
            QCOMPARE(entry.timeoutMs, 3000u);
        }
    }
}

void TestMainWindow::question_data()
{
    QTest::addColumn<QStringList>("captions");
    QTest::addColumn<int>("click");
    QTest::addColumn<int>("answer");

    QTest::newRow("No") << QStringList{"No", "Yes"} << 0 << 0;
    QTest::newRow("Yes") << QStringList{"No", "Yes"} << 1 << 1;
    QTest::newRow("closed") << QStringList{"No", "Yes"} << -1 << -1;
    QTest::newRow("three buttons") << QStringList{"A", "B", "C"} << 2 << 2;
    QTest::newRow("no buttons, closed") << QStringList{} << -1 << -1;
}

void TestMainWindow::question()
{
    QFETCH(QStringList, captions);
    QFETCH(int, click);
    QFETCH(int, answer);

    {
        BoxAnswerer answerer(window, {click});
        int32_t result = 77;
        window->printMessageboxwrapper(captions, QStringLiteral("Read Config"), QStringLiteral("Read it?"),
                                       QMessageBox::Information, &result);
        QCOMPARE(result, answer);
        QCOMPARE(answerer.boxes.size(), 1);
        QCOMPARE(answerer.boxes.first().title, QStringLiteral("Read Config"));
        QCOMPARE(answerer.boxes.first().captions, captions);
        QVERIFY(!answerer.mainPageEnabledMeanwhile);
    }
    QVERIFY(part<QWidget>(window, "pageMain")->isEnabled());
    QCOMPARE(bar()->entryCount(), 0);

    // Without an answer pointer the box still runs; nothing is written.
    BoxAnswerer again(window, {click});
    window->printMessageboxwrapper(captions, QString(), QStringLiteral("Again"), QMessageBox::Warning);
    QCOMPARE(again.boxes.size(), 1);
}

void TestMainWindow::pageMessagesReachTheBar()
{
    // A page of the form reports through the window.
    auto *config = part<ConfigTab>(window, "pageScrollConfig");
    config->printNotification(QStringLiteral("Saved"), false, QMessageBox::Information, false);
    QCOMPARE(bar()->currentEntry().text, QStringLiteral("Saved"));
    QVERIFY(!isError(bar()->currentEntry()));
    config->printNotification(QStringLiteral("Failed"), true, QMessageBox::Critical, false);
    QCOMPARE(bar()->currentEntry().text, QStringLiteral("Failed"));
    QVERIFY(isError(bar()->currentEntry()));
    QVERIFY(bar()->currentEntry().showGoToLog);

    // A question of a page comes back with the chosen button.
    BoxAnswerer answerer(window, {1});
    int32_t result = -5;
    emit config->printMessageboxwrapper({QStringLiteral("No"), QStringLiteral("Yes")}, QStringLiteral("Q"),
                                        QStringLiteral("Sure?"), QMessageBox::Information, &result);
    QCOMPARE(result, 1);

    // The bar's go-to-log button opens the log page.
    emit bar()->goToLog();
    QCOMPARE(pages()->currentIndex(), int(MainWindow::PageLog));
}

void TestMainWindow::tilesOpenPages()
{
    auto *tiles = part<TileTab>(window, "pageOverview");
    for (int id : {0, 1, 2, 4, 5, 6}) {
        window->setcurrentIndexes(MainWindow::PageOverview);
        emit tiles->tilePressed(id);
        QCOMPARE(pages()->currentIndex(), int(MainWindow::PageConfig));
        QVERIFY(part<QPushButton>(window, "btnConfTab")->isChecked());
        QVERIFY(!part<QPushButton>(window, "btnOverview")->isChecked());
    }
    // "Reference Setup" opens the data page once the unit allows data.
    HearBeatMessage_t hb = heartbeat(2);
    window->setcurrentIndexes(MainWindow::PageOverview);
    {
        BoxAnswerer answerer(window, {0});
        window->connectionsuccesfull(hb, kUnit);
    }
    QVERIFY(!tiles->getTile(MainWindow::TileReferenceSetup)->isHidden());
    emit tiles->tilePressed(MainWindow::TileReferenceSetup);
    QCOMPARE(pages()->currentIndex(), int(MainWindow::PageData));
    // An unknown id changes nothing.
    emit tiles->tilePressed(9);
    QCOMPARE(pages()->currentIndex(), int(MainWindow::PageData));
}

void TestMainWindow::disabledTabChangesNothing()
{
    auto *dataTab = part<QPushButton>(window, "btnDataTab");
    QVERIFY(!dataTab->isEnabled());
    window->setcurrentIndexes(MainWindow::PageData);
    QCOMPARE(pages()->currentIndex(), int(MainWindow::PageOverview));
    emit part<TileTab>(window, "pageOverview")->tilePressed(MainWindow::TileReferenceSetup);
    QCOMPARE(pages()->currentIndex(), int(MainWindow::PageOverview));
    QVERIFY(!dataTab->isChecked());

    QTest::mouseClick(part<QPushButton>(window, "btnLogTab"), Qt::LeftButton);
    QCOMPARE(pages()->currentIndex(), int(MainWindow::PageLog));
    QVERIFY(part<QPushButton>(window, "btnLogTab")->isChecked());
    // A click on a checked tab button keeps it checked.
    QTest::mouseClick(part<QPushButton>(window, "btnLogTab"), Qt::LeftButton);
    QVERIFY(part<QPushButton>(window, "btnLogTab")->isChecked());
}

void TestMainWindow::fieldbusTileFollowsTheView()
{
    auto *tiles = part<TileTab>(window, "pageOverview");
    auto *config = part<ConfigTab>(window, "pageScrollConfig");
    ConfigurationTile *fieldbus = tiles->getTile(MainWindow::TileFieldbus);
    emit config->showFBTile();
    QVERIFY(fieldbus->isVisible());
    emit config->hideFBTile();
    QVERIFY(fieldbus->isHidden());
}

void TestMainWindow::firstHeartbeatAsks()
{
    HearBeatMessage_t hb = heartbeat(2);
    BoxAnswerer answerer(window, {0, 0, 0});
    window->connectionsuccesfull(hb, kUnit);
    QCOMPARE(answerer.boxes.size(), 1);
    QCOMPARE(answerer.boxes.first().title, QStringLiteral("Read Config"));
    QCOMPARE(answerer.boxes.first().message,
             QStringLiteral("Do you want to Read the Config from the selected Device"));
    QCOMPARE(answerer.boxes.first().captions, QStringList({"No", "Yes"}));
    QVERIFY(!window->asksReadConfig());

    window->connectionsuccesfull(hb, kUnit);
    window->connectionsuccesfull(hb, kUnit);
    QCOMPARE(answerer.boxes.size(), 1);

    window->lostconnection();
    QVERIFY(window->asksReadConfig());
    window->connectionsuccesfull(hb, kUnit);
    QCOMPARE(answerer.boxes.size(), 2);
    // "No" read nothing: no failure was reported.
    QCOMPARE(bar()->entryCount(), 0);
}

void TestMainWindow::heartbeatControls_data()
{
    QTest::addColumn<int>("state");      // byte 4
    QTest::addColumn<int>("dataControl"); // byte 5
    QTest::addColumn<int>("runControl");  // byte 6
    QTest::addColumn<bool>("dataTab");
    QTest::addColumn<bool>("dataGroup");
    QTest::addColumn<bool>("manualRun");
    QTest::addColumn<bool>("refRunEnabled");
    QTest::addColumn<bool>("refRunChecked");

    QTest::newRow("ready") << 0x02 << 0x10 << 0x10 << true << true << true << true << false;
    QTest::newRow("data busy") << 0x02 << 0x11 << 0x10 << true << false << true << true << false;
    QTest::newRow("no data mode") << 0x02 << 0x00 << 0x10 << true << false << true << true << false;
    QTest::newRow("other data mode") << 0x02 << 0x20 << 0x10 << true << true << true << true << false;
    QTest::newRow("run locked") << 0x12 << 0x10 << 0x10 << true << true << false << false << false;
    QTest::newRow("manual run not allowed") << 0x02 << 0x10 << 0x00 << true << true << false << true << false;
    QTest::newRow("reference run on") << 0x02 << 0x10 << 0x11 << true << true << true << true << true;
    QTest::newRow("reference run value 2") << 0x02 << 0x10 << 0x12 << true << true << true << true << false;
    QTest::newRow("device error") << 0x01 << 0x10 << 0x10 << false << true << true << true << false;
}

void TestMainWindow::heartbeatControls()
{
    QFETCH(int, state);
    QFETCH(int, dataControl);
    QFETCH(int, runControl);
    QFETCH(bool, dataTab);
    QFETCH(bool, dataGroup);
    QFETCH(bool, manualRun);
    QFETCH(bool, refRunEnabled);
    QFETCH(bool, refRunChecked);

    HearBeatMessage_t hb;
    hb.stateByte = uint8_t(state);
    hb.dataControl = uint8_t(dataControl);
    hb.runControl = uint8_t(runControl);
    BoxAnswerer answerer(window, {0});
    auto *refRun = part<QCheckBox>(window, "chkRefRun");
    QSignalSpy refRunChanged(refRun, &QCheckBox::stateChanged);
    window->connectionsuccesfull(hb, kUnit);

    QCOMPARE(setEnabled(part<QPushButton>(window, "btnDataTab")), dataTab);
    QCOMPARE(setEnabled(part<QWidget>(window, "pageScrollData")), dataTab);
    QCOMPARE(setEnabled(part<QWidget>(window, "grpbData")), dataGroup);
    QCOMPARE(setEnabled(part<QPushButton>(window, "btnmanRunstart")), manualRun);
    QCOMPARE(setEnabled(refRun), refRunEnabled);
    QCOMPARE(setEnabled(part<QWidget>(window, "CommDisplay")), refRunEnabled);
    QCOMPARE(refRun->isChecked(), refRunChecked);
    QCOMPARE(refRunChanged.count(), 0); // nothing is sent back to the unit
    QVERIFY(setEnabled(part<QToolButton>(window, "btnRestartPPU")));

    window->lostconnection();
    QVERIFY(!part<QPushButton>(window, "btnDataTab")->isEnabled());
    QVERIFY(!part<QWidget>(window, "pageScrollData")->isEnabled());
    QVERIFY(!part<QToolButton>(window, "btnRestartPPU")->isEnabled());
    QVERIFY(part<TileTab>(window, "pageOverview")->getTile(MainWindow::TileReferenceSetup)->isHidden());
}

void TestMainWindow::restartDecision_data()
{
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<int>("starts");

    QTest::newRow("closed") << 0 << 0;
    QTest::newRow("scale applied") << 1337 << 1;
    QTest::newRow("other code") << 1 << 0;
    QTest::newRow("restart code's low byte") << 1337 % 256 << 0;
}

void TestMainWindow::restartDecision()
{
    QFETCH(int, exitCode);
    QFETCH(int, starts);
    QStringList started;
    const QStringList arguments{QStringLiteral("-platform"), QStringLiteral("offscreen")};
    for (bool startWorks : {true, false}) {
        started.clear();
        const int result = ProgramRun::finish(exitCode, QStringLiteral("/opt/KorvantisSetup"), arguments,
                                              [&](const QString &program, const QStringList &args) {
                                                  started << program + QLatin1Char(' ') + args.join(' ');
                                                  return startWorks;
                                              });
        QCOMPARE(result, exitCode);
        QCOMPARE(started.size(), starts);
        if (starts)
            QCOMPARE(started.first(), QStringLiteral("/opt/KorvantisSetup -platform offscreen"));
    }
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
