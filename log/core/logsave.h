#pragma once

#include <QString>
#include <functional>

#include "errordecode.h"

class QIODevice;

// Writing the log's files: names completed with their suffix, content
// written beside the target and put in its place only when complete.
class LogSave
{
public:
    // `name` with "." and `suffix` appended unless it already ends with the
    // suffix's letters (case-sensitive, the dot not needed); an empty text
    // for a name that is empty after trimming.
    static QString completeName(const QString &name, const QString &suffix);

    // Writes through a temporary file in the target's folder and replaces
    // the target only when `write` returned true and everything reached the
    // disk; otherwise the old file stays as it was and the result is -103,
    // with the reason in `reason` (translated, context "LogSave"): a folder
    // that does not exist, a refused permission, a target that is a folder,
    // else what the system said. The new file is readable and writable by
    // everyone. `label` names the file kind in the debug lines ("LOGFile",
    // "CSVFile").
    static errorCode_e replace(const QString &target, const std::function<bool(QIODevice &)> &write,
                               const char *label, QString *reason = nullptr);
};
