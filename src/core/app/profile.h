#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace lexaloom {

class Ui;
class Workbench;

// A settings profile (".lxm_profile"): a zip archive of stored entries, each a byte
// copy of the settings file of the same name, plus "lxm_version_id.txt" holding "25".
namespace profile {

inline const QString versionEntry = QStringLiteral("lxm_version_id.txt");

struct Entry {
    QString name;
    QByteArray data;
};

// The archive entries in their fixed order; the version entry always comes second.
QStringList exportEntryNames();
// The settings files an import replaces, in its order (all but the version entry).
QStringList importEntryNames();

// The zip archive of `entries`, stored without compression; empty on failure.
QByteArray WriteProfileArchive(const QList<Entry> &entries);

// Reads the regular-file entries of a zip archive whose names are in `wanted`
// (the first of each name; any other entry is skipped unread). Nothing when the
// file is not a readable zip archive or a wanted entry is larger than `maxEntryBytes`.
// `oversizedEntry`, when given, receives the name of the entry that was too large.
std::optional<QList<Entry>> ReadProfileArchive(const QString &path, const QStringList &wanted,
                                               qint64 maxEntryBytes = 16 * 1024 * 1024,
                                               QString *oversizedEntry = nullptr);

// Moves a file; the default is a rename within the settings folder. Tests replace it
// to make a step of the replacement fail.
using FileMover = std::function<bool(const QString &from, const QString &to)>;

// Replaces the named settings files by `entries` as one step: names without an entry
// are removed. The new files are staged in a folder inside settings/ with a journal,
// and the old ones set aside there, so that a failure at any point restores the old
// files and a kill leaves what FinishInterruptedImport completes. True on success.
bool ReplaceSettingsFiles(const Workbench &wb, const QStringList &names, const QList<Entry> &entries,
                          const FileMover &move = {});

// Run at start-up, before the settings are read: an import cut off after its new files
// were complete is finished (its journal says which files it replaces), one cut off
// before that is cleared; the folder then holds all old or all new files.
void FinishInterruptedImport(const Workbench &wb);

} // namespace profile

// File > "Export Profile As...".
void ExportProfile(const Workbench &wb, Ui &ui);
// File > "Import Profile...". The running program keeps its values; the imported
// files take effect at the next start.
void ImportProfile(const Workbench &wb, Ui &ui);

} // namespace lexaloom
