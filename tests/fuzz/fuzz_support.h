#pragma once

#include "core/shell/ui.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

// What the fuzz targets share: a Ui that answers every question with Yes (so a
// reader goes as deep as a user could take it), a scratch folder per process and
// the split of one input into the files a reader needs.
namespace lexaloom::fuzz {

// A clock that moves on at every look, so the long loops tick and show progress.
class SteppingClock final : public Clock {
public:
    qint64 monotonicMs() const override { return m_ms += 250; }
    qint64 localEpochSeconds() const override { return 1705449601; }

private:
    mutable qint64 m_ms = 0;
};

class FuzzUi final : public Ui {
public:
    QString openPath; // what every open dialog returns

    void showMessage(const QString &, const QString &, MessageIcon) override {}
    bool askYesNo(const QString &, const QString &, MessageIcon) override { return true; }
    QString askOpenPath(const QString &, const QString &, const QString &) override { return openPath; }
    QString askSavePath(const QString &, const QString &, const QString &) override { return QString(); }
    void setStatusText(const QString &text) override { m_status = text; }
    QString statusText() const override { return m_status; }
    void setProgressRange(qint64, qint64) override {}
    void setProgressValue(qint64) override {}
    void setClipboardText(const QString &text) override { m_clipboard = text; }
    QString clipboardText() const override { return m_clipboard; }
    void openUrl(const QString &) override {}
    void processEvents() override {}
    bool takeAbortRequest() override { return false; }
    void pause(int) override {}
    const Clock &clock() const override { return m_clock; }

private:
    QString m_status;
    QString m_clipboard;
    SteppingClock m_clock;
};

// A broken promise of the code under test: says which, then crashes so that
// libFuzzer keeps the input.
[[noreturn]] inline void fail(const char *what)
{
    std::fprintf(stderr, "==fuzz== %s\n", what);
    __builtin_trap();
}

// One scratch folder per process for the readers that take paths, in memory when
// /dev/shm exists since every input is written there. A run that crashed cannot
// clean up, so each start removes the folders of processes that are gone.
inline const QString &scratchFolder()
{
    struct Folder {
        QString path;
        ~Folder() { QDir(path).removeRecursively(); }
    };
    static const Folder folder = [] {
        const QString base = QFile::exists(QStringLiteral("/dev/shm")) ? QStringLiteral("/dev/shm") : QDir::tempPath();
        const QString prefix = QStringLiteral("lexaloom-fuzz-");
        const QStringList stale = QDir(base).entryList({prefix + QLatin1Char('*')}, QDir::Dirs);
        for (const QString &name : stale) {
            if (!QFile::exists(QStringLiteral("/proc/") + name.mid(prefix.size())))
                QDir(base + QLatin1Char('/') + name).removeRecursively();
        }
        const QString own = base + QLatin1Char('/') + prefix + QString::number(QCoreApplication::applicationPid());
        if (!QDir().mkpath(own))
            std::abort();
        return Folder{own + QLatin1Char('/')};
    }();
    return folder.path;
}

inline void writeFile(const QString &path, QByteArrayView bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(bytes.data(), bytes.size()) != bytes.size())
        std::abort(); // the harness, not the code under test, failed
}

// An input holding two files: the bytes before the first line that reads exactly
// `marker`, and those after it. Without the marker everything is the first part.
struct SplitInput {
    QByteArrayView first;
    QByteArrayView second;
    bool hasSecond = false;
};

inline SplitInput splitAt(QByteArrayView data, QByteArrayView marker)
{
    qsizetype from = 0;
    for (;;) {
        const qsizetype at = data.indexOf(marker, from);
        if (at < 0)
            return {data, {}, false};
        const qsizetype end = at + marker.size();
        const bool lineStart = at == 0 || data[at - 1] == '\n';
        const bool lineEnd = end == data.size() || data[end] == '\n';
        if (lineStart && lineEnd) {
            const qsizetype next = std::min(end + 1, data.size());
            return {data.first(at), data.sliced(next), true};
        }
        from = at + 1;
    }
}

inline QByteArrayView bytesOf(const uint8_t *data, size_t size)
{
    return QByteArrayView(reinterpret_cast<const char *>(data), qsizetype(size));
}

} // namespace lexaloom::fuzz
