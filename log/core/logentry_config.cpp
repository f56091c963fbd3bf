// Decoders of the fieldbus module events and the configuration changes.
#include "logentry.h"
#include "logtext.h"

#define N(text) QT_TRANSLATE_NOOP("QObject", text)

namespace {

constexpr int kChannels = 7;

// The output select codes of the unit; any other code has no text.
QString outputType(uint8_t code)
{
    switch (code) {
    case 0:
        return LogText::text(N("digital"));
    case 1:
        return LogText::text(N("analog"));
    case 2:
        return LogText::text(N("off"));
    default:
        return QString();
    }
}

QString outputInverted(uint8_t flag)
{
    return flag ? LogText::text(N("yes ( Low = 0V )")) : LogText::text(N("no ( High = 24V )"));
}

// A configuration ID: the number, and "custom Config" right after a 0.
QString configId(uint32_t id)
{
    QString t = QString::number(id);
    if (id == 0)
        t += LogText::text(N("custom Config"));
    return t;
}

QString dotted(uint8_t a, uint8_t b, uint8_t c, uint8_t d)
{
    return QStringLiteral("%1.%2.%3.%4").arg(a).arg(b).arg(c).arg(d);
}

} // namespace

void LogEntry::fieldbusModuleState()
{
    add(N("Module"), idBit(8) ? LogText::text(N("detected")) : LogText::text(N("not detected")));
    setDescription(N("Fieldbus module State"));
}

void LogEntry::fieldbusNetworkState()
{
    QString state;
    switch (eventId() & 0xFF00u) {
    case 0x0100u:
        state = LogText::text(N("Setup"));
        break;
    case 0x0200u:
        state = LogText::text(N("Init"));
        break;
    case 0x0300u:
        state = LogText::text(N("Wait Process"));
        break;
    case 0x0400u:
        state = LogText::text(N("Idle"));
        break;
    case 0x0500u:
        state = LogText::text(N("Active Process"));
        break;
    case 0x0600u:
        state = LogText::text(N("Error"));
        break;
    case 0x0800u:
        state = LogText::text(N("Exception"));
        break;
    default:
        break;  // not dispatched here
    }
    add(N("Network State"), state);
    setDescription(N("Fieldbus network State"));
}

void LogEntry::fieldbusWatchdogState()
{
    add(N("Watchdog"), idBit(8) ? LogText::text(N("timeout")) : LogText::text(N("recovered")));
    setDescription(N("watchdog State"));
}

void LogEntry::connectivitySettings()
{
    // Network byte order: the first dotted part comes first.
    add(N("IP Address"), dotted(u8(8), u8(9), u8(10), u8(11)));
    add(N("Sub Netmask"), dotted(u8(12), u8(13), u8(14), u8(15)));
    setDescription(N("Connectivity Settings Changed."));
}

void LogEntry::filterChange()
{
    static const char *const names[] = {N("b0_%1"), N("b1_%1"), N("b2_%1"), N("a1_%1"), N("a2_%1")};
    add(N("Postshift"), int(s8(8)));
    add(N("Filter ID"), int(s16(9)));
    for (int s = 0; s < 2; ++s)
        for (int k = 0; k < 5; ++k)
            add(LogText::numbered(names[k], s), int(s16(11 + 10 * s + 2 * k)));
    m_description = LogText::numbered(N("Filter changed Channel %1"), int((eventId() & 0xFFu) >> 4));
}

void LogEntry::channelWords(const char *name, bool isSigned)
{
    for (int n = 1; n <= kChannels; ++n) {
        const int offset = 8 + 2 * (n - 1);
        add(LogText::numbered(name, n), isSigned ? int(s16(offset)) : int(u16(offset)));
    }
}

void LogEntry::envelopeChange()
{
    channelWords(N("Channel %1"), false);
    setDescription(N("Envelope changed [10µs]"));
}

void LogEntry::segmentTimeChange()
{
    channelWords(N("Channel %1 Segmenttime"), false);
    setDescription(N("Segmenttime changed [10µs] "));
}

void LogEntry::thresholdChange()
{
    channelWords(N("Channel %1 SKW"), true);
    setDescription(idBit(3) ? N("Threshold changed after Reference Run") : N("Threshold changed "));
}

void LogEntry::scaleChange()
{
    channelWords(N("Channel %1 Scale"), true);
    setDescription(idBit(3) ? N("Scale changed after Reference Run") : N("Scale changed "));
}

void LogEntry::statisticsChange()
{
    for (int n = 1; n <= kChannels; ++n)
        add(LogText::numbered(N("Channel %1 Value"), n), int(u8(8 + (n - 1))));
    setDescription(N("Statistics changed "));
}

void LogEntry::referenceSkwChange()
{
    channelWords(N("Channel %1 SKW"), true);
    setDescription(idBit(3) ? N("Reference SKW changed after Reference Run") : N("Reference SKW changed"));
}

void LogEntry::currentChange()
{
    channelWords(N("Channel %1 Current [µA]"), true);
    setDescription(idBit(3) ? N("Current changed after Reference Run") : N("Current changed"));
}

void LogEntry::commonSettingsChange()
{
    add(N("Outputtype"), outputType(u8(8)));
    add(N("Sampling Frequency [kHz]"), int(u8(9)));
    add(N("Channelenable Flags"), int(u8(10)));
    add(N("IEPE High Bias Voltage Limit [100mV]"), int(u8(11)));
    add(N("IEPE Low Bias Voltage Limit [100mV]"), int(u8(12)));
    add(N("SW DebounceTime [1ms]"), int(u16(13)));
    add(N("Output Inverted ( Lubrication Event )"), outputInverted(u8(15)));
    setDescription(N("Common Settings changed "));
}

void LogEntry::deviceSettingsChange()
{
    add(N("Old Outputtype"), outputType(u8(8)));
    add(N("New Outputtype"), outputType(u8(9)));
    add(N("Old Output Inverted ( Lubrication Event )"), outputInverted(u8(10)));
    add(N("New Output Inverted ( Lubrication Event )"), outputInverted(u8(11)));
    add(N("Old Channelenable Flags"), int(u8(12)));
    add(N("New Channelenable Flags"), int(u8(13)));
    add(N("Old SW DebounceTime [1ms]"), int(u16(14)));
    add(N("New SW DebounceTime [1ms]"), int(u16(16)));
    setDescription(N("Device Settings changed "));
}

void LogEntry::parameterSetChange()
{
    add(N("Number of Parameterset "), uint(eventId() & 7u));
    add(N("Old Channel Apply mask "), int(u8(8)));
    add(N("New Channel Apply mask "), int(u8(9)));
    add(N("Old ID "), configId(u32(10)));
    add(N("New ID "), configId(u32(14)));
    // Device selection wins when both bits are set; with neither the entry
    // keeps the unknown description.
    if (idBit(4))
        setDescription(N("Device Selection changed"));
    else if (idBit(5))
        setDescription(N("Sensor Selection changed"));
}
