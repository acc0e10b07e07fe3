#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <memory>

#include "core/shell/file_outcome.h"

namespace lexaloom {

class Ui;

namespace saveTexts {
// Asked when a file pair is opened whose last save was cut off after its new files were
// complete but before both had replaced the old ones. %1 is the path of the first file.
inline const QString interruptedSaveQuestion =
    QStringLiteral("The last save of\n%1\nwas interrupted, but the files it wrote are complete.\n\n"
                   "Finish that save and open them?");
// The same for one file whose new content was complete when its save was cut off.
inline const QString interruptedFileSaveQuestion =
    QStringLiteral("The last save of\n%1\nwas interrupted, but the file it wrote is complete.\n\n"
                   "Finish that save and open it?");
// The reason a pair save gives when both of its names lead to one file (the .aff chosen
// as the .dic, an output named like its own index): saving would leave only one half.
inline const QString samePairFiles = QStringLiteral("Both files of the pair are the same file.");
} // namespace saveTexts

// The file-system calls a save makes, one virtual call per step, so that tests can fail
// any one of them (a full disk, an I/O error) or stop the process before it. Each
// returns 0 or the errno of the failure.
class FileOps {
public:
    virtual ~FileOps() = default;
    // Creates `path` exclusively for writing; fails with EEXIST when something is there.
    virtual int create(const QString &path, int &fd) = 0;
    // Writes up to `size` bytes; `written` receives how many (a short write is no error).
    virtual int write(int fd, const char *data, qint64 size, qint64 &written) = 0;
    virtual int sync(int fd) = 0;
    virtual int close(int fd) = 0;
    // Replaces `to` atomically when it exists.
    virtual int rename(const QString &from, const QString &to) = 0;
    virtual int remove(const QString &path) = 0;
    virtual int syncDirectory(const QString &path) = 0;
    virtual bool exists(const QString &path) = 0;
};

// The real file system. Stateless, so one instance serves every caller.
FileOps &SystemFileOps();

// Names of the files a save keeps beside its target while it runs.
QString TemporaryPathFor(const QString &path); // the new content until it replaces the file
QString BackupPathFor(const QString &path);    // the old content during a pair's renames
QString PairMarkerPathFor(const QString &firstPath);
QString ReadyPathFor(const QString &path); // one file's new content once it is complete

// Where a save of `path` puts its bytes: the final target when `path` is a symbolic link
// (followed through chains), so that a save writes through the link as an editor does
// and the link stays a link; otherwise `path` itself.
QString SaveTargetFor(const QString &path);

// True when both paths name one file: the same path once folders and links are
// resolved, or two names of the same existing file.
bool IsSameFile(const QString &first, const QString &second);

// Writes one file so that it either keeps its old bytes or gets all of the new ones:
// the new bytes go to a temporary file beside it, which is flushed and synced, renamed
// to its ready name (ReadyPathFor: complete, so a kill from here on can be finished by
// RecoverInterruptedSave) and then over the old file; the folder is synced after that. A symbolic
// link is written through: the temporary file sits beside the link's target. Every write
// is checked; after the first failure nothing more is written and commit() fails. The
// temporary file is removed on any failure and when the writer is destroyed without a
// commit (an aborted save), so it never outlives the save.
class AtomicFileWriter final {
public:
    explicit AtomicFileWriter(QString path, FileOps &fileOps = SystemFileOps());
    ~AtomicFileWriter();
    AtomicFileWriter(const AtomicFileWriter &) = delete;
    AtomicFileWriter &operator=(const AtomicFileWriter &) = delete;

    bool open();
    bool write(QByteArrayView bytes);
    // Writes what is buffered, syncs and closes the temporary file; the target is not
    // touched yet. commit() calls it; the pair writer calls it for both files first.
    bool finish();
    bool commit();
    // Removes the temporary file; the target keeps its old bytes.
    void discard();

    bool failed() const { return m_error != 0; }
    // The system's reason for the first failure.
    QString errorString() const;
    const QString &path() const { return m_path; }
    qint64 written() const { return m_written + m_buffer.size(); }

private:
    friend class AtomicPairWriter;
    bool fail(int error);
    bool flushBuffer();
    bool writeAll(const char *data, qint64 size);

    QString m_path;
    QString m_target; // SaveTargetFor(m_path)
    QString m_temporaryPath;
    FileOps &m_ops;
    QByteArray m_buffer;
    qint64 m_written = 0;
    int m_fd = -1;
    int m_error = 0;
    bool m_open = false;  // the temporary file exists on disk
    bool m_ready = false; // it has been renamed to its ready name
    bool m_committed = false;
};

// Writes two files that belong together (a .dic with its .aff, a .dat with its .idx) so
// that after a failure, or a kill at any instant, either the whole old pair or the whole
// new pair is intact on disk. Both new files are complete and synced before a marker
// file is made; only then are the old files moved to backup names and the new ones
// renamed into place. A failure while renaming puts the backups back; the marker and
// the backups go when both new files are in place. A kill leaves the marker, which
// RecoverInterruptedPairSave finds on the next open.
class AtomicPairWriter final {
public:
    AtomicPairWriter(QString firstPath, QString secondPath, FileOps &fileOps = SystemFileOps());
    AtomicPairWriter(const AtomicPairWriter &) = delete;
    AtomicPairWriter &operator=(const AtomicPairWriter &) = delete;

    // Finishes a save of this pair that was cut off earlier, then opens both new files.
    // Refused (samePairFiles) when both halves are one file.
    bool open();
    AtomicFileWriter &first() { return m_first; }
    AtomicFileWriter &second() { return m_second; }
    bool commit();
    void discard();

    // The file the failure concerns and the system's reason.
    const QString &failedPath() const { return m_failedPath; }
    QString errorString() const;

private:
    bool fail(const QString &path, int error);
    bool failedWriter(AtomicFileWriter &writer);

    FileOps &m_ops;
    AtomicFileWriter m_first;
    AtomicFileWriter m_second;
    QString m_failedPath;
    int m_error = 0;
    bool m_sameFile = false;
};

enum class PairSaveState {
    Clean,      // no trace of an interrupted save (leftover temporary files were removed)
    Unfinished, // the new pair is complete but not all of it is in place: finish it
};

// Looks for the traces of a cut-off save of the pair. Temporary files of a save cut off
// before its new pair was complete are removed (the old pair is intact then), as is a
// marker whose renames were all done.
PairSaveState InspectPairSave(const QString &firstPath, const QString &secondPath, FileOps &fileOps = SystemFileOps());

// Puts the complete new pair of an unfinished save in place and removes the marker and
// the backups. 0 or the errno of the failure; `failedPath` names the file.
int FinishPairSave(const QString &firstPath, const QString &secondPath, QString &failedPath,
                   FileOps &fileOps = SystemFileOps());

enum class PairRecovery { Ready, Declined, Failed };

// The same for one file: a complete new file under its ready name is Unfinished; a
// temporary file of a save cut off before that is removed (the old file is whole).
PairSaveState InspectSave(const QString &path, FileOps &fileOps = SystemFileOps());
// Puts the ready file in place. 0 or the errno of the failure.
int FinishSave(const QString &path, FileOps &fileOps = SystemFileOps());
// What the loader of a one-file kind calls before it reads: as RecoverInterruptedPairSave,
// with interruptedFileSaveQuestion.
PairRecovery RecoverInterruptedSave(Ui &ui, const QString &path, FileOps &fileOps = SystemFileOps());
// For files nobody is asked about (the settings files, read at start-up): finishes a
// complete save and clears an incomplete one.
void FinishInterruptedSaveQuietly(const QString &path, FileOps &fileOps = SystemFileOps());

// What a loader calls before it reads a pair: cleans up after a cut-off save and, when
// the new files of one are complete, asks interruptedSaveQuestion. Yes finishes the save
// (the loader then reads the new pair); No leaves every file as it is (Declined: the
// loader stops with "Aborted."). Failed: "Can't write the file:..." was shown.
PairRecovery RecoverInterruptedPairSave(Ui &ui, const QString &firstPath, const QString &secondPath,
                                        FileOps &fileOps = SystemFileOps());

// What every loader does with the recovery's answer: true when the file is to be read
// (Ready); otherwise the status is "Aborted." and `result` says Cancelled (Declined) or
// Failed. Used as `if (!ReadAfterRecovery(ui, RecoverInterruptedSave(ui, path), result))`.
bool ReadAfterRecovery(Ui &ui, PairRecovery recovery, FileResult &result);

} // namespace lexaloom
