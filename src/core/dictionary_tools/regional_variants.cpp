#include "core/dictionary_tools/regional_variants.h"

#include <QFile>

#include <array>
#include <utility>

#include "core/dictionary/dic_line_reader.h"
#include "core/dictionary/dictionary_document.h"
#include "core/dictionary/dictionary_editing.h"
#include "core/dictionary/dictionary_files.h"
#include "core/dictionary_tools/duplicates_session.h"
#include "core/shell/file_dialogs.h"
#include "core/shell/format.h"
#include "core/shell/long_task.h"
#include "core/shell/settings.h"
#include "core/shell/text_codec.h"

namespace lexaloom {

namespace {

const std::array<QStringView, 6> izeEndings = {u"ize/", u"izing/", u"ized/", u"izes/", u"zation/", u"zations/"};
const std::array<QStringView, 6> iseEndings = {u"ise/", u"ising/", u"ised/", u"ises/", u"sation/", u"sations/"};

} // namespace

const QString &DefaultIzeExceptions()
{
    static const QString list = QString::fromUtf8(
        "accusation\nAcrise\nadversation\nanglepoise\nanglewise\nanise\nansation\nanticlockwise\nanywise\n"
        "appraise\nappraisingly\narise\nassize\nAuglaize\nAvise\nBagpuize\nbaize\nBelize\nbêtise\nbitwise\n"
        "Blaise\nBoise\nbolognaise\nbookwise\nbreadthwise\nBrize\nbruise\ncapsize\nCassation\ncausation\ncerise\n"
        "cessation\nchaise\nCharlize\nchemise\ncircumcise\nclockwise\nCochise\ncompensation\ncompromise\nconcise\n"
        "condensation\ncontrariwise\nconversation\ncornerwise\ncosupervise\ncounter-clockwise\ncounterpoise\n"
        "crabwise\ncrises\ncrosswise\ncruise\nCruise\ndaemonize\ndauphinoise\ndecompensation\ndemise\nDenise\n"
        "despise\ndevise\nDevizes\ndisguise\ndualise\nedgewise\nElise\nEloise\nEnterprise\nenterprise\nequipoise\n"
        "euthanise\nexcise\nexercise\nfilesize\nfoodwise\nfranchise\nFrançoise\nfundraise\nfund-raising\nGuise\n"
        "hair-raising\nhigh-rise\nHéloise\nhollandaise\nill-advised\nincise\nindustrial-size\nise\nking-size\n"
        "leastwise\nlengthwise\nlife-size\nlikewise\nlongwise\nLouise\nlow-noise\nmaize\nmalaise\nman-sized\n"
        "Maoized\nmarquise\nMarseillaise\nmayonnaise\nmedium-sized\nmicroenterprise\nmiddle-sized\nmise\nMises\n"
        "moonrise\nmortise\nnoise\notherwise\noutnoise\noutsize\noverexercise\noversize\npairwise\nParadise\n"
        "paradise\nparallelwise\npiecewise\nplotwise\npointwise\npoise\npolonaise\nporpoise\nPortlaoighise\n"
        "Portlaoise\npositivize\npractise\npraise\npraisingly\npreadvise\npremise\nprize\npulsation\nraise\n"
        "recompensation\nrepromise\nrevise\nRise\nrise\nRising\nSanskritise\nself-raising\nsensation\nsexercise\n"
        "sidewise\nsignal-to-noise\nsize\nsized\nslantwise\nstatewise\nstepwise\ntortoise\nTransferWise\n"
        "streetwise\nsubsensation\nSunrise\nsunrise\nsupersize\nsupervise\nsurmise\nsurprise\nSurprise\ntelevise\n"
        "treatise\nturquoise\nuncompromised\nundersize\nundisguised\nunenterprising\nunpractised\nunrevised\n"
        "unsized\nunsupervised\nunwise\nupraise\nuprise\nuprising\nupsize\nvalise\nvichyssoise\nwholewise\n"
        "widthwise\nwise\nWise\nWoodrising\nworkwise\nworldly-wise\n");
    return list;
}

QString LoadIzeExceptions(const QString &path)
{
    QFile file(path);
    if (FileSize(path) < 1 || !file.open(QIODevice::ReadOnly))
        return DefaultIzeExceptions();
    const QString text = DecodeLossless(WithoutUtf8Bom(file.readAll()));
    return text.isEmpty() ? DefaultIzeExceptions() : text;
}

RegionalVariantsSession::RegionalVariantsSession(DictionaryDocument &dictionary, RegionalMemory &memory,
                                                 QString &gbSpecificMemory, const QString &programFolder,
                                                 const MainSettings &settings, Ui &ui, RegionalHost &host,
                                                 RegionalDuplicatesStep openDuplicates)
    : exceptionsText(memory.izeExceptions)
    , gbSpecificText(gbSpecificMemory)
    , m_dictionary(dictionary)
    , m_memory(memory)
    , m_gbSpecificMemory(gbSpecificMemory)
    , m_programFolder(programFolder)
    , m_settings(settings)
    , m_ui(ui)
    , m_host(host)
    , m_openDuplicates(std::move(openDuplicates))
    , m_changedAtOpen(dictionary.changed)
{
}

void RegionalVariantsSession::logLine(const QString &text)
{
    m_log += text;
    m_log += u'\n';
}

void RegionalVariantsSession::recordUndo()
{
    if (m_undoMark)
        return;
    PushDictionaryUndo(m_dictionary);
    m_undoMark = true;
}

void RegionalVariantsSession::mergeGbDictionary(Ui &panelUi)
{
    logLine(QStringLiteral("Merging GB .dic..."));
    const QString path = AskOpenPath(m_ui, regionalTexts::mergeTitle, regionalTexts::mergeFilter);
    if (path.isEmpty()) {
        logLine(QStringLiteral("Aborted merging GB .dic...\n"));
        return;
    }
    QFile file(path);
    if (FileSize(path) < 1 || !file.open(QIODevice::ReadOnly)) {
        m_ui.showMessage(fileTexts::errorTitle, dictionaryTexts::dicNotFound, MessageIcon::Warning);
        logLine(QStringLiteral("No GB .dic selected.\n"));
        return;
    }
    recordUndo();
    m_dictionary.selectedIndex = -1;
    m_dictionary.changed = true;
    logLine(QStringLiteral("Merging GB .dic:\"") + path + u'"');

    DicStreamReader reader(file, DicQuestionsFor(m_ui, m_settings));
    LongTask task(panelUi, m_settings);
    task.begin(regionalTexts::abortHint, std::max<qint64>(1, file.size()));
    qint64 added = 0;
    QStringView entry;
    for (;;) {
        const LongTask::PollResult poll = task.poll();
        if (poll.abortRequested) {
            task.cancel(QString());
            logLine(QStringLiteral("Aborted!\n"));
            m_host.refreshDictionary();
            return;
        }
        if (poll.ticked)
            task.showValue(reader.position());
        const DicStreamReader::Status status = reader.next(entry);
        if (status == DicStreamReader::Status::Failed)
            m_ui.showMessage(fileTexts::errorTitle, fileTexts::cannotRead.arg(path, reader.errorString()),
                             MessageIcon::Error);
        if (status != DicStreamReader::Status::Entry)
            break;
        // The first line is the word count, whatever it holds.
        if (reader.lines() == 1)
            continue;
        m_dictionary.entries.append(entry);
        ++added;
    }
    task.finish(QString());
    logLine(QStringLiteral("Merged ") + FormatCount(added, m_settings.thousandsSeparator) +
            QStringLiteral(" words of GB .dic...\n"));
    m_host.refreshDictionary();
}

void RegionalVariantsSession::removeDuplicates()
{
    logLine(QStringLiteral("Merging/Deleting duplicates..."));
    if (!m_openDuplicates)
        return;
    const DuplicatesToolOutcome outcome = m_openDuplicates(m_undoMark);
    if (!outcome.opened)
        return;
    // A Cancel there returned to the undo point and used it up.
    m_undoMark = outcome.undoRecorded && m_dictionary.hasUndoStep();
    m_host.refreshDictionary();
}

void RegionalVariantsSession::ConvertWordList(const QString &editorText, ConvertedWordList &list, bool exceptions)
{
    logLine(exceptions ? QStringLiteral("Converting exceptions into arrays for faster processing...")
                       : QStringLiteral("Converting GB specific into arrays for faster processing..."));
    QString text = NormaliseLineEnds(editorText);
    if (text.isEmpty()) {
        logLine(exceptions ? QStringLiteral("No exceptions found.") : QStringLiteral("No GB specific found."));
        list = ConvertedWordList();
        return;
    }
    if (!text.endsWith(u'\n'))
        text.append(u'\n');
    if (text == list.text) {
        logLine(exceptions ? QStringLiteral("No exceptions changed since last conversion.")
                           : QStringLiteral("No GB specific changed since last conversion."));
        return;
    }
    ConvertedWordList converted;
    const QStringView lines = QStringView(text).chopped(1);
    for (const QStringView line : lines.tokenize(u'\n')) {
        if (line.isEmpty()) {
            logLine(exceptions ? QStringLiteral("There is a blank exception.")
                               : QStringLiteral("There is a blank GB specific."));
            logLine(QStringLiteral("Aborted!"));
            logLine(QString());
            list = ConvertedWordList();
            return;
        }
        converted.words.insert(line.toString() + u'/');
        ++converted.count;
    }
    converted.text = text;
    list = std::move(converted);
    logLine(QStringLiteral("Found ") + FormatCount(list.count, m_settings.thousandsSeparator) +
            (exceptions ? QStringLiteral(" exceptions.") : QStringLiteral(" GB specific.")));
}

void RegionalVariantsSession::removeEntries(Ui &panelUi, const std::function<bool(const QString &key)> &removable)
{
    const qint64 count = m_dictionary.wordCount();
    LongTask task(panelUi, m_settings);
    task.begin(regionalTexts::abortHint, count);
    qint64 removed = 0;
    QString key;
    const bool completed = task.forEach(
        count, [&](qint64 i) { task.showValue(i); },
        [&](qint64 i) {
            const QStringView entry = m_dictionary.entries.view(i);
            const qsizetype breakAt = entry.indexOf(u'\n');
            const QStringView wordPart = breakAt < 0 ? entry : entry.first(breakAt);
            const qsizetype slash = wordPart.indexOf(u'/');
            key = (slash < 0 ? wordPart : wordPart.first(slash)).toString();
            key.append(u'/');
            if (!removable(key))
                return;
            ++removed;
            logLine(QStringLiteral("Removed #") + FormatCount(removed, m_settings.thousandsSeparator) + u':');
            logLine(u'"' + entry.toString().replace(u'\n', u' ') + QStringLiteral("\"\n"));
            recordUndo();
            m_dictionary.entries.replace(i, QString());
        },
        {.abortBeforeTick = true});
    if (!completed) {
        task.cancel(QString());
        if (removed == 0)
            logLine(QString());
        logLine(QStringLiteral("Aborted!\n"));
        m_host.refreshDictionary();
        return;
    }
    task.finish(QString());
    if (removed == 0)
        logLine(QString());
    logLine(QStringLiteral("Removed a total of ") + FormatCount(removed, m_settings.thousandsSeparator) +
            QStringLiteral(" words."));
    logLine(QString());
    if (removed > 0)
        m_dictionary.changed = true;
    m_host.refreshDictionary();
}

void RegionalVariantsSession::RemoveIzeIse(IzeMode mode, Ui &panelUi)
{
    ConvertWordList(exceptionsText, m_memory.exceptions, true);
    logLine(mode == IzeMode::Ize ? QStringLiteral("\nRemoving -ize...\n") : QStringLiteral("\nRemoving -ise...\n"));
    if (m_dictionary.wordCount() == 0) {
        m_ui.showMessage(LongTask::warningTitle(), dictionaryTexts::noWords, MessageIcon::Warning);
        return;
    }
    const auto &endings = mode == IzeMode::Ize ? izeEndings : iseEndings;
    const QSet<QString> &exceptions = m_memory.exceptions.words;
    removeEntries(panelUi, [&](const QString &key) {
        const bool ending =
            std::any_of(endings.begin(), endings.end(), [&key](QStringView e) { return key.endsWith(e); });
        return ending && !exceptions.contains(key);
    });
    logLine(QString());
}

void RegionalVariantsSession::removeGbSpecific(Ui &panelUi)
{
    ConvertWordList(gbSpecificText, m_memory.gbSpecific, false);
    if (m_memory.gbSpecific.count > 0) {
        logLine(QStringLiteral("\nRemoving GB specific...\n"));
        if (m_dictionary.wordCount() == 0) {
            m_ui.showMessage(LongTask::warningTitle(), dictionaryTexts::noWords, MessageIcon::Warning);
        } else {
            const QSet<QString> &words = m_memory.gbSpecific.words;
            removeEntries(panelUi, [&words](const QString &key) { return words.contains(key); });
        }
    }
    logLine(QString());
}

namespace {

bool saveList(Ui &ui, const QString &text, const QString &path, const QString &emptyMessage)
{
    const QString normalised = NormaliseLineEnds(text);
    if (normalised.isEmpty()) {
        ui.showMessage(LongTask::warningTitle(), emptyMessage, MessageIcon::Warning);
        return false;
    }
    if (!WriteFileAtomically(path, utf8ByteOrderMark.toByteArray() + EncodeLossless(normalised))) {
        ui.showMessage(fileTexts::errorTitle, fileTexts::cannotWrite.arg(path, QStringLiteral("write failed")),
                       MessageIcon::Error);
        return false;
    }
    return true;
}

} // namespace

bool RegionalVariantsSession::saveExceptions()
{
    return saveList(m_ui, exceptionsText, m_programFolder + regionalTexts::exceptionsFile,
                    regionalTexts::noExceptionsSaved);
}

bool RegionalVariantsSession::saveGbSpecific()
{
    return saveList(m_ui, gbSpecificText, m_programFolder + regionalTexts::gbSpecificFile,
                    regionalTexts::noGbSpecificSaved);
}

void RegionalVariantsSession::accept()
{
    m_memory.izeExceptions = exceptionsText;
    m_gbSpecificMemory = gbSpecificText;
    if (m_dictionary.wordCount() == 0 || !m_undoMark)
        return;
    std::vector<qint64> emptied;
    for (qint64 i = 0; i < m_dictionary.wordCount(); ++i) {
        if (m_dictionary.entries.view(i).isEmpty())
            emptied.push_back(i);
    }
    m_dictionary.entries.removeIndexes(emptied);
    m_dictionary.selectedIndex = -1;
    m_dictionary.changed = true;
    m_host.refreshDictionary();
}

void RegionalVariantsSession::reject()
{
    if (!m_undoMark)
        return;
    UndoDictionary(m_dictionary);
    // Nothing the window did is left, so neither is its changed mark.
    m_dictionary.changed = m_changedAtOpen;
    m_undoMark = false;
    m_host.refreshDictionary();
}

} // namespace lexaloom
