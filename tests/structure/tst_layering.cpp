// Checks the include layering of the source tree: a core includes nothing
// of the network, widget or tool layers above it, and each library reaches
// only the folders it links. The build cannot catch all of this by itself,
// as a header-only include needs no link.
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QRegularExpression>
#include <QtTest>
#include <algorithm>

namespace {

struct Include
{
    QString file;  // source file, relative to the tree
    int line = 0;
    QString name;  // as written between the quotes or brackets
    bool angle = false;
};

QString sourceRoot()
{
    const QByteArray dir = qgetenv("KORVANTIS_SOURCE_DIR");
    return dir.isEmpty() ? QString() : QDir(QString::fromLocal8Bit(dir)).absolutePath();
}

// Project headers by bare file name; one name may live in several folders
// (the loader and the link each have an ethernethandler.h).
QMultiHash<QString, QString> projectHeaders(const QString &root)
{
    QMultiHash<QString, QString> headers;
    QDirIterator it(root, {QStringLiteral("*.h")}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = QDir(root).relativeFilePath(it.next());
        if (path.startsWith(QLatin1String("build")) || path.startsWith(QLatin1String("tests/"))
            || path.startsWith(QLatin1Char('.')))
            continue;
        headers.insert(QFileInfo(path).fileName(), QFileInfo(path).path());
    }
    return headers;
}

QList<Include> includesOf(const QString &root, const QString &folder)
{
    static const QRegularExpression re(QStringLiteral("^\\s*#\\s*include\\s*([<\"])([^>\"]+)[>\"]"));
    QList<Include> out;
    const QDir dir(root + QLatin1Char('/') + folder);
    for (const QFileInfo &info : dir.entryInfoList({QStringLiteral("*.h"), QStringLiteral("*.cpp")}, QDir::Files)) {
        QFile f(info.absoluteFilePath());
        if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
            continue;
        int line = 0;
        while (!f.atEnd()) {
            ++line;
            const auto m = re.match(QString::fromUtf8(f.readLine()));
            if (m.hasMatch())
                out.append({folder + QLatin1Char('/') + info.fileName(), line, m.captured(2),
                            m.captured(1) == QLatin1String("<")});
        }
    }
    return out;
}

// The Qt module a <QFoo> header belongs to, or an empty string for a header
// that is not Qt's.
QString qtModuleOf(const QString &header)
{
    static const QString headers = QLibraryInfo::location(QLibraryInfo::HeadersPath);
    if (!header.startsWith(QLatin1Char('Q')))
        return QString();
    const QString name = header.section(QLatin1Char('/'), -1);
    const QDir dir(headers);
    for (const QString &module : dir.entryList({QStringLiteral("Qt*")}, QDir::Dirs)) {
        if (QFileInfo::exists(headers + QLatin1Char('/') + module + QLatin1Char('/') + name))
            return module;
    }
    return QString();
}

} // namespace

class TestLayering : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void libraryIncludesOnlyWhatItLinks_data();
    void libraryIncludesOnlyWhatItLinks();
    void everyCoreStaysBelowTheLayersAboveIt();

private:
    // Faults of one folder against the project folders and Qt modules it
    // may reach; the Qt header names in `extraQt` are allowed one by one.
    QStringList faults(const QString &folder, const QStringList &folders, const QStringList &qtModules,
                       const QStringList &extraQt) const;

    QString m_root;
    QMultiHash<QString, QString> m_headers;
};

void TestLayering::initTestCase()
{
    m_root = sourceRoot();
    if (m_root.isEmpty())
        QSKIP("KORVANTIS_SOURCE_DIR is not set");
    QVERIFY(QFileInfo::exists(m_root + QStringLiteral("/link/core/ethernetframe.h")));
    m_headers = projectHeaders(m_root);
    QVERIFY(QFileInfo::exists(QLibraryInfo::location(QLibraryInfo::HeadersPath) + QStringLiteral("/QtCore/QObject")));
}

QStringList TestLayering::faults(const QString &folder, const QStringList &folders, const QStringList &qtModules,
                                 const QStringList &extraQt) const
{
    QStringList found;
    for (const Include &inc : includesOf(m_root, folder)) {
        const QString where = QStringLiteral("%1:%2 includes %3").arg(inc.file).arg(inc.line).arg(inc.name);
        if (inc.angle) {
            const QString module = qtModuleOf(inc.name);
            if (!module.isEmpty() && !qtModules.contains(module) && !extraQt.contains(inc.name))
                found << where + QStringLiteral(" (") + module + QLatin1Char(')');
            continue;
        }
        // A library reaches another folder's headers through that library's
        // include path, never by a path into the tree.
        if (inc.name.contains(QLatin1Char('/'))) {
            found << where + QStringLiteral(" (by path)");
            continue;
        }
        if (inc.name.startsWith(QLatin1String("ui_")))
            continue;
        const QStringList homes = m_headers.values(inc.name);
        const bool reachable = std::any_of(homes.begin(), homes.end(), [&](const QString &home) {
            return home == folder || folders.contains(home);
        });
        if (!reachable)
            found << where + QStringLiteral(" (from ") + homes.join(QStringLiteral(", ")) + QLatin1Char(')');
    }
    return found;
}

void TestLayering::libraryIncludesOnlyWhatItLinks_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QStringList>("folders");
    QTest::addColumn<QStringList>("qtModules");

    const QStringList core{QStringLiteral("QtCore")};
    const QStringList network{QStringLiteral("QtCore"), QStringLiteral("QtNetwork")};

    QTest::newRow("link core") << "link/core" << QStringList{} << core;
    QTest::newRow("link support") << "link/support" << QStringList{} << core;
    QTest::newRow("link") << "link" << QStringList{"link/core", "link/support"} << network;
    QTest::newRow("unit simulator") << "tools/unitsim" << QStringList{"link/core"} << network;
    QTest::newRow("loader core") << "loader/core" << QStringList{"link/core"} << core;
    QTest::newRow("loader client") << "loader/client" << QStringList{"loader/core", "link/core", "link/support"}
                                   << network;
    QTest::newRow("bootloader simulator") << "tools/bootsim" << QStringList{"loader/core", "link/core"} << network;
    QTest::newRow("archive tool") << "tools/fwatool" << QStringList{"loader/core", "link/core"} << core;
    QTest::newRow("app core") << "app/core" << QStringList{"link/core"} << core;
    QTest::newRow("log core") << "log/core" << QStringList{"link/core", "app/core"} << core;
    QTest::newRow("log models") << "log/models" << QStringList{"log/core"} << core;
}

void TestLayering::libraryIncludesOnlyWhatItLinks()
{
    QFETCH(QString, folder);
    QFETCH(QStringList, folders);
    QFETCH(QStringList, qtModules);
    // The records carry IPv4 addresses as QHostAddress values; nothing else
    // of the network module belongs below the transport.
    const QStringList found = faults(folder, folders, qtModules, {QStringLiteral("QHostAddress")});
    QVERIFY2(found.isEmpty(), qPrintable(found.join(QLatin1Char('\n'))));
}

// Every folder named core (the ones still to come included) reaches only
// other cores, and no Qt module that draws or talks to a network.
void TestLayering::everyCoreStaysBelowTheLayersAboveIt()
{
    QStringList cores;
    QDirIterator it(m_root, QDir::Dirs | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = QDir(m_root).relativeFilePath(it.next());
        if (QFileInfo(path).fileName() == QLatin1String("core") && !path.startsWith(QLatin1String("build"))
            && !path.startsWith(QLatin1String("tests/")) && !path.startsWith(QLatin1Char('.')))
            cores << path;
    }
    QVERIFY(cores.contains(QStringLiteral("link/core")));
    QStringList found;
    for (const QString &folder : cores)
        found << faults(folder, cores, {QStringLiteral("QtCore"), QStringLiteral("QtSql")},
                        {QStringLiteral("QHostAddress")});
    QVERIFY2(found.isEmpty(), qPrintable(found.join(QLatin1Char('\n'))));
}

QTEST_GUILESS_MAIN(TestLayering)
#include "tst_layering.moc"
