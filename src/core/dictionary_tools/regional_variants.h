#pragma once

#include <QSet>
#include <QString>
#include <QStringList>

#include <functional>

#include "core/shell/shared_texts.h"

namespace lexaloom {

class Ui;
struct DictionaryDocument;
struct DuplicatesToolOutcome;
struct MainSettings;

// Step 2: opens the duplicates window with the caller's undo state (see
// OpenDuplicatesToolFunction); declared here so the Workbench need not see that tool.
using RegionalDuplicatesStep = std::function<DuplicatesToolOutcome(bool alreadyRecorded)>;

namespace regionalTexts {
inline const QString windowTitle = QStringLiteral("GB to AU/CA/NZ/ZA (Orvel - GB)");
inline const QString introduction = QStringLiteral("GB to AU/CA/NZ/ZA (Orvel - GB) V2.0 - 2021-02-17\n"
                                                   "==========================================\n"
                                                   "This option allows to create variants of the GB dictionary.\n"
                                                   "\n");
inline const QString step1 = QStringLiteral("Step #1: Merge latest GB .dic");
inline const QString step2 = QStringLiteral("Step #2: Merge/Delete duplicates");
inline const QString step3 = QStringLiteral("Step #3: Remove -ize/-ise");
inline const QString step4 = QStringLiteral("Step #4: Remove GB specific words");
inline const QString step5 = QStringLiteral("Step #5: Add your specific words");
inline const QString mergeTitle = QStringLiteral("Merge GB Dictionary");
inline const QString mergeFilter = QStringLiteral("Dictionary (*.dic)|*.dic");
inline const QString exceptionsFile = QStringLiteral("settings/-ize-ise_exceptions.txt");
inline const QString gbSpecificFile = QStringLiteral("settings/gb_specific.txt");
inline const QString noExceptionsSaved = QStringLiteral("No exceptions found.");
inline const QString noGbSpecificSaved = QStringLiteral("No GB specific words found.");
inline const QString abortHint = sharedTexts::escToAbort;
inline const QString notCoded = sharedTexts::notCodedYet;
} // namespace regionalTexts

// The default -ize/-ise exceptions, one word a line with a final line break.
const QString &DefaultIzeExceptions();

// The exceptions as start-up finds them: the file's text when it exists and is not
// empty (a byte-order mark skipped), else the default list.
QString LoadIzeExceptions(const QString &path);

// A word list of an editor made ready for exact lookups: each line + "/".
struct ConvertedWordList {
    QSet<QString> words;
    QString text; // the text it was made from, with its final line break
    qsizetype count = 0;
};

// What the window keeps for the program's run: the texts its "OK" kept, and the
// converted lists, so an unchanged list is not converted again.
struct RegionalMemory {
    QString izeExceptions = DefaultIzeExceptions();
    ConvertedWordList exceptions;
    ConvertedWordList gbSpecific;
};

enum class IzeMode { Ize, Ise };

// The window's effects outside itself.
class RegionalHost {
public:
    virtual ~RegionalHost() = default;
    // The word counter and the dictionary list, after the dictionary changed.
    virtual void refreshDictionary() = 0;
};

// "GB to AU/CA/NZ/ZA": the five steps over the loaded dictionary, its log and its two
// lists. The first change of any step (or of the duplicates tool opened from it)
// records the dictionary's undo point: "Cancel" returns to it, "OK" drops the entries
// the steps emptied.
class RegionalVariantsSession final {
public:
    RegionalVariantsSession(DictionaryDocument &dictionary, RegionalMemory &memory, QString &gbSpecificMemory,
                            const QString &programFolder, const MainSettings &settings, Ui &ui, RegionalHost &host,
                            RegionalDuplicatesStep openDuplicates);
    RegionalVariantsSession(const RegionalVariantsSession &) = delete;
    RegionalVariantsSession &operator=(const RegionalVariantsSession &) = delete;

    const QString &log() const { return m_log; }
    // The two editors' texts.
    QString exceptionsText;
    QString gbSpecificText;
    bool undoMark() const { return m_undoMark; }

    // Step 1, "Merge GB .dic"; `panelUi` carries the bar, its label and Escape.
    void mergeGbDictionary(Ui &panelUi);
    // Step 2, "Remove dupes".
    void removeDuplicates();
    // Step 3, "Remove -ize" / "Remove -ise".
    void RemoveIzeIse(IzeMode mode, Ui &panelUi);
    // Step 4, "Remove GB only".
    void removeGbSpecific(Ui &panelUi);
    // The "Save" buttons: true when the file was written.
    bool saveExceptions();
    bool saveGbSpecific();
    // The log's "Clear".
    void clearLog() { m_log = regionalTexts::introduction; }
    // "OK": keeps the texts and drops the emptied entries.
    void accept();
    // "Cancel", Escape, the close box: back to the undo point.
    void reject();

    // The lines of `text` + "/" when it holds no blank line; logs as the steps do.
    // `exceptions` picks the texts of step 3, else those of step 4.
    void ConvertWordList(const QString &editorText, ConvertedWordList &list, bool exceptions);

private:
    void logLine(const QString &text);
    void recordUndo();
    // Empties each entry whose word part + "/" `removable` accepts; logs each one.
    void removeEntries(Ui &panelUi, const std::function<bool(const QString &key)> &removable);

    DictionaryDocument &m_dictionary;
    RegionalMemory &m_memory;
    QString &m_gbSpecificMemory;
    QString m_programFolder;
    const MainSettings &m_settings;
    Ui &m_ui;
    RegionalHost &m_host;
    RegionalDuplicatesStep m_openDuplicates;
    QString m_log = regionalTexts::introduction;
    bool m_undoMark = false;
    bool m_changedAtOpen = false;
};

} // namespace lexaloom
