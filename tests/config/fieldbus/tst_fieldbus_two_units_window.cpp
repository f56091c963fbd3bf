// Two simulated units with PROFINET modules of their own on one network,
// and the main window switching between them as a service engineer does:
// the fieldbus record read from one unit reaches the other neither through
// the page, nor through an exported and re-imported configuration file;
// the unit's own file goes back to it unchanged; another unit's file is
// written to it only when the engineer chooses so.
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>
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
#include "testnet.h"
#include "unitsim.h"

namespace {

// tests/config/fieldbus takes 127.0.6.10 to 127.0.6.19.
const QHostAddress kUnitA(QStringLiteral("127.0.6.12"));
const QHostAddress kUnitB(QStringLiteral("127.0.6.13"));

// Where a configuration file keeps its fieldbus block, and its blob.
constexpr int kFileFieldbusAt = 2668;
constexpr int kFileBlobAt = 2152;
constexpr int kBlobSize = 512;

Confighandler *config()
{
    return Device::instance()->confighandler();
}

EthernetHandler *link()
{
    return Device::instance()->ethernetHandler();
}

// A module's own settings: its address and its station name.
QByteArray moduleRecord(const char *ip, const QByteArray &host, const QByteArray &station)
{
    QByteArray record = fullRecord(0x84);
    const QStringList parts = QString::fromLatin1(ip).split(QLatin1Char('.'));
    for (int i = 0; i < 4; ++i)
        record[i] = char(parts.at(i).toInt());
    putText(record, 0x014, 64, host);
    putText(record, 0x146, 240, station);
    return record;
}

const QByteArray kRecordA = moduleRecord("10.1.2.3", "unit-a", "station-84");
const QByteArray kRecordB = moduleRecord("10.1.2.4", "unit-b", "station-B");

QByteArray fileBytes(const QString &name)
{
    QFile file(name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestFieldbusTwoUnitsWindow : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanupTestCase();

    void anotherUnitsRecordNeverReachesIt();
    void unitsOwnFileGoesBackUnchanged();
    void anotherUnitsFileIsWrittenOnlyByChoice_data();
    void anotherUnitsFileIsWrittenOnlyByChoice();

private:
    NotificationBar *bar() { return part<NotificationBar>(window, "notifyBar"); }
    QPushButton *applyButton() { return part<QPushButton>(window, "btnResetAnybusMod"); }
    QPushButton *readButton() { return part<QPushButton>(window, "btnReadFieldCfg"); }
    QLabel *note() { return part<QLabel>(window, "lblRecordNote"); }
    QStringList takeBarTexts() { return ::takeBarTexts(bar()); }
    // Connects to `unit` as the connect dialog does (the tool is
    // disconnected first) and answers the offered read of its
    // configuration with `readConfig` (1 Yes, 0 No); the fieldbus page shown.
    void connectTo(UnitSim &unit, int readConfig);
    void showFieldbusPage();
    QString exportFile();
    // Imports `file`, answering a question with `answers`; the questions.
    QList<BoxAnswerer::Box> importFile(const QString &file, QList<int> answers = {});

    std::unique_ptr<UnitSim> unitA;
    std::unique_ptr<UnitSim> unitB;
    MainWindow *window = nullptr;
    QTemporaryDir dir;
    int files = 0;
};

void TestFieldbusTwoUnitsWindow::initTestCase()
{
    KORVANTIS_REQUIRE_TESTNET();
    registerMetaTypes();
    startWindowLink();
    config()->setSaveFeedbackTimeout(8000);
    Databasecont::instance().setDbDirectory(testnet::binDir() + QStringLiteral("/Korvantisdbs/"));
    FieldbusActionbar::setTimings(20, 10000);
    QVERIFY(dir.isValid());

    unitA = std::make_unique<UnitSim>();
    unitB = std::make_unique<UnitSim>();
    for (UnitSim *unit : {unitA.get(), unitB.get()}) {
        unit->setFieldbusModule(0x84);
        QString error;
        QVERIFY2(unit->startQuiet(unit == unitA.get() ? kUnitA : kUnitB, &error), qPrintable(error));
    }
    QVERIFY(unitA->macAddress() != unitB->macAddress());

    window = new MainWindow;
    window->resize(1024, 768);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
}

void TestFieldbusTwoUnitsWindow::init()
{
    QTRY_VERIFY_WITH_TIMEOUT(!config()->waitingForFeedback(), 20000);
    unitA->parameters().setValue(0x3000, kRecordA);
    unitB->parameters().setValue(0x3000, kRecordB);
    takeBarTexts();
}

void TestFieldbusTwoUnitsWindow::cleanupTestCase()
{
    config()->setFileNameProvider(nullptr);
    if (window) {
        link()->disconnectFromDevice();
        QTRY_VERIFY(!config()->waitingForFeedback());
    }
    delete window;
    window = nullptr;
    unitA.reset();
    unitB.reset();
}

void TestFieldbusTwoUnitsWindow::showFieldbusPage()
{
    window->setcurrentIndexes(MainWindow::PageConfig);
    auto *page = part<QWidget>(window, "wdgFBConfig");
    QTRY_VERIFY(!page->isHidden());
    QVERIFY(selectConfigPage(window, "wdgFBConfig"));
    QTRY_VERIFY(applyButton()->isVisible());
}

void TestFieldbusTwoUnitsWindow::connectTo(UnitSim &unit, int readConfig)
{
    link()->disconnectFromDevice();
    QTRY_VERIFY(!link()->isConnected());
    {
        BoxAnswerer answerer(window, {readConfig});
        config()->setIpAddress(unit.address());
        link()->setTargetIP(unit.address());
        QTRY_COMPARE_WITH_TIMEOUT(answerer.boxes.size(), 1, 20000);
        QTRY_VERIFY(!window->asksReadConfig());
        QTRY_VERIFY(!link()->isWaiting());
    }
    showFieldbusPage();
    // Only the word on the channels without reference values that every
    // read of such a configuration gives.
    for (const QString &text : takeBarTexts())
        QVERIFY2(text.startsWith(QStringLiteral("There were no valid Reference values")), qPrintable(text));
}

QString TestFieldbusTwoUnitsWindow::exportFile()
{
    const QString file = dir.filePath(QStringLiteral("unit-%1.cfg").arg(++files));
    config()->setFileNameProvider([file](bool, const QString &, const QString &) { return file; });
    const auto restore = qScopeGuard([] { config()->setFileNameProvider(nullptr); });
    BoxAnswerer answerer(window);
    QTest::mouseClick(part<QToolButton>(window, "btnSaveConfig"), Qt::LeftButton);
    return QFile::exists(file) && answerer.boxes.isEmpty() ? file : QString();
}

QList<BoxAnswerer::Box> TestFieldbusTwoUnitsWindow::importFile(const QString &file, QList<int> answers)
{
    config()->setFileNameProvider([file](bool, const QString &, const QString &) { return file; });
    const auto restore = qScopeGuard([] { config()->setFileNameProvider(nullptr); });
    BoxAnswerer answerer(window, answers);
    QTest::mouseClick(part<QToolButton>(window, "btnOpenConfig"), Qt::LeftButton);
    return answerer.boxes;
}

// A's record read, B connected: the page says the record is not B's, an
// export made on B does not carry it, and the exported file, imported and
// applied, leaves B's record exactly as it was.
void TestFieldbusTwoUnitsWindow::anotherUnitsRecordNeverReachesIt()
{
    connectTo(*unitA, 1);
    QTest::mouseClick(readButton(), Qt::LeftButton);
    QCOMPARE(part<QLineEdit>(window, "leditStationName")->text(), QStringLiteral("station-84"));
    QVERIFY(note()->isHidden());

    connectTo(*unitB, 1);
    const QString notRead = QStringLiteral(
        "the fieldbus configuration on this page has not been read from this unit since it was connected. Click "
        "\"Read Fieldbus Configuration\" first (or load a configuration file of this unit).");
    QTRY_VERIFY(note()->isVisible());
    QCOMPARE(note()->text(), QStringLiteral("T") + notRead.mid(1));

    const QString file = exportFile();
    QVERIFY(!file.isEmpty());
    QCOMPARE(takeBarTexts(),
             QStringList{"The file was saved without the fieldbus configuration: the one on the fieldbus page was not "
                         "read from the unit whose configuration the file holds. To save it too, connect to that "
                         "unit, click \"Read Fieldbus Configuration\" and export again."});
    const QByteArray bytes = fileBytes(file);
    QCOMPARE(bytes.size(), kFileFieldbusAt + 567);
    // The block of a unit whose record was never read; nothing of A's.
    QCOMPARE(bytes.mid(kFileFieldbusAt).toHex(' '), QByteArray(567, '\0').toHex(' '));
    QVERIFY(!bytes.contains("station-84"));
    QVERIFY(!bytes.contains("unit-a"));

    // Same connection block: no question.
    QVERIFY(importFile(file).isEmpty());
    for (const QString &text : takeBarTexts())
        QVERIFY2(text.startsWith(QStringLiteral("There were no valid Reference values")), qPrintable(text));
    QTRY_VERIFY(note()->isVisible());
    unitB->clearRequestLog();
    {
        BoxAnswerer answerer(window, {1, 1});
        QTest::mouseClick(applyButton(), Qt::LeftButton);
        QVERIFY(answerer.boxes.isEmpty());
    }
    QCOMPARE(takeBarTexts(), QStringList{QStringLiteral("Nothing was written: this unit's fieldbus configuration has "
                                                        "not been read yet. Click \"Read Fieldbus Configuration\" "
                                                        "first (or load a configuration file).")});
    QCOMPARE(recordWritesOf(*unitB), 0);
    QCOMPARE(serviceActionsOf(*unitB), QList<int>());
    QCOMPARE(unitB->parameters().value(0x3000).toHex(' '), kRecordB.toHex(' '));
    QCOMPARE(unitA->parameters().value(0x3000).toHex(' '), kRecordA.toHex(' '));
}

// B's own record read and exported: the file carries it byte for byte,
// imports without a question, exports again the same, and applies to B.
void TestFieldbusTwoUnitsWindow::unitsOwnFileGoesBackUnchanged()
{
    connectTo(*unitA, 1);
    QTest::mouseClick(readButton(), Qt::LeftButton);
    connectTo(*unitB, 1);
    QTest::mouseClick(readButton(), Qt::LeftButton);
    QCOMPARE(part<QLineEdit>(window, "leditStationName")->text(), QStringLiteral("station-B"));
    QTRY_VERIFY(note()->isHidden());

    const QString first = exportFile();
    QVERIFY(!first.isEmpty());
    QCOMPARE(takeBarTexts(), QStringList());
    const QByteArray exported = fileBytes(first);
    QCOMPARE(exported.mid(kFileFieldbusAt).toHex(' '), kRecordB.toHex(' '));

    config()->setAnybusCFG(Anybus_cfg());  // as a tool that never read it
    QVERIFY(importFile(first).isEmpty());
    takeBarTexts();
    QCOMPARE(config()->getAnybusCFG().toBytes().toHex(' '), kRecordB.toHex(' '));
    QTRY_VERIFY(note()->isHidden());
    const QString second = exportFile();
    QVERIFY(!second.isEmpty());
    const QByteArray again = fileBytes(second);
    // Every block as it was; the blob is sealed anew on each import (new
    // filler and check sum), its content the same.
    QCOMPARE(again.size(), exported.size());
    QCOMPARE(again.left(kFileBlobAt).toHex(' '), exported.left(kFileBlobAt).toHex(' '));
    QCOMPARE(again.mid(kFileBlobAt + kBlobSize).toHex(' '), exported.mid(kFileBlobAt + kBlobSize).toHex(' '));

    unitB->clearRequestLog();
    {
        BoxAnswerer answerer(window, {0});
        QTest::mouseClick(applyButton(), Qt::LeftButton);
        QCOMPARE(answerer.boxes.size(), 1);
        QCOMPARE(answerer.boxes.first().message,
                 QStringLiteral("Do you want to reset the fieldbus module to apply the settings?"));
    }
    QCOMPARE(recordWritesOf(*unitB), 1);
    QCOMPARE(unitB->parameters().value(0x3000).toHex(' '), kRecordB.toHex(' '));
    QCOMPARE(unitA->parameters().value(0x3000).toHex(' '), kRecordA.toHex(' '));
}

void TestFieldbusTwoUnitsWindow::anotherUnitsFileIsWrittenOnlyByChoice_data()
{
    QTest::addColumn<int>("choice");  // 0 Cancel, 1 Write, -1 box closed
    QTest::newRow("Cancel") << 0;
    QTest::newRow("box closed") << -1;
    QTest::newRow("Write") << 1;
}

// A's own file loaded while B is connected: the page names both units, and
// Apply asks before it gives B's module A's identity.
void TestFieldbusTwoUnitsWindow::anotherUnitsFileIsWrittenOnlyByChoice()
{
    QFETCH(int, choice);
    connectTo(*unitA, 1);
    QTest::mouseClick(readButton(), Qt::LeftButton);
    const QString fileA = exportFile();
    QVERIFY(!fileA.isEmpty());
    QCOMPARE(fileBytes(fileA).mid(kFileFieldbusAt).toHex(' '), kRecordA.toHex(' '));

    connectTo(*unitB, 1);
    // Another unit's network settings: kept.
    const QList<BoxAnswerer::Box> asked = importFile(fileA, {0});
    QCOMPARE(asked.size(), 1);
    QCOMPARE(asked.first().title, QStringLiteral("Different Connection Parameters detected"));
    takeBarTexts();
    QCOMPARE(config()->getAnybusCFG().toBytes().toHex(' '), kRecordA.toHex(' '));
    const auto macText = [](const std::array<uint8_t, 6> &mac) {
        QStringList parts;
        for (uint8_t byte : mac)
            parts << QStringLiteral("%1").arg(byte, 2, 16, QLatin1Char('0')).toUpper();
        return parts.join(QLatin1Char(':'));
    };
    const QString from =
        QStringLiteral("The fieldbus configuration on this page comes from a configuration file of another unit (MAC "
                       "address %1; this unit: %2).")
            .arg(macText(unitA->macAddress()), macText(unitB->macAddress()));
    QTRY_VERIFY(note()->isVisible());
    QCOMPARE(note()->text(),
             from + QStringLiteral(" \"Apply Fieldbus Configuration\" asks before it writes it to this unit."));

    unitB->clearRequestLog();
    {
        BoxAnswerer answerer(window, {choice, 0});
        QTest::mouseClick(applyButton(), Qt::LeftButton);
        QCOMPARE(answerer.boxes.size(), choice == 1 ? 2 : 1);
        QCOMPARE(answerer.boxes.first().title, QStringLiteral("Fieldbus Configuration of Another Unit"));
        QVERIFY2(answerer.boxes.first().message.startsWith(from + QLatin1Char('\n')),
                 qPrintable(answerer.boxes.first().message));
        QCOMPARE(answerer.boxes.first().captions, (QStringList{"Cancel", "Write"}));
    }
    QCOMPARE(takeBarTexts(),
             choice == 1 ? QStringList{QStringLiteral("The Config Write/Save was sucessfull")} : QStringList());
    if (choice == 1) {
        // The engineer's choice: B's module takes A's settings.
        QCOMPARE(recordWritesOf(*unitB), 1);
        QCOMPARE(unitB->parameters().value(0x3000).toHex(' '), kRecordA.toHex(' '));
    } else {
        QCOMPARE(recordWritesOf(*unitB), 0);
        QCOMPARE(serviceActionsOf(*unitB), QList<int>());
        QCOMPARE(unitB->parameters().value(0x3000).toHex(' '), kRecordB.toHex(' '));
    }
    QCOMPARE(unitA->parameters().value(0x3000).toHex(' '), kRecordA.toHex(' '));
}

QTEST_MAIN(TestFieldbusTwoUnitsWindow)
#include "tst_fieldbus_two_units_window.moc"
