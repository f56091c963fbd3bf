// Which local addresses the network interface selector offers.
#include <QComboBox>
#include <QSignalSpy>
#include <QtTest>

#include "device.h"
#include "metatypes.h"
#include "nicselectwidget.h"

namespace {

QNetworkAddressEntry entry(const char *ip, const char *mask = "255.255.255.0")
{
    QNetworkAddressEntry e;
    e.setIp(QHostAddress(QString::fromLatin1(ip)));
    e.setNetmask(QHostAddress(QString::fromLatin1(mask)));
    return e;
}

const QNetworkInterface::InterfaceFlags kUp = QNetworkInterface::IsUp | QNetworkInterface::IsRunning;

} // namespace

class TestNicSelectWidget : public QObject
{
    Q_OBJECT

private slots:
    void offeredAddresses()
    {
        const QList<NicSelectWidget::Interface> interfaces{
            {QStringLiteral("lo"), kUp | QNetworkInterface::IsLoopBack, {entry("127.0.0.1", "255.0.0.0")}},
            {QStringLiteral("Ethernet 2"), kUp, {entry("192.168.0.20"), entry("fe80::1", "ffff:ffff:ffff:ffff::"),
                                                 entry("10.1.0.5", "255.255.0.0")}},
            {QStringLiteral("Cable unplugged"), QNetworkInterface::IsUp, {entry("192.168.5.1")}},
            {QStringLiteral("Disabled"), QNetworkInterface::IsRunning, {entry("192.168.6.1")}},
            {QStringLiteral("No address"), kUp, {QNetworkAddressEntry()}},
            {QStringLiteral("WLAN"), kUp, {entry("172.16.3.9", "255.255.240.0")}},
        };
        const QList<NicSelectWidget::Choice> choices = NicSelectWidget::choices(interfaces);
        QStringList texts;
        for (const auto &c : choices)
            texts << c.text;
        // An adapter with two IPv4 addresses gives two items of the same name.
        QCOMPARE(texts, (QStringList{"Ethernet 2 | IP: 192.168.0.20", "Ethernet 2 | IP: 10.1.0.5",
                                     "WLAN | IP: 172.16.3.9"}));
        QCOMPARE(choices.at(1).entry.netmask(), QHostAddress(QStringLiteral("255.255.0.0")));
    }

    void nothingUsable()
    {
        const QList<NicSelectWidget::Interface> interfaces{
            {QStringLiteral("lo"), kUp | QNetworkInterface::IsLoopBack, {entry("127.0.0.1", "255.0.0.0")}},
            {QStringLiteral("down"), QNetworkInterface::InterfaceFlags(), {entry("192.168.0.20")}},
        };
        QVERIFY(NicSelectWidget::choices(interfaces).isEmpty());
        QVERIFY(NicSelectWidget::choices({}).isEmpty());
    }

    // Without any item the selector announces a default entry, which the
    // Device ignores: the socket keeps its binding.
    void emptyListRebindsNothing()
    {
        registerMetaTypes();
        NicSelectWidget selector;
        QSignalSpy announced(&selector, &NicSelectWidget::currentAddrEntrychanged);
        QSignalSpy rebinds(Device::instance(), &Device::setIPSlot);
        QComboBox *box = selector.findChild<QComboBox *>();
        const bool hadItems = box->count() > 0;
        box->clear();
        QVERIFY(selector.currentAddressEntry().ip().isNull());
        QVERIFY(selector.currentAddressEntry().netmask().isNull());
        QCOMPARE(announced.count(), hadItems ? 1 : 0);
        if (hadItems)
            QVERIFY(announced.at(0).at(0).value<QNetworkAddressEntry>().ip().isNull());
        QCOMPARE(rebinds.count(), 0);
    }
};

QTEST_MAIN(TestNicSelectWidget)
#include "tst_nicselectwidget.moc"
