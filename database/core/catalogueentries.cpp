#include "catalogueentries.h"

#include <QVector>

#include <cmath>
#include <cstdint>
#include <limits>

#include "filterkoeff.h"

namespace CatalogueEntries {

const char *const kMappingQuery =
    "SELECT Mapping.mappingid, channelParam.Tau, channelParam.Segmenttime, channelParam.SegmentStatisticSelect, "
    "channelParam.SKWselect, channelParam.ReferenceScalefactor, filterEntry.K_0_b0, filterEntry.K_0_b1, "
    "filterEntry.K_0_b2, filterEntry.K_0_a1, filterEntry.K_0_a2, filterEntry.K_1_b0, filterEntry.K_1_b1, "
    "filterEntry.K_1_b2, filterEntry.K_1_a1, filterEntry.K_1_a2  FROM Mapping INNER JOIN channelParam ON "
    "channelParam.channelid = Mapping.fkchannelid INNER JOIN filterEntry ON filterEntry.filterid = "
    "Mapping.fkfilterid WHERE ( mappingid = :ID )";

const char *const kSensorQuery =
    "SELECT sensorid, IEPELowVoltage, IEPEHighVoltage FROM sensors WHERE ( sensorid = :ID )";

namespace {

const char *const kMappingColumns[] = {
    "mappingid", "Tau", "Segmenttime", "SegmentStatisticSelect", "SKWselect", "ReferenceScalefactor",
    "K_0_b0", "K_0_b1", "K_0_b2", "K_0_a1", "K_0_a2", "K_1_b0", "K_1_b1", "K_1_b2", "K_1_a1", "K_1_a2",
};
const char *const kSensorColumns[] = {"sensorid", "IEPELowVoltage", "IEPEHighVoltage"};

// Reads the number of one column; false (and the refusal) when it is
// missing or not a finite number.
class Reader
{
public:
    Reader(const QVariantList &row, const char *const *columns, Refusal *refusal)
        : m_row(row), m_columns(columns), m_refusal(refusal)
    {
    }

    bool number(int column, double &value)
    {
        const QVariant v = column < m_row.size() ? m_row.at(column) : QVariant();
        bool ok = false;
        value = v.isNull() ? 0.0 : v.toDouble(&ok);
        if (!ok || !std::isfinite(value))
            return refuse(column, v.isNull() ? QStringLiteral("(none)") : v.toString());
        return true;
    }

    // value * scale, rounded half away from zero, within [low, high].
    bool scaled(int column, double scale, long low, long high, long &out)
    {
        double value = 0.0;
        if (!number(column, value))
            return false;
        const double rounded = std::round(value * scale);
        if (!(rounded >= double(low) && rounded <= double(high)))
            return refuse(column, m_row.at(column).toString());
        out = long(rounded);
        return true;
    }

    bool refuse(int column, const QString &value)
    {
        if (m_refusal) {
            m_refusal->column = QString::fromLatin1(m_columns[column]);
            m_refusal->value = value;
        }
        return false;
    }

private:
    const QVariantList &m_row;
    const char *const *m_columns;
    Refusal *m_refusal;
};

} // namespace

bool mappingEntry(const QVariantList &row, CFG_ChannelMapping_struct &entry, Refusal *refusal)
{
    Reader read(row, kMappingColumns, refusal);
    long id = 0, tau = 0, segmentTime = 0, segmentSelect = 0, skwSelect = 0, scale = 0;
    // Ranges as the configuration accepts them (an id names a catalogue row).
    if (!read.scaled(0, 1.0, 1, std::numeric_limits<int32_t>::max(), id)
        || !read.scaled(1, 0.1, 1, 50000, tau)
        || !read.scaled(2, 100.0, 100, 20000, segmentTime)
        || !read.scaled(3, 1.0, 0, 2, segmentSelect)
        || !read.scaled(4, 1.0, 0, 2, skwSelect)
        || !read.scaled(5, 25.0, 25, 250, scale))
        return false;

    // The unit takes b0, 0, b1, b2 and the a coefficients negated.
    double k[10];
    for (int i = 0; i < 10; ++i) {
        if (!read.number(6 + i, k[i]))
            return false;
    }
    const QVector<double> sections = {k[0], 0.0, k[1], k[2], -k[3], -k[4], k[5], 0.0, k[6], k[7], -k[8], -k[9]};
    FilterKoeff filter;
    if (!filter.setKoeffs(sections))
        return read.refuse(6, QStringLiteral("(filter coefficients)"));
    QVector<qint16> q15;
    filter.toQ15Vector(q15);

    CFG_ChannelMapping_struct e;
    e.setId(int32_t(id));
    for (int i = 0; i < CFG_ChannelMapping_struct::kCoefficientCount; ++i)
        e.setCoefficient(i, q15.at(i));
    e.setTau(uint16_t(tau));
    e.setSegmentTime(uint16_t(segmentTime));
    e.setSelects(uint8_t((segmentSelect & 0x0F) | (skwSelect << 4)));
    e.setPostShift(filter.postShift());
    e.setReferenceScaleFactor(uint8_t(scale));
    entry = e;
    return true;
}

bool sensorEntry(const QVariantList &row, CFG_Sensor_struct &entry, Refusal *refusal)
{
    Reader read(row, kSensorColumns, refusal);
    long id = 0, low = 0, high = 0;
    if (!read.scaled(0, 1.0, 1, std::numeric_limits<int32_t>::max(), id)
        || !read.scaled(1, 10.0, 0, 240, low)
        || !read.scaled(2, 10.0, 0, 240, high))
        return false;
    CFG_Sensor_struct e;
    e.setId(int32_t(id));
    e.setIepeLowVoltage(uint8_t(low));
    e.setIepeHighVoltage(uint8_t(high));
    entry = e;
    return true;
}

} // namespace CatalogueEntries
