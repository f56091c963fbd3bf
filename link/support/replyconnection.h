#pragma once

#include <QDebug>
#include <QObject>
#include <QThread>
#include <utility>

// Signals that carry a pointer for the answer (a question whose clicked
// button is written back) only work as direct calls: the asking code reads
// the answer right after the emit, from its own stack. So they are connected
// here, directly and only between objects of one thread; the pointer type
// is deliberately not registered for queued connections, which would hand
// the receiver a pointer into a frame that is gone.
template <typename Sender, typename Signal, typename Slot>
QMetaObject::Connection connectReply(const Sender *sender, Signal signal, const QObject *context, Slot slot)
{
    if (!sender || !context || sender->thread() != context->thread()) {
        qWarning() << "a signal with an answer pointer is connected only within one thread";
        return QMetaObject::Connection();
    }
    return QObject::connect(
        sender, signal, context,
        [context, slot = std::move(slot)](auto &&...args) {
            // Moved to another thread since: the answer stays unset.
            if (QThread::currentThread() != context->thread()) {
                qWarning() << "answer pointer signal emitted from another thread - ignored";
                return;
            }
            slot(std::forward<decltype(args)>(args)...);
        },
        Qt::DirectConnection);
}
