#include "parametertable.h"

#include <array>
#include <cstring>

#include "byteorder.h"

namespace ParameterTable {

namespace {

const std::array<Spec, 15> kTable{{
    {0x0010, 1, 2, 512, true, false},          // configuration blob, scrambled
    {0x0020, 1, 2, 1, false, false},           // output configuration
    {0x0021, 1, 2, 1, false, false},           // output inversion
    {0x0022, 1, 2, 2, false, false},           // debounce time
    {0x0023, 1, 2, 1, false, false},           // channel-enable mask
    {0x0030, kChannels, 2, 2, false, false},   // channel threshold
    {0x0040, kChannels, 2, 2, false, false},   // channel scale
    {0x0050, kChannels, 2, 2, false, false},   // channel reference SKW
    {0x1000, 1, 2, 4, false, false},           // IPv4 address
    {0x1001, 1, 2, 4, false, false},           // subnet mask
    {0x1002, 1, 2, 8, false, false},           // MAC address and two more bytes
    {0x1F02, 1, 2, 4, false, false},           // a 32-bit value
    {0x2000, 1, 2, 256, true, false},          // device name record
    {0x2001, 1, 3, 256, true, true},           // channel name record, by index
    {0x3000, 1, 2, 567, true, false},          // fieldbus module configuration
}};

} // namespace

const Spec *find(uint16_t id)
{
    for (const Spec &spec : kTable) {
        if (id >= spec.id && id < spec.id + spec.channels)
            return &spec;
    }
    return nullptr;
}

Answer decode(const uint8_t *payload, int length)
{
    Answer a;
    if (!payload || length < 2)
        return a;
    a.id = le::u16(payload);
    const Spec *spec = find(a.id);
    if (!spec) {
        a.status = Answer::Status::Unknown;
        return a;
    }
    if (spec->indexed) {
        if (length < spec->offset) {
            a.status = Answer::Status::TooShort;
            return a;
        }
        a.index = payload[2];
        if (a.index >= kChannels) {
            a.status = Answer::Status::BadIndex;
            return a;
        }
    }
    const int available = qBound(0, length - spec->offset, spec->width);
    if (spec->whole && available < spec->width) {
        a.status = Answer::Status::Truncated;
        return a;
    }
    a.value = QByteArray(spec->width, '\0');
    if (available > 0)
        std::memcpy(a.value.data(), payload + spec->offset, size_t(available));
    a.status = Answer::Status::Ok;
    return a;
}

} // namespace ParameterTable
