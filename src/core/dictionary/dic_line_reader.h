#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringView>

#include <functional>
#include <memory>

namespace lexaloom {

class DictionaryCharset;

// The questions reading a .dic may ask. A missing one is answered Yes.
struct DicReadQuestions {
    // A line suggests that a space separates words from tags: split at the first space?
    std::function<bool()> spaceSeparator;
    // The file is not valid UTF-8 from this 1-based line on: go on reading?
    std::function<bool(qint64 line)> invalidUtf8;
};

// True for the line a .dic begins with when it is the word count (it begins with a
// digit after optional blanks; anything after the number is ignored, as Hunspell
// ignores it) or blank. Any other first line is a word and is kept.
bool IsWordCountLine(QStringView line);

// The one reader of .dic text, behind File > Open and every batch command: reads the
// device block by block, skips a leading byte-order mark, decodes losslessly (bytes
// that are not UTF-8 are kept, see shell/text_codec.h), ends lines at LF, CR LF or CR,
// drops the word-count line, and puts "\n" in place of each line's first separator: its
// first tab, or in space mode its first space.
class DicStreamReader final {
public:
    enum class Status { Entry, End, Stopped, Failed };

    // With a charset, the bytes are decoded in it (a legacy SET of the .aff).
    explicit DicStreamReader(QIODevice &device, DicReadQuestions questions = {},
                             const DictionaryCharset *charset = nullptr);

    // Bytes read at a time: big enough to stream at disk speed, small enough that the
    // buffers stay in the cache and a big dictionary is never held twice as bytes.
    static constexpr qsizetype blockBytes = 1 << 17;

    // The next entry, valid until the following call. Stopped: a question was answered
    // No. Failed: reading failed (errorString()).
    Status next(QStringView &entry);
    // About how far into the device the entries delivered so far reach, for progress.
    qint64 position() const;
    // Lines taken so far, the count line included.
    qint64 lines() const { return m_lines; }
    QString errorString() const { return m_device.errorString(); }

private:
    enum class SeparatorMode { Undecided, Tab, Space };
    Status loadBlock();

    QIODevice &m_device;
    DicReadQuestions m_questions;
    const DictionaryCharset *m_charset = nullptr;
    QByteArray m_pending;
    qint64 m_pendingStart = 0; // device offset of m_pending's first byte
    QString m_text;            // the decoded block
    qsizetype m_index = 0;     // next unit of m_text to read
    qint64 m_blockStart = 0;
    qint64 m_blockBytes = 0;
    SeparatorMode m_mode = SeparatorMode::Undecided;
    qint64 m_lines = 0;
    bool m_atStart = true;
    bool m_atEnd = false;
    bool m_invalidReported = false;
};

// Streams the entry lines of a .dic from a file without holding it, through
// DicStreamReader: each line comes as a save would write it, its "\n" as a tab.
class DicLineReader final {
public:
    explicit DicLineReader(const QString &path, DicReadQuestions questions = {},
                           const DictionaryCharset *charset = nullptr);

    bool isOpen() const { return m_file.isOpen(); }
    // The next line after the count line; false at the end of the file, when a question
    // was answered No, or when reading failed (failed() tells).
    bool next(QString &line);
    // The same line without a copy, its separator still "\n"; valid until the next call.
    bool next(QStringView &entry);
    bool failed() const { return m_failed; }
    // Bytes consumed so far, for progress.
    qint64 position() const { return m_reader->position(); }
    qint64 size() const { return m_file.size(); }

    // The part of a line before its first tab (or "\n"): the word and its flags.
    static QStringView wordPart(QStringView line);

private:
    QFile m_file;
    std::unique_ptr<DicStreamReader> m_reader;
    bool m_failed = false;
};

} // namespace lexaloom
