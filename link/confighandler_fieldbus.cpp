// Which unit the fieldbus record belongs to. A record carries one fieldbus
// module's identity (its station name, IP address, host name): read from or
// loaded for one unit, it must not reach another one unless the engineer
// chooses so, neither by "Apply" nor through an exported file.
#include "confighandler.h"
#include "ethernethandler.h"

#include <algorithm>

namespace {

constexpr int kMacSize = 6;

// The six bytes, or nothing for an all-zero address (a default blob's, or
// none at all).
QByteArray macOrNothing(const uint8_t *bytes)
{
    if (std::all_of(bytes, bytes + kMacSize, [](uint8_t b) { return b == 0; }))
        return QByteArray();
    return QByteArray(reinterpret_cast<const char *>(bytes), kMacSize);
}

// The unit a configuration blob belongs to: the MAC address it keeps as the
// owner of its reference values.
QByteArray blobMac(const CFG_Blob_struct_sorted &blob)
{
    return macOrNothing(blob.data() + CFG_Blob_struct_sorted::kMacOffset);
}

} // namespace

errorCode_e Confighandler::readUnitMac(QByteArray &mac)
{
    mac.clear();
    if (!m_handler)
        return ERR_NOT_SUPPORTED;
    uint8_t bytes[EthernetHandler::kMacParamSize] = {};
    const errorCode_e r = m_handler->readMACAddress(bytes);
    if (r == ERR_OK)
        mac = macOrNothing(bytes);
    return r;
}

void Confighandler::setAnybusKnown(bool foreign)
{
    m_anybusKnown = true;
    m_anybusUnit = m_handler ? m_handler->targetAddress() : QHostAddress();
    m_anybusForeign = foreign;
    emit AnybusOriginchanged();
}

void Confighandler::setAnybusUnknown(AnybusOrigin why)
{
    m_anybusKnown = false;
    m_anybusForeign = false;
    m_anybusUnknownWhy = why;
    emit AnybusOriginchanged();
}

void Confighandler::takeFileAnybusOrigin(const CFG_Blob_struct_sorted &fileBlob)
{
    m_anybusConnectedMac.clear();
    // The block of a unit whose record was never read holds nothing of any
    // module: there is nothing to write.
    if (m_anybus == Anybus_cfg()) {
        m_anybusMac.clear();
        setAnybusUnknown(AnybusOrigin::NotRead);
        return;
    }
    // A file names its unit by the MAC address in its blob; its fieldbus
    // block is that unit's (an export carries no other).
    m_anybusMac = blobMac(fileBlob);
    // One loaded while no unit answered was chosen for no unit in
    // particular: it goes to none until it is loaded again (or a unit's own
    // record read).
    if (!m_handler || !m_handler->isConnected()) {
        setAnybusUnknown(AnybusOrigin::FileBeforeConnect);
        return;
    }
    // The connected unit's own file applies as read from it; any other one
    // (or one that names no unit) only by the engineer's choice.
    if (!m_anybusMac.isEmpty())
        readUnitMac(m_anybusConnectedMac);
    setAnybusKnown(m_anybusMac.isEmpty() || m_anybusConnectedMac != m_anybusMac);
}

void Confighandler::unitNetworkSettingsReset(QByteArray mac)
{
    // Another unit's network settings leave this record as it is.
    if (!m_anybusKnown || (!m_anybusMac.isEmpty() && mac != m_anybusMac))
        return;
    setAnybusUnknown(AnybusOrigin::NetworkReset);
}

Anybus_cfg Confighandler::anybusForExport() const
{
    // The file names its unit by the blob's MAC address, and an import
    // takes the fieldbus block for that unit's: a record known to be
    // another unit's does not go with it.
    const QByteArray configMac = blobMac(m_blob);
    bool own = m_anybusMac.isEmpty() || configMac.isEmpty() || m_anybusMac == configMac;
    // While a unit is connected the file is that unit's: only its own
    // record, read since it answers, goes with it (not the record of the
    // unit connected before, nor one of another unit's file).
    if (own && m_handler && m_handler->isConnected())
        own = anybusOrigin() == AnybusOrigin::Writable && !m_anybusMac.isEmpty();
    return own ? m_anybus : Anybus_cfg();
}
