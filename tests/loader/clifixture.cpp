#include "clifixture.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QProcessEnvironment>
#include <QSignalSpy>

#include "testnet.h"

QByteArray LoaderRun::resultLine() const
{
    const QList<QByteArray> lines = out.trimmed().split('\n');
    return lines.isEmpty() ? QByteArray() : lines.last();
}

LoaderRun runLoader(const QStringList &arguments, int timeoutMs)
{
    qRegisterMetaType<QProcess::ExitStatus>("QProcess::ExitStatus");
    LoaderRun run;
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    process.setProcessEnvironment(env);
    QSignalSpy finished(&process, qOverload<int, QProcess::ExitStatus>(&QProcess::finished));
    QElapsedTimer clock;
    clock.start();
    process.start(testnet::binDir() + QStringLiteral("/KorvantisLoader"), arguments);
    if (!process.waitForStarted(10000))
        return run;
    if (!finished.wait(timeoutMs)) {
        process.kill();
        process.waitForFinished(5000);
        return run;
    }
    run.ms = clock.elapsed();
    run.finished = process.exitStatus() == QProcess::NormalExit;
    run.exitCode = process.exitCode();
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}
