#pragma once

#include <QLoggingCategory>

// The trace of every exchange with the unit (armed, sent, answered). A
// request costs a few microseconds on the wire, so these lines are off
// unless asked for: QT_LOGGING_RULES="korvantis.link.exchange.debug=true".
// Faults (time-outs, retries, dropped frames) stay on the default output.
Q_DECLARE_LOGGING_CATEGORY(lcLinkExchange)
