#include "unitsimmain.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <cstdio>

#include "unitsim.h"
#include "unitsimblocks.h"
#include "unitsimconfig.h"
#include "unitsimrun.h"

namespace {

bool parseInt(const QString &text, int *out)
{
    bool ok = false;
    const int v = text.toInt(&ok, 0);
    if (ok)
        *out = v;
    return ok;
}

bool parseMac(const QString &text, std::array<uint8_t, 6> *mac)
{
    const QStringList parts = text.split(QLatin1Char(':'));
    if (parts.size() != 6)
        return false;
    for (int i = 0; i < 6; ++i) {
        bool ok = false;
        const uint v = parts.at(i).toUInt(&ok, 16);
        if (!ok || v > 0xFF)
            return false;
        (*mac)[size_t(i)] = uint8_t(v);
    }
    return true;
}

// CMD[:PARAM]=STATUS
bool parseErrorStatus(const QString &text, UnitSim *sim)
{
    const int eq = text.indexOf(QLatin1Char('='));
    if (eq < 0)
        return false;
    const QStringList key = text.left(eq).split(QLatin1Char(':'));
    int command = 0;
    int param = -1;
    int status = 0;
    if (!parseInt(key.at(0), &command) || command < 0 || command > 0xFF)
        return false;
    if (key.size() > 1 && !parseInt(key.at(1), &param))
        return false;
    if (!parseInt(text.mid(eq + 1), &status))
        return false;
    sim->setErrorStatus(uint8_t(command), param, status);
    return true;
}

int fail(const QString &text)
{
    std::fprintf(stderr, "KorvantisUnitSim: %s\n", qPrintable(text));
    return 2;
}

} // namespace

int runUnitSim(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Simulated Korvantis processing unit (--mode unit, the default).\n"
                       "The simulated bootloader's options: KorvantisUnitSim --mode bootloader --help"));
    parser.addHelpOption();
    const QCommandLineOption mode(QStringLiteral("mode"), QStringLiteral("unit (default) or bootloader"),
                                  QStringLiteral("mode"));
    const QCommandLineOption address(QStringLiteral("address"), QStringLiteral("IPv4 address of the unit"),
                                     QStringLiteral("address"), QStringLiteral("127.0.0.2"));
    const QCommandLineOption push(QStringLiteral("push-interval"), QStringLiteral("state report period in ms, 0 = none"),
                                  QStringLiteral("ms"), QStringLiteral("1000"));
    const QCommandLineOption log(QStringLiteral("log"), QStringLiteral("request log file"), QStringLiteral("file"));
    const QCommandLineOption mac(QStringLiteral("mac"), QStringLiteral("MAC address aa:bb:cc:dd:ee:ff"),
                                 QStringLiteral("mac"));
    const QCommandLineOption name(QStringLiteral("name"), QStringLiteral("device name"), QStringLiteral("text"));
    const QCommandLineOption silence(QStringLiteral("restart-silence"), QStringLiteral("silence after restart, ms"),
                                     QStringLiteral("ms"), QStringLiteral("3000"));
    const QCommandLineOption noBroadcast(QStringLiteral("no-broadcast"), QStringLiteral("ignore broadcasts"));
    const QCommandLineOption drop(QStringLiteral("drop"), QStringLiteral("drop the next N answers"), QStringLiteral("n"));
    const QCommandLineOption delay(QStringLiteral("delay"), QStringLiteral("delay answers by ms"), QStringLiteral("ms"));
    const QCommandLineOption duplicate(QStringLiteral("duplicate"), QStringLiteral("send the next N answers twice"),
                                       QStringLiteral("n"));
    const QCommandLineOption wrongSeq(QStringLiteral("wrong-sequence"), QStringLiteral("next N answers with a wrong sequence number"),
                                      QStringLiteral("n"));
    const QCommandLineOption wrongCmd(QStringLiteral("wrong-command"), QStringLiteral("next N answers with a wrong command"),
                                      QStringLiteral("n"));
    const QCommandLineOption badCrc(QStringLiteral("corrupt-crc"), QStringLiteral("next N answers with a bad CRC"),
                                    QStringLiteral("n"));
    const QCommandLineOption shortDg(QStringLiteral("short"), QStringLiteral("next N answers cut short"), QStringLiteral("n"));
    const QCommandLineOption truncate(QStringLiteral("truncate"), QStringLiteral("next N answers with their payload cut to BYTES"),
                                      QStringLiteral("n:bytes"));
    const QCommandLineOption stale(QStringLiteral("stale-answers"),
                                   QStringLiteral("follow the next N answers by the earlier answer of their kind"),
                                   QStringLiteral("n"));
    const QCommandLineOption staleRatio(QStringLiteral("stale-ratio"),
                                        QStringLiteral("follow this share of answers (0 to 1) by the earlier answer "
                                                       "of their kind"),
                                        QStringLiteral("ratio"));
    const QCommandLineOption dropRate(QStringLiteral("drop-rate"), QStringLiteral("drop each answer with this chance"),
                                      QStringLiteral("percent"));
    const QCommandLineOption duplicateRate(QStringLiteral("duplicate-rate"),
                                           QStringLiteral("send each answer twice with this chance"),
                                           QStringLiteral("percent"));
    const QCommandLineOption lateRate(QStringLiteral("late-rate"),
                                      QStringLiteral("send each answer MS later with this chance"),
                                      QStringLiteral("percent:ms"));
    const QCommandLineOption faultSeed(QStringLiteral("fault-seed"), QStringLiteral("seed of the random faults"),
                                       QStringLiteral("n"));
    const QCommandLineOption retries(QStringLiteral("recognise-retries"),
                                     QStringLiteral("answer a repeated request again without carrying it out twice"));
    const QCommandLineOption silent(QStringLiteral("silent"), QStringLiteral("answer nothing"));
    const QCommandLineOption errorStatus(QStringLiteral("error-status"),
                                         QStringLiteral("error answer for CMD[:PARAM] with STATUS"),
                                         QStringLiteral("cmd[:param]=status"));
    const QCommandLineOption fieldbus(QStringLiteral("fieldbus"),
                                      QStringLiteral("fieldbus module fitted, by network type (e.g. 0x80 Modbus-TCP, "
                                                     "0x84 PROFINET RT, 0x87 EtherCAT); its record holds the "
                                                     "default settings of that kind of module"),
                                      QStringLiteral("type"));
    const QCommandLineOption dataControl(QStringLiteral("data-control"),
                                         QStringLiteral("heartbeat byte 5 (default 0x11; 0x10 leaves the data and "
                                                        "log controls free)"),
                                         QStringLiteral("byte"));
    const QCommandLineOption saveMs(QStringLiteral("save-ms"),
                                    QStringLiteral("a slow configuration save: the heartbeat reports the save as "
                                                   "running for MS after its confirmation (default 0)"),
                                    QStringLiteral("ms"));
    parser.addOptions({mode, address, push, log, mac, name, silence, noBroadcast, drop, delay, duplicate, wrongSeq,
                       wrongCmd, badCrc, shortDg, truncate, stale, staleRatio, dropRate, duplicateRate, lateRate,
                       faultSeed, retries, silent, errorStatus, fieldbus, dataControl, saveMs});
    UnitSimBlocks::addOptions(parser);
    UnitSimRun::addOptions(parser);
    if (!parser.parse(arguments))
        return fail(parser.errorText());
    if (parser.isSet(QStringLiteral("help"))) {
        std::fputs(qPrintable(parser.helpText()), stdout);
        return 0;
    }

    UnitSim sim;
    const QHostAddress ip(parser.value(address));
    if (ip.protocol() != QAbstractSocket::IPv4Protocol)
        return fail(QStringLiteral("not an IPv4 address: %1").arg(parser.value(address)));
    sim.setAddress(ip);
    if (parser.isSet(mac)) {
        std::array<uint8_t, 6> m{};
        if (!parseMac(parser.value(mac), &m))
            return fail(QStringLiteral("bad MAC address: %1").arg(parser.value(mac)));
        sim.setMacAddress(m);
    }
    if (parser.isSet(name))
        sim.setDeviceName(parser.value(name));
    sim.setListenBroadcast(!parser.isSet(noBroadcast));

    auto number = [&](const QCommandLineOption &option, int *out) {
        if (!parser.isSet(option))
            return true;
        return parseInt(parser.value(option), out) && *out >= 0;
    };
    int pushMs = 1000;
    int silenceMs = 3000;
    UnitSimFaults &f = sim.faults();
    if (!number(push, &pushMs) || !number(silence, &silenceMs) || !number(drop, &f.dropAnswers)
        || !number(delay, &f.delayMs) || !number(duplicate, &f.duplicateAnswers) || !number(wrongSeq, &f.wrongSequence)
        || !number(wrongCmd, &f.wrongCommand) || !number(badCrc, &f.corruptCrc) || !number(shortDg, &f.shortDatagram)
        || !number(stale, &f.staleAnswers))
        return fail(QStringLiteral("numeric options take a number of 0 or more"));
    if (parser.isSet(staleRatio)) {
        bool ok = false;
        f.staleRatio = parser.value(staleRatio).toDouble(&ok);
        if (!ok || !(f.staleRatio >= 0.0 && f.staleRatio <= 1.0))
            return fail(QStringLiteral("--stale-ratio takes a number from 0 to 1"));
    }
    if (parser.isSet(truncate)) {
        const QStringList parts = parser.value(truncate).split(QLatin1Char(':'));
        if (parts.size() != 2 || !parseInt(parts.at(0), &f.truncatePayload) || !parseInt(parts.at(1), &f.truncateTo)
            || f.truncatePayload < 0 || f.truncateTo < 0)
            return fail(QStringLiteral("--truncate takes N:BYTES"));
    }
    auto percent = [&](const QCommandLineOption &option, int *out) {
        return number(option, out) && *out <= 100;
    };
    if (!percent(dropRate, &f.dropPercent) || !percent(duplicateRate, &f.duplicatePercent))
        return fail(QStringLiteral("rates are percentages from 0 to 100"));
    if (parser.isSet(lateRate)) {
        const QStringList parts = parser.value(lateRate).split(QLatin1Char(':'));
        if (parts.size() != 2 || !parseInt(parts.at(0), &f.latePercent) || !parseInt(parts.at(1), &f.lateMs)
            || f.latePercent < 0 || f.latePercent > 100 || f.lateMs < 0)
            return fail(QStringLiteral("--late-rate takes PERCENT:MS"));
    }
    int seed = 1;
    if (!number(faultSeed, &seed))
        return fail(QStringLiteral("numeric options take a number of 0 or more"));
    sim.seedFaults(quint32(seed));
    sim.setRecogniseRetries(parser.isSet(retries));
    f.silent = parser.isSet(silent);
    for (const QString &e : parser.values(errorStatus)) {
        if (!parseErrorStatus(e, &sim))
            return fail(QStringLiteral("bad --error-status: %1").arg(e));
    }
    if (parser.isSet(fieldbus)) {
        bool ok = false;
        const uint type = parser.value(fieldbus).toUInt(&ok, 0);
        if (!ok || type > 0xFFFF)
            return fail(QStringLiteral("--fieldbus takes a network type from 0 to 0xFFFF"));
        sim.setFieldbusModule(uint16_t(type));
    }
    if (parser.isSet(dataControl)) {
        bool ok = false;
        const uint value = parser.value(dataControl).toUInt(&ok, 0);
        if (!ok || value > 0xFF)
            return fail(QStringLiteral("--data-control takes a byte from 0 to 0xFF"));
        sim.setDataControl(uint8_t(value));
    }
    int saveDurationMs = 0;
    if (!number(saveMs, &saveDurationMs))
        return fail(QStringLiteral("--save-ms takes a number of 0 or more"));
    UnitSimConfig::of(&sim)->setSaveDurationMs(saveDurationMs);
    sim.setRestartSilence(silenceMs);
    if (parser.isSet(log) && !sim.setLogFile(parser.value(log)))
        return fail(QStringLiteral("cannot open log file %1").arg(parser.value(log)));

    QString error;
    if (!UnitSimBlocks::applyOptions(parser, &sim, &error) || !UnitSimRun::applyOptions(parser, &sim, &error))
        return fail(error);
    sim.setPushInterval(pushMs);
    if (!sim.start(&error))
        return fail(error);
    std::printf("KorvantisUnitSim listening on %s:7755\n", qPrintable(ip.toString()));
    std::fflush(stdout);
    return QCoreApplication::exec();
}
