#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

#include "devicerecords.h"

// Which tool, Qt library and host produced something, with a copy of the
// unit's identification. Prints its versions in a fixed text form and parses
// exactly that form again (log files store the texts).
//
// Writing a log: construct with the unit's identification and store
// productInfo(), shortVersionString(), versionString() and hostText(0..3).
// Reading one back: construct without a record, then setProductInfo(),
// setStoredVersions() with the two stored version texts (storedText() turns
// the stored bytes into text) and setHostInfo() with the four host texts.
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
    // Host name, CPU architecture, kernel type and version, operating system.
    QStringList hostInfo() const { return m_hostInfo; }
    void setHostInfo(const QStringList &info) { m_hostInfo = info; }
    // One host text; empty when the list holds no such entry (a list set
    // from a damaged file may be short).
    QString hostText(int index) const { return m_hostInfo.value(index); }

    // Each parser replaces its version only when the text has the expected
    // form ("a.b"; three numbers) and leaves it unchanged otherwise; the
    // result says which. A tool version text holding m or M is modified.
    bool parseTwoPart(const QString &text);
    bool parseThreePart(const QString &text);

    // The versions a log file stored. Unlike the parsers, a text that does
    // not parse empties its version, so that the record prints an empty text
    // instead of the running tool's version as if the file had held it.
    void setStoredVersions(const QString &qtText, const QString &toolText);

    // A stored version or host text: the bytes up to the first zero byte,
    // as UTF-8.
    static QString storedText(const QByteArray &bytes);

    // The tool version carries the modification marker.
    bool isModified() const { return m_toolVersion.size() == 4 && m_toolVersion.at(3) != 0; }

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
