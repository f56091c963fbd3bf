// The configuration view inside the main window against the simulated unit,
// driven as an engineer drives it: output values typed and a channel
// switched by mouse, names typed with and without Enter, refused names and
// catalogue rows told in the notification bar, the navigation tree across
// language switches, and the model's messages in German.
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QLabel>
#include <QProcess>
#include <QScopeGuard>
#include <QScrollArea>
#include <QScrollBar>
#include <QStackedWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QToolButton>
#include <QTreeView>
#include <QtTest>

#include "requestlog.h"
#include "byteorder.h"
#include "configblob.h"
#include "confighandler.h"
#include "configtab.h"
#include "databasecont.h"
#include "device.h"
#include "devicenamerecord.h"
#include "ethernethandler.h"
#include "mainwindow.h"
#include "mainwindowfixture.h"
#include "metatypes.h"
#include "navtreemodel.h"
#include "notificationbar.h"
#include "statusbar.h"
#include "testnet.h"
#include "translation.h"
#include "unitsim.h"
#include "unitsimconfig.h"

namespace {

// tests/config/view takes 127.0.29.1 to 127.0.29.9.
const QHostAddress kUnit(QStringLiteral("127.0.29.1"));

// Catalogue rows that the pages or the model refuse, beside the sample.
const char kRefusedRows[] = R"(
INSERT INTO sensors VALUES (90, 'KVS-X wraps', 6.0, 30.0);
INSERT INTO sensors VALUES (91, 'KVS-Y too high', 6.0, 24.05);
INSERT INTO prodFamilyEntry VALUES (90, 'Test Family');
INSERT INTO channelParam VALUES (90, 5000.0, 20.0, 1, 2, 20.0);
INSERT INTO DeviceEntry VALUES (900, 90, 1, 1, 1);
INSERT INTO Mapping VALUES (900, 900, 1, 90, 1, 1);
)";

Confighandler *config()
{
    return Device::instance()->confighandler();
}

} // namespace

class TestConfigViewWindow : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void cleanupTestCase();

    void outputValueStaysWithItsChannel_data();
    void outputValueStaysWithItsChannel();
    void typedNamesSurviveAChannelSwitch();
    void refusedNamesAreToldAndTheKeptOneShown();
    void refusedCatalogueRowsReachTheBar();
    void navigationTreeAfterLanguageSwitches();
    void modelMessagesInGerman_data();
    void modelMessagesInGerman();
    void treeRowsBringTheirHeadingsIntoView_data();
    void treeRowsBringTheirHeadingsIntoView();
    void sizesSteadyAcrossLanguageRoundTrips();
    void nameRefusedByTheClickStopsIt_data();
    void nameRefusedByTheClickStopsIt();
    void decimalCommaInTheCurrentBox();
    void untouchedCurrentKeepsTheStoredScale_data();
    void untouchedCurrentKeepsTheStoredScale();
    void passedOverMappingDoesNotReachTheUnit_data();
    void passedOverMappingDoesNotReachTheUnit();

private:
    ConfigTab *tab() { return part<ConfigTab>(window, "pageScrollConfig"); }
    NotificationBar *bar() { return part<NotificationBar>(window, "notifyBar"); }
    QToolButton *channelButton(int n) { return part<QToolButton>(window, qPrintable(QStringLiteral("btnChn%1").arg(n))); }
    void showPage(const char *page);
    // What of the configuration view a user cannot see whole: headings or
    // buttons cut by a scroll area, a second scroll bar, sideways scrolling.
    QStringList layoutFaults(const QModelIndex &row);
    // Gives the widget the focus as a click into it does, selects its text
    // and types over it.
    void typeInto(QWidget *widget, const QString &text);
    // The texts of the bar's entries, newest first; the bar is empty after.
    QStringList takeBarTexts();
    QString unitDeviceName() const;
    int writesTo(int param) const;
    // The mapping entry that serves the channel in the blob the unit holds.
    CFG_ChannelMapping_struct unitMappingEntry(uint8_t channel) const;
    uint16_t unitValue16(int param) const;
    void setUnitValue16(int param, uint16_t value);
    // "Write Config to Device", clicked, and waited for until the unit has
    // saved.
    void writeToUnit();

    std::unique_ptr<UnitSim> unit;
    MainWindow *window = nullptr;
    std::unique_ptr<BoxAnswerer> answerer;
    QTemporaryDir catalogueDir;
    CFG_Device_Param_struct readBlock;
    CFG_Blob_struct_sorted readBlob;
};

void TestConfigViewWindow::initTestCase()
{
    KORVANTIS_REQUIRE_TESTNET();
    registerMetaTypes();

    // The sample catalogue with the refused rows added, packed as the
    // program's catalogue files are.
    QByteArray sql;
    for (const char *name : {"korvantiscatalogue1.sql", "korvantiscatalogue2.sql"}) {
        QFile file(testnet::sourceDir() + QStringLiteral("/database/catalogue/") + QLatin1String(name));
        QVERIFY(file.open(QIODevice::ReadOnly));
        sql += file.readAll() + '\n';
    }
    sql += kRefusedRows;
    const QString source = catalogueDir.filePath(QStringLiteral("catalogue.sql"));
    {
        QFile file(source);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(sql);
    }
    QProcess packer;
    packer.start(testnet::binDir() + QStringLiteral("/dbenctool"),
                 {QStringLiteral("pack"), source, catalogueDir.filePath(QStringLiteral("Catalogue.dbenc"))});
    QVERIFY(packer.waitForFinished(60000));
    QCOMPARE(packer.exitCode(), 0);
    QFile::remove(source);
    Databasecont::instance().setDbDirectory(catalogueDir.path() + QLatin1Char('/'));

    startWindowLink();
    config()->setSaveFeedbackTimeout(5000);

    unit = std::make_unique<UnitSim>();
    QString error;
    // A fieldbus module, so that its page is offered too.
    unit->setFieldbusModule(0x93);
    QVERIFY2(unit->startQuiet(kUnit, &error), qPrintable(error));
    window = new MainWindow;
    window->resize(1024, 768);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));

    // Connect and read the unit's configuration, as the first heartbeat offers.
    answerer = std::make_unique<BoxAnswerer>(window, QList<int>{1});
    config()->setIpAddress(kUnit);
    Device::instance()->ethernetHandler()->setTargetIP(kUnit);
    QTRY_COMPARE_WITH_TIMEOUT(answerer->boxes.size(), 1, 20000);
    QTRY_VERIFY(!window->asksReadConfig());
    QTRY_VERIFY(!Device::instance()->ethernetHandler()->isWaiting());
    QTRY_VERIFY(config()->allChannelsSensorConfigured());
    readBlock = config()->getDeviceConfig();
    readBlob = config()->getConfigBlob();
    answerer.reset();
    window->setcurrentIndexes(MainWindow::PageConfig);
}

void TestConfigViewWindow::init()
{
    QTRY_VERIFY_WITH_TIMEOUT(!config()->waitingForFeedback(), 20000);
    QCOMPARE(config()->setDeviceConfig(readBlock), ERR_OK);
    QCOMPARE(config()->sealBlob(readBlob), ERR_OK);
    for (uint8_t ch = 0; ch < 7; ++ch)
        QCOMPARE(config()->setChannelname(QStringLiteral("Channel %1").arg(ch + 1), ch), ERR_OK);
    QCOMPARE(config()->setDevicename(QStringLiteral("Korvantis")), ERR_OK);
    QTest::mouseClick(channelButton(1), Qt::LeftButton);
    takeBarTexts();
    unit->clearRequestLog();
    answerer = std::make_unique<BoxAnswerer>(window);
}

void TestConfigViewWindow::cleanup()
{
    answerer.reset();
    if (currentUiLanguage() == QLatin1String("de"))
        switchTranslator(QStringLiteral("en"));
}

void TestConfigViewWindow::cleanupTestCase()
{
    answerer.reset();
    Device::instance()->ethernetHandler()->disconnectFromDevice();
    QTRY_VERIFY(!config()->waitingForFeedback());
    delete window;
    window = nullptr;
    unit.reset();
}

void TestConfigViewWindow::showPage(const char *page)
{
    QVERIFY(selectConfigPage(window, page));
}

void TestConfigViewWindow::typeInto(QWidget *widget, const QString &text)
{
    widget->setFocus(Qt::MouseFocusReason);
    QTRY_VERIFY(widget->hasFocus());
    QTest::keyClick(widget, Qt::Key_A, Qt::ControlModifier);
    // Text beyond ASCII arrives as an input method delivers it, at once.
    QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, text, Qt::NoModifier);
}

QStringList TestConfigViewWindow::takeBarTexts()
{
    return ::takeBarTexts(bar());
}

QString TestConfigViewWindow::unitDeviceName() const
{
    DeviceNameRecord record;
    if (!DeviceNameRecord::fromBytes(unit->parameters().value(EthernetHandler::ParamDeviceName), &record))
        return QStringLiteral("(no record)");
    return record.text();
}

int TestConfigViewWindow::writesTo(int param) const
{
    int n = 0;
    for (const UnitSimRequest &r : withoutResends(unit->requestLog()))
        n += r.command == EthernetHandler::CmdWriteParam && r.paramId == param;
    return n;
}

CFG_ChannelMapping_struct TestConfigViewWindow::unitMappingEntry(uint8_t channel) const
{
    const QByteArray scrambled = unit->parameters().value(EthernetHandler::ParamConfigBlob);
    if (scrambled.size() != CFG_Blob_struct_sorted::kSize)
        return CFG_ChannelMapping_struct();
    CFG_Blob_struct_sorted blob;
    blob.assignRaw(Confighandler::unscrambleBlob(reinterpret_cast<const uint8_t *>(scrambled.constData()))->data());
    const uint8_t i = Confighandler::channelEntryIndex(blob, channel);
    return i < 7 ? blob.mapping(i) : CFG_ChannelMapping_struct();
}

uint16_t TestConfigViewWindow::unitValue16(int param) const
{
    const QByteArray value = unit->parameters().value(uint16_t(param));
    return value.size() == 2 ? le::u16(reinterpret_cast<const uint8_t *>(value.constData())) : 0;
}

void TestConfigViewWindow::setUnitValue16(int param, uint16_t value)
{
    QByteArray bytes(2, '\0');
    le::put16(reinterpret_cast<uint8_t *>(bytes.data()), value);
    unit->parameters().setValue(uint16_t(param), bytes);
}

void TestConfigViewWindow::writeToUnit()
{
    auto *write = part<QPushButton>(window, "btnWriteConfig");
    QTRY_VERIFY(write->isEnabled());
    QTest::mouseClick(write, Qt::LeftButton);
    QTRY_VERIFY(writesTo(EthernetHandler::ParamDeviceName) == 1);
    QTRY_VERIFY_WITH_TIMEOUT(!config()->waitingForFeedback(), 20000);
}

void TestConfigViewWindow::outputValueStaysWithItsChannel_data()
{
    QTest::addColumn<bool>("analog");
    QTest::addColumn<bool>("enter");

    QTest::newRow("limit, typed") << false << false;
    QTest::newRow("limit, confirmed with Enter") << false << true;
    QTest::newRow("current, typed") << true << false;
    QTest::newRow("current, confirmed with Enter") << true << true;
}

void TestConfigViewWindow::outputValueStaysWithItsChannel()
{
    QFETCH(bool, analog);
    QFETCH(bool, enter);

    // Channel 1 has a reference value, channel 3 none.
    CFG_Device_Param_struct block = readBlock;
    block.setOutputSelect(analog ? 1 : 2);
    block.setReferenceSkw(0, 300);
    block.setThreshold(0, 450);
    block.setScale(0, 12000);
    block.setReferenceSkw(2, -1);
    block.setThreshold(2, 502);
    block.setScale(2, 7400);
    QCOMPARE(config()->setDeviceConfig(block), ERR_OK);
    showPage("wdgConfigOutputTab");

    auto *limit = part<QSpinBox>(window, "spnComVal");
    auto *current = part<QDoubleSpinBox>(window, "dspnRefCurr");
    QAbstractSpinBox *box = analog ? static_cast<QAbstractSpinBox *>(current) : limit;
    QVERIFY(box->isEnabled());
    typeInto(box, analog ? current->locale().toString(12.5, 'f', 1) : QStringLiteral("600"));
    if (enter)
        QTest::keyClick(box, Qt::Key_Return);
    QTest::mouseClick(channelButton(3), Qt::LeftButton);
    QCOMPARE(tab()->currentChannel(), 2);

    // The model: the typed value in channel 1 only.
    const CFG_Device_Param_struct stored = config()->getDeviceConfig();
    QCOMPARE(int(stored.threshold(0)), analog ? 450 : 600);
    QCOMPARE(int(stored.scale(0)), analog ? 12500 : 12000);
    QCOMPARE(int(stored.threshold(2)), 502);
    QCOMPARE(int(stored.scale(2)), 7400);
    // The page: channel 3's own values, not editable without a reference.
    QVERIFY(!box->isEnabled());
    if (analog)
        QCOMPARE(current->value(), 4.8);
    else
        QCOMPARE(limit->value(), 502);

    QTest::mouseClick(channelButton(1), Qt::LeftButton);
    if (analog)
        QCOMPARE(current->value(), 12.5);
    else
        QCOMPARE(limit->value(), 600);
    QCOMPARE(int(config()->getDeviceConfig().threshold(2)), 502);
    QCOMPARE(int(config()->getDeviceConfig().scale(2)), 7400);
}

void TestConfigViewWindow::typedNamesSurviveAChannelSwitch()
{
    showPage("gpbChannelName");
    auto *name = part<QLineEdit>(window, "leditChannelName");
    typeInto(name, QStringLiteral("Welle links"));
    QTest::mouseClick(channelButton(2), Qt::LeftButton);
    QCOMPARE(config()->channelName(0), QStringLiteral("Welle links"));
    QCOMPARE(channelButton(1)->text(), QStringLiteral("Welle links"));
    QCOMPARE(name->text(), QStringLiteral("Channel 2"));

    // A refused one is told, and the channel keeps its name.
    typeInto(name, QStringLiteral("Welle; rechts"));
    QTest::mouseClick(channelButton(3), Qt::LeftButton);
    QCOMPARE(tab()->currentChannel(), 2);
    QCOMPARE(config()->channelName(1), QStringLiteral("Channel 2"));
    QCOMPARE(takeBarTexts(), QStringList{Confighandler::channelNameProblem(QStringLiteral(";"))});
    QTest::mouseClick(channelButton(2), Qt::LeftButton);
    QCOMPARE(name->text(), QStringLiteral("Channel 2"));
    QVERIFY(!name->isModified());
}

void TestConfigViewWindow::refusedNamesAreToldAndTheKeptOneShown()
{
    showPage("gpbChannelName");
    auto *channelName = part<QLineEdit>(window, "leditChannelName");
    typeInto(channelName, QStringLiteral("Welle; links"));
    QTest::keyClick(channelName, Qt::Key_Return);
    QCOMPARE(takeBarTexts(),
             QStringList{QStringLiteral(
                 "The channel name was not changed: it must not contain a semicolon (;) or a double quote (\").")});
    QCOMPARE(channelName->text(), QStringLiteral("Channel 1"));
    QCOMPARE(config()->channelName(0), QStringLiteral("Channel 1"));

    showPage("wdgCommonParam");
    auto *deviceName = part<QLineEdit>(window, "leditDeviceName");
    const QString tooLong(126, QChar(0x00E4));  // 252 bytes in UTF-8
    typeInto(deviceName, tooLong);
    QTest::keyClick(deviceName, Qt::Key_Return);
    QCOMPARE(takeBarTexts(), QStringList{QStringLiteral(
                                 "The device name was not changed: it has 252 bytes in UTF-8, at most 250 are possible.")});
    QCOMPARE(deviceName->text(), QStringLiteral("Korvantis"));

    // What is written is what the page shows; a name typed and refused on
    // the way to the unit stops the write.
    auto *write = part<QPushButton>(window, "btnWriteConfig");
    QTRY_VERIFY(write->isEnabled());
    QTest::mouseClick(write, Qt::LeftButton);
    QTRY_VERIFY(writesTo(EthernetHandler::ParamDeviceName) == 1);
    QCOMPARE(unitDeviceName(), deviceName->text());
    QTRY_VERIFY_WITH_TIMEOUT(!config()->waitingForFeedback(), 20000);
    takeBarTexts();
    unit->clearRequestLog();

    typeInto(deviceName, tooLong);
    QVERIFY(tab()->commitPendingEdits() == false);
    QCOMPARE(deviceName->text(), QStringLiteral("Korvantis"));
    QCOMPARE(takeBarTexts().size(), 1);
}

void TestConfigViewWindow::refusedCatalogueRowsReachTheBar()
{
    showPage("wdgSensor");
    QSignalSpy tabErrors(tab(), &BaseWidget::printNotifyBarErrorwrapper);
    auto *sensor = part<QComboBox>(window, "cmbSensor");
    QTRY_VERIFY(sensor->count() > 2);
    const QString stored = sensor->currentText();
    QVERIFY(!stored.isEmpty());

    // Voltages that do not fit the entry: the row is refused, and the
    // stored sensor shows again.
    const QList<QPair<QString, int>> refused = {{QStringLiteral("KVS-X wraps"), 90},
                                                {QStringLiteral("KVS-Y too high"), 91}};
    for (const auto &row : refused) {
        tabErrors.clear();
        const int index = sensor->findText(row.first);
        QVERIFY(index >= 0);
        sensor->setCurrentIndex(index);
        QCOMPARE(tabErrors.count(), 1);
        const QString expected = QStringLiteral("Sensor %1 was not written").arg(row.second);
        QVERIFY(tabErrors.first().first().toString().startsWith(expected));
        QCOMPARE(sensor->currentText(), stored);
        const QStringList shown = takeBarTexts();
        QCOMPARE(shown.size(), 1);
        QVERIFY(shown.first().startsWith(expected));
    }

    showPage("wdgMapping");
    auto *family = part<QComboBox>(window, "cmbDevFamily");
    const QString storedFamily = family->currentText();
    tabErrors.clear();
    const int index = family->findText(QStringLiteral("Test Family"));
    QVERIFY(index >= 0);
    family->setCurrentIndex(index);
    QCOMPARE(tabErrors.count(), 1);
    QVERIFY(tabErrors.first().first().toString().startsWith(QStringLiteral("Mapping 900 was not written")));
    QCOMPARE(family->currentText(), storedFamily);
    QCOMPARE(takeBarTexts().size(), 1);
}

void TestConfigViewWindow::navigationTreeAfterLanguageSwitches()
{
    auto *tree = part<QTreeView>(window, "treeSel");
    // A language switch reaches the widgets as posted events, and the window
    // relayouts through posted layout requests, more than one pass deep:
    // wait until its minimum size is the one its layout asks for now.
    const auto settled = [this] {
        return QTest::qWaitFor([this] {
            QCoreApplication::sendPostedEvents();
            return window->minimumSize() == window->minimumSizeHint();
        }, 10000);
    };
    QVERIFY(settled());
    const QSize shown = window->size();
    // The narrowest window the English texts allow: wider names must widen
    // it, as an engineer's window may be just that narrow.
    window->resize(window->minimumSize().width(), window->height());
    QVERIFY(settled());
    const int englishTree = tree->width();
    QCOMPARE(tree->header()->visualIndex(1), 0);
    // The tree is as wide as the names of its language, whatever came
    // before. The window may have to grow for the German names, once: from
    // the second round trip on, no switch widens it further.
    int germanTree = -1;
    int settledWindow = -1;
    for (int round = 0; round < 4; ++round) {
        switchTranslator(QStringLiteral("de"));
        QVERIFY(settled());
        QCOMPARE(tab()->navModel()->index(0, 0).data().toString(), QStringLiteral("Allgemeine Einstellungen"));
        QCOMPARE(tree->header()->visualIndex(1), 0);
        if (round == 0)
            germanTree = tree->width();
        QCOMPARE(tree->width(), germanTree);
        QVERIFY(tree->width() > englishTree);
        if (round >= 2)
            QCOMPARE(window->width(), settledWindow);

        switchTranslator(QStringLiteral("en"));
        QVERIFY(settled());
        QCOMPARE(tree->header()->visualIndex(1), 0);
        QCOMPARE(tree->width(), englishTree);
        if (round == 1)
            settledWindow = window->width();
        if (round >= 1)
            QCOMPARE(window->width(), settledWindow);
    }
    // The names fit into the tree.
    const QModelIndex names = tab()->navModel()->index(0, 0);
    QVERIFY(tree->visualRect(names).right() < tree->viewport()->width());
    window->resize(shown);
}

void TestConfigViewWindow::modelMessagesInGerman_data()
{
    QTest::addColumn<QString>("trigger");
    QTest::addColumn<QStringList>("expected");

    const QString ignored = QStringLiteral(" Die Konfiguration wurde nicht übernommen.");
    QTest::newRow("common fields") << "debounce 101"
                                   << QStringList{"Ungültige Gerätekonfiguration erkannt!" + ignored,
                                                  "Ungültige allgemeine Gerätekonfiguration erkannt!" + ignored};
    QTest::newRow("channel fields") << "threshold 19"
                                    << QStringList{"Ungültige Gerätekonfiguration erkannt!" + ignored,
                                                   "Ungültige Kanalkonfiguration des Geräts erkannt!" + ignored};
    QTest::newRow("missing references")
        << "references" << QStringList{"Für folgende Kanäle wurden keine gültigen Referenzwerte gefunden: Channel 1 | "
                                       "Channel 2 | Channel 3 | Channel 4 | Channel 5 | Channel 6 | Channel 7"};
    QTest::newRow("default channel") << "default sensor"
                                     << QStringList{"Aktiver Kanal mit Standardkonfiguration gefunden! Deaktivieren "
                                                    "Sie die Kanäle oder konfigurieren Sie sie. Channel 2"};
    QTest::newRow("sensor entry") << "sensor 24.1 V"
                                  << QStringList{"Ungültige Sensorkonfiguration erkannt!" + ignored};
    QTest::newRow("mapping entry") << "tau 0" << QStringList{"Ungültige Kanalkonfiguration erkannt!" + ignored};
    QTest::newRow("channel name") << "channel name"
                                  << QStringList{"Der Kanalname wurde nicht geändert: Er darf kein Semikolon (;) und "
                                                 "kein doppeltes Anführungszeichen (\") enthalten."};
    QTest::newRow("device name") << "device name"
                                 << QStringList{"Der Gerätename wurde nicht geändert: Er hat 260 Bytes in UTF-8, "
                                                "möglich sind höchstens 250."};
    QTest::newRow("save failed") << "save"
                                 << QStringList{"Das Schreiben der Konfiguration ist fehlgeschlagen"};
}

void TestConfigViewWindow::modelMessagesInGerman()
{
    QFETCH(QString, trigger);
    QFETCH(QStringList, expected);

    switchTranslator(QStringLiteral("de"));
    QCoreApplication::processEvents();
    takeBarTexts();
    CFG_Device_Param_struct block = readBlock;
    if (trigger == QLatin1String("debounce 101")) {
        block.setDebounceTime(101);
        config()->setDeviceConfig(block);
    } else if (trigger == QLatin1String("threshold 19")) {
        block.setThreshold(4, 19);
        config()->setDeviceConfig(block);
    } else if (trigger == QLatin1String("references")) {
        block.setChannelEnableMask(0x7F);
        config()->setWarnMissingReferences(true);
        config()->setDeviceConfig(block);
    } else if (trigger == QLatin1String("default sensor")) {
        config()->setSensorConfig(ConfigBlob::defaultSensorEntry(), 1, false);
        config()->validateForSave();
    } else if (trigger == QLatin1String("sensor 24.1 V")) {
        CFG_Sensor_struct entry;
        config()->channelParams(0, entry);
        entry.setIepeHighVoltage(241);
        config()->setSensorConfig(entry, 0, false);
    } else if (trigger == QLatin1String("tau 0")) {
        CFG_ChannelMapping_struct entry;
        config()->channelEntry(0, entry);
        entry.setTau(0);
        config()->setChannelConfig(entry, 0, false);
    } else if (trigger == QLatin1String("channel name")) {
        showPage("gpbChannelName");
        auto *edit = part<QLineEdit>(window, "leditChannelName");
        typeInto(edit, QStringLiteral("Welle; links"));
        QTest::keyClick(edit, Qt::Key_Return);
    } else if (trigger == QLatin1String("device name")) {
        showPage("wdgCommonParam");
        auto *edit = part<QLineEdit>(window, "leditDeviceName");
        typeInto(edit, QString(130, QChar(0x00F6)));
        QTest::keyClick(edit, Qt::Key_Return);
    } else if (trigger == QLatin1String("save")) {
        UnitSimConfig::of(unit.get())->setFinalStatus(-1);
        config()->saveConfigOnDevice(false);
        QTRY_VERIFY_WITH_TIMEOUT(!config()->waitingForFeedback(), 20000);
        UnitSimConfig::of(unit.get())->setFinalStatus(0);
    }
    QCOMPARE(takeBarTexts(), expected);
}

namespace {

// The page's heading: the page itself when it is a label, else its first
// title label (text style H4) from the top; the page when it has none.
QWidget *headingOf(QWidget *page)
{
    if (qobject_cast<QLabel *>(page))
        return page;
    QWidget *heading = nullptr;
    int top = 0;
    for (QLabel *label : page->findChildren<QLabel *>()) {
        if (label->property("textStyle").toString() != QLatin1String("H4") || !label->isVisibleTo(page))
            continue;
        const int y = label->mapTo(page, QPoint()).y();
        if (!heading || y < top) {
            heading = label;
            top = y;
        }
    }
    return heading ? heading : page;
}

QString describe(const QWidget *w)
{
    QString text;
    if (auto *label = qobject_cast<const QLabel *>(w))
        text = label->text();
    else if (auto *button = qobject_cast<const QAbstractButton *>(w))
        text = button->text();
    return QStringLiteral("%1 \"%2\"").arg(w->objectName(), text);
}

} // namespace

QStringList TestConfigViewWindow::layoutFaults(const QModelIndex &row)
{
    QStringList faults;
    auto *outer = part<QScrollArea>(window, "scrollPages");
    QList<QAbstractScrollArea *> areas{outer};
    areas += tab()->findChildren<QAbstractScrollArea *>();
    for (QAbstractScrollArea *area : areas) {
        if (!area->isVisible() || qobject_cast<QTreeView *>(area))
            continue;
        if (area->horizontalScrollBar()->maximum() > 0 || area->horizontalScrollBar()->value() != 0)
            faults << QStringLiteral("%1 scrolls sideways: %2 of %3 px")
                          .arg(area->objectName())
                          .arg(area->horizontalScrollBar()->value())
                          .arg(area->horizontalScrollBar()->maximum());
    }
    // The view fits the window: the pages' own areas are the only ones.
    if (outer->verticalScrollBar()->maximum() > 0)
        faults << QStringLiteral("the page area scrolls too, by %1 px").arg(outer->verticalScrollBar()->maximum());

    // The channel tabs: in even columns, and above the sections, not over them.
    auto *channels = part<QWidget>(window, "widget_4");
    if (channels->isVisible()) {
        auto *sections = part<QWidget>(window, "scrollAreaChannelConfig");
        const QRect bar(channels->mapTo(window, QPoint()), channels->size());
        const QRect below(sections->mapTo(window, QPoint()), sections->size());
        if (bar.intersects(below))
            faults << QStringLiteral("the channel tabs reach %1 px into the sections")
                          .arg(bar.bottom() - below.top() + 1);
        for (int n = 2; n <= 7; ++n) {
            auto *tab = part<QWidget>(window, qPrintable(QStringLiteral("wdgChn%1").arg(n)));
            if (tab->width() != part<QWidget>(window, "wdgChn1")->width())
                faults << QStringLiteral("channel %1 is %2 px wide, channel 1 %3 px")
                              .arg(n)
                              .arg(tab->width())
                              .arg(part<QWidget>(window, "wdgChn1")->width());
        }
    }

    auto *page = row.data(Qt::UserRole).value<QWidget *>();
    // The reset page's marker has no height: the form under it is shown.
    if (page == part<QWidget>(window, "wdgResetJMP"))
        page = part<QWidget>(window, "wdgResetIP");
    // The channel name box stands under the general section's heading.
    if (page == part<QWidget>(window, "gpbChannelName"))
        page = part<QWidget>(window, "lblGeneralParam");
    QList<QWidget *> whole{headingOf(page)};
    if (page == part<QWidget>(window, "wdgResetDefConf"))
        whole << part<QWidget>(window, "btnReset");
    for (QWidget *w : whole) {
        const QRegion seen = w->visibleRegion();
        if (!w->isVisible() || seen.boundingRect() != w->rect() || seen.rectCount() != 1)
            faults << QStringLiteral("%1 is not seen whole: %2 of %3 x %4 px seen")
                          .arg(describe(w))
                          .arg(seen.boundingRect().width() * seen.boundingRect().height())
                          .arg(w->width())
                          .arg(w->height());
    }

    // The heading stands at the top of its area's view, where the first
    // section's does: nothing of a section above it is seen (the button of
    // the section before the last one would invite the wrong click).
    QWidget *heading = whole.first();
    QScrollArea *area = nullptr;
    for (QWidget *w = heading->parentWidget(); w && !area; w = w->parentWidget())
        area = qobject_cast<QScrollArea *>(w);
    if (!area)
        return faults << QStringLiteral("%1 lies in no scroll area").arg(describe(heading));
    const int below = heading->mapTo(area->viewport(), QPoint()).y();
    if (below > 50)
        faults << QStringLiteral("%1 stands %2 px below the top of the view").arg(describe(heading)).arg(below);
    const int headingTop = heading->mapTo(area->widget(), QPoint()).y();
    for (QObject *child : area->widget()->children()) {
        auto *section = qobject_cast<QWidget *>(child);
        if (!section || section->isAncestorOf(heading) || section->height() == 0
            || section->geometry().bottom() >= headingTop || section->visibleRegion().isEmpty())
            continue;
        faults << QStringLiteral("%1 of the section above is seen").arg(describe(section));
    }
    return faults;
}

void TestConfigViewWindow::treeRowsBringTheirHeadingsIntoView_data()
{
    QTest::addColumn<QString>("language");
    QTest::newRow("English") << QStringLiteral("en");
    QTest::newRow("German") << QStringLiteral("de");
}

// Every row of the navigation tree, in the window of the smallest screen
// the tool serves, brings its section's heading to the top of the part of
// the window one sees, in the one scroll area of its page, the last
// sections too; no page scrolls sideways.
void TestConfigViewWindow::treeRowsBringTheirHeadingsIntoView()
{
    QFETCH(QString, language);
    QCOMPARE(window->size(), QSize(1024, 768));
    switchTranslator(language);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
    auto *tree = part<QTreeView>(window, "treeSel");
    // The fieldbus row shows again with the next heartbeat.
    QTRY_VERIFY(!tree->isRowHidden(tab()->findIndexForPage(tab()->navModel()->rootItem(),
                                                             part<QWidget>(window, "wdgFBConfig")).row(),
                                   QModelIndex()));
    // As after reading a unit without reference values: a two-line error
    // above the pages leaves them the least room.
    QStringList names;
    for (int n = 1; n <= 7; ++n)
        names << QStringLiteral("Channel %1").arg(n);
    bar()->showError(QStringLiteral("There were no valid Reference values found for the following channels: ")
                         + names.join(QStringLiteral(" | ")),
                     true, true);
    QAbstractItemModel *model = tab()->navModel();
    // From the bottom up and then down again: each row from another place.
    QList<QModelIndex> rows;
    QList<QModelIndex> todo{QModelIndex()};
    while (!todo.isEmpty()) {
        const QModelIndex parent = todo.takeFirst();
        for (int r = 0; r < model->rowCount(parent); ++r) {
            rows << model->index(r, 0, parent);
            todo << rows.last();
        }
    }
    QList<QModelIndex> visits = rows;
    std::reverse(visits.begin(), visits.end());
    visits += rows;
    for (const QModelIndex &row : visits) {
        tree->selectionModel()->select(row, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        QStringList faults;
        // The layout settles through posted requests.
        (void)QTest::qWaitFor([&] {
            QCoreApplication::sendPostedEvents();
            faults = layoutFaults(row);
            return faults.isEmpty();
        }, 2000);
        QVERIFY2(faults.isEmpty(), qPrintable(QStringLiteral("%1, row \"%2\": %3")
                                                  .arg(language, row.data().toString(), faults.join(QStringLiteral("; ")))));
    }
}

// Language round trips leave the view fitting the window's page area.
void TestConfigViewWindow::sizesSteadyAcrossLanguageRoundTrips()
{
    showPage("wdgSensor");
    auto *area = part<QScrollArea>(window, "scrollAreaChannelConfig");
    // Until the unit's next heartbeat has shown the link's state again (a
    // language switch shows it anew) and the window's minimum size is the
    // one its layout asks for now.
    auto *linkState = part<QWidget>(window, "wdgChnnlStatSection");
    const auto settle = [this, linkState] {
        QVERIFY(QTest::qWaitFor([this, linkState] {
            QCoreApplication::sendPostedEvents();
            return linkState->isVisible() && window->minimumSize() == window->minimumSizeHint();
        }, 10000));
    };
    settle();
    // The view is as tall as the window's page area, in each language and
    // after each switch: never taller (to be scrolled a second time), never
    // growing with the switches.
    auto *pages = part<QScrollArea>(window, "scrollPages");
    QCOMPARE(tab()->height(), pages->viewport()->height());
    // The least size of the window and of the part above the pages (the
    // status bar's words) are the same for a language after any number of
    // switches, and fit the smallest window.
    auto *section = part<QScrollArea>(window, "scrollConnection")->widget();
    QMap<QString, QPair<QSize, QSize>> leastSizes;
    const auto compareLeastSizes = [&](const QString &language, const QString &when) {
        // A size change climbs the layouts one posted request per level.
        for (int level = 0; level < 8; ++level)
            QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        const QPair<QSize, QSize> now(window->minimumSizeHint(), section->minimumSizeHint());
        QVERIFY2(now.first.width() <= 1024 && now.first.height() <= 768 && now.second.width() <= 1024,
                 qPrintable(QStringLiteral("%1: window at least %2 x %3, status section %4 px wide")
                                .arg(when)
                                .arg(now.first.width())
                                .arg(now.first.height())
                                .arg(now.second.width())));
        const QPair<QSize, QSize> first = leastSizes.value(language, now);
        leastSizes.insert(language, first);
        QVERIFY2(now == first, qPrintable(QStringLiteral("%1: window at least %2 x %3, status section %4 px wide; "
                                                         "first %5 x %6, %7 px")
                                              .arg(when)
                                              .arg(now.first.width())
                                              .arg(now.first.height())
                                              .arg(now.second.width())
                                              .arg(first.first.width())
                                              .arg(first.first.height())
                                              .arg(first.second.width())));
    };
    compareLeastSizes(QStringLiteral("en"), QStringLiteral("start, en"));
    if (QTest::currentTestFailed())
        return;
    for (int round = 0; round < 3; ++round) {
        for (const QString &language : {QStringLiteral("de"), QStringLiteral("en")}) {
            switchTranslator(language);
            settle();
            const QString when = QStringLiteral("round %1, %2").arg(round + 1).arg(language);
            QVERIFY2(window->size() == QSize(1024, 768), qPrintable(when));
            QVERIFY2(tab()->height() == pages->viewport()->height(),
                     qPrintable(when + QStringLiteral(": view %1 px, page area %2 px")
                                           .arg(tab()->height())
                                           .arg(pages->viewport()->height())));
            QVERIFY2(pages->verticalScrollBar()->maximum() == 0, qPrintable(when));
            QVERIFY2(area->isVisible() && area->height() > 0, qPrintable(when));
            compareLeastSizes(language, when);
            if (QTest::currentTestFailed())
                return;
            // The link's words in the new language, not the form's.
            const QString link = part<QLabel>(window, "lblstatustxt")->text();
            QVERIFY2(link.startsWith(StatusBar::tr("Connected to ")), qPrintable(when + QStringLiteral(": ") + link));
        }
    }
}

void TestConfigViewWindow::nameRefusedByTheClickStopsIt_data()
{
    QTest::addColumn<QString>("button");
    QTest::newRow("Write Config to Device") << QStringLiteral("btnWriteConfig");
    QTest::newRow("Export Config") << QStringLiteral("btnSaveConfig");
}

// A name refused when the click on a write or export button takes the
// focus from it stops what the button starts: the user sees the refusal
// and nothing else happens.
void TestConfigViewWindow::nameRefusedByTheClickStopsIt()
{
    QFETCH(QString, button);
    int dialogs = 0;
    config()->setFileNameProvider([&dialogs](bool, const QString &, const QString &) {
        ++dialogs;
        return QString();
    });
    const auto restore = qScopeGuard(
        [] { config()->setFileNameProvider([](bool, const QString &, const QString &) { return QString(); }); });
    showPage("gpbChannelName");
    auto *name = part<QLineEdit>(window, "leditChannelName");
    auto *target = part<QAbstractButton>(window, qPrintable(button));
    QTRY_VERIFY(target->isEnabled());
    typeInto(name, QStringLiteral("X;Y"));
    QTest::mouseClick(target, Qt::LeftButton);
    QVERIFY(!name->hasFocus());
    QCOMPARE(takeBarTexts(), QStringList{Confighandler::channelNameProblem(QStringLiteral(";"))});
    QCOMPARE(name->text(), QStringLiteral("Channel 1"));
    QCOMPARE(dialogs, 0);
    for (const UnitSimRequest &r : unit->requestLog())
        QVERIFY2(r.command != EthernetHandler::CmdWriteParam, qPrintable(QString::number(r.paramId)));
    QVERIFY(!config()->waitingForFeedback());

    // The next click, with nothing refused, does its work (the user's
    // clicks are events of their own).
    QTRY_VERIFY(!tab()->editRefusedFor(target));
    QTest::mouseClick(target, Qt::LeftButton);
    if (button == QLatin1String("btnWriteConfig"))
        QTRY_VERIFY(writesTo(EthernetHandler::ParamDeviceName) == 1);
    else
        QCOMPARE(dialogs, 1);
    QTRY_VERIFY_WITH_TIMEOUT(!config()->waitingForFeedback(), 20000);
}

// A decimal comma typed into the current box of the English window is read
// as the decimal point, not dropped (which made 12,5 into 125, refused, and
// the box kept 12).
void TestConfigViewWindow::decimalCommaInTheCurrentBox()
{
    CFG_Device_Param_struct block = readBlock;
    block.setOutputSelect(1);
    block.setReferenceSkw(0, 300);
    block.setScale(0, 9000);
    QCOMPARE(config()->setDeviceConfig(block), ERR_OK);
    showPage("wdgConfigOutputTab");
    auto *current = part<QDoubleSpinBox>(window, "dspnRefCurr");
    QVERIFY(current->isEnabled());
    QCOMPARE(current->locale().decimalPoint(), QLatin1Char('.'));
    current->setFocus(Qt::MouseFocusReason);
    QTRY_VERIFY(current->hasFocus());
    QTest::keyClick(current, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(current, QStringLiteral("12,5"));
    QTest::keyClick(current, Qt::Key_Return);
    QCOMPARE(current->value(), 12.5);
    QCOMPARE(int(config()->getDeviceConfig().scale(0)), 12500);
}

void TestConfigViewWindow::untouchedCurrentKeepsTheStoredScale_data()
{
    QTest::addColumn<QString>("typed");  // empty: nothing typed
    QTest::addColumn<bool>("writeAtOnce");  // the click on Write takes the focus, not Tab
    QTest::addColumn<int>("written");

    QTest::newRow("left unchanged, Tab") << QString() << false << 12345;
    QTest::newRow("left unchanged, Write at once") << QString() << true << 12345;
    QTest::newRow("12.5 typed, Tab") << QStringLiteral("12.5") << false << 12500;
    QTest::newRow("12.5 typed, Write at once") << QStringLiteral("12.5") << true << 12500;
}

// A reference run leaves scales to the µA, which the current box shows to
// two decimals (12345 as 12.35 mA). Clicking into the box and leaving it
// changes nothing on the unit; a typed value goes there as typed.
void TestConfigViewWindow::untouchedCurrentKeepsTheStoredScale()
{
    QFETCH(QString, typed);
    QFETCH(bool, writeAtOnce);
    QFETCH(int, written);

    // Channel 6 of the unit has a reference run behind it; the tool has read it.
    const int scaleParam = EthernetHandler::ParamChannelScale + 5;
    const int referenceParam = EthernetHandler::ParamChannelRefSkw + 5;
    const uint16_t unitScale = unitValue16(scaleParam);
    const uint16_t unitReference = unitValue16(referenceParam);
    const auto restore = qScopeGuard([&] {
        setUnitValue16(scaleParam, unitScale);
        setUnitValue16(referenceParam, unitReference);
    });
    setUnitValue16(scaleParam, 12345);
    setUnitValue16(referenceParam, 300);
    CFG_Device_Param_struct block = readBlock;
    block.setOutputSelect(1);
    block.setScale(5, 12345);
    block.setReferenceSkw(5, 300);
    QCOMPARE(config()->setDeviceConfig(block), ERR_OK);

    QTest::mouseClick(channelButton(6), Qt::LeftButton);
    QCOMPARE(tab()->currentChannel(), 5);
    showPage("wdgConfigOutputTab");
    auto *current = part<QDoubleSpinBox>(window, "dspnRefCurr");
    QVERIFY(current->isEnabled());
    QCOMPARE(current->text(), QStringLiteral("12.35mA"));

    if (typed.isEmpty()) {
        current->setFocus(Qt::MouseFocusReason);
        QTRY_VERIFY(current->hasFocus());
    } else {
        typeInto(current, typed);
    }
    if (!writeAtOnce) {
        QTest::keyClick(current, Qt::Key_Tab);
        QVERIFY(!current->hasFocus());
        QCOMPARE(int(config()->getDeviceConfig().scale(5)), written);
    }
    writeToUnit();
    QCOMPARE(writesTo(scaleParam), 1);
    QCOMPARE(int(unitValue16(scaleParam)), written);
    QCOMPARE(int(config()->getDeviceConfig().scale(5)), written);
    QCOMPARE(current->text(), typed.isEmpty() ? QStringLiteral("12.35mA") : QStringLiteral("12.50mA"));
}

void TestConfigViewWindow::passedOverMappingDoesNotReachTheUnit_data()
{
    QTest::addColumn<int>("ups");       // Up presses in "Design Model"
    QTest::addColumn<QString>("model");  // what it shows then
    QTest::addColumn<int>("written");   // the mapping the unit gets for channel 1

    // Cylindrical Roller leaves mapping 106 alone; Angular Contact 104 and 105.
    QTest::newRow("passed over") << 2 << QStringLiteral("Angular Contact") << 12;
    QTest::newRow("completed and left in place") << 1 << QStringLiteral("Cylindrical Roller") << 106;
}

// Walking through the design models with the keyboard writes each one that
// leaves a single mapping; one the user walks past must not go to the unit.
void TestConfigViewWindow::passedOverMappingDoesNotReachTheUnit()
{
    QFETCH(int, ups);
    QFETCH(QString, model);
    QFETCH(int, written);

    const QByteArray unitBlob = unit->parameters().value(EthernetHandler::ParamConfigBlob);
    const auto restore = qScopeGuard(
        [&] { unit->parameters().setValue(EthernetHandler::ParamConfigBlob, unitBlob); });
    const CFG_ChannelMapping_struct before = unitMappingEntry(0);
    QCOMPARE(before.id(), 12);

    showPage("wdgMapping");
    auto *family = part<QComboBox>(window, "cmbDevFamily");
    auto *size = part<QComboBox>(window, "cmbDevSize");
    auto *type = part<QComboBox>(window, "cmbDevType");
    auto *variant = part<QComboBox>(window, "cmbDevVariant");
    const auto pick = [](QComboBox *box, const QString &text) {
        const int index = box->findText(text, Qt::MatchExactly);
        box->setCurrentIndex(index);
        return index >= 0 && box->currentText() == text;
    };
    QVERIFY(pick(family, QStringLiteral("Spindle Bearing")));
    QVERIFY(pick(size, QStringLiteral("65")));
    size->setFocus(Qt::MouseFocusReason);
    QTRY_VERIFY(size->hasFocus());
    QTest::keyClick(size, Qt::Key_Tab);
    QTRY_VERIFY(type->hasFocus());
    QCOMPARE(type->currentText(), QStringLiteral("custom entry"));
    for (int n = 0; n < ups; ++n)
        QTest::keyClick(type, Qt::Key_Up);
    QCOMPARE(type->currentText(), model);
    CFG_ChannelMapping_struct entry;
    config()->channelEntry(0, entry);
    QCOMPARE(entry.id(), written);
    if (written == 12) {
        // The page keeps the user's choice, open to be completed.
        QCOMPARE(family->currentText(), QStringLiteral("Spindle Bearing"));
        QCOMPARE(size->currentText(), QStringLiteral("65"));
        QCOMPARE(variant->currentText(), QStringLiteral("custom entry"));
        QVERIFY(variant->isEnabled());
    }

    writeToUnit();
    QCOMPARE(writesTo(EthernetHandler::ParamConfigBlob), 1);
    const CFG_ChannelMapping_struct sent = unitMappingEntry(0);
    QCOMPARE(sent.id(), written);
    if (written == 12) {
        QCOMPARE(sent.toBytes().left(35).toHex(), before.toBytes().left(35).toHex());
    } else {
        // Cylindrical Roller with oil: Tau 2000, segment time 10000, factor 63.
        QCOMPARE(int(sent.tau()), 2000);
        QCOMPARE(int(sent.segmentTime()), 10000);
        QCOMPARE(int(sent.referenceScaleFactor()), 63);
    }

    // Shown again, the channel shows what it holds.
    QTest::mouseClick(channelButton(2), Qt::LeftButton);
    QTest::mouseClick(channelButton(1), Qt::LeftButton);
    const QStringList shown{family->currentText(), type->currentText(), variant->currentText(),
                            size->currentText(), part<QComboBox>(window, "cmbLubType")->currentText(),
                            part<QComboBox>(window, "cmbVersion")->currentText()};
    QCOMPARE(shown.join(QLatin1Char(' ')), Databasecont::instance().getMappingText(written));
}

QTEST_MAIN(TestConfigViewWindow)
#include "tst_configview_window.moc"
