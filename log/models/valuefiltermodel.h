#pragma once

#include <QSet>
#include <QSortFilterProxyModel>

// A filter that accepts the rows whose value in the filter key column and
// filter role is one of a set. The set is filled by whoever makes the
// filter; each row costs one hash lookup.
template<typename T>
class ValueFilterModel : public QSortFilterProxyModel
{
public:
    explicit ValueFilterModel(QObject *parent = nullptr)
        : QSortFilterProxyModel(parent)
    {
    }

    QSet<T> &values() { return m_values; }
    const QSet<T> &values() const { return m_values; }

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const override
    {
        const QModelIndex index = sourceModel()->index(sourceRow, filterKeyColumn(), sourceParent);
        const QVariant value = sourceModel()->data(index, filterRole());
        if (!value.canConvert<T>())
            return false;
        const T key = value.userType() == qMetaTypeId<T>() ? value.value<T>() : value.value<T>();
        return m_values.contains(key);
    }

private:
    QSet<T> m_values;
};
