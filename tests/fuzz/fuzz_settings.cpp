// Start-up reading of the settings folder from hostile files, then a save of every
// file and a second start: each value must come back as it was taken. Input: the
// files in load order, separated by lines "#file"; missing parts leave the file absent.
#include "core/app/settings_files.h"
#include "core/app/workbench.h"
#include "core/shell/prefs_store.h"
#include "core/shell/recent_files.h"

#include "fuzz_support.h"

#include <QDir>

using namespace lexaloom;

namespace {

const QStringList &settingsFileNames()
{
    static const QStringList names{settingsFiles::dicStatsRemember,
                                   settingsFiles::multiwords,
                                   settingsFiles::posSelection,
                                   settingsFiles::posLists,
                                   settingsFiles::derivedSort,
                                   settingsFiles::duplicateOptions,
                                   settingsFiles::main,
                                   settingsFiles::recentFiles};
    return names;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString folder = fuzz::scratchFolder() + QStringLiteral("program/");
    QDir(folder).removeRecursively();
    Workbench wb(folder);
    if (!EnsureSettingsFolder(wb.programFolder()))
        std::abort();

    fuzz::SplitInput part{{}, fuzz::bytesOf(data, size), true};
    for (const QString &name : settingsFileNames()) {
        if (!part.hasSecond)
            break;
        part = fuzz::splitAt(part.second, "#file");
        fuzz::writeFile(wb.settingsPath(name), part.first);
    }
    const bool mainLoaded = LoadAllSettings(wb);

    // The empty path only reads the log and writes it anew.
    AddRecentFile(wb, DocumentKind::Dictionary, QString());
    (void)RefreshRecentFilesMenu(wb);

    // What a file gave must survive a save and the next start unchanged.
    if (mainLoaded) {
        MainSettings again;
        if (!DecodeMainSettings(EncodeMainSettings(wb.settings), again) || !(again == wb.settings))
            fuzz::fail("encoding and decoding changed the main settings");
    }
    if (!SaveMainSettings(wb) || !SaveDicStatsReference(wb) || !SaveMultiwordPrefs(wb) || !SavePosSelection(wb) ||
        !SavePosLists(wb) || !SaveDerivedSortChoice(wb) || !SaveDuplicateOptions(wb))
        std::abort(); // the scratch folder, not the code under test, failed
    Workbench next(folder);
    if (!LoadAllSettings(next) || !(next.settings == wb.settings) || !(next.windowSettings == wb.windowSettings))
        fuzz::fail("save and the next start changed a setting");
    RecentFiles log;
    log.readLog(wb.recentFiles.logBytes());
    if (!(log == wb.recentFiles))
        fuzz::fail("writing and reading the recent files log changed it");
    return 0;
}
