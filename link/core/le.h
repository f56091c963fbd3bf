#pragma once

// Older name of the byte-order helper; new code includes byteorder.h.
#include <cstring>

#include "byteorder.h"
