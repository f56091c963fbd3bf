#include "unitparameterstore.h"

#include "devicenamerecord.h"
#include "byteorder.h"
#include "unitsimconfig.h"

namespace {

QByteArray u8(uint8_t v) { return QByteArray(1, char(v)); }

QByteArray u16(uint16_t v)
{
    QByteArray b(2, '\0');
    le::put16(reinterpret_cast<uint8_t *>(b.data()), v);
    return b;
}

QByteArray u32(uint32_t v)
{
    QByteArray b(4, '\0');
    le::put32(reinterpret_cast<uint8_t *>(b.data()), v);
    return b;
}

QByteArray nameRecord(const QString &text)
{
    DeviceNameRecord record;
    record.setText(text);
    return record.toBytes();
}

} // namespace

bool UnitParameterStore::isFlaggedId(uint16_t id)
{
    return (id >= 0x38 && id <= 0x3E) || (id >= 0x48 && id <= 0x4E);
}

uint16_t UnitParameterStore::storageId(uint16_t id)
{
    return isFlaggedId(id) ? uint16_t(id - 0x08) : id;
}

int UnitParameterStore::width(uint16_t id)
{
    id = storageId(id);
    if ((id >= 0x30 && id <= 0x36) || (id >= 0x40 && id <= 0x46) || (id >= 0x50 && id <= 0x56))
        return 2;
    switch (id) {
    case 0x0010: return 512;
    case 0x0020:
    case 0x0021:
    case 0x0023: return 1;
    case 0x0022: return 2;
    case 0x1000:
    case 0x1001:
    case 0x1F02: return 4;
    case 0x1002: return 8;
    case 0x2000:
    case 0x2001: return DeviceNameRecord::kSize;
    case 0x3000: return 567;
    default: return -1;
    }
}

void UnitParameterStore::reset(const QHostAddress &address, const std::array<uint8_t, 6> &mac, const QString &name)
{
    m_values.clear();

    // A configuration as a unit keeps it, owned by this unit's MAC address
    // and scrambled as it travels.
    setValue(0x0010, UnitSimConfig::makeScrambledBlob(mac, address.toIPv4Address()));

    setValue(0x0020, u8(1));     // analog output
    setValue(0x0021, u8(0));
    setValue(0x0022, u16(100));  // ms
    setValue(0x0023, u8(0x7F));
    for (uint16_t ch = 0; ch < 7; ++ch) {
        setValue(uint16_t(0x30 + ch), u16(uint16_t(500 + ch)));
        setValue(uint16_t(0x40 + ch), u16(uint16_t(7200 + 100 * ch)));  // within the valid 4800..14000
        setValue(uint16_t(0x50 + ch), u16(0xFFFF));  // no reference run yet
    }
    setValue(0x1000, u32(address.toIPv4Address()));
    setValue(0x1001, u32(0xFFFFFF00u));
    QByteArray macBytes(reinterpret_cast<const char *>(mac.data()), 6);
    macBytes.append(2, '\0');
    setValue(0x1002, macBytes);
    setValue(0x1F02, u32(0x00010002u));
    setValue(0x2000, nameRecord(name));
    for (int ch = 0; ch < 7; ++ch)
        setValue(0x2001, nameRecord(QStringLiteral("Channel %1").arg(ch + 1)), ch);

    setValue(0x3000, fieldbusRecord(0xFFFF));
}

QByteArray UnitParameterStore::fieldbusRecord(uint16_t networkType)
{
    QByteArray record(567, '\0');
    const QByteArray host("korvantis-ppu");
    record.replace(0x14, host.size(), host);
    record[0x236] = 1;  // DHCP
    if (networkType == 0 || networkType == 0xFFFF)
        return record;
    record.replace(0x144, 2, u16(networkType));
    switch (networkType) {
    case 0x80:  // Modbus-TCP
    case 0x93:  // Modbus-TCP 2-Port
        record.replace(0x14A, 2, u16(60));  // connection time-out, s
        record[0x14E] = 1;                   // big endian
        break;
    case 0x84:  // PROFINET RT and its kin: the station name
    case 0x89:
    case 0x96:
    case 0x9D:
    case 0xAD:
    case 0xAE: {
        const QByteArray station("korvantis-ppu-pn");
        record.replace(0x146, station.size(), station);
        break;
    }
    case 0x87:  // EtherCAT: the device ID
        record.replace(0x146, 2, u16(0x0100));
        break;
    case 0x9F:  // POWERLINK: the node ID
        record[0x146] = 1;
        break;
    default:
        break;
    }
    return record;
}

bool UnitParameterStore::contains(uint16_t id, int index) const
{
    return m_values.contains(key(storageId(id), index));
}

QByteArray UnitParameterStore::value(uint16_t id, int index) const
{
    return m_values.value(key(storageId(id), index));
}

void UnitParameterStore::setValue(uint16_t id, const QByteArray &value, int index)
{
    m_values.insert(key(storageId(id), index), value);
}

QHostAddress UnitParameterStore::ipAddress() const
{
    return QHostAddress(le::u32(reinterpret_cast<const uint8_t *>(value(0x1000).constData())));
}

QHostAddress UnitParameterStore::netmask() const
{
    return QHostAddress(le::u32(reinterpret_cast<const uint8_t *>(value(0x1001).constData())));
}

void UnitParameterStore::setIpAddress(const QHostAddress &address) { setValue(0x1000, u32(address.toIPv4Address())); }

void UnitParameterStore::setNetmask(const QHostAddress &mask) { setValue(0x1001, u32(mask.toIPv4Address())); }
