#include "configfixture.h"

#include "replyconnection.h"

#include <QTest>

#include "configblob.h"

ConfigSnapshot ConfigSnapshot::of(const Confighandler &c)
{
    ConfigSnapshot s;
    s.connection.setIpAddress(c.getIpAddress());
    s.connection.setSubnetMask(c.getSubnetMask());
    s.deviceName = c.deviceNameRecord();
    for (uint8_t ch = 0; ch < kChannelCount; ++ch)
        c.channelNameRecord(ch, s.channelNames[ch]);
    s.device = c.getDeviceConfig();
    s.blob = c.getConfigBlob();
    s.anybus = c.getAnybusCFG();
    return s;
}

bool ConfigSnapshot::operator==(const ConfigSnapshot &o) const
{
    return connection == o.connection && deviceName == o.deviceName && channelNames == o.channelNames
           && device == o.device && blob == o.blob && anybus == o.anybus;
}

QByteArray blobContent(const CFG_Blob_struct_sorted &blob)
{
    CFG_Blob_struct_sorted b = blob;
    for (int i = 0; i < kChannelCount; ++i) {
        auto m = b.mapping(i);
        std::memset(m.data() + CFG_ChannelMapping_struct::kReservedOffset, 0, CFG_ChannelMapping_struct::kReservedSize);
        b.setMapping(i, m);
        auto s = b.sensor(i);
        std::memset(s.data() + CFG_Sensor_struct::kReservedOffset, 0, CFG_Sensor_struct::kReservedSize);
        b.setSensor(i, s);
    }
    std::memset(b.data() + CFG_Blob_struct_sorted::kFillerOffset, 0, CFG_Blob_struct_sorted::kFillerSize + 4);
    return b.toBytes();
}

MessageLog::MessageLog(Confighandler &c)
{
    QObject::connect(&c, &Confighandler::printNotifyBarErrorwrapper,
                     [this](const QString &m, bool, bool) { errors << m; });
    QObject::connect(&c, qOverload<QString, uint32_t>(&Confighandler::printNotifyBarSuccesswrapper),
                     [this](const QString &m, uint32_t ms) {
                         QCOMPARE(ms, 3000u);
                         successes << m;
                     });
    connectReply(&c, qOverload<QStringList, QString, QString, int, int32_t *>(&Confighandler::printMessageboxwrapper),
                 &c, [this](const QStringList &buttons, const QString &title, const QString &text, int kind,
                            int32_t *answer) {
                         questions.append({buttons, title, text, kind});
                         *answer = answers.isEmpty() ? -1 : answers.takeFirst();
                     });
    QObject::connect(&c, &Confighandler::waitingForFeedbackFinished, [this] { ++finished; });
}

void MessageLog::clear()
{
    errors.clear();
    successes.clear();
    questions.clear();
    answers.clear();
    finished = 0;
}

void configureAllChannels(Confighandler &c)
{
    for (uint8_t ch = 0; ch < kChannelCount; ++ch) {
        auto m = ConfigBlob::defaultMappingEntry();
        // Channels 0 and 1 share a catalogue mapping; the rest have their own.
        m.setId(ch < 2 ? 40 : 40 + ch);
        m.setTau(uint16_t(600 + ch));
        m.setSegmentTime(uint16_t(1500 + ch));
        QCOMPARE(c.setChannelConfig(m, ch, false), ERR_OK);
        auto s = ConfigBlob::defaultSensorEntry();
        s.setId(70 + ch);
        s.setIepeHighVoltage(uint8_t(200 + ch));
        QCOMPARE(c.setSensorConfig(s, ch, false), ERR_OK);
    }
    auto d = c.getDeviceConfig();
    d.setDebounceTime(42);
    d.setOutputSelect(1);
    d.setOutputInversion(0);
    for (int ch = 0; ch < kChannelCount; ++ch) {
        d.setScale(ch, uint16_t(9000 + ch));
        d.setThreshold(ch, uint16_t(300 + ch));
        d.setReferenceSkw(ch, int16_t(ch == 3 ? -1 : 500 + ch));
    }
    QCOMPARE(c.setDeviceConfig(d), ERR_OK);
    QCOMPARE(c.setDevicename(QStringLiteral("Presse Süd; Linie 2")), ERR_OK);
    for (uint8_t ch = 0; ch < kChannelCount; ++ch)
        QCOMPARE(c.setChannelname(QStringLiteral("Lager %1 µ").arg(ch), ch), ERR_OK);
    Anybus_cfg a;
    for (int i = 0; i < Anybus_cfg::kSize; ++i)
        a.data()[i] = uint8_t(i * 7);
    c.setAnybusCFG(a);
}
