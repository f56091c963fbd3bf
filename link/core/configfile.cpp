#include "configfile.h"

#include <QCoreApplication>
#include <QDebug>
#include <QFile>
#include <QSaveFile>
#include <cstring>

#include "byteorder.h"

namespace {

constexpr int kLengthSize = 4;

// A refusal's reason reaches the engineer after the error's own text, in
// the language of the program.
QString reasonText(const char *text)
{
    return QCoreApplication::translate("ConfigFile", text);
}

void setReason(QString *reason, const QString &text)
{
    if (reason)
        *reason = text;
}

void appendBlock(QByteArray &out, const uint8_t *data, int size)
{
    uint8_t length[kLengthSize];
    be::put32(length, uint32_t(size));
    out.append(reinterpret_cast<const char *>(length), kLengthSize);
    out.append(reinterpret_cast<const char *>(data), size);
}

// Everyone may read and write the file, as the tool has always left them.
const QFileDevice::Permissions kFilePermissions = QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                                  | QFileDevice::ReadUser | QFileDevice::WriteUser
                                                  | QFileDevice::ReadGroup | QFileDevice::WriteGroup
                                                  | QFileDevice::ReadOther | QFileDevice::WriteOther;

} // namespace

namespace ConfigFile {

const std::array<int, kBlockCount> &blockSizes()
{
    static const std::array<int, kBlockCount> sizes{{4, CFG_ConnectionParameters_struct::kSize, kNamesSize,
                                                     CFG_Device_Param_struct::kSize, CFG_Blob_struct_sorted::kSize,
                                                     Anybus_cfg::kSize}};
    return sizes;
}

QByteArray encode(const ConfigFileContent &content)
{
    QByteArray out;
    out.reserve(kFileSize);
    uint8_t version[4];
    le::put32(version, content.version);
    appendBlock(out, version, 4);
    appendBlock(out, content.connection.data(), CFG_ConnectionParameters_struct::kSize);

    QByteArray names;
    names.reserve(kNamesSize);
    names.append(content.deviceName.toBytes());
    for (const DeviceNameRecord &r : content.channelNames)
        names.append(r.toBytes());
    appendBlock(out, reinterpret_cast<const uint8_t *>(names.constData()), names.size());

    appendBlock(out, content.device.data(), CFG_Device_Param_struct::kSize);
    appendBlock(out, content.scrambledBlob.data(), CFG_Blob_struct_sorted::kSize);
    appendBlock(out, content.anybus.data(), Anybus_cfg::kSize);
    return out;
}

bool nameRecordAcceptable(const DeviceNameRecord &record, bool channelName, QString *reason)
{
    const uint8_t *p = record.data();
    const int length = p[DeviceNameRecord::kLengthOffset];
    if (length > DeviceNameRecord::kMaxTextBytes) {
        setReason(reason, reasonText("name longer than %1 bytes").arg(DeviceNameRecord::kMaxTextBytes));
        return false;
    }
    const QByteArray utf8(reinterpret_cast<const char *>(p), length);
    const QString text = QString::fromUtf8(utf8);
    if (text.toUtf8() != utf8) {
        setReason(reason, reasonText("name is not valid UTF-8"));
        return false;
    }
    if (channelName && (text.contains(QLatin1Char('"')) || text.contains(QLatin1Char(';')))) {
        setReason(reason, reasonText("channel name holds a double quote or a semicolon"));
        return false;
    }
    return true;
}

bool decode(const QByteArray &bytes, ConfigFileContent *out, QString *reason)
{
    const auto *p = reinterpret_cast<const uint8_t *>(bytes.constData());
    const int size = bytes.size();
    std::array<const uint8_t *, kBlockCount> blocks{};
    int offset = 0;
    for (int i = 0; i < kBlockCount; ++i) {
        if (size - offset < kLengthSize) {
            setReason(reason, reasonText("file ends before block %1").arg(i + 1));
            return false;
        }
        const uint32_t length = be::u32(p + offset);
        offset += kLengthSize;
        if (length != uint32_t(blockSizes()[size_t(i)])) {
            // A version block of another length is a file of another
            // version; every other block must have the size of its record.
            setReason(reason, i == 0 ? reasonText("unsupported file version")
                                     : reasonText("block %1 has %2 bytes instead of %3")
                                           .arg(i + 1)
                                           .arg(length)
                                           .arg(blockSizes()[size_t(i)]));
            return false;
        }
        if (uint32_t(size - offset) < length) {
            setReason(reason, reasonText("file ends inside block %1").arg(i + 1));
            return false;
        }
        blocks[size_t(i)] = p + offset;
        offset += int(length);
        if (i == 0) {
            const uint32_t version = le::u32(blocks[0]);
            if (version != kVersion) {
                setReason(reason, reasonText("unsupported file version %1").arg(version));
                return false;
            }
        }
    }
    if (offset != size) {
        setReason(reason, reasonText("%1 bytes after the last block").arg(size - offset));
        return false;
    }

    ConfigFileContent c;
    c.version = kVersion;
    c.connection.assignRaw(blocks[1]);
    c.deviceName = DeviceNameRecord::fromRaw(blocks[2]);
    for (int ch = 0; ch < kChannelCount; ++ch)
        c.channelNames[size_t(ch)] = DeviceNameRecord::fromRaw(blocks[2] + DeviceNameRecord::kSize * (ch + 1));
    c.device.assignRaw(blocks[3]);
    std::memcpy(c.scrambledBlob.data(), blocks[4], CFG_Blob_struct_sorted::kSize);
    c.anybus.assignRaw(blocks[5]);

    QString why;
    if (!nameRecordAcceptable(c.deviceName, false, &why)) {
        setReason(reason, reasonText("device name: ") + why);
        return false;
    }
    for (int ch = 0; ch < kChannelCount; ++ch) {
        if (!nameRecordAcceptable(c.channelNames[size_t(ch)], true, &why)) {
            setReason(reason, reasonText("name of channel %1: ").arg(ch + 1) + why);
            return false;
        }
    }
    if (out)
        *out = c;
    return true;
}

QString withExtension(const QString &name, const QString &extension)
{
    const QString trimmed = name.trimmed();
    if (trimmed.isEmpty())
        return trimmed;
    const QString suffix = QLatin1Char('.') + extension;
    if (trimmed.endsWith(suffix))
        return trimmed;
    return trimmed + suffix;
}

errorCode_e writeFile(const QString &path, const QByteArray &bytes, QString *reason)
{
    // The temporary file lives beside the target, so that replacing the
    // target is a rename within one file system and a failure at any point
    // leaves the old file untouched.
    QSaveFile file(path);
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly)) {
        setReason(reason, file.errorString());
        return ERR_INVALID_FILE;
    }
    qDebug() << "LOGFile access:" << QFile::permissions(path);
    if (file.write(bytes) != bytes.size()) {
        setReason(reason, file.errorString());
        file.cancelWriting();
        return ERR_FILE_WRITE;
    }
    file.setPermissions(kFilePermissions);
    qDebug() << "Tempfile access:" << file.permissions();
    if (!file.commit()) {
        setReason(reason, file.errorString());
        return ERR_FILE_WRITE;
    }
    QFile::setPermissions(path, kFilePermissions);
    return ERR_OK;
}

errorCode_e readFile(const QString &path, QByteArray *bytes, QString *reason)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        setReason(reason, file.errorString());
        return ERR_INVALID_FILE;
    }
    const QByteArray data = file.read(kFileSize + 1);
    if (file.error() != QFileDevice::NoError) {
        setReason(reason, file.errorString());
        return ERR_INVALID_FILE;
    }
    if (data.size() > kFileSize) {
        // Only one byte more was read; the size of the file is its own
        // (a pipe or device has none to tell).
        setReason(reason, file.isSequential()
                              ? reasonText("more bytes than a configuration file holds")
                              : reasonText("the file has %1 bytes, a configuration file %2")
                                    .arg(file.size())
                                    .arg(kFileSize));
        return ERR_INVALID_FILE;
    }
    if (bytes)
        *bytes = data;
    return ERR_OK;
}

} // namespace ConfigFile
