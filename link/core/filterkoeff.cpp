#include "filterkoeff.h"

#include <QDebug>
#include <algorithm>
#include <cmath>

FilterKoeff::FilterKoeff()
    : m_defaultCoefficients{0.0674591064453125, 0.0, -0.1349029541015625, 0.0674591064453125,
                            0.1448974609375,    -0.619781494140625,       1.0, 0.0, 2.0, 1.0,
                            0.876312255859375,  -0.666046142578125}
{
    setDefaults();
}

qint16 FilterKoeff::toQ15(double x)
{
    double y = 32768.0 * x;
    y += (y > 0) ? 0.5 : -0.5;
    if (!(y < 32767.0))
        return std::isnan(y) ? 0 : 32767;
    if (y < -32768.0)
        return -32768;
    return qint16(std::trunc(y));
}

double FilterKoeff::fromQ15(qint16 q)
{
    return std::ldexp(double(q), -15);
}

void FilterKoeff::setDefaults()
{
    setKoeffs(m_defaultCoefficients);
    m_firstInteger = 4;
    m_thirdInteger = 25000;
    m_secondInteger = 15000;
    m_secondName = QStringLiteral("5251");
    m_u16Field = 0;
}

bool FilterKoeff::setKoeffs(const QVector<double> &values)
{
    if (values.size() != 12) {
        qDebug() << "Wrong Filter Section Count";
        return false;
    }
    double largest = 1.0;
    for (double v : values) {
        if (!std::isfinite(v)) {
            qDebug() << "Filter coefficient is not a finite number - coefficients ignored";
            return false;
        }
        largest = std::max(largest, std::fabs(v));
    }
    const double shift = std::ceil(std::log2(largest));
    if (shift > 127.0) {
        qDebug() << "Filter coefficients too large for the post-shift - coefficients ignored";
        return false;
    }
    const int8_t postShift = int8_t(shift);
    FilterSection s0 = m_section0;
    FilterSection s1 = m_section1;
    if (!s0.fromDoubles(values.mid(0, 6), postShift) || !s1.fromDoubles(values.mid(6, 6), postShift))
        return false;
    m_section0 = s0;
    m_section1 = s1;
    m_postShift = postShift;
    return true;
}

bool FilterKoeff::setFixedKoeffs(const QVector<qint16> &values)
{
    if (values.size() != 12) {
        qDebug() << "Wrong Filter Section Count";
        return false;
    }
    m_section0.setKoeffs(values.mid(0, 6));
    m_section1.setKoeffs(values.mid(6, 6));
    return true;
}

void FilterKoeff::toQ15Vector(QVector<qint16> &out) const
{
    out.clear();
    QVector<qint16> part;
    m_section0.toList(part);
    out += part;
    m_section1.toList(part);
    out += part;
}

void FilterKoeff::toDoubleVector(QVector<double> &out) const
{
    out.clear();
    QVector<double> part;
    m_section0.toDoubles(part, m_postShift);
    out += part;
    m_section1.toDoubles(part, m_postShift);
    out += part;
}
