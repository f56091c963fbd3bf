#include "fieldbusfields.h"

#include <QStringList>
#include <cstring>

#include "byteorder.h"

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

namespace {

// Cleans typed dotted text: a part above 255 becomes 255, leading zeros go,
// an empty part becomes 0. Reading "010" as a decimal 10 here is what keeps
// it from being taken as octal 8 further on.
QString normalizeIpText(const QString &text)
{
    QStringList parts = text.split(QLatin1Char('.'));
    for (QString &part : parts) {
        bool ok = false;
        const qlonglong value = part.toLongLong(&ok);
        if (ok && value > 255) {
            part = QStringLiteral("255");
            continue;
        }
        int zeros = 0;
        while (zeros < part.size() - 1 && part.at(zeros) == QLatin1Char('0'))
            ++zeros;
        part.remove(0, zeros);
        if (part.isEmpty())
            part = QStringLiteral("0");
    }
    return parts.join(QLatin1Char('.'));
}

// Four decimal parts of one to three digits, each at most 255.
bool parseDottedQuad(const QString &text, uint8_t out[4])
{
    const QStringList parts = text.split(QLatin1Char('.'));
    if (parts.size() != 4)
        return false;
    for (int i = 0; i < 4; ++i) {
        const QString &part = parts.at(i);
        if (part.isEmpty() || part.size() > 3)
            return false;
        for (const QChar c : part)
            if (c < QLatin1Char('0') || c > QLatin1Char('9'))
                return false;
        const int value = part.toInt();
        if (value > 255)
            return false;
        out[i] = uint8_t(value);
    }
    return true;
}

} // namespace

void setIpv4(Anybus_cfg &cfg, int at, const QString &text)
{
    uint8_t address[4] = {0, 0, 0, 0};
    if (!parseDottedQuad(normalizeIpText(text.trimmed()), address))
        std::memset(address, 0, sizeof address);
    std::memcpy(cfg.data() + at, address, sizeof address);
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
