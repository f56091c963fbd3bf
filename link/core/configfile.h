#pragma once

#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>

#include "configrecords.h"
#include "devicenamerecord.h"
#include "errordecode.h"

// Everything a configuration file holds, as the records the model keeps.
// The blob stays in its scrambled form here: scrambling is the model's
// business, the file only carries the 512 bytes.
struct ConfigFileContent
{
    uint32_t version = 0;
    CFG_ConnectionParameters_struct connection;
    DeviceNameRecord deviceName;
    std::array<DeviceNameRecord, kChannelCount> channelNames;
    CFG_Device_Param_struct device;
    std::array<uint8_t, CFG_Blob_struct_sorted::kSize> scrambledBlob{};
    Anybus_cfg anybus;
};

// The configuration file format: six blocks, each a big-endian u32 length
// followed by that many bytes (the byte-array form of a default QDataStream):
// version (4), network settings (16), device and channel names (8 x 256),
// device block (64), scrambled blob (512), fieldbus block (567).
namespace ConfigFile {

constexpr uint32_t kVersion = 2;
constexpr int kBlockCount = 6;
constexpr int kNamesSize = DeviceNameRecord::kSize * (1 + kChannelCount);  // 2048
constexpr int kFileSize = 4 * kBlockCount + 4 + CFG_ConnectionParameters_struct::kSize + kNamesSize
                          + CFG_Device_Param_struct::kSize + CFG_Blob_struct_sorted::kSize + Anybus_cfg::kSize;
static_assert(kFileSize == 3235, "a configuration file is 3235 bytes");

// The block sizes in file order.
const std::array<int, kBlockCount> &blockSizes();

// The file's bytes, always kFileSize of them.
QByteArray encode(const ConfigFileContent &content);

// Reads a file's bytes into *out. Every length is checked against the bytes
// that remain before anything is read, and the file is taken only as a whole:
// any other size, a block of another length, a version other than 2 or a
// name the model would refuse gives false with the reason, and *out is left
// as it was.
bool decode(const QByteArray &bytes, ConfigFileContent *out, QString *reason = nullptr);

// The rules the name setters apply, for names that arrive any other way:
// at most 250 UTF-8 bytes, valid UTF-8, and for channel names no double
// quote or semicolon. False with the reason when the record breaks one.
bool nameRecordAcceptable(const DeviceNameRecord &record, bool channelName, QString *reason = nullptr);

// The file name as the engineer typed it, trimmed, with "." and the
// extension appended when it does not already end with it. Empty stays empty.
QString withExtension(const QString &name, const QString &extension);

// Writes bytes to path through a temporary file in the target's own folder
// that replaces the target only once it is complete; on any failure the old
// file stays as it was. -103 when the temporary file cannot be created, -102
// when writing or replacing fails; the reason goes to *reason.
errorCode_e writeFile(const QString &path, const QByteArray &bytes, QString *reason = nullptr);

// Reads at most one byte more than a configuration file holds, so that an
// oversized file is recognised without loading all of it. -103 when the file
// cannot be opened or read, or holds more than a configuration file (the
// reason names its size).
errorCode_e readFile(const QString &path, QByteArray *bytes, QString *reason = nullptr);

} // namespace ConfigFile
