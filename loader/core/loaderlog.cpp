#include "loaderlog.h"

Q_LOGGING_CATEGORY(lcLoader, "korvantis.loader", QtInfoMsg)

QString loaderlog::commandLineRules()
{
    return QStringLiteral("*.debug=false\n*.info=false\n*.warning=false");
}
