#include "loaderversion.h"

namespace loader {
namespace loaderversion {

bool isModified(const QString &build)
{
    return build.contains(QLatin1Char('m'), Qt::CaseInsensitive);
}

QString versionText(int major, int minor, const QString &build)
{
    QString digits = build;
    if (isModified(build))
        digits.chop(1);
    return QStringLiteral("%1.%2-%3").arg(major).arg(minor, 2, 10, QLatin1Char('0')).arg(digits, 8, QLatin1Char('0'));
}

QString windowTitle(int major, int minor, const QString &build)
{
    QString title = QStringLiteral("KorvantisLoader  ") + versionText(major, minor, build);
    if (isModified(build))
        title += QLatin1Char('M');
    return title;
}

} // namespace loaderversion
} // namespace loader
