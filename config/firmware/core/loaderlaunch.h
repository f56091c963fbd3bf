#pragma once

#include <QByteArray>
#include <QHostAddress>
#include <QProcess>
#include <QString>
#include <QStringList>

// How KorvantisSetup runs KorvantisLoader: which program, with which words,
// and what its run means. Plain functions, so the rules are tested without
// starting a process.
namespace LoaderLaunch {

// The name used when the folder holds no versioned loader.
inline constexpr char DefaultProgramName[] = "KorvantisLoader_Rev_2.11.878.exe";
// The loader shipped beside KorvantisSetup on this platform.
inline constexpr char PlainProgramName[] = "KorvantisLoader";

// Results of a run that gave no result of its own. None of them is 0 or
// more: each counts as a failed run.
// The loader crashed, was killed from outside, or was killed at its time-out.
inline constexpr int Crashed = -99999;
// The program could not be started at all.
inline constexpr int NotStarted = -99998;
// The program was still running when the wait for it had to end.
inline constexpr int NotEnded = -99997;
// No loader program was found.
inline constexpr int NotFound = -100;

// How one run of the loader ended.
enum class Outcome {
    Finished,    // it ended by itself; its result counts
    NotFound,    // no program to run
    NotStarted,  // the program could not be started
    Crashed,     // it crashed or was killed from outside
    TimedOut,    // killed at the time-out
    NotEnded,    // still running when the wait ended
    Busy,        // the process object was already running a program
};

// The loader program to run: in `workingDir` (the process's current folder),
// the last name of `exeListing` (its "*.exe" names in listing order) that
// is a versioned loader name wins over the default name; when that file does
// not exist there, the plain loader in `programDir` (the folder of
// KorvantisSetup). Empty when neither exists.
QString findProgram(const QString &workingDir, const QStringList &exeListing, const QString &programDir);

// The argument list of one run: "-t" target, "-s" local, then the command
// words (each its own argument, so a path with blanks stays one).
QStringList arguments(const QHostAddress &target, const QHostAddress &local, const QStringList &command);

// The loader's result: the number on its last "Result: N" line of standard
// output; without one, the 8-bit exit status read back as a signed value;
// a crash or kill gives Crashed, a failed start NotStarted.
int result(const QByteArray &standardOutput, QProcess::ExitStatus status, int exitCode, bool started = true);

} // namespace LoaderLaunch
