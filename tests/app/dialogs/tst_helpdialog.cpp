// The help viewer on the manual built with the program: engine setup, the
// start page by its identifier, index filter, full-text search, which links
// the browser fetches from the collection, and a missing collection.
#include <QDir>
#include <QFile>
#include <QHelpContentWidget>
#include <QHelpEngine>
#include <QHelpIndexWidget>
#include <QHelpSearchEngine>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>

#include "helpbrowser.h"
#include "helpdialog.h"
#include "testnet.h"

namespace {

const QString kNamespace = QStringLiteral("qthelp://com.tormaveldt.korvantis.sst/doc/");

} // namespace

class TestHelpDialog : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void opensOnIndexWithStartPage();
    void assistantOpensOnStartPage();
    void indexFilter();
    void searchFindsManualWords();
    void browserFetchesOnlyHelpLinks();
    void missingCollection();
    void damagedCollection();

private:
    // A private copy of the built collection: the search index is written
    // beside the collection it belongs to.
    QString m_collection;
    QTemporaryDir m_dir;
};

void TestHelpDialog::initTestCase()
{
    const QString built = testnet::binDir() + QStringLiteral("/help");
    QVERIFY2(QFile::exists(built + QStringLiteral("/doc.qhc")), "the help collection is not built");
    QVERIFY(m_dir.isValid());
    QDir().mkpath(m_dir.filePath(QStringLiteral("help")));
    for (const QString &name : {QStringLiteral("doc.qhc"), QStringLiteral("korvantis.qch")})
        QVERIFY(QFile::copy(built + QLatin1Char('/') + name, m_dir.filePath(QStringLiteral("help/") + name)));
    m_collection = m_dir.filePath(QStringLiteral("help/doc.qhc"));
}

void TestHelpDialog::opensOnIndexWithStartPage()
{
    HelpDialog dialog(nullptr, m_collection);
    QVERIFY(dialog.isSetUp());
    auto *tabs = dialog.findChild<QTabWidget *>(QStringLiteral("tabWidget"));
    QCOMPARE(tabs->currentIndex(), 1);
    QCOMPARE(tabs->tabText(1), QStringLiteral("Index"));
    // The engine's widgets sit in their tabs, the browser beside them.
    QVERIFY(tabs->widget(0)->findChild<QHelpContentWidget *>());
    QVERIFY(tabs->widget(1)->findChild<QHelpIndexWidget *>());
    QCOMPARE(dialog.browser()->parentWidget()->objectName(), QStringLiteral("wdgHelp"));

    QCOMPARE(dialog.browser()->source(), QUrl(kNamespace + QStringLiteral("index.html")));
    QVERIFY(dialog.browser()->toPlainText().contains(QStringLiteral("Korvantis Service Setup Tool")));
    QCOMPARE(dialog.helpEngine()->registeredDocumentations(),
             QStringList{QStringLiteral("com.tormaveldt.korvantis.sst")});

    // A link from the contents or the index shows that page.
    dialog.loadLink(QUrl(kNamespace + QStringLiteral("troubleshooting.html")));
    QVERIFY(dialog.browser()->toPlainText().contains(QStringLiteral("already waiting for response")));
    // Every contents entry leads to a page that exists.
    QHelpContentModel *contents = dialog.helpEngine()->contentModel();
    QTRY_VERIFY(contents->rowCount() > 0);
    const QModelIndex root = contents->index(0, 0);
    QVERIFY(contents->rowCount(root) >= 9);
    // ...and every link and picture of a page resolves inside the collection.
    static const QRegularExpression reference(QStringLiteral("(?:href|src)=\"([^\"#:]+)\""));
    int references = 0;
    for (int r = 0; r < contents->rowCount(root); ++r) {
        const QUrl url = contents->contentItemAt(contents->index(r, 0, root))->url();
        const QByteArray page = dialog.helpEngine()->fileData(url);
        QVERIFY2(!page.isEmpty(), qPrintable(url.toString()));
        auto it = reference.globalMatch(QString::fromUtf8(page));
        while (it.hasNext()) {
            const QUrl target = url.resolved(QUrl(it.next().captured(1)));
            QVERIFY2(!dialog.helpEngine()->fileData(target).isEmpty(), qPrintable(target.toString()));
            ++references;
        }
    }
    QVERIFY(references > 0);

    QTimer::singleShot(0, &dialog, &HelpDialog::on_pushButton_clicked);
    QCOMPARE(dialog.exec(), 0);
}

void TestHelpDialog::assistantOpensOnStartPage()
{
    // Qt Assistant, given the collection, shows its first page and takes its
    // home button from these settings; without them it opens on an empty
    // "(Untitled)" page.
    QHelpEngineCore engine(m_collection);
    QVERIFY(engine.setupData());
    const QString start = kNamespace + QStringLiteral("index.html");
    QCOMPARE(engine.customValue(QStringLiteral("LastShownPages")).toString(), start);
    QCOMPARE(engine.customValue(QStringLiteral("defaultHomepage")).toString(), start);
    QVERIFY(!engine.fileData(QUrl(start)).isEmpty());
}

void TestHelpDialog::indexFilter()
{
    HelpDialog dialog(nullptr, m_collection);
    QHelpIndexModel *index = dialog.helpEngine()->indexModel();
    QTRY_VERIFY(index->rowCount() > 10);
    auto keywords = [index] {
        QStringList out;
        for (int r = 0; r < index->rowCount(); ++r)
            out << index->data(index->index(r, 0), Qt::DisplayRole).toString();
        return out;
    };
    auto *filter = dialog.findChild<QLineEdit *>(QStringLiteral("leditFilterIndex"));
    filter->setText(QStringLiteral("Reset"));
    QCOMPARE(keywords(), (QStringList{"Reset Default Config", "Reset Network Settings"}));
    // With '*' the text is a wildcard pattern.
    filter->setText(QStringLiteral("*Config"));
    QVERIFY(keywords().contains(QStringLiteral("Export Config")));
    QVERIFY(keywords().contains(QStringLiteral("Reset Default Config")));
    QVERIFY(!keywords().contains(QStringLiteral("Reset Network Settings")));
}

void TestHelpDialog::searchFindsManualWords()
{
    HelpDialog dialog(nullptr, m_collection);
    QHelpSearchEngine *search = dialog.helpEngine()->searchEngine();
    // The dialog started indexing; its end arrives through the event loop.
    QSignalSpy indexed(search, &QHelpSearchEngine::indexingFinished);
    QVERIFY(indexed.wait(10000));

    QSignalSpy finished(search, &QHelpSearchEngine::searchingFinished);
    search->search(QStringLiteral("3e9"));
    QVERIFY(finished.wait(10000));
    QVERIFY(finished.last().at(0).toInt() >= 1);
    QStringList pages;
    for (const QHelpSearchResult &hit : search->searchResults(0, search->searchResultCount()))
        pages << hit.url().fileName();
    QVERIFY2(pages.contains(QStringLiteral("connecting.html")), qPrintable(pages.join(',')));

    search->search(QStringLiteral("xylophonequartz"));
    QVERIFY(finished.wait(10000));
    QCOMPARE(search->searchResultCount(), 0);
}

void TestHelpDialog::browserFetchesOnlyHelpLinks()
{
    HelpDialog dialog(nullptr, m_collection);
    HelpBrowser *browser = dialog.browser();
    const QByteArray page = browser->loadResource(QTextDocument::HtmlResource,
                                                  QUrl(kNamespace + QStringLiteral("firmware.html"))).toByteArray();
    QVERIFY(page.contains("Load firmware fwa"));
    QVERIFY(browser->loadResource(QTextDocument::StyleSheetResource, QUrl(kNamespace + QStringLiteral("style.css")))
                .toByteArray()
                .contains("font-family"));
    // The pictures of the pages come from the collection too.
    const QByteArray picture =
        browser->loadResource(QTextDocument::ImageResource, QUrl(kNamespace + QStringLiteral("images/connect.png")))
            .toByteArray();
    QVERIFY(picture.startsWith("\x89PNG"));

    // Another scheme is the text browser's own: a local file is read as a
    // file, never looked up in the collection.
    QTemporaryDir dir;
    QFile local(dir.filePath(QStringLiteral("firmware.html")));
    QVERIFY(local.open(QIODevice::WriteOnly));
    local.write("<p>local page</p>");
    local.close();
    const QVariant file = browser->loadResource(QTextDocument::HtmlResource, QUrl::fromLocalFile(local.fileName()));
    QCOMPARE(file.toByteArray(), QByteArray("<p>local page</p>"));
    // A web page is not fetched at all.
    QVERIFY(browser->loadResource(QTextDocument::HtmlResource, QUrl(QStringLiteral("https://example.com/firmware.html")))
                .toByteArray()
                .isEmpty());
}

void TestHelpDialog::missingCollection()
{
    QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("help/doc.qhc"));
    HelpDialog dialog(nullptr, missing);
    QVERIFY(!dialog.isSetUp());
    auto *tabs = dialog.findChild<QTabWidget *>(QStringLiteral("tabWidget"));
    QCOMPARE(tabs->currentIndex(), 1);
    QVERIFY(!tabs->findChild<QHelpContentWidget *>());
    QVERIFY(!tabs->findChild<QHelpIndexWidget *>());
    QVERIFY(dialog.browser()->toPlainText().isEmpty());
    // Filtering and closing still work; nothing was created at that place.
    dialog.findChild<QLineEdit *>(QStringLiteral("leditFilterIndex"))->setText(QStringLiteral("a*"));
    dialog.searchstarted();
    QVERIFY(!QFile::exists(missing));
    QTimer::singleShot(0, &dialog, &HelpDialog::on_pushButton_clicked);
    QCOMPARE(dialog.exec(), 0);
}

// A file that is no help collection: empty tabs, and the file is left as it
// was.
void TestHelpDialog::damagedCollection()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("doc.qhc"));
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    const QByteArray garbage("this is not a help collection\n", 30);
    f.write(garbage);
    f.close();
    {
        HelpDialog dialog(nullptr, path);
        QVERIFY(!dialog.isSetUp());
        QVERIFY(dialog.browser()->toPlainText().isEmpty());
    }
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), garbage);
}

QTEST_MAIN(TestHelpDialog)
#include "tst_helpdialog.moc"
