// Typed parameter reads (0xE1) and writes (0xEF) of the simulated unit.
#include "unitsim.h"

#include "byteorder.h"

namespace {

constexpr int32_t kInvalidParam = -16;
constexpr int32_t kDataSize = -1;

QByteArray idBytes(uint16_t id)
{
    QByteArray b(2, '\0');
    le::put16(reinterpret_cast<uint8_t *>(b.data()), id);
    return b;
}

} // namespace

void UnitSim::installParameterHandlers()
{
    setHandler(0xE1, [this](const UnitSimRequest &q, UnitSimReply &r) { onReadParam(q, r); });
    setHandler(0xEF, [this](const UnitSimRequest &q, UnitSimReply &r) { onWriteParam(q, r); });
}

void UnitSim::onReadParam(const UnitSimRequest &request, UnitSimReply &reply)
{
    if (request.paramId < 0) {
        reply.fail(kDataSize);
        return;
    }
    const uint16_t id = uint16_t(request.paramId);
    // Flagged ids are for writing only.
    if (UnitParameterStore::isFlaggedId(id) || UnitParameterStore::width(id) < 0) {
        reply.fail(kInvalidParam);
        return;
    }
    const bool indexed = UnitParameterStore::takesIndex(id);
    if (indexed != (request.index >= 0)) {
        reply.fail(kInvalidParam);
        return;
    }
    const int index = indexed ? request.index : UnitParameterStore::kNoIndex;
    if (!m_parameters.contains(id, index)) {
        reply.fail(kInvalidParam);
        return;
    }
    reply.payload = idBytes(id);
    if (indexed)
        reply.payload.append(char(index));
    reply.payload.append(m_parameters.value(id, index));
}

void UnitSim::onWriteParam(const UnitSimRequest &request, UnitSimReply &reply)
{
    if (request.paramId < 0) {
        reply.fail(kDataSize);
        return;
    }
    const uint16_t id = uint16_t(request.paramId);
    const int width = UnitParameterStore::width(id);
    if (width < 0 || id == 0x1002 || (id >= 0x50 && id <= 0x56)) {
        reply.fail(kInvalidParam);  // unknown or read-only
        return;
    }
    const bool indexed = UnitParameterStore::takesIndex(id);
    if (indexed && (request.index < 0 || request.index > 6)) {
        reply.fail(kInvalidParam);
        return;
    }
    // The value plus at most the pad byte.
    const int header = indexed ? 3 : 2;
    const int rest = request.payload.size() - header;
    if (rest != width && !(rest == width + 1 && (header + width) % 2 == 1)) {
        reply.fail(kDataSize);
        return;
    }
    m_parameters.setValue(id, request.value, indexed ? request.index : UnitParameterStore::kNoIndex);
}
