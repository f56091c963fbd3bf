#include "measurementcsv.h"

#include <QAbstractItemModel>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <QTextStream>

namespace MeasurementCsv {

namespace {

const QString kSuffix = QStringLiteral("csv");
const QFileDevice::Permissions kEveryoneReadWrite = QFileDevice::ReadOwner | QFileDevice::WriteOwner
    | QFileDevice::ReadUser | QFileDevice::WriteUser | QFileDevice::ReadGroup | QFileDevice::WriteGroup
    | QFileDevice::ReadOther | QFileDevice::WriteOther;

void writeHeader(QTextStream &out, const Texts &texts)
{
    if (!texts.firstHeader.isEmpty())
        out << texts.firstHeader << ';';
    out << texts.columnHeaders.join(QLatin1Char(';')) << '\n';
}

void writeRow(QTextStream &out, const QAbstractItemModel &table, const Texts &texts, int row, int columns)
{
    if (!texts.rowLabels.isEmpty()) {
        if (row < texts.rowLabels.size())
            out << texts.rowLabels.at(row);
        out << ';';
    }
    for (int c = 0; c < columns; ++c) {
        const QVariant v = table.data(table.index(row, c), Qt::DisplayRole);
        if (v.isValid())
            out << QString::number(v.toInt());
        if (c + 1 < columns)
            out << ';';
    }
    out << '\n';
}

// Puts the complete file `finished` (open, any position) in place of `path`.
Result replace(QFile &finished, const QString &path)
{
    // The finished file is copied into the target's folder under a name of
    // its own before anything is removed, so that a full disk or a folder
    // that cannot be written leaves the existing file as it was; the rename
    // that follows stays inside one folder. Removing the existing file and
    // renaming are separate steps because the target may be read-only in a
    // writable folder: it is replaced all the same.
    const QFileInfo target(path);
    QTemporaryFile staged(target.absoluteDir().filePath(target.fileName() + QStringLiteral(".XXXXXX")));
    if (!staged.open() || !finished.seek(0))
        return Result::CannotRename;
    while (!finished.atEnd()) {
        const QByteArray chunk = finished.read(1 << 16);
        if (chunk.isEmpty() || staged.write(chunk) != chunk.size())
            return Result::CannotRename;
    }
    if (!staged.flush())
        return Result::CannotRename;
    // The file is readable and writable by everyone on the PC, as the
    // engineer's other exports are.
    staged.setPermissions(kEveryoneReadWrite);

    // A name still in use cannot be taken by the rename either.
    if ((target.exists() || target.isSymLink()) && !QFile::remove(path))
        return Result::CannotRemove;
    staged.setAutoRemove(false);
    if (!staged.rename(path)) {
        staged.setAutoRemove(true);
        return Result::CannotRename;
    }
    return Result::Written;
}

} // namespace

QString fileName(const QString &answer)
{
    QString name = answer.trimmed();
    if (name.isEmpty())
        return name;
    if (!name.endsWith(kSuffix))
        name += QLatin1Char('.') + kSuffix;
    return name;
}

QString text(const QAbstractItemModel &table, const Texts &texts)
{
    QString s;
    QTextStream out(&s);
    writeHeader(out, texts);
    const int rows = table.rowCount();
    const int columns = table.columnCount();
    for (int r = 0; r < rows; ++r)
        writeRow(out, table, texts, r, columns);
    out.flush();
    return s;
}

Result write(const QString &path, const QAbstractItemModel &table, const Texts &texts,
             const std::function<void()> &afterRow)
{
    // Written whole into the PC's temporary folder first: the target and
    // its folder are not touched until the file is complete.
    QTemporaryFile file;
    if (!file.open())
        return Result::CannotOpen;
    QTextStream out(&file);
    out.setCodec("UTF-8");
    out.setGenerateByteOrderMark(false);
    writeHeader(out, texts);
    const int rows = table.rowCount();
    const int columns = table.columnCount();
    for (int r = 0; r < rows; ++r) {
        writeRow(out, table, texts, r, columns);
        if (afterRow)
            afterRow();
    }
    out.flush();
    if (out.status() != QTextStream::Ok || !file.flush())
        return Result::CannotWrite;
    return replace(file, path);
}

} // namespace MeasurementCsv
