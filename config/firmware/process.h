#pragma once

#include "loaderlaunch.h"

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
    // its last "Result: N" line, else its exit status. Only a program that
    // ended by itself gives a result; otherwise a negative code that no
    // result of its own can be mistaken for: LoaderLaunch::Crashed (crashed,
    // killed, or killed at the time-out), NotStarted, NotEnded, and -99 when
    // this object is already running a program.
    // The run is never cut short by the program quitting: a loader that is
    // flashing a unit is waited for to its end (or its time-out).
    int run(const QString &program, const QStringList &arguments, int timeoutMs);

    // How the last run ended, and the system's reason when it could not
    // start.
    LoaderLaunch::Outcome outcome() const { return m_outcome; }
    QString errorText() const { return m_errorText; }

    QString readStandardOutput() const;
    QString readStandardError() const;

private:
    QMutex m_mutex;
    QString m_standardOutput;
    QString m_standardError;
    LoaderLaunch::Outcome m_outcome = LoaderLaunch::Outcome::Finished;
    QString m_errorText;
};
