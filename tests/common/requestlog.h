#pragma once

#include <QSet>
#include <QVector>

// A request log of the simulated unit without the resends: the tool sends
// an unanswered request again as the very same frame (same command, same
// sequence number), and on a busy machine an answer may come late enough
// for that to happen although nothing was lost. A new request always has a
// sequence number of its own.
template <typename Request>
QVector<Request> withoutResends(const QVector<Request> &log)
{
    QVector<Request> out;
    QSet<quint32> seen;
    for (const Request &r : log) {
        const quint32 key = quint32(r.command) << 16 | r.sequence;
        if (seen.contains(key))
            continue;
        seen.insert(key);
        out.append(r);
    }
    return out;
}

// How many requests of `command` the log holds, a request sent again
// counted once.
template <typename Request>
int distinctRequests(const QVector<Request> &log, int command)
{
    int n = 0;
    for (const Request &r : withoutResends(log))
        n += r.command == command;
    return n;
}
