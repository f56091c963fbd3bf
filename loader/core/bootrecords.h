#pragma once

#include <QByteArray>
#include <cstdint>
#include <cstring>

#include "byteorder.h"

// The packed little-endian records that the bootloader commands carry.

namespace loader {

struct SW_VersionInfo
{
    static constexpr int kSize = 5;
    uint8_t major = 0;
    uint8_t minor = 0;
    uint8_t flags = 0;  // bit 0: active bootloader (0 or 1); bit 7: modified
    uint16_t build = 0;

    static SW_VersionInfo fromBytes(const uint8_t *p)
    {
        SW_VersionInfo v;
        v.major = p[0];
        v.minor = p[1];
        v.flags = p[2];
        v.build = le::u16(p + 3);
        return v;
    }
    QByteArray toBytes() const
    {
        uint8_t b[kSize] = {major, minor, flags, 0, 0};
        le::put16(b + 3, build);
        return QByteArray(reinterpret_cast<const char *>(b), kSize);
    }
};

struct HW_VersionInfo
{
    static constexpr int kSize = 2;
    uint8_t pModule = 0;
    uint8_t iModule = 0;

    static HW_VersionInfo fromBytes(const uint8_t *p) { return HW_VersionInfo{p[0], p[1]}; }
    QByteArray toBytes() const
    {
        const char b[kSize] = {char(pModule), char(iModule)};
        return QByteArray(b, kSize);
    }
};

struct MAC_AND_IP
{
    static constexpr int kSize = 10;
    uint8_t mac[6] = {};  // first displayed byte first
    uint8_t ip[4] = {};   // first dotted part first

    static MAC_AND_IP fromBytes(const uint8_t *p)
    {
        MAC_AND_IP r;
        std::memcpy(r.mac, p, 6);
        std::memcpy(r.ip, p + 6, 4);
        return r;
    }
    QByteArray toBytes() const
    {
        QByteArray b(kSize, '\0');
        std::memcpy(b.data(), mac, 6);
        std::memcpy(b.data() + 6, ip, 4);
        return b;
    }
};

struct BCAST_NET_CONFIG
{
    static constexpr int kSize = 16;
    enum Mode : uint16_t { ResetToDefaults = 1, UseGiven = 2 };
    uint8_t mac[6] = {};
    uint16_t mode = 0;
    uint8_t ip[4] = {};
    uint8_t subnet[4] = {};

    static BCAST_NET_CONFIG fromBytes(const uint8_t *p)
    {
        BCAST_NET_CONFIG r;
        std::memcpy(r.mac, p, 6);
        r.mode = le::u16(p + 6);
        std::memcpy(r.ip, p + 8, 4);
        std::memcpy(r.subnet, p + 12, 4);
        return r;
    }
    QByteArray toBytes() const
    {
        QByteArray b(kSize, '\0');
        auto *raw = reinterpret_cast<uint8_t *>(b.data());
        std::memcpy(raw, mac, 6);
        le::put16(raw + 6, mode);
        std::memcpy(raw + 8, ip, 4);
        std::memcpy(raw + 12, subnet, 4);
        return b;
    }
};

static_assert(SW_VersionInfo::kSize == 3 * sizeof(uint8_t) + sizeof(uint16_t), "SW_VersionInfo is five bytes");
static_assert(sizeof(HW_VersionInfo) == HW_VersionInfo::kSize, "HW_VersionInfo is two bytes");
static_assert(sizeof(MAC_AND_IP) == MAC_AND_IP::kSize, "MAC_AND_IP is ten bytes");
static_assert(sizeof(BCAST_NET_CONFIG) == BCAST_NET_CONFIG::kSize, "BCAST_NET_CONFIG is sixteen bytes");

} // namespace loader
