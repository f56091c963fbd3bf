#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>

// The producer's side of catalogue files (".dbenc"): wraps a plain SQLite
// catalogue the way the program's decoder unwraps it. Results are the
// crypto wrapper's codes (0, -300 .. -307), or -1 for a payload that is not
// whole AES blocks.
class DbencPacker
{
public:
    // The file without its signature (bytes 0..95 zero): a fresh ephemeral
    // ECDH key pair agreed with toolPublicKey, a random payload key and IV
    // wrapped under the agreed secret, the encrypted payload and both CRCs.
    static int seal(const QByteArray &plain, const uint8_t *toolPublicKey, QByteArray &file);
    // Signs bytes 96..end into bytes 0..95.
    static int sign(QByteArray &file, const uint8_t *signerPrivateKey, const uint8_t *signerPublicKey);
    // seal and sign with the sample keys.
    static int pack(const QByteArray &plain, QByteArray &file);
    // Stores both CRCs for the bytes as they are (for files changed on
    // purpose after sealing).
    static void updateCrcs(QByteArray &file);

    // A plain catalogue database: the catalogue's tables, then the SQL text
    // (any number of statements). Empty, with *error set, when a statement
    // fails.
    static QByteArray buildCatalogue(const QString &sql, QString *error = nullptr);
};
