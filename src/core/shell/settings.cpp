#include "core/shell/settings.h"

#include <QDateTime>
#include <QStringList>
#include <QTimeZone>

namespace lexaloom {

namespace {

struct FrequencyInterval {
    QLatin1StringView name;
    qint64 seconds;
};

constexpr FrequencyInterval frequencyIntervals[] = {
    {QLatin1StringView("manual"), 0},
    {QLatin1StringView("daily"), 86400},
    {QLatin1StringView("weekly"), 604800},
    {QLatin1StringView("monthly"), 2592000},
};

QPair<int, int> parseSize(const QString &text, bool *ok = nullptr)
{
    const QStringList parts = text.split(QLatin1Char('x'));
    if (parts.size() == 2) {
        bool okW = false;
        bool okH = false;
        const int w = parts[0].trimmed().toInt(&okW);
        const int h = parts[1].trimmed().toInt(&okH);
        if (okW && okH && w > 0 && h > 0) {
            if (ok)
                *ok = true;
            return {w, h};
        }
    }
    if (ok)
        *ok = false;
    return {1280, 600};
}

template <typename T>
void keepInRange(T &value, T minimum, T maximum, T fallback)
{
    if (value < minimum || value > maximum)
        value = fallback;
}

} // namespace

int MainSettings::windowWidth() const
{
    return parseSize(windowSize).first;
}

int MainSettings::windowHeight() const
{
    return parseSize(windowSize).second;
}

int MainSettings::listFontPointSize() const
{
    bool ok = false;
    const int size = listFontSize.toInt(&ok);
    return ok && size >= listFontSizeMin && size <= listFontSizeMax ? size : MainSettings().listFontSize.toInt();
}

void MainSettings::normalise()
{
    const MainSettings defaults;
    bool sizeOk = false;
    parseSize(windowSize, &sizeOk);
    if (!sizeOk)
        windowSize = defaults.windowSize;
    keepInRange(listPageRows, listPageRowsMin, listPageRowsMax, defaults.listPageRows);
    keepInRange(rowPixelsPlus, rowPixelsPlusMin, rowPixelsPlusMax, defaults.rowPixelsPlus);
    keepInRange(minLinesBetweenRules, minLinesBetweenRulesMin, minLinesBetweenRulesMax,
                defaults.minLinesBetweenRules);
    // One character (a code point, which may take two UTF-16 units) or nothing.
    if (thousandsSeparator.toUcs4().size() > 1)
        thousandsSeparator = defaults.thousandsSeparator;
    keepInRange(colourPrimary, 0, paletteSize - 1, defaults.colourPrimary);
    keepInRange(colourSuffix, 0, paletteSize - 1, defaults.colourSuffix);
    keepInRange(colourPrefix, 0, paletteSize - 1, defaults.colourPrefix);
    keepInRange(colourBoth, 0, paletteSize - 1, defaults.colourBoth);
    bool knownFrequency = false;
    for (const FrequencyInterval &f : frequencyIntervals)
        knownFrequency = knownFrequency || updateFrequency == f.name;
    if (!knownFrequency)
        updateFrequency = defaults.updateFrequency;
    keepInRange(decodeWarnLimit, decodeWarnLimitMin, decodeWarnLimitMax, defaults.decodeWarnLimit);
    if (listFontName.trimmed().isEmpty())
        listFontName = defaults.listFontName;
    bool sizeIsNumber = false;
    const int fontSize = listFontSize.toInt(&sizeIsNumber);
    if (!sizeIsNumber || fontSize < listFontSizeMin || fontSize > listFontSizeMax)
        listFontSize = defaults.listFontSize;
    keepInRange(autocorrectLeftSpaces, autocorrectLeftSpacesMin, autocorrectLeftSpacesMax,
                defaults.autocorrectLeftSpaces);
}

qint64 MainSettings::updateIntervalSeconds() const
{
    for (const FrequencyInterval &f : frequencyIntervals) {
        if (updateFrequency == f.name)
            return f.seconds;
    }
    return 0;
}

PaletteColour paletteColour(int index)
{
    static constexpr PaletteColour palette[MainSettings::paletteSize] = {
        {0, 0, 0}, {0, 153, 0}, {0, 0, 255}, {255, 255, 0}, {255, 0, 0}, {255, 0, 255}, {185, 122, 87}, {128, 128, 128},
    };
    return index >= 0 && index < MainSettings::paletteSize ? palette[index] : palette[0];
}

QString FormatStamp(qint64 localEpochSeconds)
{
    // The seconds already count local time, so they are shown without any zone shift.
    return QDateTime::fromSecsSinceEpoch(localEpochSeconds, QTimeZone::utc())
        .toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
}

} // namespace lexaloom
