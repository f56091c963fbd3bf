#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

#include <functional>

#include "cataloguestore.h"
#include "databasefixture.h"
#include "dbencdecoder.h"
#include "dbencpacker.h"
#include "samplekeys.h"

// Catalogue files as they arrive, and every way one can be damaged: each
// damage gives its own code, nothing reaches the catalogue, and no
// decrypted file is left behind.
class TestDbencDecoder : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void damagedFiles_data();
    void damagedFiles();
    void validFileMergesTheExactPayload();
    void longPayloadsArriveExactly_data();
    void longPayloadsArriveExactly();
    void missingFile();
    void folderWithoutRoomForTheTemporaryFile();
    void fileSignedWithOpensslDecodes();

private:
    // Decodes path into a fresh catalogue; returns the code, the number of
    // sensors that arrived and what the merge step saw.
    int decode(const QString &path, int *sensors = nullptr, QByteArray *plainSeen = nullptr);

    QTemporaryDir m_dir;
    QByteArray m_plain;
    QByteArray m_valid;
    int m_connection = 0;
};

using Damage = std::function<void(QByteArray &)>;
Q_DECLARE_METATYPE(Damage)

namespace {

void putWord(QByteArray &file, int offset, quint32 value)
{
    qToLittleEndian<quint32>(value, reinterpret_cast<uchar *>(file.data()) + offset);
}

quint32 wordAt(const QByteArray &file, int offset)
{
    return qFromLittleEndian<quint32>(reinterpret_cast<const uchar *>(file.constData()) + offset);
}

void resign(QByteArray &file)
{
    QCOMPARE(DbencPacker::sign(file, SampleKeys::kSignerPrivateKey, SampleKeys::kSignerPublicKey), 0);
}

Damage flip(int offset)
{
    return [offset](QByteArray &f) {
        const int at = offset < 0 ? f.size() + offset : offset;
        f[at] = char(f.at(at) ^ 0x5a);
    };
}

} // namespace

void TestDbencDecoder::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_plain = dbfixture::plainCatalogue(dbfixture::smallCatalogueSql(1));
    QVERIFY(!m_plain.isEmpty());
    m_valid = dbfixture::packed(m_plain);
    QCOMPARE(m_valid.size(), m_plain.size() + 288);
}

int TestDbencDecoder::decode(const QString &path, int *sensors, QByteArray *plainSeen)
{
    const QString name = QStringLiteral("decode%1").arg(++m_connection);
    int result = 0;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(QStringLiteral(":memory:"));
        db.open();
        CatalogueStore store(db);
        store.createTables();
        DbencDecoder decoder([&](const QString &plainFile) {
            if (plainSeen)
                *plainSeen = dbfixture::readFile(plainFile);
            return !store.merge(plainFile);
        });
        result = decoder.decryptAndVerify(path);
        if (sensors) {
            QSqlQuery q(db);
            q.exec(QStringLiteral("SELECT COUNT(*) FROM sensors"));
            q.next();
            *sensors = q.value(0).toInt();
        }
    }
    QSqlDatabase::removeDatabase(name);
    return result;
}

void TestDbencDecoder::damagedFiles_data()
{
    QTest::addColumn<Damage>("damage");
    QTest::addColumn<int>("code");

    QTest::newRow("intact") << Damage([](QByteArray &) {}) << 0;

    // The signature is checked before the format word, length and CRCs, so
    // any changed byte outside the ephemeral key is a bad signature.
    QTest::newRow("signature byte") << flip(10) << -307;
    QTest::newRow("format word, not re-signed") << flip(96) << -307;
    QTest::newRow("length field, not re-signed") << flip(100) << -307;
    QTest::newRow("opaque header bytes") << flip(120) << -307;
    QTest::newRow("body CRC, not re-signed") << flip(136) << -307;
    QTest::newRow("header CRC, not re-signed") << flip(140) << -307;
    QTest::newRow("key block") << flip(250) << -307;
    QTest::newRow("first payload byte") << flip(288) << -307;
    QTest::newRow("last payload byte") << flip(-1) << -307;
    QTest::newRow("last block cut off") << Damage([](QByteArray &f) { f.chop(16); }) << -307;
    QTest::newRow("block appended") << Damage([](QByteArray &f) { f.append(QByteArray(16, 'x')); }) << -307;

    // The ephemeral point: off the curve gives -305.
    QTest::newRow("ephemeral Y off the curve") << flip(239) << -305;
    QTest::newRow("ephemeral X off the curve") << flip(150) << -305;

    // Correctly signed files with a damaged header.
    QTest::newRow("format word 1") << Damage([](QByteArray &f) {
        putWord(f, 96, 1);
        DbencPacker::updateCrcs(f);
        resign(f);
    }) << -17;
    QTest::newRow("length 16 too small") << Damage([](QByteArray &f) {
        putWord(f, 100, wordAt(f, 100) - 16);
        DbencPacker::updateCrcs(f);
        resign(f);
    }) << -1;
    QTest::newRow("length 16 too large") << Damage([](QByteArray &f) {
        putWord(f, 100, wordAt(f, 100) + 16);
        DbencPacker::updateCrcs(f);
        resign(f);
    }) << -1;
    QTest::newRow("header CRC") << Damage([](QByteArray &f) {
        putWord(f, 140, wordAt(f, 140) ^ 1);
        resign(f);
    }) << -16;
    QTest::newRow("body CRC") << Damage([](QByteArray &f) {
        f[300] = char(f.at(300) ^ 1);  // the body CRC no longer fits
        resign(f);
    }) << -16;

    // Files that a careless reader would run past the end of.
    QTest::newRow("empty file") << Damage([](QByteArray &f) { f.clear(); }) << -1;
    QTest::newRow("287 bytes") << Damage([](QByteArray &f) { f.truncate(287); }) << -1;
    QTest::newRow("header only, 100 bytes") << Damage([](QByteArray &f) { f.truncate(100); }) << -1;
    QTest::newRow("payload not whole blocks") << Damage([](QByteArray &f) { f.append("12345"); }) << -1;
    QTest::newRow("payload 15 bytes short") << Damage([](QByteArray &f) { f.chop(15); }) << -1;

    // Signed and intact, but not readable as a catalogue.
    QTest::newRow("made for another tool key") << Damage([](QByteArray &f) {
        // Agreed with another point, so the key block unwraps to garbage.
        QCOMPARE(DbencPacker::seal(dbfixture::plainCatalogue(dbfixture::smallCatalogueSql(1)),
                                   SampleKeys::kSignerPublicKey, f),
                 0);
        resign(f);
    }) << -101;
    QTest::newRow("payload not a database") << Damage([](QByteArray &f) {
        f = dbfixture::packed(QByteArray(4096, 'z'));
    }) << -101;
    QTest::newRow("empty payload") << Damage([](QByteArray &f) { f = dbfixture::packed(QByteArray()); }) << -101;
}

void TestDbencDecoder::damagedFiles()
{
    QFETCH(Damage, damage);
    QFETCH(int, code);
    QByteArray file = m_valid;
    damage(file);
    const QString folder = m_dir.filePath(QTest::currentDataTag());
    QVERIFY(QDir().mkpath(folder));
    const QString path = folder + "/catalogue.dbenc";
    dbfixture::writeFile(path, file);

    int sensors = -1;
    QCOMPARE(decode(path, &sensors), code);
    QCOMPARE(sensors, code == 0 ? 1 : 0);
    // Only the catalogue file itself is left, unchanged.
    QCOMPARE(dbfixture::folderEntries(folder), QStringList{"catalogue.dbenc"});
    QCOMPARE(dbfixture::readFile(path), file);
}

void TestDbencDecoder::validFileMergesTheExactPayload()
{
    const QString path = m_dir.filePath("valid.dbenc");
    dbfixture::writeFile(path, m_valid);
    QByteArray seen;
    int sensors = 0;
    QCOMPARE(decode(path, &sensors, &seen), 0);
    QCOMPARE(sensors, 1);
    QVERIFY(seen == m_plain);
    // The payload on disk is encrypted: the plain SQLite header is not there.
    QVERIFY(!m_valid.contains("SQLite format 3"));
}

void TestDbencDecoder::longPayloadsArriveExactly_data()
{
    // The payload is decrypted a piece of 256 kB at a time, and a file of 2 MB
    // or more is read into memory of its own: lengths around both.
    QTest::addColumn<int>("length");
    const int piece = 256 * 1024;
    QTest::newRow("one block") << 16;
    QTest::newRow("a piece less a block") << piece - 16;
    QTest::newRow("one piece") << piece;
    QTest::newRow("a piece and a block") << piece + 16;
    QTest::newRow("just under 2 MB with the header") << 2 * 1024 * 1024 - 288 - 16;
    QTest::newRow("2 MB with the header") << 2 * 1024 * 1024 - 288;
    QTest::newRow("over 4 MB, not whole pages") << 4 * 1024 * 1024 + 3 * piece + 48;
}

void TestDbencDecoder::longPayloadsArriveExactly()
{
    QFETCH(int, length);
    QByteArray payload(length, '\0');
    QRandomGenerator random{quint32(length)};
    for (char &c : payload)
        c = char(random.generate());
    const QByteArray file = dbfixture::packed(payload);
    const QString folder = m_dir.filePath(QStringLiteral("long%1").arg(length));
    QVERIFY(QDir().mkpath(folder));
    const QString path = folder + "/catalogue.dbenc";
    dbfixture::writeFile(path, file);

    // Not a database, so the merge refuses it, but it saw every byte.
    QByteArray seen;
    QCOMPARE(decode(path, nullptr, &seen), -101);
    QCOMPARE(seen.size(), payload.size());
    QVERIFY(seen == payload);
    QCOMPARE(dbfixture::folderEntries(folder), QStringList{"catalogue.dbenc"});
    QCOMPARE(dbfixture::readFile(path), file);
}

void TestDbencDecoder::missingFile()
{
    QCOMPARE(decode(m_dir.filePath("nothing-here.dbenc")), -100);
    QVERIFY(!QFile::exists(m_dir.filePath("nothing-here.dbenc")));
}

void TestDbencDecoder::folderWithoutRoomForTheTemporaryFile()
{
    // A name of 250 characters leaves no room for the temporary file's
    // suffix beside it, as a folder the user may not write to would.
    const QString folder = m_dir.filePath("long");
    QVERIFY(QDir().mkpath(folder));
    const QString name = QString(244, 'k') + ".dbenc";
    dbfixture::writeFile(folder + "/" + name, m_valid);
    {
        QTemporaryFile beside(folder + "/" + name);
        QVERIFY(!beside.open() || beside.fileName().isEmpty());
    }
    const QStringList tempBefore = QDir::temp().entryList({"KorvantisCatalogue*"}, QDir::Files);

    int sensors = 0;
    QCOMPARE(decode(folder + "/" + name, &sensors), 0);
    QCOMPARE(sensors, 1);
    QCOMPARE(dbfixture::folderEntries(folder), QStringList{name});
    QCOMPARE(QDir::temp().entryList({"KorvantisCatalogue*"}, QDir::Files), tempBefore);
}

void TestDbencDecoder::fileSignedWithOpensslDecodes()
{
    QByteArray file;
    QCOMPARE(DbencPacker::seal(m_plain, SampleKeys::kToolPublicKey, file), 0);
    QString errors;
    const QByteArray rs = dbfixture::opensslSignature(file.mid(96), &errors);
    QVERIFY2(rs.size() == 96, qPrintable(errors));
    file.replace(0, 96, rs);
    const QString path = m_dir.filePath("openssl.dbenc");
    dbfixture::writeFile(path, file);
    int sensors = 0;
    QCOMPARE(decode(path, &sensors), 0);
    QCOMPARE(sensors, 1);
}

QTEST_GUILESS_MAIN(TestDbencDecoder)
#include "tst_dbencdecoder.moc"
