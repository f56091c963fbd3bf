#include "platform.h"

#include <QThread>
#include <QtGlobal>

namespace platform {

void yieldThread() { QThread::yieldCurrentThread(); }

void sleepMs(uint32_t ms) { QThread::msleep(ms); }

void freeConsole() {}

void useHeadlessGuiWithoutDisplay()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY")
        && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

} // namespace platform
