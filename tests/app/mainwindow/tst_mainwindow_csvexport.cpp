// The data page's CSV export onto the targets an engineer meets: a new
// name, an existing file (writable or read-only), a folder that cannot be
// written and a file that cannot be removed. Each row checks the file
// afterwards, the words in the notification bar and that no temporary file
// is left. Permissions only bind an ordinary user: run as root, the export
// itself runs as "nobody".
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QAbstractButton>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QtTest>

#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include "confighandler.h"
#include "databasecont.h"
#include "device.h"
#include "ethernethandler.h"
#include "mainwindow.h"
#include "mainwindowfixture.h"
#include "metatypes.h"
#include "notificationbar.h"
#include "testnet.h"
#include "unitsim.h"
#include "unitsimblocks.h"

namespace {

// An address of its own among the main-window tests' units.
const QHostAddress kUnit(QStringLiteral("127.0.3.34"));

// The user whose permissions the export meets: "nobody" when this test runs
// as root (root passes every permission check), else the user running it.
struct OrdinaryUser
{
    bool known = false;
    uid_t uid = 0;
    gid_t gid = 0;
    bool isRoot = false;   // the test runs as root and drops to this user

    static OrdinaryUser find()
    {
        OrdinaryUser user;
        if (geteuid() != 0) {
            user.known = true;
            user.uid = geteuid();
            user.gid = getegid();
            return user;
        }
        if (const passwd *pw = getpwnam("nobody")) {
            user.known = true;
            user.uid = pw->pw_uid;
            user.gid = pw->pw_gid;
            user.isRoot = true;
        }
        return user;
    }
};

// While it lives, the process acts as `user` (real and effective ids, no
// supplementary groups), when the test runs as root.
class ActAs
{
public:
    explicit ActAs(const OrdinaryUser &user)
        : m_root(user.isRoot)
    {
        if (!m_root)
            return;
        m_groups.resize(getgroups(0, nullptr));
        if (!m_groups.isEmpty())
            getgroups(m_groups.size(), m_groups.data());
        // The real ids change too, as access() checks those; root stays
        // the saved id, to come back to.
        m_ok = setgroups(0, nullptr) == 0 && setresgid(user.gid, user.gid, 0) == 0
            && setresuid(user.uid, user.uid, 0) == 0;
    }
    ~ActAs()
    {
        if (!m_root)
            return;
        if (setresuid(0, 0, 0) != 0 || setresgid(0, 0, 0) != 0
            || setgroups(size_t(m_groups.size()), m_groups.data()) != 0)
            qFatal("cannot return to root");
    }
    bool ok() const { return m_ok; }

private:
    bool m_root = false;
    bool m_ok = true;
    QVector<gid_t> m_groups;
};

QString csvHeader()
{
    return QStringLiteral("\"Time in \u00b5s\";\"Channel 1\"");
}

} // namespace

class TestMainWindowCsvExport : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();

    void exportTargets_data();
    void exportTargets();

private:
    // What the notification bar says, oldest first; it is emptied.
    QStringList takeNotifications();

    std::unique_ptr<UnitSim> unit;
    MainWindow *window = nullptr;
    std::unique_ptr<BoxAnswerer> answerer;
};

void TestMainWindowCsvExport::initTestCase()
{
    KORVANTIS_REQUIRE_TESTNET();
    registerMetaTypes();
    startWindowLink();
    Databasecont::instance().setDbDirectory(testnet::binDir() + QStringLiteral("/Korvantisdbs/"));
    window = new MainWindow;
    window->resize(1200, 900);
    window->show();

    unit = std::make_unique<UnitSim>();
    QString error;
    QVERIFY2(unit->startQuiet(kUnit, &error), qPrintable(error));
    QVector<int16_t> raw;
    for (int i = 0; i < 20; ++i)
        raw << int16_t(i * 3);
    UnitSimBlocks::of(unit.get())->setMeasurement(0, 0, raw);
    unit->setDataControl(0x10);  // an idle unit: the data controls are free
    answerer = std::make_unique<BoxAnswerer>(window, QList<int>{0});
    Device::instance()->confighandler()->setIpAddress(kUnit);
    Device::instance()->ethernetHandler()->setTargetIP(kUnit);
    QTRY_COMPARE(answerer->boxes.size(), 1);
    QTRY_VERIFY(!Device::instance()->ethernetHandler()->isWaiting());

    // Channel 1's raw input on the line graph: the table every row exports.
    window->setcurrentIndexes(MainWindow::PageData);
    window->runDataStep(MeasurementTable::RawInput, 0x01);
    QCOMPARE(part<QStackedWidget>(window, "wdgStack")->currentWidget(), part<QWidget>(window, "wdgGraph"));
    QTRY_VERIFY(part<QAbstractButton>(window, "btnExportDataToCsv")->isEnabled());
    takeNotifications();
}

void TestMainWindowCsvExport::cleanupTestCase()
{
    answerer.reset();
    if (Device::instance()->ethernetHandler())
        Device::instance()->ethernetHandler()->disconnectFromDevice();
    delete window;
    window = nullptr;
    unit.reset();
}

QStringList TestMainWindowCsvExport::takeNotifications()
{
    auto *bar = part<NotificationBar>(window, "notifyBar");
    QStringList said;
    while (bar->entryCount() > 0) {
        said.prepend(bar->currentEntry().text);
        bar->on_btnConfirm_clicked();
    }
    return said;
}

void TestMainWindowCsvExport::exportTargets_data()
{
    QTest::addColumn<int>("folderMode");
    QTest::addColumn<bool>("folderOfRoot");   // and sticky: only its owner's files can go
    QTest::addColumn<int>("fileMode");        // -1: no file of that name yet
    QTest::addColumn<bool>("fileOfRoot");
    QTest::addColumn<bool>("replaced");
    QTest::addColumn<QStringList>("said");

    const QString remove = QStringLiteral("Can't remove existing file.");
    const QString rename = QStringLiteral("Can't rename temporary file.");
    QTest::newRow("new file") << 0755 << false << -1 << false << true << QStringList();
    QTest::newRow("existing file") << 0755 << false << 0644 << false << true << QStringList();
    QTest::newRow("existing read-only file") << 0755 << false << 0444 << false << true << QStringList();
    QTest::newRow("read-only folder") << 0555 << false << -1 << false << false << QStringList{rename};
    QTest::newRow("read-only folder, existing file") << 0555 << false << 0644 << false << false
                                                     << QStringList{rename};
    QTest::newRow("file that cannot be removed") << 01777 << true << 0644 << true << false
                                                 << QStringList{remove, rename};
}

void TestMainWindowCsvExport::exportTargets()
{
    QFETCH(int, folderMode);
    QFETCH(bool, folderOfRoot);
    QFETCH(int, fileMode);
    QFETCH(bool, fileOfRoot);
    QFETCH(bool, replaced);
    QFETCH(QStringList, said);

    const OrdinaryUser user = OrdinaryUser::find();
    if (!user.known)
        QSKIP("no user \"nobody\" to run the export as: root ignores file permissions");
    if ((folderOfRoot || fileOfRoot) && !user.isRoot)
        QSKIP("a file of another user needs the test to run as root");

    QTemporaryDir base;
    QVERIFY(base.isValid());
    QVERIFY(chmod(QFile::encodeName(base.path()).constData(), 0755) == 0);
    const QString folder = base.filePath(QStringLiteral("exports"));
    const QString tmp = base.filePath(QStringLiteral("tmp"));
    QVERIFY(QDir().mkpath(folder) && QDir().mkpath(tmp));
    const QString target = folder + QStringLiteral("/out.csv");
    if (fileMode >= 0) {
        QFile old(target);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("old\n");
        old.close();
        QVERIFY(chown(QFile::encodeName(target).constData(), fileOfRoot ? 0 : user.uid, fileOfRoot ? 0 : user.gid)
                == 0);
        QVERIFY(chmod(QFile::encodeName(target).constData(), mode_t(fileMode)) == 0);
    }
    QVERIFY(chown(QFile::encodeName(tmp).constData(), user.uid, user.gid) == 0);
    QVERIFY(chown(QFile::encodeName(folder).constData(), folderOfRoot ? 0 : user.uid,
                  folderOfRoot ? 0 : user.gid) == 0);
    QVERIFY(chmod(QFile::encodeName(folder).constData(), mode_t(folderMode)) == 0);

    // The PC's temporary folder is one of the test's own, to see what is
    // left in it.
    const QByteArray oldTmp = qgetenv("TMPDIR");
    qputenv("TMPDIR", QFile::encodeName(tmp));
    window->setCsvNameProvider([&](const QString &, const QString &) { return folder + QStringLiteral("/out"); });
    {
        ActAs ordinary(user);
        QVERIFY(ordinary.ok());
        part<QAbstractButton>(window, "btnExportDataToCsv")->click();
    }
    if (oldTmp.isNull())
        qunsetenv("TMPDIR");
    else
        qputenv("TMPDIR", oldTmp);
    chmod(QFile::encodeName(folder).constData(), 0755);

    QCOMPARE(takeNotifications(), said);
    QFile file(target);
    QByteArray text;
    if (file.open(QIODevice::ReadOnly))
        text = file.readAll();
    if (replaced) {
        QVERIFY2(text.startsWith(csvHeader().toUtf8() + ";"), text.constData());
        QCOMPARE(text.count('\n'), 21);   // the header and 20 samples
        QVERIFY(QFileInfo(target).permissions().testFlag(QFileDevice::WriteOther));
    } else {
        QCOMPARE(text, fileMode >= 0 ? QByteArray("old\n") : QByteArray());
        QCOMPARE(QFileInfo::exists(target), fileMode >= 0);
    }
    // Nothing else left behind, in the target's folder or the temporary one.
    const QDir::Filters all = QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot;
    QCOMPARE(QDir(folder).entryList(all), QFileInfo::exists(target) ? QStringList{"out.csv"} : QStringList());
    QCOMPARE(QDir(tmp).entryList(all), QStringList());
}

QTEST_MAIN(TestMainWindowCsvExport)
#include "tst_mainwindow_csvexport.moc"
