#include "core/shell/format.h"

namespace lexaloom {

QString FormatCount(qint64 n, const QString &separator)
{
    const bool negative = n < 0;
    // Work on the digits of |n| as text so that the minimum value needs no special case.
    QString digits = QString::number(n);
    if (negative)
        digits.remove(0, 1);
    if (!separator.isEmpty()) {
        for (qsizetype i = digits.size() - 3; i > 0; i -= 3)
            digits.insert(i, separator);
    }
    return negative ? QLatin1Char('-') + digits : digits;
}

QString FormatElapsed(const QString &prefix, qint64 ms)
{
    const qint64 days = ms / 86400000;
    const qint64 seconds = ms / 1000 - days * 86400;
    const auto two = [](qint64 v) { return QStringLiteral("%1").arg(v, 2, 10, QLatin1Char('0')); };
    QString text = QString::number(days) + QLatin1Char('d') + two(seconds / 3600) + QLatin1Char('h')
                   + two(seconds / 60 % 60) + QLatin1Char('m') + two(seconds % 60) + QLatin1Char('s');
    if (text.startsWith(QLatin1String("0d00h")))
        text = text.mid(5, 6);
    else if (text.startsWith(QLatin1String("0d")))
        text = text.mid(2);
    return prefix + text;
}

QString FormatPercent(qint64 done, qint64 total)
{
    const double p = static_cast<double>(done) * 100.0 / static_cast<double>(total);
    QString text = QString::number(p, 'f', 2);
    if (text.endsWith(QLatin1String(".00")))
        text.chop(3);
    return QStringLiteral(" (") + text + QStringLiteral("%)");
}

QString FormatFileSize(const QString &prefix, qint64 bytes, bool bracketed)
{
    QString number;
    const auto scaled = [bytes](double unit) {
        // Single precision on purpose: it decides how halves round in the one decimal shown.
        const float q = static_cast<float>(static_cast<double>(bytes) / unit);
        return QString::number(static_cast<double>(q), 'f', 1);
    };
    if (bytes <= 1023)
        number = QString::number(bytes) + QStringLiteral(" bytes");
    else if (bytes <= 1048575)
        number = scaled(1024.0) + QStringLiteral(" kB");
    else if (bytes <= 1073741823)
        number = scaled(1048576.0) + QStringLiteral(" MB");
    else
        number = scaled(1073741824.0) + QStringLiteral(" GB");
    const QString text = prefix + number;
    return bracketed ? QLatin1Char('(') + text + QLatin1Char(')') : text;
}

} // namespace lexaloom
