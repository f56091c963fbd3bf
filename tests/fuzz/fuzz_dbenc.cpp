// Catalogue files (".dbenc") as KorvantisSetup loads them at start-up:
// through the decoder (sizes, key agreement, signature, header fields,
// CRCs, decryption) and the merge into the catalogue. A file that is
// refused must leave the catalogue as it was and leave no decrypted file
// behind.
//
// Input: the first byte picks the form of the rest.
//   0  the whole file as it lies in the folder;
//   1  a plain catalogue (an SQLite file), packed as the producer tool does
//      with the sample keys, so that the decoder gets past the signature and
//      the merge reads the fuzzer's database;
//   2  as 1, with the header damaged after packing (u8 offset into bytes
//      96..287, u8 xor value, u8 bit 0: store fresh CRCs) and signed again,
//      which reaches every check behind the signature.
// No build flag changes the decoder: the signature is real.
#include <QDir>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QVariant>

#include "cataloguestore.h"
#include "dbencdecoder.h"
#include "dbencformat.h"
#include "dbencpacker.h"
#include "errordecode.h"
#include "fuzzinput.h"
#include "samplekeys.h"

namespace {

QSqlDatabase &catalogue()
{
    static QSqlDatabase db;
    return db;
}

// Rows per table, in table order.
QVector<qint64> rowCounts()
{
    QVector<qint64> counts;
    for (const QString &table : CatalogueStore::tableNames()) {
        QSqlQuery q(catalogue());
        if (!q.exec(QStringLiteral("SELECT count(*) FROM ") + table) || !q.next())
            fuzz::fail("cannot count the catalogue's rows", __FILE__, __LINE__);
        counts.append(q.value(0).toLongLong());
    }
    return counts;
}

void emptyCatalogue()
{
    for (const QString &table : CatalogueStore::tableNames())
        QSqlQuery(catalogue()).exec(QStringLiteral("DELETE FROM ") + table);
}

bool knownResult(int r)
{
    return r == ERR_OK || r == ERR_DATA_SIZE || r == ERR_INVALID_PARAM || r == ERR_NOT_SUPPORTED
           || r == ERR_FILE_NOT_FOUND || r == ERR_FILE_READ || r == ERR_FILE_WRITE || (r <= ERR_DB_300 && r >= ERR_DB_307);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzz::initQt();
    catalogue() = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("fuzz"));
    catalogue().setDatabaseName(QStringLiteral(":memory:"));
    if (!catalogue().open() || !CatalogueStore(catalogue()).createTables())
        fuzz::fail("cannot create the catalogue", __FILE__, __LINE__);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzInput in(data, size);
    const int form = in.u8() % 3;
    QByteArray file;
    if (form == 0) {
        file = in.rest();
    } else {
        uint8_t offset = 0, flip = 0, options = 0;
        if (form == 2) {
            offset = in.u8();
            flip = in.u8();
            options = in.u8();
        }
        QByteArray plain = in.rest();
        // The payload is whole AES blocks; an SQLite file always is.
        plain.append(QByteArray((16 - plain.size() % 16) % 16, '\0'));
        FUZZ_CHECK(DbencPacker::seal(plain, SampleKeys::kToolPublicKey, file) == ERR_OK);
        if (form == 2) {
            const int at = DbencFormat::kSignedOffset + offset % (DbencFormat::kHeaderSize - DbencFormat::kSignedOffset);
            file[at] = char(file.at(at) ^ flip);
            if (options & 1)
                DbencPacker::updateCrcs(file);
        }
        FUZZ_CHECK(DbencPacker::sign(file, SampleKeys::kSignerPrivateKey, SampleKeys::kSignerPublicKey) == ERR_OK);
    }

    const QString path = fuzz::scratchFile(file, QStringLiteral("catalogue.dbenc"));
    const QVector<qint64> before = rowCounts();
    QString mergeError;
    DbencDecoder decoder([&mergeError](const QString &plainFile) {
        return !CatalogueStore(catalogue()).merge(plainFile, &mergeError);
    });
    const int r = decoder.decryptAndVerify(path);

    FUZZ_CHECK(knownResult(r));
    // A file our own producer made always gets through the decoder; only
    // the merge may refuse what is inside.
    if (form == 1)
        FUZZ_CHECK(r == ERR_OK || r == ERR_FILE_READ);
    if (r != ERR_OK)
        FUZZ_CHECK(rowCounts() == before);
    else
        emptyCatalogue();
    // Nothing decrypted stays beside the file.
    FUZZ_CHECK(QFileInfo(path).dir().entryList(QDir::Files | QDir::Hidden)
               == QStringList{QStringLiteral("catalogue.dbenc")});
    return 0;
}
