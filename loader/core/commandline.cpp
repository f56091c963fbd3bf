#include "commandline.h"

namespace loader {

namespace commandline {

const QVector<OptionSpec> &options()
{
    static const QVector<OptionSpec> table{
        {Option::Help, "-h", nullptr, "Displays this help.", false, 0},
        {Option::Target, "-t", "<IP>", "sets the target IP.", false, 1},
        {Option::Source, "-s", "<IP>", "sets the source IP.", false, 2},
        {Option::UpdateFirmware, "-f", "<FileName>", "Writes the application firmware from <FileName>.", true, 3},
        {Option::UpdateKeys, "-k", "<FileName>", "Writes a key update from <FileName>.", true, 4},
        {Option::CatchLoader, "-c", nullptr, "Catches the booloader to stay.", true, 6},
        {Option::ResetAndCatch, "-rc", nullptr, "Resets FW and Catches the booloader to stay.", true, 7},
        {Option::StartFirmware, "-l", nullptr, "starts the firmware.", true, 5},
        {Option::Seal, "-m", "<FileName>", "Adds magic to the firmware file.", false, 8},
    };
    return table;
}

const OptionSpec *find(const QString &word)
{
    for (const OptionSpec &spec : options()) {
        if (word.compare(QLatin1String(spec.word), Qt::CaseInsensitive) == 0)
            return &spec;
    }
    return nullptr;
}

int code(const QString &word)
{
    const OptionSpec *spec = find(word);
    return spec ? spec->code : -1;
}

QStringList usageLines()
{
    QStringList lines{QStringLiteral("usage: KorvantisLoader.exe -t <IP> -s <IP> <CMD>")};
    for (const OptionSpec &spec : options()) {
        QString option = QLatin1String(spec.word);
        if (spec.argument)
            option += QLatin1Char(' ') + QLatin1String(spec.argument);
        lines << QStringLiteral("%1%2").arg(option, -30).arg(QLatin1String(spec.description));
    }
    return lines;
}

bool Plan::queuesWork() const
{
    for (const Step &step : steps) {
        if (step.option != Option::Target && step.option != Option::Source)
            return true;
    }
    return false;
}

Plan parse(const QStringList &words, const std::function<bool(const QString &)> &isLocalAddress)
{
    Plan plan;
    bool targetGiven = false;
    bool sourceGiven = false;
    int position = 0;
    while (position < words.size()) {
        const OptionSpec *spec = find(words.at(position));
        // A command, and any word the table does not know, counts only
        // once the unit and the local adapter are both named.
        if ((!spec || spec->needsAddresses) && !(targetGiven && sourceGiven)) {
            plan.end = End::MissingAddress;
            plan.commandMode = true;
            return plan;
        }
        if (!spec) {
            ++position;
            continue;
        }
        Step step{spec->option, QString()};
        if (spec->argument) {
            if (position + 1 >= words.size()) {
                plan.end = End::MissingArgument;
                break;
            }
            step.argument = words.at(position + 1);
            position += 2;
        } else {
            ++position;
        }
        switch (spec->option) {
        case Option::Target:
            // Set even when the handler refuses the address: the earlier
            // target then stays, and the command goes there.
            targetGiven = true;
            break;
        case Option::Source:
            step.matched = isLocalAddress && isLocalAddress(step.argument);
            sourceGiven = sourceGiven || step.matched;
            break;
        default:
            break;
        }
        plan.commandMode = true;
        plan.steps.append(step);
    }
    int commands = 0;
    bool helpFirst = false;
    for (const Step &step : qAsConst(plan.steps)) {
        if (step.option == Option::Target || step.option == Option::Source)
            continue;
        if (commands++ == 0)
            helpFirst = step.option == Option::Help;
    }
    if (commands > 1 && !helpFirst)
        plan.end = End::SeveralCommands;
    return plan;
}

} // namespace commandline

} // namespace loader
