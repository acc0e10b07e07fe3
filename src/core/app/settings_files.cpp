#include "core/app/settings_files.h"

#include "core/app/workbench.h"
#include "core/shell/prefs_store.h"
#include "core/shell/settings.h"

namespace lexaloom {

namespace {

// Upper bounds of the POS table read back from its file; a file beyond them is not ours.
constexpr int maxPosLanguages = 1000;

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

bool LoadAllSettings(Workbench &wb)
{
    WindowSettings &ws = wb.windowSettings;
    SettingsFile file = ReadSettingsFile(wb.programFolder(), settingsFiles::dicStatsRemember);
    if (file.state == SettingsFile::Present)
        decodeDicStats(file.data, ws.dicStats);
    file = ReadSettingsFile(wb.programFolder(), settingsFiles::multiwords);
    decodeMultiwords(file.data, ws.multiwords);
    file = ReadSettingsFile(wb.programFolder(), settingsFiles::posSelection);
    decodePosSelection(file.data, ws.pos);
    file = ReadSettingsFile(wb.programFolder(), settingsFiles::posLists);
    decodePosLists(file.data, ws.pos);
    if (ws.pos.selectedLanguage < 0 || ws.pos.selectedLanguage >= ws.pos.languages.size())
        ws.pos.selectedLanguage =
            PosSettings::defaultSelectedLanguage < ws.pos.languages.size() ? PosSettings::defaultSelectedLanguage : 0;
    file = ReadSettingsFile(wb.programFolder(), settingsFiles::derivedSort);
    decodeDerivedSort(file.data, ws.derivedSortChoice);
    file = ReadSettingsFile(wb.programFolder(), settingsFiles::duplicateOptions);
    decodeDuplicateOptions(file.data, ws.duplicates);
    file = ReadSettingsFile(wb.programFolder(), settingsFiles::main);
    const bool mainLoaded = file.state == SettingsFile::Present && DecodeMainSettings(file.data, wb.settings);
    wb.mainSettingsInForce = mainLoaded;
    return mainLoaded;
}

bool SaveMainSettings(const Workbench &wb)
{
    return WriteSettingsFile(wb.programFolder(), settingsFiles::main, EncodeMainSettings(wb.settings));
}

bool SaveDicStatsReference(const Workbench &wb)
{
    PrefsWriter w;
    w.writeLine(wb.windowSettings.dicStats.value);
    w.writeLine(wb.windowSettings.dicStats.lastRemember);
    return WriteSettingsFile(wb.programFolder(), settingsFiles::dicStatsRemember, w.bytes());
}

bool SaveMultiwordPrefs(const Workbench &wb)
{
    const MultiwordPrefs &prefs = wb.windowSettings.multiwords;
    PrefsWriter w;
    w.writeLong(prefs.languageIndex);
    w.writeLong(prefs.posIndex);
    w.writeLine(prefs.specifyText);
    return WriteSettingsFile(wb.programFolder(), settingsFiles::multiwords, w.bytes());
}

bool SavePosSelection(const Workbench &wb)
{
    PrefsWriter w;
    w.writeLong(wb.windowSettings.pos.selectedLanguage);
    return WriteSettingsFile(wb.programFolder(), settingsFiles::posSelection, w.bytes());
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
    return WriteSettingsFile(wb.programFolder(), settingsFiles::posLists, w.bytes());
}

bool SaveDerivedSortChoice(const Workbench &wb)
{
    PrefsWriter w;
    w.writeLong(wb.windowSettings.derivedSortChoice);
    return WriteSettingsFile(wb.programFolder(), settingsFiles::derivedSort, w.bytes());
}

bool SaveDuplicateOptions(const Workbench &wb)
{
    const DuplicateOptions &o = wb.windowSettings.duplicates;
    PrefsWriter w;
    for (const bool state : {o.ignoreTags, o.twofold, o.sameTypeOnly, o.specialOnlyPrimary})
        w.writeByte(state ? 1 : 0);
    return WriteSettingsFile(wb.programFolder(), settingsFiles::duplicateOptions, w.bytes());
}

bool AddRecentFile(Workbench &workbench, DocumentKind kind, const QString &path)
{
    return AddRecentFile(workbench.recentFiles, workbench.settingsPath(RecentFiles::logFileName()), kind, path);
}

bool AddRecentFile(Workbench &workbench, const QString &path)
{
    return AddRecentFile(workbench, workbench.currentTab, path);
}

RecentFilesMenu RefreshRecentFilesMenu(const Workbench &workbench)
{
    return RefreshRecentFilesMenu(workbench.recentFiles, workbench.currentTab);
}

} // namespace lexaloom
