#pragma once

#include <QHostAddress>
#include <QMutex>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <array>
#include <cstdint>
#include <functional>

#include "configrecords.h"
#include "devicenamerecord.h"
#include "errordecode.h"
#include "savehandshake.h"

class EthernetHandler;
class FilterKoeff;
struct HearBeatMessage_t;

// The tool's single working copy of one unit's configuration: device and
// channel names, device block, configuration blob, network settings and the
// fieldbus block. Every change is validated first; an accepted one is
// announced by its change signal, a refused one leaves the copy as it was
// and is reported through the message signals. Lives on the GUI thread.
class Confighandler : public QObject
{
    Q_OBJECT
public:
    static constexpr uint32_t kConfigFileVersion = 2;

    explicit Confighandler(QObject *parent = nullptr);
    ~Confighandler() override;

    uint32_t configFileVersion() const { return m_configFileVersion; }
    QString configFileExtension() const { return m_configFileExtension; }

    // A save on the unit is pending until its heartbeats report the end.
    bool waitingForFeedback() const { return m_waitingForFeedback; }
    // Whether the last save on the unit ended confirmed by it; false while
    // one is pending and after one that failed or was given up.
    bool lastSaveSucceeded() const { return m_lastSaveSucceeded; }

    // Set after a configuration was read from the unit or loaded from a
    // file: the next device block validation warns once about enabled
    // channels without a reference value.
    bool warnMissingReferences() const { return m_warnMissingReferences; }
    void setWarnMissingReferences(bool warn) { m_warnMissingReferences = warn; }

    void setDefaultConfig();

    // The protocol client that moves the copy to and from the unit; set once
    // by the owner of both. Its connectionLost ends a pending save.
    void setEthernetHandler(EthernetHandler *handler);
    EthernetHandler *ethernetHandler() const { return m_handler; }

    // ---- device block
    CFG_Device_Param_struct getDeviceConfig() const { return m_deviceParams; }
    errorCode_e getDeviceConfig(CFG_Device_Param_struct &out) const;
    errorCode_e setDeviceConfig(CFG_Device_Param_struct block);

    // ---- blob
    CFG_Blob_struct_sorted getConfigBlob() const { return m_blob; }
    errorCode_e getConfigBlob(CFG_Blob_struct_sorted &out) const;
    // Index of the entry that holds the channel, 7 when none does.
    uint8_t channelEntryIndex(uint8_t channel) const;
    uint8_t sensorEntryIndex(uint8_t channel) const;
    static uint8_t channelEntryIndex(const CFG_Blob_struct_sorted &blob, uint8_t channel);
    static uint8_t sensorEntryIndex(const CFG_Blob_struct_sorted &blob, uint8_t channel);
    // The stored entry of the channel, 0; the default entry and -16 when no
    // entry holds it.
    errorCode_e channelEntry(uint8_t channel, CFG_ChannelMapping_struct &out) const;
    errorCode_e channelParams(uint8_t channel, CFG_Sensor_struct &out) const;
    // Gives the channel the entry's values (as a custom entry when custom is
    // set) and seals the result: 0, or -18 when it is not valid; -16 for a
    // channel above 6, with nothing changed.
    errorCode_e setChannelConfig(CFG_ChannelMapping_struct entry, uint8_t channel, bool custom);
    errorCode_e setSensorConfig(CFG_Sensor_struct entry, uint8_t channel, bool custom);
    // True when the blob is NOT valid; every invalid entry is reported.
    bool checkBlob(const CFG_Blob_struct_sorted &blob);
    // Renews filler and CRC and stores the blob when it is valid: 0 or -18.
    errorCode_e sealBlob(CFG_Blob_struct_sorted blob);
    // The channel's filter from its mapping entry: 0; -16 for a channel above
    // 6 or one that no entry holds (filter untouched).
    errorCode_e getChannelFilter(FilterKoeff &filter, uint8_t channel) const;

    // The blob as it travels. Each returns one static buffer of its own that
    // the next call of the same function overwrites: copy it at once.
    static const uint8_t *scrambleBlob(const CFG_Blob_struct_sorted &blob);
    static const CFG_Blob_struct_sorted *unscrambleBlob(const uint8_t *scrambled);

    // ---- fieldbus block
    Anybus_cfg getAnybusCFG() const { return m_anybus; }
    errorCode_e getAnybusCFG(Anybus_cfg &out) const;
    errorCode_e setAnybusCFG(Anybus_cfg cfg);
    // Whether the fieldbus record may be written to the connected unit, and
    // if not, why. It may once it was read from this unit or loaded from a
    // configuration file while this unit was connected, until the link is
    // lost, another unit answers or the unit's configuration is reset. Edits
    // keep the state; without it the record holds nothing of the unit's own
    // and a write would wipe the module's settings.
    enum class AnybusOrigin {
        Writable,
        NotRead,            // never read from this unit (or the link was lost since)
        UnitReset,          // read, but the unit was reset to defaults since
        NetworkReset,       // read, but the unit's network settings were reset since
        FileBeforeConnect,  // loaded from a file while this unit was not connected
        FileOfOtherUnit,    // loaded from a file of another unit: written only by the user's choice
    };
    AnybusOrigin anybusOrigin() const;
    bool anybusCFGWritable() const { return anybusOrigin() == AnybusOrigin::Writable; }
    // The MAC address (six bytes) of the unit the record was read from, or
    // of the unit whose configuration the file it was loaded from holds;
    // empty when it belongs to no known unit. With FileOfOtherUnit, the
    // connected unit's own as read when the file was loaded (empty when it
    // could not be read).
    QByteArray anybusMac() const { return m_anybusMac; }
    QByteArray anybusConnectedMac() const { return m_anybusConnectedMac; }
    // The fieldbus block an export carries: the record unless it is known
    // to belong to another unit than the one whose configuration the file
    // holds (the MAC address in the blob) or, while a unit is connected,
    // was not read from it; then the block of a unit whose record was never
    // read.
    Anybus_cfg anybusForExport() const;

    // ---- names
    errorCode_e setDevicename(const QString &name);
    errorCode_e setChannelname(const QString &name, uint8_t channel);
    QString deviceName() const;
    QString channelName(int channel) const;
    DeviceNameRecord deviceNameRecord() const { return m_deviceName; }
    errorCode_e channelNameRecord(uint8_t channel, DeviceNameRecord &out) const;
    static QString nameRecordToString(const DeviceNameRecord &record);
    // Why setDevicename or setChannelname refuses a name, in words for the
    // user; empty for a name it takes.
    static QString deviceNameProblem(const QString &name);
    static QString channelNameProblem(const QString &name);
    // Whether the channel's name goes to the unit with a write. Not after
    // its read failed (or brought a name the setters refuse): the name kept
    // then is not this unit's but an earlier unit's or the default, and the
    // unit keeps its own. Again once the name is read, typed or loaded from
    // a configuration file.
    bool channelNameWritable(uint8_t channel) const;
    // The same for the device name.
    bool deviceNameWritable() const { return !m_deviceNameUnread; }
    // The names (device, channels) a write leaves as they are on the unit,
    // in words for the engineer; empty when every name goes out.
    QString unreadNamesNote() const;

    // ---- network settings
    QHostAddress getIpAddress() const;
    QHostAddress getSubnetMask() const;
    // Store the values at once; with toUnit they are also written to the
    // unit (address before mask), and ConfigConnectivitychanged follows only
    // when every write succeeded. A non-IPv4 value is refused with -16 and
    // nothing changes.
    errorCode_e setIpAddress(QHostAddress address, bool toUnit = false);
    errorCode_e setSubnetMask(QHostAddress mask, bool toUnit = false);
    errorCode_e setNetworkSettings(QHostAddress address, QHostAddress mask, bool toUnit = false);

    // ---- the configuration on the unit
    // Opens a save on the unit (action 0x12); the heartbeats then drive it to
    // its end, which waitingForFeedbackFinished announces whatever the
    // outcome. reread: read the configuration back once the save succeeded.
    void saveConfigOnDevice(bool reread);
    // How long a save may stay unfinished while the unit keeps answering.
    void setSaveFeedbackTimeout(int ms) { m_saveDeadline.setInterval(ms); }
    // The whole configuration as the configuration pages move it: writes the
    // device configuration, the device name and the seven channel names,
    // stopping at the first failure, then opens the save (without re-read).
    errorCode_e writeConfigToDevice();
    // Reads the device name, the seven channel names and the device
    // configuration, going on after failures, each reported as an error.
    void rereadConfigFromDevice();

    // ---- configuration files
    // The file dialog lives with the widgets: it answers with the chosen
    // name (empty when cancelled). Without one the dialog forms cancel.
    using FileNameProvider =
        std::function<QString(bool forSaving, const QString &caption, const QString &filter)>;
    void setFileNameProvider(FileNameProvider provider) { m_fileNameProvider = std::move(provider); }
    // Ask for the name, then save or load; 0 also when cancelled.
    errorCode_e saveConfigFile();
    errorCode_e loadConfigFile();
    // The same for a given name ("." and the extension appended when
    // missing). A failed save leaves an existing file untouched; a refused
    // file (unreadable, of another version or size, damaged, or with names
    // the setters would refuse) gives -103 and changes nothing.
    errorCode_e saveConfigFile(const QString &fileName);
    errorCode_e loadConfigFile(const QString &fileName);
    // Why the last file operation failed, for the log.
    QString lastFileError() const { return m_lastFileError; }

    // ---- channel state; a channel above 6 gives false. The all-forms run
    // channels 0 to 6 and stop at the first false.
    bool channelEnabled(uint8_t channel) const;
    bool channelHasReference(uint8_t channel) const;
    bool channelSensorConfigured(uint8_t channel) const;
    bool channelMappingConfigured(uint8_t channel) const;
    bool allChannelsEnabled() const;
    bool allChannelsHaveReference() const;
    bool allChannelsSensorConfigured() const;
    bool allChannelsMappingConfigured() const;

    // False (and the channels named in an error) when an enabled channel
    // still has a default mapping or sensor entry.
    bool validateForSave();

    // Re-announces the whole copy so that pages restore their widgets.
    void emitConfigChanged();

    // Cuts a text to at most maximum characters, ending a cut one in " ...".
    static QString elideText(const QString &text, int maximum);

public slots:
    // Device transfers; results are errorCode_e values, the unit's own codes
    // passed through.
    errorCode_e readDevicename();
    errorCode_e readChannelname(uint8_t channelIndex);
    errorCode_e readCFGFieldbus();
    errorCode_e readCFGDevice();
    errorCode_e writeDevicename();
    errorCode_e writeChannelname(uint8_t channelIndex);
    errorCode_e writeCFGDevice();
    // After writeCFGDevice ended because the engineer answered a conflict
    // question with Cancel or No: what that means for the unit (stopped by
    // the choice; which values were already written and are not saved).
    // Empty after any other end.
    QString writeStoppedNote() const { return m_writeStoppedNote; }
    // Advances a pending save, one step per heartbeat answer; the main
    // window connects EthernetHandler::connectionPing to it (once).
    void connectionsuccesfull(HearBeatMessage_t &states, QHostAddress sender);
    // A lost link ends a pending save as failed.
    void lostconnection();
    // The unit's configuration was reset: its fieldbus record must be read
    // again before one goes out.
    void unitConfigurationReset();
    // The network settings of the unit with this MAC address were reset;
    // the same for its fieldbus record.
    void unitNetworkSettingsReset(QByteArray mac);
    // Shows the outcome of a save the caller ran itself.
    void reportSaveResult(int32_t result);

signals:
    void waitingForFeedbackFinished();
    void ConfigBlobchanged(CFG_Blob_struct_sorted blob);
    void ConfigDevicechanged(CFG_Device_Param_struct newcfgentry);
    void AnybusCFGchanged(Anybus_cfg cfg);
    // Whether the fieldbus record may be written to the connected unit, or
    // why not, has changed.
    void AnybusOriginchanged();
    void ConfigConnectivitychanged(CFG_ConnectionParameters_struct newcfgentry);
    void Devicenamechanged(QString newdevicename);
    void Channelnamechanged(QString newchannelname, uint8_t channelindex);

    // kind is a QMessageBox::Icon value; answer receives the index of the
    // clicked button (-1 when the box was closed). Connected only through
    // connectReply: the answer is read right after the emit.
    void printMessageboxwrapper(QStringList buttons, QString title, QString message, int kind, int32_t *answer);
    void printMessageboxwrapper(QStringList buttons, QString title, QString message, int kind);
    void printNotifyBarErrorwrapper(QString message, bool sendErrorReset, bool showGoToLog);
    void printNotifyBarSuccesswrapper(QString message, uint32_t timeMs);
    void printNotifyBarSuccesswrapper(QString message);

private:
    bool validateDeviceConfig(const CFG_Device_Param_struct &block);
    int32_t askQuestion(const QStringList &buttons, const QString &title, const QString &message, int kind);
    void reportSuccess(const QString &message);
    // Forgets a pending save: the handshake back at its start, the deadline
    // stopped, no longer waiting; a step still waiting on the unit sees by
    // the generation that it was overtaken.
    void resetSave();
    // Ends a pending save: resets it, shows the failure when there is one
    // and announces the end.
    void endSave(bool failed);
    void saveDeadlineExpired();
    errorCode_e writeConfigFile(const QString &fileName);
    errorCode_e applyConfigFile(const QString &fileName);
    void reportError(const QString &message);
    // The fieldbus record's origin: known for the unit that answers now,
    // or unknown and why; each announces a change.
    void setAnybusKnown(bool foreign);
    void setAnybusUnknown(AnybusOrigin why);
    // Takes the origin of a fieldbus block loaded from a file whose blob is
    // `fileBlob` (already stored as the record).
    void takeFileAnybusOrigin(const CFG_Blob_struct_sorted &fileBlob);
    // The six bytes of the connected unit's MAC address.
    errorCode_e readUnitMac(QByteArray &mac);
    void storeName(DeviceNameRecord &record, const QString &name);

    uint32_t m_configFileVersion = kConfigFileVersion;
    QString m_configFileExtension = QStringLiteral("cfg");
    bool m_waitingForFeedback = false;
    bool m_rereadAfterSave = false;
    bool m_lastSaveSucceeded = false;
    CFG_ConnectionParameters_struct m_connection;
    DeviceNameRecord m_deviceName;
    std::array<DeviceNameRecord, kChannelCount> m_channelNames;
    // Set where the channel name's last read failed: the name kept is not
    // the unit's own and is not written to it.
    std::array<bool, kChannelCount> m_channelNameUnread{};
    bool m_deviceNameUnread = false;
    CFG_Device_Param_struct m_deviceParams;
    CFG_Blob_struct_sorted m_blob;
    Anybus_cfg m_anybus;
    // Where the fieldbus record came from: known once read from a unit or
    // loaded from a file while it was connected, with the unit it belongs
    // to; else why it is not known.
    bool m_anybusKnown = false;
    QHostAddress m_anybusUnit;
    AnybusOrigin m_anybusUnknownWhy = AnybusOrigin::NotRead;
    // Known, but loaded from a file of another unit (or of none named).
    bool m_anybusForeign = false;
    QByteArray m_anybusMac;
    QByteArray m_anybusConnectedMac;
    bool m_warnMissingReferences = false;

    EthernetHandler *m_handler = nullptr;
    // Save handshake: its steps, a generation that every new save or lost
    // link advances (so a step that waited on the unit can tell it was
    // overtaken), the deadline of a save the unit never finishes, and the
    // lock that keeps a second heartbeat out while a step waits.
    SaveHandshake m_save;
    uint32_t m_saveGeneration = 0;
    // The generation of the save whose confirmation is waiting on the unit,
    // 0 while none is.
    uint32_t m_confirmingGeneration = 0;
    QTimer m_saveDeadline;
    QMutex m_saveMutex;

    FileNameProvider m_fileNameProvider;
    QString m_lastFileError;
    QString m_writeStoppedNote;
};
