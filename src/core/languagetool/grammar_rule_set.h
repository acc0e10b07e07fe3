#pragma once

#include <QList>
#include <QString>
#include <QStringView>
#include <QtGlobal>

#include <functional>
#include <optional>

#include "core/shell/document_slot.h"
#include "core/shell/file_outcome.h"
#include "core/shell/shared_texts.h"

namespace lexaloom {

class Ui;
struct MainSettings;

namespace grammarTexts {
inline const QString openTitle = QStringLiteral("Open grammar rules");
inline const QString fileFilter = QStringLiteral("Grammar.xml (*.xml)|*.xml");
inline const QString notFound = QStringLiteral(".XML file not found.");
inline const QString loadingStatus = QStringLiteral("Loading grammar rules... <ESC> to abort.");
inline const QString processingStatus = QStringLiteral("Processing grammar rules... <ESC> to abort.");
inline const QString exportingStatus = QStringLiteral("Exporting LanguageTool structure... <ESC> to abort.");
inline const QString nothingToSave = sharedTexts::nothingToSave;
inline const QString exportTitle = QStringLiteral("Save Text File");
inline const QString exportFilter = QStringLiteral("Text File (*.txt)|*.txt");
inline const QString categoryColumn = QStringLiteral("ID Category ");
} // namespace grammarTexts

// The colours of the outline's rows, as 0xRRGGBB.
namespace grammarColours {
inline constexpr quint32 lineShade = 0xD6D9DF;
inline constexpr quint32 rulegroup = 0x009900;
inline constexpr quint32 category = 0xB97A57;
inline constexpr quint32 switchedOff = 0xFF0000;
} // namespace grammarColours

// One piece of the outline: a category, rule group or rule with its raw lines.
struct GrammarChunk {
    qint32 lineNumber = 0; // the file's second line is 1
    QString kind;          // "category", "rulegroup" or "rule"
    QString id;
    QString name;
    QString type;
    QString tags;
    QString defaultValue;
    QString xmlCode; // the chunk's lines, each followed by LF

    bool isCategory() const { return kind == QLatin1String("category"); }
    bool operator==(const GrammarChunk &) const = default;
};

// The read-only outline of a LanguageTool grammar.xml.
struct GrammarRuleSet {
    QList<GrammarChunk> chunks;
    QList<qint32> categoryChunks;     // index into chunks of each category, in file order
    QList<qint32> categoryRuleCounts; // rule groups and rules of each category, parallel to categoryChunks
    qint64 ruleTotal = 0;
    QString path;

    void clear() { *this = GrammarRuleSet(); }
};

// The value of attribute `key` ("name=") in `line`: found case-blind at the key's first
// occurrence; quoted with " or ' up to the same quote (or the line's end); otherwise empty.
QString GrammarAttribute(QStringView line, QStringView key);

// Builds the outline of `lines` (the file's lines after the first one). `stop` is asked
// once per line with the line's index; returning true ends the pass with the chunks
// found so far, their counts closed. Returns false when stopped.
bool BuildGrammarOutline(GrammarRuleSet &set, const QStringList &lines,
                         const std::function<bool(qsizetype index)> &stop = {});

// The texts of the tab: the category list's second cell (a category without an id shows
// its name) with its rule count, and the column's title.
QString CategoryRowText(const GrammarRuleSet &set, qsizetype category);
QString CategoryColumnTitle(const GrammarRuleSet &set, const QString &thousandsSeparator);
// The colour of the chunk list's `column` (0 "Line #" .. 6 "Default") for `chunk`:
// a text colour, or for column 0 the background. Nothing for the default colour.
std::optional<quint32> ChunkCellColour(const GrammarChunk &chunk, int column);

// "Rules Structure .txt": the category block and the record of one chunk, as written.
QString RulesStructureCategoryBlock(const GrammarRuleSet &set, bool withLineNumbers);
QString RulesStructureRecord(const GrammarRuleSet &set, qsizetype chunk, bool withLineNumbers);

struct GrammarLoadResult : FileResult {
    bool replaced = false; // the set was emptied for the new file (done, aborted or unreadable)
};

// File > Open on the LanguageTool tab (the dialog when `fileName` is empty) as a
// LongTask. The set is replaced once the file is found: an abort while reading leaves
// it empty, one while processing keeps the chunks found so far. `onTick` (optional)
// is called on every refresh tick of the processing so the view can show the count.
GrammarLoadResult LoadGrammarRules(GrammarRuleSet &set, const MainSettings &settings, Ui &ui,
                                   const QString &fileName = QString(), const std::function<void()> &onTick = {});

using GrammarExportResult = FileResult;

// The LanguageTool tab's document slot: shown only. The progress' tick gets the
// chunks found so far.
class GrammarSlot final : public DocumentSlot {
public:
    GrammarSlot(GrammarRuleSet &set, const MainSettings &settings);

    const QString &path() const override;
    bool isChanged() const override { return false; }
    qint64 entryCount() const override;
    DocumentLoadResult load(Ui &ui, const QString &path, const FileProgress &progress) override;

private:
    GrammarRuleSet &m_set;
    const MainSettings &m_settings;
};

// LanguageTool Tools > "Rules Structure .txt" (with line numbers) and "... (no line numbers)".
GrammarExportResult ExportRulesStructure(const GrammarRuleSet &set, const MainSettings &settings, Ui &ui,
                                         bool withLineNumbers);

} // namespace lexaloom
