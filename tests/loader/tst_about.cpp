#include <QtTest>

#include <QAction>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBlock>

#include "ethernethandler.h"
#include "aboutdialog.h"
#include "bootloadersim.h"
#include "loaderfixture.h"
#include "mainwindow.h"
#include "testnet.h"

using namespace loader;

// The loader's About window: its own facts, and the hardware and bootloader
// versions that a simulated bootloader on loopback reports, or the red
// lines when the unit stays silent.
class TestAbout : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanupTestCase();
    void programAndSystemLines();
    void unitVersions_data();
    void unitVersions();
    void silentUnit();
    void twoAboutWindows();

private:
    static QStringList lines(AboutDialog *about) { return about->infoText().split('\n'); }
    // The colour of the text of the line that reads `text`.
    static QColor colourOf(AboutDialog *about, const QString &text);

    QHostAddress m_unit{QStringLiteral("127.0.2.31")};
    BootloaderSim *m_sim = nullptr;
    LoaderRig *m_rig = nullptr;
};

void TestAbout::initTestCase()
{
    KORVANTIS_REQUIRE_TESTNET();
    m_sim = new BootloaderSim(m_unit);
    m_sim->setListenBroadcast(false);
    QString error;
    QVERIFY2(m_sim->start(&error), qPrintable(error));
    m_rig = new LoaderRig(QHostAddress(QStringLiteral("127.0.2.30")));
    QVERIFY(m_rig->isBound());
    m_rig->handler()->setTargetIP(m_unit);
}

void TestAbout::init()
{
    KORVANTIS_REQUIRE_TESTNET();
    m_sim->clearFaults();
    m_sim->clearRequests();
}

void TestAbout::cleanupTestCase()
{
    delete m_rig;
    delete m_sim;
}

QColor TestAbout::colourOf(AboutDialog *about, const QString &text)
{
    auto *edit = about->findChild<QPlainTextEdit *>(QStringLiteral("txtInfo"));
    for (QTextBlock b = edit->document()->begin(); b.isValid(); b = b.next()) {
        if (b.text() == text)
            return b.begin().fragment().charFormat().foreground().color();
    }
    return QColor();
}

void TestAbout::programAndSystemLines()
{
    AboutDialog about(m_rig->handler());
    QCOMPARE(about.windowTitle(), QStringLiteral("About"));
    about.show();
    QTRY_VERIFY(!about.isReadingVersions());
    const QStringList l = lines(&about);
    QCOMPARE(l.mid(0, 4), QStringList({"KorvantisLoader", "Version: 3.10-00001204",
                                       QStringLiteral("Qt Version: %1.%2").arg(QT_VERSION_MAJOR).arg(QT_VERSION_MINOR),
                                       "Running as release version"}));
    QVERIFY(!l.contains("The software has been modified"));
    const int system = l.indexOf("System");
    QVERIFY(system > 3);
    QCOMPARE(l.mid(system + 1, 4),
             QStringList({"Hostname: " + QSysInfo::machineHostName(), "Arch: " + QSysInfo::currentCpuArchitecture(),
                          "OS Type: " + QSysInfo::kernelType() + " " + QSysInfo::kernelVersion(),
                          "OS Version: " + QSysInfo::prettyProductName()}));
    // Refilled, not appended to, on the next show.
    about.hide();
    about.show();
    QTRY_VERIFY(!about.isReadingVersions());
    QCOMPARE(lines(&about).count("System"), 1);
    QCOMPARE(lines(&about).count("Hardware:"), 1);
}

void TestAbout::unitVersions_data()
{
    QTest::addColumn<QByteArray>("hw");
    QTest::addColumn<QByteArray>("fw");
    QTest::addColumn<QStringList>("hardware");
    QTest::addColumn<QStringList>("bootloader");
    QTest::addColumn<bool>("modified");
    // major, minor, flags, build (little-endian)
    QTest::newRow("modified, second bootloader") << QByteArray::fromHex("0307") << QByteArray::fromHex("0102815901")
                                                 << QStringList{"P-Module: 3", "I-Module: 7"}
                                                 << QStringList{"Version: 1.02-00000345", "Active Bootloader Nr: 1"}
                                                 << true;
    QTest::newRow("plain, first bootloader") << QByteArray::fromHex("FF00") << QByteArray::fromHex("020B7EFFFF")
                                             << QStringList{"P-Module: 255", "I-Module: 0"}
                                             << QStringList{"Version: 2.11-00065535", "Active Bootloader Nr: 0"}
                                             << false;
}

void TestAbout::unitVersions()
{
    QFETCH(QByteArray, hw);
    QFETCH(QByteArray, fw);
    QFETCH(QStringList, hardware);
    QFETCH(QStringList, bootloader);
    QFETCH(bool, modified);
    m_sim->setHwVersionAnswer(hw);
    m_sim->setFwVersionAnswer(fw);
    AboutDialog about(m_rig->handler());
    about.show();
    QTRY_VERIFY(!about.isReadingVersions());
    const QStringList l = lines(&about);
    const int h = l.indexOf("Hardware:");
    QVERIFY2(h > 0, qPrintable(about.infoText()));
    QCOMPARE(l.mid(h + 1, 2), hardware);
    const int b = l.indexOf("Bootloader");
    QVERIFY(b > h);
    QCOMPARE(l.mid(b + 1, 2), bootloader);
    QCOMPARE(l.contains("The bootloader has been modified"), modified);
    if (modified) {
        QCOMPARE(l.last(), QStringLiteral("The bootloader has been modified"));
        QCOMPARE(colourOf(&about, "The bootloader has been modified"), QColor(Qt::red));
    }
    QVERIFY(!l.contains("Could not determine HW-Version"));
    QCOMPARE(m_sim->requestsFor(0x71).size(), 1);
    QCOMPARE(m_sim->requestsFor(0x70).size(), 1);
}

void TestAbout::silentUnit()
{
    m_sim->addFault({BootloaderSim::FaultKind::Silence, -1, -1, 0});
    AboutDialog about(m_rig->handler());
    about.show();
    QTRY_VERIFY_WITH_TIMEOUT(!about.isReadingVersions(), 10000);
    const QStringList l = lines(&about);
    const QString hw = QStringLiteral("Could not determine HW-Version");
    const QString fw = QStringLiteral("Warning: could not read bootloader version HW ID could be invalid");
    const int h = l.indexOf("Hardware:");
    QVERIFY(h > 0);
    QCOMPARE(l.at(h + 1), hw);
    const int b = l.indexOf("Bootloader");
    QVERIFY(b > h);
    QCOMPARE(l.at(b + 1), fw);
    QCOMPARE(l.last(), fw);
    QCOMPARE(colourOf(&about, hw), QColor(Qt::red));
    QCOMPARE(colourOf(&about, fw), QColor(Qt::red));
    QVERIFY(!l.join('\n').contains("P-Module"));
    QVERIFY(m_sim->requestsFor(0x71).size() >= 1);
    QVERIFY(m_sim->requestsFor(0x70).size() >= 1);
}

void TestAbout::twoAboutWindows()
{
    m_sim->setHwVersionAnswer(QByteArray::fromHex("0402"));
    char name[] = "KorvantisLoader";
    char *argv[] = {name, nullptr};
    MainWindow window(nullptr, 1, argv);
    auto *action = window.findChild<QAction *>(QStringLiteral("actionAbout"));
    QVERIFY(action);
    action->trigger();
    QPointer<AboutDialog> first = window.aboutDialog();
    action->trigger();
    QPointer<AboutDialog> second = window.aboutDialog();
    QVERIFY(first && second && first != second);
    QVERIFY(!first->parent() && !second->parent());
    QVERIFY(first->isVisible() && second->isVisible());
    QTRY_VERIFY(!first->isReadingVersions() && !second->isReadingVersions());
    QVERIFY(lines(first).contains("P-Module: 4"));
    QVERIFY(lines(second).contains("P-Module: 4"));
    QCOMPARE(m_sim->requestsFor(0x71).size(), 2);

    // Close deletes the one window; the other stays.
    first->findChild<QPushButton *>(QStringLiteral("btnClose"))->click();
    QTRY_VERIFY(first.isNull());
    QVERIFY(second && second->isVisible());
    delete second;
}

QTEST_MAIN(TestAbout)
#include "tst_about.moc"
