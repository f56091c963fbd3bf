#pragma once

#include "loaderlaunch.h"

#include <QHostAddress>
#include <QString>
#include <QStringList>

#include <cstdint>

class EthernetHandler;

// One firmware update: runs KorvantisLoader three times against the unit
// ("-rc" to reset it and catch its bootloader, "-f" with the archive, "-l"
// to start the firmware) while the tool leaves the unit to the loader.
// Made on the stack for one update.
class FirmwareUpdater
{
public:
    // `link` is told to let go of the unit during the update and to take it
    // back afterwards; null leaves the link alone.
    explicit FirmwareUpdater(EthernetHandler *link);

    static QString optionArg(const QString &option, const QString &value) { return option + QLatin1Char(' ') + value; }

    // Result of the run that decides the update: the first failing "-rc" or
    // "-f" run, else the "-l" run. "-l" always runs, so a caught unit does
    // not stay in its bootloader. 0, -100 (no loader program) or -1001.
    int32_t updateFirmware(const QHostAddress &target, const QHostAddress &local, const QString &fileName);

    // One run of the loader with `command` (an option and its value, if
    // any): 0 (the loader's result is 0 or more), -100 (no loader program;
    // the last exit code is then -100 too) or -1001 (a negative result, or
    // no result at all: crashed, killed, not started).
    int32_t runLoader(const QHostAddress &target, const QHostAddress &local, const QStringList &command);

    // The result of the run that decided the last outcome.
    int32_t lastExitCode() const { return m_lastExitCode; }
    // The option of the run that decided the last outcome ("-rc", "-f",
    // "-l"), how that run ended, and the system's reason when it could not
    // be started.
    QString lastStep() const { return m_lastStep; }
    LoaderLaunch::Outcome lastOutcome() const { return m_lastOutcome; }
    QString lastErrorText() const { return m_lastErrorText; }
    int timeoutMs() const { return m_timeoutMs; }

    // Where the loader is looked for and how long a run may take; the
    // defaults are the process's current folder, KorvantisSetup's own
    // folder and 300000 ms.
    void setLookup(const QString &workingDir, const QString &programDir);
    void setTimeoutMs(int ms) { m_timeoutMs = ms; }

private:
    EthernetHandler *m_link;
    int32_t m_lastExitCode = 0;
    QString m_lastStep;
    LoaderLaunch::Outcome m_lastOutcome = LoaderLaunch::Outcome::Finished;
    QString m_lastErrorText;
    QString m_workingDir;
    QString m_programDir;
    int m_timeoutMs = 300000;
};
