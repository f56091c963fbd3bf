// Exporting the configuration copy to a file and importing it again.
#include "confighandler.h"
#include "ethernethandler.h"

#include "configfile.h"

#include <QDebug>
#include <cstring>

errorCode_e Confighandler::saveConfigFile()
{
    if (!validateForSave())
        return ERR_INVALID_CONFIG;
    if (!m_fileNameProvider) {
        qWarning() << "no file dialog installed: the configuration was not saved";
        return ERR_OK;
    }
    const QString name = m_fileNameProvider(true, tr("Select Filename"), QStringLiteral("*.") + m_configFileExtension);
    if (name.trimmed().isEmpty())
        return ERR_OK;
    return writeConfigFile(name);
}

errorCode_e Confighandler::saveConfigFile(const QString &fileName)
{
    if (!validateForSave())
        return ERR_INVALID_CONFIG;
    if (fileName.trimmed().isEmpty())
        return ERR_OK;
    return writeConfigFile(fileName);
}

errorCode_e Confighandler::writeConfigFile(const QString &fileName)
{
    m_lastFileError.clear();
    const QString path = ConfigFile::withExtension(fileName, m_configFileExtension);

    ConfigFileContent content;
    content.version = m_configFileVersion;
    content.connection = m_connection;
    content.deviceName = m_deviceName;
    for (int ch = 0; ch < kChannelCount; ++ch)
        content.channelNames[size_t(ch)] = m_channelNames[size_t(ch)];
    content.device = m_deviceParams;
    std::memcpy(content.scrambledBlob.data(), scrambleBlob(m_blob), content.scrambledBlob.size());
    // A record of another unit is not saved as this configuration's.
    content.anybus = anybusForExport();

    const errorCode_e r = ConfigFile::writeFile(path, ConfigFile::encode(content), &m_lastFileError);
    if (r != ERR_OK)
        qWarning() << "saving the configuration to" << path << "failed:" << m_lastFileError;
    else if (content.anybus != m_anybus)
        reportError(tr("The file was saved without the fieldbus configuration: the one on the fieldbus page was "
                       "not read from the unit whose configuration the file holds. To save it too, connect to "
                       "that unit, click \"Read Fieldbus Configuration\" and export again."));
    return r;
}

errorCode_e Confighandler::loadConfigFile()
{
    if (!m_fileNameProvider) {
        qWarning() << "no file dialog installed: no configuration was loaded";
        return ERR_OK;
    }
    const QString name =
        m_fileNameProvider(false, tr("Select Filename"), QStringLiteral("*.") + m_configFileExtension);
    return loadConfigFile(name);
}

errorCode_e Confighandler::loadConfigFile(const QString &fileName)
{
    m_lastFileError.clear();
    const QString path = ConfigFile::withExtension(fileName, m_configFileExtension);
    if (path.isEmpty())
        return ERR_OK;
    const errorCode_e r = applyConfigFile(path);
    if (r != ERR_OK)
        qWarning() << "loading the configuration from" << path << "failed:" << m_lastFileError;
    return r;
}

errorCode_e Confighandler::applyConfigFile(const QString &path)
{
    qDebug() << "Open File: " << path;
    QByteArray bytes;
    errorCode_e r = ConfigFile::readFile(path, &bytes, &m_lastFileError);
    if (r != ERR_OK)
        return r;
    // The whole file is checked before anything of it is taken, so a refused
    // file leaves the copy exactly as it was.
    ConfigFileContent content;
    if (!ConfigFile::decode(bytes, &content, &m_lastFileError))
        return ERR_INVALID_FILE;

    if (content.connection != m_connection) {
        const QStringList buttons{tr("Keep Parameters"), tr("Overwrite Parameters")};
        int32_t answer = -1;
        emit printMessageboxwrapper(buttons, tr("Different Connection Parameters detected"),
                                    tr("Do you want to overwrite and save the Connection Parameters of the "
                                       "Device?\n Otherwise the current parameters are not changed!"),
                                    1, &answer);
        if (answer == 1) {
            // The bytes after address and mask come with the file as well.
            std::memcpy(m_connection.data() + 8, content.connection.data() + 8,
                        CFG_ConnectionParameters_struct::kSize - 8);
            // Each step reports its own failure; the load goes on.
            setIpAddress(content.connection.ipAddress(), true);
            setSubnetMask(content.connection.subnetMask(), true);
            saveConfigOnDevice(false);
        }
    }

    m_deviceName = content.deviceName;
    for (int ch = 0; ch < kChannelCount; ++ch)
        m_channelNames[size_t(ch)] = content.channelNames[size_t(ch)];
    // The engineer chose these names for the unit.
    m_channelNameUnread.fill(false);
    m_deviceNameUnread = false;

    // Only a block that will be taken arms the missing-reference warning; a
    // refused one is reported by the validation alone and must not leave the
    // warning armed for some later, unrelated change.
    if (content.device.valid())
        m_warnMissingReferences = true;
    setDeviceConfig(content.device);

    CFG_Blob_struct_sorted blob;
    blob.assignRaw(unscrambleBlob(content.scrambledBlob.data())->data());
    if (!checkBlob(blob))
        sealBlob(blob);

    setAnybusCFG(content.anybus);
    takeFileAnybusOrigin(blob);
    emitConfigChanged();
    return ERR_OK;
}
