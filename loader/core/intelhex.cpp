#include "intelhex.h"

#include <QFile>
#include <QSaveFile>
#include <algorithm>
#include <cstring>

#include "byteorder.h"

namespace loader {

namespace {

int hexValue(QChar c)
{
    const ushort u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    return -1;
}

const char kUpper[] = "0123456789ABCDEF";

void appendByte(QByteArray &out, uint8_t b)
{
    out.append(kUpper[b >> 4]);
    out.append(kUpper[b & 0xF]);
}

void appendExtendedAddress(QByteArray &out, uint16_t upper)
{
    const uint8_t bytes[] = {0x02, 0x00, 0x00, 0x04, uint8_t(upper >> 8), uint8_t(upper)};
    uint8_t sum = 0;
    out.append(':');
    for (uint8_t b : bytes) {
        appendByte(out, b);
        sum = uint8_t(sum + b);
    }
    appendByte(out, uint8_t(-sum));
    out.append('\n');
}

} // namespace

int IntelHex::parseRecord(uint8_t *out, const QString &line, errorCode_e *result, bool skipChecksum)
{
    auto fail = [result](errorCode_e code) {
        if (result)
            *result = code;
        return 0;
    };
    if (line.isEmpty() || line.at(0) != QLatin1Char(':'))
        return 0;
    if (line.size() <= 10)
        return fail(ERR_BAD_CONTENT);
    const int digits = line.size() - 1;
    // A lone digit is half a byte: the line is damaged.
    if (digits & 1)
        return fail(ERR_HEX_NOT_HEX);
    const int count = digits / 2;
    if (count > kMaxRecordBytes)
        return fail(ERR_BAD_CONTENT);
    std::memset(out, 0, kMaxRecordBytes);
    for (int i = 0; i < count; ++i) {
        const int hi = hexValue(line.at(1 + 2 * i));
        const int lo = hexValue(line.at(2 + 2 * i));
        if (hi < 0 || lo < 0)
            return fail(ERR_HEX_NOT_HEX);
        out[i] = uint8_t((hi << 4) | lo);
    }
    if (!skipChecksum) {
        uint8_t sum = 0;
        for (int i = 0; i < count - 1; ++i)
            sum = uint8_t(sum + out[i]);
        if (uint8_t(-sum) != out[count - 1])
            return fail(ERR_HEX_CHECKSUM);
    }
    return count - 1;
}

errorCode_e IntelHex::readFile(uint32_t start, uint8_t *image, uint32_t size, const QString &fileName,
                               bool skipChecksum, int *dataRecords)
{
    if (dataRecords)
        *dataRecords = 0;
    QFile file(fileName);
    if (fileName.isEmpty() || !file.open(QIODevice::ReadOnly | QIODevice::Text))
        return ERR_BAD_CONTENT;
    std::memset(image, 0xFF, size);
    uint32_t upper = 0;
    errorCode_e error = ERR_OK;
    bool ended = false;
    uint8_t record[kMaxRecordBytes];
    while (!file.atEnd() && !ended && error == ERR_OK) {
        QString line = QString::fromLatin1(file.readLine()).simplified();
        line.remove(QLatin1Char(' '));
        const int n = parseRecord(record, line, &error, skipChecksum);
        if (error != ERR_OK || n < 4)
            continue;
        const int dataLength = n - 4;
        const uint8_t type = record[3];
        const uint8_t *data = record + 4;
        switch (type) {
        case 0x00: {
            const uint32_t address = (upper << 16) | be::u16(record + 1);
            if (address < start) {
                error = ERR_TOO_MUCH_DATA;
                break;
            }
            const uint64_t offset = uint64_t(address) - start;
            for (int k = 0; k < dataLength; ++k) {
                if (offset + uint64_t(k) >= size) {
                    error = ERR_HEX_BEYOND_IMAGE;
                    break;
                }
                image[offset + uint64_t(k)] = data[k];
            }
            if (dataRecords)
                ++*dataRecords;
            break;
        }
        case 0x01:
            ended = true;
            break;
        case 0x04:
            if (dataLength < 2) {
                error = ERR_BAD_CONTENT;
                break;
            }
            upper = be::u16(data);
            break;
        default:
            break;
        }
    }
    return error;
}

errorCode_e IntelHex::read(uint32_t start, uint8_t *image, uint32_t size, const QString &fileName, int *dataRecords)
{
    return readFile(start, image, size, fileName, false, dataRecords);
}

QByteArray IntelHex::toText(uint32_t start, const uint8_t *image, uint32_t size)
{
    QByteArray out;
    out.reserve(int(size / 16 * 44 + 64));
    if (start > 0xFFFF)
        appendExtendedAddress(out, uint16_t(start >> 16));
    const uint64_t end = uint64_t(start) + size;
    for (uint64_t a = start; a < end;) {
        if ((a & 0xFFFF) == 0 && (a >> 16) != 0 && a != start)
            appendExtendedAddress(out, uint16_t(a >> 16));
        const uint32_t n = uint32_t(std::min<uint64_t>(16, end - a));
        uint8_t sum = uint8_t(n + ((a >> 8) & 0xFF) + (a & 0xFF));
        out.append(':');
        appendByte(out, uint8_t(n));
        appendByte(out, uint8_t(a >> 8));
        appendByte(out, uint8_t(a));
        out.append("00");
        const uint8_t *data = image + (a - start);
        for (uint32_t k = 0; k < n; ++k) {
            appendByte(out, data[k]);
            sum = uint8_t(sum + data[k]);
        }
        appendByte(out, uint8_t(-sum));
        out.append('\n');
        a += n;
    }
    out.append(":00000001FF\n");
    return out;
}

errorCode_e IntelHex::writeFile(uint32_t start, const uint8_t *image, uint32_t size, const QString &fileName)
{
    if (fileName.isEmpty())
        return ERR_BAD_CONTENT;
    // Written next to the old file and moved over it only when complete, so
    // a failed write leaves the old file as it was.
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text))
        return ERR_BAD_CONTENT;
    const QByteArray text = toText(start, image, size);
    if (file.write(text) != text.size() || !file.commit())
        return ERR_BAD_CONTENT;
    return ERR_OK;
}

} // namespace loader
