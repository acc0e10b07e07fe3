#pragma once

#include <QElapsedTimer>
#include <QString>

namespace lexaloom::cli {

// Times one step of a command in wall and CPU milliseconds: on a busy machine the
// wall time alone says little.
class Stopwatch final {
public:
    Stopwatch();
    void restart();
    qint64 wallMs() const;
    qint64 cpuMs() const;
    // "1234 (cpu 1200)"
    QString text() const;

private:
    QElapsedTimer m_timer;
    qint64 m_cpuStart = 0;
};

} // namespace lexaloom::cli
