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
    if (program.isEmpty()) {
        qDebug() << "no loader program in" << m_workingDir << "or" << m_programDir;
        return -100;
    }
    Process process;
    m_lastExitCode = process.run(program, LoaderLaunch::arguments(target, local, command), m_timeoutMs);
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

    int32_t decided = 0;
    int32_t decidedCode = 0;
    int32_t r = runLoader(kept, local, {QStringLiteral("-rc")});
    if (r == 0) {
        r = runLoader(kept, local, {QStringLiteral("-f"), fileName});
        if (r != 0)
            qDebug() << "Update FW failed";
    } else {
        qDebug() << "Reset catch failed";
    }
    if (r != 0) {
        decided = r;
        decidedCode = m_lastExitCode;
    }

    r = runLoader(kept, local, {QStringLiteral("-l")});
    if (r != 0)
        qDebug() << "load FW failed";
    if (decided == 0)
        decided = r;
    else
        m_lastExitCode = decidedCode;  // the message names the run that failed first

    if (m_link)
        m_link->setTargetIP(kept);
    return decided;
}
