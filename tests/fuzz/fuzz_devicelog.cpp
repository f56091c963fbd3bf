// The unit's event log as it arrives joined from the block transfer: cut
// into 32-byte records and decoded into the entry tree the log page shows,
// then the filters, the text and CSV exports and the binary LOG form, which
// must read back to the same records.
#include <QObject>
#include <QTextStream>

#include "blocktransfer.h"
#include "devicelog.h"
#include "fuzzinput.h"
#include "logcsv.h"
#include "logentry.h"
#include "logentryinfo.h"
#include "logfile.h"
#include "logfilters.h"
#include "treemodel.h"
#include "versioninfo.h"

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzz::initQt();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray log(reinterpret_cast<const char *>(data), int(size));
    QVector<LogRecord> records;
    const bool whole = splitLogRecords(log, records);
    FUZZ_CHECK(whole == (size % LogRecord::kSize == 0));
    if (!whole) {
        FUZZ_CHECK(records.isEmpty());
        splitLogRecords(log.left(int(size / LogRecord::kSize) * LogRecord::kSize), records);
    }
    // As the log handler takes the log: the whole records, and a cut last
    // record left out and counted.
    const DeviceLog split = DeviceLog::split(log);
    FUZZ_CHECK(split.records == records);
    FUZZ_CHECK(split.droppedBytes == int(size % LogRecord::kSize));
    FUZZ_CHECK(split.endsInCutRecord() == !whole);

    // As the log handler evaluates a log: the information entry, then one
    // entry per record that is not erased.
    QObject owner;
    TreeModel tree;
    LogFilters filters(&tree, &owner);
    tree.resetModel();
    LogEntryBase *root = tree.rootItem();
    const VersionInfo info;
    root->appendNew<LogEntryinfo>(info, root);
    QVector<LogRecord> kept;
    for (const LogRecord &r : records) {
        if (r.isErased())
            continue;
        root->appendNew<LogEntry>(r, root);
        kept << r;
    }
    tree.notifyReset();
    FUZZ_CHECK(tree.rowCount() == kept.size() + 1);

    // Every cell of the tree, as the view asks for it.
    for (int row = 0; row < tree.rowCount(); ++row) {
        const QModelIndex entry = tree.index(row, 0);
        for (int column = 0; column < tree.columnCount(); ++column) {
            tree.data(tree.index(row, column), Qt::DisplayRole);
            tree.data(tree.index(row, column), Qt::UserRole);
        }
        for (int detail = 0; detail < tree.rowCount(entry); ++detail)
            for (int column = 0; column < tree.columnCount(entry); ++column)
                tree.data(tree.index(detail, column, entry), Qt::DisplayRole);
    }

    const SkwHistory history = filters.collect();
    QStringList names;
    for (int ch = 0; ch < SkwHistory::kChannels; ++ch)
        names << QStringLiteral("Kanal %1").arg(ch + 1);
    const QByteArray csv = LogCsv::toBytes(history, names);
    FUZZ_CHECK(!csv.isEmpty());
    QString text;
    QTextStream out(&text);
    root->writeTree(out, 0);

    // The binary LOG form gives back the very records.
    QVector<LogRecord> back;
    VersionInfo backInfo;
    QString error;
    FUZZ_CHECK(LogFile::read(LogFile::toBytes(info, *root), &back, &backInfo, &error));
    FUZZ_CHECK(back.size() == kept.size());
    for (int i = 0; i < kept.size(); ++i)
        FUZZ_CHECK(back.at(i) == kept.at(i));
    return 0;
}
