#include "scalingdialog.h"
#include "translation.h"
#include "translationdialog.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTranslator>
#include <QXmlStreamReader>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

namespace {

// Counts the language changes a screen receives.
class Screen : public BaseWidget
{
public:
    void translateUiSlot(QWidget *) override { ++retexts; }
    int retexts = 0;
};

QString exitText(ScalingDialog &dialog)
{
    return dialog.findChild<QPushButton *>(QStringLiteral("btnExit"))->text();
}

void deliverLanguageChange()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
    QCoreApplication::processEvents();
}

// One translated text of the German catalogue: SST_de.ts plus one file per
// subsystem in de/.
struct CatalogueText
{
    QString file;
    QString context;
    QString source;
    QString translation;
};

QList<CatalogueText> germanCatalogue(QString *error)
{
    const QString dir = qEnvironmentVariable("KORVANTIS_SOURCE_DIR") + QStringLiteral("/translations");
    QStringList files{dir + QStringLiteral("/SST_de.ts")};
    for (const QString &name : QDir(dir + QStringLiteral("/de")).entryList({QStringLiteral("*.ts")}, QDir::Files))
        files << dir + QStringLiteral("/de/") + name;
    QList<CatalogueText> texts;
    for (const QString &file : files) {
        QFile ts(file);
        if (!ts.open(QIODevice::ReadOnly)) {
            *error = file + QStringLiteral(": ") + ts.errorString();
            return {};
        }
        QXmlStreamReader xml(&ts);
        CatalogueText text;
        text.file = file.section(QLatin1Char('/'), -1);
        while (!xml.atEnd()) {
            if (xml.readNext() != QXmlStreamReader::StartElement)
                continue;
            if (xml.name() == QLatin1String("name")) {
                text.context = xml.readElementText();
            } else if (xml.name() == QLatin1String("source")) {
                text.source = xml.readElementText();
            } else if (xml.name() == QLatin1String("translation")) {
                text.translation = xml.readElementText();
                texts << text;
            }
        }
        if (xml.hasError()) {
            *error = file + QStringLiteral(": ") + xml.errorString();
            return {};
        }
    }
    return texts;
}

} // namespace

class TestTranslation : public QObject
{
    Q_OBJECT

private slots:
    void names_data();
    void names();
    void installedLanguages();
    void germanCatalogueTranslatesEveryText();
    void germanTermsAreOneWord_data();
    void germanTermsAreOneWord();
    void oneEnglishTextOneGermanText();
    void switchRetextsAndChangesNumberLocale();
    void languageWithoutFileKeepsEnglishButSetsLocale();
    void switchToCurrentLanguageDoesNothing();
    void dialogListsLanguagesAndSwitchesOnClick();
    void dialogClickWorksWithoutCurrentRow();
};

void TestTranslation::names_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("base");
    QTest::addColumn<QString>("fromQm");
    QTest::newRow("de_DE") << "de_DE" << "de" << "";
    QTest::newRow("de_AT") << "de_AT" << "de" << "";
    QTest::newRow("C") << "C" << "" << "";
    QTest::newRow("sr_Latn_RS") << "sr_Latn_RS" << "sr_Latn" << "";
    QTest::newRow("SST_de.qm") << "SST_de.qm" << "SST" << "de";
    QTest::newRow("qt_de.qm") << "qt_de.qm" << "qt" << "de";
    QTest::newRow("SST_pt_BR.qm") << "SST_pt_BR.qm" << "SST_pt" << "pt_BR";
    QTest::newRow("no dot") << "SST_de" << "SST" << "";
    QTest::newRow("empty") << "" << "" << "";
}

void TestTranslation::names()
{
    QFETCH(QString, input);
    QFETCH(QString, base);
    QFETCH(QString, fromQm);
    QCOMPARE(languageBase(input), base);
    QCOMPARE(languageFromQmFile(input), fromQm);
}

void TestTranslation::installedLanguages()
{
    const QStringList files = availableLanguages();
    QVERIFY2(files.contains(QStringLiteral("SST_de.qm")), qPrintable(translationsDir()));
    QVERIFY(files.contains(QStringLiteral("SST_en.qm")));
    for (const QString &f : files)
        QVERIFY(f.startsWith(QStringLiteral("SST_")) && f.endsWith(QStringLiteral(".qm")));
}

void TestTranslation::germanCatalogueTranslatesEveryText()
{
    // Every text of the German source catalogue reaches the built file with
    // a translation (lrelease drops unfinished and empty ones).
    // The catalogue is SST_de.ts plus one file per subsystem in de/.
    const QString dir = qEnvironmentVariable("KORVANTIS_SOURCE_DIR") + QStringLiteral("/translations");
    QStringList files{dir + QStringLiteral("/SST_de.ts")};
    for (const QString &name : QDir(dir + QStringLiteral("/de")).entryList({QStringLiteral("*.ts")}, QDir::Files))
        files << dir + QStringLiteral("/de/") + name;
    QTranslator german;
    QVERIFY(german.load(QStringLiteral("SST_de.qm"), translationsDir()));

    int checked = 0;
    for (const QString &file : files) {
    QFile ts(file);
    QVERIFY2(ts.open(QIODevice::ReadOnly), qPrintable(ts.fileName()));
    QXmlStreamReader xml(&ts);
    QString context, source;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("name")) {
            context = xml.readElementText();
        } else if (xml.name() == QLatin1String("source")) {
            source = xml.readElementText();
        } else if (xml.name() == QLatin1String("translation")) {
            QVERIFY2(xml.attributes().value(QLatin1String("type")).isEmpty(),
                     qPrintable(context + QLatin1Char('/') + source));
            const QString text = german.translate(context.toUtf8().constData(),
                                                  source.toUtf8().constData());
            QVERIFY2(!text.isEmpty(), qPrintable(context + QLatin1Char('/') + source));
            ++checked;
        }
    }
    QVERIFY2(!xml.hasError(), qPrintable(file + QLatin1String(": ") + xml.errorString()));
    }
    QVERIFY(checked > 0);
}

void TestTranslation::germanTermsAreOneWord_data()
{
    QTest::addColumn<QString>("english");
    QTest::addColumn<QString>("german");
    QTest::addColumn<QString>("other");
    // The data page's check box, the result dialog and the messages speak
    // of one thing.
    QTest::newRow("reference run") << "reference run" << "Referenzfahrt" << "Referenzlauf";
}

void TestTranslation::germanTermsAreOneWord()
{
    // Every German text whose English source names the term uses the one
    // German word for it, and no text uses the other word.
    QFETCH(QString, english);
    QFETCH(QString, german);
    QFETCH(QString, other);
    const QString dir = qEnvironmentVariable("KORVANTIS_SOURCE_DIR") + QStringLiteral("/translations");
    QStringList files{dir + QStringLiteral("/SST_de.ts")};
    for (const QString &name : QDir(dir + QStringLiteral("/de")).entryList({QStringLiteral("*.ts")}, QDir::Files))
        files << dir + QStringLiteral("/de/") + name;
    int named = 0;
    for (const QString &file : files) {
        QFile ts(file);
        QVERIFY2(ts.open(QIODevice::ReadOnly), qPrintable(ts.fileName()));
        QXmlStreamReader xml(&ts);
        QString source;
        while (!xml.atEnd()) {
            if (xml.readNext() != QXmlStreamReader::StartElement)
                continue;
            if (xml.name() == QLatin1String("source")) {
                source = xml.readElementText();
            } else if (xml.name() == QLatin1String("translation")) {
                const QString text = xml.readElementText();
                const QString where = file.section(QLatin1Char('/'), -1) + QLatin1String(": ") + source
                    + QLatin1String(" -> ") + text;
                QVERIFY2(!text.contains(other, Qt::CaseInsensitive), qPrintable(where));
                if (source.contains(english, Qt::CaseInsensitive)) {
                    QVERIFY2(text.contains(german, Qt::CaseInsensitive), qPrintable(where));
                    ++named;
                }
            }
        }
        QVERIFY2(!xml.hasError(), qPrintable(file + QLatin1String(": ") + xml.errorString()));
    }
    QVERIFY(named > 0);
}

// An English text that stands in several places (the file dialogs' titles,
// a page's name in the tree and over the page) reads the same in German
// everywhere; a soft hyphen only tells where the word may break.
void TestTranslation::oneEnglishTextOneGermanText()
{
    // Where one English word names two things, or a place has no room for
    // the full term.
    const QSet<QString> own{
        // The overview tile's short title.
        QStringLiteral("MainWindow/PPU Network Settings"),
        // The PC that wrote a log, not the fieldbus module's host name.
        QStringLiteral("QObject/Hostname"),
    };
    QString error;
    const QList<CatalogueText> texts = germanCatalogue(&error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QMap<QString, QStringList> german;  // English text -> "German (file, context)"
    QMap<QString, QSet<QString>> words;
    for (const CatalogueText &t : texts) {
        if (own.contains(t.context + QLatin1Char('/') + t.source))
            continue;
        QString word = t.translation;
        word.remove(QChar(0x00AD));
        words[t.source] << word;
        german[t.source] << QStringLiteral("\"%1\" (%2, %3)").arg(word, t.file, t.context);
    }
    QStringList differing;
    for (auto it = words.cbegin(); it != words.cend(); ++it) {
        if (it.value().size() > 1)
            differing << QStringLiteral("\"%1\": %2").arg(it.key(), german.value(it.key()).join(QStringLiteral(", ")));
    }
    QVERIFY2(differing.isEmpty(), qPrintable(differing.join(QLatin1Char('\n'))));
    QVERIFY(!words.isEmpty());
}

void TestTranslation::switchRetextsAndChangesNumberLocale()
{
    switchTranslator(QStringLiteral("en"));
    deliverLanguageChange();
    ScalingDialog dialog;
    QCOMPARE(exitText(dialog), QStringLiteral("Exit"));

    loadLanguage(QLocale(QStringLiteral("de_AT")));
    deliverLanguageChange();
    QCOMPARE(currentUiLanguage(), QStringLiteral("de"));
    QCOMPARE(exitText(dialog), QStringLiteral("Schließen"));
    QCOMPARE(dialog.findChild<QPushButton *>(QStringLiteral("btnApply"))->text(),
             QStringLiteral("Übernehmen und Anwendung neu starten"));
    QCOMPARE(QLocale().toString(1.5), QStringLiteral("1,5"));
    QCOMPARE(dialog.locale().language(), QLocale::German);
    // Qt's own texts come along (qt_de.qm and the catalogues it names).
    QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Abbrechen"));

    // A dialog built now shows German from the start.
    ScalingDialog fresh;
    QCOMPARE(exitText(fresh), QStringLiteral("Schließen"));

    switchTranslator(QStringLiteral("en"));
    deliverLanguageChange();
    QCOMPARE(exitText(dialog), QStringLiteral("Exit"));
    QCOMPARE(QLocale().toString(1.5), QStringLiteral("1.5"));
    QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Cancel"));
}

void TestTranslation::languageWithoutFileKeepsEnglishButSetsLocale()
{
    switchTranslator(QStringLiteral("de"));
    deliverLanguageChange();
    ScalingDialog dialog;
    QCOMPARE(exitText(dialog), QStringLiteral("Schließen"));

    loadLanguage(QLocale(QStringLiteral("fr_FR")));
    deliverLanguageChange();
    QCOMPARE(exitText(dialog), QStringLiteral("Exit"));
    QCOMPARE(QLocale().language(), QLocale::French);
    QCOMPARE(QLocale().toString(1.5), QStringLiteral("1,5"));
    switchTranslator(QStringLiteral("en"));
    deliverLanguageChange();
}

void TestTranslation::switchToCurrentLanguageDoesNothing()
{
    switchTranslator(QStringLiteral("de"));
    deliverLanguageChange();
    Screen screen;
    switchTranslator(QStringLiteral("de"));
    loadLanguage(QLocale(QStringLiteral("de_CH")));
    deliverLanguageChange();
    QCOMPARE(screen.retexts, 0);
    switchTranslator(QStringLiteral("en"));
    deliverLanguageChange();
    QCOMPARE(screen.retexts, 1);
}

void TestTranslation::dialogListsLanguagesAndSwitchesOnClick()
{
    switchTranslator(QStringLiteral("en"));
    deliverLanguageChange();
    TranslationDialog dialog;
    QCOMPARE(dialog.rowCount(), 2);
    // Sorted by file name: SST_de.qm, SST_en.qm.
    QCOMPARE(dialog.rowItem(0)->text(), QStringLiteral("German"));
    QCOMPARE(dialog.rowItem(1)->text(), QStringLiteral("English"));
    QCOMPARE(dialog.currentRow(), 1);
    QCOMPARE(currentUiLanguage(), QStringLiteral("en")); // building switched nothing

    auto *list = dialog.findChild<QListWidget *>(QStringLiteral("lstLang"));
    list->setCurrentRow(0);
    QCOMPARE(currentUiLanguage(), QStringLiteral("de"));
    deliverLanguageChange();
    QCOMPARE(dialog.findChild<QPushButton *>(QStringLiteral("btnSelect"))->text(),
             QStringLiteral("Auswählen"));
    QCOMPARE(dialog.rowItem(0)->text(), QStringLiteral("German")); // names stay English

    QTimer::singleShot(0, &dialog, [&] {
        dialog.findChild<QPushButton *>(QStringLiteral("btnSelect"))->click();
    });
    QCOMPARE(dialog.exec(), 0);
    QCOMPARE(currentUiLanguage(), QStringLiteral("de"));
    switchTranslator(QStringLiteral("en"));
    deliverLanguageChange();
}

void TestTranslation::dialogClickWorksWithoutCurrentRow()
{
    // A system language without translation file: no row is current.
    switchTranslator(QStringLiteral("fr"));
    deliverLanguageChange();
    TranslationDialog dialog;
    QCOMPARE(dialog.currentRow(), -1);
    QCOMPARE(currentUiLanguage(), QStringLiteral("fr"));

    auto *list = dialog.findChild<QListWidget *>(QStringLiteral("lstLang"));
    list->setCurrentRow(0);
    QCOMPARE(currentUiLanguage(), QStringLiteral("de"));
    QCOMPARE(QLocale().language(), QLocale::German);
    switchTranslator(QStringLiteral("en"));
    deliverLanguageChange();
}

QTEST_MAIN(TestTranslation)
#include "tst_translation.moc"
