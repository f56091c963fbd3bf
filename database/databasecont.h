#pragma once

#include <QObject>
#include <QSqlDatabase>
#include <QString>

#include <functional>

// The one SQL database of KorvantisSetup: an in-memory SQLite catalogue of
// sensors and mappings, built at start-up from the signed, encrypted
// catalogue files "*.dbenc" in "./Korvantisdbs/" and read-only afterwards.
// init() announces the end of loading with initcomplete(), on which the
// selection pages build their models. GUI thread only.
class Databasecont : public QObject
{
    Q_OBJECT

public:
    // The process's container (default SQL connection), created on first use.
    static Databasecont &instance();

    // A container of its own on the named SQL connection (the default one
    // when empty); the process uses instance().
    explicit Databasecont(const QString &connectionName = QString(), QObject *parent = nullptr);
    ~Databasecont() override;

    // Opens the database, creates the tables, loads the catalogue files and
    // emits initcomplete() (not when the database cannot be opened).
    void init();
    QSqlDatabase *database() { return &db; }

    // True when every table exists and the catalogue files were loaded.
    bool createTables();
    // True when at least one file was found and every file was merged;
    // loading stops at the first file that fails.
    bool loadDatabases();
    // Merges the plain SQLite file at path. Returns TRUE ON FAILURE: the
    // catalogue decoder relies on that inverted sense.
    bool combineDatabase(const QString &path);

    QString getSensorName(int sensorid);
    QString getFilterName(int mappingid);
    QString getMappingText(int mappingid);
    static bool backupDatabase(QSqlDatabase db, const QString &fileName, bool save);

    QString dbDirectory() const { return dbDir; }
    void setDbDirectory(const QString &dir) { dbDir = dir; }
    QString backupFileName() const { return backupFile; }

    // Where the load errors go; by default each is a message box of its
    // own with a single "OK" button and the error icon.
    using MessageSink = std::function<void(const QString &title, const QString &text)>;
    void setMessageSink(MessageSink sink) { messageSink = std::move(sink); }

signals:
    void initcomplete();

private:
    void showError(const QString &title, const QString &text);

    QString connectionName;
    QSqlDatabase db;
    QString dbDir = QStringLiteral("./Korvantisdbs/");
    QString backupFile;
    MessageSink messageSink;
};
