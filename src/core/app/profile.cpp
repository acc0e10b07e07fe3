#include "core/app/profile.h"

#include "core/shell/file_dialogs.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <archive.h>
#include <archive_entry.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <system_error>

#include "core/app/workbench.h"
#include "core/shell/app_identity.h"
#include "core/shell/atomic_write.h"
#include "core/shell/long_task.h"
#include "core/shell/prefs_store.h"
#include "core/shell/ui.h"

namespace lexaloom {

namespace profile {

namespace {

struct ArchiveReadDeleter {
    void operator()(archive *a) const { archive_read_free(a); }
};
struct ArchiveWriteDeleter {
    void operator()(archive *a) const { archive_write_free(a); }
};
struct EntryDeleter {
    void operator()(archive_entry *e) const { archive_entry_free(e); }
};

la_ssize_t appendToBuffer(archive *, void *clientData, const void *buffer, size_t length)
{
    static_cast<QByteArray *>(clientData)->append(static_cast<const char *>(buffer), qsizetype(length));
    return la_ssize_t(length);
}

QString settingsFilePath(const Workbench &wb, const QString &name)
{
    return wb.settingsPath(settingsFiles::folder + name);
}

bool renameFile(const QString &from, const QString &to)
{
    std::error_code error;
    std::filesystem::rename(std::filesystem::path(QFile::encodeName(from).toStdString()),
                            std::filesystem::path(QFile::encodeName(to).toStdString()), error);
    return !error;
}

// Checked and synced like every save, so a staged file is whole before it is moved in.
bool writeWholeFile(const QString &path, const QByteArray &data)
{
    AtomicFileWriter writer(path);
    return writer.open() && writer.write(data) && writer.commit();
}

} // namespace

QStringList exportEntryNames()
{
    return {QStringLiteral("lxm3_recent_files.log"),
            versionEntry,
            QStringLiteral("dic_stats_remember.prefs"),
            QStringLiteral("multiwords.prefs"),
            QStringLiteral("extract_pos_settings.prefs"),
            QStringLiteral("derivates_sort.prefs"),
            QStringLiteral("show_merge_del_dupes.prefs"),
            QStringLiteral("lxm3.prefs")};
}

QStringList importEntryNames()
{
    QStringList names = exportEntryNames();
    names.removeOne(versionEntry);
    return names;
}

QByteArray WriteProfileArchive(const QList<Entry> &entries)
{
    QByteArray buffer;
    std::unique_ptr<archive, ArchiveWriteDeleter> a(archive_write_new());
    if (!a || archive_write_set_format_zip(a.get()) != ARCHIVE_OK
        || archive_write_set_options(a.get(), "zip:compression=store") != ARCHIVE_OK
        // Unblocked output: no padding after the central directory.
        || archive_write_set_bytes_per_block(a.get(), 0) != ARCHIVE_OK
        || archive_write_open2(a.get(), &buffer, nullptr, appendToBuffer, nullptr, nullptr) != ARCHIVE_OK)
        return {};
    const qint64 now = QDateTime::currentSecsSinceEpoch();
    for (const Entry &entry : entries) {
        std::unique_ptr<archive_entry, EntryDeleter> e(archive_entry_new());
        const QByteArray name = entry.name.toUtf8();
        archive_entry_set_pathname_utf8(e.get(), name.constData());
        archive_entry_set_filetype(e.get(), AE_IFREG);
        archive_entry_set_perm(e.get(), 0644);
        archive_entry_set_size(e.get(), entry.data.size());
        archive_entry_set_mtime(e.get(), now, 0);
        if (archive_write_header(a.get(), e.get()) != ARCHIVE_OK)
            return {};
        qsizetype offset = 0;
        while (offset < entry.data.size()) {
            const la_ssize_t written =
                archive_write_data(a.get(), entry.data.constData() + offset, size_t(entry.data.size() - offset));
            if (written <= 0)
                return {};
            offset += written;
        }
        if (archive_write_finish_entry(a.get()) != ARCHIVE_OK)
            return {};
    }
    if (archive_write_close(a.get()) != ARCHIVE_OK)
        return {};
    return buffer;
}

std::optional<QList<Entry>> ReadProfileArchive(const QString &path, const QStringList &wanted, qint64 maxEntryBytes,
                                               QString *oversizedEntry)
{
    std::unique_ptr<archive, ArchiveReadDeleter> a(archive_read_new());
    if (!a || archive_read_support_format_zip(a.get()) != ARCHIVE_OK
        || archive_read_open_filename(a.get(), QFile::encodeName(path).constData(), 64 * 1024) != ARCHIVE_OK)
        return std::nullopt;
    QList<Entry> entries;
    for (;;) {
        archive_entry *e = nullptr;
        const int status = archive_read_next_header(a.get(), &e);
        if (status == ARCHIVE_EOF)
            break;
        if (status != ARCHIVE_OK && status != ARCHIVE_WARN)
            return std::nullopt;
        // Names are only compared with the fixed list, never used as paths.
        const char *utf8 = archive_entry_pathname_utf8(e);
        const QString name = utf8 ? QString::fromUtf8(utf8) : QString();
        const bool taken = std::any_of(entries.cbegin(), entries.cend(), [&](const Entry &x) { return x.name == name; });
        if (!wanted.contains(name) || taken || archive_entry_filetype(e) != AE_IFREG) {
            if (archive_read_data_skip(a.get()) != ARCHIVE_OK)
                return std::nullopt;
            continue;
        }
        Entry entry{name, {}};
        char chunk[16 * 1024];
        for (;;) {
            const la_ssize_t n = archive_read_data(a.get(), chunk, sizeof chunk);
            if (n < 0)
                return std::nullopt;
            if (n == 0)
                break;
            if (entry.data.size() + n > maxEntryBytes) {
                if (oversizedEntry)
                    *oversizedEntry = name;
                return std::nullopt;
            }
            entry.data.append(chunk, qsizetype(n));
        }
        entries.append(entry);
    }
    return entries;
}

namespace {

const QString stagingPrefix = QStringLiteral(".import-");
const QString journalName = QStringLiteral("journal");
// The journal's first line: the step the import had reached. From it on the new files
// are complete in new/, and an interrupted import is finished forward.
const QByteArray journalStep = "replace";

struct JournalLine {
    QString name;
    bool hasNewFile = false; // false: the import removes the file
};

QByteArray journalBytes(const QList<JournalLine> &lines)
{
    QByteArray bytes = journalStep + '\n';
    for (const JournalLine &line : lines)
        bytes += (line.hasNewFile ? "new " : "remove ") + line.name.toUtf8() + '\n';
    return bytes;
}

// The names of a journal, each one of the names an import replaces; nothing when the
// journal is not one this program wrote whole.
std::optional<QList<JournalLine>> readJournal(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > 64 * 1024)
        return std::nullopt;
    const QList<QByteArray> lines = file.readAll().split('\n');
    if (lines.size() < 2 || lines.first() != journalStep || !lines.last().isEmpty())
        return std::nullopt;
    const QStringList known = importEntryNames();
    QList<JournalLine> result;
    for (qsizetype i = 1; i + 1 < lines.size(); ++i) {
        const QByteArray &line = lines[i];
        JournalLine entry;
        if (line.startsWith("new "))
            entry = {QString::fromUtf8(line.mid(4)), true};
        else if (line.startsWith("remove "))
            entry = {QString::fromUtf8(line.mid(7)), false};
        else
            return std::nullopt;
        if (!known.contains(entry.name))
            return std::nullopt;
        result.append(entry);
    }
    return result;
}

bool writeJournal(const QString &path, const QList<JournalLine> &lines)
{
    return writeWholeFile(path, journalBytes(lines));
}

// Brings every named file to its new state, from wherever an import stopped: an old
// file still in place is set aside, a new file still staged is moved in. Each step
// is one rename, so this can itself be cut off and run again.
bool rollForward(const Workbench &wb, const QString &staging, const QList<JournalLine> &lines, const FileMover &mover)
{
    const QString newFolder = staging + QStringLiteral("/new/");
    const QString oldFolder = staging + QStringLiteral("/old/");
    bool ok = true;
    for (const JournalLine &line : lines) {
        const QString target = settingsFilePath(wb, line.name);
        const QFileInfo targetInfo(target);
        const bool staged = QFileInfo::exists(newFolder + line.name);
        // With the new file placed already, what stands there is the new one.
        if ((staged || !line.hasNewFile) && (targetInfo.isFile() || targetInfo.isSymLink()))
            ok = mover(target, oldFolder + line.name) && ok;
        if (line.hasNewFile && staged)
            ok = mover(newFolder + line.name, target) && ok;
    }
    return ok;
}

// The journal goes first: without it what is left of the folder is never needed.
void removeStaging(const QString &staging)
{
    QFile::remove(staging + QLatin1Char('/') + journalName);
    QDir(staging).removeRecursively();
}

} // namespace

bool ReplaceSettingsFiles(const Workbench &wb, const QStringList &names, const QList<Entry> &entries,
                          const FileMover &move)
{
    const FileMover mover = move ? move : FileMover(renameFile);
    if (!EnsureSettingsFolder(wb.programFolder()))
        return false;
    // An import cut off earlier is finished first, so that the old files are whole.
    FinishInterruptedImport(wb);
    QTemporaryDir stagingDir(wb.settingsPath(settingsFiles::folder) + stagingPrefix + QStringLiteral("XXXXXX"));
    if (!stagingDir.isValid())
        return false;
    // Removed by hand below: the journal must go before the rest.
    stagingDir.setAutoRemove(false);
    const QString staging = stagingDir.path();
    const QString newFolder = staging + QStringLiteral("/new/");
    const QString oldFolder = staging + QStringLiteral("/old/");
    if (!QDir().mkpath(newFolder) || !QDir().mkpath(oldFolder)) {
        removeStaging(staging);
        return false;
    }

    QList<JournalLine> lines;
    QList<const Entry *> incoming;
    for (const QString &name : names) {
        const Entry *found = nullptr;
        for (const Entry &entry : entries) {
            if (entry.name == name) {
                found = &entry;
                break;
            }
        }
        lines.append({name, found != nullptr});
        if (found)
            incoming.append(found);
    }
    // Everything is written before the first settings file is touched; a cut-off here
    // leaves a folder without a journal, which the next start removes.
    for (const Entry *entry : incoming) {
        if (!writeWholeFile(newFolder + entry->name, entry->data)) {
            removeStaging(staging);
            return false;
        }
    }
    if (!writeJournal(staging + QLatin1Char('/') + journalName, lines)) {
        removeStaging(staging);
        return false;
    }

    // From here a cut-off is finished forward at the next start; a failure is rolled
    // back now, the placed new files going back to new/ so that the journal stays
    // true at every step.
    QStringList setAside;
    QStringList placed;
    const auto rollBack = [&] {
        bool restored = true;
        for (const QString &name : placed)
            restored = mover(settingsFilePath(wb, name), newFolder + name) && restored;
        for (const QString &name : setAside)
            restored = mover(oldFolder + name, settingsFilePath(wb, name)) && restored;
        // Never delete the only copy of an old file: the next start finishes the import.
        if (restored)
            removeStaging(staging);
        return false;
    };
    for (const QString &name : names) {
        const QFileInfo target(settingsFilePath(wb, name));
        if (!target.isFile() && !target.isSymLink())
            continue;
        if (!mover(target.filePath(), oldFolder + name))
            return rollBack();
        setAside.append(name);
    }
    for (const Entry *entry : incoming) {
        if (!mover(newFolder + entry->name, settingsFilePath(wb, entry->name)))
            return rollBack();
        placed.append(entry->name);
    }
    removeStaging(staging);
    return true;
}

void FinishInterruptedImport(const Workbench &wb)
{
    const QDir settings(wb.settingsPath(settingsFiles::folder));
    const QStringList leftovers =
        settings.entryList({stagingPrefix + QLatin1Char('*')}, QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot);
    for (const QString &name : leftovers) {
        const QString staging = settings.filePath(name);
        const std::optional<QList<JournalLine>> lines = readJournal(staging + QLatin1Char('/') + journalName);
        // Without a journal the import stopped while staging: the old files are untouched.
        if (!lines || rollForward(wb, staging, *lines, FileMover(renameFile)))
            removeStaging(staging);
    }
}

} // namespace profile

namespace {

const QString profileFilter = QStringLiteral("Profile (*.lxm_profile)");
const QString profileExtension = QStringLiteral(".lxm_profile");


QString incompatibleText()
{
    return QStringLiteral("Profile incompatible with current LXM.");
}

// The largest entry an import takes: settings files are small, so this only stops an
// archive that would fill the memory (a file of its own, or a deflate bomb).
constexpr qint64 maxProfileEntryBytes = 16 * 1024 * 1024;

// %1 is the entry's name.
QString entryTooLargeText()
{
    return QStringLiteral("The profile's file \"%1\" is too large (over 16 MB).\n\nNothing was imported.");
}

// A leftover of an interrupted export or import of earlier versions; never needed.
void removeVersionFile(const Workbench &wb)
{
    QFile::remove(wb.settingsPath(settingsFiles::folder + profile::versionEntry));
}

} // namespace

void ExportProfile(const Workbench &wb, Ui &ui)
{
    QString target = ui.askSavePath(QStringLiteral("Export Profile"), QString(), profileFilter);
    if (target.isEmpty()) {
        ui.setStatusText(LongTask::abortedText());
        return;
    }
    if (!target.endsWith(profileExtension, Qt::CaseInsensitive))
        target += profileExtension;
    EnsureSettingsFolder(wb.programFolder());
    removeVersionFile(wb);

    bool ok = true;
    QList<profile::Entry> entries;
    for (const QString &name : profile::exportEntryNames()) {
        if (name == profile::versionEntry) {
            entries.append({name, identity::settingsVersion.toUtf8()});
            continue;
        }
        const QString path = wb.settingsPath(settingsFiles::folder + name);
        const QFileInfo info(path);
        if (!info.isFile() || info.size() <= 0)
            continue;
        QFile file(path);
        ok = ok && file.open(QIODevice::ReadOnly);
        if (ok)
            entries.append({name, file.readAll()});
    }
    QByteArray archiveBytes;
    if (ok)
        archiveBytes = profile::WriteProfileArchive(entries);
    ok = ok && !archiveBytes.isEmpty() && WriteFileAtomically(target, archiveBytes);
    if (!ok) {
        // Reporting success here would leave the user without the profile they think they have.
        ui.showMessage(errorTitle(), QStringLiteral("Can't write the profile file."), MessageIcon::Error);
        ui.setStatusText(LongTask::abortedText());
        return;
    }
    ui.setStatusText(QStringLiteral("Profile exported."));
}

void ImportProfile(const Workbench &wb, Ui &ui)
{
    const QString source = ui.askOpenPath(QStringLiteral("Import Profile"), QString(), profileFilter);
    if (source.isEmpty()) {
        ui.setStatusText(LongTask::abortedText());
        return;
    }
    const QFileInfo info(source);
    if (!info.isFile() || info.size() <= 0) {
        ui.showMessage(errorTitle(), QStringLiteral("Profile file not found."), MessageIcon::Warning);
        ui.setStatusText(QStringLiteral("Profile not found."));
        return;
    }
    EnsureSettingsFolder(wb.programFolder());
    removeVersionFile(wb);

    const QStringList names = profile::importEntryNames();
    QString oversized;
    const std::optional<QList<profile::Entry>> entries =
        profile::ReadProfileArchive(source, names + QStringList{profile::versionEntry}, maxProfileEntryBytes, &oversized);
    if (!oversized.isEmpty()) {
        // Not an old profile: one of its files is larger than any settings file can be.
        ui.showMessage(LongTask::warningTitle(), entryTooLargeText().arg(oversized), MessageIcon::Warning);
        ui.setStatusText(LongTask::abortedText());
        return;
    }
    bool compatible = false;
    QList<profile::Entry> files;
    if (entries) {
        for (const profile::Entry &entry : *entries) {
            if (entry.name == profile::versionEntry)
                compatible = PrefsReader(entry.data).readVersion();
            else
                files.append(entry);
        }
    }
    if (!compatible) {
        ui.showMessage(LongTask::warningTitle(), incompatibleText(), MessageIcon::Warning);
        ui.setStatusText(incompatibleText());
        return;
    }
    if (!profile::ReplaceSettingsFiles(wb, names, files)) {
        ui.showMessage(errorTitle(), QStringLiteral("Can't write the settings files."), MessageIcon::Error);
        ui.setStatusText(LongTask::abortedText());
        return;
    }
    ui.setStatusText(QStringLiteral("Profile imported."));
    ui.showMessage(LongTask::warningTitle(), QStringLiteral("Profile imported.\n\nPlease restart LXM to take effect."),
                   MessageIcon::Warning);
}

} // namespace lexaloom
