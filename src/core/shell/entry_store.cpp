#include "core/shell/entry_store.h"

#include <algorithm>
#include <numeric>

namespace lexaloom {

void EntryStore::clear()
{
    m_text.clear();
    m_spans.clear();
    m_marks.clear();
    m_markedCount = 0;
    m_garbage = 0;
}

void EntryStore::reserve(qint64 entries, qint64 characters)
{
    m_spans.reserve(static_cast<size_t>(entries));
    m_marks.reserve(static_cast<size_t>(entries));
    m_text.reserve(static_cast<qsizetype>(characters));
}

EntryStore::Span EntryStore::store(QStringView entry)
{
    const Span s{static_cast<quint64>(m_text.size()), static_cast<quint32>(entry.size())};
    m_text.append(entry);
    return s;
}

void EntryStore::append(QStringView entry)
{
    m_spans.push_back(store(entry));
    m_marks.push_back(0);
}

void EntryStore::insert(qint64 i, QStringView entry)
{
    const Span s = store(entry);
    m_spans.insert(m_spans.begin() + i, s);
    m_marks.insert(m_marks.begin() + i, 0);
}

void EntryStore::replace(qint64 i, QStringView entry)
{
    m_garbage += m_spans[static_cast<size_t>(i)].length;
    m_spans[static_cast<size_t>(i)] = store(entry);
    compactIfWasteful();
}

void EntryStore::remove(qint64 i)
{
    m_garbage += m_spans[static_cast<size_t>(i)].length;
    if (m_marks[static_cast<size_t>(i)])
        --m_markedCount;
    m_spans.erase(m_spans.begin() + i);
    m_marks.erase(m_marks.begin() + i);
    compactIfWasteful();
}

qint64 EntryStore::removeMarked()
{
    if (m_markedCount == 0)
        return 0;
    std::vector<char> keep(m_marks.size());
    std::transform(m_marks.begin(), m_marks.end(), keep.begin(), [](char m) { return m ? 0 : 1; });
    return keepOnly(keep);
}

qint64 EntryStore::removeIndexes(const std::vector<qint64> &indexes)
{
    std::vector<char> keep(m_spans.size(), 1);
    for (qint64 i : indexes) {
        if (i >= 0 && i < size())
            keep[static_cast<size_t>(i)] = 0;
    }
    return keepOnly(keep);
}

qint64 EntryStore::keepOnly(const std::vector<char> &keep)
{
    size_t kept = 0;
    for (size_t i = 0; i < m_spans.size(); ++i) {
        if (!keep[i]) {
            m_garbage += m_spans[i].length;
            if (m_marks[i])
                --m_markedCount;
            continue;
        }
        m_spans[kept] = m_spans[i];
        m_marks[kept] = m_marks[i];
        ++kept;
    }
    const qint64 removed = static_cast<qint64>(m_spans.size() - kept);
    m_spans.resize(kept);
    m_marks.resize(kept);
    compactIfWasteful();
    return removed;
}

void EntryStore::replaceMany(const std::vector<std::pair<qint64, QString>> &replacements)
{
    for (const auto &[i, entry] : replacements) {
        m_garbage += m_spans[static_cast<size_t>(i)].length;
        m_spans[static_cast<size_t>(i)] = store(entry);
    }
    compactIfWasteful();
}

qint64 EntryStore::rewriteAll(const std::function<std::optional<QString>(qint64, QStringView)> &rewrite)
{
    // Written straight into a new buffer, so the old one is dropped whole instead of
    // collecting garbage.
    QString text;
    text.reserve(m_text.size() - m_garbage);
    qint64 rewritten = 0;
    for (size_t i = 0; i < m_spans.size(); ++i) {
        Span &s = m_spans[i];
        const QStringView old =
            QStringView(m_text).mid(static_cast<qsizetype>(s.offset), static_cast<qsizetype>(s.length));
        const std::optional<QString> entry = rewrite(static_cast<qint64>(i), old);
        const QStringView kept = entry ? QStringView(*entry) : old;
        s = {static_cast<quint64>(text.size()), static_cast<quint32>(kept.size())};
        text.append(kept);
        if (entry)
            ++rewritten;
    }
    m_text.swap(text);
    m_garbage = 0;
    return rewritten;
}

void EntryStore::setMarked(qint64 i, bool marked)
{
    char &m = m_marks[static_cast<size_t>(i)];
    if ((m != 0) == marked)
        return;
    m = marked ? 1 : 0;
    m_markedCount += marked ? 1 : -1;
}

void EntryStore::clearMarks()
{
    std::fill(m_marks.begin(), m_marks.end(), 0);
    m_markedCount = 0;
}

void EntryStore::markAll()
{
    std::fill(m_marks.begin(), m_marks.end(), 1);
    m_markedCount = size();
}

void EntryStore::invertMarks()
{
    for (char &m : m_marks)
        m = m != 0 ? 0 : 1;
    m_markedCount = size() - m_markedCount;
}

bool EntryStore::reorder(const std::vector<quint32> &order, const std::function<bool(qint64)> &keepGoing)
{
    const size_t n = m_spans.size();
    std::vector<Span> spans;
    spans.reserve(n);
    bool complete = true;
    for (size_t k = 0; k < n; ++k) {
        if (!keepGoing(static_cast<qint64>(k))) {
            complete = false;
            std::vector<char> placed(n, 0);
            for (size_t j = 0; j < k; ++j)
                placed[order[j]] = 1;
            for (size_t j = 0; j < n; ++j) {
                if (!placed[j])
                    spans.push_back(m_spans[j]);
            }
            break;
        }
        spans.push_back(m_spans[order[k]]);
    }
    m_spans.swap(spans);
    clearMarks();
    return complete;
}

void EntryStore::sort(const std::function<bool(QStringView, QStringView)> &less)
{
    std::vector<size_t> order(m_spans.size());
    std::iota(order.begin(), order.end(), size_t{0});
    const auto textOf = [this](size_t i) {
        return QStringView(m_text).mid(static_cast<qsizetype>(m_spans[i].offset),
                                       static_cast<qsizetype>(m_spans[i].length));
    };
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return less(textOf(a), textOf(b)); });
    std::vector<Span> spans(order.size());
    std::vector<char> marks(order.size());
    for (size_t k = 0; k < order.size(); ++k) {
        spans[k] = m_spans[order[k]];
        marks[k] = m_marks[order[k]];
    }
    m_spans.swap(spans);
    m_marks.swap(marks);
}

bool EntryStore::operator==(const EntryStore &other) const
{
    if (size() != other.size() || m_marks != other.m_marks)
        return false;
    for (qint64 i = 0; i < size(); ++i) {
        if (view(i) != other.view(i))
            return false;
    }
    return true;
}

void EntryStore::compactIfWasteful()
{
    if (m_garbage < 1 << 16 || m_garbage * 2 < m_text.size())
        return;
    QString text;
    text.reserve(m_text.size() - m_garbage);
    for (Span &s : m_spans) {
        const quint64 offset = static_cast<quint64>(text.size());
        text.append(QStringView(m_text).mid(static_cast<qsizetype>(s.offset), static_cast<qsizetype>(s.length)));
        s.offset = offset;
    }
    m_text.swap(text);
    m_garbage = 0;
}

} // namespace lexaloom
