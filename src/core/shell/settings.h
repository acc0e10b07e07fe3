#pragma once

#include <QString>
#include <QtGlobal>

namespace lexaloom {

// One of the eight colours the affix-colour preferences index.
struct PaletteColour {
    int red = 0;
    int green = 0;
    int blue = 0;
};

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

    // Ranges the Preferences window enforces; values read from a file outside them take the default.
    static constexpr qint32 listPageRowsMin = 1;
    static constexpr qint32 listPageRowsMax = 100;
    static constexpr qint32 rowPixelsPlusMin = -10;
    static constexpr qint32 rowPixelsPlusMax = 10;
    static constexpr qint32 minLinesBetweenRulesMin = 1;
    static constexpr qint32 minLinesBetweenRulesMax = 50;
    static constexpr qint32 decodeWarnLimitMin = 0;
    static constexpr qint32 decodeWarnLimitMax = 99999999;
    static constexpr qint32 autocorrectLeftSpacesMin = 1;
    static constexpr qint32 autocorrectLeftSpacesMax = 50;
    static constexpr qint32 paletteSize = 8;
    // Font sizes outside this span cannot come from the font dialog.
    static constexpr int listFontSizeMin = 1;
    static constexpr int listFontSizeMax = 999;

    bool operator==(const MainSettings &) const = default;

    // Window width and height parsed from windowSize; the default size when malformed.
    int windowWidth() const;
    int windowHeight() const;
    // listFontSize as a number; the default 10 when it is not a valid size.
    int listFontPointSize() const;

    // Puts every value outside its range or format back to its default, so that a
    // damaged settings file cannot reach the window layout or the tools.
    void normalise();

    // Seconds between automatic update checks for updateFrequency; 0 for "manual".
    qint64 updateIntervalSeconds() const;
};

// The palette of the colour indexes; black for an index outside 0 to 7.
PaletteColour paletteColour(int index);

// "yyyy-mm-dd hh:ii:ss" of a time in seconds since 1970 (local time counted as UTC),
// as the "Last checked:" and "Last Remember:" stamps show it.
QString FormatStamp(qint64 localEpochSeconds);

} // namespace lexaloom
