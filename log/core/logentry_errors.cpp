// Decoders of the unit's error and state events and of the run results.
#include "logentry.h"
#include "logtext.h"

#define N(text) QT_TRANSLATE_NOOP("QObject", text)

namespace {

constexpr int kChannels = 7;

QString hexText(uint32_t value)
{
    return QString::number(value, 16);
}

QString flagsText(uint32_t value)
{
    return QStringLiteral("0x%1").arg(value, 8, 16, QLatin1Char('0'));
}

} // namespace

void LogEntry::i2cBusError()
{
    add(N("I2C Device Address "), hexText(u8(8)));
    add(N("Access"), u8(9) ? LogText::text(N("Read")) : LogText::text(N("Write")));
    switch ((eventId() & 0xFFu) >> 4) {
    case 1:
        setDescription(N("I2C Bus Busy "));
        break;
    case 2:
        setDescription(N("I2C Bus Error"));
        break;
    case 3:
        setDescription(N("I2C Bus Timeout"));
        break;
    default:
        break;  // not dispatched here
    }
}

void LogEntry::ethernetError()
{
    switch (eventId() & 0xFFu) {
    case 0x10:
        setDescription(N("enIP Stack init failed "));
        break;
    case 0x11:
        add(N("Errorvalue"), int(int32_t(u32(8))));
        setDescription(N("ethernet Send error"));
        break;
    case 0x20:
        setDescription(N("ethHandler init failed "));
        break;
    default:
        break;  // not dispatched here
    }
}

void LogEntry::startUp()
{
    setDescription((eventId() & 0xFFu) == 0 ? N("Bootup succesfull") : N("Bootup failed"));
}

void LogEntry::biasVoltageViolation()
{
    const uint32_t triggers = eventId() & 0xFFu;
    const uint8_t over = u8(23);
    const uint8_t under = u8(24);
    add(N("Trigger Flags "), hexText(triggers));
    for (int n = 1; n <= kChannels; ++n) {
        const uint32_t bit = 1u << (n - 1);
        if ((triggers & bit) && (over & bit))
            add(LogText::numbered(N("Channel %1 Error"), n), LogText::text(N("Over Voltage/ Open Circuit")));
        if ((triggers & bit) && (under & bit))
            add(LogText::numbered(N("Channel %1 Error"), n), LogText::text(N("Under Voltage/ Short Circuit")));
        // Millivolts, shown in volts with three decimals.
        const double volts = u16(8 + 2 * (n - 1)) / 1000.0;
        add(LogText::numbered(N("Channel %1 Bias Voltage Value"), n), QString::number(volts, 'f', 3) + QStringLiteral(" V"));
    }
    add(N("Error happend during"),
        u8(22) ? LogText::text(N("Data acquisition active")) : LogText::text(N("Data acquisition idle")));
    setDescription(N("Bias Voltage Threshold Violation"));
}

void LogEntry::errorReset()
{
    add(N("Critical Error "), u8(8) ? LogText::text(N("yes")) : LogText::text(N("no")));
    add(N("New/Current Error Flags "), flagsText(u32(9)));
    add(N("Previous Error Flags "), flagsText(u32(13)));
    add(N("Error clear source ( manual/automatic ) "),
        u8(17) ? LogText::text(N("Automatic clear")) : LogText::text(N("Manual clear")));
    setDescription((eventId() & 0xFFu) == 0 ? N("Error reset succesfull") : N("Error reset failed"));
}

void LogEntry::triggerTimingViolation()
{
    const bool minimum = ((eventId() & 0xFFu) >> 4) == 1;
    add(N("Violation SysTick "), QString::number(u64(8)));
    add(minimum ? N("Minimum Trigger Threshold SysTick") : N("Maximum Trigger Threshold SysTick"),
        QString::number(u64(16)));
    setDescription(minimum ? N("Minimum Trigger Timing violation") : N("Maximum Trigger Timing violation"));
}

void LogEntry::noReferenceValues()
{
    const uint32_t kind = eventId() & 3u;
    const char *word = kind == 3 ? N(" Current ") : (kind & 1u) == 0 ? N(" SKW ") : N(" Scale ");
    add(N("Outputtype"), idBit(0) ? LogText::text(N("analog")) : LogText::text(N("digital or off")));
    add(N("Channelenable Flags"), QString::number(u8(8)));
    add(N("Error Source Flags"), QString::number(u8(9)));
    for (int n = 1; n <= kChannels; ++n)
        add(LogText::numberedWithSuffix(N("Channel %1"), n, word), int(s16(10 + 2 * (n - 1))));
    setDescription(N("No Reference Values Detected"));
}

void LogEntry::inputOverload()
{
    const uint8_t mask = u8(8);
    for (int b = 0; b < kChannels; ++b)
        if (mask & (1u << b))
            add(N("Channel"), b + 1);
    m_description = LogText::text(N("Input Overload on Channels: ")) + hexText(mask);
}

void LogEntry::outputOverload()
{
    add(N("Output:"), u8(8) ? LogText::text(N("analog")) : LogText::text(N("digital")));
    m_description = LogText::text(N("Output Overload on Channel ")) + QString::number((eventId() & 0x0Fu) + 1);
}

void LogEntry::runStatistics()
{
    static const char *const words[] = {N("Mean"), N("Maximum"), N("Minimum")};
    const bool reference = idBit(8);
    const int channel = int((eventId() & 0xFFu) >> 4);
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) {
            add(LogText::joined(words[j], N("of"), words[i]), int(s16(8 + 2 * (3 * i + j))));
        }
    }
    m_description = LogText::withNumbered(reference ? N("Reference Run ") : N("Measurment Run"), N("Channel %1"), channel);
}

void LogEntry::lubricationEvent()
{
    add(N("Event Flags "), hexText(u8(8)));
    for (int n = 1; n <= kChannels; ++n)
        add(LogText::numbered(N("Channel %1 SKW"), n), int(s16(7 + 2 * n)));
    m_description = LogText::joined(idBit(8) ? N("Reference Run ") : N("Measurment Run"), N(" Lubrication Event "));
}
