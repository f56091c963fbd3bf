#include "confighandler.h"

Confighandler::Confighandler(QObject *parent)
    : QObject(parent)
{
}

Confighandler::~Confighandler() = default;

QHostAddress Confighandler::getSubnetMask() const
{
    return m_subnetMask;
}
