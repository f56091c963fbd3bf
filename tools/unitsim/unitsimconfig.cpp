// Configuration saves and the configuration blob of the simulated unit.
#include "unitsimconfig.h"

#include "blobscrambler.h"
#include "configblob.h"
#include "byteorder.h"
#include "unitsim.h"

namespace {

constexpr uint8_t kCmdHeartbeat = 0x71;
constexpr uint8_t kCmdServiceAction = 0xED;
constexpr uint16_t kActionConfirmSave = 0x11;
constexpr uint16_t kActionOpenSave = 0x12;
constexpr int32_t kNotSupported = -17;

} // namespace

UnitSimConfig::UnitSimConfig(UnitSim *sim)
    : QObject(sim)
    , m_sim(sim)
{
    setObjectName(QStringLiteral("UnitSimConfig"));
    // Everything else of these two commands stays with the unit's own
    // handlers; this only follows the saves and counts the reports.
    m_serviceAction = sim->handler(kCmdServiceAction);
    m_heartbeat = sim->handler(kCmdHeartbeat);
    sim->setHandler(kCmdServiceAction, [this](const UnitSimRequest &q, UnitSimReply &r) { onServiceAction(q, r); });
    sim->setHandler(kCmdHeartbeat, [this](const UnitSimRequest &q, UnitSimReply &r) { onHeartbeat(q, r); });
}

UnitSimConfig *UnitSimConfig::of(UnitSim *sim)
{
    if (!sim)
        return nullptr;
    auto *config = sim->findChild<UnitSimConfig *>(QStringLiteral("UnitSimConfig"), Qt::FindDirectChildrenOnly);
    return config ? config : new UnitSimConfig(sim);
}

CFG_Blob_struct_sorted UnitSimConfig::makeBlob(const std::array<uint8_t, 6> &mac, unsigned seed)
{
    CFG_Blob_struct_sorted blob = ConfigBlob::defaultBlob(seed);

    // Channels 0..3 share one catalogue mapping, 4..6 another; all seven use
    // the same sensor type.
    CFG_ChannelMapping_struct bearing = ConfigBlob::defaultMappingEntry();
    bearing.setId(12);
    bearing.setTau(800);
    bearing.setSegmentTime(2500);
    bearing.setSelects(0x12);
    bearing.setReferenceScaleFactor(50);
    CFG_ChannelMapping_struct gear = ConfigBlob::defaultMappingEntry();
    gear.setId(15);
    gear.setTau(300);
    gear.setSegmentTime(1200);
    gear.setSelects(0x21);
    gear.setPostShift(2);
    CFG_Sensor_struct sensor = ConfigBlob::defaultSensorEntry();
    sensor.setId(3);
    sensor.setIepeHighVoltage(190);
    sensor.setIepeLowVoltage(50);
    for (uint8_t ch = 0; ch < kChannelCount; ++ch) {
        ConfigBlob::replaceMappingEntry(blob, ch < 4 ? bearing : gear, ch);
        ConfigBlob::replaceSensorEntry(blob, sensor, ch);
    }

    // The reference values belong to this unit: its MAC address, byte for
    // byte as the 8-byte MAC parameter carries it.
    uint8_t macParam[8] = {};
    std::copy(mac.begin(), mac.end(), macParam);
    blob.setReferenceMac(le::u64(macParam));
    ConfigBlob::seal(blob, seed);
    return blob;
}

QByteArray UnitSimConfig::makeScrambledBlob(const std::array<uint8_t, 6> &mac, unsigned seed)
{
    const CFG_Blob_struct_sorted blob = makeBlob(mac, seed);
    QByteArray scrambled(CFG_Blob_struct_sorted::kSize, '\0');
    BlobScrambler::scramble(blob.data(), reinterpret_cast<uint8_t *>(scrambled.data()));
    return scrambled;
}

void UnitSimConfig::setConfigModified(bool modified)
{
    m_sim->heartbeat().configModified = modified ? 1 : 0;
}

int32_t UnitSimConfig::saveStatus() const
{
    return m_sim->heartbeat().saveStatus;
}

void UnitSimConfig::setStatus(int32_t status)
{
    m_sim->heartbeat().saveStatus = status;
}

void UnitSimConfig::onServiceAction(const UnitSimRequest &request, UnitSimReply &reply)
{
    if (request.payload.size() >= 2) {
        const uint16_t action = le::u16(reinterpret_cast<const uint8_t *>(request.payload.constData()));
        if (action == kActionOpenSave) {
            m_save = Save::Open;
            m_finalPending = false;
            m_confirmTaken = false;
            ++m_opened;
            setStatus(m_runningStatus);
            return;
        }
        if (action == kActionConfirmSave) {
            // The tool asking again with the same sequence number (the
            // answer was lost) gets the same answer; nothing changes.
            if (m_confirmTaken && request.sequence == m_confirmSequence)
                return;
            if (m_save != Save::Open) {
                reply.fail(kNotSupported);
                return;
            }
            m_save = Save::Confirmed;
            m_confirmTaken = true;
            m_confirmSequence = request.sequence;
            ++m_confirmed;
            m_reportsLeft = m_finalReports;
            if (m_saveDurationMs > 0) {
                m_finalPending = true;
                m_saving.start();
                return;
            }
            setStatus(m_finalStatus);
            return;
        }
    }
    if (m_serviceAction)
        m_serviceAction(request, reply);
}

void UnitSimConfig::onHeartbeat(const UnitSimRequest &request, UnitSimReply &reply)
{
    if (m_finalPending && m_saving.elapsed() >= m_saveDurationMs) {
        m_finalPending = false;
        setStatus(m_finalStatus);
    }
    if (m_heartbeat)
        m_heartbeat(request, reply);
    // This answer carried the final status; after the chosen number of them
    // the unit reports the neutral 0 again.
    if (m_save == Save::Confirmed && !m_finalPending && m_reportsLeft > 0 && --m_reportsLeft == 0) {
        m_save = Save::Idle;
        setStatus(0);
    }
}
