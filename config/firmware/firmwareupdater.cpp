#include "firmwareupdater.h"

#include "ethernethandler.h"
#include "loaderlaunch.h"
#include "process.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>

FirmwareUpdater::FirmwareUpdater(EthernetHandler *link)
    : m_link(link), m_workingDir(QDir::currentPath()), m_programDir(QCoreApplication::applicationDirPath())
{
}

void FirmwareUpdater::setLookup(const QString &workingDir, const QString &programDir)
{
    m_workingDir = workingDir;
    m_programDir = programDir;
}

int32_t FirmwareUpdater::runLoader(const QHostAddress &target, const QHostAddress &local, const QStringList &command)
{
    const QStringList listing =
        QDir(m_workingDir).entryList({QStringLiteral("*.exe")}, QDir::Files, QDir::Unsorted);
    const QString program = LoaderLaunch::findProgram(m_workingDir, listing, m_programDir);
    m_lastStep = command.value(0);
    m_lastErrorText.clear();
    if (program.isEmpty()) {
        qDebug() << "no loader program in" << m_workingDir << "or" << m_programDir;
        // A run that never happened has no exit code of its own; 0 would
        // read as a loader that succeeded.
        m_lastExitCode = LoaderLaunch::NotFound;
        m_lastOutcome = LoaderLaunch::Outcome::NotFound;
        return -100;
    }
    Process process;
    m_lastExitCode = process.run(program, LoaderLaunch::arguments(target, local, command), m_timeoutMs);
    m_lastOutcome = process.outcome();
    m_lastErrorText = process.errorText();
    process.readStandardOutput();
    process.readStandardError();
    return m_lastExitCode < 0 ? -1001 : 0;
}

int32_t FirmwareUpdater::updateFirmware(const QHostAddress &target, const QHostAddress &local,
                                        const QString &fileName)
{
    const QHostAddress kept(target.toString());
    if (m_link)
        m_link->disconnectFromDevice();

    // The run that failed first decides the outcome and the message.
    struct Failure
    {
        int32_t result = 0;
        int32_t code = 0;
        QString step;
        LoaderLaunch::Outcome outcome = LoaderLaunch::Outcome::Finished;
        QString errorText;
    } failure;
    const auto keep = [&](int32_t result) {
        failure = {result, m_lastExitCode, m_lastStep, m_lastOutcome, m_lastErrorText};
    };
    int32_t r = runLoader(kept, local, {QStringLiteral("-rc")});
    if (r == 0) {
        r = runLoader(kept, local, {QStringLiteral("-f"), fileName});
        if (r != 0)
            qDebug() << "Update FW failed";
    } else {
        qDebug() << "Reset catch failed";
    }
    if (r != 0)
        keep(r);

    r = runLoader(kept, local, {QStringLiteral("-l")});
    if (r != 0)
        qDebug() << "load FW failed";
    if (failure.result == 0) {
        failure.result = r;
    } else {
        // The message names the run that failed first.
        m_lastExitCode = failure.code;
        m_lastStep = failure.step;
        m_lastOutcome = failure.outcome;
        m_lastErrorText = failure.errorText;
    }

    if (m_link)
        m_link->setTargetIP(kept);
    return failure.result;
}
