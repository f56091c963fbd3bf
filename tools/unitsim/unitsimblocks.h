#pragma once

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QString>
#include <QVector>
#include <cstdint>

class QCommandLineParser;
class UnitSim;
struct UnitSimRequest;
struct UnitSimReply;

// Ways the unit's block answers can go wrong, for the log (0x11) and the
// measurement data (0x12) alike. An index of -1 switches a fault off.
struct UnitSimBlockFaults
{
    int dropBlock = -1;      // requests for this block get no answer ...
    int dropTimes = 0;       // ... this many times
    int skipBlock = -1;      // a request for this block gets the next one instead (once)
    int repeatBlock = -1;    // every request from this block on gets this block again
    int shortBlock = -1;     // the answer for this block has a payload cut below its header (once)
    int overclaimBlock = -1; // the answer for this block claims more data than it carries (once)
};

// The unit's event log area and its measurement data, answered block by
// block. Attached to a UnitSim as its child, it serves commands 0x11 and 0x12.
//
// The log area is a run of 32-byte records followed by erased slots (all
// 0xFF), as the unit's flash holds it; it goes out in blocks of up to 1470
// data bytes, so records straddle block borders. Measurement data is kept per
// processing step (0..5) and channel (0..6) as i16 samples.
class UnitSimBlocks : public QObject
{
    Q_OBJECT
public:
    static constexpr int kMaxBlockData = 1470;
    static constexpr int kChannels = 7;
    static constexpr int kSteps = 6;
    static constexpr int kDefaultRecords = 200;
    static constexpr int kDefaultErasedSlots = 56;
    // The most 32-byte slots a log area holds: 96 MB, what one transfer of
    // full blocks can carry. Larger counts are cut to this.
    static constexpr int kMaxLogSlots = 3000000;

    // The block store of `sim`, created and attached on first use.
    static UnitSimBlocks *of(UnitSim *sim);

    // The log area: `records` generated records, then `erasedSlots` erased ones.
    void setLogRecords(int records, int erasedSlots = kDefaultErasedSlots);
    // Any log area, byte for byte (a size that is no multiple of 32 included).
    void setLogArea(const QByteArray &area);
    const QByteArray &logArea() const { return m_logArea; }
    // Data bytes per block (1 .. 1470).
    void setBlockSize(int bytes);
    int blockSize() const { return m_blockSize; }
    // The second transfer word of log answers; it changes whenever the log
    // area is replaced, so a transfer can tell an old log from a new one.
    uint32_t logGeneration() const { return m_logGeneration; }

    // `count` realistic records: start-up, run statistics, lubrication
    // events, threshold changes, overloads and error resets with rising time
    // stamps. The same count always gives the same bytes.
    static QByteArray makeLogRecords(int count);

    void setMeasurement(int step, int channel, const QVector<int16_t> &samples);
    QVector<int16_t> measurement(int step, int channel) const;
    // Every step and channel: no data, as after a restart without a run.
    void clearMeasurements();
    // The data a measurement run leaves behind, for every step and channel.
    void fillMeasurements();

    UnitSimBlockFaults &faults() { return m_faults; }

    // Command-line options of the simulator program for the log and the
    // measurement data.
    static void addOptions(QCommandLineParser &parser);
    // False with a reason when an option's value is unusable.
    static bool applyOptions(const QCommandLineParser &parser, UnitSim *sim, QString *error);

private:
    explicit UnitSimBlocks(UnitSim *sim);

    void onReadLog(const UnitSimRequest &request, UnitSimReply &reply);
    void onReadData(const UnitSimRequest &request, UnitSimReply &reply);
    // Answers one block request over `data`, cut into blocks of `blockSize`.
    void answerBlock(const UnitSimRequest &request, UnitSimReply &reply, const QByteArray &data, int blockSize,
                     uint32_t word1, uint32_t word2);

    QByteArray m_logArea;
    int m_blockSize = kMaxBlockData;
    uint32_t m_logGeneration = 0;
    QHash<int, QByteArray> m_measurements;  // step * 16 + channel -> i16 samples, little-endian
    UnitSimBlockFaults m_faults;
};
