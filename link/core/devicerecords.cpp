#include "devicerecords.h"

#include <QByteArray>
#include <cstddef>
#include <tuple>

#include "devicenamerecord.h"
#include "byteorder.h"

namespace {

// One field of a wire record: the byte it starts at and how many it takes.
struct WireField
{
    int offset;
    int width;
};

// True when the fields follow one another from byte 0 without a gap or an
// overlap and the last one ends exactly at `size`. Every record below reads
// and writes its fields at these offsets, so a field moved, resized or left
// out of its table fails the build instead of shifting the bytes after it.
template<std::size_t N>
constexpr bool tilesRecord(const WireField (&fields)[N], int size)
{
    int next = 0;
    for (const WireField &field : fields) {
        if (field.offset != next || field.width <= 0)
            return false;
        next += field.width;
    }
    return next == size;
}

namespace fieldbus {
constexpr WireField networkType{0, 2};
constexpr WireField moduleType{2, 2};
constexpr WireField moduleState{4, 4};
constexpr WireField commState{8, 4};
constexpr WireField flags{12, 1};
constexpr WireField all[] = {networkType, moduleType, moduleState, commState, flags};
} // namespace fieldbus
static_assert(tilesRecord(fieldbus::all, FieldbusStatusRecord::kSize), "fieldbus status layout");
static_assert(sizeof(FieldbusStatusRecord::networkType) == fieldbus::networkType.width
                  && sizeof(FieldbusStatusRecord::moduleType) == fieldbus::moduleType.width
                  && sizeof(FieldbusStatusRecord::moduleState) == fieldbus::moduleState.width
                  && sizeof(FieldbusStatusRecord::commState) == fieldbus::commState.width
                  && sizeof(FieldbusStatusRecord::flags) == fieldbus::flags.width,
              "fieldbus status field widths");

namespace heartbeat {
constexpr WireField deviceTime{0, 4};
constexpr WireField stateByte{4, 1};
constexpr WireField dataControl{5, 1};
constexpr WireField runControl{6, 1};
constexpr WireField reserved7{7, 1};
constexpr WireField openCircuit{8, 1};
constexpr WireField shortCircuit{9, 1};
constexpr WireField reserved10{10, 1};
constexpr WireField currentSkw{11, 2 * HearBeatMessage_t::kChannels};
constexpr WireField errorBits{25, 4};
constexpr WireField errorCritical{29, 1};
constexpr WireField channelEnabled{30, 1};
constexpr WireField fieldbus{31, FieldbusStatusRecord::kSize};
constexpr WireField reserved44{44, 1};
constexpr WireField saveStatus{45, 4};
constexpr WireField configModified{49, 1};
constexpr WireField all[] = {deviceTime,   stateByte,   dataControl,   runControl,     reserved7, openCircuit,
                             shortCircuit, reserved10,  currentSkw,    errorBits,      errorCritical,
                             channelEnabled, fieldbus,  reserved44,    saveStatus,     configModified};
} // namespace heartbeat
static_assert(tilesRecord(heartbeat::all, HearBeatMessage_t::kSize), "heartbeat layout");
static_assert(sizeof(HearBeatMessage_t::deviceTime) == heartbeat::deviceTime.width
                  && sizeof(HearBeatMessage_t::currentSkw) == heartbeat::currentSkw.width
                  && sizeof(HearBeatMessage_t::errorBits) == heartbeat::errorBits.width
                  && sizeof(HearBeatMessage_t::saveStatus) == heartbeat::saveStatus.width,
              "heartbeat field widths");

namespace refrun {
constexpr int kChannels = ReferenceRunResult_t::kChannels;
constexpr WireField flags{0, 1};
constexpr WireField previousReference{1, 2 * kChannels};
constexpr WireField newReference{15, 2 * kChannels};
constexpr WireField previousSkw{29, 2 * kChannels};
constexpr WireField newSkw{43, 2 * kChannels};
constexpr WireField previousFactor{57, kChannels};
constexpr WireField newFactor{64, kChannels};
constexpr WireField all[] = {flags, previousReference, newReference, previousSkw, newSkw, previousFactor, newFactor};
} // namespace refrun
static_assert(tilesRecord(refrun::all, ReferenceRunResult_t::kSize), "reference-run layout");
static_assert(sizeof(ReferenceRunResult_t::previousReference) == refrun::previousReference.width
                  && sizeof(ReferenceRunResult_t::newReference) == refrun::newReference.width
                  && sizeof(ReferenceRunResult_t::previousSkw) == refrun::previousSkw.width
                  && sizeof(ReferenceRunResult_t::newSkw) == refrun::newSkw.width
                  && sizeof(ReferenceRunResult_t::previousFactor) == refrun::previousFactor.width
                  && sizeof(ReferenceRunResult_t::newFactor) == refrun::newFactor.width,
              "reference-run field widths");

namespace product {
constexpr WireField ethernetProtocolVersion{0, 2};
constexpr WireField flashProtocolVersion{2, 2};
constexpr WireField firmwareBuild{4, 2};
constexpr WireField firmwareModified{6, 1};
constexpr WireField firmwareMajor{7, 1};
constexpr WireField firmwareMinor{8, 1};
constexpr WireField hardwareRevision{9, 1};
constexpr WireField unused{10, 1};
constexpr WireField all[] = {ethernetProtocolVersion, flashProtocolVersion, firmwareBuild, firmwareModified,
                             firmwareMajor,           firmwareMinor,        hardwareRevision, unused};
} // namespace product
static_assert(tilesRecord(product::all, ProductInfoRecord::kSize), "product info layout");
static_assert(sizeof(ProductInfoRecord::ethernetProtocolVersion) == product::ethernetProtocolVersion.width
                  && sizeof(ProductInfoRecord::flashProtocolVersion) == product::flashProtocolVersion.width
                  && sizeof(ProductInfoRecord::firmwareBuild) == product::firmwareBuild.width,
              "product info field widths");

namespace discover {
constexpr WireField magic{0, 4};
constexpr WireField hostAddress{4, 4};
constexpr WireField subnetMask{8, 4};
constexpr WireField replyPort{12, 2};
constexpr WireField all[] = {magic, hostAddress, subnetMask, replyPort};
} // namespace discover
static_assert(tilesRecord(discover::all, MG_Discover_Request_t::kSize), "discovery request layout");
static_assert(sizeof(MG_Discover_Request_t::magic) == discover::magic.width
                  && sizeof(MG_Discover_Request_t::hostAddress) == discover::hostAddress.width
                  && sizeof(MG_Discover_Request_t::subnetMask) == discover::subnetMask.width
                  && sizeof(MG_Discover_Request_t::replyPort) == discover::replyPort.width,
              "discovery request field widths");

namespace discovered {
constexpr WireField ipAddress{0, 4};
constexpr WireField subnetMask{4, 4};
constexpr WireField extra{8, 5};
constexpr WireField nameRecord{DiscoveredDevice::kNameOffset, DiscoveredDevice::kNameSize};
constexpr WireField macAddress{DiscoveredDevice::kMacOffset, 6};
constexpr WireField all[] = {ipAddress, subnetMask, extra, nameRecord, macAddress};
} // namespace discovered
static_assert(tilesRecord(discovered::all, DiscoveredDevice::kSize), "discovered device layout");
static_assert(sizeof(DiscoveredDevice::bytes) == DiscoveredDevice::kSize, "discovered device is its bytes");
static_assert(DiscoveredDevice::kNameSize == DeviceNameRecord::kSize, "discovered device carries a whole name record");
static_assert(std::tuple_size<decltype(DiscoveredDevice().macAddress())>::value == discovered::macAddress.width,
              "discovered device MAC width");

namespace netconfig {
constexpr WireField mac{0, 6};
constexpr WireField mode{6, 2};
constexpr WireField ip{8, 4};
constexpr WireField mask{12, 4};
constexpr WireField all[] = {mac, mode, ip, mask};
} // namespace netconfig
static_assert(tilesRecord(netconfig::all, BCAST_NET_CONFIG::kSize), "network reset layout");
static_assert(sizeof(BCAST_NET_CONFIG::mac) == netconfig::mac.width
                  && sizeof(BCAST_NET_CONFIG::mode) == netconfig::mode.width
                  && sizeof(BCAST_NET_CONFIG::ip) == netconfig::ip.width
                  && sizeof(BCAST_NET_CONFIG::mask) == netconfig::mask.width,
              "network reset field widths");

template<typename Record>
QByteArray recordBytes(const Record &record)
{
    QByteArray out(Record::kSize, '\0');
    record.toBytes(reinterpret_cast<uint8_t *>(out.data()));
    return out;
}

// Fieldbus network types by code.
struct NetworkType
{
    uint16_t code;
    const char *name;
};
const NetworkType kNetworkTypes[] = {
    {0x01, "PROFIBUS DP-V0"},
    {0x05, "PROFIBUS DP-V1"},
    {0x20, "CANopen"},
    {0x25, "DeviceNet"},
    {0x45, "Modbus-RTU"},
    {0x65, "ControlNet"},
    {0x80, "Modbus-TCP"},
    {0x84, "PROFINET RT"},
    {0x85, "EtherNet/IP"},
    {0x87, "EtherCAT"},
    {0x89, "PROFINET IRT"},
    {0x90, "CC-Link"},
    {0x93, "Modbus-TCP 2-Port"},
    {0x95, "CompoNet"},
    {0x96, "PROFINET RT 2-port"},
    {0x98, "SERCOS III"},
    {0x99, "BACnet MS/TP"},
    {0x9A, "BACnet/IP"},
    {0x9B, "EtherNet/IP 2-Port BB DLR"},
    {0x9C, "EtherNet/IP 2-Port"},
    {0x9D, "PROFINET IRT FO"},
    {0x9E, "CC-Link IE Field Network"},
    {0x9F, "POWERLINK"},
    {0xA3, "Common Ethernet"},
    {0xAB, "EtherNet/IP IIoT"},
    {0xAD, "PROFINET IRT IIoT"},
    {0xAE, "PROFINET IRT FO IIoT"},
};

} // namespace

QString FieldbusStatusRecord::networkTypeName(uint16_t networkType)
{
    for (const NetworkType &type : kNetworkTypes)
        if (type.code == networkType)
            return QString::fromLatin1(type.name);
    return QString();
}

FieldbusStatusRecord FieldbusStatusRecord::fromBytes(const uint8_t *b)
{
    namespace at = fieldbus;
    FieldbusStatusRecord r;
    r.networkType = le::u16(b + at::networkType.offset);
    r.moduleType = le::u16(b + at::moduleType.offset);
    r.moduleState = le::u32(b + at::moduleState.offset);
    r.commState = le::u32(b + at::commState.offset);
    r.flags = b[at::flags.offset];
    return r;
}

void FieldbusStatusRecord::toBytes(uint8_t *b) const
{
    namespace at = fieldbus;
    le::put16(b + at::networkType.offset, networkType);
    le::put16(b + at::moduleType.offset, moduleType);
    le::put32(b + at::moduleState.offset, moduleState);
    le::put32(b + at::commState.offset, commState);
    b[at::flags.offset] = flags;
}

HearBeatMessage_t HearBeatMessage_t::fromBytes(const uint8_t *b)
{
    namespace at = heartbeat;
    HearBeatMessage_t r;
    r.deviceTime = le::u32(b + at::deviceTime.offset);
    r.stateByte = b[at::stateByte.offset];
    r.dataControl = b[at::dataControl.offset];
    r.runControl = b[at::runControl.offset];
    r.reserved7 = b[at::reserved7.offset];
    r.openCircuit = b[at::openCircuit.offset];
    r.shortCircuit = b[at::shortCircuit.offset];
    r.reserved10 = b[at::reserved10.offset];
    for (int i = 0; i < kChannels; ++i)
        r.currentSkw[size_t(i)] = le::i16(b + at::currentSkw.offset + 2 * i);
    r.errorBits = le::u32(b + at::errorBits.offset);
    r.errorCritical = b[at::errorCritical.offset];
    r.channelEnabled = b[at::channelEnabled.offset];
    r.fieldbus = FieldbusStatusRecord::fromBytes(b + at::fieldbus.offset);
    r.reserved44 = b[at::reserved44.offset];
    r.saveStatus = le::i32(b + at::saveStatus.offset);
    r.configModified = b[at::configModified.offset];
    return r;
}

void HearBeatMessage_t::toBytes(uint8_t *b) const
{
    namespace at = heartbeat;
    le::put32(b + at::deviceTime.offset, deviceTime);
    b[at::stateByte.offset] = stateByte;
    b[at::dataControl.offset] = dataControl;
    b[at::runControl.offset] = runControl;
    b[at::reserved7.offset] = reserved7;
    b[at::openCircuit.offset] = openCircuit;
    b[at::shortCircuit.offset] = shortCircuit;
    b[at::reserved10.offset] = reserved10;
    for (int i = 0; i < kChannels; ++i)
        le::put16(b + at::currentSkw.offset + 2 * i, uint16_t(currentSkw[size_t(i)]));
    le::put32(b + at::errorBits.offset, errorBits);
    b[at::errorCritical.offset] = errorCritical;
    b[at::channelEnabled.offset] = channelEnabled;
    fieldbus.toBytes(b + at::fieldbus.offset);
    b[at::reserved44.offset] = reserved44;
    le::put32(b + at::saveStatus.offset, uint32_t(saveStatus));
    b[at::configModified.offset] = configModified;
}

QByteArray HearBeatMessage_t::toByteArray() const { return recordBytes(*this); }

ReferenceRunResult_t ReferenceRunResult_t::fromBytes(const uint8_t *b)
{
    namespace at = refrun;
    ReferenceRunResult_t r;
    r.flags = b[at::flags.offset];
    for (int i = 0; i < kChannels; ++i) {
        r.previousReference[size_t(i)] = le::i16(b + at::previousReference.offset + 2 * i);
        r.newReference[size_t(i)] = le::i16(b + at::newReference.offset + 2 * i);
        r.previousSkw[size_t(i)] = le::i16(b + at::previousSkw.offset + 2 * i);
        r.newSkw[size_t(i)] = le::i16(b + at::newSkw.offset + 2 * i);
        r.previousFactor[size_t(i)] = b[at::previousFactor.offset + i];
        r.newFactor[size_t(i)] = b[at::newFactor.offset + i];
    }
    return r;
}

void ReferenceRunResult_t::toBytes(uint8_t *b) const
{
    namespace at = refrun;
    b[at::flags.offset] = flags;
    for (int i = 0; i < kChannels; ++i) {
        le::put16(b + at::previousReference.offset + 2 * i, uint16_t(previousReference[size_t(i)]));
        le::put16(b + at::newReference.offset + 2 * i, uint16_t(newReference[size_t(i)]));
        le::put16(b + at::previousSkw.offset + 2 * i, uint16_t(previousSkw[size_t(i)]));
        le::put16(b + at::newSkw.offset + 2 * i, uint16_t(newSkw[size_t(i)]));
        b[at::previousFactor.offset + i] = previousFactor[size_t(i)];
        b[at::newFactor.offset + i] = newFactor[size_t(i)];
    }
}

QByteArray ReferenceRunResult_t::toByteArray() const { return recordBytes(*this); }

ProductInfoRecord ProductInfoRecord::fromBytes(const uint8_t *b)
{
    namespace at = product;
    ProductInfoRecord r;
    r.ethernetProtocolVersion = le::u16(b + at::ethernetProtocolVersion.offset);
    r.flashProtocolVersion = le::u16(b + at::flashProtocolVersion.offset);
    r.firmwareBuild = le::u16(b + at::firmwareBuild.offset);
    r.firmwareModified = b[at::firmwareModified.offset];
    r.firmwareMajor = b[at::firmwareMajor.offset];
    r.firmwareMinor = b[at::firmwareMinor.offset];
    r.hardwareRevision = b[at::hardwareRevision.offset];
    r.unused = b[at::unused.offset];
    return r;
}

void ProductInfoRecord::toBytes(uint8_t *b) const
{
    namespace at = product;
    le::put16(b + at::ethernetProtocolVersion.offset, ethernetProtocolVersion);
    le::put16(b + at::flashProtocolVersion.offset, flashProtocolVersion);
    le::put16(b + at::firmwareBuild.offset, firmwareBuild);
    b[at::firmwareModified.offset] = firmwareModified;
    b[at::firmwareMajor.offset] = firmwareMajor;
    b[at::firmwareMinor.offset] = firmwareMinor;
    b[at::hardwareRevision.offset] = hardwareRevision;
    b[at::unused.offset] = unused;
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
    r.magic = le::u32(b + discover::magic.offset);
    r.hostAddress = be::u32(b + discover::hostAddress.offset);
    r.subnetMask = be::u32(b + discover::subnetMask.offset);
    r.replyPort = le::u16(b + discover::replyPort.offset);
    return r;
}

void MG_Discover_Request_t::toBytes(uint8_t *b) const
{
    le::put32(b + discover::magic.offset, magic);
    be::put32(b + discover::hostAddress.offset, hostAddress);
    be::put32(b + discover::subnetMask.offset, subnetMask);
    le::put16(b + discover::replyPort.offset, replyPort);
}

QByteArray MG_Discover_Request_t::toByteArray() const { return recordBytes(*this); }

QHostAddress DiscoveredDevice::ipAddress() const
{
    return QHostAddress(be::u32(bytes.data() + discovered::ipAddress.offset));
}

QHostAddress DiscoveredDevice::subnetMask() const
{
    return QHostAddress(be::u32(bytes.data() + discovered::subnetMask.offset));
}

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

void DiscoveredDevice::setIpAddress(const QHostAddress &ip)
{
    be::put32(bytes.data() + discovered::ipAddress.offset, ip.toIPv4Address());
}

void DiscoveredDevice::setSubnetMask(const QHostAddress &mask)
{
    be::put32(bytes.data() + discovered::subnetMask.offset, mask.toIPv4Address());
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

void BCAST_NET_CONFIG::setIp(const QHostAddress &address) { be::put32(ip.data(), address.toIPv4Address()); }

void BCAST_NET_CONFIG::setMask(const QHostAddress &address) { be::put32(mask.data(), address.toIPv4Address()); }

QHostAddress BCAST_NET_CONFIG::ipAddress() const { return QHostAddress(be::u32(ip.data())); }

QHostAddress BCAST_NET_CONFIG::subnetMask() const { return QHostAddress(be::u32(mask.data())); }

BCAST_NET_CONFIG BCAST_NET_CONFIG::fromBytes(const uint8_t *b)
{
    BCAST_NET_CONFIG r;
    std::memcpy(r.mac.data(), b + netconfig::mac.offset, r.mac.size());
    r.mode = le::u16(b + netconfig::mode.offset);
    std::memcpy(r.ip.data(), b + netconfig::ip.offset, r.ip.size());
    std::memcpy(r.mask.data(), b + netconfig::mask.offset, r.mask.size());
    return r;
}

void BCAST_NET_CONFIG::toBytes(uint8_t *b) const
{
    std::memcpy(b + netconfig::mac.offset, mac.data(), mac.size());
    le::put16(b + netconfig::mode.offset, mode);
    std::memcpy(b + netconfig::ip.offset, ip.data(), ip.size());
    std::memcpy(b + netconfig::mask.offset, mask.data(), mask.size());
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
