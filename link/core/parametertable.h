#pragma once

#include <QByteArray>
#include <cstdint>

// The unit's typed parameters: where each value lies in a read answer
// (command 0xE1), how wide it is and whether it is kept as one record, and
// the pure decoder of such an answer.
namespace ParameterTable {

constexpr int kNoIndex = 255;
constexpr int kChannels = 7;

struct Spec
{
    uint16_t id;      // for per-channel parameters the id of channel 0
    int channels;     // 1, or 7 when the id counts up by channel
    int offset;       // where the value starts in the answer payload
    int width;        // value bytes
    bool whole;       // one record: an answer that cuts it short is refused
    bool indexed;     // the answer carries an index byte before the value
};

// The parameter an id belongs to, or null. Channel ids of channels above 6
// and the flagged ids that reference-run writes use are not readable
// parameters.
const Spec *find(uint16_t id);

struct Answer
{
    enum class Status {
        Ok,
        Unknown,     // no readable parameter has this id; nothing to keep
        BadIndex,    // the index byte names no channel
        Truncated,   // a whole record cut short by the payload
        TooShort,    // not even the id fits
    };
    Status status = Status::TooShort;
    uint16_t id = 0;
    int index = kNoIndex;  // the index byte of an indexed parameter
    // The value, `width` bytes; bytes past the payload read as zero (a
    // plain value may be sent shorter than its width).
    QByteArray value;
};

// Decodes the payload of a read answer.
Answer decode(const uint8_t *payload, int length);

} // namespace ParameterTable
