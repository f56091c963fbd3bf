#include "cataloguestore.h"

#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <sqlite3.h>

namespace {

// The alias under which a file is attached while it is merged.
const char kAttachedName[] = "db";

QString lastError(const QSqlQuery &q)
{
    return q.lastError().text();
}

} // namespace

CatalogueStore::CatalogueStore(const QSqlDatabase &db)
    : m_db(db)
{
}

const QStringList &CatalogueStore::tableNames()
{
    static const QStringList names = {
        QStringLiteral("sensors"),          QStringLiteral("lubEntry"),
        QStringLiteral("prodFamilyEntry"),  QStringLiteral("prodTypeEntry"),
        QStringLiteral("prodSubTypeEntry"), QStringLiteral("prodSizeEntry"),
        QStringLiteral("filterEntry"),      QStringLiteral("channelParam"),
        QStringLiteral("DeviceEntry"),      QStringLiteral("Mapping"),
    };
    return names;
}

const QStringList &CatalogueStore::createStatements()
{
    static const QStringList statements = {
        QStringLiteral("CREATE TABLE sensors( sensorid integer primary key, sensorName text UNIQUE, "
                       "IEPELowVoltage real, IEPEHighVoltage real )"),
        QStringLiteral("CREATE TABLE lubEntry( lubID integer primary key, lubTypeName text UNIQUE )"),
        QStringLiteral("CREATE TABLE prodFamilyEntry( prodFamilyid integer primary key, prodFamilyName text UNIQUE )"),
        QStringLiteral("CREATE TABLE prodTypeEntry( prodTypeid integer primary key, prodTypeName text UNIQUE )"),
        QStringLiteral("CREATE TABLE prodSubTypeEntry( prodSubTypeid integer primary key, "
                       "prodSubTypeName text UNIQUE )"),
        QStringLiteral("CREATE TABLE prodSizeEntry( prodSizeid integer primary key, prodSize real UNIQUE )"),
        QStringLiteral("CREATE TABLE filterEntry( filterid integer primary key, filterName text, "
                       "LowerFrequency real, UpperFrequency real, K_0_b0 real, K_0_b1 real, K_0_b2 real, "
                       "K_0_a1 real, K_0_a2 real, K_1_b0 real, K_1_b1 real, K_1_b2 real, K_1_a1 real, "
                       "K_1_a2 real, UNIQUE( K_0_b0, K_0_b1, K_0_b2, K_0_a1, K_0_a2, K_1_b0, K_1_b1, K_1_b2, "
                       "K_1_a1, K_1_a2 ), UNIQUE( filterName, LowerFrequency, UpperFrequency )  )"),
        QStringLiteral("CREATE TABLE channelParam( channelid integer primary key, Tau real, Segmenttime real, "
                       "SegmentStatisticSelect integer, SKWselect integer, ReferenceScalefactor real )"),
        QStringLiteral("CREATE TABLE DeviceEntry( deviceid integer primary key, fkprodFamilyid REFERENCES "
                       "prodFamilyEntry( prodFamilyid ) ON DELETE CASCADE, fkprodTypeid REFERENCES "
                       "prodTypeEntry( prodTypeid ) ON DELETE CASCADE, fkprodSubTypeid REFERENCES "
                       "prodSubTypeEntry( prodSubTypeid ) ON DELETE CASCADE, fkprodSizeid REFERENCES "
                       "prodSizeEntry( prodSizeid ) ON DELETE CASCADE, UNIQUE( fkprodFamilyid, fkprodTypeid, "
                       "fkprodSubTypeid, fkprodSizeid ) )"),
        QStringLiteral("CREATE TABLE Mapping( mappingid integer primary key, fkdeviceid REFERENCES "
                       "DeviceEntry( deviceid ) ON DELETE CASCADE, fklubID REFERENCES lubEntry( lubID ) ON "
                       "DELETE CASCADE, fkchannelid REFERENCES channelParam( channelid ) ON DELETE CASCADE, "
                       "fkfilterid REFERENCES filterEntry( filterid ) ON DELETE CASCADE, Version integer, "
                       "UNIQUE( fkdeviceid, fklubID, fkchannelid, fkfilterid, Version ), UNIQUE( fkdeviceid, "
                       "fklubID, Version ) )"),
    };
    return statements;
}

bool CatalogueStore::createTables(QString *error)
{
    const QStringList existing = m_db.tables(QSql::AllTables);
    for (int i = 0; i < tableNames().size(); ++i) {
        const QString &name = tableNames().at(i);
        if (existing.contains(name, Qt::CaseSensitive))
            continue;
        QSqlQuery q(m_db);
        if (!q.prepare(createStatements().at(i)) || !q.exec()) {
            if (error)
                *error = QStringLiteral("create Table %1 error:  %2").arg(name, lastError(q));
            return false;
        }
    }
    return true;
}

bool CatalogueStore::merge(const QString &path, QString *error)
{
    auto fail = [error](const QString &what) {
        if (error)
            *error = what;
        return false;
    };
    const QStringList tables = m_db.tables(QSql::Tables);

    {
        // The path is bound, never pasted: a quote in a folder name must not
        // end the SQL text.
        QSqlQuery attach(m_db);
        attach.prepare(QStringLiteral("ATTACH DATABASE ? AS %1").arg(QLatin1String(kAttachedName)));
        attach.addBindValue(path);
        if (!attach.exec())
            return fail(QStringLiteral("Attach Query failed: ") + lastError(attach));
    }

    // One transaction per file: a file either arrives whole or not at all,
    // so no mapping can point at rows that never arrived.
    QString failure;
    if (!m_db.transaction()) {
        failure = QStringLiteral("Combine Query failed: ") + m_db.lastError().text();
    } else {
        for (const QString &table : tables) {
            QSqlQuery insert(m_db);
            if (!insert.exec(QStringLiteral("INSERT INTO %1 SELECT * FROM %2.%1").arg(table, QLatin1String(kAttachedName)))) {
                failure = QStringLiteral("Combine Query failed (%1): %2").arg(table, lastError(insert));
                break;
            }
        }
        if (failure.isEmpty() && !m_db.commit())
            failure = QStringLiteral("Combine Query failed (commit): ") + m_db.lastError().text();
        if (!failure.isEmpty())
            m_db.rollback();
    }

    QSqlQuery detach(m_db);
    if (!detach.exec(QStringLiteral("DETACH %1").arg(QLatin1String(kAttachedName)))) {
        const QString text = QStringLiteral("Dettach Query failed: ") + lastError(detach);
        failure = failure.isEmpty() ? text : failure + QLatin1Char('\n') + text;
    }
    if (!failure.isEmpty())
        return fail(failure);
    return true;
}

bool CatalogueStore::backup(const QSqlDatabase &db, const QString &fileName, bool save)
{
    const QVariant handle = db.driver() ? db.driver()->handle() : QVariant();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        return false;
    sqlite3 *connection = *static_cast<sqlite3 *const *>(handle.data());
    if (!connection)
        return false;

    sqlite3 *file = nullptr;
    const QByteArray name = fileName.toLocal8Bit();
    int rc = sqlite3_open_v2(name.constData(), &file, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (rc == SQLITE_OK) {
        sqlite3 *from = save ? connection : file;
        sqlite3 *to = save ? file : connection;
        if (sqlite3_backup *copy = sqlite3_backup_init(to, "main", from, "main")) {
            sqlite3_backup_step(copy, -1);
            sqlite3_backup_finish(copy);
        }
        rc = sqlite3_errcode(to);
    }
    sqlite3_close(file);
    return rc == SQLITE_OK;
}
