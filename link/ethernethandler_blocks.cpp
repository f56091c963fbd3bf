// Block transfers of the unit's log (0x11) and measurement data (0x12): one
// waiting request per block until the unit's last block is in.
#include "ethernethandler.h"

#include <QDebug>
#include <QElapsedTimer>

namespace {

// One pass: the 20-byte header as the whole request.
errorCode_e requestBlock(EthernetHandler &handler, uint8_t command, const LogBlockHeader &request)
{
    uint8_t bytes[LogBlockHeader::kSize];
    request.toBytes(bytes);
    return handler.sendRequest(command, PayloadChunks{{bytes, LogBlockHeader::kSize}}, handler.baseTimeout());
}

// What a finished or abandoned run returns. A run that stopped advancing or
// overran its deadline drops what it collected, so the next read starts over
// rather than resuming into the same trouble.
errorCode_e finishRun(BlockTransferRun::Verdict verdict, BlockTransfer &transfer, const char *what)
{
    switch (verdict) {
    case BlockTransferRun::Verdict::Continue:
        break;
    case BlockTransferRun::Verdict::Done:
        if (!transfer.isComplete()) {
            // Joining around a hole would shift every later byte or sample.
            qDebug() << what << "transfer incomplete, missing blocks:" << transfer.missingBlocks().size();
            return ERR_DATA_SIZE;
        }
        return ERR_OK;
    case BlockTransferRun::Verdict::Stalled:
        qDebug() << what << "transfer does not advance: block"
                 << (transfer.hasHeaders() ? transfer.headers().constLast().blockIndex : 0u) << "again";
        transfer.dropCollection();
        return ERR_RESPONSE;
    case BlockTransferRun::Verdict::Overdue:
        qDebug() << what << "transfer exceeded its deadline";
        transfer.dropCollection();
        return ERR_TIMEOUT;
    }
    return ERR_OK;
}

} // namespace

errorCode_e EthernetHandler::readLog(LogBlockHeader &request)
{
    // A transfer broken off by a failed request keeps its blocks: this read
    // asks for the block after the last one received.
    m_logTransfer.clearDone();
    emit initProgressbar(tr("Reading Log..."), 100);
    BlockTransferRun run(m_logTransfer, m_timings.baseTimeoutMs);
    QElapsedTimer clock;
    clock.start();
    for (;;) {
        if (m_logTransfer.hasHeaders()) {
            request.blockIndex = m_logTransfer.nextRequestIndex(request.blockIndex);
            emit setMaxProgressbar(m_logTransfer.headers().constFirst().lastBlockIndex);
            emit updateProgressbar(m_logTransfer.headers().constLast().blockIndex);
        }
        run.beginPass();
        const errorCode_e result = requestBlock(*this, CmdReadLog, request);
        if (result != ERR_OK) {
            qDebug() << "errorcode:  " << result;
            emit deinitProgressbar();
            return result;
        }
        const BlockTransferRun::Verdict verdict = run.endPass(clock.elapsed());
        if (verdict != BlockTransferRun::Verdict::Continue) {
            emit deinitProgressbar();
            return finishRun(verdict, m_logTransfer, "log");
        }
    }
}

errorCode_e EthernetHandler::readLog(LogBlockHeader *request)
{
    return request ? readLog(*request) : ERR_INVALID_PARAM;
}

errorCode_e EthernetHandler::readData(LogBlockHeader &request)
{
    m_dataTransfer.reset();
    BlockTransferRun run(m_dataTransfer, m_timings.baseTimeoutMs);
    QElapsedTimer clock;
    clock.start();
    for (;;) {
        if (m_dataTransfer.hasHeaders())
            request.blockIndex = m_dataTransfer.nextRequestIndex(request.blockIndex);
        run.beginPass();
        const errorCode_e result = requestBlock(*this, CmdReadData, request);
        if (result != ERR_OK) {
            qDebug() << "errorcode:  " << result;
            return result;
        }
        const BlockTransferRun::Verdict verdict = run.endPass(clock.elapsed());
        if (verdict != BlockTransferRun::Verdict::Continue)
            return finishRun(verdict, m_dataTransfer, "measurement data");
    }
}

void EthernetHandler::getLogEntries(QVector<LogRecord> &entries) const
{
    entries.clear();
    if (!m_logTransfer.missingBlocks().isEmpty()) {
        qDebug() << "Error Log size: log with missing blocks";
        return;
    }
    if (!splitLogRecords(m_logTransfer.joinedBytes(), entries))
        qDebug() << "Error Log size";
}

void EthernetHandler::getDataBuffer(QVector<int32_t> &values) const
{
    values.clear();
    if (m_dataTransfer.isComplete())
        values = m_dataTransfer.joinedValues();
}

// The receive path hands these only answers that matched the pending block
// request, so a late copy of an earlier answer never reaches a transfer.
void EthernetHandler::handleLogBlockAnswer(const EthernetFrame &frame)
{
    m_logTransfer.take(frame.payload(), frame.payloadLength());
}

void EthernetHandler::handleDataBlockAnswer(const EthernetFrame &frame)
{
    m_dataTransfer.take(frame.payload(), frame.payloadLength());
}
