#include "ipaddresstext.h"

#include <QRegularExpression>
#include <QStringList>

QString normalizeIpText(const QString &text)
{
    static const QRegularExpression leadingZeros(QStringLiteral("^[0]*"));
    QStringList parts = text.split(QLatin1Char('.'), Qt::KeepEmptyParts);
    for (int i = 0; i < parts.size() && i < 4; ++i) {
        QString part = parts.at(i);
        if (part.toInt() > 255)
            part = QStringLiteral("255");
        if (part.size() > 1)
            part.remove(leadingZeros);
        if (part.isEmpty())
            part = QStringLiteral("0");
        parts[i] = part;
    }
    return parts.join(QLatin1Char('.'));
}

QHostAddress parseDottedQuad(const QString &text)
{
    static const QRegularExpression quad(QRegularExpression::anchoredPattern(
        QStringLiteral("(\\d{1,3})\\.(\\d{1,3})\\.(\\d{1,3})\\.(\\d{1,3})")));
    const QRegularExpressionMatch match = quad.match(text);
    if (!match.hasMatch())
        return QHostAddress();
    quint32 value = 0;
    for (int i = 1; i <= 4; ++i) {
        // \d also matches digits of other scripts; only ASCII ones count.
        const QString part = match.captured(i);
        for (const QChar c : part)
            if (c < QLatin1Char('0') || c > QLatin1Char('9'))
                return QHostAddress();
        const uint octet = part.toUInt();
        if (octet > 255)
            return QHostAddress();
        value = (value << 8) | octet;
    }
    return QHostAddress(value);
}

QHostAddress manualUnitAddress(const QString &text)
{
    // Leading zeros are decimal padding ("192.168.001.010" is 192.168.1.10),
    // but a part above 255 is a typing error: normalizeIpText would turn it
    // into 255 and so into another address, which must never be the target.
    const QString trimmed = text.trimmed();
    const QStringList parts = trimmed.split(QLatin1Char('.'), Qt::KeepEmptyParts);
    if (parts.size() != 4)
        return QHostAddress();
    for (const QString &part : parts) {
        if (part.isEmpty())
            return QHostAddress();
        int significant = 0;
        for (const QChar c : part) {
            if (c < QLatin1Char('0') || c > QLatin1Char('9'))
                return QHostAddress();
            if (significant > 0 || c != QLatin1Char('0'))
                ++significant;
        }
        if (significant > 3 || part.toUInt() > 255)
            return QHostAddress();
    }
    return parseDottedQuad(normalizeIpText(trimmed));
}

bool isInvalidUnitAddress(const QHostAddress &address)
{
    return address.isNull() || address.protocol() != QAbstractSocket::IPv4Protocol
           || address == QHostAddress(QHostAddress::LocalHost);
}

QString macAddressText(const uint8_t *bytes, int size)
{
    QStringList parts;
    for (int i = 0; i < size && i < 6; ++i)
        parts << QStringLiteral("%1").arg(bytes[i], 2, 16, QLatin1Char('0')).toUpper();
    return parts.join(QLatin1Char(':'));
}

QString macAddressText(const QByteArray &bytes)
{
    return macAddressText(reinterpret_cast<const uint8_t *>(bytes.constData()), bytes.size());
}
