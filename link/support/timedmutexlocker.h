#pragma once

#include <QMutex>
#include <cstdint>

// Scoped try-lock with a bounded wait. When the lock is not had within the
// time-out, the caller's label is logged and the locker stays unlocked; the
// caller checks isLocked(). A null mutex is never locked.
class TimedMutexLocker
{
public:
    TimedMutexLocker(QMutex *mutex, const char *where, int64_t timeoutMs);
    ~TimedMutexLocker();

    TimedMutexLocker(const TimedMutexLocker &) = delete;
    TimedMutexLocker &operator=(const TimedMutexLocker &) = delete;

    bool isLocked() const { return m_locked; }

private:
    QMutex *m_mutex;
    bool m_locked = false;
};
