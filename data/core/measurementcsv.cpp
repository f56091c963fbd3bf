#include "measurementcsv.h"

#include <QAbstractItemModel>
#include <QSaveFile>
#include <QTextStream>

namespace MeasurementCsv {

namespace {

const QString kSuffix = QStringLiteral("csv");

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
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
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
    if (out.status() != QTextStream::Ok) {
        file.cancelWriting();
        return Result::CannotWrite;
    }
    // The file is readable by everyone on the PC, as the engineer's other
    // exports are.
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadUser
                        | QFileDevice::WriteUser | QFileDevice::ReadGroup | QFileDevice::WriteGroup
                        | QFileDevice::ReadOther | QFileDevice::WriteOther);
    return file.commit() ? Result::Written : Result::CannotWrite;
}

} // namespace MeasurementCsv
