// Typed parameters, commands and the answer handlers that fill the reply
// cache.
#include "ethernethandler.h"

#include <QDateTime>
#include <QDebug>
#include <algorithm>

#include <cstring>

#include "byteorder.h"

namespace {

bool isChannelId(uint16_t id, uint16_t base) { return id >= base && id < base + 0x10; }

} // namespace

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

errorCode_e EthernetHandler::readSlot(uint16_t id, int index)
{
    m_paramReply = ParamReply();
    const errorCode_e result = readParam(id, index);
    if (result != ERR_OK)
        return result;
    // The answer that ended the wait must have filled the slot we asked for,
    // whole; anything else would hand out another or a stale value.
    const int expectedIndex = id == ParamChannelName ? index : kNoIndex;
    if (!m_paramReply.matched || m_paramReply.id != id || m_paramReply.index != expectedIndex) {
        qDebug() << "parameter answer did not carry the value asked for, id" << Qt::hex << id << "index"
                 << index;
        return ERR_RESPONSE;
    }
    if (!m_paramReply.complete) {
        qDebug() << "parameter answer too short, id" << Qt::hex << id;
        return ERR_DATA_SIZE;
    }
    return ERR_OK;
}

void EthernetHandler::handleParamAnswer(const EthernetFrame &frame)
{
    const uint8_t *p = frame.payload();
    const int length = frame.payloadLength();
    const uint16_t id = le::u16(p);
    int index = kNoIndex;
    int offset = 2;
    int width = 0;
    bool whole = false;  // stored as one record: a short answer is a failure
    void *slot = nullptr;
    QHostAddress *address = nullptr;
    uint32_t addressValue = 0;

    auto &c = m_cache;
    if (isChannelId(id, ParamChannelThreshold) || isChannelId(id, ParamChannelScale)
        || isChannelId(id, ParamChannelRefSkw)) {
        const int ch = id & 0x000F;
        if (ch >= kChannels)
            return;  // other channels and the flagged ids carry nothing to keep
        auto &array = isChannelId(id, ParamChannelThreshold) ? c.threshold
                      : isChannelId(id, ParamChannelScale)   ? c.scale
                                                             : c.refSkw;
        slot = &array[size_t(ch)];
        width = 2;
    } else {
        switch (id) {
        case ParamConfigBlob: slot = c.configBlob.data(); width = kConfigBlobSize; whole = true; break;
        case ParamOutputConfig: slot = &c.outputConfig; width = 1; break;
        case ParamOutputInversion: slot = &c.outputInversion; width = 1; break;
        case ParamDebounceTime: slot = &c.debounceTime; width = 2; break;
        case ParamChannelEnableMask: slot = &c.channelEnableMask; width = 1; break;
        case ParamIpAddress: address = &c.ipAddress; slot = &addressValue; width = 4; break;
        case ParamNetmask: address = &c.netmask; slot = &addressValue; width = 4; break;
        case ParamMacAddress: slot = c.mac.data(); width = kMacParamSize; break;
        case ParamValue1F02: slot = &c.value1F02; width = 4; break;
        case ParamDeviceName: slot = c.deviceName.data(); width = DeviceNameRecord::kSize; whole = true; break;
        case ParamChannelName:
            index = p[2];
            if (index >= kChannels)
                return;
            offset = 3;
            slot = c.channelNames[size_t(index)].data();
            width = DeviceNameRecord::kSize;
            whole = true;
            break;
        case ParamAnybusCfg: slot = c.anybusCfg.data(); width = kAnybusCfgSize; whole = true; break;
        default:
            return;
        }
    }

    const bool complete = length >= offset + width;
    const bool forWait = m_wait.matches(frame.header());
    if (forWait) {
        m_paramReply.matched = true;
        m_paramReply.id = id;
        m_paramReply.index = index;
        m_paramReply.complete = complete || !whole;
    }
    // A record the tool keeps whole is never replaced by a truncated copy.
    if (whole && !complete)
        return;

    // Values are little-endian on the wire; bytes past the payload read as
    // zero (the frame is zero-filled).
    const uint8_t *value = p + offset;
    switch (width) {
    case 1: *static_cast<uint8_t *>(slot) = value[0]; break;
    case 2: *static_cast<uint16_t *>(slot) = le::u16(value); break;
    case 4: *static_cast<uint32_t *>(slot) = le::u32(value); break;
    default: std::memcpy(slot, value, size_t(width)); break;
    }
    if (address)
        *address = QHostAddress(addressValue);
}

// ---------------------------------------------------------------- getters

errorCode_e EthernetHandler::readConfigBlob(uint8_t *scrambledBlob)
{
    return readBytes(ParamConfigBlob, scrambledBlob, m_cache.configBlob.data(), kConfigBlobSize);
}

errorCode_e EthernetHandler::readOutputConfig(uint8_t &value)
{
    return readInto(ParamOutputConfig, value, m_cache.outputConfig);
}

errorCode_e EthernetHandler::readOutputInversion(uint8_t &value)
{
    return readInto(ParamOutputInversion, value, m_cache.outputInversion);
}

errorCode_e EthernetHandler::readDebounceTime(uint16_t &value)
{
    return readInto(ParamDebounceTime, value, m_cache.debounceTime);
}

errorCode_e EthernetHandler::readChannelEnableMask(uint8_t &value)
{
    return readInto(ParamChannelEnableMask, value, m_cache.channelEnableMask);
}

errorCode_e EthernetHandler::readChannelThreshold(uint16_t &value, uint8_t channel)
{
    if (channel >= kChannels)
        return ERR_INVALID_PARAM;
    return readInto(uint16_t(ParamChannelThreshold + channel), value, m_cache.threshold[channel]);
}

errorCode_e EthernetHandler::readChannelScale(uint16_t &value, uint8_t channel)
{
    if (channel >= kChannels)
        return ERR_INVALID_PARAM;
    return readInto(uint16_t(ParamChannelScale + channel), value, m_cache.scale[channel]);
}

errorCode_e EthernetHandler::readChannelRefSKW(uint16_t &value, uint8_t channel)
{
    if (channel >= kChannels)
        return ERR_INVALID_PARAM;
    return readInto(uint16_t(ParamChannelRefSkw + channel), value, m_cache.refSkw[channel]);
}

errorCode_e EthernetHandler::readIPAddress(QHostAddress &address)
{
    return readInto(ParamIpAddress, address, m_cache.ipAddress);
}

errorCode_e EthernetHandler::readNetmask(QHostAddress &mask)
{
    return readInto(ParamNetmask, mask, m_cache.netmask);
}

errorCode_e EthernetHandler::readMACAddress(uint8_t *mac)
{
    return readBytes(ParamMacAddress, mac, m_cache.mac.data(), kMacParamSize);
}

errorCode_e EthernetHandler::readParam1F02(uint32_t &value)
{
    return readInto(ParamValue1F02, value, m_cache.value1F02);
}

errorCode_e EthernetHandler::readDeviceName(QString &name)
{
    const errorCode_e r = readSlot(ParamDeviceName);
    if (r == ERR_OK)
        name = m_cache.deviceName.text();
    return r;
}

errorCode_e EthernetHandler::readChannelName(QString &name, uint8_t channel)
{
    if (channel >= kChannels)
        return ERR_INVALID_VALUE;
    const errorCode_e r = readSlot(ParamChannelName, channel);
    if (r == ERR_OK)
        name = m_cache.channelNames[channel].text();
    return r;
}

errorCode_e EthernetHandler::readAnybusCFG(uint8_t *cfg)
{
    return readBytes(ParamAnybusCfg, cfg, m_cache.anybusCfg.data(), kAnybusCfgSize);
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
    if (frame.payloadLength() <= ReferenceRunResult_t::kSize - 1)
        return;
    m_refRunResult = ReferenceRunResult_t::fromBytes(frame.payload());
    if (m_wait.matches(frame.header()))
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
