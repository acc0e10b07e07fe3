#include "core/autocorrect/derived_word_set.h"

#include <QByteArrayView>
#include <QHash>

#include <cstring>

namespace lexaloom {

namespace {

constexpr size_t initialSlots = 1 << 10;
constexpr quint32 noRef = 0xFFFFFFFFu;

// One to three bytes per UTF-16 unit: UTF-8 for the units of the basic plane, and
// each surrogate on its own, so that any QString, raw bytes of the lossless codec
// included, has its own byte string.
void encodeUnits(QStringView word, std::string &out)
{
    out.clear();
    for (const QChar c : word) {
        const char16_t u = c.unicode();
        if (u < 0x80) {
            out.push_back(char(u));
        } else if (u < 0x800) {
            out.push_back(char(0xC0 | (u >> 6)));
            out.push_back(char(0x80 | (u & 0x3F)));
        } else {
            out.push_back(char(0xE0 | (u >> 12)));
            out.push_back(char(0x80 | ((u >> 6) & 0x3F)));
            out.push_back(char(0x80 | (u & 0x3F)));
        }
    }
}

size_t hashOf(std::string_view bytes)
{
    return qHash(QByteArrayView(bytes.data(), qsizetype(bytes.size())), 0);
}

// A length below 255 takes one byte; a longer one 255 and four bytes.
size_t headerSize(size_t length)
{
    return length < 255 ? 1 : 5;
}

} // namespace

DerivedWordSet::DerivedWordSet()
{
    clear();
}

void DerivedWordSet::clear()
{
    m_blocks.clear();
    m_used = blockSize;
    m_slots.assign(initialSlots, 0);
    m_slots.shrink_to_fit();
    m_mask = initialSlots - 1;
    m_size = 0;
    m_blockBytes = 0;
    m_full = false;
}

std::string_view DerivedWordSet::stored(quint32 ref) const
{
    const unsigned char *p =
        reinterpret_cast<const unsigned char *>(m_blocks[ref >> blockBits].get()) + (ref & (blockSize - 1));
    if (p[0] < 255)
        return {reinterpret_cast<const char *>(p + 1), p[0]};
    quint32 length = 0;
    std::memcpy(&length, p + 1, sizeof length);
    return {reinterpret_cast<const char *>(p + 5), length};
}

size_t DerivedWordSet::findSlot(std::string_view bytes, size_t hash) const
{
    for (size_t slot = hash & m_mask;; slot = (slot + 1) & m_mask) {
        const quint32 held = m_slots[slot];
        if (held == 0 || stored(held - 1) == bytes)
            return slot;
    }
}

bool DerivedWordSet::contains(QStringView word) const
{
    encodeUnits(word, m_scratch);
    return m_slots[findSlot(m_scratch, hashOf(m_scratch))] != 0;
}

bool DerivedWordSet::store(std::string_view bytes, quint32 &ref)
{
    const size_t record = headerSize(bytes.size()) + bytes.size();
    if (record > blockSize - m_used) {
        // A new block; a word longer than a block gets one of its own, and the
        // references it spans are left unused so the addressing stays one shift.
        const size_t spanned = (record + blockSize - 1) / blockSize;
        if ((m_blocks.size() + spanned) << blockBits > size_t(noRef)) {
            m_full = true;
            return false;
        }
        m_blocks.emplace_back(new char[spanned * blockSize]);
        for (size_t i = 1; i < spanned; ++i)
            m_blocks.emplace_back();
        m_blockBytes += qint64(spanned * blockSize);
        m_used = spanned > 1 ? blockSize : 0;
        if (spanned > 1) {
            ref = quint32((m_blocks.size() - spanned) << blockBits);
            char *p = m_blocks[m_blocks.size() - spanned].get();
            p[0] = char(255);
            const quint32 length = quint32(bytes.size());
            std::memcpy(p + 1, &length, sizeof length);
            std::memcpy(p + 5, bytes.data(), bytes.size());
            return true;
        }
    }
    ref = quint32(((m_blocks.size() - 1) << blockBits) | m_used);
    char *p = m_blocks.back().get() + m_used;
    if (bytes.size() < 255) {
        p[0] = char(bytes.size());
        std::memcpy(p + 1, bytes.data(), bytes.size());
    } else {
        p[0] = char(255);
        const quint32 length = quint32(bytes.size());
        std::memcpy(p + 1, &length, sizeof length);
        std::memcpy(p + 5, bytes.data(), bytes.size());
    }
    m_used += quint32(record);
    return true;
}

bool DerivedWordSet::insert(QStringView word)
{
    encodeUnits(word, m_scratch);
    const size_t hash = hashOf(m_scratch);
    const size_t slot = findSlot(m_scratch, hash);
    if (m_slots[slot] != 0)
        return false;
    quint32 ref = 0;
    if (!store(m_scratch, ref))
        return false;
    m_slots[slot] = ref + 1;
    ++m_size;
    // Grown at 70% full: linear probing stays short, and the table costs about 8 bytes a word.
    if (size_t(m_size) * 10 > m_slots.size() * 7)
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
        size_t slot = hashOf(stored(held - 1)) & m_mask;
        while (m_slots[slot] != 0)
            slot = (slot + 1) & m_mask;
        m_slots[slot] = held;
    }
}

qint64 DerivedWordSet::memoryBytes() const
{
    return m_blockBytes + qint64(m_slots.capacity() * sizeof(quint32));
}

} // namespace lexaloom
