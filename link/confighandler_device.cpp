// Moving the configuration copy to and from the unit, the network settings,
// and the save handshake that the unit's heartbeats drive.
#include "confighandler.h"

#include "devicerecords.h"
#include "ethernethandler.h"
#include "ipaddresstext.h"

#include <QDebug>
#include <cstring>

namespace {

// QMessageBox::Icon values of the questions.
constexpr int kInformation = 1;
constexpr int kWarning = 2;
constexpr uint32_t kSuccessMs = 3000;

const char *const kNotConnected =
    QT_TRANSLATE_NOOP("Confighandler", "Not Connected to Device. Couldn't save Config to device");
const char *const kWriteInitFailed = QT_TRANSLATE_NOOP("Confighandler", "The Config Write init Failed");
const char *const kWriteFailed = QT_TRANSLATE_NOOP("Confighandler", "The Config Write Failed");
const char *const kWriteSaved = QT_TRANSLATE_NOOP("Confighandler", "The Config Write/Save was sucessfull");

// Releases the handshake lock on every way out of a step.
class TryLock
{
public:
    explicit TryLock(QMutex &m)
        : m_mutex(m)
        , m_locked(m.tryLock())
    {
    }
    ~TryLock()
    {
        if (m_locked)
            m_mutex.unlock();
    }
    bool locked() const { return m_locked; }

private:
    QMutex &m_mutex;
    bool m_locked;
};

} // namespace

void Confighandler::setEthernetHandler(EthernetHandler *handler)
{
    if (m_handler)
        disconnect(m_handler, nullptr, this, nullptr);
    m_handler = handler;
    if (m_handler) {
        connect(m_handler, &EthernetHandler::connectionLost, this, &Confighandler::lostconnection);
        connect(m_handler, &EthernetHandler::unitConfigurationReset, this, &Confighandler::unitConfigurationReset);
        connect(m_handler, &EthernetHandler::unitNetworkSettingsReset, this,
                &Confighandler::unitNetworkSettingsReset);
    }
}

int32_t Confighandler::askQuestion(const QStringList &buttons, const QString &title, const QString &message,
                                   int kind)
{
    // Nobody answering counts as the box being closed.
    int32_t answer = -1;
    emit printMessageboxwrapper(buttons, title, message, kind, &answer);
    return answer;
}

void Confighandler::reportSuccess(const QString &message)
{
    emit printNotifyBarSuccesswrapper(message, kSuccessMs);
}

// ---- names and fieldbus block ---------------------------------------------------

errorCode_e Confighandler::readDevicename()
{
    if (!m_handler)
        return ERR_NOT_SUPPORTED;
    QString name;
    const errorCode_e r = m_handler->readDeviceName(name);
    // As for a channel name: the name kept after a failed read is not this
    // unit's, and a write leaves the unit's own in place.
    if (r != ERR_OK) {
        m_deviceNameUnread = true;
        return r;
    }
    const errorCode_e stored = setDevicename(name);
    if (stored != ERR_OK)
        m_deviceNameUnread = true;
    return stored;
}

errorCode_e Confighandler::readChannelname(uint8_t channelIndex)
{
    if (!m_handler)
        return ERR_NOT_SUPPORTED;
    QString name;
    const errorCode_e r = m_handler->readChannelName(name, channelIndex);
    // A read that fails, or brings a name the setter refuses, leaves the
    // stored name; that name is not this unit's, and a write must not put it
    // there in place of the unit's own.
    const auto keepUnread = [this, channelIndex] {
        if (channelIndex < kChannelCount)
            m_channelNameUnread[channelIndex] = true;
    };
    if (r < ERR_OK) {
        keepUnread();
        return r;
    }
    // A name the setter refuses is not taken; saying so beats a success
    // that left the old name in place.
    const errorCode_e stored = setChannelname(name, channelIndex);
    if (stored != ERR_OK)
        keepUnread();
    return stored != ERR_OK ? stored : r;
}

errorCode_e Confighandler::writeDevicename()
{
    if (!m_handler)
        return ERR_NOT_SUPPORTED;
    // Nothing to write: the unit keeps its own name (see unreadNamesNote).
    if (m_deviceNameUnread)
        return ERR_OK;
    DeviceNameRecord record = m_deviceName;
    const errorCode_e r = m_handler->writeDeviceName(record);
    if (r != ERR_OK)
        reportError(tr("Failed to write the device name to the Device!"));
    return r;
}

errorCode_e Confighandler::writeChannelname(uint8_t channelIndex)
{
    if (channelIndex >= kChannelCount)
        return ERR_INVALID_PARAM;
    if (!m_handler)
        return ERR_NOT_SUPPORTED;
    // Nothing to write: the unit keeps its own name (see
    // unreadNamesNote).
    if (m_channelNameUnread[channelIndex])
        return ERR_OK;
    DeviceNameRecord record = m_channelNames[channelIndex];
    const errorCode_e r = m_handler->writeChannelName(record, channelIndex);
    if (r != ERR_OK)
        reportError(tr("Failed to write the channel name to the Device!"));
    return r;
}

errorCode_e Confighandler::readCFGFieldbus()
{
    if (!m_handler)
        return ERR_NOT_SUPPORTED;
    Anybus_cfg cfg;
    const errorCode_e r = m_handler->readAnybusCFG(cfg.data());
    if (r == ERR_OK) {
        // Which unit the record is, so that it goes to no other one, in no
        // file either; a MAC address that cannot be read leaves it to this
        // link alone.
        QByteArray mac;
        readUnitMac(mac);
        m_anybusMac = m_anybusConnectedMac = mac;
        setAnybusKnown(false);
        setAnybusCFG(cfg);
    }
    return r;
}

// ---- blob and device block --------------------------------------------------------

errorCode_e Confighandler::readCFGDevice()
{
    if (!m_handler)
        return ERR_NOT_SUPPORTED;
    uint8_t scrambled[CFG_Blob_struct_sorted::kSize];
    errorCode_e r = m_handler->readConfigBlob(scrambled);
    if (r != ERR_OK)
        return r;

    // Read into a copy so that a failed read stores nothing; the reserved
    // bytes keep what the copy holds.
    CFG_Device_Param_struct block = m_deviceParams;
    uint8_t u8 = 0;
    uint16_t u16 = 0;
    if ((r = m_handler->readOutputConfig(u8)) != ERR_OK)
        return r;
    block.setOutputSelect(u8);
    if ((r = m_handler->readOutputInversion(u8)) != ERR_OK)
        return r;
    block.setOutputInversion(u8);
    if ((r = m_handler->readChannelEnableMask(u8)) != ERR_OK)
        return r;
    block.setChannelEnableMask(u8);
    if ((r = m_handler->readDebounceTime(u16)) != ERR_OK)
        return r;
    block.setDebounceTime(u16);
    for (uint8_t ch = 0; ch < kChannelCount; ++ch) {
        if ((r = m_handler->readChannelScale(u16, ch)) != ERR_OK)
            return r;
        block.setScale(ch, u16);
        if ((r = m_handler->readChannelThreshold(u16, ch)) != ERR_OK)
            return r;
        block.setThreshold(ch, u16);
        if ((r = m_handler->readChannelRefSKW(u16, ch)) != ERR_OK)
            return r;
        block.setReferenceSkw(ch, int16_t(u16));
    }

    m_warnMissingReferences = true;
    // The unit's CRC is not compared: sealing renews it, and only the entry
    // checks decide whether the blob is taken.
    CFG_Blob_struct_sorted blob;
    blob.assignRaw(unscrambleBlob(scrambled)->data());
    sealBlob(blob);
    setDeviceConfig(block);
    return ERR_OK;
}

errorCode_e Confighandler::writeCFGDevice()
{
    m_writeStoppedNote.clear();
    if (!validateForSave())
        return ERR_INVALID_CONFIG;
    if (!m_handler)
        return ERR_NOT_SUPPORTED;

    uint8_t mac[EthernetHandler::kMacParamSize] = {};
    errorCode_e r = m_handler->readMACAddress(mac);
    if (r != ERR_OK) {
        reportError(tr("Failed to read MAC Address of connected Device!"));
        return r;
    }
    const uint8_t *configMac = m_blob.data() + CFG_Blob_struct_sorted::kMacOffset;
    if (std::memcmp(mac, configMac, sizeof mac) != 0) {
        QString text = tr("MAC address PPU: ") + macAddressText(mac) + QLatin1Char('\n')
                       + tr("MAC address SST configuration: ") + macAddressText(configMac);
        if (m_blob.referenceMac() == 0)
            text += tr("( default MAC Address )");
        text += QLatin1Char('\n')
                + tr("Different MAC Address of the Device and the SST Config found. \n The Reference Values will be "
                     "set to an invalid Value!");
        const QStringList buttons{tr("Cancel"), tr("Proceed")};
        if (askQuestion(buttons, tr("MAC Conflict"), text, kWarning) != 1) {
            m_writeStoppedNote = tr("The write was stopped by your choice (\"Cancel\" on \"MAC Conflict\"). "
                                    "Nothing was written to the unit.");
            return ERR_NOT_SUPPORTED;
        }
    }

    uint8_t scrambled[CFG_Blob_struct_sorted::kSize];
    std::memcpy(scrambled, scrambleBlob(m_blob), sizeof scrambled);
    if ((r = m_handler->writeConfigBlob(scrambled)) != ERR_OK) {
        reportError(tr("Failed to write the config to the Device!"));
        return r;
    }
    const CFG_Device_Param_struct block = m_deviceParams;
    if ((r = m_handler->writeOutputConfig(block.outputSelect())) != ERR_OK) {
        reportError(tr("Failed to write the output config to the Device!"));
        return r;
    }
    if ((r = m_handler->writeOutputInversion(block.outputInversion())) != ERR_OK) {
        reportError(tr("Failed to write the output inversion config to the Device!"));
        return r;
    }
    if ((r = m_handler->writeChannelEnableMask(block.channelEnableMask())) != ERR_OK) {
        reportError(tr("Failed to write the channelenable config to the Device!"));
        return r;
    }
    if ((r = m_handler->writeDebounceTime(block.debounceTime())) != ERR_OK) {
        reportError(tr("Failed to write the debounce time to the Device!"));
        return r;
    }

    // Scale and threshold belong to the unit's reference run: only a unit
    // that holds a reference value for the channel gets them.
    bool referenceConflict = false;
    QStringList scaledChannels;  // channels (counted from 1) that got scale and threshold
    for (uint8_t ch = 0; ch < kChannelCount; ++ch) {
        uint16_t raw = 0;
        bool unitHasReference = false;
        if (m_handler->readChannelRefSKW(raw, ch) != ERR_OK)
            reportError(tr("Failed to read Reference SKW Value from the Device!"));
        else
            unitHasReference = int16_t(raw) >= 0;
        if (unitHasReference) {
            if ((r = m_handler->writeChannelScale(block.scale(ch), ch, false)) != ERR_OK) {
                reportError(tr("Failed to write the scale config to the Device!"));
                return r;
            }
            if ((r = m_handler->writeChannelThreshold(block.threshold(ch), ch, false)) != ERR_OK) {
                reportError(tr("Failed to write the threshold config to the Device!"));
                return r;
            }
            scaledChannels << QString::number(ch + 1);
        } else if (block.referenceSkw(ch) >= 0) {
            referenceConflict = true;
        }
    }

    if (!referenceConflict)
        return ERR_OK;
    const QStringList buttons{tr("No"), tr("Yes")};
    const int32_t answer = askQuestion(
        buttons, tr("Reference State conflict"),
        tr("Reference SKW State in SST and PPU does not match! Overwrite the PPU Config without the reference values? "),
        kWarning);
    if (answer == 1)
        return ERR_OK;
    // The unit now holds part of the new configuration without having saved
    // it, and the names were not written: say so, in the engineer's terms.
    const QString written =
        scaledChannels.isEmpty()
            ? tr("the channel configuration, the output selection, the output inversion, the enabled channels and "
                 "the debounce time")
        : scaledChannels.size() == 1
            ? tr("the channel configuration, the output selection, the output inversion, the enabled channels, "
                 "the debounce time, and scale and threshold of channel %1")
                  .arg(scaledChannels.first())
            : tr("the channel configuration, the output selection, the output inversion, the enabled channels, "
                 "the debounce time, and scale and threshold of channels %1")
                  .arg(scaledChannels.join(QStringLiteral(", ")));
    m_writeStoppedNote = tr("The write was stopped by your choice (\"No\" on \"Reference State conflict\"). "
                            "Already written to the unit but not saved: %1. The device and channel names were not "
                            "written.")
                             .arg(written);
    return ERR_INVALID_CONFIG;
}

errorCode_e Confighandler::writeConfigToDevice()
{
    errorCode_e r = writeCFGDevice();
    if (r != ERR_OK)
        return r;
    if ((r = writeDevicename()) != ERR_OK)
        return r;
    for (uint8_t ch = 0; ch < kChannelCount; ++ch) {
        if ((r = writeChannelname(ch)) != ERR_OK)
            return r;
    }
    const QString kept = unreadNamesNote();
    if (!kept.isEmpty())
        reportError(kept);
    saveConfigOnDevice(false);
    return ERR_OK;
}

void Confighandler::rereadConfigFromDevice()
{
    m_rereadAfterSave = false;
    errorCode_e r = readDevicename();
    if (r != ERR_OK)
        reportError(tr("Read device name failed. Error: %1 Errorcode: %2").arg(ErrorDecode::decode(r)).arg(r));
    for (uint8_t ch = 0; ch < kChannelCount; ++ch) {
        r = readChannelname(ch);
        if (r < ERR_OK)
            reportError(tr("Read Channel name failed. Error: %1 Errorcode: %2").arg(ErrorDecode::decode(r)).arg(r));
    }
    r = readCFGDevice();
    if (r != ERR_OK)
        reportError(
            tr("Read device configuration failed. Error: %1 Errorcode: %2").arg(ErrorDecode::decode(r)).arg(r));
}

// ---- network settings ----------------------------------------------------------------

errorCode_e Confighandler::setIpAddress(QHostAddress address, bool toUnit)
{
    if (address.protocol() != QAbstractSocket::IPv4Protocol)
        return ERR_INVALID_PARAM;
    m_connection.setIpAddress(address);
    qDebug() << "new IP addr:" << address;
    if (toUnit) {
        const errorCode_e r = m_handler ? m_handler->writeIPAddress(address) : ERR_NOT_SUPPORTED;
        if (r != ERR_OK) {
            reportError(tr("Failed to set ip address! Errorcode: %1").arg(r));
            return r;
        }
    }
    emit ConfigConnectivitychanged(m_connection);
    return ERR_OK;
}

errorCode_e Confighandler::setSubnetMask(QHostAddress mask, bool toUnit)
{
    if (mask.protocol() != QAbstractSocket::IPv4Protocol)
        return ERR_INVALID_PARAM;
    m_connection.setSubnetMask(mask);
    if (toUnit) {
        const errorCode_e r = m_handler ? m_handler->writeNetmask(mask) : ERR_NOT_SUPPORTED;
        if (r != ERR_OK) {
            reportError(tr("Failed to set sub net mask! Errorcode: %1").arg(r));
            return r;
        }
    }
    emit ConfigConnectivitychanged(m_connection);
    return ERR_OK;
}

errorCode_e Confighandler::setNetworkSettings(QHostAddress address, QHostAddress mask, bool toUnit)
{
    if (address.protocol() != QAbstractSocket::IPv4Protocol || mask.protocol() != QAbstractSocket::IPv4Protocol)
        return ERR_INVALID_PARAM;
    m_connection.setIpAddress(address);
    m_connection.setSubnetMask(mask);
    if (toUnit) {
        errorCode_e r = m_handler ? m_handler->writeIPAddress(address) : ERR_NOT_SUPPORTED;
        if (r != ERR_OK) {
            reportError(tr("Failed to set ip Address! Errorcode: %1").arg(r));
            return r;
        }
        r = m_handler->writeNetmask(mask);
        if (r != ERR_OK) {
            reportError(tr("Failed to set sub net mask! Errorcode: %1").arg(r));
            return r;
        }
    }
    emit ConfigConnectivitychanged(m_connection);
    return ERR_OK;
}

// ---- save handshake ---------------------------------------------------------------------

void Confighandler::saveConfigOnDevice(bool reread)
{
    // Every save starts from a clean state; one still pending is given up
    // and announced as ended, so nobody keeps waiting for it.
    const bool wasWaiting = m_waitingForFeedback;
    resetSave();
    m_lastSaveSucceeded = false;
    if (wasWaiting)
        emit waitingForFeedbackFinished();

    if (!m_handler || !m_handler->isConnected()) {
        reportError(tr(kNotConnected));
        emit waitingForFeedbackFinished();
        return;
    }
    const uint32_t generation = m_saveGeneration;
    const errorCode_e r = m_handler->initConfigWrite();
    if (generation != m_saveGeneration)
        return;  // another save or a lost link overtook this one while it waited
    if (r != ERR_OK) {
        reportError(tr(kWriteInitFailed));
        emit waitingForFeedbackFinished();
        return;
    }
    m_waitingForFeedback = true;
    m_rereadAfterSave = reread;
    m_saveDeadline.start();
}

void Confighandler::resetSave()
{
    ++m_saveGeneration;
    m_save.reset();
    m_saveDeadline.stop();
    m_waitingForFeedback = false;
}

void Confighandler::endSave(bool failed)
{
    resetSave();
    m_lastSaveSucceeded = false;
    if (failed)
        reportError(tr(kWriteFailed));
    emit waitingForFeedbackFinished();
}

void Confighandler::lostconnection()
{
    // The record may belong to a unit that is gone: the next one must be
    // read (or a file loaded) before the record goes out again. A record
    // already unknown keeps the reason it is (a real unit's reset ends the
    // link as well).
    if (m_anybusKnown)
        setAnybusUnknown(AnybusOrigin::NotRead);
    if (m_waitingForFeedback)
        endSave(true);
}

void Confighandler::saveDeadlineExpired()
{
    if (m_waitingForFeedback) {
        qDebug() << "the unit did not finish the configuration save in time";
        endSave(true);
    }
}

void Confighandler::connectionsuccesfull(HearBeatMessage_t &states, QHostAddress sender)
{
    if (m_anybusKnown && !sender.isNull() && !m_anybusUnit.isEqual(sender, QHostAddress::ConvertV4MappedToIPv4)) {
        // Another unit answers: its record was never read.
        setAnybusUnknown(AnybusOrigin::NotRead);
    }
    TryLock lock(m_saveMutex);
    if (!lock.locked()) {
        // A step is waiting on the unit. While that step is the confirmation,
        // the unit may already report the save's failure (its answer can be
        // the one that was lost and retried); that report must not go unseen.
        if (m_confirmingGeneration != 0 && m_confirmingGeneration == m_saveGeneration)
            m_save.noteWhileConfirming(states.saveStatus);
        return;
    }
    if (!m_waitingForFeedback || !m_handler)
        return;
    // The record is the handler's own and changes with every report that
    // arrives while a step waits on the unit.
    const uint32_t generation = m_saveGeneration;

    const SaveHandshake::Step step = m_save.onHeartbeat(states.saveStatus, states.configModified != 0);
    switch (step) {
    case SaveHandshake::Step::None:
        return;
    case SaveHandshake::Step::Confirm: {
        m_confirmingGeneration = generation;
        const errorCode_e r = m_handler->executeConfigWrite();
        m_confirmingGeneration = 0;
        if (generation != m_saveGeneration)
            return;
        if (m_save.confirmed(r == ERR_OK) == SaveHandshake::Step::Fail)
            endSave(true);
        return;
    }
    case SaveHandshake::Step::Fail:
        endSave(true);
        return;
    case SaveHandshake::Step::EndQuietly:
        endSave(false);
        return;
    case SaveHandshake::Step::Succeed:
    case SaveHandshake::Step::SucceedModified:
        break;
    }
    // Success: the wait is over before any question or re-read, so a new
    // save may start from the pages meanwhile.
    const bool modified = step == SaveHandshake::Step::SucceedModified;
    resetSave();
    m_lastSaveSucceeded = true;
    reportSuccess(tr(kWriteSaved));

    bool reread = m_rereadAfterSave;
    if (modified) {
        const QStringList buttons{tr("No"), tr("Yes")};
        if (askQuestion(buttons, tr("Modified Config"),
                        tr("The Config was modified from the PPU! Do you want to refresh the Config from the "
                           "selected Device"),
                        kInformation)
            == 1)
            reread = true;
    }
    if (reread)
        rereadConfigFromDevice();
    emit waitingForFeedbackFinished();
}

void Confighandler::reportSaveResult(int32_t result)
{
    if (result < 0)
        reportError(tr("The Config Save Failed"));
    else
        reportSuccess(tr("The Config Save was successfull"));
}
