#pragma once

#include <QString>
#include <QtGlobal>

namespace lexaloom {

// Integer with `separator` every three digits from the right; the minus sign
// stays attached to the digits.
QString FormatCount(qint64 n, const QString &separator);

// prefix + "1d02h03m04s", shortened to "03m04s" under an hour and "02h03m04s" under a day.
QString FormatElapsed(const QString &prefix, qint64 ms);

// " (33.33%)", or " (50%)" when the two decimals are zero. total must be > 0.
QString FormatPercent(qint64 done, qint64 total);

// "1023 bytes", "1.0 kB", "1.0 MB", "1.0 GB" with `prefix` before the number,
// optionally enclosed in brackets: "(dic:1.0 kB)".
QString FormatFileSize(const QString &prefix, qint64 bytes, bool bracketed);

} // namespace lexaloom
