#include "databasecont.h"

#include <QDebug>
#include <QDir>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>

#include "cataloguestore.h"
#include "custommessagebox.h"
#include "dbencdecoder.h"

Databasecont &Databasecont::instance()
{
    // Qt's registry of SQL connections is itself a static made on first use;
    // made before the container, it is destroyed after it, so the
    // container's destructor can still remove its connection at exit.
    static const bool registryFirst = QSqlDatabase::contains(QString()) || true;
    Q_UNUSED(registryFirst)
    static Databasecont container;
    return container;
}

Databasecont::Databasecont(const QString &name, QObject *parent)
    : QObject(parent)
    , connectionName(name.isEmpty() ? QString::fromLatin1(QSqlDatabase::defaultConnection) : name)
{
    backupFile = dbDir + QStringLiteral("Backup.db");
}

Databasecont::~Databasecont()
{
    if (db.isValid()) {
        db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(connectionName);
    }
}

void Databasecont::showError(const QString &title, const QString &text)
{
    if (messageSink) {
        messageSink(title, text);
        return;
    }
    CustomMessageBox box;
    box.exec({tr("OK")}, title, text, 3);
}

void Databasecont::init()
{
    db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connectionName);
    db.setDatabaseName(QStringLiteral(":memory:"));
    if (!db.open()) {
        showError(tr("Database Error"), tr("Failed to open database"));
        qDebug() << "Error: connection with database fail";
        return;
    }
    qDebug() << "Database: connection ok";
    if (!createTables())
        showError(tr("Database create Error"), tr("Failed to create database"));
    emit initcomplete();
}

bool Databasecont::createTables()
{
    QString error;
    if (!CatalogueStore(db).createTables(&error)) {
        qDebug().noquote() << error;
        return false;
    }
    return loadDatabases();
}

bool Databasecont::loadDatabases()
{
    const QFileInfoList entries =
        QDir(dbDir).entryInfoList({QStringLiteral("*.dbenc")}, QDir::Files, QDir::Name | QDir::IgnoreCase);
    if (entries.isEmpty()) {
        showError(tr("Database not present"), tr("Failed to find databases "));
        return false;
    }
    for (const QFileInfo &entry : entries) {
        DbencDecoder decoder([this](const QString &plainFile) { return combineDatabase(plainFile); });
        const int result = decoder.decryptAndVerify(entry.absoluteFilePath());
        if (result != 0) {
            qDebug().noquote() << "database file" << entry.fileName() << "refused with" << result;
            showError(tr("Database verify Error"), tr("Failed to verify database ") + entry.fileName());
            return false;
        }
    }
    return true;
}

bool Databasecont::combineDatabase(const QString &path)
{
    QString error;
    if (CatalogueStore(db).merge(path, &error))
        return false;
    qDebug().noquote() << error;
    showError(tr("Database Error"), tr("Failed to attach database ") + path);
    return true;
}

QString Databasecont::getSensorName(int sensorid)
{
    if (sensorid < 0)
        return tr("invalid default sensor used");
    if (sensorid == 0)
        return tr("custom sensor used");
    QSqlQuery q(db);
    q.prepare(QStringLiteral("SELECT sensorName FROM sensors WHERE ( sensorid = :ID )"));
    q.bindValue(QStringLiteral(":ID"), sensorid);
    if (!q.exec() || !q.next())
        return tr("unknown sensor used");
    const QString name = q.value(0).toString();
    return name.isEmpty() ? tr("unknown sensor used") : name;
}

QString Databasecont::getFilterName(int mappingid)
{
    if (mappingid < 1)
        return tr("custom Filter used");
    QSqlQuery q(db);
    q.prepare(QStringLiteral("SELECT filterEntry.filterName FROM Mapping INNER JOIN filterEntry ON "
                             "filterEntry.filterid = Mapping.fkfilterid WHERE ( mappingid = :ID )"));
    q.bindValue(QStringLiteral(":ID"), mappingid);
    if (!q.exec())
        return tr("unknown Filter used");
    return q.next() ? q.value(0).toString() : QString();
}

QString Databasecont::getMappingText(int mappingid)
{
    if (mappingid < 0)
        return tr("invalid default Mapping used");
    if (mappingid == 0)
        return tr("custom Mapping used");
    QSqlQuery q(db);
    q.prepare(QStringLiteral(
        "SELECT prodFamilyEntry.prodFamilyName, prodTypeEntry.prodTypeName, prodSubTypeEntry.prodSubTypeName, "
        "prodSizeEntry.prodSize, lubEntry.lubTypeName, Mapping.Version FROM Mapping INNER JOIN DeviceEntry ON "
        "DeviceEntry.deviceid = Mapping.fkdeviceid INNER JOIN prodFamilyEntry ON prodFamilyEntry.prodFamilyid = "
        "DeviceEntry.fkprodFamilyid INNER JOIN prodTypeEntry ON prodTypeEntry.prodTypeid = "
        "DeviceEntry.fkprodTypeid INNER JOIN prodSubTypeEntry ON prodSubTypeEntry.prodSubTypeid = "
        "DeviceEntry.fkprodSubTypeid INNER JOIN prodSizeEntry ON prodSizeEntry.prodSizeid = "
        "DeviceEntry.fkprodSizeid INNER JOIN lubEntry ON lubEntry.lubID = Mapping.fklubID WHERE ( mappingid = :ID )"));
    q.bindValue(QStringLiteral(":ID"), mappingid);
    if (!q.exec())
        return tr("unknown Mapping used");
    QStringList parts;
    if (q.next()) {
        for (int i = 0; i < 6; ++i) {
            const QString part = q.value(i).toString();
            if (!part.isEmpty())
                parts << part;
        }
    }
    return parts.join(QLatin1Char(' '));
}

bool Databasecont::backupDatabase(QSqlDatabase db, const QString &fileName, bool save)
{
    return CatalogueStore::backup(db, fileName, save);
}
