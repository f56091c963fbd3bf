#include "discoverytext.h"

#include <QStringList>
#include <cstring>

#include "devicenamerecord.h"

QString hexCode(int32_t code)
{
    // Signed, so a failure reads as the negative code it is ("-3e9" for
    // -1001) rather than as its two's complement; padded with blanks to the
    // width of a full 32-bit code.
    // (QString's own base-16 conversion would give the two's complement.)
    const qlonglong value = code;
    const QString digits = QString::number(value < 0 ? -value : value, 16);
    return (value < 0 ? QStringLiteral("-") + digits : digits).rightJustified(8, QLatin1Char(' '));
}

QString macDashText(const DiscoveredDevice &device)
{
    QStringList pairs;
    for (const uint8_t byte : device.macAddress())
        pairs << QStringLiteral("%1").arg(uint(byte), 2, 16, QLatin1Char('0')).toUpper();
    return pairs.join(QLatin1Char('-'));
}

QString unitNameText(const DiscoveredDevice &device)
{
    const QString name = device.deviceName();
    const int nul = name.indexOf(QChar(0));
    return nul < 0 ? name : name.left(nul);
}

DiscoveredDevice manualDeviceRecord(const QHostAddress &address, const QHostAddress &netmask)
{
    DiscoveredDevice device;
    device.setIpAddress(address);
    device.setSubnetMask(netmask.protocol() == QAbstractSocket::IPv4Protocol
                             ? netmask
                             : QHostAddress(QHostAddress::AnyIPv4));
    uint8_t record[DeviceNameRecord::kSize] = {};
    static const char name[] = "Korvantis";  // nine letters and the zero byte
    std::memcpy(record, name, sizeof name);
    record[DeviceNameRecord::kLengthOffset] = uint8_t(sizeof name);
    device.setNameRecord(record);
    const uint8_t mac[6] = {};
    device.setMacAddress(mac);
    return device;
}
