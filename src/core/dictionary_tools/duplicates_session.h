#pragma once

#include "core/dictionary_tools/duplicate_options.h"

#include <QSet>
#include <QString>
#include <QtGlobal>

#include <functional>
#include <vector>

namespace lexaloom {

struct AffixTable;
struct DictionaryDocument;
struct MainSettings;
class LongTask;
class Ui;

// What became of one opening of the duplicates window; what a tool that opens it as
// one of its steps needs to carry on.
struct DuplicatesToolOutcome {
    // False when it did not open: no dictionary entries ("No dictionary words found.").
    bool opened = false;
    // "OK" closed it: the emptied entries are gone and the dictionary is marked changed.
    // Otherwise "Cancel" (or Escape, or the close box) returned the dictionary to the
    // undo point, when one stood.
    bool accepted = false;
    // An undo point of the dictionary stands for this run: the one passed in
    // (alreadyRecorded) or one the window recorded before its first change.
    bool undoRecorded = false;
};

// How a core tool opens the duplicates window as one of its steps: the GUI hands it
// OpenDuplicatesTool bound to its window and workbench. `alreadyRecorded` is true when
// the caller has recorded an undo point of the dictionary already; the window then
// records none of its own, and its "Cancel" returns to the caller's undo point.
using OpenDuplicatesToolFunction = std::function<DuplicatesToolOutcome(bool alreadyRecorded)>;

// One row of the window's list: a member of a same-word group or an entry whose flags
// repeat a flag.
struct DicDuplicateRow {
    qint64 line = 0; // 1-based position of the entry in the dictionary
    QString word;
    QString flags;
    QString tags;
    QString classCode;     // flag class of `flags`
    int repeatedCount = 0; // > 0 when the flags repeat a flag: how many go on removal
};

// The counts of the last "Process", as its closing message gives them.
struct DuplicatesProcessCounts {
    qint64 merged = 0;              // merged/deleted words
    qint64 repeatedFlagEntries = 0; // "# Repeated FlagsW:" when "Process" was pressed
    qint64 flagsRemoved = 0;        // exact number of repeated flags removed
};

// What the window shows beside its list; published by the session.
struct DuplicatesDisplay {
    bool busy = false;
    QString elapsed;   // elapsed time of the run
    QString abortHint; // "<ESC> to abort." while a run goes on
};

// What the .aff declares, for the window's "Flags:" indicators.
struct DuplicateFlagIndicators {
    bool keepCase = false;
    bool needAffix = false;
    bool forbiddenWord = false;
    bool complexPrefixes = false;
    bool circumfix = false;
    QString flagType; // "FLAG chr", "FLAG long" or "FLAG num"
};

// The window's side of the session.
class DuplicatesHost {
public:
    virtual ~DuplicatesHost() = default;
    // The log, the list, the counters or the display changed: redraw now.
    virtual void refresh() = 0;
    // "Remember": writes the options file; false when it could not be written.
    virtual bool rememberOptions(const DuplicateOptions &options) = 0;
};

// Everything the Show/Merge/Delete duplicates window does beyond showing widgets:
// the scan, "Process" (merge passes and repeated-flag removal), "Export", "Remember",
// "OK" and "Cancel". It changes the dictionary's entries in place; "OK" removes the
// emptied entries, "Cancel" returns to the undo point.
class DuplicatesSession final {
public:
    DuplicatesSession(DictionaryDocument &dictionary, AffixTable &table, const MainSettings &settings,
                      DuplicateOptions &options, Ui &ui, DuplicatesHost *host, bool alreadyRecorded);
    DuplicatesSession(const DuplicatesSession &) = delete;
    DuplicatesSession &operator=(const DuplicatesSession &) = delete;

    static QString windowTitle();
    static QString introductionText();
    static QString manualAnchor();

    // Before the window opens: refuses an empty dictionary ("No dictionary words
    // found.") and builds the AffixTable. False when the window must not open.
    static bool prepare(const DictionaryDocument &dictionary, AffixTable &table, Ui &ui);

    const std::vector<DicDuplicateRow> &rows() const { return m_rows; }
    // Sizes of the same-word groups, in list order.
    const std::vector<int> &groups() const { return m_groups; }
    qint64 repeatedWordCount() const { return m_memberCount; }
    qint64 repeatedFlagEntryCount() const { return m_repeatedFlagEntries; }
    const QString &log() const { return m_log; }
    const DuplicatesDisplay &display() const { return m_display; }
    DuplicateFlagIndicators flagIndicators() const;
    // The flag class name shown in the "Information" column.
    static QString className(const QString &classCode);
    bool undoRecorded() const { return m_undoRecorded; }
    const DuplicatesProcessCounts &lastProcessCounts() const { return m_lastCounts; }

    // The options as stored, and as the boxes show them (twofold unticks the two below).
    const DuplicateOptions &options() const { return m_options; }
    DuplicateOptions shownOptions() const;
    void setOptions(const DuplicateOptions &options);

    // "Clear": the log back to its introduction.
    void clearLog();
    // "Scan"; false when aborted.
    bool scan();
    // "Process"; false when a run was aborted.
    bool process();
    // "Export"; true when a file was written.
    bool exportList();
    // "Remember"; true when the file was written.
    bool remember();
    // "OK": the emptied entries removed, the dictionary marked changed.
    void accept();
    // "Cancel": the dictionary back at the undo point, when one stands.
    void cancel();

private:
    // A listed member of a same-word group: its row and its class ("999999" once removed).
    struct Member {
        qint64 row = 0;
        QString classCode;
    };
    enum class PassOutcome { NoAction, Acted, Aborted };

    void addLog(const QString &text);
    void refreshHost();
    void recordUndo();
    bool runScan(LongTask &task);
    PassOutcome runPass(LongTask &task, QString &mergeLog, qint64 &merged);
    bool removeRepeatedFlags(LongTask &task);
    void showElapsed();
    // Empties an entry for "OK" to remove.
    void emptyEntry(qint64 index);
    // The flag class of a member: FlagClass, but "special" for a flag the .aff gives a
    // meaning for the whole entry (compounding among them).
    QString classOf(QStringView flags) const;

    DictionaryDocument &m_dictionary;
    AffixTable &m_table;
    const MainSettings &m_settings;
    DuplicateOptions &m_options;
    Ui &m_ui;
    DuplicatesHost *m_host;
    bool m_undoRecorded;
    std::vector<DicDuplicateRow> m_rows;
    std::vector<int> m_groups;
    std::vector<Member> m_members;
    std::vector<qint64> m_emptied; // indexes of the entries this window emptied
    QSet<QString> m_entryWideFlags;
    qint64 m_memberCount = 0;
    qint64 m_repeatedFlagEntries = 0;
    qint64 m_exactFlagsRemoved = 0;
    QString m_log;
    DuplicatesDisplay m_display;
    DuplicatesProcessCounts m_lastCounts;
    qint64 m_runStartMs = 0;
};

} // namespace lexaloom
