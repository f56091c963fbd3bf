// The scoped try-lock that bounds how long a request waits for the request
// lock.
#include <QElapsedTimer>
#include <QMutex>
#include <QTest>
#include <chrono>
#include <cstdint>
#include <future>
#include <limits>
#include <thread>

#include "timedmutexlocker.h"

namespace {

// Holds a mutex on another thread from construction on, for `holdMs`
// milliseconds or, with -1, until it is destroyed.
class Holder
{
public:
    Holder(QMutex *mutex, int holdMs)
    {
        std::future<void> locked = m_locked.get_future();
        std::future<void> release = m_release.get_future();
        m_thread = std::thread([this, mutex, holdMs, release = std::move(release)] {
            mutex->lock();
            m_locked.set_value();
            if (holdMs < 0)
                release.wait();
            else
                release.wait_for(std::chrono::milliseconds(holdMs));
            mutex->unlock();
        });
        locked.wait();
    }
    ~Holder()
    {
        m_release.set_value();
        m_thread.join();
    }

private:
    std::promise<void> m_locked;
    std::promise<void> m_release;
    std::thread m_thread;
};

} // namespace

class TestTimedMutexLocker : public QObject
{
    Q_OBJECT

private slots:
    void lockIsHadAndReleased();
    void refusedAfterTheTimeOut();
    void waitsForARelease();
    void nullMutexIsNeverLocked();
    void timeOutIsClamped_data();
    void timeOutIsClamped();
};

void TestTimedMutexLocker::lockIsHadAndReleased()
{
    QMutex mutex;
    {
        TimedMutexLocker lock(&mutex, "free mutex", 100);
        QVERIFY(lock.isLocked());
        QVERIFY(!mutex.tryLock());
    }
    // The locker's end gives the mutex back.
    QVERIFY(mutex.tryLock());
    mutex.unlock();
}

void TestTimedMutexLocker::refusedAfterTheTimeOut()
{
    QMutex mutex;
    {
        Holder holder(&mutex, -1);
        QElapsedTimer clock;
        clock.start();
        {
            QTest::ignoreMessage(QtDebugMsg, "errorCode_e EthernetHandler::someRequest()");
            TimedMutexLocker lock(&mutex, "errorCode_e EthernetHandler::someRequest()", 60);
            QVERIFY(!lock.isLocked());
            // It did wait before giving up.
            QVERIFY(clock.elapsed() >= 50);
        }
        // A refused locker never unlocks what another thread holds.
        QVERIFY(!mutex.tryLock());
    }
    QVERIFY(mutex.tryLock());
    mutex.unlock();
}

void TestTimedMutexLocker::waitsForARelease()
{
    QMutex mutex;
    Holder holder(&mutex, 100);
    TimedMutexLocker lock(&mutex, "released in time", 10000);
    QVERIFY(lock.isLocked());
}

void TestTimedMutexLocker::nullMutexIsNeverLocked()
{
    TimedMutexLocker lock(nullptr, "no mutex", 100);
    QVERIFY(!lock.isLocked());
    // Destruction must not touch the missing mutex.
}

void TestTimedMutexLocker::timeOutIsClamped_data()
{
    QTest::addColumn<qint64>("timeoutMs");
    QTest::addColumn<int>("holdMs");
    QTest::addColumn<bool>("locked");
    // Below 0 means 0: one try, no wait (unclamped, QMutex would wait for ever
    // and take the lock once the holder lets go).
    QTest::newRow("negative") << qint64(-5) << 300 << false;
    QTest::newRow("int64 minimum") << std::numeric_limits<qint64>::min() << 300 << false;
    QTest::newRow("zero") << qint64(0) << 300 << false;
    // Above the int range means the longest wait, not a wrapped short one.
    QTest::newRow("just above the int range") << qint64(0x100000005LL) << 200 << true;
    QTest::newRow("int64 maximum") << std::numeric_limits<qint64>::max() << 200 << true;
}

void TestTimedMutexLocker::timeOutIsClamped()
{
    QFETCH(qint64, timeoutMs);
    QFETCH(int, holdMs);
    QFETCH(bool, locked);
    QMutex mutex;
    Holder holder(&mutex, holdMs);
    if (!locked)
        QTest::ignoreMessage(QtDebugMsg, "clamped");
    TimedMutexLocker lock(&mutex, "clamped", int64_t(timeoutMs));
    QCOMPARE(lock.isLocked(), locked);
}

QTEST_GUILESS_MAIN(TestTimedMutexLocker)
#include "tst_timedmutexlocker.moc"
