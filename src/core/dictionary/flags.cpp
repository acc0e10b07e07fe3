#include "dictionary/flags.h"

namespace lexaloom {

int FlagCount(FlagMode mode, QStringView flags)
{
    switch (mode) {
    case FlagMode::Single:
        return int(flags.size());
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
    case FlagMode::Single:
        return n <= flags.size() ? flags.mid(n - 1, 1) : QStringView();
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
        const qsizetype width = m_mode == FlagMode::Single ? 1 : 2;
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
