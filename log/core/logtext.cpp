#include "logtext.h"

#include <QCoreApplication>
#include <QEvent>
#include <QHash>
#include <QPointer>

uint qHash(const LogText::Key &k, uint seed = 0)
{
    return qHash(k.a, seed) ^ qHash(k.b, seed + 0x9E3779B9u) ^ qHash(k.c, seed + 0x7F4A7C15u)
           ^ qHash(k.number, seed + 0x94D049BBu);
}

namespace {

// Empties the cache when a translator is installed or removed: the
// application object receives a LanguageChange event for each.
class LanguageWatch : public QObject
{
public:
    using QObject::QObject;
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::LanguageChange)
            LogText::clear();
        return QObject::eventFilter(watched, event);
    }
};

// A damaged log can bring any number of distinct IDs; past this many texts
// sharing gains little, so the cache stops growing.
constexpr int kMaxTexts = 8192;
constexpr qint64 kNoNumber = -1;
// Markers in place of a source address (never a valid address).
constexpr quintptr kSuffixForm = 1;
constexpr quintptr kPrefixForm = 2;
constexpr quintptr kEventIdForm = 3;

struct Cache
{
    QHash<LogText::Key, QString> texts;
    QPointer<QCoreApplication> watchedApp;
};

Cache &cache()
{
    static Cache c;
    QCoreApplication *app = QCoreApplication::instance();
    if (app && c.watchedApp != app) {
        // A new application object may come with other translators.
        c.texts.clear();
        app->installEventFilter(new LanguageWatch(app));
        c.watchedApp = app;
    }
    return c;
}

QString tr(quintptr source)
{
    return source ? QCoreApplication::translate("QObject", reinterpret_cast<const char *>(source)) : QString();
}

} // namespace

QString LogText::cached(const Key &key, QString (*make)(const Key &))
{
    Cache &c = cache();
    auto it = c.texts.constFind(key);
    if (it != c.texts.constEnd())
        return *it;
    const QString t = make(key);
    if (c.texts.size() < kMaxTexts)
        c.texts.insert(key, t);
    return t;
}

QString LogText::text(const char *source)
{
    return cached(Key{quintptr(source), 0, 0, kNoNumber}, [](const Key &k) { return tr(k.a); });
}

QString LogText::numbered(const char *source, int number)
{
    return cached(Key{quintptr(source), 0, 0, number}, [](const Key &k) { return tr(k.a).arg(k.number); });
}

QString LogText::joined(const char *first, const char *second, const char *third)
{
    return cached(Key{quintptr(first), quintptr(second), quintptr(third), kNoNumber},
                  [](const Key &k) { return tr(k.a) + tr(k.b) + tr(k.c); });
}

QString LogText::numberedWithSuffix(const char *numberedText, int number, const char *suffix)
{
    return cached(Key{quintptr(numberedText), quintptr(suffix), kSuffixForm, number},
                  [](const Key &k) { return tr(k.a).arg(k.number) + tr(k.b); });
}

QString LogText::withNumbered(const char *prefix, const char *numberedText, int number)
{
    return cached(Key{quintptr(prefix), quintptr(numberedText), kPrefixForm, number},
                  [](const Key &k) { return tr(k.a) + QLatin1Char(' ') + tr(k.b).arg(k.number); });
}

QString LogText::eventId(uint32_t id)
{
    return cached(Key{kEventIdForm, 0, 0, qint64(id)}, [](const Key &k) {
        return QCoreApplication::translate("QObject", "ID: ")
               + QStringLiteral("0x%1").arg(uint(k.number), 8, 16, QLatin1Char('0'));
    });
}

void LogText::clear()
{
    cache().texts.clear();
}
