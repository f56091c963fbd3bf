#include "databasefixture.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include "dbencpacker.h"
#include "samplekeys.h"

namespace dbfixture {

QString smallCatalogueSql(int base)
{
    // One mapping and everything it points at, plus a sensor.
    return QStringLiteral(
               "INSERT INTO sensors VALUES (%1, 'Sensor %1', 6.0, 18.0);"
               "INSERT INTO lubEntry VALUES (%1, 'Lub %1');"
               "INSERT INTO prodFamilyEntry VALUES (%1, 'Family %1');"
               "INSERT INTO prodTypeEntry VALUES (%1, 'Type %1');"
               "INSERT INTO prodSubTypeEntry VALUES (%1, 'Variant %1');"
               "INSERT INTO prodSizeEntry VALUES (%1, %1.5);"
               "INSERT INTO filterEntry VALUES (%1, 'Filter %1', %1.0, 1000.0, 0.9, -1.8, 0.9, -1.7, 0.8, "
               "0.1, 0.2, 0.1, -0.9, %2);"
               "INSERT INTO channelParam VALUES (%1, 5000.0, 20.0, 1, 2, 1.5);"
               "INSERT INTO DeviceEntry VALUES (%1, %1, %1, %1, %1);"
               "INSERT INTO Mapping VALUES (%1, %1, %1, %1, %1, 1);")
        .arg(base)
        .arg(0.2 + base * 0.0001);
}

QByteArray plainCatalogue(const QString &sql)
{
    QString error;
    const QByteArray plain = DbencPacker::buildCatalogue(sql, &error);
    if (plain.isEmpty())
        qWarning().noquote() << "catalogue SQL refused:" << error;
    return plain;
}

QByteArray packed(const QByteArray &plain)
{
    QByteArray file;
    const int result = DbencPacker::pack(plain, file);
    if (result != 0)
        qWarning() << "packing failed" << result;
    return file;
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        qWarning().noquote() << "cannot write" << path;
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QStringList folderEntries(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}

namespace {

QByteArray bytes(const uint8_t *data, int size)
{
    return QByteArray(reinterpret_cast<const char *>(data), size);
}

QByteArray pem(const char *label, const QByteArray &der)
{
    const QByteArray base64 = der.toBase64();
    QByteArray text = QByteArray("-----BEGIN ") + label + "-----\n";
    for (int i = 0; i < base64.size(); i += 64)
        text += base64.mid(i, 64) + '\n';
    return text + "-----END " + label + "-----\n";
}

// A DER INTEGER holding the unsigned big-endian number.
QByteArray derInteger(QByteArray number)
{
    while (number.size() > 1 && number.at(0) == '\0' && !(uchar(number.at(1)) & 0x80))
        number.remove(0, 1);
    if (uchar(number.at(0)) & 0x80)
        number.prepend('\0');
    return QByteArray("\x02", 1) + char(number.size()) + number;
}

} // namespace

QByteArray signerPrivateKeyPem()
{
    // SEC1 ECPrivateKey on secp384r1: version 1, the scalar, the curve's
    // OID and the public point.
    QByteArray der = QByteArray::fromHex("3081a4020101" "0430") + bytes(SampleKeys::kSignerPrivateKey, 48)
                     + QByteArray::fromHex("a00706052b81040022" "a164036200" "04")
                     + bytes(SampleKeys::kSignerPublicKey, 96);
    return pem("EC PRIVATE KEY", der);
}

QByteArray signerPublicKeyPem()
{
    // SubjectPublicKeyInfo: id-ecPublicKey, secp384r1, uncompressed point.
    QByteArray der = QByteArray::fromHex("3076301006072a8648ce3d020106052b81040022" "036200" "04")
                     + bytes(SampleKeys::kSignerPublicKey, 96);
    return pem("PUBLIC KEY", der);
}

QByteArray rsToDer(const QByteArray &rs)
{
    const QByteArray body = derInteger(rs.left(48)) + derInteger(rs.mid(48, 48));
    return QByteArray("\x30", 1) + char(body.size()) + body;
}

QByteArray derToRs(const QByteArray &der)
{
    // SEQUENCE (short or one-byte long form) of two INTEGERs.
    int pos = 1;
    if (uchar(der.at(pos)) == 0x81)
        ++pos;
    ++pos;
    QByteArray rs;
    for (int i = 0; i < 2; ++i) {
        if (der.at(pos) != 0x02)
            return QByteArray();
        const int length = uchar(der.at(pos + 1));
        QByteArray number = der.mid(pos + 2, length);
        while (number.size() > 48 && number.at(0) == '\0')
            number.remove(0, 1);
        rs += QByteArray(48 - number.size(), '\0') + number;
        pos += 2 + length;
    }
    return rs;
}

int runOpenssl(const QStringList &arguments, QString *errors)
{
    QProcess p;
    p.start(QStringLiteral("openssl"), arguments);
    if (!p.waitForStarted(10000))
        return -1;
    p.waitForFinished(30000);
    if (errors)
        *errors += QString::fromLocal8Bit(p.readAllStandardError()) + QString::fromLocal8Bit(p.readAllStandardOutput());
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

QByteArray opensslSignature(const QByteArray &data, QString *errors)
{
    QTemporaryDir dir;
    writeFile(dir.filePath(QStringLiteral("data")), data);
    writeFile(dir.filePath(QStringLiteral("key.pem")), signerPrivateKeyPem());
    if (runOpenssl({QStringLiteral("dgst"), QStringLiteral("-sha384"), QStringLiteral("-sign"),
                    dir.filePath(QStringLiteral("key.pem")), QStringLiteral("-out"), dir.filePath(QStringLiteral("sig.der")),
                    dir.filePath(QStringLiteral("data"))},
                   errors)
        != 0)
        return QByteArray();
    return derToRs(readFile(dir.filePath(QStringLiteral("sig.der"))));
}

} // namespace dbfixture
