// Discovery (0xD1) and the network settings broadcast (0xDF) of the
// simulated unit.
#include "unitsim.h"

#include "byteorder.h"

namespace {

constexpr int32_t kInvalidParam = -16;

} // namespace

void UnitSim::installNetworkHandlers()
{
    setHandler(0xD1, [this](const UnitSimRequest &q, UnitSimReply &r) { onDiscover(q, r); });
    setHandler(0xDF, [this](const UnitSimRequest &q, UnitSimReply &r) { onNetConfig(q, r); });
}

void UnitSim::onDiscover(const UnitSimRequest &request, UnitSimReply &reply)
{
    if (request.payload.size() < MG_Discover_Request_t::kSize) {
        reply.send = false;
        return;
    }
    const auto discover =
        MG_Discover_Request_t::fromBytes(reinterpret_cast<const uint8_t *>(request.payload.constData()));
    if (discover.magic != MG_Discover_Request_t::kMagic) {
        reply.send = false;
        return;
    }
    DiscoveredDevice d;
    d.setIpAddress(m_address);
    d.setSubnetMask(m_parameters.netmask());
    // Bytes 8..12: the unit's own network state (address as configured and
    // whether it differs from the running one).
    const QHostAddress configured = m_parameters.ipAddress();
    le::put32(d.bytes.data() + 8, configured.toIPv4Address());
    d.bytes[12] = configured != m_address ? 1 : 0;
    d.setNameRecord(reinterpret_cast<const uint8_t *>(m_parameters.value(0x2000).constData()));
    d.setMacAddress(m_mac.data());
    reply.payload = d.toByteArray();
}

void UnitSim::onNetConfig(const UnitSimRequest &request, UnitSimReply &reply)
{
    if (request.payload.size() < BCAST_NET_CONFIG::kSize) {
        reply.send = false;
        return;
    }
    const auto config = BCAST_NET_CONFIG::fromBytes(reinterpret_cast<const uint8_t *>(request.payload.constData()));
    // Only the unit with this MAC address answers.
    if (config.mac != m_mac) {
        reply.send = false;
        return;
    }
    if (config.mode == BCAST_NET_CONFIG::ResetToDefaults) {
        m_parameters.setIpAddress(m_address);
        m_parameters.setNetmask(QHostAddress(QStringLiteral("255.255.255.0")));
    } else if (config.mode == BCAST_NET_CONFIG::UseGivenValues) {
        m_parameters.setIpAddress(config.ipAddress());
        m_parameters.setNetmask(config.subnetMask());
    } else {
        reply.fail(kInvalidParam);
    }
}
