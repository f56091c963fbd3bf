#pragma once

#include <cstdint>

// The few Windows calls the programs make, on this platform.
namespace platform {

// Gives up the rest of the time slice (SwitchToThread).
void yieldThread();
// Sleeps the calling thread (Sleep).
void sleepMs(uint32_t ms);
// Detaches from the console (FreeConsole); nothing to do here.
void freeConsole();

// A command-line run builds its (hidden) window too; where no display is
// there (a plain terminal, a service shell) it draws offscreen instead of
// failing to start. Must be called before the application object exists.
void useHeadlessGuiWithoutDisplay();

// Threads other than the GUI thread run Qt's own event loop instead of
// GLib's: the link's worker thread turns over once or twice per exchange
// with the unit, and Qt's loop does that with about a third fewer
// instructions. The GUI thread keeps GLib's loop, which the desktop
// integration (native dialogs, input methods) relies on. A value already
// set in the environment is kept. Must be called before any thread starts.
void useQtEventLoopOnWorkerThreads();

} // namespace platform
