#include "blocktransfer.h"

#include <QDebug>
#include <algorithm>

#include "byteorder.h"

BlockTransfer::BlockTransfer(Kind kind)
    : m_kind(kind)
{
}

void BlockTransfer::reset()
{
    dropCollection();
    m_joinedBytes.clear();
    m_joinedValues.clear();
    m_missing.clear();
    m_done = false;
}

void BlockTransfer::dropCollection()
{
    m_headers.clear();
    m_blocks.clear();
}

uint32_t BlockTransfer::nextRequestIndex(uint32_t fallback) const
{
    // Headers only ever hold bounded indices, so this cannot wrap.
    return m_headers.isEmpty() ? fallback : m_headers.constLast().blockIndex + 1;
}

BlockTransfer::Taken BlockTransfer::take(const uint8_t *payload, int length)
{
    if (!payload || length < LogBlockHeader::kSize) {
        qDebug() << "block answer without a complete header - dropped, payload" << length;
        return Taken::TooShort;
    }
    LogBlockHeader header = LogBlockHeader::fromBytes(payload);
    if (header.lastBlockIndex > kMaxLastBlockIndex || header.blockIndex > header.lastBlockIndex) {
        qDebug() << "block answer with block" << header.blockIndex << "of last block" << header.lastBlockIndex
                 << "- dropped";
        return Taken::OutOfRange;
    }
    // The count is the unit's word; the bytes are what actually arrived.
    const uint32_t available = uint32_t(length - LogBlockHeader::kSize);
    if (header.dataCount > available) {
        qDebug() << "block" << header.blockIndex << "claims" << header.dataCount << "data bytes, carries"
                 << available;
        header.dataCount = available;
    }
    if (m_kind == Kind::Samples && (header.dataCount & 1u)) {
        qDebug() << "block" << header.blockIndex << "ends in half a sample - last byte dropped";
        header.dataCount &= ~1u;
    }

    if (!m_headers.isEmpty()) {
        const LogBlockHeader &first = m_headers.constFirst();
        if (header.word1 != first.word1 || header.word2 != first.word2) {
            // Another transfer has begun: what was collected belongs to the old one.
            dropCollection();
            m_joinedBytes.clear();
            m_joinedValues.clear();
            m_missing.clear();
        }
    }
    m_headers.append(header);

    if (m_blocks.count(header.blockIndex))
        return Taken::Duplicate;
    m_blocks.emplace(header.blockIndex,
                     QByteArray(reinterpret_cast<const char *>(payload + LogBlockHeader::kSize),
                                int(header.dataCount)));
    ++m_progress;

    if (header.blockIndex < header.lastBlockIndex) {
        m_done = false;
        return Taken::Stored;
    }
    join(header.lastBlockIndex);
    return Taken::Completed;
}

void BlockTransfer::join(uint32_t lastBlockIndex)
{
    qDebug() << "last Block detected";
    m_joinedBytes.clear();
    m_joinedValues.clear();
    m_missing.clear();

    qsizetype total = 0;
    for (const auto &block : m_blocks) {
        if (block.first <= lastBlockIndex)
            total += block.second.size();
    }
    if (m_kind == Kind::Bytes)
        m_joinedBytes.reserve(int(total));
    else
        m_joinedValues.reserve(int(total / 2));

    // Only blocks actually held go in, each freed as soon as it is copied.
    // A run of missing blocks is logged once, with its range.
    bool inGap = false;
    uint32_t gapStart = 0;
    auto reportGap = [&gapStart](uint32_t to) {
        if (gapStart == to)
            qDebug() << "Detected Missing Block" << to;
        else
            qDebug() << "Detected Missing Block" << gapStart << "to" << to;
    };
    for (uint32_t index = 0; index <= lastBlockIndex; ++index) {
        const auto it = m_blocks.find(index);
        if (it == m_blocks.end()) {
            if (!inGap)
                gapStart = index;
            inGap = true;
            m_missing.append(index);
            continue;
        }
        if (inGap)
            reportGap(index - 1);
        inGap = false;
        const QByteArray &data = it->second;
        if (m_kind == Kind::Bytes) {
            m_joinedBytes.append(data);
        } else {
            const auto *raw = reinterpret_cast<const uint8_t *>(data.constData());
            for (int i = 0; i + 1 < data.size(); i += 2)
                m_joinedValues.append(int32_t(le::i16(raw + i)));
        }
        m_blocks.erase(it);
    }
    if (inGap)
        reportGap(lastBlockIndex);
    qDebug() << "Output size : " << (m_kind == Kind::Bytes ? m_joinedBytes.size() : m_joinedValues.size());
    dropCollection();
    m_done = true;
}

// ---------------------------------------------------------------- run

BlockTransferRun::BlockTransferRun(const BlockTransfer &transfer, int64_t baseTimeoutMs)
    : m_transfer(transfer)
    , m_baseTimeoutMs(std::max<int64_t>(1, baseTimeoutMs))
{
}

void BlockTransferRun::beginPass()
{
    m_progressAtBegin = m_transfer.progress();
}

BlockTransferRun::Verdict BlockTransferRun::endPass(int64_t elapsedMs)
{
    if (m_transfer.isDone())
        return Verdict::Done;
    if (m_transfer.progress() == m_progressAtBegin) {
        if (++m_stalled >= kMaxStalledPasses)
            return Verdict::Stalled;
    } else {
        m_stalled = 0;
    }
    if (elapsedMs > deadlineMs())
        return Verdict::Overdue;
    return Verdict::Continue;
}

int64_t BlockTransferRun::deadlineMs() const
{
    int64_t deadline = 25 * m_baseTimeoutMs;
    if (m_transfer.hasHeaders()) {
        const int64_t blocks = int64_t(m_transfer.headers().constLast().lastBlockIndex) + 1;
        deadline += blocks * 3 * m_baseTimeoutMs;
    }
    return deadline;
}

// ---------------------------------------------------------------- records

bool splitLogRecords(const QByteArray &log, QVector<LogRecord> &records)
{
    records.clear();
    if (log.size() % LogRecord::kSize != 0)
        return false;
    const int count = log.size() / LogRecord::kSize;
    records.reserve(count);
    const auto *raw = reinterpret_cast<const uint8_t *>(log.constData());
    for (int i = 0; i < count; ++i)
        records.append(LogRecord::fromBytes(raw + i * LogRecord::kSize));
    return true;
}
