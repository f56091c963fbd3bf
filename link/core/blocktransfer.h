#pragma once

#include <QByteArray>
#include <QVector>
#include <cstdint>
#include <map>

#include "ethernetframe.h"
#include "logrecords.h"

// The bookkeeping of one block transfer (the unit's log, or one channel's
// measurement data): the answers' headers in order of arrival, the data of
// each block kept by its index, and the joined result once the last block is
// in. It knows nothing of frames or sockets; the request engine hands it the
// payload of each answer that matched the pending block request.
class BlockTransfer
{
public:
    enum class Kind {
        Bytes,    // the log: the data bytes as they are
        Samples,  // measurement data: little-endian i16 samples widened to i32
    };

    // What one answer did to the transfer.
    enum class Taken {
        Stored,      // a new block, more are expected
        Completed,   // the last block: the result is joined
        Duplicate,   // a block of this index is held already; nothing kept
        TooShort,    // the payload cannot hold a header; dropped
        OutOfRange,  // a block or last-block index beyond what a transfer can have; dropped
    };

    // A block answer carries 20 header bytes and at most 1470 data bytes.
    static constexpr int kMaxBlockData = kFramePayloadMax - LogBlockHeader::kSize;
    // The highest last-block index taken: about 96 MB of data. It bounds the
    // join and the time a transfer may take, whatever a header claims.
    static constexpr uint32_t kMaxLastBlockIndex = 0xFFFF;

    explicit BlockTransfer(Kind kind);

    Kind kind() const { return m_kind; }

    // Forgets everything, the joined result included.
    void reset();
    // Forgets the headers and blocks collected so far; the joined result stays.
    void dropCollection();
    void clearDone() { m_done = false; }

    // Takes the payload of one matched answer: the header, then the data.
    Taken take(const uint8_t *payload, int length);
    Taken take(const QByteArray &payload)
    {
        return take(reinterpret_cast<const uint8_t *>(payload.constData()), payload.size());
    }

    bool isDone() const { return m_done; }
    bool hasHeaders() const { return !m_headers.isEmpty(); }
    const QVector<LogBlockHeader> &headers() const { return m_headers; }
    int heldBlocks() const { return int(m_blocks.size()); }
    // The block index a request asks for next: one after the last received
    // header's, or `fallback` while nothing has been received.
    uint32_t nextRequestIndex(uint32_t fallback) const;
    // Counts the new blocks kept since construction; a request loop compares
    // it before and after a pass to see whether the transfer advanced.
    uint64_t progress() const { return m_progress; }

    // The joined result of the last completed transfer.
    const QByteArray &joinedBytes() const { return m_joinedBytes; }
    const QVector<int32_t> &joinedValues() const { return m_joinedValues; }
    // Block indices the last join had to leave out.
    const QVector<uint32_t> &missingBlocks() const { return m_missing; }
    // Done, and no block was missing from the join.
    bool isComplete() const { return m_done && m_missing.isEmpty(); }

private:
    void join(uint32_t lastBlockIndex);

    Kind m_kind;
    QVector<LogBlockHeader> m_headers;
    std::map<uint32_t, QByteArray> m_blocks;
    QByteArray m_joinedBytes;
    QVector<int32_t> m_joinedValues;
    QVector<uint32_t> m_missing;
    bool m_done = false;
    uint64_t m_progress = 0;
};

// The request loop's judgement after each pass of a transfer: finished, go
// on, or give up because the transfer stopped advancing or ran past its
// deadline. A unit that keeps answering, but never with a new block, would
// otherwise keep the loop going for ever.
class BlockTransferRun
{
public:
    enum class Verdict { Continue, Done, Stalled, Overdue };

    // Passes in a row without a new block before the transfer counts as stalled.
    static constexpr int kMaxStalledPasses = 3;

    BlockTransferRun(const BlockTransfer &transfer, int64_t baseTimeoutMs);

    void beginPass();
    // `elapsedMs`: time since the run began.
    Verdict endPass(int64_t elapsedMs);

    // 25 base time-outs, plus, once a header has named the last block, the
    // longest that many blocks can take when every request needs all three
    // of its attempts.
    int64_t deadlineMs() const;
    int stalledPasses() const { return m_stalled; }

private:
    const BlockTransfer &m_transfer;
    int64_t m_baseTimeoutMs;
    uint64_t m_progressAtBegin = 0;
    int m_stalled = 0;
};

// Cuts a joined log into its 32-byte records. False (and no records) when the
// size is not a whole number of records.
bool splitLogRecords(const QByteArray &log, QVector<LogRecord> &records);
