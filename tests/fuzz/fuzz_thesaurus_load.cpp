// The thesaurus reader over a hostile .dat (and .idx), then a save and a second
// read: what was read must come back unchanged, and the written index must point
// at each head word's entry. Input: the .dat bytes; bytes after a line "#idx" are
// the .idx beside it (else none).
#include "core/shell/settings.h"
#include "core/thesaurus/thesaurus_document.h"
#include "core/thesaurus/thesaurus_files.h"

#include "fuzz_support.h"

using namespace lexaloom;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const fuzz::SplitInput input = fuzz::splitAt(fuzz::bytesOf(data, size), "#idx");
    const QString &folder = fuzz::scratchFolder();
    const QString datPath = folder + QStringLiteral("in.dat");
    fuzz::writeFile(datPath, input.first);
    if (input.hasSecond)
        fuzz::writeFile(IndexPathFor(datPath), input.second);
    else
        QFile::remove(IndexPathFor(datPath));

    fuzz::FuzzUi ui;
    const MainSettings settings;
    ThesaurusDocument loaded;
    if (!ReadThesaurusFile(ui, settings, datPath, loaded).done())
        return 0;

    const QString savedPath = folder + QStringLiteral("saved.dat");
    if (!WriteThesaurusFiles(ui, settings, loaded, savedPath).done())
        fuzz::fail("the loaded thesaurus could not be saved");
    ThesaurusDocument reloaded;
    if (!ReadThesaurusFile(ui, settings, savedPath, reloaded).done())
        fuzz::fail("the saved thesaurus could not be read");
    // An empty encoding line is saved as the default one.
    const QString encodingLine =
        loaded.encodingLine.isEmpty() ? thesaurusTexts::defaultEncoding : loaded.encodingLine;
    if (!(reloaded.entries == loaded.entries) || reloaded.encodingLine != encodingLine)
        fuzz::fail("save and read changed the thesaurus");

    // Every index line "head|offset" must name the head word of the entry at that
    // offset of the .dat, as a lookup library would find it (a header without "|"
    // gets a line of only its offset).
    QFile dat(savedPath), idx(IndexPathFor(savedPath));
    if (!dat.open(QIODevice::ReadOnly) || !idx.open(QIODevice::ReadOnly))
        fuzz::fail("the saved pair is missing a file");
    const QByteArray datBytes = dat.readAll();
    const QList<QByteArray> idxLines = idx.readAll().split('\n');
    for (qsizetype i = 2; i < idxLines.size(); ++i) {
        const QByteArray &line = idxLines[i];
        if (line.isEmpty())
            continue;
        const qsizetype bar = line.lastIndexOf('|');
        bool ok = false;
        const qint64 offset = line.mid(bar + 1).toLongLong(&ok);
        if (!ok || offset < 0 || offset > datBytes.size())
            fuzz::fail("an index line has no valid offset");
        const QByteArray head = line.first(std::max<qsizetype>(bar, 0));
        if (bar >= 0 && !datBytes.sliced(offset).startsWith(head + '|'))
            fuzz::fail("an index offset does not point at its head word");
    }
    return 0;
}
