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

} // namespace platform
