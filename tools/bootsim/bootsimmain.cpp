#include "bootsimmain.h"

#include <QCoreApplication>
#include <QHostAddress>
#include <QSocketNotifier>
#include <cstdio>
#include <memory>
#include <unistd.h>

#include "bootloadersim.h"

namespace {

bool parseCommand(const QString &text, int *command)
{
    if (text.compare(QLatin1String("any"), Qt::CaseInsensitive) == 0) {
        *command = -1;
        return true;
    }
    bool ok = false;
    const int value = text.toInt(&ok, 0);
    if (!ok || value < 0 || value > 0xFF)
        return false;
    *command = value;
    return true;
}

// "CMD[:N]" into a fault.
bool parseFault(const QString &text, BootloaderSim::FaultKind kind, bool valueIsCount, BootloaderSim::Fault *fault)
{
    const QStringList parts = text.split(QLatin1Char(':'));
    fault->kind = kind;
    if (!parseCommand(parts.at(0), &fault->command))
        return false;
    if (parts.size() > 1) {
        bool ok = false;
        const int n = parts.at(1).toInt(&ok, 0);
        if (!ok)
            return false;
        if (valueIsCount)
            fault->count = n;
        else
            fault->value = n;
    }
    return true;
}

int usageError(const QString &what)
{
    std::fprintf(stderr, "bootloader simulation: %s\n", qPrintable(what));
    return 2;
}

} // namespace

QString bootloaderSimHelp()
{
    return QStringLiteral(
        "Usage: KorvantisUnitSim --mode bootloader [options]\n"
        "Simulated bootloader of a Korvantis processing unit (and the firmware it starts).\n"
        "\n"
        "Options:\n"
        "  -h, --help                   Displays this help.\n"
        "  --mode <mode>                unit (the default: the unit's firmware; its own --help)\n"
        "                               or bootloader.\n"
        "  --address <address>          IPv4 address of the unit (default 127.0.0.2; never\n"
        "                               127.0.0.1).\n"
        "  --log <file>                 one line per request received.\n"
        "  --mac <XX:XX:XX:XX:XX:XX>    the unit's MAC address.\n"
        "  --state <state>              what runs at start: bootloader (default) or firmware.\n"
        "  --reboot-ms <ms>             silence after a reset (default 1000).\n"
        "  --catch-window-ms <ms>       how long a fresh bootloader waits to be caught before\n"
        "                               it starts the firmware (default 5000).\n"
        "  --no-broadcast               do not listen for broadcasts.\n"
        "\n"
        "Faults (CMD is a command byte such as 0x81, or any; each may be given again):\n"
        "  --drop <CMD[:COUNT]>         handle the request but lose its answer (COUNT times,\n"
        "                               default always).\n"
        "  --delay <CMD:MS>             answer MS ms late.\n"
        "  --error <CMD:STATUS>         answer with the error status STATUS instead.\n"
        "  --nak <CMD[:COUNT]>          answer with a negative acknowledge instead.\n"
        "  --refuse-crc [COUNT]         refuse page and information block CRCs (COUNT times,\n"
        "                               default always).\n"
        "  --silent                     answer nothing.\n"
        "  --hold <CMD[:N]>             from the Nth CMD request on (default the first),\n"
        "                               handle the request but keep its answer until a line\n"
        "                               (or the end) is read on standard input.\n");
}

int runBootloaderSim(const QStringList &arguments)
{
    QHostAddress address(QStringLiteral("127.0.0.2"));
    QString logFile;
    QList<BootloaderSim::Fault> faults;
    QByteArray mac;
    BootloaderSim::State state = BootloaderSim::State::Bootloader;
    int rebootMs = -1;
    int catchWindowMs = -1;
    bool broadcast = true;
    bool hold = false;

    for (int i = 1; i < arguments.size(); ++i) {
        const QString &a = arguments.at(i);
        const bool hasValue = i + 1 < arguments.size();
        const QString value = hasValue ? arguments.at(i + 1) : QString();
        BootloaderSim::Fault fault;
        if (a == QLatin1String("--help") || a == QLatin1String("-h")) {
            std::fputs(qPrintable(bootloaderSimHelp()), stdout);
            return 0;
        } else if (a == QLatin1String("--mode") && hasValue) {
            ++i;
        } else if (a == QLatin1String("--address") && hasValue) {
            address = QHostAddress(value);
            ++i;
        } else if (a == QLatin1String("--log") && hasValue) {
            logFile = value;
            ++i;
        } else if (a == QLatin1String("--mac") && hasValue) {
            mac = QByteArray::fromHex(value.toLatin1());
            if (mac.size() != 6)
                return usageError(QStringLiteral("--mac needs six bytes"));
            ++i;
        } else if (a == QLatin1String("--state") && hasValue) {
            if (value == QLatin1String("firmware"))
                state = BootloaderSim::State::Firmware;
            else if (value != QLatin1String("bootloader"))
                return usageError(QStringLiteral("--state is bootloader or firmware"));
            ++i;
        } else if (a == QLatin1String("--reboot-ms") && hasValue) {
            rebootMs = value.toInt();
            ++i;
        } else if (a == QLatin1String("--catch-window-ms") && hasValue) {
            catchWindowMs = value.toInt();
            ++i;
        } else if (a == QLatin1String("--no-broadcast")) {
            broadcast = false;
        } else if (a == QLatin1String("--silent")) {
            fault.kind = BootloaderSim::FaultKind::Silence;
            faults.append(fault);
        } else if (a == QLatin1String("--refuse-crc")) {
            fault.kind = BootloaderSim::FaultKind::RefuseCrc;
            if (hasValue && !value.startsWith(QLatin1String("--"))) {
                fault.count = value.toInt();
                ++i;
            }
            faults.append(fault);
        } else if (a == QLatin1String("--drop") && hasValue) {
            if (!parseFault(value, BootloaderSim::FaultKind::Drop, true, &fault))
                return usageError(QStringLiteral("bad --drop ") + value);
            faults.append(fault);
            ++i;
        } else if (a == QLatin1String("--delay") && hasValue) {
            if (!parseFault(value, BootloaderSim::FaultKind::Delay, false, &fault))
                return usageError(QStringLiteral("bad --delay ") + value);
            faults.append(fault);
            ++i;
        } else if (a == QLatin1String("--hold") && hasValue) {
            if (!parseFault(value, BootloaderSim::FaultKind::Hold, false, &fault))
                return usageError(QStringLiteral("bad --hold ") + value);
            hold = true;
            faults.append(fault);
            ++i;
        } else if (a == QLatin1String("--error") && hasValue) {
            if (!parseFault(value, BootloaderSim::FaultKind::ErrorStatus, false, &fault))
                return usageError(QStringLiteral("bad --error ") + value);
            faults.append(fault);
            ++i;
        } else if (a == QLatin1String("--nak") && hasValue) {
            if (!parseFault(value, BootloaderSim::FaultKind::Nak, true, &fault))
                return usageError(QStringLiteral("bad --nak ") + value);
            faults.append(fault);
            ++i;
        } else {
            return usageError(QStringLiteral("unknown option ") + a);
        }
    }
    if (address.protocol() != QAbstractSocket::IPv4Protocol || address == QHostAddress(QHostAddress::LocalHost))
        return usageError(QStringLiteral("--address needs an IPv4 address other than 127.0.0.1"));

    BootloaderSim sim(address);
    sim.setListenBroadcast(broadcast);
    if (!mac.isEmpty())
        sim.setMac(mac);
    if (rebootMs >= 0)
        sim.setRebootMs(rebootMs);
    if (catchWindowMs >= 0)
        sim.setCatchWindowMs(catchWindowMs);
    sim.setState(state);
    for (const BootloaderSim::Fault &f : faults)
        sim.addFault(f);
    if (!logFile.isEmpty() && !sim.setLogFile(logFile))
        return usageError(QStringLiteral("cannot write ") + logFile);
    QString error;
    if (!sim.start(&error))
        return usageError(QStringLiteral("cannot bind %1:7755: %2").arg(address.toString(), error));
    // Standard input is read only for a hold: a program started in the
    // background of a shell would be stopped by reading it.
    std::unique_ptr<QSocketNotifier> input;
    if (hold) {
        input = std::make_unique<QSocketNotifier>(STDIN_FILENO, QSocketNotifier::Read);
        QObject::connect(input.get(), &QSocketNotifier::activated, &sim, [&input, &sim] {
            char buffer[256];
            if (::read(STDIN_FILENO, buffer, sizeof buffer) <= 0)
                input->setEnabled(false);
            sim.releaseHeld();
        });
    }
    std::printf("simulated bootloader listening on %s:7755\n", qPrintable(address.toString()));
    std::fflush(stdout);
    return QCoreApplication::exec();
}
