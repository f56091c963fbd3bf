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

} // namespace platform
