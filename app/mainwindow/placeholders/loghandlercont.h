#pragma once

#include <QObject>
#include <QString>
#include <cstdint>

// Stands in for the device log container until it is built: it has the
// progress signals the main window listens to, and never emits them.
class LoghandlerCont : public QObject
{
    Q_OBJECT
public:
    static LoghandlerCont &instance()
    {
        static LoghandlerCont container;
        return container;
    }
    void refreshFilters() {}

signals:
    void initProgressbar(QString title, uint32_t max);
    void setMaxProgressbar(uint32_t max);
    void updateProgressbar(uint32_t val);
    void deinitProgressbar();

private:
    LoghandlerCont() = default;
};
