#include "cli/stopwatch.h"

#include <ctime>

namespace lexaloom::cli {

namespace {

qint64 processCpuMs()
{
    return static_cast<qint64>(std::clock()) * 1000 / CLOCKS_PER_SEC;
}

} // namespace

Stopwatch::Stopwatch()
{
    restart();
}

void Stopwatch::restart()
{
    m_timer.start();
    m_cpuStart = processCpuMs();
}

qint64 Stopwatch::wallMs() const
{
    return m_timer.elapsed();
}

qint64 Stopwatch::cpuMs() const
{
    return processCpuMs() - m_cpuStart;
}

QString Stopwatch::text() const
{
    return QString::number(wallMs()) + QStringLiteral(" (cpu ") + QString::number(cpuMs()) + QLatin1Char(')');
}

} // namespace lexaloom::cli
