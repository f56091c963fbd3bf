// dbenctool: makes and checks catalogue files (".dbenc").
//   pack SOURCE OUT        SOURCE is catalogue SQL (".sql": rows for the
//                          catalogue's tables) or a plain SQLite catalogue;
//                          OUT is written with the sample keys.
//   verify FILE...         runs the program's decoder on each file and
//                          prints its result code.
//   dump FILE|FOLDER...    merges the files (a folder's "*.dbenc" files in
//                          the program's order) and prints every table.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTextStream>

#include "cataloguestore.h"
#include "dbencdecoder.h"
#include "dbencpacker.h"

namespace {

QTextStream &out()
{
    static QTextStream s(stdout);
    return s;
}

QTextStream &err()
{
    static QTextStream s(stderr);
    return s;
}

int usage()
{
    err() << "usage: dbenctool pack SOURCE.sql|SOURCE.db OUT.dbenc\n"
             "       dbenctool verify FILE.dbenc...\n"
             "       dbenctool dump FILE.dbenc|FOLDER...\n";
    return 2;
}

int pack(const QString &source, const QString &target)
{
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly)) {
        err() << "cannot read " << source << ": " << in.errorString() << "\n";
        return 1;
    }
    QByteArray plain = in.readAll();
    if (source.endsWith(QLatin1String(".sql"), Qt::CaseInsensitive)) {
        QString error;
        plain = DbencPacker::buildCatalogue(QString::fromUtf8(plain), &error);
        if (plain.isEmpty()) {
            err() << source << ": " << error << "\n";
            return 1;
        }
    }
    QByteArray file;
    if (const int result = DbencPacker::pack(plain, file); result != 0) {
        err() << "packing " << source << " failed: Result: " << result << "\n";
        return 1;
    }
    QSaveFile save(target);
    if (!save.open(QIODevice::WriteOnly) || save.write(file) != file.size() || !save.commit()) {
        err() << "cannot write " << target << ": " << save.errorString() << "\n";
        return 1;
    }
    return 0;
}

// A fresh in-memory catalogue on its own connection.
QSqlDatabase openCatalogue(const QString &name)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
    db.setDatabaseName(QStringLiteral(":memory:"));
    QString error;
    if (!db.open() || !CatalogueStore(db).createTables(&error))
        err() << "cannot create the catalogue: " << error << "\n";
    return db;
}

int decode(QSqlDatabase &db, const QString &path)
{
    QString mergeError;
    DbencDecoder decoder([&](const QString &plainFile) { return !CatalogueStore(db).merge(plainFile, &mergeError); });
    const int result = decoder.decryptAndVerify(path);
    if (!mergeError.isEmpty())
        err() << path << ": " << mergeError << "\n";
    return result;
}

int verify(const QStringList &paths)
{
    int failures = 0;
    for (int i = 0; i < paths.size(); ++i) {
        const QString &path = paths.at(i);
        QSqlDatabase db = openCatalogue(QStringLiteral("verify%1").arg(i));
        const int result = decode(db, path);
        out() << path << ": Result: " << result << "\n";
        failures += result != 0;
        db.close();
    }
    return failures ? 1 : 0;
}

QStringList expand(const QStringList &arguments)
{
    QStringList files;
    for (const QString &argument : arguments) {
        const QFileInfo info(argument);
        if (!info.isDir()) {
            files << argument;
            continue;
        }
        const QFileInfoList entries = QDir(argument).entryInfoList({QStringLiteral("*.dbenc")}, QDir::Files,
                                                                   QDir::Name | QDir::IgnoreCase);
        for (const QFileInfo &entry : entries)
            files << entry.absoluteFilePath();
    }
    return files;
}

int dump(const QStringList &arguments)
{
    QSqlDatabase db = openCatalogue(QStringLiteral("dump"));
    for (const QString &path : expand(arguments)) {
        const int result = decode(db, path);
        if (result != 0) {
            err() << path << ": Result: " << result << " (loading stops here)\n";
            return 1;
        }
    }
    for (const QString &table : CatalogueStore::tableNames()) {
        QSqlQuery q(db);
        q.exec(QStringLiteral("SELECT * FROM %1").arg(table));
        out() << "== " << table << "\n";
        const QSqlRecord record = q.record();
        QStringList header;
        for (int c = 0; c < record.count(); ++c)
            header << record.fieldName(c);
        out() << header.join(QLatin1Char('\t')) << "\n";
        while (q.next()) {
            QStringList row;
            for (int c = 0; c < record.count(); ++c)
                row << q.value(c).toString();
            out() << row.join(QLatin1Char('\t')) << "\n";
        }
    }
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    if (args.isEmpty())
        return usage();
    const QString command = args.takeFirst();
    int result;
    if (command == QLatin1String("pack") && args.size() == 2)
        result = pack(args.at(0), args.at(1));
    else if (command == QLatin1String("verify") && !args.isEmpty())
        result = verify(args);
    else if (command == QLatin1String("dump") && !args.isEmpty())
        result = dump(args);
    else
        result = usage();
    out().flush();
    err().flush();
    return result;
}
