#include <functional>

#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include "requestlog.h"
#include "fieldbusactionbar.h"
#include "fieldbusconfig.h"
#include "fieldbusfixture.h"
#include "testnet.h"

// The fieldbus action bar against the simulated unit: apply (write, save,
// question, feedback wait, progress and module reset), read back, the FTP
// switches, their failures, a second apply while one runs, and the page
// going away in the middle of an apply.
class TestFieldbusActionbar : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void applyNeedsTheUnitsOwnRecord_data();
    void applyNeedsTheUnitsOwnRecord();
    void apply_data();
    void apply();
    void applyWriteFails();
    void applyResetFails();
    void secondApplyIsRefused();
    void pageDeletedDuringApply();
    void readBack();
    void ftp_data();
    void ftp();

private:
    static QPushButton *button(QWidget *w, const char *name)
    {
        return w->findChild<QPushButton *>(QLatin1String(name));
    }
    // Fails service action `action` with `status`; the others go on.
    void failAction(int action, int32_t status);
    static QStringList tenTicks();

    FieldbusRig m_rig;
    UnitSim::Handler m_serviceActions;
};

void TestFieldbusActionbar::initTestCase()
{
    KORVANTIS_REQUIRE_TESTNET();
    QVERIFY(m_rig.start(QHostAddress(QStringLiteral("127.0.6.11")), 0x85));
    m_serviceActions = m_rig.sim->handler(EthernetHandler::CmdServiceAction);
    QVERIFY(m_serviceActions);
    FieldbusActionbar::setTimings(5, 5000);
}

void TestFieldbusActionbar::init()
{
    m_rig.sim->clearErrorStatus();
    m_rig.sim->setHandler(EthernetHandler::CmdServiceAction, m_serviceActions);
    QTRY_VERIFY(!FieldbusRig::config()->waitingForFeedback());
    // An apply writes only a record that came from this unit (or a file).
    QCOMPARE(FieldbusRig::config()->readCFGFieldbus(), ERR_OK);
    m_rig.sim->clearRequestLog();
}

void TestFieldbusActionbar::failAction(int action, int32_t status)
{
    m_rig.sim->setHandler(EthernetHandler::CmdServiceAction,
                          [this, action, status](const UnitSimRequest &request, UnitSimReply &reply) {
                              if (!request.payload.isEmpty() && uint8_t(request.payload.at(0)) == action)
                                  reply.fail(status);
                              else
                                  m_serviceActions(request, reply);
                          });
}

QStringList TestFieldbusActionbar::tenTicks()
{
    QStringList events{QStringLiteral("init Reset Fieldbus module 10")};
    for (int i = 1; i <= 10; ++i)
        events << QStringLiteral("update %1").arg(i);
    return events << QStringLiteral("deinit");
}

void TestFieldbusActionbar::applyNeedsTheUnitsOwnRecord_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("refusal");  // empty: the apply writes
    const QString notRead = QStringLiteral(
        "Nothing was written: this unit's fieldbus configuration has not been read yet. Click \"Read Fieldbus "
        "Configuration\" first (or load a configuration file).");
    // A record held, but not read since this unit answers.
    const QString notReadHere = QStringLiteral(
        "Nothing was written: the fieldbus configuration on this page has not been read from this unit since it was "
        "connected. Click \"Read Fieldbus Configuration\" first (or load a configuration file of this unit).");
    const QString reset = QStringLiteral(
        "Nothing was written: the unit's configuration was reset after its fieldbus configuration was read, so the "
        "page no longer shows what the unit holds. Click \"Read Fieldbus Configuration\" first.");
    const QString networkReset = QStringLiteral(
        "Nothing was written: the unit's network settings were reset (\"Reset Network Settings\") after its "
        "fieldbus configuration was read, so the page may no longer show what the unit holds. Click \"Read Fieldbus "
        "Configuration\" first.");
    // Right after connecting the tool holds the empty record: applying it
    // would wipe the module's address and names on the unit.
    QTest::newRow("nothing read") << "nothing" << notRead;
    QTest::newRow("read from the unit") << "read" << QString();
    QTest::newRow("edited after the read") << "read, edit" << QString();
    QTest::newRow("loaded from a file") << "file" << QString();
    // A file made while the record was no unit's holds the block of a unit
    // whose record was never read.
    QTest::newRow("file of no unit's record") << "unread file" << notRead;
    QTest::newRow("link lost after the read") << "read, lose link" << notReadHere;
    QTest::newRow("another unit after the read") << "read, other unit" << notReadHere;
    // The unit holds its defaults now, whatever the answer said.
    QTest::newRow("reset to defaults after the read") << "read, reset defaults" << reset;
    QTest::newRow("network reset after the read") << "read, reset network" << networkReset;
    // Another unit's network settings leave this unit's record its own.
    QTest::newRow("another unit's network reset") << "read, reset network elsewhere" << QString();
    QTest::newRow("read again after a reset") << "read, reset defaults, read" << QString();
    QTest::newRow("another module's record") << "read, other module" << QStringLiteral(
        "Nothing was written: the fieldbus configuration on this page is made for a module of type PROFINET RT "
        "(0x84), but this unit's module is of type EtherNet/IP (0x85). Click \"Read Fieldbus Configuration\" to "
        "edit the unit's own settings, or load a configuration file made for a module of type EtherNet/IP (0x85).");
}

void TestFieldbusActionbar::applyNeedsTheUnitsOwnRecord()
{
    QFETCH(QString, before);
    QFETCH(QString, refusal);
    const bool applies = refusal.isEmpty();
    Confighandler *config = FieldbusRig::config();
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("plant.cfg"));
    QByteArray onUnit = fullRecord(0x85);
    putText(onUnit, 0x014, 64, "kv-fieldbus");
    m_rig.setUnitRecord(onUnit);

    config->setDefaultConfig();  // as the program starts
    QByteArray expected = onUnit;
    if (before == QLatin1String("file")) {
        // This unit's record, edited, saved with its configuration.
        QByteArray fromFile = fullRecord(0x85);
        putText(fromFile, 0x014, 64, "from-file");
        QCOMPARE(config->readCFGFieldbus(), ERR_OK);
        config->setAnybusCFG(Anybus_cfg::fromBytes(fromFile));
        QCOMPARE(config->readCFGDevice(), ERR_OK);  // a configuration that may be saved
        QCOMPARE(config->saveConfigFile(file), ERR_OK);
        config->setDefaultConfig();
        QCOMPARE(config->loadConfigFile(file), ERR_OK);
        QCOMPARE(config->getAnybusCFG().toBytes().toHex(' '), fromFile.toHex(' '));
        expected = fromFile;
    } else if (before == QLatin1String("unread file")) {
        config->setAnybusCFG(Anybus_cfg::fromBytes(fullRecord(0x85)));
        QCOMPARE(config->readCFGDevice(), ERR_OK);
        QCOMPARE(config->saveConfigFile(file), ERR_OK);
        config->setDefaultConfig();
        QCOMPARE(config->loadConfigFile(file), ERR_OK);
        QCOMPARE(config->getAnybusCFG(), Anybus_cfg());
    } else if (before.startsWith(QLatin1String("read"))) {
        QCOMPARE(config->readCFGFieldbus(), ERR_OK);
    }
    if (before.endsWith(QLatin1String("edit"))) {
        Anybus_cfg edited = config->getAnybusCFG();
        edited.data()[0x008] = 192;
        config->setAnybusCFG(edited);
        expected[0x008] = char(192);
    }
    if (before.contains(QLatin1String("reset defaults"))) {
        QCOMPARE(FieldbusRig::handler()->resetDefaultConfig(), ERR_OK);
        expected = onUnit = m_rig.unitRecord();
        if (before.endsWith(QLatin1String("read")))
            QCOMPARE(config->readCFGFieldbus(), ERR_OK);
    } else if (before.contains(QLatin1String("reset network"))) {
        // Sent by broadcast, which this unit does not take: unanswered, and
        // still a reset for all the tool can know.
        BCAST_NET_CONFIG record;
        record.mac = m_rig.sim->macAddress();
        if (before.endsWith(QLatin1String("elsewhere")))
            record.mac[5] ^= 0xFF;
        FieldbusRig::handler()->resetNetworkSettings(record, BCAST_NET_CONFIG::ResetToDefaults);
    } else if (before.endsWith(QLatin1String("other module"))) {
        config->setAnybusCFG(Anybus_cfg::fromBytes(fullRecord(0x84)));
    }
    std::unique_ptr<UnitSim> other;
    // Back at the first unit for the next tests, also when a check fails.
    struct Restore
    {
        std::function<void()> run;
        ~Restore() { run(); }
    } restore{[this, &other] {
        if (!other || FieldbusRig::handler()->targetAddress() == m_rig.sim->address())
            return;
        FieldbusRig::handler()->setTargetIP(m_rig.sim->address());
        // No check can fail here; a link not back shows in the next test.
        (void)QTest::qWaitFor([this] { return m_rig.sim->countRequests(EthernetHandler::CmdHeartbeat) >= 2; }, 20000);
    }};
    if (before.endsWith(QLatin1String("lose link"))) {
        QSignalSpy lost(FieldbusRig::handler(), &EthernetHandler::connectionLost);
        m_rig.sim->faults().silent = true;
        QVERIFY(lost.wait(20000));
        m_rig.sim->faults().silent = false;
        QTRY_VERIFY_WITH_TIMEOUT(FieldbusRig::handler()->isConnected(), 20000);
    } else if (before.endsWith(QLatin1String("other unit"))) {
        other = std::make_unique<UnitSim>();
        other->setListenBroadcast(false);
        other->setPushInterval(0);
        other->setFieldbusModule(0x85);
        other->setAddress(QHostAddress(QStringLiteral("127.0.6.16")));
        QString error;
        QVERIFY2(other->start(&error), qPrintable(error));
        FieldbusRig::handler()->setTargetIP(other->address());
        QTRY_VERIFY_WITH_TIMEOUT(other->countRequests(EthernetHandler::CmdHeartbeat) >= 2, 20000);
        QTRY_VERIFY_WITH_TIMEOUT(FieldbusRig::handler()->isConnected(), 20000);
    }
    const QByteArray otherBefore = other ? other->parameters().value(0x3000) : QByteArray();
    m_rig.sim->clearRequestLog();

    FieldbusActionbar bar;
    Messages messages(&bar);
    messages.answers = {0};
    button(&bar, "btnResetAnybusMod")->click();
    if (applies) {
        QVERIFY2(messages.errors.isEmpty(), qPrintable(messages.errors.join('\n')));
        QCOMPARE(messages.questions.size(), 1);
        QCOMPARE(m_rig.unitRecord().toHex(' '), expected.toHex(' '));
    } else {
        QCOMPARE(messages.errors, QStringList{refusal});
        QVERIFY(messages.questions.isEmpty());
        QCOMPARE(m_rig.sim->countRequests(EthernetHandler::CmdWriteParam), 0);
        QVERIFY(m_rig.serviceActions().isEmpty());
        QCOMPARE(m_rig.unitRecord().toHex(' '), onUnit.toHex(' '));
        if (other) {
            QCOMPARE(other->countRequests(EthernetHandler::CmdWriteParam), 0);
            QCOMPARE(other->parameters().value(0x3000), otherBefore);
        }
        // A read makes it this unit's record again.
        QCOMPARE(config->readCFGFieldbus(), ERR_OK);
        QVERIFY(config->anybusCFGWritable());
        QCOMPARE(FieldbusActionbar::applyRefusal(), QString());
    }
    if (other) {
        m_rig.sim->clearRequestLog();
        FieldbusRig::handler()->setTargetIP(m_rig.sim->address());
        QTRY_VERIFY_WITH_TIMEOUT(m_rig.sim->countRequests(EthernetHandler::CmdHeartbeat) >= 2, 20000);
        QTRY_VERIFY_WITH_TIMEOUT(FieldbusRig::handler()->isConnected(), 20000);
        // Back at the first unit: the other unit's record is not this one's.
        QVERIFY(!config->anybusCFGWritable());
    }
}

void TestFieldbusActionbar::apply_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("reset");
    QTest::newRow("Yes") << 1 << true;
    QTest::newRow("No") << 0 << false;
    QTest::newRow("box closed") << -1 << false;
}

void TestFieldbusActionbar::apply()
{
    QFETCH(int, answer);
    QFETCH(bool, reset);
    FieldbusActionbar bar;
    Messages messages(&bar);
    ProgressLog progress;
    messages.answers = {answer};
    QByteArray record = fullRecord(0x85);
    putText(record, 0x014, 64, "applied");
    FieldbusRig::config()->setAnybusCFG(Anybus_cfg::fromBytes(record));
    const int resets = m_rig.sim->fieldbusResets();

    button(&bar, "btnResetAnybusMod")->click();
    QCOMPARE(messages.questions,
             QStringList{"No/Yes|Read Config|Do you want to reset the fieldbus module to apply the settings?"});
    QVERIFY2(messages.errors.isEmpty(), qPrintable(messages.errors.join('\n')));
    // Written and saved whatever the answer; the save had ended before the
    // reset went out.
    QCOMPARE(m_rig.unitRecord().toHex(' '), record.toHex(' '));
    QVERIFY(!FieldbusRig::config()->waitingForFeedback());
    QCOMPARE(m_rig.serviceActions().mid(0, 2), (QList<int>{0x12, 0x11}));
    QCOMPARE(m_rig.serviceActions().contains(0x30), reset);
    QCOMPARE(m_rig.sim->fieldbusResets() - resets, reset ? 1 : 0);
    QCOMPARE(progress.events, reset ? tenTicks() : QStringList());
    QVERIFY(!FieldbusActionbar::isApplying());
}

void TestFieldbusActionbar::applyWriteFails()
{
    FieldbusActionbar bar;
    Messages messages(&bar);
    messages.answers = {1};
    FieldbusRig::config()->setAnybusCFG(Anybus_cfg::fromBytes(fullRecord(0x85)));
    m_rig.sim->setErrorStatus(EthernetHandler::CmdWriteParam, 0x3000, -7);
    button(&bar, "btnResetAnybusMod")->click();
    QCOMPARE(messages.errors, QStringList{"Failed to write the fieldbus config to the Device! Errorcode: -7"});
    QVERIFY(messages.questions.isEmpty());
    QVERIFY(m_rig.serviceActions().isEmpty());  // no save, no reset
}

void TestFieldbusActionbar::applyResetFails()
{
    FieldbusActionbar bar;
    Messages messages(&bar);
    ProgressLog progress;
    messages.answers = {1};
    failAction(0x30, -5);
    button(&bar, "btnResetAnybusMod")->click();
    QCOMPARE(messages.errors, QStringList{"Failed to reset the fieldbus module! Errorcode: -5"});
    // The progress bar goes all the same.
    QCOMPARE(progress.events, tenTicks());
}

void TestFieldbusActionbar::secondApplyIsRefused()
{
    FieldbusActionbar bar;
    FieldbusActionbar other;  // a second bar shares the one apply
    Messages messages(&bar);
    Messages otherMessages(&other);
    messages.answers = {1};
    messages.duringQuestion = [&] {
        button(&bar, "btnResetAnybusMod")->click();
        button(&other, "btnResetAnybusMod")->click();
    };
    button(&bar, "btnResetAnybusMod")->click();
    const QString refused =
        QStringLiteral("The fieldbus configuration is still being applied. Please wait until it has finished.");
    QCOMPARE(messages.errors, QStringList{refused});
    QCOMPARE(otherMessages.errors, QStringList{refused});
    QCOMPARE(messages.questions.size(), 1);
    QCOMPARE(distinctRequests(m_rig.sim->requestLog(), EthernetHandler::CmdWriteParam), 1);
    QCOMPARE(m_rig.serviceActions().count(0x30), 1);
    // Free again once the first has ended.
    QVERIFY(!FieldbusActionbar::isApplying());
    otherMessages.answers = {0};
    button(&other, "btnResetAnybusMod")->click();
    QCOMPARE(otherMessages.errors, QStringList{refused});
    QCOMPARE(otherMessages.questions.size(), 1);
}

void TestFieldbusActionbar::pageDeletedDuringApply()
{
    QPointer<FieldbusConfig> page = new FieldbusConfig;
    auto *bar = page->findChild<FieldbusActionbar *>(QStringLiteral("wdgFBActionBar"));
    QVERIFY(bar);
    ProgressLog progress;
    Messages messages(page);
    messages.answers = {1};
    connect(FieldbusRig::handler(), &EthernetHandler::updateProgressbar, page, [&](uint32_t tick) {
        if (tick == 3)
            page->deleteLater();
    });
    button(bar, "btnResetAnybusMod")->click();
    QVERIFY(page.isNull());
    // The progress ends at once and is removed; no reset goes out for a
    // page that is gone.
    QCOMPARE(progress.events.last(), QStringLiteral("deinit"));
    QVERIFY(!progress.events.contains(QStringLiteral("update 4")));
    QVERIFY(!m_rig.serviceActions().contains(0x30));
    QVERIFY(!FieldbusActionbar::isApplying());
}

void TestFieldbusActionbar::readBack()
{
    FieldbusActionbar bar;
    Messages messages(&bar);
    const QByteArray onUnit = fullRecord(0x9F);
    m_rig.setUnitRecord(onUnit);
    button(&bar, "btnReadFieldCfg")->click();
    QVERIFY(messages.errors.isEmpty());
    QCOMPARE(FieldbusRig::config()->getAnybusCFG().toBytes(), onUnit);

    m_rig.setUnitRecord(fullRecord(0x85));
    m_rig.sim->setErrorStatus(EthernetHandler::CmdReadParam, 0x3000, -26);
    button(&bar, "btnReadFieldCfg")->click();
    QCOMPARE(messages.errors, QStringList{"Failed to read the fieldbus config from the Device! Errorcode: -26"});
    QCOMPARE(FieldbusRig::config()->getAnybusCFG().toBytes(), onUnit);
}

void TestFieldbusActionbar::ftp_data()
{
    QTest::addColumn<bool>("enable");
    QTest::addColumn<bool>("fails");
    QTest::addColumn<QString>("error");
    QTest::newRow("enable") << true << false << QString();
    QTest::newRow("disable") << false << false << QString();
    QTest::newRow("enable fails") << true << true << "Failed enable FTP of Fieldbus module! Errorcode: -5";
    QTest::newRow("disable fails") << false << true << "Failed disbable FTP of Fieldbus module! Errorcode: -5";
}

void TestFieldbusActionbar::ftp()
{
    QFETCH(bool, enable);
    QFETCH(bool, fails);
    QFETCH(QString, error);
    FieldbusActionbar bar;
    Messages messages(&bar);
    ProgressLog progress;
    if (fails)
        failAction(enable ? 0x40 : 0x41, -5);
    button(&bar, enable ? "btnenFTP" : "btndisFTP")->click();
    QCOMPARE(messages.errors, fails ? QStringList{error} : QStringList());
    // A switch is followed at once by a module reset, without question or
    // progress; a failed one by nothing.
    const int action = enable ? 0x40 : 0x41;
    const QList<int> expected = fails ? QList<int>{action} : QList<int>{action, 0x30};
    QCOMPARE(m_rig.serviceActions(), expected);
    QVERIFY(messages.questions.isEmpty());
    QVERIFY(progress.events.isEmpty());
    if (!fails)
        QCOMPARE(m_rig.sim->fieldbusFtp(), enable);
}

QTEST_MAIN(TestFieldbusActionbar)
#include "tst_fieldbusactionbar.moc"
