#include <QDataStream>
#include <QRandomGenerator>
#include <QtTest>

#include "logentry.h"
#include "logfixture.h"

namespace {

LogRecord recordOf(const QByteArray &bytes)
{
    return LogRecord::fromBytes(reinterpret_cast<const uint8_t *>(bytes.constData()));
}

QStringList channelRows(const QString &pattern, const QList<int> &values)
{
    QStringList rows;
    for (int n = 1; n <= values.size(); ++n)
        rows << pattern.arg(n) + QStringLiteral("|%1|i").arg(values.at(n - 1));
    return rows;
}

// Seven 16-bit values at 8, 10, ... 20.
RecordBuilder channelWords(uint32_t id, const QList<int> &values)
{
    RecordBuilder b(100, id);
    for (int i = 0; i < values.size(); ++i)
        b.u16(8 + 2 * i, uint16_t(values.at(i)));
    return b;
}

const QList<int> kSkw{410, -1, 430, 0, 32767, -32768, 399};
const QList<int> kWords{1, 2, 3, 4, 5, 6, 65535};

} // namespace

class TestLogDecode : public QObject
{
    Q_OBJECT

private slots:
    void texts_data();
    void texts();
    void decoders_data();
    void decoders();
    void rolesAndRawBytes();
    void refreshGivesTheSameEntry();
    void randomRecordsNeverBreakTheDecoder();
};

void TestLogDecode::texts_data()
{
    QTest::addColumn<uint>("time");
    QTest::addColumn<uint>("id");
    QTest::addColumn<QString>("timeText");
    QTest::addColumn<QString>("idText");
    QTest::newRow("zero") << 0u << 0u << "Time: 00 000 00:00:00"
                          << "ID: 0x00000000";
    QTest::newRow("year wraps at 100") << (31536000u * 100 + 86400u * 364 + 3600u * 23 + 60u * 59 + 59)
                                       << 0x04030300u << "Time: 00 364 23:59:59"
                                       << "ID: 0x04030300";
    QTest::newRow("largest") << 0xFFFFFFFFu << 0xFFFFFFFFu << "Time: 36 070 06:28:15"
                             << "ID: 0xffffffff";
    QTest::newRow("each field") << (31536000u * 7 + 86400u * 45 + 3600u * 6 + 60u * 5 + 4) << 0x00abcdefu
                                << "Time: 07 045 06:05:04"
                                << "ID: 0x00abcdef";
}

void TestLogDecode::texts()
{
    QFETCH(uint, time);
    QFETCH(uint, id);
    QFETCH(QString, timeText);
    QFETCH(QString, idText);
    LogEntry e(RecordBuilder(time, id), nullptr);
    QCOMPARE(e.timeText(), timeText);
    QCOMPARE(e.idText(), idText);
    QCOMPARE(e.toString(), timeText + QLatin1Char('\t') + idText + QLatin1Char('\t') + e.description());
}

void TestLogDecode::decoders_data()
{
    QTest::addColumn<QByteArray>("record");
    QTest::addColumn<QString>("description");
    QTest::addColumn<QStringList>("details");

    const QString unknown = QStringLiteral("unknown or invalid LOG ENTRY");
    auto row = [](const char *name, const LogRecord &r, const QString &description, const QStringList &details) {
        QTest::newRow(name) << r.toByteArray() << description << details;
    };

    // Unknown IDs and IDs just outside a family.
    row("id 0", RecordBuilder(0, 0).fill(0xAB), unknown, {});
    row("id 0x12345678", RecordBuilder(0, 0x12345678), unknown, {});
    row("network state 7 has no text", RecordBuilder(0, 0x03020700), unknown, {});
    row("threshold family excludes 0x10", RecordBuilder(0, 0x04010510), unknown, {});
    row("run statistics of channel 0", RecordBuilder(0, 0x04040000), unknown, {});
    row("run statistics of channel 9", RecordBuilder(0, 0x04040090), unknown, {});
    row("statistics with a low nibble", RecordBuilder(0, 0x04040011), unknown, {});
    row("erased pattern", RecordBuilder(0xFFFFFFFF, 0xFFFFFFFF).fill(0xFF), unknown, {});

    // Fieldbus module.
    row("module detected", RecordBuilder(0, 0x03010100), "Fieldbus module State", {"Module|detected|s"});
    row("module gone", RecordBuilder(0, 0x03010200), "Fieldbus module State", {"Module|not detected|s"});
    row("network setup", RecordBuilder(0, 0x03020100), "Fieldbus network State", {"Network State|Setup|s"});
    row("network exception", RecordBuilder(0, 0x03020800), "Fieldbus network State",
        {"Network State|Exception|s"});
    row("network active", RecordBuilder(0, 0x03020500), "Fieldbus network State",
        {"Network State|Active Process|s"});
    row("watchdog timeout", RecordBuilder(0, 0x03030100), "watchdog State", {"Watchdog|timeout|s"});
    row("watchdog recovered", RecordBuilder(0, 0x03030200), "watchdog State", {"Watchdog|recovered|s"});

    // Configuration changes.
    row("connectivity",
        RecordBuilder(0, 0x04010100).u32(8, 0x0A00A8C0).u32(12, 0x00FFFFFF),
        "Connectivity Settings Changed.", {"IP Address|192.168.0.10|s", "Sub Netmask|255.255.255.0|s"});
    {
        RecordBuilder b(0, 0x04010270);
        b.u8(8, 0xFE).u8(9, 0xFF).u8(10, 0xFF);
        for (int k = 0; k < 10; ++k)
            b.u16(11 + 2 * k, uint16_t(k == 9 ? -5 : 100 + k));
        row("filter channel 7", b, "Filter changed Channel 7",
            {"Postshift|-2|i", "Filter ID|-1|i", "b0_0|100|i", "b1_0|101|i", "b2_0|102|i", "a1_0|103|i",
             "a2_0|104|i", "b0_1|105|i", "b1_1|106|i", "b2_1|107|i", "a1_1|108|i", "a2_1|-5|i"});
    }
    row("filter channel 1", RecordBuilder(0, 0x04010210), "Filter changed Channel 1",
        {"Postshift|0|i", "Filter ID|0|i", "b0_0|0|i", "b1_0|0|i", "b2_0|0|i", "a1_0|0|i", "a2_0|0|i", "b0_1|0|i",
         "b1_1|0|i", "b2_1|0|i", "a1_1|0|i", "a2_1|0|i"});
    row("envelope", channelWords(0x04010300, kWords), "Envelope changed [10µs]",
        channelRows("Channel %1", kWords));
    row("segment time", channelWords(0x04010400, kWords), "Segmenttime changed [10µs] ",
        channelRows("Channel %1 Segmenttime", kWords));
    row("threshold", channelWords(0x04010500, kSkw), "Threshold changed ", channelRows("Channel %1 SKW", kSkw));
    row("threshold after run", channelWords(0x04010508, kSkw), "Threshold changed after Reference Run",
        channelRows("Channel %1 SKW", kSkw));
    row("threshold family member", channelWords(0x0401050F, kSkw), "Threshold changed after Reference Run",
        channelRows("Channel %1 SKW", kSkw));
    row("scale", channelWords(0x04010601, kSkw), "Scale changed ", channelRows("Channel %1 Scale", kSkw));
    row("scale after run", channelWords(0x04010608, kSkw), "Scale changed after Reference Run",
        channelRows("Channel %1 Scale", kSkw));
    row("reference skw", channelWords(0x04010C00, kSkw), "Reference SKW changed",
        channelRows("Channel %1 SKW", kSkw));
    row("reference skw after run", channelWords(0x04010C08, kSkw), "Reference SKW changed after Reference Run",
        channelRows("Channel %1 SKW", kSkw));
    row("current", channelWords(0x04010D00, kSkw), "Current changed", channelRows("Channel %1 Current [µA]", kSkw));
    row("current after run", channelWords(0x04010D0A, kSkw), "Current changed after Reference Run",
        channelRows("Channel %1 Current [µA]", kSkw));
    {
        RecordBuilder b(0, 0x04010700);
        for (int i = 0; i < 7; ++i)
            b.u8(8 + i, uint8_t(i == 6 ? 255 : 10 * i));
        row("statistics", b, "Statistics changed ", channelRows("Channel %1 Value", {0, 10, 20, 30, 40, 50, 255}));
    }
    row("common settings",
        RecordBuilder(0, 0x04010800).u8(8, 1).u8(9, 50).u8(10, 0x7F).u8(11, 200).u8(12, 5).u16(13, 1500).u8(15, 1),
        "Common Settings changed ",
        {"Outputtype|analog|s", "Sampling Frequency [kHz]|50|i", "Channelenable Flags|127|i",
         "IEPE High Bias Voltage Limit [100mV]|200|i", "IEPE Low Bias Voltage Limit [100mV]|5|i",
         "SW DebounceTime [1ms]|1500|i", "Output Inverted ( Lubrication Event )|yes ( Low = 0V )|s"});
    row("common settings, output type 3", RecordBuilder(0, 0x04010800).u8(8, 3), "Common Settings changed ",
        {"Outputtype||s", "Sampling Frequency [kHz]|0|i", "Channelenable Flags|0|i",
         "IEPE High Bias Voltage Limit [100mV]|0|i", "IEPE Low Bias Voltage Limit [100mV]|0|i",
         "SW DebounceTime [1ms]|0|i", "Output Inverted ( Lubrication Event )|no ( High = 24V )|s"});
    row("device settings",
        RecordBuilder(0, 0x04010B00).u8(8, 0).u8(9, 2).u8(10, 0).u8(11, 9).u8(12, 3).u8(13, 0x41).u16(14, 10).u16(
            16, 65535),
        "Device Settings changed ",
        {"Old Outputtype|digital|s", "New Outputtype|off|s",
         "Old Output Inverted ( Lubrication Event )|no ( High = 24V )|s",
         "New Output Inverted ( Lubrication Event )|yes ( Low = 0V )|s", "Old Channelenable Flags|3|i",
         "New Channelenable Flags|65|i", "Old SW DebounceTime [1ms]|10|i", "New SW DebounceTime [1ms]|65535|i"});
    row("parameter set, no selection bit", RecordBuilder(0, 0x04010A00).u8(8, 1).u8(9, 2).u32(10, 0).u32(14, 1234),
        unknown,
        {"Number of Parameterset |0|u", "Old Channel Apply mask |1|i", "New Channel Apply mask |2|i",
         "Old ID |0custom Config|s", "New ID |1234|s"});
    row("parameter set, device wins", RecordBuilder(0, 0x04010A35).u32(10, 0xFFFFFFFF), "Device Selection changed",
        {"Number of Parameterset |5|u", "Old Channel Apply mask |0|i", "New Channel Apply mask |0|i",
         "Old ID |4294967295|s", "New ID |0custom Config|s"});
    row("parameter set, sensor", RecordBuilder(0, 0x04010A27).u32(10, 7).u32(14, 8), "Sensor Selection changed",
        {"Number of Parameterset |7|u", "Old Channel Apply mask |0|i", "New Channel Apply mask |0|i",
         "Old ID |7|s", "New ID |8|s"});

    // Errors and start-up.
    row("i2c busy", RecordBuilder(0, 0x04030110).u8(8, 0x48), "I2C Bus Busy ",
        {"I2C Device Address |48|s", "Access|Write|s"});
    row("i2c error", RecordBuilder(0, 0x04030120).u8(8, 0xA0).u8(9, 1), "I2C Bus Error",
        {"I2C Device Address |a0|s", "Access|Read|s"});
    row("i2c timeout", RecordBuilder(0, 0x04030130), "I2C Bus Timeout", {"I2C Device Address |0|s", "Access|Write|s"});
    row("i2s overflow", RecordBuilder(0, 0x04030210).fill(0x55), "I2S FIFO Overflow Error ", {});
    row("enip init", RecordBuilder(0, 0x04030410), "enIP Stack init failed ", {});
    row("ethernet send", RecordBuilder(0, 0x04030411).u32(8, 0xFFFFFFFF), "ethernet Send error",
        {"Errorvalue|-1|i"});
    row("eth handler init", RecordBuilder(0, 0x04030420), "ethHandler init failed ", {});
    row("boot ok", RecordBuilder(0, 0x04030500).fill(0x11), "Bootup succesfull", {});
    row("boot failed", RecordBuilder(0, 0x04030510), "Bootup failed", {});
    row("spi", RecordBuilder(0, 0x04030800), "SPI Bus Error/Timeout", {});
    row("default config", RecordBuilder(0, 0x04030900), "Default Config used/loaded", {});
    row("watchdog reset", RecordBuilder(0, 0x04030C00), "Watchdog Reset detected ", {});
    {
        QStringList rows{"Trigger Flags |5|s", "Channel 1 Error|Over Voltage/ Open Circuit|s",
                         "Channel 1 Error|Under Voltage/ Short Circuit|s", "Channel 1 Bias Voltage Value|1.234 V|s",
                         "Channel 2 Bias Voltage Value|0.000 V|s", "Channel 3 Error|Under Voltage/ Short Circuit|s",
                         "Channel 3 Bias Voltage Value|65.535 V|s"};
        for (int n = 4; n <= 7; ++n)
            rows << QStringLiteral("Channel %1 Bias Voltage Value|0.0%1%1 V|s").arg(n);
        rows << "Error happend during|Data acquisition active|s";
        RecordBuilder b(0, 0x04030305);
        // Channel 2's flags are set but its trigger bit is not.
        b.u16(8, 1234).u16(12, 65535).u8(22, 1).u8(23, 0x03).u8(24, 0x07);
        for (int n = 4; n <= 7; ++n)
            b.u16(8 + 2 * (n - 1), uint16_t(n * 11));
        row("bias voltage", b, "Bias Voltage Threshold Violation", rows);
    }
    {
        QStringList rows{"Trigger Flags |0|s"};
        for (int n = 1; n <= 7; ++n)
            rows << QStringLiteral("Channel %1 Bias Voltage Value|0.000 V|s").arg(n);
        rows << "Error happend during|Data acquisition idle|s";
        row("bias voltage, no trigger", RecordBuilder(0, 0x04030300).u8(23, 0xFF).u8(24, 0xFF),
            "Bias Voltage Threshold Violation", rows);
    }
    row("error reset ok", RecordBuilder(0, 0x04030600).u32(9, 0xABCD).u32(13, 0x80000001), "Error reset succesfull",
        {"Critical Error |no|s", "New/Current Error Flags |0x0000abcd|s", "Previous Error Flags |0x80000001|s",
         "Error clear source ( manual/automatic ) |Manual clear|s"});
    row("error reset failed", RecordBuilder(0, 0x04030610).u8(8, 2).u8(17, 1), "Error reset failed",
        {"Critical Error |yes|s", "New/Current Error Flags |0x00000000|s", "Previous Error Flags |0x00000000|s",
         "Error clear source ( manual/automatic ) |Automatic clear|s"});
    row("trigger minimum", RecordBuilder(0, 0x04030710).u64(8, 0xFFFFFFFFFFFFFFFFull).u64(16, 1000),
        "Minimum Trigger Timing violation",
        {"Violation SysTick |18446744073709551615|s", "Minimum Trigger Threshold SysTick|1000|s"});
    row("trigger maximum", RecordBuilder(0, 0x04030720).u64(8, 5).u64(16, 0x100000000ull),
        "Maximum Trigger Timing violation",
        {"Violation SysTick |5|s", "Maximum Trigger Threshold SysTick|4294967296|s"});
    {
        auto noRef = [&](const char *name, uint32_t id, const char *output, const char *word) {
            RecordBuilder b(0, id);
            b.u8(8, 0x7F).u8(9, 3);
            for (int i = 0; i < 7; ++i)
                b.u16(10 + 2 * i, uint16_t(kSkw.at(i)));
            QStringList rows{QStringLiteral("Outputtype|%1|s").arg(output), "Channelenable Flags|127|s",
                             "Error Source Flags|3|s"};
            rows << channelRows(QStringLiteral("Channel %1") + QLatin1String(word), kSkw);
            row(name, b, "No Reference Values Detected", rows);
        };
        noRef("no reference 0", 0x04030A00, "digital or off", " SKW ");
        noRef("no reference 1", 0x04030A01, "analog", " Scale ");
        noRef("no reference 2", 0x04030A02, "digital or off", " SKW ");
        noRef("no reference 3", 0x04030A03, "analog", " Current ");
    }
    row("input overload", RecordBuilder(0, 0x04030B00).u8(8, 0x85), "Input Overload on Channels: 85",
        {"Channel|1|i", "Channel|3|i"});
    row("input overload, none", RecordBuilder(0, 0x04030B00), "Input Overload on Channels: 0", {});
    row("output overload 7", RecordBuilder(0, 0x04030D06), "Output Overload on Channel 7", {"Output:|digital|s"});
    row("output overload 16", RecordBuilder(0, 0x04030D0F).u8(8, 1), "Output Overload on Channel 16",
        {"Output:|analog|s"});

    // Run results.
    {
        RecordBuilder b(0, 0x04040130);
        const QList<int> v{1, 2, 3, 4, 5, 6, 7, 8, -9};
        for (int k = 0; k < 9; ++k)
            b.u16(8 + 2 * k, uint16_t(v.at(k)));
        const QStringList rows{"MeanofMean|1|i",          "MaximumofMean|2|i",    "MinimumofMean|3|i",
                               "MeanofMaximum|4|i",       "MaximumofMaximum|5|i", "MinimumofMaximum|6|i",
                               "MeanofMinimum|7|i",       "MaximumofMinimum|8|i", "MinimumofMinimum|-9|i"};
        row("reference run statistics", b, "Reference Run  Channel 3", rows);
        RecordBuilder m(0, 0x04040070);
        for (int k = 0; k < 9; ++k)
            m.u16(8 + 2 * k, uint16_t(v.at(k)));
        row("measurement run statistics", m, "Measurment Run Channel 7", rows);
    }
    {
        RecordBuilder b(0, 0x04040180);
        b.u8(8, 0xA5).u8(9, 0xFF).u8(10, 0xFF);
        for (int n = 2; n <= 7; ++n)
            b.u16(7 + 2 * n, uint16_t(100 * n));
        row("reference lubrication", b, "Reference Run  Lubrication Event ",
            QStringList{"Event Flags |a5|s"} + channelRows("Channel %1 SKW", {-1, 200, 300, 400, 500, 600, 700}));
        row("measurement lubrication", RecordBuilder(0, 0x04040080).u16(21, 0x8000), "Measurment Run Lubrication Event ",
            QStringList{"Event Flags |0|s"} + channelRows("Channel %1 SKW", {0, 0, 0, 0, 0, 0, -32768}));
    }
}

void TestLogDecode::decoders()
{
    QFETCH(QByteArray, record);
    QFETCH(QString, description);
    QFETCH(QStringList, details);
    LogEntry e(recordOf(record), nullptr);
    QCOMPARE(e.description(), description);
    QCOMPARE(detailLines(e), details);
}

void TestLogDecode::rolesAndRawBytes()
{
    LogEntryBase root;
    const LogRecord r = RecordBuilder(0x80000001u, 0x04040080u).u16(9, 410);
    auto *e = new LogEntry(r, &root);
    root.appendChild(e);
    // Roles read through plain indexes: the entry only looks at the column.
    struct Probe : QAbstractListModel {
        int rowCount(const QModelIndex &) const override { return 1; }
        QVariant data(const QModelIndex &, int) const override { return {}; }
        int columnCount(const QModelIndex &) const override { return 3; }
        QModelIndex at(int column) const { return createIndex(0, column); }
    } probe;
    QCOMPARE(e->data(probe.at(0), Qt::DisplayRole).toString(), e->timeText());
    QCOMPARE(e->data(probe.at(1), Qt::DisplayRole).toString(), QStringLiteral("ID: 0x04040080"));
    QCOMPARE(e->data(probe.at(2), Qt::DisplayRole).toString(), e->description());
    const QVariant time = e->data(probe.at(0), Qt::UserRole);
    QCOMPARE(time.userType(), int(QMetaType::UInt));
    QCOMPARE(time.toUInt(), 0x80000001u);
    const QVariant id = e->data(probe.at(1), Qt::UserRole);
    QCOMPARE(id.userType(), int(QMetaType::UInt));
    QCOMPARE(id.toUInt(), 0x04040080u);
    QVERIFY(!e->data(probe.at(2), Qt::UserRole).isValid());
    for (int role : {int(Qt::EditRole), int(Qt::ToolTipRole), int(Qt::UserRole + 1)})
        for (int c = 0; c < 3; ++c)
            QVERIFY(!e->data(probe.at(c), role).isValid());

    // The binary form is the record as received, whatever the rows.
    QCOMPARE(e->childCount(), 8);
    QCOMPARE(e->rawSize(), 32);
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    QCOMPARE(e->write(out), 0);
    QCOMPARE(bytes, r.toByteArray());
    QCOMPARE(e->rawRecord(), r);
}

void TestLogDecode::refreshGivesTheSameEntry()
{
    const LogRecord r = RecordBuilder(77, 0x04030305).u16(8, 1234).u8(23, 1).u8(24, 5);
    LogEntry e(r, nullptr);
    const QStringList rows = detailLines(e);
    const QString line = e.toString();
    e.refresh();
    QCOMPARE(detailLines(e), rows);
    QCOMPARE(e.toString(), line);
    e.refreshAll();
    QCOMPARE(detailLines(e), rows);
}

void TestLogDecode::randomRecordsNeverBreakTheDecoder()
{
    // A damaged unit can hand over any 32 bytes. Random IDs are mostly
    // unknown, so half of them are drawn from around the known families.
    static const uint32_t bases[] = {0x03010000, 0x03020000, 0x03030000, 0x04010000, 0x04030000, 0x04040000};
    QRandomGenerator rng(0x4C4F4721);
    LogEntryBase root;
    for (int i = 0; i < 50000; ++i) {
        LogRecord r;
        for (auto &b : r.bytes)
            b = uint8_t(rng.bounded(256));
        if (i % 2) {
            const uint32_t id = bases[rng.bounded(6)] | uint32_t(rng.bounded(0x10000));
            r.bytes[4] = uint8_t(id);
            r.bytes[5] = uint8_t(id >> 8);
            r.bytes[6] = uint8_t(id >> 16);
            r.bytes[7] = uint8_t(id >> 24);
        }
        auto *e = new LogEntry(r, &root);
        root.appendChild(e);
        QVERIFY(!e->description().isEmpty());
        QVERIFY(e->childCount() <= 23);
        QCOMPARE(e->rawRecord(), r);
    }
    QCOMPARE(root.rawSize(), 50000 * 32);
}

QTEST_GUILESS_MAIN(TestLogDecode)
#include "tst_logdecode.moc"
