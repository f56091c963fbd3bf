#include <QTemporaryDir>
#include <QtTest>

#include "cryptohandler.h"
#include "databasefixture.h"
#include "samplekeys.h"

// The crypto wrapper against published vectors, its refusals, and the
// openssl command line as an independent second implementation.
class TestCryptoHandler : public QObject
{
    Q_OBJECT
private slots:
    void sha384Vectors_data();
    void sha384Vectors();
    void aesKnownAnswerAndRoundTrip();
    void aesRefusesPartialBlocksAndLeavesDataAlone();
    void aesDecryptsBesideTheCipherTextAndInPieces();
    void signatureVerifiesAndRejectsChanges();
    void ecdhBothSidesAgreeAndRejectPointsOffTheCurve();
    void generatedKeysAreFreshAndUsable();
    void signatureVerifiesWithOpenssl();
    void opensslSignatureVerifiesHere();
};

static const uint8_t *u8(const QByteArray &a)
{
    return reinterpret_cast<const uint8_t *>(a.constData());
}

void TestCryptoHandler::sha384Vectors_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QByteArray>("digest");
    QTest::newRow("abc") << QByteArray("abc")
                         << QByteArray::fromHex("cb00753f45a35e8bb5a03d699ac65007272c32ab0eded1631a8b605a43ff5bed"
                                                "8086072ba1e7cc2358baeca134c825a7");
    QTest::newRow("empty") << QByteArray()
                           << QByteArray::fromHex("38b060a751ac96384cd9327eb1b1e36a21fdb71114be07434c0cc7bf63f6e1da"
                                                  "274edebfe76f65fbd51ad2f14898b95b");
}

void TestCryptoHandler::sha384Vectors()
{
    QFETCH(QByteArray, input);
    QFETCH(QByteArray, digest);
    QByteArray out(48, '\0');
    QCOMPARE(CryptoHandler::sha384(u8(input), size_t(input.size()), reinterpret_cast<uint8_t *>(out.data())), 0);
    QCOMPARE(out.toHex(), digest.toHex());
}

void TestCryptoHandler::aesKnownAnswerAndRoundTrip()
{
    // NIST SP 800-38A, F.2.5 CBC-AES256.Encrypt, first two blocks.
    const QByteArray key = QByteArray::fromHex("603deb1015ca71be2b73aef0857d77811f352c073b6108d72d9810a30914dff4");
    const QByteArray iv = QByteArray::fromHex("000102030405060708090a0b0c0d0e0f");
    const QByteArray plain = QByteArray::fromHex("6bc1bee22e409f96e93d7e117393172aae2d8a571e03ac9c9eb76fac45af8e51");
    const QByteArray cipher = QByteArray::fromHex("f58c4c04d6e5f1ba779eabfb5f7bfbd69cfc4e967edb808d679f777bc6702c7d");
    CryptoHandler crypto;
    QByteArray data = plain;
    const QByteArray ivBefore = iv;
    QCOMPARE(crypto.aesEncrypt(reinterpret_cast<uint8_t *>(data.data()), size_t(data.size()), u8(key), u8(iv)), 0);
    QCOMPARE(data.toHex(), cipher.toHex());
    QCOMPARE(iv, ivBefore);
    QCOMPARE(crypto.aesDecrypt(reinterpret_cast<uint8_t *>(data.data()), size_t(data.size()), u8(key), u8(iv)), 0);
    QCOMPARE(data.toHex(), plain.toHex());
}

void TestCryptoHandler::aesRefusesPartialBlocksAndLeavesDataAlone()
{
    const QByteArray key(32, 'k');
    const QByteArray iv(16, 'i');
    CryptoHandler crypto;
    QByteArray data = QByteArray("0123456789abcdefX");
    const QByteArray before = data;
    QCOMPARE(crypto.aesDecrypt(reinterpret_cast<uint8_t *>(data.data()), 17, u8(key), u8(iv)), -300);
    QCOMPARE(data, before);
    QCOMPARE(crypto.aesEncrypt(reinterpret_cast<uint8_t *>(data.data()), 17, u8(key), u8(iv)), -300);
    QCOMPARE(data, before);
    QCOMPARE(crypto.aesDecrypt(reinterpret_cast<uint8_t *>(data.data()), 0, u8(key), u8(iv)), 0);
    QCOMPARE(data, before);
}

void TestCryptoHandler::aesDecryptsBesideTheCipherTextAndInPieces()
{
    // NIST SP 800-38A, F.2.6 CBC-AES256.Decrypt, all four blocks.
    const QByteArray key = QByteArray::fromHex("603deb1015ca71be2b73aef0857d77811f352c073b6108d72d9810a30914dff4");
    const QByteArray iv = QByteArray::fromHex("000102030405060708090a0b0c0d0e0f");
    const QByteArray cipher = QByteArray::fromHex("f58c4c04d6e5f1ba779eabfb5f7bfbd69cfc4e967edb808d679f777bc6702c7d"
                                                  "39f23369a9d9bacfa530e26304231461b2eb05e2c39be9fcda6c19078c6a9d1b");
    const QByteArray plain = QByteArray::fromHex("6bc1bee22e409f96e93d7e117393172aae2d8a571e03ac9c9eb76fac45af8e51"
                                                 "30c81c46a35ce411e5fbc1191a0a52eff69f2445df4f9b17ad2b417be66c3710");
    CryptoHandler crypto;
    QByteArray out(cipher.size(), '\0');
    uint8_t *o = reinterpret_cast<uint8_t *>(out.data());
    QCOMPARE(crypto.aesDecrypt(u8(cipher), o, size_t(cipher.size()), u8(key), u8(iv)), 0);
    QCOMPARE(out.toHex(), plain.toHex());

    // In pieces of 1 and 3 blocks: the second piece's IV is the cipher block
    // before it.
    out.fill('\0');
    QCOMPARE(crypto.aesDecrypt(u8(cipher), o, 16, u8(key), u8(iv)), 0);
    QCOMPARE(crypto.aesDecrypt(u8(cipher) + 16, o + 16, 48, u8(key), u8(cipher)), 0);
    QCOMPARE(out.toHex(), plain.toHex());

    // A partial block is refused and nothing is written.
    out.fill('x');
    QCOMPARE(crypto.aesDecrypt(u8(cipher), o, 33, u8(key), u8(iv)), -300);
    QCOMPARE(out, QByteArray(cipher.size(), 'x'));
}

void TestCryptoHandler::signatureVerifiesAndRejectsChanges()
{
    CryptoHandler crypto;
    QByteArray data("catalogue bytes to sign");
    QByteArray signature(96, '\0');
    QCOMPARE(crypto.sign(u8(data), size_t(data.size()), SampleKeys::kSignerPrivateKey, SampleKeys::kSignerPublicKey,
                         reinterpret_cast<uint8_t *>(signature.data())),
             0);
    bool valid = false;
    QCOMPARE(crypto.verify(u8(data), size_t(data.size()), SampleKeys::kSignerPublicKey, u8(signature), valid), 0);
    QVERIFY(valid);

    // Two signatures of the same data differ: the nonce is random.
    QByteArray second(96, '\0');
    QCOMPARE(crypto.sign(u8(data), size_t(data.size()), SampleKeys::kSignerPrivateKey, SampleKeys::kSignerPublicKey,
                         reinterpret_cast<uint8_t *>(second.data())),
             0);
    QVERIFY(second != signature);

    QByteArray changed = data;
    changed[0] = 'C';
    QCOMPARE(crypto.verify(u8(changed), size_t(changed.size()), SampleKeys::kSignerPublicKey, u8(signature), valid), 0);
    QVERIFY(!valid);
    QByteArray flipped = signature;
    flipped[95] = char(flipped.at(95) ^ 1);
    QCOMPARE(crypto.verify(u8(data), size_t(data.size()), SampleKeys::kSignerPublicKey, u8(flipped), valid), 0);
    QVERIFY(!valid);
    const QByteArray zero(96, '\0');
    valid = true;
    QCOMPARE(crypto.verify(u8(data), size_t(data.size()), SampleKeys::kSignerPublicKey, u8(zero), valid), 0);
    QVERIFY(!valid);
}

void TestCryptoHandler::ecdhBothSidesAgreeAndRejectPointsOffTheCurve()
{
    CryptoHandler crypto;
    QByteArray privateA(48, '\0'), publicA(96, '\0'), privateB(48, '\0'), publicB(96, '\0');
    QCOMPARE(crypto.generateKeyPair(reinterpret_cast<uint8_t *>(privateA.data()),
                                    reinterpret_cast<uint8_t *>(publicA.data())),
             0);
    QCOMPARE(crypto.generateKeyPair(reinterpret_cast<uint8_t *>(privateB.data()),
                                    reinterpret_cast<uint8_t *>(publicB.data())),
             0);
    QByteArray secretAB(48, '\0'), secretBA(48, '\0');
    QCOMPARE(crypto.computeSharedSecret(u8(publicB), u8(privateA), reinterpret_cast<uint8_t *>(secretAB.data())), 0);
    QCOMPARE(crypto.computeSharedSecret(u8(publicA), u8(privateB), reinterpret_cast<uint8_t *>(secretBA.data())), 0);
    QCOMPARE(secretAB.toHex(), secretBA.toHex());
    QVERIFY(secretAB != QByteArray(48, '\0'));

    QByteArray altered = publicB;
    altered[95] = char(altered.at(95) ^ 0x01);
    QByteArray secret(48, 's');
    QCOMPARE(crypto.computeSharedSecret(u8(altered), u8(privateA), reinterpret_cast<uint8_t *>(secret.data())), -305);
    // A scalar of zero is out of range.
    const QByteArray zeroScalar(48, '\0');
    QCOMPARE(crypto.computeSharedSecret(u8(publicB), u8(zeroScalar), reinterpret_cast<uint8_t *>(secret.data())), -305);
}

void TestCryptoHandler::generatedKeysAreFreshAndUsable()
{
    CryptoHandler crypto;
    QByteArray key1(32, '\0'), iv1(16, '\0'), key2(32, '\0'), iv2(16, '\0');
    QCOMPARE(crypto.generateKeyIv(reinterpret_cast<uint8_t *>(key1.data()), reinterpret_cast<uint8_t *>(iv1.data())), 0);
    QCOMPARE(crypto.generateKeyIv(reinterpret_cast<uint8_t *>(key2.data()), reinterpret_cast<uint8_t *>(iv2.data())), 0);
    QVERIFY(key1 != key2);
    QVERIFY(iv1 != iv2);
    QVERIFY(key1 != QByteArray(32, '\0'));

    // A generated pair signs and verifies.
    QByteArray priv(48, '\0'), pub(96, '\0'), signature(96, '\0');
    QCOMPARE(crypto.generateKeyPair(reinterpret_cast<uint8_t *>(priv.data()), reinterpret_cast<uint8_t *>(pub.data())),
             0);
    const QByteArray data("x");
    QCOMPARE(crypto.sign(u8(data), 1, u8(priv), u8(pub), reinterpret_cast<uint8_t *>(signature.data())), 0);
    bool valid = false;
    QCOMPARE(crypto.verify(u8(data), 1, u8(pub), u8(signature), valid), 0);
    QVERIFY(valid);
}

void TestCryptoHandler::signatureVerifiesWithOpenssl()
{
    QTemporaryDir dir;
    const QByteArray data = QByteArray("signed by the wrapper, checked by openssl ").repeated(10);
    QByteArray signature(96, '\0');
    CryptoHandler crypto;
    QCOMPARE(crypto.sign(u8(data), size_t(data.size()), SampleKeys::kSignerPrivateKey, SampleKeys::kSignerPublicKey,
                         reinterpret_cast<uint8_t *>(signature.data())),
             0);
    dbfixture::writeFile(dir.filePath("data"), data);
    dbfixture::writeFile(dir.filePath("sig.der"), dbfixture::rsToDer(signature));
    dbfixture::writeFile(dir.filePath("pub.pem"), dbfixture::signerPublicKeyPem());
    QString errors;
    QCOMPARE(dbfixture::runOpenssl({"dgst", "-sha384", "-verify", dir.filePath("pub.pem"), "-signature",
                                    dir.filePath("sig.der"), dir.filePath("data")},
                                   &errors),
             0);
    QVERIFY2(errors.contains("Verified OK"), qPrintable(errors));

    // openssl refuses it for other data: the check above is not vacuous.
    dbfixture::writeFile(dir.filePath("data"), data + "!");
    QVERIFY(dbfixture::runOpenssl({"dgst", "-sha384", "-verify", dir.filePath("pub.pem"), "-signature",
                                   dir.filePath("sig.der"), dir.filePath("data")})
            != 0);
}

void TestCryptoHandler::opensslSignatureVerifiesHere()
{
    const QByteArray data = QByteArray("signed by openssl, checked by the wrapper ").repeated(10);
    QString errors;
    const QByteArray rs = dbfixture::opensslSignature(data, &errors);
    QVERIFY2(rs.size() == 96, qPrintable(errors));
    CryptoHandler crypto;
    bool valid = false;
    QCOMPARE(crypto.verify(u8(data), size_t(data.size()), SampleKeys::kSignerPublicKey, u8(rs), valid), 0);
    QVERIFY(valid);
}

QTEST_GUILESS_MAIN(TestCryptoHandler)
#include "tst_cryptohandler.moc"
