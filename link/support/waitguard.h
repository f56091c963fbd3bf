#pragma once

#include <QEventLoop>
#include <QObject>
#include <QPointer>

// Use: `const WaitGuard guard(this);` before a wait that runs a nested event loop (a request to the unit, an exec()).
// The loop may delete the object (Close, deleteLater, its window going): after the wait, `if (!guard) return;` and
// touch no member. A loop of your own calls guard.endWith(loop) first, so it ends when the object goes.
class WaitGuard
{
public:
    explicit WaitGuard(QObject *watched) : m_watched(watched) {}

    bool alive() const { return !m_watched.isNull(); }
    explicit operator bool() const { return alive(); }

    // Ends `loop` when the watched object is destroyed. Returns alive():
    // for an object already gone there is nothing to wait for, so do not
    // exec() the loop (a quit before exec() would be forgotten).
    bool endWith(QEventLoop &loop) const
    {
        if (m_watched)
            QObject::connect(m_watched.data(), &QObject::destroyed, &loop, &QEventLoop::quit);
        return alive();
    }

private:
    QPointer<QObject> m_watched;
};
