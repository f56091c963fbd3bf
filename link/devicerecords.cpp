#include "devicerecords.h"

#include <QByteArray>

#include "le.h"

// The field layouts must add up to the wire sizes.
static_assert(2 + 2 + 4 + 4 + 1 == FieldbusStatusRecord::kSize, "fieldbus status layout");
static_assert(11 + 2 * HearBeatMessage_t::kChannels == 25, "heartbeat SKW block");
static_assert(31 + FieldbusStatusRecord::kSize + 1 + 4 + 1 == HearBeatMessage_t::kSize, "heartbeat layout");
static_assert(1 + 4 * 2 * ReferenceRunResult_t::kChannels + 2 * ReferenceRunResult_t::kChannels
                  == ReferenceRunResult_t::kSize,
              "reference-run layout");
static_assert(3 * 2 + 5 == ProductInfoRecord::kSize, "product info layout");
static_assert(4 + 4 + 4 + 2 == MG_Discover_Request_t::kSize, "discovery request layout");
static_assert(sizeof(DiscoveredDevice::bytes) == DiscoveredDevice::kSize, "discovered device size");
static_assert(DiscoveredDevice::kMacOffset + 6 == DiscoveredDevice::kSize, "discovered device layout");
static_assert(6 + 2 + 4 + 4 == BCAST_NET_CONFIG::kSize, "network reset layout");

namespace {

template<typename Record>
QByteArray recordBytes(const Record &record)
{
    QByteArray out(Record::kSize, '\0');
    record.toBytes(reinterpret_cast<uint8_t *>(out.data()));
    return out;
}

uint32_t be32(const uint8_t *p)
{
    return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | uint32_t(p[3]);
}

void putBe32(uint8_t *p, uint32_t v)
{
    p[0] = uint8_t(v >> 24);
    p[1] = uint8_t(v >> 16);
    p[2] = uint8_t(v >> 8);
    p[3] = uint8_t(v);
}

} // namespace

FieldbusStatusRecord FieldbusStatusRecord::fromBytes(const uint8_t *b)
{
    FieldbusStatusRecord r;
    r.networkType = le::u16(b);
    r.moduleType = le::u16(b + 2);
    r.moduleState = le::u32(b + 4);
    r.commState = le::u32(b + 8);
    r.flags = b[12];
    return r;
}

void FieldbusStatusRecord::toBytes(uint8_t *b) const
{
    le::put16(b, networkType);
    le::put16(b + 2, moduleType);
    le::put32(b + 4, moduleState);
    le::put32(b + 8, commState);
    b[12] = flags;
}

HearBeatMessage_t HearBeatMessage_t::fromBytes(const uint8_t *b)
{
    HearBeatMessage_t r;
    r.deviceTime = le::u32(b);
    r.stateByte = b[4];
    r.dataControl = b[5];
    r.runControl = b[6];
    r.reserved7 = b[7];
    r.openCircuit = b[8];
    r.shortCircuit = b[9];
    r.reserved10 = b[10];
    for (int i = 0; i < kChannels; ++i)
        r.currentSkw[size_t(i)] = le::i16(b + 11 + 2 * i);
    r.errorBits = le::u32(b + 25);
    r.errorCritical = b[29];
    r.channelEnabled = b[30];
    r.fieldbus = FieldbusStatusRecord::fromBytes(b + 31);
    r.reserved44 = b[44];
    r.saveStatus = le::i32(b + 45);
    r.configModified = b[49];
    return r;
}

void HearBeatMessage_t::toBytes(uint8_t *b) const
{
    le::put32(b, deviceTime);
    b[4] = stateByte;
    b[5] = dataControl;
    b[6] = runControl;
    b[7] = reserved7;
    b[8] = openCircuit;
    b[9] = shortCircuit;
    b[10] = reserved10;
    for (int i = 0; i < kChannels; ++i)
        le::put16(b + 11 + 2 * i, uint16_t(currentSkw[size_t(i)]));
    le::put32(b + 25, errorBits);
    b[29] = errorCritical;
    b[30] = channelEnabled;
    fieldbus.toBytes(b + 31);
    b[44] = reserved44;
    le::put32(b + 45, uint32_t(saveStatus));
    b[49] = configModified;
}

QByteArray HearBeatMessage_t::toByteArray() const { return recordBytes(*this); }

ReferenceRunResult_t ReferenceRunResult_t::fromBytes(const uint8_t *b)
{
    ReferenceRunResult_t r;
    r.flags = b[0];
    for (int i = 0; i < kChannels; ++i) {
        r.previousReference[size_t(i)] = le::i16(b + 1 + 2 * i);
        r.newReference[size_t(i)] = le::i16(b + 15 + 2 * i);
        r.previousSkw[size_t(i)] = le::i16(b + 29 + 2 * i);
        r.newSkw[size_t(i)] = le::i16(b + 43 + 2 * i);
        r.previousFactor[size_t(i)] = b[57 + i];
        r.newFactor[size_t(i)] = b[64 + i];
    }
    return r;
}

void ReferenceRunResult_t::toBytes(uint8_t *b) const
{
    b[0] = flags;
    for (int i = 0; i < kChannels; ++i) {
        le::put16(b + 1 + 2 * i, uint16_t(previousReference[size_t(i)]));
        le::put16(b + 15 + 2 * i, uint16_t(newReference[size_t(i)]));
        le::put16(b + 29 + 2 * i, uint16_t(previousSkw[size_t(i)]));
        le::put16(b + 43 + 2 * i, uint16_t(newSkw[size_t(i)]));
        b[57 + i] = previousFactor[size_t(i)];
        b[64 + i] = newFactor[size_t(i)];
    }
}

QByteArray ReferenceRunResult_t::toByteArray() const { return recordBytes(*this); }

ProductInfoRecord ProductInfoRecord::fromBytes(const uint8_t *b)
{
    ProductInfoRecord r;
    r.ethernetProtocolVersion = le::u16(b);
    r.flashProtocolVersion = le::u16(b + 2);
    r.firmwareBuild = le::u16(b + 4);
    r.firmwareModified = b[6];
    r.firmwareMajor = b[7];
    r.firmwareMinor = b[8];
    r.hardwareRevision = b[9];
    r.unused = b[10];
    return r;
}

void ProductInfoRecord::toBytes(uint8_t *b) const
{
    le::put16(b, ethernetProtocolVersion);
    le::put16(b + 2, flashProtocolVersion);
    le::put16(b + 4, firmwareBuild);
    b[6] = firmwareModified;
    b[7] = firmwareMajor;
    b[8] = firmwareMinor;
    b[9] = hardwareRevision;
    b[10] = unused;
}

QByteArray ProductInfoRecord::toByteArray() const { return recordBytes(*this); }

MG_Discover_Request_t MG_Discover_Request_t::make(const QHostAddress &host, const QHostAddress &mask,
                                                  uint16_t port)
{
    MG_Discover_Request_t r;
    r.hostAddress = host.toIPv4Address();
    r.subnetMask = mask.toIPv4Address();
    r.replyPort = port;
    return r;
}

MG_Discover_Request_t MG_Discover_Request_t::fromBytes(const uint8_t *b)
{
    MG_Discover_Request_t r;
    r.magic = le::u32(b);
    r.hostAddress = be32(b + 4);
    r.subnetMask = be32(b + 8);
    r.replyPort = le::u16(b + 12);
    return r;
}

void MG_Discover_Request_t::toBytes(uint8_t *b) const
{
    le::put32(b, magic);
    putBe32(b + 4, hostAddress);
    putBe32(b + 8, subnetMask);
    le::put16(b + 12, replyPort);
}

QByteArray MG_Discover_Request_t::toByteArray() const { return recordBytes(*this); }

QHostAddress DiscoveredDevice::ipAddress() const { return QHostAddress(be32(bytes.data())); }

QHostAddress DiscoveredDevice::subnetMask() const { return QHostAddress(be32(bytes.data() + 4)); }

QString DiscoveredDevice::deviceName() const { return nameRecordText(nameRecord()); }

std::array<uint8_t, 6> DiscoveredDevice::macAddress() const
{
    std::array<uint8_t, 6> mac{};
    std::memcpy(mac.data(), bytes.data() + kMacOffset, mac.size());
    return mac;
}

QString DiscoveredDevice::macText() const
{
    const auto mac = macAddress();
    return QByteArray(reinterpret_cast<const char *>(mac.data()), int(mac.size())).toHex(':');
}

void DiscoveredDevice::setIpAddress(const QHostAddress &ip) { putBe32(bytes.data(), ip.toIPv4Address()); }

void DiscoveredDevice::setSubnetMask(const QHostAddress &mask)
{
    putBe32(bytes.data() + 4, mask.toIPv4Address());
}

void DiscoveredDevice::setNameRecord(const uint8_t *record)
{
    std::memcpy(bytes.data() + kNameOffset, record, kNameSize);
}

void DiscoveredDevice::setMacAddress(const uint8_t *mac) { std::memcpy(bytes.data() + kMacOffset, mac, 6); }

DiscoveredDevice DiscoveredDevice::fromBytes(const uint8_t *data)
{
    DiscoveredDevice d;
    std::memcpy(d.bytes.data(), data, kSize);
    return d;
}

QByteArray DiscoveredDevice::toByteArray() const { return recordBytes(*this); }

void BCAST_NET_CONFIG::setIp(const QHostAddress &address) { putBe32(ip.data(), address.toIPv4Address()); }

void BCAST_NET_CONFIG::setMask(const QHostAddress &address) { putBe32(mask.data(), address.toIPv4Address()); }

QHostAddress BCAST_NET_CONFIG::ipAddress() const { return QHostAddress(be32(ip.data())); }

QHostAddress BCAST_NET_CONFIG::subnetMask() const { return QHostAddress(be32(mask.data())); }

BCAST_NET_CONFIG BCAST_NET_CONFIG::fromBytes(const uint8_t *b)
{
    BCAST_NET_CONFIG r;
    std::memcpy(r.mac.data(), b, 6);
    r.mode = le::u16(b + 6);
    std::memcpy(r.ip.data(), b + 8, 4);
    std::memcpy(r.mask.data(), b + 12, 4);
    return r;
}

void BCAST_NET_CONFIG::toBytes(uint8_t *b) const
{
    std::memcpy(b, mac.data(), 6);
    le::put16(b + 6, mode);
    std::memcpy(b + 8, ip.data(), 4);
    std::memcpy(b + 12, mask.data(), 4);
}

QByteArray BCAST_NET_CONFIG::toByteArray() const { return recordBytes(*this); }

QString nameRecordText(const uint8_t *record)
{
    // The count byte comes from the unit; never trust it past the text area.
    int count = record[250];
    if (count > 250)
        count = 250;
    return QString::fromUtf8(reinterpret_cast<const char *>(record), count);
}
