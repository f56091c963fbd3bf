#include <QtTest>

#include "bootloadersim.h"
#include "firmwarehandler.h"
#include "loaderfixture.h"
#include "testnet.h"

using namespace loader;

// Flashing archives into the simulated bootloader over loopback: the bytes
// that arrive in its flash are compared with the archive's sections.
class TestFlash : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanupTestCase();
    void pagedImageWithPartialLastPage();
    void progressOfTwoPages();
    void keysWithBlocksAndInfoBlock();
    void laterGroupWins();
    void refusals_data();
    void refusals();
    void lostAnswerIsResent();
    void refusedPageCrc();
    void corruptArchiveSendsNothing();
    void bootloaderCommands();

private:
    QString save(FirmwareArchive archive, const QString &name);

    QHostAddress m_unit{QStringLiteral("127.0.2.2")};
    BootloaderSim *m_sim = nullptr;
    LoaderRig *m_rig = nullptr;
};

void TestFlash::initTestCase()
{
    KORVANTIS_REQUIRE_TESTNET();
    m_sim = new BootloaderSim(m_unit);
    m_sim->setListenBroadcast(false);
    QString error;
    QVERIFY2(m_sim->start(&error), qPrintable(error));
    m_rig = new LoaderRig(m_unit);
    QVERIFY(m_rig->isBound());
    m_rig->handler()->setTargetIP(m_unit);
}

void TestFlash::init()
{
    KORVANTIS_REQUIRE_TESTNET();
    m_sim->eraseFlash();
    m_sim->clearFaults();
    m_sim->clearRequests();
}

void TestFlash::cleanupTestCase()
{
    delete m_rig;
    delete m_sim;
}

QString TestFlash::save(FirmwareArchive archive, const QString &name)
{
    const QString path = fixture::tempPath(name);
    if (archive.save(path) != ERR_OK)
        qWarning() << "cannot save" << path;
    return path;
}

void TestFlash::pagedImageWithPartialLastPage()
{
    const QByteArray image = fixture::pattern(0x4000 + 1000, 1);
    const QString path = save(fixture::makeArchive(3, {{FirmwareSection::PagedImage, image}}), "partial.fwa");
    FirmwareHandler flasher(m_rig->handler());
    QCOMPARE(flasher.writeFirmware(path), ERR_OK);
    QCOMPARE(m_sim->readFlash(0x08014000, image.size()), image);
    // The last page was filled up with erased bytes, not with what lay
    // beyond the section.
    QCOMPARE(m_sim->readFlash(0x08014000 + image.size(), 0x8000 - image.size()),
             QByteArray(0x8000 - image.size(), char(0xFF)));
    const auto offsets = withoutResends(m_sim->requestsFor(0x80));
    QCOMPARE(offsets.size(), 2);
    QCOMPARE(offsets.at(1).payload, QByteArray::fromHex("0080010800400000").left(6));
}

void TestFlash::progressOfTwoPages()
{
    const QByteArray image = fixture::pattern(0x8000, 2);
    const QString path = save(fixture::makeArchive(3, {{FirmwareSection::PagedImage, image}}), "two.fwa");
    FirmwareHandler flasher(m_rig->handler());
    QSignalSpy progress(&flasher, &FirmwareHandler::showProgress);
    QCOMPARE(flasher.writeFirmware(path), ERR_OK);
    QList<int> transfer, flashing;
    for (const auto &p : progress) {
        if (p.at(0).toString() == "transferring data")
            transfer << p.at(1).value<uint8_t>();
        if (p.at(0).toString() == "Flashing" && p.at(2).toBool())
            flashing << p.at(1).value<uint8_t>();
    }
    QCOMPARE(flashing, QList<int>({50, 100}));
    QCOMPARE(transfer.mid(0, 16), QList<int>({0, 3, 6, 9, 12, 15, 18, 21, 25, 28, 31, 34, 37, 40, 43, 46}));
    QCOMPARE(transfer.mid(16, 2), QList<int>({50, 53}));
    QCOMPARE(transfer.last(), 96);
    QCOMPARE(progress.first().at(0).toString(), QStringLiteral("Preparing..."));
    QCOMPARE(progress.last().at(2).toBool(), false);  // hidden at the end
    // Chunk numbers 1 to 16 in each page.
    const auto chunks = m_sim->requestsFor(0x81);
    QCOMPARE(chunks.size(), 32);
    for (int i = 0; i < 32; ++i)
        QCOMPARE(int(uint8_t(chunks.at(i).payload.at(0))), i % 16 + 1);
    QCOMPARE(m_sim->readFlash(0x08014000, image.size()), image);
}

void TestFlash::keysWithBlocksAndInfoBlock()
{
    const QByteArray single = fixture::pattern(0x4000, 3);  // exactly the largest block
    const QByteArray odd = fixture::pattern(1027, 4);       // not a multiple of 4
    const QByteArray info = fixture::pattern(30, 5);
    const QString path = save(fixture::makeArchive(2, {{FirmwareSection::SingleBlock, single},
                                                       {FirmwareSection::SingleBlock, odd},
                                                       {FirmwareSection::InfoBlock, info}}),
                              "keys.fwa");
    FirmwareHandler flasher(m_rig->handler());
    QCOMPARE(flasher.writeKeys(path), ERR_OK);
    QCOMPARE(m_sim->blocks().size(), 2);
    QCOMPARE(m_sim->blocks().at(0), single);
    QCOMPARE(m_sim->blocks().at(1), odd);
    QCOMPARE(m_sim->infoBlock(), info);
    QCOMPARE(m_sim->requestsFor(0x83).size(), 1);
    // A single block goes out at offset 0 with its own length.
    QCOMPARE(withoutResends(m_sim->requestsFor(0x80)).at(1).payload, QByteArray::fromHex("000000000304"));
}

void TestFlash::laterGroupWins()
{
    FirmwareArchive archive = fixture::makeArchive(3, {{FirmwareSection::PagedImage, fixture::pattern(100, 6)},
                                                       {FirmwareSection::PagedImage, fixture::pattern(200, 7)}});
    FirmwareSectionGroup later;
    later.type = 3;
    later.first = 1;
    later.count = 1;
    archive.addGroup(later);
    FirmwareSectionGroup empty;
    empty.type = 2;
    archive.addGroup(empty);
    const QString path = save(archive, "groups.fwa");
    FirmwareHandler flasher(m_rig->handler());
    QCOMPARE(flasher.writeFirmware(path), ERR_OK);
    QCOMPARE(m_sim->readFlash(0x08014000, 200), fixture::pattern(200, 7));
    QCOMPARE(m_sim->requestsFor(0x82).size(), 1);

    // A group of count 0 writes nothing, hides the progress, succeeds.
    m_sim->clearRequests();
    QSignalSpy progress(&flasher, &FirmwareHandler::showProgress);
    QCOMPARE(flasher.writeKeys(path), ERR_OK);
    QCOMPARE(m_sim->requests().size(), 0);
    QCOMPARE(progress.size(), 1);
    QCOMPARE(progress.first().at(2).toBool(), false);
}

void TestFlash::refusals_data()
{
    QTest::addColumn<int>("what");
    QTest::addColumn<int>("result");
    QTest::newRow("keys from firmware-only archive") << 0 << int(ERR_BAD_CONTENT);
    QTest::newRow("paged image past the flash end") << 1 << int(ERR_BAD_CONTENT);
    QTest::newRow("single block over 0x4000") << 2 << int(ERR_TOO_MUCH_DATA);
    QTest::newRow("unknown section kind") << 3 << int(ERR_BAD_CONTENT);
    QTest::newRow("group past the index list") << 4 << int(ERR_BAD_CONTENT);
    QTest::newRow("index past the section list") << 5 << int(ERR_SECTION_INDEX);
    QTest::newRow("missing file") << 6 << int(ERR_FILE_OPEN);
    QTest::newRow("section size far beyond the image") << 7 << int(ERR_SECTION_EXTENT);
}

void TestFlash::refusals()
{
    QFETCH(int, what);
    QFETCH(int, result);
    FirmwareArchive a;
    switch (what) {
    case 0: a = fixture::makeArchive(3, {{FirmwareSection::PagedImage, fixture::pattern(10, 1)}}); break;
    case 1: a = fixture::makeArchive(3, {{FirmwareSection::PagedImage, fixture::pattern(0xEC001, 1)}}); break;
    case 2: a = fixture::makeArchive(3, {{FirmwareSection::SingleBlock, fixture::pattern(0x4001, 1)}}); break;
    case 3: a = fixture::makeArchive(3, {{7, fixture::pattern(10, 1)}}); break;
    case 4: {
        a = fixture::makeArchive(3, {{FirmwareSection::PagedImage, fixture::pattern(10, 1)}});
        FirmwareSectionGroup g;
        g.type = 3;
        g.first = 0;
        g.count = 2;
        a.addGroup(g);
        break;
    }
    case 5: a = fixture::makeArchive(3, {{FirmwareSection::PagedImage, fixture::pattern(10, 1)}}); a.addIndex(4);
        {
            FirmwareSectionGroup g;
            g.type = 3;
            g.first = 1;
            g.count = 1;
            a.addGroup(g);
        }
        break;
    default: break;
    }
    QString path = what == 6 ? fixture::tempPath("nothing-here.fwa") : save(a, QStringLiteral("refuse%1.fwa").arg(what));
    if (what == 7) {
        // A section whose size field claims almost 2 GiB of a 10-byte image:
        // refused before a buffer of that size is made.
        a = fixture::makeArchive(3, {{FirmwareSection::PagedImage, fixture::pattern(10, 1)}});
        QByteArray content = QByteArray::fromHex(a.toText().replace('\n', ' '));
        const QByteArray section = QByteArray::fromHex("00000000" "00000003" "0000000a");  // index 0, kind 3, size 10
        QVERIFY(content.contains(section));
        content.replace(section, QByteArray::fromHex("00000000" "00000003" "7ffffff0"));
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(content.toHex(' '));
    }
    FirmwareHandler flasher(m_rig->handler());
    QCOMPARE(int(what == 0 ? flasher.writeKeys(path) : flasher.writeFirmware(path)), result);
    QCOMPARE(m_sim->requests().size(), 0);  // refused before anything was sent
}

void TestFlash::lostAnswerIsResent()
{
    // The answer to the second page's offset is lost (a chunk's would cost
    // its 5 s time-out): the offset goes out again with a new sequence
    // number and the page is written all the same.
    m_sim->addFault({BootloaderSim::FaultKind::Drop, 0x80, 1, 0});
    const QByteArray image = fixture::pattern(0x4000, 8);
    const QString path = save(fixture::makeArchive(3, {{FirmwareSection::PagedImage, image}}), "lost.fwa");
    FirmwareHandler flasher(m_rig->handler());
    QCOMPARE(flasher.writeFirmware(path), ERR_OK);
    const auto offsets = m_sim->requestsFor(0x80);
    QCOMPARE(offsets.size(), 2);
    QCOMPARE(offsets.at(1).sequence, uint16_t(offsets.at(0).sequence + 1));
    QCOMPARE(offsets.at(1).payload, offsets.at(0).payload);
    QCOMPARE(m_sim->requestsFor(0x81).size(), 16);
    QCOMPARE(m_sim->readFlash(0x08014000, image.size()), image);
}

void TestFlash::refusedPageCrc()
{
    m_sim->addFault({BootloaderSim::FaultKind::RefuseCrc, 0x82, 1, 0});
    const QString path =
        save(fixture::makeArchive(3, {{FirmwareSection::PagedImage, fixture::pattern(0x8000, 9)}}), "crc.fwa");
    FirmwareHandler flasher(m_rig->handler());
    QCOMPARE(int(flasher.writeFirmware(path)), int(BootloaderSim::StatusCrcMismatch));
    QCOMPARE(m_sim->requestsFor(0x82).size(), 1);  // stops at the first failure
    QCOMPARE(m_sim->readFlash(0x08014000, 16), QByteArray(16, char(0xFF)));

    // The bootloader's own check refuses a page whose bytes do not match.
    m_sim->clearRequests();
    EthernetHandler *h = m_rig->handler();
    QCOMPARE(h->wrtOffsetDataLen(0x08014000, 4), ERR_OK);
    QCOMPARE(h->wrtData(1, QByteArray("abcd")), ERR_OK);
    QCOMPARE(int(h->writePage(0x12345678)), int(BootloaderSim::StatusCrcMismatch));
}

void TestFlash::corruptArchiveSendsNothing()
{
    const QString path = fixture::tempPath("corrupt.fwa");
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("fe ed c0 de 00 00 10 00 00 01 02");
    f.close();
    FirmwareHandler flasher(m_rig->handler());
    QCOMPARE(flasher.writeFirmware(path), ERR_ARCHIVE_TRUNCATED);
    QCOMPARE(m_sim->requests().size(), 0);
}

void TestFlash::bootloaderCommands()
{
    EthernetHandler *h = m_rig->handler();
    QCOMPARE(h->catchLoader(), ERR_OK);
    SW_VersionInfo sw;
    QCOMPARE(h->rdFWVersion(&sw), ERR_OK);
    QCOMPARE(sw.toBytes(), QByteArray::fromHex("020301E204"));
    HW_VersionInfo hw;
    QCOMPARE(h->rdHWVersion(&hw), ERR_OK);
    QCOMPARE(hw.toBytes(), QByteArray::fromHex("0402"));
    MAC_AND_IP mi = MAC_AND_IP::fromBytes(reinterpret_cast<const uint8_t *>("\x02\x11\x22\x33\x44\x55\xC0\xA8\x00\x0A"));
    if (!m_sim->deviceDataWritten()) {
        QCOMPARE(h->writeMacAndIP(mi), ERR_OK);
        QCOMPARE(m_sim->mac(), QByteArray::fromHex("021122334455"));
        QCOMPARE(m_sim->defaultIp(), QByteArray::fromHex("C0A8000A"));
    }
    QCOMPARE(int(h->writeMacAndIP(mi)), int(BootloaderSim::StatusAlreadyWritten));
    QCOMPARE(h->startFirmware(), ERR_OK);
    QCOMPARE(m_sim->requestsFor(0x91).last().payload, QByteArray("\x03\x00", 2));
    QTRY_VERIFY(m_sim->state() == BootloaderSim::State::Firmware);
    QCOMPARE(h->catchLoader(), ERR_TIMEOUT);  // the firmware does not answer it
    m_sim->setState(BootloaderSim::State::Bootloader);
    m_sim->addFault({BootloaderSim::FaultKind::Nak, 0x90, 1, 0});
    QCOMPARE(h->catchLoader(), ERR_NAK);
    m_sim->addFault({BootloaderSim::FaultKind::ErrorStatus, 0x90, 1, -42});
    QCOMPARE(int(h->catchLoader()), -42);
    m_sim->addFault({BootloaderSim::FaultKind::Delay, 0x90, 1, 60});
    QCOMPARE(h->catchLoader(), ERR_OK);  // late, but within 100 ms
}

QTEST_MAIN(TestFlash)
#include "tst_flash.moc"
