#include "fieldbusfields.h"

#include <cstring>

#include "byteorder.h"
#include "ipaddresstext.h"

namespace fieldbus {

TypePage pageOf(uint16_t networkType)
{
    switch (networkType) {
    case 0x80: // Modbus-TCP
    case 0x93: // Modbus-TCP 2-Port
    case 0x85: // EtherNet/IP
    case 0x9B: // EtherNet/IP 2-Port BB DLR
    case 0x9C: // EtherNet/IP 2-Port
    case 0xAB: // EtherNet/IP IIoT
        return TypePage::EtherNetIP;
    case 0x84: // PROFINET RT
    case 0x89: // PROFINET IRT
    case 0x96: // PROFINET RT 2-port
    case 0x9D: // PROFINET IRT FO
    case 0xAD: // PROFINET IRT IIoT
    case 0xAE: // PROFINET IRT FO IIoT
        return TypePage::ProfiNet;
    case 0x87:
        return TypePage::EtherCAT;
    case 0x9F:
        return TypePage::Powerlink;
    default:
        return TypePage::Default;
    }
}

bool hasModbus(uint16_t networkType) { return networkType == 0x80 || networkType == 0x93; }

bool hasIpSettings(uint16_t networkType)
{
    switch (networkType) {
    case 0x01: // PROFIBUS DP-V0
    case 0x05: // PROFIBUS DP-V1
    case 0x20: // CANopen
    case 0x25: // DeviceNet
    case 0x65: // ControlNet
    case 0x87: // EtherCAT
    case 0x90: // CC-Link
    case 0x95: // CompoNet
    case 0x9E: // CC-Link IE Field Network
    case 0x9F: // POWERLINK
        return false;
    default:
        return true;
    }
}

QString ipv4Text(const Anybus_cfg &cfg, int at)
{
    const uint8_t *b = cfg.data() + at;
    return QStringLiteral("%1.%2.%3.%4").arg(b[0]).arg(b[1]).arg(b[2]).arg(b[3]);
}

bool isIpv4Text(const QString &text)
{
    return !manualUnitAddress(text).isNull();
}

bool setIpv4(Anybus_cfg &cfg, int at, const QString &text)
{
    // Read as decimal ("010" is 10; an address parser on its own would take
    // it as octal 8); a part out of range is refused, not cut to 255.
    const QHostAddress address = manualUnitAddress(text);
    if (address.isNull())
        return false;
    be::put32(cfg.data() + at, address.toIPv4Address());
    return true;
}

QString nameText(const Anybus_cfg &cfg, NameField field)
{
    const char *start = reinterpret_cast<const char *>(cfg.data() + field.offset);
    const void *nul = std::memchr(start, 0, size_t(field.width));
    const int length = nul ? int(static_cast<const char *>(nul) - start) : field.width;
    return QString::fromUtf8(start, length);
}

bool setName(Anybus_cfg &cfg, NameField field, const QString &text)
{
    if (text == nameText(cfg, field))
        return true;
    const QByteArray bytes = text.toUtf8();
    if (bytes.size() > field.width)
        return false;
    uint8_t *start = cfg.data() + field.offset;
    std::memset(start, 0, size_t(field.width));
    std::memcpy(start, bytes.constData(), size_t(bytes.size()));
    return true;
}

int comboIndex(uint8_t value, int itemCount) { return value < itemCount ? int(value) : -1; }

void setComboByte(Anybus_cfg &cfg, int at, int index)
{
    if (index >= 0 && index <= 0xFF)
        cfg.data()[at] = uint8_t(index);
}

uint16_t u16At(const Anybus_cfg &cfg, int at) { return le::u16(cfg.data() + at); }

void setU16(Anybus_cfg &cfg, int at, uint16_t value) { le::put16(cfg.data() + at, value); }

bool dhcpOn(const Anybus_cfg &cfg) { return cfg.dhcp() != 0; }

void setDhcp(Anybus_cfg &cfg, bool on)
{
    if (on != dhcpOn(cfg))
        cfg.setDhcp(on ? 1 : 0);
}

} // namespace fieldbus
