#include "confighandler.h"

#include "blobscrambler.h"
#include "configblob.h"
#include "ethernethandler.h"
#include "filterkoeff.h"

#include <QCoreApplication>
#include <QDebug>
#include <QTime>
#include <cstring>

namespace {

const char *const kInvalidCommon =
    QT_TRANSLATE_NOOP("Confighandler", "Detected invalid Device Common Config! Config ignored.");
const char *const kInvalidChannel =
    QT_TRANSLATE_NOOP("Confighandler", "Detected invalid Device Channel Config! Config ignored.");
const char *const kInvalidDevice = QT_TRANSLATE_NOOP("Confighandler", "Detected invalid Device Config! Config ignored.");
const char *const kMissingReferences =
    QT_TRANSLATE_NOOP("Confighandler", "There were no valid Reference values found for the following channels: ");
const char *const kDefaultChannels = QT_TRANSLATE_NOOP(
    "Confighandler", "Found active Channel with default config! Deactivate the Channels or configure them. ");
const char *const kNameSeparator = " | ";

// Channel names head the columns of the measurement export, which is
// separated by semicolons and has no quoting.
bool hasForbiddenChannelCharacter(const QString &name)
{
    return name.contains(QLatin1Char('"')) || name.contains(QLatin1Char(';'));
}

unsigned timeOfDaySeed()
{
    return unsigned(QTime::currentTime().msecsSinceStartOfDay());
}

} // namespace

// A save the unit never finishes while it keeps answering ends after this.
constexpr int kSaveFeedbackTimeoutMs = 120000;

Confighandler::Confighandler(QObject *parent)
    : QObject(parent)
{
    m_saveDeadline.setSingleShot(true);
    m_saveDeadline.setInterval(kSaveFeedbackTimeoutMs);
    connect(&m_saveDeadline, &QTimer::timeout, this, &Confighandler::saveDeadlineExpired);
    setDefaultConfig();
}

Confighandler::~Confighandler() = default;

void Confighandler::setDefaultConfig()
{
    m_connection = CFG_ConnectionParameters_struct();
    m_connection.setIpAddress(QHostAddress(QStringLiteral("192.168.0.100")));
    m_connection.setSubnetMask(QHostAddress(QStringLiteral("255.255.255.0")));

    m_deviceParams = CFG_Device_Param_struct();
    m_deviceParams.setDebounceTime(1);
    m_deviceParams.setOutputSelect(2);
    m_deviceParams.setOutputInversion(1);
    m_deviceParams.setChannelEnableMask(0x7F);
    for (int ch = 0; ch < kChannelCount; ++ch) {
        m_deviceParams.setScale(ch, 7200);
        m_deviceParams.setThreshold(ch, 20);
        m_deviceParams.setReferenceSkw(ch, -1);
    }

    m_deviceName.setText(QStringLiteral("Korvantis"));
    for (int ch = 0; ch < kChannelCount; ++ch)
        m_channelNames[size_t(ch)].setText(QStringLiteral("Channel %1").arg(ch + 1));
    m_channelNameUnread.fill(false);
    m_deviceNameUnread = false;

    m_anybus = Anybus_cfg();
    m_anybusUnit = QHostAddress();
    m_anybusMac.clear();
    m_anybusConnectedMac.clear();
    setAnybusUnknown(AnybusOrigin::NotRead);

    sealBlob(ConfigBlob::defaultBlob(timeOfDaySeed()));
}

// ---- device block -------------------------------------------------------------

errorCode_e Confighandler::getDeviceConfig(CFG_Device_Param_struct &out) const
{
    out = m_deviceParams;
    return ERR_OK;
}

errorCode_e Confighandler::setDeviceConfig(CFG_Device_Param_struct block)
{
    if (!validateDeviceConfig(block))
        return ERR_INVALID_CONFIG;
    m_deviceParams = block;
    emit ConfigDevicechanged(m_deviceParams);
    return ERR_OK;
}

bool Confighandler::validateDeviceConfig(const CFG_Device_Param_struct &block)
{
    bool valid = true;
    if (!block.commonFieldsValid()) {
        reportError(tr(kInvalidCommon));
        valid = false;
    }
    QStringList missing;
    for (int ch = 0; ch < kChannelCount; ++ch) {
        if (block.channelEnabled(ch) && block.referenceSkw(ch) < 0)
            missing << channelName(ch);
        if (!block.channelFieldsValid(ch)) {
            reportError(tr(kInvalidChannel));
            valid = false;
        }
    }
    if (!missing.isEmpty() && m_warnMissingReferences) {
        reportError(tr(kMissingReferences) + missing.join(QLatin1String(kNameSeparator)));
        m_warnMissingReferences = false;
    }
    if (!valid)
        reportError(tr(kInvalidDevice));
    return valid;
}

// ---- blob ---------------------------------------------------------------------

errorCode_e Confighandler::getConfigBlob(CFG_Blob_struct_sorted &out) const
{
    out = m_blob;
    return ERR_OK;
}

uint8_t Confighandler::channelEntryIndex(uint8_t channel) const
{
    return ConfigBlob::mappingEntryIndex(m_blob, channel);
}

uint8_t Confighandler::sensorEntryIndex(uint8_t channel) const
{
    return ConfigBlob::sensorEntryIndex(m_blob, channel);
}

uint8_t Confighandler::channelEntryIndex(const CFG_Blob_struct_sorted &blob, uint8_t channel)
{
    return ConfigBlob::mappingEntryIndex(blob, channel);
}

uint8_t Confighandler::sensorEntryIndex(const CFG_Blob_struct_sorted &blob, uint8_t channel)
{
    return ConfigBlob::sensorEntryIndex(blob, channel);
}

errorCode_e Confighandler::channelEntry(uint8_t channel, CFG_ChannelMapping_struct &out) const
{
    const uint8_t i = channelEntryIndex(channel);
    if (i == kNoEntry) {
        out = ConfigBlob::defaultMappingEntry();
        return ERR_INVALID_PARAM;
    }
    out = m_blob.mapping(i);
    return ERR_OK;
}

errorCode_e Confighandler::channelParams(uint8_t channel, CFG_Sensor_struct &out) const
{
    const uint8_t i = sensorEntryIndex(channel);
    if (i == kNoEntry) {
        out = ConfigBlob::defaultSensorEntry();
        return ERR_INVALID_PARAM;
    }
    out = m_blob.sensor(i);
    return ERR_OK;
}

errorCode_e Confighandler::setChannelConfig(CFG_ChannelMapping_struct entry, uint8_t channel, bool custom)
{
    if (channel >= kChannelCount)
        return ERR_INVALID_PARAM;
    if (custom)
        entry.setId(0);
    CFG_Blob_struct_sorted copy = m_blob;
    ConfigBlob::replaceMappingEntry(copy, entry, channel);
    return sealBlob(copy);
}

errorCode_e Confighandler::setSensorConfig(CFG_Sensor_struct entry, uint8_t channel, bool custom)
{
    if (channel >= kChannelCount)
        return ERR_INVALID_PARAM;
    if (custom)
        entry.setId(0);
    CFG_Blob_struct_sorted copy = m_blob;
    ConfigBlob::replaceSensorEntry(copy, entry, channel);
    return sealBlob(copy);
}

bool Confighandler::checkBlob(const CFG_Blob_struct_sorted &blob)
{
    QStringList messages;
    const bool invalid = ConfigBlob::checkBlob(blob, &messages);
    // The blob checks give the texts in English; they are shown translated.
    for (const QString &m : qAsConst(messages))
        reportError(tr(m.toUtf8().constData()));
    return invalid;
}

errorCode_e Confighandler::sealBlob(CFG_Blob_struct_sorted blob)
{
    ConfigBlob::seal(blob, timeOfDaySeed());
    if (checkBlob(blob)) {
        qDebug() << "Invalid Config detected! Config ignored";
        return ERR_INVALID_CONFIG;
    }
    m_blob = blob;
    emit ConfigBlobchanged(m_blob);
    return ERR_OK;
}

errorCode_e Confighandler::getChannelFilter(FilterKoeff &filter, uint8_t channel) const
{
    const uint8_t i = channelEntryIndex(channel);
    if (i == kNoEntry)
        return ERR_INVALID_PARAM;
    const CFG_ChannelMapping_struct entry = m_blob.mapping(i);
    QVector<qint16> q15;
    q15.reserve(CFG_ChannelMapping_struct::kCoefficientCount);
    for (int k = 0; k < CFG_ChannelMapping_struct::kCoefficientCount; ++k)
        q15 << entry.coefficient(k);
    filter.setFixedKoeffs(q15);
    filter.setPostShift(entry.postShift());
    return ERR_OK;
}

const uint8_t *Confighandler::scrambleBlob(const CFG_Blob_struct_sorted &blob)
{
    static uint8_t buffer[CFG_Blob_struct_sorted::kSize];
    BlobScrambler::scramble(blob.data(), buffer);
    return buffer;
}

const CFG_Blob_struct_sorted *Confighandler::unscrambleBlob(const uint8_t *scrambled)
{
    static CFG_Blob_struct_sorted buffer;
    BlobScrambler::unscramble(scrambled, buffer.data());
    return &buffer;
}

// ---- fieldbus block ---------------------------------------------------------

errorCode_e Confighandler::getAnybusCFG(Anybus_cfg &out) const
{
    out = m_anybus;
    return ERR_OK;
}

errorCode_e Confighandler::setAnybusCFG(Anybus_cfg cfg)
{
    m_anybus = cfg;
    emit AnybusCFGchanged(m_anybus);
    return ERR_OK;
}

Confighandler::AnybusOrigin Confighandler::anybusOrigin() const
{
    // Whether the unit answers is the write's own business; a lost link has
    // already cleared the state.
    if (!m_anybusKnown || !m_handler)
        return m_anybusUnknownWhy;
    if (!m_anybusUnit.isEqual(m_handler->targetAddress(), QHostAddress::ConvertV4MappedToIPv4))
        return AnybusOrigin::NotRead;
    return m_anybusForeign ? AnybusOrigin::FileOfOtherUnit : AnybusOrigin::Writable;
}

void Confighandler::unitConfigurationReset()
{
    if (!m_anybusKnown)
        return;
    setAnybusUnknown(AnybusOrigin::UnitReset);
}

// ---- names ----------------------------------------------------------------------

// The record keeps its length at byte 250, so 250 UTF-8 bytes is the most a
// name can hold; a longer one is refused rather than cut.
errorCode_e Confighandler::setDevicename(const QString &name)
{
    if (!deviceNameProblem(name).isEmpty())
        return ERR_INVALID_PARAM;
    storeName(m_deviceName, name);
    m_deviceNameUnread = false;
    emit Devicenamechanged(name);
    return ERR_OK;
}

errorCode_e Confighandler::setChannelname(const QString &name, uint8_t channel)
{
    if (channel >= kChannelCount)
        return ERR_INVALID_PARAM;
    if (hasForbiddenChannelCharacter(name))
        return ERR_NOT_SUPPORTED;
    if (DeviceNameRecord::utf8Size(name) > DeviceNameRecord::kMaxTextBytes)
        return ERR_DATA_SIZE;
    storeName(m_channelNames[channel], name);
    m_channelNameUnread[channel] = false;
    emit Channelnamechanged(name, channel);
    return ERR_OK;
}

bool Confighandler::channelNameWritable(uint8_t channel) const
{
    return channel < kChannelCount && !m_channelNameUnread[channel];
}

QString Confighandler::unreadNamesNote() const
{
    QStringList notes;
    if (m_deviceNameUnread)
        notes << tr("The device name was not written: it could not be read from this unit, so the name shown is "
                    "not the unit's own, and the unit keeps its name. A name typed for the device is written.");
    QStringList channels;  // counted from 1, as the pages show them
    for (uint8_t ch = 0; ch < kChannelCount; ++ch)
        if (m_channelNameUnread[ch])
            channels << QString::number(ch + 1);
    if (channels.size() == 1)
        notes << tr("The name of channel %1 was not written: it could not be read from this unit, so the name "
                    "shown is not the unit's own, and the unit keeps its name. A name typed for the channel is "
                    "written.")
                     .arg(channels.first());
    else if (channels.size() > 1)
        notes << tr("The names of channels %1 were not written: they could not be read from this unit, so the "
                    "names shown are not the unit's own, and the unit keeps its names. A name typed for a channel "
                    "is written.")
                     .arg(channels.join(QStringLiteral(", ")));
    return notes.join(QLatin1Char(' '));
}

QString Confighandler::deviceNameProblem(const QString &name)
{
    const int bytes = DeviceNameRecord::utf8Size(name);
    if (bytes > DeviceNameRecord::kMaxTextBytes)
        return tr("The device name was not changed: it has %1 bytes in UTF-8, at most %2 are possible.")
            .arg(bytes)
            .arg(DeviceNameRecord::kMaxTextBytes);
    return QString();
}

QString Confighandler::channelNameProblem(const QString &name)
{
    if (hasForbiddenChannelCharacter(name))
        return tr("The channel name was not changed: it must not contain a semicolon (;) or a double quote (\").");
    const int bytes = DeviceNameRecord::utf8Size(name);
    if (bytes > DeviceNameRecord::kMaxTextBytes)
        return tr("The channel name was not changed: it has %1 bytes in UTF-8, at most %2 are possible.")
            .arg(bytes)
            .arg(DeviceNameRecord::kMaxTextBytes);
    return QString();
}

void Confighandler::storeName(DeviceNameRecord &record, const QString &name)
{
    record = DeviceNameRecord();
    record.setText(name);
}

QString Confighandler::deviceName() const
{
    return m_deviceName.text();
}

QString Confighandler::channelName(int channel) const
{
    if (channel < 0 || channel >= kChannelCount)
        return QString();
    return m_channelNames[size_t(channel)].text();
}

errorCode_e Confighandler::channelNameRecord(uint8_t channel, DeviceNameRecord &out) const
{
    if (channel >= kChannelCount)
        return ERR_INVALID_PARAM;
    out = m_channelNames[channel];
    return ERR_OK;
}

QString Confighandler::nameRecordToString(const DeviceNameRecord &record)
{
    return record.text();
}

// ---- network settings -------------------------------------------------------------

QHostAddress Confighandler::getIpAddress() const
{
    return m_connection.ipAddress();
}

QHostAddress Confighandler::getSubnetMask() const
{
    return m_connection.subnetMask();
}

// ---- channel state ------------------------------------------------------------------

bool Confighandler::channelEnabled(uint8_t channel) const
{
    return m_deviceParams.channelEnabled(channel);
}

bool Confighandler::channelHasReference(uint8_t channel) const
{
    if (channel >= kChannelCount)
        return false;
    return !channelEnabled(channel) || m_deviceParams.referenceSkw(channel) >= 0;
}

bool Confighandler::channelSensorConfigured(uint8_t channel) const
{
    if (channel >= kChannelCount)
        return false;
    if (!channelEnabled(channel))
        return true;
    const uint8_t i = sensorEntryIndex(channel);
    return i != kNoEntry && m_blob.sensor(i).id() >= 1;
}

bool Confighandler::channelMappingConfigured(uint8_t channel) const
{
    if (channel >= kChannelCount)
        return false;
    if (!channelEnabled(channel))
        return true;
    const uint8_t i = channelEntryIndex(channel);
    return i != kNoEntry && m_blob.mapping(i).id() >= 1;
}

namespace {
template<typename Query>
bool forAllChannels(Query q)
{
    for (uint8_t ch = 0; ch < kChannelCount; ++ch) {
        if (!q(ch))
            return false;
    }
    return true;
}
} // namespace

bool Confighandler::allChannelsEnabled() const
{
    return forAllChannels([this](uint8_t ch) { return channelEnabled(ch); });
}

bool Confighandler::allChannelsHaveReference() const
{
    return forAllChannels([this](uint8_t ch) { return channelHasReference(ch); });
}

bool Confighandler::allChannelsSensorConfigured() const
{
    return forAllChannels([this](uint8_t ch) { return channelSensorConfigured(ch); });
}

bool Confighandler::allChannelsMappingConfigured() const
{
    return forAllChannels([this](uint8_t ch) { return channelMappingConfigured(ch); });
}

bool Confighandler::validateForSave()
{
    QStringList defaults;
    for (uint8_t ch = 0; ch < kChannelCount; ++ch) {
        if (!channelEnabled(ch))
            continue;
        const uint8_t m = channelEntryIndex(ch);
        const uint8_t s = sensorEntryIndex(ch);
        const bool mappingDefault = m == kNoEntry || m_blob.mapping(m).id() < 0;
        const bool sensorDefault = s == kNoEntry || m_blob.sensor(s).id() < 0;
        if (mappingDefault || sensorDefault)
            defaults << channelName(ch);
    }
    if (defaults.isEmpty())
        return true;
    reportError(tr(kDefaultChannels) + defaults.join(QLatin1String(kNameSeparator)));
    return false;
}

void Confighandler::emitConfigChanged()
{
    emit ConfigBlobchanged(m_blob);
    emit ConfigConnectivitychanged(m_connection);
    emit ConfigDevicechanged(m_deviceParams);
    emit Devicenamechanged(deviceName());
    for (uint8_t ch = 0; ch < kChannelCount; ++ch)
        emit Channelnamechanged(channelName(ch), ch);
}

QString Confighandler::elideText(const QString &text, int maximum)
{
    const QString suffix = QCoreApplication::translate("Confighandler", " ...");
    const int keep = maximum - suffix.size();
    if (text.size() <= keep)
        return text;
    // A maximum too small for the suffix still must not be exceeded.
    if (keep <= 0)
        return text.left(qMax(maximum, 0));
    return text.left(keep) + suffix;
}

void Confighandler::reportError(const QString &message)
{
    emit printNotifyBarErrorwrapper(message, false, false);
}
