#include "networkinput.h"

#include "ipaddresstext.h"

#include <QCoreApplication>
#include <QStringList>

bool parseMacText(const QString &text, std::array<uint8_t, 6> &mac)
{
    const QStringList parts = text.split(QLatin1Char(':'), Qt::SkipEmptyParts);
    if (parts.size() != 6)
        return false;
    std::array<uint8_t, 6> out{};
    for (int i = 0; i < 6; ++i) {
        const QString part = parts.at(i).trimmed();
        bool ok = false;
        const uint value = part.toUInt(&ok, 16);
        if (!ok || part.size() > 2 || value > 0xFF)
            return false;
        out[size_t(i)] = uint8_t(value);
    }
    mac = out;
    return true;
}

QHostAddress typedIpv4(const QString &text)
{
    return parseDottedQuad(normalizeIpText(text.trimmed()));
}

QString networkSettingsProblem(const QHostAddress &address, const QHostAddress &mask)
{
    if (address.isNull() || address.protocol() != QAbstractSocket::IPv4Protocol)
        return QCoreApplication::translate("NetworkInput", "The IP address is not a valid IPv4 address.");
    if (mask.isNull() || mask.protocol() != QAbstractSocket::IPv4Protocol)
        return QCoreApplication::translate("NetworkInput", "The net mask is not a valid IPv4 address.");
    if (address.toIPv4Address() == 0)
        return QCoreApplication::translate("NetworkInput", "The IP address 0.0.0.0 cannot be used.");
    if (mask.toIPv4Address() == 0)
        return QCoreApplication::translate("NetworkInput", "The net mask 0.0.0.0 cannot be used.");
    return QString();
}
