#include "versioninfo.h"

#include <QObject>
#include <QRegularExpression>
#include <QSysInfo>

namespace {

QString marker(bool modified)
{
    return modified ? QObject::tr("M") : QObject::tr(" ");
}

} // namespace

const char *VersionInfo::buildText()
{
    return "1339";
}

VersionInfo::VersionInfo(const ProductInfoRecord *record)
{
    const QString build = QString::fromLatin1(buildText());
    const bool modified = build.contains(QLatin1Char('m'), Qt::CaseInsensitive);
    parseThreePart(QStringLiteral("%1.%2.%3")
                       .arg(kMajor, 2, 10, QLatin1Char('0'))
                       .arg(kMinor, 2, 10, QLatin1Char('0'))
                       .arg(kBuild, 5, 10, QLatin1Char('0'))
                   + marker(modified));
    parseTwoPart(QStringLiteral("%1.%2").arg(QT_VERSION_MAJOR).arg(QT_VERSION_MINOR));
    m_hostInfo << QSysInfo::machineHostName() << QSysInfo::currentCpuArchitecture()
               << QSysInfo::kernelType() + QLatin1Char(' ') + QSysInfo::kernelVersion()
               << QSysInfo::prettyProductName();
    if (record)
        m_productInfo = *record;
}

QString VersionInfo::versionString() const
{
    if (m_toolVersion.size() != 3 && m_toolVersion.size() != 4)
        return QString();
    const bool modified = m_toolVersion.size() == 4 && m_toolVersion.at(3) != 0;
    return QStringLiteral("%1.%2.%3")
               .arg(m_toolVersion.at(0), 2, 10, QLatin1Char('0'))
               .arg(m_toolVersion.at(1), 2, 10, QLatin1Char('0'))
               .arg(m_toolVersion.at(2), 5, 10, QLatin1Char('0'))
           + marker(modified);
}

QString VersionInfo::shortVersionString() const
{
    if (m_qtVersion.size() != 2)
        return QString();
    return QStringLiteral("%1.%2").arg(m_qtVersion.at(0)).arg(m_qtVersion.at(1));
}

bool VersionInfo::parseTwoPart(const QString &text)
{
    const QStringList parts = text.split(QLatin1Char('.'), Qt::KeepEmptyParts);
    if (parts.size() != 2)
        return false;
    m_qtVersion.clear();
    for (const QString &part : parts)
        m_qtVersion.append(part.toUInt(nullptr, 10));
    return true;
}

bool VersionInfo::parseThreePart(const QString &text)
{
    static const QRegularExpression nonDigit(QStringLiteral("\\D"));
    const QStringList parts = text.split(nonDigit, Qt::SkipEmptyParts);
    if (parts.size() != 3)
        return false;
    m_toolVersion.clear();
    for (const QString &part : parts)
        m_toolVersion.append(part.toUInt(nullptr, 10));
    m_toolVersion.append(text.contains(QLatin1Char('m'), Qt::CaseInsensitive) ? 1u : 0u);
    return true;
}

void VersionInfo::setStoredVersions(const QString &qtText, const QString &toolText)
{
    if (!parseTwoPart(qtText))
        m_qtVersion.clear();
    // The marker is kept: a log written by a modified tool says so again.
    if (!parseThreePart(toolText))
        m_toolVersion.clear();
}

QString VersionInfo::storedText(const QByteArray &bytes)
{
    const int nul = bytes.indexOf('\0');
    return QString::fromUtf8(nul < 0 ? bytes : bytes.left(nul));
}
