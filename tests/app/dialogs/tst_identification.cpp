// The product information page and the About dialog against a simulated unit
// on loopback: what they show of the unit's identification, and that a
// view closed while it waits for the unit is not touched afterwards.
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QStackedWidget>
#include <QToolButton>
#include <QtTest>
#include <memory>

#include "aboutdialog.h"
#include "device.h"
#include "metatypes.h"
#include "productinformation.h"
#include "requestlog.h"
#include "testnet.h"
#include "unitsim.h"
#include "versioninfo.h"

namespace {

// tests/app/dialogs takes 127.0.3.40 and up.
const QHostAddress kUnit(QStringLiteral("127.0.3.41"));

QString labelText(QWidget &w, const char *name)
{
    return w.findChild<QLabel *>(QString::fromLatin1(name))->text();
}

QStringList texts(const QVector<AboutDialog::Line> &lines)
{
    QStringList out;
    for (const auto &l : lines)
        out << l.text;
    return out;
}

// The product information requests the unit received, a resend for a
// late answer counted once.
int productInfoRequests(const UnitSim &unit)
{
    int n = 0;
    for (const UnitSimRequest &r : withoutResends(unit.requestLog()))
        n += r.command == 0xE0;
    return n;
}

} // namespace

class TestIdentification : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void pageStartsEmpty();
    void pageShowsUnit();
    void pageWithoutUnitStaysEmpty();
    void firmwareText_data();
    void firmwareText();

    void aboutLinesWithUnit();
    void aboutLinesWithoutUnit();
    void aboutModifiedTool();
    void aboutShowsOnceAndAgain();
    void closedWhileWaiting();

private:
    std::unique_ptr<UnitSim> m_unit;
};

void TestIdentification::initTestCase()
{
    registerMetaTypes();
    LinkTimings t;
    t.baseTimeoutMs = 150;
    t.heartbeatMs = 60000;
    t.watchdogMs = 60000;
    t.watchdogSingleCoreMs = 60000;
    Device::instance()->ethernetHandler()->setTimings(t);
    Device::instance()->startTransport();
}

void TestIdentification::init()
{
    if (!testnet::available())
        QSKIP(qPrintable(testnet::skipReason()));
    m_unit = std::make_unique<UnitSim>();
    QString error;
    QVERIFY2(m_unit->startQuiet(kUnit, &error), qPrintable(error));
    ProductInfoRecord &r = m_unit->productInfo();
    r.ethernetProtocolVersion = 65535;
    r.flashProtocolVersion = 3;
    r.firmwareBuild = 42;
    r.firmwareModified = 0;
    r.firmwareMajor = 1;
    r.firmwareMinor = 5;
    r.hardwareRevision = 7;
}

void TestIdentification::cleanup()
{
    Device::instance()->ethernetHandler()->disconnectFromDevice();
    m_unit.reset();
}

void TestIdentification::pageStartsEmpty()
{
    ProductInformation page;
    QVERIFY(!page.showsInformation());
    auto *stack = page.findChild<QStackedWidget *>();
    QCOMPARE(stack->currentWidget()->objectName(), QStringLiteral("page_2"));
    QCOMPARE(stack->widget(0)->sizePolicy().verticalPolicy(), QSizePolicy::Ignored);
    QCOMPARE(labelText(page, "lblFWVersion"), QStringLiteral("lblFWVersion"));
}

void TestIdentification::pageShowsUnit()
{
    Device::instance()->ethernetHandler()->setTargetIP(kUnit);
    ProductInformation page;
    page.findChild<QToolButton *>()->click();
    QVERIFY(page.showsInformation());
    QCOMPARE(labelText(page, "lblFWVersion"), QStringLiteral("1.05.00042"));
    QCOMPARE(labelText(page, "lblHWRev"), QStringLiteral("7"));
    QCOMPARE(labelText(page, "lblFlashProt"), QStringLiteral("3"));
    QCOMPARE(labelText(page, "lblEthProt"), QStringLiteral("65535"));
    QCOMPARE(productInfoRequests(*m_unit), 1);

    // A later failure shows the empty page again, without a message.
    QSignalSpy errors(&page, &BaseWidget::printNotifyBarErrorwrapper);
    m_unit->faults().silent = true;
    page.triggerReadout();
    QVERIFY(!page.showsInformation());
    QCOMPARE(errors.count(), 0);
}

void TestIdentification::pageWithoutUnitStaysEmpty()
{
    // No unit chosen: the request fails at once.
    ProductInformation page;
    QSignalSpy errors(&page, &BaseWidget::printNotifyBarErrorwrapper);
    page.triggerReadout();
    QVERIFY(!page.showsInformation());
    QCOMPARE(errors.count(), 0);
    QCOMPARE(productInfoRequests(*m_unit), 0);

    // Then the unit answers.
    Device::instance()->ethernetHandler()->setTargetIP(kUnit);
    page.triggerReadout();
    QVERIFY(page.showsInformation());
}

void TestIdentification::firmwareText_data()
{
    QTest::addColumn<int>("modified");
    QTest::addColumn<QString>("expected");
    QTest::newRow("not modified") << 0 << "1.02.00345";
    QTest::newRow("modified") << 1 << "1.02.00345m";
    QTest::newRow("any non-zero flag") << 0x80 << "1.02.00345m";
}

void TestIdentification::firmwareText()
{
    QFETCH(int, modified);
    QFETCH(QString, expected);
    ProductInfoRecord r;
    r.firmwareMajor = 1;
    r.firmwareMinor = 2;
    r.firmwareBuild = 345;
    r.firmwareModified = uint8_t(modified);
    QCOMPARE(ProductInformation::firmwareText(r), expected);
}

void TestIdentification::aboutLinesWithUnit()
{
    ProductInfoRecord r;
    r.hardwareRevision = 4;
    r.flashProtocolVersion = 2;
    r.ethernetProtocolVersion = 9;
    r.firmwareMajor = 1;
    r.firmwareMinor = 5;
    r.firmwareBuild = 42;
    VersionInfo version(&r);
    version.setHostInfo({QStringLiteral("pc7"), QStringLiteral("x86_64"), QStringLiteral("linux 6.1"),
                         QStringLiteral("Debian")});
    const QVector<AboutDialog::Line> lines = AboutDialog::infoLines(version, ERR_OK, r);
    const QStringList expected{
        QStringLiteral("<b>Service Setup Tool Korvantis</b>"),
        QStringLiteral("Version: 03.11.01339 "),
        QStringLiteral("Qt Version: ") + version.shortVersionString(),
        QStringLiteral("Running as release version"),
        QStringLiteral("\n"),
        QStringLiteral("<b>System</b>"),
        QStringLiteral("Hostname: pc7"),
        QStringLiteral("CPU Architecture: x86_64"),
        QStringLiteral("Operating System Type: linux 6.1"),
        QStringLiteral("Operating System Version: Debian"),
        QStringLiteral("\n"),
        QStringLiteral("<b>Korvan Tis Module</b>"),
        QStringLiteral("Hardware Revision Module: 4"),
        QStringLiteral("Flash Protocol Version: 2"),
        QStringLiteral("Ethernet Protocol Version: 9"),
        QStringLiteral("Firmware Version: 1.05.00042"),
        QStringLiteral("Firmware Modified: no\n"),
    };
    QCOMPARE(texts(lines), expected);
    QVERIFY(lines.at(0).html && !lines.at(1).html && lines.at(3).html && lines.at(11).html);

    r.firmwareModified = 3;
    QCOMPARE(AboutDialog::infoLines(VersionInfo(&r), ERR_OK, r).last().text, QStringLiteral("Firmware Modified: yes\n"));
}

void TestIdentification::aboutLinesWithoutUnit()
{
    ProductInfoRecord r;
    const QVector<AboutDialog::Line> lines = AboutDialog::infoLines(VersionInfo(&r), ERR_TIMEOUT, r);
    QCOMPARE(lines.last().text, QStringLiteral("<font color='red'>Unable to read Korvan Tis Module Information"
                                               "</font><font color='black'></font>"));
    QVERIFY(lines.last().html);
    QVERIFY(!texts(lines).join(QString()).contains(QStringLiteral("Firmware")));
    // The tool and system blocks are there all the same.
    QVERIFY(texts(lines).contains(QStringLiteral("<b>System</b>")));
}

void TestIdentification::aboutModifiedTool()
{
    ProductInfoRecord r;
    VersionInfo version(&r);
    QVERIFY(version.parseThreePart(QStringLiteral("03.11.01339M")));
    const QStringList lines = texts(AboutDialog::infoLines(version, ERR_OK, r));
    const int red = lines.indexOf(QStringLiteral("<font color='red'>The software has been modified</font>"));
    QCOMPARE(red, 3);
    QCOMPARE(lines.at(red + 1), QStringLiteral("Running as release version"));
    QCOMPARE(lines.at(1), QStringLiteral("Version: 03.11.01339M"));
}

void TestIdentification::aboutShowsOnceAndAgain()
{
    Device::instance()->ethernetHandler()->setTargetIP(kUnit);
    AboutDialog dialog;
    auto *text = dialog.findChild<QPlainTextEdit *>();
    dialog.show();
    QTRY_VERIFY(text->toPlainText().contains(QStringLiteral("Firmware Version: 1.05.00042")));
    QVERIFY(text->toPlainText().startsWith(QStringLiteral("Service Setup Tool Korvantis\nVersion: 03.11.01339 ")));
    dialog.hide();
    dialog.show();
    QTRY_COMPARE(productInfoRequests(*m_unit), 2);
    QTRY_VERIFY(text->toPlainText().contains(QStringLiteral("Firmware Modified: no")));
    // Every show replaces the text.
    QCOMPARE(text->toPlainText().count(QStringLiteral("Service Setup Tool Korvantis")), 1);
}

// Close, or the view destroyed, while the unit is being asked: nothing is
// touched afterwards, and the next request works.
void TestIdentification::closedWhileWaiting()
{
    EthernetHandler *eth = Device::instance()->ethernetHandler();
    eth->setTargetIP(kUnit);
    m_unit->faults().silent = true;

    {
        AboutDialog dialog;
        bool shownWhileWaiting = false;
        bool hiddenAtOnce = false;
        QTimer::singleShot(50, &dialog, [&] {
            // The dialog already shows the tool's part while it waits.
            shownWhileWaiting = eth->isWaiting() && dialog.isVisible()
                                && dialog.text().contains(QStringLiteral("Version: 03.11.01339"));
            dialog.findChild<QPushButton *>(QStringLiteral("btnClose"))->click();
            hiddenAtOnce = dialog.isHidden();
        });
        QCOMPARE(dialog.exec(), 0);
        QVERIFY(shownWhileWaiting);
        QVERIFY(hiddenAtOnce);
        QVERIFY(dialog.text().contains(QStringLiteral("Unable to read Korvan Tis Module Information")));
    }

    // Destroyed from inside the wait (as the main window's teardown would).
    for (int kind = 0; kind < 2; ++kind) {
        QPointer<QWidget> view;
        if (kind == 0) {
            auto *about = new AboutDialog;
            view = about;
            about->show();
        } else {
            auto *page = new ProductInformation;
            view = page;
            QTimer::singleShot(0, page, &ProductInformation::triggerReadout);
        }
        bool waited = false;
        QTimer::singleShot(50, [&] {
            waited = eth->isWaiting();
            delete view.data();
        });
        QTRY_VERIFY(view.isNull());
        QVERIFY(waited);
        QTRY_VERIFY(!eth->isWaiting());
    }

    m_unit->faults().silent = false;
    ProductInfoRecord r;
    QCOMPARE(eth->readProductInfo(&r), ERR_OK);
    QCOMPARE(int(r.hardwareRevision), 7);
}

QTEST_MAIN(TestIdentification)
#include "tst_identification.moc"
