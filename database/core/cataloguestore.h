#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

// The sensor and mapping catalogue as SQL: the ten tables, how a plain
// catalogue file is merged into them, and a whole-database copy. Works on a
// connection it is given; shows nothing (the container reports).
class CatalogueStore
{
public:
    explicit CatalogueStore(const QSqlDatabase &db);

    // The tables in creation order and their statements, as catalogue files
    // must carry them (same columns in the same order).
    static const QStringList &tableNames();
    static const QStringList &createStatements();

    // Creates every table the connection lacks, in order; the first failure
    // ends it with "create Table <name> error:  <driver text>" in *error.
    bool createTables(QString *error = nullptr);

    // Merges every table of the plain SQLite file at path, as one
    // transaction: any failure (the file cannot be attached, a table is
    // missing or has other columns, a row clashes with one already merged)
    // rolls the whole file back. True when merged; *error says what failed.
    bool merge(const QString &path, QString *error = nullptr);

    // Copies the whole "main" database between the connection and the
    // SQLite file fileName (created when missing): save true writes the
    // file, false reads it. False when the driver is not SQLite or the copy
    // failed.
    static bool backup(const QSqlDatabase &db, const QString &fileName, bool save);

private:
    QSqlDatabase m_db;
};
