#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QtTest>

#include "requestlog.h"
#include "configconnectparams.h"
#include "fieldbusfixture.h"
#include "resetdefaultconfig.h"
#include "testnet.h"
#include "unitsimconfig.h"

// The network settings page and the default reset page against the
// simulated unit: what is asked, what reaches the unit, and that a change
// that fails on the way is taken back and never saved.
class TestNetworkPages : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void confirmedSettingsAreWrittenAndSaved_data();
    void confirmedSettingsAreWrittenAndSaved();
    void aSaveTheUnitReportsFailedGivesNoResetNote();
    void discardRestoresTheStoredValues();
    void unreachableSettingsAreRefused_data();
    void unreachableSettingsAreRefused();
    void aFailingStepTakesTheChangeBack_data();
    void aFailingStepTakesTheChangeBack();
    void languageChangeShowsTheStoredValues();
    void resetNeedsALinkAndAConfirmation();
    void resetReportsEveryOutcome();

private:
    void type(const QString &ip, const QString &mask);
    QLineEdit *edit(const char *name) const { return m_page->findChild<QLineEdit *>(QLatin1String(name)); }
    void apply() { QTest::mouseClick(m_page->findChild<QPushButton *>("btnApplyNetwork"), Qt::LeftButton); }
    int writesOf(int param) const;

    FieldbusRig m_rig;
    std::unique_ptr<ConfigConnectParams> m_page;
    const QHostAddress m_unit{QStringLiteral("127.0.6.21")};
    const QHostAddress m_mask{QStringLiteral("255.0.0.0")};
};

void TestNetworkPages::initTestCase()
{
    KORVANTIS_REQUIRE_TESTNET();
    QVERIFY(m_rig.start(m_unit, 0xFFFF));
    FieldbusRig::config()->setSaveFeedbackTimeout(3000);
    m_page = std::make_unique<ConfigConnectParams>();
}

void TestNetworkPages::init()
{
    m_rig.sim->clearErrorStatus();
    m_rig.sim->parameters().setIpAddress(m_unit);
    m_rig.sim->parameters().setNetmask(m_mask);
    QTRY_VERIFY(!FieldbusRig::config()->waitingForFeedback());
    QCOMPARE(FieldbusRig::config()->setNetworkSettings(m_unit, m_mask, false), ERR_OK);
    m_rig.sim->clearRequestLog();
}

void TestNetworkPages::type(const QString &ip, const QString &mask)
{
    edit("leditNewRemIP")->setText(ip);
    edit("leditNewRemMsk")->setText(mask);
}

int TestNetworkPages::writesOf(int param) const
{
    int n = 0;
    for (const UnitSimRequest &r : withoutResends(m_rig.sim->requestLog()))
        n += r.command == EthernetHandler::CmdWriteParam && r.paramId == param;
    return n;
}

void TestNetworkPages::confirmedSettingsAreWrittenAndSaved_data()
{
    QTest::addColumn<QString>("ip");
    QTest::addColumn<QString>("mask");
    QTest::addColumn<QString>("written");
    QTest::addColumn<QString>("writtenMask");
    QTest::newRow("padded parts") << "192.168.000.010" << "255.255.255.000" << "192.168.0.10" << "255.255.255.0";
    QTest::newRow("part above 255") << "300.1.2.3" << "255.255.0.0" << "255.1.2.3" << "255.255.0.0";
}

void TestNetworkPages::confirmedSettingsAreWrittenAndSaved()
{
    QFETCH(QString, ip);
    QFETCH(QString, mask);
    QFETCH(QString, written);
    QFETCH(QString, writtenMask);
    type(ip, mask);
    Messages messages(m_page.get());
    messages.answers << 1;
    apply();
    // The question repeats the values as typed and ends with the mask line.
    QCOMPARE(messages.questions.size(), 1);
    QVERIFY(messages.questions.first().startsWith(QStringLiteral("Discard/Confirm|Confirm changes|Are you sure")));
    QVERIFY(messages.questions.first().endsWith(QStringLiteral("\n\nNew IP:\t%1\nNew Netmask:\t%2").arg(ip, mask)));
    QCOMPARE(m_rig.sim->parameters().ipAddress(), QHostAddress(written));
    QCOMPARE(m_rig.sim->parameters().netmask(), QHostAddress(writtenMask));
    QVERIFY(m_rig.serviceActions().contains(0x12));
    QCOMPARE(FieldbusRig::config()->getIpAddress(), QHostAddress(written));
    // The reset note waits for the unit to confirm the save.
    QVERIFY(FieldbusRig::config()->waitingForFeedback());
    QVERIFY(messages.successes.isEmpty());
    QTRY_VERIFY_WITH_TIMEOUT(!FieldbusRig::config()->waitingForFeedback(), 20000);
    QCOMPARE(messages.successes, QStringList{QStringLiteral("To apply this changes a Reset is necessary")});
    QVERIFY(messages.errors.isEmpty());
}

void TestNetworkPages::aSaveTheUnitReportsFailedGivesNoResetNote()
{
    UnitSimConfig::of(m_rig.sim.get())->setFinalStatus(-1);
    Messages messages(m_page.get());
    QStringList modelErrors;
    QObject context;
    connect(FieldbusRig::config(), &Confighandler::printNotifyBarErrorwrapper, &context,
            [&](QString text, bool, bool) { modelErrors << text; });
    messages.answers << 1;
    type(QStringLiteral("192.168.7.8"), QStringLiteral("255.255.0.0"));
    apply();
    QTRY_VERIFY_WITH_TIMEOUT(!FieldbusRig::config()->waitingForFeedback(), 20000);
    UnitSimConfig::of(m_rig.sim.get())->setFinalStatus(0);
    QCOMPARE(modelErrors, QStringList{QStringLiteral("The Config Write Failed")});
    QVERIFY(messages.successes.isEmpty());
    // A later save of something else brings no late note either.
    FieldbusRig::config()->saveConfigOnDevice(false);
    QTRY_VERIFY_WITH_TIMEOUT(!FieldbusRig::config()->waitingForFeedback(), 20000);
    QVERIFY(FieldbusRig::config()->lastSaveSucceeded());
    QVERIFY(messages.successes.isEmpty());
}

void TestNetworkPages::discardRestoresTheStoredValues()
{
    for (int answer : {0, -1}) {  // Discard, or the box closed
        type(QStringLiteral("10.1.1.1"), QStringLiteral("255.255.0.0"));
        Messages messages(m_page.get());
        messages.answers << answer;
        apply();
        QCOMPARE(edit("leditNewRemIP")->text(), m_unit.toString());
        QCOMPARE(edit("leditNewRemMsk")->text(), m_mask.toString());
        QCOMPARE(writesOf(0x1000) + writesOf(0x1001), 0);
        QVERIFY(messages.successes.isEmpty());
    }
}

void TestNetworkPages::unreachableSettingsAreRefused_data()
{
    QTest::addColumn<QString>("ip");
    QTest::addColumn<QString>("mask");
    QTest::newRow("address 0.0.0.0") << "0.0.0.0" << "255.255.255.0";
    QTest::newRow("empty address") << "..." << "255.255.255.0";
    QTest::newRow("empty mask") << "192.168.0.5" << "...";
}

void TestNetworkPages::unreachableSettingsAreRefused()
{
    QFETCH(QString, ip);
    QFETCH(QString, mask);
    type(ip, mask);
    Messages messages(m_page.get());
    messages.answers << 1;
    apply();
    QCOMPARE(messages.errors.size(), 1);
    QVERIFY(messages.questions.isEmpty());
    QVERIFY(m_rig.sim->requestLog().isEmpty() || writesOf(0x1000) + writesOf(0x1001) == 0);
    QCOMPARE(FieldbusRig::config()->getIpAddress(), m_unit);
}

void TestNetworkPages::aFailingStepTakesTheChangeBack_data()
{
    QTest::addColumn<int>("command");
    QTest::addColumn<int>("param");
    QTest::addColumn<QString>("message");
    QTest::newRow("address write") << int(EthernetHandler::CmdWriteParam) << 0x1000
                                   << "Failed to set ip Address! Errorcode: -16";
    QTest::newRow("mask write") << int(EthernetHandler::CmdWriteParam) << 0x1001
                                << "Failed to set sub net mask! Errorcode: -16";
    QTest::newRow("save") << int(EthernetHandler::CmdServiceAction) << -1 << "The Config Write init Failed";
}

void TestNetworkPages::aFailingStepTakesTheChangeBack()
{
    QFETCH(int, command);
    QFETCH(int, param);
    QFETCH(QString, message);
    m_rig.sim->setErrorStatus(uint8_t(command), param, ERR_INVALID_PARAM);
    // The model reports its own failures; the page passes them on.
    Messages messages(m_page.get());
    QStringList modelErrors;
    QObject context;
    connect(FieldbusRig::config(), &Confighandler::printNotifyBarErrorwrapper, &context,
            [&](QString text, bool, bool) { modelErrors << text; });
    messages.answers << 1;
    type(QStringLiteral("192.168.7.7"), QStringLiteral("255.255.0.0"));
    apply();
    QVERIFY2(modelErrors.contains(message), qPrintable(modelErrors.join('\n')));
    QVERIFY(messages.successes.isEmpty());
    m_rig.sim->clearErrorStatus();
    // Nothing of the change stays: not on the unit, not in the model, and
    // no save was left running. The typed text stays for another try.
    QCOMPARE(m_rig.sim->parameters().ipAddress(), m_unit);
    QCOMPARE(m_rig.sim->parameters().netmask(), m_mask);
    QCOMPARE(FieldbusRig::config()->getIpAddress(), m_unit);
    QCOMPARE(FieldbusRig::config()->getSubnetMask(), m_mask);
    QVERIFY(!FieldbusRig::config()->waitingForFeedback());
    QCOMPARE(edit("leditNewRemIP")->text(), QStringLiteral("192.168.7.7"));
}

void TestNetworkPages::languageChangeShowsTheStoredValues()
{
    type(QStringLiteral("10.9.9.9"), QStringLiteral("255.0.0.0"));
    m_page->translateUiSlot(m_page.get());
    QCOMPARE(edit("leditNewRemIP")->text(), m_unit.toString());
    QCOMPARE(edit("leditNewRemMsk")->text(), m_mask.toString());
}

void TestNetworkPages::resetNeedsALinkAndAConfirmation()
{
    ResetDefaultConfig page;
    auto *reset = page.findChild<QToolButton *>("btnReset");
    {
        Messages messages(&page);
        messages.answers << 0 << -1;  // Cancel, then the box closed
        QTest::mouseClick(reset, Qt::LeftButton);
        QTest::mouseClick(reset, Qt::LeftButton);
        QCOMPARE(messages.questions.size(), 2);
        QVERIFY(messages.questions.first().startsWith(QStringLiteral("Cancel/Yes|Apply Config changes|")));
        QVERIFY(!m_rig.serviceActions().contains(0x20));
    }
    FieldbusRig::handler()->disconnectFromDevice();
    {
        Messages messages(&page);
        messages.answers << 1;
        QTest::mouseClick(reset, Qt::LeftButton);
        QCOMPARE(messages.errors, QStringList{QStringLiteral("Not Connected to Device")});
        QVERIFY(messages.questions.isEmpty());
        QVERIFY(!m_rig.serviceActions().contains(0x20));
    }
    FieldbusRig::handler()->setTargetIP(m_unit);
    QTRY_VERIFY(FieldbusRig::handler()->isConnected());
}

void TestNetworkPages::resetReportsEveryOutcome()
{
    ResetDefaultConfig page;
    auto *reset = page.findChild<QToolButton *>("btnReset");
    Messages messages(&page);
    messages.answers << 1 << 1;
    QTest::mouseClick(reset, Qt::LeftButton);
    QCOMPARE(m_rig.serviceActions(), QList<int>{0x20});
    QCOMPARE(messages.successes.size(), 1);
    QVERIFY(messages.errors.isEmpty());

    // The unit stays silent: the time-out reaches the engineer.
    m_rig.sim->faults().dropAnswers = 100;
    QTest::mouseClick(reset, Qt::LeftButton);
    m_rig.sim->faults().dropAnswers = 0;
    QCOMPARE(messages.errors,
             QStringList{QStringLiteral("The reset to default Operation failed. Error: timeout happend Errorcode: -26")});
    if (!FieldbusRig::handler()->isConnected()) {
        FieldbusRig::handler()->setTargetIP(m_unit);
        QTRY_VERIFY(FieldbusRig::handler()->isConnected());
    }
}

QTEST_MAIN(TestNetworkPages)
#include "tst_networkpages.moc"
