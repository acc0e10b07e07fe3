#pragma once

#include <QCoreApplication>
#include <QString>

#include <algorithm>
#include <cstdio>

#include "core/shell/ui.h"

namespace lexaloom::bench {

struct BenchUiOptions {
    bool answer = true;        // every question's answer
    bool printMessages = true; // messages go to standard error
    bool pumpEvents = false;   // processEvents() runs the Qt event loop (needs a QCoreApplication)
};

// The Ui every bench runs its tasks with: answers each question the same way,
// keeps the status, returns `savePath` from the save dialog, and measures the
// longest gap between two event checks, which is how long Escape would wait.
class BenchUi final : public Ui {
public:
    explicit BenchUi(BenchUiOptions options = {})
        : m_options(options)
    {
    }

    QString savePath;
    qint64 longestGapMs = 0;
    qint64 pumps = 0;

    void showMessage(const QString &, const QString &text, MessageIcon) override
    {
        if (m_options.printMessages)
            std::fprintf(stderr, "%s\n", qPrintable(text));
    }
    bool askYesNo(const QString &, const QString &, MessageIcon) override { return m_options.answer; }
    QString askOpenPath(const QString &, const QString &, const QString &) override { return {}; }
    QString askSavePath(const QString &, const QString &, const QString &) override { return savePath; }
    void setStatusText(const QString &text) override { m_status = text; }
    QString statusText() const override { return m_status; }
    void setProgressRange(qint64, qint64) override {}
    void setProgressValue(qint64) override {}
    void setClipboardText(const QString &) override {}
    QString clipboardText() const override { return {}; }
    void openUrl(const QString &) override {}
    void processEvents() override
    {
        const qint64 now = m_clock.monotonicMs();
        longestGapMs = std::max(longestGapMs, now - m_lastPump);
        m_lastPump = now;
        ++pumps;
        if (m_options.pumpEvents)
            QCoreApplication::processEvents();
    }
    bool takeAbortRequest() override { return false; }
    void pause(int) override {}
    const Clock &clock() const override { return m_clock; }

    // Starts a measured run: the first gap counts from now.
    void reset()
    {
        m_lastPump = m_clock.monotonicMs();
        longestGapMs = 0;
        pumps = 0;
    }
    // Ends it: the time since the last check is a gap too.
    void finish() { longestGapMs = std::max(longestGapMs, m_clock.monotonicMs() - m_lastPump); }

private:
    BenchUiOptions m_options;
    QString m_status;
    SystemClock m_clock;
    qint64 m_lastPump = m_clock.monotonicMs();
};

} // namespace lexaloom::bench
