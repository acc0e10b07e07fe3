#pragma once

#include <QString>

namespace lexaloom::identity {

inline const QString version = QStringLiteral("3.0");
inline const QString build = QStringLiteral("204");
inline const QString buildDate = QStringLiteral("2024-01-17");
// First line of every settings file.
inline const QString settingsVersion = QStringLiteral("25");

inline QString windowTitle()
{
    return QStringLiteral("Lexaloom V") + version + QStringLiteral(" build ") + build;
}

} // namespace lexaloom::identity
