#pragma once

// Makes the argument types of the signals that cross between the GUI thread
// and the transport's worker thread known to Qt's queued connections.
// Called once by each program entry before any connection is made.
void registerMetaTypes();
