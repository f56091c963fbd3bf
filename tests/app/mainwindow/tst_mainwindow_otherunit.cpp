// The main window with more than one unit on the network, driven as an
// engineer switches between them: what the tool holds from one unit does not
// reach another without the engineer's choice. Channel names that could not
// be read from a unit are not written to it (a name typed there is); a
// reference-run result goes only to the unit the run was made on, not to one
// that replaced it at its address.
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QToolButton>
#include <QtTest>

#include "confighandler.h"
#include "databasecont.h"
#include "device.h"
#include "devicenamerecord.h"
#include "ethernethandler.h"
#include "mainwindow.h"
#include "mainwindowfixture.h"
#include "metatypes.h"
#include "notificationbar.h"
#include "refrundialog.h"
#include "requestgate.h"
#include "requestlog.h"
#include "testnet.h"
#include "unitsim.h"

namespace {

// tests/app/mainwindow takes 127.0.3.20 to 127.0.3.29; this program .21 and .22.
const QHostAddress kUnitA(QStringLiteral("127.0.3.21"));
const QHostAddress kUnitB(QStringLiteral("127.0.3.22"));

const QStringList kNamesA{"A-one", "A-two", "A-three", "A-four", "A-five", "A-six", "A-seven"};
const QStringList kNamesB{"B-one", "B-two", "B-three", "B-four", "B-five", "B-six", "B-seven"};

Confighandler *config()
{
    return Device::instance()->confighandler();
}

EthernetHandler *eth()
{
    return Device::instance()->ethernetHandler();
}

// The unit's own device name is "Unit " and the first letter of its channel
// names.
void giveNames(UnitSim &unit, const QStringList &names)
{
    DeviceNameRecord device;
    device.setText(QStringLiteral("Unit ") + names.first().left(1));
    unit.parameters().setValue(EthernetHandler::ParamDeviceName, device.toBytes());
    for (int ch = 0; ch < 7; ++ch) {
        DeviceNameRecord record;
        record.setText(names.at(ch));
        unit.parameters().setValue(EthernetHandler::ParamChannelName, record.toBytes(), ch);
    }
}

QString storedDeviceName(UnitSim &unit)
{
    DeviceNameRecord record;
    if (!DeviceNameRecord::fromBytes(unit.parameters().value(EthernetHandler::ParamDeviceName), &record))
        return QStringLiteral("(no record)");
    return record.text();
}

// The channel names the unit keeps, channel 1 first.
QStringList storedNames(UnitSim &unit)
{
    QStringList names;
    for (int ch = 0; ch < 7; ++ch) {
        DeviceNameRecord record;
        if (!DeviceNameRecord::fromBytes(unit.parameters().value(EthernetHandler::ParamChannelName, ch), &record))
            names << QStringLiteral("(no record)");
        else
            names << record.text();
    }
    return names;
}

int writesTo(const UnitSim &unit, int param)
{
    int n = 0;
    for (const UnitSimRequest &r : withoutResends(unit.requestLog()))
        n += r.command == EthernetHandler::CmdWriteParam && r.paramId == param;
    return n;
}

bool blobRead(const UnitSim &unit)
{
    const QVector<UnitSimRequest> &log = unit.requestLog();
    return std::any_of(log.begin(), log.end(), [](const UnitSimRequest &r) {
        return r.command == EthernetHandler::CmdReadParam && r.paramId == EthernetHandler::ParamConfigBlob;
    });
}

// Scale writes from a reference run (any channel) and saves the unit received.
int refRunWrites(const UnitSim &unit)
{
    int n = 0;
    for (const UnitSimRequest &r : withoutResends(unit.requestLog()))
        n += r.command == EthernetHandler::CmdWriteParam && r.paramId >= 0x48 && r.paramId <= 0x4E;
    return n;
}

int saves(const UnitSim &unit)
{
    return distinctRequests(unit.requestLog(), EthernetHandler::CmdServiceAction);
}

} // namespace

class TestMainWindowOtherUnit : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void namesNotReadFromTheUnitAreNotWrittenToIt();
    void referenceRunResultOnlyToItsOwnUnit_data();
    void referenceRunResultOnlyToItsOwnUnit();

private:
    // Connects to the unit at `address` as the connect dialog does (the old
    // link ended first) and answers "Read Config" with `answer`; returns once
    // the question and what it started have ended.
    void connectTo(const QHostAddress &address, int answer);
    // Clicks "Write Config to Device" and waits for the write and the save.
    void writeConfig();
    NotificationBar *bar() { return part<NotificationBar>(window, "notifyBar"); }

    std::unique_ptr<UnitSim> unitA;
    std::unique_ptr<UnitSim> unitB;
    MainWindow *window = nullptr;
    std::unique_ptr<BoxAnswerer> answerer;
};

void TestMainWindowOtherUnit::initTestCase()
{
    registerMetaTypes();
    startWindowLink();
    config()->setSaveFeedbackTimeout(5000);
    Databasecont::instance().setDbDirectory(testnet::binDir() + QStringLiteral("/Korvantisdbs/"));
}

void TestMainWindowOtherUnit::init()
{
    KORVANTIS_REQUIRE_TESTNET();
    QString error;
    unitA = std::make_unique<UnitSim>();
    QVERIFY2(unitA->startQuiet(kUnitA, &error), qPrintable(error));
    giveNames(*unitA, kNamesA);
    window = new MainWindow;
    window->resize(1200, 900);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
}

void TestMainWindowOtherUnit::cleanup()
{
    answerer.reset();
    eth()->disconnectFromDevice();
    QTRY_VERIFY(!config()->waitingForFeedback());
    delete window;
    window = nullptr;
    unitA.reset();
    unitB.reset();
}

void TestMainWindowOtherUnit::connectTo(const QHostAddress &address, int answer)
{
    eth()->disconnectFromDevice();
    QTRY_VERIFY(window->asksReadConfig());
    answerer = std::make_unique<BoxAnswerer>(window, QList<int>{answer});
    config()->setIpAddress(address);
    eth()->setTargetIP(address);
    QTRY_VERIFY_WITH_TIMEOUT(!answerer->boxes.isEmpty(), 20000);
    QCOMPARE(answerer->boxes.first().title, QStringLiteral("Read Config"));
    QTRY_VERIFY(!window->asksReadConfig());
    QTRY_VERIFY_WITH_TIMEOUT(!RequestGate::instance().isHeld() && !eth()->isWaiting(), 20000);
}

void TestMainWindowOtherUnit::writeConfig()
{
    auto *write = part<QPushButton>(window, "btnWriteConfig");
    QTRY_VERIFY(write->isEnabled());
    QTest::mouseClick(write, Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(!config()->waitingForFeedback() && write->isEnabled(), 20000);
}

void TestMainWindowOtherUnit::namesNotReadFromTheUnitAreNotWrittenToIt()
{
    QString error;
    unitB = std::make_unique<UnitSim>();
    QVERIFY2(unitB->startQuiet(kUnitB, &error), qPrintable(error));
    giveNames(*unitB, kNamesB);

    connectTo(kUnitA, 1);
    QTRY_VERIFY(blobRead(*unitA));
    QCOMPARE(config()->channelName(0), kNamesA.at(0));
    QCOMPARE(config()->deviceName(), QStringLiteral("Unit A"));

    // B refuses its name reads while its configuration is read: the model
    // keeps A's names (each failure told), and holds B's configuration.
    unitB->setErrorStatus(EthernetHandler::CmdReadParam, EthernetHandler::ParamChannelName, -5);
    unitB->setErrorStatus(EthernetHandler::CmdReadParam, EthernetHandler::ParamDeviceName, -5);
    takeBarTexts(bar());
    connectTo(kUnitB, 1);
    QTRY_VERIFY(blobRead(*unitB));
    int failures = 0;
    int deviceFailures = 0;
    for (const QString &text : takeBarTexts(bar())) {
        failures += text.startsWith(QStringLiteral("Read Channel name failed."));
        deviceFailures += text.startsWith(QStringLiteral("Read device name failed."));
    }
    QCOMPARE(failures, 7);
    QCOMPARE(deviceFailures, 1);
    for (int ch = 0; ch < 7; ++ch)
        QCOMPARE(config()->channelName(ch), kNamesA.at(ch));
    QCOMPARE(config()->deviceName(), QStringLiteral("Unit A"));

    // B answers again; the write leaves its names as they are, and says so.
    unitB->clearErrorStatus();
    unitB->clearRequestLog();
    window->setcurrentIndexes(MainWindow::PageConfig);
    QVERIFY(selectConfigPage(window, "gpbChannelName"));
    writeConfig();
    QVERIFY(writesTo(*unitB, EthernetHandler::ParamConfigBlob) > 0);  // the rest went out
    QCOMPARE(writesTo(*unitB, EthernetHandler::ParamChannelName), 0);
    QCOMPARE(writesTo(*unitB, EthernetHandler::ParamDeviceName), 0);
    QCOMPARE(storedNames(*unitB), kNamesB);
    QCOMPARE(storedDeviceName(*unitB), QStringLiteral("Unit B"));
    QVERIFY(answerer->boxes.size() == 1);  // no question: the configuration is B's own
    const QString deviceNote = QStringLiteral(
        "The device name was not written: it could not be read from this unit, so the name shown is not the "
        "unit's own, and the unit keeps its name. A name typed for the device is written. ");
    const QStringList texts = takeBarTexts(bar());
    QVERIFY2(texts.contains(deviceNote + QStringLiteral(
                 "The names of channels 1, 2, 3, 4, 5, 6, 7 were not written: they could not be read from this "
                 "unit, so the names shown are not the unit's own, and the unit keeps its names. A name typed for "
                 "a channel is written.")),
             qPrintable(texts.join(QLatin1Char('\n'))));

    // A name typed for channel 2 is the engineer's for this unit: written.
    QTest::mouseClick(part<QToolButton>(window, "btnChn2"), Qt::LeftButton);
    auto *name = part<QLineEdit>(window, "leditChannelName");
    name->setFocus(Qt::MouseFocusReason);
    QTRY_VERIFY(name->hasFocus());
    QTest::keyClick(name, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(name, QStringLiteral("Typed two"));
    QTest::keyClick(name, Qt::Key_Return);
    QCOMPARE(config()->channelName(1), QStringLiteral("Typed two"));
    unitB->clearRequestLog();
    writeConfig();
    QCOMPARE(writesTo(*unitB, EthernetHandler::ParamChannelName), 1);
    QStringList expected = kNamesB;
    expected[1] = QStringLiteral("Typed two");
    QCOMPARE(storedNames(*unitB), expected);
    QCOMPARE(storedDeviceName(*unitB), QStringLiteral("Unit B"));
    QVERIFY(takeBarTexts(bar()).contains(deviceNote + QStringLiteral(
        "The names of channels 1, 3, 4, 5, 6, 7 were not written: they could not be read from this unit, so the "
        "names shown are not the unit's own, and the unit keeps its names. A name typed for a channel is "
        "written.")));
    // A stays as it was.
    QCOMPARE(storedNames(*unitA), kNamesA);
    QCOMPARE(storedDeviceName(*unitA), QStringLiteral("Unit A"));
}

void TestMainWindowOtherUnit::referenceRunResultOnlyToItsOwnUnit_data()
{
    QTest::addColumn<QString>("answering");
    QTest::newRow("the run's own unit") << "own";
    QTest::newRow("another unit took its address") << "replaced";
    QTest::newRow("another unit took its address after a lost link") << "replaced after a lost link";
}

void TestMainWindowOtherUnit::referenceRunResultOnlyToItsOwnUnit()
{
    QFETCH(QString, answering);
    connectTo(kUnitA, 0);
    // Channel 1 in scale mode: previous 9.6 mA, new 9.7 mA.
    ReferenceRunResult_t &r = unitA->refRunResult();
    r.flags = 0x80 | 0x01;
    r.previousReference[0] = 9600;
    r.newReference[0] = 9700;
    r.previousSkw[0] = 100;
    r.newSkw[0] = 101;
    r.previousFactor[0] = 25;
    r.newFactor[0] = 25;
    const auto replacedMac = std::array<uint8_t, 6>{{0x02, 0x4B, 0x56, 0x0D, 0x0D, 0x0D}};
    const QString macA = QString::fromLatin1(
        QByteArray(reinterpret_cast<const char *>(unitA->macAddress().data()), 6).toHex(':').toUpper());

    // The unit at A's address when the dialog is left: A, or D in its place.
    UnitSim *present = unitA.get();
    bool done = false;
    QString failure;
    QTimer poll;
    connect(&poll, &QTimer::timeout, window, [&] {
        RefRunDialog *dialog = window->findChild<RefRunDialog *>();
        if (!dialog || !dialog->isVisible() || window->dialogs().empty() || window->dialogs().back() != dialog)
            return;
        poll.stop();
        done = true;
        // A step that does not come ends the dialog: the test must not wait
        // in it for ever.
        const auto giveUp = [&](const QString &why) {
            failure = why;
            emit dialog->DialogFinished();
        };
        if (answering != QLatin1String("own")) {
            unitA.reset();
            if (answering == QLatin1String("replaced after a lost link")) {
                // "Read Config" over the dialog, answered No.
                answerer = std::make_unique<BoxAnswerer>(window, QList<int>{0});
                if (!QTest::qWaitFor([&] { return window->asksReadConfig(); }, 20000))
                    return giveUp(QStringLiteral("the link was not lost"));
            }
            unitB = std::make_unique<UnitSim>();
            unitB->setMacAddress(replacedMac);
            QString error;
            if (!unitB->startQuiet(kUnitA, &error))
                return giveUp(error);
            present = unitB.get();
            if (!QTest::qWaitFor([&] { return present->countRequests(EthernetHandler::CmdHeartbeat) >= 3; }, 20000))
                return giveUp(QStringLiteral("the new unit got no heartbeats"));
            if (answering == QLatin1String("replaced after a lost link")
                && !QTest::qWaitFor([&] { return answerer->boxes.size() == 1; }, 20000))
                return giveUp(QStringLiteral("no \"Read Config\" question for the new unit"));
        }
        dialog->findChild<QDoubleSpinBox *>("spndRefVal")->setValue(9.7);
        QTest::mouseClick(dialog->findChild<QPushButton *>("btnApply"), Qt::LeftButton);
        QTest::mouseClick(dialog->findChild<QPushButton *>("btnExit"), Qt::LeftButton);
    });
    poll.start(20);
    takeBarTexts(bar());
    unitA->clearRequestLog();
    unitA->heartbeat().runControl |= 0x20;
    QTRY_VERIFY_WITH_TIMEOUT(done, 30000);
    QTRY_VERIFY(window->findChild<RefRunDialog *>() == nullptr);
    QVERIFY2(failure.isEmpty(), qPrintable(failure));

    if (answering == QLatin1String("own")) {
        // 9700 to the scale of channel 1, from a reference run, then the save.
        bool written = false;
        for (const UnitSimRequest &q : present->requestLog())
            written |= q.command == EthernetHandler::CmdWriteParam && q.paramId == 0x48
                       && q.value == QByteArray::fromHex("e425");
        QVERIFY(written);
        QTRY_VERIFY_WITH_TIMEOUT(saves(*present) > 0, 20000);
        return;
    }
    // Nothing of A's run reached D, and D was not asked to save.
    const int beats = present->countRequests(EthernetHandler::CmdHeartbeat);
    QTRY_VERIFY_WITH_TIMEOUT(present->countRequests(EthernetHandler::CmdHeartbeat) >= beats + 3, 20000);
    QCOMPARE(refRunWrites(*present), 0);
    QCOMPARE(saves(*present), 0);
    const QStringList texts = takeBarTexts(bar());
    const QString said = QStringLiteral("Nothing was written: the unit that answers now (MAC address "
                                        "02:4B:56:0D:0D:0D) is not the one the reference run was made on (MAC "
                                        "address %1).")
                             .arg(macA);
    QVERIFY2(texts.contains(said), qPrintable(texts.join(QLatin1Char('\n'))));
}

QTEST_MAIN(TestMainWindowOtherUnit)
#include "tst_mainwindow_otherunit.moc"
