// Block transfers of the log and of measurement data: a sequence of block
// answers (header and data as the unit sends them, in any order, repeated,
// from other transfers, cut short) through the transfer's bookkeeping.
//
// Input: one byte picks log bytes or measurement samples, then u16-length
// payloads until the input ends.
#include <map>

#include "blocktransfer.h"
#include "fuzzinput.h"

namespace {

// What the transfer must have kept: the data size of the first copy of each
// block index of the present transfer.
struct Expected
{
    bool collecting = false;
    uint32_t word1 = 0;
    uint32_t word2 = 0;
    std::map<uint32_t, int> sizes;
};

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzz::initQt();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzInput in(data, size);
    const bool samples = in.u8() & 1;
    BlockTransfer transfer(samples ? BlockTransfer::Kind::Samples : BlockTransfer::Kind::Bytes);
    BlockTransferRun run(transfer, 1000);
    Expected expected;
    int64_t elapsed = 0;

    while (!in.atEnd()) {
        const QByteArray payload = in.piece(kFramePayloadMax);
        run.beginPass();
        const BlockTransfer::Taken taken = transfer.take(payload);
        const BlockTransferRun::Verdict verdict = run.endPass(elapsed += 7);
        FUZZ_CHECK((verdict == BlockTransferRun::Verdict::Done) == transfer.isDone());

        if (payload.size() < LogBlockHeader::kSize) {
            FUZZ_CHECK(taken == BlockTransfer::Taken::TooShort);
            continue;
        }
        const LogBlockHeader h = LogBlockHeader::fromBytes(reinterpret_cast<const uint8_t *>(payload.constData()));
        if (h.lastBlockIndex > BlockTransfer::kMaxLastBlockIndex || h.blockIndex > h.lastBlockIndex) {
            FUZZ_CHECK(taken == BlockTransfer::Taken::OutOfRange);
            continue;
        }
        // The first header of a collection names the transfer; one with
        // other words starts a new collection.
        if (expected.collecting && (h.word1 != expected.word1 || h.word2 != expected.word2)) {
            expected.sizes.clear();
            expected.collecting = false;
        }
        if (!expected.collecting) {
            expected.collecting = true;
            expected.word1 = h.word1;
            expected.word2 = h.word2;
        }
        if (expected.sizes.count(h.blockIndex)) {
            FUZZ_CHECK(taken == BlockTransfer::Taken::Duplicate);
            continue;
        }
        int kept = std::min<int>(int(std::min<uint32_t>(h.dataCount, uint32_t(kFramePayloadMax))),
                                 payload.size() - LogBlockHeader::kSize);
        if (samples)
            kept &= ~1;
        expected.sizes[h.blockIndex] = kept;

        if (h.blockIndex < h.lastBlockIndex) {
            FUZZ_CHECK(taken == BlockTransfer::Taken::Stored);
            FUZZ_CHECK(!transfer.isDone());
            continue;
        }
        FUZZ_CHECK(taken == BlockTransfer::Taken::Completed);
        FUZZ_CHECK(transfer.isDone());
        FUZZ_CHECK(!transfer.hasHeaders());
        int joined = 0;
        int held = 0;
        for (const auto &block : expected.sizes) {
            if (block.first <= h.lastBlockIndex) {
                joined += block.second;
                ++held;
            }
        }
        if (samples)
            FUZZ_CHECK(transfer.joinedValues().size() == joined / 2);
        else
            FUZZ_CHECK(transfer.joinedBytes().size() == joined);
        FUZZ_CHECK(transfer.missingBlocks().size() == int(h.lastBlockIndex) + 1 - held);
        FUZZ_CHECK(transfer.isComplete() == transfer.missingBlocks().isEmpty());
        for (int i = 1; i < transfer.missingBlocks().size(); ++i)
            FUZZ_CHECK(transfer.missingBlocks().at(i - 1) < transfer.missingBlocks().at(i));

        QVector<LogRecord> records;
        const bool whole = splitLogRecords(transfer.joinedBytes(), records);
        FUZZ_CHECK(whole == (transfer.joinedBytes().size() % LogRecord::kSize == 0));
        FUZZ_CHECK(records.size() * LogRecord::kSize == (whole ? transfer.joinedBytes().size() : 0));
        expected.sizes.clear();
        expected.collecting = false;
    }
    return 0;
}
