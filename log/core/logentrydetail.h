#pragma once

#include "logentrybase.h"

// One name/value row below a log entry. The name shows in the "ID" column,
// the value in the "Description" column; the value keeps its own type (int,
// unsigned int or text) for the filters in Qt::UserRole.
class LogEntryDetail : public LogEntryBase
{
public:
    LogEntryDetail(const QString &name, const QVariant &value, LogEntryBase *parent);

    QVariant data(const QModelIndex &index, int role) const override;
    QString toString() const override;

    QString valueText() const { return m_value.toString(); }
    QString name() const { return m_name; }
    QVariant value() const { return m_value; }

private:
    QVariant m_value;
    QString m_name;
};
