#pragma once

#include <QByteArray>
#include <QStringList>

// Runs KorvantisLoader with arguments while the caller's event loop keeps
// running (so an in-process simulated unit can answer it).
struct LoaderRun
{
    bool finished = false;
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
    qint64 ms = 0;

    // The last line of standard output, the result of record.
    QByteArray resultLine() const;
};

LoaderRun runLoader(const QStringList &arguments, int timeoutMs = 20000);

// The exit status Linux keeps of a result code.
inline int exitStatusOf(int result) { return result & 0xFF; }
