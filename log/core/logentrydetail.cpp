#include "logentrydetail.h"

LogEntryDetail::LogEntryDetail(const QString &name, const QVariant &value, LogEntryBase *parent)
    : LogEntryBase(parent)
    , m_value(value)
    , m_name(name)
{
}

QVariant LogEntryDetail::data(const QModelIndex &index, int role) const
{
    if (role == Qt::DisplayRole) {
        if (index.column() == 1)
            return m_name;
        if (index.column() == 2)
            return m_value.toString();
    } else if (role == Qt::UserRole && index.column() == 2) {
        return m_value;
    }
    return QVariant();
}

QString LogEntryDetail::toString() const
{
    return QLatin1Char('\t') + m_name + QLatin1Char('\t') + m_value.toString();
}
