// Configuration files (".cfg") as the engineer imports them: the bytes
// through the block decoder, and the whole import into a configuration
// model. A refused file must leave the model exactly as it was; an accepted
// one must give back the same bytes when written again.
#include <QStringList>
#include <cstring>

#include "blobscrambler.h"
#include "configblob.h"
#include "configfile.h"
#include "confighandler.h"
#include "fuzzinput.h"

namespace {

struct Snapshot
{
    CFG_ConnectionParameters_struct connection;
    DeviceNameRecord deviceName;
    std::array<DeviceNameRecord, kChannelCount> channelNames;
    CFG_Device_Param_struct device;
    CFG_Blob_struct_sorted blob;
    Anybus_cfg anybus;

    static Snapshot of(const Confighandler &c)
    {
        Snapshot s;
        s.connection.setIpAddress(c.getIpAddress());
        s.connection.setSubnetMask(c.getSubnetMask());
        s.deviceName = c.deviceNameRecord();
        for (uint8_t ch = 0; ch < kChannelCount; ++ch)
            c.channelNameRecord(ch, s.channelNames[ch]);
        s.device = c.getDeviceConfig();
        s.blob = c.getConfigBlob();
        s.anybus = c.getAnybusCFG();
        return s;
    }
    bool operator==(const Snapshot &o) const
    {
        return connection == o.connection && deviceName == o.deviceName && channelNames == o.channelNames
               && device == o.device && blob == o.blob && anybus == o.anybus;
    }
};

bool sameBlobContent(const CFG_Blob_struct_sorted &a, const CFG_Blob_struct_sorted &b)
{
    for (int i = 0; i < kChannelCount; ++i) {
        if (std::memcmp(a.mapping(i).data(), b.mapping(i).data(), CFG_ChannelMapping_struct::kReservedOffset) != 0
            || std::memcmp(a.sensor(i).data(), b.sensor(i).data(), CFG_Sensor_struct::kReservedOffset) != 0)
            return false;
    }
    return a.referenceMac() == b.referenceMac();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzz::initQt();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), int(size));

    ConfigFileContent content;
    QString reason;
    const bool decoded = ConfigFile::decode(bytes, &content, &reason);
    FUZZ_CHECK(decoded || !reason.isEmpty());
    if (decoded)
        FUZZ_CHECK(ConfigFile::encode(content) == bytes);

    // The import into a model. Questions (different network settings) are
    // left unanswered, which keeps the model's settings.
    Confighandler model;
    int questions = 0;
    QObject::connect(&model,
                     qOverload<QStringList, QString, QString, int, int32_t *>(&Confighandler::printMessageboxwrapper),
                     [&questions](const QStringList &, const QString &, const QString &, int, int32_t *) {
                         ++questions;
                     });
    const Snapshot before = Snapshot::of(model);
    const errorCode_e r = model.loadConfigFile(fuzz::scratchFile(bytes, QStringLiteral("input.cfg")));
    const Snapshot after = Snapshot::of(model);
    FUZZ_CHECK((r == ERR_OK) == decoded);
    if (!decoded) {
        FUZZ_CHECK(after == before);
        FUZZ_CHECK(questions == 0);
        return 0;
    }
    FUZZ_CHECK(after.connection == before.connection);
    FUZZ_CHECK(after.deviceName == content.deviceName);
    FUZZ_CHECK(after.channelNames == content.channelNames);
    FUZZ_CHECK(after.anybus == content.anybus);
    FUZZ_CHECK(after.device == (content.device.valid() ? content.device : before.device));
    CFG_Blob_struct_sorted fileBlob;
    BlobScrambler::unscramble(content.scrambledBlob.data(), fileBlob.data());
    if (ConfigBlob::checkBlob(fileBlob))
        FUZZ_CHECK(after.blob == before.blob);
    else
        FUZZ_CHECK(sameBlobContent(after.blob, fileBlob) && !ConfigBlob::checkBlob(after.blob));
    return 0;
}
