#pragma once

#include <QString>
#include <QVector>
#include <cstdint>

#include "filtersection.h"

// The two cascaded biquads of a channel's filter, as catalogue doubles turned
// into the unit's Q15 values with one common post-shift, and back.
class FilterKoeff
{
public:
    FilterKoeff();

    static qint16 toQ15(double x);
    static double fromQ15(qint16 q);

    void setDefaults();
    // Twelve coefficients: quantised into both sections with a common
    // post-shift. Refused (false, nothing changes) for another count, for a
    // value that is not finite, or when the post-shift would not fit.
    bool setKoeffs(const QVector<double> &values);
    // Twelve Q15 values as they are stored; the post-shift is not touched.
    bool setFixedKoeffs(const QVector<qint16> &values);
    void toQ15Vector(QVector<qint16> &out) const;
    void toDoubleVector(QVector<double> &out) const;

    int8_t postShift() const { return m_postShift; }
    void setPostShift(int8_t shift) { m_postShift = shift; }

    QString name() const { return m_name; }
    void setName(const QString &name) { m_name = name; }
    uint16_t u16Field() const { return m_u16Field; }
    void setU16Field(uint16_t value) { m_u16Field = value; }
    QString secondName() const { return m_secondName; }
    void setSecondName(const QString &name) { m_secondName = name; }
    int32_t firstInteger() const { return m_firstInteger; }
    void setFirstInteger(int32_t value) { m_firstInteger = value; }
    int32_t secondInteger() const { return m_secondInteger; }
    void setSecondInteger(int32_t value) { m_secondInteger = value; }
    int32_t thirdInteger() const { return m_thirdInteger; }
    void setThirdInteger(int32_t value) { m_thirdInteger = value; }
    QVector<double> defaultCoefficients() const { return m_defaultCoefficients; }

    // Sets compare by their first integer and u16 field only.
    bool operator==(const FilterKoeff &other) const
    {
        return m_firstInteger == other.m_firstInteger && m_u16Field == other.m_u16Field;
    }
    bool operator!=(const FilterKoeff &other) const { return !(*this == other); }

private:
    QString m_name = QStringLiteral("Koeff");
    QVector<double> m_defaultCoefficients;
    FilterSection m_section0;
    FilterSection m_section1;
    uint16_t m_u16Field = 0;
    int8_t m_postShift = 0;
    QString m_secondName = QStringLiteral("5251");
    int32_t m_firstInteger = 4;
    int32_t m_secondInteger = 15000;
    int32_t m_thirdInteger = 25000;
};
