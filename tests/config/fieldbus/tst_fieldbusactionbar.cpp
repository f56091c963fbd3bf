#include <QPointer>
#include <QPushButton>
#include <QtTest>

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
    m_rig.sim->clearRequestLog();
    QTRY_VERIFY(!FieldbusRig::config()->waitingForFeedback());
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
    QCOMPARE(m_rig.sim->countRequests(EthernetHandler::CmdWriteParam), 1);
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
