#include "logfile.h"

#include <QCoreApplication>
#include <QDataStream>
#include <QDebug>
#include <QStringList>
#include <algorithm>

#include "byteorder.h"
#include "logentrybase.h"

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("LogFile", text);
}

// Walks the file's items, each length checked before it is used.
class Reader
{
public:
    explicit Reader(const QByteArray &bytes)
        : m_bytes(bytes)
    {
    }

    // One length-prefixed item; false with `error` set when the file is cut
    // or the length is impossible. A null item (length 0xFFFFFFFF) is empty.
    bool item(const char *what, QByteArray *out, QString *error)
    {
        qint32 length = 0;
        if (!length32(what, &length, error))
            return false;
        if (length == -1) {
            *out = QByteArray();
            return true;
        }
        if (length < 0) {
            *error = tr("The LOG file is damaged: the %1 has the length %2.").arg(tr(what)).arg(length);
            return false;
        }
        if (length > remaining()) {
            *error = tr("The LOG file is cut short: the %1 needs %2 bytes, but only %3 remain.")
                         .arg(tr(what))
                         .arg(length)
                         .arg(remaining());
            return false;
        }
        *out = m_bytes.mid(m_at, length);
        m_at += length;
        return true;
    }

    // The record section, the file's last item. A file cut inside it still
    // holds every record before the cut: `out` gets the bytes present and
    // `claimed` the length the file gives. A length beyond any log is
    // damage, not a cut, and is refused like a negative one, whether or not
    // that many bytes follow. A null section (-1) is an empty log, but only
    // when nothing follows it: records after a section that says there are
    // none contradict the file itself, and reading it as empty would lose
    // them without a word.
    bool recordSection(QByteArray *out, qint32 *claimed, QString *error)
    {
        const char *what = QT_TRANSLATE_NOOP("LogFile", "records");
        qint32 length = 0;
        if (!length32(what, &length, error))
            return false;
        *claimed = length;
        if (length == -1) {
            if (remaining() > 0) {
                *error = tr("The LOG file is damaged: its record section says it holds no records (-1), but %1 "
                            "bytes follow it.")
                             .arg(remaining());
                return false;
            }
            *out = QByteArray();
            return true;
        }
        if (length < 0) {
            *error = tr("The LOG file is damaged: its records have the length %1.").arg(length);
            return false;
        }
        if (length > LogFile::kMaxRecordBytes) {
            *error = tr("The LOG file is damaged: its records claim %1 bytes, more than the %2 bytes (128 MiB) that "
                        "any log can hold.")
                         .arg(length)
                         .arg(LogFile::kMaxRecordBytes);
            return false;
        }
        const int present = std::min(int(length), remaining());
        *out = m_bytes.mid(m_at, present);
        m_at += present;
        return true;
    }

    int remaining() const { return m_bytes.size() - m_at; }

private:
    bool length32(const char *what, qint32 *out, QString *error)
    {
        if (remaining() < 4) {
            *error = tr("The LOG file is cut short: it ends before the %1.").arg(tr(what));
            return false;
        }
        *out = qint32(be::u32(reinterpret_cast<const uint8_t *>(m_bytes.constData()) + m_at));
        m_at += 4;
        return true;
    }

    const QByteArray &m_bytes;
    int m_at = 0;
};

} // namespace

void LogFile::write(QDataStream &out, const VersionInfo &info, const LogEntryBase &root)
{
    QByteArray identification(kIdentificationSize, '\0');
    info.productInfo().toBytes(reinterpret_cast<uint8_t *>(identification.data()));
    out.writeBytes(identification.constData(), uint(identification.size()));
    out << info.shortVersionString().toUtf8();
    out << info.versionString().toUtf8();
    for (int i = 0; i < 4; ++i)
        out << info.hostText(i).toUtf8();
    root.serialize(out);
}

QByteArray LogFile::toBytes(const VersionInfo &info, const LogEntryBase &root)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    write(out, info, root);
    return bytes;
}

bool LogFile::read(const QByteArray &bytes, QVector<LogRecord> *records, VersionInfo *info, QString *error,
                   QString *warning)
{
    QString ignored;
    QString &reason = error ? *error : ignored;
    if (warning)
        warning->clear();
    Reader in(bytes);
    VersionInfo read = *info;

    QByteArray identification;
    if (!in.item(QT_TRANSLATE_NOOP("LogFile", "unit identification"), &identification, &reason))
        return false;
    // Another length is kept as the file says, but it is no identification.
    if (identification.size() == kIdentificationSize)
        read.setProductInfo(ProductInfoRecord::fromBytes(reinterpret_cast<const uint8_t *>(identification.constData())));

    QByteArray qtText, toolText;
    if (!in.item(QT_TRANSLATE_NOOP("LogFile", "Qt version"), &qtText, &reason)
        || !in.item(QT_TRANSLATE_NOOP("LogFile", "tool version"), &toolText, &reason))
        return false;
    read.setStoredVersions(VersionInfo::storedText(qtText), VersionInfo::storedText(toolText));

    static const char *const hostItems[] = {
        QT_TRANSLATE_NOOP("LogFile", "host name"), QT_TRANSLATE_NOOP("LogFile", "CPU architecture"),
        QT_TRANSLATE_NOOP("LogFile", "kernel"), QT_TRANSLATE_NOOP("LogFile", "operating system")};
    QStringList host;
    for (const char *what : hostItems) {
        QByteArray text;
        if (!in.item(what, &text, &reason))
            return false;
        host << VersionInfo::storedText(text);
    }
    read.setHostInfo(host);

    QByteArray recordBytes;
    qint32 claimed = 0;
    if (!in.recordSection(&recordBytes, &claimed, &reason))
        return false;
    QVector<LogRecord> out;
    out.reserve(recordBytes.size() / LogRecord::kSize);
    for (int at = 0; at + LogRecord::kSize <= recordBytes.size(); at += LogRecord::kSize)
        out << LogRecord::fromBytes(reinterpret_cast<const uint8_t *>(recordBytes.constData()) + at);
    // What was not read is said, never only logged: the user must know that
    // the log shown is not the whole file.
    QStringList notes;
    if (claimed > recordBytes.size()) {
        notes << tr("The LOG file is cut short inside its records: they need %1 bytes, but only %2 "
                    "remain. The %3 whole records before the cut were read.")
                     .arg(claimed)
                     .arg(recordBytes.size())
                     .arg(out.size());
    } else if (recordBytes.size() % LogRecord::kSize != 0) {
        notes << tr("The LOG file's records end in a cut record: %1 bytes after the last whole record were "
                    "not read.")
                     .arg(recordBytes.size() % LogRecord::kSize);
    }
    if (in.remaining() > 0)
        notes << tr("The LOG file holds %1 bytes after its records; they were not read.").arg(in.remaining());
    const QString note = notes.join(QLatin1Char(' '));
    if (!note.isEmpty()) {
        qDebug() << "LOG file:" << note;
        if (warning)
            *warning = note;
    }
    *records = out;
    *info = read;
    return true;
}
