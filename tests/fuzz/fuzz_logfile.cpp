// Binary LOG files as the engineer opens them: the file through its reader,
// which must refuse a damaged file with a reason and change nothing, or
// read the whole records of one cut inside its records with a note, and an
// accepted file through the entry tree and written again, which must read
// back the same, whole (the second writing gives the same bytes as the
// first).
#include "fuzzinput.h"
#include "logentry.h"
#include "logentryinfo.h"
#include "logfile.h"
#include "versioninfo.h"

namespace {

// The file form of a log: the information entry and one entry per record
// that is not erased, as the log handler builds the tree.
QByteArray written(const QVector<LogRecord> &records, const VersionInfo &info, QVector<LogRecord> *kept)
{
    LogEntryBase root;
    root.appendNew<LogEntryinfo>(info, &root);
    kept->clear();
    for (const LogRecord &r : records) {
        if (r.isErased())
            continue;
        root.appendNew<LogEntry>(r, &root);
        *kept << r;
    }
    return LogFile::toBytes(info, root);
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
    LogRecord marker;
    marker.bytes.fill(0x5A);
    QVector<LogRecord> records{marker};
    VersionInfo info;
    info.setHostInfo({QStringLiteral("unchanged")});
    QString error, warning;
    if (!LogFile::read(bytes, &records, &info, &error, &warning)) {
        FUZZ_CHECK(!error.isEmpty());
        FUZZ_CHECK(warning.isEmpty());
        FUZZ_CHECK(records.size() == 1 && records.first() == marker);
        FUZZ_CHECK(info.hostInfo() == QStringList{QStringLiteral("unchanged")});
        return 0;
    }
    FUZZ_CHECK(records.size() <= int(size / LogRecord::kSize));

    QVector<LogRecord> kept;
    const QByteArray first = written(records, info, &kept);
    QVector<LogRecord> again;
    VersionInfo againInfo;
    FUZZ_CHECK(LogFile::read(first, &again, &againInfo, &error, &warning));
    FUZZ_CHECK(warning.isEmpty());
    FUZZ_CHECK(again == kept);
    FUZZ_CHECK(againInfo.hostInfo() == info.hostInfo());
    QVector<LogRecord> keptAgain;
    FUZZ_CHECK(written(again, againInfo, &keptAgain) == first);
    return 0;
}
