#pragma once

#include <QString>
#include <QVariant>
#include <QVariantList>

#include "configrecords.h"

// Turns one catalogue row into the channel configuration entry the unit
// takes: the scaled, rounded and quantised values of a mapping, or the IEPE
// limits of a sensor. A value that does not fit its entry field (a missing
// value, one that would wrap in its 8 or 16 bits, or one outside the range
// the configuration accepts) refuses the whole row, so that nothing valid
// but wrong is ever written.
namespace CatalogueEntries {

// Columns of the per-mapping query, in this order.
extern const char *const kMappingQuery;  // "... WHERE ( mappingid = :ID )"
extern const char *const kSensorQuery;   // "... WHERE ( sensorid = :ID )"

// What refused a row: the catalogue column and its value as text.
struct Refusal
{
    QString column;
    QString value;
};

// row: mappingid, Tau, Segmenttime, SegmentStatisticSelect, SKWselect,
// ReferenceScalefactor, then K_0_b0 .. K_0_a2 and K_1_b0 .. K_1_a2.
// Channel mask and reserved bytes stay 0.
bool mappingEntry(const QVariantList &row, CFG_ChannelMapping_struct &entry, Refusal *refusal = nullptr);

// row: sensorid, IEPELowVoltage, IEPEHighVoltage (volts).
bool sensorEntry(const QVariantList &row, CFG_Sensor_struct &entry, Refusal *refusal = nullptr);

} // namespace CatalogueEntries
