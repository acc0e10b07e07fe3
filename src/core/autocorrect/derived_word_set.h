#pragma once

#include <QStringView>

#include <memory>
#include <string>
#include <vector>

#include "core/dictionary/derive_word.h"

namespace lexaloom {

// The forms of a whole dictionary as a set, for "is this correction a word?". A real
// dictionary expands to a million forms and more, so a set of strings (a heap block
// and a node per form) would take many times the forms' own size. Here each distinct
// form is stored once as its length and its units in 8-bit form (UTF-8, surrogates
// encoded unit by unit) in 1 MB blocks that are never moved, and the open-addressing
// table holds 32-bit references: about the size of the forms as a text file, plus four
// to eight bytes a form for the table.
class DerivedWordSet final {
public:
    DerivedWordSet();

    // True when the word was new. False also once the set is full (4 GB of text), which
    // full() then tells.
    bool insert(QStringView word);
    bool contains(QStringView word) const;
    qsizetype size() const { return m_size; }
    bool full() const { return m_full; }
    void clear();
    // Bytes held by the blocks and the table, for the benchmark's memory figure.
    qint64 memoryBytes() const;

private:
    static constexpr quint32 blockBits = 20;
    static constexpr quint32 blockSize = quint32(1) << blockBits;

    // The stored bytes of the word at `ref`.
    std::string_view stored(quint32 ref) const;
    // The slot holding `bytes`, or the empty slot where they would go.
    size_t findSlot(std::string_view bytes, size_t hash) const;
    void grow();
    bool store(std::string_view bytes, quint32 &ref);

    std::vector<std::unique_ptr<char[]>> m_blocks; // null for the tail of an oversized word's block
    quint32 m_used = blockSize;                    // bytes used in the last block
    std::vector<quint32> m_slots;                  // ref + 1; 0 is an empty slot
    size_t m_mask = 0;
    qsizetype m_size = 0;
    qint64 m_blockBytes = 0;
    bool m_full = false;
    mutable std::string m_scratch;
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
