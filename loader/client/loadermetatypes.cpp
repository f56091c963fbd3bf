#include "loadermetatypes.h"

#include <QHostAddress>
#include <QMetaType>

#include "errorcode.h"
#include "metatypes.h"
#include "signalreceiver.h"

namespace loader {

void registerMetaTypes()
{
    ::registerMetaTypes();
    qRegisterMetaType<loader::errorCode_e>("loader::errorCode_e");
    qRegisterMetaType<loader::errorCode_e>("errorCode_e");
    qRegisterMetaType<EthernetFrame>("EthernetFrame");
    qRegisterMetaType<QAbstractSocket::SocketError>("QAbstractSocket::SocketError");
    qRegisterMetaType<QAbstractSocket::SocketState>("QAbstractSocket::SocketState");
}

} // namespace loader
