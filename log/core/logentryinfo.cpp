#include "logentryinfo.h"

#include "logentrydetail.h"
#include "logtext.h"

#define N(text) QT_TRANSLATE_NOOP("QObject", text)

LogEntryinfo::LogEntryinfo(const VersionInfo &info, LogEntryBase *parent)
    : LogEntryBase(parent)
    , m_info(info)
{
    // The version record always holds four host texts; a shorter list
    // (from a damaged file) shows empty rows rather than failing.
    const QStringList host = m_info.hostInfo();
    LogEntryBase *system = addGroup(N("System Information"));
    addRow(system, N("Hostname"), host.value(0));
    addRow(system, N("CPU architecture"), host.value(1));
    addRow(system, N("Operating System Type"), host.value(2));
    addRow(system, N("Operating System Version"), host.value(3));

    LogEntryBase *tool = addGroup(N("SST Version Information"));
    addRow(tool, N("SST Version"), m_info.versionString());
    addRow(tool, N("QT Version"), m_info.shortVersionString());

    const ProductInfoRecord unit = m_info.productInfo();
    LogEntryBase *ppu = addGroup(N("PPU Version Information"));
    addRow(ppu, N("Ethernet Protocoll Version"), QString::number(unit.ethernetProtocolVersion));
    addRow(ppu, N("Flash Protocoll Version"), QString::number(unit.flashProtocolVersion));
    addRow(ppu, N("Firmware Version"),
           QStringLiteral("%1.%2.%3")
               .arg(unit.firmwareMajor, 2, 10, QLatin1Char('0'))
               .arg(unit.firmwareMinor, 2, 10, QLatin1Char('0'))
               .arg(unit.firmwareBuild, 5, 10, QLatin1Char('0')));
    addRow(ppu, N("Firmware Modified"), unit.firmwareModified ? LogText::text(N("yes")) : LogText::text(N("no")));
    addRow(ppu, N("Hardware Revision Module"), QString::number(unit.hardwareRevision));
}

LogEntryinfo::~LogEntryinfo() = default;

LogEntryBase *LogEntryinfo::addGroup(const char *title)
{
    return appendNew<LogEntryDetail>(LogText::text(title), QVariant(QString(QLatin1String(""))), this);
}

void LogEntryinfo::addRow(LogEntryBase *group, const char *name, const QString &value)
{
    group->appendNew<LogEntryDetail>(LogText::text(name), QVariant(value), group);
}

QString LogEntryinfo::title() const
{
    return LogText::text(N("Generell System Information "));
}

QVariant LogEntryinfo::data(const QModelIndex &index, int role) const
{
    if (role == Qt::DisplayRole && index.column() == 1)
        return title();
    return QVariant();
}

QString LogEntryinfo::toString() const
{
    return QLatin1Char('\t') + title();
}
