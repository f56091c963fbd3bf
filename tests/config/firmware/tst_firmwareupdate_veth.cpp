#include <QtTest>

#include "bootloadersim.h"
#include "firmwareupdater.h"
#include "loaderlaunch.h"
#include "archivefixture.h"
#include "testnet.h"
#include "updatefirmware.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>


// A firmware update runs the real KorvantisLoader three times against a
// simulated unit in this process, which resets into its bootloader, takes
// the archive and starts the firmware again.
class TestFirmwareUpdateVeth : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanupTestCase();
    void updateWritesTheArchiveAndStartsTheFirmware();
    void failingWriteIsTheResultAndTheFirmwareStillStarts();
    void failingCatchSkipsTheWrite();
    void missingLoaderRunsNothing();
    void loaderKilledAtItsTimeOut();
    void pageNamesTheChosenArchive_data();
    void pageNamesTheChosenArchive();
    void pageReportsMissingFileAndFailedUpdate();

private:
    FirmwareUpdater updater(int timeoutMs = 30000) const
    {
        FirmwareUpdater u(nullptr);
        u.setLookup(m_empty.path(), testnet::binDir());
        u.setTimeoutMs(timeoutMs);
        return u;
    }
    QString archive(const QString &name, const QByteArray &image) const
    {
        const QString path = m_files.filePath(name);
        QDir().mkpath(QFileInfo(path).path());
        if (fixture::makeArchive(3, {{loader::FirmwareSection::PagedImage, image}}).save(path) != loader::ERR_OK)
            return QString();
        return path;
    }
    QList<uint8_t> commands() const
    {
        QList<uint8_t> list;
        for (const auto &r : m_sim->requests())
            list << r.command;
        return list;
    }

    const QHostAddress m_unit{QStringLiteral("127.0.10.2")};
    const QHostAddress m_local = testnet::toolVethAddress();
    BootloaderSim *m_sim = nullptr;
    QTemporaryDir m_empty;  // a working folder without any loader
    QTemporaryDir m_files;
};

void TestFirmwareUpdateVeth::initTestCase()
{
    KORVANTIS_REQUIRE_TESTNET();
    m_sim = new BootloaderSim(m_unit);
    m_sim->setListenBroadcast(false);
    QString error;
    QVERIFY2(m_sim->start(&error), qPrintable(error));
}

void TestFirmwareUpdateVeth::init()
{
    if (!m_sim)
        return;
    m_sim->setState(BootloaderSim::State::Firmware);
    m_sim->setRebootMs(500);
    m_sim->setCatchWindowMs(5000);
    m_sim->eraseFlash();
    m_sim->clearFaults();
    m_sim->clearRequests();
}

void TestFirmwareUpdateVeth::cleanupTestCase() { delete m_sim; }

void TestFirmwareUpdateVeth::updateWritesTheArchiveAndStartsTheFirmware()
{
    KORVANTIS_REQUIRE_TESTNET();
    // A folder name with blanks reaches the loader as one argument.
    const QByteArray image = fixture::pattern(0x4000 + 100, 21);
    const QString fw = archive(QStringLiteral("my firmware/new image.fwa"), image);
    QVERIFY(!fw.isEmpty());

    FirmwareUpdater u = updater();
    QCOMPARE(u.updateFirmware(m_unit, m_local, fw), 0);
    QCOMPARE(u.lastExitCode(), 0);
    QCOMPARE(m_sim->readFlash(0x08014000, image.size()), image);
    const QList<uint8_t> sent = commands();
    QCOMPARE(sent.first(), uint8_t(0xFF));  // reset first
    QCOMPARE(sent.last(), uint8_t(0x91));   // the firmware started last
    QTRY_VERIFY(m_sim->state() == BootloaderSim::State::Firmware);
}

void TestFirmwareUpdateVeth::failingWriteIsTheResultAndTheFirmwareStillStarts()
{
    KORVANTIS_REQUIRE_TESTNET();
    const QString fw = archive(QStringLiteral("crc.fwa"), fixture::pattern(0x4000, 22));
    m_sim->addFault({BootloaderSim::FaultKind::RefuseCrc, 0x82, 1, 0});

    FirmwareUpdater u = updater();
    // "-l" succeeds, but the update failed: the write decides.
    QCOMPARE(u.updateFirmware(m_unit, m_local, fw), -1001);
    QCOMPARE(u.lastExitCode(), -3);
    QCOMPARE(u.lastStep(), QStringLiteral("-f"));
    QCOMPARE(UpdateFirmware::failureMessage(u),
             QStringLiteral("The Firmware update failed. Return code: -3 (step -f: KorvantisLoader reported -3)"));
    QCOMPARE(commands().last(), uint8_t(0x91));
}

void TestFirmwareUpdateVeth::failingCatchSkipsTheWrite()
{
    KORVANTIS_REQUIRE_TESTNET();
    const QString fw = archive(QStringLiteral("never.fwa"), fixture::pattern(0x4000, 23));
    m_sim->setCatchWindowMs(0);  // the unit never stays in its bootloader

    FirmwareUpdater u = updater();
    QCOMPARE(u.updateFirmware(m_unit, m_local, fw), -1001);
    QCOMPARE(u.lastExitCode(), -1000);
    QVERIFY(m_sim->requestsFor(0x82).isEmpty());  // nothing written
    QCOMPARE(m_sim->readFlash(0x08014000, 16), QByteArray(16, char(0xFF)));
}

void TestFirmwareUpdateVeth::missingLoaderRunsNothing()
{
    KORVANTIS_REQUIRE_TESTNET();
    QTemporaryDir nowhere;
    FirmwareUpdater u(nullptr);
    u.setLookup(nowhere.path(), nowhere.path());
    QCOMPARE(u.updateFirmware(m_unit, m_local, archive(QStringLiteral("any.fwa"), fixture::pattern(64, 1))), -100);
    // No run, no exit code: not the 0 of a loader that succeeded.
    QCOMPARE(u.lastExitCode(), -100);
    QCOMPARE(u.lastStep(), QStringLiteral("-rc"));
    QCOMPARE(u.lastOutcome(), LoaderLaunch::Outcome::NotFound);
    QVERIFY(m_sim->requests().isEmpty());
}

void TestFirmwareUpdateVeth::loaderKilledAtItsTimeOut()
{
    KORVANTIS_REQUIRE_TESTNET();
    // "-rc" waits seconds for the unit to come back; a short time-out kills it.
    FirmwareUpdater u = updater(800);
    QCOMPARE(u.updateFirmware(m_unit, m_local, archive(QStringLiteral("k.fwa"), fixture::pattern(64, 2))), -1001);
    QCOMPARE(u.lastExitCode(), -99999);
    QCOMPARE(u.lastStep(), QStringLiteral("-rc"));
    QCOMPARE(u.lastOutcome(), LoaderLaunch::Outcome::TimedOut);
}

void TestFirmwareUpdateVeth::pageNamesTheChosenArchive_data()
{
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<bool>("attention");

    QTest::newRow("extension added") << QStringLiteral("/fw/image") << QStringLiteral("/fw/image.fwa") << false;
    QTest::newRow("ends in fwa") << QStringLiteral("/fw/imagefwa") << QStringLiteral("/fw/imagefwa") << false;
    QTest::newRow("upper case is not ours") << QStringLiteral("/fw/a.FWA") << QStringLiteral("/fw/a.FWA.fwa") << false;
    QTest::newRow("cancelled") << QString() << QStringLiteral("kept") << false;
    QTest::newRow("blank name") << QStringLiteral("  ") << QStringLiteral("kept") << true;
}

void TestFirmwareUpdateVeth::pageNamesTheChosenArchive()
{
    QFETCH(QString, chosen);
    QFETCH(QString, shown);
    QFETCH(bool, attention);

    UpdateFirmware page;
    page.findChild<QLineEdit *>(QStringLiteral("leditFile"))->setText(QStringLiteral("kept"));
    QString caption, filter;
    page.setFileChooser([&](QWidget *, const QString &c, const QString &f) {
        caption = c;
        filter = f;
        return chosen;
    });
    QSignalSpy errors(&page, &BaseWidget::printNotifyBarErrorwrapper);
    QMetaObject::invokeMethod(&page, "on_btnOpenDialog_clicked");
    QCOMPARE(caption, QStringLiteral("Load firmware fwa"));
    QCOMPARE(filter, QStringLiteral("FWA file ( *.fwa ) "));
    QCOMPARE(page.findChild<QLineEdit *>(QStringLiteral("leditFile"))->text(), shown);
    QCOMPARE(errors.size(), attention ? 1 : 0);
    if (attention)
        QCOMPARE(errors.first().first().toString(), QStringLiteral("No File selected?"));
}

void TestFirmwareUpdateVeth::pageReportsMissingFileAndFailedUpdate()
{
    KORVANTIS_REQUIRE_TESTNET();
    UpdateFirmware page;
    QSignalSpy errors(&page, &BaseWidget::printNotifyBarErrorwrapper);
    auto *file = page.findChild<QLineEdit *>(QStringLiteral("leditFile"));
    auto *update = page.findChild<QPushButton *>(QStringLiteral("btnUpdate"));

    file->setText(m_files.filePath(QStringLiteral("missing.fwa")));
    update->click();
    QCOMPARE(errors.size(), 1);
    QCOMPARE(errors.takeFirst().first().toString(), QStringLiteral("No Firmware update possible. File not valid/found"));
    QVERIFY(m_sim->requests().isEmpty());

    // Without a loader program the update fails, and the page says which
    // step and why.
    QTemporaryDir nowhere;
    page.setLoaderLookup(nowhere.path(), nowhere.path(), 1000);
    file->setText(archive(QStringLiteral("p.fwa"), fixture::pattern(64, 3)));
    update->click();
    QCOMPARE(errors.size(), 1);
    QCOMPARE(errors.first().first().toString(),
             QStringLiteral("The Firmware update failed. Return code: -100 (step -rc: KorvantisLoader was not found)"));
    QVERIFY(update->isEnabled());
}

QTEST_MAIN(TestFirmwareUpdateVeth)
#include "tst_firmwareupdate_veth.moc"
