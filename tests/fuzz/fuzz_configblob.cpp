// The configuration blob as it arrives from the unit or a file: 512
// scrambled bytes through unscrambling, the validity check, sealing and
// scrambling again, then entry replacements as the selection pages make them.
//
// Input: 512 bytes of scrambled blob (zero-filled when short), then per
// replacement: one byte (bit 7 sensor list, bits 0..2 channel), the entry's
// bytes and one byte of seed.
#include <QStringList>
#include <cstring>

#include "blobscrambler.h"
#include "configblob.h"
#include "fuzzinput.h"

namespace {

constexpr int kSize = CFG_Blob_struct_sorted::kSize;

// Each channel held by at most one entry of each list.
bool wellFormed(const CFG_Blob_struct_sorted &blob)
{
    uint8_t mappingSeen = 0;
    uint8_t sensorSeen = 0;
    for (int i = 0; i < blob.mappingCount(); ++i) {
        const uint8_t mask = blob.mapping(i).channelMask();
        if (mask & mappingSeen)
            return false;
        mappingSeen |= mask;
    }
    for (int i = 0; i < blob.sensorCount(); ++i) {
        const uint8_t mask = blob.sensor(i).channelMask();
        if (mask & sensorSeen)
            return false;
        sensorSeen |= mask;
    }
    return true;
}

// Bytes that sealing leaves alone: everything but entry filler, trailing
// filler and CRC (head words are rewritten to their fixed values).
bool sameContent(const CFG_Blob_struct_sorted &a, const CFG_Blob_struct_sorted &b)
{
    for (int i = 0; i < kChannelCount; ++i) {
        if (std::memcmp(a.mapping(i).data(), b.mapping(i).data(), CFG_ChannelMapping_struct::kReservedOffset) != 0)
            return false;
        if (std::memcmp(a.sensor(i).data(), b.sensor(i).data(), CFG_Sensor_struct::kReservedOffset) != 0)
            return false;
    }
    return a.referenceMac() == b.referenceMac();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzz::initQt();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzInput in(data, size);
    QByteArray scrambled = in.bytes(kSize);
    scrambled.append(QByteArray(kSize - scrambled.size(), '\0'));

    CFG_Blob_struct_sorted blob;
    BlobScrambler::unscramble(reinterpret_cast<const uint8_t *>(scrambled.constData()), blob.data());

    // Scrambling is undone exactly for everything unscrambling can give.
    uint8_t again[kSize];
    uint8_t back[kSize];
    BlobScrambler::scramble(blob.data(), again);
    BlobScrambler::unscramble(again, back);
    FUZZ_CHECK(std::memcmp(back, blob.data(), kSize) == 0);

    QStringList messages;
    const bool invalid = ConfigBlob::checkBlob(blob, &messages);
    FUZZ_CHECK(messages.size() <= 2 * kChannelCount);
    FUZZ_CHECK(invalid || messages.isEmpty());
    FUZZ_CHECK(invalid || blob.crc() == blob.computeCrc());

    if (!invalid) {
        // A valid blob stays valid, with the same content, once sealed anew.
        CFG_Blob_struct_sorted sealed = blob;
        ConfigBlob::seal(sealed, in.u32());
        FUZZ_CHECK(!ConfigBlob::checkBlob(sealed));
        FUZZ_CHECK(sameContent(blob, sealed));
    }

    // Replacements never write outside the lists, and on a blob where each
    // channel has one entry the channel then lives in the entry returned.
    for (int step = 0; step < 8 && !in.atEnd(); ++step) {
        const uint8_t op = in.u8();
        const uint8_t channel = op & 0x07;
        const bool sensor = op & 0x80;
        const bool formed = wellFormed(blob);
        const CFG_Blob_struct_sorted before = blob;
        uint8_t index;
        if (sensor) {
            CFG_Sensor_struct e;
            const QByteArray b = in.bytes(CFG_Sensor_struct::kSize).leftJustified(CFG_Sensor_struct::kSize, '\0');
            e.assignRaw(reinterpret_cast<const uint8_t *>(b.constData()));
            index = ConfigBlob::replaceSensorEntry(blob, e, channel);
            if (index != kNoEntry) {
                FUZZ_CHECK(index < blob.sensorCount());
                FUZZ_CHECK(std::memcmp(blob.sensor(index).data(), e.data(), 6) == 0);
                if (formed)
                    FUZZ_CHECK(ConfigBlob::sensorEntryIndex(blob, channel) == index);
            }
        } else {
            CFG_ChannelMapping_struct e;
            const QByteArray b =
                in.bytes(CFG_ChannelMapping_struct::kSize).leftJustified(CFG_ChannelMapping_struct::kSize, '\0');
            e.assignRaw(reinterpret_cast<const uint8_t *>(b.constData()));
            index = ConfigBlob::replaceMappingEntry(blob, e, channel);
            if (index != kNoEntry) {
                FUZZ_CHECK(index < blob.mappingCount());
                FUZZ_CHECK(std::memcmp(blob.mapping(index).data(), e.data(), 35) == 0);
                if (formed)
                    FUZZ_CHECK(ConfigBlob::mappingEntryIndex(blob, channel) == index);
            }
        }
        if (channel >= kChannelCount)
            FUZZ_CHECK(index == kNoEntry && blob == before);
        if (formed && index != kNoEntry)
            FUZZ_CHECK(wellFormed(blob));
        // Head words, MAC, filler and CRC are not the replacement's business.
        FUZZ_CHECK(std::memcmp(blob.data(), before.data(), CFG_Blob_struct_sorted::kMappingOffset) == 0);
        FUZZ_CHECK(std::memcmp(blob.data() + CFG_Blob_struct_sorted::kMacOffset,
                               before.data() + CFG_Blob_struct_sorted::kMacOffset,
                               kSize - CFG_Blob_struct_sorted::kMacOffset) == 0);
    }
    return 0;
}
