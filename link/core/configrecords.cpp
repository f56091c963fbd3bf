#include "configrecords.h"

#include "crc.h"

#include <algorithm>

namespace {

template<typename T>
T recordFrom(const QByteArray &b, bool *ok)
{
    T r;
    const bool taken = r.assign(b);
    if (ok)
        *ok = taken;
    return r;
}

} // namespace

// ---- device block ---------------------------------------------------------

CFG_Device_Param_struct CFG_Device_Param_struct::fromBytes(const QByteArray &b, bool *ok)
{
    return recordFrom<CFG_Device_Param_struct>(b, ok);
}

bool CFG_Device_Param_struct::commonFieldsValid() const
{
    return debounceTime() <= 100 && outputSelect() <= 2 && outputInversion() <= 1
           && (channelEnableMask() & 0x80) == 0;
}

bool CFG_Device_Param_struct::channelFieldsValid(int ch) const
{
    const uint16_t s = scale(ch);
    const uint16_t t = threshold(ch);
    return s >= 4800 && s <= 14000 && t >= 20 && t <= 2000;
}

bool CFG_Device_Param_struct::valid() const
{
    if (!commonFieldsValid())
        return false;
    for (int ch = 0; ch < kChannelCount; ++ch) {
        if (!channelFieldsValid(ch))
            return false;
    }
    return true;
}

// ---- connection parameters -------------------------------------------------

CFG_ConnectionParameters_struct CFG_ConnectionParameters_struct::fromBytes(const QByteArray &b, bool *ok)
{
    return recordFrom<CFG_ConnectionParameters_struct>(b, ok);
}

QHostAddress CFG_ConnectionParameters_struct::readAddress(int offset) const
{
    return QHostAddress(be::u32(bytes + offset));
}

void CFG_ConnectionParameters_struct::writeAddress(int offset, const QHostAddress &a)
{
    bool isV4 = false;
    const quint32 v = a.toIPv4Address(&isV4);
    be::put32(bytes + offset, isV4 ? v : 0);
}

// ---- blob entries ----------------------------------------------------------

bool CFG_ChannelMapping_struct::valid() const
{
    const uint8_t seg = segmentStatisticSelect();
    const uint8_t skw = skwSelect();
    return id() >= -1 && tau() >= 1 && tau() <= 50000 && segmentTime() >= 100 && segmentTime() <= 20000
           && seg <= 2 && skw <= 2 && postShift() >= 0 && referenceScaleFactor() >= 25
           && referenceScaleFactor() <= 250 && (channelMask() & 0x80) == 0;
}

bool CFG_Sensor_struct::valid() const
{
    return id() >= -1 && iepeHighVoltage() <= 240 && iepeLowVoltage() <= 240 && (channelMask() & 0x80) == 0;
}

// ---- blob ------------------------------------------------------------------

CFG_Blob_struct_sorted CFG_Blob_struct_sorted::fromBytes(const QByteArray &b, bool *ok)
{
    return recordFrom<CFG_Blob_struct_sorted>(b, ok);
}

int CFG_Blob_struct_sorted::mappingCount() const
{
    return int(std::min<uint32_t>(headWord(1) / CFG_ChannelMapping_struct::kSize, kChannelCount));
}

int CFG_Blob_struct_sorted::sensorCount() const
{
    return int(std::min<uint32_t>(headWord(2) / CFG_Sensor_struct::kSize, kChannelCount));
}

CFG_ChannelMapping_struct CFG_Blob_struct_sorted::mapping(int i) const
{
    CFG_ChannelMapping_struct e;
    e.assignRaw(bytes + kMappingOffset + CFG_ChannelMapping_struct::kSize * i);
    return e;
}

void CFG_Blob_struct_sorted::setMapping(int i, const CFG_ChannelMapping_struct &e)
{
    std::memcpy(bytes + kMappingOffset + CFG_ChannelMapping_struct::kSize * i, e.data(),
                CFG_ChannelMapping_struct::kSize);
}

CFG_Sensor_struct CFG_Blob_struct_sorted::sensor(int i) const
{
    CFG_Sensor_struct e;
    e.assignRaw(bytes + kSensorOffset + CFG_Sensor_struct::kSize * i);
    return e;
}

void CFG_Blob_struct_sorted::setSensor(int i, const CFG_Sensor_struct &e)
{
    std::memcpy(bytes + kSensorOffset + CFG_Sensor_struct::kSize * i, e.data(), CFG_Sensor_struct::kSize);
}

uint32_t CFG_Blob_struct_sorted::computeCrc() const
{
    return crc32Words(bytes, kCrcOffset);
}

// ---- fieldbus block ----------------------------------------------------------

Anybus_cfg Anybus_cfg::fromBytes(const QByteArray &b, bool *ok)
{
    return recordFrom<Anybus_cfg>(b, ok);
}
