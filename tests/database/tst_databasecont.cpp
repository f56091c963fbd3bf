#include <QSignalSpy>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

#include "databasecont.h"
#include "databasefixture.h"
#include "testnet.h"

// Loading the catalogue folder at start-up: order, stop at the first bad
// file, what the user is told, and the lookups by id.
class TestDatabasecont : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void mergesInNameOrderAndStopsAtTheFirstFailure();
    void duplicateIdsFailTheLaterFileWhole();
    void missingOrEmptyFolder_data();
    void missingOrEmptyFolder();
    void lookups_data();
    void lookups();
    void shippedCatalogueLoads();
    void processContainer();

private:
    struct Run
    {
        QStringList messages;   // "title | text"
        QStringList loaded;     // catalogue files in the order they were read
        int initcomplete = 0;
        QStringList sensors;
    };
    Run load(const QString &folder);

    QTemporaryDir m_dir;
    QByteArray m_fileA;
    QByteArray m_fileB;
    QByteArray m_fileC;
    int m_round = 0;
};

namespace {
QStringList *g_debugLines = nullptr;
QtMessageHandler g_previous = nullptr;

void captureDebug(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (g_debugLines)
        g_debugLines->append(message);
    g_previous(type, context, message);
}
} // namespace

void TestDatabasecont::initTestCase()
{
    m_fileA = dbfixture::packed(dbfixture::plainCatalogue(dbfixture::smallCatalogueSql(1)));
    m_fileB = dbfixture::packed(dbfixture::plainCatalogue(dbfixture::smallCatalogueSql(2)));
    m_fileC = dbfixture::packed(dbfixture::plainCatalogue(dbfixture::smallCatalogueSql(3)));
    g_previous = qInstallMessageHandler(captureDebug);
}

TestDatabasecont::Run TestDatabasecont::load(const QString &folder)
{
    Run run;
    QStringList debugLines;
    {
        Databasecont container(QStringLiteral("container%1").arg(++m_round));
        container.setDbDirectory(folder + "/");
        container.setMessageSink([&](const QString &title, const QString &text) { run.messages << title + " | " + text; });
        connect(&container, &Databasecont::initcomplete, this, [&] { ++run.initcomplete; });
        g_debugLines = &debugLines;
        container.init();
        g_debugLines = nullptr;
        QSqlQuery q(*container.database());
        q.exec("SELECT sensorName FROM sensors ORDER BY sensorid");
        while (q.next())
            run.sensors << q.value(0).toString();
    }
    for (const QString &line : debugLines)
        if (line.endsWith(".dbenc"))
            run.loaded << QFileInfo(line).fileName();
    return run;
}

void TestDatabasecont::mergesInNameOrderAndStopsAtTheFirstFailure()
{
    const QString folder = m_dir.filePath("order");
    QDir().mkpath(folder);
    dbfixture::writeFile(folder + "/b_second.dbenc", m_fileB);
    dbfixture::writeFile(folder + "/A_first.dbenc", m_fileA);
    dbfixture::writeFile(folder + "/c_third.dbenc", m_fileC);
    dbfixture::writeFile(folder + "/notes.txt", "not a catalogue");

    Run run = load(folder);
    QCOMPARE(run.loaded, (QStringList{"A_first.dbenc", "b_second.dbenc", "c_third.dbenc"}));
    QCOMPARE(run.messages, QStringList());
    QCOMPARE(run.sensors, (QStringList{"Sensor 1", "Sensor 2", "Sensor 3"}));
    QCOMPARE(run.initcomplete, 1);

    // A damaged middle file: A stays merged, c is never read.
    QByteArray damaged = m_fileB;
    damaged[400] = char(damaged.at(400) ^ 1);
    dbfixture::writeFile(folder + "/b_second.dbenc", damaged);
    run = load(folder);
    QCOMPARE(run.loaded, (QStringList{"A_first.dbenc", "b_second.dbenc"}));
    QCOMPARE(run.sensors, QStringList{"Sensor 1"});
    QCOMPARE(run.messages, (QStringList{"Database verify Error | Failed to verify database b_second.dbenc",
                                        "Database create Error | Failed to create database"}));
    QCOMPARE(run.initcomplete, 1);
    QCOMPARE(dbfixture::folderEntries(folder),
             (QStringList{"A_first.dbenc", "b_second.dbenc", "c_third.dbenc", "notes.txt"}));
}

void TestDatabasecont::duplicateIdsFailTheLaterFileWhole()
{
    const QString folder = m_dir.filePath("duplicates");
    QDir().mkpath(folder);
    dbfixture::writeFile(folder + "/1.dbenc", m_fileA);
    // New rows in every table but one sensor id that the first file has.
    dbfixture::writeFile(folder + "/2.dbenc",
                         dbfixture::packed(dbfixture::plainCatalogue(
                             dbfixture::smallCatalogueSql(2) + "INSERT INTO sensors VALUES (1, 'Twin', 5.0, 9.0);")));
    dbfixture::writeFile(folder + "/3.dbenc", m_fileC);
    const Run run = load(folder);
    QCOMPARE(run.loaded, (QStringList{"1.dbenc", "2.dbenc"}));
    QCOMPARE(run.sensors, QStringList{"Sensor 1"});
    QCOMPARE(run.messages.size(), 3);
    QVERIFY2(run.messages.at(0).startsWith("Database Error | Failed to attach database " + folder + "/2.dbenc"),
             qPrintable(run.messages.at(0)));
    QCOMPARE(run.messages.at(1), QString("Database verify Error | Failed to verify database 2.dbenc"));
    QCOMPARE(run.messages.at(2), QString("Database create Error | Failed to create database"));
    QCOMPARE(dbfixture::folderEntries(folder), (QStringList{"1.dbenc", "2.dbenc", "3.dbenc"}));
}

void TestDatabasecont::missingOrEmptyFolder_data()
{
    QTest::addColumn<bool>("create");
    QTest::newRow("missing") << false;
    QTest::newRow("empty") << true;
}

void TestDatabasecont::missingOrEmptyFolder()
{
    QFETCH(bool, create);
    const QString folder = m_dir.filePath(QStringLiteral("none-%1").arg(create));
    if (create)
        QDir().mkpath(folder);
    const Run run = load(folder);
    QCOMPARE(run.messages, (QStringList{"Database not present | Failed to find databases ",
                                        "Database create Error | Failed to create database"}));
    QCOMPARE(run.initcomplete, 1);
    QVERIFY(run.sensors.isEmpty());
}

void TestDatabasecont::lookups_data()
{
    QTest::addColumn<int>("id");
    QTest::addColumn<QString>("sensor");
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("mapping");
    QTest::newRow("-1") << -1 << "invalid default sensor used" << "custom Filter used" << "invalid default Mapping used";
    QTest::newRow("-7") << -7 << "invalid default sensor used" << "custom Filter used" << "invalid default Mapping used";
    QTest::newRow("0") << 0 << "custom sensor used" << "custom Filter used" << "custom Mapping used";
    QTest::newRow("1") << 1 << "KVS-100 IEPE 100 mV/g" << "BP 2 kHz - 20 kHz" << "Linear Guide Flange Carriage Standard 15 Grease 1";
    QTest::newRow("108") << 108 << "unknown sensor used" << "BP 2 kHz - 20 kHz" << "Linear Guide Flange Carriage Standard 25 Oil-Air 1";
    QTest::newRow("unknown") << 999 << "unknown sensor used" << "" << "";
}

void TestDatabasecont::lookups()
{
    QFETCH(int, id);
    QFETCH(QString, sensor);
    QFETCH(QString, filter);
    QFETCH(QString, mapping);
    static Databasecont *container = [] {
        auto *c = new Databasecont(QStringLiteral("lookups"));
        c->setDbDirectory(testnet::binDir() + "/Korvantisdbs/");
        c->setMessageSink([](const QString &title, const QString &text) { qWarning() << title << text; });
        c->init();
        return c;
    }();
    QCOMPARE(container->getSensorName(id), sensor);
    QCOMPARE(container->getFilterName(id), filter);
    QCOMPARE(container->getMappingText(id), mapping);
}

void TestDatabasecont::shippedCatalogueLoads()
{
    // A copy of its own: other tests load the shipped folder at the same
    // time, and their temporary files would show up in it.
    const QStringList shipped{"KorvantisCatalogue1.dbenc", "KorvantisCatalogue2.dbenc"};
    const QString folder = m_dir.filePath("shipped");
    QVERIFY(QDir().mkpath(folder));
    for (const QString &name : shipped)
        QVERIFY(QFile::copy(testnet::binDir() + "/Korvantisdbs/" + name, folder + "/" + name));
    const Run run = load(folder);
    QCOMPARE(run.messages, QStringList());
    QCOMPARE(run.loaded, shipped);
    // Both parts arrived.
    QVERIFY(run.sensors.contains("KVS-100 IEPE 100 mV/g"));
    QVERIFY(run.sensors.contains("KVS-50 IEPE 50 mV/g"));
    QCOMPARE(dbfixture::folderEntries(folder), shipped);
}

void TestDatabasecont::processContainer()
{
    Databasecont &container = Databasecont::instance();
    QCOMPARE(&container, &Databasecont::instance());
    QCOMPARE(container.dbDirectory(), QString("./Korvantisdbs/"));
    QCOMPARE(container.backupFileName(), QString("./Korvantisdbs/Backup.db"));
    // Run in a folder with the shipped catalogue as "./Korvantisdbs/".
    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(testnet::binDir()));
    QStringList messages;
    container.setMessageSink([&](const QString &title, const QString &text) { messages << title + " " + text; });
    QSignalSpy complete(&container, &Databasecont::initcomplete);
    container.init();
    QDir::setCurrent(previous);
    QCOMPARE(complete.count(), 1);
    QCOMPARE(messages, QStringList());
    QCOMPARE(container.database()->connectionName(), QString(QSqlDatabase::defaultConnection));
    QCOMPARE(container.getSensorName(4), QString("KVS-50 IEPE 50 mV/g"));
}

QTEST_MAIN(TestDatabasecont)
#include "tst_databasecont.moc"
