#include "core/app/profile.h"
#include "core/app/settings_files.h"
#include "core/app/startup.h"
#include "core/app/workbench.h"
#include "core/shell/prefs_store.h"

#include "scripted_ui.h"
#include "gtest_qt_printers.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QMap>
#include <QTemporaryDir>
#include <QtEndian>

#include <archive.h>
#include <archive_entry.h>

#include <gtest/gtest.h>

#include <ostream>

#include <sys/wait.h>
#include <unistd.h>

using namespace lexaloom;
using lexaloom::testing::ScriptedUi;

namespace {

struct ArchivedEntry {
    QString name;
    QByteArray data;
};

struct ReadBack {
    bool ok = false;
    QList<ArchivedEntry> entries;
    int filterCode = -1;
    QStringList formatNames;
    QList<int> methods; // compression method of each central-directory record
};

// Reads an archive back with libarchive and, from the raw bytes, the compression
// method every central-directory record declares.
ReadBack readBack(const QString &path)
{
    ReadBack result;
    archive *a = archive_read_new();
    archive_read_support_format_zip(a);
    archive_read_support_filter_all(a);
    if (archive_read_open_filename(a, QFile::encodeName(path).constData(), 10240) == ARCHIVE_OK) {
        result.ok = true;
        archive_entry *e = nullptr;
        int status = ARCHIVE_OK;
        while ((status = archive_read_next_header(a, &e)) == ARCHIVE_OK) {
            ArchivedEntry entry{QString::fromUtf8(archive_entry_pathname(e)), {}};
            char buffer[4096];
            la_ssize_t n = 0;
            while ((n = archive_read_data(a, buffer, sizeof buffer)) > 0)
                entry.data.append(buffer, n);
            result.ok = result.ok && n == 0;
            result.entries.append(entry);
            result.formatNames.append(QString::fromUtf8(archive_format_name(a)));
        }
        result.ok = result.ok && status == ARCHIVE_EOF;
        result.filterCode = archive_filter_code(a, 0);
    }
    archive_read_free(a);

    QFile file(path);
    if (file.open(QIODevice::ReadOnly)) {
        const QByteArray bytes = file.readAll();
        for (qsizetype at = bytes.indexOf("PK\x01\x02"); at >= 0 && at + 12 <= bytes.size();
             at = bytes.indexOf("PK\x01\x02", at + 4))
            result.methods.append(qFromLittleEndian<quint16>(bytes.constData() + at + 10));
    }
    return result;
}

QStringList names(const QList<ArchivedEntry> &entries)
{
    QStringList list;
    for (const ArchivedEntry &e : entries)
        list.append(e.name);
    return list;
}

class ProfileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_root.isValid());
        QDir(m_root.path()).mkpath(QStringLiteral("program/settings"));
        QDir(m_root.path()).mkpath(QStringLiteral("other/settings"));
    }

    // The program folder under test, and a second installation to export from.
    QString program() const { return m_root.filePath(QStringLiteral("program")); }
    QString other() const { return m_root.filePath(QStringLiteral("other")); }
    QString rootPath(const QString &name) const { return m_root.filePath(name); }
    QString rootFolder() const { return m_root.path(); }

    static void write(const QString &path, const QByteArray &bytes)
    {
        QDir().mkpath(QFileInfo(path).path());
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }

    static void writeSetting(const QString &folder, const QString &name, const QByteArray &bytes)
    {
        write(folder + QStringLiteral("/settings/") + name, bytes);
    }

    // Every file under a folder with its bytes, hidden ones included.
    static QMap<QString, QByteArray> snapshot(const QString &folder)
    {
        QMap<QString, QByteArray> files;
        QDirIterator it(folder, QDir::Files | QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            QFile f(path);
            const QString relative = QDir(folder).relativeFilePath(path);
            files.insert(relative, f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<dir>"));
        }
        return files;
    }

    // Writes a profile of the given entries at `path`.
    static void makeArchive(const QString &path, const QList<profile::Entry> &entries)
    {
        const QByteArray bytes = profile::WriteProfileArchive(entries);
        ASSERT_FALSE(bytes.isEmpty());
        write(path, bytes);
    }

    // A full set of settings files with contents of their own.
    void fillSettings(const QString &folder, const QByteArray &tag) const
    {
        for (const QString &name : profile::importEntryNames())
            writeSetting(folder, name, "25\n" + tag + " " + name.toUtf8() + "\n");
    }

private:
    QTemporaryDir m_root;
};

} // namespace

TEST_F(ProfileTest, ExportWithNoSettingsHoldsOnlyTheStoredVersionEntry)
{
    QDir(program()).rmdir(QStringLiteral("settings"));
    const Workbench wb(program());
    ScriptedUi ui;
    ui.savePaths.push_back(rootPath(QStringLiteral("empty")));
    ExportProfile(wb, ui);

    EXPECT_EQ(ui.dialogTitles, QStringList{QStringLiteral("Export Profile")});
    EXPECT_EQ(ui.statusText(), QStringLiteral("Profile exported."));
    EXPECT_TRUE(ui.messages.isEmpty());
    const ReadBack back = readBack(rootPath(QStringLiteral("empty.lxm_profile")));
    ASSERT_TRUE(back.ok);
    ASSERT_EQ(names(back.entries), QStringList{QStringLiteral("lxm_version_id.txt")});
    EXPECT_EQ(back.entries[0].data, QByteArray("25"));
    EXPECT_EQ(back.filterCode, ARCHIVE_FILTER_NONE);
    EXPECT_EQ(back.formatNames, QStringList{QStringLiteral("ZIP 1.0 (uncompressed)")});
    EXPECT_EQ(back.methods, QList<int>{0}); // stored
    // The folder is created; no version file is left behind in it.
    EXPECT_TRUE(QFileInfo(program() + QStringLiteral("/settings")).isDir());
    EXPECT_TRUE(snapshot(program()).keys() == QStringList{QStringLiteral("settings")});
}

TEST_F(ProfileTest, ExportCopiesThePresentFilesInTableOrder)
{
    fillSettings(program(), "mine");
    writeSetting(program(), QStringLiteral("multiwords.prefs"), QByteArray()); // empty: left out
    writeSetting(program(), QStringLiteral("extract_pos_lists.prefs"), "25\n1\nA\n0\n");
    writeSetting(program(), QStringLiteral("gb_specific.txt"), "colour\n");
    writeSetting(program(), QStringLiteral("lxm_version_id.txt"), "stale");
    const Workbench wb(program());
    ScriptedUi ui;
    ui.savePaths.push_back(rootPath(QStringLiteral("Mine.LXM_PROFILE")));
    ExportProfile(wb, ui);

    EXPECT_EQ(ui.statusText(), QStringLiteral("Profile exported."));
    const ReadBack back = readBack(rootPath(QStringLiteral("Mine.LXM_PROFILE")));
    ASSERT_TRUE(back.ok);
    EXPECT_EQ(names(back.entries), QStringList({"lxm3_recent_files.log", "lxm_version_id.txt",
                                                "dic_stats_remember.prefs", "extract_pos_settings.prefs",
                                                "derivates_sort.prefs", "show_merge_del_dupes.prefs", "lxm3.prefs"}));
    for (const ArchivedEntry &e : back.entries) {
        if (e.name != profile::versionEntry) {
            EXPECT_EQ(e.data, "25\nmine " + e.name.toUtf8() + "\n") << e.name.toStdString();
        }
    }
    EXPECT_EQ(back.methods, QList<int>(7, 0));
    EXPECT_FALSE(QFile::exists(program() + QStringLiteral("/settings/lxm_version_id.txt")));
}

TEST_F(ProfileTest, CancelledDialogsAbortWithoutWriting)
{
    fillSettings(program(), "mine");
    const QMap<QString, QByteArray> before = snapshot(rootFolder());
    const Workbench wb(program());
    ScriptedUi ui;
    ExportProfile(wb, ui);
    EXPECT_EQ(ui.statusText(), QStringLiteral("Aborted."));
    ImportProfile(wb, ui);
    EXPECT_EQ(ui.statusText(), QStringLiteral("Aborted."));
    EXPECT_EQ(ui.dialogTitles, QStringList({"Export Profile", "Import Profile"}));
    EXPECT_TRUE(ui.messages.isEmpty());
    EXPECT_EQ(snapshot(rootFolder()), before);
}

TEST_F(ProfileTest, ImportReplacesExactlyTheNamedFilesAndKeepsRunningValues)
{
    // The other installation has settings of its own, but no derivates_sort.prefs.
    Workbench source(other());
    source.settings.listPageRows = 40;
    source.settings.thousandsSeparator = QStringLiteral(".");
    ASSERT_TRUE(SaveMainSettings(source));
    fillSettings(other(), "theirs");
    ASSERT_TRUE(SaveMainSettings(source));
    QFile::remove(other() + QStringLiteral("/settings/derivates_sort.prefs"));
    ScriptedUi exporter;
    exporter.savePaths.push_back(rootPath(QStringLiteral("theirs.lxm_profile")));
    ExportProfile(source, exporter);
    ASSERT_EQ(exporter.statusText(), QStringLiteral("Profile exported."));

    fillSettings(program(), "mine");
    Workbench wb(program());
    ASSERT_TRUE(SaveMainSettings(wb));
    writeSetting(program(), QStringLiteral("extract_pos_lists.prefs"), "25\n1\nA\n0\n");
    writeSetting(program(), QStringLiteral("gb_specific.txt"), "colour\n");
    ASSERT_TRUE(LoadAllSettings(wb));
    const MainSettings running = wb.settings;

    ScriptedUi ui;
    ui.openPaths.push_back(rootPath(QStringLiteral("theirs.lxm_profile")));
    ImportProfile(wb, ui);

    EXPECT_EQ(ui.dialogTitles, QStringList{QStringLiteral("Import Profile")});
    EXPECT_EQ(ui.statusText(), QStringLiteral("Profile imported."));
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ui.messages[0].title, QStringLiteral("Warning!"));
    EXPECT_EQ(ui.messages[0].text, QStringLiteral("Profile imported.\n\nPlease restart LXM to take effect."));
    EXPECT_EQ(ui.messages[0].icon, MessageIcon::Warning);

    QMap<QString, QByteArray> expected = snapshot(other());
    expected.remove(QStringLiteral("settings/derivates_sort.prefs"));
    expected.insert(QStringLiteral("settings/extract_pos_lists.prefs"), "25\n1\nA\n0\n");
    expected.insert(QStringLiteral("settings/gb_specific.txt"), "colour\n");
    EXPECT_EQ(snapshot(program()), expected); // nothing staged is left behind

    // The running program keeps its values; the next start reads the imported ones.
    EXPECT_EQ(wb.settings, running);
    Workbench restarted(program());
    ASSERT_TRUE(LoadAllSettings(restarted));
    EXPECT_EQ(restarted.settings.listPageRows, 40);
    EXPECT_EQ(restarted.settings.thousandsSeparator, QStringLiteral("."));
}

TEST_F(ProfileTest, RefusedImportsChangeNothing)
{
    const QString profilePath = rootPath(QStringLiteral("p.lxm_profile"));
    const QByteArray good = profile::WriteProfileArchive(
        {{QStringLiteral("lxm_version_id.txt"), "25"}, {QStringLiteral("lxm3.prefs"), "25\nnew\n"}});
    const auto archive = [](const QList<profile::Entry> &entries) { return profile::WriteProfileArchive(entries); };
    const struct {
        const char *label;
        std::optional<QByteArray> bytes; // nothing: no file at the path
        bool notFound;
    } cases[] = {
        {"missing file", std::nullopt, true},
        {"empty file", QByteArray(), true},
        {"no version entry", archive({{QStringLiteral("lxm3.prefs"), "25\nnew\n"}}), false},
        {"version 24", archive({{QStringLiteral("lxm_version_id.txt"), "24"}, {QStringLiteral("lxm3.prefs"), "x"}}),
         false},
        {"version entry in a folder", archive({{QStringLiteral("x/lxm_version_id.txt"), "25"}}), false},
        {"empty archive", archive({}), false},
        {"not a zip", QByteArray("25\nlxm_version_id.txt\n"), false},
        {"tar archive", QByteArray(1024, '\0'), false},
        {"truncated zip", good.left(good.size() / 2), false},
        {"damaged data", QByteArray(good).replace("25\nnew\n", "25\nNEW\n"), false}, // CRC mismatch
    };
    fillSettings(program(), "mine");
    const QMap<QString, QByteArray> before = snapshot(program());
    const Workbench wb(program());
    for (const auto &c : cases) {
        QFile::remove(profilePath);
        if (c.bytes)
            write(profilePath, *c.bytes);
        ScriptedUi ui;
        ui.openPaths.push_back(profilePath);
        ImportProfile(wb, ui);
        ASSERT_EQ(ui.messages.size(), 1) << c.label;
        if (c.notFound) {
            EXPECT_EQ(ui.messages[0].title, QStringLiteral("Error")) << c.label;
            EXPECT_EQ(ui.messages[0].text, QStringLiteral("Profile file not found.")) << c.label;
            EXPECT_EQ(ui.statusText(), QStringLiteral("Profile not found.")) << c.label;
        } else {
            EXPECT_EQ(ui.messages[0].title, QStringLiteral("Warning!")) << c.label;
            EXPECT_EQ(ui.messages[0].text, QStringLiteral("Profile incompatible with current LXM.")) << c.label;
            EXPECT_EQ(ui.statusText(), QStringLiteral("Profile incompatible with current LXM.")) << c.label;
        }
        EXPECT_EQ(ui.messages[0].icon, MessageIcon::Warning) << c.label;
        EXPECT_EQ(snapshot(program()), before) << c.label;
    }
}

TEST_F(ProfileTest, EntryNamesNeverChooseWhereFilesGo)
{
    const QString absolute = rootPath(QStringLiteral("abs/lxm3.prefs"));
    const QString profilePath = rootPath(QStringLiteral("crafted.lxm_profile"));
    makeArchive(profilePath, {
                                 {QStringLiteral("../x"), "escape"},
                                 {QStringLiteral("../../x"), "escape"},
                                 {absolute, "absolute"},
                                 {QStringLiteral("/lxm3.prefs"), "absolute"},
                                 {QStringLiteral("settings/lxm3.prefs"), "nested"},
                                 {QStringLiteral("./lxm3.prefs"), "dotted"},
                                 {QStringLiteral("../settings/multiwords.prefs"), "escape"},
                                 {QStringLiteral("lxm_version_id.txt"), "25"},
                                 {QStringLiteral("lxm3.prefs"), "first"},
                                 {QStringLiteral("lxm3.prefs"), "second"},
                                 {QStringLiteral("gb_specific.txt"), "not in a profile"},
                             });
    // The names went into the archive as written.
    QFile crafted(profilePath);
    ASSERT_TRUE(crafted.open(QIODevice::ReadOnly));
    const QByteArray raw = crafted.readAll();
    EXPECT_TRUE(raw.contains("../x"));
    EXPECT_TRUE(raw.contains(absolute.toUtf8()));

    const Workbench wb(program());
    ScriptedUi ui;
    ui.openPaths.push_back(profilePath);
    ImportProfile(wb, ui);
    EXPECT_EQ(ui.statusText(), QStringLiteral("Profile imported."));
    const QMap<QString, QByteArray> expected{{QStringLiteral("settings"), "<dir>"},
                                             {QStringLiteral("settings/lxm3.prefs"), "first"}};
    EXPECT_EQ(snapshot(program()), expected);
    EXPECT_FALSE(QFile::exists(absolute));
    EXPECT_FALSE(QFile::exists(rootPath(QStringLiteral("x"))));
    EXPECT_FALSE(QFile::exists(rootPath(QStringLiteral("program/x"))));
    EXPECT_FALSE(QFile::exists(rootPath(QStringLiteral("settings"))));
}

TEST_F(ProfileTest, FailedReplacementRestoresEveryOldFile)
{
    fillSettings(program(), "old");
    QFile::remove(program() + QStringLiteral("/settings/multiwords.prefs"));
    const QMap<QString, QByteArray> before = snapshot(program());
    QList<profile::Entry> incoming;
    for (const QString &name : profile::importEntryNames()) {
        if (name != QStringLiteral("lxm3.prefs")) // absent from the profile: to be removed
            incoming.append({name, "25\nnew " + name.toUtf8() + "\n"});
    }
    const Workbench wb(program());

    // Count the moves of a successful replacement in a copy of the folder.
    int moves = 0;
    {
        QTemporaryDir copy;
        const Workbench probe(copy.path());
        for (auto it = before.cbegin(); it != before.cend(); ++it) {
            if (it.value() != "<dir>")
                write(copy.filePath(it.key()), it.value());
        }
        ASSERT_TRUE(profile::ReplaceSettingsFiles(probe, profile::importEntryNames(), incoming,
                                                  [&](const QString &from, const QString &to) {
                                                      ++moves;
                                                      return QFile::rename(from, to);
                                                  }));
        EXPECT_FALSE(QFile::exists(copy.filePath(QStringLiteral("settings/lxm3.prefs"))));
        EXPECT_EQ(snapshot(copy.path()).size(), 1 + incoming.size());
    }
    ASSERT_EQ(moves, 6 + 6); // six old files set aside, six new ones put in place

    for (int failAt = 1; failAt <= moves; ++failAt) {
        int call = 0;
        const bool replaced = profile::ReplaceSettingsFiles(wb, profile::importEntryNames(), incoming,
                                                            [&](const QString &from, const QString &to) {
                                                                return ++call != failAt && QFile::rename(from, to);
                                                            });
        EXPECT_FALSE(replaced) << failAt;
        EXPECT_EQ(snapshot(program()), before) << failAt;
    }
}

// An import killed at any step (here in a child process that dies at its n-th move) is
// finished or undone at the next start: the settings folder holds all old or all new
// files and nothing staged is left.
TEST_F(ProfileTest, KilledImportIsFinishedOrUndoneAtTheNextStart)
{
    fillSettings(program(), "old");
    QFile::remove(program() + QStringLiteral("/settings/multiwords.prefs"));
    const QMap<QString, QByteArray> before = snapshot(program());
    QList<profile::Entry> incoming;
    for (const QString &name : profile::importEntryNames()) {
        if (name != QStringLiteral("lxm3.prefs")) // absent from the profile: to be removed
            incoming.append({name, "25\nnew " + name.toUtf8() + "\n"});
    }
    const Workbench wb(program());
    ASSERT_TRUE(profile::ReplaceSettingsFiles(wb, profile::importEntryNames(), incoming));
    const QMap<QString, QByteArray> after = snapshot(program());
    ASSERT_NE(after, before);

    int reached = 0; // kill points that left the folder half done before the recovery
    for (int killAt = 1; killAt <= 13; ++killAt) {
        QDir(program()).removeRecursively();
        fillSettings(program(), "old");
        QFile::remove(program() + QStringLiteral("/settings/multiwords.prefs"));
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            int call = 0;
            profile::ReplaceSettingsFiles(wb, profile::importEntryNames(), incoming,
                                          [&](const QString &from, const QString &to) {
                                              if (++call == killAt)
                                                  ::_exit(0);
                                              return QFile::rename(from, to);
                                          });
            ::_exit(0);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        const QMap<QString, QByteArray> killed = snapshot(program());
        if (killed != before && killed != after)
            ++reached;
        profile::FinishInterruptedImport(wb);
        const QMap<QString, QByteArray> recovered = snapshot(program());
        EXPECT_TRUE(recovered == before || recovered == after) << killAt;
        // From the journal on, the import is finished forward.
        EXPECT_EQ(recovered, after) << killAt;
    }
    EXPECT_EQ(reached, 12);

    // Cut off while staging (no journal yet): the old files stay and the rest goes.
    QDir(program()).removeRecursively();
    fillSettings(program(), "old");
    writeSetting(program(), QStringLiteral(".import-abc123/new/lxm3.prefs"), "25\nhalf");
    const QMap<QString, QByteArray> old = snapshot(program());
    profile::FinishInterruptedImport(wb);
    QMap<QString, QByteArray> expected = old;
    expected.removeIf([](const auto &it) { return it.key().contains(QStringLiteral(".import-")); });
    EXPECT_EQ(snapshot(program()), expected);

    // The start-up runs the recovery before it reads the settings.
    writeSetting(program(), QStringLiteral(".import-abc123/new/lxm3.prefs"), "25\nnew\n");
    writeSetting(program(), QStringLiteral(".import-abc123/journal"), "replace\nnew lxm3.prefs\n");
    QDir().mkpath(program() + QStringLiteral("/settings/.import-abc123/old"));
    Workbench started(program());
    ScriptedUi ui;
    RunStartupBeforeWindow(started, ui, {});
    QFile prefs(program() + QStringLiteral("/settings/lxm3.prefs"));
    ASSERT_TRUE(prefs.open(QIODevice::ReadOnly));
    EXPECT_EQ(prefs.readAll(), "25\nnew\n");
    EXPECT_FALSE(QFileInfo::exists(program() + QStringLiteral("/settings/.import-abc123")));
}

TEST_F(ProfileTest, OversizedEntryIsRefused)
{
    const QString path = rootPath(QStringLiteral("big.lxm_profile"));
    makeArchive(path, {{QStringLiteral("lxm_version_id.txt"), "25"}, {QStringLiteral("lxm3.prefs"), QByteArray(4096, 'a')}});
    const QStringList wanted{QStringLiteral("lxm_version_id.txt"), QStringLiteral("lxm3.prefs")};
    QString oversized;
    EXPECT_FALSE(profile::ReadProfileArchive(path, wanted, 4095, &oversized).has_value());
    EXPECT_EQ(oversized, QStringLiteral("lxm3.prefs"));
    const auto entries = profile::ReadProfileArchive(path, wanted, 4096);
    ASSERT_TRUE(entries.has_value());
    EXPECT_EQ(entries->size(), 2);

    // The import names the entry instead of calling the profile incompatible: a stored
    // 17 MB file, and the same deflated to a few kilobytes.
    fillSettings(program(), "mine");
    const QMap<QString, QByteArray> before = snapshot(program());
    const QByteArray big(17 * 1024 * 1024, 'a');
    for (const bool deflated : {false, true}) {
        QByteArray bytes;
        archive *a = archive_write_new();
        archive_write_set_format_zip(a);
        archive_write_set_options(a, deflated ? "zip:compression=deflate" : "zip:compression=store");
        archive_write_set_bytes_per_block(a, 0);
        archive_write_open2(
            a, &bytes, nullptr,
            [](archive *, void *out, const void *buffer, size_t length) {
                static_cast<QByteArray *>(out)->append(static_cast<const char *>(buffer), qsizetype(length));
                return la_ssize_t(length);
            },
            nullptr, nullptr);
        for (const auto &[name, data] : {std::pair<const char *, QByteArray>{"lxm_version_id.txt", "25"},
                                         std::pair<const char *, QByteArray>{"lxm3.prefs", big}}) {
            archive_entry *e = archive_entry_new();
            archive_entry_set_pathname(e, name);
            archive_entry_set_filetype(e, AE_IFREG);
            archive_entry_set_perm(e, 0644);
            archive_entry_set_size(e, data.size());
            archive_write_header(a, e);
            archive_write_data(a, data.constData(), size_t(data.size()));
            archive_entry_free(e);
        }
        archive_write_close(a);
        archive_write_free(a);
        if (deflated) {
            EXPECT_LT(bytes.size(), 1024 * 1024);
        }
        write(path, bytes);
        ScriptedUi ui;
        ui.openPaths.push_back(path);
        ImportProfile(Workbench(program()), ui);
        ASSERT_EQ(ui.messages.size(), 1) << deflated;
        EXPECT_EQ(ui.messages[0].title, QStringLiteral("Warning!"));
        EXPECT_EQ(ui.messages[0].text,
                  QStringLiteral("The profile's file \"lxm3.prefs\" is too large (over 16 MB).\n\nNothing was imported."));
        EXPECT_EQ(ui.statusText(), QStringLiteral("Aborted."));
        EXPECT_EQ(snapshot(program()), before) << deflated;
    }
}
