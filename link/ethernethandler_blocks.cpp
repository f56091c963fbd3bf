// Block transfers of the unit's log (0x11) and measurement data (0x12).
#include "ethernethandler.h"

#include <QDebug>

void EthernetHandler::handleLogBlockAnswer(const EthernetFrame &frame)
{
    qDebug() << "log block answer not handled yet, payload" << frame.payloadLength();
}

void EthernetHandler::handleDataBlockAnswer(const EthernetFrame &frame)
{
    qDebug() << "measurement block answer not handled yet, payload" << frame.payloadLength();
}
