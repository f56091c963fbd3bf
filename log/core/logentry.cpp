#include "logentry.h"

#include <QDataStream>

#include "byteorder.h"
#include "logentrydetail.h"
#include "logtext.h"

LogEntry::LogEntry(const LogRecord &record, LogEntryBase *parent)
    : LogEntryBase(parent)
    , m_record(record)
{
    decode();
}

QString LogEntry::formatTime(uint32_t t)
{
    auto pad = [](uint32_t value, int width) { return QString::number(value).rightJustified(width, QLatin1Char('0')); };
    return LogText::text(QT_TRANSLATE_NOOP("QObject", "Time: %1 %2 %3:%4:%5"))
        .arg(pad((t / 31536000u) % 100u, 2), pad((t / 86400u) % 365u, 3), pad((t / 3600u) % 24u, 2),
             pad((t / 60u) % 60u, 2), pad(t % 60u, 2));
}

void LogEntry::decode()
{
    m_idText = LogText::eventId(eventId());
    m_timeText = formatTime(timeStamp());
    setDescription(QT_TRANSLATE_NOOP("QObject", "unknown or invalid LOG ENTRY"));
    dispatch();
    squeezeChildren();
}

void LogEntry::refresh()
{
    clearChildren();
    decode();
}

bool LogEntry::dispatch()
{
    const uint32_t id = eventId();
    // Families first, in this order; the first that matches decides.
    if ((id & 0xFFFFFF00u) == 0x04030300u) {
        biasVoltageViolation();
        return true;
    }
    if ((id & 0xFFFFFFC8u) == 0x04010A00u) {
        parameterSetChange();
        return true;
    }
    switch (id & 0xFFFFFFF0u) {
    case 0x04010600u:
        scaleChange();
        return true;
    case 0x04010D00u:
        currentChange();
        return true;
    case 0x04010500u:
        thresholdChange();
        return true;
    case 0x04010C00u:
        referenceSkwChange();
        return true;
    case 0x04030D00u:
        // No exact ID below lies in this family.
        outputOverload();
        return true;
    default:
        break;
    }
    return dispatchExact();
}

bool LogEntry::dispatchExact()
{
    switch (eventId()) {
    case 0x03010100u:
    case 0x03010200u:
        fieldbusModuleState();
        return true;
    case 0x03020100u:
    case 0x03020200u:
    case 0x03020300u:
    case 0x03020400u:
    case 0x03020500u:
    case 0x03020600u:
    case 0x03020800u:
        fieldbusNetworkState();
        return true;
    case 0x03030100u:
    case 0x03030200u:
        fieldbusWatchdogState();
        return true;
    case 0x04010100u:
        connectivitySettings();
        return true;
    case 0x04010210u:
    case 0x04010220u:
    case 0x04010230u:
    case 0x04010240u:
    case 0x04010250u:
    case 0x04010260u:
    case 0x04010270u:
        filterChange();
        return true;
    case 0x04010300u:
        envelopeChange();
        return true;
    case 0x04010400u:
        segmentTimeChange();
        return true;
    case 0x04010700u:
        statisticsChange();
        return true;
    case 0x04010800u:
        commonSettingsChange();
        return true;
    case 0x04010B00u:
        deviceSettingsChange();
        return true;
    case 0x04030110u:
    case 0x04030120u:
    case 0x04030130u:
        i2cBusError();
        return true;
    case 0x04030210u:
        setDescription(QT_TRANSLATE_NOOP("QObject", "I2S FIFO Overflow Error "));
        return true;
    case 0x04030410u:
    case 0x04030411u:
    case 0x04030420u:
        ethernetError();
        return true;
    case 0x04030500u:
    case 0x04030510u:
        startUp();
        return true;
    case 0x04030600u:
    case 0x04030610u:
        errorReset();
        return true;
    case 0x04030710u:
    case 0x04030720u:
        triggerTimingViolation();
        return true;
    case 0x04030800u:
        setDescription(QT_TRANSLATE_NOOP("QObject", "SPI Bus Error/Timeout"));
        return true;
    case 0x04030900u:
        setDescription(QT_TRANSLATE_NOOP("QObject", "Default Config used/loaded"));
        return true;
    case 0x04030A00u:
    case 0x04030A01u:
    case 0x04030A02u:
    case 0x04030A03u:
        noReferenceValues();
        return true;
    case 0x04030B00u:
        inputOverload();
        return true;
    case 0x04030C00u:
        setDescription(QT_TRANSLATE_NOOP("QObject", "Watchdog Reset detected "));
        return true;
    case 0x04040080u:
    case 0x04040180u:
        lubricationEvent();
        return true;
    default:
        break;
    }
    // Run statistics: channel 1..7 in bits 4..7, bit 8 a reference run.
    const uint32_t id = eventId();
    const uint32_t channel = (id & 0xF0u) >> 4;
    if ((id & 0xFFFFFE0Fu) == 0x04040000u && channel >= 1 && channel <= 7) {
        runStatistics();
        return true;
    }
    return false;
}

QVariant LogEntry::data(const QModelIndex &index, int role) const
{
    if (role == Qt::DisplayRole) {
        switch (index.column()) {
        case 0:
            return m_timeText;
        case 1:
            return m_idText;
        case 2:
            return m_description;
        default:
            return QVariant();
        }
    }
    if (role == Qt::UserRole) {
        if (index.column() == 0)
            return QVariant(uint(timeStamp()));
        if (index.column() == 1)
            return QVariant(uint(eventId()));
    }
    return QVariant();
}

QString LogEntry::toString() const
{
    return m_timeText + QLatin1Char('\t') + m_idText + QLatin1Char('\t') + m_description;
}

int LogEntry::write(QDataStream &out) const
{
    out.writeRawData(reinterpret_cast<const char *>(m_record.bytes.data()), LogRecord::kSize);
    LogEntryBase::write(out);
    return 0;
}

int LogEntry::rawSize() const
{
    return LogRecord::kSize + LogEntryBase::rawSize();
}

uint8_t LogEntry::u8(int offset) const
{
    return offset >= 0 && offset < LogRecord::kSize ? m_record.bytes[size_t(offset)] : 0;
}

uint16_t LogEntry::u16(int offset) const
{
    return offset >= 0 && offset + 2 <= LogRecord::kSize ? le::u16(m_record.bytes.data() + offset) : 0;
}

uint32_t LogEntry::u32(int offset) const
{
    return offset >= 0 && offset + 4 <= LogRecord::kSize ? le::u32(m_record.bytes.data() + offset) : 0;
}

uint64_t LogEntry::u64(int offset) const
{
    return offset >= 0 && offset + 8 <= LogRecord::kSize ? le::u64(m_record.bytes.data() + offset) : 0;
}

void LogEntry::add(const QString &name, const QVariant &value)
{
    appendNew<LogEntryDetail>(name, value, this);
}

void LogEntry::add(const char *name, const QVariant &value)
{
    add(LogText::text(name), value);
}

void LogEntry::setDescription(const char *text)
{
    m_description = LogText::text(text);
}
