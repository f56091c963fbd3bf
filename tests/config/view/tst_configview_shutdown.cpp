// The main window deleted while shown, with the focus in a box of the
// configuration view that holds an edit not yet confirmed (as when a new
// display scale ends the program): the window's destruction hides it, and
// the box loses its focus after the window is no longer whole. Nothing of
// the going window may store the edit in the configuration model, whose
// signals would reach the half-destroyed window and its pages.
#include <QAbstractSpinBox>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QSignalSpy>
#include <QSpinBox>
#include <QtTest>

#include "confighandler.h"
#include "databasecont.h"
#include "device.h"
#include "mainwindow.h"
#include "mainwindowfixture.h"
#include "metatypes.h"
#include "testnet.h"

namespace {

Confighandler *config()
{
    return Device::instance()->confighandler();
}

// What the model holds, to compare before and after.
QByteArray modelBytes()
{
    QByteArray bytes(reinterpret_cast<const char *>(config()->getDeviceConfig().data()),
                     CFG_Device_Param_struct::kSize);
    bytes += config()->deviceName().toUtf8();
    for (uint8_t ch = 0; ch < 7; ++ch)
        bytes += '|' + config()->channelName(ch).toUtf8();
    return bytes;
}

} // namespace

class TestConfigViewShutdown : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void editInFocusIsNotStoredByTheGoingWindow_data();
    void editInFocusIsNotStoredByTheGoingWindow();
};

void TestConfigViewShutdown::initTestCase()
{
    registerMetaTypes();
    Databasecont::instance().setDbDirectory(testnet::binDir() + QStringLiteral("/Korvantisdbs/"));
}

void TestConfigViewShutdown::editInFocusIsNotStoredByTheGoingWindow_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("box");
    QTest::addColumn<int>("outputSelect");
    QTest::addColumn<QString>("typed");

    QTest::newRow("output current") << "wdgConfigOutputTab" << "dspnRefCurr" << 1 << "12.5";
    QTest::newRow("output limit") << "wdgConfigOutputTab" << "spnComVal" << 2 << "600";
    QTest::newRow("debounce time") << "wdgCommonParam" << "spnSWDeadtime" << 1 << "7";
    QTest::newRow("channel name") << "gpbChannelName" << "leditChannelName" << 1 << "Welle links";
    QTest::newRow("device name") << "wdgCommonParam" << "leditDeviceName" << 1 << "Presse 4";
}

void TestConfigViewShutdown::editInFocusIsNotStoredByTheGoingWindow()
{
    QFETCH(QString, page);
    QFETCH(QString, box);
    QFETCH(int, outputSelect);
    QFETCH(QString, typed);

    // Channel 1 has a reference value: its output boxes can be edited.
    CFG_Device_Param_struct block = config()->getDeviceConfig();
    block.setOutputSelect(uint8_t(outputSelect));
    block.setReferenceSkw(0, 300);
    block.setThreshold(0, 450);
    block.setScale(0, 9000);
    QCOMPARE(config()->setDeviceConfig(block), ERR_OK);

    QPointer<MainWindow> window = new MainWindow;
    window->resize(1024, 768);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));
    window->setcurrentIndexes(MainWindow::PageConfig);
    QVERIFY(selectConfigPage(window, qPrintable(page)));

    auto *edit = part<QWidget>(window, qPrintable(box));
    QVERIFY(edit->isEnabled());
    edit->setFocus(Qt::MouseFocusReason);
    QTRY_VERIFY(edit->hasFocus());
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(edit, typed);

    const QByteArray before = modelBytes();
    QSignalSpy device(config(), &Confighandler::ConfigDevicechanged);
    QSignalSpy deviceName(config(), &Confighandler::Devicenamechanged);
    QSignalSpy channelName(config(), &Confighandler::Channelnamechanged);
    delete window.data();
    QVERIFY(window.isNull());
    QCOMPARE(device.count() + deviceName.count() + channelName.count(), 0);
    QCOMPARE(modelBytes(), before);
}

QTEST_MAIN(TestConfigViewShutdown)
#include "tst_configview_shutdown.moc"
