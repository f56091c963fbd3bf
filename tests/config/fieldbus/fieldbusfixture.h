#pragma once

#include <QByteArray>
#include <QHostAddress>
#include <QList>
#include <QStringList>
#include <QVector>
#include <functional>
#include <memory>

#include "basewidget.h"
#include "device.h"
#include "unitsim.h"

// A simulated unit with a fieldbus module on a loopback address, and the
// program's one Device connected to it with short time-outs, its heartbeats
// driving the save handshake as the main window has them do.
struct FieldbusRig
{
    std::unique_ptr<UnitSim> sim;

    bool start(const QHostAddress &unit, uint16_t networkType);
    static Confighandler *config() { return Device::instance()->confighandler(); }
    static EthernetHandler *handler() { return Device::instance()->ethernetHandler(); }
    // The record the unit keeps.
    QByteArray unitRecord() const { return sim->parameters().value(0x3000); }
    void setUnitRecord(const QByteArray &record) { sim->parameters().setValue(0x3000, record); }
    QList<int> serviceActions() const;
};

// The service actions `unit` received, in order, each once however often
// it was sent.
QList<int> serviceActionsOf(const UnitSim &unit);
// How many fieldbus records `unit` was sent, each once however often it
// was sent.
int recordWritesOf(const UnitSim &unit);

// What a page or bar tells the user, with scripted answers to its
// questions (each question takes the next answer; -1 when none is left).
struct Messages
{
    QStringList errors;
    QStringList successes;
    QStringList questions;
    QList<int> answers;
    std::function<void()> duringQuestion;  // runs while the question is open

    explicit Messages(BaseWidget *widget);

private:
    QObject m_context;  // the connections end with this
};

// The progress bar as the main window would follow it.
struct ProgressLog
{
    QStringList events;  // "init <title> <max>", "update <n>", "deinit"
    ProgressLog();

private:
    QObject m_context;
};

// A record of `type` in which every field holds a value of its own, with
// a pattern in the bytes no page field covers.
QByteArray fullRecord(uint16_t type);

void putText(QByteArray &record, int offset, int width, const QByteArray &text);
void put16(QByteArray &record, int offset, uint16_t value);
