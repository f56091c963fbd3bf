#include "licensetexts.h"

#include <QDir>
#include <QFile>
#include <QTextStream>

namespace licensetexts {

QString defaultRoot() { return QStringLiteral(":/licenses"); }

// Listing by name, case ignored, as the tabs are ordered; "." and ".." only
// exist outside the resources and are never texts.
static QStringList listing(const QString &path)
{
    return QDir(path).entryList(QDir::AllEntries | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
}

QStringList folders(const QString &root)
{
    return listing(root);
}

QStringList pieces(const QString &folder, const QString &root)
{
    const QString base = root + QLatin1Char('/') + folder;
    const QStringList entries = listing(base);
    // The framing depends on the number of entries, not on how many of them
    // could be read.
    const bool framed = entries.size() > 1;
    QStringList out;
    for (const QString &name : entries) {
        QFile file(base + QLatin1Char('/') + name);
        if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
            continue;
        QTextStream stream(&file);
        const QString text = stream.readAll();
        if (framed)
            out << QStringLiteral("\n\nStart of ") + name + QStringLiteral(": \n\n");
        out << text;
        if (framed)
            out << QStringLiteral("\n\nEnd of ") + name + QStringLiteral("\n\n");
    }
    return out;
}

QString text(const QString &folder, const QString &root)
{
    return pieces(folder, root).join(QLatin1Char('\n'));
}

} // namespace licensetexts
