#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

namespace lexaloom {

struct MainSettings;

// The settings files, relative to the program folder.
namespace settingsFiles {
inline const QString folder = QStringLiteral("settings/");
inline const QString main = QStringLiteral("settings/lxm3.prefs");
inline const QString dicStatsRemember = QStringLiteral("settings/dic_stats_remember.prefs");
inline const QString multiwords = QStringLiteral("settings/multiwords.prefs");
inline const QString posSelection = QStringLiteral("settings/extract_pos_settings.prefs");
inline const QString posLists = QStringLiteral("settings/extract_pos_lists.prefs");
inline const QString derivedSort = QStringLiteral("settings/derivates_sort.prefs");
inline const QString duplicateOptions = QStringLiteral("settings/show_merge_del_dupes.prefs");
inline const QString recentFiles = QStringLiteral("settings/lxm3_recent_files.log");
} // namespace settingsFiles

// Builds a settings file: the version line first, then UTF-8 lines ended by LF and
// little-endian numbers, in record order.
class PrefsWriter final {
public:
    PrefsWriter();

    // Line breaks inside `text` would shift every later item, so they are written as spaces.
    void writeLine(const QString &text);
    void writeLong(qint32 value);
    void writeQuad(qint64 value);
    void writeByte(qint8 value);

    const QByteArray &bytes() const { return m_bytes; }

private:
    QByteArray m_bytes;
};

// Reads a settings file item by item. Reading past the end gives empty lines and zero
// numbers, and so does a number cut short by the end of the file.
class PrefsReader final {
public:
    explicit PrefsReader(QByteArray data);

    // Reads the first line; true when it is the settings format version.
    bool readVersion();
    // Accepts LF, CR or CR LF as the end of the line.
    QString readLine();
    qint32 readLong();
    qint64 readQuad();
    qint8 readByte();
    bool atEnd() const { return m_position >= m_data.size(); }

private:
    QByteArray readLineBytes();
    QByteArray takeBytes(qsizetype count);

    QByteArray m_data;
    qsizetype m_position = 0;
};

// Files beyond this size are read only up to it: every record ends long before.
inline constexpr qint64 maxSettingsFileBytes = 4 * 1024 * 1024;

// The 20 items of the main settings file.
QByteArray EncodeMainSettings(const MainSettings &settings);
// Replaces `settings` when `data` carries the version line (values outside their
// ranges take their defaults) and returns true; otherwise leaves it as it was.
bool DecodeMainSettings(const QByteArray &data, MainSettings &settings);

// Creates programFolder + "settings" when missing; false when that failed.
bool EnsureSettingsFolder(const QString &programFolder);

// One settings file as read from the program folder, up to maxSettingsFileBytes.
struct SettingsFile {
    enum State { Missing, Empty, Present };
    State state = Missing;
    QByteArray data;
};
SettingsFile ReadSettingsFile(const QString &programFolder, const QString &relativePath);

// Replaces the whole file atomically (creating the settings folder when needed);
// false when it could not be written, in which case the old file is left as it was.
bool WriteSettingsFile(const QString &programFolder, const QString &relativePath, const QByteArray &bytes);

// Deletes one settings file ("Forget"); true when it is gone afterwards.
bool RemoveSettingsFile(const QString &programFolder, const QString &relativePath);

} // namespace lexaloom
