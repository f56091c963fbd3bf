#pragma once

#include <QHostAddress>
#include <QObject>

// The tool's copy of the unit's configuration. (Being filled in: for now the
// network block's subnet mask that discovery needs.)
class Confighandler : public QObject
{
    Q_OBJECT
public:
    explicit Confighandler(QObject *parent = nullptr);
    ~Confighandler() override;

    // The subnet mask of the stored connection parameters, as an address.
    QHostAddress getSubnetMask() const;

private:
    QHostAddress m_subnetMask{QStringLiteral("255.255.255.0")};
};
