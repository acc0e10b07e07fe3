#pragma once

#include <QByteArray>
#include <QSet>
#include <QString>
#include <QStringList>

#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/dictionary/derive_word.h"
#include "core/shell/entry_store.h"

class QIODevice;

namespace lexaloom {

// Buffered UTF-8 output for the extraction files: forms are encoded straight
// into one reused buffer, not through a temporary QByteArray per line.
class Utf8Writer final {
public:
    explicit Utf8Writer(QIODevice &device);
    ~Utf8Writer();
    Utf8Writer(const Utf8Writer &) = delete;
    Utf8Writer &operator=(const Utf8Writer &) = delete;

    void writeByteOrderMark();
    void write(QStringView text);
    // text and a line feed.
    void writeLine(QStringView text);
    // head, tail and a line feed, as bytes. Both must stay readable copyPadding bytes
    // past their ends: they are copied in whole blocks, which for the few bytes of a
    // word is much cheaper than a call to memcpy.
    static constexpr qsizetype copyPadding = 16;
    void writePaddedLine(const char *head, qsizetype headSize, const char *tail, qsizetype tailSize)
    {
        const qsizetype n = headSize + tailSize + 1 + 2 * copyPadding;
        char *out = m_used + n <= m_capacity ? m_data.get() + m_used : room(n);
        out = copyBlocks(out, head, headSize);
        out = copyBlocks(out, tail, tailSize);
        *out++ = '\n';
        commit(out);
    }
    void write(char c);
    // False once a write to the device failed.
    bool flush();
    bool ok() const { return m_ok; }
    // Bytes handed to the writer so far, buffered ones included.
    qint64 size() const { return m_flushed + m_used; }

    static constexpr qsizetype flushSize = 1 << 16;

private:
    static char *copyBlocks(char *out, const char *in, qsizetype size)
    {
        for (qsizetype k = 0; k < size; k += copyPadding)
            std::memcpy(out + k, in + k, copyPadding);
        return out + size;
    }

    // Room for `bytes` more at the end of the buffer, flushing first if need be;
    // commit() takes the end of what was written there.
    char *room(qsizetype bytes);
    void commit(const char *end)
    {
        m_used = end - m_data.get();
        if (m_used >= flushSize)
            flush();
    }

    QIODevice &m_device;
    // Never cleared or zero-filled: only the first m_used bytes count.
    std::unique_ptr<char[]> m_data;
    qsizetype m_capacity;
    qsizetype m_used = 0;
    qint64 m_flushed = 0;
    bool m_ok = true;
};

// Mode 1: the rows of the word editor's derived list, or with compactList the
// rows of the Hyphenation tab's result list.
struct EditorRow {
    QString word;
    DerivedType type = DerivedType::Primary;
    QString flag;
    int position = 0;
    QString rule; // unpadded rule text; empty for the primary form
    QString flagPath;
};

class EditorRowsSink final : public DerivationSink {
public:
    // `stopRequested` pumps the window's events and reports the editor's stop flag.
    explicit EditorRowsSink(bool compactList = false, std::function<bool()> stopRequested = {});

    void begin() override;
    bool accept(const DerivedWord &form) override;
    bool stopRequested() override { return m_stopRequested && m_stopRequested(); }

    const std::vector<EditorRow> &rows() const { return m_rows; }
    void clear() { m_rows.clear(); }
    bool compactList() const { return m_compact; }
    // The texts of a row's columns: "Derived words", "Type", "Flag", "Flag Position",
    // "Rule" (the primary row has its word and "Primary" only); compact rows have
    // the word and the flag ("Code").
    QStringList columns(const EditorRow &row) const;
    // Heading of the first column before a row is added.
    static QString derivedWordsHeading(qsizetype rowCount);

    // Called at the start of each non-compact expansion to empty the tag summaries.
    std::function<void()> onBegin;

private:
    bool m_compact;
    std::function<bool()> m_stopRequested;
    std::vector<EditorRow> m_rows;
};

// Mode 2: lines of an extraction file.
// Accepted: plain lines of the forms a spell checker accepts on their own.
enum class FileLineFormat { Plain, Csv, Compounds, Accepted };

class FileLinesSink final : public DerivationSink {
public:
    // maxRuleCount sets the width of the CSV rule numbers; lineSuffix follows
    // each compound form.
    FileLinesSink(Utf8Writer &out, FileLineFormat format, int maxRuleCount, QString lineSuffix = {});

    bool accept(const DerivedWord &form) override;
    bool acceptWord(QStringView word) override;
    Utf8Writer *lineWriter() override { return m_format == FileLineFormat::Plain ? &m_out : nullptr; }
    // Accepted: forms that are also entries marked FORBIDDENWORD, which a spell
    // checker refuses however they were made (ForbiddenWords).
    void setForbiddenWords(const QSet<QString> *words) { m_forbidden = words; }

    // The heading line of the CSV file.
    static QString csvHeading();

private:
    void writeCsv(const DerivedWord &form);

    Utf8Writer &m_out;
    FileLineFormat m_format;
    int m_width;
    QString m_lineSuffix;
    QString m_line;
    const QSet<QString> *m_forbidden = nullptr;
};

// The words of the entries whose flags (aliases expanded) hold the FORBIDDENWORD
// flag; empty when the .aff names none.
QSet<QString> ForbiddenWords(const EntryStore &entries, const AffixTable &table);

// Mode 3: counting only.
class CountingSink final : public DerivationSink {
public:
    CountingSink() { m_countsOnly = true; }
    bool accept(const DerivedWord &) override { return true; }
};

// Mode 4: word + tail1 + tail2 stored in a shared list at the caller's base index
// plus the number of forms of this call so far.
class SharedListSink final : public DerivationSink {
public:
    SharedListSink(QStringList &list, qsizetype baseIndex, QString tail1 = {}, QString tail2 = {});

    void begin() override { m_count = 0; }
    bool accept(const DerivedWord &form) override { return acceptWord(form.word); }
    bool acceptWord(QStringView word) override;

private:
    QStringList &m_list;
    qsizetype m_baseIndex;
    QString m_tail1;
    QString m_tail2;
    qsizetype m_count = 0;
};

// Mode 5: every form handed to the statistics' CountDerivedWord, unless skipped.
class StatisticsSink final : public DerivationSink {
public:
    StatisticsSink(std::function<void(QStringView word)> countDerivedWord, bool skipCounting = false);

    bool accept(const DerivedWord &form) override;

private:
    std::function<void(QStringView)> m_count;
    bool m_skip;
};

// Modes 6 and 7: forms of one word type, as lines for the statistics preview or
// the extraction file. Not counted.
class TypeFilterSink final : public DerivationSink {
public:
    // typeNumber: 0 apostrophe, 1 hyphen, 2 upper-case start, 3..7 length 1..5.
    TypeFilterSink(int typeNumber, bool markPrimary, std::function<void(QStringView line)> writeLine);

    bool accept(const DerivedWord &form) override;

    static bool matchesWordType(int typeNumber, QStringView word);

private:
    int m_type;
    bool m_mark;
    std::function<void(QStringView)> m_writeLine;
    QString m_line;
};

// Mode 100: the first suffix form, for the crunch tool.
class CrunchSink final : public DerivationSink {
public:
    CrunchSink() { m_firstSuffixOnly = true; }

    void begin() override { m_result.clear(); }
    bool accept(const DerivedWord &form) override
    {
        m_result = form.word.toString();
        return false;
    }
    const QString &result() const { return m_result; }

private:
    QString m_result;
};

} // namespace lexaloom
