#include "autocorrect/derived_word_set.h"

#include <QHash>

namespace lexaloom {

namespace {

constexpr size_t initialSlots = 1 << 10;

size_t hashOf(QStringView word)
{
    return qHash(word, 0);
}

} // namespace

DerivedWordSet::DerivedWordSet()
{
    clear();
}

void DerivedWordSet::clear()
{
    m_text.clear();
    m_offsets.assign(1, 0);
    m_slots.assign(initialSlots, 0);
    m_mask = initialSlots - 1;
}

QStringView DerivedWordSet::word(quint32 number) const
{
    const quint32 start = m_offsets[number];
    return QStringView(m_text.data() + start, qsizetype(m_offsets[number + 1] - start));
}

size_t DerivedWordSet::findSlot(QStringView word, size_t hash) const
{
    for (size_t slot = hash & m_mask;; slot = (slot + 1) & m_mask) {
        const quint32 held = m_slots[slot];
        if (held == 0 || this->word(held - 1) == word)
            return slot;
    }
}

bool DerivedWordSet::contains(QStringView word) const
{
    return m_slots[findSlot(word, hashOf(word))] != 0;
}

bool DerivedWordSet::insert(QStringView word)
{
    const size_t hash = hashOf(word);
    size_t slot = findSlot(word, hash);
    if (m_slots[slot] != 0)
        return false;
    m_text.append(reinterpret_cast<const char16_t *>(word.utf16()), size_t(word.size()));
    m_offsets.push_back(quint32(m_text.size()));
    m_slots[slot] = quint32(size());
    // At most half full keeps the probe runs short.
    if (size_t(size()) * 2 > m_slots.size())
        grow();
    return true;
}

void DerivedWordSet::grow()
{
    std::vector<quint32> old;
    old.swap(m_slots);
    m_slots.assign(old.size() * 2, 0);
    m_mask = m_slots.size() - 1;
    for (const quint32 held : old) {
        if (held == 0)
            continue;
        size_t slot = hashOf(word(held - 1)) & m_mask;
        while (m_slots[slot] != 0)
            slot = (slot + 1) & m_mask;
        m_slots[slot] = held;
    }
}

qint64 DerivedWordSet::memoryBytes() const
{
    return qint64(m_text.capacity() * sizeof(char16_t) + m_offsets.capacity() * sizeof(quint32) +
                  m_slots.capacity() * sizeof(quint32));
}

} // namespace lexaloom
