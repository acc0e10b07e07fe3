#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include "fuzz_support.h"

// Size-driven faults (a reader that is quadratic, or holds a copy per repetition) only
// show on inputs far larger than a mutator makes. The sized targets therefore read a
// small description of a large file: its first byte gives the number of repetitions,
// 2 to the power (byte % 25); the bytes up to a line "#repeat" are written once, those
// from there to a line "#end" (or to the input's end) that many times, the rest once.
// The line ends just before the lines "#repeat" and "#end" are not part of the file, so
// that a repeated part can sit inside a line; whole lines are followed by an empty one. Without "#repeat" the whole
// description is repeated.
namespace lexaloom::fuzz {

// The largest file a description makes: large enough for a quadratic reader to pass
// libFuzzer's time limit, small enough for a linear one to stay well inside it.
inline constexpr qsizetype sizedFileLimit = qsizetype(16) << 20;

inline QByteArray expandSized(QByteArrayView description, qsizetype limit = sizedFileLimit)
{
    if (description.isEmpty())
        return {};
    const qint64 repetitions = qint64(1) << (quint8(description[0]) % 25);
    const QByteArrayView rest = description.sliced(1);
    QByteArrayView head;
    QByteArrayView body = rest;
    QByteArrayView tail;
    const SplitInput atRepeat = splitAt(rest, "#repeat");
    if (atRepeat.hasSecond) {
        head = atRepeat.first;
        if (head.endsWith('\n'))
            head.chop(1);
        const SplitInput atEnd = splitAt(atRepeat.second, "#end");
        body = atEnd.first;
        tail = atEnd.second;
        if (body.endsWith('\n'))
            body.chop(1);
    }
    QByteArray file;
    file.reserve(std::min<qint64>(limit, head.size() + tail.size() + repetitions * body.size()));
    file += head;
    for (qint64 i = 0; i < repetitions && !body.isEmpty() && file.size() + body.size() <= limit - tail.size(); ++i)
        file += body;
    file += tail.first(std::min(tail.size(), std::max<qsizetype>(0, limit - file.size())));
    return file;
}

} // namespace lexaloom::fuzz
