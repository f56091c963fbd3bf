#pragma once

#include <QString>

// KorvantisLoader's version as the window title and the About window show
// it: major, minor as two digits and the build text as eight digits, e.g.
// 3.10-00001204. A build text holding the letter m (either case) marks a
// modified program; its last character is dropped before padding.
namespace loader {
namespace loaderversion {

constexpr int kMajor = 3;
constexpr int kMinor = 10;
constexpr const char *kBuild = "1204";

bool isModified(const QString &build = QLatin1String(kBuild));
QString versionText(int major = kMajor, int minor = kMinor, const QString &build = QLatin1String(kBuild));
// "KorvantisLoader", two blanks and the version text, "M" appended for a
// modified program.
QString windowTitle(int major = kMajor, int minor = kMinor, const QString &build = QLatin1String(kBuild));

} // namespace loaderversion
} // namespace loader
