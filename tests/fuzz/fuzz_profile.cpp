// File > "Import Profile..." of a hostile archive, then the start that reads what
// the import left in the settings folder. Input: the .lxm_profile bytes.
#include "core/app/profile.h"
#include "core/app/settings_files.h"
#include "core/app/workbench.h"
#include "core/shell/prefs_store.h"

#include "fuzz_support.h"

#include <QDir>

using namespace lexaloom;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString folder = fuzz::scratchFolder() + QStringLiteral("program/");
    QDir(folder).removeRecursively();
    const QString archive = fuzz::scratchFolder() + QStringLiteral("in.lxm_profile");
    fuzz::writeFile(archive, fuzz::bytesOf(data, size));

    Workbench wb(folder);
    fuzz::FuzzUi ui;
    ui.openPath = archive;
    ImportProfile(wb, ui);

    // Whatever the import placed is read at the next start.
    Workbench next(folder);
    LoadAllSettings(next);

    // No staging or set-aside files outlive the import.
    const QStringList left =
        QDir(wb.settingsPath(settingsFiles::folder)).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    for (const QString &name : left) {
        if (name.startsWith(QLatin1Char('.')))
            fuzz::fail("the import left a staging folder behind");
    }
    return 0;
}
