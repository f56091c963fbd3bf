#include <functional>

#include <QPushButton>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

#include "requestlog.h"
#include "configactionbar.h"
#include "configfile.h"
#include "fieldbusfixture.h"
#include "testnet.h"

// The configuration action bar against the simulated unit: the write
// sequence and its save, the read sequence, import and export through the
// model's file operations, each failure reaching the engineer, and the
// device buttons following link and save.
class TestConfigActionBar : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void writeSavesAndWaitsForTheUnit();
    void writeStopsAtTheFirstFailure_data();
    void writeStopsAtTheFirstFailure();
    void conflictStopSaysWhatWasWritten_data();
    void conflictStopSaysWhatWasWritten();
    void readReportsEveryFailedStep();
    void readTakesTheUnitsConfiguration();
    void lostLinkDisablesDeviceButtons();
    void exportThenImportRoundTrip();
    void badFilesAreReportedAndChangeNothing();
    void refusedFileSaysWhy_data();
    void refusedFileSaysWhy();
    void iconsFollowTheScaleFactor();

private:
    QPushButton *button(const char *name) const { return m_bar->findChild<QPushButton *>(QLatin1String(name)); }
    // Fails typed writes of `param` for channel index `index` (-1: any).
    void failWrite(int param, int index, int32_t status);
    int writesOf(int param) const;

    FieldbusRig m_rig;
    UnitSim::Handler m_writes;
    std::unique_ptr<ConfigActionBar> m_bar;
};

void TestConfigActionBar::initTestCase()
{
    KORVANTIS_REQUIRE_TESTNET();
    QVERIFY(m_rig.start(QHostAddress(QStringLiteral("127.0.6.20")), 0xFFFF));
    m_writes = m_rig.sim->handler(EthernetHandler::CmdWriteParam);
    QVERIFY(m_writes);
    FieldbusRig::config()->setSaveFeedbackTimeout(3000);
    // A configuration the unit accepts: its own, read back.
    QCOMPARE(FieldbusRig::config()->readCFGDevice(), ERR_OK);
    m_bar = std::make_unique<ConfigActionBar>();
}

void TestConfigActionBar::init()
{
    m_rig.sim->clearErrorStatus();
    m_rig.sim->setHandler(EthernetHandler::CmdWriteParam, m_writes);
    if (!FieldbusRig::handler()->isConnected()) {
        FieldbusRig::handler()->setTargetIP(m_rig.sim->address());
        QTRY_VERIFY(FieldbusRig::handler()->isConnected());
    }
    QTRY_VERIFY(!FieldbusRig::config()->waitingForFeedback());
    QTRY_VERIFY(button("btnWriteConfig")->isEnabled());
    m_rig.sim->clearRequestLog();
}

void TestConfigActionBar::failWrite(int param, int index, int32_t status)
{
    UnitSim::Handler writes = m_writes;
    m_rig.sim->setHandler(EthernetHandler::CmdWriteParam,
                          [writes, param, index, status](const UnitSimRequest &r, UnitSimReply &reply) {
                              if (r.paramId == param && (index < 0 || r.index == index))
                                  reply.fail(status);
                              else
                                  writes(r, reply);
                          });
}

int TestConfigActionBar::writesOf(int param) const
{
    int n = 0;
    for (const UnitSimRequest &r : withoutResends(m_rig.sim->requestLog()))
        n += r.command == EthernetHandler::CmdWriteParam && r.paramId == param;
    return n;
}

void TestConfigActionBar::writeSavesAndWaitsForTheUnit()
{
    Messages messages(m_bar.get());
    QVERIFY(FieldbusRig::config()->setDevicename(QStringLiteral("Press 4")) == ERR_OK);
    QVERIFY(FieldbusRig::config()->setChannelname(QStringLiteral("Spindle"), 6) == ERR_OK);
    QSignalSpy finished(FieldbusRig::config(), &Confighandler::waitingForFeedbackFinished);

    QTest::mouseClick(button("btnWriteConfig"), Qt::LeftButton);
    QVERIFY2(messages.errors.isEmpty(), qPrintable(messages.errors.join('\n')));
    QCOMPARE(writesOf(0x2000), 1);
    QCOMPARE(writesOf(0x2001), 7);
    QVERIFY(m_rig.serviceActions().contains(0x12));
    // Heartbeats go on while the unit saves: the write button stays off,
    // the read button on.
    QVERIFY(FieldbusRig::config()->waitingForFeedback());
    QVERIFY(!button("btnWriteConfig")->isEnabled());
    QVERIFY(button("btnReadConfig")->isEnabled());
    QTRY_VERIFY_WITH_TIMEOUT(finished.count() > 0, 20000);
    QVERIFY(button("btnWriteConfig")->isEnabled());
    QCOMPARE(FieldbusRig::config()->channelName(6), QStringLiteral("Spindle"));
}

void TestConfigActionBar::writeStopsAtTheFirstFailure_data()
{
    QTest::addColumn<int>("param");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("nameWrites");
    QTest::newRow("device block") << int(EthernetHandler::ParamConfigBlob) << -1
                                  << "Write device configuration failed. Error: invalid param Errorcode: -16" << 0;
    QTest::newRow("device name") << 0x2000 << -1 << "Write device name failed. Error: invalid param Errorcode: -16"
                                 << 0;
    // The third channel (index 2) is channel 3 to the engineer.
    QTest::newRow("third channel name")
        << 0x2001 << 2 << "Write channel 3 name failed. Error: invalid param Errorcode: -16" << 3;
}

void TestConfigActionBar::writeStopsAtTheFirstFailure()
{
    QFETCH(int, param);
    QFETCH(int, index);
    QFETCH(QString, message);
    QFETCH(int, nameWrites);
    failWrite(param, index, ERR_INVALID_PARAM);
    Messages messages(m_bar.get());
    QTest::mouseClick(button("btnWriteConfig"), Qt::LeftButton);
    QVERIFY(messages.errors.contains(message));
    QCOMPARE(writesOf(0x2001), nameWrites);
    QVERIFY(!m_rig.serviceActions().contains(0x12));
    QVERIFY(!FieldbusRig::config()->waitingForFeedback());
    QVERIFY(button("btnWriteConfig")->isEnabled());
}

void TestConfigActionBar::conflictStopSaysWhatWasWritten_data()
{
    QTest::addColumn<bool>("macConflict");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("blobWrites");
    QTest::newRow("Cancel on MAC Conflict")
        << true << "MAC Conflict"
        << "Write device configuration failed. Error: not supported function/feature Errorcode: -17\n"
           "The write was stopped by your choice (\"Cancel\" on \"MAC Conflict\"). Nothing was written to the unit."
        << 0;
    QTest::newRow("No on Reference State conflict")
        << false << "Reference State conflict"
        << "Write device configuration failed. Error: invalid configuration Errorcode: -18\n"
           "The write was stopped by your choice (\"No\" on \"Reference State conflict\"). Already written to the "
           "unit but not saved: the channel configuration, the output selection, the output inversion, the enabled "
           "channels, the debounce time, and scale and threshold of channels 1, 2. The device and channel names "
           "were not written."
        << 1;
}

void TestConfigActionBar::conflictStopSaysWhatWasWritten()
{
    QFETCH(bool, macConflict);
    QFETCH(QString, title);
    QFETCH(QString, message);
    QFETCH(int, blobWrites);
    Confighandler *config = FieldbusRig::config();
    const CFG_Blob_struct_sorted blob = config->getConfigBlob();
    const CFG_Device_Param_struct block = config->getDeviceConfig();
    // Put back for the next tests, also when a check fails.
    struct Restore
    {
        std::function<void()> run;
        ~Restore() { run(); }
    } restore{[this, config, blob, block] {
        for (uint16_t ch = 0; ch < 2; ++ch)
            m_rig.sim->parameters().setValue(uint16_t(0x50 + ch), QByteArray::fromHex("ffff"));
        config->sealBlob(blob);
        config->setDeviceConfig(block);
    }};
    if (macConflict) {
        CFG_Blob_struct_sorted other = blob;
        other.setReferenceMac(0x0000665544332211ull);
        QCOMPARE(config->sealBlob(other), ERR_OK);
    } else {
        // The unit has reference values for channels 1 and 2 only; the tool
        // has one for channel 3 as well.
        for (uint16_t ch = 0; ch < 2; ++ch)
            m_rig.sim->parameters().setValue(uint16_t(0x50 + ch), QByteArray::fromHex("9001"));
        CFG_Device_Param_struct changed = block;
        changed.setReferenceSkw(2, 300);
        QCOMPARE(config->setDeviceConfig(changed), ERR_OK);
    }
    QStringList asked;
    QObject context;
    connect(config,
            QOverload<QStringList, QString, QString, int, int32_t *>::of(&Confighandler::printMessageboxwrapper),
            &context, [&](QStringList, QString boxTitle, QString, int, int32_t *answer) {
                asked << boxTitle;
                *answer = 0;  // Cancel, No
            });
    Messages messages(m_bar.get());
    QTest::mouseClick(button("btnWriteConfig"), Qt::LeftButton);

    QCOMPARE(asked, QStringList{title});
    QCOMPARE(messages.errors, QStringList{message});
    QCOMPARE(writesOf(EthernetHandler::ParamConfigBlob), blobWrites);
    QCOMPARE(writesOf(0x2000), 0);
    QVERIFY(!m_rig.serviceActions().contains(0x12));  // nothing saved
}

void TestConfigActionBar::readReportsEveryFailedStep()
{
    m_rig.sim->setErrorStatus(EthernetHandler::CmdReadParam, -1, ERR_INVALID_PARAM);
    Messages messages(m_bar.get());
    QTest::mouseClick(button("btnReadConfig"), Qt::LeftButton);
    QStringList expected{QStringLiteral("Read device name failed.\nError: invalid param\nErrorcode: -16")};
    for (int channel = 0; channel < 7; ++channel)
        expected << QStringLiteral("Read channel %1 name failed. Error: invalid param Errorcode: -16").arg(channel);
    expected << QStringLiteral("Read configuration failed. Error: invalid param Errorcode: -16");
    // The model may add its own lines; the bar's nine come in this order.
    QStringList barLines;
    for (const QString &e : messages.errors)
        if (expected.contains(e))
            barLines << e;
    QCOMPARE(barLines, expected);
}

void TestConfigActionBar::readTakesTheUnitsConfiguration()
{
    Confighandler *config = FieldbusRig::config();
    QCOMPARE(config->setDevicename(QStringLiteral("Unit name")), ERR_OK);
    QTest::mouseClick(button("btnWriteConfig"), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(!config->waitingForFeedback(), 20000);
    QCOMPARE(config->setDevicename(QStringLiteral("Only here")), ERR_OK);
    QSignalSpy names(config, &Confighandler::Devicenamechanged);
    Messages messages(m_bar.get());
    QTest::mouseClick(button("btnReadConfig"), Qt::LeftButton);
    QVERIFY2(messages.errors.isEmpty(), qPrintable(messages.errors.join('\n')));
    QCOMPARE(config->deviceName(), QStringLiteral("Unit name"));
    QVERIFY(!names.isEmpty());
}

void TestConfigActionBar::lostLinkDisablesDeviceButtons()
{
    QTest::mouseClick(button("btnWriteConfig"), Qt::LeftButton);
    QVERIFY(FieldbusRig::config()->waitingForFeedback());
    // The link goes while the save is pending: the model ends the save, yet
    // no device button may come back for a unit that is gone.
    FieldbusRig::handler()->disconnectFromDevice();
    QVERIFY(!FieldbusRig::config()->waitingForFeedback());
    QVERIFY(!button("btnWriteConfig")->isEnabled());
    QVERIFY(!button("btnReadConfig")->isEnabled());
    QVERIFY(m_bar->findChild<QToolButton *>("btnOpenConfig")->isEnabled());
    QVERIFY(m_bar->findChild<QToolButton *>("btnSaveConfig")->isEnabled());
}

void TestConfigActionBar::exportThenImportRoundTrip()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString file = dir.filePath(QStringLiteral("press.cfg"));
    Confighandler *config = FieldbusRig::config();
    QStringList asked;
    config->setFileNameProvider([&](bool, const QString &caption, const QString &) {
        asked << caption;
        return file;
    });
    QCOMPARE(config->setDevicename(QStringLiteral("Exported")), ERR_OK);
    Messages messages(m_bar.get());
    QTest::mouseClick(m_bar->findChild<QToolButton *>("btnSaveConfig"), Qt::LeftButton);
    QVERIFY(QFile::exists(file));
    QCOMPARE(config->setDevicename(QStringLiteral("Changed since")), ERR_OK);
    QTest::mouseClick(m_bar->findChild<QToolButton *>("btnOpenConfig"), Qt::LeftButton);
    // The import may ask about differing connection parameters; none here.
    QCOMPARE(config->deviceName(), QStringLiteral("Exported"));
    QVERIFY2(messages.errors.isEmpty(), qPrintable(messages.errors.join('\n')));
    QCOMPARE(asked.size(), 2);
    // The link watch was paused only around the dialogs.
    QVERIFY(FieldbusRig::handler()->isConnected());
    config->setFileNameProvider(nullptr);
}

void TestConfigActionBar::refusedFileSaysWhy_data()
{
    QTest::addColumn<QString>("damage");
    QTest::addColumn<QString>("reason");
    QTest::newRow("version 3") << "version" << "unsupported file version 3";
    QTest::newRow("cut inside the names") << "cut" << "file ends inside block 3";
    QTest::newRow("name not UTF-8") << "name" << "device name: name is not valid UTF-8";
}

void TestConfigActionBar::refusedFileSaysWhy()
{
    QFETCH(QString, damage);
    QFETCH(QString, reason);
    // A sound file, then damaged as the row says.
    ConfigFileContent content;
    content.version = ConfigFile::kVersion;
    QByteArray bytes = ConfigFile::encode(content);
    QVERIFY(ConfigFile::decode(bytes, nullptr, nullptr));
    const int names = 4 + 4 + 4 + 16 + 4;  // version block, network block, names' length
    if (damage == "version") {
        bytes[4] = 3;  // the version, little-endian
    } else if (damage == "cut") {
        bytes.truncate(names + 100);
    } else {
        bytes[names] = char(0xC3);  // a lead byte followed by no continuation
        bytes[names + 1] = '(';
        bytes[names + DeviceNameRecord::kLengthOffset] = 2;
    }
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("refused.cfg"));
    QFile f(file);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    f.close();

    Confighandler *config = FieldbusRig::config();
    QCOMPARE(config->setDevicename(QStringLiteral("Kept")), ERR_OK);
    config->setFileNameProvider([&](bool, const QString &, const QString &) { return file; });
    Messages messages(m_bar.get());
    QTest::mouseClick(m_bar->findChild<QToolButton *>("btnOpenConfig"), Qt::LeftButton);
    config->setFileNameProvider(nullptr);
    // The specified text, and after it the reader's reason.
    QCOMPARE(messages.errors,
             QStringList{QStringLiteral("Import configuration from file failed. Error: invalid file Errorcode: -103 (")
                         + reason + QLatin1Char(')')});
    QCOMPARE(config->deviceName(), QStringLiteral("Kept"));
}

void TestConfigActionBar::badFilesAreReportedAndChangeNothing()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    Confighandler *config = FieldbusRig::config();
    QCOMPARE(config->setDevicename(QStringLiteral("Kept")), ERR_OK);
    const CFG_Device_Param_struct before = config->getDeviceConfig();

    const QString damaged = dir.filePath(QStringLiteral("damaged.cfg"));
    QFile f(damaged);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(300, '\x5a'));
    f.close();
    QString chosen = damaged;
    config->setFileNameProvider([&](bool, const QString &, const QString &) { return chosen; });
    Messages messages(m_bar.get());
    QTest::mouseClick(m_bar->findChild<QToolButton *>("btnOpenConfig"), Qt::LeftButton);
    QVERIFY2(messages.errors.contains(QStringLiteral(
                 "Import configuration from file failed. Error: invalid file Errorcode: -103 (unsupported file version)")),
             qPrintable(messages.errors.join('\n')));
    QCOMPARE(config->deviceName(), QStringLiteral("Kept"));
    QVERIFY(config->getDeviceConfig() == before);

    // An export into a folder that is not there fails and says so.
    chosen = dir.filePath(QStringLiteral("missing/folder/out.cfg"));
    messages.errors.clear();
    QTest::mouseClick(m_bar->findChild<QToolButton *>("btnSaveConfig"), Qt::LeftButton);
    QCOMPARE(messages.errors.size() >= 1, true);
    QVERIFY(messages.errors.last().startsWith(QStringLiteral("Export configuration to file failed.")));
    QVERIFY(!QFile::exists(chosen));
    config->setFileNameProvider(nullptr);
}

void TestConfigActionBar::iconsFollowTheScaleFactor()
{
    ConfigActionBar bar;
    bar.ScaleFactorChange(1.25);
    QCOMPARE(bar.findChild<QToolButton *>("btnOpenConfig")->iconSize(), QSize(30, 30));
    QCOMPARE(bar.findChild<QToolButton *>("btnSaveConfig")->iconSize(), QSize(30, 30));
    // Fresh bars start with both device buttons off, import and export on.
    QVERIFY(!bar.findChild<QPushButton *>("btnWriteConfig")->isEnabled());
    QVERIFY(!bar.findChild<QPushButton *>("btnReadConfig")->isEnabled());
}

QTEST_MAIN(TestConfigActionBar)
#include "tst_configactionbar.moc"
