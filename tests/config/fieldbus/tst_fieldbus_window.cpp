// The fieldbus page inside the main window against a simulated unit with a
// PROFINET module that keeps its own settings, driven as a service engineer
// drives it: Apply right after connecting, mistyped addresses typed into
// every address field, and the restart question against a unit that takes
// its time to save.
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include "requestlog.h"
#include "confighandler.h"
#include "custommessagebox.h"
#include "databasecont.h"
#include "device.h"
#include "ethernethandler.h"
#include "fieldbusactionbar.h"
#include "fieldbusfixture.h"
#include "mainwindow.h"
#include "mainwindowfixture.h"
#include "metatypes.h"
#include "notificationbar.h"
#include "testnet.h"
#include "unitsim.h"
#include "unitsimconfig.h"

namespace {

// tests/config/fieldbus takes 127.0.6.10 to 127.0.6.19.
const QHostAddress kUnit(QStringLiteral("127.0.6.14"));

Confighandler *config()
{
    return Device::instance()->confighandler();
}

// The module's settings as the unit keeps them.
QByteArray storedRecord()
{
    QByteArray record = fullRecord(0x84);
    const char ips[] = {char(192), char(168), 1, 60, char(255), char(255), char(255), 0,
                        char(192), char(168), 1, 1, char(192), char(168), 1, 2, 8, 8, 4, 4};
    record.replace(0, 20, QByteArray(ips, 20));
    putText(record, 0x014, 64, "kv-fieldbus");
    putText(record, 0x054, 48, "plant.example");
    putText(record, 0x146, 240, "kv-station");
    return record;
}

} // namespace

class TestFieldbusWindow : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanupTestCase();

    void applyBeforeReadWritesNothing();
    void mistypedAddressIsRefused_data();
    void mistypedAddressIsRefused();
    void restartQuestionClosesWhenAnswered_data();
    void restartQuestionClosesWhenAnswered();

private:
    NotificationBar *bar() { return part<NotificationBar>(window, "notifyBar"); }
    QPushButton *applyButton() { return part<QPushButton>(window, "btnResetAnybusMod"); }
    QPushButton *readButton() { return part<QPushButton>(window, "btnReadFieldCfg"); }
    QStringList takeBarTexts();
    int recordWrites() const { return recordWritesOf(*unit); }
    // Clicks Apply and answers the restart question with `answer`.
    void apply(int answer);

    std::unique_ptr<UnitSim> unit;
    MainWindow *window = nullptr;
};

void TestFieldbusWindow::initTestCase()
{
    KORVANTIS_REQUIRE_TESTNET();
    registerMetaTypes();
    startWindowLink();
    config()->setSaveFeedbackTimeout(8000);
    Databasecont::instance().setDbDirectory(testnet::binDir() + QStringLiteral("/Korvantisdbs/"));
    // Short progress ticks; the feedback wait as the program has it.
    FieldbusActionbar::setTimings(20, 10000);

    unit = std::make_unique<UnitSim>();
    unit->setFieldbusModule(0x84);
    QString error;
    QVERIFY2(unit->startQuiet(kUnit, &error), qPrintable(error));
    unit->parameters().setValue(0x3000, storedRecord());

    window = new MainWindow;
    window->resize(1024, 768);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));

    // Connect, and read the configuration as the first heartbeat offers.
    BoxAnswerer answerer(window, {1});
    config()->setIpAddress(kUnit);
    Device::instance()->ethernetHandler()->setTargetIP(kUnit);
    QTRY_COMPARE_WITH_TIMEOUT(answerer.boxes.size(), 1, 20000);
    QTRY_VERIFY(!window->asksReadConfig());
    QTRY_VERIFY(!Device::instance()->ethernetHandler()->isWaiting());

    // The fieldbus page, as its row in the tree opens it.
    window->setcurrentIndexes(MainWindow::PageConfig);
    QTRY_VERIFY(!part<QWidget>(window, "wdgFBConfig")->isHidden());
    QVERIFY(selectConfigPage(window, "wdgFBConfig"));
    QTRY_VERIFY(applyButton()->isVisible());
}

void TestFieldbusWindow::init()
{
    QTRY_VERIFY_WITH_TIMEOUT(!config()->waitingForFeedback(), 20000);
    QVERIFY(!FieldbusActionbar::isApplying());
    UnitSimConfig::of(unit.get())->setSaveDurationMs(0);
    unit->parameters().setValue(0x3000, storedRecord());
    takeBarTexts();
    unit->clearRequestLog();
}

void TestFieldbusWindow::cleanupTestCase()
{
    if (window) {
        Device::instance()->ethernetHandler()->disconnectFromDevice();
        QTRY_VERIFY(!config()->waitingForFeedback());
    }
    delete window;
    window = nullptr;
    unit.reset();
}

QStringList TestFieldbusWindow::takeBarTexts()
{
    return ::takeBarTexts(bar());
}

void TestFieldbusWindow::apply(int answer)
{
    BoxAnswerer answerer(window, {answer});
    QTest::mouseClick(applyButton(), Qt::LeftButton);
    QVERIFY2(answerer.boxes.size() == 1, qPrintable(takeBarTexts().join('\n')));
    QCOMPARE(answerer.boxes.first().message,
             QStringLiteral("Do you want to reset the fieldbus module to apply the settings?"));
}

void TestFieldbusWindow::applyBeforeReadWritesNothing()
{
    // Connected and the configuration read, but not the module's record:
    // the page shows the tool's empty one.
    QCOMPARE(part<QLineEdit>(window, "leditIPAddress")->text(), QStringLiteral("0.0.0.0"));
    {
        BoxAnswerer answerer(window, {0});
        QTest::mouseClick(applyButton(), Qt::LeftButton);
        QVERIFY(answerer.boxes.isEmpty());
    }
    QCOMPARE(takeBarTexts(),
             QStringList{"Nothing was written: this unit's fieldbus configuration has not been read yet. "
                         "Click \"Read Fieldbus Configuration\" first (or load a configuration file)."});
    QCOMPARE(recordWrites(), 0);
    QCOMPARE(unit->countRequests(EthernetHandler::CmdServiceAction), 0);
    QCOMPARE(unit->parameters().value(0x3000).toHex(' '), storedRecord().toHex(' '));

    // Once read, the page shows the unit's settings and Apply writes them.
    QTest::mouseClick(readButton(), Qt::LeftButton);
    QCOMPARE(part<QLineEdit>(window, "leditIPAddress")->text(), QStringLiteral("192.168.1.60"));
    QCOMPARE(part<QLineEdit>(window, "leditHostname")->text(), QStringLiteral("kv-fieldbus"));
    apply(0);
    QCOMPARE(recordWrites(), 1);
    QCOMPARE(unit->parameters().value(0x3000).toHex(' '), storedRecord().toHex(' '));
}

void TestFieldbusWindow::mistypedAddressIsRefused_data()
{
    QTest::addColumn<QString>("edit");
    QTest::addColumn<QString>("title");
    QTest::addColumn<int>("offset");
    QTest::addColumn<QString>("kept");
    QTest::newRow("IP Address") << "leditIPAddress" << "IP Address" << 0x000 << "192.168.1.60";
    QTest::newRow("Subnet mask") << "leditSubnetMask" << "Subnet mask" << 0x004 << "255.255.255.0";
    QTest::newRow("Default Gateway") << "leditDefGateway" << "Default Gateway" << 0x008 << "192.168.1.1";
    QTest::newRow("Primary DNS") << "leditPrimDNS" << "Primary DNS" << 0x00C << "192.168.1.2";
    QTest::newRow("Secondary DNS") << "leditSecDNS" << "Secondary DNS" << 0x010 << "8.8.4.4";
}

void TestFieldbusWindow::mistypedAddressIsRefused()
{
    QFETCH(QString, edit);
    QFETCH(QString, title);
    QFETCH(int, offset);
    QFETCH(QString, kept);
    QTest::mouseClick(readButton(), Qt::LeftButton);
    auto *line = part<QLineEdit>(window, qPrintable(edit));
    QCOMPARE(line->text(), kept);

    // Typed over the whole field, then left with Tab.
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));
    line->setFocus(Qt::MouseFocusReason);
    QTRY_VERIFY(line->hasFocus());
    QTest::keyClick(line, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(line, QStringLiteral("999.001.001.001"));
    QCOMPARE(line->text(), QStringLiteral("999.001.001.001"));
    QTest::keyClick(line, Qt::Key_Tab);
    QTRY_VERIFY(!line->hasFocus());

    QCOMPARE(takeBarTexts(),
             QStringList{title + QStringLiteral(": \"999.001.001.001\" is not an IPv4 address; each of its four parts "
                                                "must be a number from 0 to 255. The field keeps %1.")
                                     .arg(kept)});
    QCOMPARE(line->text(), kept);
    QCOMPARE(config()->getAnybusCFG().toBytes().mid(offset, 4), storedRecord().mid(offset, 4));

    // Nothing of the mistyped text reaches the unit.
    apply(0);
    QCOMPARE(recordWrites(), 1);
    QCOMPARE(unit->parameters().value(0x3000).toHex(' '), storedRecord().toHex(' '));
}

void TestFieldbusWindow::restartQuestionClosesWhenAnswered_data()
{
    QTest::addColumn<int>("answer");
    QTest::newRow("Yes") << 1;
    QTest::newRow("No") << 0;
}

void TestFieldbusWindow::restartQuestionClosesWhenAnswered()
{
    QFETCH(int, answer);
    QTest::mouseClick(readButton(), Qt::LeftButton);
    // A unit that takes two seconds to save after the confirmation.
    UnitSimConfig::of(unit.get())->setSaveDurationMs(2000);
    unit->clearRequestLog();
    const int resets = unit->fieldbusResets();

    // What the screen shows right after the click, and meanwhile.
    bool asked = false;
    bool visibleAfterAnswer = true;
    bool secondAnswerTaken = true;
    bool savingAfterAnswer = false;
    bool windowHeld = false;
    bool busyCursor = false;
    int boxesShownDuringWait = 0;
    QTimer poll;
    poll.setInterval(10);
    connect(&poll, &QTimer::timeout, this, [&] {
        for (CustomMessageBox *box : window->findChildren<CustomMessageBox *>()) {
            if (!box->isVisible())
                continue;
            if (asked) {
                ++boxesShownDuringWait;
                continue;
            }
            asked = true;
            const QList<QPushButton *> buttons = box->questionButtons();
            QTest::mouseClick(buttons.at(answer), Qt::LeftButton);
            visibleAfterAnswer = box->isVisible();
            savingAfterAnswer = config()->waitingForFeedback();
            // A second click on the other answer, as a user correcting the
            // first would try.
            QPushButton *other = buttons.at(1 - answer);
            secondAnswerTaken = other->isVisible() && other->isEnabled();
            other->click();
            return;
        }
        if (asked && config()->waitingForFeedback()) {
            windowHeld = !part<QWidget>(window, "pageMain")->isEnabled();
            // Either the window's lock page (the apply holds the request
            // gate through the save) or, with the box as the last page, the
            // override cursor while the window waits for the save.
            const QWidget *lock = window->findChild<QWidget *>(QStringLiteral("wdgRequestLock"));
            busyCursor = (QApplication::overrideCursor() && QApplication::overrideCursor()->shape() == Qt::WaitCursor)
                || (lock && lock->isVisible() && lock->cursor().shape() == Qt::BusyCursor);
        }
    });
    poll.start();
    QTest::mouseClick(applyButton(), Qt::LeftButton);
    poll.stop();

    QVERIFY(asked);
    QVERIFY(savingAfterAnswer);  // the answer came while the unit still saved
    QVERIFY(!visibleAfterAnswer);
    QVERIFY(!secondAnswerTaken);
    QCOMPARE(boxesShownDuringWait, 0);
    // The wait shows as one: the window held, the busy cursor.
    QVERIFY(windowHeld);
    QVERIFY(busyCursor);
    QVERIFY(!QApplication::overrideCursor());
    // The reset follows Yes only, and only after the save has ended.
    QCOMPARE(unit->fieldbusResets() - resets, answer == 1 ? 1 : 0);
    QList<int> actions;
    for (const UnitSimRequest &r : withoutResends(unit->requestLog()))
        if (r.command == EthernetHandler::CmdServiceAction && !r.payload.isEmpty())
            actions << uint8_t(r.payload.at(0));
    QCOMPARE(actions, answer == 1 ? (QList<int>{0x12, 0x11, 0x30}) : (QList<int>{0x12, 0x11}));
    QVERIFY(part<QWidget>(window, "pageMain")->isEnabled());
}

QTEST_MAIN(TestFieldbusWindow)
#include "tst_fieldbus_window.moc"
