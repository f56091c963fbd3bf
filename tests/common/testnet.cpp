#include "testnet.h"

#include <QCoreApplication>
#include <QNetworkInterface>

namespace testnet {

bool available()
{
    if (qEnvironmentVariable("KORVANTIS_TEST_NETNS") != QLatin1String("1"))
        return false;
    // Trust the marker only when the veth side of the tool really is here:
    // a stray environment variable must not let tests talk to a real network.
    const auto addresses = QNetworkInterface::allAddresses();
    return addresses.contains(toolVethAddress());
}

QString skipReason()
{
    return QStringLiteral("network test skipped: not inside the private test network namespace "
                          "(run scripts/test.sh as root)");
}

QHostAddress toolVethAddress() { return QHostAddress(QStringLiteral("198.18.0.1")); }

QHostAddress unitVethAddress(int n) { return QHostAddress(quint32(0xC6120002u + quint32(n))); }

QString binDir()
{
    const QString fromEnv = qEnvironmentVariable("KORVANTIS_BIN_DIR");
    return fromEnv.isEmpty() ? QCoreApplication::applicationDirPath() + QStringLiteral("/../bin") : fromEnv;
}

QString sourceDir() { return qEnvironmentVariable("KORVANTIS_SOURCE_DIR"); }

} // namespace testnet
