#pragma once

#include <QString>

#include "devicerecords.h"

// The unit's firmware version as the tool prints it: major without padding,
// minor with 2 digits, build with 5 digits (2.3 build 815 gives 2.03.00815),
// without a modification marker.
QString firmwareVersionText(const ProductInfoRecord &record);
