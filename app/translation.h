#pragma once

#include <QLocale>
#include <QString>
#include <QStringList>

class QTranslator;

// Translation files live in "translations" beside the program:
// "SST_<language>.qm" for the tool's texts, "qt_<language>.qm" for Qt's.

// "de_DE" gives "de"; a name without "_" gives an empty text.
QString languageBase(const QString &localeName);
// "SST_de.qm" gives "de"; a name without "." gives an empty text.
QString languageFromQmFile(const QString &fileName);
QString translationsDir();

// Removes the translator, loads it from the translations folder and installs
// it again only when the load worked.
void loadTranslator(QTranslator &translator, const QString &fileName);
// Makes `language` the user-interface language and its locale the default
// locale; a switch to the current language does nothing.
void switchTranslator(const QString &language);
void loadLanguage(const QLocale &locale);
// The "SST_*.qm" files of the translations folder, sorted by name.
QStringList availableLanguages();
// The language last switched to (null before the first switch).
QString currentUiLanguage();
