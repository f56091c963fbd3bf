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

// Result of a run that crashed, was killed at its time-out or never started.
inline constexpr int Crashed = -99999;

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
// a crash, kill or failed start gives Crashed.
int result(const QByteArray &standardOutput, QProcess::ExitStatus status, int exitCode, bool started = true);

} // namespace LoaderLaunch
