#include "process.h"

#include "loaderlaunch.h"
#include "timedmutexlocker.h"

#include <QDebug>
#include <QEventLoop>
#include <QProcess>
#include <QTimer>

namespace {

// Output up to the first NUL byte, read as UTF-8.
QString textOf(const QByteArray &bytes)
{
    const int nul = bytes.indexOf('\0');
    return QString::fromUtf8(nul < 0 ? bytes : bytes.left(nul));
}

} // namespace

int Process::run(const QString &program, const QStringList &arguments, int timeoutMs)
{
    TimedMutexLocker lock(&m_mutex, "Process::run", 50);
    if (!lock.isLocked()) {
        qDebug() << "mutex still locked";
        return -99;
    }

    QProcess process;
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    timer.setInterval(timeoutMs);
    QObject::connect(&timer, &QTimer::timeout, &process, &QProcess::kill);
    QObject::connect(&process, QOverload<int, QProcess::ExitStatus>::of(&QProcess::finished), &loop,
                     &QEventLoop::quit);
    // A program that cannot be started never finishes: end the wait at once.
    bool started = true;
    QObject::connect(&process, &QProcess::errorOccurred, &loop, [&](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart) {
            started = false;
            loop.quit();
        }
    });

    process.start(program, arguments, QIODevice::ReadWrite);
    timer.start();
    if (started && process.state() != QProcess::NotRunning)
        loop.exec();
    else if (started)
        process.waitForFinished(0);  // finished before the loop ran: collect it

    const QByteArray out = process.readAllStandardOutput();
    m_standardOutput = textOf(out);
    m_standardError = textOf(process.readAllStandardError());
    if (!started) {
        qDebug() << "could not start" << program << process.errorString();
        return LoaderLaunch::Crashed;
    }
    return LoaderLaunch::result(out, process.exitStatus(), process.exitCode());
}

QString Process::readStandardOutput() const
{
    qDebug() << "Standard Output: " << m_standardOutput;
    return m_standardOutput;
}

QString Process::readStandardError() const
{
    qDebug() << "Standard Error: " << m_standardError;
    return m_standardError;
}
