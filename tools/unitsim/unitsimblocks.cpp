// The simulated unit's event log and measurement data, read block by block.
#include "unitsimblocks.h"

#include <QCommandLineParser>
#include <QtMath>
#include <algorithm>

#include "byteorder.h"
#include "logrecords.h"
#include "unitsim.h"

namespace {

constexpr uint8_t kCmdReadLog = 0x11;
constexpr uint8_t kCmdReadData = 0x12;
constexpr int32_t kDataSize = -1;
constexpr int32_t kInvalidParam = -16;
constexpr int32_t kDataNotSupported = -1300;

int measurementKey(int step, int channel)
{
    return step * 16 + channel;
}

// A small deterministic generator, so a given log is the same on every run.
struct Lcg
{
    uint32_t state;
    uint32_t next()
    {
        state = state * 1664525u + 1013904223u;
        return state >> 8;
    }
    int range(int lo, int hi) { return lo + int(next() % uint32_t(hi - lo + 1)); }
};

void put16s(uint8_t *p, int value)
{
    le::put16(p, uint16_t(int16_t(value)));
}

} // namespace

UnitSimBlocks::UnitSimBlocks(UnitSim *sim)
    : QObject(sim)
{
    setObjectName(QStringLiteral("UnitSimBlocks"));
    setLogRecords(kDefaultRecords, kDefaultErasedSlots);
    fillMeasurements();
    sim->setHandler(kCmdReadLog, [this](const UnitSimRequest &q, UnitSimReply &r) { onReadLog(q, r); });
    sim->setHandler(kCmdReadData, [this](const UnitSimRequest &q, UnitSimReply &r) { onReadData(q, r); });
}

UnitSimBlocks *UnitSimBlocks::of(UnitSim *sim)
{
    if (!sim)
        return nullptr;
    auto *blocks = sim->findChild<UnitSimBlocks *>(QStringLiteral("UnitSimBlocks"), Qt::FindDirectChildrenOnly);
    return blocks ? blocks : new UnitSimBlocks(sim);
}

// ---------------------------------------------------------------- log area

void UnitSimBlocks::setLogRecords(int records, int erasedSlots)
{
    records = std::clamp(records, 0, kMaxLogSlots);
    erasedSlots = std::clamp(erasedSlots, 0, kMaxLogSlots - records);
    setLogArea(makeLogRecords(records) + QByteArray(erasedSlots * LogRecord::kSize, char(0xFF)));
}

void UnitSimBlocks::setLogArea(const QByteArray &area)
{
    m_logArea = area;
    ++m_logGeneration;
}

void UnitSimBlocks::setBlockSize(int bytes)
{
    m_blockSize = std::clamp(bytes, 1, kMaxBlockData);
}

QByteArray UnitSimBlocks::makeLogRecords(int count)
{
    count = std::clamp(count, 0, kMaxLogSlots);
    QByteArray out(count * LogRecord::kSize, '\0');
    Lcg rng{0x4B4F5256u};
    uint32_t time = 12;
    int16_t skw[7] = {410, 395, 430, 388, 402, 415, 399};
    for (int i = 0; i < count; ++i) {
        auto *r = reinterpret_cast<uint8_t *>(out.data()) + i * LogRecord::kSize;
        uint32_t id = 0;
        const int kind = i == 0 ? 0 : rng.range(1, 20);
        if (kind == 0 || kind == 20) {
            id = 0x04030500;  // start-up
            r[8] = 3;
            r[9] = 11;
            le::put16(r + 10, 1339);
        } else if (kind <= 9) {
            id = 0x04040080;  // lubrication event: per-channel SKW
            r[8] = uint8_t(rng.range(0, 0x7F));
            for (int ch = 0; ch < 7; ++ch) {
                skw[ch] = int16_t(std::clamp(skw[ch] + rng.range(-12, 12), 200, 900));
                put16s(r + 9 + 2 * ch, skw[ch]);
            }
        } else if (kind <= 14) {
            const int ch = rng.range(1, 7);
            id = 0x04040000u | uint32_t(ch << 4) | (rng.range(0, 4) == 0 ? 0x100u : 0u);  // run statistics
            for (int k = 0; k < 9; ++k)
                put16s(r + 8 + 2 * k, skw[ch - 1] + rng.range(-40, 40));
        } else if (kind <= 16) {
            id = 0x04010500u | (rng.range(0, 1) ? 0x08u : 0u);  // threshold changed
            for (int ch = 0; ch < 7; ++ch)
                put16s(r + 8 + 2 * ch, 600 + 10 * ch);
        } else if (kind <= 18) {
            id = 0x04030B00;  // input overload
            r[8] = uint8_t(rng.range(1, 0x7F));
        } else {
            id = 0x04030600;  // error reset
        }
        le::put32(r, time);
        le::put32(r + 4, id);
        time += uint32_t(rng.range(1, 900));
    }
    return out;
}

// ---------------------------------------------------------------- measurement data

void UnitSimBlocks::setMeasurement(int step, int channel, const QVector<int16_t> &samples)
{
    QByteArray bytes(samples.size() * 2, '\0');
    for (int i = 0; i < samples.size(); ++i)
        le::put16(reinterpret_cast<uint8_t *>(bytes.data()) + 2 * i, uint16_t(samples.at(i)));
    m_measurements.insert(measurementKey(step, channel), bytes);
}

QVector<int16_t> UnitSimBlocks::measurement(int step, int channel) const
{
    const QByteArray bytes = m_measurements.value(measurementKey(step, channel));
    QVector<int16_t> samples(bytes.size() / 2);
    for (int i = 0; i < samples.size(); ++i)
        samples[i] = le::i16(reinterpret_cast<const uint8_t *>(bytes.constData()) + 2 * i);
    return samples;
}

void UnitSimBlocks::clearMeasurements()
{
    m_measurements.clear();
}

void UnitSimBlocks::fillMeasurements()
{
    constexpr int kRawSamples = 2000;  // 20 ms at 10 us per sample
    constexpr int kSegments = 50;
    for (int ch = 0; ch < kChannels; ++ch) {
        QVector<int16_t> raw(kRawSamples);
        QVector<int16_t> processed(kRawSamples);
        const double amplitude = 6000.0 + 2500.0 * ch;
        for (int i = 0; i < kRawSamples; ++i) {
            // A decaying burst every 400 samples, as a lubrication pulse rings out.
            const int t = i % 400;
            const double envelope = amplitude * qExp(-t / 90.0);
            raw[i] = int16_t(envelope * qSin(2.0 * M_PI * t / (11.0 + ch)));
            processed[i] = int16_t(envelope);
        }
        setMeasurement(0, ch, raw);
        setMeasurement(1, ch, processed);
        QVector<int16_t> mean(kSegments), maximum(kSegments), minimum(kSegments);
        for (int s = 0; s < kSegments; ++s) {
            const int base = 300 + 40 * ch + (s % 8) * 5;
            mean[s] = int16_t(base);
            maximum[s] = int16_t(base + 120);
            minimum[s] = int16_t(base - 90);
        }
        setMeasurement(2, ch, mean);
        setMeasurement(3, ch, maximum);
        setMeasurement(4, ch, minimum);
        // SKW statistics: segment statistic i (mean, max, min) by run statistic j.
        QVector<int16_t> stats(9);
        for (int k = 0; k < 9; ++k)
            stats[k] = int16_t(400 + 10 * ch + k);
        setMeasurement(5, ch, stats);
    }
}

// ---------------------------------------------------------------- answers

void UnitSimBlocks::onReadLog(const UnitSimRequest &request, UnitSimReply &reply)
{
    answerBlock(request, reply, m_logArea, m_blockSize, 0, m_logGeneration);
}

void UnitSimBlocks::onReadData(const UnitSimRequest &request, UnitSimReply &reply)
{
    if (request.payload.size() < LogBlockHeader::kSize) {
        reply.fail(kDataSize);
        return;
    }
    const LogBlockHeader q = LogBlockHeader::fromBytes(reinterpret_cast<const uint8_t *>(request.payload.constData()));
    if (q.word1 >= uint32_t(kSteps)) {
        reply.fail(kDataNotSupported);
        return;
    }
    if (q.word2 >= uint32_t(kChannels)) {
        reply.fail(kInvalidParam);
        return;
    }
    // Whole samples per block.
    answerBlock(request, reply, m_measurements.value(measurementKey(int(q.word1), int(q.word2))),
                m_blockSize & ~1, q.word1, q.word2);
}

void UnitSimBlocks::answerBlock(const UnitSimRequest &request, UnitSimReply &reply, const QByteArray &data,
                                int blockSize, uint32_t word1, uint32_t word2)
{
    if (request.payload.size() < LogBlockHeader::kSize) {
        reply.fail(kDataSize);
        return;
    }
    blockSize = std::max(blockSize, 2);
    const LogBlockHeader q = LogBlockHeader::fromBytes(reinterpret_cast<const uint8_t *>(request.payload.constData()));
    // Nothing to send is still one (empty) block.
    const uint32_t blocks = data.isEmpty() ? 1u : uint32_t((data.size() + blockSize - 1) / blockSize);
    const uint32_t last = blocks - 1;
    uint32_t index = q.blockIndex;
    if (index > last) {
        reply.fail(kInvalidParam);
        return;
    }

    UnitSimBlockFaults &f = m_faults;
    if (f.repeatBlock >= 0 && index >= uint32_t(f.repeatBlock))
        index = std::min(uint32_t(f.repeatBlock), last);
    if (f.dropBlock >= 0 && index == uint32_t(f.dropBlock) && f.dropTimes > 0) {
        --f.dropTimes;
        reply.send = false;
        return;
    }
    if (f.skipBlock >= 0 && index == uint32_t(f.skipBlock) && index < last) {
        f.skipBlock = -1;
        ++index;
    }

    const int offset = int(index) * blockSize;
    const QByteArray chunk = data.mid(offset, blockSize);
    LogBlockHeader a;
    a.dataCount = uint32_t(chunk.size());
    a.blockIndex = index;
    a.lastBlockIndex = last;
    a.word1 = word1;
    a.word2 = word2;
    if (f.overclaimBlock >= 0 && index == uint32_t(f.overclaimBlock)) {
        f.overclaimBlock = -1;
        a.dataCount += 200;
    }
    reply.payload = a.toByteArray() + chunk;
    if (f.shortBlock >= 0 && index == uint32_t(f.shortBlock)) {
        f.shortBlock = -1;
        reply.payload.truncate(12);
    }
}

// ---------------------------------------------------------------- command line

void UnitSimBlocks::addOptions(QCommandLineParser &parser)
{
    parser.addOptions({
        {QStringLiteral("log-records"), QStringLiteral("records in the log area"), QStringLiteral("n")},
        {QStringLiteral("log-erased"), QStringLiteral("erased 0xFF slots after the records"), QStringLiteral("n")},
        {QStringLiteral("log-tail-bytes"), QStringLiteral("extra bytes after the log area (no whole record)"),
         QStringLiteral("n")},
        {QStringLiteral("block-size"), QStringLiteral("data bytes per log or measurement block, 1..1470"),
         QStringLiteral("n")},
        {QStringLiteral("drop-block"), QStringLiteral("no answer to requests for block K, TIMES times (default 1)"),
         QStringLiteral("k[:times]")},
        {QStringLiteral("skip-block"), QStringLiteral("answer the next block to the request for block K, once"),
         QStringLiteral("k")},
        {QStringLiteral("repeat-block"), QStringLiteral("answer block K to every request from K on"),
         QStringLiteral("k")},
        {QStringLiteral("no-measurement"), QStringLiteral("no measurement data, as after a restart without a run")},
    });
}

bool UnitSimBlocks::applyOptions(const QCommandLineParser &parser, UnitSim *sim, QString *error)
{
    UnitSimBlocks *blocks = of(sim);
    auto number = [&](const QString &name, int *out, int minimum) {
        if (!parser.isSet(name))
            return true;
        bool ok = false;
        const int v = parser.value(name).toInt(&ok, 0);
        if (!ok || v < minimum) {
            if (error)
                *error = QStringLiteral("--%1 takes a number of %2 or more").arg(name).arg(minimum);
            return false;
        }
        *out = v;
        return true;
    };
    int records = kDefaultRecords;
    int erased = kDefaultErasedSlots;
    int tail = 0;
    int blockSize = kMaxBlockData;
    UnitSimBlockFaults &f = blocks->faults();
    if (!number(QStringLiteral("log-records"), &records, 0) || !number(QStringLiteral("log-erased"), &erased, 0)
        || !number(QStringLiteral("log-tail-bytes"), &tail, 0) || !number(QStringLiteral("block-size"), &blockSize, 1)
        || !number(QStringLiteral("skip-block"), &f.skipBlock, 0)
        || !number(QStringLiteral("repeat-block"), &f.repeatBlock, 0))
        return false;
    if (blockSize > kMaxBlockData) {
        if (error)
            *error = QStringLiteral("--block-size takes 1 to %1").arg(kMaxBlockData);
        return false;
    }
    // Counts beyond these would overflow the log area's size.
    if (records > kMaxLogSlots || erased > kMaxLogSlots - records) {
        if (error)
            *error = QStringLiteral("--log-records and --log-erased take at most %1 slots together").arg(kMaxLogSlots);
        return false;
    }
    if (tail > kMaxBlockData) {
        if (error)
            *error = QStringLiteral("--log-tail-bytes takes 0 to %1").arg(kMaxBlockData);
        return false;
    }
    if (parser.isSet(QStringLiteral("drop-block"))) {
        const QStringList parts = parser.value(QStringLiteral("drop-block")).split(QLatin1Char(':'));
        bool ok = parts.size() <= 2;
        f.dropBlock = ok ? parts.at(0).toInt(&ok, 0) : -1;
        f.dropTimes = 1;
        if (ok && parts.size() == 2)
            f.dropTimes = parts.at(1).toInt(&ok, 0);
        if (!ok || f.dropBlock < 0 || f.dropTimes < 0) {
            if (error)
                *error = QStringLiteral("--drop-block takes K[:TIMES]");
            return false;
        }
    }
    QByteArray area = makeLogRecords(records) + QByteArray(erased * LogRecord::kSize, char(0xFF));
    area.append(QByteArray(tail, char(0xA5)));
    blocks->setLogArea(area);
    blocks->setBlockSize(blockSize);
    if (parser.isSet(QStringLiteral("no-measurement")))
        blocks->clearMeasurements();
    return true;
}
