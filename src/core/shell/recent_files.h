#pragma once

#include "core/shell/document_kind.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <array>

namespace lexaloom {

// The ten most recently used paths of each tab, most recent first, as kept in the
// log "settings/lxm3_recent_files.log": seven lists of ten CR LF lines (the seventh
// belongs to no tab and stays empty). Empty slots hold the empty text.
class RecentFiles final {
public:
    static constexpr int slotCount = 10;
    static constexpr int listCount = 7;
    // The text that clears a list instead of adding a path.
    static QString clearPath() { return QStringLiteral("*"); }

    static QString logFileName() { return QStringLiteral("settings/lxm3_recent_files.log"); }

    RecentFiles();

    // Always slotCount entries.
    const QStringList &list(int index) const { return m_lists[static_cast<size_t>(index)]; }
    const QStringList &list(DocumentKind kind) const { return list(static_cast<int>(kind)); }

    // Puts `path` in front of the list, dropping its older copies and the empty slots;
    // "*" empties the list; the empty path changes nothing.
    void add(int index, const QString &path);
    void clear();

    // Lines beyond the 70th are ignored, missing ones read as empty.
    void readLog(QByteArrayView bytes);
    QByteArray logBytes() const;
    // What a newly created log holds: 60 empty lines.
    static QByteArray newLogBytes();

    bool operator==(const RecentFiles &) const = default;

private:
    std::array<QStringList, listCount> m_lists;
};

// Records `path` in `kind`'s list and rewrites the log at `logPath`, after re-reading
// it so that the log stays the truth. The empty path only reads and rewrites the log
// (creating it with 60 empty lines when missing); "*" clears the list. False when
// the log could not be written; the list in memory is updated anyway.
bool AddRecentFile(RecentFiles &files, const QString &logPath, DocumentKind kind, const QString &path);

// The File > Recent Files submenu as the view applies it.
struct RecentFilesMenuItem {
    QString caption; // "3: /path/to/file.dic", or "3: " for an empty slot
    bool enabled = false;

    bool operator==(const RecentFilesMenuItem &) const = default;
};
using RecentFilesMenu = std::array<RecentFilesMenuItem, RecentFiles::slotCount>;

// The ten items of `kind`'s list.
RecentFilesMenu RefreshRecentFilesMenu(const RecentFiles &files, DocumentKind kind);

} // namespace lexaloom
