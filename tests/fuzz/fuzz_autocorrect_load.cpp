// The autocorrect list reader (DocumentList.xml) over a hostile file, then a save
// and a second read: what was read must come back as written, which is the text
// itself with a bare "&", "<" or "\"" turned into its reference.
#include "core/autocorrect/autocorrect_files.h"
#include "core/autocorrect/autocorrect_list.h"
#include "core/shell/settings.h"

#include "fuzz_support.h"

using namespace lexaloom;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString &folder = fuzz::scratchFolder();
    const QString path = folder + QStringLiteral("DocumentList.xml");
    fuzz::writeFile(path, fuzz::bytesOf(data, size));

    fuzz::FuzzUi ui;
    const MainSettings settings;
    AutocorrectList loaded;
    if (!ReadAutocorrectFile(ui, settings, path, loaded).done())
        return 0;

    const QString savedPath = folder + QStringLiteral("saved.xml");
    if (!WriteAutocorrectFile(ui, settings, loaded, savedPath).done())
        fuzz::fail("the loaded list could not be saved");
    AutocorrectList reloaded;
    if (!ReadAutocorrectFile(ui, settings, savedPath, reloaded).done())
        fuzz::fail("the saved list could not be read");
    if (reloaded.entries.size() != loaded.entries.size())
        fuzz::fail("save and read changed the number of pairs");
    for (qint64 i = 0; i < loaded.entries.size(); ++i) {
        const QStringView pair = loaded.entries.view(i);
        const qsizetype lf = pair.indexOf(u'\n');
        const QString expected = lf < 0 ? EscapeAutocorrectText(pair)
                                        : EscapeAutocorrectText(pair.first(lf)) + QLatin1Char('\n') +
                                              EscapeAutocorrectText(pair.sliced(lf + 1));
        if (reloaded.entries.view(i) != expected)
            fuzz::fail("save and read changed a pair");
    }
    return 0;
}
