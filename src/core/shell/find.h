#pragma once

#include "core/shell/document_kind.h"
#include "core/shell/find_memory.h"
#include "core/shell/shared_texts.h"
#include "core/shell/ui.h"

#include <QString>
#include <QStringView>

#include <deque>
#include <functional>
#include <optional>

namespace lexaloom {

class EntryStore;
struct MainSettings;

struct FindOptions {
    bool leftMatch = true;
    bool matchCase = false;
    bool matchExtra = true;
};

// The text a result row shows: the head of a thesaurus entry, otherwise the whole
// entry with its field separators drawn as arrows.
QString FindPrimaryText(QStringView entry, EntryLayout layout);

// 1-based position of `needle` in `text`, 0 when absent.
qint64 FindPosition(QStringView text, QStringView needle, bool matchCase);

// Whether the entry matches: in its primary text, else (with matchExtra) in its
// extra information; with leftMatch only at the start of the text searched.
bool FindEntryMatches(QStringView entry, EntryLayout layout, QStringView needle, const FindOptions &options);

// "28.57", "50": the shorter of the two lengths in percent of the longer.
QString FormatMatchPercent(qint64 primaryLength, qint64 searchLength);

// The search field turns red on text that can hardly be meant: a double space, or a
// leading space when only the start of entries is searched.
bool IsSuspiciousFindText(const QString &text, bool leftMatch);

// The list a Find or Go to works on, with the names its messages and titles use.
struct FindTarget {
    DocumentKind kind = DocumentKind::Dictionary;
    const EntryStore *entries = nullptr;
    // The focus of the tab's paged list.
    qint64 *selectedIndex = nullptr;
    EntryLayout layout = EntryLayout::WordAndTags;
    QString noun;      // "No " + noun + " found."
    QString findTitle; // the Find window's title
    QString gotoNoun;  // the Go to title's and empty message's noun
    // The result pop-up ("Edit", "Delete") and the Delete key.
    bool offersEditDelete = true;
};

// What the tab does for the Find window; the main window connects these to its
// paged list and its editors.
struct FindActions {
    // Scroll the tab's paged list so that the entry is the first row, make it the
    // focused entry and refresh the page.
    std::function<void(qint64 index)> showEntry;
    // The kind's entry editor on the focused entry; returns when it closes.
    std::function<void(qint64 index)> editEntry;
    // The kind's delete-with-confirmation on the focused entry; true when deleted.
    std::function<bool(qint64 index)> deleteEntry;
    // Refresh the tab's page and its "Selected:" label.
    std::function<void()> refreshList;
};

struct FindResultRow {
    QString text;
    qint64 position = 0; // entry number, from 1
    QString matchPercent;
    bool changed = false;
};

// One opening of the Find window: its search, results and the actions on them.
class FindSession final {
public:
    FindSession(FindTarget target, FindMemory &memory, const MainSettings &settings);
    FindSession(const FindSession &) = delete;
    FindSession &operator=(const FindSession &) = delete;

    // "No … found." when there is nothing to search; the window then does not open.
    static bool CheckCanOpen(const FindTarget &target, Ui &ui);

    const FindTarget &target() const { return m_target; }
    FindMemory &memory() { return m_memory; }
    FindOptions options() const;

    // Searches the entries as a long task on `ui` (the window's label and progress
    // bar). `onRefresh` runs once the old results are cleared, on each refresh tick
    // and when the search ends, so the window can show the rows and the label.
    // Returns false when the text was empty.
    bool search(Ui &ui, const QString &text, const std::function<void()> &onRefresh = {});
    bool isSearching() const { return m_searching; }

    const std::deque<FindResultRow> &rows() const { return m_rows; }
    qint64 entryCount() const;
    // "Found:…" as the label shows it now.
    QString foundLabel() const;

    // "Display": brings the row's entry to the top of the tab's list.
    void display(qsizetype row, const FindActions &actions) const;
    // The pop-up's "Edit" and "Delete" on a row (-1: none selected).
    void edit(qsizetype row, Ui &ui, const FindActions &actions);
    void remove(qsizetype row, Ui &ui, const FindActions &actions);

    static QString escToAbortText() { return sharedTexts::escToAbort; }
    static QString changedText() { return QStringLiteral("Changed"); }

private:
    bool checkRow(qsizetype row, Ui &ui) const;
    void restoreSelection(qint64 saved);

    FindTarget m_target;
    FindMemory &m_memory;
    const MainSettings &m_settings;
    // A deque: growing a vector of a million rows mid-search stalled the event pump
    // for most of a second.
    std::deque<FindResultRow> m_rows;
    bool m_searched = false;
    // The label counts rows once a search found one, and after a deletion.
    bool m_labelCountsRows = false;
    bool m_searching = false;
};

} // namespace lexaloom
