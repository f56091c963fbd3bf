#include "configblob.h"

#include <QDebug>
#include <cstdlib>

namespace ConfigBlob {

// Translated by Confighandler, which shows them.
const char *const kInvalidMappingMessage =
    QT_TRANSLATE_NOOP("Confighandler", "Detected invalid Channel Config! Config ignored.");
const char *const kInvalidSensorMessage =
    QT_TRANSLATE_NOOP("Confighandler", "Detected invalid Sensor Config! Config ignored.");

namespace {

const char *const kUnreachable = "You shouldn't get HERE !!! ";

// The two lists differ only in entry type and position; these adapters let
// one replacement routine serve both.
struct MappingList
{
    using Entry = CFG_ChannelMapping_struct;
    static int count(const CFG_Blob_struct_sorted &b) { return b.mappingCount(); }
    static Entry get(const CFG_Blob_struct_sorted &b, int i) { return b.mapping(i); }
    static void set(CFG_Blob_struct_sorted &b, int i, const Entry &e) { b.setMapping(i, e); }
};

struct SensorList
{
    using Entry = CFG_Sensor_struct;
    static int count(const CFG_Blob_struct_sorted &b) { return b.sensorCount(); }
    static Entry get(const CFG_Blob_struct_sorted &b, int i) { return b.sensor(i); }
    static void set(CFG_Blob_struct_sorted &b, int i, const Entry &e) { b.setSensor(i, e); }
};

template<typename List>
uint8_t entryIndex(const CFG_Blob_struct_sorted &blob, uint8_t channel)
{
    if (channel >= kChannelCount)
        return kNoEntry;
    const int n = List::count(blob);
    for (int i = 0; i < n; ++i) {
        if (List::get(blob, i).channelMask() & (1u << channel))
            return uint8_t(i);
    }
    return kNoEntry;
}

template<typename List>
uint8_t replaceEntry(CFG_Blob_struct_sorted &blob, const typename List::Entry &source, uint8_t channel)
{
    const int n = List::count(blob);
    if (n == 0 || channel >= kChannelCount) {
        qDebug() << kUnreachable;
        return kNoEntry;
    }
    const uint8_t bit = uint8_t(1u << channel);
    const uint8_t old = entryIndex<List>(blob, channel);

    // Catalogue entries are shared; custom (0) and default (-1) ones never.
    int same = kNoEntry;
    if (source.id() > 0) {
        for (int i = 0; i < n; ++i) {
            if (List::get(blob, i).id() == source.id())
                same = i;
        }
    }

    if (old != kNoEntry) {
        auto e = List::get(blob, old);
        e.setChannelMask(uint8_t(e.channelMask() & ~bit));
        List::set(blob, old, e);
    }

    int target = kNoEntry;
    if (same != kNoEntry) {
        target = same;
        auto e = List::get(blob, target);
        e.setChannelMask(uint8_t(e.channelMask() | bit));
        List::set(blob, target, e);
    } else {
        for (int i = 0; i < n; ++i) {
            if (List::get(blob, i).channelMask() == 0) {
                target = i;
                break;
            }
        }
        if (target == kNoEntry) {
            qDebug() << kUnreachable;
            return kNoEntry;
        }
        auto e = List::get(blob, target);
        e.setChannelMask(bit);
        List::set(blob, target, e);
    }

    auto e = List::get(blob, target);
    e.copyValuesFrom(source);
    List::set(blob, target, e);
    return uint8_t(target);
}

inline uint8_t nextRandomByte() { return uint8_t(std::rand() & 0xFF); }

} // namespace

CFG_ChannelMapping_struct defaultMappingEntry()
{
    static const int16_t koeffs[CFG_ChannelMapping_struct::kCoefficientCount] = {
        1105, 0, -2210, 1105, 2374, -10155, 16384, 0, 32767, 16384, 14358, -10913,
    };
    CFG_ChannelMapping_struct e;
    e.setId(-1);
    for (int i = 0; i < CFG_ChannelMapping_struct::kCoefficientCount; ++i)
        e.setCoefficient(i, koeffs[i]);
    e.setTau(500);
    e.setSegmentTime(2000);
    e.setSelects(0);
    e.setPostShift(1);
    e.setReferenceScaleFactor(38);
    e.setChannelMask(0x7F);
    return e;
}

CFG_Sensor_struct defaultSensorEntry()
{
    CFG_Sensor_struct e;
    e.setId(-1);
    e.setIepeHighVoltage(180);
    e.setIepeLowVoltage(60);
    e.setChannelMask(0x7F);
    return e;
}

uint8_t mappingEntryIndex(const CFG_Blob_struct_sorted &blob, uint8_t channel)
{
    return entryIndex<MappingList>(blob, channel);
}

uint8_t sensorEntryIndex(const CFG_Blob_struct_sorted &blob, uint8_t channel)
{
    return entryIndex<SensorList>(blob, channel);
}

uint8_t replaceMappingEntry(CFG_Blob_struct_sorted &blob, const CFG_ChannelMapping_struct &source,
                            uint8_t channel)
{
    return replaceEntry<MappingList>(blob, source, channel);
}

uint8_t replaceSensorEntry(CFG_Blob_struct_sorted &blob, const CFG_Sensor_struct &source, uint8_t channel)
{
    return replaceEntry<SensorList>(blob, source, channel);
}

bool checkBlob(const CFG_Blob_struct_sorted &blob, QStringList *messages)
{
    bool invalid = blob.computeCrc() != blob.crc();
    // All seven slots are checked whatever the list lengths say: they are
    // all part of what the unit receives.
    for (int i = 0; i < kChannelCount; ++i) {
        if (!blob.mapping(i).valid()) {
            invalid = true;
            if (messages)
                messages->append(QString::fromLatin1(kInvalidMappingMessage));
        }
        if (!blob.sensor(i).valid()) {
            invalid = true;
            if (messages)
                messages->append(QString::fromLatin1(kInvalidSensorMessage));
        }
    }
    return invalid;
}

void seal(CFG_Blob_struct_sorted &blob, unsigned seed)
{
    std::srand(seed);
    for (int i = 0; i < kChannelCount; ++i) {
        auto m = blob.mapping(i);
        for (int k = 0; k < CFG_ChannelMapping_struct::kReservedSize; ++k)
            m.data()[CFG_ChannelMapping_struct::kReservedOffset + k] = nextRandomByte();
        blob.setMapping(i, m);
        auto s = blob.sensor(i);
        for (int k = 0; k < CFG_Sensor_struct::kReservedSize; ++k)
            s.data()[CFG_Sensor_struct::kReservedOffset + k] = nextRandomByte();
        blob.setSensor(i, s);
    }
    for (int k = 0; k < CFG_Blob_struct_sorted::kFillerSize; ++k)
        blob.data()[CFG_Blob_struct_sorted::kFillerOffset + k] = nextRandomByte();
    blob.setHeadWords(0, CFG_Blob_struct_sorted::kMappingListBytes, CFG_Blob_struct_sorted::kSensorListBytes);
    blob.setCrc(blob.computeCrc());
}

CFG_Blob_struct_sorted defaultBlob(unsigned seed)
{
    CFG_Blob_struct_sorted blob;
    blob.setHeadWords(0, CFG_Blob_struct_sorted::kMappingListBytes, CFG_Blob_struct_sorted::kSensorListBytes);
    blob.setReferenceMac(0);
    const auto mapping = defaultMappingEntry();
    const auto sensor = defaultSensorEntry();
    for (uint8_t ch = 0; ch < kChannelCount; ++ch) {
        replaceMappingEntry(blob, mapping, ch);
        replaceSensorEntry(blob, sensor, ch);
    }
    std::srand(seed);
    for (int k = 0; k < CFG_Blob_struct_sorted::kFillerSize; ++k)
        blob.data()[CFG_Blob_struct_sorted::kFillerOffset + k] = nextRandomByte();
    return blob;
}

} // namespace ConfigBlob
