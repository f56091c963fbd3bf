#include "waitms.h"

#include <QCoreApplication>
#include <QDateTime>

#include "platform.h"

bool waitMs(uint32_t ms)
{
    if (ms == 0)
        return true;
    const qint64 start = QDateTime::currentMSecsSinceEpoch();
    for (;;) {
        const qint64 elapsed = QDateTime::currentMSecsSinceEpoch() - start;
        if (elapsed >= qint64(ms))
            break;
        // Short waits spin with a yield; longer ones give the core away.
        if (elapsed > 9)
            platform::sleepMs(10);
        else
            platform::yieldThread();
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
    return true;
}
