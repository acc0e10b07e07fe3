#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

#include "core/shell/shared_texts.h"

namespace lexaloom {

struct AutocorrectList;
struct DictionaryDocument;
class LongTask;
struct MainSettings;
struct ThesaurusDocument;
class Ui;

// The seven menu items that open the Bulk Import window, in menu order.
enum class BulkImportMode {
    Dictionary = 1,
    Thesaurus = 2,
    Autocorrect = 3,
    Multiwords = 4,
    SortWordlist = 5,
    DeleteDuplicates = 6,
    ConvertXmlTags = 7,
};

namespace bulkImportTexts {
inline const QString importTitle = QStringLiteral("Bulk Import (Dictionary/Thesaurus/Autocorrect/LanguageTool)");
inline const QString sortTitle = QStringLiteral("Sort small wordlist (Language-specific Tools)");
inline const QString duplicatesTitle = QStringLiteral("Delete Duplicates small wordlist (very slow)");
inline const QString xmlTagsTitle = QStringLiteral("Convert XML tags to accents wordlist (very slow)");
inline const QString inputHint = QStringLiteral("Paste here the full text with the words.");
inline const QString outputHint = QStringLiteral("Output to be placed in log file.");
inline const QString nothingToProcess = sharedTexts::nothingToProcess;
inline const QString notValidPos = QStringLiteral("Not a valid target POS in the ComboBox.");
inline const QString regexpTooComplex =
    QStringLiteral("RegExp too complex or has errors.\n\nAvoid using the symbols: \"( ) :\".");
inline const QString duplicatesRemoved = QStringLiteral("Duplicates removed:");
inline const QString nothingToSave = sharedTexts::nothingToSave;
inline const QString openTitle = QStringLiteral("Open Text File");
inline const QString saveTitle = QStringLiteral("Save Text File");
inline const QString fileFilter = QStringLiteral("Text file (*.txt)|*.txt|XML file (*.xml)|*.xml");
inline const QString processing = QStringLiteral("Processing: ");
inline const QString done = QStringLiteral(" Done!");
inline const QString processingDone = QStringLiteral("Processing Done!");
inline const QString found = QStringLiteral("Found:");
inline const QString abortHint = sharedTexts::escToAbort;
inline const QString step1 = QStringLiteral("Step 1/4: Converting wordlist to Unix");
inline const QString step2 = QStringLiteral("Step 2/4: Transferring wordlist to array");
inline const QString step3Sort = QStringLiteral("Step 3/4: Sorting wordlist in array");
inline const QString step3Duplicates = QStringLiteral("Step 3/4: Removing duplicates of wordlist in array");
inline const QString step3XmlTags = QStringLiteral("Step 3/4: Converting Hex tags to accents");
inline const QString step4 = QStringLiteral("Step 4/4: Populating Editor Gadget");
inline const QString manualAnchor = QStringLiteral("#5.2.5.2.bulk_import");
// %1 the line number, %2 what keeps it from becoming an entry.
inline const QString lineRefused = QStringLiteral("Line %1: %2");
} // namespace bulkImportTexts

// The Multiwords choices as the window holds them (the workbench keeps them between
// openings and "Remember" writes them).
struct MultiwordChoice {
    qint32 languageIndex = 2;
    qint32 posIndex = 0; // within the language's rows
    QString specifyText;
};

// The POS rows offered in Multiwords mode: "language - description (TAG)", rows whose
// description is "-" separating groups.
const QStringList &MultiwordPosTable();
// The distinct languages of the table, in table order ("Other", "Portuguese", "English").
QStringList MultiwordLanguages();
// The rows of one language without the language and its " - " (the POS list's items).
QStringList MultiwordPosRows(qint32 languageIndex);
// The tab and tag written after each multiword, or nothing for a separator row or an
// index out of range. "Other" takes the "Specify:" text.
std::optional<QString> MultiwordSuffix(const MultiwordChoice &choice);

// The first step of the import modes: line ends made "\n", a final "\n", the spaces
// around commas dropped and double spaces halved.
QString NormaliseImportText(const QString &text);

// The XML-tag conversion of one line: every decimal reference "&#digits;" whose value
// is a Unicode scalar value other than 0 becomes that character, again and again while
// new ones appear; anything else (letters or "x" in the number, "&#;", values out of
// range, surrogates, 0) stays as written.
QString ConvertCharacterReferences(QStringView line);

// The regular-expression check of "Process regexp": no ":", and every "(" closed by a
// ")" before the next "(" with something in between that holds no "|".
bool IsSimpleAlternation(QStringView text);

// The lists the import modes add to. Null for a list the mode does not touch.
struct BulkImportTargets {
    DictionaryDocument *dictionary = nullptr;
    ThesaurusDocument *thesaurus = nullptr;
    AutocorrectList *autocorrect = nullptr;
};

enum class BulkImportOutcome { Done, Refused, Aborted };

// Everything the Bulk Import window does beyond showing widgets. The window pulls the
// output, the found count and the input after each action and on every tick; status
// texts and the abort question go through the Ui the session runs on (the window's
// PanelUi).
class BulkImportSession final {
public:
    BulkImportSession(BulkImportMode mode, const BulkImportTargets &targets, const MainSettings &settings, Ui &ui);
    BulkImportSession(const BulkImportSession &) = delete;
    BulkImportSession &operator=(const BulkImportSession &) = delete;

    static QString windowTitle(BulkImportMode mode);
    static bool isWordlistMode(BulkImportMode mode);

    BulkImportMode mode() const { return m_mode; }

    QString input;
    MultiwordChoice multiwords;
    bool logIndexOn = true;
    qint64 logIndexStart = 1; // 1 to 9,999,999
    // Called on each refresh tick of a run, so that the window draws the output so far.
    std::function<void()> onTick;

    const QString &output() const { return m_output; }
    qint64 found() const { return m_found; }
    QString foundText() const;
    bool isBusy() const { return m_busy; }
    void clearOutput();

    // "Process" in the window's mode.
    BulkImportOutcome process();
    // "Process regexp" (sorting mode only).
    BulkImportOutcome processRegexp();
    // "Open": the file's whole text into the input. False when nothing was read.
    bool openFile();
    // "Save as": the output to a text file. False when nothing was written.
    bool saveAs();

private:
    BulkImportOutcome importLines();
    BulkImportOutcome sortLines();
    BulkImportOutcome deleteDuplicates();
    BulkImportOutcome convertXmlTags();
    // Step 1 of the wordlist modes; the lines without their "\n", or nothing after the refusal.
    // The refusal of an import whose text holds a line the target document's file
    // cannot hold back ("Line 3: ..."), or nothing.
    std::optional<QString> importRefusal(const QString &text) const;
    std::optional<QStringList> wordlistLines(qsizetype minimumLines);
    // Step 4 of the wordlist modes: `lines` to the output, but those `keep` (when given)
    // marks 0, each counted in m_found. A tick shows the bar, with `tickText` of the lines
    // done as the status when given. True when aborted (the task is cancelled then).
    [[nodiscard]] bool writeLines(LongTask &task, const QStringList &lines, const std::vector<char> &keep = {},
                                  const std::function<QString(qint64)> &tickText = {});

    BulkImportMode m_mode;
    BulkImportTargets m_targets;
    const MainSettings &m_settings;
    Ui &m_ui;
    QString m_output;
    qint64 m_found = 0;
    bool m_busy = false;
};

} // namespace lexaloom
