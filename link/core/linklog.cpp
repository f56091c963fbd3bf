#include "linklog.h"

Q_LOGGING_CATEGORY(lcLinkExchange, "korvantis.link.exchange", QtInfoMsg)
