#pragma once

#include <QMutex>
#include <QObject>
#include <QString>
#include <QStringList>

// Runs one program with a time-out and waits for it in a local event loop,
// so the window stays responsive; keeps what the program printed.
class Process : public QObject
{
public:
    explicit Process(QObject *parent = nullptr) : QObject(parent) {}

    // The program's result as LoaderLaunch::result reads it: the number of
    // its last "Result: N" line, else its exit status; -99999 when it
    // crashed, was killed at the time-out or could not be started; -99 when
    // this object is already running a program.
    int run(const QString &program, const QStringList &arguments, int timeoutMs);

    QString readStandardOutput() const;
    QString readStandardError() const;

private:
    QMutex m_mutex;
    QString m_standardOutput;
    QString m_standardError;
};
