#pragma once

#include <QString>
#include <QStringList>

// The licence texts shipped in the programs' resources: under a root folder
// (":/licenses") one folder per library, each file in such a folder one
// text. Both programs' licence windows show them through these functions,
// so the framing of several texts is the same everywhere.
namespace licensetexts {

// The resource folder both programs ship their texts in.
QString defaultRoot();

// The library folders under the root, in directory listing order (by name,
// case ignored); one tab each.
QStringList folders(const QString &root = defaultRoot());

// The pieces to append, one paragraph each, for the library folder `folder`:
// a single text stands alone; with more than one entry each text is framed by
// "\n\nStart of <name>: \n\n" and "\n\nEnd of <name>\n\n". An entry that
// cannot be opened is left out without a message.
QStringList pieces(const QString &folder, const QString &root = defaultRoot());

// The pieces as one plain text, each piece a paragraph of its own: the text
// a licence window shows for the library folder `folder`.
QString text(const QString &folder, const QString &root = defaultRoot());

} // namespace licensetexts
