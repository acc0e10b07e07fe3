#include "shell/prefs_store.h"

#include "shell/file_dialogs.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>

#include "app/workbench.h"
#include "shell/app_identity.h"
#include "shell/settings.h"

namespace lexaloom {

namespace {

// Upper bounds of the POS table read back from its file; a file beyond them is not ours.
constexpr int maxPosLanguages = 1000;

enum class FileState { Missing, Empty, Present };

struct ReadResult {
    FileState state = FileState::Missing;
    QByteArray data;
};

ReadResult readSettingsFile(const Workbench &wb, const QString &relativePath)
{
    ReadResult result;
    const QString path = wb.settingsPath(relativePath);
    const QFileInfo info(path);
    if (!info.isFile())
        return result;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return result;
    result.data = file.read(maxSettingsFileBytes);
    result.state = result.data.isEmpty() ? FileState::Empty : FileState::Present;
    return result;
}

bool writeSettingsFile(const Workbench &wb, const QString &relativePath, const QByteArray &bytes)
{
    if (!EnsureSettingsFolder(wb))
        return false;
    return WriteFileAtomically(wb.settingsPath(relativePath), bytes);
}

void decodeDicStats(const QByteArray &data, DicStatsReference &stats)
{
    PrefsReader reader(data);
    if (!reader.readVersion())
        return;
    stats.value = reader.readLine();
    const QString lastRemember = reader.readLine();
    stats.lastRemember = lastRemember.isEmpty() ? DicStatsReference().lastRemember : lastRemember;
}

void decodeMultiwords(const QByteArray &data, MultiwordPrefs &prefs)
{
    PrefsReader reader(data);
    if (!reader.readVersion())
        return;
    const MultiwordPrefs defaults;
    prefs.languageIndex = reader.readLong();
    if (prefs.languageIndex < 0 || prefs.languageIndex >= MultiwordPrefs::languageCount)
        prefs.languageIndex = defaults.languageIndex;
    prefs.posIndex = reader.readLong();
    if (prefs.posIndex < 0 || prefs.posIndex >= MultiwordPrefs::posRowCount)
        prefs.posIndex = defaults.posIndex;
    prefs.specifyText = reader.readLine();
}

void decodePosSelection(const QByteArray &data, PosSettings &pos)
{
    PrefsReader reader(data);
    if (reader.readVersion())
        pos.selectedLanguage = reader.readLong(); // checked against the table once both files are read
}

// The table is taken only when the file holds it completely; otherwise the current
// (built-in) table stays, since half a table would lose rules silently.
void decodePosLists(const QByteArray &data, PosSettings &pos)
{
    PrefsReader reader(data);
    if (!reader.readVersion())
        return;
    const auto readCount = [&reader](int maximum, int *count) {
        if (reader.atEnd())
            return false;
        bool ok = false;
        *count = reader.readLine().toInt(&ok);
        return ok && *count >= 0 && *count <= maximum;
    };
    int languageCount = 0;
    if (!readCount(maxPosLanguages, &languageCount) || languageCount == 0)
        return;
    QStringList languages;
    QList<QStringList> rules;
    for (int l = 0; l < languageCount; ++l) {
        if (reader.atEnd())
            return;
        languages.append(reader.readLine());
        int ruleCount = 0;
        if (!readCount(PosSettings::maxRulesPerLanguage, &ruleCount))
            return;
        QStringList languageRules;
        for (int r = 0; r < ruleCount; ++r) {
            if (reader.atEnd())
                return;
            languageRules.append(reader.readLine().replace(QLatin1Char('\t'), QLatin1Char('\n')));
        }
        rules.append(languageRules);
    }
    pos.languages = languages;
    pos.rules = rules;
}

void decodeDerivedSort(const QByteArray &data, qint32 &choice)
{
    PrefsReader reader(data);
    if (!reader.readVersion())
        return;
    choice = reader.readLong();
    if (choice < WindowSettings::derivedSortChoiceMin || choice > WindowSettings::derivedSortChoiceMax)
        choice = WindowSettings().derivedSortChoice;
}

void decodeDuplicateOptions(const QByteArray &data, DuplicateOptions &options)
{
    PrefsReader reader(data);
    if (!reader.readVersion())
        return;
    const DuplicateOptions defaults;
    // A state other than 0 or 1 is not a check box state: that box keeps its default.
    const auto readState = [&reader](bool fallback) {
        const qint8 b = reader.readByte();
        return b == 0 ? false : b == 1 ? true : fallback;
    };
    options.ignoreTags = readState(defaults.ignoreTags);
    options.twofold = readState(defaults.twofold);
    options.sameTypeOnly = readState(defaults.sameTypeOnly);
    options.specialOnlyPrimary = readState(defaults.specialOnlyPrimary);
}

} // namespace

PrefsWriter::PrefsWriter()
{
    writeLine(identity::settingsVersion);
}

void PrefsWriter::writeLine(const QString &text)
{
    QString clean = text;
    clean.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    m_bytes.append(clean.toUtf8());
    m_bytes.append('\n');
}

void PrefsWriter::writeLong(qint32 value)
{
    char buffer[4];
    qToLittleEndian(value, buffer);
    m_bytes.append(buffer, sizeof buffer);
}

void PrefsWriter::writeQuad(qint64 value)
{
    char buffer[8];
    qToLittleEndian(value, buffer);
    m_bytes.append(buffer, sizeof buffer);
}

void PrefsWriter::writeByte(qint8 value)
{
    m_bytes.append(static_cast<char>(value));
}

PrefsReader::PrefsReader(QByteArray data)
    : m_data(std::move(data))
{
}

bool PrefsReader::readVersion()
{
    // Compared as bytes: a byte-order mark or another encoding is another version.
    return readLineBytes() == identity::settingsVersion.toUtf8();
}

QString PrefsReader::readLine()
{
    return QString::fromUtf8(readLineBytes());
}

QByteArray PrefsReader::readLineBytes()
{
    const qsizetype start = m_position;
    while (m_position < m_data.size() && m_data[m_position] != '\n' && m_data[m_position] != '\r')
        ++m_position;
    const QByteArray line = m_data.mid(start, m_position - start);
    if (m_position < m_data.size()) {
        if (m_data[m_position] == '\r' && m_position + 1 < m_data.size() && m_data[m_position + 1] == '\n')
            ++m_position;
        ++m_position;
    }
    return line;
}

QByteArray PrefsReader::takeBytes(qsizetype count)
{
    if (m_data.size() - m_position < count) {
        m_position = m_data.size();
        return {};
    }
    const QByteArray bytes = m_data.mid(m_position, count);
    m_position += count;
    return bytes;
}

qint32 PrefsReader::readLong()
{
    const QByteArray bytes = takeBytes(4);
    return bytes.isEmpty() ? 0 : qFromLittleEndian<qint32>(bytes.constData());
}

qint64 PrefsReader::readQuad()
{
    const QByteArray bytes = takeBytes(8);
    return bytes.isEmpty() ? 0 : qFromLittleEndian<qint64>(bytes.constData());
}

qint8 PrefsReader::readByte()
{
    const QByteArray bytes = takeBytes(1);
    return bytes.isEmpty() ? 0 : static_cast<qint8>(bytes[0]);
}

QByteArray EncodeMainSettings(const MainSettings &s)
{
    PrefsWriter w;
    w.writeLine(s.windowSize);
    w.writeLine(s.desktopSize);
    w.writeLine(s.maxWindowSize);
    w.writeLong(s.listPageRows);
    w.writeLong(s.rowPixelsPlus);
    w.writeLong(s.minLinesBetweenRules);
    w.writeLine(s.affAidLanguage);
    w.writeLine(s.thousandsSeparator);
    w.writeLong(s.colourPrimary);
    w.writeLong(s.colourSuffix);
    w.writeLong(s.colourPrefix);
    w.writeLong(s.colourBoth);
    w.writeLine(s.updateFrequency);
    w.writeQuad(s.lastUpdateCheck);
    w.writeLong(s.decodeWarnLimit);
    w.writeLine(s.listFontName);
    w.writeLine(s.listFontSize);
    w.writeLong(s.autocorrectLeftSpaces);
    w.writeLong(s.reserved);
    return w.bytes();
}

bool DecodeMainSettings(const QByteArray &data, MainSettings &settings)
{
    PrefsReader r(data);
    if (!r.readVersion())
        return false;
    MainSettings s;
    s.windowSize = r.readLine();
    s.desktopSize = r.readLine();
    s.maxWindowSize = r.readLine();
    s.listPageRows = r.readLong();
    s.rowPixelsPlus = r.readLong();
    s.minLinesBetweenRules = r.readLong();
    s.affAidLanguage = r.readLine();
    s.thousandsSeparator = r.readLine();
    s.colourPrimary = r.readLong();
    s.colourSuffix = r.readLong();
    s.colourPrefix = r.readLong();
    s.colourBoth = r.readLong();
    s.updateFrequency = r.readLine();
    s.lastUpdateCheck = r.readQuad();
    s.decodeWarnLimit = r.readLong();
    s.listFontName = r.readLine();
    s.listFontSize = r.readLine();
    s.autocorrectLeftSpaces = r.readLong();
    s.reserved = r.readLong();
    s.normalise();
    settings = s;
    return true;
}

bool EnsureSettingsFolder(const Workbench &wb)
{
    return QDir().mkpath(wb.settingsPath(settingsFiles::folder));
}

bool LoadAllSettings(Workbench &wb)
{
    WindowSettings &ws = wb.windowSettings;
    ReadResult file = readSettingsFile(wb, settingsFiles::dicStatsRemember);
    if (file.state == FileState::Present)
        decodeDicStats(file.data, ws.dicStats);
    file = readSettingsFile(wb, settingsFiles::multiwords);
    decodeMultiwords(file.data, ws.multiwords);
    file = readSettingsFile(wb, settingsFiles::posSelection);
    decodePosSelection(file.data, ws.pos);
    file = readSettingsFile(wb, settingsFiles::posLists);
    decodePosLists(file.data, ws.pos);
    if (ws.pos.selectedLanguage < 0 || ws.pos.selectedLanguage >= ws.pos.languages.size())
        ws.pos.selectedLanguage =
            PosSettings::defaultSelectedLanguage < ws.pos.languages.size() ? PosSettings::defaultSelectedLanguage : 0;
    file = readSettingsFile(wb, settingsFiles::derivedSort);
    decodeDerivedSort(file.data, ws.derivedSortChoice);
    file = readSettingsFile(wb, settingsFiles::duplicateOptions);
    decodeDuplicateOptions(file.data, ws.duplicates);
    file = readSettingsFile(wb, settingsFiles::main);
    const bool mainLoaded = file.state == FileState::Present && DecodeMainSettings(file.data, wb.settings);
    wb.mainSettingsInForce = mainLoaded;
    return mainLoaded;
}

bool SaveMainSettings(const Workbench &wb)
{
    return writeSettingsFile(wb, settingsFiles::main, EncodeMainSettings(wb.settings));
}

bool SaveDicStatsReference(const Workbench &wb)
{
    PrefsWriter w;
    w.writeLine(wb.windowSettings.dicStats.value);
    w.writeLine(wb.windowSettings.dicStats.lastRemember);
    return writeSettingsFile(wb, settingsFiles::dicStatsRemember, w.bytes());
}

bool SaveMultiwordPrefs(const Workbench &wb)
{
    const MultiwordPrefs &prefs = wb.windowSettings.multiwords;
    PrefsWriter w;
    w.writeLong(prefs.languageIndex);
    w.writeLong(prefs.posIndex);
    w.writeLine(prefs.specifyText);
    return writeSettingsFile(wb, settingsFiles::multiwords, w.bytes());
}

bool SavePosSelection(const Workbench &wb)
{
    PrefsWriter w;
    w.writeLong(wb.windowSettings.pos.selectedLanguage);
    return writeSettingsFile(wb, settingsFiles::posSelection, w.bytes());
}

bool SavePosLists(const Workbench &wb)
{
    const PosSettings &pos = wb.windowSettings.pos;
    PrefsWriter w;
    w.writeLine(QString::number(pos.languages.size()));
    for (qsizetype l = 0; l < pos.languages.size(); ++l) {
        w.writeLine(pos.languages[l]);
        const QStringList rules = l < pos.rules.size() ? pos.rules[l] : QStringList();
        w.writeLine(QString::number(rules.size()));
        for (QString rule : rules)
            w.writeLine(rule.replace(QLatin1Char('\n'), QLatin1Char('\t')));
    }
    return writeSettingsFile(wb, settingsFiles::posLists, w.bytes());
}

bool SaveDerivedSortChoice(const Workbench &wb)
{
    PrefsWriter w;
    w.writeLong(wb.windowSettings.derivedSortChoice);
    return writeSettingsFile(wb, settingsFiles::derivedSort, w.bytes());
}

bool SaveDuplicateOptions(const Workbench &wb)
{
    const DuplicateOptions &o = wb.windowSettings.duplicates;
    PrefsWriter w;
    for (const bool state : {o.ignoreTags, o.twofold, o.sameTypeOnly, o.specialOnlyPrimary})
        w.writeByte(state ? 1 : 0);
    return writeSettingsFile(wb, settingsFiles::duplicateOptions, w.bytes());
}

bool RemoveSettingsFile(const Workbench &wb, const QString &relativePath)
{
    const QString path = wb.settingsPath(relativePath);
    return !QFileInfo::exists(path) || QFile::remove(path);
}

} // namespace lexaloom
