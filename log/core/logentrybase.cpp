#include "logentrybase.h"

#include <QDataStream>
#include <QTextStream>

#include "logtext.h"

LogEntryBase::LogEntryBase(LogEntryBase *parent)
    : m_parent(parent)
{
}

LogEntryBase::~LogEntryBase() = default;

void LogEntryBase::clearChildren()
{
    m_children = QVector<QSharedPointer<LogEntryBase>>();
}

void LogEntryBase::refresh()
{
}

QVariant LogEntryBase::data(const QModelIndex &index, int role) const
{
    if (role != Qt::DisplayRole)
        return QVariant();
    switch (index.column()) {
    case 0:
        return LogText::text(QT_TRANSLATE_NOOP("QObject", "TIMESTAMP"));
    case 1:
        return LogText::text(QT_TRANSLATE_NOOP("QObject", "ID"));
    case 2:
        return LogText::text(QT_TRANSLATE_NOOP("QObject", "ID DESCRIPTION"));
    default:
        return QVariant();
    }
}

int LogEntryBase::write(QDataStream &out) const
{
    for (const auto &c : m_children)
        c->write(out);
    return 0;
}

int LogEntryBase::rawSize() const
{
    int size = 0;
    for (const auto &c : m_children)
        size += c->rawSize();
    return size;
}

QString LogEntryBase::toString() const
{
    return LogText::text(QT_TRANSLATE_NOOP("QObject", "TIMESTAMP \t ID \t ID DESCRIPTION"));
}

void LogEntryBase::appendChild(LogEntryBase *child)
{
    append(QSharedPointer<LogEntryBase>(child, [](LogEntryBase *node) { delete node; }));
}

void LogEntryBase::append(QSharedPointer<LogEntryBase> child)
{
    child->m_rowHint = m_children.size();
    m_children.append(std::move(child));
}

LogEntryBase *LogEntryBase::child(int row) const
{
    if (row < 0 || row >= m_children.size())
        return nullptr;
    return m_children.at(row).data();
}

int LogEntryBase::row() const
{
    if (!m_parent)
        return -1;
    if (m_parent->child(m_rowHint) == this)
        return m_rowHint;
    for (int r = 0; r < m_parent->childCount(); ++r)
        if (m_parent->child(r) == this)
            return r;
    return -1;
}

void LogEntryBase::serialize(QDataStream &out) const
{
    out << qint32(rawSize());
    write(out);
}

int LogEntryBase::writeTree(QTextStream &out, int depth) const
{
    if (m_parent) {
        // A plain line end: the same bytes as endl, without a flush per line.
        out << QString(depth, QLatin1Char('\t')) << toString() << '\n';
    }
    for (const auto &c : m_children)
        c->writeTree(out, depth + 1);
    return 0;
}

void LogEntryBase::refreshAll()
{
    refresh();
    for (const auto &c : m_children)
        c->refreshAll();
}
