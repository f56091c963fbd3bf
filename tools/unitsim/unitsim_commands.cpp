// Identification, records, reference run, service actions, error reset and
// restart of the simulated unit.
#include "unitsim.h"

#include <QTimer>

#include "byteorder.h"
#include "configrecords.h"
#include "unitsimconfig.h"
#include "unitsimrun.h"

namespace {

constexpr int32_t kInvalidParam = -16;
constexpr int32_t kNotSupported = -17;
constexpr int32_t kDataSize = -1;

} // namespace

void UnitSim::installCommandHandlers()
{
    setHandler(0xE0, [this](const UnitSimRequest &q, UnitSimReply &r) { onProductInfo(q, r); });
    setHandler(0x21, [this](const UnitSimRequest &q, UnitSimReply &r) { onRefRunResult(q, r); });
    setHandler(0x22, [this](const UnitSimRequest &q, UnitSimReply &r) { onRefRunMode(q, r); });
    setHandler(0x70, [this](const UnitSimRequest &q, UnitSimReply &r) { onRecord(q, r); });
    setHandler(0xED, [this](const UnitSimRequest &q, UnitSimReply &r) { onServiceAction(q, r); });
    setHandler(0xFE, [this](const UnitSimRequest &q, UnitSimReply &r) { onErrorReset(q, r); });
    setHandler(0xFF, [this](const UnitSimRequest &q, UnitSimReply &r) { onRestart(q, r); });
    // Configuration saves follow actions 0x12/0x11 and report in the heartbeat.
    UnitSimConfig::of(this);
    // Timed runs (0x23, 0x26) and what they leave behind.
    UnitSimRun::of(this);
}

void UnitSim::onProductInfo(const UnitSimRequest &, UnitSimReply &reply)
{
    reply.payload = m_productInfo.toByteArray();  // 11 bytes; the frame pads it to 12
}

void UnitSim::onRefRunResult(const UnitSimRequest &, UnitSimReply &reply)
{
    reply.payload = m_refRunResult.toByteArray();
}

void UnitSim::onRefRunMode(const UnitSimRequest &request, UnitSimReply &reply)
{
    if (request.payload.isEmpty()) {
        reply.fail(kDataSize);
        return;
    }
    const uint8_t mode = uint8_t(request.payload.at(0)) & 0x0F;
    m_heartbeat.runControl = uint8_t((m_heartbeat.runControl & 0xF0) | mode);
}

void UnitSim::onRecord(const UnitSimRequest &request, UnitSimReply &reply)
{
    if (request.payload.size() < 2) {
        reply.fail(kDataSize);
        return;
    }
    const uint16_t sub = le::u16(reinterpret_cast<const uint8_t *>(request.payload.constData()));
    reply.payload = request.payload.left(2);
    if (sub == 0) {
        QByteArray value(4, '\0');
        le::put32(reinterpret_cast<uint8_t *>(value.data()), m_recordValue);
        reply.payload.append(value);
    } else if (sub == 1) {
        reply.payload.append(m_record);
    } else if (sub >= 2 && sub <= 7) {
        reply.payload.append(m_record.mid((sub - 2) * 95, 95));
    } else {
        reply.fail(kInvalidParam);
    }
}

void UnitSim::onServiceAction(const UnitSimRequest &request, UnitSimReply &reply)
{
    if (request.payload.size() < 2) {
        reply.fail(kDataSize);
        return;
    }
    const uint16_t action = le::u16(reinterpret_cast<const uint8_t *>(request.payload.constData()));
    switch (action) {
    case 0x10:
    case 0x11:
    case 0x12:
        break;
    case 0x30:
        ++m_fieldbusResets;
        break;
    case 0x40:
    case 0x41:
        m_fieldbusFtp = action == 0x40;
        break;
    case 0x20:
        // Back to the factory configuration, network settings included; the
        // fitted module keeps its type and gets its own defaults.
        m_parameters.reset(m_address, m_mac, m_name);
        m_parameters.setValue(0x3000, UnitParameterStore::fieldbusRecord(m_fieldbusType));
        m_heartbeat.configModified = 0;
        break;
    default:
        reply.fail(kNotSupported);
        break;
    }
}

void UnitSim::setFieldbusModule(uint16_t networkType)
{
    m_fieldbusType = networkType;
    FieldbusStatusRecord &status = m_heartbeat.fieldbus;
    status = FieldbusStatusRecord();
    status.networkType = networkType;
    if (networkType != 0 && networkType != 0xFFFF) {
        status.moduleType = 0x0402;
        status.moduleState = 3;  // running
        status.commState = 1;
        status.flags = 0x01;     // link present
    }
    // A module fitted anew keeps the defaults of its kind.
    m_parameters.setValue(0x3000, UnitParameterStore::fieldbusRecord(networkType));
}

void UnitSim::onErrorReset(const UnitSimRequest &, UnitSimReply &)
{
    m_heartbeat.errorBits = 0;
    m_heartbeat.errorCritical = 0;
}

void UnitSim::onRestart(const UnitSimRequest &, UnitSimReply &reply)
{
    // No answer: the unit goes away for a while and comes back by itself.
    reply.send = false;
    m_restarting = true;
    m_restartClock.start();
    QTimer::singleShot(m_restartSilenceMs, this, [this] {
        if (m_restarting && !isRestarting()) {
            m_restarting = false;
            m_heartbeat.deviceTime = 0;
            emit restarted();
        }
    });
}
