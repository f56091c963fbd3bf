#include <QDoubleSpinBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTimer>
#include <QtTest>
#include <functional>

#include "requestlog.h"
#include "confighandler.h"
#include "refrundialog.h"
#include "testnet.h"
#include "unitsimfixture.h"

namespace {

const QHostAddress kUnit(QStringLiteral("127.0.9.10"));

ReferenceRunResult_t record(bool scaleMode, uint8_t mask)
{
    ReferenceRunResult_t r;
    r.flags = uint8_t((scaleMode ? 0x80 : 0) | (mask & 0x7F));
    for (int ch = 0; ch < 7; ++ch) {
        r.previousReference[ch] = int16_t(scaleMode ? 9600 : 300);
        r.newReference[ch] = int16_t(scaleMode ? 10000 + 100 * ch : 400 + ch);
        r.previousSkw[ch] = 101;
        r.newSkw[ch] = 120;
        r.previousFactor[ch] = 30;
        r.newFactor[ch] = 25;
    }
    return r;
}

} // namespace

// The reference-run result dialog against the simulated unit: what it
// shows per channel and what it writes when it is left.
class TestRefRunDialog : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void scaleModeWritesAppliedValuesAndSaves();
    void exitWithOpenChannelsWritesNothing();
    void failedWriteReportsAndSkipsSave();
    void thresholdModeTexts_data();
    void thresholdModeTexts();
    void emptyMaskShowsNothing();
    void otherUnitGetsNothing_data();
    void otherUnitGetsNothing();
    void drawnWithTheDialogBackground();

private:
    // Runs the dialog on `result`; `drive` works it while it waits.
    int run(const ReferenceRunResult_t &result, const std::function<void()> &drive);
    template <typename T>
    T *child(const char *name) const { return m_dialog->findChild<T *>(QLatin1String(name)); }
    void applyOnTab(int tab, double value);
    // The flagged scale and threshold writes the unit received: id -> value.
    QMap<int, int> writes() const;
    int saveRequests() const;

    SimLink m_link;
    std::unique_ptr<QWidget> m_parent;
    RefRunDialog *m_dialog = nullptr;
};

void TestRefRunDialog::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
}

void TestRefRunDialog::init()
{
    KORVANTIS_REQUIRE_TESTNET();
    QVERIFY(m_link.start(kUnit, 2, SimLink::quietTimings()));
    m_link.connectToUnit();
    m_link.sim->clearRequestLog();
    m_parent = std::make_unique<QWidget>();
    m_parent->resize(800, 500);
    m_parent->show();
    m_dialog = new RefRunDialog(m_parent.get());
    m_dialog->setLink(m_link.handler(), m_link.device->confighandler());
    // The run was made on this unit, as the main window notes it.
    m_dialog->setRunUnit(RefRunDialog::answeringUnit(m_link.handler()));
    QCOMPARE(m_dialog->runUnit().left(6),
             QByteArray(reinterpret_cast<const char *>(m_link.sim->macAddress().data()), 6));
    for (int ch = 0; ch < 7; ++ch)
        m_link.device->confighandler()->setChannelname(QStringLiteral("Bearing %1").arg(ch + 1), uint8_t(ch));
}

void TestRefRunDialog::cleanup()
{
    m_parent.reset();
    m_dialog = nullptr;
    m_link.device.reset();
    m_link.sim.reset();
}

int TestRefRunDialog::run(const ReferenceRunResult_t &result, const std::function<void()> &drive)
{
    bool driven = false;
    QTimer::singleShot(0, m_dialog, [&] {
        drive();
        driven = true;
    });
    const int r = m_dialog->setRefRunResult(result);
    if (!driven)  // the dialog did not wait: let the driver see it anyway
        QCoreApplication::processEvents();
    return r;
}

void TestRefRunDialog::applyOnTab(int tab, double value)
{
    child<QTabWidget>("tabChnsel")->setCurrentIndex(tab);
    child<QDoubleSpinBox>("spndRefVal")->setValue(value);
    QTest::mouseClick(child<QPushButton>("btnApply"), Qt::LeftButton);
}

QMap<int, int> TestRefRunDialog::writes() const
{
    QMap<int, int> out;
    for (const UnitSimRequest &r : requestsOf(*m_link.sim, 0xEF))
        out.insert(r.paramId, int(uint8_t(r.value.at(0)) | uint8_t(r.value.at(1)) << 8));
    return out;
}

int TestRefRunDialog::saveRequests() const
{
    int n = 0;
    for (const UnitSimRequest &r : requestsOf(*m_link.sim, 0xED))
        if (!r.value.isEmpty() || r.payload.size() >= 2)
            ++n;
    return n;
}

void TestRefRunDialog::scaleModeWritesAppliedValuesAndSaves()
{
    ReferenceRunResult_t result = record(true, 0x29);  // channels 1, 4 and 6
    result.newReference[5] = -1;                       // channel 6 measured nothing
    result.newSkw[5] = -1;
    QSignalSpy notes(m_dialog, &BaseWidget::printNotifyBarErrorwrapper);
    const int r = run(result, [&] {
        auto *tabs = child<QTabWidget>("tabChnsel");
        QCOMPARE(tabs->count(), 3);
        QCOMPARE(tabs->tabText(0), QStringLiteral("Bearing 1"));
        QCOMPARE(tabs->tabText(1), QStringLiteral("Bearing 4"));
        QCOMPARE(tabs->tabText(2), QStringLiteral("Bearing 6"));
        QCOMPARE(child<QLabel>("lblprevRefVal")->text(), QStringLiteral("9,6 mA"));
        QCOMPARE(child<QLabel>("lblprevSugg")->text(), QStringLiteral("11,52"));
        QCOMPARE(child<QDoubleSpinBox>("spndRefVal")->value(), 10.0);
        // Channel 6 has nothing to apply; the other two hold the exit.
        QVERIFY(!child<QPushButton>("btnExit")->isEnabled());
        QVERIFY(child<QPushButton>("btnExit")->toolTip().endsWith(QStringLiteral("Bearing 1, Bearing 4")));
        applyOnTab(0, 12.35);
        QCOMPARE(m_dialog->items().at(0).value, int16_t(12350));
        QCOMPARE(child<QLabel>("lblnewSugg")->text(), QStringLiteral("12,35"));
        child<QTabWidget>("tabChnsel")->setCurrentIndex(2);
        QCOMPARE(child<QLabel>("lblnewSKW")->text(), QStringLiteral("---"));
        QCOMPARE(child<QLabel>("lblnewSugg")->text(), QStringLiteral("---"));
        QCOMPARE(child<QDoubleSpinBox>("spndRefVal")->text(), QStringLiteral("---"));
        QVERIFY(!child<QPushButton>("btnApply")->isEnabled());
        applyOnTab(1, 8.0);
        QVERIFY(child<QPushButton>("btnExit")->isEnabled());
        QTest::mouseClick(child<QPushButton>("btnExit"), Qt::LeftButton);
    });
    QCOMPARE(r, 1);
    QCOMPARE(notes.count(), 0);
    QMap<int, int> expected;
    expected.insert(0x48, 12350);
    expected.insert(0x4B, 8000);
    QCOMPARE(writes(), expected);
    // All written: the configuration is saved on the unit.
    QTRY_VERIFY_WITH_TIMEOUT(saveRequests() > 0, 20000);
}

void TestRefRunDialog::exitWithOpenChannelsWritesNothing()
{
    QSignalSpy notes(m_dialog, &BaseWidget::printNotifyBarErrorwrapper);
    const int r = run(record(true, 0x03), [&] {
        applyOnTab(0, 9.0);
        // The button is disabled; the slot itself refuses as well.
        m_dialog->on_btnExit_clicked();
        QCOMPARE(notes.count(), 1);
        QCOMPARE(notes.at(0).at(0).toString(), QStringLiteral("The following Channels were not Processed: Bearing 2"));
        QVERIFY(m_dialog->isVisible());
        QVERIFY(writes().isEmpty());
        applyOnTab(1, 9.5);
        m_dialog->on_btnExit_clicked();
    });
    QCOMPARE(r, 1);
    QCOMPARE(writes().size(), 2);
}

void TestRefRunDialog::failedWriteReportsAndSkipsSave()
{
    m_link.sim->setErrorStatus(0xEF, 0x49, -5);
    QSignalSpy notes(m_dialog, &BaseWidget::printNotifyBarErrorwrapper);
    const int r = run(record(true, 0x07), [&] {
        for (int tab = 0; tab < 3; ++tab)
            applyOnTab(tab, 10.0 + tab);
        QTest::mouseClick(child<QPushButton>("btnExit"), Qt::LeftButton);
    });
    QCOMPARE(r, 0);
    QCOMPARE(notes.count(), 2);
    QCOMPARE(notes.at(0).at(0).toString(), QStringLiteral("The following Channel couldn't be processed: Bearing 2"));
    QCOMPARE(notes.at(1).at(0).toString(), QStringLiteral("Reference Run Failed! Please Repeat the Reference Run."));
    // The other channels are still written; no save is asked for.
    QCOMPARE(withoutResends(requestsOf(*m_link.sim, 0xEF)).size(), 3);
    QVERIFY(writes().contains(0x48));
    QVERIFY(writes().contains(0x4A));
    // A save would have been asked for, and answered, before the dialog's
    // result came back.
    QCOMPARE(saveRequests(), 0);
}

void TestRefRunDialog::thresholdModeTexts_data()
{
    QTest::addColumn<int>("prevSkw");
    QTest::addColumn<int>("prevFactor");
    QTest::addColumn<int>("newSkw");
    QTest::addColumn<QString>("prevSuggestion");
    QTest::addColumn<QString>("newSuggestion");
    QTest::newRow("121.2 rounds to 121") << 101 << 30 << 120 << "121" << "120";
    QTest::newRow("factor 1") << 50 << 25 << 51 << "50" << "51";
    QTest::newRow("half rounds up") << 1 << 50 << 1 << "2" << "1";
    QTest::newRow("no SKW values") << -1 << 30 << -1 << "unknown" << "unknown";
}

void TestRefRunDialog::thresholdModeTexts()
{
    QFETCH(int, prevSkw);
    QFETCH(int, prevFactor);
    QFETCH(int, newSkw);
    QFETCH(QString, prevSuggestion);
    QFETCH(QString, newSuggestion);
    ReferenceRunResult_t result = record(false, 0x10);  // channel 5
    result.previousSkw[4] = int16_t(prevSkw);
    result.previousFactor[4] = uint8_t(prevFactor);
    result.newSkw[4] = int16_t(newSkw);
    const int r = run(result, [&] {
        QCOMPARE(child<QLabel>("lblprevSugg")->text(), prevSuggestion);
        QCOMPARE(child<QLabel>("lblnewSugg")->text(), newSuggestion);
        QCOMPARE(child<QLabel>("lblprevRefVal")->text(), QStringLiteral("300"));
        QCOMPARE(child<QLabel>("lblprevSKW")->text(), prevSkw < 0 ? QStringLiteral("---") : QString::number(prevSkw));
        QCOMPARE(child<QDoubleSpinBox>("spndRefVal")->value(), 404.0);
        QCOMPARE(child<QDoubleSpinBox>("spndRefVal")->suffix(), QString());
        QCOMPARE(m_dialog->findChild<QGroupBox *>("gpbnewRefVal")->title(), QStringLiteral("New Threshold"));
        applyOnTab(0, 250.0);
        QTest::mouseClick(child<QPushButton>("btnExit"), Qt::LeftButton);
    });
    QCOMPARE(r, 1);
    QCOMPARE(writes().value(0x3C), 250);  // threshold of channel 5, from a reference run
}

void TestRefRunDialog::emptyMaskShowsNothing()
{
    bool ran = false;
    QTimer::singleShot(0, m_dialog, [&] { ran = true; });
    QCOMPARE(m_dialog->setRefRunResult(record(true, 0x00)), 0);
    QVERIFY(!ran);  // no event loop ran: the dialog was never executed
    QCOMPARE(child<QTabWidget>("tabChnsel")->count(), 0);
    QVERIFY(writes().isEmpty());
}

// The values of a run go to the unit it was made on only: when the unit
// that answers has another MAC address (or the run's is not known), leaving
// says so and writes nothing, and no save follows.
void TestRefRunDialog::otherUnitGetsNothing_data()
{
    QTest::addColumn<QByteArray>("runUnit");
    QTest::addColumn<QString>("said");
    QTest::newRow("another unit answers")
        << QByteArray::fromHex("024b560d0d0d0000")
        << QStringLiteral("Nothing was written: the unit that answers now (MAC address %1) is not the one the "
                          "reference run was made on (MAC address 02:4B:56:0D:0D:0D).");
    QTest::newRow("the run's unit is not known")
        << QByteArray()
        << QStringLiteral("Nothing was written: it is not known which unit the reference run was made on (its MAC "
                          "address could not be read when the result came).");
}

void TestRefRunDialog::otherUnitGetsNothing()
{
    QFETCH(QByteArray, runUnit);
    QFETCH(QString, said);
    const QByteArray own(reinterpret_cast<const char *>(m_link.sim->macAddress().data()), 6);
    m_dialog->setRunUnit(runUnit);
    QSignalSpy notes(m_dialog, &BaseWidget::printNotifyBarErrorwrapper);
    const int r = run(record(true, 0x03), [&] {
        applyOnTab(0, 9.0);
        applyOnTab(1, 9.5);
        QTest::mouseClick(child<QPushButton>("btnExit"), Qt::LeftButton);
    });
    QCOMPARE(r, 0);
    QVERIFY(!m_dialog->isVisible());
    QCOMPARE(notes.count(), 1);
    if (said.contains(QLatin1String("%1")))
        said = said.arg(QString::fromLatin1(own.toHex(':').toUpper()));
    QCOMPARE(notes.at(0).at(0).toString(), said);
    QVERIFY(writes().isEmpty());
    QCOMPARE(saveRequests(), 0);
}

// The dialog page in front of the main page is see-through; a dialog gets
// its own background and border from the style sheet's dialog selector.
// Without it the page behind shows through the dialog's texts.
void TestRefRunDialog::drawnWithTheDialogBackground()
{
    QVERIFY(m_dialog->property("isDialog").toBool());
    QPalette red = m_parent->palette();
    red.setColor(QPalette::Window, Qt::red);
    m_parent->setPalette(red);
    m_parent->setAutoFillBackground(true);
    m_dialog->setGeometry(20, 20, 760, 420);
    const QImage shot = m_parent->grab().toImage();
    // Inside the border, in the layout's margin beside the headings.
    const QPoint inside = m_dialog->geometry().topLeft() + QPoint(4, m_dialog->height() / 2);
    const QColor shown = shot.pixelColor(inside * shot.devicePixelRatio());
    QVERIFY2(shown != QColor(Qt::red), qPrintable(shown.name()));
}

QTEST_MAIN(TestRefRunDialog)
#include "tst_refrundialog.moc"
