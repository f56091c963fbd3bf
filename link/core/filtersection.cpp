#include "filtersection.h"

#include <QDebug>
#include <cmath>

#include "filterkoeff.h"

FilterSection::FilterSection()
{
    setDefaults();
}

bool FilterSection::setKoeffs(const QVector<qint16> &values)
{
    if (values.size() != 6) {
        qDebug() << "Wrong Koeff counts tard";
        return false;
    }
    m_values = values;
    return true;
}

void FilterSection::setDefaults()
{
    const double defaults[6] = {0.253418, 0.0, 0.0, -0.253418, 0.408112, -0.493134};
    QVector<qint16> values;
    for (double d : defaults)
        values.append(FilterKoeff::toQ15(d));
    setKoeffs(values);
}

void FilterSection::toList(QVector<qint16> &out) const
{
    out.clear();
    out += m_values;
}

void FilterSection::toDoubles(QVector<double> &out, int8_t shift) const
{
    out.clear();
    for (qint16 q : m_values)
        out.append(std::ldexp(FilterKoeff::fromQ15(q), shift));
}

bool FilterSection::fromDoubles(const QVector<double> &values, int8_t shift)
{
    QVector<qint16> q;
    q.reserve(values.size());
    for (double d : values)
        q.append(FilterKoeff::toQ15(std::ldexp(d, -shift)));
    return setKoeffs(q);
}
