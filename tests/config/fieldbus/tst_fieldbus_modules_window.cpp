// The fieldbus page inside the main window against a simulated unit whose
// module is Modbus-TCP (or, row by row, PROFINET or EtherCAT), driven as a
// service engineer drives it: a configuration file made on a unit with
// another module, Apply after a reset of the unit, a file loaded before the
// unit was connected, and the page's buttons and the longest notification
// at the default window size in English and German.
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

#include "confighandler.h"
#include "databasecont.h"
#include "device.h"
#include "ethernethandler.h"
#include "fieldbusactionbar.h"
#include "fieldbusfixture.h"
#include "mainwindow.h"
#include "mainwindowfixture.h"
#include "metatypes.h"
#include "notificationbar.h"
#include "requestlog.h"
#include "testnet.h"
#include "textfitfilter.h"
#include "translation.h"
#include "unitparameterstore.h"
#include "unitsim.h"

namespace {

// tests/config/fieldbus takes 127.0.6.10 to 127.0.6.19.
const QHostAddress kUnit(QStringLiteral("127.0.6.17"));

Confighandler *config()
{
    return Device::instance()->confighandler();
}

// The stack page the fieldbus page shows for a module of `type`.
QString stackPageOf(int type)
{
    switch (type) {
    case 0x84: return QStringLiteral("page_ProfiNet");
    case 0x87: return QStringLiteral("page_EtherCAT");
    default: return QStringLiteral("page_EtherNetIP");
    }
}

} // namespace

class TestFieldbusModulesWindow : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanupTestCase();

    void recordOfAnotherModuleIsNotWritten_data();
    void recordOfAnotherModuleIsNotWritten();
    void applyAfterAResetWritesNothing_data();
    void applyAfterAResetWritesNothing();
    void fileLoadedBeforeConnectingIsNamed();
    void textsWholeAtTheDefaultSize_data();
    void textsWholeAtTheDefaultSize();

private:
    NotificationBar *bar() { return part<NotificationBar>(window, "notifyBar"); }
    QPushButton *applyButton() { return part<QPushButton>(window, "btnResetAnybusMod"); }
    QPushButton *readButton() { return part<QPushButton>(window, "btnReadFieldCfg"); }
    QLabel *recordNote() { return part<QLabel>(window, "lblRecordNote"); }
    QStringList takeBarTexts();
    int recordWrites() const { return recordWritesOf(*unit); }
    QList<int> serviceActions() const { return serviceActionsOf(*unit); }
    // Selects the page in the navigation tree, as a click on its row does.
    void showPage(const char *name);
    // The fitted module is now `type`: waits until the page shows its
    // layout, then reads the unit's record with the page's button.
    void fitModuleAndRead(int type);
    // A configuration file as exported on a unit whose module record is
    // `record`, with `deviceName`; the tool's copy is left as it was.
    QString exportFile(const QByteArray &record, const QString &deviceName);
    // "Import Config" with `file` chosen in the file dialog.
    void importFile(const QString &file);

    std::unique_ptr<UnitSim> unit;
    MainWindow *window = nullptr;
    QTemporaryDir dir;
    int files = 0;
};

void TestFieldbusModulesWindow::initTestCase()
{
    KORVANTIS_REQUIRE_TESTNET();
    registerMetaTypes();
    // A screen with room for the window at 1920 x 1080 as well.
    qputenv("KORVANTIS_SCREEN", "1924x1084");
    startWindowLink();
    config()->setSaveFeedbackTimeout(8000);
    Databasecont::instance().setDbDirectory(testnet::binDir() + QStringLiteral("/Korvantisdbs/"));
    FieldbusActionbar::setTimings(20, 10000);

    unit = std::make_unique<UnitSim>();
    unit->setFieldbusModule(0x80);
    QString error;
    QVERIFY2(unit->startQuiet(kUnit, &error), qPrintable(error));

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
    showPage("wdgFBConfig");
    QTRY_VERIFY(applyButton()->isVisible());
}

void TestFieldbusModulesWindow::init()
{
    QTRY_VERIFY_WITH_TIMEOUT(!config()->waitingForFeedback(), 20000);
    QVERIFY(!FieldbusActionbar::isApplying());
    window->resize(1024, 768);
    takeBarTexts();
    unit->clearRequestLog();
}

void TestFieldbusModulesWindow::cleanupTestCase()
{
    config()->setFileNameProvider(nullptr);
    if (window) {
        Device::instance()->ethernetHandler()->disconnectFromDevice();
        QTRY_VERIFY(!config()->waitingForFeedback());
    }
    delete window;
    window = nullptr;
    unit.reset();
}

QStringList TestFieldbusModulesWindow::takeBarTexts()
{
    return ::takeBarTexts(bar());
}

void TestFieldbusModulesWindow::showPage(const char *name)
{
    window->setcurrentIndexes(MainWindow::PageConfig);
    auto *page = part<QWidget>(window, name);
    QTRY_VERIFY(!page->isHidden());
    QVERIFY(selectConfigPage(window, name));
    QTRY_VERIFY(page->isVisible());
}

void TestFieldbusModulesWindow::fitModuleAndRead(int type)
{
    unit->setFieldbusModule(uint16_t(type));
    auto *stack = part<QStackedWidget>(window, "stackFieldbus");
    showPage("wdgFBConfig");
    QTRY_COMPARE_WITH_TIMEOUT(stack->currentWidget()->objectName(), stackPageOf(type), 5000);
    QTest::mouseClick(readButton(), Qt::LeftButton);
    QCOMPARE(config()->getAnybusCFG().toBytes().toHex(' '), UnitParameterStore::fieldbusRecord(uint16_t(type)).toHex(' '));
    QVERIFY(stack->currentWidget()->isEnabled());
}

QString TestFieldbusModulesWindow::exportFile(const QByteArray &record, const QString &deviceName)
{
    const Anybus_cfg ownRecord = config()->getAnybusCFG();
    const QString ownName = config()->deviceName();
    const QString file = dir.filePath(QStringLiteral("unit-%1.cfg").arg(++files));
    config()->setAnybusCFG(Anybus_cfg::fromBytes(record));
    config()->setDevicename(deviceName);
    const errorCode_e saved = config()->saveConfigFile(file);
    config()->setAnybusCFG(ownRecord);
    config()->setDevicename(ownName);
    return saved == ERR_OK ? file : QString();
}

void TestFieldbusModulesWindow::importFile(const QString &file)
{
    config()->setFileNameProvider([file](bool, const QString &, const QString &) { return file; });
    const auto restore = qScopeGuard([] { config()->setFileNameProvider(nullptr); });
    QTest::mouseClick(part<QToolButton>(window, "btnOpenConfig"), Qt::LeftButton);
}

void TestFieldbusModulesWindow::recordOfAnotherModuleIsNotWritten_data()
{
    QTest::addColumn<int>("unitType");
    QTest::addColumn<int>("fileType");
    QTest::addColumn<QString>("message");
    const QString refusal = QStringLiteral(
        "Nothing was written: the fieldbus configuration on this page is made for a module of type %1, but this "
        "unit's module is of type %2. Click \"Read Fieldbus Configuration\" to edit the unit's own settings, or "
        "load a configuration file made for a module of type %2.");
    QTest::newRow("PROFINET file, Modbus-TCP unit")
        << 0x80 << 0x84 << refusal.arg(QStringLiteral("PROFINET RT (0x84)"), QStringLiteral("Modbus-TCP (0x80)"));
    QTest::newRow("EtherCAT file, PROFINET unit")
        << 0x84 << 0x87 << refusal.arg(QStringLiteral("EtherCAT (0x87)"), QStringLiteral("PROFINET RT (0x84)"));
    QTest::newRow("Modbus-TCP file, EtherCAT unit")
        << 0x87 << 0x80 << refusal.arg(QStringLiteral("Modbus-TCP (0x80)"), QStringLiteral("EtherCAT (0x87)"));
}

// A file exported on a unit with another module: the page keeps the layout
// of the module the unit reports, Apply writes nothing and says why, and the
// rest of the file is loaded.
void TestFieldbusModulesWindow::recordOfAnotherModuleIsNotWritten()
{
    QFETCH(int, unitType);
    QFETCH(int, fileType);
    QFETCH(QString, message);
    const auto back = qScopeGuard([this] { fitModuleAndRead(0x80); });
    fitModuleAndRead(unitType);
    const QByteArray onUnit = unit->parameters().value(0x3000);

    QByteArray foreign = UnitParameterStore::fieldbusRecord(uint16_t(fileType));
    putText(foreign, 0x014, 64, "other-line");
    const QString file = exportFile(foreign, QStringLiteral("Press line 9"));
    QVERIFY(!file.isEmpty());
    importFile(file);
    // Only the word on the channels without reference values that every
    // import of such a configuration gives.
    for (const QString &text : takeBarTexts())
        QVERIFY2(text.startsWith(QStringLiteral("There were no valid Reference values")), qPrintable(text));
    // The rest of the file is the tool's now, the record as the file has it.
    QCOMPARE(config()->deviceName(), QStringLiteral("Press line 9"));
    QCOMPARE(config()->getAnybusCFG().toBytes().toHex(' '), foreign.toHex(' '));

    // The page still shows the layout of the unit's module; the record has
    // nothing for its settings.
    auto *stack = part<QStackedWidget>(window, "stackFieldbus");
    QCOMPARE(stack->currentWidget()->objectName(), stackPageOf(unitType));
    QVERIFY(!stack->currentWidget()->isEnabled());
    // It says so as soon as the record is loaded, in Apply's words.
    const QString because = message.section(QStringLiteral(": "), 1);
    QVERIFY(recordNote()->isVisible());
    QCOMPARE(recordNote()->text(), because.left(1).toUpper() + because.mid(1));
    QCOMPARE(part<QWidget>(window, "wdgModbus")->isVisible(), unitType == 0x80);
    QCOMPARE(part<QWidget>(window, "wdgNetworkSettings")->isVisible(), unitType != 0x87);

    unit->clearRequestLog();
    {
        BoxAnswerer answerer(window, {1});
        QTest::mouseClick(applyButton(), Qt::LeftButton);
        QVERIFY(answerer.boxes.isEmpty());
    }
    QCOMPARE(takeBarTexts(), QStringList{message});
    QCOMPARE(recordWrites(), 0);
    QCOMPARE(serviceActions(), QList<int>());
    QCOMPARE(unit->parameters().value(0x3000).toHex(' '), onUnit.toHex(' '));
}

void TestFieldbusModulesWindow::applyAfterAResetWritesNothing_data()
{
    QTest::addColumn<QString>("reset");
    QTest::addColumn<QString>("message");  // names what was reset
    QTest::newRow("Reset Default Config")
        << "wdgResetDefConf"
        << "Nothing was written: the unit's configuration was reset after its fieldbus configuration was read, so the "
           "page no longer shows what the unit holds. Click \"Read Fieldbus Configuration\" first.";
    QTest::newRow("Reset Network Settings")
        << "wdgResetJMP"
        << "Nothing was written: the unit's network settings were reset (\"Reset Network Settings\") after its "
           "fieldbus configuration was read, so the page may no longer show what the unit holds. Click \"Read "
           "Fieldbus Configuration\" first.";
}

// Read, edit, reset the unit, Apply: the page's record is no longer the
// unit's, nothing is written and the user is told to read first. Once read
// again, Apply writes.
void TestFieldbusModulesWindow::applyAfterAResetWritesNothing()
{
    QFETCH(QString, reset);
    QFETCH(QString, message);
    QTest::mouseClick(readButton(), Qt::LeftButton);
    auto *host = part<QLineEdit>(window, "leditHostname");
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));
    host->setFocus(Qt::MouseFocusReason);
    QTRY_VERIFY(host->hasFocus());
    QTest::keyClick(host, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(host, QStringLiteral("line-7"));
    QTest::keyClick(host, Qt::Key_Tab);
    QTRY_VERIFY(!host->hasFocus());
    QCOMPARE(takeBarTexts().join(QLatin1Char('\n')), QString());

    showPage(qPrintable(reset));
    if (reset == QLatin1String("wdgResetDefConf")) {
        BoxAnswerer answerer(window, {1});
        QTest::mouseClick(part<QToolButton>(window, "btnReset"), Qt::LeftButton);
        QCOMPARE(answerer.boxes.size(), 1);
        QCOMPARE(serviceActions(), QList<int>{0x20});
    } else {
        // The unit's own MAC address, back to its default network settings.
        const std::array<uint8_t, 6> mac = unit->macAddress();
        QString text;
        for (uint8_t byte : mac)
            text += QStringLiteral("%1:").arg(byte, 2, 16, QLatin1Char('0'));
        text.chop(1);
        part<QLineEdit>(window, "leditMAC")->setText(text.toUpper());
        QTest::mouseClick(part<QPushButton>(window, "btnApplySet"), Qt::LeftButton);
    }
    takeBarTexts();
    const QByteArray onUnit = unit->parameters().value(0x3000);

    showPage("wdgFBConfig");
    // The page says so before Apply is tried, in Apply's words.
    const QString because = message.section(QStringLiteral(": "), 1);
    QTRY_COMPARE(recordNote()->text(), because.left(1).toUpper() + because.mid(1));
    QVERIFY(recordNote()->isVisible());
    unit->clearRequestLog();
    {
        BoxAnswerer answerer(window, {1});
        QTest::mouseClick(applyButton(), Qt::LeftButton);
        QVERIFY(answerer.boxes.isEmpty());
    }
    QCOMPARE(takeBarTexts(), QStringList{message});
    QCOMPARE(recordWrites(), 0);
    QCOMPARE(serviceActions(), QList<int>());
    QCOMPARE(unit->parameters().value(0x3000).toHex(' '), onUnit.toHex(' '));

    // Read again: the page shows what the unit holds, and Apply writes it.
    QTest::mouseClick(readButton(), Qt::LeftButton);
    QCOMPARE(host->text(), QString::fromLatin1(onUnit.mid(0x14).constData()));
    QVERIFY(recordNote()->isHidden());
    {
        BoxAnswerer answerer(window, {0});
        QTest::mouseClick(applyButton(), Qt::LeftButton);
        QCOMPARE(answerer.boxes.size(), 1);
    }
    QCOMPARE(recordWrites(), 1);
    QCOMPARE(unit->parameters().value(0x3000).toHex(' '), onUnit.toHex(' '));
}

// A file loaded while no unit was connected is not taken for the unit
// connected afterwards, and Apply says so instead of asking for a file;
// loaded again with the unit connected, it is applied.
void TestFieldbusModulesWindow::fileLoadedBeforeConnectingIsNamed()
{
    QTest::mouseClick(readButton(), Qt::LeftButton);
    QByteArray fromFile = unit->parameters().value(0x3000);
    putText(fromFile, 0x014, 64, "from-file");
    const QString file = exportFile(fromFile, config()->deviceName());
    QVERIFY(!file.isEmpty());
    const QByteArray onUnit = unit->parameters().value(0x3000);

    EthernetHandler *link = Device::instance()->ethernetHandler();
    link->disconnectFromDevice();
    QTRY_VERIFY(!link->isConnected());
    importFile(file);
    takeBarTexts();

    {
        // Connected again; the offered read of the configuration answered No.
        BoxAnswerer answerer(window, {0});
        link->setTargetIP(kUnit);
        QTRY_COMPARE_WITH_TIMEOUT(answerer.boxes.size(), 1, 20000);
        QTRY_VERIFY(!window->asksReadConfig());
    }
    showPage("wdgFBConfig");
    unit->clearRequestLog();
    {
        BoxAnswerer answerer(window, {1});
        QTest::mouseClick(applyButton(), Qt::LeftButton);
        QVERIFY(answerer.boxes.isEmpty());
    }
    QCOMPARE(takeBarTexts(),
             QStringList{"Nothing was written: the configuration file was loaded before this unit was connected, so "
                         "its fieldbus configuration is not taken for this unit. Load the file again now that the "
                         "unit is connected, or click \"Read Fieldbus Configuration\"."});
    QCOMPARE(recordWrites(), 0);
    QCOMPARE(unit->parameters().value(0x3000).toHex(' '), onUnit.toHex(' '));

    importFile(file);
    {
        BoxAnswerer answerer(window, {0});
        QTest::mouseClick(applyButton(), Qt::LeftButton);
        QCOMPARE(answerer.boxes.size(), 1);
    }
    QCOMPARE(recordWrites(), 1);
    QCOMPARE(unit->parameters().value(0x3000).toHex(' '), fromFile.toHex(' '));
}

void TestFieldbusModulesWindow::textsWholeAtTheDefaultSize_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QSize>("size");
    for (const char *language : {"en", "de"}) {
        QTest::addRow("%s 1024x768", language) << QString::fromLatin1(language) << QSize(1024, 768);
        QTest::addRow("%s 1920x1080", language) << QString::fromLatin1(language) << QSize(1920, 1080);
    }
}

// Every caption of the fieldbus action bar whole and inside the window,
// and the longest notification a configuration write gives ("No" on the
// reference conflict, with the list of what was written and not saved)
// readable whole.
void TestFieldbusModulesWindow::textsWholeAtTheDefaultSize()
{
    QFETCH(QString, language);
    QFETCH(QSize, size);
    const auto english = qScopeGuard([] {
        switchTranslator(QStringLiteral("en"));
        settleLayouts();
    });
    switchTranslator(language);
    settleLayouts();
    window->resize(size);
    settleLayouts();
    showPage("wdgFBConfig");
    settleLayouts();
    QCOMPARE(window->size(), size);

    for (const char *name : {"btndisFTP", "btnenFTP", "btnReadFieldCfg", "btnResetAnybusMod"}) {
        auto *button = part<QPushButton>(window, name);
        QVERIFY(button->isVisible());
        const QRect inWindow(button->mapTo(window, QPoint(0, 0)), button->size());
        const QString what = QStringLiteral("%1 \"%2\": %3 px wide, its caption needs %4 px; at %5..%6 of %7 px")
                                 .arg(QString::fromLatin1(name), button->text())
                                 .arg(button->width())
                                 .arg(button->sizeHint().width())
                                 .arg(inWindow.left())
                                 .arg(inWindow.right())
                                 .arg(window->width());
        QVERIFY2(button->minimumWidth() >= button->sizeHint().width(), qPrintable(what));
        QVERIFY2(button->width() >= button->sizeHint().width(), qPrintable(what));
        QVERIFY2(inWindow.left() >= 0 && inWindow.right() < window->width(), qPrintable(what));
    }

    // The unit has no reference values; the tool has one for channel 3.
    const CFG_Device_Param_struct block = config()->getDeviceConfig();
    const auto restore = qScopeGuard([block] { config()->setDeviceConfig(block); });
    CFG_Device_Param_struct changed = block;
    changed.setReferenceSkw(2, 300);
    QCOMPARE(config()->setDeviceConfig(changed), ERR_OK);
    takeBarTexts();
    auto *write = part<QPushButton>(window, "btnWriteConfig");
    QTRY_VERIFY(write->isEnabled());
    {
        BoxAnswerer answerer(window, {0});
        QTest::mouseClick(write, Qt::LeftButton);
        QCOMPARE(answerer.boxes.size(), 1);
    }
    settleLayouts();
    QCOMPARE(bar()->entryCount(), 1);
    const QString text = bar()->currentEntry().text;
    QVERIFY2(text.contains(Confighandler::tr("The write was stopped by your choice (\"No\" on \"Reference State "
                                             "conflict\"). Already written to the unit but not saved: %1. The device "
                                             "and channel names were not written.")
                               .section(QStringLiteral("%1"), 0, 0)),
             qPrintable(text));
    auto *label = part<QLabel>(window, "lblErrorMessage");
    QVERIFY(label->isVisible());
    QVERIFY2(TextFitFilter::shownText(label) == text,
             qPrintable(QStringLiteral("%1 x %2 px show \"%3\"")
                            .arg(label->width())
                            .arg(label->height())
                            .arg(TextFitFilter::shownText(label))));
    QCOMPARE(window->size(), size);
    takeBarTexts();
}

QTEST_MAIN(TestFieldbusModulesWindow)
#include "tst_fieldbus_modules_window.moc"
