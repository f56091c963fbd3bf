// The status bar: what each heartbeat shows, the notifications of new device
// errors, channel names and the fieldbus block.
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QToolButton>
#include <QtTest>

#include "statusbar.h"

namespace {

// A widget of the bar's form by its object name.
template <typename T>
T *part(QWidget &bar, const char *name)
{
    T *widget = bar.findChild<T *>(QString::fromLatin1(name));
    if (!widget)
        qFatal("no widget %s", name);
    return widget;
}

const QHostAddress kUnit(QStringLiteral("198.18.0.2"));

HearBeatMessage_t heartbeat(uint8_t state, uint8_t enabled = 0x7F, uint8_t open = 0,
                            uint8_t shorted = 0)
{
    HearBeatMessage_t hb;
    hb.setDeviceState(state);
    hb.channelEnabled = enabled;
    hb.openCircuit = open;
    hb.shortCircuit = shorted;
    for (int ch = 0; ch < 7; ++ch)
        hb.currentSkw[size_t(ch)] = int16_t(30 + ch);
    hb.fieldbus.networkType = 0xFFFF;
    return hb;
}

FieldbusStatusRecord fieldbus(uint16_t network, uint16_t module, uint32_t moduleState,
                              uint32_t commState, uint8_t flags = 1)
{
    FieldbusStatusRecord r;
    r.networkType = network;
    r.moduleType = module;
    r.moduleState = moduleState;
    r.commState = commState;
    r.flags = flags;
    return r;
}

} // namespace

Q_DECLARE_METATYPE(StatusBar::Led)
Q_DECLARE_METATYPE(FieldbusStatusRecord)

class TestStatusBar : public QObject
{
    Q_OBJECT
private slots:
    void notConnectedAtStart();
    void deviceState_data();
    void deviceState();
    void channels_data();
    void channels();
    void skwTooltip_data();
    void skwTooltip();
    void newErrorNotifiedOnce();
    void criticalError();
    void unknownErrorBits();
    void lostConnection();
    void channelName_data();
    void channelName();
    void fieldbusBlock_data();
    void fieldbusBlock();
    void barresizedOnlyOnChange();
};

void TestStatusBar::notConnectedAtStart()
{
    StatusBar bar;
    QCOMPARE(part<QLabel>(bar, "lblstatustxt")->text(), QStringLiteral("Not connected"));
    QCOMPARE(part<QLabel>(bar, "lblStatusError")->text(), QStringLiteral("No Errors"));
    QVERIFY(part<QPushButton>(bar, "btnErrorReset")->isHidden());
    QVERIFY(!part<QPushButton>(bar, "btnErrorReset")->isEnabled());
    QVERIFY(part<QWidget>(bar, "wdgFieldbus")->isHidden());
    for (int ch = 0; ch < 7; ++ch) {
        QCOMPARE(bar.channelStateLabel(ch)->text(), QStringLiteral("---"));
        QCOMPARE(bar.ledOf(bar.channelLed(ch)), StatusBar::Led::Disabled);
        QCOMPARE(bar.channelNameLabel(ch)->text(), QStringLiteral("Channel %1").arg(ch + 1));
    }
    QCOMPARE(bar.channelStateLabel(7), nullptr);
    QCOMPARE(bar.channelLed(-1), nullptr);
}

void TestStatusBar::deviceState_data()
{
    QTest::addColumn<int>("state");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("resetButton");
    QTest::addColumn<StatusBar::Led>("led");

    QTest::newRow("0") << 0 << "No Error" << false << StatusBar::Led::DeviceOk;
    QTest::newRow("1 error") << 1 << "Error" << true << StatusBar::Led::DeviceError;
    QTest::newRow("2") << 2 << "No Error" << false << StatusBar::Led::DeviceOk;
    QTest::newRow("5 unknown") << 5 << "Error" << false << StatusBar::Led::DeviceOk;
}

void TestStatusBar::deviceState()
{
    QFETCH(int, state);
    QFETCH(QString, text);
    QFETCH(bool, resetButton);
    QFETCH(StatusBar::Led, led);

    StatusBar bar;
    HearBeatMessage_t hb = heartbeat(uint8_t(state));
    hb.stateByte |= 0x30; // the run lock nibble is not the device state
    bar.connectionsuccesfull(hb, kUnit);
    QCOMPARE(part<QLabel>(bar, "lblStatusError")->text(), text);
    QCOMPARE(part<QLabel>(bar, "lblstatustxt")->text(), QStringLiteral("Connected to 198.18.0.2"));
    QCOMPARE(!part<QPushButton>(bar, "btnErrorReset")->isHidden(), resetButton);
    QCOMPARE(part<QPushButton>(bar, "btnErrorReset")->isEnabled(), resetButton);
    QCOMPARE(bar.ledOf(part<QToolButton>(bar, "btnstatusimg")), led);
    QVERIFY(part<QWidget>(bar, "wdgbiasstatuschannels")->isEnabled());
}

void TestStatusBar::channels_data()
{
    QTest::addColumn<uint8_t>("enabled");
    QTest::addColumn<uint8_t>("open");
    QTest::addColumn<uint8_t>("shorted");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("tooltipStart");
    QTest::addColumn<StatusBar::Led>("led");

    QTest::newRow("disabled beats open and short")
        << uint8_t(0) << uint8_t(1) << uint8_t(1) << "disabled" << "The Channel is disabled"
        << StatusBar::Led::Disabled;
    QTest::newRow("open beats short") << uint8_t(1) << uint8_t(1) << uint8_t(1) << "open"
                                      << "Sensor open circuit or high impedance" << StatusBar::Led::Fault;
    QTest::newRow("short") << uint8_t(1) << uint8_t(0) << uint8_t(1) << "short"
                           << "Sensor short circuit or low impedance" << StatusBar::Led::Fault;
    QTest::newRow("connected") << uint8_t(1) << uint8_t(0) << uint8_t(0) << "connected"
                               << "Sensor connected\n" << StatusBar::Led::Connected;
}

void TestStatusBar::channels()
{
    QFETCH(uint8_t, enabled);
    QFETCH(uint8_t, open);
    QFETCH(uint8_t, shorted);
    QFETCH(QString, text);
    QFETCH(QString, tooltipStart);
    QFETCH(StatusBar::Led, led);

    // The case on channel 3 (bit 3); every other channel is connected.
    StatusBar bar;
    HearBeatMessage_t hb = heartbeat(0, uint8_t(0x77 | (enabled << 3)), uint8_t(open << 3),
                                     uint8_t(shorted << 3));
    bar.connectionsuccesfull(hb, kUnit);
    QCOMPARE(bar.channelStateLabel(3)->text(), text);
    QVERIFY2(bar.channelStateLabel(3)->toolTip().startsWith(tooltipStart),
             qPrintable(bar.channelStateLabel(3)->toolTip()));
    QCOMPARE(bar.ledOf(bar.channelLed(3)), led);
    for (int ch : {0, 1, 2, 4, 5, 6}) {
        QCOMPARE(bar.channelStateLabel(ch)->text(), QStringLiteral("connected"));
        QCOMPARE(bar.ledOf(bar.channelLed(ch)), StatusBar::Led::Connected);
    }
}

void TestStatusBar::skwTooltip_data()
{
    QTest::addColumn<int>("state");
    QTest::addColumn<int>("skw");
    QTest::addColumn<QString>("tooltip");

    QTest::newRow("value") << 0 << 37 << "Sensor connected\nCurrent SKW: 37";
    QTest::newRow("zero is a value") << 0 << 0 << "Sensor connected\nCurrent SKW: 0";
    QTest::newRow("negative: none") << 0 << -1 << "Sensor connected\nCurrent SKW:  ---";
    QTest::newRow("device error") << 1 << 37 << "Sensor connected\nCurrent SKW:  ---";
}

void TestStatusBar::skwTooltip()
{
    QFETCH(int, state);
    QFETCH(int, skw);
    QFETCH(QString, tooltip);

    StatusBar bar;
    HearBeatMessage_t hb = heartbeat(uint8_t(state));
    hb.currentSkw[2] = int16_t(skw);
    bar.connectionsuccesfull(hb, kUnit);
    QCOMPARE(bar.channelStateLabel(2)->toolTip(), tooltip);
}

void TestStatusBar::newErrorNotifiedOnce()
{
    StatusBar bar;
    QSignalSpy errors(&bar, &BaseWidget::printNotifyBarErrorwrapper);
    HearBeatMessage_t hb = heartbeat(1);
    hb.errorBits = (1u << 0) | (1u << 16);

    for (int n = 0; n < 5; ++n)
        bar.connectionsuccesfull(hb, kUnit);
    QCOMPARE(errors.count(), 2);
    QCOMPARE(errors.at(0).at(0).toString(), QStringLiteral("I2C Timeout"));
    QCOMPARE(errors.at(1).at(0).toString(), QStringLiteral("No Reference Values"));
    // Both with the error reset and the go-to-log button.
    QCOMPARE(errors.at(0).at(1).toBool(), true);
    QCOMPARE(errors.at(0).at(2).toBool(), true);
    QCOMPARE(part<QWidget>(bar, "wdgStatusdisp")->toolTip(), QStringLiteral("I2C Timeout\nNo Reference Values\n"));

    // Bit 0 clears and comes back: notified again; bit 16 stayed: not.
    hb.errorBits = 1u << 16;
    bar.connectionsuccesfull(hb, kUnit);
    hb.errorBits = (1u << 0) | (1u << 16);
    bar.connectionsuccesfull(hb, kUnit);
    QCOMPARE(errors.count(), 3);
    QCOMPARE(errors.at(2).at(0).toString(), QStringLiteral("I2C Timeout"));

    // After a lost link every active error is notified again.
    bar.lostconnection();
    QCOMPARE(bar.notifiedBits(), 0u);
    bar.connectionsuccesfull(hb, kUnit);
    QCOMPARE(errors.count(), 5);
}

void TestStatusBar::criticalError()
{
    StatusBar bar;
    QSignalSpy errors(&bar, &BaseWidget::printNotifyBarErrorwrapper);
    HearBeatMessage_t hb = heartbeat(1);
    hb.errorCritical = 1;
    hb.errorBits = 1u << 14;
    bar.connectionsuccesfull(hb, kUnit);
    QCOMPARE(part<QWidget>(bar, "wdgStatusdisp")->toolTip(), QStringLiteral("critical Error!\nSPI\n"));
    QCOMPARE(errors.count(), 1);
    QCOMPARE(errors.at(0).at(0).toString(), QStringLiteral("critical Error! SPI"));
}

void TestStatusBar::unknownErrorBits()
{
    StatusBar bar;
    QSignalSpy errors(&bar, &BaseWidget::printNotifyBarErrorwrapper);
    QCOMPARE(bar.errorBitsText(false, 0x80000000u | (1u << 25)),
             QStringLiteral("unknown Error?\nunknown Error?\n"));
    QCOMPARE(errors.count(), 2);
    QCOMPARE(bar.errorBitsText(false, 0), QString());
    QCOMPARE(StatusBar::errorBitName(24), QStringLiteral("Output Overload Channel 7"));
    QCOMPARE(StatusBar::errorBitName(25), QString());
}

void TestStatusBar::lostConnection()
{
    StatusBar bar;
    HearBeatMessage_t hb = heartbeat(1);
    hb.errorBits = 1;
    bar.connectionsuccesfull(hb, kUnit);
    bar.lostconnection();
    QCOMPARE(part<QLabel>(bar, "lblstatustxt")->text(), QStringLiteral("Not connected "));
    QCOMPARE(part<QLabel>(bar, "lblStatusError")->text(), QStringLiteral("Error")); // kept
    QVERIFY(part<QWidget>(bar, "wdgStatusdisp")->toolTip().isEmpty());
    QVERIFY(part<QPushButton>(bar, "btnErrorReset")->isHidden());
    QVERIFY(!part<QWidget>(bar, "wdgbiasstatuschannels")->isEnabled());
    QCOMPARE(bar.ledOf(part<QToolButton>(bar, "btnstatusimg")), StatusBar::Led::NotConnected);
    for (int ch = 0; ch < 7; ++ch) {
        QCOMPARE(bar.channelStateLabel(ch)->text(), QStringLiteral("---"));
        QVERIFY(bar.channelStateLabel(ch)->toolTip().isEmpty());
        QCOMPARE(bar.ledOf(bar.channelLed(ch)), StatusBar::Led::Disabled);
    }
}

void TestStatusBar::channelName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("tooltip");

    QTest::newRow("12 characters") << "Main bearing" << "Main bearing" << "";
    QTest::newRow("13 characters") << "Main bearings" << "Main bearing ..." << "Main bearings";
    QTest::newRow("empty") << "" << "" << "";
}

void TestStatusBar::channelName()
{
    QFETCH(QString, name);
    QFETCH(QString, shown);
    QFETCH(QString, tooltip);

    StatusBar bar;
    bar.updateChannelname(name, 6);
    QCOMPARE(bar.channelNameLabel(6)->text(), shown);
    QCOMPARE(bar.channelNameLabel(6)->toolTip(), tooltip);
    // A name survives a lost link; an index beyond the channels changes nothing.
    bar.lostconnection();
    bar.updateChannelname(QStringLiteral("other"), 7);
    QCOMPARE(bar.channelNameLabel(6)->text(), shown);
    for (int ch = 0; ch < 6; ++ch)
        QCOMPARE(bar.channelNameLabel(ch)->text(), QStringLiteral("Channel %1").arg(ch + 1));
}

void TestStatusBar::fieldbusBlock_data()
{
    QTest::addColumn<FieldbusStatusRecord>("record");
    QTest::addColumn<bool>("shown");
    QTest::addColumn<QStringList>("texts"); // network, link, module state, communication

    QTest::newRow("PROFINET RT 2-port")
        << fieldbus(0x96, 0x0402, 0, 1) << true
        << QStringList{"PROFINET RT 2-port", "Link present", "no Error", "ready for communication"};
    QTest::newRow("module type 0x0404")
        << fieldbus(0x96, 0x0404, 0, 1) << false
        << QStringList{"PROFINET RT 2-port", "Link present", "no Error", "ready for communication"};
    QTest::newRow("no network name") << fieldbus(0x00, 0x0401, 0, 0, 0) << false
                                     << QStringList{"", "no Link present", "no Error",
                                                    "not ready for communication"};
    QTest::newRow("module state 7") << fieldbus(0x87, 0x0403, 7, 2) << false
                                    << QStringList{"EtherCAT", "Link present", "", "communication error"};
    QTest::newRow("communication state 3") << fieldbus(0x01, 0x0401, 6, 3) << false
                                           << QStringList{"PROFIBUS DP-V0", "Link present",
                                                          "unexpected Error", ""};
}

void TestStatusBar::fieldbusBlock()
{
    QFETCH(FieldbusStatusRecord, record);
    QFETCH(bool, shown);
    QFETCH(QStringList, texts);

    StatusBar bar;
    HearBeatMessage_t hb = heartbeat(0);
    hb.fieldbus = record;
    bar.connectionsuccesfull(hb, kUnit);
    QCOMPARE(!part<QWidget>(bar, "wdgFieldbus")->isHidden(), shown);
    QCOMPARE(QStringList({part<QLabel>(bar, "lblNetworkType")->text(), part<QLabel>(bar, "lblLink")->text(), part<QLabel>(bar, "lblStatus")->text(),
                          part<QLabel>(bar, "lblCommunicationStatus")->text()}),
             texts);
}

void TestStatusBar::barresizedOnlyOnChange()
{
    StatusBar bar;
    QSignalSpy resized(&bar, &StatusBar::Barresized);
    HearBeatMessage_t valid = heartbeat(0);
    valid.fieldbus = fieldbus(0x96, 0x0402, 0, 1);
    HearBeatMessage_t invalid = valid;
    invalid.fieldbus.moduleType = 0x0404;

    bar.connectionsuccesfull(invalid, kUnit);
    QCOMPARE(resized.count(), 0);
    bar.connectionsuccesfull(valid, kUnit);
    bar.connectionsuccesfull(valid, kUnit);
    QCOMPARE(resized.count(), 1);
    bar.connectionsuccesfull(invalid, kUnit);
    QCOMPARE(resized.count(), 2);
    bar.lostconnection(); // the block was hidden already
    QCOMPARE(resized.count(), 2);
    bar.connectionsuccesfull(valid, kUnit);
    bar.lostconnection();
    QCOMPARE(resized.count(), 4);
}

QTEST_MAIN(TestStatusBar)
#include "tst_statusbar.moc"
