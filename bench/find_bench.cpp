// Times Find over a real .dic, as the Find window runs it: one LongTask poll per
// entry with real event pumping, and reports how long the longest stretch without
// an event pump was (how late an Escape could be noticed).

#include "app/find_target.h"
#include "app/workbench.h"
#include "shell/find.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTextStream>

#include <algorithm>
#include <cstdio>

using namespace lexaloom;

namespace {

// A Ui with the real clock that answers every question No and measures the gaps
// between event pumps.
class BenchUi final : public Ui {
public:
    void showMessage(const QString &, const QString &, MessageIcon) override {}
    bool askYesNo(const QString &, const QString &, MessageIcon) override { return false; }
    QString askOpenPath(const QString &, const QString &, const QString &) override { return {}; }
    QString askSavePath(const QString &, const QString &, const QString &) override { return {}; }
    void setStatusText(const QString &text) override { m_status = text; }
    QString statusText() const override { return m_status; }
    void setProgressRange(qint64, qint64) override {}
    void setProgressValue(qint64) override { ++progressWrites; }
    void setClipboardText(const QString &) override {}
    QString clipboardText() const override { return {}; }
    void openUrl(const QString &) override {}
    void processEvents() override
    {
        const qint64 now = m_clock.monotonicMs();
        if (m_lastPump >= 0)
            longestGapMs = std::max(longestGapMs, now - m_lastPump);
        m_lastPump = now;
        ++pumps;
        QCoreApplication::processEvents();
    }
    bool takeAbortRequest() override { return false; }
    void pause(int) override {}
    const Clock &clock() const override { return m_clock; }

    void reset()
    {
        m_lastPump = -1;
        longestGapMs = 0;
        pumps = 0;
        progressWrites = 0;
    }

    qint64 longestGapMs = 0;
    qint64 pumps = 0;
    qint64 progressWrites = 0;

private:
    SystemClock m_clock;
    QString m_status;
    qint64 m_lastPump = -1;
};

// Line by line: the count line skipped, the tags after the first tab kept after "\n".
bool loadDic(const QString &path, int copies, EntryStore &entries)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return false;
    QStringList lines;
    QTextStream in(&file);
    bool first = true;
    QString line;
    while (in.readLineInto(&line)) {
        if (first) {
            first = false;
            if (line.startsWith(QChar(0xFEFF)))
                line.remove(0, 1);
            bool isNumber = false;
            line.trimmed().toLongLong(&isNumber);
            if (isNumber)
                continue;
        }
        const qsizetype tab = line.indexOf(QLatin1Char('\t'));
        if (tab >= 0)
            line[tab] = QLatin1Char('\n');
        lines.append(line);
    }
    for (int c = 0; c < copies; ++c) {
        for (const QString &l : lines)
            entries.append(l);
    }
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: find_bench FILE.dic [COPIES]\n");
        return 2;
    }
    const int copies = args.size() > 2 ? std::max(1, args[2].toInt()) : 1;

    Workbench workbench;
    QElapsedTimer load;
    load.start();
    if (!loadDic(args[1], copies, workbench.dictionary.entries)) {
        std::fprintf(stderr, "find_bench: cannot read %s\n", qPrintable(args[1]));
        return 1;
    }
    std::printf("%s x%d: %lld entries loaded in %lld ms\n", qPrintable(args[1]), copies,
                static_cast<long long>(workbench.dictionary.entries.size()), static_cast<long long>(load.elapsed()));

    const struct {
        const char *text;
        bool leftMatch, matchCase, matchExtra;
    } runs[] = {
        {"cat", true, false, true},     {"cat", false, false, true},   {"Cat", true, true, false},
        {"Noun", true, false, true},    {"noun", false, false, false}, {"e", false, false, true},
        {"zzzzqx", false, false, true},
    };
    std::printf("%-8s %-5s %-5s %-5s %10s %9s %8s %10s\n", "search", "left", "case", "extra", "found", "ms", "pumps",
                "max gap ms");
    BenchUi ui;
    FindSession session(*FindTargetFor(workbench, DocumentKind::Dictionary), workbench.findMemory, workbench.settings);
    for (const auto &r : runs) {
        workbench.findMemory.leftMatch = r.leftMatch;
        workbench.findMemory.matchCase = r.matchCase;
        workbench.findMemory.matchExtra = r.matchExtra;
        ui.reset();
        QElapsedTimer timer;
        timer.start();
        session.search(ui, QString::fromUtf8(r.text));
        const qint64 ms = timer.elapsed();
        std::printf("%-8s %-5s %-5s %-5s %10lld %9lld %8lld %10lld\n", r.text, r.leftMatch ? "on" : "off",
                    r.matchCase ? "on" : "off", r.matchExtra ? "on" : "off",
                    static_cast<long long>(session.rows().size()), static_cast<long long>(ms),
                    static_cast<long long>(ui.pumps), static_cast<long long>(ui.longestGapMs));
    }
    return 0;
}
