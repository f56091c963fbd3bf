#pragma once

#include <QString>
#include <cstdint>

// The translated texts of the log entries (translation context "QObject"),
// made once per language and then shared by every entry that shows them: a
// log of 100,000 records repeats the same few hundred names and ID texts,
// and sharing them keeps each entry small and its decoding quick.
//
// Sources are string literals and are looked up by their address. The cache
// is emptied when the application's language changes. GUI thread only.
class LogText
{
public:
    // tr(source).
    static QString text(const char *source);
    // tr(source) with %1 replaced by `number` in decimal.
    static QString numbered(const char *source, int number);
    // tr(first) + tr(second), and + tr(third) when given.
    static QString joined(const char *first, const char *second, const char *third = nullptr);
    // tr(numberedText) with %1 = number, then tr(suffix).
    static QString numberedWithSuffix(const char *numberedText, int number, const char *suffix);
    // tr(prefix), one blank, tr(numberedText) with %1 = number.
    static QString withNumbered(const char *prefix, const char *numberedText, int number);
    // tr("ID: ") followed by "0x" and the ID in 8 lower-case hexadecimal digits.
    static QString eventId(uint32_t id);
    // Forgets every cached text (done by itself on a language change).
    static void clear();

    struct Key
    {
        quintptr a;
        quintptr b;
        quintptr c;
        qint64 number;
        bool operator==(const Key &o) const { return a == o.a && b == o.b && c == o.c && number == o.number; }
    };

private:
    static QString cached(const Key &key, QString (*make)(const Key &));
};
