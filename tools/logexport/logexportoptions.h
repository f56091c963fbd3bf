#pragma once

#include <QMap>
#include <QString>
#include <QStringList>

#include "devicerecords.h"

// What one run of logexport does, from its command line.
struct LogExportOptions
{
    enum class Format { Raw, Log };

    QString input;
    Format format = Format::Raw;
    QString textFile;
    QString csvFile;
    QString logFile;
    // Replacements of this PC's texts (host name, CPU architecture, kernel,
    // operating system); an empty entry keeps the PC's own.
    QStringList machine{QString(), QString(), QString(), QString()};
    bool hasIdentification = false;
    ProductInfoRecord identification{};
    QMap<int, QString> channelNames;  // channel 0..6
    // -h or --help: print the usage and do nothing else.
    bool help = false;

    // The output files as they will be named (their suffixes completed), in
    // the order they are written.
    QStringList outputs() const;
    // The output that is the input file itself (empty when none is): written,
    // it would replace the log it is made from.
    QString outputThatIsTheInput() const;

    // False with a reason on a bad command line.
    bool parse(const QStringList &arguments, QString *error);
    static QString usage();
};
