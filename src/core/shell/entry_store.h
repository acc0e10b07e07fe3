#pragma once

#include <QString>
#include <QStringView>

#include <cstdint>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

namespace lexaloom {

// The entries of a list document ("word\ntags", "head\nmeaning...", ...) with their
// check marks. Documents reach millions of lines, so the text lives in one buffer
// with a small span per entry instead of one heap string each; replaced and removed
// text is reclaimed when it outweighs the live text.
class EntryStore final {
public:
    qint64 size() const { return static_cast<qint64>(m_spans.size()); }
    bool isEmpty() const { return m_spans.empty(); }

    // Valid until the next change of the store.
    QStringView view(qint64 i) const
    {
        const Span &s = m_spans[static_cast<size_t>(i)];
        return QStringView(m_text).mid(static_cast<qsizetype>(s.offset), static_cast<qsizetype>(s.length));
    }
    QString at(qint64 i) const { return view(i).toString(); }

    void clear();
    void reserve(qint64 entries, qint64 characters);
    void append(QStringView entry);
    void insert(qint64 i, QStringView entry);
    void replace(qint64 i, QStringView entry);
    void remove(qint64 i);

    // The bulk edits of the tools. Each is one pass over the store whatever the number
    // of entries it touches: removing entries one by one moves every later entry each
    // time, which is quadratic on the ticked entries of a million-line list.
    // Removes the marked entries; returns how many went.
    qint64 removeMarked();
    // Removes the entries at `indexes` (any order; repeats and indexes out of range are
    // ignored); returns how many went.
    qint64 removeIndexes(const std::vector<qint64> &indexes);
    // Sets the text of each listed entry; marks stay. Indexes must be in range.
    void replaceMany(const std::vector<std::pair<qint64, QString>> &replacements);
    // Offers every entry in order to `rewrite`, which returns the new text or nothing to
    // keep the entry as it is; marks stay. Returns how many entries were rewritten.
    qint64 rewriteAll(const std::function<std::optional<QString>(qint64 index, QStringView entry)> &rewrite);

    bool isMarked(qint64 i) const { return m_marks[static_cast<size_t>(i)] != 0; }
    void setMarked(qint64 i, bool marked);
    qint64 markedCount() const { return m_markedCount; }
    void clearMarks();
    // Every mark set, or every mark flipped; one pass either way.
    void markAll();
    void invertMarks();

    // Puts the entries in the order `order` gives (entry k becomes the old entry
    // order[k]; a permutation of all entries) without moving their text, and clears
    // the marks. `keepGoing(k)` is asked before each entry; when it says no, the
    // entries not placed yet follow in their old order and the result is false.
    bool reorder(const std::vector<quint32> &order, const std::function<bool(qint64 placed)> &keepGoing);

    // Stable sort of the entries (with their marks) by `less` on their texts.
    void sort(const std::function<bool(QStringView, QStringView)> &less);

    bool operator==(const EntryStore &other) const;

private:
    struct Span {
        quint64 offset;
        quint32 length;
    };

    Span store(QStringView entry);
    // Keeps the entries whose `keep[i]` is set, in order.
    qint64 keepOnly(const std::vector<char> &keep);
    void compactIfWasteful();

    QString m_text;
    std::vector<Span> m_spans;
    std::vector<char> m_marks;
    qint64 m_markedCount = 0;
    qint64 m_garbage = 0;
};

} // namespace lexaloom
