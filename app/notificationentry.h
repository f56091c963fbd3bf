#pragma once

#include <QString>

#include <cstdint>

class QWidget;

// One queued notification of the notification bar.
struct NotificationEntry
{
    QWidget *page = nullptr;      // page of the bar that shows it
    QString text;
    bool sendErrorReset = false;  // ask the unit to reset its error state on removal
    bool showGoToLog = false;
    uint32_t timeoutMs = 0;       // 0: stays until confirmed
};
