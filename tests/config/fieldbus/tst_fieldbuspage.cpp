#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QStackedWidget>
#include <QtTest>

#include "devicerecords.h"
#include "fieldbusactionbar.h"
#include "fieldbusconfig.h"
#include "fieldbusfixture.h"
#include "testnet.h"

// The fieldbus page: what it shows of a record by network type, what an
// edit writes into the record byte by byte, and the whole way from the
// unit through the page back to the unit.
class TestFieldbusPage : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void pagesByNetworkType_data();
    void pagesByNetworkType();
    void fieldInputs_data();
    void fieldInputs();
    void mistypedAddressIsRefused_data();
    void mistypedAddressIsRefused();
    void refreshWritesNothingEditWritesOnce();
    void unknownComboByteSurvivesOtherEdits();
    void languageSwitchThenEditKeepsEveryField();
    void shownByHeartbeatHiddenOnLoss_data();
    void shownByHeartbeatHiddenOnLoss();
    void layoutFollowsTheUnitsModule_data();
    void layoutFollowsTheUnitsModule();
    void overlongNameIsRefusedWithAWord_data();
    void overlongNameIsRefusedWithAWord();
    void roundTripThroughUnit();

private:
    template<typename T>
    static T *child(QWidget *page, const char *name)
    {
        T *w = page->findChild<T *>(QLatin1String(name));
        if (!w)
            qFatal("no child %s", name);
        return w;
    }
    static void type(QWidget *page, const char *edit, const QString &text)
    {
        auto *e = child<QLineEdit>(page, edit);
        e->setText(text);
        emit e->editingFinished();
    }
    static void spin(QWidget *page, const char *box, int value)
    {
        auto *s = child<QSpinBox>(page, box);
        s->setValue(value);
        emit s->editingFinished();
    }
    static QByteArray modelRecord() { return FieldbusRig::config()->getAnybusCFG().toBytes(); }
    static void setModelRecord(const QByteArray &bytes)
    {
        FieldbusRig::config()->setAnybusCFG(Anybus_cfg::fromBytes(bytes));
    }

    FieldbusRig m_rig;
};

void TestFieldbusPage::initTestCase()
{
    KORVANTIS_REQUIRE_TESTNET();
    QVERIFY(m_rig.start(QHostAddress(QStringLiteral("127.0.6.10")), 0x93));
}

void TestFieldbusPage::init()
{
    m_rig.sim->clearErrorStatus();
    m_rig.sim->clearRequestLog();
}

void TestFieldbusPage::pagesByNetworkType_data()
{
    QTest::addColumn<int>("networkType");
    QTest::addColumn<QString>("page");
    QTest::addColumn<bool>("ipSettings");
    QTest::addColumn<bool>("modbus");
    QTest::newRow("Modbus-TCP 2-Port") << 0x93 << "page_EtherNetIP" << true << true;
    QTest::newRow("Modbus-TCP") << 0x80 << "page_EtherNetIP" << true << true;
    QTest::newRow("EtherNet/IP") << 0x85 << "page_EtherNetIP" << true << false;
    QTest::newRow("PROFINET IRT FO IIoT") << 0xAE << "page_ProfiNet" << true << false;
    QTest::newRow("EtherCAT") << 0x87 << "page_EtherCAT" << false << false;
    QTest::newRow("POWERLINK") << 0x9F << "page_Powerlink" << false << false;
    QTest::newRow("unknown with IP") << 0x45 << "page_Default" << true << false;
    QTest::newRow("CANopen") << 0x20 << "page_Default" << false << false;
}

void TestFieldbusPage::pagesByNetworkType()
{
    QFETCH(int, networkType);
    QFETCH(QString, page);
    QFETCH(bool, ipSettings);
    QFETCH(bool, modbus);
    FieldbusConfig fb;
    // Modbus first, so that switching away must hide the block again.
    setModelRecord(fullRecord(0x93));
    QByteArray record = fullRecord(uint16_t(networkType));
    put16(record, 0x146, 0x1234);  // EtherCAT device ID, little-endian
    setModelRecord(record);

    auto *stack = child<QStackedWidget>(&fb, "stackFieldbus");
    QCOMPARE(stack->currentWidget()->objectName(), page);
    QCOMPARE(child<QWidget>(&fb, "wdgNetworkSettings")->isHidden(), !ipSettings);
    QCOMPARE(child<QWidget>(&fb, "wdgModbus")->isHidden(), !modbus);
    QCOMPARE(child<QWidget>(&fb, "wdgModbus")->isEnabled(), modbus);
    // Only the shown page takes height in the stack.
    for (int i = 0; i < stack->count(); ++i)
        QCOMPARE(stack->widget(i)->sizePolicy().verticalPolicy(),
                 stack->widget(i) == stack->currentWidget() ? QSizePolicy::Preferred : QSizePolicy::Ignored);
    if (networkType == 0x87)
        QCOMPARE(child<QSpinBox>(&fb, "spnDevIDEtherCAT")->value(), 0x1234);
}

void TestFieldbusPage::fieldInputs_data()
{
    QTest::addColumn<int>("networkType");
    QTest::addColumn<QString>("edit");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("offset");
    QTest::addColumn<QByteArray>("bytes");  // the field afterwards
    QTest::addColumn<QString>("shown");     // what the edit shows after the refresh

    const QByteArray host = QByteArray("ppu-line-3").leftJustified(64, '\0');
    QTest::newRow("address") << 0x93 << "leditIPAddress" << "192.168.1.20" << 0x000 << QByteArray::fromHex("c0a80114")
                             << "192.168.1.20";
    // Decimal with padding zeros, never octal (010 is 10, not 8).
    QTest::newRow("leading zeros") << 0x93 << "leditDefGateway" << "010.001.000.099" << 0x008
                                   << QByteArray::fromHex("0a010063") << "10.1.0.99";
    QTest::newRow("host name") << 0x93 << "leditHostname" << "ppu-7" << 0x014
                               << QByteArray("ppu-7").leftJustified(64, '\0') << "ppu-7";
    QTest::newRow("host name, full width") << 0x93 << "leditHostname" << QString(64, 'h') << 0x014 << QByteArray(64, 'h')
                                           << QString(64, 'h');
    // 40 characters, 80 bytes: does not fit, the field keeps its name.
    QTest::newRow("host name, overlong") << 0x93 << "leditHostname" << QString(40, QChar(0xFC)) << 0x014 << host
                                         << "ppu-line-3";
    QTest::newRow("non-ASCII name") << 0x93 << "leditDomainName" << QStringLiteral("Pumpe-S\u00fcd") << 0x054
                                    << QByteArray("Pumpe-S\xc3\xbc" "d").leftJustified(48, '\0')
                                    << QStringLiteral("Pumpe-S\u00fcd");
    QTest::newRow("station name, 240 bytes") << 0x84 << "leditStationName" << QString(240, 's') << 0x146
                                             << QByteArray(240, 's') << QString(240, 's');
    // 240 characters, 241 bytes.
    QTest::newRow("station name, 241 bytes") << 0x84 << "leditStationName" << QString(239, 's') + QChar(0xE9) << 0x146
                                             << QByteArray("station-1").leftJustified(240, '\0') << "station-1";
}

void TestFieldbusPage::fieldInputs()
{
    QFETCH(int, networkType);
    QFETCH(QString, edit);
    QFETCH(QString, text);
    QFETCH(int, offset);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, shown);
    FieldbusConfig fb;
    QByteArray before = fullRecord(uint16_t(networkType));
    if (networkType == 0x84)
        putText(before, 0x146, 240, "station-1");
    setModelRecord(before);

    type(&fb, qPrintable(edit), text);
    const QByteArray after = modelRecord();
    QCOMPARE(after.mid(offset, bytes.size()).toHex(' '), bytes.toHex(' '));
    // Nothing else changed: the DHCP byte right after a full station name
    // included.
    QByteArray expected = before;
    expected.replace(offset, bytes.size(), bytes);
    QCOMPARE(after.toHex(' '), expected.toHex(' '));
    QCOMPARE(child<QLineEdit>(&fb, qPrintable(edit))->text(), shown);

    // A later unrelated edit writes the name back as it is: it neither grows
    // nor changes.
    type(&fb, "leditSMTPUser", QStringLiteral("service"));
    QCOMPARE(modelRecord().toHex(' '), expected.toHex(' '));
}

void TestFieldbusPage::mistypedAddressIsRefused_data()
{
    QTest::addColumn<QString>("edit");
    QTest::addColumn<QString>("title");
    QTest::addColumn<int>("offset");
    QTest::addColumn<QString>("text");

    const struct
    {
        const char *edit;
        const char *title;
        int offset;
    } fields[] = {{"leditIPAddress", "IP Address", 0x000},   {"leditSubnetMask", "Subnet mask", 0x004},
                  {"leditDefGateway", "Default Gateway", 0x008}, {"leditPrimDNS", "Primary DNS", 0x00C},
                  {"leditSecDNS", "Secondary DNS", 0x010}};
    const char *texts[] = {"999.001.001.001", "10.0.0.256", "192.168..1", "..."};
    for (const auto &field : fields)
        for (const char *text : texts)
            QTest::newRow(qPrintable(QStringLiteral("%1 %2").arg(QLatin1String(field.edit), QLatin1String(text))))
                << field.edit << field.title << field.offset << text;
}

void TestFieldbusPage::mistypedAddressIsRefused()
{
    QFETCH(QString, edit);
    QFETCH(QString, title);
    QFETCH(int, offset);
    QFETCH(QString, text);
    FieldbusConfig fb;
    Messages messages(&fb);
    const QByteArray before = fullRecord(0x93);
    setModelRecord(before);
    auto *line = child<QLineEdit>(&fb, qPrintable(edit));
    const QString kept = line->text();
    QVERIFY(!kept.isEmpty());

    type(&fb, qPrintable(edit), text);
    // Refused with a word that names the field, the text and the value
    // kept; the record and the field keep the last valid address.
    QCOMPARE(messages.errors.size(), 1);
    QVERIFY2(messages.errors.first().startsWith(title + QStringLiteral(": \"")), qPrintable(messages.errors.first()));
    QVERIFY2(messages.errors.first().endsWith(QStringLiteral("The field keeps %1.").arg(kept)),
             qPrintable(messages.errors.first()));
    QCOMPARE(modelRecord().mid(offset, 4).toHex(' '), before.mid(offset, 4).toHex(' '));
    QCOMPARE(modelRecord().toHex(' '), before.toHex(' '));
    QCOMPARE(line->text(), kept);

    // A valid address afterwards is taken as before, without a word.
    type(&fb, qPrintable(edit), QStringLiteral("10.20.30.40"));
    QCOMPARE(messages.errors.size(), 1);
    QCOMPARE(modelRecord().mid(offset, 4).toHex(), QByteArray("0a141e28"));
}

void TestFieldbusPage::refreshWritesNothingEditWritesOnce()
{
    FieldbusConfig fb;
    QSignalSpy changed(FieldbusRig::config(), &Confighandler::AnybusCFGchanged);
    setModelRecord(fullRecord(0x93));
    QCOMPARE(changed.count(), 1);  // the refresh itself set every widget, and wrote nothing back

    child<QComboBox>(&fb, "cmbEthComSet2")->setCurrentIndex(1);
    QCOMPARE(changed.count(), 2);
    QCOMPARE(uint8_t(modelRecord().at(0x149)), uint8_t(1));
    spin(&fb, "spnConnTimeout", 0);
    QCOMPARE(changed.count(), 3);
    QCOMPARE(modelRecord().mid(0x14A, 2), QByteArray(2, '\0'));
    child<QComboBox>(&fb, "cmbDHCP")->setCurrentIndex(0);
    QCOMPARE(changed.count(), 4);
    QCOMPARE(uint8_t(modelRecord().at(0x236)), uint8_t(0));
}

void TestFieldbusPage::unknownComboByteSurvivesOtherEdits()
{
    FieldbusConfig fb;
    QByteArray record = fullRecord(0x93);
    record[0x146] = 7;  // no such MDI setting
    record[0x14E] = char(0xFF);
    record[0x236] = 5;  // DHCP on, as an odd byte
    setModelRecord(record);
    QCOMPARE(child<QComboBox>(&fb, "cmbMDI1")->currentIndex(), -1);
    QCOMPARE(child<QComboBox>(&fb, "cmbWordOrder")->currentIndex(), -1);
    QCOMPARE(child<QComboBox>(&fb, "cmbDHCP")->currentIndex(), 1);

    type(&fb, "leditHostname", QStringLiteral("renamed"));
    QByteArray expected = record;
    putText(expected, 0x014, 64, "renamed");
    QCOMPARE(modelRecord().toHex(' '), expected.toHex(' '));
}

void TestFieldbusPage::languageSwitchThenEditKeepsEveryField()
{
    FieldbusConfig fb;
    const QByteArray record = fullRecord(0x93);
    setModelRecord(record);
    QEvent change(QEvent::LanguageChange);
    QCoreApplication::sendEvent(&fb, &change);
    // The combo lists were rebuilt and the host name emptied; the page shows
    // the stored record again.
    QCOMPARE(child<QLineEdit>(&fb, "leditHostname")->text(), QStringLiteral("ppu-line-3"));
    QCOMPARE(child<QComboBox>(&fb, "cmbEthComSet1")->currentIndex(), 3);
    QCOMPARE(child<QComboBox>(&fb, "cmbEthComSet1")->count(), 5);
    QCOMPARE(modelRecord(), record);

    type(&fb, "leditSMTPServer", QStringLiteral("mail.example"));
    QByteArray expected = record;
    putText(expected, 0x084, 64, "mail.example");
    QCOMPARE(modelRecord().toHex(' '), expected.toHex(' '));
}

void TestFieldbusPage::shownByHeartbeatHiddenOnLoss_data()
{
    QTest::addColumn<int>("networkType");
    QTest::addColumn<bool>("shown");
    QTest::newRow("no module") << 0xFFFF << false;
    QTest::newRow("none") << 0 << false;
    QTest::newRow("Modbus-TCP 2-Port") << 0x93 << true;
}

void TestFieldbusPage::shownByHeartbeatHiddenOnLoss()
{
    QFETCH(int, networkType);
    QFETCH(bool, shown);
    FieldbusConfig fb;
    fb.hide();
    HearBeatMessage_t beat;
    beat.fieldbus.networkType = uint16_t(networkType);
    fb.connectionsuccesfull(beat, QHostAddress(QStringLiteral("127.0.6.10")));
    QCOMPARE(!fb.isHidden(), shown);
    emit FieldbusRig::handler()->connectionLost();
    QVERIFY(fb.isHidden());
}

void TestFieldbusPage::layoutFollowsTheUnitsModule_data()
{
    QTest::addColumn<int>("unitType");  // 0xFFFF: no unit reports a module
    QTest::addColumn<int>("recordType");
    QTest::addColumn<QString>("page");
    QTest::addColumn<bool>("ipSettings");
    QTest::addColumn<bool>("modbus");
    QTest::newRow("Modbus-TCP record, Modbus-TCP unit") << 0x80 << 0x80 << "page_EtherNetIP" << true << true;
    QTest::newRow("PROFINET record, Modbus-TCP unit") << 0x80 << 0x84 << "page_EtherNetIP" << true << true;
    QTest::newRow("Modbus-TCP 2-Port record, Modbus-TCP unit") << 0x80 << 0x93 << "page_EtherNetIP" << true << true;
    QTest::newRow("EtherCAT record, PROFINET unit") << 0x84 << 0x87 << "page_ProfiNet" << true << false;
    QTest::newRow("Modbus-TCP record, EtherCAT unit") << 0x87 << 0x80 << "page_EtherCAT" << false << false;
    QTest::newRow("empty record, Modbus-TCP unit") << 0x80 << 0 << "page_EtherNetIP" << true << true;
    QTest::newRow("PROFINET record, no unit") << 0xFFFF << 0x84 << "page_ProfiNet" << true << false;
}

// The page always shows the layout of the module the unit reports. A record
// made for another module shows its addresses and names, but nothing in the
// module's own settings, which cannot be edited; an edit of the rest changes
// only its own bytes.
void TestFieldbusPage::layoutFollowsTheUnitsModule()
{
    QFETCH(int, unitType);
    QFETCH(int, recordType);
    QFETCH(QString, page);
    QFETCH(bool, ipSettings);
    QFETCH(bool, modbus);
    FieldbusConfig fb;
    fb.show();
    QByteArray record = fullRecord(uint16_t(recordType));
    if (recordType == 0x84)
        putText(record, 0x146, 240, "station-1");
    setModelRecord(record);
    HearBeatMessage_t beat;
    beat.fieldbus.networkType = uint16_t(unitType);
    fb.connectionsuccesfull(beat, m_rig.sim->address());

    auto *stack = child<QStackedWidget>(&fb, "stackFieldbus");
    QCOMPARE(stack->currentWidget()->objectName(), page);
    QCOMPARE(child<QWidget>(&fb, "wdgNetworkSettings")->isVisible(), ipSettings);
    QCOMPARE(child<QWidget>(&fb, "wdgModbus")->isVisible(), modbus);
    const bool fits = recordType == unitType || unitType == 0xFFFF;
    QCOMPARE(stack->currentWidget()->isEnabled(), fits);
    if (fits) {
        if (page == QLatin1String("page_ProfiNet"))
            QCOMPARE(child<QLineEdit>(&fb, "leditStationName")->text(), QStringLiteral("station-1"));
        else
            QCOMPARE(child<QSpinBox>(&fb, "spnConnTimeout")->value(), 90);
    } else {
        // Nothing of another module's bytes read as this module's settings.
        for (const char *combo : {"cmbMDI1", "cmbMDI2", "cmbEthComSet1", "cmbEthComSet2", "cmbWordOrder"})
            QCOMPARE(child<QComboBox>(&fb, combo)->currentIndex(), -1);
        QCOMPARE(child<QSpinBox>(&fb, "spnConnTimeout")->value(), 0);
        QCOMPARE(child<QSpinBox>(&fb, "spnDevIDEtherCAT")->value(), 0);
        QCOMPARE(child<QLineEdit>(&fb, "leditStationName")->text(), QString());
    }
    QCOMPARE(child<QLineEdit>(&fb, "leditHostname")->text(), QStringLiteral("ppu-line-3"));

    type(&fb, "leditSMTPUser", QStringLiteral("ops"));
    QByteArray expected = record;
    putText(expected, 0x0C4, 64, "ops");
    QCOMPARE(modelRecord().toHex(' '), expected.toHex(' '));

    // The link lost, the record's own layout again.
    fb.lostconnection();
    QCOMPARE(stack->currentWidget()->isEnabled(), true);
}

void TestFieldbusPage::overlongNameIsRefusedWithAWord_data()
{
    QTest::addColumn<int>("networkType");
    QTest::addColumn<QString>("edit");
    QTest::addColumn<int>("offset");
    QTest::addColumn<int>("characters");
    QTest::addColumn<QString>("message");
    const QString refused = QStringLiteral(
        "%1: the text takes %2 bytes, but the field holds at most %3 bytes (a character outside plain ASCII, such "
        "as an umlaut, takes two or more). The field keeps its previous text.");
    QTest::newRow("Station Name, 121 umlauts") << 0x84 << "leditStationName" << 0x146 << 121
                                           << refused.arg(QStringLiteral("Station Name")).arg(242).arg(240);
    QTest::newRow("Hostname, 33 umlauts") << 0x93 << "leditHostname" << 0x014 << 33
                                      << refused.arg(QStringLiteral("Hostname")).arg(66).arg(64);
    QTest::newRow("Domain Name, 25 umlauts") << 0x93 << "leditDomainName" << 0x054 << 25
                                         << refused.arg(QStringLiteral("Domain Name")).arg(50).arg(48);
    QTest::newRow("SMTP Password, 33 umlauts") << 0x93 << "leditSMTPPassword" << 0x104 << 33
                                           << refused.arg(QStringLiteral("SMTP Password")).arg(66).arg(64);
}

// A name longer than its field in UTF-8 bytes, though not in characters:
// refused with a word that names the field and its limit in bytes, as a
// mistyped address is; the field and the record keep the name they had.
void TestFieldbusPage::overlongNameIsRefusedWithAWord()
{
    QFETCH(int, networkType);
    QFETCH(QString, edit);
    QFETCH(int, offset);
    QFETCH(int, characters);
    QFETCH(QString, message);
    FieldbusConfig fb;
    Messages messages(&fb);
    QByteArray record = fullRecord(uint16_t(networkType));
    if (networkType == 0x84)
        putText(record, 0x146, 240, "station-1");
    setModelRecord(record);
    auto *line = child<QLineEdit>(&fb, qPrintable(edit));
    const QString kept = line->text();

    type(&fb, qPrintable(edit), QString(characters, QChar(0xE4)));
    QCOMPARE(messages.errors, QStringList{message});
    QCOMPARE(line->text(), kept);
    QCOMPARE(modelRecord().toHex(' '), record.toHex(' '));

    // One character less fits: taken, without a word.
    type(&fb, qPrintable(edit), QString(characters - 1, QChar(0xE4)));
    QCOMPARE(messages.errors.size(), 1);
    QCOMPARE(modelRecord().mid(offset, 2 * (characters - 1)), QString(characters - 1, QChar(0xE4)).toUtf8());
}

void TestFieldbusPage::roundTripThroughUnit()
{
    FieldbusConfig fb;
    Messages messages(&fb);
    const QByteArray onUnit = fullRecord(0x93);
    m_rig.setUnitRecord(onUnit);

    child<QPushButton>(&fb, "btnReadFieldCfg")->click();
    QCOMPARE(modelRecord().toHex(' '), onUnit.toHex(' '));
    QCOMPARE(child<QLineEdit>(&fb, "leditIPAddress")->text(), QStringLiteral("10.1.2.3"));
    QCOMPARE(child<QLineEdit>(&fb, "leditSMTPPassword")->text(), QStringLiteral("s3cret"));
    QCOMPARE(child<QSpinBox>(&fb, "spnProcActiveTimeout")->value(), 250);
    QCOMPARE(child<QComboBox>(&fb, "cmbMDI2")->currentIndex(), 2);

    // Every field of the page, edited.
    QByteArray expected = onUnit;
    type(&fb, "leditIPAddress", QStringLiteral("172.16.0.5"));
    type(&fb, "leditSubnetMask", QStringLiteral("255.255.0.0"));
    type(&fb, "leditDefGateway", QStringLiteral("172.16.0.1"));
    type(&fb, "leditPrimDNS", QStringLiteral("172.16.0.2"));
    type(&fb, "leditSecDNS", QStringLiteral("172.16.0.3"));
    expected.replace(0, 20, QByteArray::fromHex("ac100005ffff0000ac100001ac100002ac100003"));
    type(&fb, "leditHostname", QStringLiteral("line-4"));
    putText(expected, 0x014, 64, "line-4");
    type(&fb, "leditDomainName", QStringLiteral("works.example"));
    putText(expected, 0x054, 48, "works.example");
    type(&fb, "leditSMTPServer", QStringLiteral("mx.works.example"));
    putText(expected, 0x084, 64, "mx.works.example");
    type(&fb, "leditSMTPUser", QStringLiteral("ops"));
    putText(expected, 0x0C4, 64, "ops");
    type(&fb, "leditSMTPPassword", QStringLiteral("n3w"));
    putText(expected, 0x104, 64, "n3w");
    child<QComboBox>(&fb, "cmbMDI1")->setCurrentIndex(0);
    child<QComboBox>(&fb, "cmbMDI2")->setCurrentIndex(1);
    child<QComboBox>(&fb, "cmbEthComSet1")->setCurrentIndex(2);
    child<QComboBox>(&fb, "cmbEthComSet2")->setCurrentIndex(0);
    expected.replace(0x146, 4, QByteArray::fromHex("00010200"));
    spin(&fb, "spnConnTimeout", 65535);
    spin(&fb, "spnProcActiveTimeout", 0);
    expected.replace(0x14A, 4, QByteArray::fromHex("ffff0000"));
    child<QComboBox>(&fb, "cmbWordOrder")->setCurrentIndex(0);
    expected[0x14E] = 0;
    child<QComboBox>(&fb, "cmbDHCP")->setCurrentIndex(0);
    expected[0x236] = 0;
    QCOMPARE(modelRecord().toHex(' '), expected.toHex(' '));

    // Applied without the module reset: the unit keeps the record as sent.
    messages.answers = {0};
    child<QPushButton>(&fb, "btnResetAnybusMod")->click();
    QVERIFY2(messages.errors.isEmpty(), qPrintable(messages.errors.join('\n')));
    QCOMPARE(m_rig.unitRecord().toHex(' '), expected.toHex(' '));

    // And reads back as it was written.
    setModelRecord(QByteArray(567, '\0'));
    QCOMPARE(child<QLineEdit>(&fb, "leditHostname")->text(), QString());
    child<QPushButton>(&fb, "btnReadFieldCfg")->click();
    QCOMPARE(modelRecord().toHex(' '), expected.toHex(' '));
    QCOMPARE(child<QLineEdit>(&fb, "leditHostname")->text(), QStringLiteral("line-4"));
    QCOMPARE(child<QSpinBox>(&fb, "spnConnTimeout")->value(), 65535);
}

QTEST_MAIN(TestFieldbusPage)
#include "tst_fieldbuspage.moc"
