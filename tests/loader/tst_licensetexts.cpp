#include <QtTest>

#include <QAction>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QXmlStreamReader>

#include "licensedialog.h"
#include "licensetexts.h"
#include "mainwindow.h"
#include "testnet.h"

using namespace loader;

// The licence texts: the shared loading (one text alone, several framed,
// unreadable entries skipped), the texts shipped for KorvantisSetup's
// viewer, and the loader's licence window on its own resources.
class TestLicenseTexts : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void singleTextStandsAlone();
    void severalTextsAreFramedInNameOrder();
    void unreadableEntryIsSkipped();
    void missingFolders();
    void shippedTexts();
    void loaderWindow();

private:
    void write(const QString &relative, const QByteArray &bytes);
    QTemporaryDir m_dir;
};

void TestLicenseTexts::initTestCase()
{
    QVERIFY(m_dir.isValid());
    write("one/LICENSE", "only text\nsecond line\n");
    write("two/b.txt", "text b");
    write("two/A.txt", "text a");
    write("broken/readme.txt", "readable");
    QVERIFY(QDir(m_dir.path()).mkpath("broken/subfolder"));
    QVERIFY(QDir(m_dir.path()).mkpath("Empty"));
}

void TestLicenseTexts::write(const QString &relative, const QByteArray &bytes)
{
    const QString path = m_dir.filePath(relative);
    QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

void TestLicenseTexts::singleTextStandsAlone()
{
    QCOMPARE(licensetexts::pieces("one", m_dir.path()), QStringList{"only text\nsecond line\n"});
}

void TestLicenseTexts::severalTextsAreFramedInNameOrder()
{
    // Names sort with case ignored: A.txt before b.txt.
    QCOMPARE(licensetexts::pieces("two", m_dir.path()),
             QStringList({"\n\nStart of A.txt: \n\n", "text a", "\n\nEnd of A.txt\n\n", "\n\nStart of b.txt: \n\n",
                          "text b", "\n\nEnd of b.txt\n\n"}));
    // As one text, each piece is a paragraph of its own.
    QCOMPARE(licensetexts::text("two", m_dir.path()),
             QStringLiteral("\n\nStart of A.txt: \n\n\ntext a\n\n\nEnd of A.txt\n\n\n\n\nStart of b.txt: \n\n\ntext b\n\n\n"
                            "End of b.txt\n\n"));
    QCOMPARE(licensetexts::folders(m_dir.path()), QStringList({"broken", "Empty", "one", "two"}));
}

void TestLicenseTexts::unreadableEntryIsSkipped()
{
    // A folder entry cannot be opened as a text; it is left out, but still
    // counts for the framing of the others.
    QCOMPARE(licensetexts::pieces("broken", m_dir.path()),
             QStringList({"\n\nStart of readme.txt: \n\n", "readable", "\n\nEnd of readme.txt\n\n"}));
}

void TestLicenseTexts::missingFolders()
{
    QVERIFY(licensetexts::pieces("Empty", m_dir.path()).isEmpty());
    QVERIFY(licensetexts::pieces("nothing", m_dir.path()).isEmpty());
    QVERIFY(licensetexts::folders(m_dir.filePath("nothing")).isEmpty());
}

void TestLicenseTexts::shippedTexts()
{
    const QString root = testnet::sourceDir() + QStringLiteral("/licenses");
    if (testnet::sourceDir().isEmpty())
        QSKIP("KORVANTIS_SOURCE_DIR is not set");
    QCOMPARE(QDir(root).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase),
             QStringList({"CMSIS", "mbedtls", "Qt", "sqlite", "XMCLib"}));
    const QList<QPair<QString, QString>> expected = {{"CMSIS", "LICENSE.txt"},
                                                     {"mbedtls", "apache-2.0.txt"},
                                                     {"Qt", "LICENSE"},
                                                     {"sqlite", "license.terms"},
                                                     {"XMCLib", "LICENSE.txt"}};
    for (const auto &e : expected) {
        QCOMPARE(QDir(root + "/" + e.first).entryList(QDir::Files), QStringList{e.second});
        QCOMPARE(licensetexts::pieces(e.first, root).size(), 1);
    }
    QVERIFY(licensetexts::pieces("Qt", root).first().contains("GNU LESSER GENERAL PUBLIC LICENSE"));
    QVERIFY(licensetexts::pieces("mbedtls", root).first().contains("Apache License"));
    QVERIFY(licensetexts::pieces("CMSIS", root).first().contains("Apache License"));
    QVERIFY(licensetexts::pieces("CMSIS", root).first().contains("Version 2.0, January 2004"));
    QVERIFY(licensetexts::pieces("sqlite", root).first().contains("public domain"));
    QVERIFY(licensetexts::pieces("XMCLib", root).first().contains("not included in this build"));

    // The resource file names every text under its folder.
    QFile qrc(root + QStringLiteral("/licenses.qrc"));
    QVERIFY(qrc.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&qrc);
    QStringList aliases;
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == QLatin1String("file")) {
            aliases << xml.attributes().value("alias").toString();
            QVERIFY(QFile::exists(root + "/" + xml.readElementText()));
        }
    }
    QVERIFY(!xml.hasError());
    QStringList files;
    for (const auto &e : expected)
        files << e.first + "/" + e.second;
    QCOMPARE(aliases, files);
}

void TestLicenseTexts::loaderWindow()
{
    char name[] = "KorvantisLoader";
    char *argv[] = {name, nullptr};
    MainWindow window(nullptr, 1, argv);
    LicenseDialog *licence = window.licenseDialog();
    QVERIFY(!licence->isVisible());
    QVERIFY(!licence->parent());
    window.findChild<QAction *>(QStringLiteral("actionLicense"))->trigger();
    QVERIFY(licence->isVisible());
    QCOMPARE(licence->windowTitle(), QStringLiteral("License"));

    // The loader ships Qt's text alone: one tab, no framing lines.
    auto *tabs = licence->findChild<QTabWidget *>(QStringLiteral("tabWdg"));
    QCOMPARE(tabs->count(), 1);
    QCOMPARE(tabs->tabText(0), QStringLiteral("Qt"));
    auto *text = licence->findChild<QTextBrowser *>(QStringLiteral("txtInfo"));
    const QString shown = text->toPlainText();
    QVERIFY(shown.startsWith("Qt 5.15"));
    QVERIFY(shown.contains("GNU LESSER GENERAL PUBLIC LICENSE"));
    QVERIFY(shown.contains("<https://www.gnu.org/licenses/>"));  // plain text, not read as markup
    QVERIFY(!shown.contains("Start of"));
    QCOMPARE(text->textCursor().position(), 0);
    QFile source(QStringLiteral(":/licenses/Qt/LICENSE"));
    QVERIFY(source.open(QIODevice::ReadOnly | QIODevice::Text));
    const QString file = QString::fromUtf8(source.readAll());
    QVERIFY(shown == file);  // the whole text, unchanged

    licence->findChild<QPushButton *>(QStringLiteral("btnClose"))->click();
    QVERIFY(!licence->isVisible());
    window.findChild<QAction *>(QStringLiteral("actionLicense"))->trigger();
    QVERIFY(licence->isVisible());
    QCOMPARE(window.licenseDialog(), licence);  // the same window again
}

QTEST_MAIN(TestLicenseTexts)
#include "tst_licensetexts.moc"
