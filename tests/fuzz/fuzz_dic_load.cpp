// The .dic loader over a hostile pair, then a save and a second load: what was
// loaded must come back unchanged. The batch tools' line reader must see the same
// lines. Input: the .dic bytes; when a line "#aff" follows, the bytes after it
// are the .aff (else the .aff is "SET UTF-8").
#include "core/dictionary/dic_line_reader.h"
#include "core/dictionary/dictionary_document.h"
#include "core/dictionary/dictionary_files.h"
#include "core/shell/settings.h"

#include "fuzz_support.h"

using namespace lexaloom;

namespace {

// The line as the loader stores it: its first tab (or, for space-separated files,
// its first space) turned into the entry's "\n".
bool sameEntry(const QString &line, QStringView entry)
{
    if (line == entry)
        return true;
    for (QChar separator : {QLatin1Char('\t'), QLatin1Char(' ')}) {
        const qsizetype at = line.indexOf(separator);
        if (at >= 0 && entry.size() == line.size() && entry[at] == u'\n' && entry.first(at) == line.first(at) &&
            entry.sliced(at + 1) == QStringView(line).sliced(at + 1))
            return true;
    }
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const fuzz::SplitInput input = fuzz::splitAt(fuzz::bytesOf(data, size), "#aff");
    const QString &folder = fuzz::scratchFolder();
    const QString dicPath = folder + QStringLiteral("in.dic");
    fuzz::writeFile(dicPath, input.first);
    const QByteArrayView affBytes = input.hasSecond ? input.second : QByteArrayView("SET UTF-8\n");
    fuzz::writeFile(AffPathFor(dicPath), affBytes);

    fuzz::FuzzUi ui;
    const MainSettings settings;
    DictionaryDocument loaded;
    if (!ReadDictionaryFiles(ui, settings, dicPath, loaded).done())
        return 0;

    // The line reader reads the .dic in the charset the .aff on disk declares, as the
    // loader did (also when the loader was told to convert it to UTF-8).
    const std::optional<DictionaryCharset> charset =
        DictionaryCharset::forAff(QString::fromLatin1(affBytes.data(), affBytes.size()));
    DicLineReader lines(dicPath, {}, charset ? &*charset : nullptr);
    QString line;
    qint64 n = 0;
    while (lines.next(line)) {
        if (n >= loaded.entries.size() || !sameEntry(line, loaded.entries.view(n)))
            fuzz::fail("the line reader saw a line the loader did not");
        ++n;
    }
    if (n != loaded.entries.size())
        fuzz::fail("the line reader saw fewer lines than the loader");

    const QString savedPath = folder + QStringLiteral("saved.dic");
    if (!WriteDictionaryFiles(ui, settings, loaded, savedPath).done())
        fuzz::fail("the loaded dictionary could not be saved");
    DictionaryDocument reloaded;
    if (!ReadDictionaryFiles(ui, settings, savedPath, reloaded).done())
        fuzz::fail("the saved dictionary could not be loaded");
    if (!(reloaded.entries == loaded.entries) || reloaded.affText != loaded.affText)
        fuzz::fail("save and load changed the dictionary");
    return 0;
}
