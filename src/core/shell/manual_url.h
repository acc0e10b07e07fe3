#pragma once

#include <QString>

namespace lexaloom {

inline QString manualFileName()
{
    return QStringLiteral("Lexaloom_manual_V30.html");
}

// The manual beside the program as a percent-encoded file URL, at `anchor` ("#..."
// or empty).
QString ManualUrl(const QString &programFolder, const QString &anchor = QString());

} // namespace lexaloom
