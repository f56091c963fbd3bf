#pragma once

namespace loader {

// Makes the types that cross queued connections in the loader known to Qt:
// QHostAddress, uint8_t, uint16_t, errorCode_e and EthernetFrame. Called by
// the program entry before any queued connection is made.
void registerMetaTypes();

} // namespace loader
