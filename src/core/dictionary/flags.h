#pragma once

#include <QString>
#include <QStringView>

namespace lexaloom {

// How a flag string is cut into flags: one character per flag (a surrogate pair
// is one flag; a byte that is not UTF-8, read as a lone surrogate, is one flag
// too), two UTF-16 units per flag ("FLAG long"), or decimal numbers separated by
// commas ("FLAG num").
enum class FlagMode { Single = 1, Long = 2, Numeric = 3 };

// Number of flags in `flags`. In numeric mode an empty string counts as one flag,
// so callers test for the empty string first.
int FlagCount(FlagMode mode, QStringView flags);

// The n-th flag, counting from 1; empty when n is out of range. In long mode a
// trailing odd unit is a flag of its own.
QStringView GetFlag(FlagMode mode, QStringView flags, int n);

// Walks the flags of a string in order without indexing from the start each time.
class FlagSplitter final {
public:
    FlagSplitter(FlagMode mode, QStringView flags)
        : m_mode(mode)
        , m_flags(flags)
    {
    }

    // False once every flag has been returned.
    bool next(QStringView &flag);

private:
    FlagMode m_mode;
    QStringView m_flags;
    qsizetype m_pos = 0;
    bool m_done = false;
};

// True when one of the flags of `flags` equals `flag` (an empty `flag` never matches).
bool FlagStringContains(FlagMode mode, QStringView flags, QStringView flag);

} // namespace lexaloom
