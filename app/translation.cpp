#include "translation.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QTranslator>

namespace {

QTranslator appTranslator;
QTranslator qtTranslator;
QString currentLanguage;

} // namespace

QString languageBase(const QString &localeName)
{
    const int pos = localeName.lastIndexOf(QLatin1Char('_'));
    if (pos < 0)
        return QString(QLatin1String(""));
    return localeName.left(pos);
}

QString languageFromQmFile(const QString &fileName)
{
    const int dot = fileName.lastIndexOf(QLatin1Char('.'));
    if (dot < 0)
        return QString(QLatin1String(""));
    const QString stem = fileName.left(dot);
    return stem.mid(stem.indexOf(QLatin1Char('_')) + 1);
}

QString translationsDir()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/translations");
}

void loadTranslator(QTranslator &translator, const QString &fileName)
{
    if (!QCoreApplication::instance())
        return;
    QCoreApplication::removeTranslator(&translator);
    const QString path = QDir(translationsDir()).filePath(fileName);
    if (translator.load(path))
        QCoreApplication::installTranslator(&translator);
}

void switchTranslator(const QString &language)
{
    if (language == currentLanguage && !currentLanguage.isNull())
        return;
    currentLanguage = language;
    QLocale::setDefault(QLocale(language));
    qDebug() << "Default locale" << QLocale();
    loadTranslator(appTranslator, QStringLiteral("SST_") + language + QStringLiteral(".qm"));
    loadTranslator(qtTranslator, QStringLiteral("qt_") + language + QStringLiteral(".qm"));
}

void loadLanguage(const QLocale &locale)
{
    switchTranslator(languageBase(locale.name()));
}

QStringList availableLanguages()
{
    QDir dir(translationsDir());
    return dir.entryList(QStringList{QStringLiteral("SST_*.qm")}, QDir::Files,
                         QDir::Name | QDir::IgnoreCase);
}

QString currentUiLanguage()
{
    return currentLanguage;
}
