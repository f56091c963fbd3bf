#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Shared helpers of the catalogue tests: small catalogues made from SQL,
// packed into catalogue files with the sample keys, and the conversions the
// openssl command line needs.
namespace dbfixture {

// Rows of one small, complete catalogue (every table has rows); ids start
// at base so that two such catalogues merge without clashes.
QString smallCatalogueSql(int base);

// A plain catalogue (SQLite file bytes) from SQL rows; fails the test when
// the SQL is refused.
QByteArray plainCatalogue(const QString &sql);
// A signed, encrypted catalogue file from plain bytes.
QByteArray packed(const QByteArray &plain);
void writeFile(const QString &path, const QByteArray &bytes);
QByteArray readFile(const QString &path);

// Files in the folder, sorted, hidden ones included.
QStringList folderEntries(const QString &folder);

// The sample keys in the forms the openssl command line reads.
QByteArray signerPrivateKeyPem();
QByteArray signerPublicKeyPem();
// ECDSA-Sig-Value DER <-> r||s (48 bytes each).
QByteArray rsToDer(const QByteArray &rs);
QByteArray derToRs(const QByteArray &der);
// Runs openssl with the arguments; returns its exit code, -1 when it
// cannot be started. Standard error is appended to *errors.
int runOpenssl(const QStringList &arguments, QString *errors = nullptr);
// The sample signer's signature of data made by openssl, as r||s; empty
// (and the reason in *errors) when openssl failed.
QByteArray opensslSignature(const QByteArray &data, QString *errors = nullptr);

} // namespace dbfixture
