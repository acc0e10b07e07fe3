#include "core/dictionary/flags.h"

namespace lexaloom {

namespace {

// Units of the character at `pos`: 2 for a surrogate pair, else 1.
inline qsizetype charWidth(QStringView flags, qsizetype pos)
{
    return QChar::isHighSurrogate(flags[pos].unicode()) && pos + 1 < flags.size() &&
                   QChar::isLowSurrogate(flags[pos + 1].unicode())
               ? 2
               : 1;
}

} // namespace

int FlagCount(FlagMode mode, QStringView flags)
{
    switch (mode) {
    case FlagMode::Single: {
        int n = 0;
        for (qsizetype i = 0; i < flags.size(); i += charWidth(flags, i))
            ++n;
        return n;
    }
    case FlagMode::Long:
        return int((flags.size() + 1) / 2);
    case FlagMode::Numeric:
        return int(flags.count(u',')) + 1;
    }
    return 0;
}

QStringView GetFlag(FlagMode mode, QStringView flags, int n)
{
    if (n < 1)
        return {};
    switch (mode) {
    case FlagMode::Single: {
        qsizetype i = 0;
        for (int k = 1; k < n && i < flags.size(); ++k)
            i += charWidth(flags, i);
        return i < flags.size() ? flags.mid(i, charWidth(flags, i)) : QStringView();
    }
    case FlagMode::Long: {
        const qsizetype start = qsizetype(n - 1) * 2;
        return start < flags.size() ? flags.mid(start, 2) : QStringView();
    }
    case FlagMode::Numeric: {
        FlagSplitter splitter(mode, flags);
        QStringView flag;
        for (int i = 1; splitter.next(flag); ++i) {
            if (i == n)
                return flag;
        }
        return {};
    }
    }
    return {};
}

bool FlagSplitter::next(QStringView &flag)
{
    if (m_done)
        return false;
    switch (m_mode) {
    case FlagMode::Single:
    case FlagMode::Long: {
        if (m_pos >= m_flags.size()) {
            m_done = true;
            return false;
        }
        const qsizetype width = m_mode == FlagMode::Single ? charWidth(m_flags, m_pos) : 2;
        flag = m_flags.mid(m_pos, width);
        m_pos += width;
        return true;
    }
    case FlagMode::Numeric: {
        const qsizetype comma = m_flags.indexOf(u',', m_pos);
        if (comma < 0) {
            flag = m_flags.mid(m_pos);
            m_done = true;
        } else {
            flag = m_flags.mid(m_pos, comma - m_pos);
            m_pos = comma + 1;
        }
        return true;
    }
    }
    m_done = true;
    return false;
}

bool FlagStringContains(FlagMode mode, QStringView flags, QStringView flag)
{
    if (flag.isEmpty() || flags.isEmpty())
        return false;
    FlagSplitter splitter(mode, flags);
    QStringView f;
    while (splitter.next(f)) {
        if (f == flag)
            return true;
    }
    return false;
}

} // namespace lexaloom
