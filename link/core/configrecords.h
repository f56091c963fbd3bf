#pragma once

#include <QByteArray>
#include <QHostAddress>
#include <QMetaType>
#include <cstdint>
#include <cstring>

#include "byteorder.h"

// The packed records of the unit's configuration, kept as their wire bytes.
// Every field is read and written little-endian through le.h; each record is
// exchanged with the unit and stored in configuration files byte for byte.

namespace configrecords_detail {

// Common byte storage of a fixed-size record.
template<int N>
struct RecordBytes
{
    static constexpr int kSize = N;
    uint8_t bytes[N];

    RecordBytes() { std::memset(bytes, 0, N); }
    const uint8_t *data() const { return bytes; }
    uint8_t *data() { return bytes; }
    QByteArray toBytes() const { return QByteArray(reinterpret_cast<const char *>(bytes), N); }
    void assignRaw(const uint8_t *src) { std::memcpy(bytes, src, N); }
    // Takes exactly N bytes; any other size is refused and changes nothing.
    bool assign(const QByteArray &src)
    {
        if (src.size() != N)
            return false;
        std::memcpy(bytes, src.constData(), N);
        return true;
    }
    bool sameBytes(const RecordBytes &o) const { return std::memcmp(bytes, o.bytes, N) == 0; }
};

} // namespace configrecords_detail

constexpr int kChannelCount = 7;
// The index the entry lookups give when no entry holds a channel.
constexpr uint8_t kNoEntry = 7;

// 64-byte device block: debounce, output, channel enables and per channel
// scale, threshold and reference SKW.
class CFG_Device_Param_struct : public configrecords_detail::RecordBytes<64>
{
public:
    static CFG_Device_Param_struct fromBytes(const QByteArray &b, bool *ok = nullptr);

    uint16_t debounceTime() const { return le::u16(bytes + 0); }
    void setDebounceTime(uint16_t v) { le::put16(bytes + 0, v); }
    uint8_t outputSelect() const { return bytes[2]; }
    void setOutputSelect(uint8_t v) { bytes[2] = v; }
    uint8_t outputInversion() const { return bytes[3]; }
    void setOutputInversion(uint8_t v) { bytes[3] = v; }
    uint8_t channelEnableMask() const { return bytes[4]; }
    void setChannelEnableMask(uint8_t v) { bytes[4] = v; }
    bool channelEnabled(int channel) const
    {
        return channel >= 0 && channel < kChannelCount && (bytes[4] & (1u << channel));
    }

    // Channel entries; the caller passes 0..6.
    uint16_t scale(int ch) const { return le::u16(entry(ch) + 0); }
    void setScale(int ch, uint16_t v) { le::put16(entry(ch) + 0, v); }
    uint16_t threshold(int ch) const { return le::u16(entry(ch) + 2); }
    void setThreshold(int ch, uint16_t v) { le::put16(entry(ch) + 2, v); }
    int16_t referenceSkw(int ch) const { return le::i16(entry(ch) + 4); }
    void setReferenceSkw(int ch, int16_t v) { le::put16(entry(ch) + 4, uint16_t(v)); }

    // Range checks of the fields the unit relies on.
    bool commonFieldsValid() const;
    bool channelFieldsValid(int ch) const;
    // The common fields and every channel's fields.
    bool valid() const;

    bool operator==(const CFG_Device_Param_struct &o) const { return sameBytes(o); }
    bool operator!=(const CFG_Device_Param_struct &o) const { return !sameBytes(o); }

private:
    const uint8_t *entry(int ch) const { return bytes + 8 + 8 * ch; }
    uint8_t *entry(int ch) { return bytes + 8 + 8 * ch; }
};
static_assert(sizeof(CFG_Device_Param_struct) == CFG_Device_Param_struct::kSize, "device block is 64 bytes");

// 16-byte network settings: IPv4 address and subnet mask, each with the
// first dotted part in the first byte, then 8 bytes kept as they are.
class CFG_ConnectionParameters_struct : public configrecords_detail::RecordBytes<16>
{
public:
    static CFG_ConnectionParameters_struct fromBytes(const QByteArray &b, bool *ok = nullptr);

    QHostAddress ipAddress() const { return readAddress(0); }
    void setIpAddress(const QHostAddress &a) { writeAddress(0, a); }
    QHostAddress subnetMask() const { return readAddress(4); }
    void setSubnetMask(const QHostAddress &a) { writeAddress(4, a); }

    bool operator==(const CFG_ConnectionParameters_struct &o) const { return sameBytes(o); }
    bool operator!=(const CFG_ConnectionParameters_struct &o) const { return !sameBytes(o); }

private:
    QHostAddress readAddress(int offset) const;
    void writeAddress(int offset, const QHostAddress &a);
};
static_assert(sizeof(CFG_ConnectionParameters_struct) == CFG_ConnectionParameters_struct::kSize,
              "connection parameters are 16 bytes");

// 56-byte channel mapping entry of the blob: catalogue id, two Q15 biquad
// sections, time constants, statistic selects, post-shift, reference scale
// factor and the mask of the channels that use it.
class CFG_ChannelMapping_struct : public configrecords_detail::RecordBytes<56>
{
public:
    static constexpr int kCoefficientCount = 12;
    static constexpr int kReservedOffset = 36;
    static constexpr int kReservedSize = 20;

    int32_t id() const { return le::i32(bytes + 0); }
    void setId(int32_t v) { le::put32(bytes + 0, uint32_t(v)); }
    // Coefficient i of 0..11: section 0 holds 0..5, section 1 holds 6..11.
    int16_t coefficient(int i) const { return le::i16(bytes + 4 + 2 * i); }
    void setCoefficient(int i, int16_t v) { le::put16(bytes + 4 + 2 * i, uint16_t(v)); }
    uint16_t tau() const { return le::u16(bytes + 28); }
    void setTau(uint16_t v) { le::put16(bytes + 28, v); }
    uint16_t segmentTime() const { return le::u16(bytes + 30); }
    void setSegmentTime(uint16_t v) { le::put16(bytes + 30, v); }
    uint8_t selects() const { return bytes[32]; }
    void setSelects(uint8_t v) { bytes[32] = v; }
    uint8_t segmentStatisticSelect() const { return bytes[32] & 0x0F; }
    uint8_t skwSelect() const { return bytes[32] >> 4; }
    int8_t postShift() const { return int8_t(bytes[33]); }
    void setPostShift(int8_t v) { bytes[33] = uint8_t(v); }
    uint8_t referenceScaleFactor() const { return bytes[34]; }
    void setReferenceScaleFactor(uint8_t v) { bytes[34] = v; }
    uint8_t channelMask() const { return bytes[35]; }
    void setChannelMask(uint8_t v) { bytes[35] = v; }

    // Every field except channel mask and reserved bytes.
    void copyValuesFrom(const CFG_ChannelMapping_struct &src) { std::memcpy(bytes, src.bytes, 35); }

    bool valid() const;

    bool operator==(const CFG_ChannelMapping_struct &o) const { return sameBytes(o); }
    bool operator!=(const CFG_ChannelMapping_struct &o) const { return !sameBytes(o); }
};
static_assert(sizeof(CFG_ChannelMapping_struct) == CFG_ChannelMapping_struct::kSize, "mapping entry is 56 bytes");

// 12-byte sensor entry of the blob: catalogue id, IEPE supply limits and the
// mask of the channels that use it.
class CFG_Sensor_struct : public configrecords_detail::RecordBytes<12>
{
public:
    static constexpr int kReservedOffset = 7;
    static constexpr int kReservedSize = 5;

    int32_t id() const { return le::i32(bytes + 0); }
    void setId(int32_t v) { le::put32(bytes + 0, uint32_t(v)); }
    uint8_t iepeHighVoltage() const { return bytes[4]; }
    void setIepeHighVoltage(uint8_t v) { bytes[4] = v; }
    uint8_t iepeLowVoltage() const { return bytes[5]; }
    void setIepeLowVoltage(uint8_t v) { bytes[5] = v; }
    uint8_t channelMask() const { return bytes[6]; }
    void setChannelMask(uint8_t v) { bytes[6] = v; }

    void copyValuesFrom(const CFG_Sensor_struct &src) { std::memcpy(bytes, src.bytes, 6); }

    bool valid() const;

    bool operator==(const CFG_Sensor_struct &o) const { return sameBytes(o); }
    bool operator!=(const CFG_Sensor_struct &o) const { return !sameBytes(o); }
};
static_assert(sizeof(CFG_Sensor_struct) == CFG_Sensor_struct::kSize, "sensor entry is 12 bytes");

// The 512-byte configuration blob: head words, seven mapping and seven
// sensor entries, the reference MAC address, random filler and a CRC-32.
class CFG_Blob_struct_sorted : public configrecords_detail::RecordBytes<512>
{
public:
    static constexpr int kMappingOffset = 12;
    static constexpr int kSensorOffset = 404;
    static constexpr int kMacOffset = 488;
    static constexpr int kFillerOffset = 496;
    static constexpr int kFillerSize = 12;
    static constexpr int kCrcOffset = 508;
    static constexpr uint32_t kMappingListBytes = 7 * CFG_ChannelMapping_struct::kSize;  // 392
    static constexpr uint32_t kSensorListBytes = 7 * CFG_Sensor_struct::kSize;           // 84

    static CFG_Blob_struct_sorted fromBytes(const QByteArray &b, bool *ok = nullptr);

    uint32_t headWord(int i) const { return le::u32(bytes + 4 * i); }
    void setHeadWords(uint32_t w0, uint32_t mappingBytes, uint32_t sensorBytes)
    {
        le::put32(bytes + 0, w0);
        le::put32(bytes + 4, mappingBytes);
        le::put32(bytes + 8, sensorBytes);
    }

    // Entry counts as the list lengths give them, never more than the seven
    // slots the blob has room for.
    int mappingCount() const;
    int sensorCount() const;

    CFG_ChannelMapping_struct mapping(int i) const;
    void setMapping(int i, const CFG_ChannelMapping_struct &e);
    CFG_Sensor_struct sensor(int i) const;
    void setSensor(int i, const CFG_Sensor_struct &e);

    uint64_t referenceMac() const { return le::u64(bytes + kMacOffset); }
    void setReferenceMac(uint64_t v) { le::put64(bytes + kMacOffset, v); }
    uint32_t crc() const { return le::u32(bytes + kCrcOffset); }
    void setCrc(uint32_t v) { le::put32(bytes + kCrcOffset, v); }
    // The CRC-32 over bytes 0..507 as it should be stored.
    uint32_t computeCrc() const;

    bool operator==(const CFG_Blob_struct_sorted &o) const { return sameBytes(o); }
    bool operator!=(const CFG_Blob_struct_sorted &o) const { return !sameBytes(o); }
};
static_assert(sizeof(CFG_Blob_struct_sorted) == CFG_Blob_struct_sorted::kSize, "blob is 512 bytes");

// 567-byte fieldbus module block. The model only stores and moves it; the
// fieldbus pages read the per-type area by network type.
class Anybus_cfg : public configrecords_detail::RecordBytes<567>
{
public:
    static constexpr int kIpAddressOffset = 0x000;
    static constexpr int kSubnetMaskOffset = 0x004;
    static constexpr int kGatewayOffset = 0x008;
    static constexpr int kDns1Offset = 0x00C;
    static constexpr int kDns2Offset = 0x010;
    static constexpr int kHostNameOffset = 0x014;   // char[64]
    static constexpr int kDomainNameOffset = 0x054; // char[48]
    static constexpr int kSmtpServerOffset = 0x084; // char[64]
    static constexpr int kSmtpUserOffset = 0x0C4;   // char[64]
    static constexpr int kSmtpPasswordOffset = 0x104; // char[64]
    static constexpr int kNetworkTypeOffset = 0x144;
    static constexpr int kTypeAreaOffset = 0x146;
    static constexpr int kTypeAreaSize = 0x236 - 0x146;
    static constexpr int kDhcpOffset = 0x236;

    static Anybus_cfg fromBytes(const QByteArray &b, bool *ok = nullptr);

    uint16_t networkType() const { return le::u16(bytes + kNetworkTypeOffset); }
    void setNetworkType(uint16_t v) { le::put16(bytes + kNetworkTypeOffset, v); }
    uint8_t dhcp() const { return bytes[kDhcpOffset]; }
    void setDhcp(uint8_t v) { bytes[kDhcpOffset] = v; }

    bool operator==(const Anybus_cfg &o) const { return sameBytes(o); }
    bool operator!=(const Anybus_cfg &o) const { return !sameBytes(o); }
};
static_assert(sizeof(Anybus_cfg) == Anybus_cfg::kSize, "fieldbus block is 567 bytes");

Q_DECLARE_METATYPE(CFG_Device_Param_struct)
Q_DECLARE_METATYPE(CFG_ConnectionParameters_struct)
Q_DECLARE_METATYPE(CFG_ChannelMapping_struct)
Q_DECLARE_METATYPE(CFG_Sensor_struct)
Q_DECLARE_METATYPE(CFG_Blob_struct_sorted)
Q_DECLARE_METATYPE(Anybus_cfg)
