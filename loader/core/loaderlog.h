#pragma once

#include <QLoggingCategory>

// The loader's own diagnostics (addresses set, CRCs sent, dropped frames,
// locks not had). A script reads the loader's standard output and treats
// anything on standard error as a failure, so these lines are off unless
// asked for: QT_LOGGING_RULES="korvantis.loader.debug=true".
Q_DECLARE_LOGGING_CATEGORY(lcLoader)

namespace loaderlog {

// The filter rules of a command-line run: every category's debug, info and
// warning lines stay quiet (Qt's own included), so standard error is empty.
// Rules in QT_LOGGING_RULES still win over these.
QString commandLineRules();

} // namespace loaderlog
