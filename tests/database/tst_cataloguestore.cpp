#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QtTest>

#include "cataloguestore.h"
#include "databasefixture.h"

// The catalogue's tables and merging plain catalogue files into them: a
// file arrives whole or not at all.
class TestCatalogueStore : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void createsTheTenTablesOnce();
    void mergesEveryTable();
    void refusedFileLeavesTheCatalogueAsItWas_data();
    void refusedFileLeavesTheCatalogueAsItWas();
    void pathWithQuotesAndBlanks();
    void backupRoundTrip();

private:
    QString plainFile(const QString &name, const QByteArray &bytes);
    // Every row of every table, as text.
    QStringList contents();

    QTemporaryDir m_dir;
    QSqlDatabase m_db;
    int m_round = 0;
};

void TestCatalogueStore::init()
{
    m_db = QSqlDatabase::addDatabase("QSQLITE", QStringLiteral("store%1").arg(++m_round));
    m_db.setDatabaseName(":memory:");
    QVERIFY(m_db.open());
}

void TestCatalogueStore::cleanup()
{
    const QString name = m_db.connectionName();
    m_db.close();
    m_db = QSqlDatabase();
    QSqlDatabase::removeDatabase(name);
}

QString TestCatalogueStore::plainFile(const QString &name, const QByteArray &bytes)
{
    const QString path = m_dir.filePath(name);
    dbfixture::writeFile(path, bytes);
    return path;
}

QStringList TestCatalogueStore::contents()
{
    QStringList rows;
    for (const QString &table : CatalogueStore::tableNames()) {
        QSqlQuery q(m_db);
        q.exec("SELECT * FROM " + table + " ORDER BY 1");
        while (q.next()) {
            QStringList values;
            for (int c = 0; c < q.record().count(); ++c)
                values << q.value(c).toString();
            rows << table + ": " + values.join(", ");
        }
    }
    return rows;
}

void TestCatalogueStore::createsTheTenTablesOnce()
{
    // A table that is already there is kept as it is.
    QSqlQuery q(m_db);
    QVERIFY(q.exec("CREATE TABLE lubEntry( lubID integer primary key, lubTypeName text UNIQUE )"));
    QVERIFY(q.exec("INSERT INTO lubEntry VALUES (7, 'kept')"));
    CatalogueStore store(m_db);
    QString error;
    QVERIFY2(store.createTables(&error), qPrintable(error));
    QVERIFY(store.createTables(&error));
    QStringList tables = m_db.tables(QSql::Tables);
    QCOMPARE(tables.size(), 10);
    for (const QString &name : CatalogueStore::tableNames())
        QVERIFY2(tables.contains(name), qPrintable(name));
    QCOMPARE(contents(), QStringList{"lubEntry: 7, kept"});
}

void TestCatalogueStore::mergesEveryTable()
{
    CatalogueStore store(m_db);
    QVERIFY(store.createTables());
    QString error;
    QVERIFY2(store.merge(plainFile("one.db", dbfixture::plainCatalogue(dbfixture::smallCatalogueSql(1))), &error),
             qPrintable(error));
    QVERIFY2(store.merge(plainFile("two.db", dbfixture::plainCatalogue(dbfixture::smallCatalogueSql(2))), &error),
             qPrintable(error));
    const QStringList rows = contents();
    QCOMPARE(rows.size(), 20);
    QVERIFY(rows.contains("sensors: 1, Sensor 1, 6, 18"));
    QVERIFY(rows.contains("Mapping: 2, 2, 2, 2, 2, 1"));
    // The file is detached again: the catalogue has only its own tables.
    QSqlQuery q(m_db);
    QVERIFY(q.exec("PRAGMA database_list"));
    QStringList databases;
    while (q.next())
        databases << q.value(1).toString();
    QVERIFY2(!databases.contains("db"), qPrintable(databases.join(",")));
}

void TestCatalogueStore::refusedFileLeavesTheCatalogueAsItWas_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("failure");

    // Every table of the second file is new except one sensor row: the
    // file's other rows must not stay behind either.
    QTest::newRow("sensor id clashes") << dbfixture::plainCatalogue(
        dbfixture::smallCatalogueSql(2) + "INSERT INTO sensors VALUES (1, 'Twin', 1.0, 2.0);")
                                       << "sensors";
    QTest::newRow("mapping id clashes, last table") << dbfixture::plainCatalogue(
        dbfixture::smallCatalogueSql(2) + "INSERT INTO Mapping VALUES (1, 2, 2, 2, 2, 7);")
                                                    << "Mapping";
    QTest::newRow("unique name clashes") << dbfixture::plainCatalogue(
        dbfixture::smallCatalogueSql(2) + "INSERT INTO lubEntry VALUES (9, 'Lub 1');")
                                         << "lubEntry";
    QByteArray missingTable = dbfixture::plainCatalogue(dbfixture::smallCatalogueSql(2) + "DROP TABLE channelParam;");
    QTest::newRow("table missing") << missingTable << "channelParam";
    QTest::newRow("other columns") << dbfixture::plainCatalogue(
        "DROP TABLE lubEntry; CREATE TABLE lubEntry( lubID integer, name text, extra text );")
                                   << "lubEntry";
    QTest::newRow("not a database") << QByteArray(4096, 'x') << "";
    QTest::newRow("empty file") << QByteArray() << "";
}

void TestCatalogueStore::refusedFileLeavesTheCatalogueAsItWas()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, failure);
    CatalogueStore store(m_db);
    QVERIFY(store.createTables());
    QVERIFY(store.merge(plainFile("first.db", dbfixture::plainCatalogue(dbfixture::smallCatalogueSql(1)))));
    const QStringList before = contents();

    QString error;
    QVERIFY(!store.merge(plainFile("second.db", bytes), &error));
    QVERIFY2(error.contains(failure), qPrintable(error));
    QCOMPARE(contents(), before);

    // The catalogue stays usable: a good file still merges afterwards.
    QVERIFY2(store.merge(plainFile("third.db", dbfixture::plainCatalogue(dbfixture::smallCatalogueSql(3))), &error),
             qPrintable(error));
    QCOMPARE(contents().size(), before.size() + 10);
}

void TestCatalogueStore::pathWithQuotesAndBlanks()
{
    const QString folder = m_dir.filePath("Service 'Tools' \"x\"; DROP TABLE sensors");
    QVERIFY(QDir().mkpath(folder));
    const QString path = folder + "/it's.db";
    dbfixture::writeFile(path, dbfixture::plainCatalogue(dbfixture::smallCatalogueSql(1)));
    CatalogueStore store(m_db);
    QVERIFY(store.createTables());
    QString error;
    QVERIFY2(store.merge(path, &error), qPrintable(error));
    QCOMPARE(contents().size(), 10);

    QVERIFY(!store.merge(m_dir.filePath("no such folder/x.db"), &error));
    QVERIFY2(error.contains("Attach"), qPrintable(error));
    QCOMPARE(contents().size(), 10);
}

void TestCatalogueStore::backupRoundTrip()
{
    CatalogueStore store(m_db);
    QVERIFY(store.createTables());
    QVERIFY(store.merge(plainFile("one.db", dbfixture::plainCatalogue(dbfixture::smallCatalogueSql(1)))));
    const QStringList rows = contents();
    const QString backup = m_dir.filePath("Backup.db");
    QVERIFY(CatalogueStore::backup(m_db, backup, true));

    cleanup();
    init();
    QVERIFY(contents().isEmpty());
    QVERIFY(CatalogueStore::backup(m_db, backup, false));
    QCOMPARE(contents(), rows);

    QVERIFY(!CatalogueStore::backup(QSqlDatabase(), backup, true));
}

QTEST_GUILESS_MAIN(TestCatalogueStore)
#include "tst_cataloguestore.moc"
