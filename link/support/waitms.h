#pragma once

#include <cstdint>

// Waits at least `ms` milliseconds while processing the calling thread's
// events (timers, queued datagrams, input keep flowing). Returns true.
bool waitMs(uint32_t ms);
