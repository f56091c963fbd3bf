#pragma once

#include <QHostAddress>
#include <QNetworkAddressEntry>
#include <QObject>
#include <QThread>
#include <cstdint>

#include "confighandler.h"
#include "ethernethandler.h"
#include "udpserver.h"

// The one owner of the link to the processing unit: protocol client,
// transport, the transport's worker thread and the configuration model. GUI
// code reaches them through Device::instance() and never owns them.
class Device : public QObject
{
    Q_OBJECT
public:
    static Device *instance();

    // threadCount 0 asks QThread::idealThreadCount(); tests pass 1 to run
    // the single-core path (no worker thread) or 2 for the threaded one.
    explicit Device(QObject *parent = nullptr, int threadCount = 0);
    ~Device() override;

    EthernetHandler *ethernetHandler() { return &m_handler; }
    UDPServer *udpServer() { return &m_server; }
    QThread *workerThread() { return &m_thread; }
    Confighandler *confighandler() { return &m_config; }
    uint16_t port() const { return m_port; }
    int threadCount() const { return m_threadCount; }
    bool usesWorkerThread() const { return m_threadCount > 1; }

    // Starts the worker thread when there is one (the program entry's step).
    void startTransport();

signals:
    void setIPSlot(QHostAddress ip, uint16_t port);

public slots:
    void currentNetworkEntrychanged(QNetworkAddressEntry entry);

private:
    uint16_t m_port = 7755;
    int m_threadCount = 1;
    EthernetHandler m_handler;
    UDPServer m_server;
    QThread m_thread;
    Confighandler m_config;
};
