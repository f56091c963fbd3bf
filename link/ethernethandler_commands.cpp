// Typed parameters, commands and the answer handlers that fill the reply
// cache.
#include "ethernethandler.h"

#include <QDateTime>
#include <QDebug>
#include <algorithm>

#include <cstring>

#include "byteorder.h"
#include "parametertable.h"

// ---------------------------------------------------------------- generic

errorCode_e EthernetHandler::writeParam(uint16_t id, const void *data, uint32_t length, int index)
{
    uint8_t idBytes[2];
    le::put16(idBytes, id);
    const uint8_t indexByte = uint8_t(index);
    PayloadChunks chunks{PayloadChunk{idBytes, 2}};
    if (index < kNoIndex)
        chunks.append(PayloadChunk{&indexByte, 1});
    if (data)
        chunks.append(PayloadChunk{data, length});
    return sendRequest(CmdWriteParam, chunks, m_timings.baseTimeoutMs);
}

errorCode_e EthernetHandler::readParam(uint16_t id, int index)
{
    uint8_t idBytes[2];
    le::put16(idBytes, id);
    const uint8_t indexByte = uint8_t(index);
    PayloadChunks chunks{PayloadChunk{idBytes, 2}};
    if (index < kNoIndex)
        chunks.append(PayloadChunk{&indexByte, 1});
    return sendRequest(CmdReadParam, chunks, m_timings.baseTimeoutMs);
}

bool EthernetHandler::isAnswerToPendingRequest(const EthernetFrame &frame, const char *what) const
{
    // Only the first answer with the command and sequence number of the
    // request now waiting may leave anything behind: a late or repeated
    // answer to an earlier request carries what the unit held then.
    if (m_wait.matches(frame.header()) && !m_wait.received())
        return true;
    qDebug() << what << "answer without its pending request - dropped, sequence" << frame.header().sequence;
    return false;
}

errorCode_e EthernetHandler::readSlot(uint16_t id, int index, QByteArray *value)
{
    // The reply lives with this read; a read started while it waits (and
    // refused, as only one request waits at a time) leaves it alone.
    ParamReply reply;
    ParamReply *const outer = m_paramReply;
    m_paramReply = &reply;
    const errorCode_e result = readParam(id, index);
    m_paramReply = outer;
    if (result != ERR_OK)
        return result;
    // The answer that ended the wait must carry the parameter we asked for,
    // whole; anything else would hand out another value.
    const int expectedIndex = id == ParamChannelName ? index : kNoIndex;
    if (!reply.matched || reply.id != id || reply.index != expectedIndex) {
        qDebug() << "parameter answer did not carry the value asked for, id" << Qt::hex << id << "index"
                 << index;
        return ERR_RESPONSE;
    }
    if (!reply.complete) {
        qDebug() << "parameter answer too short, id" << Qt::hex << id;
        return ERR_DATA_SIZE;
    }
    *value = reply.value;
    return ERR_OK;
}

errorCode_e EthernetHandler::readBytes(uint16_t id, uint8_t *out, int size)
{
    QByteArray value;
    const errorCode_e r = readSlot(id, kNoIndex, &value);
    if (r == ERR_OK)
        std::memcpy(out, value.constData(), size_t(qMin(size, value.size())));
    return r;
}

void EthernetHandler::handleParamAnswer(const EthernetFrame &frame)
{
    if (!isAnswerToPendingRequest(frame, "parameter"))
        return;
    using ParameterTable::Answer;
    const Answer answer = ParameterTable::decode(frame.payload(), frame.payloadLength());
    // Ids the tool does not read, other channels and the flagged ids carry
    // nothing to keep.
    if (answer.status == Answer::Status::Unknown || answer.status == Answer::Status::BadIndex
        || answer.status == Answer::Status::TooShort || !m_paramReply)
        return;
    m_paramReply->matched = true;
    m_paramReply->id = answer.id;
    m_paramReply->index = answer.index;
    // A record the tool keeps whole is never taken from a truncated copy.
    m_paramReply->complete = answer.status == Answer::Status::Ok;
    m_paramReply->value = answer.value;
}

// ---------------------------------------------------------------- getters

namespace {

uint8_t u8Of(const uint8_t *p) { return p[0]; }
uint16_t u16Of(const uint8_t *p) { return le::u16(p); }
uint32_t u32Of(const uint8_t *p) { return le::u32(p); }
// Addresses travel as the integer value of the IPv4 address.
QHostAddress addressOf(const uint8_t *p) { return QHostAddress(le::u32(p)); }
QString nameOf(const uint8_t *p) { return DeviceNameRecord::fromRaw(p).text(); }

} // namespace

errorCode_e EthernetHandler::readConfigBlob(uint8_t *scrambledBlob)
{
    return readBytes(ParamConfigBlob, scrambledBlob, kConfigBlobSize);
}

errorCode_e EthernetHandler::readOutputConfig(uint8_t &value)
{
    return readValue(ParamOutputConfig, value, u8Of);
}

errorCode_e EthernetHandler::readOutputInversion(uint8_t &value)
{
    return readValue(ParamOutputInversion, value, u8Of);
}

errorCode_e EthernetHandler::readDebounceTime(uint16_t &value)
{
    return readValue(ParamDebounceTime, value, u16Of);
}

errorCode_e EthernetHandler::readChannelEnableMask(uint8_t &value)
{
    return readValue(ParamChannelEnableMask, value, u8Of);
}

errorCode_e EthernetHandler::readChannelThreshold(uint16_t &value, uint8_t channel)
{
    if (channel >= kChannels)
        return ERR_INVALID_PARAM;
    return readValue(uint16_t(ParamChannelThreshold + channel), value, u16Of);
}

errorCode_e EthernetHandler::readChannelScale(uint16_t &value, uint8_t channel)
{
    if (channel >= kChannels)
        return ERR_INVALID_PARAM;
    return readValue(uint16_t(ParamChannelScale + channel), value, u16Of);
}

errorCode_e EthernetHandler::readChannelRefSKW(uint16_t &value, uint8_t channel)
{
    if (channel >= kChannels)
        return ERR_INVALID_PARAM;
    return readValue(uint16_t(ParamChannelRefSkw + channel), value, u16Of);
}

errorCode_e EthernetHandler::readIPAddress(QHostAddress &address)
{
    return readValue(ParamIpAddress, address, addressOf);
}

errorCode_e EthernetHandler::readNetmask(QHostAddress &mask)
{
    return readValue(ParamNetmask, mask, addressOf);
}

errorCode_e EthernetHandler::readMACAddress(uint8_t *mac)
{
    return readBytes(ParamMacAddress, mac, kMacParamSize);
}

errorCode_e EthernetHandler::readParam1F02(uint32_t &value)
{
    return readValue(ParamValue1F02, value, u32Of);
}

errorCode_e EthernetHandler::readDeviceName(QString &name)
{
    return readValue(ParamDeviceName, name, nameOf);
}

errorCode_e EthernetHandler::readChannelName(QString &name, uint8_t channel)
{
    if (channel >= kChannels)
        return ERR_INVALID_VALUE;
    return readValue(ParamChannelName, name, nameOf, channel);
}

errorCode_e EthernetHandler::readAnybusCFG(uint8_t *cfg)
{
    return readBytes(ParamAnybusCfg, cfg, kAnybusCfgSize);
}

// ---------------------------------------------------------------- setters

errorCode_e EthernetHandler::writeConfigBlob(const uint8_t *scrambledBlob)
{
    return writeParam(ParamConfigBlob, scrambledBlob, kConfigBlobSize);
}

errorCode_e EthernetHandler::writeOutputConfig(uint8_t value)
{
    return writeParam(ParamOutputConfig, &value, 1);
}

errorCode_e EthernetHandler::writeOutputInversion(uint8_t value)
{
    return writeParam(ParamOutputInversion, &value, 1);
}

errorCode_e EthernetHandler::writeDebounceTime(uint16_t value)
{
    uint8_t bytes[2];
    le::put16(bytes, value);
    return writeParam(ParamDebounceTime, bytes, 2);
}

errorCode_e EthernetHandler::writeChannelEnableMask(uint8_t value)
{
    return writeParam(ParamChannelEnableMask, &value, 1);
}

errorCode_e EthernetHandler::writeChannelThreshold(int value, uint8_t channel, bool flag)
{
    // A channel above 6 would land on the flagged ids or another parameter.
    if (channel >= kChannels)
        return ERR_INVALID_PARAM;
    uint8_t bytes[2];
    le::put16(bytes, uint16_t(value));
    const uint16_t id = uint16_t(ParamChannelThreshold + channel + (flag ? ParamFromRefRunFlag : 0));
    return writeParam(id, bytes, 2);
}

errorCode_e EthernetHandler::writeChannelScale(int value, uint8_t channel, bool flag)
{
    if (channel >= kChannels)
        return ERR_INVALID_PARAM;
    uint8_t bytes[2];
    le::put16(bytes, uint16_t(value));
    const uint16_t id = uint16_t(ParamChannelScale + channel + (flag ? ParamFromRefRunFlag : 0));
    return writeParam(id, bytes, 2);
}

errorCode_e EthernetHandler::writeIPAddress(QHostAddress address)
{
    uint8_t bytes[4];
    le::put32(bytes, address.toIPv4Address());
    return writeParam(ParamIpAddress, bytes, 4);
}

errorCode_e EthernetHandler::writeNetmask(QHostAddress mask)
{
    uint8_t bytes[4];
    le::put32(bytes, mask.toIPv4Address());
    return writeParam(ParamNetmask, bytes, 4);
}

errorCode_e EthernetHandler::writeDeviceName(DeviceNameRecord &record)
{
    std::fill(record.data() + 252, record.data() + DeviceNameRecord::kSize, uint8_t(0));
    return writeParam(ParamDeviceName, record.data(), DeviceNameRecord::kSize);
}

errorCode_e EthernetHandler::writeChannelName(DeviceNameRecord &record, uint8_t channel)
{
    if (channel >= kChannels)
        return ERR_INVALID_PARAM;
    std::fill(record.data() + 252, record.data() + DeviceNameRecord::kSize, uint8_t(0));
    return writeParam(ParamChannelName, record.data(), DeviceNameRecord::kSize, channel);
}

errorCode_e EthernetHandler::writeAnybusCFG(const uint8_t *cfg)
{
    return writeParam(ParamAnybusCfg, cfg, kAnybusCfgSize);
}

// ---------------------------------------------------------------- commands

errorCode_e EthernetHandler::sendServiceAction(uint16_t action)
{
    uint8_t bytes[2];
    le::put16(bytes, action);
    return sendRequest(CmdServiceAction, {PayloadChunk{bytes, 2}}, 10 * m_timings.baseTimeoutMs);
}

errorCode_e EthernetHandler::resetDefaultConfig()
{
    const errorCode_e result = sendServiceAction(ActionResetDefaultConfig);
    emit unitConfigurationReset();
    return result;
}

errorCode_e EthernetHandler::oneByteCommand(uint8_t command, uint8_t value)
{
    return sendRequest(command, {PayloadChunk{&value, 1}}, m_timings.baseTimeoutMs);
}

errorCode_e EthernetHandler::setRefRunMode(uint8_t mode) { return oneByteCommand(CmdRefRunMode, mode); }

errorCode_e EthernetHandler::startManualRun() { return oneByteCommand(CmdManualRun, 0); }

errorCode_e EthernetHandler::stopDataRun() { return oneByteCommand(CmdStopDataRun, 0); }

errorCode_e EthernetHandler::sendErrorReset() { return oneByteCommand(CmdErrorReset, 0); }

errorCode_e EthernetHandler::restartPPU() { return sendRequest(CmdRestart, {}, 0); }

errorCode_e EthernetHandler::requestRefRunResult()
{
    m_refRunStored = false;
    const errorCode_e r = sendRequest(CmdRefRunResult, {}, m_timings.baseTimeoutMs);
    // An error answer carries no record either.
    if (r != ERR_OK)
        return r;
    // A short answer leaves the previous record in place; handing that on
    // would let the dialog write stale values to the unit.
    if (!m_refRunStored) {
        qDebug() << "reference-run result answer too short";
        return ERR_DATA_SIZE;
    }
    emit RefRunResultreceived(m_refRunResult);
    return r;
}

void EthernetHandler::handleRefRunAnswer(const EthernetFrame &frame)
{
    if (!isAnswerToPendingRequest(frame, "reference-run result"))
        return;
    if (frame.payloadLength() <= ReferenceRunResult_t::kSize - 1)
        return;
    m_refRunResult = ReferenceRunResult_t::fromBytes(frame.payload());
    m_refRunStored = true;
}

errorCode_e EthernetHandler::readProductInfo(ProductInfoRecord *record)
{
    m_productInfoValid = false;
    const errorCode_e r = sendRequest(CmdProductInfo, {}, m_timings.baseTimeoutMs);
    if (record)
        *record = m_productInfoValid ? m_productInfo : ProductInfoRecord();
    return r;
}

void EthernetHandler::handleProductInfoAnswer(const EthernetFrame &frame)
{
    if (!isAnswerToPendingRequest(frame, "identification"))
        return;
    if (frame.payloadLength() == ProductInfoRecord::kSize + 1) {
        m_productInfo = ProductInfoRecord::fromBytes(frame.payload());
        m_productInfoValid = true;
    } else {
        m_productInfoValid = false;
    }
}

errorCode_e EthernetHandler::readRecordBlock(uint8_t *area)
{
    uint8_t sub[2];
    le::put16(sub, 1);
    const errorCode_e r = sendRequest(CmdRecord, {PayloadChunk{sub, 2}}, m_timings.baseTimeoutMs);
    if (r == ERR_OK)
        std::memcpy(area, m_recordArea.data(), kRecordAreaSize);
    return r;
}

errorCode_e EthernetHandler::readRecordValue(uint32_t &value)
{
    uint8_t sub[2];
    le::put16(sub, 0);
    const errorCode_e r = sendRequest(CmdRecord, {PayloadChunk{sub, 2}}, m_timings.baseTimeoutMs);
    if (r == ERR_OK)
        value = le::u32(m_recordArea.data() + 4);
    return r;
}

void EthernetHandler::handleRecordAnswer(const EthernetFrame &frame)
{
    if (!isAnswerToPendingRequest(frame, "record"))
        return;
    if (frame.payloadLength() <= 1)
        return;
    const uint8_t *p = frame.payload();
    const uint16_t sub = le::u16(p);
    const uint8_t *data = p + 2;
    int offset = 0;
    int width = 0;
    if (sub == 0) {
        offset = 4;
        width = 4;
    } else if (sub == 1) {
        offset = 30;
        width = kRecordSize;
    } else if (sub >= 2 && sub <= 7) {
        offset = 30 + (sub - 2) * kRecordPartSize;
        width = kRecordPartSize;
    } else {
        return;
    }
    // The unit repeats itself; an identical answer right after the last
    // update is the same news again.
    const int64_t now = QDateTime::currentMSecsSinceEpoch();
    uint8_t *target = m_recordArea.data() + offset;
    if (m_recordStampSet && now - m_recordStamp < 100 && std::memcmp(target, data, size_t(width)) == 0)
        return;
    std::memcpy(target, data, size_t(width));
    m_recordStamp = now;
    m_recordStampSet = true;
}
