#pragma once

#include <QVector>
#include <cstdint>

// One second-order filter section as the unit takes it: six Q15 values in the
// order b0, 0, b1, b2, a1, a2, scaled by the set's common post-shift.
class FilterSection
{
public:
    FilterSection();

    // Exactly six values: stored, true. Otherwise false and unchanged.
    bool setKoeffs(const QVector<qint16> &values);
    void setDefaults();
    void toList(QVector<qint16> &out) const;
    void toDoubles(QVector<double> &out, int8_t shift) const;
    bool fromDoubles(const QVector<double> &values, int8_t shift);

    bool operator==(const FilterSection &other) const { return m_values == other.m_values; }

private:
    QVector<qint16> m_values;
};
