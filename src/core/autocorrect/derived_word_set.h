#pragma once

#include <QStringView>

#include <string>
#include <vector>

#include "dictionary/derive_word.h"

namespace lexaloom {

// The forms of a whole dictionary as a set, for "is this correction a word?". A real
// dictionary expands to millions of forms, so the text lives in one buffer and the
// table holds 32-bit word numbers: a few bytes per form beyond its characters, where a
// set of strings would spend a heap block and a node on each.
class DerivedWordSet final {
public:
    DerivedWordSet();

    // True when the word was new.
    bool insert(QStringView word);
    bool contains(QStringView word) const;
    qsizetype size() const { return qsizetype(m_offsets.size()) - 1; }
    void clear();
    // Bytes held by the buffers, for the benchmark's memory figure.
    qint64 memoryBytes() const;

private:
    QStringView word(quint32 number) const;
    // The slot holding `word`, or the empty slot where it would go.
    size_t findSlot(QStringView word, size_t hash) const;
    void grow();

    std::u16string m_text;
    std::vector<quint32> m_offsets; // word n is m_text[m_offsets[n], m_offsets[n + 1])
    std::vector<quint32> m_slots;   // word number + 1; 0 is an empty slot
    size_t m_mask = 0;
};

// The sink that fills a DerivedWordSet with every form handed over (mode 4 of the
// engine, with the shared list replaced by the set). Counts every form, so the running
// total is the number of forms, repeats included.
class DerivedWordSetSink final : public DerivationSink {
public:
    explicit DerivedWordSetSink(DerivedWordSet &set)
        : m_set(set)
    {
    }
    bool accept(const DerivedWord &form) override
    {
        m_set.insert(form.word);
        return true;
    }

private:
    DerivedWordSet &m_set;
};

} // namespace lexaloom
