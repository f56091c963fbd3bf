#pragma once

#include <QString>
#include <QStringList>
#include <QVector>
#include <functional>

namespace loader {

// KorvantisLoader's command line: one table of options, and a pure walk of
// the words into a plan that the window then carries out in order.
namespace commandline {

enum class Option {
    Help,
    Target,
    Source,
    UpdateFirmware,
    UpdateKeys,
    StartFirmware,
    CatchLoader,
    ResetAndCatch,
    Seal,
};

struct OptionSpec
{
    Option option;
    const char *word;         // matched without regard to case
    const char *argument;     // placeholder in the usage text; null: takes none
    const char *description;  // the usage text's description
    bool needsAddresses;      // only after both "-t" and "-s" were handled
    int code;                 // the option's number; a command's is its function number
};

// Every option, in the order words are matched and the usage text lists them.
const QVector<OptionSpec> &options();
// The option a word names, or null for any other word.
const OptionSpec *find(const QString &word);
// The number of the option a word names, -1 for any other word.
int code(const QString &word);

// The usage text, one line each, without line ends.
QStringList usageLines();

// One handled option with its argument, in the order of the words.
struct Step
{
    Option option;
    QString argument;
    // For "-s": the address is one of the local adapters (and so binds).
    bool matched = false;

    bool operator==(const Step &other) const
    {
        return option == other.option && argument == other.argument && matched == other.matched;
    }
};

enum class End {
    Complete,         // every word walked
    MissingAddress,   // a command or unknown word before "-t" and "-s"
    MissingArgument,  // the last word is an option that takes an argument
    // More than one command (sealing and a help after a command count too):
    // the first one's result would end the run while a later one still
    // waits, so such a line is refused whole.
    SeveralCommands,
};

struct Plan
{
    QVector<Step> steps;
    End end = End::Complete;
    // True when any option was handled (command mode); false for no words.
    bool commandMode = false;

    // True when a step queues work that ends the run (help, a command, sealing).
    bool queuesWork() const;
};

// Walks the words. `isLocalAddress` says whether the argument of "-s" is one
// of this computer's adapter addresses; only then does "-s" count as given.
// Unknown words after both addresses are skipped; a command does not end
// the walk. A help that comes before any command ends the run before them,
// so such a line is no refusal.
Plan parse(const QStringList &words, const std::function<bool(const QString &)> &isLocalAddress);

} // namespace commandline

} // namespace loader
