#include "timedmutexlocker.h"

#include <QDebug>

TimedMutexLocker::TimedMutexLocker(QMutex *mutex, const char *where, int64_t timeoutMs)
    : m_mutex(mutex)
{
    if (!m_mutex)
        return;
    const int64_t clamped = timeoutMs < 0 ? 0 : (timeoutMs > 0x7FFFFFFF ? 0x7FFFFFFF : timeoutMs);
    m_locked = m_mutex->tryLock(int(clamped));
    if (!m_locked)
        qDebug() << where;
}

TimedMutexLocker::~TimedMutexLocker()
{
    if (m_locked)
        m_mutex->unlock();
}
