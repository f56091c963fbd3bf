#include <QtTest>

#include "fwabuilder.h"
#include "testnet.h"

using namespace loader;

class TestFwaTool : public QObject
{
    Q_OBJECT
private slots:
    void programBuildsLoadableArchive();
    void hexImageFillsTheRegion();
    void refusals();

private:
    QTemporaryDir m_dir;
};

static void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

void TestFwaTool::programBuildsLoadableArchive()
{
    const QByteArray app(0x5000, 'A');
    const QByteArray info("information");
    writeFile(m_dir.filePath("app.bin"), app);
    writeFile(m_dir.filePath("info.bin"), info);
    const QString out = m_dir.filePath("sample.fwa");
    QProcess p;
    p.start(testnet::binDir() + "/fwatool", {"-o", out, "--name", "sample", "--paged", m_dir.filePath("app.bin"),
                                             "--info", m_dir.filePath("info.bin")});
    QVERIFY(p.waitForFinished(20000));
    QCOMPARE(p.exitCode(), 0);

    FirmwareArchive archive;
    QCOMPARE(archive.load(out), ERR_OK);
    FirmwareArchiveHeader h;
    archive.copyHeader(h);
    QCOMPARE(h.name, QStringLiteral("sample"));
    QCOMPARE(h.groups.size(), 1);
    QCOMPARE(h.groups.first().type, 3);
    QCOMPARE(h.groups.first().count, 2);
    QCOMPARE(h.sections.at(0).kind, int(FirmwareSection::PagedImage));
    QCOMPARE(h.sections.at(1).kind, int(FirmwareSection::InfoBlock));
    QByteArray buffer(app.size(), '\0');
    QCOMPARE(archive.extractSection(reinterpret_cast<uint8_t *>(buffer.data()), uint32_t(buffer.size()), 0), ERR_OK);
    QCOMPARE(buffer, app);
}

void TestFwaTool::hexImageFillsTheRegion()
{
    writeFile(m_dir.filePath("keys.hex"), ":020000040801F1\n:0400000001020304F2\n:00000001FF\n");
    FwaBuilder builder(2, QStringLiteral("keys"));
    QString error;
    QVERIFY2(builder.addFile(m_dir.filePath("keys.hex"), FirmwareSection::PagedImage, &error), qPrintable(error));
    FirmwareArchiveHeader h;
    builder.archive().copyHeader(h);
    QCOMPARE(h.sections.first().size, 0x4000);  // the key region
    QCOMPARE(builder.archive().image().left(6), QByteArray("\x01\x02\x03\x04\xFF\xFF", 6));
}

void TestFwaTool::refusals()
{
    FwaBuilder builder;
    QString error;
    QVERIFY(!builder.addFile(m_dir.filePath("missing.bin"), FirmwareSection::PagedImage, &error));
    QVERIFY(!error.isEmpty());
    writeFile(m_dir.filePath("bad.hex"), ":020000040800F2\n:0100000001FE\n");  // below the application region
    QVERIFY(!builder.addFile(m_dir.filePath("bad.hex"), FirmwareSection::PagedImage, &error));
    QVERIFY(!builder.addBytes(QByteArray(0x4001, 'x'), FirmwareSection::SingleBlock, "big", &error));
}

QTEST_MAIN(TestFwaTool)
#include "tst_fwatool.moc"
