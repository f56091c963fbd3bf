// The text forms behind the connect dialog and the identification views:
// typed addresses, result codes, MAC addresses, unit names, versions.
#include <QtTest>

#include "discoverytext.h"
#include "ipaddresstext.h"
#include "productinfotext.h"

class TestDialogTexts : public QObject
{
    Q_OBJECT

private slots:
    void normalize_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("leading zeros") << "192.168.001.010" << "192.168.1.10";
        QTest::newRow("above 255") << "300.1.1.1" << "255.1.1.1";
        QTest::newRow("empty part") << "1..2.3" << "1.0.2.3";
        QTest::newRow("all zeros") << "10.000.0.1" << "10.0.0.1";
        QTest::newRow("single zero stays") << "0.0.0.0" << "0.0.0.0";
        QTest::newRow("fifth part untouched") << "1.2.3.4.005" << "1.2.3.4.005";
        QTest::newRow("not a number") << "a.b.1.2" << "a.b.1.2";
        QTest::newRow("empty") << "" << "0";
        QTest::newRow("two parts") << "07.300" << "7.255";
    }
    void normalize()
    {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QCOMPARE(normalizeIpText(text), expected);
    }

    // What a typed unit address means. QHostAddress alone would read the
    // leading-zero form as octal and some short forms as whole addresses.
    void manualAddress_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("address");  // empty: refused
        QTest::addColumn<bool>("usable");
        QTest::newRow("valid") << "192.168.0.10" << "192.168.0.10" << true;
        QTest::newRow("leading zeros are decimal") << "192.168.001.010" << "192.168.1.10" << true;
        QTest::newRow("blanks around") << "  10.0.0.7 " << "10.0.0.7" << true;
        QTest::newRow("padding beyond three digits") << "10.0.0.0007" << "10.0.0.7" << true;
        QTest::newRow("out of range refused, not cut") << "192.168.0.300" << "" << false;
        QTest::newRow("blank") << "   " << "" << false;
        QTest::newRow("empty") << "" << "" << false;
        QTest::newRow("loopback unit") << "127.0.0.1" << "127.0.0.1" << false;
        QTest::newRow("three parts") << "192.168.10" << "" << false;
        QTest::newRow("one number") << "3232235530" << "" << false;
        QTest::newRow("empty part") << "192..0.1" << "" << false;
        QTest::newRow("hexadecimal") << "0x0a.0.0.1" << "" << false;
        QTest::newRow("blank inside") << "192.168. 0.1" << "" << false;
        QTest::newRow("IPv6") << "::1" << "" << false;
        QTest::newRow("other-script digits") << QString::fromUtf8("1\xd9\xa3.0.0.1") << "" << false;
    }
    void manualAddress()
    {
        QFETCH(QString, text);
        QFETCH(QString, address);
        QFETCH(bool, usable);
        const QHostAddress parsed = manualUnitAddress(text);
        QCOMPARE(parsed.isNull() ? QString() : parsed.toString(), address);
        QCOMPARE(!isInvalidUnitAddress(parsed), usable);
    }

    void strictQuad()
    {
        QCOMPARE(parseDottedQuad(QStringLiteral("10.1.2.3")), QHostAddress(QStringLiteral("10.1.2.3")));
        QVERIFY(parseDottedQuad(QStringLiteral("10.1.2.256")).isNull());
        QVERIFY(parseDottedQuad(QStringLiteral("10.1.2.3.")).isNull());
        QVERIFY(parseDottedQuad(QStringLiteral("10.1.2.3\n")).isNull());
    }

    void resultCodes_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("text");
        // Signed base 16, lower case, right-aligned in 8 with blanks.
        QTest::newRow("no unit answered") << -1001 << QStringLiteral("    -3e9");
        QTest::newRow("minus one") << -1 << QStringLiteral("      -1");
        QTest::newRow("lock error") << -1100 << QStringLiteral("    -44c");
        QTest::newRow("positive") << 0x1f << QStringLiteral("      1f");
        QTest::newRow("eight digits") << 0x7fffffff << QStringLiteral("7fffffff");
        // Wider than 8: nothing is cut.
        QTest::newRow("most negative") << int(INT32_MIN) << QStringLiteral("-80000000");
    }

    void resultCodes()
    {
        QFETCH(int, code);
        QFETCH(QString, text);
        QCOMPARE(hexCode(code), text);
    }

    void answerTexts()
    {
        DiscoveredDevice d;
        const uint8_t mac[6] = {0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E};
        d.setMacAddress(mac);
        QCOMPARE(macDashText(d), QStringLiteral("00-1A-2B-3C-4D-5E"));

        // A name record that counts its zero byte, and one with bytes after
        // a zero byte: the name shown and stored ends at the first zero.
        uint8_t record[256] = {};
        std::memcpy(record, "Pump\0hall", 9);
        record[250] = 9;
        d.setNameRecord(record);
        QCOMPARE(unitNameText(d), QStringLiteral("Pump"));
        std::memcpy(record, "Halle 3 \xc3\xb6l", 11);
        record[250] = 11;
        d.setNameRecord(record);
        QCOMPARE(unitNameText(d), QStringLiteral("Halle 3 \u00f6l"));
    }

    void manualRecord()
    {
        const DiscoveredDevice d = manualDeviceRecord(QHostAddress(QStringLiteral("192.168.0.10")),
                                                      QHostAddress(QStringLiteral("255.255.0.0")));
        QCOMPARE(d.ipAddress(), QHostAddress(QStringLiteral("192.168.0.10")));
        QCOMPARE(d.subnetMask(), QHostAddress(QStringLiteral("255.255.0.0")));
        // "Korvantis" and its zero byte, counted: length 10.
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(d.nameRecord()), 11), QByteArray("Korvantis\0\0", 11));
        QCOMPARE(int(d.nameRecord()[250]), 10);
        QCOMPARE(unitNameText(d), QStringLiteral("Korvantis"));
        QCOMPARE(macDashText(d), QStringLiteral("00-00-00-00-00-00"));

        // No interface chosen: the mask is 0.0.0.0.
        const DiscoveredDevice none = manualDeviceRecord(QHostAddress(QStringLiteral("10.0.0.1")), QHostAddress());
        QCOMPARE(none.subnetMask(), QHostAddress(QStringLiteral("0.0.0.0")));
    }

    void firmwareVersion_data()
    {
        QTest::addColumn<int>("major");
        QTest::addColumn<int>("minor");
        QTest::addColumn<int>("build");
        QTest::addColumn<QString>("expected");
        QTest::newRow("2.3 build 815") << 2 << 3 << 815 << "2.03.00815";
        QTest::newRow("zeros") << 1 << 0 << 0 << "1.00.00000";
        QTest::newRow("two-digit major") << 10 << 5 << 42 << "10.05.00042";
        QTest::newRow("largest") << 255 << 255 << 65535 << "255.255.65535";
    }
    void firmwareVersion()
    {
        QFETCH(int, major);
        QFETCH(int, minor);
        QFETCH(int, build);
        QFETCH(QString, expected);
        ProductInfoRecord r;
        r.firmwareMajor = uint8_t(major);
        r.firmwareMinor = uint8_t(minor);
        r.firmwareBuild = uint16_t(build);
        r.firmwareModified = 1;  // never part of this text
        QCOMPARE(firmwareVersionText(r), expected);
    }
};

QTEST_GUILESS_MAIN(TestDialogTexts)
#include "tst_dialogtexts.moc"
