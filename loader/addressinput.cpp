#include "addressinput.h"

#include <QRegularExpression>
#include <QStringList>

#include "ipaddresstext.h"

namespace loader {
namespace addressinput {

QString normaliseAddressText(const QString &text)
{
    return normalizeIpText(text);
}

QString adapterItemText(const QString &interfaceName, const QHostAddress &ip)
{
    const quint32 v = ip.toIPv4Address();
    return QStringLiteral("%1| IP: %2.%3.%4.%5")
        .arg(interfaceName, -10)
        .arg((v >> 24) & 0xFF, 3)
        .arg((v >> 16) & 0xFF, 3)
        .arg((v >> 8) & 0xFF, 3)
        .arg(v & 0xFF, 3);
}

bool parseMac(const QString &text, uint8_t mac[6])
{
    static const QRegularExpression pair(QStringLiteral("^[0-9A-Fa-f]{2}$"));
    const QStringList parts = text.split(QLatin1Char(':'));
    if (parts.size() != 6)
        return false;
    uint8_t bytes[6];
    bool anySet = false;
    for (int i = 0; i < 6; ++i) {
        if (!pair.match(parts.at(i)).hasMatch())
            return false;
        bytes[i] = uint8_t(parts.at(i).toUInt(nullptr, 16));
        anySet = anySet || bytes[i] != 0;
    }
    // An all-zero MAC is what an empty field would give: never a unit.
    if (!anySet)
        return false;
    for (int i = 0; i < 6; ++i)
        mac[i] = bytes[i];
    return true;
}

bool parseIPv4(const QString &text, uint8_t bytes[4])
{
    static const QRegularExpression number(QStringLiteral("^[0-9]{1,3}$"));
    const QStringList parts = text.split(QLatin1Char('.'));
    if (parts.size() != 4)
        return false;
    uint8_t out[4];
    for (int i = 0; i < 4; ++i) {
        if (!number.match(parts.at(i)).hasMatch())
            return false;
        const uint value = parts.at(i).toUInt();
        if (value > 255)
            return false;
        out[i] = uint8_t(value);
    }
    for (int i = 0; i < 4; ++i)
        bytes[i] = out[i];
    return true;
}

} // namespace addressinput
} // namespace loader
