#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

#include "devicerecords.h"

// Which tool, Qt library and host produced something, with a copy of the
// unit's identification. Prints its versions in a fixed text form and parses
// exactly that form again (log files store the texts).
class VersionInfo
{
public:
    explicit VersionInfo(const ProductInfoRecord *record = nullptr);

    // "%1.%2.%3" (2, 2 and 5 digits at least) and a marker: " " or "M".
    QString versionString() const;
    // The Qt version as "major.minor".
    QString shortVersionString() const;

    ProductInfoRecord productInfo() const { return m_productInfo; }
    void setProductInfo(const ProductInfoRecord &record) { m_productInfo = record; }
    QStringList hostInfo() const { return m_hostInfo; }
    void setHostInfo(const QStringList &info) { m_hostInfo = info; }

    void parseTwoPart(const QString &text);
    void parseThreePart(const QString &text);

    QVector<uint> toolVersion() const { return m_toolVersion; }
    QVector<uint> qtVersion() const { return m_qtVersion; }

    static constexpr uint kMajor = 3;
    static constexpr uint kMinor = 11;
    static constexpr uint kBuild = 1339;
    static const char *buildText();

private:
    QStringList m_hostInfo;
    QVector<uint> m_toolVersion;
    QVector<uint> m_qtVersion;
    ProductInfoRecord m_productInfo;
};
