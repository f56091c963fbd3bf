// Writes the seed corpora of the fuzz targets: valid inputs made with the
// tools' own encoders, and the damaged cases the unit tests use. The files
// live under version control (tests/fuzz/corpus); run this again after a
// format change:  build-asan/bin/korvantis_fuzzseeds tests/fuzz/corpus
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <cstdio>

#include "blobscrambler.h"
#include "configblob.h"
#include "configfile.h"
#include "ethernetframe.h"
#include "ethernethandler.h"
#include "firmwarearchive.h"
#include "intelhex.h"
#include "le.h"
#include "unitsimconfig.h"
#ifdef KORVANTIS_HAVE_LOG
#include "logentry.h"
#include "logentryinfo.h"
#include "logfile.h"
#include "versioninfo.h"
#endif
#ifdef KORVANTIS_HAVE_DATABASE
#include "cataloguestore.h"
#include "dbencpacker.h"
#endif

namespace {

QDir g_root;
int g_written = 0;

void write(const QString &target, const QString &name, const QByteArray &bytes)
{
    g_root.mkpath(target);
    QFile f(g_root.filePath(target + QLatin1Char('/') + name));
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(f.fileName()));
        std::exit(1);
    }
    ++g_written;
}

QByteArray u16(uint16_t v)
{
    QByteArray b(2, '\0');
    le::put16(reinterpret_cast<uint8_t *>(b.data()), v);
    return b;
}

QByteArray u32(uint32_t v)
{
    QByteArray b(4, '\0');
    le::put32(reinterpret_cast<uint8_t *>(b.data()), v);
    return b;
}

// ------------------------------------------------------------ datagrams

// The record language of the two datagram targets.
struct Script
{
    QByteArray bytes;

    explicit Script(uint8_t pick) { bytes.append(char(pick)); }
    // A frame built around the payload, with the request's command and
    // sequence number.
    Script &answer(uint8_t flags, const QByteArray &payload) { return frame(0x07, flags, 0, 0, payload); }
    Script &frame(uint8_t ctl, uint8_t flags, uint8_t command, uint16_t sequence, const QByteArray &payload)
    {
        bytes.append(char(ctl | 0x01));
        bytes.append(char(flags));
        bytes.append(char(command));
        bytes.append(u16(sequence));
        bytes.append(u16(uint16_t(payload.size())));
        bytes.append(payload);
        return *this;
    }
    Script &raw(const QByteArray &datagram, uint8_t ctl = 0)
    {
        bytes.append(char(ctl & ~0x01));
        bytes.append(u16(uint16_t(datagram.size())));
        bytes.append(datagram);
        return *this;
    }
    Script &next()
    {
        bytes.append(char(0x80));
        return *this;
    }
};

QByteArray blockAnswer(uint32_t index, uint32_t last, const QByteArray &data, uint32_t word1 = 7)
{
    LogBlockHeader h;
    h.dataCount = uint32_t(data.size());
    h.blockIndex = index;
    h.lastBlockIndex = last;
    h.word1 = word1;
    h.word2 = 0;
    return h.toByteArray() + data;
}

QByteArray paramAnswer(uint16_t id, const QByteArray &value, int index = -1)
{
    QByteArray p = u16(id);
    if (index >= 0)
        p.append(char(index));
    return p + value;
}

void linkDatagrams()
{
    const QString t = QStringLiteral("link_datagram");
    const uint8_t answer = FrameFlag::Answer;
    write(t, "debounce-answer", Script(1).answer(answer, paramAnswer(0x0022, u16(250))).bytes);
    write(t, "debounce-short", Script(1).answer(answer, paramAnswer(0x0022, QByteArray(1, 'x'))).bytes);
    write(t, "debounce-other-param", Script(1).answer(answer, paramAnswer(0x0023, QByteArray(1, 0x7F))).bytes);
    write(t, "ip-answer", Script(3).answer(answer, paramAnswer(0x1000, QByteArray::fromHex("c6120002"))).bytes);
    DeviceNameRecord name;
    name.setText(QStringLiteral("Pumpe Halle 3"));
    write(t, "device-name", Script(6).answer(answer, paramAnswer(0x2000, name.toBytes())).bytes);
    write(t, "device-name-truncated", Script(6).answer(answer, paramAnswer(0x2000, name.toBytes().left(100))).bytes);
    write(t, "channel-name", Script(7).answer(answer, paramAnswer(0x2001, name.toBytes(), 5)).bytes);
    write(t, "channel-name-bad-index", Script(7).answer(answer, paramAnswer(0x2001, name.toBytes(), 9)).bytes);
    const QByteArray blob = UnitSimConfig::makeScrambledBlob({{2, 0x4B, 0x56, 0, 0, 2}}, 11);
    write(t, "config-blob", Script(8).answer(answer, paramAnswer(0x0010, blob)).bytes);
    write(t, "anybus", Script(9).answer(answer, paramAnswer(0x3000, QByteArray(567, 'a'))).bytes);
    write(t, "write-ack", Script(10).answer(answer, QByteArray()).bytes);
    write(t, "error-status", Script(10).answer(FrameFlag::Answer | FrameFlag::Error, u32(uint32_t(-17))).bytes);
    write(t, "error-status-zero", Script(11).answer(FrameFlag::Answer | FrameFlag::Error, u32(0)).bytes);
    write(t, "nak", Script(11).answer(FrameFlag::Nak, QByteArray()).bytes);
    write(t, "product-info", Script(12).answer(answer, QByteArray::fromHex("0102010003000000050200")).bytes);
    write(t, "refrun-result", Script(13).answer(answer, QByteArray(71, char(0x87))).bytes);
    write(t, "refrun-short", Script(13).answer(answer, QByteArray(70, char(0x87))).bytes);
    write(t, "record-block", Script(14).answer(answer, u16(1) + QByteArray(570, 'r')).bytes);
    write(t, "record-part", Script(14).answer(answer, u16(7) + QByteArray(95, 'p')).bytes);
    write(t, "record-value", Script(15).answer(answer, u16(0) + QByteArray(8, 'v')).bytes);

    Script log(16);
    log.answer(answer, blockAnswer(0, 2, QByteArray(64, 'a'))).next();
    log.answer(answer, blockAnswer(1, 2, QByteArray(64, 'b'))).next();
    log.answer(answer, blockAnswer(2, 2, QByteArray(32, 'c')));
    write(t, "log-three-blocks", log.bytes);
    Script gap(16);
    gap.answer(answer, blockAnswer(0, 3, QByteArray(32, 'a'))).next();
    gap.answer(answer, blockAnswer(1, 3, QByteArray(32, 'b'))).next();
    gap.answer(answer, blockAnswer(3, 3, QByteArray(32, 'd')));
    write(t, "log-missing-block", gap.bytes);
    Script again(16);
    again.answer(answer, blockAnswer(0, 1, QByteArray(32, 'a'))).next();
    again.answer(answer, blockAnswer(0, 1, QByteArray(32, 'a'))).next();
    again.answer(answer, blockAnswer(0, 1, QByteArray(32, 'a'))).next();
    again.answer(answer, blockAnswer(0, 1, QByteArray(32, 'a')));
    write(t, "log-stalled", again.bytes);
    Script data(17);
    data.answer(answer, blockAnswer(0, 1, QByteArray::fromHex("ffff0100feff"), 1)).next();
    data.answer(answer, blockAnswer(1, 1, QByteArray::fromHex("0080ff7f0"), 1));
    write(t, "data-two-blocks", data.bytes);

    // Frames that are no answers, or not for us.
    HearBeatMessage_t beat;
    write(t, "heartbeat-pushed", Script(18).frame(0, FrameFlag::KeepAlive, 0x71, 9, beat.toByteArray()).bytes);
    write(t, "heartbeat-answer", Script(18).frame(0, answer, 0x71, 9, beat.toByteArray()).bytes);
    write(t, "discover-answer", Script(18).frame(0, answer, 0xD1, 3, QByteArray(275, 'd')).bytes);
    write(t, "unit-request", Script(18).frame(0, FrameFlag::Request, 0x12, 3, QByteArray(4, 0)).bytes);
    write(t, "stranger", Script(1).frame(0x0E, answer, 0, 0, paramAnswer(0x0022, u16(9))).bytes);
    write(t, "ipv6-sender", Script(1).frame(0x16, answer, 0, 0, paramAnswer(0x0022, u16(9))).bytes);
    QByteArray bad = buildFrame(1, 0xE1, paramAnswer(0x0022, u16(9)), answer);
    bad[9] = char(bad.at(9) ^ 0x10);
    write(t, "crc-error", Script(1).raw(bad).bytes);
    write(t, "seven-bytes", Script(1).raw(QByteArray(7, 1)).bytes);
    QByteArray incomplete = buildFrame(1, 0xE1, QByteArray(30, 'x'), answer);
    write(t, "incomplete", Script(1).raw(incomplete.left(20)).bytes);
    QByteArray huge(1500, 0);
    le::put16(reinterpret_cast<uint8_t *>(huge.data()) + 4, 0xFFFF);
    write(t, "length-too-large", Script(1).raw(huge).bytes);
    Script late(1);
    late.bytes.append(char(0xC0));  // the first attempt times out
    late.answer(answer, paramAnswer(0x0022, u16(250)));
    write(t, "answer-on-retry", late.bytes);
}

void loaderDatagrams()
{
    const QString t = QStringLiteral("loader_datagram");
    const uint8_t answer = FrameFlag::Answer;
    write(t, "fw-version", Script(0).answer(answer, QByteArray::fromHex("0203810539")).bytes);
    write(t, "fw-version-short", Script(0).answer(answer, QByteArray::fromHex("02038105")).bytes);
    write(t, "fw-version-long", Script(0).answer(answer, QByteArray::fromHex("020381053900")).bytes);
    write(t, "hw-version", Script(1).answer(answer, QByteArray::fromHex("0304")).bytes);
    write(t, "catch-ack", Script(2).answer(FrameFlag::Ack, QByteArray()).bytes);
    write(t, "catch-nak", Script(2).answer(FrameFlag::Nak, QByteArray()).bytes);
    write(t, "error-minus-two", Script(3).answer(FrameFlag::Error, QByteArray::fromHex("feffffff")).bytes);
    write(t, "error-status-zero", Script(3).answer(FrameFlag::Error, QByteArray::fromHex("00000000")).bytes);
    write(t, "error-busy", Script(5).answer(FrameFlag::Error, QByteArray::fromHex("01000000")).bytes);
    write(t, "error-short-status", Script(5).answer(FrameFlag::Error, QByteArray::fromHex("fe")).bytes);
    write(t, "older-sequence", Script(6).frame(0x02, FrameFlag::Ack, 0, 0, QByteArray()).bytes);
    write(t, "from-localhost", Script(7).frame(0x16, FrameFlag::Ack, 0, 0, QByteArray()).bytes);
    write(t, "from-stranger", Script(8).frame(0x0E, FrameFlag::Ack, 0, 0, QByteArray()).bytes);
    write(t, "broadcast-ack", Script(9).answer(FrameFlag::Ack, QByteArray()).bytes);
    QByteArray odd = buildFrame(0, 0x70, QByteArray(4, 1), answer);
    le::put16(reinterpret_cast<uint8_t *>(odd.data()) + 4, 3);
    write(t, "odd-length", Script(0).raw(odd).bytes);
    QByteArray big(1400, 0);
    le::put16(reinterpret_cast<uint8_t *>(big.data()) + 4, 1491);
    write(t, "length-too-large", Script(10).raw(big).bytes);
    write(t, "nine-bytes", Script(10).raw(QByteArray(9, 0)).bytes);
}

// ------------------------------------------------------------ block transfers

void blockTransfers()
{
    const QString t = QStringLiteral("blocktransfer");
    auto piece = [](const QByteArray &p) { return u16(uint16_t(p.size())) + p; };
    write(t, "log-one-block", QByteArray(1, 0) + piece(blockAnswer(0, 0, QByteArray(96, 'l'))));
    write(t, "log-0-1-3-of-3", QByteArray(1, 0) + piece(blockAnswer(0, 3, QByteArray(32, 'a')))
                                   + piece(blockAnswer(1, 3, QByteArray(32, 'b')))
                                   + piece(blockAnswer(3, 3, QByteArray(32, 'd'))));
    write(t, "log-repeated", QByteArray(1, 0) + piece(blockAnswer(0, 1, QByteArray(32, 'a')))
                                 + piece(blockAnswer(0, 1, QByteArray(32, 'x')))
                                 + piece(blockAnswer(1, 1, QByteArray(4, 'b'))));
    write(t, "log-other-transfer", QByteArray(1, 0) + piece(blockAnswer(0, 2, QByteArray(32, 'a'), 1))
                                       + piece(blockAnswer(1, 2, QByteArray(32, 'b'), 2))
                                       + piece(blockAnswer(2, 2, QByteArray(32, 'c'), 2)));
    write(t, "samples", QByteArray(1, 1) + piece(blockAnswer(0, 0, QByteArray::fromHex("ffff01000080ff7f"))));
    write(t, "samples-odd", QByteArray(1, 1) + piece(blockAnswer(0, 0, QByteArray::fromHex("ffff010000"))));
    QByteArray claims = blockAnswer(0, 0, QByteArray(10, 'x'));
    le::put32(reinterpret_cast<uint8_t *>(claims.data()), 1400);
    write(t, "count-beyond-payload", QByteArray(1, 0) + piece(claims));
    write(t, "last-index-huge", QByteArray(1, 0) + piece(blockAnswer(5, 0xFFFFFFFFu, QByteArray(4, 'x'))));
    write(t, "header-short", QByteArray(1, 0) + piece(QByteArray(19, 0)));
}

// ------------------------------------------------------------ configuration

CFG_Blob_struct_sorted sealed(CFG_Blob_struct_sorted blob)
{
    ConfigBlob::seal(blob, 5);
    return blob;
}

QByteArray scrambled(const CFG_Blob_struct_sorted &blob)
{
    QByteArray out(CFG_Blob_struct_sorted::kSize, '\0');
    BlobScrambler::scramble(blob.data(), reinterpret_cast<uint8_t *>(out.data()));
    return out;
}

void configBlobs()
{
    const QString t = QStringLiteral("configblob");
    const CFG_Blob_struct_sorted unit = UnitSimConfig::makeBlob({{2, 0x4B, 0x56, 0, 0, 2}}, 3);
    // After the blob: replacements (channel byte, entry bytes, seed byte).
    QByteArray ops;
    ops.append(char(2)).append(unit.mapping(4).toBytes()).append(char(0x80 | 6)).append(unit.sensor(1).toBytes());
    write(t, "unit-blob", scrambled(unit) + ops);
    write(t, "default-blob", scrambled(sealed(ConfigBlob::defaultBlob(9))));
    CFG_Blob_struct_sorted crc = unit;
    crc.data()[100] ^= 1;
    write(t, "crc-mismatch", scrambled(crc));
    CFG_Blob_struct_sorted tau = unit;
    auto m = tau.mapping(2);
    m.data()[28] = 0;
    m.data()[29] = 0;
    tau.setMapping(2, m);
    write(t, "tau-zero", scrambled(sealed(tau)));
    CFG_Blob_struct_sorted volts = unit;
    auto s = volts.sensor(0);
    s.data()[4] = char(241);
    volts.setSensor(0, s);
    write(t, "voltage-241", scrambled(sealed(volts)));
    CFG_Blob_struct_sorted empty = unit;
    empty.setHeadWords(0, 0, 0);
    write(t, "empty-lists", scrambled(sealed(empty)) + QByteArray(1, 3) + unit.mapping(0).toBytes());
}

void configFiles()
{
    const QString t = QStringLiteral("configfile");
    ConfigFileContent c;
    c.version = ConfigFile::kVersion;
    c.connection.setIpAddress(QHostAddress(QStringLiteral("192.168.0.100")));
    c.connection.setSubnetMask(QHostAddress(QStringLiteral("255.255.255.0")));
    c.deviceName.setText(QStringLiteral("Presse 4"));
    for (int ch = 0; ch < kChannelCount; ++ch)
        c.channelNames[size_t(ch)].setText(QStringLiteral("Lager %1").arg(ch + 1));
    const QByteArray blob = UnitSimConfig::makeScrambledBlob({{2, 0x4B, 0x56, 0, 0, 2}}, 4);
    std::memcpy(c.scrambledBlob.data(), blob.constData(), size_t(blob.size()));
    const QByteArray file = ConfigFile::encode(c);
    write(t, "valid", file);

    ConfigFileContent other = c;
    other.connection.setIpAddress(QHostAddress(QStringLiteral("10.0.0.7")));
    write(t, "other-network", ConfigFile::encode(other));
    QByteArray v3 = file;
    v3[4] = 3;
    write(t, "version-3", v3);
    write(t, "ends-early", file.left(3000));
    write(t, "trailing-byte", file + QByteArray(1, 0));
    QByteArray blockLength = file;
    blockLength[2083] = char(65);  // device block claims 65 bytes
    write(t, "block-length", blockLength);
    QByteArray altered = file;
    altered[2152 + 17] = char(altered.at(2152 + 17) ^ 0x40);  // inside the scrambled blob
    write(t, "blob-altered", altered);
    QByteArray utf8 = file;
    utf8[32] = char(0xC3);  // device name: a lone lead byte
    write(t, "name-not-utf8", utf8);
}

// ------------------------------------------------------------ loader files

void archives()
{
    const QString t = QStringLiteral("firmwarearchive");
    loader::FirmwareArchive a;
    QByteArray info(64, 'i');
    QByteArray paged(0x300, 0);
    for (int i = 0; i < paged.size(); ++i)
        paged[i] = char(i * 7);
    a.addSection(reinterpret_cast<const uint8_t *>(paged.constData()), paged.size(), 3, QStringLiteral("app"));
    a.addSection(reinterpret_cast<const uint8_t *>(info.constData()), info.size(), 1, QStringLiteral("info"));
    a.addSection(reinterpret_cast<const uint8_t *>(info.constData()), 16, 2, QStringLiteral("keys"));
    a.addIndex(0);
    a.addIndex(1);
    a.addIndex(2);
    loader::FirmwareSectionGroup app;
    app.type = 3;
    app.first = 0;
    app.count = 2;
    app.label = QStringLiteral("Application");
    a.addGroup(app);
    loader::FirmwareSectionGroup keys;
    keys.type = 2;
    keys.first = 2;
    keys.count = 1;
    a.addGroup(keys);
    loader::FirmwareArchiveHeader h;
    h.name = QStringLiteral("sample");
    h.firstHeaderValue = 1;
    h.secondHeaderValue = 2;
    a.setHeaderInfo(h);
    const QByteArray text = a.toText();
    write(t, "app-and-keys", text);
    write(t, "ends-one-byte-early", text.left(text.size() - 3));
    QByteArray magic = text;
    magic.replace(0, 11, "00 00 00 00");
    write(t, "other-magic", magic);
    write(t, "upper-case-crlf", text.toUpper().replace("\n", "\r\n"));

    loader::FirmwareArchive wrong;
    wrong.addSection(reinterpret_cast<const uint8_t *>(info.constData()), info.size(), 7, QStringLiteral("odd"));
    wrong.addIndex(0);
    wrong.addIndex(5);
    loader::FirmwareSectionGroup g;
    g.type = 3;
    g.first = 0;
    g.count = 3;
    wrong.addGroup(g);
    write(t, "bad-kind-and-index", wrong.toText());
}

QByteArray hexLine(uint8_t count, uint16_t address, uint8_t type, const QByteArray &data)
{
    QByteArray rec;
    rec.append(char(count)).append(char(address >> 8)).append(char(address)).append(char(type)).append(data);
    uint8_t sum = 0;
    for (char c : rec)
        sum = uint8_t(sum + uint8_t(c));
    rec.append(char(uint8_t(-sum)));
    return ":" + rec.toHex().toUpper() + "\n";
}

void intelHex()
{
    const QString t = QStringLiteral("intelhex");
    const QByteArray ext = hexLine(2, 0, 4, QByteArray::fromHex("0801"));
    const QByteArray data = hexLine(4, 0x4000, 0, QByteArray::fromHex("01020304"));
    const QByteArray end = ":00000001FF\n";
    write(t, "small-image", ext + data + hexLine(16, 0x4010, 0, QByteArray(16, 'x')) + end);
    uint32_t start = 0x08014000u;
    QByteArray image(0x40, char(0x5A));
    write(t, "written-by-us", loader::IntelHex::toText(start, reinterpret_cast<const uint8_t *>(image.constData()),
                                                      uint32_t(image.size())));
    QByteArray bad = data;
    bad[bad.size() - 2] = bad.at(bad.size() - 2) == '0' ? '1' : '0';
    write(t, "checksum-wrong", ext + bad + end);
    write(t, "not-hex", ext + ":04400000010G0304F0\n" + end);
    write(t, "line-too-short", ext + ":0040000\n" + end);
    write(t, "below-region", hexLine(2, 0, 4, QByteArray::fromHex("0800")) + data + end);
    write(t, "beyond-region", hexLine(2, 0, 4, QByteArray::fromHex("080F")) + hexLine(16, 0xFFF8, 0, QByteArray(16, 1)) + end);
    write(t, "other-record-types", ext + hexLine(2, 0, 2, QByteArray::fromHex("1000")) + hexLine(4, 0, 3, QByteArray(4, 0))
                                       + hexLine(4, 0, 5, QByteArray(4, 0)) + data + end);
    write(t, "comments-and-blanks", "; made by hand\n\n" + ext + ":04 4000 00 01020304 B2\n" + end);
    write(t, "no-end-record", ext + data);
}

// ------------------------------------------------------------ catalogue files

#ifdef KORVANTIS_HAVE_DATABASE
// A plain catalogue as the producer packs it, with small pages so that the
// seed stays small.
QByteArray plainCatalogue()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("plain.db"));
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("seeds"));
        db.setDatabaseName(path);
        if (!db.open())
            return {};
        QSqlQuery q(db);
        q.exec(QStringLiteral("PRAGMA page_size = 512"));
        for (const QString &create : CatalogueStore::createStatements())
            q.exec(create);
        q.exec(QStringLiteral("INSERT INTO sensors VALUES (1, 'KVS-100 IEPE 100 mV/g', 6.0, 18.0)"));
        q.exec(QStringLiteral("INSERT INTO lubEntry VALUES (1, 'Grease')"));
        q.exec(QStringLiteral("INSERT INTO prodFamilyEntry VALUES (1, 'Linear Guide')"));
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("seeds"));
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void catalogueFiles()
{
    const QString t = QStringLiteral("dbenc");
    const QByteArray plain = plainCatalogue();
    if (plain.isEmpty()) {
        std::fprintf(stderr, "cannot build the plain catalogue\n");
        std::exit(1);
    }
    QByteArray packed;
    DbencPacker::pack(plain, packed);
    write(t, "as-shipped", QByteArray(1, 0) + packed);
    write(t, "plain-catalogue", QByteArray(1, 1) + plain);
    write(t, "not-a-database", QByteArray(1, 1) + QByteArray("no SQLite here, just some text").leftJustified(64, '.'));
    // Damage behind the signature: format word, payload length, header CRC.
    write(t, "format-word", QByteArray(1, 2) + QByteArray::fromHex("000101") + plain);
    write(t, "payload-length", QByteArray(1, 2) + QByteArray::fromHex("041001") + plain);
    write(t, "header-crc", QByteArray(1, 2) + QByteArray::fromHex("2c0100") + plain);
    write(t, "ephemeral-key", QByteArray(1, 2) + QByteArray::fromHex("30ff01") + plain);
    write(t, "short-file", QByteArray(1, 0) + packed.left(287));
    write(t, "not-whole-blocks", QByteArray(1, 0) + packed + QByteArray(5, 0));
    QByteArray signature = packed;
    signature[10] = char(signature.at(10) ^ 1);
    write(t, "signature", QByteArray(1, 0) + signature);
}
#endif

// ------------------------------------------------------------ device logs

#ifdef KORVANTIS_HAVE_LOG
// One record of each event family the decoders know, with a payload that
// varies from record to record.
QVector<LogRecord> sampleRecords()
{
    static const uint32_t ids[] = {
        0x03010100, 0x03010200, 0x03020100, 0x03020500, 0x03020700, 0x03020800, 0x03030100, 0x03030200,
        0x04010100, 0x04010210, 0x04010510, 0x04010800, 0x04010A00, 0x04010A27, 0x04010A35, 0x04010B00,
        0x04030110, 0x04030120, 0x04030130, 0x04030210, 0x04030300, 0x04030410, 0x04030411, 0x04030420,
        0x04030500, 0x04030510, 0x04030600, 0x04030610, 0x04030710, 0x04030720, 0x04030800, 0x04030900,
        0x04030B00, 0x04030C00, 0x04030D06, 0x04030D0F, 0x04040000, 0x04040011, 0x04040080, 0x04040090,
        0x04040180, 0x12345678};
    QVector<LogRecord> records;
    uint32_t time = 3600;
    for (uint32_t id : ids) {
        LogRecord r;
        le::put32(r.bytes.data(), time += 97);
        le::put32(r.bytes.data() + 4, id);
        for (int i = 0; i < LogRecord::kPayloadSize; ++i)
            r.bytes[size_t(8 + i)] = uint8_t(id * 7 + i * 13);
        records << r;
    }
    return records;
}

QByteArray joined(const QVector<LogRecord> &records)
{
    QByteArray out;
    for (const LogRecord &r : records)
        out += r.toByteArray();
    return out;
}

void deviceLogs()
{
    const QString t = QStringLiteral("devicelog");
    const QVector<LogRecord> records = sampleRecords();
    write(t, "every-family", joined(records));
    write(t, "with-erased-slots", joined(records.mid(0, 4)) + QByteArray(64, char(0xFF)) + joined(records.mid(4, 2)));
    write(t, "not-whole-records", joined(records.mid(0, 3)) + QByteArray(7, 1));

    const QString f = QStringLiteral("logfile");
    LogEntryBase root;
    ProductInfoRecord product;
    const VersionInfo info(&product);
    root.appendNew<LogEntryinfo>(info, &root);
    for (const LogRecord &r : records)
        root.appendNew<LogEntry>(r, &root);
    const QByteArray file = LogFile::toBytes(info, root);
    write(f, "as-saved", file);
    write(f, "cut-short", file.left(file.size() - 40));
    QByteArray length = file;
    length[0] = char(0x7F);  // the identification claims far more than the file holds
    write(f, "length-beyond-file", length);
    QByteArray null = file;
    null.replace(0, 4, QByteArray(4, char(0xFF)));  // a null item
    write(f, "null-identification", null);
    write(f, "trailing-bytes", file + QByteArray(9, 0));
}
#endif

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s CORPUS-FOLDER\n", argv[0]);
        return 2;
    }
    g_root = QDir(QString::fromLocal8Bit(argv[1]));
    linkDatagrams();
    loaderDatagrams();
    blockTransfers();
    configBlobs();
    configFiles();
    archives();
    intelHex();
#ifdef KORVANTIS_HAVE_DATABASE
    catalogueFiles();
#endif
#ifdef KORVANTIS_HAVE_LOG
    deviceLogs();
#endif
    std::printf("%d seed files written to %s\n", g_written, argv[1]);
    return 0;
}
