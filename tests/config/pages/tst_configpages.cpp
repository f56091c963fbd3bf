// The configuration pages against the configuration model: what they show
// of a device block and what an edit writes back, the output page's
// reference-run cases, and the channel enable bar.
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QGraphicsColorizeEffect>
#include <QLineEdit>
#include <QPushButton>
#include <QCheckBox>
#include <QSignalSpy>
#include <QSpinBox>
#include <QStackedWidget>
#include <QtTest>

#include "channelenablebar.h"
#include "configcommonparams.h"
#include "confighandler.h"
#include "configoutputtab.h"
#include "device.h"
#include "graphpalette.h"
#include "linegraph.h"
#include "metatypes.h"

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

// Types into a spin box and leaves it, as the engineer does.
void enter(QAbstractSpinBox *box, const QString &text)
{
    box->setFocus();
    box->selectAll();
    QTest::keyClicks(box, text);
    QTest::keyClick(box, Qt::Key_Enter);
}

void setFactor(uint8_t channel, uint8_t factor)
{
    CFG_Blob_struct_sorted blob = model()->getConfigBlob();
    const uint8_t entry = model()->channelEntryIndex(channel);
    QVERIFY(entry < 7);
    CFG_ChannelMapping_struct mapping = blob.mapping(entry);
    mapping.setReferenceScaleFactor(factor);
    blob.setMapping(entry, mapping);
    QCOMPARE(model()->sealBlob(blob), ERR_OK);
}

} // namespace

class TestConfigPages : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();

    void commonShowsTheBlock();
    void commonEdits_data();
    void commonEdits();
    void commonNameOnlyWhenModified();
    void commonRetextingWritesNothing();
    void outputCases_data();
    void outputCases();
    void outputEditWritesOnlyItsField();
    void outputFollowsTheChannel();
    void barMaskAndNames();
    void barColours();
};

void TestConfigPages::initTestCase()
{
    registerMetaTypes();
}

void TestConfigPages::init()
{
    model()->setDefaultConfig();
}

void TestConfigPages::commonShowsTheBlock()
{
    ConfigCommonParams page;
    page.show();
    QSignalSpy changed(model(), &Confighandler::ConfigDevicechanged);
    CFG_Device_Param_struct block = model()->getDeviceConfig();
    block.setOutputSelect(1);
    block.setOutputInversion(0);
    block.setDebounceTime(42);
    QCOMPARE(model()->setDeviceConfig(block), ERR_OK);
    QCOMPARE(changed.count(), 1); // showing it writes nothing back
    QCOMPARE(part<QComboBox>(page, "cmbOutputselect")->currentIndex(), 1);
    QVERIFY(!part<QComboBox>(page, "cmbOutputInversion")->isEnabled());
    QCOMPARE(part<QComboBox>(page, "cmbOutputInversion")->currentIndex(), 0);
    QCOMPARE(part<QSpinBox>(page, "spnSWDeadtime")->value(), 42);
    model()->setDevicename(QStringLiteral("Press line 4"));
    QCOMPARE(part<QLineEdit>(page, "leditDeviceName")->text(), QStringLiteral("Press line 4"));
}

void TestConfigPages::commonEdits_data()
{
    QTest::addColumn<QString>("widget");
    QTest::addColumn<QString>("input");
    QTest::addColumn<int>("debounce");
    QTest::addColumn<int>("output");
    QTest::addColumn<int>("level");
    QTest::addColumn<bool>("levelEnabled");

    // Defaults: debounce 1, output 2 "Digital", level 1 "High 24V".
    QTest::newRow("analog") << "cmbOutputselect" << "1" << 1 << 1 << 1 << false;
    QTest::newRow("off") << "cmbOutputselect" << "0" << 1 << 0 << 1 << true;
    QTest::newRow("low level") << "cmbOutputInversion" << "0" << 1 << 2 << 0 << true;
    QTest::newRow("debounce 100") << "spnSWDeadtime" << "100" << 100 << 2 << 1 << true;
    QTest::newRow("debounce above range") << "spnSWDeadtime" << "250" << 25 << 2 << 1 << true;
    QTest::newRow("debounce 0") << "spnSWDeadtime" << "0" << 0 << 2 << 1 << true;
}

void TestConfigPages::commonEdits()
{
    QFETCH(QString, widget);
    QFETCH(QString, input);
    QFETCH(int, debounce);
    QFETCH(int, output);
    QFETCH(int, level);
    QFETCH(bool, levelEnabled);

    ConfigCommonParams page;
    page.show();
    model()->emitConfigChanged();
    if (widget.startsWith(QLatin1String("cmb")))
        part<QComboBox>(page, qPrintable(widget))->setCurrentIndex(input.toInt());
    else
        enter(part<QSpinBox>(page, qPrintable(widget)), input);
    const CFG_Device_Param_struct block = model()->getDeviceConfig();
    QCOMPARE(int(block.debounceTime()), debounce);
    QCOMPARE(int(block.outputSelect()), output);
    QCOMPARE(int(block.outputInversion()), level);
    QCOMPARE(part<QComboBox>(page, "cmbOutputInversion")->isEnabled(), levelEnabled);
}

void TestConfigPages::commonNameOnlyWhenModified()
{
    ConfigCommonParams page;
    page.show();
    model()->emitConfigChanged();
    QSignalSpy names(model(), &Confighandler::Devicenamechanged);
    auto *edit = part<QLineEdit>(page, "leditDeviceName");
    emit edit->editingFinished();
    QCOMPARE(names.count(), 0);
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, QStringLiteral("Mill 7"));
    QTest::keyClick(edit, Qt::Key_Enter);
    QCOMPARE(names.count(), 1);
    QCOMPARE(model()->deviceName(), QStringLiteral("Mill 7"));
    QVERIFY(!edit->isModified());
}

void TestConfigPages::commonRetextingWritesNothing()
{
    ConfigCommonParams page;
    CFG_Device_Param_struct block = model()->getDeviceConfig();
    block.setOutputSelect(1);
    QCOMPARE(model()->setDeviceConfig(block), ERR_OK);
    QSignalSpy changed(model(), &Confighandler::ConfigDevicechanged);
    // A language change refills the combos; their index changes are no edits.
    QEvent event(QEvent::LanguageChange);
    QCoreApplication::sendEvent(&page, &event);
    QCOMPARE(model()->getDeviceConfig().outputSelect(), uint8_t(1));
    QCOMPARE(part<QComboBox>(page, "cmbOutputselect")->currentIndex(), 1);
    QCOMPARE(part<QComboBox>(page, "cmbOutputselect")->count(), 3);
    // Only the refresh of emitConfigChanged, no write.
    for (const auto &args : changed)
        QCOMPARE(args.at(0).value<CFG_Device_Param_struct>().outputSelect(), uint8_t(1));
}

void TestConfigPages::outputCases_data()
{
    QTest::addColumn<int>("output");
    QTest::addColumn<int>("reference");
    QTest::addColumn<int>("scale");
    QTest::addColumn<int>("threshold");
    QTest::addColumn<QString>("page");
    QTest::addColumn<bool>("editable");
    QTest::addColumn<QString>("measured");
    QTest::addColumn<QString>("suggestion");
    QTest::addColumn<double>("current");

    // Reference scale factor 50 (x 25 = 2.0) throughout; German numbers.
    QTest::newRow("digital, no reference") << 2 << -1 << 12000 << 450 << "page_Digital" << false << "---"
                                           << "---" << 0.0;
    QTest::newRow("off, no reference") << 0 << -1 << 12000 << 450 << "page_Digital" << false << "---" << "---"
                                       << 0.0;
    QTest::newRow("analog, no reference") << 1 << -1 << 12000 << 450 << "page_Analog" << false << "---" << "---"
                                          << 4.8;
    QTest::newRow("analog, reference 300") << 1 << 300 << 12000 << 450 << "page_Analog" << true << "300"
                                           << "24,00 mA" << 12.0;
    QTest::newRow("digital, reference 300") << 2 << 300 << 12000 << 450 << "page_Digital" << true << "300"
                                            << "600" << 0.0;
    QTest::newRow("analog, reference 0: editable, shown, no suggestion")
        << 1 << 0 << 9000 << 450 << "page_Analog" << true << "---" << "---" << 9.0;
    QTest::newRow("digital, reference 0") << 2 << 0 << 12000 << 450 << "page_Digital" << true << "---" << "---"
                                          << 0.0;
}

void TestConfigPages::outputCases()
{
    QFETCH(int, output);
    QFETCH(int, reference);
    QFETCH(int, scale);
    QFETCH(int, threshold);
    QFETCH(QString, page);
    QFETCH(bool, editable);
    QFETCH(QString, measured);
    QFETCH(QString, suggestion);
    QFETCH(double, current);

    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    ConfigOutputTab tab;
    tab.show();
    tab.channelIdxchanged(3);
    setFactor(3, 50);
    CFG_Device_Param_struct block = model()->getDeviceConfig();
    block.setOutputSelect(uint8_t(output));
    block.setReferenceSkw(3, int16_t(reference));
    block.setScale(3, uint16_t(scale));
    block.setThreshold(3, uint16_t(threshold));
    QCOMPARE(model()->setDeviceConfig(block), ERR_OK);

    const bool analog = output == 1;
    QCOMPARE(part<QStackedWidget>(tab, "stackedWidget")->currentWidget()->objectName(), page);
    QAbstractSpinBox *edit = analog ? static_cast<QAbstractSpinBox *>(part<QDoubleSpinBox>(tab, "dspnRefCurr"))
                                    : part<QSpinBox>(tab, "spnComVal");
    QCOMPARE(edit->isEnabled(), editable);
    QCOMPARE(edit->toolTip().isEmpty(), editable);
    if (!editable)
        QCOMPARE(edit->toolTip(), QStringLiteral("conduct a reference run to change this value"));
    QCOMPARE(part<QLineEdit>(tab, analog ? "leditMeasSKW1" : "leditMeasSKW2")->text(), measured);
    QCOMPARE(part<QLineEdit>(tab, analog ? "leditSuggCurr" : "leditSuggCompVal")->text(), suggestion);
    if (analog) {
        QCOMPARE(part<QDoubleSpinBox>(tab, "dspnRefCurr")->value(), current);
        QCOMPARE(part<QDoubleSpinBox>(tab, "dspnRefCurr")->maximum(), 14.0);
    } else {
        QCOMPARE(part<QSpinBox>(tab, "spnComVal")->value(), threshold);
    }
    QLocale::setDefault(QLocale::c());
}

void TestConfigPages::outputEditWritesOnlyItsField()
{
    ConfigOutputTab tab;
    tab.show();
    tab.channelIdxchanged(2);
    CFG_Device_Param_struct block = model()->getDeviceConfig();
    block.setOutputSelect(1);
    block.setReferenceSkw(2, 300);
    block.setScale(2, 12345); // shown as 12.35 mA
    block.setThreshold(2, 450);
    QCOMPARE(model()->setDeviceConfig(block), ERR_OK);

    // The limit, edited on the digital page, leaves the scale as it was.
    block.setOutputSelect(2);
    QCOMPARE(model()->setDeviceConfig(block), ERR_OK);
    enter(part<QSpinBox>(tab, "spnComVal"), QStringLiteral("20"));
    QCOMPARE(model()->getDeviceConfig().threshold(2), uint16_t(20));
    QCOMPARE(model()->getDeviceConfig().scale(2), uint16_t(12345));

    // The current stores its own field, rounded to whole µA.
    block = model()->getDeviceConfig();
    block.setOutputSelect(1);
    QCOMPARE(model()->setDeviceConfig(block), ERR_OK);
    QLocale::setDefault(QLocale::c());
    enter(part<QDoubleSpinBox>(tab, "dspnRefCurr"), QStringLiteral("12.5"));
    QCOMPARE(model()->getDeviceConfig().scale(2), uint16_t(12500));
    QCOMPARE(model()->getDeviceConfig().threshold(2), uint16_t(20));
    // No other channel changed.
    QCOMPARE(model()->getDeviceConfig().scale(1), uint16_t(7200));
}

void TestConfigPages::outputFollowsTheChannel()
{
    ConfigOutputTab tab;
    CFG_Device_Param_struct block = model()->getDeviceConfig();
    block.setOutputSelect(1);
    block.setReferenceSkw(0, 300);
    block.setScale(0, 12000);
    block.setReferenceSkw(1, 0);
    block.setScale(1, 5000);
    QCOMPARE(model()->setDeviceConfig(block), ERR_OK);
    tab.channelIdxchanged(0);
    QCOMPARE(part<QDoubleSpinBox>(tab, "dspnRefCurr")->value(), 12.0);
    // Channel 1 has a reference of 0: its own current, not channel 0's.
    tab.channelIdxchanged(1);
    QCOMPARE(tab.channel(), 1);
    QCOMPARE(part<QDoubleSpinBox>(tab, "dspnRefCurr")->value(), 5.0);
    QVERIFY(!part<QWidget>(tab, "gpbMeasSKW1")->isEnabled());
    tab.channelIdxchanged(0);
    QVERIFY(part<QWidget>(tab, "gpbMeasSKW1")->isEnabled());
}

void TestConfigPages::barMaskAndNames()
{
    ChannelEnableBar bar;
    bar.show();
    QSignalSpy masks(&bar, &ChannelEnableBar::channelMaskchanged);
    QCOMPARE(bar.getChannelMask(), uint8_t(0));
    QTest::mouseClick(bar.nameButton(0), Qt::LeftButton);
    QTest::mouseClick(bar.nameButton(2), Qt::LeftButton);
    QCOMPARE(masks.count(), 2);
    QCOMPARE(masks.last().at(0).value<uint8_t>(), uint8_t(0x05));
    QTest::mouseClick(bar.nameButton(0), Qt::LeftButton);
    QCOMPARE(masks.last().at(0).value<uint8_t>(), uint8_t(0x04));
    for (int ch = 0; ch < 7; ++ch)
        bar.checkBox(ch)->setChecked(true);
    QCOMPARE(bar.getChannelMask(), uint8_t(0x7F));

    model()->setChannelname(QStringLiteral("Main bearing"), 5);
    QCOMPARE(bar.nameButton(5)->text(), QStringLiteral("Main bearing"));
    QVERIFY(bar.nameButton(5)->toolTip().isEmpty());
    model()->setChannelname(QStringLiteral("Main bearings"), 5);
    QCOMPARE(bar.nameButton(5)->text(), QStringLiteral("Main bearing ..."));
    QCOMPARE(bar.nameButton(5)->toolTip(), QStringLiteral("Main bearings"));
    bar.updateChannelname(QStringLiteral("other"), 7);
    QCOMPARE(bar.nameButton(5)->text(), QStringLiteral("Main bearing ..."));

    QEvent event(QEvent::LanguageChange);
    QCoreApplication::sendEvent(&bar, &event);
    QCOMPARE(bar.nameButton(5)->text(), QStringLiteral("Channel 6"));
}

void TestConfigPages::barColours()
{
    ChannelEnableBar bar;
    // Without a source the shared channel palette gives the tint.
    bar.checkBox(1)->setChecked(true);
    QCOMPARE(bar.effect(1)->color(), QColor::fromRgba(GraphPalette::colorAt(1)));
    QCOMPARE(bar.effect(1)->strength(), 1.0);
    QCOMPARE(bar.effect(0)->strength(), 0.0);

    LineGraph graph;
    bar.setColorSource(&graph);
    for (int ch = 0; ch < 7; ++ch)
        QCOMPARE(bar.effect(ch)->color(), graph.colorAt(ch));
    QCOMPARE(bar.effect(1)->strength(), 1.0);
    QCOMPARE(bar.effect(2)->strength(), 0.0);
}

QTEST_MAIN(TestConfigPages)
#include "tst_configpages.moc"
