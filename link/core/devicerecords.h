#pragma once

#include <QHostAddress>
#include <QString>
#include <array>
#include <cstdint>
#include <cstring>

// Packed records the unit sends and receives over the device protocol.
// Each one converts from and to its exact wire bytes (little-endian unless a
// field says otherwise); nothing is ever read through a cast pointer.

// The fieldbus status inside the heartbeat, 13 bytes.
struct FieldbusStatusRecord
{
    static constexpr int kSize = 13;

    uint16_t networkType = 0;    // 0 and 0xFFFF: no module
    uint16_t moduleType = 0;     // 0x0401 .. 0x0403 valid
    uint32_t moduleState = 0;    // 0 .. 6
    uint32_t commState = 0;      // 0 .. 2
    uint8_t flags = 0;           // bit 0: link present

    bool linkPresent() const { return flags & 0x01; }
    // Whether the type names a fitted module (0 and 0xFFFF do not).
    static bool isModule(uint16_t networkType) { return networkType != 0 && networkType != 0xFFFF; }
    // The name of a network type as it stands, never translated; empty for
    // a code that has none.
    static QString networkTypeName(uint16_t networkType);

    static FieldbusStatusRecord fromBytes(const uint8_t *bytes);
    void toBytes(uint8_t *bytes) const;
};

// The unit's state as the heartbeat answer and its own state reports carry
// it, 50 bytes.
struct HearBeatMessage_t
{
    static constexpr int kSize = 50;
    static constexpr int kChannels = 7;

    uint32_t deviceTime = 0;       // 0: seconds of running time
    uint8_t stateByte = 0;         // 4: low nibble device state, high nibble run lock
    uint8_t dataControl = 0;       // 5: two nibbles gating the measurement controls
    uint8_t runControl = 0;        // 6: low nibble ref-run checked, bit 4 manual run, bit 5 result ready
    uint8_t reserved7 = 0;         // 7
    uint8_t openCircuit = 0;       // 8: bit n = channel n
    uint8_t shortCircuit = 0;      // 9
    uint8_t reserved10 = 0;        // 10
    std::array<int16_t, kChannels> currentSkw{};  // 11
    uint32_t errorBits = 0;        // 25
    uint8_t errorCritical = 0;     // 29: non-zero = critical
    uint8_t channelEnabled = 0;    // 30
    FieldbusStatusRecord fieldbus; // 31
    uint8_t reserved44 = 0;        // 44
    int32_t saveStatus = 0;        // 45
    uint8_t configModified = 0;    // 49

    uint8_t deviceState() const { return stateByte & 0x0F; }
    uint8_t runLock() const { return uint8_t(stateByte >> 4); }
    void setDeviceState(uint8_t state) { stateByte = uint8_t((stateByte & 0xF0) | (state & 0x0F)); }
    void setRunLock(uint8_t lock) { stateByte = uint8_t((stateByte & 0x0F) | (lock << 4)); }

    static HearBeatMessage_t fromBytes(const uint8_t *bytes);
    void toBytes(uint8_t *bytes) const;
    QByteArray toByteArray() const;
};

// The answer of the reference-run result request, 71 bytes. A negative i16
// means the channel has no value.
struct ReferenceRunResult_t
{
    static constexpr int kSize = 71;
    static constexpr int kChannels = 7;

    uint8_t flags = 0;  // bit 7: scale mode (clear: threshold mode); bits 0..6 channel mask
    std::array<int16_t, kChannels> previousReference{};
    std::array<int16_t, kChannels> newReference{};
    std::array<int16_t, kChannels> previousSkw{};
    std::array<int16_t, kChannels> newSkw{};
    std::array<uint8_t, kChannels> previousFactor{};  // factor x 25
    std::array<uint8_t, kChannels> newFactor{};

    bool scaleMode() const { return flags & 0x80; }
    uint8_t channelMask() const { return flags & 0x7F; }

    static ReferenceRunResult_t fromBytes(const uint8_t *bytes);
    void toBytes(uint8_t *bytes) const;
    QByteArray toByteArray() const;
};

// The unit's identification, 11 bytes.
struct ProductInfoRecord
{
    static constexpr int kSize = 11;

    uint16_t ethernetProtocolVersion = 0;
    uint16_t flashProtocolVersion = 0;
    uint16_t firmwareBuild = 0;
    uint8_t firmwareModified = 0;
    uint8_t firmwareMajor = 0;
    uint8_t firmwareMinor = 0;
    uint8_t hardwareRevision = 0;
    uint8_t unused = 0;

    static ProductInfoRecord fromBytes(const uint8_t *bytes);
    void toBytes(uint8_t *bytes) const;
    QByteArray toByteArray() const;
};

// The discovery request, 14 bytes: magic, the tool's address and the subnet
// mask (network byte order), and the port the answers return to.
struct MG_Discover_Request_t
{
    static constexpr int kSize = 14;
    static constexpr uint32_t kMagic = 0xBADCAB1E;

    uint32_t magic = kMagic;
    uint32_t hostAddress = 0;  // IPv4 value, first dotted part most significant
    uint32_t subnetMask = 0;
    uint16_t replyPort = 0;

    static MG_Discover_Request_t make(const QHostAddress &host, const QHostAddress &mask, uint16_t port);
    static MG_Discover_Request_t fromBytes(const uint8_t *bytes);
    void toBytes(uint8_t *bytes) const;
    QByteArray toByteArray() const;
};

// One unit's answer to discovery, 275 bytes, kept as it arrived.
struct DiscoveredDevice
{
    static constexpr int kSize = 275;
    static constexpr int kNameOffset = 13;
    static constexpr int kNameSize = 256;
    static constexpr int kMacOffset = 269;

    std::array<uint8_t, kSize> bytes{};

    QHostAddress ipAddress() const;   // bytes 0..3, big-endian
    QHostAddress subnetMask() const;  // bytes 4..7, big-endian
    const uint8_t *extra() const { return bytes.data() + 8; }  // 5 bytes the handler leaves alone
    const uint8_t *nameRecord() const { return bytes.data() + kNameOffset; }
    QString deviceName() const;       // the UTF-8 text of the embedded name record
    std::array<uint8_t, 6> macAddress() const;
    QString macText() const;          // "aa:bb:cc:dd:ee:ff"

    void setIpAddress(const QHostAddress &ip);
    void setSubnetMask(const QHostAddress &mask);
    void setNameRecord(const uint8_t *record);  // 256 bytes
    void setMacAddress(const uint8_t *mac);     // 6 bytes

    static DiscoveredDevice fromBytes(const uint8_t *data);
    void toBytes(uint8_t *data) const { std::memcpy(data, bytes.data(), kSize); }
    QByteArray toByteArray() const;
};

// The network reset broadcast, 16 bytes.
struct BCAST_NET_CONFIG
{
    static constexpr int kSize = 16;
    enum Mode : uint16_t { ResetToDefaults = 1, UseGivenValues = 2 };

    std::array<uint8_t, 6> mac{};
    uint16_t mode = 0;
    std::array<uint8_t, 4> ip{};    // first dotted part first
    std::array<uint8_t, 4> mask{};

    void setIp(const QHostAddress &address);
    void setMask(const QHostAddress &address);
    QHostAddress ipAddress() const;
    QHostAddress subnetMask() const;

    static BCAST_NET_CONFIG fromBytes(const uint8_t *bytes);
    void toBytes(uint8_t *bytes) const;
    QByteArray toByteArray() const;
};

// Text of a 256-byte name record: UTF-8 bytes, their count in byte 250.
QString nameRecordText(const uint8_t *record);
