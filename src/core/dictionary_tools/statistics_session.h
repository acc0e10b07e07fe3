#pragma once

#include "core/dictionary/wordlist_extraction.h"
#include "core/dictionary_tools/dic_stats_reference.h"
#include "core/dictionary_tools/statistics.h"

#include <QString>

#include <functional>
#include <optional>
#include <vector>

namespace lexaloom {

class Ui;
struct AffixTable;
struct DictionaryDocument;
struct MainSettings;

// Everything the "Show Statistics" window and its entry list do beyond showing
// widgets: the reference value with its settings file, the copies, "Export", the
// entries behind a row with their preview, and the extraction by type. It holds
// the figures of one run; the window reads its fields after each action.
class StatisticsSession final {
public:
    // Writes or deletes the reference's settings file; false when that failed.
    using FileAction = std::function<bool()>;

    StatisticsSession(const DictionaryDocument &dictionary, AffixTable &table, const MainSettings &settings, Ui &ui,
                      DicStatsReference &reference, StatisticsRun run);
    StatisticsSession(const StatisticsSession &) = delete;
    StatisticsSession &operator=(const StatisticsSession &) = delete;

    static QString manualAnchor();

    const DicStatistics &stats() const { return m_stats; }
    const std::vector<EntryStatistics> &entryStatistics() const { return m_entries; }
    // A count as the window shows it (the preferred thousands separator).
    QString countText(qint64 n) const;
    // "Current wordlist:".
    QString totalText() const { return countText(m_stats.total); }

    // The reference field, the new-words field and the last-remember field.
    const QString &referenceText() const { return m_referenceText; }
    const QString &newWordsText() const { return m_newWordsText; }
    const QString &lastRememberText() const { return m_lastRememberText; }
    // The reference as a number: digits, optionally grouped by the preferred separator
    // (as "Copy" gives the current total); nothing for any other text.
    std::optional<qint64> referenceNumber() const;

    // The user typed into the reference field.
    void setReferenceText(const QString &text);
    // "∑ Copy →".
    void copyTotalToReference();
    // "Remember" and "Forget"; `path` names the file in the error message.
    void remember(const FileAction &write, const QString &path);
    void forget(const FileAction &remove, const QString &path);
    // The "Copy" buttons and "Copy ∑ New".
    void copyTotal();
    void copyNewWords();
    void copyNewNumber();
    void copyLastRemember();
    // "Export"; true when the file was written.
    bool exportToFile();

    // "Show": false, after the warning, without a row.
    bool checkRowSelected(int row) const;
    // The title of the entry list of a row.
    static QString criterionTitle(int row);
    // The entries behind a row, in entry order, as a LongTask on `panelUi`; an abort
    // keeps those found so far. `showElapsed` gets the elapsed time on each tick and at the end.
    std::vector<qint64> criterionEntries(int row, Ui &panelUi, const std::function<void(const QString &)> &showElapsed);
    // The entry's word part as the list shows it.
    QString entryWord(qint64 index) const;
    // The preview of one entry: its forms that match the row, one a line, marked.
    QString preview(qint64 index, int row) const;
    // "Extract" (mark off) and "Extract with Flags" (mark on) for a row.
    WordlistResult extract(int row, bool mark, Ui &panelUi, const TypeExtractionControls &controls);

private:
    void refreshNewWords();
    void copy(const QString &text);

    const DictionaryDocument &m_dictionary;
    AffixTable &m_table;
    const MainSettings &m_settings;
    Ui &m_ui;
    DicStatsReference &m_reference;
    DicStatistics m_stats;
    std::vector<EntryStatistics> m_entries;
    QString m_referenceText;
    QString m_newWordsText;
    QString m_lastRememberText;
};

} // namespace lexaloom
