#pragma once

#include <QString>
#include <QtGlobal>

namespace lexaloom {

// Values of the main settings file with their defaults; read at start-up,
// written only by explicit actions.
struct MainSettings {
    QString windowSize = QStringLiteral("1280x600");
    QString desktopSize;
    QString maxWindowSize;
    qint32 listPageRows = 13;
    qint32 rowPixelsPlus = 0;
    qint32 minLinesBetweenRules = 1;
    QString affAidLanguage = QStringLiteral("n/a");
    QString thousandsSeparator = QStringLiteral(",");
    qint32 colourPrimary = 0;
    qint32 colourSuffix = 1;
    qint32 colourPrefix = 2;
    qint32 colourBoth = 4;
    QString updateFrequency = QStringLiteral("monthly");
    qint64 lastUpdateCheck = defaultLastUpdateCheck();
    qint32 decodeWarnLimit = 2000000;
    QString listFontName = QStringLiteral("Arial");
    QString listFontSize = QStringLiteral("10");
    qint32 autocorrectLeftSpaces = 2;
    qint32 reserved = 0;

    // The build date 2024-01-17 at 00:00:01, in seconds since 1970 (local time counted as UTC).
    static constexpr qint64 defaultLastUpdateCheck() { return 1705449601; }

    // Window width and height parsed from windowSize; the default size when malformed.
    int windowWidth() const;
    int windowHeight() const;
};

} // namespace lexaloom
