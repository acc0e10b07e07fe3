#include "core/shell/ui.h"

#include <QDateTime>
#include <QElapsedTimer>

namespace lexaloom {

qint64 SystemClock::monotonicMs() const
{
    // QElapsedTimer reads the monotonic clock; a fixed origin makes values comparable.
    static const QElapsedTimer origin = [] {
        QElapsedTimer t;
        t.start();
        return t;
    }();
    return origin.elapsed();
}

qint64 SystemClock::localEpochSeconds() const
{
    // Seconds since 1970 counted in local time, as the settings store them.
    const QDateTime now = QDateTime::currentDateTime();
    return now.toSecsSinceEpoch() + now.offsetFromUtc();
}

} // namespace lexaloom
