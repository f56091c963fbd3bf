// The configuration view: its navigation tree and pages, page selection by
// tree row and by overview tile id, the fieldbus row following the
// heartbeat, the channel selector and the channel enable mask.
#include <QAbstractItemModelTester>
#include <QCheckBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QSignalSpy>
#include <QSpinBox>
#include <QStackedWidget>
#include <QToolButton>
#include <QTreeView>
#include <QtTest>

#include "configoutputtab.h"
#include "confighandler.h"
#include "configtab.h"
#include "device.h"
#include "metatypes.h"
#include "navtreemodel.h"

namespace {

Confighandler *model()
{
    return Device::instance()->confighandler();
}

template <typename T>
T *part(QWidget &page, const char *name)
{
    T *widget = page.findChild<T *>(QString::fromLatin1(name));
    if (!widget)
        qFatal("no widget %s", name);
    return widget;
}

HearBeatMessage_t heartbeat(uint16_t network, uint16_t module = 0x0402, uint32_t moduleState = 0,
                            uint32_t commState = 1)
{
    HearBeatMessage_t hb;
    hb.fieldbus.networkType = network;
    hb.fieldbus.moduleType = module;
    hb.fieldbus.moduleState = moduleState;
    hb.fieldbus.commState = commState;
    return hb;
}

const QHostAddress kUnit(QStringLiteral("198.18.0.2"));

} // namespace

class TestConfigTab : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void startState();
    void rowsLeadToPages_data();
    void rowsLeadToPages();
    void tilesSelectPages_data();
    void tilesSelectPages();
    void fieldbusRow_data();
    void fieldbusRow();
    void fieldbusRowGivesWay();
    void channelSwitch();
    void channelSwitchKeepsTypedValues();
    void channelNames();
    void enableMask();
    void languageChangeKeepsThePage();

private:
    QTreeView *tree() { return part<QTreeView>(*tab, "treeSel"); }
    QStackedWidget *stack() { return part<QStackedWidget>(*tab, "stackedWidget"); }
    bool fieldbusRowShown();
    void selectPage(const char *page);

    ConfigTab *tab = nullptr;
};

void TestConfigTab::initTestCase()
{
    registerMetaTypes();
}

void TestConfigTab::init()
{
    model()->setDefaultConfig();
    tab = new ConfigTab;
    tab->resize(1100, 800);
    tab->show();
}

void TestConfigTab::cleanup()
{
    delete tab;
    tab = nullptr;
}

bool TestConfigTab::fieldbusRowShown()
{
    const QModelIndex row = tab->findIndexForPage(tab->navModel()->rootItem(),
                                                  part<QWidget>(*tab, "wdgFBConfig"));
    return row.isValid() && !tree()->isRowHidden(row.row(), row.parent());
}

void TestConfigTab::selectPage(const char *page)
{
    const QModelIndex row = tab->findIndexForPage(tab->navModel()->rootItem(), part<QWidget>(*tab, page));
    QVERIFY(row.isValid());
    tree()->selectionModel()->select(row, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void TestConfigTab::startState()
{
    QAbstractItemModelTester tester(tab->navModel(), QAbstractItemModelTester::FailureReportingMode::QtTest);
    NavTreeModel *nav = tab->navModel();
    QCOMPARE(nav->rowCount(), 7);
    QStringList shown;
    for (int row = 0; row < nav->rowCount(); ++row) {
        if (!tree()->isRowHidden(row, QModelIndex()))
            shown << nav->index(row, 0).data().toString();
        QVERIFY(tree()->isExpanded(nav->index(row, 0)));
    }
    QCOMPARE(shown, QStringList({"Common Settings", "PPU Network Settings", "Channel Configuration",
                                 "Product Information", "Update Firmware", "Reset"}));
    QCOMPARE(nav->rowCount(nav->index(2, 0)), 4);
    QCOMPARE(nav->rowCount(nav->index(6, 0)), 2);
    QCOMPARE(tab->selectedPage(), part<QWidget>(*tab, "wdgCommonParam"));
    QCOMPARE(stack()->currentWidget()->objectName(), QStringLiteral("pageCommonParam"));
    QVERIFY(part<QToolButton>(*tab, "btnChn1")->isChecked());
    QCOMPARE(tab->currentChannel(), 0);
    QCOMPARE(part<ConfigOutputTab>(*tab, "wdgConfigOutputTab")->channel(), 0);
    QVERIFY(part<QWidget>(*tab, "lineProParam")->isHidden());
    // The marker column is drawn before the names.
    QCOMPARE(tree()->header()->visualIndex(1), 0);
    QCOMPARE(tree()->columnWidth(1), 5);
}

void TestConfigTab::rowsLeadToPages_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("stackPage");

    QTest::newRow("network") << "wdgConnParam" << "pageConnParam";
    QTest::newRow("general") << "gpbChannelName" << "pageChannelConfig";
    QTest::newRow("sensor") << "wdgSensor" << "pageChannelConfig";
    QTest::newRow("mapping") << "wdgMapping" << "pageChannelConfig";
    QTest::newRow("output") << "wdgConfigOutputTab" << "pageChannelConfig";
    QTest::newRow("firmware") << "wdgUpdateFW" << "pageUpdate";
    QTest::newRow("reset") << "wdgResetJMP" << "pageReset";
    QTest::newRow("reset default") << "wdgResetDefConf" << "pageReset";
    QTest::newRow("common") << "wdgCommonParam" << "pageCommonParam";
}

void TestConfigTab::rowsLeadToPages()
{
    QFETCH(QString, page);
    QFETCH(QString, stackPage);
    selectPage(qPrintable(page));
    QCOMPARE(stack()->currentWidget()->objectName(), stackPage);
    QCOMPARE(tab->selectedPage()->objectName(), page);
}

void TestConfigTab::tilesSelectPages_data()
{
    QTest::addColumn<int>("id");
    QTest::addColumn<QString>("page");

    QTest::newRow("0") << 0 << "wdgCommonParam";
    QTest::newRow("1") << 1 << "wdgSensor";
    QTest::newRow("2") << 2 << "wdgMapping";
    QTest::newRow("5") << 5 << "wdgConnParam";
    QTest::newRow("6") << 6 << "wdgUpdateFW";
    QTest::newRow("3 has no page") << 3 << "wdgConnParam";
    QTest::newRow("7") << 7 << "wdgConnParam";
    QTest::newRow("-1") << -1 << "wdgConnParam";
}

void TestConfigTab::tilesSelectPages()
{
    QFETCH(int, id);
    QFETCH(QString, page);
    selectPage("wdgConnParam");
    tab->HandletilePressedSlot(id);
    QCOMPARE(tab->selectedPage()->objectName(), page);
}

void TestConfigTab::fieldbusRow_data()
{
    QTest::addColumn<int>("network");
    QTest::addColumn<int>("module");
    QTest::addColumn<int>("moduleState");
    QTest::addColumn<int>("commState");
    QTest::addColumn<bool>("usable");

    QTest::newRow("PROFINET RT 2-port") << 0x96 << 0x0402 << 0 << 1 << true;
    QTest::newRow("0x98") << 0x98 << 0x0401 << 6 << 2 << true;
    QTest::newRow("0x9F") << 0x9F << 0x0403 << 0 << 0 << true;
    QTest::newRow("0x97 unknown") << 0x97 << 0x0402 << 0 << 1 << false;
    QTest::newRow("0xAF unknown") << 0xAF << 0x0402 << 0 << 1 << false;
    QTest::newRow("no module") << 0xFFFF << 0x0402 << 0 << 1 << false;
    QTest::newRow("module 0x0400") << 0x96 << 0x0400 << 0 << 1 << false;
    QTest::newRow("module 0x0404") << 0x96 << 0x0404 << 0 << 1 << false;
    QTest::newRow("module state 7") << 0x96 << 0x0402 << 7 << 1 << false;
    QTest::newRow("communication state 3") << 0x96 << 0x0402 << 0 << 3 << false;
}

void TestConfigTab::fieldbusRow()
{
    QFETCH(int, network);
    QFETCH(int, module);
    QFETCH(int, moduleState);
    QFETCH(int, commState);
    QFETCH(bool, usable);

    QSignalSpy shown(tab, &ConfigTab::showFBTile);
    QSignalSpy hidden(tab, &ConfigTab::hideFBTile);
    HearBeatMessage_t hb = heartbeat(uint16_t(network), uint16_t(module), uint32_t(moduleState),
                                     uint32_t(commState));
    tab->connectionsuccesfull(hb, kUnit);
    QCOMPARE(fieldbusRowShown(), usable);
    QCOMPARE(shown.count(), usable ? 1 : 0);
    QCOMPARE(hidden.count(), usable ? 0 : 1);
    QCOMPARE(!part<QWidget>(*tab, "wdgFBConfig")->isHidden(), usable);

    tab->lostconnection();
    QVERIFY(!fieldbusRowShown());
}

void TestConfigTab::fieldbusRowGivesWay()
{
    HearBeatMessage_t good = heartbeat(0x96);
    tab->connectionsuccesfull(good, kUnit);
    tab->HandletilePressedSlot(4);
    QCOMPARE(tab->selectedPage()->objectName(), QStringLiteral("wdgFBConfig"));
    QCOMPARE(stack()->currentWidget()->objectName(), QStringLiteral("pageFBConfig"));

    HearBeatMessage_t bad = heartbeat(0x96, 0x0404);
    tab->connectionsuccesfull(bad, kUnit);
    QCOMPARE(tab->selectedPage()->objectName(), QStringLiteral("wdgCommonParam"));
    QCOMPARE(stack()->currentWidget()->objectName(), QStringLiteral("pageCommonParam"));

    // Another page selected stays selected when the module goes.
    tab->connectionsuccesfull(good, kUnit);
    selectPage("wdgUpdateFW");
    tab->connectionsuccesfull(bad, kUnit);
    QCOMPARE(tab->selectedPage()->objectName(), QStringLiteral("wdgUpdateFW"));
}

void TestConfigTab::channelSwitch()
{
    model()->setChannelname(QStringLiteral("Gearbox"), 2);
    QStringList order;
    connect(tab, &ConfigTab::saveCommonParams, this, [&] { order << QStringLiteral("save"); });
    connect(tab, &ConfigTab::currentChannelchanged, this,
            [&](int32_t c) { order << QStringLiteral("channel %1").arg(c); });
    QTest::mouseClick(part<QToolButton>(*tab, "btnChn3"), Qt::LeftButton);
    QCOMPARE(order, QStringList({"save", "channel 2"}));
    QCOMPARE(tab->currentChannel(), 2);
    QCOMPARE(part<ConfigOutputTab>(*tab, "wdgConfigOutputTab")->channel(), 2);
    QCOMPARE(part<QLineEdit>(*tab, "leditChannelName")->text(), QStringLiteral("Gearbox"));
    QVERIFY(part<QCheckBox>(*tab, "chkChn3")->property("isBackground2").toBool());
    QVERIFY(!part<QCheckBox>(*tab, "chkChn1")->property("isBackground2").toBool());

    // A name typed here goes to the current channel.
    auto *edit = part<QLineEdit>(*tab, "leditChannelName");
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, QStringLiteral("Gearbox out"));
    QTest::keyClick(edit, Qt::Key_Enter);
    QCOMPARE(model()->channelName(2), QStringLiteral("Gearbox out"));
    QCOMPARE(model()->channelName(0), QStringLiteral("Channel 1"));
}

void TestConfigTab::channelSwitchKeepsTypedValues()
{
    // A debounce time typed but not yet confirmed is stored by the switch.
    selectPage("wdgCommonParam");
    auto *debounce = part<QSpinBox>(*tab, "spnSWDeadtime");
    debounce->setFocus();
    debounce->selectAll();
    QTest::keyClicks(debounce, QStringLiteral("37"));
    QCOMPARE(model()->getDeviceConfig().debounceTime(), uint16_t(1));
    part<QToolButton>(*tab, "btnChn2")->click();
    QCOMPARE(model()->getDeviceConfig().debounceTime(), uint16_t(37));
    QCOMPARE(tab->currentChannel(), 1);
}

void TestConfigTab::channelNames()
{
    auto *button = part<QToolButton>(*tab, "btnChn5");
    model()->setChannelname(QStringLiteral("Main bearing"), 4);
    QCOMPARE(button->text(), QStringLiteral("Main bearing"));
    QVERIFY(button->toolTip().isEmpty());
    model()->setChannelname(QStringLiteral("Main bearings"), 4);
    QCOMPARE(button->text(), QStringLiteral("Main bearing ..."));
    QCOMPARE(button->toolTip(), QStringLiteral("Main bearings"));
    tab->updateChannelname(QStringLiteral("other"), 7);
    QCOMPARE(button->text(), QStringLiteral("Main bearing ..."));
    // A name the model refuses leaves the button as it was.
    QVERIFY(model()->setChannelname(QStringLiteral("a;b"), 4) != ERR_OK);
    QCOMPARE(button->text(), QStringLiteral("Main bearing ..."));
}

void TestConfigTab::enableMask()
{
    QCOMPARE(model()->getDeviceConfig().channelEnableMask(), uint8_t(0x7F));
    model()->emitConfigChanged();
    QVERIFY(part<QCheckBox>(*tab, "chkChn4")->isChecked());

    // Pressing a channel's frame toggles its enable box; the channel stays.
    QTest::mousePress(part<QWidget>(*tab, "wdgChn4"), Qt::LeftButton, {}, QPoint(2, 2));
    QCOMPARE(model()->getDeviceConfig().channelEnableMask(), uint8_t(0x77));
    QCOMPARE(tab->currentChannel(), 0);
    QTest::mouseClick(part<QCheckBox>(*tab, "chkChn1"), Qt::LeftButton);
    QCOMPARE(model()->getDeviceConfig().channelEnableMask(), uint8_t(0x76));

    // The model's block sets the boxes without writing back.
    CFG_Device_Param_struct block = model()->getDeviceConfig();
    block.setChannelEnableMask(0x01);
    QSignalSpy changed(model(), &Confighandler::ConfigDevicechanged);
    QCOMPARE(model()->setDeviceConfig(block), ERR_OK);
    QCOMPARE(changed.count(), 1);
    QVERIFY(part<QCheckBox>(*tab, "chkChn1")->isChecked());
    QVERIFY(!part<QCheckBox>(*tab, "chkChn2")->isChecked());
}

void TestConfigTab::languageChangeKeepsThePage()
{
    HearBeatMessage_t good = heartbeat(0x96);
    tab->connectionsuccesfull(good, kUnit);
    selectPage("wdgMapping");
    QVERIFY(fieldbusRowShown());
    QEvent event(QEvent::LanguageChange);
    QCoreApplication::sendEvent(tab, &event);
    QCOMPARE(tab->selectedPage()->objectName(), QStringLiteral("wdgMapping"));
    QCOMPARE(stack()->currentWidget()->objectName(), QStringLiteral("pageChannelConfig"));
    QVERIFY(!fieldbusRowShown());
}

QTEST_MAIN(TestConfigTab)
#include "tst_configtab.moc"
