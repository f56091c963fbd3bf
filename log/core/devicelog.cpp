#include "devicelog.h"

#include <QCoreApplication>

DeviceLog DeviceLog::split(const QByteArray &bytes)
{
    DeviceLog log;
    const int whole = bytes.size() / LogRecord::kSize;
    log.droppedBytes = bytes.size() - whole * LogRecord::kSize;
    log.records.reserve(whole);
    const auto *raw = reinterpret_cast<const uint8_t *>(bytes.constData());
    for (int i = 0; i < whole; ++i)
        log.records.append(LogRecord::fromBytes(raw + i * LogRecord::kSize));
    return log;
}

QString DeviceLog::note() const
{
    if (!endsInCutRecord())
        return QString();
    return QCoreApplication::translate("DeviceLog",
                                       "The log ended in a cut record. Bytes dropped after the last whole record: %1")
        .arg(droppedBytes);
}
