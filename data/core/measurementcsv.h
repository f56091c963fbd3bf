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
    CannotOpen,    // the file (or its temporary beside it) could not be created
    CannotWrite,   // writing failed, or the finished file could not replace the old one
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

// Writes the file next to its target and puts it in place only when it is
// complete, so a failure leaves an existing file as it was. `afterRow` runs
// after every row (the caller lets its event loop run there).
Result write(const QString &path, const QAbstractItemModel &table, const Texts &texts,
             const std::function<void()> &afterRow = {});

} // namespace MeasurementCsv
