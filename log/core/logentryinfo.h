#pragma once

#include "logentrybase.h"
#include "versioninfo.h"

// The first top-level entry of every shown log: which PC and tool read the
// log and which firmware and hardware the unit reported. It carries no
// device record and adds no bytes to the binary form of the log.
class LogEntryinfo : public LogEntryBase
{
public:
    LogEntryinfo(const VersionInfo &info, LogEntryBase *parent);
    ~LogEntryinfo() override;

    QString title() const;
    QVariant data(const QModelIndex &index, int role) const override;
    QString toString() const override;

    const VersionInfo &versionInfo() const { return m_info; }

private:
    // A group row (its name the title, an empty value) with its rows below.
    LogEntryBase *addGroup(const char *title);
    static void addRow(LogEntryBase *group, const char *name, const QString &value);

    VersionInfo m_info;
};
