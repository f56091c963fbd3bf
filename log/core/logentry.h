#pragma once

#include <cstdint>

#include "logentrybase.h"
#include "logrecords.h"

// One record of the unit's event log as a top-level row of the log tree: a
// time text, an ID text and a description, and the record's values as rows
// below it. The raw record is kept, so that it can be written back byte for
// byte and decoded again in another language.
class LogEntry : public LogEntryBase
{
public:
    LogEntry(const LogRecord &record, LogEntryBase *parent);

    // Builds the texts and the rows from the stored record.
    void decode();
    void refresh() override;
    QVariant data(const QModelIndex &index, int role) const override;
    QString toString() const override;
    // The 32 record bytes as received, then the children (which add none).
    int write(QDataStream &out) const override;
    int rawSize() const override;

    QString timeText() const { return m_timeText; }
    QString idText() const { return m_idText; }
    QString description() const { return m_description; }
    const LogRecord &rawRecord() const { return m_record; }
    uint32_t timeStamp() const { return m_record.timeStamp(); }
    uint32_t eventId() const { return m_record.eventId(); }

    // "Time: YY DDD HH:MM:SS" (translated) for a time stamp of the unit's
    // running time in seconds; years of 365 days, counted modulo 100.
    static QString formatTime(uint32_t seconds);

private:
    // Fields of the record, little-endian at a byte offset from its start.
    // A field that would reach past the record reads as 0.
    uint8_t u8(int offset) const;
    int8_t s8(int offset) const { return int8_t(u8(offset)); }
    uint16_t u16(int offset) const;
    int16_t s16(int offset) const { return int16_t(u16(offset)); }
    uint32_t u32(int offset) const;
    uint64_t u64(int offset) const;
    bool idBit(int bit) const { return (eventId() >> bit) & 1u; }

    void add(const QString &name, const QVariant &value);
    void add(const char *name, const QVariant &value);
    void setDescription(const char *text);
    // Picks the builder for the event ID; false when none takes it.
    bool dispatch();
    bool dispatchExact();

    // Fieldbus module and configuration changes.
    void fieldbusModuleState();
    void fieldbusNetworkState();
    void fieldbusWatchdogState();
    void connectivitySettings();
    void filterChange();
    // Seven rows "name" (n = 1..7) of a u16 or s16 at 8 + 2 (n - 1).
    void channelWords(const char *name, bool isSigned);
    void envelopeChange();
    void segmentTimeChange();
    void thresholdChange();
    void scaleChange();
    void statisticsChange();
    void referenceSkwChange();
    void currentChange();
    void commonSettingsChange();
    void deviceSettingsChange();
    void parameterSetChange();

    // Errors, start-up and run results.
    void i2cBusError();
    void ethernetError();
    void startUp();
    void biasVoltageViolation();
    void errorReset();
    void triggerTimingViolation();
    void noReferenceValues();
    void inputOverload();
    void outputOverload();
    void runStatistics();
    void lubricationEvent();

    LogRecord m_record;
    QString m_timeText;
    QString m_idText;
    QString m_description;
};
