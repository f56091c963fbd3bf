#pragma once

#include <QString>
#include <QStringList>
#include <functional>

class QAbstractItemModel;

// The CSV file of the measurement table shown on the data page: UTF-8
// without byte-order mark, fields separated by ";" without quoting, lines
// ended by a line feed. First the header line (the optional first header
// cell, then the column headers), then one line per table row: the optional
// row label cell, then one decimal integer per column (empty for a cell
// without a value).
namespace MeasurementCsv {

enum class Result {
    Written,
    CannotOpen,     // no temporary file could be created
    CannotWrite,    // writing the temporary file failed
    CannotRemove,   // the existing file could not be removed, so the rename failed too
    CannotRename,   // the finished file could not take the chosen name
};

struct Texts
{
    QString firstHeader;
    QStringList columnHeaders;
    QStringList rowLabels;
};

// The file name for what the engineer typed: trimmed; ".csv" appended unless
// it already ends with "csv". Empty for an empty answer.
QString fileName(const QString &answer);

// The whole file as text.
QString text(const QAbstractItemModel &table, const Texts &texts);

// Writes the file into a temporary file of the PC's temporary folder and,
// once it is complete, puts it in place of `path`: an existing file there is
// removed (a read-only file in a writable folder too) and the new one takes
// its name. Any failure leaves the existing file as it was and no temporary
// file behind. `afterRow` runs after every row (the caller lets its event
// loop run there).
Result write(const QString &path, const QAbstractItemModel &table, const Texts &texts,
             const std::function<void()> &afterRow = {});

} // namespace MeasurementCsv
