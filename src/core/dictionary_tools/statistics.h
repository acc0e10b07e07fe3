#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>
#include <QtGlobal>

#include <array>
#include <vector>

namespace lexaloom {

class Ui;
struct AffixTable;
struct DictionaryDocument;
struct MainSettings;

namespace statisticsTexts {
inline const QString windowTitle = QStringLiteral("Show Statistics");
inline const QString processing = QStringLiteral("Processing Statistics... <ESC> to abort.");
inline const QString processingFound = QStringLiteral("Processing Statistics... <ESC> to abort. Found:");
inline const QString exportTitle = QStringLiteral("Export Statistics to file");
inline const QString rememberBlank = QStringLiteral("Remember gadget is blank.");
inline const QString nothingToCopy = QStringLiteral("Nothing to copy to clipboard.");
inline const QString overHundredNote = QStringLiteral("NOTE: >100%");
inline const QString criterionTitle = QStringLiteral("Show words based on selected criteria: ");
inline const QString newPrefix = QStringLiteral("New:");
inline const QString datePrefix = QStringLiteral(" / Date:");
} // namespace statisticsTexts

// The counts of one run over the whole dictionary.
struct DicStatistics {
    static constexpr int lengthRows = 5;
    static constexpr int letterRows = 27; // 0 "#/other", then "a" to "z"

    qint64 total = 0; // derived words of all entries
    qint64 withApostrophe = 0;
    qint64 withHyphen = 0;
    qint64 startingUppercase = 0;
    std::array<qint64, lengthRows + 1> byLength{}; // index 1 to 5
    std::array<qint64, letterRows> byLetter{};

    bool operator==(const DicStatistics &) const = default;
};

// One entry's share, indexed like the entries: what the entry list and the
// extraction by type need to tell which entries to expand again.
struct EntryStatistics {
    qint32 apostrophes = 0;
    qint32 hyphens = 0;
    qint32 uppercase = 0;
    qint8 shortLength = 0; // length (1 to 5) of the entry's last form of at most 5 characters

    bool operator==(const EntryStatistics &) const = default;
};

// Counts derived words into the statistics. Keeps a lazily filled table of the
// first characters met, so each form costs a few comparisons.
class StatisticsCounter final {
public:
    explicit StatisticsCounter(qsizetype entryCount);

    void CountDerivedWord(QStringView word, qsizetype entry);

    DicStatistics stats;
    std::vector<EntryStatistics> entries;

private:
    quint8 firstCharFacts(QStringView word);

    std::vector<quint8> m_facts; // per BMP code unit: letter index | uppercaseBit, or unknown
};

struct StatisticsRun {
    bool done = false; // false when there was nothing to count or the user aborted
    DicStatistics stats;
    std::vector<EntryStatistics> entries;
};

// Expands every entry through the engine and counts its forms, as a LongTask.
StatisticsRun RunStatistics(const DictionaryDocument &dictionary, AffixTable &affixTable, const MainSettings &settings,
                            Ui &ui);

// The rows of the word list, 0 to 7: apostrophe, hyphen, upper-case start, then
// the lengths 1 to 5. Their numbers are the engine's word types.
inline constexpr int statisticsWordRows = 8;
QString StatisticsWordRowLabel(int row); // "With ':", ..., "5 characters long:"
qint64 StatisticsWordRowCount(const DicStatistics &stats, int row);
// "#/other", "a" .. "z".
QString StatisticsLetterLabel(int index);
// The entry's value for a word row: its count of forms with the property, or for the
// length rows its short length. The entry lies behind the row when this is above 0.
qint64 EntryStatisticFor(const EntryStatistics &entry, int row);

// count x 100 / total in single precision.
float StatisticsPercentValue(qint64 count, qint64 total);
// The percentage as the lists and the export write it: two decimals, dropped when
// they are "00". A dictionary without forms has no percentages: "0.00" marks them.
QString StatisticsPercent(qint64 count, qint64 total);

// The pie chart: the eight word rows as slices of a disc, in degrees counter-clockwise
// from 3 o'clock.
struct StatisticsPieSlice {
    double startDegrees = 0;
    double spanDegrees = 0;
    quint32 rgb = 0; // 0xRRGGBB
};
struct StatisticsPie {
    static constexpr int imageSize = 260;
    static constexpr int centre = 125;
    static constexpr int radius = 110;
    static constexpr int noteX = 5;
    static constexpr int noteY = 238;

    std::vector<StatisticsPieSlice> slices; // rows with 0 % take none
    bool overHundred = false;               // the eight rows add up to more than 100 %
};
quint32 StatisticsRowColour(int row);
StatisticsPie StatisticsPieChart(const DicStatistics &stats);

// "Export": the file's bytes, UTF-8 with a byte-order mark. `reference` and `newWords`
// are the window's fields (empty ones are written "N/A").
QByteArray StatisticsExportBytes(const DicStatistics &stats, const QString &reference, const QString &newWords,
                                 const QString &thousandsSeparator);

} // namespace lexaloom
