// Configuration files: the format, saving and loading through the model, and
// files that must be refused.
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/fsuid.h>
#include <unistd.h>

#include "configblob.h"
#include "configfile.h"
#include "configfixture.h"
#include "byteorder.h"

namespace {

QByteArray readAll(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray();
    return f.readAll();
}

bool writeAll(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

void putBe32(QByteArray &b, int offset, uint32_t v)
{
    b[offset] = char(v >> 24);
    b[offset + 1] = char(v >> 16);
    b[offset + 2] = char(v >> 8);
    b[offset + 3] = char(v);
}

// Offsets of the blocks' length words and their contents.
constexpr int kNamesOffset = 32;
constexpr int kDeviceOffset = 2084;
constexpr int kBlobOffset = 2152;
constexpr int kAnybusOffset = 2668;

} // namespace

class TestConfigFile : public QObject
{
    Q_OBJECT
private slots:
    void init();

    void layout();
    void saveLoadRoundTrip();
    void extensionAndReplace();
    void defaultChannelsWriteNoFile();
    void refusedFiles_data();
    void refusedFiles();
    void missingFile();
    void endlessFileIsReadOnlyInPart();
    void alteredBlobSkipsOnlyTheBlob();
    void invalidDeviceBlockSkipsOnlyThatBlock();
    void sameNetworkAsksNothing();
    void keepParameters();
    void readOnlyFolderKeepsOldFile();
    void dialogLayer();

private:
    QString path(const QString &name) const { return m_dir->filePath(name); }
    // A saved file of a configured model.
    QByteArray savedFile();

    // A fresh folder for every test function.
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestConfigFile::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

QByteArray TestConfigFile::savedFile()
{
    Confighandler c;
    configureAllChannels(c);
    const QString p = path(QStringLiteral("base.cfg"));
    if (c.saveConfigFile(p) != ERR_OK)
        return QByteArray();
    return readAll(p);
}

void TestConfigFile::layout()
{
    Confighandler c;
    configureAllChannels(c);
    QVERIFY(c.setNetworkSettings(QHostAddress(QStringLiteral("10.1.2.3")), QHostAddress(QStringLiteral("255.255.0.0")))
            == ERR_OK);
    const QString p = path(QStringLiteral("layout.cfg"));
    QCOMPARE(c.saveConfigFile(p), ERR_OK);
    const QByteArray f = readAll(p);
    QCOMPARE(f.size(), 3235);

    // Length words (big-endian) and the version (little-endian, as in memory).
    QCOMPARE(f.left(32).toHex(), QByteArray("00000004"
                                            "02000000"
                                            "00000010"
                                            "0a010203"
                                            "ffff0000"
                                            "0000000000000000"
                                            "00000800"));
    QCOMPARE(f.mid(2080, 4).toHex(), QByteArray("00000040"));
    QCOMPARE(f.mid(2148, 4).toHex(), QByteArray("00000200"));
    QCOMPARE(f.mid(2664, 4).toHex(), QByteArray("00000237"));

    // Contents are the model's records byte for byte; the blob travels
    // scrambled.
    QCOMPARE(f.mid(kNamesOffset, 256), c.deviceNameRecord().toBytes());
    for (uint8_t ch = 0; ch < 7; ++ch) {
        DeviceNameRecord r;
        c.channelNameRecord(ch, r);
        QCOMPARE(f.mid(kNamesOffset + 256 * (ch + 1), 256), r.toBytes());
    }
    QCOMPARE(f.mid(kDeviceOffset, 64), c.getDeviceConfig().toBytes());
    QCOMPARE(f.mid(kBlobOffset, 512),
             QByteArray(reinterpret_cast<const char *>(Confighandler::scrambleBlob(c.getConfigBlob())), 512));
    QVERIFY(f.mid(kBlobOffset, 512) != c.getConfigBlob().toBytes());
    QCOMPARE(f.mid(kAnybusOffset), c.getAnybusCFG().toBytes());

    // The pure codec agrees with what the model wrote.
    ConfigFileContent content;
    QString reason;
    QVERIFY2(ConfigFile::decode(f, &content, &reason), qPrintable(reason));
    QCOMPARE(ConfigFile::encode(content), f);
}

void TestConfigFile::saveLoadRoundTrip()
{
    Confighandler source;
    configureAllChannels(source);
    const QString p = path(QStringLiteral("trip.cfg"));
    QCOMPARE(source.saveConfigFile(p), ERR_OK);

    Confighandler target;
    MessageLog log(target);
    QSignalSpy changed(&target, &Confighandler::ConfigBlobchanged);
    QCOMPARE(target.loadConfigFile(p), ERR_OK);

    const ConfigSnapshot a = ConfigSnapshot::of(source);
    const ConfigSnapshot b = ConfigSnapshot::of(target);
    QCOMPARE(b.deviceName, a.deviceName);
    QVERIFY(b.channelNames == a.channelNames);
    QVERIFY(b.device == a.device);
    QVERIFY(b.anybus == a.anybus);
    // Loading seals the blob anew: same content, filler and CRC of its own.
    QCOMPARE(blobContent(b.blob), blobContent(a.blob));
    QVERIFY(!ConfigBlob::checkBlob(b.blob));
    QCOMPARE(target.deviceName(), QStringLiteral("Presse Süd; Linie 2"));
    // The loaded device block lacks a reference on channel 3: warned once.
    QCOMPARE(log.errors, QStringList{QStringLiteral(
                             "There were no valid Reference values found for the following channels: Lager 3 µ")});
    // Same network settings on both sides: nothing to ask.
    QCOMPARE(log.questions.size(), 0);
    QVERIFY(changed.count() >= 2);  // sealing and the final re-announcement
}

void TestConfigFile::extensionAndReplace()
{
    Confighandler c;
    configureAllChannels(c);
    QCOMPARE(c.saveConfigFile(QStringLiteral("  ") + path(QStringLiteral("plain")) + QStringLiteral(" ")), ERR_OK);
    QVERIFY(QFile::exists(path(QStringLiteral("plain.cfg"))));
    QVERIFY(!QFile::exists(path(QStringLiteral("plain"))));

    // Over an existing file of the full name: replaced whole.
    const QString target = path(QStringLiteral("old.cfg"));
    QVERIFY(writeAll(target, QByteArray(5000, 'x')));
    QCOMPARE(c.saveConfigFile(target), ERR_OK);
    QCOMPARE(readAll(target), readAll(path(QStringLiteral("plain.cfg"))));
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden).size(), 2);  // no temporary left

    QCOMPARE(ConfigFile::withExtension(QStringLiteral(" a.cfg "), QStringLiteral("cfg")), QStringLiteral("a.cfg"));
    QCOMPARE(ConfigFile::withExtension(QStringLiteral("a.CFG"), QStringLiteral("cfg")), QStringLiteral("a.CFG.cfg"));
    QCOMPARE(ConfigFile::withExtension(QStringLiteral("   "), QStringLiteral("cfg")), QString());
}

void TestConfigFile::defaultChannelsWriteNoFile()
{
    Confighandler c;  // every channel enabled with default entries
    MessageLog log(c);
    const QString p = path(QStringLiteral("default.cfg"));
    QCOMPARE(c.saveConfigFile(p), ERR_INVALID_CONFIG);
    QVERIFY(!QFile::exists(p));
    QCOMPARE(log.errors.size(), 1);
    QVERIFY(log.errors.first().startsWith(
        QStringLiteral("Found active Channel with default config! Deactivate the Channels or configure them. Channel 1 | ")));
}

void TestConfigFile::refusedFiles_data()
{
    QTest::addColumn<QByteArray>("file");
    // The reason given, where it matters which.
    QTest::addColumn<QString>("reason");

    const QByteArray good = savedFile();
    QCOMPARE(good.size(), 3235);

    QTest::newRow("empty") << QByteArray() << QString();
    QTest::newRow("3 bytes") << good.left(3) << QString();
    QTest::newRow("version only") << good.left(8) << QString();
    QTest::newRow("cut in names") << good.left(1000) << QString();
    QTest::newRow("one byte short") << good.left(3234) << QString();
    QTest::newRow("one byte more") << good + QByteArray(1, '\0')
                                   << "the file has 3236 bytes, a configuration file 3235";
    QTest::newRow("twice") << good + good << "the file has 6470 bytes, a configuration file 3235";

    QByteArray v3 = good;
    v3[4] = 3;
    QTest::newRow("version 3") << v3 << QString();
    QByteArray v1 = good;
    v1[4] = 1;
    QTest::newRow("version 1") << v1 << QString();

    QByteArray longVersion = good;
    putBe32(longVersion, 0, 8);
    QTest::newRow("version block of 8") << longVersion << QString();

    QByteArray shortDevice = good;
    putBe32(shortDevice, 2080, 63);
    QTest::newRow("device block of 63") << shortDevice << QString();

    QByteArray hugeBlob = good;
    putBe32(hugeBlob, 2148, 0xFFFFFFF0u);
    QTest::newRow("blob length beyond the file") << hugeBlob << QString();

    QByteArray garbage(3235, '\0');
    for (int i = 0; i < garbage.size(); ++i)
        garbage[i] = char((i * 131 + 7) ^ (i >> 3));
    QTest::newRow("garbage") << garbage << QString();
    QTest::newRow("text") << QByteArray("[Config]\nversion=2\n").leftJustified(3235, ' ') << QString();

    QByteArray longName = good;
    longName[kNamesOffset + 250] = char(251);
    QTest::newRow("device name length 251") << longName << QString();

    QByteArray semicolon = good;
    semicolon[kNamesOffset + 256 * 3] = ';';  // channel 2
    QTest::newRow("channel name with semicolon") << semicolon << QString();

    QByteArray quote = good;
    quote[kNamesOffset + 256 * 7 + 2] = '"';  // channel 6
    QTest::newRow("channel name with quote") << quote << QString();

    QByteArray badUtf8 = good;
    badUtf8[kNamesOffset + 1] = char(0xC3);
    badUtf8[kNamesOffset + 2] = 'x';
    QTest::newRow("device name not UTF-8") << badUtf8 << QString();
}

void TestConfigFile::refusedFiles()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, reason);
    const QString p = path(QStringLiteral("bad.cfg"));
    QVERIFY(writeAll(p, file));

    Confighandler c;
    configureAllChannels(c);
    const ConfigSnapshot before = ConfigSnapshot::of(c);
    MessageLog log(c);
    QSignalSpy blob(&c, &Confighandler::ConfigBlobchanged);
    QSignalSpy device(&c, &Confighandler::ConfigDevicechanged);
    QSignalSpy names(&c, &Confighandler::Devicenamechanged);
    QSignalSpy anybus(&c, &Confighandler::AnybusCFGchanged);

    QCOMPARE(c.loadConfigFile(p), ERR_INVALID_FILE);
    QVERIFY(!c.lastFileError().isEmpty());
    if (!reason.isEmpty())
        QCOMPARE(c.lastFileError(), reason);
    QVERIFY(ConfigSnapshot::of(c) == before);
    QCOMPARE(blob.count() + device.count() + names.count() + anybus.count(), 0);
    QVERIFY(log.questions.isEmpty());
    QVERIFY(log.errors.isEmpty());
}

void TestConfigFile::missingFile()
{
    Confighandler c;
    const ConfigSnapshot before = ConfigSnapshot::of(c);
    QCOMPARE(c.loadConfigFile(path(QStringLiteral("nothing-here"))), ERR_INVALID_FILE);
    QVERIFY(ConfigSnapshot::of(c) == before);
}

// A file without a size of its own (a device that never ends) is refused
// after one byte more than a configuration file holds.
void TestConfigFile::endlessFileIsReadOnlyInPart()
{
    if (!QFileInfo::exists(QStringLiteral("/dev/zero")))
        QSKIP("no /dev/zero here");
    QByteArray bytes("unchanged");
    QString reason;
    QCOMPARE(ConfigFile::readFile(QStringLiteral("/dev/zero"), &bytes, &reason), ERR_INVALID_FILE);
    QCOMPARE(reason, QStringLiteral("more bytes than a configuration file holds"));
    QCOMPARE(bytes, QByteArray("unchanged"));
}

void TestConfigFile::alteredBlobSkipsOnlyTheBlob()
{
    QByteArray f = savedFile();
    f[kBlobOffset + 100] = char(f.at(kBlobOffset + 100) ^ 0x10);
    const QString p = path(QStringLiteral("blob.cfg"));
    QVERIFY(writeAll(p, f));

    Confighandler c;
    const CFG_Blob_struct_sorted oldBlob = c.getConfigBlob();
    MessageLog log(c);
    QCOMPARE(c.loadConfigFile(p), ERR_OK);
    QVERIFY(c.getConfigBlob() == oldBlob);
    QCOMPARE(c.deviceName(), QStringLiteral("Presse Süd; Linie 2"));
    QCOMPARE(c.getDeviceConfig().debounceTime(), uint16_t(42));
    QCOMPARE(c.getAnybusCFG().data()[1], uint8_t(7));
}

void TestConfigFile::invalidDeviceBlockSkipsOnlyThatBlock()
{
    QByteArray f = savedFile();
    f[kDeviceOffset + 2] = 3;  // output select out of range
    const QString p = path(QStringLiteral("device.cfg"));
    QVERIFY(writeAll(p, f));

    Confighandler c;
    const CFG_Device_Param_struct oldDevice = c.getDeviceConfig();
    MessageLog log(c);
    QCOMPARE(c.loadConfigFile(p), ERR_OK);
    QVERIFY(c.getDeviceConfig() == oldDevice);
    QVERIFY(log.errors.contains(QStringLiteral("Detected invalid Device Common Config! Config ignored.")));
    QVERIFY(log.errors.contains(QStringLiteral("Detected invalid Device Config! Config ignored.")));
    // A refused block neither warns about missing references nor leaves
    // that warning armed for a later change.
    for (const QString &e : qAsConst(log.errors))
        QVERIFY2(!e.startsWith(QStringLiteral("There were no valid Reference values")), qPrintable(e));
    QVERIFY(!c.warnMissingReferences());
    QCOMPARE(c.channelName(5), QStringLiteral("Lager 5 µ"));
    CFG_ChannelMapping_struct m;
    QCOMPARE(c.channelEntry(5, m), ERR_OK);
    QCOMPARE(m.id(), 45);
}

void TestConfigFile::sameNetworkAsksNothing()
{
    Confighandler source;
    configureAllChannels(source);
    const QString p = path(QStringLiteral("same.cfg"));
    QCOMPARE(source.saveConfigFile(p), ERR_OK);

    Confighandler c;  // same default network settings
    MessageLog log(c);
    QCOMPARE(c.loadConfigFile(p), ERR_OK);
    QVERIFY(log.questions.isEmpty());
}

void TestConfigFile::keepParameters()
{
    Confighandler source;
    configureAllChannels(source);
    source.setNetworkSettings(QHostAddress(QStringLiteral("10.9.8.7")), QHostAddress(QStringLiteral("255.0.0.0")));
    const QString p = path(QStringLiteral("other-net.cfg"));
    QCOMPARE(source.saveConfigFile(p), ERR_OK);

    Confighandler c;
    MessageLog log(c);
    log.answers << 0;  // "Keep Parameters"
    QSignalSpy conn(&c, &Confighandler::ConfigConnectivitychanged);
    QCOMPARE(c.loadConfigFile(p), ERR_OK);
    QCOMPARE(log.questions.size(), 1);
    const auto &q = log.questions.first();
    QCOMPARE(q.title, QStringLiteral("Different Connection Parameters detected"));
    QCOMPARE(q.text, QStringLiteral("Do you want to overwrite and save the Connection Parameters of the Device?\n "
                                    "Otherwise the current parameters are not changed!"));
    QCOMPARE(q.buttons, QStringList({QStringLiteral("Keep Parameters"), QStringLiteral("Overwrite Parameters")}));
    QCOMPARE(q.kind, 1);
    QCOMPARE(c.getIpAddress(), QHostAddress(QStringLiteral("192.168.0.100")));
    QCOMPARE(c.getSubnetMask(), QHostAddress(QStringLiteral("255.255.255.0")));
    // Only the final re-announcement carries the (unchanged) settings.
    QCOMPARE(conn.count(), 1);
    QCOMPARE(c.deviceName(), QStringLiteral("Presse Süd; Linie 2"));
}

void TestConfigFile::readOnlyFolderKeepsOldFile()
{
    const QString folder = path(QStringLiteral("locked"));
    QVERIFY(QDir().mkpath(folder));
    const QString target = folder + QStringLiteral("/unit.cfg");
    const QByteArray old("the previous configuration");
    QVERIFY(writeAll(target, old));
    QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup
                                              | QFile::ReadOther | QFile::ExeOther));
    QVERIFY(QFile::setPermissions(m_dir->path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
                                                    | QFile::ReadOther | QFile::ExeOther));

    Confighandler c;
    configureAllChannels(c);
    // root passes every permission check; an unprivileged file-system
    // identity makes the folder really read-only for the save.
    const bool root = geteuid() == 0;
    if (root)
        setfsuid(65534);
    const errorCode_e r = c.saveConfigFile(target);
    if (root) {
        setfsuid(0);
        QCOMPARE(int(setfsuid(uint(-1))), 0);
    }
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    QCOMPARE(r, ERR_INVALID_FILE);
    QVERIFY(!c.lastFileError().isEmpty());
    QCOMPARE(readAll(target), old);
    QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("unit.cfg")});
}

void TestConfigFile::dialogLayer()
{
    Confighandler c;
    configureAllChannels(c);
    // Without a dialog the dialog forms cancel.
    QCOMPARE(c.saveConfigFile(), ERR_OK);
    QCOMPARE(c.loadConfigFile(), ERR_OK);

    QStringList calls;
    QString answer;
    c.setFileNameProvider([&](bool saving, const QString &caption, const QString &filter) {
        calls << QStringLiteral("%1|%2|%3").arg(saving ? QStringLiteral("save") : QStringLiteral("open"), caption,
                                                 filter);
        return answer;
    });
    answer = QStringLiteral("  ");  // cancelled
    QCOMPARE(c.saveConfigFile(), ERR_OK);
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files).size(), 0);
    answer = path(QStringLiteral("chosen"));
    QCOMPARE(c.saveConfigFile(), ERR_OK);
    QVERIFY(QFile::exists(path(QStringLiteral("chosen.cfg"))));
    QCOMPARE(c.loadConfigFile(), ERR_OK);
    QCOMPARE(calls, QStringList({QStringLiteral("save|Select Filename|*.cfg"),
                                 QStringLiteral("save|Select Filename|*.cfg"),
                                 QStringLiteral("open|Select Filename|*.cfg")}));

    // Not valid for saving: refused before anyone is asked.
    Confighandler fresh;
    int asked = 0;
    fresh.setFileNameProvider([&](bool, const QString &, const QString &) {
        ++asked;
        return path(QStringLiteral("never"));
    });
    QCOMPARE(fresh.saveConfigFile(), ERR_INVALID_CONFIG);
    QCOMPARE(asked, 0);
}

QTEST_GUILESS_MAIN(TestConfigFile)
#include "tst_configfile.moc"
