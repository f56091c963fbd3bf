#include "platform.h"

#include <QThread>

namespace platform {

void yieldThread() { QThread::yieldCurrentThread(); }

void sleepMs(uint32_t ms) { QThread::msleep(ms); }

void freeConsole() {}

} // namespace platform
