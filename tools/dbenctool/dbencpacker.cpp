#include "dbencpacker.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>

#include <mbedtls/platform_util.h>
#include <sqlite3.h>

#include "cataloguestore.h"
#include "crc.h"
#include "cryptohandler.h"
#include "dbencformat.h"
#include "errordecode.h"
#include "samplekeys.h"

using namespace DbencFormat;

namespace {

uint8_t *bytesOf(QByteArray &a)
{
    return reinterpret_cast<uint8_t *>(a.data());
}

void putWord(QByteArray &file, int offset, uint32_t value)
{
    qToLittleEndian<quint32>(value, bytesOf(file) + offset);
}

} // namespace

int DbencPacker::seal(const QByteArray &plain, const uint8_t *toolPublicKey, QByteArray &file)
{
    if (plain.size() % int(CryptoHandler::kIvSize) != 0)
        return ERR_DATA_SIZE;
    CryptoHandler crypto;
    file = QByteArray(kHeaderSize, '\0') + plain;
    uint8_t *data = bytesOf(file);

    uint8_t ephemeralPrivate[CryptoHandler::kScalarSize];
    uint8_t secret[CryptoHandler::kScalarSize];
    int result = crypto.generateKeyPair(ephemeralPrivate, data + kEphemeralKeyOffset);
    if (result == ERR_OK)
        result = crypto.computeSharedSecret(toolPublicKey, ephemeralPrivate, secret);
    if (result == ERR_OK)
        result = crypto.generateKeyIv(data + kKeyBlockOffset, data + kKeyBlockOffset + CryptoHandler::kKeySize);
    if (result == ERR_OK)
        result = crypto.aesEncrypt(data + kPayloadOffset, size_t(plain.size()), data + kKeyBlockOffset,
                                   data + kKeyBlockOffset + CryptoHandler::kKeySize);
    if (result == ERR_OK)
        result = crypto.aesEncrypt(data + kKeyBlockOffset, kKeyBlockSize, secret, secret + CryptoHandler::kKeySize);
    mbedtls_platform_zeroize(ephemeralPrivate, sizeof ephemeralPrivate);
    mbedtls_platform_zeroize(secret, sizeof secret);
    if (result != ERR_OK) {
        mbedtls_platform_zeroize(data, size_t(file.size()));
        file.clear();
        return result;
    }
    putWord(file, kFormatWordOffset, kFormatWord);
    putWord(file, kPayloadLengthOffset, uint32_t(plain.size()));
    updateCrcs(file);
    return ERR_OK;
}

void DbencPacker::updateCrcs(QByteArray &file)
{
    if (file.size() < kHeaderSize)
        return;
    putWord(file, kBodyCrcOffset, crc32Words(bytesOf(file) + kBodyCrcStart, uint32_t(file.size() - kBodyCrcStart)));
    putWord(file, kHeaderCrcOffset, crc32Words(bytesOf(file) + kSignedOffset, kHeaderCrcLength));
}

int DbencPacker::sign(QByteArray &file, const uint8_t *signerPrivateKey, const uint8_t *signerPublicKey)
{
    if (file.size() < kHeaderSize)
        return ERR_DATA_SIZE;
    CryptoHandler crypto;
    return crypto.sign(bytesOf(file) + kSignedOffset, size_t(file.size() - kSignedOffset), signerPrivateKey,
                       signerPublicKey, bytesOf(file) + kSignatureOffset);
}

int DbencPacker::pack(const QByteArray &plain, QByteArray &file)
{
    const int result = seal(plain, SampleKeys::kToolPublicKey, file);
    if (result != ERR_OK)
        return result;
    return sign(file, SampleKeys::kSignerPrivateKey, SampleKeys::kSignerPublicKey);
}

QByteArray DbencPacker::buildCatalogue(const QString &sql, QString *error)
{
    auto fail = [error](const QString &text) {
        if (error)
            *error = text;
        return QByteArray();
    };
    QTemporaryDir dir;
    if (!dir.isValid())
        return fail(QStringLiteral("cannot create a temporary folder"));
    const QString path = dir.filePath(QStringLiteral("catalogue.db"));

    sqlite3 *db = nullptr;
    if (sqlite3_open_v2(path.toLocal8Bit().constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr)
        != SQLITE_OK) {
        sqlite3_close(db);
        return fail(QStringLiteral("cannot create the catalogue database"));
    }
    QString failure;
    // A file built in one go: no journal, no syncing, one transaction.
    const QStringList statements = QStringList{QStringLiteral("PRAGMA journal_mode = OFF; PRAGMA synchronous = OFF; "
                                                              "BEGIN")}
                                   + CatalogueStore::createStatements() + QStringList{sql, QStringLiteral("COMMIT")};
    for (const QString &statement : statements) {
        char *message = nullptr;
        if (sqlite3_exec(db, statement.toUtf8().constData(), nullptr, nullptr, &message) != SQLITE_OK) {
            failure = QString::fromUtf8(message ? message : "unknown SQLite error");
            sqlite3_free(message);
            break;
        }
    }
    sqlite3_close(db);
    if (!failure.isEmpty())
        return fail(failure);

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return fail(QStringLiteral("cannot read the catalogue database"));
    return file.readAll();
}
