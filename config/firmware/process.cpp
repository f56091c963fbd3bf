#include "process.h"

#include "timedmutexlocker.h"

#include <QDebug>
#include <QElapsedTimer>
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

// How long a killed program may take to be gone.
constexpr int kReapMs = 5000;

} // namespace

int Process::run(const QString &program, const QStringList &arguments, int timeoutMs)
{
    TimedMutexLocker lock(&m_mutex, "Process::run", 50);
    if (!lock.isLocked()) {
        qDebug() << "mutex still locked";
        m_outcome = LoaderLaunch::Outcome::Busy;
        return -99;
    }
    m_outcome = LoaderLaunch::Outcome::Finished;
    m_errorText.clear();

    QProcess process;
    QEventLoop loop;
    QTimer timer;
    bool timedOut = false;
    timer.setSingleShot(true);
    timer.setInterval(timeoutMs);
    QObject::connect(&timer, &QTimer::timeout, &process, [&] {
        timedOut = true;
        process.kill();
    });
    QObject::connect(&process, QOverload<int, QProcess::ExitStatus>::of(&QProcess::finished), &loop,
                     &QEventLoop::quit);
    // A program that cannot be started never finishes: end the wait at once.
    QObject::connect(&process, &QProcess::errorOccurred, &loop, [&](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            loop.quit();
    });

    QElapsedTimer clock;
    clock.start();
    process.start(program, arguments, QIODevice::ReadWrite);
    timer.start();
    if (process.state() != QProcess::NotRunning)
        loop.exec();

    // The loop also ends when the whole program quits: every event loop is
    // told to end then, and a new one ends at once. A loader that is
    // writing the unit's flash must not be cut off in the middle (the unit
    // would stay in its bootloader with half an image), so wait for it here,
    // without an event loop, for the rest of its time.
    if (process.state() != QProcess::NotRunning && !timedOut) {
        qDebug() << "wait for" << program << "ended early - waiting for it to finish";
        const qint64 left = qint64(timeoutMs) - clock.elapsed();
        if (left <= 0 || !process.waitForFinished(int(qMin<qint64>(left, 0x7FFFFFFF)))) {
            if (process.state() != QProcess::NotRunning) {
                timedOut = true;
                process.kill();
            }
        }
    }
    timer.stop();
    if (process.state() != QProcess::NotRunning)
        process.waitForFinished(kReapMs);  // a killed program: collect it

    const QByteArray out = process.readAllStandardOutput();
    m_standardOutput = textOf(out);
    m_standardError = textOf(process.readAllStandardError());

    if (process.error() == QProcess::FailedToStart) {
        m_outcome = LoaderLaunch::Outcome::NotStarted;
        m_errorText = process.errorString();
        qDebug() << "could not start" << program << m_errorText;
        return LoaderLaunch::NotStarted;
    }
    if (process.state() != QProcess::NotRunning) {
        m_outcome = LoaderLaunch::Outcome::NotEnded;
        qDebug() << program << "did not end";
        return LoaderLaunch::NotEnded;
    }
    if (process.exitStatus() != QProcess::NormalExit) {
        m_outcome = timedOut ? LoaderLaunch::Outcome::TimedOut : LoaderLaunch::Outcome::Crashed;
        qDebug() << program << (timedOut ? "was killed at its time-out" : "crashed or was killed");
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
